#pragma once
#include "core/database/Money.h"
#include "rental/LendRules.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Every statement of a lend, on the program's connection, for both engines. No windows: the
// callers show what happened.

// One line of a lend document, as the basket holds it.
struct LendDocumentLine {
    qint64 video = 0;
    QString title; // for the refusal's caption only
    bool free = false;
    Money fee;     // per day
    Money lateFee; // per day over
    Money deposit;
    QDate due;
    int days = 0;
};

// What became of a lend document. Everything but Written left nothing in the database.
struct LendWriteResult {
    enum Outcome {
        Written,
        CustomerMissing, // the customer's row is gone
        VideoMissing,    // a video's row is gone (`line`)
        VideoOut,        // a video is out, also one that stands twice in the document (`line`)
        Failed,          // the server refused a statement (`error`)
    };
    Outcome outcome = Failed;
    qint64 document = 0; // the number taken; 0 when the lend ended before taking one
    LendDocumentLine line;
    QString error;
    bool written() const { return outcome == Written; }
};

// The stages of the write, for a progress window: `line` before each line is written, with
// its position from 1; `commit` before the commit; `rollback` when the lend is given up,
// before its rollback (or, after a refused commit, once the server has rolled back).
struct LendWriteProgress {
    std::function<void(int position)> line;
    std::function<void()> commit;
    std::function<void()> rollback;
};

// Writes one lend of `customer` as one document, in one transaction under the journal lock:
// the customer's lend count raised by the number of lines, the document numbered the highest
// plus one (1 for the first) with the logged-in user, and per line the video's lend count,
// the check that the video is not out and the document line. The lock makes a second desk
// wait until this one has committed or rolled back, so two desks never take one number nor
// lend one video twice. A refusal or an error rolls the whole lend back before this returns.
LendWriteResult WriteLendDocument(qint64 customer, const QList<LendDocumentLine> &lines,
                                  const LendWriteProgress &progress = {});

// The videos the customer has out now.
int CustomerVideosOut(qint64 customer);
// The videos a customer has out now (`VIDEO`, `TITUL`, `NOSIC`, `PUJCENO`, `VRATIT`), the
// customer's number in the parameter ZAKAZNIK; and how many of them were due before `runDate`.
QStringList CustomerLentSql();
int CustomerOverdueLines(qint64 customer, const QDate &runDate);
// The fee, late fee and deposit of the medium of that name; EDatabaseError when there is none.
LinePrices MediumPrices(const QString &medium);
