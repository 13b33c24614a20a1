#pragma once
#include "reports/ReportPages.h"

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

// A surface to draw on in whole pixels from its top left corner, as a bitmap's canvas
// is: a clip rectangle, a current font, filled rectangles and texts. The barcode painter
// draws on it, so that the same drawing goes into a bitmap or onto a report page.
class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    // The drawable area; its right and bottom edges lie just outside it.
    virtual QRect clipRect() const = 0;
    virtual void fillRect(const QRect &rect, const QColor &color) = 0;
    // Writes `text` in the current font with its top left corner at `pos`, in `color` on
    // a box of `background`.
    virtual void textOut(const QPoint &pos, const QString &text, const QColor &color,
                         const QColor &background) = 0;

    ReportFont font() const { return m_font; }
    void setFont(const ReportFont &font) { m_font = font; }
    int textWidth(const QString &text) const;
    int textHeight(const QString &text) const;

private:
    // A new bitmap's font on the Windows desks.
    ReportFont m_font{QStringLiteral("MS Sans Serif"), 8};
};

// A canvas over a painter, clipped to `clip` (device pixels at 96 per inch, such as a
// QImage's).
class PainterCanvas : public ReportCanvas {
public:
    PainterCanvas(QPainter &painter, const QRect &clip);
    QRect clipRect() const override { return m_clip; }
    void fillRect(const QRect &rect, const QColor &color) override;
    void textOut(const QPoint &pos, const QString &text, const QColor &color,
                 const QColor &background) override;

private:
    QPainter &m_painter;
    QRect m_clip;
};

// A canvas that records what is drawn on it as page items, with coordinates from the
// canvas's corner, clipped to its size.
class RecordingCanvas : public ReportCanvas {
public:
    explicit RecordingCanvas(const QSize &size) : m_clip(QPoint(0, 0), size) {}
    QRect clipRect() const override { return m_clip; }
    void fillRect(const QRect &rect, const QColor &color) override;
    void textOut(const QPoint &pos, const QString &text, const QColor &color,
                 const QColor &background) override;

    const QList<PageItem> &items() const { return m_items; }

private:
    QRect m_clip;
    QList<PageItem> m_items;
    SharedTextStyle m_style;
};

// The item moved by `offset`.
PageItem TranslatedItem(const PageItem &item, const QPointF &offset);
