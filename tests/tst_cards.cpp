// The customer cards: four to a page over the customer list on both engines, the current
// customer's card alone, and the barcode of a printed card read back by a barcode reader
// from the page rasterised as a printer would print it.
#include "catalogue/CustomerStore.h"
#include "core/database/BrowseQuery.h"
#include "core/database/MemoryTable.h"
#include "reports/layouts/UQRCustomerCardsA4.h"
#include "support/PdfOutput.h"
#include "support/ShopRows.h"
#include "support/TestDatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Number(qint64 n)
{
    return QStringLiteral("%1").arg(n, 13, 10, QChar(u'0'));
}

// The pages of the cards printed to a PDF in `folder`.
QString PrintCards(TFormQRCustomerCardsA4 &cards, const QString &folder)
{
    PdfPrints prints(folder);
    cards.QuickRep.title = QStringLiteral(" Karty");
    cards.QuickRep.print();
    return prints.lastFile();
}

// One customer as the customer list holds him.
std::unique_ptr<MemoryTable> OneCustomer(qint64 number)
{
    auto table = std::make_unique<MemoryTable>();
    table->addField(QStringLiteral("ZAKAZNIK"), FieldKind::Int64);
    for (const char *text : {"JMENO", "ADRESA1", "RC", "OP"})
        table->addField(QString::fromLatin1(text), FieldKind::Text);
    table->addField(QStringLiteral("REGISTRACE"), FieldKind::DateTime);
    table->open();
    table->append({{"ZAKAZNIK", number}, {"JMENO", "Čapek Karel"}, {"ADRESA1", "Na Příkopě 5, Praha"},
                   {"RC", "7801011229"}, {"OP", "AB123456"}, {"REGISTRACE", QDateTime(QDate(2023, 5, 2), QTime(10, 30))}});
    return table;
}

// What a barcode reader reads on the first page, rasterised at 300 dots per inch.
QString Scanned(const QString &pdf, const QString &folder)
{
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"), {"-r", "300", "-png", "-singlefile", pdf, folder + "/card"});
    if (!raster.waitForFinished(30000) || raster.exitCode() != 0)
        return QStringLiteral("pdftoppm failed");
    QProcess scan;
    scan.start(QStringLiteral("zbarimg"), {"-q", folder + "/card.png"});
    if (!scan.waitForFinished(30000))
        return QStringLiteral("zbarimg failed");
    return QString::fromUtf8(scan.readAllStandardOutput()).trimmed();
}

} // namespace

class TestCards : public QObject {
    Q_OBJECT
private slots:
    // Nine customers fill three pages, four cards and four and one; without the list as the
    // report's data set the current customer's card prints alone.
    void pages_data() { AddEngineRows(); }
    void pages()
    {
        OPEN_TEST_DATABASE(db);
        QTemporaryDir dir;
        for (int c = 1; c <= 9; ++c)
            AddCustomer({c, QStringLiteral("Zákazník %1").arg(c), "7801011229", "AB123456", 2,
                         QDateTime(QDate(2024, 1, c), QTime(9, 30)), QStringLiteral("Adresa %1").arg(c)});
        BrowseQuery customers;
        customers.setSql(CustomerListSql());
        customers.setFieldKind("ZAKAZNIK", FieldKind::Int64);
        customers.setFieldKind("REGISTRACE", FieldKind::DateTime);
        customers.open();
        customers.moveTo(4);

        TFormQRCustomerCardsA4 all(&customers);
        all.QuickRep.dataSet = &customers;
        const QStringList pages = PdfPageTexts(PrintCards(all, dir.path()));
        QCOMPARE(pages.size(), 3);
        const QList<QList<int>> onPage = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9}};
        for (int p = 0; p < 3; ++p)
            for (int c = 1; c <= 9; ++c)
                QVERIFY2(pages.at(p).contains(QStringLiteral("Zákazník %1\n").arg(c)) == onPage.at(p).contains(c),
                         qPrintable(QStringLiteral("page %1, customer %2").arg(p + 1).arg(c)));
        QCOMPARE(customers.currentRow(), 4);

        TFormQRCustomerCardsA4 one(&customers);
        const QStringList card = PdfPageTexts(PrintCards(one, dir.path()));
        QCOMPARE(card.size(), 1);
        QCOMPARE(card.at(0).count("Zákazník "), 1);
        for (const char *text : {"Jméno:", "Zákazník 5", "Adresa:", "Adresa 5", "RČ:", "7801011229", "OP:",
                                    "AB123456", "Registrace:", "05.01.2024 09:30"})
            QVERIFY2(card.at(0).contains(QString::fromUtf8(text)), text);
        // The number in large print and under the bars, with its leading zeros.
        QCOMPARE(card.at(0).count(Number(5)), 2);
    }

    // The painter draws the digits it is given: a card scans when the number ends in its
    // check digit, and one that does not is drawn as it stands, which no reader accepts.
    void barcodeScans_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("read");
        QTest::newRow("17") << qint64(17) << "EAN-13:0000000000017";
        QTest::newRow("31") << qint64(31) << "EAN-13:0000000000031";
        QTest::newRow("8594001234561") << qint64(8594001234561) << "EAN-13:8594001234561";
        QTest::newRow("18, wrong check digit") << qint64(18) << "";
    }
    void barcodeScans()
    {
        QFETCH(qint64, number);
        QFETCH(QString, read);
        QTemporaryDir dir;
        auto customer = OneCustomer(number);
        TFormQRCustomerCardsA4 card(customer.get());
        const QString pdf = PrintCards(card, dir.path());
        QCOMPARE(Scanned(pdf, dir.path()), read);
        QCOMPARE(PdfPageTexts(pdf).value(0).count(Number(number)), 2);
    }
};

QTEST_MAIN(TestCards)
#include "tst_cards.moc"
