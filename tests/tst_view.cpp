// The day overview: its seven lists on a prepared day (lines out, overdue, lent and
// returned today, the day's customers with their counts and sums) on both engines, and the
// window opened from the main window: its tabs, each list read once, its sorting by a
// computed column, and "Tisk..." on an empty list and on a customer list.
#include "core/RunGlobals.h"
#include "core/UValmedo.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/Grids.h"
#include "rental/UView.h"
#include "rental/ViewStore.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

const QDate RunDay(2005, 11, 8);

// One document line; `returned` empty for a line still out.
void AddLine(qint64 document, qint64 video, qint64 customer, const char *lent, const char *due,
             const char *returned = nullptr, int days = 1, int free = 0, const char *fee = "25",
             int over = 0, const char *lateFee = "15")
{
    Exec(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,PUJCENA,ZDARMA,PUJCOVNE,"
                        "VRATNE,ZALOHA,PUJCENO,VRATIT,DNY,VRACENO,PRES) VALUES (%1,%2,%3,%4,%5,%6,%7,0,'%8','%9',"
                        "%10,%11,%12)")
             .arg(document).arg(video).arg(customer).arg(returned ? 0 : 1).arg(free)
             .arg(QLatin1String(fee), QLatin1String(lateFee), QLatin1String(lent), QLatin1String(due))
             .arg(days)
             .arg(returned ? QStringLiteral("'%1'").arg(QLatin1String(returned)) : QStringLiteral("NULL"))
             .arg(returned ? QString::number(over) : QStringLiteral("NULL")));
}

// The shop on Tuesday 8 November 2005.
void PrepareDay()
{
    Exec("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,OMEZENI,PUJCKY) VALUES "
         "(1,'Novák','123','Praha',1,4)");
    Exec("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,OMEZENI,PUJCKY) VALUES "
         "(2,'Svoboda','456','Brno',3,1)");
    Exec("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,OMEZENI,PUJCKY) VALUES "
         "(3,'Dvořák','789','Plzeň',2,2)");
    for (int video = 1; video <= 5; ++video)
        Exec(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA) VALUES (%1,'Film %1',1,2,499)")
                 .arg(video));
    AddLine(1, 1, 1, "2005-11-01 10:00:00", "2005-11-07 00:00:00");            // due yesterday: overdue
    AddLine(2, 2, 2, "2005-11-07 09:00:00", "2005-11-08 00:00:00");            // due today: not overdue
    AddLine(3, 3, 1, "2005-11-08 23:59:00", "2005-11-11 00:00:00", nullptr, 3, 1, "20"); // free: 2 × 20
    AddLine(4, 4, 3, "2005-11-05 10:00:00", "2005-11-07 00:00:00", "2005-11-08 10:30:00", 2, 0, "25", 1);
    AddLine(5, 5, 1, "2005-11-08 08:00:00", "2005-11-09 00:00:00", "2005-11-08 17:00:00", 1, 0, "25", 0);
    // Earlier and later days: in none of the day's lists.
    AddLine(6, 2, 3, "2005-10-30 10:00:00", "2005-11-01 00:00:00", "2005-11-07 23:59:00", 2, 0, "25", 5);
    AddLine(7, 3, 2, "2005-11-02 10:00:00", "2005-11-03 00:00:00", "2005-11-09 00:00:00", 1, 0, "25", 4);
}

// The rows of a list, each its fields' display texts joined by "|".
QStringList Rows(BrowseQuery &query, const QStringList &fields)
{
    QStringList rows;
    for (int row = 0; row < query.recordCount(); ++row) {
        QStringList values;
        for (const QString &field : fields)
            values << query.displayText(row, query.fieldIndex(field));
        rows << values.join(u'|');
    }
    return rows;
}

QStringList OpenList(int list, const QStringList &fields)
{
    BrowseQuery query;
    PrepareViewQuery(query, list);
    SetViewParameters(query, list, RunDay);
    query.open();
    return Rows(query, fields);
}

} // namespace

class TestView : public QObject {
    Q_OBJECT

private slots:
    void init() { SetRunDate(RunDay); }
    void cleanup() { SetRunDate(QDate()); }

    void lists_data() { AddEngineRows(); }
    void lists();
    void window_data() { AddEngineRows(); }
    void window();
};

void TestView::lists()
{
    OPEN_TEST_DATABASE(db);
    PrepareDay();

    Exec("UPDATE tab_video SET CENA=1299.5 WHERE VIDEO=2");
    const QStringList line = {"VIDEO", "TITUL", "NOSIC", "CENA", "PUJCENO", "VRATIT", "ZAKAZNIK", "JMENO"};
    QCOMPARE(OpenList(0, line),
             (QStringList{"0000000000001|Film 1|DVD|499,00|01.11.2005 10:00|07.11.2005|0000000000001|Novák",
                          "0000000000002|Film 2|DVD|1\u00a0299,50|07.11.2005 09:00|08.11.2005|0000000000002|Svoboda",
                          "0000000000003|Film 3|DVD|499,00|08.11.2005 23:59|11.11.2005|0000000000001|Novák"}));
    QCOMPARE(OpenList(1, {"VIDEO"}), QStringList{"0000000000001"});
    QCOMPARE(OpenList(2, {"VIDEO", "ZAKAZNIK"}), (QStringList{"0000000000003|0000000000001",
                                                             "0000000000005|0000000000001"}));
    QCOMPARE(OpenList(3, {"VIDEO", "ZAKAZNIK", "TELEFON", "ADRESA1"}),
             (QStringList{"0000000000004|0000000000003|789|Plzeň", "0000000000005|0000000000001|123|Praha"}));
    // A customer who lent and returned today is listed once.
    QCOMPARE(OpenList(4, {"ZAKAZNIK", "JMENO", "OMEZENI", "PUJCKY"}),
             (QStringList{"0000000000001|Novák|$|4", "0000000000003|Dvořák|-|2"}));
    QCOMPARE(OpenList(5, {"ZAKAZNIK", "POLOZKY", "PUJCOVNE_CELKEM"}), QStringList{"0000000000001|2|65,00"});
    QCOMPARE(OpenList(6, {"ZAKAZNIK", "POLOZKY", "VRATNE_CELKEM"}),
             (QStringList{"0000000000001|1|0,00", "0000000000003|1|15,00"}));

    // The grids are titled by the field names, as the database gives them.
    BrowseQuery query;
    PrepareViewQuery(query, 0);
    query.open();
    QCOMPARE(query.fieldNames(), (QStringList{"VIDEO", "TITUL", "NOSIC", "CENA", "PUJCENO", "VRATIT", "ZAKAZNIK",
                                              "JMENO", "TELEFON", "ADRESA1"}));
    QCOMPARE(query.displayLabel(query.fieldIndex("CENA")), QString("CENA"));
}

void TestView::window()
{
    QFETCH(Engine, engine);
    LoggedInDesk desk(engine);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    SetRunDate(RunDay);
    PrepareDay();

    bool answered = false;
    ModalAnswers answers({[&](QDialog *dialog) {
        auto *view = qobject_cast<TFormView *>(dialog);
        if (!view) {
            QTest::qFail("the day overview did not open", __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        answered = true;
        [&] {
            QCOMPARE(view->windowTitle(), QString(" Přehled"));
            QCOMPARE(view->PageControl->count(), ViewListCount);
            QCOMPARE(view->PageControl->tabText(6), QString("Zákazníci kteří dnes vraceli"));
            // Only the list shown is read.
            QVERIFY(view->ADOQueryView[0]->isOpen());
            QCOMPARE(view->ADOQueryView[0]->recordCount(), 3);
            QVERIFY(!view->ADOQueryView[1]->isOpen());

            // A tab already shown is not read again while the window is open.
            view->PageControl->setCurrentIndex(1);
            QCOMPARE(view->ADOQueryView[1]->recordCount(), 1);
            AddLine(8, 4, 2, "2005-11-01 10:00:00", "2005-11-02 00:00:00");
            view->PageControl->setCurrentIndex(0);
            view->PageControl->setCurrentIndex(1);
            QCOMPARE(view->ADOQueryView[1]->recordCount(), 1);

            // A computed column sorts by its own name.
            view->PageControl->setCurrentIndex(5);
            TRxDBGridEx *grid = view->RxDBGrid[5];
            QVERIFY(grid->isVisible());
            BrowseQuery *sums = view->ADOQueryView[5];
            const int column = sums->fieldIndex("PUJCOVNE_CELKEM");
            RxDBGridTitleBtnClick(grid, column);
            RxDBGridTitleBtnClick(grid, column);
            QVERIFY(sums->sqlText().contains("PUJCOVNE_CELKEM DESC"));
            QCOMPARE(sums->recordCount(), 1);
            view->PageControl->setCurrentIndex(4);
            BrowseQuery *customers = view->ADOQueryView[4];
            RxDBGridTitleBtnClick(view->RxDBGrid[4], customers->fieldIndex("OMEZENI"));
            const QStringList ascending = Rows(*customers, {"OMEZENI"});
            RxDBGridTitleBtnClick(view->RxDBGrid[4], customers->fieldIndex("OMEZENI"));
            QCOMPARE(ascending.size(), 2);
            QCOMPARE(Rows(*customers, {"OMEZENI"}), (QStringList{ascending.at(1), ascending.at(0)}));

            // "Tisk..." previews a list of lines under its tab's caption and leaves the list
            // on its row; on a customer list it does nothing; on an empty list it says so.
            QStringList previewed;
            TFormView::SetPrintPreview([&](DataSet &list, const QString &title) {
                list.last();
                previewed << QStringLiteral("%1:%2").arg(title).arg(list.recordCount());
            });
            view->PageControl->setCurrentIndex(0);
            view->ADOQueryView[0]->moveTo(1);
            view->ButtonPrintView->click();
            QCOMPARE(previewed, QStringList{" Vypůjčená videa:3"});
            QCOMPARE(view->ADOQueryView[0]->currentRow(), 1);
            view->PageControl->setCurrentIndex(4);
            view->ButtonPrintView->click();
            QCOMPARE(previewed.size(), 1);
            QCOMPARE(answers.shown().size(), 0);
            Exec("DELETE FROM tab_pujckydetail WHERE PUJCENO>='2005-11-08 00:00:00'");
            view->PageControl->setCurrentIndex(2);
            QVERIFY(view->ADOQueryView[2]->isEmpty());
            view->ButtonPrintView->click();
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).text, QString("Přehled je prázdný..."));
            QCOMPARE(answers.shown().at(0).detail, QString("Není co tisknout..."));
        }();
        TFormView::SetPrintPreview({});
        return int(QDialog::Rejected);
    }});
    desk.window()->findChild<QToolButton *>(QStringLiteral("SpeedButtonView"))->click();
    QVERIFY(answered);
}

QTEST_MAIN(TestView)
#include "tst_view.moc"
