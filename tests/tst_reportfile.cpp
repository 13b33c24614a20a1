#include "reports/QrpFile.h"
#include "reports/Report.h"
#include "reports/RtfWriter.h"
#include "support/TestFiles.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTest>
#include <QtEndian>

namespace {

// Pages holding one drawing of every kind, each page named by its number.
PreparedReport Sample(int pageCount, QPageLayout::Orientation orientation = QPageLayout::Portrait,
                      bool barcode = true)
{
    PreparedReport report;
    report.title = QStringLiteral(" Tržby");
    report.orientation = orientation;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int p = 1; p <= pageCount; ++p) {
        QList<PageItem> page;
        PageText t;
        t.rect = QRectF(38, 45.5, 300, 20);
        t.flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        t.setStyle(ReportFont(QStringLiteral("Arial Black"), 12.5, false, true));
        t.text = QStringLiteral("Stránka č. %1\nŽluťoučký kůň").arg(p);
        page << t << PageLine{QPointF(38, 560.5), QPointF(756, 560.5), 1, Qt::DashDotLine}
                   << PageFrame{QRectF(38, 600, 718, 256), 1, Qt::blue} << PageFill{QRectF(60, 620, 3, 100), Qt::black}
                   << PageImage{QRectF(100, 620, 40, 40), picture};
        if (barcode) {
            TEAN ean;
            ean.SetCode(8594001234561 + p);
            page << PageBarcode::of(QRectF(200, 620, 112, 168), ean);
        }
        report.pages << ReportPage(page);
    }
    return report;
}

qint32 HeaderPageCount(const QString &file)
{
    const QByteArray bytes = ReadBytes(file);
    return bytes.size() < 12 ? -1 : qFromLittleEndian<qint32>(bytes.constData() + QrpPageCountOffset);
}

QImage Rendered(const PreparedReport &report, int page)
{
    QImage image(report.paperSize().toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    report.paintPage(painter, page, 1.0);
    return image;
}

QStringList FirstLines(const PreparedReport &report)
{
    QStringList lines;
    for (const ReportPage &page : report.pages)
        lines << PageTextsInReadingOrder(page).value(0).text.section(u'\n', 0, 0);
    return lines;
}

} // namespace

class TestReportFile : public QObject {
    Q_OBJECT
private slots:
    void savedPagesOpenAgain_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("one page") << 1 << false;
        QTest::newRow("three landscape pages") << 3 << true;
    }
    void savedPagesOpenAgain()
    {
        QFETCH(int, pages);
        QFETCH(bool, landscape);
        QTemporaryDir dir;
        const QString file = dir.filePath("0000000000042.qrp");
        const PreparedReport saved = Sample(pages, landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        SaveQrpFile(file, saved);
        QCOMPARE(HeaderPageCount(file), pages);
        QCOMPARE(ReadBytes(file).left(4), QByteArray("VQRP"));

        PreparedReport opened = Sample(7);
        opened.title = QStringLiteral("jiná");
        LoadQrpFile(file, opened);
        QCOMPARE(opened.pageCount(), pages);
        QCOMPARE(opened.title, saved.title);
        QCOMPARE(opened.paperSize(), saved.paperSize());
        QCOMPARE(QrpBytes(opened), QrpBytes(saved));
        for (int p = 0; p < pages; ++p)
            QCOMPARE(Rendered(opened, p), Rendered(saved, p));
        // The barcode kept as its number is painted from it: its first bar at its left edge.
        QCOMPARE(Rendered(opened, 0).pixelColor(200, 630), QColor(Qt::black));
        QCOMPARE(Rendered(opened, 0).pixelColor(201, 630), QColor(Qt::white));
    }

    // A page file read back holds its pages as compactly as the report that made them:
    // the print dialog's selection of the cards costs no more than the report's own pages.
    void readPagesAsCompactAsMade()
    {
        PreparedReport saved = Sample(3);
        for (ReportPage &page : saved.pages) {
            PageText caption;
            caption.rect = QRectF(38, 20, 200, 16);
            caption.text = QStringLiteral("Jméno:");
            page.append(caption);
        }
        QTemporaryDir dir;
        const QString file = dir.filePath("karty.qrp");
        SaveQrpFile(file, saved);
        PreparedReport opened;
        LoadQrpFile(file, opened);
        QCOMPARE(QrpBytes(opened), QrpBytes(saved));
        for (int p = 0; p < saved.pageCount(); ++p) {
            QCOMPARE(opened.pages.at(p).itemCount(), saved.pages.at(p).itemCount());
            // Equal but for the style of the unstyled caption, which the file names.
            QVERIFY2(qAbs(opened.pages.at(p).packedSize() - saved.pages.at(p).packedSize()) <= 8,
                     qPrintable(QStringLiteral("%1 bytes read, %2 made")
                                    .arg(opened.pages.at(p).packedSize())
                                    .arg(saved.pages.at(p).packedSize())));
        }
        QCOMPARE(std::get<PageText>(opened.pages.at(2).items().constLast()).text, QStringLiteral("Jméno:"));
        QCOMPARE(FirstLines(opened), FirstLines(saved));
    }

    // A file of the first version, which had no barcode item, still opens; a barcode item
    // in such a file is refused as damage.
    void firstVersionStillOpens_data()
    {
        QTest::addColumn<bool>("barcode");
        QTest::addColumn<bool>("opens");
        QTest::newRow("without barcodes") << false << true;
        QTest::newRow("with a barcode") << true << false;
    }
    void firstVersionStillOpens()
    {
        QFETCH(bool, barcode);
        QFETCH(bool, opens);
        QTemporaryDir dir;
        const QString file = dir.filePath("stara.qrp");
        const PreparedReport saved = Sample(3, QPageLayout::Portrait, barcode);
        QByteArray bytes = QrpBytes(saved);
        qToLittleEndian(quint16(1), bytes.data() + 4);
        QVERIFY(WriteBytes(file, bytes));
        PreparedReport opened = Sample(1);
        if (!opens) {
            QVERIFY_THROWS_EXCEPTION(EReportError, LoadQrpFile(file, opened));
            QCOMPARE(opened.pageCount(), 1);
            return;
        }
        LoadQrpFile(file, opened);
        QCOMPARE(FirstLines(opened), FirstLines(saved));
        for (int p = 0; p < 3; ++p)
            QCOMPARE(Rendered(opened, p), Rendered(saved, p));
        // Saved again it is a file of the present version.
        SaveQrpFile(file, opened);
        QCOMPARE(qFromLittleEndian<quint16>(ReadBytes(file).constData() + 4), quint16(2));
    }

    void pagesAreCopiedAndJoined()
    {
        QTemporaryDir dir;
        const QString all = dir.filePath("all.qrp"), some = dir.filePath("some.qrp"), joined = dir.filePath("j.qrp");
        SaveQrpFile(all, Sample(5));
        PreparedReport read;

        QVERIFY(CopyQrpPages(all, some, 2, 3));
        QCOMPARE(HeaderPageCount(some), 2);
        const QStringList copies{some, some, some};
        QCOMPARE(JoinQrpFiles(joined, &copies), 0);
        QCOMPARE(HeaderPageCount(joined), 6);
        LoadQrpFile(joined, read);
        QCOMPARE(FirstLines(read), (QStringList{"Stránka č. 2", "Stránka č. 3", "Stránka č. 2", "Stránka č. 3",
                                                "Stránka č. 2", "Stránka č. 3"}));

        QVERIFY(CopyQrpPages(all, some, 0, 0));
        QCOMPARE(HeaderPageCount(some), 5);
        // A range beyond the pages, or backwards, selects none.
        for (auto [from, to] : {std::pair{4, 2}, std::pair{6, 9}}) {
            QVERIFY(CopyQrpPages(all, some, from, to));
            QCOMPARE(HeaderPageCount(some), 0);
            LoadQrpFile(some, read);
            QCOMPARE(read.pageCount(), 0);
        }
        QVERIFY(!CopyQrpPages(dir.filePath("missing.qrp"), some, 0, 0));
    }

    void joinResults()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("page.qrp");
        SaveQrpFile(page, Sample(1));
        const QStringList none, one{page}, missing{dir.filePath("missing.qrp")};
        QCOMPARE(JoinQrpFiles(QString(), nullptr), -2);
        QCOMPARE(JoinQrpFiles(QString(), &none), -3);
        QCOMPARE(JoinQrpFiles(QString(), &one), -1);
        QCOMPARE(JoinQrpFiles(dir.filePath("t.qrp"), nullptr), -2);
        QCOMPARE(JoinQrpFiles(dir.filePath("t.qrp"), &none), -3);
        QCOMPARE(JoinQrpFiles(dir.filePath("t.qrp"), &missing), -4);
        QVERIFY(!QFile::exists(dir.filePath("t.qrp")));
    }

    // A file that is not a page file of ours is refused whole, before any count or length
    // in it is trusted, and the pages shown stay as they were.
    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = QrpBytes(Sample(2));
        auto withInt = [&](int offset, qint32 value) {
            QByteArray b = good;
            qToLittleEndian(value, b.data() + offset);
            return b;
        };
        const int firstPage = QrpHeaderSize + 4 + int(Sample(2).title.toUtf8().size());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(60);
        QTest::newRow("page cut short") << good.left(good.size() - 10);
        QTest::newRow("huge page count") << withInt(QrpPageCountOffset, 0x7fffffff);
        QTest::newRow("negative page count") << withInt(QrpPageCountOffset, -1);
        QTest::newRow("one page more than held") << withInt(QrpPageCountOffset, 3);
        QTest::newRow("one page less than held") << withInt(QrpPageCountOffset, 1);
        QTest::newRow("page longer than the file") << withInt(firstPage, 0x7ffffff0);
        QTest::newRow("huge item count") << withInt(firstPage + 4, 0x7fffffff);
        QTest::newRow("text longer than the page") << withInt(firstPage + 8 + 1 + 32 + 4, 0x7ffffff0);
        QTest::newRow("other version") << withInt(4, 0x00800003);
        QTest::newRow("trailing bytes") << good + QByteArray(16, '\0');
        QByteArray magic = good;
        magic[0] = 'X';
        QTest::newRow("other magic") << magic;
        QTest::newRow("text file") << QByteArray("WHERE tab_zakaznik.ZAKAZNIK > 10\r\n");
        QTest::newRow("picture") << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") + QByteArray(200, 'x');
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString file = dir.filePath("bad.qrp");
        QVERIFY(WriteBytes(file, bytes));
        PreparedReport shown = Sample(3);
        const QByteArray before = QrpBytes(shown);
        QVERIFY_THROWS_EXCEPTION(EReportError, LoadQrpFile(file, shown));
        QCOMPARE(QrpBytes(shown), before);
        QVERIFY(!CopyQrpPages(file, dir.filePath("copy.qrp"), 0, 0));
    }

    // The RTF export of a receipt opens in a converter with its texts.
    void rtfHoldsTheTexts()
    {
        Report receipt;
        receipt.title = QStringLiteral("0000000000042");
        ReportBand *band = receipt.addBand(BandType::Loop, 200);
        auto *title = band->add<ReportLabel>(QStringLiteral("Pokladní doklad - půjčené video"), 0, 84);
        title->font = ReportFont(14, true);
        title->setCentredOver(211, 507);
        band->add<ReportLabel>(QStringLiteral("Číslo dokladu:"), 0, 114)->font = ReportFont(9);
        band->add<ReportSysData>(SysData::ReportTitle, 87, 114)->font = ReportFont(9, true);
        auto *memo = band->add<ReportMemo>(0, 8, 122, 72);
        memo->lines = QStringList{"Videopůjčovna {U Kina}", "Brno\\Líšeň"};
        auto *total = band->add<ReportLabel>(QStringLiteral("100,00 Kč"), 440, 150);
        total->setRightEdge(718);
        receipt.addBand(BandType::Summary, 20)->forceNewPage = true;
        receipt.bands().back()->add<ReportLabel>(QStringLiteral("Razítko a podpis"), 520, 0);
        const PreparedReport *pages = receipt.prepare();
        QCOMPARE(pages->pageCount(), 2);

        QTemporaryDir dir;
        const QString file = dir.filePath("0000000000042.rtf");
        ExportRtf(*pages, file);
        QVERIFY(ReadBytes(file).startsWith("{\\rtf1"));
        QProcess unrtf;
        unrtf.start("unrtf", {"--html", file});
        QVERIFY(unrtf.waitForFinished(30000));
        QCOMPARE(unrtf.exitCode(), 0);
        QTextDocument converted;
        converted.setHtml(QString::fromUtf8(unrtf.readAllStandardOutput()));
        const QString text = converted.toPlainText();
        for (const char *expected : {"Pokladní doklad - půjčené video", "Číslo dokladu:", "0000000000042",
                                     "Videopůjčovna {U Kina}", "Brno\\Líšeň", "100,00 Kč", "Razítko a podpis"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(text.indexOf("100,00 Kč") < text.indexOf("Razítko a podpis"));
    }
};

QTEST_MAIN(TestReportFile)
#include "tst_reportfile.moc"
