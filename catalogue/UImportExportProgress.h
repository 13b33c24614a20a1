#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <functional>

class QProgressBar;
class QPushButton;

// The progress window of the spreadsheet exchange: a small tool window whose caption
// is the progress text, its bar and "Přerušit". The work it is given starts once the
// window shows and closes it when it ends (modal result Ok). "Přerušit" (also Enter,
// Esc and the close box) only disables itself: that is the stop request, which the
// work sees through Step() between two rows.
class TFormImportExportProgress : public QDialog {
    Q_OBJECT
public:
    using Work = std::function<void(TFormImportExportProgress &progress)>;
    explicit TFormImportExportProgress(Work work, QWidget *parent = nullptr);

    // Sets the caption and lets pending events in, so that it shows.
    void Begin(const QString &caption);
    // After a row: the bar's position (when it has a maximum) and the caption
    // (`caption` with the row's number for %1), with the pending events let in; row
    // 0, before the first row, only lets the events in. That
    // is done every few milliseconds (and at the bar's last row), not at every row, so
    // that a long run stays quick while the desk stays responsive. False once
    // "Přerušit" was pressed.
    bool Step(int row, const QString &caption);
    bool AbortRequested() const;

    void ButtonAbortClick();
    void RunImportExport();

    QProgressBar *ProgressBar = nullptr;
    QPushButton *ButtonAbort = nullptr;

    // A press of "Přerušit" and the close box ask the work to stop; they never close.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Work m_work;
    QElapsedTimer m_sinceEvents;
    bool m_started = false;
};
