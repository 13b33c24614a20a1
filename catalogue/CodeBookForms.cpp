#include "catalogue/CodeBookForms.h"

#include "core/DialogButton.h"
#include "core/database/Errors.h"
#include "core/Messages.h"
#include "core/RunReported.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *AddButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new TDialogButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TFormCodeBook::TFormCodeBook(Book book, QWidget *parent) : QDialog(parent), m_book(std::move(book))
{
    setObjectName(m_book.objectName);
    setWindowTitle(m_book.caption);
    m_query = new BrowseQuery(this);
    m_query->setObjectName(m_book.queryName);
    m_query->setSql(m_book.sql);
    m_query->setFieldKind(QStringLiteral("VYCHOZI"), FieldKind::Boolean);
    createList();
    createClosingButtons();

    auto dataChange = [this] { RunReported([this] { DataSourceDataChange(); }); };
    connect(m_query, &DataSet::currentRowChanged, this, dataChange);
    connect(m_query, &QAbstractItemModel::modelReset, this, dataChange);
}

TFormCodeBook::~TFormCodeBook()
{
    m_query->close();
}

void TFormCodeBook::createList()
{
    GroupBox = new QGroupBox(m_book.groupCaption, this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    auto *group = new QGridLayout(GroupBox);
    m_grid = new TRxDBGridEx(GroupBox);
    m_grid->setObjectName(m_book.gridName);
    m_grid->setModel(m_query);
    group->addWidget(m_grid, 0, 0, 4, 3);
    group->setRowStretch(3, 1);
    group->setColumnStretch(1, 1);
    createButtons(group);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox);
}

void TFormCodeBook::createButtons(QGridLayout *group)
{
    ButtonAdd = AddButton(GroupBox, QStringLiteral("ButtonAdd"), QStringLiteral("Přidat..."));
    ButtonAdd->setDefault(true);
    ButtonEdit = AddButton(GroupBox, QStringLiteral("ButtonEdit"), QStringLiteral("Editovat..."));
    ButtonDelete = AddButton(GroupBox, QStringLiteral("ButtonDelete"), QStringLiteral("Odebrat"));
    group->addWidget(ButtonAdd, 0, 3);
    group->addWidget(ButtonEdit, 1, 3);
    group->addWidget(ButtonDelete, 2, 3);

    LabelDefault = new QLabel(m_book.defaultCaption, GroupBox);
    LabelDefault->setObjectName(QStringLiteral("LabelDefault"));
    EditDefault = new QLineEdit(GroupBox);
    EditDefault->setObjectName(QStringLiteral("EditDefault"));
    EditDefault->setMaxLength(m_book.nameLength);
    EditDefault->setEnabled(false);
    LabelDefault->setBuddy(EditDefault);
    ButtonDefault = AddButton(GroupBox, QStringLiteral("ButtonDefault"), QStringLiteral("Výchozí"));
    group->addWidget(LabelDefault, 4, 0);
    group->addWidget(EditDefault, 4, 1, 1, 2);
    group->addWidget(ButtonDefault, 4, 3);

    auto run = [this](QPushButton *button, void (TFormCodeBook::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { RunReported([&] { (this->*handler)(); }); });
    };
    run(ButtonAdd, &TFormCodeBook::ButtonAddClick);
    run(ButtonEdit, &TFormCodeBook::ButtonEditClick);
    run(ButtonDelete, &TFormCodeBook::ButtonDeleteClick);
    run(ButtonDefault, &TFormCodeBook::ButtonDefaultClick);
}

void TFormCodeBook::createClosingButtons()
{
    auto *closing = new QHBoxLayout;
    closing->addStretch(1);
    ButtonOk = AddButton(this, QStringLiteral("ButtonOk"), QStringLiteral("Ok"));
    ButtonCancel = AddButton(this, QStringLiteral("ButtonCancel"), QStringLiteral("Storno"));
    closing->addWidget(ButtonOk);
    closing->addWidget(ButtonCancel);
    static_cast<QVBoxLayout *>(layout())->addLayout(closing);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCodeBook::OpenOn(int id)
{
    m_query->open();
    ShowColumns();
    m_query->locate(m_book.keyField, id);
    // The grid took its current cell before the columns were hidden: move it to a shown one.
    int column = 0;
    while (column < m_query->fieldCount() - 1 && m_grid->isColumnHidden(column))
        ++column;
    if (m_query->currentRow() >= 0)
        m_grid->setCurrentIndex(m_query->index(m_query->currentRow(), column));
    DataSourceDataChange();
}

int TFormCodeBook::CurrentId() const
{
    return m_query->currentRow() < 0 ? 0 : m_query->value(m_book.keyField).toInt();
}

void TFormCodeBook::DataSourceDataChange()
{
    const bool rows = TableHasRecords(m_book.table);
    ButtonEdit->setEnabled(rows);
    ButtonDelete->setEnabled(rows);
    ButtonDefault->setEnabled(rows);
    EditDefault->setText(m_book.defaultName());
}

bool TFormCodeBook::RunChange(const std::function<void()> &change)
{
    try {
        change();
        return true;
    } catch (const EDatabaseError &) {
        return false;
    }
}

void TFormCodeBook::RequeryOn(const QVariant &key)
{
    RequeryLocate(*m_query, key);
}

void TFormCodeBook::ButtonDeleteClick()
{
    const QVariant prior = GetPriorKey(*m_query);
    const int id = CurrentId();
    if (!RunChange([&] { m_book.remove(id); })) {
        ShowInformation(m_book.removeRefused, m_book.removeRefusedDetail, true, m_grid);
        return;
    }
    RequeryOn(prior);
}

void TFormCodeBook::ButtonDefaultClick()
{
    const int id = CurrentId();
    if (RunChange([&] { m_book.setDefault(id); }))
        RequeryOn(id);
}

// ---------------------------------------------------------------------------------------

TFormCodeBookItem::TFormCodeBookItem(const QString &objectName, const QString &caption,
                                     const QString &nameEdit, const QString &nameCaption, int nameLength,
                                     int id, std::function<bool(int, const QString &)> existsOther,
                                     QWidget *parent)
    : QDialog(parent), m_id(id), m_existsOther(std::move(existsOther))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QWidget(this);
    m_fields = new QGridLayout(fields);
    m_fields->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fields);

    auto *label = new QLabel(nameCaption, fields);
    label->setObjectName(QStringLiteral("Label") + nameEdit.mid(4));
    m_name = new QLineEdit(fields);
    m_name->setObjectName(nameEdit);
    m_name->setMaxLength(nameLength);
    // Wide enough to show a whole name of the longest length while it is typed.
    m_name->setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QString(nameLength, QLatin1Char('o'))) + 12);
    label->setBuddy(m_name);
    m_fields->addWidget(label, 0, 0);
    m_fields->addWidget(m_name, 0, 1, 1, 2);
    connect(m_name, &QLineEdit::textChanged, this, &TFormCodeBookItem::EditsChange);

    AddDialogButtons(this, layout, true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    ButtonOk->setEnabled(false);
    m_name->setFocus();
}

void TFormCodeBookItem::AddRow(QWidget *label, QWidget *field, QWidget *unit)
{
    const int row = m_fields->rowCount();
    if (label)
        m_fields->addWidget(label, row, 0);
    m_fields->addWidget(field, row, 1, 1, unit ? 1 : 2);
    if (unit)
        m_fields->addWidget(unit, row, 2);
    setTabOrder(field, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);
}

QWidget *TFormCodeBookItem::FieldsWidget() const
{
    return m_name->parentWidget();
}

QString TFormCodeBookItem::Name() const
{
    return m_name->text();
}

void TFormCodeBookItem::EditsChange()
{
    bool ok = false;
    // The database keeps names without trailing blanks: blanks alone would be an empty name.
    RunReported([&] { ok = !Name().trimmed().isEmpty() && !m_existsOther(m_id, Name()); });
    ButtonOk->setEnabled(ok);
}

void TFormCodeBookItem::FormActivate()
{
    if (m_id != 0)
        ButtonOk->setEnabled(false);
}

void TFormCodeBookItem::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}
