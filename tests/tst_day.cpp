// A business day at the desk and the next, as a shop lives them, on both engines, through
// the whole program: start-up and the log-in, the shop set up by its own windows (rental and
// receipt settings, two media with their fees, a genre, the daily backup), customers and
// videos added, two lends with a receipt and a barred customer refused; days later, with a
// closed day between, part of the videos returned late into the takings; the journal's
// totals, the day overview and the statistics; the takings, an overview and the customer
// cards printed; the customers exported to a workbook. Then the shop moves to a new server:
// a new database made with "/RESET" takes the customers from the workbook, and "/RESTORE"
// puts back the daily backup made at closing, with every row as it was.
#include "app/Wiring.h"
#include "catalogue/UCustomerPage.h"
#include "catalogue/UCustomerPrint.h"
#include "catalogue/UDirection.h"
#include "catalogue/UImportExport.h"
#include "catalogue/UMedium.h"
#include "catalogue/CodeBookStore.h"
#include "core/RunGlobals.h"
#include "core/SystemPassword.h"
#include "core/UBackup.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/USystemPass.h"
#include "core/UStartup.h"
#include "core/UValmedo.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/IntegerEdit.h"
#include "core/database/BrowseQuery.h"
#include "rental/ULendPage.h"
#include "rental/ULendsPage.h"
#include "rental/UStatistics.h"
#include "rental/UView.h"
#include "support/Clerk.h"
#include "support/DeskAnswers.h"
#include "support/DeskFixture.h"
#include "support/ModalAnswers.h"
#include "support/PdfOutput.h"
#include "support/ShownReports.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"
#include "support/TestLends.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

const char *const Tables[] = {"tab_zakaznik", "tab_video", "tab_zamereni", "tab_nosic",
                              "tab_uzivatel", "tab_pujcky", "tab_pujckydetail"};

// The daily backup's file of a day, named by its weekday.
QString WeekdayFile(const QDate &day)
{
    const char *const names[] = {"Pondeli", "Utery", "Streda", "Ctvrtek", "Patek", "Sobota", "Nedele"};
    return QString::fromLatin1(names[day.dayOfWeek() - 1]) + QLatin1String(".bak");
}

// Whether the log holds the line of a desk transaction of that name, number and result.
bool Logged(const QStringList &log, const QString &name, qint64 number, const QString &result)
{
    const QRegularExpression line(QStringLiteral("^Transakce \\[%1\\] \\[\\d+ ms\\] \\[%2\\] \\[%3\\]$")
                                      .arg(QRegularExpression::escape(name))
                                      .arg(number, 13, 10, QChar('0'))
                                      .arg(result));
    return !log.filter(line).isEmpty();
}

// A date as the lists and receipts print it.
QString Day(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// The values of the list's rows in the given columns, joined by "|": dates "d.M.", amounts
// as the lists show them.
QStringList ListRows(const BrowseQuery &list, const QStringList &fields)
{
    QStringList rows;
    for (int row = 0; row < list.recordCount(); ++row) {
        QStringList values;
        for (const QString &field : fields) {
            const QVariant value = list.valueAt(row, list.fieldIndex(field));
            if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
                values << value.toDateTime().toString(QStringLiteral("d.M."));
            else if (value.typeId() == qMetaTypeId<Money>())
                values << FormatMoney(QStringLiteral(",0.00"), value.value<Money>());
            else
                values << value.toString();
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

// The points of the statistics' line: "label=value" of the non-zero ones, and their count.
QString Points(const QLineSeries *series)
{
    QStringList points;
    for (int i = 0; i < series->count(); ++i)
        if (series->at(i).y() != 0)
            points << QStringLiteral("%1=%2").arg(int(series->at(i).x())).arg(series->at(i).y());
    return QStringLiteral("%1: %2").arg(series->count()).arg(points.join(u' '));
}

} // namespace

class TestDay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void twoDaysAndANewServer_data() { AddEngineRows(); }
    void twoDaysAndANewServer();

private:
    // One run of the program with `arguments`: start-up, the windows of start-up answered by
    // `startAnswers`, then `work` on the running main window, then its closing with "Ano".
    // Whether the main loop ran.
    bool runProgram(const QStringList &arguments, const QList<Answer> &startAnswers,
                    const std::function<void()> &work);
    // Runs the steps in order while none has failed.
    static void steps(std::initializer_list<std::function<void()>> list);

    // The first day.
    void setUpShop();
    void addCatalogue();
    void lendOnTheFirstDay();
    void overviewOfTheFirstDay();
    // The later day.
    void returnLate();
    void journalAndStatistics();
    void overviewOfTheLaterDay();
    void printCards();
    void exportCustomers();
    // The new server.
    void importCustomers();
    void restoredRows();

    // The pages of the last print as text, when it is the `prints`-th print of the test.
    QStringList printedPages(int prints) const;

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<PdfPrints> m_prints;
    QDate m_today;
    QString m_desk, m_backups, m_newMachine, m_workbook;
    QString m_newServer;
    QStringList m_rowsAtClosing[std::size(Tables)];
};

void TestDay::initTestCase()
{
    // The documents take their time from the database server's clock, the run date from the
    // desk's: the first day must not cross midnight.
    if (QTime::currentTime() > QTime(23, 58))
        QTest::qWait(QTime::currentTime().msecsTo(QTime(23, 59, 59, 999)) + 2000);
}

void TestDay::cleanup()
{
    SetClock({});
    SetRunDate(QDate());
    m_prints.reset();
    m_db.reset();
    QDir::setCurrent(QDir::tempPath());
    m_root.reset();
}

bool TestDay::runProgram(const QStringList &arguments, const QList<Answer> &startAnswers,
                         const std::function<void()> &work)
{
    bool ran = false;
    ModalAnswers answers(startAnswers);
    StartupOptions options;
    options.arguments = QStringList{QStringLiteral("valmedo4")} + arguments;
    options.instanceName = QStringLiteral("tst_day-%1").arg(QCoreApplication::applicationPid());
    options.running = [&] {
        ran = true;
        work();
        ModalAnswers closing({ClickButton(QStringLiteral("ButtonYes"))}); // "Ukončit program ?"
        FormValmedo->close();
        if (FormValmedo && FormValmedo->isVisible())
            QCoreApplication::exit(1); // a failed step never leaves the run waiting
    };
    RunValmedo(*qApp, BuildFormValmedo, options);
    return ran;
}

void TestDay::steps(std::initializer_list<std::function<void()>> list)
{
    for (const std::function<void()> &step : list) {
        step();
        if (QTest::currentTestFailed())
            return;
    }
}

QStringList TestDay::printedPages(int prints) const
{
    const QStringList files = m_prints->files();
    return files.size() == prints ? PdfPageTexts(files.last()) : QStringList();
}

void TestDay::twoDaysAndANewServer()
{
    QFETCH(Engine, engine);
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_desk = m_root->filePath(QStringLiteral("pokladna"));
    m_backups = m_root->filePath(QStringLiteral("zalohy"));
    m_newMachine = m_root->filePath(QStringLiteral("novy-server"));
    const QString pdfs = m_root->filePath(QStringLiteral("tisk"));
    for (const QString &folder : {m_desk, m_backups, m_newMachine, pdfs})
        QVERIFY(QDir().mkpath(folder));
    m_workbook = m_root->filePath(QStringLiteral("Zakaznici.xlsx"));
    m_prints = std::make_unique<PdfPrints>(pdfs);
    m_db = std::make_unique<TestDatabase>(engine);
    QVERIFY2(m_db->isReady(), qPrintable(m_db->error()));
    m_newServer = engine == Engine::SQLite ? m_root->filePath(QStringLiteral("server-nove")) : m_db->serverName();
    const QString password = m_db->password();

    // The first day, on the clock of this machine.
    m_today = QDate::currentDate();
    QDir::setCurrent(m_desk);
    WritePasswordFile(QString::fromLatin1(PasswordFileName), password);
    QVERIFY(runProgram({}, {Login(QStringLiteral("sa"), password, m_db->serverName())}, [this] {
        steps({[this] { setUpShop(); }, [this] { addCatalogue(); }, [this] { lendOnTheFirstDay(); },
               [this] { overviewOfTheFirstDay(); }});
    }));
    if (QTest::currentTestFailed())
        return;
    QStringList log = LogFileTexts();
    QVERIFY(log.contains(QStringLiteral("Přihlášování uživatele: [sa] [Ok]")));
    const QString firstBackup = m_backups + QLatin1Char('/') + WeekdayFile(m_today);
    QCOMPARE(log.mid(log.size() - 2),
             (QStringList{QStringLiteral("Zálohování [Denní] [%1] [Ok]").arg(firstBackup),
                          QStringLiteral("Ukončování programu [Ok]")}));
    QVERIFY(QFile::exists(firstBackup));

    // Five days later: the day after tomorrow was closed.
    const QDate later = m_today.addDays(5);
    SetClock([later] { return QDateTime(later, QTime(10, 30)); });
    QVERIFY(runProgram({}, {Login(QStringLiteral("sa"), password, m_db->serverName())}, [this] {
        steps({[this] { returnLate(); }, [this] { journalAndStatistics(); }, [this] { overviewOfTheLaterDay(); },
               [this] { printCards(); }, [this] { exportCustomers(); }});
    }));
    if (QTest::currentTestFailed())
        return;
    log = LogFileTexts();
    const QString secondBackup = m_backups + QLatin1Char('/') + WeekdayFile(later);
    QCOMPARE(log.mid(log.size() - 2),
             (QStringList{QStringLiteral("Zálohování [Denní] [%1] [Ok]").arg(secondBackup),
                          QStringLiteral("Ukončování programu [Ok]")}));

    // The new server on a new machine, whose working folder starts empty: the backup and the
    // workbook are brought over. (An embedded server in a new folder; on PostgreSQL the
    // shop's server, where "/RESET" makes the database anew.)
    QDir::setCurrent(m_newMachine);
    const QString backup = m_newMachine + QLatin1String("/Zaloha.bak");
    QVERIFY(QFile::copy(secondBackup, backup));
    SetClock([later] { return QDateTime(later.addDays(1), QTime(8, 0)); });
    QVERIFY(runProgram({QStringLiteral("/RESET")},
                       {Fill([password](QDialog *d) {
                                 qobject_cast<TFormSystemPass *>(d)->EditSystemPass->setText(password);
                             },
                             ClickButton(QStringLiteral("ButtonOk"))),
                        ClickButton(QStringLiteral("ButtonOk")), // "Heslo bylo uloženo..."
                        Login(QStringLiteral("sa"), password, m_newServer),
                        ClickButton(QStringLiteral("ButtonYes"))}, // "Opravdu chcete vytvořit novou databázi ?"
                       [this] { importCustomers(); }));
    if (QTest::currentTestFailed())
        return;
    QVERIFY(LogFileTexts().contains(QStringLiteral("Vytváření databáze: [valmedo4] [Ok]")));

    QVERIFY(runProgram({QStringLiteral("/RESTORE")},
                       {Login(QStringLiteral("sa"), password, m_newServer), ChooseFile(backup),
                        ClickButton(QStringLiteral("ButtonYes"))}, // "Opravdu chcete obnovit databázi ?"
                       [this] { restoredRows(); }));
    if (QTest::currentTestFailed())
        return;
    QVERIFY(LogFileTexts().contains(QStringLiteral("Obnovování databáze ze zálohy: [%1] [Ok]").arg(backup)));
}

// The rental rules (every weekday open, the day after tomorrow closed, 20 % off for VIP
// customers, VAT 21 %), the receipts printed at once on half a sheet, two media with their
// fees, a genre and the daily backup, each through its window from the main window.
void TestDay::setUpShop()
{
    ModalAnswers answers;
    answers.add(On<TFormSetupVideo>([this](TFormSetupVideo *f) {
        for (QCheckBox *day : {f->CheckBoxMo, f->CheckBoxTu, f->CheckBoxWe, f->CheckBoxTh, f->CheckBoxFr,
                               f->CheckBoxSa, f->CheckBoxSu})
            day->setChecked(false);
        f->DateTimePickerDate->setDate(m_today.addDays(2));
        f->ButtonDateAdd->click();
        f->IntegerEditVIP->SetValue(20);
        f->IntegerEditTax->SetValue(21);
        f->CheckBoxLendInformation->setChecked(true);
        f->CheckBoxCash->setChecked(false);
        f->ButtonOk->click();
    }));
    answers.add(On<TFormSetupPrint>([](TFormSetupPrint *f) {
        f->MemoTitle->setPlainText(QStringLiteral("Videopůjčovna U Kolji"));
        f->MemoAddress->setPlainText(QStringLiteral("Dlouhá 1\nPraha 1"));
        f->RadioButtonAuto->setChecked(true);
        f->RadioButtonA5->setChecked(true);
        f->CheckBoxOriginal->setChecked(true);
        f->CheckBoxCopy->setChecked(false);
        f->CheckBoxExtra->setChecked(false);
        f->ButtonOk->click();
    }));
    answers.add(On<TFormMedium>([](TFormMedium *f) {
        f->ButtonAdd->click();
        f->ButtonAdd->click();
        f->ButtonOk->click();
    }));
    answers.add(MediumDialog({QStringLiteral("Blu-ray"), true, Money::fromCrowns(40), Money::fromCrowns(20),
                              Money::fromCrowns(300)}));
    answers.add(MediumDialog({QStringLiteral("UHD"), false, Money::fromCrowns(50), Money::fromCrowns(25),
                              Money::fromCrowns(400)}));
    answers.add(On<TFormDirection>([](TFormDirection *f) {
        f->ButtonAdd->click();
        f->ButtonOk->click();
    }));
    answers.add(DirectionDialog(QStringLiteral("Komedie")));
    answers.add(On<TFormBackup>([this](TFormBackup *f) {
        f->CheckBoxBackupDay->setChecked(true);
        f->EditBackupPathDay->setText(m_backups);
        f->ButtonOk->click();
    }));
    for (ValmedoAction action : {ValmedoAction::SetupVideo, ValmedoAction::SetupPrint, ValmedoAction::Medium,
                                 ValmedoAction::Direction, ValmedoAction::Backup})
        FormValmedo->action(action)->trigger();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(TestRows(QStringLiteral("SELECT NOSIC,DABING,PUJCOVNE,VRATNE,ZALOHA FROM tab_nosic "
                                     "WHERE NOSIC IN ('Blu-ray','UHD') ORDER BY NOSIC")),
             (QStringList{"Blu-ray|1|40.0000|20.0000|300.0000", "UHD|0|50.0000|25.0000|400.0000"}));
    QCOMPARE(TestRows(QStringLiteral("SELECT ZAMERENI FROM tab_zamereni ORDER BY ID_ZAMERENI")),
             (QStringList{"-", "Komedie"}));
    QVERIFY(!FormSetupVideo->TestDate(m_today.addDays(2)));
    QVERIFY(FormSetupVideo->TestDate(m_today.addDays(3)));
}

// Three customers ("$" against a deposit, "+" VIP, "!" barred) and four videos, by F2 and F3.
void TestDay::addCatalogue()
{
    ModalAnswers answers;
    const CustomerRecord customers[] = {
        {1, QStringLiteral("Novák Jan"), QStringLiteral("602111222"), QStringLiteral("Dlouhá 12"),
         QStringLiteral("Praha 1"), QStringLiteral("7801011229"), QStringLiteral("AB123456"), 1,
         QStringLiteral("stálý zákazník")},
        {2, QStringLiteral("Svobodová Eva"), QStringLiteral("603222333"), QStringLiteral("Krátká 3"),
         QStringLiteral("Brno"), QStringLiteral("8552123459"), QStringLiteral("CD654321"), 3,
         QStringLiteral("VIP")},
        {3, QStringLiteral("Dvořák Petr"), QStringLiteral("604333444"), QStringLiteral("Nová 7"),
         QStringLiteral("Plzeň"), QStringLiteral("6903159879"), QStringLiteral("EF111222"), 0,
         QStringLiteral("nevrátil kazetu")},
    };
    for (const CustomerRecord &customer : customers)
        AddCustomerByKeys(answers, customer);
    const VideoEntry videos[] = {
        {1, QStringLiteral("Pelíšky"), QStringLiteral("Blu-ray"), QStringLiteral("Komedie"), QStringLiteral("499")},
        {2, QStringLiteral("Kolja"), QStringLiteral("UHD"), QStringLiteral("Komedie"), QStringLiteral("599,50")},
        {3, QStringLiteral("Samotáři"), QStringLiteral("Blu-ray"), QStringLiteral("-"), QStringLiteral("399")},
        {4, QStringLiteral("Vratné lahve"), QStringLiteral("UHD"), QStringLiteral("Komedie"), QStringLiteral("699")},
    };
    for (const VideoEntry &video : videos)
        AddVideoByKeys(answers, video);
    QCOMPARE(answers.pending(), 0);
    const QStringList log = DeskLogTexts();
    for (qint64 number : {1, 2, 3})
        QVERIFY(Logged(log, QStringLiteral("Nový zákazník"), number, QStringLiteral("Ok")));
    for (qint64 number : {1, 2, 3, 4})
        QVERIFY(Logged(log, QStringLiteral("Nové video"), number, QStringLiteral("Ok")));
    QCOMPARE(TestRows(QStringLiteral("SELECT ZAKAZNIK,JMENO,RC,OMEZENI,PUJCKY FROM tab_zakaznik ORDER BY ZAKAZNIK")),
             (QStringList{"1|Novák Jan|7801011229|1|0", "2|Svobodová Eva|8552123459|3|0",
                          "3|Dvořák Petr|6903159879|0|0"}));
    QCOMPARE(TestRows(QStringLiteral("SELECT v.VIDEO,v.TITUL,n.NOSIC,z.ZAMERENI,v.CENA FROM tab_video v "
                                     "JOIN tab_nosic n ON n.ID_NOSIC=v.NOSIC "
                                     "JOIN tab_zamereni z ON z.ID_ZAMERENI=v.ZAMERENI ORDER BY v.VIDEO")),
             (QStringList{"1|Pelíšky|Blu-ray|Komedie|499.0000", "2|Kolja|UHD|Komedie|599.5000",
                          "3|Samotáři|Blu-ray|-|399.0000", "4|Vratné lahve|UHD|Komedie|699.0000"}));
}

// Novák ("$") takes Pelíšky for a day and Kolja for two open days, with the deposits, and
// gets his receipt; Svobodová ("+") takes two videos at the VIP price without a receipt;
// Dvořák ("!") is refused.
void TestDay::lendOnTheFirstDay()
{
    ModalAnswers answers;
    QString amount;
    LendByKeys(answers, 1, {{1, 1}, {2, 2}}, true, &amount);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(amount, QStringLiteral("Platba:   840,00 Kč"));
    QVERIFY(Logged(DeskLogTexts(), QStringLiteral("Půjčení"), 1, QStringLiteral("Ok")));
    const QStringList receipt = printedPages(1);
    QCOMPARE(receipt.size(), 1);
    const QString &page = receipt.first();
    VERIFY_LINE(page, "Videopůjčovna", "U", "Kolji");
    VERIFY_LINE(page, "Pokladní", "doklad", "-", "půjčené", "video");
    VERIFY_LINE(page, "Číslo", "dokladu:", "0000000000001", "Datum", "a", "čas", "vystavení:");
    VERIFY_LINE(page, "Zákazník:", "0000000000001", "Novák", "Jan", "Dlouhá", "12");
    VERIFY_LINE(page, "0000000000001", "Pelíšky", "Blu-ray", "1", Day(m_today.addDays(1)), "300,00", "40,00");
    VERIFY_LINE(page, "0000000000002", "Kolja", "UHD", "2", Day(m_today.addDays(3)), "400,00", "100,00");
    VERIFY_LINE(page, "Počet", "položek:", "2");
    VERIFY_LINE(page, "Cena", "bez", "DPH", "(21%):", "115,71", "Kč", "DPH", "(21%):", "24,29", "Kč");
    VERIFY_LINE(page, "Celkem", "včetně", "DPH:", "140,00", "Kč");
    VERIFY_LINE(page, "Celkem", "záloha:", "700,00", "Kč");

    LendByKeys(answers, 2, {{3, 1}, {4, 3}}, false, &amount);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(amount, QStringLiteral("Platba:   152,00 Kč"));
    QVERIFY(Logged(DeskLogTexts(), QStringLiteral("Půjčení"), 2, QStringLiteral("Ok")));
    QCOMPARE(m_prints->files().size(), 1); // no receipt asked for

    ActivateDesk();
    TypeOver(FormValmedo->lendPage()->Int64EditLendCustomer, QStringLiteral("3"));
    KeyToDesk(Qt::Key_Return);
    QCOMPARE(SelfClosedMessages(answers).value(0),
             QStringLiteral("Tento zákazník má zákaz půjčování... / Zákazník (3/Dvořák Petr)"));
    QCOMPARE(answers.pending(), 0);

    const QString due1 = m_today.addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    const QString due3 = m_today.addDays(3).toString(QStringLiteral("yyyy-MM-dd"));
    const QString due4 = m_today.addDays(4).toString(QStringLiteral("yyyy-MM-dd"));
    QCOMPARE(TestRows(QStringLiteral("SELECT DOKLAD_PUJ,VIDEO,ZAKAZNIK,VRATIT,DNY,ZDARMA,PUJCOVNE,VRATNE,ZALOHA,"
                                     "PUJCENA FROM tab_pujckydetail ORDER BY VIDEO")),
             (QStringList{QStringLiteral("1|1|1|%1 00:00|1|0|40.0000|20.0000|300.0000|1").arg(due1),
                          QStringLiteral("1|2|1|%1 00:00|2|0|50.0000|25.0000|400.0000|1").arg(due3),
                          QStringLiteral("2|3|2|%1 00:00|1|0|32.0000|16.0000|0.0000|1").arg(due1),
                          QStringLiteral("2|4|2|%1 00:00|3|0|40.0000|20.0000|0.0000|1").arg(due4)}));
    QCOMPARE(TestRows(QStringLiteral("SELECT ZAKAZNIK,PUJCKY FROM tab_zakaznik ORDER BY ZAKAZNIK")),
             (QStringList{"1|2", "2|2", "3|0"}));
}

// The day overview: what went out today and who took it.
void TestDay::overviewOfTheFirstDay()
{
    QStringList lent, customers;
    ModalAnswers answers({On<TFormView>([&](TFormView *view) {
        view->PageControl->setCurrentIndex(2);
        lent = ListRows(*view->ADOQueryView[2], {"VIDEO", "ZAKAZNIK"});
        view->PageControl->setCurrentIndex(5);
        customers = ListRows(*view->ADOQueryView[5], {"ZAKAZNIK", "POLOZKY", "PUJCOVNE_CELKEM"});
        view->reject();
    })});
    FormValmedo->findChild<QToolButton *>(QStringLiteral("SpeedButtonView"))->click();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(lent, (QStringList{"1|1", "2|1", "3|2", "4|2"}));
    QCOMPARE(customers, (QStringList{"1|2|140,00", "2|2|152,00"}));
}

// Novák brings both videos back late (a scan of one finds him, Space takes all of them):
// 3 and 2 open days over, the closed day not counted, the deposits handed back; Svobodová
// brings one of her two. Both returns go into the takings with their receipts.
void TestDay::returnLate()
{
    ModalAnswers answers;
    QString amount;
    ReturnByKeys(answers, 2, true, true, &amount);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(amount, QStringLiteral("Vrátit:   590,00 Kč"));
    QVERIFY(Logged(DeskLogTexts(), QStringLiteral("Vracení"), 3, QStringLiteral("Ok")));
    QStringList receipt = printedPages(2);
    QCOMPARE(receipt.size(), 1);
    const QString due1 = Day(m_today.addDays(1));
    VERIFY_LINE(receipt.first(), "Pokladní", "doklad", "-", "vrácené", "video");
    VERIFY_LINE(receipt.first(), "Číslo", "dokladu:", "0000000000003");
    VERIFY_LINE(receipt.first(), "Zákazník:", "0000000000001", "Novák", "Jan");
    VERIFY_LINE(receipt.first(), "Kód", "Název", "Nosič", "Přes", "Do", "Záloha", "[Kč]", "Platba", "[Kč]");
    VERIFY_LINE(receipt.first(), "0000000000001", "Pelíšky", "Blu-ray", "3", due1, "300,00", "60,00");
    VERIFY_LINE(receipt.first(), "0000000000002", "Kolja", "UHD", "2", Day(m_today.addDays(3)), "400,00", "50,00");
    VERIFY_LINE(receipt.first(), "Celkem", "včetně", "DPH:", "110,00", "Kč");
    VERIFY_LINE(receipt.first(), "Celkem", "záloha:", "-700,00", "Kč");

    ReturnByKeys(answers, 3, false, true, &amount);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(amount, QStringLiteral("Platba:   48,00 Kč"));
    QVERIFY(Logged(DeskLogTexts(), QStringLiteral("Vracení"), 4, QStringLiteral("Ok")));
    receipt = printedPages(3);
    QCOMPARE(receipt.size(), 1);
    VERIFY_LINE(receipt.first(), "Číslo", "dokladu:", "0000000000004");
    VERIFY_LINE(receipt.first(), "Zákazník:", "0000000000002", "Svobodová", "Eva", "Krátká", "3");
    VERIFY_LINE(receipt.first(), "0000000000003", "Samotáři", "Blu-ray", "3", due1, "0,00", "48,00");
    VERIFY_LINE(receipt.first(), "Počet", "položek:", "1");
    VERIFY_LINE(receipt.first(), "Celkem", "včetně", "DPH:", "48,00", "Kč");

    const QString back = RunDate().toString(QStringLiteral("yyyy-MM-dd 10:30"));
    QCOMPARE(TestRows(QStringLiteral("SELECT VIDEO,DOKLAD_PUJ,DOKLAD_VRA,PUJCENA,VRACENO,PRES FROM tab_pujckydetail "
                                     "ORDER BY VIDEO")),
             (QStringList{QStringLiteral("1|1|3|0|%1|3").arg(back), QStringLiteral("2|1|3|0|%1|2").arg(back),
                          QStringLiteral("3|2|4|0|%1|3").arg(back), "4|2|NULL|1|NULL|NULL"}));
    QCOMPARE(TestRows(QStringLiteral("SELECT DOKLAD,OPERACE,ZAKAZNIK FROM tab_pujcky ORDER BY DOKLAD")),
             (QStringList{"1|1|1", "2|1|2", "3|0|1", "4|0|2"}));
}

// The journal over all periods with its totals; the takings printed from it; the statistics
// of its documents by weekday and by day of the month.
void TestDay::journalAndStatistics()
{
    ActivateDesk();
    KeyToDesk(Qt::Key_F9);
    TLendsPage *journal = FormValmedo->lendsPage();
    journal->RadioButtonLendsAll->click();
    QCOMPARE(ListRows(*journal->ADOQueryLends, {"DOKLAD", "OPERACE", "ZAKAZNIK", "POLOZKY", "PLATBA_CELKEM",
                                                 "ZALOHA_CELKEM"}),
             (QStringList{"1|true|1|2|140,00|700,00", "2|true|2|2|152,00|0,00", "3|false|1|2|110,00|-700,00",
                          "4|false|2|1|48,00|0,00"}));
    QCOMPARE(journal->StatusTexts(),
             (QStringList{" Dokladů: 4", " Tržba: 450,00 Kč", " Zálohy: 0,00 Kč"}));

    {
        PreviewsPrinted previews;
        FormValmedo->action(ValmedoAction::LendsTotalPrint)->trigger();
        QCOMPARE(previews.titles(), QStringList{" Tržby"});
    }
    const QStringList takings = printedPages(4);
    QCOMPARE(takings.size(), 1);
    VERIFY_LINE(takings.first(), "Tržby", "Období:", "všechna", "období");
    VERIFY_LINE(takings.first(), "0000000000001", "->", Day(m_today));
    VERIFY_LINE(takings.first(), "0000000000001", "2", "140,00", "700,00");
    VERIFY_LINE(takings.first(), "0000000000003", "<-", Day(m_today));
    VERIFY_LINE(takings.first(), "0000000000001", "2", "110,00", "-700,00");
    VERIFY_LINE(takings.first(), "Počet", "dokladů:", "4", "Celkem", "[ks]:", "7", "Celkem", "[Kč]:", "450,00");

    QString week, month;
    ModalAnswers answers({On<TFormStatistics>([&](TFormStatistics *statistics) {
        week = Points(statistics->Series);
        statistics->RadioButtonMonth->click();
        month = Points(statistics->Series);
        statistics->ButtonClose->click();
    })});
    FormValmedo->action(ValmedoAction::LendsStatistics)->trigger();
    QCOMPARE(answers.pending(), 0);
    // The documents carry the database server's time: all of them fall on the first day.
    QCOMPARE(week, QStringLiteral("7: %1=450").arg(m_today.dayOfWeek() - 1));
    QCOMPARE(month, QStringLiteral("31: %1=450").arg(m_today.day() - 1));
}

// The day overview of the later day: the video still out is overdue, three came back today
// from two customers with their late fees; the overdue list printed.
void TestDay::overviewOfTheLaterDay()
{
    QStringList out, overdue, back, customers;
    ModalAnswers answers({On<TFormView>([&](TFormView *view) {
        out = ListRows(*view->ADOQueryView[0], {"VIDEO", "ZAKAZNIK", "VRATIT"});
        view->PageControl->setCurrentIndex(1);
        overdue = ListRows(*view->ADOQueryView[1], {"VIDEO", "ZAKAZNIK"});
        view->PageControl->setCurrentIndex(3);
        back = ListRows(*view->ADOQueryView[3], {"VIDEO", "ZAKAZNIK"});
        view->PageControl->setCurrentIndex(6);
        customers = ListRows(*view->ADOQueryView[6], {"ZAKAZNIK", "POLOZKY", "VRATNE_CELKEM"});
        view->PageControl->setCurrentIndex(1);
        PreviewsPrinted previews;
        view->ButtonPrintView->click();
        QCOMPARE(previews.titles(), QStringList{" Opožděná videa"});
        view->reject();
    })});
    FormValmedo->findChild<QToolButton *>(QStringLiteral("SpeedButtonView"))->click();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(out, QStringList{QStringLiteral("4|2|%1").arg(m_today.addDays(4).toString(QStringLiteral("d.M.")))});
    QCOMPARE(overdue, QStringList{"4|2"});
    QCOMPARE(back, (QStringList{"1|1", "2|1", "3|2"}));
    QCOMPARE(customers, (QStringList{"1|2|110,00", "2|1|48,00"}));
    const QStringList overview = printedPages(5);
    QCOMPARE(overview.size(), 1);
    VERIFY_LINE(overview.first(), "Opožděná", "videa");
    VERIFY_LINE(overview.first(), "0000000000004", "Vratné", "lahve", "UHD", Day(m_today));
    VERIFY_LINE(overview.first(), Day(m_today.addDays(4)), "0000000000002", "Svobodová", "Eva", "603222333",
                "Krátká", "3");
    VERIFY_LINE(overview.first(), "Počet", "položek:", "1");
}

// The cards of all customers, printed from their preview.
void TestDay::printCards()
{
    ActivateDesk();
    KeyToDesk(Qt::Key_F5);
    PreviewsPrinted previews;
    ModalAnswers answers({On<TFormCustomerPrint>([](TFormCustomerPrint *form) {
        form->RadioButtonCards->setChecked(true);
        form->ButtonPrint->click();
    })});
    FormValmedo->action(ValmedoAction::CustomerPrint)->trigger();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(previews.titles(), QStringList{" Karty"});
    const QStringList cards = printedPages(6);
    QCOMPARE(cards.size(), 1);
    VERIFY_LINE(cards.first(), "Novák", "Jan");
    VERIFY_LINE(cards.first(), "RČ:", "7801011229");
    VERIFY_LINE(cards.first(), "OP:", "EF111222");
    VERIFY_LINE(cards.first(), "Svobodová", "Eva");
    VERIFY_LINE(cards.first(), "Dvořák", "Petr");
    // Each card carries its customer's number twice: under the barcode and large below.
    for (const char *number : {"0000000000001", "0000000000002", "0000000000003"})
        QCOMPARE(cards.first().count(QLatin1String(number)), 2);
}

// The customers exported into a workbook; every row of the shop kept for the new server.
void TestDay::exportCustomers()
{
    ActivateDesk();
    KeyToDesk(Qt::Key_F5);
    ModalAnswers answers({On<TFormImportExport>([](TFormImportExport *form) {
                              QVERIFY(form->RadioButtonExport->isChecked());
                              form->ButtonStart->click();
                              form->ButtonClose->click();
                          }),
                          ChooseFile(m_workbook), RunProgress(), Accept()});
    FormValmedo->action(ValmedoAction::CustomerExportImport)->trigger();
    QCOMPARE(answers.pending(), 0);
    // A window is noted as it closes: the file, the message, the progress, the choice.
    QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Export dat byl dokončen v pořádku..."));
    QVERIFY(QFile::exists(m_workbook));
    for (size_t i = 0; i < std::size(Tables); ++i)
        m_rowsAtClosing[i] = TableRows(QString::fromLatin1(Tables[i]));
}

// On the new server's empty database: the customers imported from the workbook, as they were.
void TestDay::importCustomers()
{
    QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), QStringList());
    ActivateDesk();
    KeyToDesk(Qt::Key_F5);
    ModalAnswers answers({On<TFormImportExport>([](TFormImportExport *form) {
                              form->RadioButtonImportAdd->setChecked(true);
                              form->ButtonStart->click();
                              form->ButtonClose->click();
                          }),
                          ChooseFile(m_workbook), RunProgress(), Accept()});
    FormValmedo->action(ValmedoAction::CustomerExportImport)->trigger();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Import dat byl dokončen v pořádku..."));
    QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), m_rowsAtClosing[0]);
    QCOMPARE(FormValmedo->customerPage()->ADOQueryCustomer->recordCount(), 3);
    QCOMPARE(TableRows(QStringLiteral("tab_pujcky")), QStringList());
}

// After "/RESTORE": every row of every table as at the later day's closing, and the pages
// show them.
void TestDay::restoredRows()
{
    for (size_t i = 0; i < std::size(Tables); ++i)
        QCOMPARE(TableRows(QString::fromLatin1(Tables[i])), m_rowsAtClosing[i]);
    QCOMPARE(FormValmedo->customerPage()->ADOQueryCustomer->recordCount(), 3);
}

QTEST_MAIN(TestDay)
#include "tst_day.moc"
