#pragma once
#include "catalogue/ExchangeRules.h"

#include <QDialog>

class BrowseQuery;
class QFileDialog;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TFormImportExportProgress;

// " Import / Export": the exchange of the customer register or the video catalogue
// with a spreadsheet file. The export writes the page's list, as filtered and sorted,
// into a new .xlsx file; an import (only with the right ADMIN) reads the first sheet
// of an .xlsx or .ods file into the table, adding its rows or replacing the table's,
// in one transaction. The page hands in its table and list, then refreshes its status
// bar:
//
//     TFormImportExport exchange(ExchangeTable::Customers, *ADOQueryCustomer);
//     ExecModal(&exchange);
//     SetStatusBarCustomer();
//
// "Spustit" runs the chosen work in the progress window and leaves the dialog open for
// another run; "Zavřít" closes it.
class TFormImportExport : public QDialog {
    Q_OBJECT
public:
    TFormImportExport(ExchangeTable table, BrowseQuery &list, QWidget *parent = nullptr);
    // The object name of the list it works on.
    QString listName() const;

    // The picture and the import rights, as the dialog shows.
    void FormActivate();
    void ButtonStartClick();

    QLabel *Image = nullptr;
    QGroupBox *GroupBoxImportExport = nullptr;
    QRadioButton *RadioButtonImportAdd = nullptr;
    QRadioButton *RadioButtonImportDelete = nullptr;
    QRadioButton *RadioButtonExport = nullptr;
    QPushButton *ButtonStart = nullptr;
    QPushButton *ButtonClose = nullptr;
    QFileDialog *SaveDialog = nullptr;
    QFileDialog *OpenDialog = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createChoices();
    void createButtons();
    void createFileDialogs();
    void runExport(TFormImportExportProgress &progress, const QString &path);
    void runImport(TFormImportExportProgress &progress, const QString &path);

    ExchangeTable m_table;
    BrowseQuery &m_list;
};

// The window the customer and video pages' "Import / Export..." opens, on the list of the
// page shown; null on another page.
QDialog *CreateFormImportExport();
