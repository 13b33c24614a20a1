#include "catalogue/UCustomerFind.h"

#include "catalogue/CustomerStore.h"
#include "catalogue/LentLines.h"
#include "catalogue/UCustomerPage.h"
#include "core/DialogButton.h"
#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/UValmedo.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TCustomerPage *customerPage()
{
    return FormValmedo ? FormValmedo->customerPage() : nullptr;
}

} // namespace

TFormCustomerFind::TFormCustomerFind(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCustomerFind"));
    setWindowTitle(QStringLiteral(" Vyhledání zákazníka"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
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

    auto *layout = new QVBoxLayout(this);
    createFields();
    createGrid();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtnSearch = new TDialogButton(QStringLiteral("Vybrat [Enter]"), this);
    BitBtnSearch->setObjectName(QStringLiteral("BitBtnSearch"));
    BitBtnSearch->setDefault(true);
    BitBtnClose = new TDialogButton(QStringLiteral("Zavřít [Esc]"), this);
    BitBtnClose->setObjectName(QStringLiteral("BitBtnClose"));
    buttons->addWidget(BitBtnSearch);
    buttons->addWidget(BitBtnClose);
    layout->addLayout(buttons);
    connect(BitBtnSearch, &QPushButton::clicked, this, [this] {
        RunReported([this] { BitBtnSearchClick(); });
        accept();
    });
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ADOQueryCustomerFind, &DataSet::currentRowChanged, this,
            [this] { RunReported([this] { DataSourceCustomerFindDataChange(); }); });
    resize(640, 420);
}

void TFormCustomerFind::createFields()
{
    auto *fields = new QGridLayout;
    Int64EditCustomer = Named<TInt64Edit>(this, "Int64EditCustomer");
    Int64EditCustomer->SetMax(9999999999999LL);
    EditName = Named<QLineEdit>(this, "EditName");
    EditName->setMaxLength(32);
    EditAddress = Named<QLineEdit>(this, "EditAddress");
    EditAddress->setMaxLength(32);
    EditBirth = Named<QLineEdit>(this, "EditBirth");
    EditBirth->setMaxLength(10);
    const QList<std::pair<const char *, QWidget *>> rows = {
        {"Kód:", Int64EditCustomer}, {"Jméno:", EditName}, {"Adresa:", EditAddress}, {"RČ:", EditBirth}};
    for (int i = 0; i < rows.size(); ++i) {
        auto *caption = new QLabel(QString::fromUtf8(rows[i].first), this);
        caption->setBuddy(rows[i].second);
        fields->addWidget(caption, i / 2, (i % 2) * 2);
        fields->addWidget(rows[i].second, i / 2, (i % 2) * 2 + 1);
    }
    static_cast<QVBoxLayout *>(layout())->addLayout(fields);
    setTabOrder(Int64EditCustomer, EditName);
    setTabOrder(EditName, EditAddress);
    setTabOrder(EditAddress, EditBirth);
    // The number searches only while the clerk types in it.
    connect(Int64EditCustomer, &QLineEdit::textEdited, this,
            [this] { RunReported([this] { Int64EditCustomerChange(); }); });
    for (QLineEdit *edit : {EditName, EditAddress, EditBirth})
        connect(edit, &QLineEdit::textEdited, this, [this] { RunReported([this] { EditsChange(); }); });
}

void TFormCustomerFind::createGrid()
{
    Panel = Named<QLabel>(this, "Panel", QStringLiteral(" Zákazníků: 0"));
    Panel->setAutoFillBackground(true);
    Panel->setBackgroundRole(QPalette::Highlight);
    Panel->setForegroundRole(QPalette::HighlightedText);
    Panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel->setMinimumHeight(20);
    layout()->addWidget(Panel);

    RxDBGridCustomerFind = Named<TRxDBGridEx>(this, "RxDBGridCustomerFind");
    RxDBGridCustomerFind->SetRowSelect(true);
    RxDBGridCustomerFind->setModel(ADOQueryCustomerFind);
    BindQueryGridSort(RxDBGridCustomerFind);
    if (FormValmedo)
        RxDBGridCustomerFind->SetPopupMenu(FormValmedo->popupMenuRxDBGrid());
    ColorLentRows(RxDBGridCustomerFind, [this](int row) -> std::optional<bool> {
        TCustomerPage *page = customerPage();
        if (!page)
            return std::nullopt;
        return page->LentLines()->CustomerOverdue(ADOQueryCustomerFind->valueAt(row, 0).toLongLong());
    });
    connect(RxDBGridCustomerFind, &TRxDBGridEx::DblClick, this,
            [this] { RunReported([this] { RxDBGridCustomerFindDblClick(); }); });
    layout()->addWidget(RxDBGridCustomerFind);
}

TFormCustomerFind::~TFormCustomerFind()
{
    ADOQueryCustomerFind->close();
}

void TFormCustomerFind::OpenOn(qint64 customer)
{
    ADOQueryCustomerFind->open();
    const int widths[] = {82, 160, 240, 68};
    for (int column = 0; column < 4; ++column)
        RxDBGridCustomerFind->setColumnWidth(column, widths[column]);
    ADOQueryCustomerFind->locate(QStringLiteral("ZAKAZNIK"), customer);
    DataSourceCustomerFindDataChange();
}

void TFormCustomerFind::StartIn(bool nameField)
{
    (nameField ? static_cast<QWidget *>(EditName) : Int64EditCustomer)->setFocus();
}

void TFormCustomerFind::EditsChange()
{
    const QVariant key = ADOQueryCustomerFind->isOpen() ? ADOQueryCustomerFind->value(0) : QVariant();
    ADOQueryCustomerFind->close();
    ADOQueryCustomerFind->setSql(CustomerSearchSql());
    ADOQueryCustomerFind->setParameter(QStringLiteral("JMENO"), EditName->text() + QLatin1Char('%'));
    ADOQueryCustomerFind->setParameter(QStringLiteral("ADRESA1"), EditAddress->text() + QLatin1Char('%'));
    ADOQueryCustomerFind->setParameter(QStringLiteral("RC"), EditBirth->text() + QLatin1Char('%'));
    ADOQueryCustomerFind->open();
    if (!key.isNull())
        ADOQueryCustomerFind->locate(QStringLiteral("ZAKAZNIK"), key);
    BitBtnSearch->setEnabled(!ADOQueryCustomerFind->isEmpty());
}

void TFormCustomerFind::Int64EditCustomerChange()
{
    BitBtnSearch->setEnabled(LocateExact(*ADOQueryCustomerFind, QStringLiteral("ZAKAZNIK"), Int64EditCustomer->text()));
}

void TFormCustomerFind::DataSourceCustomerFindDataChange()
{
    if (focusWidget() != Int64EditCustomer)
        Int64EditCustomer->SetValue(ADOQueryCustomerFind->value(0).toLongLong());
    Panel->setText(QStringLiteral(" Zákazníků: %1").arg(ADOQueryCustomerFind->recordCount()));
}

void TFormCustomerFind::BitBtnSearchClick()
{
    TCustomerPage *page = customerPage();
    const QVariant chosen = ADOQueryCustomerFind->value(0);
    if (page && !chosen.isNull())
        page->ADOQueryCustomer->locate(QStringLiteral("ZAKAZNIK"), chosen);
}

void TFormCustomerFind::RxDBGridCustomerFindDblClick()
{
    if (!GridMouseInData(RxDBGridCustomerFind))
        return;
    BitBtnSearchClick();
    accept();
}
