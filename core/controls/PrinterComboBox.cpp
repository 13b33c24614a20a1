#include "core/controls/PrinterComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinterInfo>
#include <QStyledItemDelegate>

namespace {

PrinterEnumeration &enumerationHook()
{
    static PrinterEnumeration hook;
    return hook;
}

QList<PrinterRecord> qtPrinters()
{
    QList<PrinterRecord> list;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
        PrinterRecord r;
        r.printerName = info.printerName();
        r.driverName = info.makeAndModel();
        r.comment = info.description();
        r.location = info.location();
        r.status = int(info.state());
        r.remote = info.isRemote();
        r.isDefault = info.isDefault() || r.printerName == defaultName;
        list.append(r);
    }
    PrinterRecord pdf;
    pdf.printerName = PdfPrinterName();
    pdf.comment = QStringLiteral("PDF");
    pdf.isDefault = defaultName.isEmpty() && list.isEmpty();
    list.append(pdf);
    return list;
}

// Draws a small printer: paper on top, the body, and for a network printer a cable
// to a network socket under it.
QPixmap drawPrinter(int size, bool network)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const qreal u = size / 16.0;
    p.scale(u, u);
    p.setPen(QPen(Qt::black, 1.0 / u < 1 ? 1.0 : 1.0 / u));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 4));  // paper
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(1.5, 5.5, 13, network ? 5 : 7));  // body
    p.setBrush(QColor(0, 128, 0));
    p.drawRect(QRectF(11.5, 7.0, 1.5, 1.5));  // lamp
    if (network) {
        p.setPen(QPen(QColor(0, 0, 128), 1.2));
        p.drawLine(QPointF(8, 10.5), QPointF(8, 13.5));
        p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
    }
    return pm;
}

// The popup's entries: picture at the left, then the name on one line, centred
// vertically, ampersands shown as they are.
class PrinterItemDelegate : public QStyledItemDelegate {
public:
    explicit PrinterItemDelegate(TPrinterComboBox *combo)
        : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        painter->save();
        painter->fillRect(r, selected ? pal.highlight() : pal.base());
        int w = 16;
        if (const TPrinterInfo *info = m_combo->Printer(index.row()); info && info->Bitmap) {
            const QPixmap &bm = *info->Bitmap;
            w = bm.width();
            painter->drawPixmap(r.left() + 2, (r.top() + r.bottom() + 1 - bm.height()) / 2, bm);
        }
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        painter->setFont(option.font);
        QRect textRect = r;
        textRect.setLeft(r.left() + w + 6);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(m_combo->ItemHeight());
        return s;
    }

private:
    TPrinterComboBox *m_combo;
};

} // namespace

QString PdfPrinterName()
{
    return QStringLiteral("Tisk do souboru PDF");
}

bool PrintsToPdfFile(const QString &printerName)
{
    if (!printerName.isEmpty())
        return printerName == PdfPrinterName();
    return QPrinterInfo::defaultPrinterName().isEmpty() && QPrinterInfo::availablePrinters().isEmpty();
}

void SetPrinterEnumeration(PrinterEnumeration enumeration)
{
    enumerationHook() = std::move(enumeration);
}

QList<PrinterRecord> EnumeratePrinters()
{
    return enumerationHook() ? enumerationHook()() : qtPrinters();
}

bool IsLocalPrinterPort(const QString &portName)
{
    return portName.contains(QLatin1String("LPT"), Qt::CaseSensitive)
        || portName.contains(QLatin1String("USB"), Qt::CaseSensitive);
}

bool IsLocalPrinter(const PrinterRecord &record)
{
    if (!record.portName.isEmpty())
        return IsLocalPrinterPort(record.portName);
    return !record.remote;
}

QPixmap PrinterBitmap(const QString &name)
{
    const bool network = name.startsWith(QLatin1String("NET"));
    const int size = name.endsWith(QLatin1String("32")) ? 32 : 16;
    return drawPrinter(size, network);
}

TPrinterComboBox::TPrinterComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setItemDelegate(new PrinterItemDelegate(this));
    LoadBitmaps();
    UpdateItemHeight();
    FillPrinterList();
}

TPrinterComboBox::~TPrinterComboBox() = default;

void TPrinterComboBox::LoadBitmaps()
{
    const QString suffix = m_iconSize == tiLargeIcon ? QStringLiteral("32") : QStringLiteral("16");
    m_localBitmap = PrinterBitmap(QStringLiteral("LOCALPRINTER") + suffix);
    m_netBitmap = PrinterBitmap(QStringLiteral("NETPRINTER") + suffix);
    QComboBox::setIconSize(m_localBitmap.size());
}

void TPrinterComboBox::UpdateItemHeight()
{
    m_itemHeight = qMax(QFontMetrics(font()).height(), m_localBitmap.height());
    if (view())
        view()->doItemsLayout();
}

const TPrinterInfo *TPrinterComboBox::Printer(int index) const
{
    if (index < 0 || index >= int(m_printers.size()))
        return nullptr;
    return m_printers[size_t(index)].get();
}

QString TPrinterComboBox::PrinterName() const
{
    const TPrinterInfo *info = Printer(currentIndex());
    return info ? info->PrinterName : QString();
}

bool TPrinterComboBox::SetPrinterName(const QString &name)
{
    for (int i = 0; i < int(m_printers.size()); ++i) {
        if (m_printers[size_t(i)]->PrinterName == name) {
            setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void TPrinterComboBox::FillPrinterList()
{
    QSignalBlocker block(this);
    clear();
    m_printers.clear();

    const QList<PrinterRecord> records = EnumeratePrinters();
    int defaultEntry = -1;
    for (int i = 0; i < records.size(); ++i) {
        const PrinterRecord &r = records[i];
        const QPixmap *bitmap = IsLocalPrinter(r) ? &m_localBitmap : &m_netBitmap;
        // The enumeration is the platform's list itself, so a printer's index there
        // is its position.
        m_printers.push_back(std::make_unique<TPrinterInfo>(r, i, bitmap));
        addItem(QIcon(*bitmap), r.printerName);
        if (defaultEntry < 0 && r.isDefault)
            defaultEntry = i;
    }
    setCurrentIndex(defaultEntry);
    m_filledName = PrinterName();
    block.unblock();
    emit currentIndexChanged(currentIndex());
}

void TPrinterComboBox::SetIconSize(TIconSize size)
{
    if (size == m_iconSize)
        return;
    const QString selected = PrinterName();
    const int position = currentIndex();
    m_iconSize = size;
    LoadBitmaps();
    UpdateItemHeight();
    // The same printer stays selected when it is still listed, else the same position,
    // else the first entry.
    if (!RefillSelecting(selected)) {
        const QSignalBlocker block(this);
        setCurrentIndex(position >= 0 && position < count() ? position : (count() > 0 ? 0 : -1));
    }
    emit currentIndexChanged(currentIndex());
}

// Lists the printers again without raising the change event and selects the printer
// `name` when it is still listed; false when it is not, and the default printer is
// selected as FillPrinterList chose.
bool TPrinterComboBox::RefillSelecting(const QString &name)
{
    const QSignalBlocker block(this);
    FillPrinterList();
    return !name.isEmpty() && SetPrinterName(name);
}

void TPrinterComboBox::showEvent(QShowEvent *event)
{
    QComboBox::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // The printers are listed again when the control's window is first made: the
    // list may have changed since the box was created. A printer chosen meanwhile
    // stays chosen; otherwise the default printer of the new list is selected.
    const QString chosen = PrinterName();
    RefillSelecting(chosen != m_filledName ? chosen : QString());
    emit currentIndexChanged(currentIndex());
}

void TPrinterComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateItemHeight();
}
