#pragma once
#include <QFlags>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>
#include <initializer_list>

class QMenu;
class QWidget;
class TCustomerList;
class TRxDBGridEx;
class TVideoList;

// What a change at the desk touches. The subjects are answered in the order they are
// declared: the journal on the document first, then the lists, the journal on its row and
// last the cache of lent lines.
enum class DeskSubject {
    Document = 0x01,    // the journal requeried onto the document of the key (on its row without one)
    JournalLast = 0x02, // the journal moved to its last row without a requery
    Customers = 0x04,   // the customer list on its row (its change handler empties the baskets)
    Videos = 0x08,      // the video list on its row
    LentVideos = 0x10,  // the return page's list of the current customer's lent videos
    Journal = 0x20,     // the journal requeried on its row
    LentLines = 0x40,   // the cache of lent lines
};
Q_DECLARE_FLAGS(DeskSubjects, DeskSubject)
Q_DECLARE_OPERATORS_FOR_FLAGS(DeskSubjects)

// What the pages of the main window share: the change signal they follow each other by,
// the lists of the customer and video pages (DeskLists.h), the grid pop-up menu and the
// parent of their dialogs. Owned by the main window.
class TDesk : public QObject {
    Q_OBJECT
public:
    explicit TDesk(QWidget *dialogParent);

    // Sends Changed after a transaction, committed or rolled back; `key` is the document
    // the journal stands on (null when none was written).
    void announce(DeskSubjects subjects, const QVariant &key = QVariant());
    // Runs `answer` with the key whenever a change names `subject`, while `context` lives.
    void follow(DeskSubject subject, QObject *context, std::function<void(const QVariant &key)> answer);

    // The customer and the video list, each kept by its page and handed in by the wiring as
    // that page is built, before the pages that use it; null until then.
    TCustomerList *customers() const { return m_customers; }
    TVideoList *videos() const { return m_videos; }
    void setCustomers(TCustomerList *customers) { m_customers = customers; }
    void setVideos(TVideoList *videos) { m_videos = videos; }

    // The grid pop-up menu "PopupMenuRxDBGrid", given to each of `grids`.
    QMenu *popupMenuRxDBGrid() const { return PopupMenuRxDBGrid; }
    void usePopupMenu(std::initializer_list<TRxDBGridEx *> grids) const;
    QWidget *dialogParent() const { return m_dialogParent; }

signals:
    void Changed(DeskSubjects subjects, const QVariant &key);

private:
    void createPopupMenu();
    void answer(DeskSubjects subjects, const QVariant &key);

    struct Answer {
        DeskSubject subject;
        QPointer<QObject> context;
        std::function<void(const QVariant &)> run;
    };
    QList<Answer> m_answers;
    TCustomerList *m_customers = nullptr;
    TVideoList *m_videos = nullptr;
    QWidget *m_dialogParent = nullptr;
    QMenu *PopupMenuRxDBGrid = nullptr;
};

// The main window's desk; null before start-up builds the window and after it ends.
TDesk *MainDesk();
// The main window's customer and video lists; null without the window or the list.
TCustomerList *MainCustomers();
TVideoList *MainVideos();
// Gives each of `grids` the main window's grid pop-up menu, when there is a main window.
void UseDeskPopupMenu(std::initializer_list<TRxDBGridEx *> grids);
