#include "catalogue/UMedium.h"

#include "catalogue/CodeBookStore.h"
#include "catalogue/UMediumEdit.h"
#include "core/Grids.h"
#include "core/Modal.h"
#include "core/RunReported.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Lookups.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

TFormMedium *FormMedium = nullptr;

namespace {

const QString Dubbing = QStringLiteral("DABING");
const QString Fees[] = {QStringLiteral("PUJCOVNE"), QStringLiteral("VRATNE"), QStringLiteral("ZALOHA")};

TFormCodeBook::Book MediaBook()
{
    TFormCodeBook::Book book;
    book.objectName = QStringLiteral("FormMedium");
    book.caption = QStringLiteral(" Nosiče a ceny");
    book.groupCaption = QStringLiteral("Nosiče, půjčovné, vratné a zálohy");
    book.defaultCaption = QStringLiteral("Výchozí nosič:");
    book.queryName = QStringLiteral("ADOQueryMedium");
    book.gridName = QStringLiteral("RxDBGridEx");
    book.table = QStringLiteral("tab_nosic");
    book.keyField = QStringLiteral("ID_NOSIC");
    book.nameLength = MediumNameLength;
    book.sql = MediumQuerySql();
    book.defaultName = GetDefaultMedium;
    book.remove = DeleteMedium;
    book.setDefault = SetDefaultMedium;
    book.removeRefused = QStringLiteral("Nosič nelze odebrat...");
    book.removeRefusedDetail = QStringLiteral("Nosič je používán v databázi videa...");
    return book;
}

} // namespace

TFormMedium::TFormMedium(QWidget *parent) : TFormCodeBook(MediaBook(), parent)
{
    ADOQueryMedium = m_query;
    RxDBGridEx = m_grid;
    ADOQueryMedium->setFieldKind(Dubbing, FieldKind::Boolean);
    const QString titles[] = {QStringLiteral("Půjčovné [Kč/den]"), QStringLiteral("Vratné [Kč/den]"),
                              QStringLiteral("Záloha [Kč]")};
    for (int i = 0; i < 3; ++i) {
        ADOQueryMedium->setFieldKind(Fees[i], FieldKind::Money);
        ADOQueryMedium->setDisplayFormat(Fees[i], QStringLiteral(",0.00"));
        ADOQueryMedium->setDisplayLabel(Fees[i], titles[i]);
    }
    ADOQueryMedium->setDisplayLabel(QStringLiteral("NOSIC"), QStringLiteral("Nosič"));
    ADOQueryMedium->setDisplayLabel(Dubbing, QStringLiteral("Dab."));
    RxDBGridEx->SetRowSelect(true);
    RxDBGridEx->OnMouseDown = [this](TRxDBGridEx *grid, QMouseEvent *event) {
        RunReported([&] { RxDBGridMouseDown(grid, event); });
    };
    resize(610, 300);
    FormMedium = this;
}

TFormMedium::~TFormMedium()
{
    if (FormMedium == this)
        FormMedium = nullptr;
}

void TFormMedium::ShowColumns()
{
    const std::pair<QString, int> widths[]
        = {{QStringLiteral("NOSIC"), 76}, {Dubbing, 44}, {Fees[0], 100}, {Fees[1], 100}, {Fees[2], 90}};
    for (int field = 0; field < ADOQueryMedium->fieldCount(); ++field)
        RxDBGridEx->setColumnHidden(field, true);
    for (const auto &[name, width] : widths) {
        const int field = ADOQueryMedium->fieldIndex(name);
        RxDBGridEx->setColumnHidden(field, false);
        RxDBGridEx->setColumnWidth(field, width);
    }
}

void TFormMedium::ButtonAddClick()
{
    TFormMediumNew form(this);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    int id = 0;
    if (RunChange([&] { id = InsertMedium(form.Values()); }))
        RequeryOn(id);
}

void TFormMedium::ButtonEditClick()
{
    const int id = CurrentId();
    MediumValues values;
    values.name = ADOQueryMedium->value(QStringLiteral("NOSIC")).toString();
    values.dubbing = ADOQueryMedium->value(Dubbing).toBool();
    values.rentalFee = ADOQueryMedium->value(Fees[0]).value<Money>();
    values.lateFee = ADOQueryMedium->value(Fees[1]).value<Money>();
    values.deposit = ADOQueryMedium->value(Fees[2]).value<Money>();
    TFormMediumEdit form(id, values, this);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    if (RunChange([&] { UpdateMedium(id, form.Values()); }))
        RequeryOn(id);
}

void TFormMedium::RxDBGridMouseDown(TRxDBGridEx *grid, QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    QString field;
    if (!GridCheckBoxHit(grid, pos.x(), pos.y(), &field) || field.toUpper() != Dubbing)
        return;
    const int id = CurrentId();
    if (RunChange([id] { ToggleMediumDubbing(id); }))
        RequeryOn(id);
}

void TFormMedium::keyPressEvent(QKeyEvent *event)
{
    // Only "Storno" and the close box leave this window without Ok.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    TFormCodeBook::keyPressEvent(event);
}

QDialog *CreateFormMedium()
{
    auto form = std::make_unique<TFormMedium>();
    form->OpenOn(GetDefaultMediumId());
    return form.release();
}
