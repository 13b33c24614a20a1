#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// Rows of a shop for the tests, written through the command routines on the program's
// connection. Each throws EDatabaseError when the statement is refused.

// A customer; a null `limit` stores no restriction, a null `registered` the default time.
struct ShopCustomer {
    ShopCustomer(qint64 number, const QString &name, const QString &birthNumber = QString(),
                 const QString &identityCard = QString(), const QVariant &limit = 2,
                 const QDateTime &registered = QDateTime(), const QString &address1 = QString())
        : number(number), name(name), birthNumber(birthNumber), identityCard(identityCard), limit(limit),
          registered(registered), address1(address1)
    {
    }
    qint64 number = 0;
    QString name;
    QString birthNumber;
    QString identityCard;
    QVariant limit = 2;
    QDateTime registered;
    QString address1;
};
void AddCustomer(const ShopCustomer &customer);
// A video of the first medium ("-") and the first genre.
void AddVideo(qint64 video, const QString &title);
// A document line of `customer` for `video` on lend document `document` (the document row
// is not written), due `due` at 00:00; `out` still lent, `history` in the history lists,
// `documented` its documents still exist (DOKLAD).
struct ShopLine {
    ShopLine(qint64 document, qint64 video, qint64 customer, const QDate &due, bool out = true,
             bool history = true, bool documented = true, bool free = false)
        : document(document), video(video), customer(customer), due(due), out(out), history(history),
          documented(documented), free(free)
    {
    }
    qint64 document = 1;
    qint64 video = 1;
    qint64 customer = 1;
    QDate due;
    bool out = true;
    bool history = true;
    bool documented = true;
    bool free = false;
};
void AddLine(const ShopLine &line);
// The named column of a customer's row, null when there is no such customer.
QVariant CustomerColumn(qint64 customer, const QString &column);
// "video:PUJCENA/HISTORIE" of every line of a customer in video order, joined by commas.
QString CustomerLines(qint64 customer);
