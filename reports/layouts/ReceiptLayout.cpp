#include "reports/layouts/ReceiptLayout.h"

#include "core/Texts.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/controls/IntegerEdit.h"
#include "core/database/DataSet.h"
#include "reports/layouts/ReceiptRules.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace {

const QString Number = QStringLiteral("0000000000000");
const QString Amount = QStringLiteral(",0.00");

} // namespace

TFormQRReceipt::TFormQRReceipt(ReceiptKind kind, DataSet *lends, DataSet *lines)
    : m_kind(kind), m_lends(lends), m_lines(lines)
{
    TaxRate = FormSetupVideo->IntegerEditTax->Value();
    DocumentPayment = Money::fromVariant(lends->value(QStringLiteral("PLATBA_CELKEM")));
    DocumentDeposit = Money::fromVariant(lends->value(QStringLiteral("ZALOHA_CELKEM")));
    m_customer = ReadReceiptCustomer(lends->value(QStringLiteral("ZAKAZNIK")).toLongLong());
}

QList<ListColumn> TFormQRReceipt::columns(bool wholePage) const
{
    const QString video = QStringLiteral("VIDEO");
    QList<ListColumn> columns = {{QStringLiteral("Kód"), video, 0, 90, Number},
                                 {QStringLiteral("Název"), QStringLiteral("TITUL"), 96, 266},
                                 {QStringLiteral("Nosič"), QStringLiteral("NOSIC"), 369, 110}};
    const QString due = QStringLiteral("dd.MM.yyyy");
    const QString deposit = QStringLiteral("Záloha [Kč]");
    if (m_kind == ReceiptKind::Lend) {
        columns.append({{QStringLiteral("Dny"), QStringLiteral("DNY"), 486, 24, QString(), TextAlign::Right},
                        {QStringLiteral("Do"), QStringLiteral("VRATIT"), 516, 64, due},
                        {deposit, QStringLiteral("ZALOHA"), 586, 64, Amount, TextAlign::Right},
                        {QStringLiteral("Platba [Kč]"), QStringLiteral("PUJCOVNE_CELKEM"), 656, 62, Amount,
                         TextAlign::Right}});
    } else {
        columns.append({{QStringLiteral("Přes"), QStringLiteral("PRES"), 486, 28, QString(), TextAlign::Right},
                        {QStringLiteral("Do"), QStringLiteral("VRATIT"), 520, 64, due},
                        {deposit, QStringLiteral("ZALOHA"), 590, 56, Amount, TextAlign::Right},
                        {wholePage ? QStringLiteral("Doplatek [Kč]") : QStringLiteral("Platba [Kč]"),
                         QStringLiteral("VRATNE_CELKEM"), 652, 66, Amount, TextAlign::Right}});
    }
    return columns;
}

ReportMemo *TFormQRReceipt::addMemo(ReportBand *band, const char *name, const QPlainTextEdit *source, qreal left,
                                    qreal width, const ReportFont &font)
{
    auto *memo = band->add<ReportMemo>(left, 8, width, 72);
    memo->setName(QString::fromLatin1(name));
    memo->lines = MemoLines(source->toPlainText());
    memo->font = font;
    return memo;
}

void TFormQRReceipt::addShopTexts(ReportBand *band)
{
    const ReportFont small(QStringLiteral("Microsoft Sans Serif"), 7);
    addMemo(band, "QRMemoAdress", FormSetupPrint->MemoAddress, 0, 122, small);
    addMemo(band, "QRMemoTitle", FormSetupPrint->MemoTitle, 135, 448, ReportFont(11, true))
        ->setBox(448, TextAlign::Centre);
    addMemo(band, "QRMemoInfo", FormSetupPrint->MemoInfo, 596, 122, small);
    auto *title = band->add<ReportLabel>(m_kind == ReceiptKind::Lend ? QStringLiteral("Pokladní doklad - půjčené video")
                                                                     : QStringLiteral("Pokladní doklad - vrácené video"),
                                         0, 84);
    title->setName(QStringLiteral("QRLabelVoucherTitle"));
    title->font = ReportFont(14, true);
    title->setCentredOver(211, 507);
}

void TFormQRReceipt::addDocumentHead(ReportBand *band, qreal top, qreal customerTop, bool boldNumber)
{
    struct Item {
        const char *name;
        const char *caption;
        const char *field;
        qreal left;
        qreal valueLeft;
        const char *mask;
        const QCheckBox *shown;
        bool bold;
    };
    const Item items[] = {
        {"Voucher", "Číslo dokladu:", "DOKLAD", 0, 87, "0000000000000", FormSetupPrint->CheckBoxVoucher, boldNumber},
        {"Date", "Datum a čas vystavení:", "CAS", 192, 325, "dd.MM.yyyy hh:mm", FormSetupPrint->CheckBoxDate, false},
        {"DateTax", "Datum zdanitelného plnění:", "CAS", 492, 650, "dd.MM.yyyy", FormSetupPrint->CheckBoxDateTax, false},
    };
    for (const Item &item : items) {
        auto *label = band->add<ReportLabel>(QString::fromUtf8(item.caption), item.left, top);
        label->setName(QStringLiteral("QRLabel") + QString::fromLatin1(item.name));
        label->font = ReportFont(9);
        auto *value = band->add<ReportDBText>(m_lends, QString::fromLatin1(item.field), item.valueLeft, top);
        value->setName(QStringLiteral("QRDBText") + QString::fromLatin1(item.name));
        value->font = ReportFont(9, item.bold);
        value->mask = QString::fromLatin1(item.mask);
        label->setEnabled(item.shown->isChecked());
        value->setEnabled(item.shown->isChecked());
    }

    const ReportFont bold(9, true);
    band->add<ReportLabel>(QStringLiteral("Zákazník:"), 0, customerTop)->font = bold;
    auto *customer = band->add<ReportDBText>(m_lends, QStringLiteral("ZAKAZNIK"), 87, customerTop);
    customer->setName(QStringLiteral("QRDBTextCustomer"));
    customer->font = bold;
    customer->mask = Number;
    // The name stops short of the address, the address at the edge of the paper.
    auto *name = band->add<ReportLabel>(m_customer.name, 192, customerTop);
    name->setName(QStringLiteral("QRDBTextName"));
    name->font = bold;
    name->setBox(154);
    auto *address = band->add<ReportLabel>(m_customer.address, 350, customerTop);
    address->setName(QStringLiteral("QRDBTextAddress"));
    address->font = bold;
    address->setBox(368);
}

void TFormQRReceipt::addCount(ReportBand *band, qreal top)
{
    auto *label = band->add<ReportLabel>(QStringLiteral("Počet položek:"), 0, top);
    label->setName(QStringLiteral("QRLabelCount"));
    label->font = ReportFont(9, true);
    label->setBox(90);
    auto *count = band->add<ReportSysData>(SysData::DetailCount, 96, top);
    count->setName(QStringLiteral("QRSysDataCount"));
    count->font = ReportFont(10, true);
    count->countDataSet = m_lines;
}

void TFormQRReceipt::addValue(ReportBand *band, const char *name, const QString &text, qreal rightEdge, qreal top,
                              const ReportFont &font)
{
    auto *value = band->add<ReportLabel>(text, rightEdge, top);
    value->setName(QString::fromLatin1(name));
    value->font = font;
    value->setRightEdge(rightEdge);
}

void TFormQRReceipt::addTaxRow(ReportBand *band, qreal top)
{
    const TaxSplit split = SplitTax(DocumentPayment, TaxRate);
    const QString rate = QString::number(TaxRate);
    const ReportFont small(9);
    const ReportFont large(12);
    const qsizetype first = band->controls().size();
    auto *free = band->add<ReportLabel>(QStringLiteral("Cena bez DPH (%1%):").arg(rate), 0, top);
    free->setName(QStringLiteral("QRLabelFree"));
    free->font = small;
    addValue(band, "QRLabelFreeValue", FormatMoney(QStringLiteral("%m"), split.base), 225, top, small);
    auto *tax = band->add<ReportLabel>(QStringLiteral("DPH (%1%):").arg(rate), 240, top);
    tax->setName(QStringLiteral("QRLabelTax"));
    tax->font = small;
    addValue(band, "QRLabelTaxValue", FormatMoney(QStringLiteral("%m"), split.vat), 394, top, small);
    auto *freeTotal = band->add<ReportLabel>(QStringLiteral("Celkem bez DPH:"), 440, top);
    freeTotal->setName(QStringLiteral("QRLabelFreeTotal"));
    freeTotal->font = large;
    addValue(band, "QRLabelFreeTotalValue", FormatMoney(QStringLiteral("%m"), split.base), 718, top, large);
    // Without VAT the row prints nothing.
    for (qsizetype i = first; i < qsizetype(band->controls().size()); ++i)
        band->controls().at(i)->setEnabled(TaxRate > 0);
}

void TFormQRReceipt::addPaymentTotal(ReportBand *band, qreal top)
{
    const ReportFont font(12, true);
    auto *label = band->add<ReportLabel>(TaxRate > 0 ? QStringLiteral("Celkem včetně DPH:") : QStringLiteral("Celkem:"),
                                         440, top);
    label->setName(QStringLiteral("QRLabelPaymentTotal"));
    label->font = font;
    addValue(band, "QRLabelPaymentTotalValue", FormatMoney(QStringLiteral("%m"), DocumentPayment), 718, top, font);
}

void TFormQRReceipt::addAddition(ReportBand *band, qreal top)
{
    auto *memo = band->add<ReportMemo>(0, top, 416, 66);
    memo->setName(QStringLiteral("QRMemoAddition"));
    memo->lines = MemoLines(FormSetupPrint->MemoAddition->toPlainText());
    memo->font = ReportFont(9);
}

ReportLabel *TFormQRReceipt::addDepositCaption(ReportBand *band, qreal top, const QString &caption)
{
    auto *label = band->add<ReportLabel>(caption, 440, top);
    label->setName(QStringLiteral("QRLabelAdvanceTotal"));
    label->font = ReportFont(12, true);
    return label;
}

void TFormQRReceipt::addSignature(ReportBand *band, qreal top, qreal left)
{
    auto *signature = band->add<ReportLabel>(QStringLiteral("Razítko a podpis"), left, top);
    signature->setName(QStringLiteral("QRLabelSignature"));
    signature->font = ReportFont(10);
}

void TFormQRReceipt::addRule(ReportBand *band, const char *name, qreal top)
{
    band->add<ReportShape>(ShapeKind::HorizontalLine, 0, top, 719)->setName(QString::fromLatin1(name));
}

QString TFormQRReceipt::lendAmount() const
{
    return LendAmountText(m_lines->value(QStringLiteral("ZDARMA")).toBool(),
                          Money::fromVariant(m_lines->value(QStringLiteral("PUJCOVNE_CELKEM"))));
}
