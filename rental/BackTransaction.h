#pragma once
#include <QVariant>
#include <functional>

class TTableBack;

// What a return asks of the return page once it has been written or refused. Each may be
// left empty. The lists after it follow the desk's change signal (TDesk::announce).
struct BackPageHooks {
    // The receipt of the return document just written, with a copy when asked.
    std::function<void(qint64 document, bool copy)> print;
    // The status bar of the return basket.
    std::function<void()> statusBars;
};

// Writes the return basket as `customer`'s return, into the takings when `include`, with
// the progress window " Transakce", and logs it ("Transakce [Vracení] ..."). A refusal and
// the warning are shown after the rollback. Either way the basket is empty afterwards (the
// clerk starts a refused return again), the desk is told of the change (the journal on the
// document, or at its end when none was written; the customer, video and lent-video lists
// each on its row; the cache of lent lines) and the status bars are refreshed.
// True when committed; `document` gets the return document's number (null when none).
bool BackTransaction(TTableBack &basket, qint64 customer, bool include, const BackPageHooks &hooks,
                     QVariant *document = nullptr);

// The numeric "+" of the return page and of the return dialog: the recapitulation of a
// non-empty basket and, confirmed, the transaction, the receipt and, when the rental
// settings ask for it, the change calculator with the return's own late fees and deposits.
// The page then puts the focus back in its customer number box.
void ActionBackBackExecute(TTableBack &basket, qint64 customer, const BackPageHooks &hooks);
