#include "core/LentLines.h"

#include "core/Desk.h"
#include "core/DeskLists.h"
#include "core/Grids.h"
#include "core/RunGlobals.h"
#include "core/USetupVideo.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"

#include <QCheckBox>

namespace {

void keepEarliest(QHash<qint64, QDateTime> &earliest, qint64 key, const QDateTime &due)
{
    auto it = earliest.find(key);
    if (it == earliest.end())
        earliest.insert(key, due);
    else if (due.isValid() && (!it->isValid() || due < *it))
        *it = due;
}

std::optional<bool> overdue(const QHash<qint64, QDateTime> &earliest, qint64 key)
{
    const auto it = earliest.constFind(key);
    if (it == earliest.constEnd())
        return std::nullopt;
    return it->isValid() && *it < QDateTime(RunDate(), QTime(0, 0));
}

} // namespace

TLentLines::TLentLines(QObject *parent) : QObject(parent)
{
    ADOQueryLended = new BrowseQuery(this);
    ADOQueryLended->setObjectName(QStringLiteral("ADOQueryLended"));
    ADOQueryLended->setSql({QStringLiteral("SELECT"), QStringLiteral("DOKLAD_PUJ,"), QStringLiteral("VIDEO,"),
                            QStringLiteral("ZAKAZNIK,"), QStringLiteral("VRATIT"),
                            QStringLiteral("FROM tab_pujckydetail"), QStringLiteral("WHERE PUJCENA=1")});
    ADOQueryLended->setFieldKind(QStringLiteral("VRATIT"), FieldKind::DateTime);
    connect(ADOQueryLended, &DataSet::currentRowChanged, this, [this] { m_indexed = false; });
    RegisterOpenStep(80, [this] {
        ADOQueryLended->requery();
        return true;
    });
}

void TLentLines::Requery()
{
    RequeryLocate(*ADOQueryLended, QVariant());
}

void TLentLines::Index() const
{
    if (m_indexed)
        return;
    m_customers.clear();
    m_videos.clear();
    m_documents.clear();
    if (ADOQueryLended->isOpen()) {
        const int document = ADOQueryLended->fieldIndex(QStringLiteral("DOKLAD_PUJ"));
        const int video = ADOQueryLended->fieldIndex(QStringLiteral("VIDEO"));
        const int customer = ADOQueryLended->fieldIndex(QStringLiteral("ZAKAZNIK"));
        const int due = ADOQueryLended->fieldIndex(QStringLiteral("VRATIT"));
        for (int row = 0; row < ADOQueryLended->recordCount(); ++row) {
            const QDateTime when = ADOQueryLended->valueAt(row, due).toDateTime();
            keepEarliest(m_customers, ADOQueryLended->valueAt(row, customer).toLongLong(), when);
            keepEarliest(m_videos, ADOQueryLended->valueAt(row, video).toLongLong(), when);
            keepEarliest(m_documents, ADOQueryLended->valueAt(row, document).toLongLong(), when);
        }
    }
    m_indexed = true;
}

std::optional<bool> TLentLines::CustomerOverdue(qint64 customer) const
{
    Index();
    return overdue(m_customers, customer);
}

std::optional<bool> TLentLines::VideoOverdue(qint64 video) const
{
    Index();
    return overdue(m_videos, video);
}

std::optional<bool> TLentLines::DocumentOverdue(qint64 document) const
{
    Index();
    return overdue(m_documents, document);
}

std::optional<bool> LineOverdue(const DataSet &lines, int row)
{
    if (!lines.valueAt(row, lines.fieldIndex(QStringLiteral("PUJCENA"))).toBool())
        return std::nullopt;
    const QDateTime due = lines.valueAt(row, lines.fieldIndex(QStringLiteral("VRATIT"))).toDateTime();
    return due.isValid() && due < QDateTime(RunDate(), QTime(0, 0));
}

TLentLines *WindowLentLines()
{
    const TCustomerList *customers = MainCustomers();
    return customers ? customers->LentLines() : nullptr;
}

bool RowColoursOn()
{
    return FormSetupVideo && FormSetupVideo->CheckBoxColor && FormSetupVideo->CheckBoxColor->isChecked();
}

void ColorLentRows(TRxDBGridEx *grid, std::function<std::optional<bool>(int row)> overdueOfRow)
{
    grid->OnGetCellParams = [overdueOfRow = std::move(overdueOfRow)](
                                TRxDBGridEx *, const QModelIndex &index, bool highlight, QFont &,
                                QColor &fontColor, QColor &background) {
        if (!RowColoursOn())
            return;
        if (const std::optional<bool> state = overdueOfRow(index.row()))
            GridCellColor(*state, highlight, fontColor, background);
    };
}
