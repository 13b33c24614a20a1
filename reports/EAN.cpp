#include "reports/EAN.h"

#include "reports/ReportCanvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// The code sets A, B and C of the symbology, one four-element code per digit: two spaces
// and two bars of 1 to 4 modules (written as class = modules - 1).
const char *const SetA[10] = {"2605", "1615", "1516", "0805", "0526", "0625", "0508", "0706", "0607", "2506"};
const char *const SetB[10] = {"0517", "0616", "1606", "0535", "1705", "0715", "3505", "1525", "2515", "1507"};
const char *const SetC[10] = {"7150", "6160", "6061", "5350", "5071", "5170", "5053", "5251", "5152", "7051"};
// EAN-13: the first digit chooses set A or B for each digit of the left half.
const char *const Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
const QString Guard = QStringLiteral("505");
const QString CentreGuard = QStringLiteral("05050");

int Digit(const QString &text, int index)
{
    return text.at(index).digitValue();
}

} // namespace

void TEAN::SetCode(qint64 code)
{
    if (code >= 0)
        m_code = code;
}

void TEAN::SetModul(int modul)
{
    if (modul >= 1 && modul <= 48)
        m_modul = modul;
}

QString TEAN::CodeText() const
{
    const int digits = m_type == EAN_8 ? 8 : 13;
    return QStringLiteral("%1").arg(m_code, digits, 10, QChar(u'0'));
}

QString TEAN::BuildPattern()
{
    m_ratio = std::clamp(m_ratio, 2.0, 3.0);
    m_widths[0] = m_modul;
    m_widths[1] = int(std::nearbyint(m_modul * m_ratio)); // halves to even
    m_widths[2] = m_widths[1] * 3 / 2;
    m_widths[3] = m_widths[1] * 2;

    // A number longer than the symbology has only its first digits encoded.
    const QString text = CodeText();
    QString pattern = Guard;
    switch (m_type) {
    case EAN_8:
        for (int i = 0; i < 4; ++i)
            pattern += QLatin1String(SetA[Digit(text, i)]);
        pattern += CentreGuard;
        for (int i = 4; i < 8; ++i)
            pattern += QLatin1String(SetC[Digit(text, i)]);
        break;
    case EAN_13: {
        const char *parity = Parity[Digit(text, 0)];
        for (int i = 1; i < 7; ++i)
            pattern += QLatin1String(parity[i - 1] == 'A' ? SetA[Digit(text, i)] : SetB[Digit(text, i)]);
        pattern += CentreGuard;
        for (int i = 7; i < 13; ++i)
            pattern += QLatin1String(SetC[Digit(text, i)]);
        break;
    }
    default:
        throw std::invalid_argument("TEAN: wrong BarcodeType");
    }
    return pattern + Guard;
}

int TEAN::WidthOf(QChar element) const
{
    return m_widths[(element.unicode() - u'0') % 5];
}

QString TEAN::Pattern()
{
    return BuildPattern();
}

int TEAN::Width()
{
    int width = 0;
    for (QChar element : BuildPattern())
        width += WidthOf(element);
    return width;
}

void TEAN::Draw(ReportCanvas &canvas)
{
    const ReportFont savedFont = canvas.font();
    const QString pattern = BuildPattern();
    const QString text = CodeText();
    const QRect clip = canvas.clipRect();
    const int clipBottom = clip.y() + clip.height(); // just below the canvas

    // The bars end above the code text written in the canvas's current font.
    const int bottom = clipBottom - (canvas.textHeight(text) * (m_showText ? 1 : 0) + 1);
    int x = 0;
    for (QChar element : pattern) {
        const int w = WidthOf(element);
        canvas.fillRect(QRect(x, 0, w, bottom + 1), IsBar(element) ? m_colorBar : m_color);
        x += w;
    }

    if (m_showText) {
        ReportFont small = savedFont;
        small.size = 4;
        canvas.setFont(small);
        const int width = x; // the whole pattern's
        const QPoint at(width / 2 - canvas.textWidth(text) / 2, clipBottom - canvas.textHeight(text) + 1);
        canvas.textOut(at, text, Qt::black, Qt::white);
    }
    canvas.setFont(savedFont);
}
