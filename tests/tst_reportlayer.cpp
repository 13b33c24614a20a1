#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/MemoryTable.h"
#include "reports/Report.h"
#include "reports/ReportPreview.h"
#include "support/PdfOutput.h"
#include "support/TestDatabase.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Nbsp = QStringLiteral("\u00a0");

QStringList Texts(const ReportPage &page)
{
    QStringList texts;
    for (const PageText &t : PageTextsInReadingOrder(page))
        texts << t.text;
    return texts;
}

std::optional<PageText> FindText(const ReportPage &page, const QString &text)
{
    for (const PageText &t : PageTextsInReadingOrder(page))
        if (t.text == text)
            return t;
    return std::nullopt;
}

QString Number(qint64 n)
{
    return QStringLiteral("%1").arg(n, 13, 10, QChar(u'0'));
}

// Videos as a page's list holds them: number, title, price, registration.
std::unique_ptr<MemoryTable> Videos(const QList<Money> &prices)
{
    auto table = std::make_unique<MemoryTable>();
    table->addField(QStringLiteral("VIDEO"), FieldKind::Int64);
    table->addField(QStringLiteral("TITUL"), FieldKind::Text);
    table->addField(QStringLiteral("CENA"), FieldKind::Money);
    table->addField(QStringLiteral("REGISTRACE"), FieldKind::DateTime);
    table->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    table->setDisplayFormat(QStringLiteral("CENA"), QStringLiteral(",0.00"));
    table->open();
    for (int i = 0; i < prices.size(); ++i)
        table->append({{QStringLiteral("VIDEO"), i + 1},
                       {QStringLiteral("TITUL"), QStringLiteral("Titul č. %1").arg(i + 1)},
                       {QStringLiteral("CENA"), QVariant::fromValue(prices.at(i))},
                       {QStringLiteral("REGISTRACE"), QDateTime(QDate(2024, 3, 1), QTime(9, 5))}});
    table->first();
    return table;
}

std::unique_ptr<MemoryTable> VideosCosting(int rows, Money price)
{
    return Videos(QList<Money>(rows, price));
}

// A list as the program prints them: a head on every page, a line per row, a count and a
// sum at the end.
void ListLayout(Report &report, DataSet *data)
{
    report.title = QStringLiteral(" Video");
    report.dataSet = data;
    ReportBand *head = report.addBand(BandType::ColumnHeader, 64);
    auto *page = head->add<ReportSysData>(SysData::PageNumber, 0, 8);
    page->prefix = QStringLiteral("Strana: ");
    head->add<ReportSysData>(SysData::DateTime, 128, 8);
    auto *title = head->add<ReportSysData>(SysData::ReportTitle, 0, 8);
    title->font = ReportFont(16, true);
    title->setCentredOver(0, 718);
    head->add<ReportLabel>(QStringLiteral("Kód"), 0, 40)->font = ReportFont(8);
    head->add<ReportLabel>(QStringLiteral("Titul"), 82, 40)->font = ReportFont(8);
    head->add<ReportLabel>(QStringLiteral("Cena [Kč]"), 660, 40)->font = ReportFont(8);
    head->add<ReportShape>(ShapeKind::HorizontalLine, 0, 60, 76);

    ReportBand *detail = report.addBand(BandType::Detail, 16);
    detail->add<ReportDBText>(data, QStringLiteral("VIDEO"), 0, 0, 76)->font = ReportFont(8);
    detail->add<ReportDBText>(data, QStringLiteral("TITUL"), 82, 0, 270)->font = ReportFont(8);
    auto *price = detail->add<ReportDBText>(data, QStringLiteral("CENA"), 660, 0);
    price->font = ReportFont(8);
    price->setRightEdge(718);

    ReportBand *summary = report.addBand(BandType::Summary, 32);
    summary->add<ReportLabel>(QStringLiteral("Počet položek:"), 0, 8)->font = ReportFont(8);
    summary->add<ReportSysData>(SysData::DetailCount, 82, 8)->font = ReportFont(8);
    auto *sum = summary->add<ReportExpr>(QStringLiteral("SUM(CENA)"), 0, 8);
    sum->setName(QStringLiteral("QRExprPrice"));
    sum->mask = QStringLiteral("Celkem [Kč]: ,0.00");
    sum->setRightEdge(718);
}

} // namespace

class TestReportLayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        SetClock([] { return QDateTime(QDate(2024, 11, 8), QTime(14, 3, 7)); });
    }

    // 61 rows fit under the head of a page; a summary that does not fit goes to a page of
    // its own, under the head again.
    void listPages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("lastRowOfPage");
        QTest::newRow("empty") << 0 << QList<int>{0};
        QTest::newRow("one row") << 1 << QList<int>{1};
        QTest::newRow("a page with its summary") << 59 << QList<int>{59};
        QTest::newRow("a full page, summary alone") << 61 << QList<int>{61, 61};
        QTest::newRow("two full pages, summary alone") << 122 << QList<int>{61, 122, 122};
        QTest::newRow("three pages") << 130 << QList<int>{61, 122, 130};
    }
    void listPages()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, lastRowOfPage);
        auto videos = VideosCosting(rows, Money::fromCrowns(10));
        Report report;
        ListLayout(report, videos.get());
        const PreparedReport *pages = report.prepare();
        QCOMPARE(pages->pageCount(), lastRowOfPage.size());
        int firstRow = 1;
        for (int p = 0; p < pages->pageCount(); ++p) {
            const QStringList texts = Texts(pages->pages.at(p));
            QCOMPARE(texts.mid(0, 3), (QStringList{QStringLiteral("Strana: %1").arg(p + 1), " Video",
                                                   "8.11.2024 14:03:07"}));
            const int lastRow = lastRowOfPage.at(p);
            if (firstRow <= lastRow)
                for (int row : {firstRow, lastRow})
                    QVERIFY2(texts.contains(Number(row)), qPrintable(Number(row)));
            QVERIFY(!texts.contains(Number(lastRow + 1)));
            QCOMPARE(texts.contains("Počet položek:"), p == pages->pageCount() - 1);
            firstRow = lastRow + 1;
        }
        const ReportPage &last = pages->pages.last();
        QVERIFY(FindText(last, QString::number(rows)));
        QVERIFY(FindText(last, "Celkem [Kč]: " + FormatMoney(",0.00", Money::fromCrowns(10 * rows))));
    }

    void rowsPrintTheirFields()
    {
        // Sums are exact over the printed rows, whatever a double would make of them.
        auto videos = Videos({Money::fromUnits(443500), Money::fromUnits(444000), Money::fromUnits(479100),
                              Money::fromUnits(253600), Money::fromUnits(434800), Money::fromCrowns(1234)});
        Report report;
        ListLayout(report, videos.get());
        auto *registered = report.bands().at(1)->add<ReportDBText>(videos.get(), "REGISTRACE", 556, 0);
        registered->mask = QStringLiteral("dd.MM.yyyy");
        const ReportPage &page = report.prepare()->pages.at(0);
        const QStringList texts = Texts(page);
        QCOMPARE(texts.mid(6, 4), (QStringList{Number(1), "Titul č. 1", "01.03.2024", "44,35"}));
        QVERIFY(texts.contains("1" + Nbsp + "234,00"));
        QVERIFY(texts.contains("Celkem [Kč]: 1" + Nbsp + "439,50"));
        QCOMPARE(static_cast<ReportExpr *>(report.findControl("QRExprPrice"))->value(),
                 Money::fromUnits(14395000));

        // A right-aligned text ends at its right edge, a box clips at its width.
        const std::optional<PageText> price = FindText(page, "44,35");
        QCOMPARE(price->rect.right(), report.printableRect().left() + 718);
        QCOMPARE(price->flags & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        const std::optional<PageText> title = FindText(page, "Titul č. 1");
        QCOMPARE(title->rect.width(), 270.0);
        // The rows' texts of one font share it: the page keeps one font, not one per text.
        QVERIFY(title->style);
        QCOMPARE(FindText(page, "Titul č. 2")->style.get(), title->style.get());
        QCOMPARE(FindText(page, "44,35")->style.get(), title->style.get());
        // Preparing again starts the sums from nothing.
        QVERIFY(FindText(report.prepare()->pages.at(0), "Celkem [Kč]: 1" + Nbsp + "439,50"));
    }

    // Ten fixed rows over a document's lines, printed twice down one sheet (a receipt with
    // its copy): the loop band's passes, the cursor moved by the amount's print hook, the
    // page's own cutting line, disabled and moved controls.
    void receiptOnHalfPages()
    {
        auto lines = Videos({Money::fromCrowns(40), Money::fromCrowns(50), Money::fromCrowns(60)});
        Report report;
        report.title = Number(42);
        report.add<ReportShape>(ShapeKind::HorizontalLine, 38, 560, 718)->penStyle = Qt::DashDotLine;
        ReportBand *loop = report.addBand(BandType::Loop, 523);
        loop->printCount = 2;
        loop->beforePrint = [&](bool &) { lines->first(); };
        auto *voucher = loop->add<ReportLabel>(QStringLiteral("Číslo dokladu:"), 0, 114);
        loop->add<ReportSysData>(SysData::ReportTitle, 87, 114);
        QStringList printed;
        for (int row = 1; row <= 10; ++row) {
            auto *title = loop->add<ReportDBText>(lines.get(), "TITUL", 96, 198 + 16 * (row - 1), 266);
            title->onPrint = [&, row](QString &text) {
                printed << QStringLiteral("title %1").arg(row);
                if (row > 1 && lines->eof())
                    text.clear();
            };
            auto *amount = loop->add<ReportDBText>(lines.get(), "CENA", 656, 198 + 16 * (row - 1));
            amount->setRightEdge(718);
            amount->onPrint = [&, row](QString &text) {
                printed << QStringLiteral("amount %1").arg(row);
                if (lines->eof()) {
                    text.clear();
                    return;
                }
                if (lines->currentRow() == 1)
                    text = QStringLiteral("zdarma");
                lines->next();
            };
        }
        auto *count = loop->add<ReportLabel>(QStringLiteral("Počet položek:"), 0, 367);
        count->setName(QStringLiteral("QRLabelCount"));
        loop->add<ReportSysData>(SysData::DetailCount, 96, 367)->countDataSet = lines.get();
        auto *signature = loop->add<ReportLabel>(QStringLiteral("Razítko a podpis"), 520, 492);

        voucher->setEnabled(false);
        report.findControl("QRLabelCount")->moveBy(0, -(10 - lines->recordCount()) * 16);
        const PreparedReport *pages = report.prepare();
        QCOMPARE(pages->pageCount(), 1);
        const ReportPage &page = pages->pages.at(0);
        QCOMPARE(printed.mid(0, 4), (QStringList{"title 1", "amount 1", "title 2", "amount 2"}));
        QCOMPARE(printed.size(), 40);

        const qreal top = report.printableRect().top();
        QCOMPARE(Texts(page), (QStringList{Number(42), "Titul č. 1", "40,00", "Titul č. 2", "zdarma", "Titul č. 3",
                                           "60,00", "Počet položek:", "3", "Razítko a podpis", Number(42),
                                           "Titul č. 1", "40,00", "Titul č. 2", "zdarma", "Titul č. 3", "60,00",
                                           "Počet položek:", "3", "Razítko a podpis"}));
        const QList<PageText> texts = PageTextsInReadingOrder(page);
        QCOMPARE(texts.at(1).rect.top(), top + 198);
        QCOMPARE(texts.at(11).rect.top(), top + 523 + 198);
        QCOMPARE(texts.at(7).rect.top(), top + 367 - 7 * 16);
        QCOMPARE(texts.at(9).rect.top(), top + 492);
        Q_UNUSED(signature);

        int cuttingLines = 0;
        for (const PageItem &item : page.items())
            if (const auto *line = std::get_if<PageLine>(&item)) {
                QCOMPARE(line->style, Qt::DashDotLine);
                QCOMPARE(line->from, QPointF(38, 560.5));
                ++cuttingLines;
            }
        QCOMPARE(cuttingLines, 1);
    }

    // A title on the first page only, the column head on every page, the summary once;
    // a band's hook may leave it out and a band may begin a new page.
    void bandsAndPageBreaks()
    {
        auto lines = VideosCosting(80, Money::fromCrowns(1));
        Report report;
        report.dataSet = lines.get();
        report.addBand(BandType::Title, 112)->add<ReportLabel>(QStringLiteral("Pokladní doklad"), 0, 84);
        report.addBand(BandType::ColumnHeader, 86)->add<ReportLabel>(QStringLiteral("Kód"), 0, 62);
        ReportBand *detail = report.addBand(BandType::Detail, 16);
        detail->add<ReportDBText>(lines.get(), "VIDEO", 0, 0, 90);
        ReportBand *summary = report.addBand(BandType::Summary, 166);
        summary->add<ReportLabel>(QStringLiteral("Razítko a podpis"), 512, 134);
        ReportBand *extra = report.addBand(BandType::Summary, 20);
        extra->add<ReportLabel>(QStringLiteral("Poznámka"), 0, 0);

        // 53 lines under the title and the head, 60 on the next page; the summary fits there.
        const PreparedReport *pages = report.prepare();
        QCOMPARE(pages->pageCount(), 2);
        QStringList first = Texts(pages->pages.at(0));
        QStringList second = Texts(pages->pages.at(1));
        QCOMPARE(first.mid(0, 3), (QStringList{"Pokladní doklad", "Kód", Number(1)}));
        QCOMPARE(first.last(), Number(53));
        QCOMPARE(second.mid(0, 2), (QStringList{"Kód", Number(54)}));
        QCOMPARE(second.mid(second.size() - 2), (QStringList{"Razítko a podpis", "Poznámka"}));

        extra->forceNewPage = true;
        summary->beforePrint = [](bool &print) { print = false; };
        pages = report.prepare();
        QCOMPARE(pages->pageCount(), 3);
        second = Texts(pages->pages.at(1));
        QCOMPARE(second.last(), Number(80));
        QVERIFY(!second.contains("Razítko a podpis"));
        QCOMPARE(Texts(pages->pages.at(2)), (QStringList{"Kód", "Poznámka"}));
    }

    void dataSetStaysOnItsRow()
    {
        auto videos = VideosCosting(5, Money::fromCrowns(1));
        videos->moveTo(2);
        QSignalSpy moved(videos.get(), &DataSet::currentRowChanged);
        Report report;
        ListLayout(report, videos.get());
        report.prepare();
        QCOMPARE(videos->currentRow(), 2);
        QCOMPARE(moved.count(), 0);
        QVERIFY(!videos->controlsDisabled());
    }

    // Texts land in the PDF where the page puts them, at their own size: the printer's
    // resolution enlarges nothing twice.
    void pdfHoldsTheTextsInPlace()
    {
        QTemporaryDir dir;
        PdfPrints prints(dir.path());
        auto videos = VideosCosting(70, Money::fromCrowns(25));
        Report report;
        ListLayout(report, videos.get());
        report.print();
        QCOMPARE(prints.files().size(), 1);
        const QStringList pages = PdfPageTexts(prints.lastFile());
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages.at(0).contains("Strana: 1"));
        QVERIFY(pages.at(0).contains("Titul č. 61"));
        // pdftotext gives the no-break space between thousands as a plain one.
        QVERIFY(QString(pages.at(1)).replace(Nbsp, " ").contains("Celkem [Kč]: 1 750,00"));

        const std::optional<PageText> label = FindText(report.prepared()->pages.at(0), "Titul č. 1");
        for (const PdfWord &w : PdfWords(prints.lastFile())) {
            if (w.page != 1 || w.text != "č.")
                continue;
            const qreal pt = 0.75; // points per layout pixel
            const qreal wordLeft = (label->rect.left() + LayoutMetrics(label->font()).width("Titul ")) * pt;
            QVERIFY2(qAbs(w.box.left() - wordLeft) < 1, qPrintable(QString::number(w.box.left())));
            QVERIFY(qAbs(w.box.width() - LayoutMetrics(label->font()).width("č.") * pt) < 1);
            QVERIFY(w.box.top() > label->rect.top() * pt - 2 && w.box.bottom() < label->rect.bottom() * pt + 2);
            return;
        }
        QFAIL("the title of the first row is not in the PDF");
    }

    void textsAreClippedToTheirBox()
    {
        PreparedReport pages;
        pages.pages.append(ReportPage());
        PageText t;
        t.rect = QRectF(100, 100, 40, 20);
        t.flags = Qt::AlignLeft | Qt::AlignTop;
        t.text = QStringLiteral("Velmi dlouhý název videa");
        pages.pages[0].append(t);
        QImage image(pages.paperSize().toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        pages.paintPage(painter, 0, 1.0);
        painter.end();
        bool inside = false;
        for (int x = 100; x < 140; ++x)
            for (int y = 100; y < 120; ++y)
                inside = inside || image.pixelColor(x, y) != Qt::white;
        QVERIFY(inside);
        for (int x = 141; x < 300; ++x)
            for (int y = 95; y < 125; ++y)
                QCOMPARE(image.pixelColor(x, y), QColor(Qt::white));
    }

    // A memo line longer than its box goes on in the box's next line, and what does not
    // fit the box's height is clipped.
    void memoLinesWrapInTheirBox()
    {
        Report report;
        ReportBand *band = report.addBand(BandType::Title, 100);
        auto *memo = band->add<ReportMemo>(0, 0, 200, 40);
        memo->font = ReportFont(9);
        memo->lines = QStringList{QStringLiteral("Děkujeme za návštěvu. Vypůjčená videa vracejte převinutá "
                                                 "a v obalu, jinak účtujeme poplatek dvacet korun za kus.")};
        const PreparedReport *pages = report.prepare();
        QImage image(pages->paperSize().toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        pages->paintPage(painter, 0, 1.0);
        painter.end();
        const QPointF corner = report.printableRect().topLeft();
        const auto inked = [&](qreal top, qreal bottom, qreal left, qreal right) {
            for (int x = qRound(corner.x() + left); x < qRound(corner.x() + right); ++x)
                for (int y = qRound(corner.y() + top); y < qRound(corner.y() + bottom); ++y)
                    if (image.pixelColor(x, y) != Qt::white)
                        return true;
            return false;
        };
        const qreal line = LayoutMetrics(memo->font).height();
        QVERIFY(inked(0, line, 0, 200));
        QVERIFY(inked(line + 1, 40, 0, 200));
        QVERIFY(!inked(0, 60, 201, 400));
        QVERIFY(!inked(41, 60, 0, 400));
    }

    // A list of the database's videos through a browse query: texts trimmed, money exact.
    void printsABrowseQuery_data() { AddEngineRows(); }
    void printsABrowseQuery()
    {
        OPEN_TEST_DATABASE(db);
        const QList<std::pair<QString, QString>> videos = {
            {"Pelíšky", "44.35"}, {"Obecná škola", "44.40"}, {"Kolja", "47.91"},
            {"Vesničko má středisková", "25.36"}, {"Tři oříšky pro Popelku", "43.48"}};
        for (int i = 0; i < videos.size(); ++i) {
            SetCommand("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC, CENA) VALUES (:VIDEO, :TITUL, 1, 1, :CENA)");
            SetCommandParam("VIDEO", qint64(i + 1));
            SetCommandParam("TITUL", videos.at(i).first + "   ");
            SetCommandParam("CENA", QVariant::fromValue(Money::fromString(videos.at(i).second)));
            ExecCommand();
        }
        BrowseQuery query;
        query.setSql({"SELECT VIDEO, TITUL, CENA FROM tab_video", "ORDER BY VIDEO"});
        query.setDisplayFormat("VIDEO", "0000000000000");
        query.setDisplayFormat("CENA", ",0.00");
        query.setFieldKind("CENA", FieldKind::Money);
        query.open();
        Report report;
        ListLayout(report, &query);
        const QStringList texts = Texts(report.prepare()->pages.at(0));
        QVERIFY(texts.contains("Vesničko má středisková"));
        QVERIFY(texts.contains("47,91"));
        QVERIFY(texts.contains("Celkem [Kč]: 205,50"));
        QCOMPARE(texts.at(texts.indexOf("Počet položek:") + 1), QString("5"));
    }

    // A caller's preview goes through the registered preview class; the program's own
    // stands when none is registered.
    void previewGoesThroughTheRegisteredClass()
    {
        struct Recorder : TQRPreviewInterface {
            QStringList seen;
            QWidget *Show(PreparedReport *printer) override
            {
                seen << QStringLiteral("%1/%2").arg(printer->title).arg(printer->pageCount());
                return nullptr;
            }
        };
        auto recorder = std::make_unique<Recorder>();
        Recorder *seen = recorder.get();
        RegisterPreviewInterface(std::move(recorder));
        auto videos = VideosCosting(70, Money::fromCrowns(1));
        Report report;
        ListLayout(report, videos.get());
        report.preview();
        QCOMPARE(seen->seen, QStringList{" Video/2"});
        RegisterPreviewInterface(nullptr);
        QVERIFY(dynamic_cast<Recorder *>(PreviewInterface()) == nullptr);
    }
};

QTEST_MAIN(TestReportLayer)
#include "tst_reportlayer.moc"
