#include "catalogue/UImportExport.h"

#include "core/DeskLists.h"
#include "core/UValmedo.h"

#include "catalogue/ExchangeRules.h"
#include "catalogue/ExchangeStore.h"
#include "catalogue/UImportExportProgress.h"
#include "catalogue/Worksheet.h"
#include "core/DialogButton.h"
#include "core/database/Errors.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString NoSpecification = QStringLiteral("Specifikace není k dispozici");

QRadioButton *addChoice(QGroupBox *group, const QString &name, const QString &caption)
{
    auto *radio = new QRadioButton(caption, group);
    radio->setObjectName(name);
    group->layout()->addWidget(radio);
    return radio;
}

QFileDialog *workbookDialog(QWidget *parent, const QString &name, const QString &title,
                            QFileDialog::AcceptMode mode, const QString &filter)
{
    auto *dialog = new QFileDialog(parent, title);
    dialog->setObjectName(name);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilter(filter);
    return dialog;
}

void showImportFailure(const ExchangeResult &result)
{
    const QString row = result.failedRow > 0 ? QStringLiteral("Řádek %1: ").arg(result.failedRow) : QString();
    ShowWarning(false, QStringLiteral("Import dat neproběhl v pořádku..."),
                row + result.why + QStringLiteral("\nŽádná data nebyla naimportována..."));
}

} // namespace

TFormImportExport::TFormImportExport(ExchangeTable table, BrowseQuery &list, QWidget *parent)
    : QDialog(parent), m_table(table), m_list(list)
{
    setObjectName(QStringLiteral("FormImportExport"));
    setWindowTitle(QStringLiteral(" Import / Export"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setFixedSize(40, 40);
    top->addWidget(Image, 0, Qt::AlignTop);
    createChoices();
    top->addWidget(GroupBoxImportExport, 1);
    layout->addLayout(top);
    createButtons();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonStart);
    buttons->addWidget(ButtonClose);
    layout->addLayout(buttons);
    createFileDialogs();
    setFixedSize(sizeHint());
}

void TFormImportExport::createChoices()
{
    GroupBoxImportExport = new QGroupBox(QStringLiteral("Import a Export dat"), this);
    GroupBoxImportExport->setObjectName(QStringLiteral("GroupBoxImportExport"));
    new QVBoxLayout(GroupBoxImportExport);
    RadioButtonImportAdd = addChoice(GroupBoxImportExport, QStringLiteral("RadioButtonImportAdd"),
                                     QStringLiteral("Importovat data z Excelu, původní data budou zachována"));
    RadioButtonImportDelete = addChoice(GroupBoxImportExport, QStringLiteral("RadioButtonImportDelete"),
                                        QStringLiteral("Importovat data z Excelu, původní data budou vymazána"));
    RadioButtonExport = addChoice(GroupBoxImportExport, QStringLiteral("RadioButtonExport"),
                                  QStringLiteral("Exportovat data do Excelu"));
    RadioButtonExport->setChecked(true);
}

void TFormImportExport::createButtons()
{
    ButtonStart = new TDialogButton(QStringLiteral("Spustit"), this);
    ButtonStart->setObjectName(QStringLiteral("ButtonStart"));
    ButtonClose = new TDialogButton(QStringLiteral("Zavřít"), this);
    ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
    ButtonClose->setDefault(true);
    connect(ButtonStart, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonStartClick(); }); });
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject); // Esc too
}

void TFormImportExport::createFileDialogs()
{
    SaveDialog = workbookDialog(this, QStringLiteral("SaveDialog"), QStringLiteral("Export dat"),
                                QFileDialog::AcceptSave, QStringLiteral("Sešit Excel (*.xlsx)"));
    SaveDialog->setDefaultSuffix(QStringLiteral("xlsx"));
    OpenDialog = workbookDialog(this, QStringLiteral("OpenDialog"), QStringLiteral("Import dat"),
                                QFileDialog::AcceptOpen, QStringLiteral("Sešit (*.xlsx *.ods)"));
}

void TFormImportExport::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        RunReported([this] { FormActivate(); });
    QDialog::showEvent(event);
}

void TFormImportExport::FormActivate()
{
    Image->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32));
    const bool admin = GetUserRight(UserName(), QStringLiteral("ADMIN"));
    RadioButtonImportAdd->setEnabled(admin);
    RadioButtonImportDelete->setEnabled(admin);
    if (!admin)
        RadioButtonExport->setChecked(true);
}

void TFormImportExport::ButtonStartClick()
{
    const bool exporting = RadioButtonExport->isChecked();
    if (!exporting && !RadioButtonImportAdd->isEnabled())
        return; // no right to import
    QFileDialog *dialog = exporting ? SaveDialog : OpenDialog;
    dialog->setDirectory(ProgramDir());
    if (exporting)
        dialog->selectFile(m_table == ExchangeTable::Customers ? QStringLiteral("Zákazníci.xlsx")
                                                                : QStringLiteral("Video.xlsx"));
    if (ExecModal(dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    const QString path = dialog->selectedFiles().constFirst();
    TFormImportExportProgress progress([this, exporting, path](TFormImportExportProgress &p) {
        if (exporting)
            runExport(p, path);
        else
            runImport(p, path);
    }, this);
    ExecModal(&progress);
}

void TFormImportExport::runExport(TFormImportExportProgress &progress, const QString &path)
{
    progress.Begin(QStringLiteral(" Inicializace"));
    ExchangeResult result;
    try {
        XlsxWorksheet sheet(path);
        progress.ProgressBar->setRange(0, m_list.recordCount());
        result = ExportList(m_list, sheet, [&progress](int row) {
            return progress.Step(row, QStringLiteral(" Exportuji záznam číslo: %1"));
        });
        sheet.save();
    } catch (const EWorksheetError &) {
        ShowWarning(false, QStringLiteral("Export dat neproběhl v pořádku..."), NoSpecification);
        return;
    } catch (const EDatabaseError &) {
        ShowWarning(false, QStringLiteral("Export dat neproběhl v pořádku..."), NoSpecification);
        return;
    }
    if (result.outcome == ExchangeResult::Done)
        ShowInformation(QStringLiteral("Export dat byl dokončen v pořádku..."),
                        QStringLiteral("Data byla vyexportována do souboru..."));
    else
        ShowInformation(QStringLiteral("Export dat byl přerušen uživatelem..."),
                        QStringLiteral("Data byla vyexportována pouze částečně..."));
}

void TFormImportExport::runImport(TFormImportExportProgress &progress, const QString &path)
{
    progress.Begin(QStringLiteral(" Inicializace"));
    std::unique_ptr<MemoryWorksheet> sheet;
    try {
        sheet = ReadWorksheet(path);
    } catch (const EWorksheetError &) {
        ShowInformation(QStringLiteral("Soubor nelze otevřít..."),
                        QStringLiteral("Soubor musí být sešit .xlsx nebo .ods..."));
        return;
    }
    // A workbook with nothing in its first cell imports no row, and "vymazána" would then
    // only empty the table: refused before anything is changed.
    if (CellAsString(sheet->cell(1, 1)).isEmpty()) {
        ShowInformation(QStringLiteral("Sešit neobsahuje žádná data..."),
                        QStringLiteral("První buňka prvního listu je prázdná, nic nebylo změněno..."));
        return;
    }
    const ImportMode mode = RadioButtonImportDelete->isChecked() ? ImportMode::Replace : ImportMode::Add;
    const ExchangeResult result = ImportSheet(*sheet, m_table, mode, [&progress](int row) {
        return progress.Step(row, QStringLiteral(" Importuji záznam číslo: %1"));
    });
    switch (result.outcome) {
    case ExchangeResult::Done:
        RequeryLocate(m_list, QVariant()); // the imported rows appear in the list
        ShowInformation(QStringLiteral("Import dat byl dokončen v pořádku..."),
                        QStringLiteral("Data byla naimportována..."));
        break;
    case ExchangeResult::Aborted:
        ShowInformation(QStringLiteral("Import dat byl přerušen uživatelem..."),
                        QStringLiteral("Žádná data nebyla naimportována..."));
        break;
    case ExchangeResult::Failed:
        showImportFailure(result);
        break;
    }
}

QString TFormImportExport::listName() const
{
    return m_list.objectName();
}

QDialog *CreateFormImportExport()
{
    if (!FormValmedo)
        return nullptr;
    const TCustomerList *customers = MainCustomers();
    if (FormValmedo->pageIndex() == TFormValmedo::PageCustomer && customers)
        return new TFormImportExport(ExchangeTable::Customers, *customers->list());
    const TVideoList *videos = MainVideos();
    if (FormValmedo->pageIndex() == TFormValmedo::PageVideo && videos)
        return new TFormImportExport(ExchangeTable::Videos, *videos->list());
    return nullptr;
}
