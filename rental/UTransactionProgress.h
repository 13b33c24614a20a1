#pragma once
#include <QDialog>

class QLabel;
class QProgressBar;

// " Transakce": the progress of a lend or return while its transaction runs. It has no
// logic of its own; the transaction sets the stage text and the bar, and the window is
// painted before each setter returns (the desk's loop does not run meanwhile).
class TFormTransactionProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFormTransactionProgress(int lines, QWidget *parent = nullptr);

    // The stage ("Transaction in progres...", "Transaction commit...", "Transaction rollback...").
    void setStage(const QString &text);
    void setPosition(int line);

    QLabel *LabelProgress = nullptr;
    QProgressBar *ProgressBar = nullptr;

protected:
    void showEvent(QShowEvent *event) override; // centred on its screen
    void closeEvent(QCloseEvent *event) override; // only its owner closes it
    void reject() override;                       // Esc does nothing
};
