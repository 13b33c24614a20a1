#include "support/ModalAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

ShownWindow DescribeWindow(QWidget *window)
{
    ShownWindow w;
    w.className = QString::fromLatin1(window->metaObject()->className());
    w.caption = window->windowTitle();
    for (const char *name : {"LabelInformation", "LabelQuestion", "LabelWarning"}) {
        if (auto *label = window->findChild<QLabel *>(QString::fromLatin1(name))) {
            w.text = label->text();
            break;
        }
    }
    if (auto *label = window->findChild<QLabel *>(QStringLiteral("LabelSpecification")))
        w.detail = label->text();
    return w;
}

Answer ClickButton(const QString &objectName)
{
    return [objectName](QDialog *dialog) {
        auto *button = dialog->findChild<QAbstractButton *>(objectName);
        if (!button) {
            QTest::qFail(qPrintable(QStringLiteral("No button %1 in %2")
                                        .arg(objectName, dialog->windowTitle())),
                         __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        button->click();
        return dialog->result();
    };
}

Answer PressKey(int key)
{
    return [key](QDialog *dialog) {
        QWidget *target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(target, Qt::Key(key));
        return dialog->result();
    };
}

Answer CloseBox()
{
    return [](QDialog *dialog) {
        dialog->close();
        return dialog->result();
    };
}

Answer Accept()
{
    return [](QDialog *dialog) {
        dialog->accept();
        return dialog->result();
    };
}

Answer Reject()
{
    return [](QDialog *dialog) {
        dialog->reject();
        return dialog->result();
    };
}

Answer Fill(std::function<void(QDialog *)> fill, Answer then)
{
    return [fill = std::move(fill), then = std::move(then)](QDialog *dialog) {
        fill(dialog);
        return then(dialog);
    };
}

Answer ChooseFile(const QString &path, FileDialogSeen *seen)
{
    return Fill(
        [path, seen](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            QVERIFY(files);
            if (seen) {
                seen->title = files->windowTitle();
                seen->proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
            }
            files->selectFile(path);
        },
        Accept());
}

ModalAnswers::ModalAnswers(QList<Answer> answers)
    : m_answers(std::move(answers)), m_previous(InstallModalAnswerer(this))
{
}

ModalAnswers::~ModalAnswers()
{
    InstallModalAnswerer(m_previous);
    if (!m_answers.isEmpty() && !QTest::currentTestFailed())
        QTest::qFail(qPrintable(QStringLiteral("%1 scripted answer(s) unused").arg(m_answers.size())),
                     __FILE__, __LINE__);
}

int ModalAnswers::answer(QDialog *dialog)
{
    ShownWindow w = DescribeWindow(dialog);
    w.modal = true;
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("Unexpected modal window \"%1\" (%2)")
                                    .arg(w.caption, w.text)),
                     __FILE__, __LINE__);
        m_shown.append(w);
        return QDialog::Rejected;
    }
    const Answer next = m_answers.takeFirst();

    // Note which button the answer pressed, whether by click or by key.
    QString clicked;
    QList<QMetaObject::Connection> connections;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        connections.append(QObject::connect(button, &QAbstractButton::clicked, button,
                                            [&clicked, button] { clicked = button->objectName(); }));
    }
    w.result = next(dialog);
    for (const auto &c : connections)
        QObject::disconnect(c);
    w.button = clicked;
    m_shown.append(w);
    return w.result;
}

void ModalAnswers::shown(QWidget *window)
{
    m_shown.append(DescribeWindow(window));
}

QList<ShownWindow> ModalWindows(const ModalAnswers &answers)
{
    QList<ShownWindow> windows;
    for (const ShownWindow &w : answers.shown())
        if (w.modal)
            windows << w;
    return windows;
}
