#pragma once
#include "catalogue/CustomerStore.h"

#include <QList>
#include <QString>
#include <QStringList>

class ModalAnswers;
class QWidget;

// The clerk at the main window of the run (FormValmedo): what a person does at the desk, by
// keys and the window's own buttons. The windows these open are answered through the
// answers given, which the caller keeps, so that it can also see what was shown.

// Makes the main window the active window, as the keys of the desk need.
void ActivateDesk();
// Puts the focus in a box of the main window (an edit or a combo box) and types `text`
// over its content.
void TypeOver(QWidget *box, const QString &text);
// A key to the focused control of the active window, or to the main window when none has
// the focus.
void KeyToDesk(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// F5 and F2: the new-customer dialog filled with `customer`, whose number must be the one
// the dialog proposes, and Ok.
void AddCustomerByKeys(ModalAnswers &answers, const CustomerRecord &customer);

// A video as the new-video dialog takes it: the medium and genre by their names, the price
// as typed ("499,90").
struct VideoEntry {
    qint64 number = 0;
    QString title;
    QString medium;
    QString direction;
    QString price;
};
// F6 and F3: the new-video dialog filled with `video`, whose number must be the one the
// dialog proposes, and Ok.
void AddVideoByKeys(ModalAnswers &answers, const VideoEntry &video);

// A video of a lend and the open days it is lent for.
struct LentVideo {
    qint64 video = 0;
    int days = 1;
};
// F7, the customer's number and Enter; in the lend dialog each video scanned and Enter
// pressed once for each of its days (the first Enter lends it to the next open day, each
// further one a day longer); "+" and the recapitulation confirmed with its print box ticked
// or not. `amount`, when given, gets the recapitulation's amount.
void LendByKeys(ModalAnswers &answers, qint64 customer, const QList<LentVideo> &videos, bool print,
                QString *amount = nullptr);

// F8, the number of a video scanned and Enter: its holder becomes the current customer and
// the return dialog opens with the video in the basket; Space takes all his lent videos
// when `all` says so; "+" and the recapitulation confirmed, the receipt printed or not.
// `amount`, when given, gets the recapitulation's amount.
void ReturnByKeys(ModalAnswers &answers, qint64 video, bool all, bool print, QString *amount = nullptr);

// The frame's refresh button: the lists read again from the database.
void RefreshDesk();

// The log's lines of this run, in the main window's log, without their date and time.
QStringList DeskLogTexts();
