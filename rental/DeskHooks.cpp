#include "rental/DeskHooks.h"

#include "core/UValmedo.h"

void PrintReceipt(qint64 document, bool copy)
{
    FormValmedo->parts().receiptPrint(document, copy);
}
