#pragma once
#include <QString>
#include <functional>

class BrowseQuery;
class QObject;
class TFindComboBox;
class TLentLines;
class TRxDBGridEx;

// What the pages and windows of the desk use of the customer list, which the customer page
// owns and gives the desk (TDesk::customers). The current row of its query
// `ADOQueryCustomer` is the one current customer of the program.
class TCustomerList {
public:
    // `ADOQueryCustomer`.
    virtual BrowseQuery *list() const = 0;
    // Runs `shown` with the current customer (0 and an empty name for an empty list) after
    // each change of him, once the customer page shows him, while `context` lives.
    virtual void followCurrent(QObject *context, std::function<void(qint64 customer, const QString &name)> shown) = 0;
    // The searches of the customer boxes: each moves the list to the customer found (among
    // those the filter lets through) and hands him on; false, and nothing moves, when there
    // is none. By the number typed, and by the customer behind a name box's proposal.
    virtual bool FindCustomerByNumber(const QString &text) = 0;
    virtual bool FindCustomerOfBox(const TFindComboBox *box) = 0;
    // The customer search dialog opened from `sender` (a name box opens it in its name
    // field), and the new customer.
    virtual void ActionCustomerFindExecute(QObject *sender) = 0;
    virtual void ActionCustomerNewExecute() = 0;
    // The main window's cache of lent lines (`ADOQueryLended`).
    virtual TLentLines *LentLines() const = 0;

protected:
    ~TCustomerList() = default;
};

// What the pages and windows of the desk use of the video list, which the video page owns
// and gives the desk (TDesk::videos). The current row of its query `ADOQueryVideo` is the
// current video of the program.
class TVideoList {
public:
    // `ADOQueryVideo`.
    virtual BrowseQuery *list() const = 0;
    // Runs `shown` with the current video (0 and an empty title for an empty list) after
    // each change of it, once the video page shows it, while `context` lives.
    virtual void followCurrent(QObject *context, std::function<void(qint64 video, const QString &title)> shown) = 0;
    // The searches of the video boxes: each moves the list to the video found (among those
    // the filter lets through) and hands it on; false, and nothing moves, when there is
    // none. By the number typed, and by the beginning of a title (letter case ignored).
    virtual bool FindVideoByNumber(const QString &text) = 0;
    virtual bool FindVideoByTitle(const QString &text) = 0;
    // The video search dialog opened from `sender` (a title box opens it in its title field).
    virtual void ActionVideoFindExecute(QObject *sender) = 0;
    // Colours the rows of a grid that shows `ADOQueryVideo`: a video out now as lent, or as
    // overdue, while the colour setting is on.
    virtual void UseVideoColours(TRxDBGridEx *grid) = 0;

protected:
    ~TVideoList() = default;
};
