#pragma once
#include "core/database/Money.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The rows a lend leaves, written with plain statements on the program's connection: for
// the tests of what comes after a lend (returns, the journal) without the lend's windows.

void AddTestCustomer(qint64 customer, const QString &name, int restriction = 2);
// A video on the medium of that identity (2 is "DVD" of the seed rows).
void AddTestVideo(qint64 video, const QString &title, int medium = 2);

// One line of a lend document.
struct TestLentLine {
    qint64 video = 0;
    QDate due;
    int days = 1;
    Money fee;      // PUJCOVNE per day
    Money lateFee;  // VRATNE per day over
    Money deposit;  // ZALOHA
    bool free = false;
};
// The lend document `document` of `customer` by the user "sa" at `lent` (its CAS and its
// lines' PUJCENO) with its lines out (PUJCENA 1), the customer's and the videos' lend
// counters raised, as the lend transaction writes them.
void AddTestLend(qint64 document, qint64 customer, const QDateTime &lent, const QList<TestLentLine> &lines);
