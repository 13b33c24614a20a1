#pragma once
#include <QColor>
#include <QString>

class ReportCanvas;

enum TTypeEAN { EAN_8, EAN_13 };

// Paints the EAN-13 or EAN-8 barcode of a number, with the number written under the
// bars, onto a canvas: the bars and spaces start at the canvas's left and top edges and
// reach down to the text at its bottom edge. The number must already end in its check
// digit; the painter draws the digits it is given.
class TEAN {
public:
    TEAN() = default;

    qint64 Code() const { return m_code; }
    // A negative number has no barcode and is ignored.
    void SetCode(qint64 code);
    // The narrowest element in pixels, 1 to 48; other values are ignored.
    int Modul() const { return m_modul; }
    void SetModul(int modul);
    // The proportion of the wider elements; kept within 2.0 to 3.0 when a pattern is built.
    double Ratio() const { return m_ratio; }
    void SetRatio(double ratio) { m_ratio = ratio; }
    TTypeEAN TypeEAN() const { return m_type; }
    void SetTypeEAN(TTypeEAN type) { m_type = type; }
    bool ShowText() const { return m_showText; }
    void SetShowText(bool show) { m_showText = show; }
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color) { m_color = color; }
    QColor ColorBar() const { return m_colorBar; }
    void SetColorBar(const QColor &color) { m_colorBar = color; }

    // The whole barcode's width in pixels (builds the pattern).
    int Width();
    // The number with leading zeros to 13 (EAN-13) or 8 (EAN-8) digits.
    QString CodeText() const;
    // One character per element from left to right: "0" to "3" a space and "5" to "8" a
    // bar of width class 0 to 3 (builds the pattern).
    QString Pattern();
    // The width of an element class 0 to 3 in pixels, as the last pattern built set it.
    int ElementWidth(int widthClass) const { return m_widths[widthClass & 3]; }

    void Draw(ReportCanvas &canvas);

private:
    QString BuildPattern();
    static bool IsBar(QChar element) { return element >= u'5'; }
    int WidthOf(QChar element) const;

    qint64 m_code = 0;
    int m_modul = 1;
    double m_ratio = 2.0;
    TTypeEAN m_type = EAN_13;
    bool m_showText = true;
    QColor m_color = Qt::white;
    QColor m_colorBar = Qt::black;
    int m_widths[4] = {1, 2, 3, 4};
};
