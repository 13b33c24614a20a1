#include "reports/ReportPages.h"

#include "reports/ReportCanvas.h"

#include <QDir>
#include <QHash>
#include <QFontMetricsF>
#include <QPainter>
#include <QPaintDevice>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <zlib.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

qreal MillimetresToLayout(qreal mm)
{
    return mm * LayoutDpi / 25.4;
}

void WriteReportFile(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EReportError(QStringLiteral("Soubor %1 nelze uložit: %2")
                               .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

namespace {

// What tells fonts apart: the family, size, bold and italic.
QByteArray FontKey(const ReportFont &font)
{
    QByteArray key = font.family.toUtf8();
    key.append(reinterpret_cast<const char *>(&font.size), sizeof font.size);
    key.append(char((font.bold ? 1 : 0) | (font.italic ? 2 : 0)));
    return key;
}

} // namespace

QFont ReportFont::deviceFont(qreal deviceDpi) const
{
    // A page paints the same few fonts over and over: a font made once keeps the font
    // engine it has looked up, where a new one looks it up again at each text.
    static QHash<QByteArray, QFont> made;
    QByteArray key = FontKey(*this);
    key.append(reinterpret_cast<const char *>(&deviceDpi), sizeof deviceDpi);
    if (const auto kept = made.constFind(key); kept != made.cend())
        return kept.value();
    if (made.size() > 256)
        made.clear();
    QFont font;
    // The layouts name the fonts of the Windows desks; Liberation Sans has Arial's metrics
    // and stands in when the named family is not installed.
    font.setFamilies({family, QStringLiteral("Liberation Sans")});
    font.setBold(bold || family == QLatin1String("Arial Black"));
    font.setItalic(italic);
    font.setPointSizeF(size * LayoutDpi / deviceDpi);
    // Unhinted outlines keep the widths of a text the same on screen, paper and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    made.insert(key, font);
    return font;
}

SharedTextStyle SharedStyle(const PageTextStyle &style)
{
    // Styles are few; the table forgets those no text uses any more now and then.
    static QHash<QByteArray, std::weak_ptr<const PageTextStyle>> styles;
    static qsizetype sizeAfterSweep = 0;
    QByteArray key = FontKey(style.font);
    const QRgb rgba = style.color.rgba();
    key.append(reinterpret_cast<const char *>(&rgba), sizeof rgba);
    std::weak_ptr<const PageTextStyle> &entry = styles[key];
    if (SharedTextStyle kept = entry.lock())
        return kept;
    auto made = std::make_shared<const PageTextStyle>(style);
    entry = made;
    if (styles.size() > 2 * sizeAfterSweep + 64) {
        styles.removeIf([](const auto &e) { return e.value().expired(); });
        sizeAfterSweep = styles.size();
    }
    return made;
}

const SharedTextStyle &ShareTextStyle(SharedTextStyle &kept, const PageTextStyle &style)
{
    if (!kept || !(*kept == style))
        kept = SharedStyle(style);
    return kept;
}

const ReportFont &PageText::font() const
{
    static const ReportFont standard;
    return style ? style->font : standard;
}

void PageText::setStyle(const ReportFont &font, const QColor &color)
{
    style = SharedStyle(PageTextStyle{font, color});
}

PageBarcode PageBarcode::of(const QRectF &rect, const TEAN &ean)
{
    PageBarcode b;
    b.rect = rect;
    b.code = ean.Code();
    b.ratio = ean.Ratio();
    b.color = ean.Color().rgba();
    b.colorBar = ean.ColorBar().rgba();
    b.modul = quint8(ean.Modul());
    b.type = quint8(ean.TypeEAN());
    b.showText = ean.ShowText();
    return b;
}

TEAN PageBarcode::painter() const
{
    TEAN ean;
    ean.SetCode(code);
    ean.SetRatio(ratio);
    ean.SetColor(QColor::fromRgba(color));
    ean.SetColorBar(QColor::fromRgba(colorBar));
    ean.SetModul(modul);
    ean.SetTypeEAN(TTypeEAN(type));
    ean.SetShowText(showText);
    return ean;
}

namespace {

// A device of 96 dots per inch: what every measurement in layout pixels uses.
const QImage &LayoutDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(LayoutDpi / 0.0254));
        image.setDotsPerMeterY(qRound(LayoutDpi / 0.0254));
        return image;
    }();
    return device;
}

} // namespace

LayoutMetrics::LayoutMetrics(const ReportFont &font)
    : m_metrics(font.deviceFont(LayoutDpi), &LayoutDevice()),
      m_intMetrics(font.deviceFont(LayoutDpi), &LayoutDevice())
{
}

const LayoutMetrics &LayoutMetrics::of(const ReportFont &font)
{
    // Measuring a font anew builds its metrics anew; the canvases measure a few fonts
    // again and again.
    static QHash<QByteArray, std::shared_ptr<const LayoutMetrics>> made;
    const QByteArray key = FontKey(font);
    if (made.size() > 256 && !made.contains(key))
        made.clear();
    std::shared_ptr<const LayoutMetrics> &entry = made[key];
    if (!entry)
        entry = std::make_shared<const LayoutMetrics>(font);
    return *entry;
}

qreal LayoutMetrics::width(const QString &text) const
{
    return m_metrics.horizontalAdvance(text);
}

qreal LayoutMetrics::height() const
{
    return m_metrics.height();
}

int LayoutMetrics::intWidth(const QString &text) const
{
    return m_intMetrics.horizontalAdvance(text);
}

int LayoutMetrics::intHeight() const
{
    return m_intMetrics.height();
}

namespace {

struct PagePainter {
    QPainter &painter;
    qreal dpi;
    const ReportFont *lastFont = nullptr;
    const PageTextStyle *lastPen = nullptr;

    void operator()(const PageText &t)
    {
        // Texts of one style share it: its font and pen are set once for all of them.
        const ReportFont &font = t.font();
        if (!lastFont || (lastFont != &font && !(*lastFont == font))) {
            painter.setFont(font.deviceFont(dpi));
            lastFont = &font;
        }
        if (!lastPen || lastPen != t.style.get()) {
            painter.setPen(t.color());
            lastPen = t.style.get();
        }
        painter.drawText(t.rect, t.flags, t.text);
    }
    void operator()(const PageLine &l)
    {
        painter.setPen(QPen(l.color, l.width, l.style, Qt::FlatCap));
        lastPen = nullptr;
        painter.drawLine(l.from, l.to);
    }
    void operator()(const PageFrame &f)
    {
        painter.setPen(QPen(f.color, f.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        lastPen = nullptr;
        painter.setBrush(Qt::NoBrush);
        // The outline lies inside the rectangle, as a box drawn on a bitmap does.
        const qreal inset = f.width / 2;
        painter.drawRect(f.rect.adjusted(inset, inset, -inset, -inset));
    }
    void operator()(const PageFill &f)
    {
        // Bars of a barcode meet edge to edge: no blending at their sides.
        const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(f.rect, f.color);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
    }
    void operator()(const PageImage &i) { painter.drawImage(i.rect, i.image); }
    void operator()(const PageBarcode &b)
    {
        const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.save();
        painter.translate(b.rect.topLeft());
        const QRect box(QPoint(0, 0), b.rect.size().toSize());
        painter.fillRect(box, Qt::white);
        PainterCanvas canvas(painter, box);
        b.painter().Draw(canvas);
        painter.restore();
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        lastPen = nullptr;
    }
};

} // namespace

void RenderPage(QPainter &painter, const ReportPage &page)
{
    PagePainter draw{painter, qreal(painter.device()->logicalDpiY())};
    page.forEachItem([&draw](const PageItem &item) { std::visit(draw, item); });
}

QList<PageText> PageTextsInReadingOrder(const ReportPage &page)
{
    QList<PageText> texts;
    for (const PageItem &item : page.items())
        if (const auto *t = std::get_if<PageText>(&item))
            texts << *t;
    std::stable_sort(texts.begin(), texts.end(), [](const PageText &a, const PageText &b) {
        if (a.rect.top() != b.rect.top())
            return a.rect.top() < b.rect.top();
        return a.rect.left() < b.rect.left();
    });
    return texts;
}

namespace {

// The records of a packed page: a kind byte, then the item's fields as they lie in
// memory. They are read only by the process that wrote them.
enum PackedKind : quint8 { PackedText, PackedLine, PackedFrame, PackedFill, PackedImage, PackedBarcode };

struct Packer {
    QByteArray &bytes;
    QList<SharedTextStyle> &styles;
    QList<QImage> &images;

    template <typename T> void put(const T &value)
    {
        bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
    }
    void rect(const QRectF &r)
    {
        put(r.x());
        put(r.y());
        put(r.width());
        put(r.height());
    }
    void operator()(const PageText &t)
    {
        put(PackedText);
        rect(t.rect);
        put(qint32(t.flags));
        qsizetype style = t.style ? styles.indexOf(t.style) : -1;
        if (t.style && style < 0) {
            style = styles.size();
            styles.append(t.style);
        }
        put(qint32(style)); // -1: the default font in black
        put(qint32(t.text.size()));
        if (bytes.size() % 2) // the characters lie where a QChar may be read in place
            bytes.append('\0');
        bytes.append(reinterpret_cast<const char *>(t.text.constData()), t.text.size() * qsizetype(sizeof(QChar)));
    }
    void operator()(const PageLine &l)
    {
        put(PackedLine);
        rect(QRectF(l.from, l.to));
        put(l.width);
        put(qint32(l.style));
        put(l.color.rgba());
    }
    void operator()(const PageFrame &f)
    {
        put(PackedFrame);
        rect(f.rect);
        put(f.width);
        put(f.color.rgba());
    }
    void operator()(const PageFill &f)
    {
        put(PackedFill);
        rect(f.rect);
        put(f.color.rgba());
    }
    void operator()(const PageImage &i)
    {
        put(PackedImage);
        rect(i.rect);
        put(qint32(images.size()));
        images.append(i.image);
    }
    void operator()(const PageBarcode &b)
    {
        put(PackedBarcode);
        put(b);
    }
};

struct Unpacker {
    const char *at;
    const QList<SharedTextStyle> &styles;
    const QList<QImage> &images;
    // A text's characters are read in place, not copied, while the records stay.
    bool borrowTexts = false;
    const char *start = at;

    template <typename T> T take()
    {
        T value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    QRectF rect()
    {
        const qreal x = take<qreal>(), y = take<qreal>(), w = take<qreal>(), h = take<qreal>();
        return QRectF(x, y, w, h);
    }
    PageItem item()
    {
        switch (take<PackedKind>()) {
        case PackedText: {
            PageText t;
            t.rect = rect();
            t.flags = take<qint32>();
            if (const qint32 style = take<qint32>(); style >= 0)
                t.style = styles.at(style);
            const qint32 size = take<qint32>();
            if ((at - start) % 2)
                ++at;
            const auto *chars = reinterpret_cast<const QChar *>(at);
            t.text = borrowTexts ? QString::fromRawData(chars, size) : QString(chars, size);
            at += size * qsizetype(sizeof(QChar));
            return t;
        }
        case PackedLine: {
            PageLine l;
            const QRectF ends = rect();
            l.from = ends.topLeft();
            l.to = ends.bottomRight();
            l.width = take<qreal>();
            l.style = Qt::PenStyle(take<qint32>());
            l.color = QColor::fromRgba(take<QRgb>());
            return l;
        }
        case PackedFrame: {
            PageFrame f;
            f.rect = rect();
            f.width = take<qreal>();
            f.color = QColor::fromRgba(take<QRgb>());
            return f;
        }
        case PackedFill: {
            PageFill f;
            f.rect = rect();
            f.color = QColor::fromRgba(take<QRgb>());
            return f;
        }
        case PackedImage: {
            PageImage i;
            i.rect = rect();
            i.image = images.at(take<qint32>());
            return i;
        }
        case PackedBarcode:
            return take<PageBarcode>();
        }
        Q_UNREACHABLE();
        return PageItem();
    }
};

// The records of a page are built and compressed in buffers and streams kept from one
// page to the next. Made afresh for each page, with the page's packed bytes cut down after,
// they left the heap of a large report in pieces between the pages kept: the 25 000 pages
// of 100 000 cards took a seventh longer to make, and a tenth longer to print after.
class PageZip {
public:
    PageZip()
    {
        if (deflateInit(&m_deflate, 1) != Z_OK || inflateInit(&m_inflate) != Z_OK)
            throw std::bad_alloc();
    }
    ~PageZip()
    {
        deflateEnd(&m_deflate);
        inflateEnd(&m_inflate);
    }
    PageZip(const PageZip &) = delete;
    PageZip &operator=(const PageZip &) = delete;

    // The one of this thread, its records buffer emptied.
    static PageZip &get()
    {
        thread_local PageZip zip;
        zip.records.resize(0);
        return zip;
    }

    QByteArray records;

    QByteArray compress()
    {
        deflateReset(&m_deflate);
        m_out.resize(qsizetype(deflateBound(&m_deflate, uLong(records.size()))));
        m_deflate.next_in = reinterpret_cast<Bytef *>(records.data());
        m_deflate.avail_in = uInt(records.size());
        m_deflate.next_out = reinterpret_cast<Bytef *>(m_out.data());
        m_deflate.avail_out = uInt(m_out.size());
        if (deflate(&m_deflate, Z_FINISH) != Z_STREAM_END)
            throw EReportError(QStringLiteral("Stránku sestavy nelze uložit do paměti."));
        return QByteArray(m_out.constData(), qsizetype(m_deflate.total_out));
    }
    // Fills `records` with the `size` bytes packed into `packed`.
    void uncompress(const QByteArray &packed, qsizetype size)
    {
        inflateReset(&m_inflate);
        records.resize(size);
        m_inflate.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
        m_inflate.avail_in = uInt(packed.size());
        m_inflate.next_out = reinterpret_cast<Bytef *>(records.data());
        m_inflate.avail_out = uInt(size);
        if (inflate(&m_inflate, Z_FINISH) != Z_STREAM_END || m_inflate.total_out != uLong(size))
            throw EReportError(QStringLiteral("Stránku sestavy nelze přečíst z paměti."));
    }

private:
    z_stream m_deflate{};
    z_stream m_inflate{};
    QByteArray m_out;
};

} // namespace

ReportPage::ReportPage(const QList<PageItem> &items) : m_count(int(items.size()))
{
    if (items.isEmpty())
        return;
    PageZip &zip = PageZip::get();
    Packer pack{zip.records, m_styles, m_images};
    for (const PageItem &item : items)
        std::visit(pack, item);
    // The records of a page repeat themselves (a card's captions, boxes and places):
    // the quickest compression takes them to a fifth.
    m_size = int(zip.records.size());
    m_packed = zip.compress();
    m_styles.squeeze();
}

QList<PageItem> ReportPage::items() const
{
    QList<PageItem> items;
    items.reserve(m_count);
    unpack(false, [&items](const PageItem &item) { items.append(item); });
    return items;
}

void ReportPage::forEachItem(const std::function<void(const PageItem &)> &visit) const
{
    unpack(true, visit);
}

void ReportPage::unpack(bool borrowTexts, const std::function<void(const PageItem &)> &visit) const
{
    if (m_count == 0)
        return;
    PageZip &zip = PageZip::get();
    zip.uncompress(m_packed, m_size);
    Unpacker unpack{zip.records.constData(), m_styles, m_images, borrowTexts};
    for (int i = 0; i < m_count; ++i)
        visit(unpack.item());
}

void ReportPage::append(const PageItem &item)
{
    QList<PageItem> all = items();
    all.append(item);
    *this = ReportPage(all);
}

void TrimFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

QSizeF PaperSize(const QPageSize &pageSize, QPageLayout::Orientation orientation)
{
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    const QSizeF px(MillimetresToLayout(mm.width()), MillimetresToLayout(mm.height()));
    return orientation == QPageLayout::Landscape ? px.transposed() : px;
}

void PreparedReport::paintPage(QPainter &painter, int index, qreal scale, bool paper) const
{
    if (index < 0 || index >= pages.size())
        return;
    painter.save();
    if (paper) {
        const QSizeF size = paperSize() * scale;
        painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    }
    painter.scale(scale, scale);
    RenderPage(painter, pages.at(index));
    painter.restore();
}
