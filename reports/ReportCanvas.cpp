#include "reports/ReportCanvas.h"

#include <QPainter>
#include <QPaintDevice>

int ReportCanvas::textWidth(const QString &text) const
{
    return LayoutMetrics::of(m_font).intWidth(text);
}

int ReportCanvas::textHeight(const QString &text) const
{
    Q_UNUSED(text);
    return LayoutMetrics::of(m_font).intHeight();
}

PainterCanvas::PainterCanvas(QPainter &painter, const QRect &clip)
    : m_painter(painter), m_clip(clip)
{
}

void PainterCanvas::fillRect(const QRect &rect, const QColor &color)
{
    m_painter.fillRect(rect & m_clip, color);
}

void PainterCanvas::textOut(const QPoint &pos, const QString &text, const QColor &color,
                            const QColor &background)
{
    const QRect whole(pos, QSize(textWidth(text), textHeight(text)));
    const QRect box = whole & m_clip;
    m_painter.fillRect(box, background);
    m_painter.save();
    m_painter.setClipRect(box);
    m_painter.setFont(font().deviceFont(m_painter.device()->logicalDpiY()));
    m_painter.setPen(color);
    m_painter.drawText(whole, Qt::AlignLeft | Qt::AlignTop, text);
    m_painter.restore();
}

void RecordingCanvas::fillRect(const QRect &rect, const QColor &color)
{
    const QRect clipped = rect & m_clip;
    if (!clipped.isEmpty())
        m_items.append(PageFill{clipped, color});
}

void RecordingCanvas::textOut(const QPoint &pos, const QString &text, const QColor &color,
                              const QColor &background)
{
    const QRect box(pos, QSize(textWidth(text), textHeight(text)));
    const QRect clipped = box & m_clip;
    if (clipped.isEmpty())
        return;
    m_items.append(PageFill{clipped, background});
    PageText t;
    t.rect = clipped;
    t.flags = Qt::AlignLeft | Qt::AlignTop;
    t.style = ShareTextStyle(m_style, PageTextStyle{font(), color});
    t.text = text;
    m_items.append(t);
}

namespace {

struct Translate {
    QPointF offset;
    PageItem operator()(PageText t) const { t.rect.translate(offset); return t; }
    PageItem operator()(PageLine l) const { l.from += offset; l.to += offset; return l; }
    PageItem operator()(PageFrame f) const { f.rect.translate(offset); return f; }
    PageItem operator()(PageFill f) const { f.rect.translate(offset); return f; }
    PageItem operator()(PageImage i) const { i.rect.translate(offset); return i; }
    PageItem operator()(PageBarcode b) const { b.rect.translate(offset); return b; }
};

} // namespace

PageItem TranslatedItem(const PageItem &item, const QPointF &offset)
{
    return std::visit(Translate{offset}, item);
}
