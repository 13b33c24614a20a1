#include "rental/DeskHooks.h"

#include "core/UValmedo.h"

namespace {

JournalRefresh &journalRefresh()
{
    static JournalRefresh refresh;
    return refresh;
}

} // namespace

void SetJournalRefresh(JournalRefresh refresh)
{
    journalRefresh() = std::move(refresh);
}

void RefreshJournal(const QVariant &document)
{
    if (const JournalRefresh &refresh = journalRefresh())
        refresh(document);
}

void PrintReceipt(qint64 document, bool copy)
{
    FormValmedo->parts().receiptPrint(document, copy);
}
