#pragma once
#include "reports/EAN.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <variant>

class QPainter;
class QPaintDevice;

// Positions on a report page are layout pixels: 96 to the inch, from the paper's top
// left corner. Fonts are sized in points.
inline constexpr qreal LayoutDpi = 96.0;
qreal MillimetresToLayout(qreal mm);

// A report's failure to write or read its pages or to print them.
class EReportError : public std::runtime_error {
public:
    explicit EReportError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Writes a file of prepared pages or an export, replacing the old one only once all is
// written; throws EReportError.
void WriteReportFile(const QString &fileName, const QByteArray &bytes);

// A font as a layout names it. "Arial", "Arial Black", "MS Sans Serif" and "Microsoft Sans
// Serif" come out as Liberation Sans (Arial's metrics), Arial Black drawn bold.
struct ReportFont {
    QString family = QStringLiteral("Arial");
    qreal size = 10; // points
    bool bold = false;
    bool italic = false;

    ReportFont() = default;
    ReportFont(qreal points, bool isBold = false, bool isItalic = false)
        : size(points), bold(isBold), italic(isItalic) {}
    ReportFont(const QString &name, qreal points, bool isBold = false, bool isItalic = false)
        : family(name), size(points), bold(isBold), italic(isItalic) {}

    // The font for a painter that maps layout pixels onto a device of `deviceDpi`
    // (the painter's scale already enlarges it; the size is corrected for that).
    QFont deviceFont(qreal deviceDpi) const;
    friend bool operator==(const ReportFont &, const ReportFont &) = default;
};

// Text metrics in layout pixels, the same on every device.
class LayoutMetrics {
public:
    explicit LayoutMetrics(const ReportFont &font);
    // The metrics of `font`, made once and kept (for the main thread); the reference holds
    // until the next call.
    static const LayoutMetrics &of(const ReportFont &font);
    qreal width(const QString &text) const;
    qreal height() const; // one line
    int intWidth(const QString &text) const;
    int intHeight() const;

private:
    QFontMetricsF m_metrics;
    QFontMetrics m_intMetrics;
};

// The font and colour of texts: one object shared by all the texts printed in them, so
// that a page keeps of a text little more than its box and its characters.
struct PageTextStyle {
    ReportFont font;
    QColor color = Qt::black;
    friend bool operator==(const PageTextStyle &, const PageTextStyle &) = default;
};
using SharedTextStyle = std::shared_ptr<const PageTextStyle>;
// The one object of `style` while any text holds it (made and read on the main thread).
SharedTextStyle SharedStyle(const PageTextStyle &style);
// The same, kept in `kept` for the next text of a control: looked up only when it changes.
const SharedTextStyle &ShareTextStyle(SharedTextStyle &kept, const PageTextStyle &style);

// The drawing operations a prepared page is made of.
struct PageText {
    QRectF rect;      // the text's box; the text is clipped to it
    int flags = 0;    // Qt::AlignmentFlag, and Qt::TextWordWrap; several lines when the text holds "\n"
    QString text;
    SharedTextStyle style; // null: the default font in black

    const ReportFont &font() const;
    QColor color() const { return style ? style->color : QColor(Qt::black); }
    // Gives the text a style of its own.
    void setStyle(const ReportFont &font, const QColor &color = Qt::black);
};
struct PageLine {
    QPointF from, to;
    qreal width = 1;
    Qt::PenStyle style = Qt::SolidLine;
    QColor color = Qt::black;
};
struct PageFrame { // a rectangle's outline
    QRectF rect;
    qreal width = 1;
    QColor color = Qt::black;
};
struct PageFill {
    QRectF rect;
    QColor color = Qt::black;
};
struct PageImage {
    QRectF rect;
    QImage image;
};
// A barcode kept as its number and painted from it with the page, on a white box: one
// item in place of one fill per bar and space.
struct PageBarcode {
    QRectF rect;
    qint64 code = 0;
    double ratio = 2.0;
    QRgb color = 0xffffffff; // the spaces
    QRgb colorBar = 0xff000000;
    quint8 modul = 1;
    quint8 type = EAN_13;
    bool showText = true;

    static PageBarcode of(const QRectF &rect, const TEAN &ean);
    TEAN painter() const;
};
using PageItem = std::variant<PageText, PageLine, PageFrame, PageFill, PageImage, PageBarcode>;

// A finished page, kept packed: a large report holds tens of thousands of them, and
// its items take an eighth of their own size this way. Unpacked as the page is painted,
// written or read.
class ReportPage {
public:
    ReportPage() = default;
    explicit ReportPage(const QList<PageItem> &items);
    QList<PageItem> items() const;
    // Each item in turn, unpacked without a copy of its text: the item and its text hold
    // only during the call, and the call must not unpack another page.
    void forEachItem(const std::function<void(const PageItem &)> &visit) const;
    int itemCount() const { return m_count; }
    // The page with `item` added at the end.
    void append(const PageItem &item);
    // What the page holds in memory, in bytes, beside its pictures.
    qsizetype packedSize() const { return m_packed.size(); }

private:
    // Each item in turn; with `borrowTexts` as forEachItem gives them, else with copied texts.
    void unpack(bool borrowTexts, const std::function<void(const PageItem &)> &visit) const;

    QByteArray m_packed;             // the items' records, compressed
    QList<SharedTextStyle> m_styles; // the styles of the texts, by the number in a record
    QList<QImage> m_images;
    int m_count = 0;
    int m_size = 0; // of the records uncompressed
};

// Hands the memory freed with pages back to the system, which the allocator would
// otherwise keep for the process until it exits.
void TrimFreedMemory();

// The paper in layout pixels, turned for landscape.
QSizeF PaperSize(const QPageSize &pageSize, QPageLayout::Orientation orientation);

// Paints the page with the painter's transform mapping layout pixels to the device.
void RenderPage(QPainter &painter, const ReportPage &page);
// The texts of a page in reading order (top to bottom, then left to right).
QList<PageText> PageTextsInReadingOrder(const ReportPage &page);

// A report's prepared pages with what printing them needs: the report printer.
class PreparedReport {
public:
    QString title;      // the print job's name, the preview's caption
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString printerName; // empty: the system's default printer
    QList<ReportPage> pages;
    // Tells the report that made the pages that its preview closed; cleared when
    // other pages are loaded in place of its own.
    std::function<void()> closePreviewNotice;
    // False while the report is still making pages: each joins `pages` once finished and
    // is announced through `pageAvailable` (set by the preview showing them), which is
    // called once more when the last one is there.
    bool complete = true;
    std::function<void()> pageAvailable;

    int pageCount() const { return int(pages.size()); }
    QSizeF paperSize() const { return PaperSize(pageSize, orientation); }
    // Paints page `index` (0-based) at `scale` device pixels per layout pixel, the
    // paper's corner at the painter's origin, on a white sheet when `paper`.
    void paintPage(QPainter &painter, int index, qreal scale, bool paper = true) const;
};
