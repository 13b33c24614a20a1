#include "catalogue/UFilter.h"

#include "catalogue/FilterRules.h"
#include "catalogue/FilterStore.h"
#include "core/DialogButton.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QVBoxLayout>
#include <stdexcept>

namespace {

QPushButton *addButton(QWidget *parent, QBoxLayout *layout, const QString &name, const QString &caption)
{
    auto *button = new TDialogButton(caption, parent);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

QFileDialog *filterFileDialog(QWidget *parent, const QString &name, const QString &title,
                              QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(parent, title);
    dialog->setObjectName(name);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilter(QStringLiteral("Filtr (*.txt)"));
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    return dialog;
}

// The file the clerk chose in the dialog, started in the program's folder (a save
// proposing "*.txt"); empty when he cancelled.
QString chooseFile(QFileDialog *dialog)
{
    dialog->setDirectory(ProgramDir());
    if (dialog->acceptMode() == QFileDialog::AcceptSave)
        dialog->selectFile(QStringLiteral("*.txt"));
    if (ExecModal(dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

} // namespace

TFormFilter::TFormFilter(BrowseQuery &filterQuery, std::function<void()> refreshCounts, QWidget *parent)
    : QDialog(parent), m_query(filterQuery), m_refreshCounts(std::move(refreshCounts))
{
    setObjectName(QStringLiteral("FormFilter"));
    setWindowTitle(QStringLiteral(" Filtr"));
    auto *layout = new QHBoxLayout(this);
    createMemo();
    layout->addWidget(SQLMemo, 1);
    createButtons();
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {ButtonApply, ButtonClear, ButtonOpen, ButtonSave})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(ButtonClose);
    layout->addLayout(buttons);
    createFileDialogs();
    resize(560, 280);
}

void TFormFilter::createMemo()
{
    SQLMemo = new QPlainTextEdit(this);
    SQLMemo->setObjectName(QStringLiteral("SQLMemo"));
    // Lines as typed, scrolled sideways rather than wrapped.
    SQLMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    SQLMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SQLMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Tab goes on to the buttons, as in the desk's other dialogs.
    SQLMemo->setTabChangesFocus(true);
}

void TFormFilter::createButtons()
{
    auto *column = new QVBoxLayout; // only to make the buttons; the constructor places them
    ButtonApply = addButton(this, column, QStringLiteral("ButtonApply"), QStringLiteral("Použít"));
    ButtonClear = addButton(this, column, QStringLiteral("ButtonClear"), QStringLiteral("Vymazat"));
    ButtonOpen = addButton(this, column, QStringLiteral("ButtonOpen"), QStringLiteral("Otevřít..."));
    ButtonSave = addButton(this, column, QStringLiteral("ButtonSave"), QStringLiteral("Uložit..."));
    ButtonClose = addButton(this, column, QStringLiteral("ButtonClose"), QStringLiteral("Zavřít"));
    delete column;
    connect(ButtonApply, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonApplyClick(); }); });
    connect(ButtonClear, &QPushButton::clicked, this, [this] { ButtonClearClick(); });
    connect(ButtonOpen, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonOpenClick(); }); });
    connect(ButtonSave, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonSaveClick(); }); });
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject); // Esc too
}

void TFormFilter::createFileDialogs()
{
    OpenDialog = filterFileDialog(this, QStringLiteral("OpenDialog"), QStringLiteral("Otevřít Filtr"),
                                  QFileDialog::AcceptOpen);
    SaveDialog = filterFileDialog(this, QStringLiteral("SaveDialog"), QStringLiteral("Uložit Filtr"),
                                  QFileDialog::AcceptSave);
}

void TFormFilter::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TFormFilter::FormShow()
{
    QString where;
    SplitSQL(m_query.sqlText(), m_selectPart, where, m_orderPart);
    SQLMemo->setPlainText(where);
    SQLMemo->setFocus();
}

void TFormFilter::ButtonApplyClick()
{
    bool applied = false;
    {
        HourGlass hourGlass;
        applied = ApplyFreeFilter(m_query, m_selectPart, FilterWherePart(SQLMemo->toPlainText()), m_orderPart);
    }
    if (!applied)
        ShowWarning(false, QStringLiteral("Chyba při filtrování databáze..."),
                    QStringLiteral("Specifikace není k dispozici"));
    if (m_refreshCounts) {
        HourGlass hourGlass;
        m_refreshCounts();
    }
}

void TFormFilter::ButtonClearClick()
{
    SQLMemo->clear();
}

void TFormFilter::ButtonOpenClick()
{
    const QString path = chooseFile(OpenDialog);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Soubor %1 nelze otevřít: %2")
                                     .arg(path, file.errorString()).toStdString());
    SQLMemo->setPlainText(FilterFileText(file.readAll()));
}

void TFormFilter::ButtonSaveClick()
{
    const QString path = chooseFile(SaveDialog);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(FilterFileBytes(SQLMemo->toPlainText())) < 0 || !file.flush())
        throw std::runtime_error(QStringLiteral("Soubor %1 nelze uložit: %2")
                                     .arg(path, file.errorString()).toStdString());
}
