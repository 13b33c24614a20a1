#include "core/BrowseQuery.h"

#include "core/Commands.h"
#include "core/Errors.h"
#include "core/Money.h"
#include "core/SqlServer.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

namespace {

constexpr int PgNumericOid = 1700;

bool isSqlite(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QSQLITE");
}

// The kind of an SQLite column by its declared type; false for an expression,
// whose kind is taken from its values.
bool kindFromDeclared(const QByteArray &declared, FieldKind *kind)
{
    const QByteArray t = declared.toUpper();
    if (t.isEmpty())
        return false;
    if (t.contains("BOOL"))
        *kind = FieldKind::Boolean;
    else if (t.contains("BIGINT"))
        *kind = FieldKind::Int64;
    else if (t.contains("INT")) // INTEGER, SMALLINT, TINYINT: 32-bit, as on PostgreSQL
        *kind = FieldKind::Integer;
    else if (t.contains("NUMERIC") || t.contains("DECIMAL") || t.contains("MONEY"))
        *kind = FieldKind::Money;
    else if (t.contains("REAL") || t.contains("DOUBLE") || t.contains("FLOAT"))
        *kind = FieldKind::Float;
    else if (t.contains("DATE") || t.contains("TIME"))
        *kind = FieldKind::DateTime;
    else
        *kind = FieldKind::Text;
    return true;
}

FieldKind kindFromField(const QSqlField &field)
{
    switch (field.metaType().id()) {
    case QMetaType::Bool: return FieldKind::Boolean;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt: return FieldKind::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return FieldKind::Int64;
    case QMetaType::Double:
    case QMetaType::Float: return field.typeID() == PgNumericOid ? FieldKind::Money : FieldKind::Float;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime: return FieldKind::DateTime;
    default: return FieldKind::Text;
    }
}

FieldKind kindFromValue(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong: return FieldKind::Int64;
    case QMetaType::Double: return FieldKind::Float;
    default: return FieldKind::Text;
    }
}

} // namespace

// One field's values, held by kind: whole numbers, Booleans and money (in units) as
// integers, so that 100 000 rows stay small and quick to search.
struct BrowseQuery::Column {
    QString name;
    FieldKind kind = FieldKind::Text;
    bool kindKnown = true;
    std::vector<qint64> ints;
    std::vector<double> reals;
    std::vector<QDateTime> times;
    std::vector<QString> texts;
    std::vector<bool> nulls;
    std::vector<QVariant> raw; // an expression's values until its kind is known

    void clearValues()
    {
        ints.clear();
        reals.clear();
        times.clear();
        texts.clear();
        nulls.clear();
        raw.clear();
    }

    void store(const QVariant &driverValue)
    {
        if (!kindKnown) {
            raw.push_back(driverValue);
            return;
        }
        // The common driver types go straight in; anything else by toKind().
        const int type = driverValue.metaType().id();
        if (!driverValue.isNull()) {
            if (kind == FieldKind::Text && type == QMetaType::QString) {
                QString t = driverValue.toString();
                qsizetype n = t.size();
                while (n > 0 && t[n - 1].isSpace())
                    --n;
                if (n != t.size())
                    t.truncate(n);
                nulls.push_back(false);
                texts.push_back(std::move(t));
                return;
            }
            if ((kind == FieldKind::Integer || kind == FieldKind::Int64)
                && (type == QMetaType::LongLong || type == QMetaType::Int)) {
                nulls.push_back(false);
                ints.push_back(driverValue.toLongLong());
                return;
            }
        }
        bool ok = true;
        const QVariant v = DataSet::toKind(driverValue, kind, &ok);
        const bool null = v.isNull();
        nulls.push_back(null);
        switch (kind) {
        case FieldKind::Integer:
        case FieldKind::Int64: ints.push_back(null ? 0 : v.toLongLong()); break;
        case FieldKind::Boolean: ints.push_back(null ? 0 : v.toBool()); break;
        case FieldKind::Money: ints.push_back(null ? 0 : v.value<Money>().units()); break;
        case FieldKind::Float: reals.push_back(null ? 0.0 : v.toDouble()); break;
        case FieldKind::DateTime: times.push_back(null ? QDateTime() : v.toDateTime()); break;
        case FieldKind::Text: texts.push_back(null ? QString() : v.toString()); break;
        }
    }

    // Settles an expression's kind from its first value that is not null.
    void settle(FieldKind fallback)
    {
        if (kindKnown)
            return;
        kind = fallback;
        for (const QVariant &v : raw) {
            if (!v.isNull()) {
                kind = kindFromValue(v);
                break;
            }
        }
        kindKnown = true;
        std::vector<QVariant> values;
        values.swap(raw);
        for (const QVariant &v : values)
            store(v);
    }

    QVariant value(int row) const
    {
        if (nulls[row])
            return DataSet::nullOf(kind);
        switch (kind) {
        case FieldKind::Integer: return QVariant(int(ints[row]));
        case FieldKind::Int64: return QVariant(qint64(ints[row]));
        case FieldKind::Boolean: return QVariant(ints[row] != 0);
        case FieldKind::Money: return QVariant::fromValue(Money::fromUnits(ints[row]));
        case FieldKind::Float: return QVariant(reals[row]);
        case FieldKind::DateTime: return QVariant(times[row]);
        case FieldKind::Text: return QVariant(texts[row]);
        }
        return QVariant();
    }

    void retype(FieldKind newKind, int rows)
    {
        std::vector<QVariant> values;
        values.reserve(rows);
        for (int r = 0; r < rows; ++r)
            values.push_back(value(r));
        clearValues();
        kind = newKind;
        for (const QVariant &v : values)
            store(v);
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
            c.retype(kind, m_rows);
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
    QSqlDatabase db = CurrentConnection();
    if (!db.isValid() || !db.isOpen())
        throw EDatabaseError(QStringLiteral("Databáze není připojena"));
    const QString text = sqlText();
    if (text.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Dotaz nemá žádný text"));
    const bool sqlite = isSqlite(db);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!sqlite)
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.prepare(text))
        throw EDatabaseError(q.lastError().text());
    for (const QString &m : std::as_const(m_markers))
        q.bindValue(QLatin1Char(':') + m, SqlBindValue(m_params.value(m), sqlite));
    ExecQueryOrThrow(q, text);

    const QSqlRecord record = q.record();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite) {
        const QVariant h = q.result()->handle();
        if (h.isValid() && qstrcmp(h.typeName(), "sqlite3_stmt*") == 0)
            stmt = *static_cast<sqlite3_stmt *const *>(h.constData());
    }
    std::vector<std::unique_ptr<Column>> columns;
    for (int i = 0; i < record.count(); ++i) {
        auto c = std::make_unique<Column>();
        c->name = record.fieldName(i).toUpper();
        const auto declared = m_declared.constFind(c->name);
        if (declared != m_declared.constEnd()) {
            c->kind = declared.value();
        } else if (sqlite) {
            const char *decl = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
            c->kindKnown = kindFromDeclared(QByteArray(decl), &c->kind);
        } else {
            c->kind = kindFromField(record.field(i));
        }
        columns.push_back(std::move(c));
    }
    int rows = 0;
    const int n = int(columns.size());
    while (q.next()) {
        for (int i = 0; i < n; ++i)
            columns[i]->store(q.value(i));
        ++rows;
    }
    q.finish();
    for (auto &c : columns)
        c->settle(FieldKind::Text);

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

QVariant BrowseQuery::valueAt(int row, int field) const
{
    if (row < 0 || row >= m_rows || field < 0 || field >= fieldCount())
        return QVariant();
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
