// The main window frame: page switching and its keys, the caption, rights, the
// code-book transaction frame, the clock, the about window and the closing question.
#include "app/Wiring.h"
#include "catalogue/UCustomerPage.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Errors.h"
#include "core/Log.h"
#include "core/MessageForms.h"
#include "core/RunGlobals.h"
#include "core/database/SqlServer.h"
#include "core/UAbout.h"
#include "core/UValmedo.h"
#include "core/TransactionFrame.h"
#include "core/Utils.h"
#include "core/VersionInfo.h"
#include "core/controls/ActionKeys.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <memory>
#include <vector>

namespace {

const char *const EnterActions[] = {"ActionCustomerEdit", "ActionVideoEdit", "ActionLendSelect",
                                    "ActionBackSelect", "ActionLendsPrint"};

// A shown main window logged in as `user` on the test's database. A page without its
// number field yet holds an edit that takes the focus in its place.
struct Desk : LoggedInDesk {
    explicit Desk(TestDatabase &db, const QString &user = QStringLiteral("sa"))
        : LoggedInDesk(db, user)
    {
        for (int i = 0; i < window()->notebook()->count(); ++i) {
            if (page(i)->numberField())
                continue;
            auto *edit = new QLineEdit(page(i));
            edit->setObjectName(QStringLiteral("PageEdit%1").arg(i));
            PassActionKeys(edit);
        }
    }
    TValmedoPage *page(int index) const
    {
        return static_cast<TValmedoPage *>(window()->notebook()->widget(index));
    }
    QLineEdit *edit() const
    {
        const int index = window()->notebook()->currentIndex();
        if (auto *field = qobject_cast<QLineEdit *>(page(index)->numberField()))
            return field;
        return page(index)->findChild<QLineEdit *>(QStringLiteral("PageEdit%1").arg(index));
    }
};

// A list query of its own on each of the five pages, closed until the frame requeries it.
struct PageLists {
    PageLists(TFormValmedo *window, const QString &text) : window(window)
    {
        for (int i = 0; i < window->notebook()->count(); ++i) {
            queries.push_back(std::make_unique<BrowseQuery>());
            queries.back()->setSqlText(text);
            page(i)->setListQuery(queries.back().get());
        }
    }
    ~PageLists()
    {
        for (int i = 0; i < int(queries.size()); ++i)
            page(i)->setListQuery(nullptr);
    }
    TValmedoPage *page(int index) const
    {
        return static_cast<TValmedoPage *>(window->notebook()->widget(index));
    }
    // The pages whose list the frame has run.
    QList<int> opened() const
    {
        QList<int> pages;
        for (int i = 0; i < int(queries.size()); ++i)
            if (queries[size_t(i)]->isOpen())
                pages << i;
        return pages;
    }
    TFormValmedo *window;
    std::vector<std::unique_ptr<BrowseQuery>> queries;
};

// The relative luminance of a colour, as contrast ratios measure it.
double Luminance(QRgb rgb)
{
    auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

// The contrast of a button's caption as drawn: its face (the commonest colour inside its
// frame) against the caption's pixel farthest from the face in luminance.
double CaptionContrast(QWidget *button)
{
    const QImage image = button->grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            ++counts[image.pixel(x, y)];
    QRgb face = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(face))
            face = it.key();
    const double faceLuminance = Luminance(face);
    double farthest = faceLuminance;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (std::abs(Luminance(it.key()) - faceLuminance) > std::abs(farthest - faceLuminance))
            farthest = Luminance(it.key());
    return (std::max(faceLuminance, farthest) + 0.05) / (std::min(faceLuminance, farthest) + 0.05);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
    }
    void init()
    {
        QFile::remove(QStringLiteral("Valmedo4.log"));
        QFile::remove(QStringLiteral("Valmedo4.ini"));
        // A refused statement's query is never freed inside an aborted transaction.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
    }

    void versionInfo_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("name") << "ProductName" << "Valmedo";
        QTest::newRow("version") << "ProductVersion" << "4.0.1.8";
        QTest::newRow("unknown") << "CompanyName" << "";
        QTest::newRow("empty") << "" << "";
    }
    void versionInfo()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(GetVersionInfo(key), value);
    }
    void versionPathUsesFirstTranslation()
    {
        QCOMPARE(QueryVersionValue(QStringLiteral("\\StringFileInfo\\040504e2\\ProductName")),
                 QStringLiteral("Valmedo"));
        QCOMPARE(QueryVersionValue(QStringLiteral("\\StringFileInfo\\040904b0\\ProductName")),
                 QString());
    }

    void menuCaptions()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        QStringList titles;
        for (QAction *a : desk.window()->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({"Valmedo", "Zákazníci", "Video", "Půjčení", "Vracení",
                                      "Doklady", "Nastavení", "O programu..."}));
        auto items = [&](const char *menu) {
            QStringList texts;
            for (QAction *a : desk.window()->findChild<QMenu *>(QLatin1String(menu))->actions())
                texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
            return texts;
        };
        QCOMPARE(items("MenuItemLend"), QStringList({"Nový zákazník...", "Editace zákazníka...", "-",
                                                     "Vybrat...", "Půjčit", "Odebrat"}));
        QCOMPARE(items("MenuItemSetup"),
                 QStringList({"Půjčovna...", "Tisk dokladů...", "Nosiče a ceny...", "Žánry...",
                              "Uživatelé a hesla...", "Zálohování...", "Údržba databáze..."}));
        QStringList popup;
        for (QAction *a : desk.window()->popupMenuRxDBGrid()->actions())
            popup << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(popup, QStringList({"Zobrazit sloupce", "-", "Výběr reprezentuje celý řádek",
                                     "Zobrazit oddělovací čáry mezi řádky",
                                     "Zobrazit oddělovací čáry mezi sloupci", "Vícenásobný výběr"}));
    }

    // After a switch by key, button or menu, Enter runs only the new page's main
    // action and the numeric "+" only the lend and return actions, from a focused edit.
    void pageKeys_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("plusAction");
        const char *plus[] = {"", "", "ActionLendLend", "ActionBackBack", ""};
        for (const char *how : {"key", "button", "menu"})
            for (int page = 0; page < 5; ++page)
                QTest::addRow("%s-%d", how, page) << QString::fromLatin1(how) << page
                                                  << QString::fromLatin1(plus[page]);
    }
    void pageKeys()
    {
        QFETCH(QString, how);
        QFETCH(int, page);
        QFETCH(QString, plusAction);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        QVERIFY(QTest::qWaitForWindowActive(desk.window()));
        // Start from another page so that the switch is a real change.
        desk.window()->setPageIndex(page == 4 ? 0 : 4);

        const char *buttons[] = {"SpeedButtonCustomer", "SpeedButtonVideo", "SpeedButtonLend",
                                 "SpeedButtonBack", "SpeedButtonLends"};
        if (how == QLatin1String("key")) {
            QTest::keyClick(desk.window(), Qt::Key(Qt::Key_F5 + page));
        } else if (how == QLatin1String("button")) {
            QTest::mouseClick(desk.window()->findChild<QToolButton *>(QLatin1String(buttons[page])),
                              Qt::LeftButton);
        } else {
            const char *menus[] = {"MenuItemCustomer", "MenuItemVideo", "MenuItemLend",
                                   "MenuItemBack", "MenuItemLends"};
            auto *menu = desk.window()->findChild<QMenu *>(QLatin1String(menus[page]));
            emit menu->aboutToShow();
        }
        QCOMPARE(desk.window()->pageIndex(), page);
        QVERIFY(desk.window()->findChild<QToolButton *>(QLatin1String(buttons[page]))->isChecked());

        std::vector<std::unique_ptr<QSignalSpy>> enterSpies;
        for (const char *name : EnterActions)
            enterSpies.push_back(std::make_unique<QSignalSpy>(
                desk.action(name), &QAction::triggered));
        QSignalSpy lend(desk.action("ActionLendLend"), &QAction::triggered);
        QSignalSpy back(desk.action("ActionBackBack"), &QAction::triggered);
        // The pages enable these only while their baskets hold lines; the keys are what is
        // tested here.
        for (const char *name : {"ActionLendLend", "ActionBackBack"})
            desk.action(name)->setEnabled(true);

        QLineEdit *edit = desk.edit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(enterSpies[i]->count(), i == page ? 2 : 0);

        QTest::keyClick(edit, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(lend.count(), plusAction == QLatin1String("ActionLendLend") ? 1 : 0);
        QCOMPARE(back.count(), plusAction == QLatin1String("ActionBackBack") ? 1 : 0);
        // The main-row "+" (the "1" a barcode reader types on a Czech layout) stays text.
        QTest::keyClick(edit, Qt::Key_Plus);
        QCOMPARE(lend.count() + back.count(), plusAction.isEmpty() ? 0 : 1);
    }

    // The key a menu shows beside the page's actions: "Enter" and "Num +" (a menu shows
    // the text after a tab, or else the first shortcut).
    // A page switched to takes the keys in its number field with its text selected, so the
    // next scan replaces the number left there instead of being appended to it.
    void pageSwitchSelectsNumberField()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        LoggedInDesk desk(db);
        QVERIFY(QTest::qWaitForWindowActive(desk.window()));
        for (int page = 0; page < 5; ++page) {
            desk.window()->setPageIndex(page == 0 ? 1 : 0);
            auto *field = qobject_cast<QLineEdit *>(
                static_cast<TValmedoPage *>(desk.window()->notebook()->widget(page))->numberField());
            QVERIFY2(field, qPrintable(QString::number(page)));
            field->setText(QStringLiteral("7"));
            QTest::keyClick(desk.window(), Qt::Key(Qt::Key_F5 + page));
            QCOMPARE(desk.window()->pageIndex(), page);
            QCOMPARE(QApplication::focusWidget(), field);
            QCOMPARE(field->selectedText(), QStringLiteral("7"));
        }
    }

    void pageKeysInMenus()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        auto shown = [&](const char *name) {
            QAction *a = desk.action(name);
            const QString text = a->text();
            return text.contains(u'\t') ? text.section(u'\t', 1)
                                         : a->shortcut().toString(QKeySequence::NativeText);
        };
        desk.window()->setPageIndex(TFormValmedo::PageLend);
        QCOMPARE(shown("ActionLendSelect"), QStringLiteral("Enter"));
        QCOMPARE(shown("ActionLendLend"), QStringLiteral("Num +"));
        QCOMPARE(desk.action("ActionLendLend")->iconText(),
                 QStringLiteral("Půjčit"));
        desk.window()->setPageIndex(TFormValmedo::PageBack);
        QCOMPARE(shown("ActionLendLend"), QString());
        QCOMPARE(desk.action("ActionLendLend")->text(),
                 QStringLiteral("Půjčit"));
        QCOMPARE(shown("ActionBackBack"), QStringLiteral("Num +"));
        desk.window()->setPageIndex(TFormValmedo::PageCustomer);
        QCOMPARE(shown("ActionCustomerEdit"), QStringLiteral("Enter"));
        QCOMPARE(shown("ActionBackBack"), QString());
    }

    void functionKeysOnEveryPage()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        QVERIFY(QTest::qWaitForWindowActive(desk.window()));
        QSignalSpy customer(desk.action("ActionCustomerNew"), &QAction::triggered);
        QSignalSpy video(desk.action("ActionVideoNew"), &QAction::triggered);
        QSignalSpy lend(desk.action("ActionLendNew"), &QAction::triggered);
        // F2 and F4 open the new-customer dialog and F3 the new-video dialog on every page.
        ModalAnswers answers(QList<Answer>(15, Reject()));
        for (int page = 0; page < 5; ++page) {
            desk.window()->setPageIndex(page);
            desk.edit()->setFocus();
            QTest::keyClick(desk.edit(), Qt::Key_F2);
            QTest::keyClick(desk.edit(), Qt::Key_F3);
            QTest::keyClick(desk.edit(), Qt::Key_F4);
        }
        QCOMPARE(customer.count(), 5);
        QCOMPARE(video.count(), 5);
        QCOMPARE(lend.count(), 5);
    }

    // The pressed page button's caption reads as well as the others' (at least 4.5 : 1).
    void pageButtonsReadable()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        desk.window()->setPageIndex(TFormValmedo::PageLends);
        for (const char *name : {"SpeedButtonCustomer", "SpeedButtonLends"}) {
            auto *button = desk.window()->findChild<QToolButton *>(QLatin1String(name));
            const double contrast = CaptionContrast(button);
            QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1 (pressed: %2): %3 : 1")
                                                     .arg(QLatin1String(name)).arg(button->isChecked())
                                                     .arg(contrast, 0, 'f', 1)));
        }
    }

    void captionOnLendPage()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        desk.window()->setPageIndex(TFormValmedo::PageLend);
        QCOMPARE(desk.window()->windowTitle(), QStringLiteral("Valmedo 4.0.1.8 - Půjčení - [sa]"));
    }

    void rights_data() { AddEngineRows(); }
    void rights()
    {
        OPEN_TEST_DATABASE(db);
        SetCommand(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL, HESLO) VALUES (:UZIVATEL, :HESLO)"));
        SetCommandParam(QStringLiteral("UZIVATEL"), QStringLiteral("pokladna"));
        SetCommandParam(QStringLiteral("HESLO"), QStringLiteral("x"));
        ExecCommand();

        const QStringList guarded = {"ActionSetupVideo", "ActionMedium", "ActionBackup",
                                     "ActionDatabase", "ActionUser"};
        const QStringList open = {"ActionSetupPrint", "ActionDirection", "ActionAbout"};
        {
            Desk desk(db, QStringLiteral("pokladna"));
            for (const QString &name : guarded)
                QVERIFY2(!desk.action(name)->isEnabled(), qPrintable(name));
            for (const QString &name : open)
                QVERIFY2(desk.action(name)->isEnabled(), qPrintable(name));
        }
        // ADMIN alone opens the users window only.
        SetCommand(QStringLiteral("UPDATE tab_uzivatel SET ADMIN=1 WHERE UZIVATEL=:UZIVATEL"));
        SetCommandParam(QStringLiteral("UZIVATEL"), QStringLiteral("pokladna"));
        ExecCommand();
        Desk desk(db, QStringLiteral("pokladna"));
        QVERIFY(desk.action("ActionUser")->isEnabled());
        QVERIFY(!desk.action("ActionMedium")->isEnabled());
        Desk sa(db);
        for (const QString &name : guarded)
            QVERIFY2(sa.action(name)->isEnabled(), qPrintable(name));
    }

    // The media code book's changes, a refused one among them, are undone by a
    // cancel and kept by Ok; the lists are requeried only after Ok.
    void codeBookTransaction_data() { AddEngineFlagRows("ok", "cancel", "ok"); }
    void codeBookTransaction()
    {
        QFETCH(bool, ok);
        OPEN_TEST_DATABASE(db);
        auto count = [] {
            SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_nosic"));
            return ExecCommandValue().toInt();
        };
        const int before = count();
        Desk desk(db);
        desk.window()->parts().frameWindows[ValmedoAction::Medium] = [] { return new QDialog; };
        bool refused = false;
        ModalAnswers answers({[&](QDialog *) {
            FrameStatement([] {
                SetCommand(QStringLiteral("INSERT INTO tab_nosic (NOSIC, DABING, PUJCOVNE, VRATNE, "
                                          "ZALOHA, VYCHOZI) VALUES ('BLU-RAY', 0, 10, 5, 0, 0)"));
                ExecCommand();
            });
            try {
                FrameStatement([] { // the name is unique: refused
                    SetCommand(QStringLiteral("INSERT INTO tab_nosic (NOSIC, DABING, PUJCOVNE, "
                                              "VRATNE, ZALOHA, VYCHOZI) VALUES ('DVD', 0, 0, 0, 0, 0)"));
                    ExecCommand();
                });
            } catch (const EDatabaseError &) {
                refused = true;
            }
            FrameStatement([] {
                SetCommand(QStringLiteral("DELETE FROM tab_nosic WHERE NOSIC='VHS CZ'"));
                ExecCommand();
            });
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        }});
        desk.action("ActionMedium")->trigger();
        QVERIFY(refused);
        QVERIFY(!InTransactionFrame());
        QCOMPARE(count(), before); // one added, one removed, or neither
        SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_nosic WHERE NOSIC='BLU-RAY'"));
        QCOMPARE(ExecCommandValue().toInt(), ok ? 1 : 0);
        SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_nosic WHERE NOSIC='VHS CZ'"));
        QCOMPARE(ExecCommandValue().toInt(), ok ? 0 : 1);
    }

    // Showing the window ends by asking for the English keyboard (what the barcode reader
    // needs in the number field); the window has a fixed border and keeps its size.
    void showAsksEnglishKeyboardAndSizeIsFixed()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        SetBarcodeSettingProvider([] { return true; });
        KeyboardCzech(); // what a page's other fields ask for
        // The bare window: the desk fixture's settings dialog would answer the setting.
        SetUserName(QStringLiteral("sa"));
        const std::unique_ptr<TFormValmedo> built(BuildFormValmedo());
        TFormValmedo &window = *built;
        window.show();
        const int layout = RequestedKeyboardLayout();
        SetBarcodeSettingProvider({});
        QCOMPARE(layout, LayoutEnglish);

        QCOMPARE(window.centralWidget()->size(), QSize(1014, 692));
        const QSize size = window.size();
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        window.resize(size + QSize(100, 50));
        QCOMPARE(window.size(), size);
    }

    // The code-book and users windows requery the main window's lists after Ok only:
    // the media code book the four lists, the genres the videos, the users the journal.
    void listsRequeriedAfterOk_data()
    {
        QTest::addColumn<ValmedoAction>("action");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QList<int>>("requeried");
        QTest::newRow("medium ok") << ValmedoAction::Medium << true << QList<int>{0, 1, 3, 4};
        QTest::newRow("medium cancel") << ValmedoAction::Medium << false << QList<int>{};
        QTest::newRow("direction ok") << ValmedoAction::Direction << true << QList<int>{1};
        QTest::newRow("direction cancel") << ValmedoAction::Direction << false << QList<int>{};
        QTest::newRow("user ok") << ValmedoAction::User << true << QList<int>{4};
        QTest::newRow("user cancel") << ValmedoAction::User << false << QList<int>{};
    }
    void listsRequeriedAfterOk()
    {
        QFETCH(ValmedoAction, action);
        QFETCH(bool, ok);
        QFETCH(QList<int>, requeried);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        PageLists lists(desk.window(), QStringLiteral("SELECT NOSIC FROM tab_nosic\n"));
        desk.window()->parts().frameWindows[action] = [] { return new QDialog; };
        ModalAnswers answers({ok ? Accept() : Reject()});
        desk.window()->action(action)->trigger();
        QCOMPARE(lists.opened(), requeried);
    }

    // The refresh requeries the four lists under the wait window. A requery that fails
    // stops the rest, and the wait window is gone before the error shows.
    void refresh_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("ok") << false;
        QTest::newRow("fails") << true;
    }
    void refresh()
    {
        QFETCH(bool, fails);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        PageLists lists(desk.window(), QStringLiteral("SELECT NOSIC FROM tab_nosic\n"));
        if (fails)
            lists.queries[0]->setSqlText(QStringLiteral("SELECT NOSIC FROM tab_neni\n"));
        bool waitGone = false;
        ModalAnswers answers;
        if (fails)
            answers.add([&](QDialog *d) {
                waitGone = FormProgress.isNull();
                return ClickButton(QStringLiteral("ButtonOk"))(d);
            });
        desk.window()->findChild<QToolButton *>(QStringLiteral("SpeedButtonRefresh"))->click();
        QVERIFY(FormProgress.isNull());
        QCOMPARE(answers.shown().at(0).caption, QStringLiteral(" Čekejte"));
        QCOMPARE(answers.shown().at(0).detail, QStringLiteral("Probíhá refresh databáze..."));
        QCOMPARE(lists.opened(), fails ? QList<int>() : QList<int>({0, 1, 3, 4}));
        if (fails) {
            QCOMPARE(answers.shown().constLast().caption, QStringLiteral(" Upozornění"));
            QVERIFY(waitGone);
        }
    }

    // A page's "Filtr..." label blinks while its list's text holds the upper-case "WHERE",
    // and stays hidden once the text holds only a lower-case "where".
    void filterLabelBlinks_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("label");
        QTest::newRow("customers") << int(TFormValmedo::PageCustomer) << "LabelCustomerFilter";
        QTest::newRow("videos") << int(TFormValmedo::PageVideo) << "LabelVideoFilter";
        QTest::newRow("documents") << int(TFormValmedo::PageLends) << "LabelLendsFilter";
    }
    void filterLabelBlinks()
    {
        QFETCH(int, page);
        QFETCH(QString, label);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        desk.window()->findChild<QTimer *>(QStringLiteral("Timer"))->stop();
        PageLists lists(desk.window(), QStringLiteral("SELECT ZAKAZNIK FROM tab_zakaznik\nWHERE ZAKAZNIK>0\n"));
        auto *filter = desk.window()->findChild<QLabel *>(label);
        QVERIFY(filter);
        auto ticks = [&] {
            QList<bool> shown;
            for (int i = 0; i < 3; ++i) {
                desk.window()->TimerTimer();
                shown << !filter->isHidden();
            }
            return shown;
        };
        QCOMPARE(ticks(), QList<bool>({true, false, true}));
        lists.queries[size_t(page)]->setSqlText(
            QStringLiteral("SELECT DOKLAD, (SELECT COUNT(*) FROM tab_pujckydetail where DOKLAD_PUJ=DOKLAD)\n"
                           "FROM tab_pujcky\nORDER BY DOKLAD\n"));
        QCOMPARE(ticks(), QList<bool>({false, false, false}));
    }

    void clockOnTwoLines()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        SetRunDate(QDate(2026, 12, 10));
        SetClock([] { return QDateTime(QDate(2026, 12, 11), QTime(7, 5, 9)); });
        Desk desk(db);
        desk.window()->TimerTimer();
        SetClock({});
        // The business date, not the clock's.
        QCOMPARE(desk.window()->findChild<QLabel *>(QStringLiteral("LabelDateTime"))->text(),
                 QStringLiteral("10.12.2026\n7:05:09"));
        // An unfiltered list keeps its label hidden.
        auto *label = desk.window()->findChild<QLabel *>(QStringLiteral("LabelCustomerFilter"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Filtr..."));
        desk.window()->TimerTimer();
        QVERIFY(label->isHidden());
    }

    void aboutWindow()
    {
        TFormAbout about;
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral(" O programu"));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("ApplicationLabel"))->text(),
                 QStringLiteral("Program Valmedo"));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("VersionLabel"))->text(),
                 QStringLiteral("verze 4.0.1.8"));
    }

    // "&Ne" keeps the program running and writes nothing; "&Ano" closes it with the
    // closing log line.
    void closeQuestion()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Desk desk(db);
        const int lines = desk.window()->log()->LogCount();
        {
            // "Konec..." asks the same question as the close box.
            ModalAnswers answers({ClickButton(QStringLiteral("ButtonNo"))});
            desk.action("ActionClose")->trigger();
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).text, QStringLiteral("Ukončit program ?"));
            QCOMPARE(answers.shown().at(0).detail,
                     QStringLiteral("Ukončení programu Valmedo 4.0.1.8"));
        }
        QVERIFY(desk.window()->isVisible());
        QCOMPARE(desk.window()->log()->LogCount(), lines);
        QVERIFY(!QFile::exists(QStringLiteral("Valmedo4.ini")));
        {
            ModalAnswers answers({ClickButton(QStringLiteral("ButtonYes"))});
            QVERIFY(desk.window()->close());
        }
        QCOMPARE(desk.window()->log()->LogCount(), lines + 1);
        QVERIFY2(desk.window()->log()->Lines().constLast().endsWith(
                     QStringLiteral(" Ukončování programu [Ok]")),
                 qPrintable(desk.window()->log()->Lines().constLast()));
        // The page is kept for the next start.
        QFile ini(QStringLiteral("Valmedo4.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(ini.readAll()).contains(QLatin1String("Notebook_PageIndex=4")));
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
