#include "core/Messages.h"

#include "core/MessageForms.h"
#include "core/Modal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QSoundEffect>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <memory>

// One effect per file is kept for the run, because a destroyed effect stops playing.
void PlayWave(const QString &fileName)
{
    const QFileInfo file(QDir::current().absoluteFilePath(fileName));
    if (!file.isFile() || !QCoreApplication::instance())
        return;
    static QHash<QString, QSoundEffect *> effects;
    QSoundEffect *&effect = effects[file.absoluteFilePath()];
    if (!effect) {
        effect = new QSoundEffect(QCoreApplication::instance());
        QObject::connect(effect, &QObject::destroyed, [path = file.absoluteFilePath()] {
            effects.remove(path);
        });
        effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    }
    effect->play();
}

namespace {

// The wait window is shown once for nested calls and closes when the outermost one ends.
int progressDepth = 0;
// The window active before it: a platform that activated the wait window all the same
// leaves no window active when it closes, and the clerk's window gets the keys back.
QPointer<QWidget> activeBeforeProgress;

// The callers break their two-line texts with a carriage return, as the message windows
// of the Windows desks did; a label breaks lines only at "\n".
QString DisplayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void SetTexts(QLabel *main, QLabel *detailLabel, const QString &text, const QString &detail)
{
    main->setText(DisplayText(text));
    detailLabel->setText(DisplayText(detail));
}

} // namespace

void ShowInformation(const QString &text, const QString &detail, bool autoClose,
                     QWidget *focusControl)
{
    PlayWave(QStringLiteral("Information.wav"));
    auto *form = new TFormInformation;
    FormInformation = form;
    SetTexts(form->LabelInformation, form->LabelSpecification, text, detail);

    if (autoClose) {
        // Shown beside the work, which goes on in the caller's control; the window
        // destroys itself when its timer fires, also when Ok has hidden it before.
        form->setAttribute(Qt::WA_ShowWithoutActivating);
        form->Timer->start();
        form->show();
        NoteShownWindow(form);
        if (focusControl) {
            focusControl->activateWindow();
            focusControl->setFocus();
        }
        return;
    }

    std::unique_ptr<TFormInformation> owner(form);
    ExecModal(form);
}

bool ShowQuestion(const QString &text, const QString &detail, bool yesIsDefault)
{
    PlayWave(QStringLiteral("Question.wav"));
    std::unique_ptr<TFormQuestion> form(new TFormQuestion);
    FormQuestion = form.get();
    SetTexts(form->LabelQuestion, form->LabelSpecification, text, detail);
    (yesIsDefault ? form->ButtonYes : form->ButtonNo)->setFocus();
    return ExecModal(form.get()) == QDialog::Accepted;
}

void ShowWarning(bool success, const QString &text, const QString &detail)
{
    if (success)
        return;
    PlayWave(QStringLiteral("Warning.wav"));
    std::unique_ptr<TFormWarning> form(new TFormWarning);
    FormWarning = form.get();
    SetTexts(form->LabelWarning, form->LabelSpecification, text, detail);
    ExecModal(form.get());
}

void ShowProgress(const QString &detail)
{
    if (progressDepth > 0 && FormProgress) {
        ++progressDepth;
        FormProgress->LabelSpecification->setText(DisplayText(detail));
        FormProgress->repaint();
        return;
    }
    progressDepth = 1;
    activeBeforeProgress = QApplication::activeWindow();
    auto *form = new TFormProgress;
    FormProgress = form;
    form->LabelSpecification->setText(DisplayText(detail));
    form->show();
    NoteShownWindow(form);
    // Painted now: the long work that follows processes no messages.
    form->repaint();
    QCoreApplication::processEvents();
}

void ShowPainted(QWidget *window)
{
    window->show();
    // Bounded: a window system that never maps the window must not hold the transaction.
    QElapsedTimer waited;
    waited.start();
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    window->repaint();
    NoteShownWindow(window);
}

void HideProgress()
{
    if (progressDepth == 0)
        return;
    if (--progressDepth > 0)
        return;
    delete FormProgress.data();
    if (activeBeforeProgress && !QApplication::activeWindow())
        activeBeforeProgress->activateWindow();
}
