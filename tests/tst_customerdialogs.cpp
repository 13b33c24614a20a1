// The customer changes on a logged-in desk: the new-customer dialog with its proposal and
// checks, the edit dialog with its rights and history erase, the removal with its refusals,
// a change that fails and the search dialog. The empty list with the print and
// import/export actions, the proposal typed over and the number typed into the search
// dialog, as the videos have them, are tested in tst_cataloguepages.
#include "catalogue/UCustomerEdit.h"
#include "catalogue/UCustomerFind.h"
#include "catalogue/UCustomerNew.h"
#include "catalogue/UCustomerPage.h"
#include "core/Grids.h"
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "support/CustomerDesk.h"
#include "support/ModalAnswers.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate Today(2026, 12, 10);

// Customers 1, 2, 4, 5 and 6 (3 is free); 1 and 2 have something out, 4 has no
// restriction stored.
void AddShop()
{
    AddCustomer({1, "Čapek Karel", "7801011229", "111", 2});
    AddCustomer({2, "čermák", "7901011234", "222", 0});
    AddCustomer({4, "Novák", "", "", QVariant()});
    AddCustomer({5, "Nováček", "8001011234", "", 1});
    AddCustomer({6, "Zeman"});
    AddVideo(1, "Titul 1");
    AddVideo(2, "Titul 2");
    AddLine({1, 1, 1, Today});
    AddLine({2, 2, 2, Today.addDays(-1)});
    AddLine({3, 2, 1, Today.addDays(-9), false, true, false});
}

} // namespace

class TestCustomerDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
        SetRunDate(Today);
    }
    // Every desk starts with the rental settings' defaults.
    void init() { QFile::remove("Valmedo4.ini"); }

    // F2 proposes the lowest free number; the checks follow what is typed; Ok writes the
    // customer in one logged transaction and the list moves to him.
    void newCustomer_data() { AddEngineRows(); }
    void newCustomer()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        FormSetupVideo->CheckBoxVerifyBirth->setChecked(true);
        FormSetupVideo->CheckBoxVerifyIdentity->setChecked(true);
        ModalAnswers answers({On<TFormCustomerNew>([](TFormCustomerNew *f) {
            auto shown = [f] {
                QStringList on;
                for (QLabel *l : {f->LabelCustomerProhibition, f->LabelCustomerExist, f->LabelBirthValid,
                                  f->LabelBirthExist, f->LabelIdentityExist})
                    if (!l->isHidden())
                        on << l->objectName();
                return on.join(',') + (f->ButtonOk->isEnabled() ? " ok" : "");
            };
            QCOMPARE_EQ(f->Int64EditCustomer->text(), QString("3"));
            QCOMPARE_EQ(f->LimitIndex(), 2);
            QCOMPARE_EQ(shown(), QString("LabelBirthValid")); // the birth number is required
            f->Int64EditCustomer->setText("");
            QCOMPARE_EQ(shown(), QString("LabelCustomerProhibition,LabelBirthValid"));
            f->Int64EditCustomer->setText("1");
            QCOMPARE_EQ(shown(), QString("LabelCustomerExist,LabelBirthValid"));
            f->Int64EditCustomer->setText("3");
            f->EditBirth->setFocus();
            QTest::keyClicks(f->EditBirth, "78a01011229");
            QCOMPARE_EQ(f->EditBirth->text(), QString("7801011229")); // the letter dropped
            QCOMPARE_EQ(shown(), QString("LabelBirthExist"));
            QTest::keyClick(f->EditBirth, Qt::Key_Backspace); // nine digits: valid
            f->EditIdentity->setText("111");
            QCOMPARE_EQ(shown(), QString("LabelIdentityExist"));
            f->EditIdentity->setText("");
            QCOMPARE_EQ(shown(), QString(" ok"));
            f->EditName->setText("Nový Jan");
            f->EditPhone->setText("602000111");
            f->ButtonOk->click();
        })});
        PressOn(desk.page()->Int64EditCustomerCustomer, Qt::Key_F2);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(CustomerColumn(3, "JMENO").toString(), QString("Nový Jan"));
        QCOMPARE(CustomerColumn(3, "RC").toString(), QString("780101122"));
        QCOMPARE(CustomerColumn(3, "OMEZENI").toInt(), 2);
        QCOMPARE(desk.current(), qint64(3));
        QCOMPARE(desk.page()->StatusText(), QString(" Zákazníků: 6"));
        QVERIFY2(LoggedTransaction(desk, "Nový zákazník", 3, "Ok"), qPrintable(LastLogLine(desk)));
    }

    // The number proposed was taken at another desk meanwhile: the key refuses the
    // insert, the warning shows, the log says Error and the other desk's row stays.
    void numberTakenMeanwhile_data() { AddEngineRows(); }
    void numberTakenMeanwhile()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        ModalAnswers answers({On<TFormCustomerNew>([](TFormCustomerNew *f) {
                                  AddCustomer({3, "Jinde"});
                                  f->EditName->setText("Můj");
                                  f->ButtonOk->click();
                              }),
                              ClickButton("ButtonOk")});
        desk.action("ActionCustomerNew")->trigger();
        QCOMPARE(answers.shown().size(), 2);
        QCOMPARE(answers.shown()[1].text, QString("Transakce skončila s chybou..."));
        QCOMPARE(answers.shown()[1].detail, QString("Přidání nového zákazníka neproběhlo..."));
        QVERIFY2(LoggedTransaction(desk, "Nový zákazník", 3, "Error"), qPrintable(LastLogLine(desk)));
        QCOMPARE(CustomerColumn(3, "JMENO").toString(), QString("Jinde"));
        QCOMPARE(desk.current(), qint64(3)); // the list was requeried all the same
        QCOMPARE(desk.page()->StatusText(), QString(" Zákazníků: 6"));
    }

    // Enter on the list edits the current customer: the fields filled, Ok disabled until
    // something changes, no restriction chosen for one stored without it (and kept).
    void editCustomer_data() { AddEngineRows(); }
    void editCustomer()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QVERIFY(desk.moveTo(4));
        ModalAnswers answers({On<TFormCustomerEdit>([](TFormCustomerEdit *f) {
            QCOMPARE_EQ(f->windowTitle(), QString(" Editace zákazníka"));
            QCOMPARE_EQ(f->Int64EditCustomer->text(), QString("4"));
            QVERIFY(f->Int64EditCustomer->isReadOnly());
            QCOMPARE_EQ(f->EditName->text(), QString("Novák"));
            QCOMPARE_EQ(f->LimitIndex(), -1);
            QVERIFY(!f->ButtonOk->isEnabled());
            QVERIFY(f->GroupBoxIdentity->isEnabled());
            f->EditText->setText("stálý");
            QVERIFY(f->ButtonOk->isEnabled());
            f->ButtonOk->click();
        })});
        PressOn(desk.page()->RxDBGridCustomer, Qt::Key_Return);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(CustomerColumn(4, "TEXT").toString(), QString("stálý"));
        QVERIFY(CustomerColumn(4, "OMEZENI").isNull());
        QCOMPARE(desk.current(), qint64(4));
        QVERIFY2(LoggedTransaction(desk, "Editace zákazníka", 4, "Ok"), qPrintable(LastLogLine(desk)));

        // "Vymazat historii" alone enables Ok; the erase runs with the update.
        QVERIFY(desk.moveTo(1));
        answers.add(On<TFormCustomerEdit>([](TFormCustomerEdit *f) {
            QVERIFY(f->CheckBoxHistory->isEnabled());
            f->CheckBoxHistory->click();
            QVERIFY(f->ButtonOk->isEnabled());
            f->ButtonOk->click();
        }));
        desk.action("ActionCustomerEdit")->trigger();
        QCOMPARE(CustomerLines(1), QString("1:1/0"));
        QCOMPARE(desk.page()->ADOQueryCustomerVideo->recordCount(), 0);
    }

    // The identity group needs ZAKAZNIK_EDITACE and nothing out, or SPECIAL; the history
    // box ZAKAZNIK_HISTORIE; the restriction and note stay open to everyone.
    void editRights_data()
    {
        QTest::addColumn<QStringList>("rights");
        QTest::addColumn<qint64>("customer");
        QTest::addColumn<bool>("identity");
        QTest::addColumn<bool>("history");
        const QStringList edit{"ZAKAZNIK_EDITACE"};
        QTest::newRow("edit, nothing out") << edit << qint64(4) << true << false;
        QTest::newRow("edit, something out") << edit << qint64(1) << false << false;
        QTest::newRow("edit and special") << QStringList{"ZAKAZNIK_EDITACE", "SPECIAL"} << qint64(1) << true << false;
        QTest::newRow("no right") << QStringList{"ZAKAZNIK_HISTORIE"} << qint64(4) << false << true;
    }
    void editRights()
    {
        QFETCH(QStringList, rights);
        QFETCH(qint64, customer);
        QFETCH(bool, identity);
        QFETCH(bool, history);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        AddShop();
        AddUser("pokladna", "x", rights);
        CustomerDesk desk(db, "pokladna");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        desk.page()->RxDBGridCustomer->setFocus(); // not the number box, which would say "not found"
        QVERIFY(desk.moveTo(customer));
        ModalAnswers answers({On<TFormCustomerEdit>([&](TFormCustomerEdit *f) {
            QCOMPARE_EQ(f->GroupBoxIdentity->isEnabled(), identity);
            QCOMPARE_EQ(f->EditName->isEnabled(), identity);
            QCOMPARE_EQ(f->CheckBoxHistory->isEnabled(), history);
            // The clerk starts where he can type: the name, or past the closed group.
            QWidget *focus = f->focusWidget();
            QVERIFY(focus && focus->isEnabled());
            if (identity)
                QCOMPARE_EQ(focus, static_cast<QWidget *>(f->EditName));
            QVERIFY(f->RadioGroupLimit->isEnabled());
            QVERIFY(f->EditText->isEnabled());
        })});
        desk.action("ActionCustomerEdit")->trigger();
        QCOMPARE(answers.shown().size(), 1);
    }

    // The refusals in their order: something out (whatever the rights), no right (then no
    // question), the question answered No; Yes removes and the list stands on the row
    // above; on the first row, on the new first row.
    void removeCustomer_data() { AddEngineRows(); }
    void removeCustomer()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddUser("pokladna", "x", {"ZAKAZNIK_EDITACE"});
        {
            CustomerDesk clerk(db, "pokladna");
            QVERIFY2(clerk.isReady(), qPrintable(clerk.error()));
            QCOMPARE(ShownOnRows(clerk, "ActionCustomerDelete", {1, 4}, {ClickButton("ButtonOk")}),
                     QStringList({"Tohoto zákazníka nelze odebrat... / Zákazník (1/Čapek Karel) má půjčené video...",
                                  "Zákazníka nelze odebrat... / Přihlášený uživatel nemá oprávnění pro tuto "
                                  "operaci... (modal)"}));
        }
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QVERIFY(desk.moveTo(4));
        ModalAnswers answers({ClickButton("ButtonNo"), ClickButton("ButtonYes")});
        // Del acts while the list has the focus only.
        PressOn(desk.page()->Int64EditCustomerCustomer, Qt::Key_Delete);
        QCOMPARE(answers.shown().size(), 0);
        PressOn(desk.page()->RxDBGridCustomer, Qt::Key_Delete);
        QCOMPARE(answers.shown()[0].text, QString("Opravdu chcete vyřadit tohoto zákazníka ?"));
        QCOMPARE(answers.shown()[0].detail, QString("Zákazník (4/Novák)"));
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 4, 5, 6}));
        QTest::keyClick(desk.page()->RxDBGridCustomer, Qt::Key_Delete);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 5, 6}));
        QCOMPARE(desk.current(), qint64(2));
        QCOMPARE(desk.page()->StatusText(), QString(" Zákazníků: 4"));
        QCOMPARE(CustomerLines(1), QString("1:1/1,2:0/1")); // others' lines untouched
        QVERIFY2(LoggedTransaction(desk, "Vyřazení zákazníka", 4, "Ok"), qPrintable(LastLogLine(desk)));

        desk.page()->CheckBoxCustomerCustomer->click();
        desk.page()->Int64EditCustomerCustomerFirst->setText("5");
        desk.page()->CustomerFilter();
        QCOMPARE(desk.current(), qint64(5));
        answers.add(ClickButton("ButtonYes"));
        desk.action("ActionCustomerDelete")->trigger();
        QCOMPARE(desk.listed(), QList<qint64>({6}));
        QCOMPARE(desk.current(), qint64(6));
    }

    // The search dialog: its starting field, the selection by the beginnings of the name
    // (the current row kept while selected), a number not selected disabling "Vybrat",
    // the choice moving the main list unless its filter hides the customer, the colours.
    void searchDialog_data() { AddEngineRows(); }
    void searchDialog()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        FormSetupVideo->CheckBoxColor->setChecked(true);
        QVERIFY(desk.moveTo(2));
        ModalAnswers answers({On<TFormCustomerFind>([](TFormCustomerFind *f) {
            QCOMPARE_EQ(f->windowTitle(), QString(" Vyhledání zákazníka"));
            QCOMPARE_EQ(f->focusWidget(), static_cast<QWidget *>(f->Int64EditCustomer));
            QCOMPARE_EQ(f->Panel->text(), QString(" Zákazníků: 5"));
            QCOMPARE_EQ(f->ADOQueryCustomerFind->value(0).toLongLong(), qint64(2));
            // The number column shows 13 digits whole, the name giving way.
            const int number = f->RxDBGridCustomerFind->columnWidth(0);
            QVERIFY(number >= QFontMetrics(f->RxDBGridCustomerFind->font()).horizontalAdvance("0000000000000") + 6);
            QCOMPARE_EQ(number + f->RxDBGridCustomerFind->columnWidth(1), 82 + 160);
            QFont font;
            QColor text = Qt::black, background = Qt::white;
            f->RxDBGridCustomerFind->OnGetCellParams(f->RxDBGridCustomerFind,
                                                     f->ADOQueryCustomerFind->index(f->ADOQueryCustomerFind->currentRow(), 1),
                                                     false, font, text, background);
            QCOMPARE_EQ(text, CurrentGridColors().delayed);
            f->EditName->setFocus();
            TypeText(f->EditName, "č");
            QCOMPARE_EQ(f->Panel->text(), QString(" Zákazníků: 2"));
            QCOMPARE_EQ(f->ADOQueryCustomerFind->value(0).toLongLong(), qint64(2));
            TypeText(f->EditName, "a");
            QCOMPARE_EQ(f->Panel->text(), QString(" Zákazníků: 1"));
            QCOMPARE_EQ(f->ADOQueryCustomerFind->value(0).toLongLong(), qint64(1));
            f->Int64EditCustomer->setFocus();
            f->Int64EditCustomer->selectAll();
            QTest::keyClicks(f->Int64EditCustomer, "2"); // not among the selected
            QVERIFY(!f->BitBtnSearch->isEnabled());
            EnterIn(f->Int64EditCustomer, "ActionCustomerEdit");
            QVERIFY(f->isVisible());
            QTest::keyClick(f->Int64EditCustomer, Qt::Key_Backspace);
            QTest::keyClicks(f->Int64EditCustomer, "1");
            QVERIFY(f->BitBtnSearch->isEnabled());
            EnterIn(f->Int64EditCustomer, "ActionCustomerEdit");
        })});
        desk.action("ActionCustomerFind")->trigger();
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].result, int(QDialog::Accepted));
        QCOMPARE(desk.current(), qint64(1));

        // From the name box it starts in the name; a customer the filter hides is chosen
        // in vain.
        desk.page()->CheckBoxCustomerCustomer->click();
        desk.page()->Int64EditCustomerCustomerSecond->setText("1");
        desk.page()->CustomerFilter();
        answers.add(On<TFormCustomerFind>([](TFormCustomerFind *f) {
            QCOMPARE_EQ(f->focusWidget(), static_cast<QWidget *>(f->EditName));
            QVERIFY(f->ADOQueryCustomerFind->locate("ZAKAZNIK", qint64(5)));
            f->BitBtnSearch->click();
        }));
        QTest::mouseDClick(desk.page()->ComboBoxCustomerName->lineEdit(), Qt::LeftButton);
        QCOMPARE(answers.shown().size(), 2);
        QCOMPARE(desk.current(), qint64(1));
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestCustomerDialogs)
#include "tst_customerdialogs.moc"
