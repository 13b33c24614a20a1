#include "reports/EAN.h"
#include "reports/Report.h"
#include "reports/ReportCanvas.h"
#include "support/PdfOutput.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The pattern as modules at Modul 1 and Ratio 2: "1" for a bar module, "0" for a space.
QString Modules(const QString &pattern)
{
    QString modules;
    for (QChar element : pattern) {
        const int value = element.unicode() - u'0';
        modules += QString(value % 5 + 1, value >= 5 ? u'1' : u'0');
    }
    return modules;
}

// A row of the image as modules of `modul` pixels, read at each module's first pixel.
QString RowModules(const QImage &image, int y, int modules, int modul)
{
    QString row;
    for (int m = 0; m < modules; ++m)
        row += image.pixelColor(m * modul, y) == Qt::black ? u'1' : u'0';
    return row;
}

const QColor Untouched(128, 128, 128);

QImage Drawn(TEAN &ean, QSize size = QSize(112, 168))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Untouched);
    QPainter painter(&image);
    PainterCanvas canvas(painter, image.rect());
    ean.Draw(canvas);
    return image;
}

// The lowest row of a bar column drawn black.
int BarBottom(const QImage &image, int x)
{
    int y = 0;
    while (y + 1 < image.height() && image.pixelColor(x, y + 1) == Qt::black)
        ++y;
    return y;
}

} // namespace

class TestEan : public QObject {
    Q_OBJECT
private slots:
    void patterns_data()
    {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("modules");
        // Left half all set A (first digit 0), right half ending with 1 from set C.
        QTest::newRow("1 as EAN-13") << qint64(1) << int(EAN_13) << "0000000000001"
                                     << "101" + QString("0001101").repeated(6) + "01010"
                                            + QString("1110010").repeated(5) + "1100110" + "101";
        // First digit 5: digits 2 to 7 from the sets A, B, B, A, A, B.
        QTest::newRow("5901234123457") << qint64(5901234123457) << int(EAN_13) << "5901234123457"
                                       << "101" "0001011" "0100111" "0110011" "0010011" "0111101" "0011101"
                                          "01010" "1100110" "1101100" "1000010" "1011100" "1001110" "1000100"
                                          "101";
        // A wrong check digit is drawn as it is.
        QTest::newRow("wrong check digit") << qint64(8594001234562) << int(EAN_13) << "8594001234562"
                                           << "101" "0110001" "0010111" "0100011" "0100111" "0100111" "0011001"
                                              "01010" "1101100" "1000010" "1011100" "1001110" "1010000"
                                              "1101100" "101";
        QTest::newRow("EAN-8") << qint64(96385074) << int(EAN_8) << "96385074"
                               << "101" "0001011" "0101111" "0111101" "0110111"
                                  "01010" "1001110" "1110010" "1000100" "1011100" "101";
        QTest::newRow("EAN-8 short number") << qint64(17) << int(EAN_8) << "00000017"
                                            << "101" + QString("0001101").repeated(4) + "01010"
                                                   + QString("1110010").repeated(2) + "1100110" + "1000100" + "101";
    }
    void patterns()
    {
        QFETCH(qint64, code);
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QString, modules);
        TEAN ean;
        ean.SetTypeEAN(TTypeEAN(type));
        ean.SetCode(code);
        QCOMPARE(ean.CodeText(), text);
        QCOMPARE(Modules(ean.Pattern()), modules);
        QCOMPARE(ean.Width(), int(modules.size()));
        // Drawn at Modul 2 the bars and spaces are the same, twice as wide.
        ean.SetModul(2);
        const QImage image = Drawn(ean, QSize(200, 60));
        QCOMPARE(RowModules(image, 0, int(modules.size()), 2), modules);
    }

    void elementWidths_data()
    {
        QTest::addColumn<int>("modul");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("ratioAfter");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("default") << 1 << 2.0 << 2.0 << QList<int>{1, 2, 3, 4};
        QTest::newRow("Modul 2, Ratio 2.5") << 2 << 2.5 << 2.5 << QList<int>{2, 5, 7, 10};
        QTest::newRow("half to even down") << 1 << 2.5 << 2.5 << QList<int>{1, 2, 3, 4};
        QTest::newRow("half to even up") << 3 << 2.5 << 2.5 << QList<int>{3, 8, 12, 16};
        QTest::newRow("ratio below 2") << 1 << 1.5 << 2.0 << QList<int>{1, 2, 3, 4};
        QTest::newRow("ratio above 3") << 1 << 3.5 << 3.0 << QList<int>{1, 3, 4, 6};
        QTest::newRow("widest modul") << 48 << 3.0 << 3.0 << QList<int>{48, 144, 216, 288};
    }
    void elementWidths()
    {
        QFETCH(int, modul);
        QFETCH(double, ratio);
        QFETCH(double, ratioAfter);
        QFETCH(QList<int>, widths);
        TEAN ean;
        ean.SetModul(modul);
        ean.SetRatio(ratio);
        const QString pattern = ean.Pattern();
        QCOMPARE(ean.Ratio(), ratioAfter);
        int width = 0;
        for (QChar element : pattern)
            width += widths.at((element.unicode() - u'0') % 5);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(ean.ElementWidth(c), widths.at(c));
        QCOMPARE(ean.Width(), width);
    }

    void modulKeepsItsRange()
    {
        TEAN ean;
        QCOMPARE(ean.Width(), 95);
        for (int refused : {0, 49, -1}) {
            ean.SetModul(refused);
            QCOMPARE(ean.Modul(), 1);
        }
        ean.SetModul(48);
        QCOMPARE(ean.Modul(), 48);
        ean.SetCode(42);
        ean.SetCode(-5);
        QCOMPARE(ean.Code(), qint64(42));
    }

    void barsEndAboveTheText()
    {
        TEAN ean;
        ean.SetCode(8594001234561);
        RecordingCanvas probe(QSize(112, 168));
        // The bars stop above a line of the canvas's font (a new bitmap's 8-point font).
        const int lineHeight = probe.textHeight(ean.CodeText());
        QCOMPARE(lineHeight, 12);
        const QImage image = Drawn(ean);
        const int bottom = 168 - (lineHeight + 1);
        QCOMPARE(BarBottom(image, 0), bottom);
        QCOMPARE(image.pixelColor(0, bottom + 1), Untouched);
        // Spaces are painted white down to the same row; nothing right of the code.
        QCOMPARE(image.pixelColor(1, bottom), QColor(Qt::white));
        QCOMPARE(image.pixelColor(95, 0), Untouched);

        // The number in the 4-point font is centred under the code at the bottom edge, on
        // white.
        ReportFont small = probe.font();
        small.size = 4;
        probe.setFont(small);
        const int textWidth = probe.textWidth(ean.CodeText());
        const int textTop = 168 - probe.textHeight(ean.CodeText()) + 1;
        const int textLeft = 95 / 2 - textWidth / 2;
        QCOMPARE(image.pixelColor(textLeft, textTop), QColor(Qt::white));
        QCOMPARE(image.pixelColor(textLeft - 1, textTop), Untouched);
        QCOMPARE(image.pixelColor(textLeft, textTop - 1), Untouched);
        bool ink = false;
        for (int x = textLeft; x < textLeft + textWidth; ++x)
            for (int y = textTop; y < 168; ++y)
                ink = ink || image.pixelColor(x, y).lightness() < 128;
        QVERIFY(ink);
    }

    void withoutTextTheBarsReachTheBottom()
    {
        TEAN ean;
        ean.SetCode(17);
        ean.SetShowText(false);
        const QImage image = Drawn(ean);
        QCOMPARE(BarBottom(image, 0), 167);
        QCOMPARE(image.pixelColor(1, 167), QColor(Qt::white));
    }

    // A card as the customer cards print it, with the barcode as vector bars, rendered to
    // PDF and read back by a barcode reader.
    void cardScans_data()
    {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("read");
        QTest::addColumn<bool>("asNumber"); // kept on the page as its number, not as bars
        for (bool asNumber : {false, true}) {
            const char *how = asNumber ? "number" : "bars";
            QTest::addRow("17, %s", how) << qint64(17) << int(EAN_13) << "EAN-13:0000000000017" << asNumber;
            QTest::addRow("31, %s", how) << qint64(31) << int(EAN_13) << "EAN-13:0000000000031" << asNumber;
            QTest::addRow("8594001234561, %s", how)
                << qint64(8594001234561) << int(EAN_13) << "EAN-13:8594001234561" << asNumber;
            QTest::addRow("EAN-8, %s", how) << qint64(96385074) << int(EAN_8) << "EAN-8:96385074" << asNumber;
        }
    }
    void cardScans()
    {
        QFETCH(qint64, code);
        QFETCH(int, type);
        QFETCH(QString, read);
        QFETCH(bool, asNumber);
        QTemporaryDir dir;
        PdfPrints prints(dir.path());

        Report report;
        report.title = QStringLiteral(" Karty");
        ReportBand *card = report.addBand(BandType::Detail, 256);
        card->add<ReportShape>(ShapeKind::Rectangle, 0, 0, 718, 256);
        card->add<ReportShape>(ShapeKind::VerticalLine, 358, 0, 0, 256);
        auto *image = card->add<ReportImage>(16, 16, 112, 168);
        card->add<ReportLabel>(QStringLiteral("Jméno:"), 136, 16)->font = ReportFont(10, false, true);
        auto *number = card->add<ReportLabel>(QString::number(code), 0, 200);
        number->font = ReportFont(QStringLiteral("Arial Black"), 24);
        number->setCentredOver(85, 275);
        TEAN ean;
        ean.SetTypeEAN(TTypeEAN(type));
        card->beforePrint = [&](bool &) {
            ean.SetCode(code);
            if (asNumber)
                image->drawBarcode(ean);
            else
                ean.Draw(image->newDrawing());
        };
        report.print();
        QCOMPARE(prints.files().size(), 1);
        int barcodes = 0, fills = 0;
        for (const PageItem &item : report.prepared()->pages.at(0).items()) {
            barcodes += std::holds_alternative<PageBarcode>(item);
            fills += std::holds_alternative<PageFill>(item);
        }
        QCOMPARE(barcodes, asNumber ? 1 : 0);
        QVERIFY(asNumber ? fills == 0 : fills > 30);

        QProcess raster;
        raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                                  QStringLiteral("-singlefile"), prints.lastFile(),
                                                  dir.filePath(QStringLiteral("card"))});
        QVERIFY(raster.waitForFinished(30000));
        QCOMPARE(raster.exitCode(), 0);
        QProcess scan;
        scan.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), dir.filePath(QStringLiteral("card.png"))});
        QVERIFY(scan.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(scan.readAllStandardOutput()).trimmed(), read);
    }
};

QTEST_MAIN(TestEan)
#include "tst_ean.moc"
