#pragma once
#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QTimer;

// The four message windows of one look: a 48 x 48 picture on the left and, beside it at
// 72 pixels, the main text (16 px bold) over its detail line (11 px). They have no
// logic beyond their timers and their buttons; core/Messages.h shows them.

// Shared frame: picture, the two labels and the picture's blinking.
class TMessageForm : public QDialog {
    Q_OBJECT
public:
    QLabel *Image = nullptr;
    QLabel *LabelSpecification = nullptr;
    QTimer *TimerIcon = nullptr; // null in the wait window, which does not blink

protected:
    TMessageForm(const QString &caption, int standardPixmap, const QString &mainLabelName,
                 QSize clientSize, bool blinking);
    QLabel *mainLabel() const { return m_mainLabel; }
    QPushButton *addButton(const QString &name, const QString &text, int left, int top);
    QPushButton *addOkButton(); // "Ok": default button, has the focus, closes the window

private:
    void TimerIconTimer();
    QLabel *m_mainLabel = nullptr;
};

class TFormInformation : public TMessageForm {
    Q_OBJECT
public:
    TFormInformation();
    QLabel *LabelInformation = nullptr;
    QPushButton *ButtonOk = nullptr;
    QTimer *Timer = nullptr; // 2000 ms, started only for the self-closing window

private:
    void TimerTimer();
};

class TFormQuestion : public TMessageForm {
    Q_OBJECT
public:
    TFormQuestion();
    QLabel *LabelQuestion = nullptr;
    QPushButton *ButtonYes = nullptr;
    QPushButton *ButtonNo = nullptr;
};

class TFormWarning : public TMessageForm {
    Q_OBJECT
public:
    TFormWarning();
    QLabel *LabelWarning = nullptr;
    QPushButton *ButtonOk = nullptr;
};

class TFormProgress : public TMessageForm {
    Q_OBJECT
public:
    TFormProgress();
    QLabel *LabelInformation = nullptr; // always "Čekejte prosím..."

    // The work still runs while the window shows: only HideProgress ends it, never Esc
    // or the close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
};

// The last window of each kind created by the routines of core/Messages.h.
extern QPointer<TFormInformation> FormInformation;
extern QPointer<TFormQuestion> FormQuestion;
extern QPointer<TFormWarning> FormWarning;
extern QPointer<TFormProgress> FormProgress;
