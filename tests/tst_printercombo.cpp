#include "core/controls/PrinterComboBox.h"

#include <QAbstractItemView>
#include <QPrinterInfo>
#include <QSignalSpy>
#include <QTest>

namespace {

PrinterRecord record(const QString &name, const QString &port, bool remote, bool isDefault = false)
{
    PrinterRecord r;
    r.printerName = name;
    r.portName = port;
    r.remote = remote;
    r.isDefault = isDefault;
    return r;
}

} // namespace

class TestPrinterCombo : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetPrinterEnumeration(nullptr); }

    void portRule_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("remote");
        QTest::addColumn<bool>("local");
        QTest::newRow("parallel") << "LPT1:" << false << true;
        QTest::newRow("usb") << "USB001" << false << true;
        QTest::newRow("usb lower case") << "usb001" << false << false;
        QTest::newRow("network path") << "\\\\server\\laser" << false << false;
        QTest::newRow("file") << "FILE:" << false << false;
        QTest::newRow("no port, local queue") << "" << false << true;
        QTest::newRow("no port, remote queue") << "" << true << false;
    }
    void portRule()
    {
        QFETCH(QString, port);
        QFETCH(bool, remote);
        QFETCH(bool, local);
        QCOMPARE(IsLocalPrinter(record("P", port, remote)), local);
    }

    void noPrinters()
    {
        SetPrinterEnumeration([] { return QList<PrinterRecord>(); });
        TPrinterComboBox combo;
        QCOMPARE(combo.count(), 0);
        QCOMPARE(combo.PrinterCount(), 0);
        QCOMPARE(combo.PrinterIndex(), -1);
        QVERIFY(combo.PrinterName().isEmpty());
        QVERIFY(!combo.SetPrinterName("Laser"));
        combo.SetIconSize(tiLargeIcon);
        QCOMPARE(combo.PrinterIndex(), -1);
    }

    void listStartsOnDefaultPrinter()
    {
        SetPrinterEnumeration([] {
            return QList<PrinterRecord>{record("Jehličková", "LPT1:", false),
                                        record("Laser & Co", "\\\\srv\\laser", true, true),
                                        record("Štítky", "USB001", false)};
        });
        TPrinterComboBox combo;
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.itemText(1), QString("Laser & Co"));
        QCOMPARE(combo.PrinterIndex(), 1);
        QCOMPARE(combo.PrinterName(), QString("Laser & Co"));
        QCOMPARE(combo.Printer(0)->PortName, QString("LPT1:"));
        QCOMPARE(combo.Printer(2)->PrinterIndex, 2);
        // Local and network entries share the combo box's two pictures.
        QVERIFY(combo.Printer(0)->Bitmap == combo.Printer(2)->Bitmap);
        QVERIFY(combo.Printer(0)->Bitmap != combo.Printer(1)->Bitmap);
        QCOMPARE(combo.Printer(0)->Bitmap->size(), QSize(16, 16));
    }

    void noDefaultSelectsNothing()
    {
        SetPrinterEnumeration([] { return QList<PrinterRecord>{record("A", "LPT1:", false)}; });
        TPrinterComboBox combo;
        QCOMPARE(combo.count(), 1);
        QCOMPARE(combo.PrinterIndex(), -1);
    }

    void chosenByName()
    {
        SetPrinterEnumeration([] {
            return QList<PrinterRecord>{record("A", "LPT1:", false, true), record("B", "", true)};
        });
        TPrinterComboBox combo;
        QVERIFY(combo.SetPrinterName("B"));
        QCOMPARE(combo.PrinterIndex(), 1);
        QVERIFY(!combo.SetPrinterName("C"));
        QCOMPARE(combo.PrinterName(), QString("B"));
        combo.SetPrinterIndex(0);
        QCOMPARE(combo.PrinterName(), QString("A"));
    }

    void largeIconsKeepSelection()
    {
        SetPrinterEnumeration([] {
            return QList<PrinterRecord>{record("A", "LPT1:", false, true), record("B", "", true)};
        });
        TPrinterComboBox combo;
        combo.SetPrinterIndex(1);
        QSignalSpy changed(&combo, &QComboBox::currentIndexChanged);
        combo.SetIconSize(tiLargeIcon);
        QCOMPARE(combo.PrinterName(), QString("B"));
        QVERIFY(changed.count() >= 1);
        QVERIFY(combo.ItemHeight() >= 32);
        QCOMPARE(combo.Printer(0)->Bitmap->size(), QSize(32, 32));
        QCOMPARE(combo.view()->sizeHintForRow(0), combo.ItemHeight());
    }

    // The printers are listed again when the box is first shown (the list may have
    // changed since it was made): a printer chosen meanwhile stays chosen while it is
    // listed, else the default printer is selected; a later showing lists nothing anew.
    void listedAgainWhenFirstShown_data()
    {
        QTest::addColumn<QString>("chosen");    // chosen before the showing, "" for none
        QTest::addColumn<QStringList>("later"); // the printers then, the default marked "*"
        QTest::addColumn<QString>("selected");
        QTest::newRow("none chosen") << "" << QStringList{"A", "B", "*C"} << "C";
        QTest::newRow("chosen kept") << "B" << QStringList{"*A", "B", "C"} << "B";
        QTest::newRow("chosen gone") << "B" << QStringList{"*A", "C"} << "A";
    }
    void listedAgainWhenFirstShown()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, later);
        QFETCH(QString, selected);
        QList<PrinterRecord> printers{record("A", "LPT1:", false, true), record("B", "", true)};
        SetPrinterEnumeration([&printers] { return printers; });
        TPrinterComboBox combo;
        if (!chosen.isEmpty())
            QVERIFY(combo.SetPrinterName(chosen));
        printers.clear();
        for (const QString &name : later)
            printers << record(QString(name).remove(u'*'), "", true, name.startsWith(u'*'));
        QSignalSpy changed(&combo, &QComboBox::currentIndexChanged);
        combo.show();
        QCOMPARE(combo.count(), later.size());
        QCOMPARE(combo.PrinterCount(), later.size());
        QCOMPARE(combo.PrinterName(), selected);
        QCOMPARE(changed.count(), 1);
        printers << record("D", "", true);
        combo.hide();
        combo.show();
        QCOMPARE(combo.count(), later.size());
    }

    // The machine's own printers through Qt, then the PDF printer; the default one is
    // selected, and the PDF printer is the default of a machine without printers.
    void systemPrinters()
    {
        TPrinterComboBox combo;
        const QStringList names = QPrinterInfo::availablePrinterNames();
        QCOMPARE(combo.count(), names.size() + 1);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(combo.itemText(i), names[i]);
        QCOMPARE(combo.itemText(names.size()), PdfPrinterName());
        const QString def = QPrinterInfo::defaultPrinterName();
        if (!def.isEmpty())
            QCOMPARE(combo.PrinterName(), def);
        else if (names.isEmpty())
            QCOMPARE(combo.PrinterName(), PdfPrinterName());
        else
            QCOMPARE(combo.PrinterIndex(), -1);
        QCOMPARE(PrintsToPdfFile(QString()), def.isEmpty() && names.isEmpty());
        QVERIFY(PrintsToPdfFile(PdfPrinterName()));
    }
};

QTEST_MAIN(TestPrinterCombo)
#include "tst_printercombo.moc"
