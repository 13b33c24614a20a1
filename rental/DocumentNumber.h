#pragma once
#include <QtGlobal>

// The number of the next lend or return document: the highest in the journal plus one
// (1 for the first). Call it only inside a transaction that holds the journal lock
// (DeskTransaction::JournalLock), so that two desks never take the same number.
qint64 NextDocumentNumber();
