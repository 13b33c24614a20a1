#pragma once
#include "rental/LendStore.h"

#include <QList>
#include <functional>

class TLendDesk;
class TTableLend;

// The confirmation of a lend: the recapitulation, the lend transaction, the receipt and the
// change calculator. The basket must not be empty.
void ActionLendLendExecute(TLendDesk &desk);

// Writes the basket as one lend document of the current customer, showing its progress,
// and logs it. A refusal is shown after the rollback, then the warning. Written or not, the
// basket is empty afterwards and the desk's lists are requeried. Returns the number of the
// document written, 0 when nothing was.
qint64 LendTransaction(TLendDesk &desk);

// The basket's lines in the order they are written: from the current line to the last,
// then back from the line before it to the first.
QList<LendDocumentLine> LendDocumentLines(const TTableLend &basket);

// Prints the receipt of `document` when `print` (through the main window's receipt print,
// rental/DeskHooks.h); nothing otherwise.
void LendPrint(qint64 document, bool print, bool copy);
