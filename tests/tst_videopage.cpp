// The video page on a logged-in desk: its list and history, the count and exact sum, the
// hand-over of the current video, the row colours (the lend page's grid too), the filter
// panel with its pick lists, reset and label, and the title box. The free filter, the keys
// and the number box, as the customer page has them, are tested in tst_cataloguepages.
#include "catalogue/UVideoPage.h"
#include "core/Grids.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/RunGlobals.h"
#include "support/ModalAnswers.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/VideoDesk.h"
#include "support/VideoShop.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QStringList Column(BrowseQuery *query, const QString &field)
{
    QStringList texts;
    for (int row = 0; row < query->recordCount(); ++row)
        texts << query->displayText(row, query->fieldIndex(field));
    return texts;
}

// "lent", "overdue" or "-" for each row, as the grid colours its cells.
QStringList States(TRxDBGridEx *grid)
{
    const GridColors colours = CurrentGridColors();
    QStringList states;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        QFont font;
        QColor text = Qt::black;
        QColor background = Qt::white;
        if (grid->OnGetCellParams)
            grid->OnGetCellParams(grid, grid->model()->index(row, 1), false, font, text, background);
        states << (text == colours.delayed ? "overdue" : text == colours.lent ? "lent" : "-");
    }
    return states;
}

// A click on a box of the filter panel, where its caption is.
void Tick(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

// Chooses a name in a pick list of the filter panel as the clerk does: entering the list
// (which refills it), then the choice.
void Choose(QComboBox *box, const QString &name)
{
    box->setFocus();
    const int index = box->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

class TestVideoPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
        SetRunDate(VideoShopToday);
    }

    // The list with its columns, count and exact sum; the history following the current
    // video (a customer who is gone shows without a name); each new current video handed on.
    void listAndHistory_data() { AddEngineRows(); }
    void listAndHistory()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddLine({4, 1, 77, VideoShopToday.addDays(-30), false});
        VideoDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TVideoPage *page = desk.page();
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5}));
        QCOMPARE(page->StatusText(), QString(" Videa: 5"));
        QCOMPARE(page->SumText(), QString(" Celkem: 205,50 Kč"));
        QVERIFY(!page->ADOQueryVideo->sqlText().contains("WHERE"));

        QStringList titles;
        for (int c = 0; c < page->RxDBGridVideo->model()->columnCount(); ++c)
            titles << page->RxDBGridVideo->ColumnTitle(c);
        QCOMPARE(titles, QStringList({"Kód - video", "Titul", "Žánr", "Nosič", "Cena [Kč]", "Registrace", ">>"}));
        BrowseQuery *list = page->ADOQueryVideo;
        QCOMPARE(Column(list, "VIDEO").first(), QString("0000000000001"));
        QCOMPARE(Column(list, "ZAMERENI"), QStringList({"Komedie", "Drama", "Komedie", "-", "Drama"}));
        QCOMPARE(Column(list, "NOSIC"), QStringList({"DVD", "VHS", "DVD", "-", "VHS CZ"}));
        QCOMPARE(Column(list, "CENA").first(), QString("44,35"));
        QCOMPARE(Column(list, "REGISTRACE").at(1), QString("31.12.2026 23:59"));

        TRxDBGridEx *history = page->RxDBGridVideoCustomer;
        QStringList historyTitles;
        for (int c = 0; c < history->model()->columnCount(); ++c)
            if (!history->isColumnHidden(c))
                historyTitles << history->ColumnTitle(c);
        QCOMPARE(historyTitles, QStringList({"Kód - zákazník", "Jméno", "Adresa", "$", "Půjčeno", "Do:", "Vráceno"}));
        QStringList had = Column(page->ADOQueryVideoCustomer, "JMENO");
        had.sort();
        QCOMPARE(had, QStringList({"", "Novák"}));

        page->RxDBGridVideo->setFocus(); // the boxes show each current video
        QSignalSpy handed(page, &TVideoPage::CurrentVideoChanged);
        QVERIFY(desk.moveTo(2));
        QCOMPARE(Column(page->ADOQueryVideoCustomer, "JMENO"), QStringList({"Svoboda"}));
        QCOMPARE(handed.size(), 1);
        QCOMPARE(handed[0][0].toLongLong(), qint64(2));
        QCOMPARE(handed[0][1].toString(), QString("čarodějův učeň"));
        QCOMPARE(page->Int64EditVideoVideo->text(), QString("2"));
        QCOMPARE(page->ComboBoxVideoTitle->currentText(), QString("čarodějův učeň"));
        QVERIFY(desk.moveTo(4));
        QCOMPARE(page->ADOQueryVideoCustomer->recordCount(), 0);
    }

    // Lent and overdue rows from the cache of lent lines, in this page's list and in any
    // grid the lend page shows the list in; history lines still out; nothing while the
    // setting is off.
    void rowColours()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        AddVideoShop();
        VideoDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TVideoPage *page = desk.page();
        FormSetupVideo->CheckBoxColor->setChecked(true);
        const QStringList expected{"lent", "overdue", "-", "-", "-"};
        QCOMPARE(States(page->RxDBGridVideo), expected);
        TRxDBGridEx lendGrid;
        lendGrid.setModel(page->ADOQueryVideo);
        page->UseVideoColours(&lendGrid);
        QCOMPARE(States(&lendGrid), expected);
        QVERIFY(desk.moveTo(2));
        QCOMPARE(States(page->RxDBGridVideoCustomer), QStringList({"overdue"}));
        FormSetupVideo->CheckBoxColor->setChecked(false);
        QCOMPARE(States(page->RxDBGridVideo), QStringList(5, "-"));
        QCOMPARE(States(&lendGrid), QStringList(5, "-"));
    }

    // Each box of the panel through its controls, with the count, the sum and the blinking
    // label; a pick list keeps its choice when entered again; the reset leaves the overdue
    // box in force.
    void filterPanel_data() { AddEngineRows(); }
    void filterPanel()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        VideoDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TVideoPage *page = desk.page();
        desk.window()->findChild<QTimer *>("Timer")->stop();
        auto blinks = [&] {
            QList<bool> shown;
            for (int i = 0; i < 2; ++i) {
                desk.window()->TimerTimer();
                shown << !page->filterLabel()->isHidden();
            }
            return shown.contains(true);
        };
        QCOMPARE(page->DateTimePickerVideoRegistrationFirst->Date(), VideoShopToday);
        QVERIFY(!page->EditVideoTitle->isEnabled());
        QVERIFY(!page->ComboBoxVideoDirection->isEnabled());
        QVERIFY(!blinks());
        page->FilterPanel->Open();

        Tick(page->CheckBoxVideoTitle);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5})); // an empty title: every video
        page->EditVideoTitle->setFocus();
        TypeText(page->EditVideoTitle, "č");
        QCOMPARE(desk.listed(), QList<qint64>({1, 2}));
        QCOMPARE(page->SumText(), QString(" Celkem: 88,75 Kč"));
        QVERIFY(blinks());
        page->EditVideoTitle->clear();

        Tick(page->CheckBoxVideoDirection); // no genre chosen yet
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5}));
        Choose(page->ComboBoxVideoDirection, "Drama");
        QCOMPARE(desk.listed(), QList<qint64>({2, 5}));
        QCOMPARE(page->StatusText(), QString(" Videa: 2"));
        QCOMPARE(page->SumText(), QString(" Celkem: 87,88 Kč"));
        // Entering the list again refills it with the genres as they are now; the choice stays.
        AddDirection("Western");
        page->EditVideoTitle->setFocus();
        page->ComboBoxVideoDirection->setFocus();
        QVERIFY(page->ComboBoxVideoDirection->findText("Western") >= 0);
        QCOMPARE(page->ComboBoxVideoDirection->currentText(), QString("Drama"));
        Tick(page->CheckBoxVideoMedium);
        Choose(page->ComboBoxVideoMedium, "VHS CZ");
        QCOMPARE(desk.listed(), QList<qint64>({5}));

        Tick(page->CheckBoxVideoLater);
        QCOMPARE(desk.listed(), QList<qint64>({}));
        QCOMPARE(page->StatusText(), QString(" Videa: 0"));
        QCOMPARE(page->SumText(), QString(" Celkem: 0,00 Kč"));
        page->ButtonVideoReset->click();
        QVERIFY(!page->CheckBoxVideoDirection->isChecked());
        QVERIFY(!page->CheckBoxVideoTitle->isChecked());
        QVERIFY(page->CheckBoxVideoLater->isChecked());
        QCOMPARE(desk.listed(), QList<qint64>({2}));
        QVERIFY(blinks());
        Tick(page->CheckBoxVideoLater);
        Tick(page->CheckBoxVideoLend);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2}));
        Tick(page->CheckBoxVideoLend);

        // The range boxes start at 0 to 0: nothing; an emptied box drops its bound.
        Tick(page->CheckBoxVideoVideo);
        QCOMPARE(desk.listed(), QList<qint64>({}));
        page->Int64EditVideoVideoSecond->setFocus();
        page->Int64EditVideoVideoSecond->selectAll();
        QTest::keyClick(page->Int64EditVideoVideoSecond, Qt::Key_Backspace);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5}));
        page->Int64EditVideoVideoFirst->setFocus();
        page->Int64EditVideoVideoFirst->selectAll();
        QTest::keyClicks(page->Int64EditVideoVideoFirst, "4");
        QCOMPARE(desk.listed(), QList<qint64>({4, 5}));

        // The registration bounds through the pickers' own boxes: both start on the run date.
        page->ButtonVideoReset->click();
        Tick(page->CheckBoxVideoRegistration);
        QCOMPARE(desk.listed(), QList<qint64>({}));
        page->DateTimePickerVideoRegistrationFirst->CheckBox()->click();
        QCOMPARE(desk.listed(), QList<qint64>({1, 3, 4, 5}));
        page->DateTimePickerVideoRegistrationSecond->CheckBox()->click();
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5}));
        page->ButtonVideoReset->click();
        QCOMPARE(page->StatusText(), QString(" Videa: 5"));
        QVERIFY(!blinks());
    }

    // The title box completes in either letter case, finds the first title beginning so,
    // and an unknown title empties the number box; Backspace empties the title box.
    void titleBox_data() { AddEngineRows(); }
    void titleBox()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        VideoDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TVideoPage *page = desk.page();
        TInt64Edit *number = page->Int64EditVideoVideo;
        QVERIFY(desk.moveTo(3));
        TFindComboBox *title = page->ComboBoxVideoTitle;
        title->setFocus();
        QWidget *typing = QApplication::focusWidget();
        title->lineEdit()->selectAll();
        TypeText(typing, "Č");
        QStringList items;
        for (int i = 0; i < title->count(); ++i)
            items << title->itemText(i);
        QCOMPARE(items, QStringList({"Čapkova Matka", "čarodějův učeň"}));
        QCOMPARE(title->lineEdit()->selectedText(), QString("apkova Matka"));
        QCOMPARE(desk.current(), qint64(1));
        QCOMPARE(number->text(), QString("1"));
        TypeText(typing, "AR");
        QCOMPARE(title->currentText(), QString("čarodějův učeň"));
        QCOMPARE(desk.current(), qint64(2));
        QTest::keyClick(typing, Qt::Key_Backspace);
        QCOMPARE(title->currentText(), QString());
        QCOMPARE(desk.current(), qint64(2));
        TypeText(typing, "x");
        QCOMPARE(title->currentText(), QString());
        QCOMPARE(number->text(), QString());
        ModalAnswers answers;
        QTest::keyClick(typing, Qt::Key_Return);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].text, QString("Hledaný titul videa nenalezen..."));
        QCOMPARE(answers.shown()[0].detail, QString("Hledaný titul: []"));
    }

    // Enter in the title box on a video without a title: nothing is found in the box, so
    // the video is not edited from it.
    void emptyTitleNotFound_data() { AddEngineRows(); }
    void emptyTitleNotFound()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddVideo(6, QString());
        VideoDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TVideoPage *page = desk.page();
        page->Int64EditVideoVideo->setFocus();
        page->Int64EditVideoVideo->selectAll();
        QTest::keyClicks(page->Int64EditVideoVideo, "6");
        QCOMPARE(desk.current(), qint64(6));
        page->ComboBoxVideoTitle->setFocus();
        ModalAnswers answers;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].text, QString("Hledaný titul videa nenalezen..."));
        QCOMPARE(answers.shown()[0].detail, QString("Hledaný titul: []"));
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestVideoPage)
#include "tst_videopage.moc"
