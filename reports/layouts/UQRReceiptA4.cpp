#include "reports/layouts/UQRReceiptA4.h"

TFormQRReceiptA4::TFormQRReceiptA4(ReceiptKind kind, DataSet *lends, DataSet *lines)
    : TFormQRReceipt(kind, lends, lines)
{
    QuickRep.dataSet = lines;
    addShopTexts(QuickRep.addBand(BandType::Title, 112));

    ReportBand *head = QuickRep.addBand(BandType::ColumnHeader, 86);
    addDocumentHead(head, 2, 30, false);
    addRule(head, "QRShapeHeader", 55);
    const QList<ListColumn> columns = this->columns(true);
    AddColumnTitles(head, columns, 62, 82, 8);

    ReportBand *detail = QuickRep.addBand(BandType::Detail, 16);
    const QList<ReportDBText *> texts = AddColumnTexts(detail, lines, columns, 0, 9);
    if (kind == ReceiptKind::Lend) {
        texts.last()->setName(QStringLiteral("QRDBTextPayment01"));
        texts.last()->onPrint = [this](QString &text) { text = lendAmount(); };
    }

    // Both totals are the document's, as the journal books them and the desk asked them;
    // a return's deposits handed back print as a positive amount here.
    ReportBand *summary = QuickRep.addBand(BandType::Summary, 166);
    AddColumnLines(summary, columns, 2);
    addCount(summary, 8);
    addRule(summary, "QRShapeTotal", 29);
    addTaxRow(summary, 40);
    addPaymentTotal(summary, 64);
    addAddition(summary, 68);
    addDepositCaption(summary, 88, kind == ReceiptKind::Lend ? QStringLiteral("Celkem záloha:")
                                                             : QStringLiteral("Vrácena záloha:"));
    addValue(summary, "QRLabelAdvanceTotalValue",
             FormatMoney(QStringLiteral("%m"), kind == ReceiptKind::Lend ? DocumentDeposit : -DocumentDeposit), 718, 88,
             ReportFont(12, true));
    addSignature(summary, 134, 512);
}
