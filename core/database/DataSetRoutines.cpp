#include "core/database/DataSetRoutines.h"

#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSet.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

HourGlass::HourGlass()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_set = true;
    }
}

HourGlass::~HourGlass()
{
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}

OneRowChange::OneRowChange(DataSet &dataSet) : m_dataSet(dataSet)
{
    m_dataSet.disableControls();
}

OneRowChange::~OneRowChange()
{
    m_dataSet.enableControls();
}

void SplitSQL(const QString &text, QString &selectPart, QString &wherePart, QString &orderPart)
{
    const qsizetype w = text.indexOf(QLatin1String("WHERE"), 0, Qt::CaseSensitive);
    const qsizetype o = text.indexOf(QLatin1String("ORDER BY"), 0, Qt::CaseSensitive);
    if (w < 0 && o < 0) {
        selectPart = text;
        wherePart.clear();
        orderPart.clear();
    } else if (w >= 0 && o >= 0) {
        selectPart = text.left(w);
        wherePart = text.mid(w, o - w);
        orderPart = text.mid(o);
    } else if (o >= 0) {
        selectPart = text.left(o);
        wherePart.clear();
        orderPart = text.mid(o);
    } else {
        selectPart = text.left(w);
        wherePart = text.mid(w);
        orderPart.clear();
    }
}

QString WhereOrAnd(const QString &whereSoFar)
{
    return whereSoFar.isEmpty() ? QStringLiteral("WHERE ") : QStringLiteral("AND ");
}

void SetQueryWhere(BrowseQuery &query, const QString &where)
{
    HourGlass hourGlass;
    const QVariant key = query.isOpen() ? query.value(0) : QVariant();
    query.close();
    QString selectPart, wherePart, orderPart;
    SplitSQL(query.sqlText(), selectPart, wherePart, orderPart);
    query.setSqlText(selectPart + where + orderPart);
    query.open();
    if (key.isValid() && !key.isNull())
        query.locate(query.fieldName(0), key);
}

void RequeryLocate(BrowseQuery &query, const QVariant &key)
{
    HourGlass hourGlass;
    QVariant k = key;
    if (!k.isValid() || k.isNull())
        k = query.isOpen() && query.fieldCount() > 0 ? query.value(0) : QVariant();
    query.requery();
    if (k.isValid() && !k.isNull())
        query.locate(query.fieldName(0), k);
}

QVariant GetPriorKey(DataSet &dataSet)
{
    // The controls follow again also when reading the value throws.
    struct Following {
        DataSet &ds;
        ~Following() { ds.enableControls(); }
    };
    dataSet.disableControls();
    Following following{dataSet};
    const DataSet::Bookmark bookmark = dataSet.bookmark();
    dataSet.prior();
    const QVariant key = dataSet.value(0);
    if (bookmark != 0 && dataSet.bookmarkValid(bookmark))
        dataSet.gotoBookmark(bookmark);
    dataSet.freeBookmark(bookmark);
    return key;
}

bool LocateExact(DataSet &dataSet, const QString &keyFields, const QString &text)
{
    if (text.isEmpty())
        return false;
    return dataSet.locate(keyFields, QVariantList{text});
}

bool LocatePartial(DataSet &dataSet, const QString &keyFields, const QString &text)
{
    if (text.isEmpty())
        return false;
    return dataSet.locate(keyFields, QVariantList{text},
                          LocateOption::CaseInsensitive | LocateOption::PartialKey);
}

bool LocateValues(DataSet &dataSet, const QString &keyFields, const QVariantList &values)
{
    for (const QVariant &v : values) {
        if (v.metaType() == QMetaType::fromType<QString>() && v.toString().isEmpty())
            return false;
    }
    return dataSet.locate(keyFields, values);
}

bool DataSetHasRecords(const DataSet &dataSet)
{
    return !dataSet.isEmpty();
}

bool TableHasRecords(const QString &tableName)
{
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM ") + tableName);
    return ExecCommandValue().toLongLong() != 0;
}
