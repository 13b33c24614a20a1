#include "core/Grids.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

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
        QCOMPARE(b, QColor(Qt::white));
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
};

QTEST_MAIN(TestGrids)
#include "tst_grids.moc"
