#include "reports/layouts/UQRCustomerCardsA4.h"

#include "core/database/DataSet.h"

namespace {

constexpr qreal CardHeight = 256;
constexpr qreal HalfWidth = 358; // the card fills the left half of the band

ReportLabel *Caption(ReportBand *band, const char *text, qreal left, qreal top)
{
    auto *label = band->add<ReportLabel>(QString::fromUtf8(text), left, top);
    label->font = ReportFont(10, false, true);
    return label;
}

ReportDBText *Value(ReportBand *band, DataSet *customers, const char *field, qreal left, qreal top)
{
    auto *text = band->add<ReportDBText>(customers, QString::fromLatin1(field), left, top);
    text->setName(QStringLiteral("QRDBText") + QString::fromLatin1(field));
    text->setBox(HalfWidth - 4 - left); // a long value stops short of the halving line
    return text;
}

} // namespace

TFormQRCustomerCardsA4::TFormQRCustomerCardsA4(DataSet *customers)
    : m_customers(customers)
{
    const qreal width = QuickRep.printableRect().width();
    ReportBand *card = QuickRep.addBand(BandType::Detail, CardHeight);
    card->add<ReportShape>(ShapeKind::Rectangle, 0, 0, width, CardHeight);
    card->add<ReportShape>(ShapeKind::VerticalLine, HalfWidth, 0, 0, CardHeight);
    m_image = card->add<ReportImage>(16, 16, 112, 168);
    m_image->setName(QStringLiteral("QRImage"));

    Caption(card, "Jméno:", 136, 16);
    Caption(card, "Adresa:", 136, 72);
    Caption(card, "RČ:", 136, 120);
    Caption(card, "OP:", 136, 144);
    Caption(card, "Registrace:", 136, 168);
    Value(card, customers, "JMENO", 136, 40)->font = ReportFont(QStringLiteral("Arial Black"), 12);
    Value(card, customers, "ADRESA1", 136, 96);
    Value(card, customers, "RC", 216, 120);
    Value(card, customers, "OP", 216, 144);
    Value(card, customers, "REGISTRACE", 216, 168)->mask = QStringLiteral("dd.MM.yyyy hh:mm");
    auto *number = card->add<ReportDBText>(customers, QStringLiteral("ZAKAZNIK"), 0, 200);
    number->setName(QStringLiteral("QRDBTextZAKAZNIK"));
    number->font = ReportFont(QStringLiteral("Arial Black"), 24);
    number->mask = QStringLiteral("0000000000000");
    // Centred on the middle of 85 to 275, in a box as wide as the card's half allows so
    // that thirteen large digits are never cut.
    constexpr qreal centre = (85 + 275) / 2.0;
    number->setCentredOver(centre - 176, centre + 176);

    EAN.SetModul(1);
    EAN.SetRatio(2);
    EAN.SetTypeEAN(EAN_13);
    EAN.SetShowText(true);
    card->beforePrint = [this](bool &) { QRBandBeforePrint(); };
}

void TFormQRCustomerCardsA4::QRBandBeforePrint()
{
    const QVariant number = m_customers && m_customers->currentRow() >= 0
                                ? m_customers->value(QStringLiteral("ZAKAZNIK"))
                                : QVariant();
    if (number.isNull()) {
        m_image->newDrawing();
        return;
    }
    EAN.SetCode(number.toLongLong());
    m_image->drawBarcode(EAN);
}
