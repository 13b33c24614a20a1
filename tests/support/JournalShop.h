#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// A prepared journal for the tests, written with plain statements as the lend and return
// transactions write their rows. The run date is JournalToday, Thursday 10 December 2026.
//
//  doc  op      time              customer          user       lines  fees  deposits
//   1   lend    10.12.2026 09:00  2 "$" deposits    sa           6    206    201
//   2   lend     8.12.2026 14:30  3 "+" VIP         Pokladní     2     73      0
//   3   return  10.12.2026 23:59  2                 sa           2     32   -101
//   4   lend     1.12.2026 00:00  1                 sa           2     80      0
//   5   lend    10.12.2025 10:00  99 (removed)      sa           1     20      0
//   6   return  15. 1.2026 11:00  99                sa           1     50      0
//
// Document 1 lends six videos: fees 44.35 + 44.40 + 47.91 (a free line of 2 days) + 25.36 +
// 43.48 + 0 (a free line of 1 day) = 205.50, deposits 100.50 + 100.00; its videos 1 and 4
// come back with document 3 (3 days over at 10.50, and none), video 3 comes back out of the
// takings (no return document), videos 2, 5 and 6 are still out (2 due today). Document 4
// has one line out due 20.12. and one overdue since 3.12. Document 5's video comes back
// with document 6, 5 days over at 10.00.
inline const QDate JournalToday(2026, 12, 10);
void AddJournal();

// One row of `tab_pujcky`, at `time` by the user of that ID_UZIVATEL.
void AddDocument(qint64 document, bool lend, const QDateTime &time, qint64 customer, int user);
// One document line as the lend writes it (out, due `due`); `back` with `returnDocument`
// (null: a return out of the takings), `over` days over and the moment of return closes it.
struct JournalLine {
    JournalLine(qint64 document, qint64 video, qint64 customer, const char *fee, const char *lateFee,
                const char *deposit, int days, bool free, const QDate &due, bool back = false,
                const QVariant &returnDocument = QVariant(), int over = 0)
        : document(document), video(video), customer(customer), fee(fee), lateFee(lateFee), deposit(deposit),
          days(days), free(free), due(due), back(back), returnDocument(returnDocument), over(over)
    {
    }
    qint64 document;
    qint64 video;
    qint64 customer;
    const char *fee;
    const char *lateFee;
    const char *deposit;
    int days;
    bool free;
    QDate due;
    bool back;
    QVariant returnDocument;
    int over;
};
void AddJournalLine(const JournalLine &line);
