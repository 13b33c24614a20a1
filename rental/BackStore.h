#pragma once
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class BrowseQuery;

// The statements of a return: the customer's lent videos, and the return written in one
// transaction. No widgets.

// The lent-videos list of the return page (`ADOQueryBackVideo`): the open lend lines of the
// customer bound to :ZAKAZNIK with their titles and media, in video order. Sets the text,
// the field kinds and the display formats.
void PrepareBackVideoQuery(BrowseQuery &query);

// One line of the return basket as the return writes it.
struct BackLine {
    qint64 video = 0;
    QString title;       // for the caption of a refusal
    QDateTime returned;  // VRACENO: when the video came back, to the minute
    int daysOver = 0;    // PRES
};

// How the writing of a return ended. Anything but Written has been rolled back whole.
struct BackWrite {
    enum Outcome {
        Written,
        VideoNotFound, // a video of the basket is no longer in the catalogue
        VideoNotLent,  // a video is no longer out with this customer (returned elsewhere)
        Failed,        // the database refused a statement or the commit
    };
    Outcome outcome = Written;
    // The number of the return document; null when the return stays out of the takings
    // (or failed before the number was taken). A refused return keeps the number it took,
    // for the log.
    QVariant document;
    BackLine refused;  // the line refused (VideoNotFound, VideoNotLent)
    QString error;     // the database's text (Failed)
};

// What the caller shows while the return is written.
struct BackWriteProgress {
    std::function<void(int line)> line;       // before line n (from 1) is written
    std::function<void(bool commit)> ending;  // before the commit (true) or the rollback
};

// The return of `lines` by `customer`, in one transaction under the journal lock. When
// `include`, the return goes into the takings: a numbered return document (OPERACE 0) of the
// user `user` whose lines are the returned ones. Each line closes this customer's open lend
// line of its video with its return moment, its days over and the return document (null
// when not included); exactly that one row must change. The lend's fees, deposit, dates and
// the lend counters stay as they are. Messages are the caller's, after this has returned.
BackWrite WriteReturn(qint64 customer, const QList<BackLine> &lines, bool include, const QString &user,
                      const BackWriteProgress &progress = {});

// Who has a video out: one open lend line.
struct LentVideo {
    qint64 customer = 0;
    qint64 video = 0;
};
// The open lend lines of the video of that number (at most one while the journal is sound).
QList<LentVideo> LentLinesOfVideo(qint64 video);
// The open lend lines of the videos of that exact title, letter case aside (the copies of a
// title may be out with several customers), in video order.
QList<LentVideo> LentLinesOfTitle(const QString &title);
