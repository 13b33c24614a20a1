#pragma once
#include "core/Modal.h"

#include <QDialog>
#include <QList>
#include <QTest>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// What a test saw of one window: modal ones as answered, the others as shown.
struct ShownWindow {
    QString className;     // "TFormQuestion", "TFormInformation", ...
    QString caption;       // window title, " Otázka"
    QString text;          // main text: LabelInformation, LabelQuestion or LabelWarning
    QString detail; // LabelSpecification
    QString button;        // objectName of the last button clicked while answering, or ""
    int result = 0;        // result code of a modal window
    bool modal = false;
};

// One scripted answer: gets the open dialog, returns its result code.
using Answer = std::function<int(QDialog *dialog)>;

Answer ClickButton(const QString &objectName); // clicks the named button
Answer PressKey(int key);                      // a key to the dialog's focused control
Answer CloseBox();                             // the title bar's close box
Answer Accept();
Answer Reject();
// Runs `fill` (set values of the dialog's controls), then `then`.
Answer Fill(std::function<void(QDialog *dialog)> fill, Answer then);
// What a file dialog showed before it was answered.
struct FileDialogSeen {
    QString title;    // its caption
    QString proposed; // the name of the file it proposed
};
// Chooses `path` in a file dialog and accepts it; `seen`, when given, gets what it showed.
Answer ChooseFile(const QString &path, FileDialogSeen *seen = nullptr);
// Answers a dialog of class Form: `work` checks and fills it and may close it; a dialog
// left open is cancelled. A dialog of another class fails the test.
template <class Form>
Answer On(std::function<void(Form *)> work)
{
    return [work = std::move(work)](QDialog *dialog) {
        auto *form = qobject_cast<Form *>(dialog);
        if (!form) {
            QTest::qFail(qPrintable("unexpected window " + dialog->windowTitle()), __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        work(form);
        return form->result();
    };
}

// Answers the next modal windows with the given answers, in order, and records every
// window shown meanwhile. Installed for its lifetime (nesting restores the outer one).
// A modal window with no answer left fails the test and is rejected; answers still
// unused at the end fail the test too.
class ModalAnswers : public ModalAnswerer {
public:
    explicit ModalAnswers(QList<Answer> answers = {});
    ~ModalAnswers() override;
    ModalAnswers(const ModalAnswers &) = delete;
    ModalAnswers &operator=(const ModalAnswers &) = delete;

    void add(Answer answer) { m_answers.append(std::move(answer)); }
    // Drops the answers not used yet, for windows that did not open.
    void clear() { m_answers.clear(); }
    const QList<ShownWindow> &shown() const { return m_shown; }
    qsizetype pending() const { return m_answers.size(); }

    int answer(QDialog *dialog) override;
    void shown(QWidget *window) override;

private:
    QList<Answer> m_answers;
    QList<ShownWindow> m_shown;
    ModalAnswerer *m_previous = nullptr;
};

// Describes a window as ShownWindow does (button, result and modal left empty).
ShownWindow DescribeWindow(QWidget *window);

// The modal windows answered, in order (the windows shown without blocking left out).
QList<ShownWindow> ModalWindows(const ModalAnswers &answers);
