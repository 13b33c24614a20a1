#include "rental/UInformationLend.h"

#include "core/Desk.h"
#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/Utils.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "rental/LendStore.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr QSize ClientSize(770, 221);

// The lent videos' columns, in field order, with their widths.
const std::pair<const char *, int> LentColumns[] = {
    {"VIDEO", 100}, {"TITUL", 320}, {"NOSIC", 100}, {"PUJCENO", 110}, {"VRATIT", 80}};

} // namespace

TFormInformationLend::TFormInformationLend(qint64 customer, const QString &name)
    : TMessageForm(QStringLiteral(" Zákazník má půjčeno"), QStyle::SP_MessageBoxInformation,
                   QStringLiteral("LabelInformation"), ClientSize, true)
{
    setObjectName(QStringLiteral("FormInformationLend"));
    LabelInformation = mainLabel();
    createQuery(customer);
    createGrid();

    ButtonClose = addButton(QStringLiteral("ButtonClose"), QStringLiteral("Ok"), (width() - 75) / 2, height() - 33);
    ButtonClose->setDefault(true);
    ButtonClose->setFocus();
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);

    const int overdue = CustomerOverdueLines(customer, RunDate());
    LabelInformation->setText(
        QStringLiteral("%1 má půjčené následující tituly...").arg(CustomerCaption(customer, name)));
    LabelSpecification->setText(QStringLiteral("Celkem položek %1, z toho %2 již mělo být vráceno...")
                                    .arg(ADOQueryLend->recordCount())
                                    .arg(overdue));
}

void TFormInformationLend::createQuery(qint64 customer)
{
    ADOQueryLend = new BrowseQuery(this);
    ADOQueryLend->setObjectName(QStringLiteral("ADOQueryLend"));
    ADOQueryLend->setSql(CustomerLentSql());
    ADOQueryLend->setFieldKind(QStringLiteral("VIDEO"), FieldKind::Int64);
    ADOQueryLend->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    ADOQueryLend->setAlignment(QStringLiteral("VIDEO"), Qt::AlignLeft);
    for (const char *field : {"PUJCENO", "VRATIT"})
        ADOQueryLend->setFieldKind(QLatin1String(field), FieldKind::DateTime);
    ADOQueryLend->setDisplayFormat(QStringLiteral("PUJCENO"), QStringLiteral("dd.MM.yyyy hh:mm"));
    ADOQueryLend->setDisplayFormat(QStringLiteral("VRATIT"), QStringLiteral("dd.MM.yyyy"));
    const std::pair<const char *, const char *> titles[] = {
        {"VIDEO", "Kód"}, {"TITUL", "Titul"}, {"NOSIC", "Nosič"}, {"PUJCENO", "Půjčeno"}, {"VRATIT", "Do:"}};
    for (const auto &[field, title] : titles)
        ADOQueryLend->setDisplayLabel(QLatin1String(field), QString::fromUtf8(title));
    // What a title click sorts by.
    for (const char *field : {"VIDEO", "PUJCENO", "VRATIT"})
        ADOQueryLend->setOrigin(QLatin1String(field), QStringLiteral("tab_pujckydetail"));
    ADOQueryLend->setOrigin(QStringLiteral("TITUL"), QStringLiteral("tab_video"));
    ADOQueryLend->setOrigin(QStringLiteral("NOSIC"), QStringLiteral("tab_nosic"));
    ADOQueryLend->setParameter(QStringLiteral("ZAKAZNIK"), customer);
    ADOQueryLend->open();
}

void TFormInformationLend::createGrid()
{
    RxDBGrid = Named<TRxDBGridEx>(this, "RxDBGrid");
    const int top = LabelSpecification->geometry().bottom() + 4;
    RxDBGrid->setGeometry(12, top, width() - 24, height() - 41 - top);
    RxDBGrid->SetRowSelect(true);
    RxDBGrid->setModel(ADOQueryLend);
    for (const auto &[field, width] : LentColumns)
        RxDBGrid->setColumnWidth(ADOQueryLend->fieldIndex(QLatin1String(field)), width);
    BindQueryGridSort(RxDBGrid);
    UseDeskPopupMenu({RxDBGrid});
    // Every row is a video out: lent, or overdue when it was due before the run date,
    // whatever the lists' colour setting.
    const int due = ADOQueryLend->fieldIndex(QStringLiteral("VRATIT"));
    RxDBGrid->OnGetCellParams = [this, due](TRxDBGridEx *, const QModelIndex &index, bool highlight, QFont &,
                                            QColor &fontColor, QColor &background) {
        const QDate date = ADOQueryLend->valueAt(index.row(), due).toDate();
        GridCellColor(date.isValid() && date < RunDate(), highlight, fontColor, background);
    };
}
