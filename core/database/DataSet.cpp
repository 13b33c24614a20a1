#include "core/database/DataSet.h"

#include "core/database/Errors.h"
#include "core/database/Padding.h"
#include "core/database/Money.h"

#include <QDateTime>

namespace {

bool isWhole(FieldKind kind)
{
    return kind == FieldKind::Integer || kind == FieldKind::Int64;
}

// 'yyyy-mm-dd hh:mm:ss' (or its first 10 or 16 characters) as SQLite stores times;
// read by hand because QDateTime::fromString with a format is slow on long lists.
QDateTime storedDateTime(const QString &t)
{
    const qsizetype n = t.size();
    if (n != 10 && n != 16 && n != 19)
        return QDateTime();
    auto num = [&t](qsizetype at, int len, bool *ok) {
        int v = 0;
        for (int i = 0; i < len; ++i) {
            const char16_t c = t[at + i].unicode();
            if (c < u'0' || c > u'9')
                *ok = false;
            v = v * 10 + (c - u'0');
        }
        return v;
    };
    bool ok = t[4] == u'-' && t[7] == u'-';
    const int y = num(0, 4, &ok), mo = num(5, 2, &ok), d = num(8, 2, &ok);
    int h = 0, mi = 0, s = 0;
    if (n >= 16) {
        ok = ok && (t[10] == u' ' || t[10] == u'T') && t[13] == u':';
        h = num(11, 2, &ok);
        mi = num(14, 2, &ok);
    }
    if (n == 19) {
        ok = ok && t[16] == u':';
        s = num(17, 2, &ok);
    }
    if (!ok)
        return QDateTime();
    const QDate date(y, mo, d);
    const QTime time(h, mi, s);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

QDateTime dateTimeFromText(const QString &text)
{
    const QDateTime stored = storedDateTime(text);
    if (stored.isValid())
        return stored;
    static const char *const formats[] = {"yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd hh:mm",
                                          "yyyy-MM-ddThh:mm:ss", "yyyy-MM-dd"};
    const QString t = text.trimmed();
    for (const char *f : formats) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(f));
        if (dt.isValid())
            return dt;
    }
    return QDateTime::fromString(t, Qt::ISODateWithMs);
}

// One key of a locate, converted once to its field's kind.
struct LocateKey {
    int field = -1;
    FieldKind kind = FieldKind::Text;
    QVariant value;
    QString text;
    bool null = false;
};

} // namespace

DataSet::DataSet(QObject *parent) : QAbstractTableModel(parent) {}

DataSet::~DataSet() = default;

int DataSet::fieldIndex(const QString &name) const
{
    const int n = fieldCount();
    for (int i = 0; i < n; ++i) {
        if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList DataSet::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < fieldCount(); ++i)
        names << fieldName(i);
    return names;
}

int DataSet::requireField(const QString &name) const
{
    const int i = fieldIndex(name.trimmed());
    if (i < 0)
        throw EDatabaseError(QStringLiteral("Pole %1 v datech není").arg(name));
    return i;
}

QVariant DataSet::value(int field) const
{
    if (field < 0 || field >= fieldCount())
        throw EDatabaseError(QStringLiteral("Pole číslo %1 v datech není").arg(field));
    if (m_current < 0)
        return nullOf(fieldKind(field));
    return valueAt(m_current, field);
}

QVariant DataSet::value(const QString &name) const
{
    return value(requireField(name));
}

QVariant DataSet::nullOf(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer: return QVariant(QMetaType::fromType<int>());
    case FieldKind::Int64: return QVariant(QMetaType::fromType<qint64>());
    case FieldKind::Money: return QVariant(QMetaType::fromType<Money>());
    case FieldKind::Float: return QVariant(QMetaType::fromType<double>());
    case FieldKind::DateTime: return QVariant(QMetaType::fromType<QDateTime>());
    case FieldKind::Text: return QVariant(QMetaType::fromType<QString>());
    case FieldKind::Boolean: return QVariant(QMetaType::fromType<bool>());
    }
    return QVariant();
}

QVariant DataSet::toKind(const QVariant &value, FieldKind kind, bool *ok)
{
    bool good = true;
    QVariant out;
    if (!value.isValid() || value.isNull()) {
        out = nullOf(kind);
    } else {
        const bool isText = value.metaType() == QMetaType::fromType<QString>();
        switch (kind) {
        case FieldKind::Integer:
        case FieldKind::Int64: {
            qint64 n = 0;
            if (value.metaType() == QMetaType::fromType<Money>()) {
                const Money m = value.value<Money>();
                good = m.units() % Money::Scale == 0;
                n = m.units() / Money::Scale;
            } else if (isText) {
                n = value.toString().trimmed().toLongLong(&good);
            } else if (value.metaType() == QMetaType::fromType<double>()) {
                const double d = value.toDouble();
                n = qint64(d);
                good = double(n) == d;
            } else {
                n = value.toLongLong(&good);
            }
            if (kind == FieldKind::Integer) {
                good = good && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
                out = QVariant(int(n));
            } else {
                out = QVariant(n);
            }
            break;
        }
        case FieldKind::Money:
            if (isText) {
                Money m = Money::fromString(value.toString(), &good);
                if (!good) {
                    // A NUMERIC with more decimals than money keeps (an average):
                    // to the nearest ten-thousandth.
                    const double d = value.toString().trimmed().toDouble(&good);
                    m = Money::fromDouble(d);
                }
                out = QVariant::fromValue(m);
            } else
                out = QVariant::fromValue(Money::fromVariant(value));
            break;
        case FieldKind::Float:
            if (value.metaType() == QMetaType::fromType<Money>())
                out = QVariant(value.value<Money>().toDouble());
            else
                out = QVariant(value.toDouble(&good));
            break;
        case FieldKind::DateTime: {
            QDateTime dt;
            if (value.metaType() == QMetaType::fromType<QDateTime>())
                dt = value.toDateTime();
            else if (value.metaType() == QMetaType::fromType<QDate>())
                dt = value.toDate().startOfDay();
            else
                dt = dateTimeFromText(value.toString());
            good = dt.isValid();
            out = good ? QVariant(dt) : nullOf(kind);
            break;
        }
        case FieldKind::Text:
            out = QVariant(TrimmedRight(value.toString()));
            break;
        case FieldKind::Boolean:
            if (isText) {
                const QString t = value.toString().trimmed();
                good = t == QLatin1String("0") || t == QLatin1String("1")
                    || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                    || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
                out = QVariant(t == QLatin1String("1") || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
            } else {
                out = QVariant(value.toLongLong() != 0 || value.toBool());
            }
            break;
        }
    }
    if (ok)
        *ok = good;
    return out;
}

QString DataSet::displayText(int row, int field) const
{
    return formatValue(valueAt(row, field), fieldKind(field), fieldDisplay(fieldName(field)).format);
}

QString DataSet::formatValue(const QVariant &v, FieldKind kind, const QString &format)
{
    if (v.isNull())
        return QString();
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::Int64: {
        const qint64 n = v.toLongLong();
        // "0000000000000": the numbers of customers, videos and documents.
        if (!format.isEmpty() && format.count(u'0') == format.size())
            return n < 0 ? u'-' + QStringLiteral("%1").arg(-n, int(format.size()), 10, QChar(u'0'))
                         : QStringLiteral("%1").arg(n, int(format.size()), 10, QChar(u'0'));
        // Any other mask (",0", "Celkem [ks]: ,0") formats the number as whole crowns do.
        if (!format.isEmpty())
            return FormatMoney(format, Money::fromCrowns(n));
        return QString::number(n);
    }
    case FieldKind::Money:
        return FormatMoney(format, v.value<Money>());
    case FieldKind::Float:
        return FormatMoney(format, v.toDouble());
    case FieldKind::DateTime: {
        const QDateTime dt = v.toDateTime();
        if (!format.isEmpty())
            return dt.toString(format);
        // Short date and long time; the time is left out at midnight.
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("d.M.yyyy"))
                                        : dt.toString(QStringLiteral("d.M.yyyy H:mm:ss"));
    }
    case FieldKind::Text:
        return v.toString();
    case FieldKind::Boolean:
        // Display values "true text;false text" (the history's "$;-"); else a check box.
        return format.contains(u';') ? format.section(u';', v.toBool() ? 0 : 1, v.toBool() ? 0 : 1)
                                     : QString();
    }
    return v.toString();
}

void DataSet::rowChanged(bool always)
{
    Q_UNUSED(always);
    if (m_disabled > 0) {
        m_signalHeld = true;
        return;
    }
    Q_EMIT currentRowChanged();
}

void DataSet::setCurrent(int row, bool always, bool bof, bool eof)
{
    const int count = recordCount();
    if (row >= count)
        row = count - 1;
    if (row < 0)
        row = count > 0 ? 0 : -1;
    if (row >= 0)
        ensureShown(row);
    const bool changed = row != m_current;
    m_current = row;
    m_bof = row < 0 || bof;
    m_eof = row < 0 || eof;
    if (changed || always)
        rowChanged(always);
}

void DataSet::first()
{
    setCurrent(0, false, true, false);
}

void DataSet::last()
{
    setCurrent(recordCount() - 1, false, false, true);
}

void DataSet::next()
{
    if (m_current < 0 || m_current + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1);
}

void DataSet::prior()
{
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_current - 1);
}

bool DataSet::moveTo(int row)
{
    if (row < 0 || row >= recordCount())
        return false;
    setCurrent(row);
    return true;
}

bool DataSet::locate(const QString &keyFields, const QVariantList &values, LocateOptions options)
{
    const QStringList names = keyFields.split(u';', Qt::SkipEmptyParts);
    if (names.isEmpty() || names.size() != values.size())
        throw EDatabaseError(QStringLiteral("Hledání potřebuje jednu hodnotu na každé pole (%1)").arg(keyFields));
    const Qt::CaseSensitivity cs = options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive
                                                                                   : Qt::CaseSensitive;
    const bool partial = options.testFlag(LocateOption::PartialKey);
    QList<LocateKey> keys;
    for (qsizetype i = 0; i < names.size(); ++i) {
        LocateKey k;
        k.field = requireField(names[i]);
        k.kind = fieldKind(k.field);
        k.null = !values[i].isValid() || values[i].isNull();
        if (k.kind == FieldKind::Text) {
            k.text = values[i].toString();
            if (!partial)
                k.text = TrimmedRight(k.text);
        } else if (!k.null) {
            bool ok = false;
            k.value = toKind(values[i], k.kind, &ok);
            if (!ok)
                return false; // a text that is no value of the field matches no row
        }
        keys << k;
    }
    const int count = recordCount();
    for (int row = 0; row < count; ++row) {
        bool all = true;
        for (const LocateKey &k : std::as_const(keys)) {
            const QVariant v = valueAt(row, k.field);
            if (k.null || v.isNull()) {
                all = k.null && v.isNull();
            } else if (k.kind == FieldKind::Text) {
                const QString s = v.toString();
                all = partial ? s.startsWith(k.text, cs) : s.compare(k.text, cs) == 0;
            } else if (k.kind == FieldKind::Money) {
                all = v.value<Money>() == k.value.value<Money>();
            } else if (isWhole(k.kind)) {
                all = v.toLongLong() == k.value.toLongLong();
            } else {
                all = v == k.value;
            }
            if (!all)
                break;
        }
        if (all) {
            setCurrent(row);
            return true;
        }
    }
    return false;
}

DataSet::Bookmark DataSet::bookmark()
{
    if (m_current < 0)
        return 0;
    const Bookmark b = m_nextBookmark++;
    m_bookmarks.insert(b, rowIdentity(m_current));
    return b;
}

bool DataSet::bookmarkValid(Bookmark bookmark) const
{
    const auto it = m_bookmarks.constFind(bookmark);
    return it != m_bookmarks.constEnd() && rowOfIdentity(it.value()) >= 0;
}

bool DataSet::gotoBookmark(Bookmark bookmark)
{
    const auto it = m_bookmarks.constFind(bookmark);
    if (it == m_bookmarks.constEnd())
        return false;
    const int row = rowOfIdentity(it.value());
    if (row < 0)
        return false;
    setCurrent(row);
    return true;
}

void DataSet::freeBookmark(Bookmark bookmark)
{
    m_bookmarks.remove(bookmark);
}

void DataSet::disableControls()
{
    if (m_disabled++ == 0) {
        m_signalHeld = false;
        m_currentAtDisable = m_current >= 0;
        m_identityAtDisable = m_current >= 0 ? rowIdentity(m_current) : 0;
    }
}

void DataSet::enableControls()
{
    if (m_disabled == 0 || --m_disabled > 0)
        return;
    if (!m_signalHeld)
        return;
    m_signalHeld = false;
    // The row that was current when the controls stopped following is current again
    // (a look at the row before, a sum over all rows): nothing to tell.
    const bool same = m_current >= 0 ? m_currentAtDisable && rowOfIdentity(m_identityAtDisable) == m_current
                                     : !m_currentAtDisable;
    if (!same)
        Q_EMIT currentRowChanged();
}

FieldDisplay DataSet::fieldDisplay(const QString &name) const
{
    return m_displays.value(name.toUpper());
}

void DataSet::setFieldDisplay(const QString &name, const FieldDisplay &display)
{
    m_displays.insert(name.toUpper(), display);
    const int i = fieldIndex(name);
    if (i >= 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, i, i);
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, i), index(rowCount() - 1, i));
    }
}

void DataSet::setDisplayLabel(const QString &name, const QString &label)
{
    FieldDisplay d = fieldDisplay(name);
    d.label = label;
    setFieldDisplay(name, d);
}

void DataSet::setDisplayFormat(const QString &name, const QString &format)
{
    FieldDisplay d = fieldDisplay(name);
    d.format = format;
    setFieldDisplay(name, d);
}

void DataSet::setOrigin(const QString &name, const QString &origin)
{
    FieldDisplay d = fieldDisplay(name);
    d.origin = origin;
    m_displays.insert(name.toUpper(), d);
}

void DataSet::setAlignment(const QString &name, Qt::Alignment alignment)
{
    FieldDisplay d = fieldDisplay(name);
    d.alignment = alignment;
    setFieldDisplay(name, d);
}

void DataSet::setFieldTag(const QString &name, int tag)
{
    FieldDisplay d = fieldDisplay(name);
    d.tag = tag;
    m_displays.insert(name.toUpper(), d);
}

bool DataSet::isCheckBoxField(int field) const
{
    return fieldKind(field) == FieldKind::Boolean && !fieldDisplay(fieldName(field)).format.contains(u';');
}

QString DataSet::displayLabel(int field) const
{
    const QString name = fieldName(field);
    const QString label = fieldDisplay(name).label;
    return label.isEmpty() ? name : label;
}

QString DataSet::origin(int field) const
{
    return fieldDisplay(fieldName(field)).origin;
}

int DataSet::fieldTag(int field) const
{
    return fieldDisplay(fieldName(field)).tag;
}

int DataSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : recordCount();
}

int DataSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : fieldCount();
}

QVariant DataSet::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= recordCount() || index.column() >= fieldCount())
        return QVariant();
    const FieldKind kind = fieldKind(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return isCheckBoxField(index.column()) ? QVariant() : QVariant(displayText(index.row(), index.column()));
    case Qt::EditRole:
        return valueAt(index.row(), index.column());
    case Qt::CheckStateRole:
        if (!isCheckBoxField(index.column()))
            return QVariant();
        return valueAt(index.row(), index.column()).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (const Qt::Alignment own = fieldDisplay(fieldName(index.column())).alignment)
            return int(own | Qt::AlignVCenter);
        if (kind == FieldKind::Text || kind == FieldKind::DateTime)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        if (kind == FieldKind::Boolean)
            return int(Qt::AlignCenter);
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant DataSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= fieldCount())
        return QVariant();
    return displayLabel(section);
}

Qt::ItemFlags DataSet::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
