#include "reports/ReportPages.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPaintDevice>
#include <QSaveFile>
#include <algorithm>

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

QFont ReportFont::deviceFont(qreal deviceDpi) const
{
    QFont font;
    // The layouts name the fonts of the Windows desks; Liberation Sans has Arial's metrics
    // and stands in when the named family is not installed.
    font.setFamilies({family, QStringLiteral("Liberation Sans")});
    font.setBold(bold || family == QLatin1String("Arial Black"));
    font.setItalic(italic);
    font.setPointSizeF(size * LayoutDpi / deviceDpi);
    // Unhinted outlines keep the widths of a text the same on screen, paper and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
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

    void operator()(const PageText &t)
    {
        if (!lastFont || !(*lastFont == t.font)) {
            painter.setFont(t.font.deviceFont(dpi));
            lastFont = &t.font;
        }
        painter.setPen(t.color);
        painter.drawText(t.rect, t.flags, t.text);
    }
    void operator()(const PageLine &l)
    {
        painter.setPen(QPen(l.color, l.width, l.style, Qt::FlatCap));
        painter.drawLine(l.from, l.to);
    }
    void operator()(const PageFrame &f)
    {
        painter.setPen(QPen(f.color, f.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
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
};

} // namespace

void RenderPage(QPainter &painter, const ReportPage &page)
{
    PagePainter draw{painter, qreal(painter.device()->logicalDpiY())};
    for (const PageItem &item : page.items)
        std::visit(draw, item);
}

QList<const PageText *> PageTextsInReadingOrder(const ReportPage &page)
{
    QList<const PageText *> texts;
    for (const PageItem &item : page.items)
        if (const auto *t = std::get_if<PageText>(&item))
            texts << t;
    std::stable_sort(texts.begin(), texts.end(), [](const PageText *a, const PageText *b) {
        if (a->rect.top() != b->rect.top())
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    return texts;
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
