#pragma once
#include <QVariant>
#include <functional>

class TTableBack;

// What a return asks of the return page once it has been written or refused. Each may be
// left empty.
struct BackPageHooks {
    // The lists after the transaction: the journal requeried onto `document` (null when no
    // document was written: the journal only moves to its last row), the customer, video
    // and lent-videos lists each requeried on its row, and the cache of lent lines.
    std::function<void(const QVariant &document)> requery;
    // The receipt of the return document just written, with a copy when asked.
    std::function<void(qint64 document, bool copy)> print;
    // The status bars of the return basket and of the journal.
    std::function<void()> statusBars;
};

// Writes the return basket as `customer`'s return, into the takings when `include`, with
// the progress window " Transakce", and logs it ("Transakce [Vracení] ..."). A refusal and
// the warning are shown after the rollback. Either way the basket is empty afterwards (the
// clerk starts a refused return again) and the page's lists and status bars are refreshed.
// True when committed; `document` gets the return document's number (null when none).
bool BackTransaction(TTableBack &basket, qint64 customer, bool include, const BackPageHooks &hooks,
                     QVariant *document = nullptr);

// The numeric "+" of the return page and of the return dialog: the recapitulation of a
// non-empty basket and, confirmed, the transaction, the receipt and, when the rental
// settings ask for it, the change calculator with the return's own late fees and deposits.
// The page then puts the focus back in its customer number box.
void ActionBackBackExecute(TTableBack &basket, qint64 customer, const BackPageHooks &hooks);
