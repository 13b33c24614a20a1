#include "catalogue/UImportExportProgress.h"

#include "core/DialogButton.h"
#include "core/RunReported.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
// How often a long run lets the events in.
constexpr int EventsEveryMs = 50;
} // namespace

TFormImportExportProgress::TFormImportExportProgress(Work work, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_work(std::move(work))
{
    setObjectName(QStringLiteral("FormImportExportProgress"));
    auto *layout = new QVBoxLayout(this);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 0);
    ProgressBar->setTextVisible(false);
    layout->addWidget(ProgressBar);
    ButtonAbort = new TDialogButton(QStringLiteral("Přerušit"), this);
    ButtonAbort->setObjectName(QStringLiteral("ButtonAbort"));
    ButtonAbort->setDefault(true);
    layout->addWidget(ButtonAbort, 0, Qt::AlignHCenter);
    connect(ButtonAbort, &QPushButton::clicked, this, &TFormImportExportProgress::ButtonAbortClick);
    setFixedSize(320, 90);
}

void TFormImportExportProgress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ButtonAbort->setFocus();
    // The work starts from the event loop once the window is up, once per showing.
    if (!event->spontaneous() && !m_started) {
        m_started = true;
        QMetaObject::invokeMethod(this, &TFormImportExportProgress::RunImportExport, Qt::QueuedConnection);
    }
}

void TFormImportExportProgress::RunImportExport()
{
    RunReported([this] {
        if (m_work)
            m_work(*this);
    });
    done(QDialog::Accepted);
}

void TFormImportExportProgress::Begin(const QString &caption)
{
    setWindowTitle(caption);
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

bool TFormImportExportProgress::Step(int row, const QString &caption)
{
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= EventsEveryMs
        || (row > 0 && row == ProgressBar->maximum())) {
        if (row > 0) {
            if (ProgressBar->maximum() > 0)
                ProgressBar->setValue(row);
            setWindowTitle(caption.arg(row));
        }
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }
    return !AbortRequested();
}

bool TFormImportExportProgress::AbortRequested() const
{
    return !ButtonAbort->isEnabled();
}

void TFormImportExportProgress::ButtonAbortClick()
{
    ButtonAbort->setEnabled(false);
}

void TFormImportExportProgress::reject()
{
    ButtonAbortClick();
}
