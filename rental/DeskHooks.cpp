#include "rental/DeskHooks.h"

namespace {

JournalRefresh &journalRefresh()
{
    static JournalRefresh refresh;
    return refresh;
}

ReceiptPrint &receiptPrint()
{
    static ReceiptPrint print;
    return print;
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

void SetReceiptPrint(ReceiptPrint print)
{
    receiptPrint() = std::move(print);
}

void PrintReceipt(qint64 document, bool copy)
{
    if (const ReceiptPrint &print = receiptPrint())
        print(document, copy);
}
