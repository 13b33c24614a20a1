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
// A video of that genre and medium (identities; 1 is "-" in both), its price as exact text
// ("44.35"), a null `registered` the default time.
struct ShopVideo {
    ShopVideo(qint64 number, const QString &title, int direction = 1, int medium = 1,
              const QString &price = QStringLiteral("100"), const QDateTime &registered = QDateTime())
        : number(number), title(title), direction(direction), medium(medium), price(price), registered(registered)
    {
    }
    qint64 number = 0;
    QString title;
    int direction = 1;
    int medium = 1;
    QString price;
    QDateTime registered;
};
void AddVideo(const ShopVideo &video);
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
// The named column of a video's row, null when there is no such video.
QVariant VideoColumn(qint64 video, const QString &column);
// "document:PUJCENA/HISTORIE" of every line of a video in document order, joined by commas.
QString VideoLines(qint64 video);
