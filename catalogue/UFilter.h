#pragma once
#include <QDialog>
#include <functional>

class BrowseQuery;
class QFileDialog;
class QPlainTextEdit;
class QPushButton;

// " Filtr": the WHERE part of a page's list as SQL text to edit and apply, and filter
// files to keep such texts. The page hands in its list query and the refresh of the
// counts its apply runs (the three status bars of the customer, video and journal
// pages):
//
//     TFormFilter filter(*ADOQueryCustomer, [] { RefreshListCounts(); });
//     ExecModal(&filter);
//
// The text runs as one condition the program has checked, in a statement that only
// reads; a text the check or the server refuses leaves the list with no filter at all.
class TFormFilter : public QDialog {
    Q_OBJECT
public:
    TFormFilter(BrowseQuery &filterQuery, std::function<void()> refreshCounts,
                QWidget *parent = nullptr);

    // Splits the query's text and puts its WHERE part into the memo.
    void FormShow();
    void ButtonApplyClick();
    void ButtonClearClick();
    void ButtonOpenClick();
    void ButtonSaveClick();

    QPlainTextEdit *SQLMemo = nullptr;
    QPushButton *ButtonApply = nullptr;
    QPushButton *ButtonClear = nullptr;
    QPushButton *ButtonOpen = nullptr;
    QPushButton *ButtonSave = nullptr;
    QPushButton *ButtonClose = nullptr;
    QFileDialog *OpenDialog = nullptr;
    QFileDialog *SaveDialog = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createMemo();
    void createButtons();
    void createFileDialogs();

    BrowseQuery &m_query;
    std::function<void()> m_refreshCounts;
    // The parts of the query's text around its WHERE part, as the dialog was shown.
    QString m_selectPart;
    QString m_orderPart;
};
