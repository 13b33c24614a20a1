#include "rental/UTransactionProgress.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TFormTransactionProgress::TFormTransactionProgress(int lines, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormTransactionProgress"));
    setWindowTitle(QStringLiteral(" Transakce"));
    setFixedSize(318, 58);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    LabelProgress = new QLabel(this);
    LabelProgress->setObjectName(QStringLiteral("LabelProgress"));
    layout->addWidget(LabelProgress);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, qMax(lines, 0));
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    layout->addWidget(ProgressBar);
}

void TFormTransactionProgress::setStage(const QString &text)
{
    LabelProgress->setText(text);
    LabelProgress->repaint();
}

void TFormTransactionProgress::setPosition(int line)
{
    ProgressBar->setValue(line);
    ProgressBar->repaint();
}

void TFormTransactionProgress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormTransactionProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void TFormTransactionProgress::reject()
{
}
