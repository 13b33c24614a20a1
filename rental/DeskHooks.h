#pragma once
#include <QVariant>
#include <functional>

// What the lend and return pages hand on to units built apart from them. Each unit registers
// its piece when it is built; until then the pages do without it.

// The receipt of the lend or return document just written, printed or previewed as the
// receipt settings say, with a copy when asked.
using ReceiptPrint = std::function<void(qint64 document, bool copy)>;
void SetReceiptPrint(ReceiptPrint print);
void PrintReceipt(qint64 document, bool copy);
