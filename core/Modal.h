#pragma once
#include <QString>

class QDialog;
class QWidget;

// Modal windows and the seam through which tests answer them.
//
// Every modal dialog of the program runs through ExecModal(dialog), never through
// dialog->exec() directly; the message windows of core/Messages.h do the same, and the
// windows shown without blocking (the self-closing information window, the wait window)
// are announced through NoteShownWindow().
//
// Normally ExecModal() just calls exec(). When a ModalAnswerer is installed, ExecModal()
// shows the dialog without blocking (so its show and hide handlers run as usual), hands
// it to the answerer, and returns the answerer's result code; a dialog the answerer left
// open is closed with that code, as a person's Ok or Cancel would close it.
//
// Tests do not implement ModalAnswerer themselves: they use ModalAnswers from
// tests/support/ModalAnswers.h, e.g.
//
//     ModalAnswers answers({ClickButton("ButtonYes")});   // answers the next modal window
//     QVERIFY(ShowQuestion("Vymazat ?", "..."));
//     QCOMPARE(answers.shown().at(0).caption, " Otázka");
//     QCOMPARE(answers.shown().at(0).button, "ButtonYes");
//
// An answer gets the dialog, finds its controls by objectName (findChild), may set
// values, click a named button or send keys, and returns the result code.
class ModalAnswerer {
public:
    virtual ~ModalAnswerer() = default;
    // Answers a modal dialog in place of the person at the desk; returns its result code.
    virtual int answer(QDialog *dialog) = 0;
    // A window was shown without blocking (nothing to answer).
    virtual void shown(QWidget *window) { Q_UNUSED(window); }
};

// Installs `answerer` (nullptr: none, dialogs run modally again). Returns the one
// installed before, so that answerers can be nested and put back.
ModalAnswerer *InstallModalAnswerer(ModalAnswerer *answerer);
ModalAnswerer *InstalledModalAnswerer();

// Runs `dialog` modally and returns its result code (QDialog::Accepted, Rejected or the
// code given to done()).
int ExecModal(QDialog *dialog);

// Announces a window shown without blocking to the installed answerer, if any.
void NoteShownWindow(QWidget *window);
