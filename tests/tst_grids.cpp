#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/Grids.h"
#include "core/database/Errors.h"
#include "core/database/MemoryTable.h"
#include "core/controls/RxDBGridEx.h"
#include "support/ModalAnswers.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A press or a click on a column title of a shown grid.
void clickTitle(TRxDBGridEx &grid, int column)
{
    QHeaderView *header = grid.horizontalHeader();
    const QPoint p(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                   header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, p);
}

QStringList columnValues(const DataSet &ds, int field)
{
    QStringList values;
    for (int r = 0; r < ds.recordCount(); ++r)
        values << ds.valueAt(r, field).toString();
    return values;
}

void insertCustomers(const QList<QPair<qint64, QString>> &rows)
{
    for (const auto &[number, name] : rows) {
        SetCommand("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,PUJCKY) VALUES (:ZAKAZNIK,:JMENO,0)");
        SetCommandParam("ZAKAZNIK", number);
        SetCommandParam("JMENO", name);
        ExecCommand();
    }
}

const QString CustomerBase = "SELECT tab_zakaznik.ZAKAZNIK,tab_zakaznik.JMENO,tab_zakaznik.TELEFON\n"
                             "FROM tab_zakaznik\n";

void showGrid(TRxDBGridEx &grid)
{
    grid.resize(500, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

// The basket of the tests: a key, a title, a grey computed column, a Boolean.
void fillBasket(MemoryTable &table)
{
    table.addField("VIDEO", FieldKind::Int64);
    table.addField("TITUL", FieldKind::Text);
    table.addField("PUJCOVNE_CELKEM", FieldKind::Money);
    table.addField("ZDARMA", FieldKind::Boolean);
    table.open();
    table.append({{"VIDEO", 1}, {"TITUL", "Hora"}, {"ZDARMA", true}});
    table.append({{"VIDEO", 2}, {"TITUL", "Chata"}, {"ZDARMA", false}});
    table.append({{"VIDEO", 3}, {"TITUL", "cesta"}});
}

// A grid on the test basket.
struct BasketGrid {
    MemoryTable table;
    TRxDBGridEx grid;
    BasketGrid()
    {
        fillBasket(table);
        grid.setModel(&table);
    }
};

} // namespace

class TestGrids : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetGridColorsProvider(nullptr); }

    // ---- query grids: the ORDER BY part -----------------------------------------

    void querySortCycle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("next");
        QTest::addColumn<int>("markerBefore");
        const QString base = "SELECT * FROM tab_zakaznik\nWHERE JMENO<>''\n";
        const QString name = "tab_zakaznik.JMENO";
        QTest::newRow("unsorted to ascending")
            << base << name << base + "ORDER BY " + name << int(SortMarker::None);
        QTest::newRow("ascending to descending")
            << base + "ORDER BY " + name << name << base + "ORDER BY " + name + " DESC"
            << int(SortMarker::Down);
        QTest::newRow("descending to unsorted")
            << base + "ORDER BY " + name + " DESC" << name << base << int(SortMarker::Up);
        QTest::newRow("other column to ascending")
            << base + "ORDER BY tab_zakaznik.ZAKAZNIK\n" << name << base + "ORDER BY " + name
            << int(SortMarker::None);
        QTest::newRow("ascending by number to descending")
            << base + "ORDER BY tab_zakaznik.ZAKAZNIK\n" << "tab_zakaznik.ZAKAZNIK"
            << base + "ORDER BY tab_zakaznik.ZAKAZNIK DESC" << int(SortMarker::Down);
        QTest::newRow("collated key")
            << base + "ORDER BY tab_zakaznik.JMENO COLLATE CZECH" << "tab_zakaznik.JMENO COLLATE CZECH"
            << base + "ORDER BY tab_zakaznik.JMENO COLLATE CZECH DESC" << int(SortMarker::Down);
        // A key that begins another key's name is not that key.
        QTest::newRow("prefix of another key, ascending")
            << base + "ORDER BY tab_video.TITUL2" << "tab_video.TITUL"
            << base + "ORDER BY tab_video.TITUL" << int(SortMarker::None);
        QTest::newRow("prefix of another key, descending")
            << base + "ORDER BY tab_video.TITUL2 DESC" << "tab_video.TITUL"
            << base + "ORDER BY tab_video.TITUL" << int(SortMarker::None);
        QTest::newRow("longer key than the sorted one")
            << base + "ORDER BY tab_video.TITUL DESC" << "tab_video.TITUL2"
            << base + "ORDER BY tab_video.TITUL2" << int(SortMarker::None);
        QTest::newRow("uncollated sort is another column")
            << base + "ORDER BY tab_video.TITUL" << "tab_video.TITUL COLLATE CZECH"
            << base + "ORDER BY tab_video.TITUL COLLATE CZECH" << int(SortMarker::None);
        QTest::newRow("text without final line break")
            << "SELECT * FROM tab_video" << "tab_video.VIDEO"
            << "SELECT * FROM tab_video\nORDER BY tab_video.VIDEO" << int(SortMarker::None);
        // A filter's WHERE part is left as it is.
        QTest::newRow("key in the WHERE part only")
            << "SELECT * FROM tab_video\nWHERE tab_video.TITUL DESC\n" << "tab_video.TITUL"
            << "SELECT * FROM tab_video\nWHERE tab_video.TITUL DESC\nORDER BY tab_video.TITUL"
            << int(SortMarker::None);
    }
    void querySortCycle()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, next);
        QFETCH(int, markerBefore);
        QCOMPARE(int(QuerySortMarker(text, key)), markerBefore);
        QCOMPARE(NextQuerySortText(text, key), next);
    }

    void wholeToken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::newRow("at end") << "ORDER BY a.X" << 9;
        QTest::newRow("before comma") << "ORDER BY a.X,a.Y" << 9;
        QTest::newRow("before line break") << "ORDER BY a.X\n" << 9;
        QTest::newRow("longer name") << "ORDER BY a.XY" << -1;
        QTest::newRow("longer owner") << "ORDER BY ba.X" << -1;
        QTest::newRow("second occurrence") << "a.XY, a.X DESC" << 6;
    }
    void wholeToken()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QCOMPARE(FindWholeToken(text, "a.X"), position);
    }

    // ---- baskets: the sort text --------------------------------------------------

    void basketSort_data()
    {
        QTest::addColumn<QString>("sortText");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("next");
        QTest::addColumn<int>("marker");
        QTest::newRow("unsorted") << "" << "TITUL" << "_TITUL" << int(SortMarker::None);
        QTest::newRow("ascending") << "_TITUL" << "TITUL" << "TITUL_" << int(SortMarker::Up);
        QTest::newRow("descending") << "TITUL_" << "TITUL" << "_TITUL" << int(SortMarker::Down);
        QTest::newRow("other field") << "_VIDEO" << "TITUL" << "_TITUL" << int(SortMarker::None);
        QTest::newRow("field inside another name")
            << "_PUJCOVNE_CELKEM" << "PUJCOVNE" << "_PUJCOVNE" << int(SortMarker::None);
        QTest::newRow("longer field, descending")
            << "PUJCOVNE_" << "PUJCOVNE_CELKEM" << "_PUJCOVNE_CELKEM" << int(SortMarker::None);
    }
    void basketSort()
    {
        QFETCH(QString, sortText);
        QFETCH(QString, field);
        QFETCH(QString, next);
        QFETCH(int, marker);
        QCOMPARE(int(BasketSortMarker(sortText, field)), marker);
        QCOMPARE(NextBasketSortText(sortText, field), next);
        QCOMPARE(BasketSortField(next), field);
        QCOMPARE(BasketSortDescending(next), !next.startsWith('_'));
    }

    void basketMarkerKeepsProposal()
    {
        QCOMPARE(BasketSortMarker("_VIDEO", "TITUL", SortMarker::Down), SortMarker::Down);
    }

    // ---- row colours ---------------------------------------------------------------

    void cellColors_data()
    {
        QTest::addColumn<bool>("overdue");
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<QColor>("font");
        QTest::addColumn<QColor>("background");
        const QColor lent(10, 20, 30), delayed(200, 0, 0), grid(Qt::yellow);
        const QColor text = QApplication::palette().color(QPalette::WindowText);
        QTest::newRow("lent") << false << false << lent << grid;
        QTest::newRow("overdue") << true << false << delayed << grid;
        QTest::newRow("lent, selected row") << false << true << text << lent;
        QTest::newRow("overdue, selected row") << true << true << text << delayed;
    }
    void cellColors()
    {
        QFETCH(bool, overdue);
        QFETCH(bool, highlighted);
        QFETCH(QColor, font);
        QFETCH(QColor, background);
        SetGridColorsProvider([] { return GridColors{QColor(10, 20, 30), QColor(200, 0, 0)}; });
        QColor f(Qt::black), b(Qt::yellow);
        GridCellColor(overdue, highlighted, f, b);
        QCOMPARE(f, font);
        QCOMPARE(b, background);
    }

    void defaultColors()
    {
        QColor f, b(Qt::yellow);
        GridCellColor(false, false, f, b);
        QCOMPARE(f, QColor(128, 128, 128));
        GridCellColor(true, true, f, b);
        QCOMPARE(b, QColor(255, 0, 0));
    }

    // ---- the check-box square ------------------------------------------------------

    void checkBoxSquare_data()
    {
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<QRect>("square");
        // Shrunk: left 2, right 100 (exclusive), height 16; (2 + 100 - 16) / 2 = 43.
        QTest::newRow("wide cell") << QRect(1, 0, 100, 18) << QRect(43, 1, 16, 16);
        // Shrunk: left 1, right 16, height 15; (1 + 16 - 15) / 2 = 1.
        QTest::newRow("odd sum") << QRect(0, 10, 17, 17) << QRect(1, 11, 15, 15);
        QTest::newRow("no height") << QRect(0, 0, 40, 2) << QRect();
    }
    void checkBoxSquare()
    {
        QFETCH(QRect, cell);
        QFETCH(QRect, square);
        QCOMPARE(CheckBoxSquare(cell), square);
    }

    // ---- dialog routines -------------------------------------------------------------

    void toggleDefaultButton()
    {
        QWidget box;
        auto *edit = new QLineEdit(&box);
        auto *first = new QPushButton("a", &box);
        auto *second = new QPushButton("b", &box);
        Q_UNUSED(edit);
        ToggleDefaultButton(&box);
        QVERIFY(first->isDefault());
        QVERIFY(!second->isDefault());
        ToggleDefaultButton(&box);
        QVERIFY(!first->isDefault());
        ToggleDefaultButton(nullptr);
    }

    void activeControlSelectAll()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit("12345", &window);
        auto *combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setEditText("Čapek");
        auto *other = new QPushButton("x", &window);
        layout->addWidget(edit);
        layout->addWidget(combo);
        layout->addWidget(other);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        edit->setFocus();
        edit->deselect();
        ActiveControlSelectAll(nullptr, &window);
        QCOMPARE(edit->selectedText(), QString("12345"));

        combo->setFocus();
        combo->lineEdit()->deselect();
        ActiveControlSelectAll(edit, &window);
        QCOMPARE(combo->lineEdit()->selectedText(), QString("Čapek"));

        // A focused button: the given control takes the focus with its text selected.
        other->setFocus();
        edit->deselect();
        ActiveControlSelectAll(edit, &window);
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), QString("12345"));
    }

    void querySortThroughGrid_data();
    void querySortThroughGrid();
    void refusedSortRestoresList_data();
    void refusedSortRestoresList();
    void basketSortThroughGrid();
    void checkBoxPress();
    void checkBoxDrawing();
    void titleHeight();
    void titleAlignmentAndWrap_data();
    void titleAlignmentAndWrap();
    void cellColorsInGrid();
    void popupColumns();
    void popupOptions_data();
    void popupOptions();
    void mouseInData();
    void followsAfterThrowingSlot();
    void popupFromHeaders();
};


void TestGrids::querySortThroughGrid_data()
{
    AddEngineRows();
}

// Three clicks on the name title: ascending, descending, unsorted, each time on the
// same customer; a filter set after sorting keeps the sort and the reverse.
void TestGrids::querySortThroughGrid()
{
    OPEN_TEST_DATABASE(db);
    insertCustomers({{1, "Novák"}, {2, "Chalupa"}, {3, "Čapek"}, {4, "Hrubý"}, {5, "Cyril"}});

    BrowseQuery query;
    query.setSqlText(CustomerBase);
    query.setOrigin("ZAKAZNIK", "tab_zakaznik");
    query.setOrigin("JMENO", "tab_zakaznik");
    query.open();
    TRxDBGridEx grid;
    grid.setModel(&query);
    BindQueryGridSort(&grid);
    showGrid(grid);
    auto *title = static_cast<TRxDBGridTitle *>(grid.horizontalHeader());
    QVERIFY(query.locate("ZAKAZNIK", 4));

    const auto onHruby = [&] {
        QCOMPARE(query.value("ZAKAZNIK").toLongLong(), 4);
        QCOMPARE(grid.currentIndex().row(), query.currentRow());
    };
    clickTitle(grid, 1);
    QCOMPARE(columnValues(query, 1), QStringList({"Cyril", "Čapek", "Hrubý", "Chalupa", "Novák"}));
    QCOMPARE(title->Marker(1), SortMarker::Down);
    QCOMPARE(title->Marker(0), SortMarker::None);
    onHruby();
    clickTitle(grid, 1);
    QCOMPARE(columnValues(query, 1), QStringList({"Novák", "Chalupa", "Hrubý", "Čapek", "Cyril"}));
    QCOMPARE(title->Marker(1), SortMarker::Up);
    onHruby();

    SetQueryWhere(query, "WHERE tab_zakaznik.ZAKAZNIK>1\n");
    QCOMPARE(columnValues(query, 1), QStringList({"Chalupa", "Hrubý", "Čapek", "Cyril"}));
    clickTitle(grid, 1);
    QCOMPARE(query.sqlText(), CustomerBase + "WHERE tab_zakaznik.ZAKAZNIK>1\n");
    QCOMPARE(title->Marker(1), SortMarker::None);
    QCOMPARE(query.recordCount(), 4);
    onHruby();

    // A list sorted by number in its base text turns descending at once.
    SetQueryWhere(query, "");
    query.close();
    query.setSqlText(CustomerBase + "ORDER BY tab_zakaznik.ZAKAZNIK\n");
    query.open();
    QCOMPARE(title->Marker(0), SortMarker::Down);
    clickTitle(grid, 0);
    QCOMPARE(columnValues(query, 0), QStringList({"5", "4", "3", "2", "1"}));
    QCOMPARE(title->Marker(0), SortMarker::Up);
}

void TestGrids::refusedSortRestoresList_data()
{
    AddEngineRows();
}

// A computed column has no column of its name in its origin table: the engine
// refuses the sort, the list comes back open on its text and row, the error shows.
void TestGrids::refusedSortRestoresList()
{
    OPEN_TEST_DATABASE(db);
    insertCustomers({{1, "Novák"}, {2, "Adam"}});

    const QString text = "SELECT tab_zakaznik.ZAKAZNIK,tab_zakaznik.JMENO,1 AS POCET\n"
                         "FROM tab_zakaznik\nORDER BY tab_zakaznik.JMENO DESC\n";
    BrowseQuery query;
    query.setSqlText(text);
    query.setOrigin("POCET", "tab_zakaznik");
    query.open();
    TRxDBGridEx grid;
    grid.setModel(&query);
    BindQueryGridSort(&grid);
    showGrid(grid);
    QVERIFY(query.locate("ZAKAZNIK", 2));

    ModalAnswers answers({Accept()});
    clickTitle(grid, 2);
    QCOMPARE(answers.shown().size(), 1);
    QCOMPARE(answers.shown().at(0).className, QString("TFormWarning"));
    QVERIFY(query.isOpen());
    QCOMPARE(query.sqlText(), text);
    QCOMPARE(query.value("ZAKAZNIK").toLongLong(), 2);
    QCOMPARE(grid.currentIndex().row(), query.currentRow());

    // Direct callers get the error itself, after the list is back.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, RxDBGridTitleBtnClick(&grid, 2));
    QVERIFY(query.isOpen());
    QCOMPARE(query.sqlText(), text);
}

// The basket: a title in the normal colour alternates ascending and descending, with
// the up marker for ascending; a grey title does nothing.
void TestGrids::basketSortThroughGrid()
{
    BasketGrid fixture;
    MemoryTable &table = fixture.table;
    TRxDBGridEx &grid = fixture.grid;
    BindBasketGridSort(&grid);
    grid.SetColumnTitleColor(2, Qt::gray);
    showGrid(grid);
    auto *title = static_cast<TRxDBGridTitle *>(grid.horizontalHeader());
    QVERIFY(table.locate("TITUL", "Hora"));

    clickTitle(grid, 1);
    QCOMPARE(table.sortText(), QString("_TITUL"));
    QCOMPARE(columnValues(table, 1), QStringList({"cesta", "Hora", "Chata"}));
    QCOMPARE(title->Marker(1), SortMarker::Up);
    QCOMPARE(table.value("TITUL").toString(), QString("Hora"));
    QCOMPARE(grid.currentIndex().row(), table.currentRow());
    clickTitle(grid, 1);
    QCOMPARE(table.sortText(), QString("TITUL_"));
    QCOMPARE(columnValues(table, 1), QStringList({"Chata", "Hora", "cesta"}));
    QCOMPARE(title->Marker(1), SortMarker::Down);

    clickTitle(grid, 2);
    QCOMPARE(table.sortText(), QString("TITUL_"));
    QCOMPARE(title->Marker(2), SortMarker::None);
    clickTitle(grid, 0);
    QCOMPARE(table.sortText(), QString("_VIDEO"));
    QCOMPARE(title->Marker(1), SortMarker::None);
}

void TestGrids::checkBoxPress()
{
    BasketGrid fixture;
    MemoryTable &table = fixture.table;
    TRxDBGridEx &grid = fixture.grid;
    grid.setColumnWidth(3, 80);
    QStringList clicked;
    grid.OnClickCheckBox = [&](TRxDBGridEx *, const QString &field) { clicked << field; };
    showGrid(grid);

    const QRect cell = grid.visualRect(table.index(1, 3));
    const QRect square = CheckBoxSquare(cell);
    QVERIFY(square.width() > 4);
    const QPoint inside = square.center();
    const QPoint beside(square.left() - 3, square.center().y());
    const QPoint margin(square.center().x(), cell.top());

    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, beside);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, beside);
    QVERIFY(clicked.isEmpty());
    QCOMPARE(table.currentRow(), 1); // the press still moved the row
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, margin);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, margin);
    QVERIFY(clicked.isEmpty());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, inside);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, inside);
    QCOMPARE(clicked, QStringList({"ZDARMA"}));

    // The title of the Boolean column and a text cell are no check boxes.
    clicked.clear();
    clickTitle(grid, 3);
    const QPoint text = grid.visualRect(table.index(0, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, text);
    QVERIFY(clicked.isEmpty());

    QString field;
    QVERIFY(GridCheckBoxHit(&grid, inside.x(), inside.y(), &field));
    QCOMPARE(field, QString("ZDARMA"));
    QVERIFY(!GridCheckBoxHit(&grid, margin.x(), margin.y()));
    QVERIFY(!GridCheckBoxHit(&grid, text.x(), text.y()));
    QVERIFY(!GridCheckBoxHit(&grid, inside.x(), grid.viewport()->height() - 2));
}

// True and False draw different boxes; Null leaves the cell's square empty.
void TestGrids::checkBoxDrawing()
{
    BasketGrid fixture;
    MemoryTable &table = fixture.table;
    TRxDBGridEx &grid = fixture.grid;
    grid.setColumnWidth(3, 80);
    grid.SetRowSelect(true);
    table.last();
    showGrid(grid);
    const QImage image = grid.viewport()->grab().toImage();
    const auto squareImage = [&](int row) {
        return image.copy(CheckBoxSquare(grid.visualRect(table.index(row, 3))));
    };
    const auto colours = [](const QImage &img) {
        QSet<QRgb> set;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                set.insert(img.pixel(x, y));
        return set.size();
    };
    QVERIFY(colours(squareImage(0)) > 1);
    QVERIFY(colours(squareImage(1)) > 1);
    QVERIFY(squareImage(0) != squareImage(1));
    // The null row is the selected one: no box and, with row selection, no focus frame.
    QCOMPARE(colours(squareImage(2)), 1);
}

void TestGrids::titleHeight()
{
    TRxDBGridEx grid;
    QCOMPARE(grid.TitleHeight(), 17);
    QCOMPARE(grid.horizontalHeader()->height(), 17);
    grid.SetTitleHeight(32);
    QCOMPARE(grid.horizontalHeader()->height(), 32);
    grid.SetShowTitles(false);
    grid.SetTitleHeight(40);
    QCOMPARE(grid.TitleHeight(), 40);
    QCOMPARE(grid.horizontalHeader()->height(), 32);
}

// A title of the users grid, 49 pixels wide: left or centred, on one line in a title row
// of 17 pixels, on two in one of 32. The ink is what the title adds to an empty title.
void TestGrids::titleAlignmentAndWrap_data()
{
    QTest::addColumn<bool>("centred");
    QTest::addColumn<int>("height");
    QTest::newRow("left, one line") << false << 17;
    QTest::newRow("left, two lines") << false << 32;
    QTest::newRow("centred, one line") << true << 17;
    QTest::newRow("centred, two lines") << true << 32;
}

void TestGrids::titleAlignmentAndWrap()
{
    QFETCH(bool, centred);
    QFETCH(int, height);
    QStandardItemModel model(1, 1);
    TRxDBGridEx grid;
    grid.setModel(&model);
    grid.SetTitleHeight(height);
    grid.setColumnWidth(0, 49);
    QCOMPARE(grid.ColumnTitleAlignment(0), Qt::AlignLeft);
    if (centred)
        grid.SetColumnTitleAlignment(0, Qt::AlignHCenter);
    showGrid(grid);
    QHeaderView *header = grid.horizontalHeader();
    const QRect section(header->sectionViewportPosition(0), 0, header->sectionSize(0), header->height());
    grid.SetColumnTitle(0, QString());
    const QImage empty = header->viewport()->grab().toImage().copy(section);
    grid.SetColumnTitle(0, QStringLiteral("Zákazník Editace"));
    const QImage titled = header->viewport()->grab().toImage().copy(section);
    QRect ink;
    for (int y = 0; y < titled.height(); ++y)
        for (int x = 0; x < titled.width(); ++x)
            if (titled.pixel(x, y) != empty.pixel(x, y))
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    const int lineHeight = QFontMetrics(header->font()).height();
    if (height == 32) {
        QVERIFY2(ink.height() > lineHeight, qPrintable(QString::number(ink.height())));
        QVERIFY(ink.right() < section.width() - 3); // wrapped, not cut at the edge
    } else {
        QVERIFY2(ink.height() <= lineHeight, qPrintable(QString::number(ink.height())));
    }
    const int leftMargin = ink.left();
    const int rightMargin = section.width() - 1 - ink.right();
    if (centred)
        QVERIFY2(qAbs(leftMargin - rightMargin) <= 2, qPrintable(QString("%1 %2").arg(leftMargin).arg(rightMargin)));
    else
        QVERIFY2(leftMargin <= 4, qPrintable(QString::number(leftMargin)));
}

// Lent and overdue colours through the grid's cell hook: a coloured row that is
// selected shows the state colour as its background; other rows stay as they were.
void TestGrids::cellColorsInGrid()
{
    SetGridColorsProvider([] { return GridColors{QColor(0, 200, 0), QColor(200, 0, 0)}; });
    BasketGrid fixture;
    MemoryTable &table = fixture.table;
    TRxDBGridEx &grid = fixture.grid;
    grid.SetRowSelect(true);
    grid.OnGetCellParams = [](TRxDBGridEx *, const QModelIndex &index, bool highlight, QFont &,
                              QColor &font, QColor &background) {
        if (index.row() < 2)
            GridCellColor(index.row() == 1, highlight, font, background);
    };
    showGrid(grid);
    table.first();
    const auto pixel = [&](int row) {
        const QRect r = grid.visualRect(table.index(row, 2));
        return QColor(grid.viewport()->grab().toImage().pixel(r.right() - 3, r.center().y()));
    };
    QCOMPARE(pixel(0), QColor(0, 200, 0));
    QCOMPARE(pixel(2), grid.palette().color(QPalette::Base));
    table.next();
    QCOMPARE(pixel(1), QColor(200, 0, 0));
}

// Hiding a column from the popup menu keeps its width in its field's tag; showing it
// gives that width back, also in a second grid on the same data set.
void TestGrids::popupColumns()
{
    MemoryTable table;
    fillBasket(table);
    table.setFieldTag("PUJCOVNE_CELKEM", 60);
    TRxDBGridEx grid;
    grid.setModel(&table);
    grid.setColumnWidth(1, 120);
    grid.setColumnWidth(2, 0);
    QMenu menu;
    BuildPopupMenuRxDBGrid(&menu);
    grid.SetPopupMenu(&menu);
    auto *columns = menu.findChild<QMenu *>("PopupItemColumns");
    QVERIFY(columns);
    QCOMPARE(columns->title(), QString("Zobrazit sloupce"));

    PopupMenuPopup(&menu, &grid);
    QCOMPARE(columns->actions().size(), 4);
    QCOMPARE(columns->actions().at(1)->text(), QString("TITUL"));
    QVERIFY(columns->actions().at(1)->isChecked());
    QVERIFY(!columns->actions().at(2)->isChecked());
    columns->actions().at(2)->trigger();
    QCOMPARE(grid.columnWidth(2), 60);
    columns->actions().at(1)->trigger();
    QCOMPARE(grid.columnWidth(1), 0);
    QCOMPARE(table.fieldTag(1), 120);

    TRxDBGridEx second;
    second.setModel(&table);
    second.setColumnWidth(1, 0);
    PopupMenuPopup(&menu, &second);
    QVERIFY(!columns->actions().at(1)->isChecked());
    columns->actions().at(1)->trigger();
    QCOMPARE(second.columnWidth(1), 120);
    QCOMPARE(grid.columnWidth(1), 0);

    // A field without a column of its own has no item.
    grid.setColumnHidden(0, true);
    PopupMenuPopup(&menu, &grid);
    QCOMPARE(columns->actions().size(), 3);
    QCOMPARE(columns->actions().at(0)->text(), QString("TITUL"));
    QVERIFY(!columns->actions().at(0)->isChecked());
    columns->actions().at(0)->trigger();
    QCOMPARE(grid.columnWidth(1), 120);
}

void TestGrids::popupOptions_data()
{
    QTest::addColumn<bool>("madeByHand");
    QTest::newRow("built") << false;
    QTest::newRow("items made by the main window") << true;
}

// Each option item inverts its option and shows it checked; a menu whose items the
// main window made itself (by name, without handlers) works the same.
void TestGrids::popupOptions()
{
    QFETCH(bool, madeByHand);
    BasketGrid fixture;
    TRxDBGridEx &grid = fixture.grid;
    QMenu menu;
    if (madeByHand) {
        menu.addMenu("Zobrazit sloupce")->setObjectName("PopupItemColumns");
        menu.addSeparator()->setObjectName("PopupItemSpaceOne");
        for (const char *name : {"PopupItemRowSelect", "PopupItemRowLines", "PopupItemColumnLines",
                                 "PopupItemMultiSelect"})
            menu.addAction(name)->setObjectName(name);
    } else {
        BuildPopupMenuRxDBGrid(&menu);
    }
    grid.SetPopupMenu(&menu);
    showGrid(grid);

    // The grid's own context menu fills the menu for it.
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), grid.viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(grid.viewport(), &event);
    QCOMPARE(PopupMenuGrid(&menu), &grid);
    QTRY_VERIFY(menu.isVisible());
    menu.close();

    const QList<std::pair<const char *, std::function<bool()>>> options = {
        {"PopupItemRowSelect", [&] { return grid.RowSelect(); }},
        {"PopupItemRowLines", [&] { return grid.RowLines(); }},
        {"PopupItemColumnLines", [&] { return grid.ColumnLines(); }},
        {"PopupItemMultiSelect", [&] { return grid.MultiSelect(); }},
    };
    for (const auto &[name, state] : options) {
        auto *item = menu.findChild<QAction *>(name);
        QVERIFY2(item, name);
        const bool before = state();
        PopupMenuPopup(&menu, &grid);
        QCOMPARE(item->isChecked(), before);
        item->trigger();
        QCOMPARE(state(), !before);
        PopupMenuPopup(&menu, &grid);
        QCOMPARE(item->isChecked(), !before);
    }
    QVERIFY(menu.findChild<QAction *>("PopupItemSpaceOne")->isSeparator());
}

// Title row and indicator column are no data; the empty area below the last row is.
void TestGrids::mouseInData()
{
    BasketGrid fixture;
    MemoryTable &table = fixture.table;
    TRxDBGridEx &grid = fixture.grid;
    showGrid(grid);
    QSignalSpy dbl(&grid, &TRxDBGridEx::DblClick);
    const QPoint cell = grid.visualRect(table.index(0, 1)).center();
    const QPoint below(cell.x(), grid.viewport()->height() - 5);
    const auto global = [&](QWidget *w, QPoint p) { return w->mapToGlobal(p); };
    QVERIFY(GridPointInData(&grid, global(grid.viewport(), cell)));
    QVERIFY(GridPointInData(&grid, global(grid.viewport(), below)));
    QVERIFY(!GridPointInData(&grid, global(grid.horizontalHeader(), QPoint(30, 5))));
    QVERIFY(!GridPointInData(&grid, global(grid.verticalHeader(), QPoint(3, 5))));

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(dbl.count(), 1);
    QCursor::setPos(global(grid.viewport(), below));
    QVERIFY(GridMouseInData(&grid));
    QCursor::setPos(global(grid.horizontalHeader(), QPoint(30, 5)));
    QVERIFY(!GridMouseInData(&grid));
}

// A slot on the data set's row change that throws does not stop the grid following
// the data set, nor the data set following the grid.
void TestGrids::followsAfterThrowingSlot()
{
    BasketGrid fixture;
    MemoryTable &table = fixture.table;
    TRxDBGridEx &grid = fixture.grid;
    bool fail = true;
    connect(&table, &DataSet::currentRowChanged, &grid, [&] {
        if (std::exchange(fail, false))
            throw EDatabaseError("refused");
    });
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, grid.setCurrentIndex(table.index(1, 1)));
    QCOMPARE(table.currentRow(), 1);
    table.moveTo(2);
    QCOMPARE(grid.currentIndex().row(), 2);
    grid.setCurrentIndex(table.index(0, 1));
    QCOMPARE(table.currentRow(), 0);

    fail = true;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.moveTo(1));
    grid.setCurrentIndex(table.index(2, 1));
    QCOMPARE(table.currentRow(), 2);
    table.moveTo(0);
    QCOMPARE(grid.currentIndex().row(), 0);
}

// A right-click on the title row or the indicator column opens the grid's popup menu
// as one on the data does.
void TestGrids::popupFromHeaders()
{
    BasketGrid fixture;
    TRxDBGridEx &grid = fixture.grid;
    QMenu menu;
    BuildPopupMenuRxDBGrid(&menu);
    grid.SetPopupMenu(&menu);
    showGrid(grid);
    TRxDBGridEx other; // the menu was last filled for another grid
    for (QWidget *area : {grid.horizontalHeader()->viewport(), grid.verticalHeader()->viewport(),
                          grid.viewport()}) {
        PopupMenuPopup(&menu, &other);
        const QPoint pos(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, area->mapToGlobal(pos));
        QApplication::sendEvent(area, &event);
        QCOMPARE(PopupMenuGrid(&menu), &grid);
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(menu.pos(), area->mapToGlobal(pos));
        menu.close();
    }
}

QTEST_MAIN(TestGrids)
#include "tst_grids.moc"
