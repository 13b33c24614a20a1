#include "core/database/MemoryTable.h"

#include "core/database/Errors.h"
#include "core/database/Money.h"

#include <QCollator>
#include <QDateTime>
#include <QLocale>

#include <algorithm>

QVariant CalcRecord::value(const QString &name) const
{
    return m_values.at(m_table.requireField(name));
}

void CalcRecord::setValue(const QString &name, const QVariant &value)
{
    const int i = m_table.requireField(name);
    bool ok = false;
    const QVariant v = DataSet::toKind(value, m_table.fieldKind(i), &ok);
    if (!ok)
        throw EDatabaseError(QStringLiteral("Hodnota pole %1 má špatný typ").arg(m_table.fieldName(i)));
    m_values[i] = v;
}

MemoryTable::MemoryTable(QObject *parent) : DataSet(parent) {}

MemoryTable::~MemoryTable() = default;

void MemoryTable::addField(const QString &name, FieldKind kind, bool calculated)
{
    if (!m_rows.isEmpty())
        throw EDatabaseError(QStringLiteral("Pole nelze přidat do tabulky s řádky"));
    if (fieldIndex(name) >= 0)
        throw EDatabaseError(QStringLiteral("Pole %1 už v tabulce je").arg(name));
    const int i = fieldCount();
    beginInsertColumns(QModelIndex(), i, i);
    m_fields.append(Field{name.trimmed().toUpper(), kind, calculated});
    endInsertColumns();
}

bool MemoryTable::isCalculated(int field) const
{
    return m_fields.at(field).calculated;
}

void MemoryTable::setCalcFields(CalcFields calc)
{
    m_calc = std::move(calc);
}

void MemoryTable::open()
{
    if (m_open)
        return;
    m_open = true;
    setCurrent(-1, true);
}

void MemoryTable::close()
{
    if (!m_open)
        return;
    emptyTable();
    m_open = false;
}

void MemoryTable::requireOpen() const
{
    if (!m_open)
        throw EDatabaseError(QStringLiteral("Tabulka není otevřena"));
}

QVariantList MemoryTable::converted(const QVariantList &base, const QHash<QString, QVariant> &values) const
{
    QVariantList out = base;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const int i = requireField(it.key());
        if (m_fields[i].calculated)
            throw EDatabaseError(QStringLiteral("Pole %1 se počítá, nelze ho zapsat").arg(m_fields[i].name));
        bool ok = false;
        const QVariant v = toKind(it.value(), m_fields[i].kind, &ok);
        if (!ok)
            throw EDatabaseError(QStringLiteral("Hodnota pole %1 má špatný typ").arg(m_fields[i].name));
        out[i] = v;
    }
    calculate(out);
    return out;
}

void MemoryTable::calculate(QVariantList &values) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].calculated)
            values[i] = nullOf(m_fields[i].kind);
    }
    if (m_calc) {
        CalcRecord record(*this, values);
        m_calc(record);
    }
}

void MemoryTable::append(const QHash<QString, QVariant> &values)
{
    requireOpen();
    QVariantList empty;
    for (const Field &f : std::as_const(m_fields))
        empty << nullOf(f.kind);
    const QVariantList row = converted(empty, values);
    const int r = m_rows.size();
    beginInsertRows(QModelIndex(), r, r);
    m_rows.append(Row{m_nextId++, row});
    endInsertRows();
    setCurrent(r, true);
}

void MemoryTable::edit(const QHash<QString, QVariant> &values)
{
    requireOpen();
    const int r = currentRow();
    if (r < 0)
        throw EDatabaseError(QStringLiteral("Tabulka nemá žádný řádek"));
    m_rows[r].values = converted(m_rows[r].values, values);
    Q_EMIT dataChanged(index(r, 0), index(r, fieldCount() - 1));
}

void MemoryTable::deleteRecord()
{
    requireOpen();
    const int r = currentRow();
    if (r < 0)
        throw EDatabaseError(QStringLiteral("Tabulka nemá žádný řádek"));
    beginRemoveRows(QModelIndex(), r, r);
    m_rows.removeAt(r);
    forgetCurrent();
    endRemoveRows();
    setCurrent(r, true);
}

void MemoryTable::emptyTable()
{
    if (!m_rows.isEmpty()) {
        beginResetModel();
        m_rows.clear();
        forgetCurrent();
        endResetModel();
    }
    setCurrent(-1, true);
}

void MemoryTable::sortOnFields(const QString &fields, bool caseInsensitive, bool descending)
{
    QList<int> keys;
    for (const QString &name : fields.split(u';', Qt::SkipEmptyParts))
        keys << requireField(name);
    if (keys.isEmpty() || m_rows.size() < 2)
        return;
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setCaseSensitivity(caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
    collator.setNumericMode(false);

    auto compare = [&](const QVariant &a, const QVariant &b, FieldKind kind) -> int {
        if (a.isNull() || b.isNull())
            return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
        switch (kind) {
        case FieldKind::Text: return collator.compare(a.toString(), b.toString());
        case FieldKind::Money: {
            const Money x = a.value<Money>(), y = b.value<Money>();
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        case FieldKind::Float: return a.toDouble() < b.toDouble() ? -1 : (b.toDouble() < a.toDouble() ? 1 : 0);
        case FieldKind::DateTime: {
            const QDateTime x = a.toDateTime(), y = b.toDateTime();
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        default: {
            const qint64 x = a.toLongLong(), y = b.toLongLong();
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        }
    };
    const quint64 currentId = currentRow() >= 0 ? m_rows[currentRow()].id : 0;
    QList<Row> sorted = m_rows;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Row &a, const Row &b) {
        for (int k : std::as_const(keys)) {
            const int c = compare(a.values[k], b.values[k], m_fields[k].kind);
            if (c != 0)
                return descending ? c > 0 : c < 0;
        }
        return false;
    });

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QHash<quint64, int> newRow;
    for (int i = 0; i < sorted.size(); ++i)
        newRow.insert(sorted[i].id, i);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    for (const QModelIndex &idx : persistent)
        moved << index(newRow.value(m_rows[idx.row()].id), idx.column());
    m_rows = sorted;
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (currentId != 0)
        setCurrent(newRow.value(currentId));
}

int MemoryTable::fieldCount() const
{
    return int(m_fields.size());
}

QString MemoryTable::fieldName(int field) const
{
    return m_fields.at(field).name;
}

FieldKind MemoryTable::fieldKind(int field) const
{
    return m_fields.at(field).kind;
}

int MemoryTable::recordCount() const
{
    return int(m_rows.size());
}

const QVariant &MemoryTable::valueAt(int row, int field) const
{
    static const QVariant none;
    if (row < 0 || row >= m_rows.size() || field < 0 || field >= m_fields.size())
        return none;
    return m_rows[row].values[field];
}

quint64 MemoryTable::rowIdentity(int row) const
{
    return m_rows.at(row).id;
}

int MemoryTable::rowOfIdentity(quint64 identity) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == identity)
            return i;
    }
    return -1;
}
