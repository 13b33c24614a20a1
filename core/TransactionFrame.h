#pragma once
#include <functional>

class QDialog;

// The code-book and users windows (media, genres, users) run inside one transaction: the
// main window's action creates the window by the factory the wiring gave for it, begins
// the transaction, shows it modally, commits on Ok (then requeries the lists) and rolls
// back on any other close, and destroys it. The factory opens the window's own query on
// its starting row; the window's destructor closes it.

// Runs `window` modally inside a transaction of the program's connection: commit when
// it closes with Ok, roll back otherwise. True when it was committed.
bool ExecInTransaction(QDialog *window);
// True while a code-book or users window's transaction is open.
bool InTransactionFrame();
// Runs one statement of a window inside the transaction frame under a savepoint, so
// that a statement the server refuses undoes only itself and the transaction goes on
// (PostgreSQL would otherwise abort the whole transaction). Outside a frame it just
// runs `statement`. Rethrows the statement's error.
void FrameStatement(const std::function<void()> &statement);
