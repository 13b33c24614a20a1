#pragma once
#include "support/DeskProcess.h"

#include <QString>
#include <optional>

class TestDatabase;

// Desks of the whole program for the tests of several desks on one server: the program
// started again in a process of its own, with a working folder of its own, logged in as "sa"
// through its login dialog on the caller's database, and driven by keys as a clerk drives it
// (support/Clerk.h), one command a line:
//
//   "customer <number> <name>"    F2: a new customer, no restriction; replies "ok"
//   "video <number> <title>"      F3: a new video on "DVD"; replies "ok"
//   "lend <customer> <video>..."  a lend by keys, each video for one open day; replies
//                                 "written <document>" or "refused <messages>" (the messages
//                                 the clerk acknowledged, joined by " / ")
//   "refresh"                     the frame's refresh button; replies "ok"
//   "customers"                   the customer page's list: "1=Novák,2=Svoboda"
//   "videos"                      the video page's list with the times each was lent: "1:1,2:0"
//   "journal"                     the journal's documents with their customers: "1:1,2:2"
//   "quit" (or the end of input)  closes the main window with "Ano"
//
// A command that did not go as the clerk expected replies "error <what was shown>".
//
// The test program's main() first calls RunAsClerkDesk(); in a desk process it runs the desk
// and gives its exit code.
std::optional<int> RunAsClerkDesk();

class ClerkDeskProcess : public DeskProcess {
public:
    // A desk on the test's database, logged in as "sa".
    explicit ClerkDeskProcess(const TestDatabase &db);
    // Sends a command and waits for its reply.
    QString ask(const QString &command);
};
