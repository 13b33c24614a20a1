#pragma once
#include "support/DeskProcess.h"

#include <QList>
#include <QString>
#include <optional>

// Further desks for the tests and benchmarks that need several desks lending and returning at
// the same moment: the same program started again as a desk process, with a connection of its
// own to the database of the caller, writing lends through WriteLendDocument and returns
// through WriteReturn on command.
//
// The program's main() first calls RunAsLendDesk(); in a desk process it runs the desk and
// gives its exit code. The caller starts desks with LendDeskProcess.
//
// Commands, one line each, and their replies:
//   "lend <customer> <video>..."  one lend, each line 1 day at 30 Kč, late fee 10 Kč and no
//                                 deposit; replies "written <document>", "refused <outcome>
//                                 <document> <video>" or "failed <document> <error>"
//   "return <include> <video>"    a return as the return page makes it from a scanned video:
//                                 the video's holder found by its number, then all his lent
//                                 videos taken back, into the takings when <include> is 1;
//                                 replies "returned <document> <lines>" (document 0 when out
//                                 of the takings), "refused not-out 0 <video>" when no one
//                                 has the video, "refused <outcome> <document> <video>" when
//                                 the return is refused or "failed <document> <error>"
//   "loop <seed> <customers> <videos>"  lends of 1 to 3 random videos to random customers for
//                                 ever; a video found out is returned as above, into the
//                                 takings or not at random. One "written <document>" line per
//                                 lend and one "returned <document> <lines>" per return
//                                 written (for runs that kill the desk)
//   "loop-lends <seed> <customers> <videos>"  the same lends only: a video found out is
//                                 freed by a statement of its own, not by a return
//   "quit" (or the end of input)  ends the desk

// In a desk process: runs the desk and returns its exit code; otherwise nothing.
std::optional<int> RunAsLendDesk();

// Gives back `video` (every video out when 0) with a statement of its own, for the runs of
// lends only: the lines closed at this moment, no return written, the lend counts left as they
// are. Throws EDatabaseError when refused.
void FreeLentVideos(qint64 video = 0);

class LendDeskProcess : public DeskProcess {
public:
    // A desk of this program on the database that the program's connection is on now
    // (server name, physical database name and "sa"'s password).
    LendDeskProcess(const QString &serverName, const QString &databaseName, const QString &password);

    void lend(qint64 customer, const QList<qint64> &videos);
    // The return of everything the holder of `video` has out.
    void back(qint64 video, bool include);
};
