#pragma once
#include <memory>

class RefusedCommandHold;

// One change made at the desk (a new, edited or removed customer or video, a lend, a
// return, an import) as one transaction of the program's connection. It begins on
// construction, optionally taking the journal lock first (a transaction that gives out
// "the highest plus one" or checks that a video is not out must win or wait, never
// both desks win). Only commit() keeps the work; leaving the scope otherwise rolls it
// back. A caller shows its refusal only after the guard has rolled back (leave the
// scope, or call rollback()), so no lock is held while a message waits for the clerk.
class DeskTransaction {
public:
    enum Lock { NoLock, JournalLock };
    explicit DeskTransaction(Lock lock = NoLock);
    ~DeskTransaction();
    DeskTransaction(const DeskTransaction &) = delete;
    DeskTransaction &operator=(const DeskTransaction &) = delete;

    // Commits; throws EDatabaseError (after rolling back) when the server refuses.
    void commit();
    // Rolls back now; harmless when already ended.
    void rollback();
    bool active() const { return m_active; }

private:
    bool m_active = false;
    // Refused statements are freed only after the rollback (PostgreSQL).
    std::unique_ptr<RefusedCommandHold> m_hold;
};
