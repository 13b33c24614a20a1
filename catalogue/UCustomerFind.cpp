#include "catalogue/UCustomerFind.h"

#include "catalogue/CustomerStore.h"
#include "core/Desk.h"
#include "core/DeskLists.h"
#include "core/LentLines.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/controls/Int64Edit.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlDialect.h"

#include <QLineEdit>

TFormCustomerFind::TFormCustomerFind(QWidget *parent)
    : TFormFind(QStringLiteral("FormCustomerFind"), QStringLiteral(" Vyhledání zákazníka"),
                QStringLiteral(" Zákazníků: %1"), parent)
{
    ADOQueryCustomerFind = new BrowseQuery(this);
    ADOQueryCustomerFind->setObjectName(QStringLiteral("ADOQueryCustomerFind"));
    ADOQueryCustomerFind->setSql(CustomerSearchAllSql());
    ADOQueryCustomerFind->setFieldKind(QStringLiteral("ZAKAZNIK"), FieldKind::Int64);
    const QList<std::pair<const char *, const char *>> labels = {
        {"ZAKAZNIK", "Kód - zákazník"}, {"JMENO", "Jméno"}, {"ADRESA1", "Adresa"}, {"RC", "RČ"}};
    for (const auto &[field, label] : labels) {
        ADOQueryCustomerFind->setDisplayLabel(QLatin1String(field), QString::fromUtf8(label));
        ADOQueryCustomerFind->setOrigin(QLatin1String(field), QStringLiteral("tab_zakaznik"));
    }
    ADOQueryCustomerFind->setDisplayFormat(QStringLiteral("ZAKAZNIK"), QStringLiteral("0000000000000"));

    Int64EditCustomer = Named<TInt64Edit>(this, "Int64EditCustomer");
    Int64EditCustomer->SetMax(TInt64Edit::HighestNumber);
    EditName = Named<QLineEdit>(this, "EditName");
    EditName->setMaxLength(32);
    EditAddress = Named<QLineEdit>(this, "EditAddress");
    EditAddress->setMaxLength(32);
    EditBirth = Named<QLineEdit>(this, "EditBirth");
    EditBirth->setMaxLength(10);
    AddFields({{"Kód:", Int64EditCustomer}, {"Jméno:", EditName}, {"Adresa:", EditAddress}, {"RČ:", EditBirth}},
              EditName);
    for (QLineEdit *edit : {EditName, EditAddress, EditBirth})
        connect(edit, &QLineEdit::textEdited, this, [this] { RunReported([this] { EditsChange(); }); });
    RxDBGridCustomerFind = AddList(ADOQueryCustomerFind, "RxDBGridCustomerFind", {82, 160, 240, 68},
                                   [](qint64 customer) -> std::optional<bool> {
                                       const TLentLines *lent = WindowLentLines();
                                       return lent ? lent->CustomerOverdue(customer) : std::nullopt;
                                   });
    resize(640, 420);
}

void TFormCustomerFind::EditsChange()
{
    Reselect(CustomerSearchSql(), {{QStringLiteral("JMENO"), SqlDialect::likeBegin(EditName->text())},
                                   {QStringLiteral("ADRESA1"), SqlDialect::likeBegin(EditAddress->text())},
                                   {QStringLiteral("RC"), SqlDialect::likeBegin(EditBirth->text())}});
}

void TFormCustomerFind::BitBtnSearchClick()
{
    const TCustomerList *customers = MainCustomers();
    const QVariant chosen = ADOQueryCustomerFind->value(0);
    if (customers && !chosen.isNull())
        customers->list()->locate(QStringLiteral("ZAKAZNIK"), chosen);
}
