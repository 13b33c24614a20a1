#include "core/Utils.h"
#include "core/controls/ActionKeys.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/IntegerComboBox.h"
#include "core/controls/IntegerEdit.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

enum class Kind { Integer, Int64, Combo };

// One control of each kind in a window of its own, as a form holds them.
struct Form {
    QWidget window;
    TNumberEdit *edit = nullptr;
    QWidget *control = nullptr;
    TIntegerComboBox *combo = nullptr;

    explicit Form(Kind kind)
    {
        auto *layout = new QVBoxLayout(&window);
        switch (kind) {
        case Kind::Integer: control = edit = new TIntegerEdit(&window); break;
        case Kind::Int64: control = edit = new TInt64Edit(&window); break;
        case Kind::Combo:
            control = combo = new TIntegerComboBox(&window);
            edit = combo->Edit();
            break;
        }
        layout->addWidget(control);
    }
    void Limits(qint64 min, qint64 max)
    {
        edit->SetNumberMax(max);
        edit->SetNumberMin(min);
    }
    bool Show()
    {
        window.show();
        window.activateWindow();
        control->setFocus();
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestNumericControls : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetBarcodeSettingProvider(nullptr);
    }

    void newControl()
    {
        TIntegerEdit edit;
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.Min(), 0);
        QCOMPARE(edit.Max(), 0);
        QVERIFY(!edit.ZeroEmpty());
        QVERIFY(!edit.acceptDrops());
        TIntegerComboBox combo;
        QCOMPARE(combo.currentText(), QStringLiteral("0"));
    }

    void keyFilter_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<qint64>("min");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");   // -1: no selection, the caret at selLength
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("keyText");
        QTest::addColumn<bool>("barcode");
        QTest::addColumn<QString>("result");

        const int none = Qt::NoModifier;
        const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        // The days field 1..99 showing "10".
        row("0 after 10 is 100, above 99") << Kind::Integer << 1LL << 99LL << "10" << -1 << 2 << int(Qt::Key_0) << none << "0" << false << "10";
        row("backspace over the 1 leaves 0") << Kind::Integer << 1LL << 99LL << "10" << 0 << 1 << int(Qt::Key_Backspace) << none << "" << false << "10";
        row("5 over the whole text") << Kind::Integer << 1LL << 99LL << "10" << 0 << 2 << int(Qt::Key_5) << none << "5" << false << "5";
        row("backspace at the end") << Kind::Integer << 1LL << 99LL << "10" << -1 << 2 << int(Qt::Key_Backspace) << none << "" << false << "1";
        row("last digit stays with Min 1") << Kind::Integer << 1LL << 99LL << "5" << -1 << 1 << int(Qt::Key_Backspace) << none << "" << false << "5";
        row("0 alone refused with Min 1") << Kind::Integer << 1LL << 99LL << "5" << 0 << 1 << int(Qt::Key_0) << none << "0" << false << "5";
        row("backspace at the start") << Kind::Integer << 1LL << 99LL << "10" << -1 << 0 << int(Qt::Key_Backspace) << none << "" << false << "10";
        row("delete leaving 0") << Kind::Integer << 1LL << 99LL << "10" << -1 << 0 << int(Qt::Key_Delete) << none << "" << false << "10";
        row("delete leaving 1") << Kind::Integer << 1LL << 99LL << "15" << -1 << 1 << int(Qt::Key_Delete) << none << "" << false << "1";
        row("empty allowed with Min 0") << Kind::Integer << 0LL << 99LL << "5" << -1 << 1 << int(Qt::Key_Backspace) << none << "" << false << "";
        row("leading zero") << Kind::Integer << 0LL << 99LL << "0" << -1 << 1 << int(Qt::Key_5) << none << "5" << false << "05";
        row("Min 10 digit by digit") << Kind::Integer << 10LL << 99LL << "15" << 0 << 1 << int(Qt::Key_2) << none << "2" << false << "25";
        row("Min 10 refuses 5") << Kind::Integer << 10LL << 99LL << "15" << 0 << 2 << int(Qt::Key_5) << none << "5" << false << "15";
        row("letter") << Kind::Integer << 0LL << 0LL << "1" << -1 << 1 << int(Qt::Key_A) << none << "a" << false << "1";
        row("minus") << Kind::Integer << 0LL << 0LL << "1" << 0 << 0 << int(Qt::Key_Minus) << none << "-" << false << "1";
        row("blank") << Kind::Integer << 0LL << 0LL << "1" << -1 << 1 << int(Qt::Key_Space) << none << " " << false << "1";
        row("paste") << Kind::Integer << 0LL << 0LL << "1" << -1 << 1 << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16" << false << "1";
        row("cut") << Kind::Integer << 0LL << 0LL << "12" << 0 << 2 << int(Qt::Key_X) << int(Qt::ControlModifier) << "\x18" << false << "12";
        row("word backspace") << Kind::Integer << 0LL << 0LL << "12" << -1 << 2 << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << "" << false << "12";
        row("32-bit overflow") << Kind::Integer << 0LL << 0LL << "214748364" << -1 << 9 << int(Qt::Key_8) << none << "8" << false << "214748364";
        row("32-bit top") << Kind::Integer << 0LL << 0LL << "214748364" << -1 << 9 << int(Qt::Key_7) << none << "7" << false << "2147483647";
        row("fourteenth digit") << Kind::Int64 << 0LL << 9999999999999LL << "1234567890123" << -1 << 13 << int(Qt::Key_4) << none << "4" << false << "1234567890123";
        row("no upper bound to 2^63-1") << Kind::Int64 << 0LL << 0LL << "922337203685477580" << -1 << 18 << int(Qt::Key_7) << none << "7" << false << "9223372036854775807";
        row("64-bit overflow") << Kind::Int64 << 0LL << 0LL << "922337203685477580" << -1 << 18 << int(Qt::Key_8) << none << "8" << false << "922337203685477580";
        row("Czech row with the reader") << Kind::Int64 << 0LL << 0LL << "1" << -1 << 1 << 0x011A << none << "ě" << true << "12";
        row("Czech plus with the reader") << Kind::Int64 << 0LL << 0LL << "" << -1 << 0 << int(Qt::Key_Plus) << none << "+" << true << "1";
        row("Czech row without the reader") << Kind::Int64 << 0LL << 0LL << "1" << -1 << 1 << 0x011A << none << "ě" << false << "1";
        row("keypad plus stays a plus") << Kind::Int64 << 0LL << 0LL << "1" << -1 << 1 << int(Qt::Key_Plus) << int(Qt::KeypadModifier) << "+" << true << "1";
        row("combo above Max") << Kind::Combo << 1LL << 999LL << "100" << -1 << 3 << int(Qt::Key_0) << none << "0" << false << "100";
        row("combo digit") << Kind::Combo << 1LL << 999LL << "10" << -1 << 2 << int(Qt::Key_5) << none << "5" << false << "105";
        row("combo delete to 0") << Kind::Combo << 1LL << 999LL << "10" << -1 << 0 << int(Qt::Key_Delete) << none << "" << false << "10";
        row("combo letter") << Kind::Combo << 1LL << 999LL << "10" << -1 << 2 << int(Qt::Key_Q) << none << "q" << false << "10";
    }
    void keyFilter()
    {
        QFETCH(Kind, kind);
        QFETCH(qint64, min);
        QFETCH(qint64, max);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, keyText);
        QFETCH(bool, barcode);
        QFETCH(QString, result);
        QGuiApplication::clipboard()->setText(QStringLiteral("7"));
        SetBarcodeSettingProvider([barcode] { return barcode; });
        Form form(kind);
        form.Limits(min, max);
        QVERIFY(form.Show());
        form.edit->setText(text);
        if (selStart >= 0)
            form.edit->setSelection(selStart, selLength);
        else
            form.edit->setCursorPosition(selLength);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), keyText);
        QApplication::sendEvent(form.control, &press);
        QCOMPARE(form.edit->text(), result);
    }

    void readingValueClamps_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<qint64>("min");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("after");
        QTest::newRow("500 in 0..99") << Kind::Integer << 0LL << 99LL << "500" << 99LL << "99";
        QTest::newRow("empty with Min 1") << Kind::Integer << 1LL << 99LL << "" << 0LL << "";
        QTest::newRow("letters with Min 1") << Kind::Integer << 1LL << 99LL << "abc" << 1LL << "1";
        QTest::newRow("letters with Min 0") << Kind::Integer << 0LL << 99LL << "abc" << 0LL << "abc";
        QTest::newRow("negative") << Kind::Integer << 0LL << 99LL << "-5" << 0LL << "0";
        QTest::newRow("leading zero") << Kind::Integer << 0LL << 99LL << "05" << 5LL << "05";
        QTest::newRow("too many digits for 32 bits") << Kind::Integer << 1LL << 999LL << "99999999999" << 1LL << "1";
        QTest::newRow("13 digits") << Kind::Int64 << 0LL << 9999999999999LL << "99999999999999" << 9999999999999LL << "9999999999999";
        QTest::newRow("64-bit top") << Kind::Int64 << 0LL << 0LL << "9223372036854775807" << 9223372036854775807LL << "9223372036854775807";
        QTest::newRow("combo") << Kind::Combo << 1LL << 999LL << "1500" << 999LL << "999";
    }
    void readingValueClamps()
    {
        QFETCH(Kind, kind);
        QFETCH(qint64, min);
        QFETCH(qint64, max);
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QFETCH(QString, after);
        Form form(kind);
        form.Limits(min, max);
        form.edit->setText(text);
        QCOMPARE(form.edit->NumberValue(), value);
        QCOMPARE(form.edit->text(), after);
    }

    // The form storage reads and writes Value through the Qt property "value": written as it
    // stands, read clamped.
    void valueProperty_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("TIntegerEdit") << Kind::Integer;
        QTest::newRow("TInt64Edit") << Kind::Int64;
    }
    void valueProperty()
    {
        QFETCH(Kind, kind);
        Form form(kind);
        form.Limits(1, 99);
        QVERIFY(form.control->setProperty("value", 500));
        QCOMPARE(form.edit->text(), QStringLiteral("500"));
        QCOMPARE(form.control->property("value").toLongLong(), 99LL);
        QCOMPARE(form.edit->text(), QStringLiteral("99"));
    }

    void limitsAndZeroEmpty()
    {
        TIntegerEdit edit;
        edit.SetMin(5);  // above Max 0: ignored
        QCOMPARE(edit.Min(), 0);
        edit.SetValue(500);
        QCOMPARE(edit.text(), QStringLiteral("500"));  // written, not clamped
        edit.SetMax(99);
        QCOMPARE(edit.text(), QStringLiteral("99"));   // a new bound brings the text in range
        edit.SetMin(10);
        edit.SetValue(3);
        edit.SetMax(5);                                // below Min: ignored
        QCOMPARE(edit.Max(), 99);
        QCOMPARE(edit.Value(), 10);

        TInt64Edit code;
        code.SetZeroEmpty(true);
        QCOMPARE(code.text(), QString());
        code.SetValue(42);
        code.SetValue(0);
        QCOMPARE(code.text(), QString());
        code.SetZeroEmpty(false);
        QCOMPARE(code.text(), QStringLiteral("0"));

        TIntegerComboBox zoom;
        zoom.addItems({"25", "50", "75", "100", "125", "150", "175", "200"});
        zoom.SetMax(999);
        zoom.SetMin(1);
        zoom.SetValue(100);
        QCOMPARE(zoom.count(), 8);
        zoom.SetZeroEmpty(true);  // 100 stays
        QCOMPARE(zoom.count(), 8);
        zoom.SetValue(0);
        QCOMPARE(zoom.currentText(), QString());
        QCOMPARE(zoom.count(), 0);  // the list goes with the text
    }

    void ownerKeyPressOrder()
    {
        QList<QChar> seen;
        TIntegerEdit edit;
        edit.setText(QString());
        edit.OnKeyPress = [&seen](QChar &key) { seen.append(key); };
        QTest::keyClick(&edit, Qt::Key_A);
        QTest::keyClick(&edit, Qt::Key_7);
        QCOMPARE(seen, (QList<QChar>{QChar(0), QLatin1Char('7')}));  // after the filter

        TInt64Edit code;
        code.setText(QString());
        code.OnKeyPress = [](QChar &key) {
            if (key == QLatin1Char('x'))
                key = QLatin1Char('5');  // before the filter, which then takes the 5
        };
        QTest::keyClick(&code, Qt::Key_X);
        QCOMPARE(code.text(), QStringLiteral("5"));
    }

    void clickAndEnterSelectAll()
    {
        Form form(Kind::Integer);
        QVERIFY(form.Show());
        form.edit->setText(QStringLiteral("123"));
        QSignalSpy clicks(form.edit, &TNumberEdit::clicked);
        QSignalSpy returns(form.edit, &QLineEdit::returnPressed);
        QTest::mouseClick(form.edit, Qt::LeftButton);
        QCOMPARE(form.edit->selectedText(), QStringLiteral("123"));
        QCOMPARE(clicks.count(), 1);
        form.edit->setCursorPosition(1);
        QTest::keyClick(form.edit, Qt::Key_Return);
        QCOMPARE(form.edit->selectedText(), QStringLiteral("123"));
        QCOMPARE(returns.count(), 1);
    }

    void readOnlyKeepsItsText()
    {
        Form form(Kind::Int64);
        QVERIFY(form.Show());
        form.edit->setText(QStringLiteral("42"));
        form.edit->setReadOnly(true);
        QSignalSpy returns(form.edit, &QLineEdit::returnPressed);
        form.edit->setCursorPosition(1);
        QTest::keyClicks(form.edit, QStringLiteral("57"));
        QTest::keyClick(form.edit, Qt::Key_Backspace);
        QTest::keyClick(form.edit, Qt::Key_Delete);
        QInputMethodEvent event(QString(), {});
        event.setCommitString(QStringLiteral("9"));
        QApplication::sendEvent(form.edit, &event);
        QCOMPARE(form.edit->text(), QStringLiteral("42"));
        QTest::keyClick(form.edit, Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
    }

    void escapeStillClosesTheDialog()
    {
        QDialog dialog;
        auto *layout = new QVBoxLayout(&dialog);
        auto *edit = new TInt64Edit(&dialog);
        layout->addWidget(edit);
        dialog.show();
        dialog.activateWindow();
        edit->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void inputMethodCommits_data()
    {
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("result");
        QTest::newRow("digits in range") << "23" << "123";
        QTest::newRow("digits above Max") << "234" << "1";
        QTest::newRow("not only digits") << "2a" << "1";
        QTest::newRow("full-width digits") << "２" << "1";
    }
    void inputMethodCommits()
    {
        QFETCH(QString, commit);
        QFETCH(QString, result);
        TIntegerEdit edit;
        edit.SetMax(999);
        edit.setText(QStringLiteral("1"));
        QInputMethodEvent event(QString(), {});
        event.setCommitString(commit);
        QApplication::sendEvent(&edit, &event);
        QCOMPARE(edit.text(), result);
    }

    void windowActionKeysPass_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        const struct { const char *name; int key; int modifiers; } keys[] = {
            {"numeric plus", Qt::Key_Plus, Qt::KeypadModifier},
            {"Enter", Qt::Key_Return, Qt::NoModifier},
            {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
            {"Del", Qt::Key_Delete, Qt::NoModifier},
            {"Space", Qt::Key_Space, Qt::NoModifier},
            {"Up", Qt::Key_Up, Qt::NoModifier},
            {"Down", Qt::Key_Down, Qt::NoModifier},
            {"F11", Qt::Key_F11, Qt::NoModifier},
            {"F12", Qt::Key_F12, Qt::NoModifier},
        };
        const struct { const char *name; Kind kind; } kinds[] = {
            {"IntegerEdit", Kind::Integer}, {"Int64Edit", Kind::Int64}, {"IntegerComboBox", Kind::Combo}};
        for (const auto &k : kinds)
            for (const auto &key : keys)
                QTest::addRow("%s %s", k.name, key.name) << k.kind << key.key << key.modifiers;
    }
    void windowActionKeysPass()
    {
        QFETCH(Kind, kind);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Form form(kind);
        if (form.combo)
            form.combo->addItems({"10", "20"});
        auto *action = new QAction(&form.window);
        const QKeySequence shortcut{QKeyCombination(Qt::KeyboardModifiers(modifiers), Qt::Key(key))};
        action->setShortcuts(key == Qt::Key_Return ? QList<QKeySequence>{shortcut, QKeySequence(Qt::Key_Enter | Qt::KeypadModifier)}
                                                   : QList<QKeySequence>{shortcut});
        form.window.addAction(action);
        QSignalSpy fired(action, &QAction::triggered);
        QVERIFY(form.Show());
        form.edit->setText(QStringLiteral("10"));
        form.edit->setCursorPosition(0);

        QTest::keyClick(form.control, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(fired.count(), 1);
        QCOMPARE(form.edit->text(), QStringLiteral("10"));

        // A disabled action leaves the key to the control.
        action->setEnabled(false);
        QTest::keyClick(form.control, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(fired.count(), 1);
    }

    void plainEditPassesActionKeys()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit(&window);
        layout->addWidget(edit);
        PassActionKeys(edit);
        auto *lend = new QAction(&window);
        lend->setShortcut(QKeySequence(Qt::Key_Plus | Qt::KeypadModifier));
        window.addAction(lend);
        QSignalSpy fired(lend, &QAction::triggered);
        window.show();
        window.activateWindow();
        edit->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(edit, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(fired.count(), 1);
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, Qt::Key_Plus);  // the main-row "+" is not the numeric one
        QCOMPARE(fired.count(), 1);
        QCOMPARE(edit->text(), QStringLiteral("+"));

        // An action of the window that sits on another of its widgets (a tool button).
        auto *remove = new QAction(&window);
        remove->setShortcut(QKeySequence(Qt::Key_Delete));
        auto *button = new QToolButton(&window);
        button->setDefaultAction(remove);
        layout->addWidget(button);
        QSignalSpy removed(remove, &QAction::triggered);
        edit->setCursorPosition(0);
        QTest::keyClick(edit, Qt::Key_Delete);  // the button is not shown yet: no shortcut
        QCOMPARE(removed.count(), 0);
        QCOMPARE(edit->text(), QString());
        edit->setText(QStringLiteral("+"));
        edit->setCursorPosition(0);
        button->show();
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(edit->text(), QStringLiteral("+"));
    }

    void keypadActionFiresWhereShortcutsLeaveTheKeypadOut()
    {
        // On X11 the shortcut map never matches the numeric "+"; the filter fires the action
        // from the key's shortcut override and swallows the press. (A key press sent by the
        // program has its shortcut override sent first, as the window system's has.)
        InstallKeypadActionKeys(qApp);
        InstallKeypadActionKeys(qApp);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit(&window);
        layout->addWidget(edit);
        auto *lend = new QAction(&window);
        lend->setShortcut(QKeySequence(Qt::Key_Plus | Qt::KeypadModifier));
        window.addAction(lend);
        QSignalSpy fired(lend, &QAction::triggered);
        window.show();
        auto press = [edit](Qt::KeyboardModifiers modifiers) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Plus, modifiers, QStringLiteral("+"));
            QApplication::sendEvent(edit, &key);
        };
        press(Qt::KeypadModifier);
        QCOMPARE(fired.count(), 1);
        QCOMPARE(edit->text(), QString());
        // A disabled action, or the main-row "+", leaves the key to the control.
        lend->setEnabled(false);
        press(Qt::KeypadModifier);
        QCOMPARE(fired.count(), 1);
        QCOMPARE(edit->text(), QStringLiteral("+"));
        lend->setEnabled(true);
        press(Qt::NoModifier);
        QCOMPARE(fired.count(), 1);
        QCOMPARE(edit->text(), QStringLiteral("++"));
    }
};

QTEST_MAIN(TestNumericControls)
#include "tst_numericcontrols.moc"
