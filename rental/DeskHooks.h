#pragma once
#include <QVariant>
#include <functional>

// What the lend and return pages hand on to units built apart from them. Each unit registers
// its piece when it is built; until then the pages do without it.

// The journal after a lend or a return: its list requeried and standing on `document`, or,
// when no document was written (null), only moved to its last row; then its status bar.
using JournalRefresh = std::function<void(const QVariant &document)>;
void SetJournalRefresh(JournalRefresh refresh);
void RefreshJournal(const QVariant &document);

// The receipt of the lend or return document just written, printed or previewed as the
// receipt settings say, with a copy when asked: the main window's receipt print.
void PrintReceipt(qint64 document, bool copy);
