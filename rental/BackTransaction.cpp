#include "rental/BackTransaction.h"

#include "core/Desk.h"
#include "core/Log.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/USetupVideo.h"
#include "core/Utils.h"
#include "rental/BackBasket.h"
#include "rental/BackStore.h"
#include "rental/URecapitulationBack.h"
#include "rental/UCash.h"
#include "rental/UTransactionProgress.h"

#include <QCheckBox>
#include <QCoreApplication>

namespace {

BackLine LineAt(const TTableBack &basket, int row)
{
    BackLine line;
    line.video = basket.valueAt(row, basket.fieldIndex(QStringLiteral("VIDEO"))).toLongLong();
    line.title = basket.valueAt(row, basket.fieldIndex(QStringLiteral("TITUL"))).toString();
    line.returned = basket.valueAt(row, basket.fieldIndex(QStringLiteral("VRACENO"))).toDateTime();
    line.daysOver = basket.valueAt(row, basket.fieldIndex(QStringLiteral("PRES"))).toInt();
    return line;
}

// The lines from the current one to the last, then those before it backwards: the order in
// which a basket emptied from its current line gives them up.
QList<BackLine> LinesToWrite(const TTableBack &basket)
{
    QList<BackLine> lines;
    const int current = qMax(basket.currentRow(), 0);
    for (int row = current; row < basket.recordCount(); ++row)
        lines << LineAt(basket, row);
    for (int row = current - 1; row >= 0; --row)
        lines << LineAt(basket, row);
    return lines;
}

QString RefusalText(BackWrite::Outcome outcome)
{
    return outcome == BackWrite::VideoNotFound ? QStringLiteral("Video nenalezeno...")
                                               : QStringLiteral("Video není půjčené...");
}

} // namespace

bool BackTransaction(TTableBack &basket, qint64 customer, bool include, const BackPageHooks &hooks,
                     QVariant *document)
{
    const QList<BackLine> lines = LinesToWrite(basket);
    BackWrite write;
    {
        TFormTransactionProgress progress(int(lines.size()));
        ShowPainted(&progress);
        const quint32 start = TickCount();
        progress.setStage(QStringLiteral("Transaction in progres..."));
        write = WriteReturn(customer, lines, include, UserName(),
                            {[&](int line) { progress.setPosition(line); },
                             [&](bool commit) {
                                 progress.setStage(commit ? QStringLiteral("Transaction commit...")
                                                          : QStringLiteral("Transaction rollback..."));
                             }});
        const bool written = write.outcome == BackWrite::Written;
        LogTransaction(QStringLiteral("Vracení"), start, write.document, written);
        // Nothing is locked any more while the clerk reads these.
        if (write.outcome == BackWrite::VideoNotFound || write.outcome == BackWrite::VideoNotLent)
            ShowInformation(RefusalText(write.outcome), VideoCaption(write.refused.video, write.refused.title));
        ShowWarning(written, QStringLiteral("Transakce vracení skončila s chybou..."),
                    QStringLiteral("Vracení videa neproběhlo..."));
    }
    QCoreApplication::processEvents();

    const bool written = write.outcome == BackWrite::Written;
    // Written, every line has left the basket; refused, the clerk starts again from the customer.
    basket.emptyTable();
    const QVariant writtenDocument = written ? write.document : QVariant();
    // The customer list empties a basket that still holds lines when it moves.
    if (TDesk *desk = MainDesk())
        desk->announce((writtenDocument.isNull() ? DeskSubject::JournalLast : DeskSubject::Document)
                           | DeskSubject::Customers | DeskSubject::Videos | DeskSubject::LentVideos
                           | DeskSubject::LentLines,
                       writtenDocument);
    if (hooks.statusBars)
        hooks.statusBars();
    if (document)
        *document = writtenDocument;
    return written;
}

void ActionBackBackExecute(TTableBack &basket, qint64 customer, const BackPageHooks &hooks)
{
    if (basket.isEmpty())
        return;
    // What the return document will book (also when the return stays out of the takings):
    // the recapitulation and the calculator show it.
    const DocumentAmount amount = basket.amount();
    TFormRecapitulationBack recapitulation(basket, basket.totals(), amount);
    if (ExecModal(&recapitulation) != QDialog::Accepted)
        return;
    QVariant document;
    if (!BackTransaction(basket, customer, recapitulation.CheckBoxInclude->isChecked(), hooks, &document))
        return;
    // The return is written whatever becomes of its receipt.
    if (recapitulation.CheckBoxOriginal->isChecked() && !document.isNull() && hooks.print)
        RunReported([&] { hooks.print(document.toLongLong(), recapitulation.CheckBoxCopy->isChecked()); });
    if (FormSetupVideo && FormSetupVideo->CheckBoxCash->isChecked()) {
        TFormCash cash(amount.payment, amount.deposit);
        ExecModal(&cash);
    }
}
