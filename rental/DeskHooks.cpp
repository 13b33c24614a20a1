#include "rental/DeskHooks.h"

namespace {

ReceiptPrint &receiptPrint()
{
    static ReceiptPrint print;
    return print;
}

} // namespace

void SetReceiptPrint(ReceiptPrint print)
{
    receiptPrint() = std::move(print);
}

void PrintReceipt(qint64 document, bool copy)
{
    if (const ReceiptPrint &print = receiptPrint())
        print(document, copy);
}
