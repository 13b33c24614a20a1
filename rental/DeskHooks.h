#pragma once
#include <QtGlobal>

// The receipt of the lend or return document just written, printed or previewed as the
// receipt settings say, with a copy when asked: the main window's receipt print.
void PrintReceipt(qint64 document, bool copy);
