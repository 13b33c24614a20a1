#pragma once
#include <QComboBox>
#include <QList>
#include <QPixmap>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// One printer as the system's printer enumeration describes it. Qt tells no port;
// a record built from QPrinterInfo has an empty port and says whether the queue is
// a remote one.
struct PrinterRecord {
    QString serverName;
    QString printerName;
    QString shareName;
    QString portName;
    QString driverName;
    QString comment;
    QString location;
    int attributes = 0;
    int status = 0;
    bool remote = false;
    bool isDefault = false;
};

// The printer that writes a PDF file the clerk names, listed after the system's printers
// (and their default when the system has none), as a desk without a printer needs.
QString PdfPrinterName();
// Whether a print to `printerName` (empty: the default printer) goes to that PDF printer.
bool PrintsToPdfFile(const QString &printerName);

// The system's printers in the order the platform lists them. Tests replace it with
// SetPrinterEnumeration; null restores QPrinterInfo.
using PrinterEnumeration = std::function<QList<PrinterRecord>()>;
void SetPrinterEnumeration(PrinterEnumeration enumeration);
QList<PrinterRecord> EnumeratePrinters();

// A port on the parallel or the USB interface is a local printer; letter case counts.
bool IsLocalPrinterPort(const QString &portName);
// The local picture for a port rule hit, or, for a queue without a port, for a queue
// that is not remote.
bool IsLocalPrinter(const PrinterRecord &record);

// The details of one entry of the combo box.
class TPrinterInfo {
public:
    TPrinterInfo(const PrinterRecord &record, int printerIndex, const QPixmap *bitmap)
        : ServerName(record.serverName), PrinterName(record.printerName),
          ShareName(record.shareName), PortName(record.portName),
          DriverName(record.driverName), Comment(record.comment), Location(record.location),
          PrinterIndex(printerIndex), Attributes(record.attributes), Status(record.status),
          Bitmap(bitmap) {}

    QString ServerName, PrinterName, ShareName, PortName, DriverName, Comment, Location;
    int PrinterIndex = -1;  // position in the platform's printer list, -1 when not there
    int Attributes = 0;
    int Status = 0;
    const QPixmap *Bitmap = nullptr;  // the combo box's picture, not owned
};

enum TIconSize { tiSmallIcon, tiLargeIcon };

// A drop-down list of the system's printers, each with a picture of a local or a
// network printer before its name, starting on the default printer.
class TPrinterComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TPrinterComboBox(QWidget *parent = nullptr);
    ~TPrinterComboBox() override;

    TIconSize IconSize() const { return m_iconSize; }
    void SetIconSize(TIconSize size);

    // The selected entry's position in the list (-1 for none).
    int PrinterIndex() const { return currentIndex(); }
    void SetPrinterIndex(int index) { setCurrentIndex(index); }

    // The selected printer by name: what a print job is handed, so that it never
    // depends on the order of two printer lists. Empty when nothing is selected.
    QString PrinterName() const;
    // Selects the entry of that printer; false (selection unchanged) when not listed.
    bool SetPrinterName(const QString &name);

    int PrinterCount() const { return int(m_printers.size()); }
    const TPrinterInfo *Printer(int index) const;
    int ItemHeight() const { return m_itemHeight; }

    void FillPrinterList();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void LoadBitmaps();
    void UpdateItemHeight();
    bool RefillSelecting(const QString &name);

    TIconSize m_iconSize = tiSmallIcon;
    QPixmap m_localBitmap;
    QPixmap m_netBitmap;
    std::vector<std::unique_ptr<TPrinterInfo>> m_printers;
    int m_itemHeight = 16;
    bool m_shown = false;
    QString m_filledName; // the printer the last fill selected
};

// The printer pictures by their resource names ("LOCALPRINTER16", "NETPRINTER16",
// "LOCALPRINTER32", "NETPRINTER32").
QPixmap PrinterBitmap(const QString &name);
