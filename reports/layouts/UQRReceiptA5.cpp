#include "reports/layouts/UQRReceiptA5.h"

#include "core/database/DataSet.h"

namespace {

constexpr int Rows = 10;
constexpr qreal RowHeight = 16;

} // namespace

TFormQRReceiptA5::TFormQRReceiptA5(ReceiptKind kind, DataSet *lends, DataSet *lines)
    : TFormQRReceipt(kind, lends, lines)
{
    // The report walks no rows of its own; it keeps the lines' cursor where the caller had it.
    QuickRep.dataSet = lines;
    auto *half = QuickRep.add<ReportShape>(ShapeKind::HorizontalLine, 38, 560, 718);
    half->setName(QStringLiteral("QRShapeHalf"));
    half->penStyle = Qt::DashDotLine;

    QRLoopBand = QuickRep.addBand(BandType::Loop, 523);
    QRLoopBand->beforePrint = [this](bool &) { m_lines->first(); };
    addShopTexts(QRLoopBand);
    addDocumentHead(QRLoopBand, 114, 142, kind == ReceiptKind::Lend);
    addRule(QRLoopBand, "QRShapeHeader", 167);
    const QList<ListColumn> columns = this->columns(false);
    AddColumnTitles(QRLoopBand, columns, 174, 194, 8);
    for (int row = 1; row <= Rows; ++row)
        addRow(row, columns);

    // The totals follow the last row used; the signature keeps its place.
    const qreal top = -(Rows - qMin(Rows, lines->recordCount())) * RowHeight;
    AddColumnLines(QRLoopBand, columns, top + 361);
    addCount(QRLoopBand, top + 367);
    addRule(QRLoopBand, "QRShapeTotal", top + 387);
    addTaxRow(QRLoopBand, top + 398);
    addPaymentTotal(QRLoopBand, top + 422);
    addAddition(QRLoopBand, top + 426);
    addDepositCaption(QRLoopBand, top + 448, QStringLiteral("Celkem záloha:"));
    addValue(QRLoopBand, "QRLabelAdvanceTotalValue", FormatMoney(QStringLiteral("%m"), DocumentDeposit), 718,
             top + 448, ReportFont(12, true));
    addSignature(QRLoopBand, 492, 520);
}

void TFormQRReceiptA5::addRow(int row, const QList<ListColumn> &columns)
{
    const QList<ReportDBText *> texts =
        AddColumnTexts(QRLoopBand, m_lines, columns, 198 + RowHeight * (row - 1), 9);
    for (ReportDBText *text : texts)
        text->setName(QStringLiteral("%1%2").arg(text->name()).arg(row, 2, 10, QChar(u'0')));
    for (qsizetype i = 0; row > 1 && i + 1 < texts.size(); ++i)
        texts.at(i)->onPrint = [this](QString &text) {
            if (m_lines->eof())
                text.clear();
        };
    // The amount is the last text of its row: it moves the cursor on to the next row's line.
    texts.last()->onPrint = [this](QString &text) {
        if (m_lines->eof()) {
            text.clear();
            return;
        }
        if (m_kind == ReceiptKind::Lend)
            text = lendAmount();
        m_lines->next();
    };
}
