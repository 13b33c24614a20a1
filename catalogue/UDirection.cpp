#include "catalogue/UDirection.h"

#include "catalogue/CodeBookStore.h"
#include "catalogue/UDirectionEdit.h"
#include "core/Modal.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Lookups.h"

#include <QLineEdit>
#include <memory>

TFormDirection *FormDirection = nullptr;

namespace {

const QString Name = QStringLiteral("ZAMERENI");

TFormCodeBook::Book DirectionBook()
{
    TFormCodeBook::Book book;
    book.objectName = QStringLiteral("FormDirection");
    book.caption = QStringLiteral(" Žánry");
    book.groupCaption = QStringLiteral("Žánr:");
    book.defaultCaption = QStringLiteral("Výchozí žánr:");
    book.queryName = QStringLiteral("ADOQueryDirection");
    book.gridName = QStringLiteral("RxDBGrid");
    book.table = QStringLiteral("tab_zamereni");
    book.keyField = QStringLiteral("ID_ZAMERENI");
    book.nameLength = DirectionNameLength;
    book.sql = DirectionQuerySql();
    book.defaultName = GetDefaultDirection;
    book.remove = DeleteDirection;
    book.setDefault = SetDefaultDirection;
    book.removeRefused = QStringLiteral("Žánr nelze odebrat...");
    book.removeRefusedDetail = QStringLiteral("Žánr je používán v databázi videa...");
    return book;
}

} // namespace

TFormDirection::TFormDirection(QWidget *parent) : TFormCodeBook(DirectionBook(), parent)
{
    ADOQueryDirection = m_query;
    RxDBGrid = m_grid;
    ADOQueryDirection->setDisplayLabel(Name, QStringLiteral("Žánr"));
    RxDBGrid->SetRowSelect(false);
    resize(340, 300);
    FormDirection = this;
}

TFormDirection::~TFormDirection()
{
    if (FormDirection == this)
        FormDirection = nullptr;
}

void TFormDirection::ShowColumns()
{
    for (int field = 0; field < ADOQueryDirection->fieldCount(); ++field)
        RxDBGrid->setColumnHidden(field, field != ADOQueryDirection->fieldIndex(Name));
    RxDBGrid->setColumnWidth(ADOQueryDirection->fieldIndex(Name), 178);
}

void TFormDirection::ButtonAddClick()
{
    TFormDirectionNew form(this);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    int id = 0;
    if (RunChange([&] { id = InsertDirection(form.Name()); }))
        RequeryOn(id);
}

void TFormDirection::ButtonEditClick()
{
    const int id = CurrentId();
    TFormDirectionEdit form(id, ADOQueryDirection->value(Name).toString(), this);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    if (RunChange([&] { RenameDirection(id, form.Name()); }))
        RequeryOn(id);
}

QDialog *CreateFormDirection()
{
    auto form = std::make_unique<TFormDirection>();
    form->OpenOn(GetDefaultDirectionId());
    return form.release();
}
