#include "core/database/BrowseQuery.h"

#include "core/database/Commands.h"
#include "core/database/Errors.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>
#include <vector>

namespace {

FieldKind kindFromValue(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong: return FieldKind::Int64;
    case QMetaType::Double: return FieldKind::Float;
    default: return FieldKind::Text;
    }
}

// A column's values in blocks of a fixed size: it grows without moving the values
// already read (as a vector's doubling would: half the time of opening a large list went
// into those moves), and a block holds 256 values where a deque's holds 16 (the
// allocation of a deque's blocks took a tenth of opening the 100 000 customers).
class ValueBlocks {
public:
    void push_back(QVariant &&value)
    {
        if (m_blocks.empty() || m_blocks.back().size() == BlockSize) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(BlockSize);
        }
        m_blocks.back().push_back(std::move(value));
        ++m_size;
    }
    QVariant &operator[](size_t i) { return m_blocks[i / BlockSize][i % BlockSize]; }
    size_t size() const { return m_size; }
    void clear()
    {
        m_blocks.clear();
        m_size = 0;
    }

private:
    static constexpr size_t BlockSize = 256; // 8 KB: from the heap, not a mapping of its own
    std::vector<std::vector<QVariant>> m_blocks;
    size_t m_size = 0;
};

} // namespace

// One field's values as the driver gave them, converted to the field's kind the
// first time a cell is read (a grid reads the few rows it shows, a locate one
// field of every row) and kept converted from then on. Opening a list therefore
// costs little more than the bare read: the driver's values are only moved in.
struct BrowseQuery::Column {
    QString name;
    FieldKind kind = FieldKind::Text;
    bool kindKnown = true; // false: an expression, typed by its first value
    mutable ValueBlocks cells;
    mutable std::vector<bool> converted;

    void clearValues()
    {
        cells.clear();
        converted.clear();
    }

    void store(QVariant &&driverValue)
    {
        cells.push_back(std::move(driverValue));
    }

    void finish(int rows)
    {
        if (!kindKnown) {
            kind = FieldKind::Text;
            for (size_t r = 0; r < cells.size(); ++r) {
                const QVariant &v = cells[r];
                if (!v.isNull()) {
                    kind = kindFromValue(v);
                    break;
                }
            }
            kindKnown = true;
        }
        converted.assign(size_t(rows), false);
    }

    const QVariant &value(int row) const
    {
        QVariant &cell = cells[size_t(row)];
        if (!converted[size_t(row)]) {
            cell = DataSet::toKind(cell, kind);
            converted[size_t(row)] = true;
        }
        return cell;
    }

    // A value already converted goes to the new kind from its present one.
    void retype(FieldKind newKind)
    {
        kind = newKind;
        for (size_t r = 0; r < cells.size(); ++r) {
            if (converted[r])
                cells[r] = DataSet::toKind(cells[r], kind);
        }
    }
};

BrowseQuery::BrowseQuery(QObject *parent) : DataSet(parent) {}

BrowseQuery::~BrowseQuery() = default;

void BrowseQuery::setSql(const QStringList &lines)
{
    close();
    m_lines = lines;
    m_markers = CommandMarkers(sqlText());
    for (auto it = m_params.begin(); it != m_params.end();) {
        if (m_markers.contains(it.key()))
            ++it;
        else
            it = m_params.erase(it);
    }
}

QString BrowseQuery::sqlText() const
{
    QString text;
    for (const QString &line : m_lines) {
        text += line;
        text += u'\n';
    }
    return text;
}

void BrowseQuery::setSqlText(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    setSql(lines);
}

void BrowseQuery::setParameter(const QString &name, const QVariant &value)
{
    if (!m_markers.contains(name))
        throw EDatabaseError(QStringLiteral("Parametr %1 v dotazu není").arg(name));
    m_params.insert(name, value);
}

QVariant BrowseQuery::parameter(const QString &name) const
{
    if (!m_markers.contains(name))
        throw EDatabaseError(QStringLiteral("Parametr %1 v dotazu není").arg(name));
    return m_params.value(name);
}

void BrowseQuery::setFieldKind(const QString &name, FieldKind kind)
{
    const QString key = name.toUpper();
    m_declared.insert(key, kind);
    for (int i = 0; i < fieldCount(); ++i) {
        Column &c = *m_columns[i];
        if (c.name == key && c.kind != kind) {
            c.retype(kind);
            if (m_shown > 0) {
                Q_EMIT dataChanged(index(0, i), index(m_shown - 1, i));
            }
        }
    }
}

void BrowseQuery::open()
{
    if (!m_open)
        run();
}

void BrowseQuery::close()
{
    if (!m_open)
        return;
    clearRows();
    m_open = false;
    setCurrent(-1, true);
}

void BrowseQuery::requery()
{
    if (m_open) {
        clearRows();
        m_open = false;
    }
    run();
}

void BrowseQuery::clearRows()
{
    if (m_shown > 0)
        beginRemoveRows(QModelIndex(), 0, m_shown - 1);
    const bool removing = m_shown > 0;
    for (auto &c : m_columns)
        c->clearValues();
    m_rows = 0;
    m_shown = 0;
    ++m_generation;
    forgetCurrent();
    if (removing)
        endRemoveRows();
}

void BrowseQuery::run()
{
    const QString text = sqlText();
    if (text.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Dotaz nemá žádný text"));
    std::optional<ReadOnlyStatements> readOnly;
    if (m_onlyReads)
        readOnly.emplace();
    QSqlQuery q = ExecReadingQuery(text, m_markers, m_params);

    const QSqlRecord record = q.record();
    const QList<std::optional<FieldKind>> kinds = CurrentServer()->dialect().columnKinds(q);
    std::vector<std::unique_ptr<Column>> columns;
    for (int i = 0; i < record.count(); ++i) {
        auto c = std::make_unique<Column>();
        c->name = record.fieldName(i).toUpper();
        const auto declared = m_declared.constFind(c->name);
        if (declared != m_declared.constEnd())
            c->kind = declared.value();
        else if (i < kinds.size() && kinds.at(i))
            c->kind = *kinds.at(i);
        else
            c->kindKnown = false;
        columns.push_back(std::move(c));
    }
    // Every row is read now, none left pending on the connection. On SQLite (WAL) a
    // statement left running holds its read snapshot: once another connection to the
    // file (a second desk, the engine's own side connections) has committed, this
    // connection's next write or BEGIN IMMEDIATE fails at once with "database is
    // locked", and a checkpoint of the log is refused; a change made on this
    // connection while it runs may make the rest of the read skip rows. Its own
    // COMMIT is not blocked, but the transactions begin in too many places to finish
    // every pending read first. On PostgreSQL a forward-only result is streamed row
    // by row and lost as soon as another statement runs. So the rows are read at once
    // and only their conversion waits for the cells to be read.
    int rows = 0;
    const int n = int(columns.size());
    while (q.next()) {
        for (int i = 0; i < n; ++i)
            columns[i]->store(q.value(i));
        ++rows;
    }
    // A statement that fails part of the way through is refused whole, never shown
    // as a shorter list.
    if (q.lastError().isValid())
        throw EDatabaseError(q.lastError().text());
    q.finish();
    readOnly.reset(); // the rows are read; what the model's signals start may write
    for (auto &c : columns)
        c->finish(rows);

    bool sameFields = columns.size() == m_columns.size();
    for (size_t i = 0; sameFields && i < columns.size(); ++i)
        sameFields = columns[i]->name == m_columns[i]->name && columns[i]->kind == m_columns[i]->kind;
    const int shown = qMin(rows, m_fetchBlock);
    if (sameFields) {
        if (shown > 0)
            beginInsertRows(QModelIndex(), 0, shown - 1);
        m_columns = std::move(columns);
        m_rows = rows;
        m_shown = shown;
        m_open = true;
        if (shown > 0)
            endInsertRows();
    } else {
        beginResetModel();
        m_columns = std::move(columns);
        m_rows = rows;
        m_shown = shown;
        m_open = true;
        endResetModel();
    }
    ++m_generation;
    setCurrent(rows > 0 ? 0 : -1, true, true, rows == 0);
}

int BrowseQuery::fieldCount() const
{
    return int(m_columns.size());
}

QString BrowseQuery::fieldName(int field) const
{
    return m_columns.at(field)->name;
}

FieldKind BrowseQuery::fieldKind(int field) const
{
    return m_columns.at(field)->kind;
}

int BrowseQuery::recordCount() const
{
    return m_rows;
}

const QVariant &BrowseQuery::valueAt(int row, int field) const
{
    static const QVariant none;
    if (row < 0 || row >= m_rows || field < 0 || field >= fieldCount())
        return none;
    return m_columns[field]->value(row);
}

int BrowseQuery::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

bool BrowseQuery::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_shown < m_rows;
}

void BrowseQuery::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        showRows(qMin(m_rows, m_shown + m_fetchBlock));
}

void BrowseQuery::ensureShown(int row)
{
    if (row >= m_shown)
        showRows(qMin(m_rows, row + 1));
}

void BrowseQuery::showRows(int count)
{
    if (count <= m_shown)
        return;
    beginInsertRows(QModelIndex(), m_shown, count - 1);
    m_shown = count;
    endInsertRows();
}

quint64 BrowseQuery::rowIdentity(int row) const
{
    return (quint64(m_generation) << 32) | quint32(row);
}

int BrowseQuery::rowOfIdentity(quint64 identity) const
{
    if (quint32(identity >> 32) != m_generation)
        return -1;
    const int row = int(quint32(identity));
    return row < m_rows ? row : -1;
}
