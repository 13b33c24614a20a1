#include "core/IniFile.h"
#include "core/Modal.h"
#include "core/USetupPrint.h"
#include "support/FormStateFile.h"
#include "support/ModalAnswers.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

namespace {

// Every stored key of "SetupPrint" that is not a list, with the text a fresh dialog writes.
const QList<std::pair<QString, QString>> DefaultTexts = {
    {"CheckBoxVoucher_Checked", "True"},   {"CheckBoxDate_Checked", "True"},
    {"CheckBoxDateTax_Checked", "True"},   {"CheckBoxOriginal_Checked", "False"},
    {"CheckBoxCopy_Checked", "False"},     {"RadioButtonManual_Checked", "True"},
    {"RadioButtonAuto_Checked", "False"},  {"CheckBoxExtra_Checked", "False"},
    {"RadioButtonA4_Checked", "False"},    {"RadioButtonA5_Checked", "True"},
};

// Every one of them the other way round.
const QList<std::pair<QString, QString>> OtherTexts = {
    {"CheckBoxVoucher_Checked", "False"},  {"CheckBoxDate_Checked", "False"},
    {"CheckBoxDateTax_Checked", "False"},  {"CheckBoxOriginal_Checked", "True"},
    {"CheckBoxCopy_Checked", "True"},      {"RadioButtonManual_Checked", "False"},
    {"RadioButtonAuto_Checked", "True"},   {"CheckBoxExtra_Checked", "True"},
    {"RadioButtonA4_Checked", "True"},     {"RadioButtonA5_Checked", "False"},
};

QString SectionText(const QList<std::pair<QString, QString>> &pairs)
{
    return FormStateSection("SetupPrint", pairs);
}

QString ListSection(const QString &key, const QStringList &lines)
{
    return FormStateList("SetupPrint", key, lines);
}

void PlaceCaret(QPlainTextEdit *memo, int line, int column)
{
    QTextCursor cursor(memo->document()->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + column);
    memo->setTextCursor(cursor);
}

} // namespace

class TestSetupPrint : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultsWithoutFile();
    void storedPropertiesRoundTrip();

    void memoLineCount_data();
    void memoLineCount();
    void memoKeys_data();
    void memoKeys();
    void memoCutBackToLimit_data();
    void memoCutBackToLimit();

    void copyFollowsOriginal();
    void copyTakesOriginalOnEveryShowing();
    void stornoAndOk();

private:
    FormInWorkingFolder<TFormSetupPrint> m_form;
};

void TestSetupPrint::init()
{
    QVERIFY(m_form.make());
}

void TestSetupPrint::cleanup()
{
    m_form.reset();
}

void TestSetupPrint::defaultsWithoutFile()
{
    TFormSetupPrint *f = m_form.get();
    f->RestoreStoredValues();
    QCOMPARE(f->windowTitle(), QString(" Nastavení tisku dokladů"));
    const std::pair<QPlainTextEdit *, int> limits[] = {
        {f->MemoAddress, 6}, {f->MemoTitle, 4}, {f->MemoInfo, 6}, {f->MemoAddition, 4}};
    for (const auto &[memo, limit] : limits) {
        QVERIFY(memo->toPlainText().isEmpty());
        QCOMPARE(TFormSetupPrint::MemoLineLimit(memo), limit);
    }
    QVERIFY(!f->CheckBoxCopy->isEnabled());
    QVERIFY(f->ButtonOk->isDefault());

    f->FormStorage.Save();
    IniFile ini(FormStateFileName());
    QVERIFY(ini.load());
    for (const auto &[key, value] : DefaultTexts)
        QCOMPARE(ini.readString("SetupPrint", key, "<missing>"), value);
    QVERIFY(!ini.hasSection("SetupPrint.MemoAddress_Lines"));
}

void TestSetupPrint::storedPropertiesRoundTrip()
{
    QVERIFY(WriteFormStateFile(SectionText(OtherTexts)
                               + ListSection("MemoAddress_Lines", {"Video Praha", "Dlouhá 1"})
                               + ListSection("MemoTitle_Lines", {"\"\"Videopůjčovna\"\""})
              + ListSection("MemoInfo_Lines", {"Otevřeno denně"})
              + ListSection("MemoAddition_Lines", {"Děkujeme", "", "Na shledanou"})));
    TFormSetupPrint *f = m_form.get();
    f->RestoreStoredValues();
    QCOMPARE(f->MemoAddress->toPlainText(), QString("Video Praha\nDlouhá 1"));
    QCOMPARE(f->MemoTitle->toPlainText(), QString("\"Videopůjčovna\""));
    QCOMPARE(f->MemoInfo->toPlainText(), QString("Otevřeno denně"));
    QCOMPARE(f->MemoAddition->toPlainText(), QString("Děkujeme\n\nNa shledanou"));
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             f->CheckBoxOriginal, f->CheckBoxCopy, f->RadioButtonAuto, f->CheckBoxExtra, f->RadioButtonA4})
        QVERIFY2(b->isChecked(), qPrintable(b->objectName()));
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             f->CheckBoxVoucher, f->CheckBoxDate, f->CheckBoxDateTax, f->RadioButtonManual, f->RadioButtonA5})
        QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));

    QFile::remove(FormStateFileName());
    f->FormStorage.Save();
    IniFile ini(FormStateFileName());
    QVERIFY(ini.load());
    for (const auto &[key, value] : OtherTexts)
        QCOMPARE(ini.readString("SetupPrint", key, "<missing>"), value);
    QCOMPARE(ini.readString("SetupPrint.MemoAddition_Lines", "Count", {}), QString("3"));
    QCOMPARE(ini.readString("SetupPrint.MemoTitle_Lines", "Item0", {}), QString("\"Videopůjčovna\""));
}

void TestSetupPrint::memoLineCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one") << "a" << 1;
    QTest::newRow("final line break") << "a\n" << 1;
    QTest::newRow("empty line before the end") << "a\n\n" << 2;
    QTest::newRow("empty first line") << "\nb" << 2;
}

void TestSetupPrint::memoLineCount()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    m_form->MemoAddress->setPlainText(text);
    QCOMPARE(TFormSetupPrint::MemoLineCount(m_form->MemoAddress), count);
}

void TestSetupPrint::memoKeys_data()
{
    QTest::addColumn<QString>("text");   // in MemoTitle, limit 4
    QTest::addColumn<int>("line");       // caret before the key
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("expectedLine"); // caret after the key
    QTest::addColumn<int>("expectedColumn"); // -1: where the font puts it

    const QString four = "a\nbb\nccc\ndddd";
    const int none = Qt::NoModifier;
    QTest::newRow("Enter at the limit") << four << 3 << 4 << int(Qt::Key_Return) << none << four << 3 << 4;
    QTest::newRow("keypad Enter at the limit") << four << 1 << 1 << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                               << four << 1 << 1;
    QTest::newRow("Shift+Enter at the limit") << four << 3 << 2 << int(Qt::Key_Return) << int(Qt::ShiftModifier)
                                              << four << 3 << 2;
    QTest::newRow("Enter below the limit") << "a\nbb\nccc" << 1 << 1 << int(Qt::Key_Return) << none
                                           << "a\nb\nb\nccc" << 2 << 0;
    QTest::newRow("Shift+Enter below the limit starts a line")
        << "a\nbb" << 1 << 2 << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "a\nbb\n" << 2 << 0;
    QTest::newRow("Page Down") << four << 0 << 0 << int(Qt::Key_PageDown) << none << four << 0 << 0;
    QTest::newRow("Down on the last allowed line") << four << 3 << 1 << int(Qt::Key_Down) << none << four << 3 << 1;
    QTest::newRow("Down above it") << four << 2 << 1 << int(Qt::Key_Down) << none << four << 3 << -1;
    QTest::newRow("Right at the end of the last line")
        << "a\nbb\nccc\ndddd\n" << 3 << 4 << int(Qt::Key_Right) << none << "a\nbb\nccc\ndddd\n" << 3 << 4;
    QTest::newRow("Right inside the last line") << four << 3 << 2 << int(Qt::Key_Right) << none << four << 3 << 3;
    QTest::newRow("Right at the end of an earlier line")
        << four << 2 << 3 << int(Qt::Key_Right) << none << four << 3 << 0;
}

void TestSetupPrint::memoKeys()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expectedText);
    QFETCH(int, expectedLine);
    QFETCH(int, expectedColumn);

    QPlainTextEdit *memo = m_form->MemoTitle;
    memo->setPlainText(text);
    PlaceCaret(memo, line, column);
    QTest::keyClick(memo, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(memo->toPlainText(), expectedText);
    QCOMPARE(memo->textCursor().blockNumber(), expectedLine);
    if (expectedColumn >= 0)
        QCOMPARE(memo->textCursor().positionInBlock(), expectedColumn);
}

void TestSetupPrint::memoCutBackToLimit_data()
{
    QTest::addColumn<QString>("memoName");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("six lines pasted into the title")
        << "MemoTitle" << "paste" << "1\n2\n3\n4\n5\n6" << "1\n2\n3\n4\n";
    QTest::newRow("paste in the middle") << "MemoAddition" << "paste" << "x\ny\nz" << "x\ny\nz1\n2\n";
    QTest::newRow("eight lines restored into the address")
        << "MemoAddress" << "restore" << "1\n2\n3\n4\n5\n6\n7\n8" << "1\n2\n3\n4\n5\n6\n";
    QTest::newRow("four lines and a final break stay") << "MemoTitle" << "restore" << "1\n2\n3\n4\n"
                                                        << "1\n2\n3\n4\n";
    QTest::newRow("typing on the line after the last")
        << "MemoTitle" << "type" << "1\n2\n3\n4\n" << "1\n2\n3\n4\n";
}

void TestSetupPrint::memoCutBackToLimit()
{
    QFETCH(QString, memoName);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, expected);

    auto *memo = m_form->findChild<QPlainTextEdit *>(memoName);
    QVERIFY(memo);
    if (how == "paste") {
        memo->setPlainText("1\n2\n3");
        PlaceCaret(memo, 0, 0);
        memo->insertPlainText(input);
    } else if (how == "restore") {
        QVERIFY(WriteFormStateFile(SectionText({}) + ListSection(memoName + "_Lines", input.split('\n'))));
        m_form->RestoreStoredValues();
    } else {
        memo->setPlainText(input);
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, "xyz");
    }
    QCOMPARE(memo->toPlainText(), expected);
}

void TestSetupPrint::copyFollowsOriginal()
{
    TFormSetupPrint *f = m_form.get();
    f->CheckBoxOriginal->click();
    QVERIFY(f->CheckBoxCopy->isEnabled());
    QVERIFY(f->CheckBoxCopy->isChecked());
    f->CheckBoxCopy->click();
    QVERIFY(!f->CheckBoxCopy->isChecked());
    f->CheckBoxOriginal->click();
    QVERIFY(!f->CheckBoxCopy->isEnabled());
    QVERIFY(!f->CheckBoxCopy->isChecked());
}

void TestSetupPrint::copyTakesOriginalOnEveryShowing()
{
    // Restored at start-up, the stored copy tick is in force; shown, it follows the print box.
    QVERIFY(WriteFormStateFile(
        SectionText({{"CheckBoxOriginal_Checked", "True"}, {"CheckBoxCopy_Checked", "False"}})));
    m_form->RestoreStoredValues();
    QVERIFY(m_form->CheckBoxOriginal->isChecked());
    QVERIFY(!m_form->CheckBoxCopy->isChecked());
    QVERIFY(m_form->CheckBoxCopy->isEnabled());
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupPrint *>(dialog);
            QVERIFY(form->CheckBoxOriginal->isChecked());
            QVERIFY(form->CheckBoxCopy->isChecked());
            QVERIFY(form->CheckBoxCopy->isEnabled());
        },
        ClickButton("ButtonOk"))});
    ExecModal(m_form.get());
}

void TestSetupPrint::stornoAndOk()
{
    // No file yet: Storno still goes back to the values in force when the dialog opened.
    m_form->RestoreStoredValues();
    const auto chooseAuto = [](QDialog *dialog) {
        auto *form = static_cast<TFormSetupPrint *>(dialog);
        form->RadioButtonAuto->click();
        form->RadioButtonA4->click();
        form->MemoInfo->setPlainText("Info");
    };
    {
        ModalAnswers answers({Fill(chooseAuto, ClickButton("ButtonCancel"))});
        ExecModal(m_form.get());
    }
    QVERIFY(m_form->RadioButtonManual->isChecked());
    QVERIFY(!m_form->RadioButtonAuto->isChecked());
    QVERIFY(m_form->RadioButtonA5->isChecked());
    {
        ModalAnswers answers({Fill(chooseAuto, PressKey(Qt::Key_Escape))});
        ExecModal(m_form.get());
    }
    QVERIFY(m_form->RadioButtonManual->isChecked());
    {
        ModalAnswers answers({Fill(chooseAuto, ClickButton("ButtonOk"))});
        ExecModal(m_form.get());
    }
    TFormSetupPrint again;
    again.RestoreStoredValues();
    QVERIFY(again.RadioButtonAuto->isChecked());
    QVERIFY(!again.RadioButtonManual->isChecked());
    QVERIFY(again.RadioButtonA4->isChecked());
    QCOMPARE(again.MemoInfo->toPlainText(), QString("Info"));
}

QTEST_MAIN(TestSetupPrint)
#include "tst_setupprint.moc"
