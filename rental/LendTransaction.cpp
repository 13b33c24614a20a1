#include "rental/LendTransaction.h"
#include "rental/DeskHooks.h"

#include "core/Desk.h"
#include "core/Log.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunReported.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/Utils.h"
#include "rental/LendBasket.h"
#include "rental/LendDesk.h"
#include "rental/UCash.h"
#include "rental/URecapitulationLend.h"
#include "rental/UTransactionProgress.h"

#include <QCheckBox>
#include <QCoreApplication>

namespace {

LendDocumentLine DocumentLine(const TTableLend &basket, int row)
{
    auto value = [&](const char *field) { return basket.valueAt(row, basket.fieldIndex(QString::fromLatin1(field))); };
    LendDocumentLine line;
    line.video = value("VIDEO").toLongLong();
    line.title = value("TITUL").toString();
    line.free = value("ZDARMA").toBool();
    line.fee = Money::fromVariant(value("PUJCOVNE"));
    line.lateFee = Money::fromVariant(value("VRATNE"));
    line.deposit = Money::fromVariant(value("ZALOHA"));
    line.due = value("VRATIT").toDate();
    line.days = value("DNY").toInt();
    return line;
}

// The refusal of a lend, shown once the transaction has rolled back.
void ShowRefusal(const LendWriteResult &result, const LendCustomer &customer)
{
    const QString video = VideoCaption(result.line.video, result.line.title);
    switch (result.outcome) {
    case LendWriteResult::CustomerMissing:
        ShowInformation(QStringLiteral("Zákazník nenalezen..."), CustomerCaption(customer.number, customer.name));
        break;
    case LendWriteResult::VideoMissing:
        ShowInformation(QStringLiteral("Video nenalezeno..."), video);
        break;
    case LendWriteResult::VideoOut:
        ShowInformation(QStringLiteral("Video je půjčené..."), video);
        break;
    case LendWriteResult::Written:
    case LendWriteResult::Failed:
        break;
    }
}

} // namespace

QList<LendDocumentLine> LendDocumentLines(const TTableLend &basket)
{
    QList<LendDocumentLine> lines;
    const int current = qMax(0, basket.currentRow());
    for (int row = current; row < basket.recordCount(); ++row)
        lines << DocumentLine(basket, row);
    for (int row = current - 1; row >= 0; --row)
        lines << DocumentLine(basket, row);
    return lines;
}

qint64 LendTransaction(TLendDesk &desk)
{
    TTableLend &basket = desk.TableLend();
    const LendCustomer customer = desk.CurrentCustomer();
    const QList<LendDocumentLine> lines = LendDocumentLines(basket);

    TFormTransactionProgress progress(int(lines.size()));
    ShowPainted(&progress);
    basket.disableControls();
    const quint32 start = TickCount();
    progress.setStage(QStringLiteral("Transaction in progres..."));

    LendWriteProgress stages;
    stages.line = [&progress](int position) { progress.setPosition(position); };
    stages.commit = [&progress] { progress.setStage(QStringLiteral("Transaction commit...")); };
    stages.rollback = [&progress] { progress.setStage(QStringLiteral("Transaction rollback...")); };
    const LendWriteResult result = WriteLendDocument(customer.number, lines, stages);

    // The written lines have left the basket; after a refusal the rest goes with them, and
    // the clerk starts the lend again from the customer.
    basket.emptyTable();
    ShowRefusal(result, customer);
    LogTransaction(QStringLiteral("Půjčení"), start, result.document ? QVariant(result.document) : QVariant(),
                   result.written());
    ShowWarning(result.written(), QStringLiteral("Transakce půjčení skončila s chybou..."),
                QStringLiteral("Půjčení videa neproběhlo..."));
    progress.hide();
    basket.enableControls();
    QCoreApplication::processEvents();

    // The journal stands on the document written (after a refused lend it stays on its row);
    // the customer list empties what a refused lend left in the basket as it moves.
    if (TDesk *main = MainDesk())
        main->announce(DeskSubject::Document | DeskSubject::Customers | DeskSubject::Videos | DeskSubject::LentVideos
                           | DeskSubject::LentLines,
                       result.written() ? QVariant(result.document) : QVariant());
    if (!result.written())
        desk.SetStatusBarLend();
    return result.written() ? result.document : 0;
}

void ActionLendLendExecute(TLendDesk &desk)
{
    TTableLend &basket = desk.TableLend();
    if (basket.isEmpty())
        return;
    // What the document will book: the recapitulation and the calculator ask the customer
    // for it, receipt or none.
    const DocumentAmount amount = basket.amount();
    {
        TFormRecapitulationLend recapitulation(basket, amount, FormSetupPrint->CheckBoxOriginal->isChecked(),
                                               FormSetupPrint->CheckBoxCopy->isChecked());
        if (ExecModal(&recapitulation) == QDialog::Accepted) {
            const bool print = recapitulation.CheckBoxOriginal->isChecked();
            const bool copy = recapitulation.CheckBoxCopy->isChecked();
            recapitulation.hide();
            if (const qint64 document = LendTransaction(desk)) {
                desk.SetStatusBarLend(); // the journal summed itself as it moved onto the document
                // The lend is written whatever becomes of its receipt.
                RunReported([&] { LendPrint(document, print, copy); });
                if (FormSetupVideo->CheckBoxCash->isChecked()) {
                    TFormCash cash(amount.payment, amount.deposit);
                    ExecModal(&cash);
                }
            }
        }
    }
    desk.FocusLendCustomer();
}

void LendPrint(qint64 document, bool print, bool copy)
{
    if (print)
        PrintReceipt(document, copy);
}
