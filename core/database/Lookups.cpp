#include "core/database/Lookups.h"

#include "core/database/Commands.h"
#include "core/database/Clock.h"
#include "core/database/Padding.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "core/database/Errors.h"

#include <QComboBox>
#include <QDateTime>
#include <initializer_list>
#include <utility>

namespace {

using Param = std::pair<const char *, QVariant>;

QVariant value(const QString &statement, std::initializer_list<Param> params)
{
    SetCommand(statement);
    for (const Param &p : params)
        SetCommandParam(QString::fromLatin1(p.first), p.second);
    return ExecCommandValue();
}

bool counted(const QString &statement, std::initializer_list<Param> params)
{
    return value(statement, params).toLongLong() != 0;
}

const SqlDialect &dialect()
{
    SqlServer *s = CurrentServer();
    if (!s)
        throw EDatabaseError(QStringLiteral("Databáze není připojena"));
    return s->dialect();
}

// The default-row form: the marked row's value or else a constant, always one row.
QVariant defaultRow(const char *table, const char *column, const char *otherwise)
{
    return value(QStringLiteral("SELECT CASE WHEN EXISTS (SELECT 1 FROM %1 WHERE VYCHOZI=1) "
                                "THEN (SELECT %2 FROM %1 WHERE VYCHOZI=1 LIMIT 1) ELSE %3 END")
                     .arg(QLatin1String(table), QLatin1String(column), QLatin1String(otherwise)),
                 {});
}

QVariant overdue(const QString &statement, const char *param, qint64 number)
{
    const QVariant due = value(statement, {{param, number}});
    if (due.isNull())
        return QVariant();
    // SQLite hands the stored 'yyyy-mm-dd hh:mm:ss' text back, PostgreSQL a date-time.
    QDateTime when = due.metaType().id() == QMetaType::QDateTime
        ? due.toDateTime()
        : QDateTime::fromString(due.toString().left(19), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!when.isValid())
        when = QDateTime::fromString(due.toString(), Qt::ISODate);
    if (!when.isValid())
        throw EDatabaseError(QStringLiteral("Neplatné datum vrácení %1").arg(due.toString()));
    return QVariant(when < QDateTime(RunDate(), QTime(0, 0)));
}

QSqlQuery nameList(const char *table, const char *column)
{
    SetCommand(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                   .arg(QLatin1String(column), QLatin1String(table),
                        dialect().textOrder(QLatin1String(column))));
    return ExecCommandRecordset();
}

void fill(QComboBox *comboBox, QSqlQuery list)
{
    comboBox->clear();
    comboBox->setEditText(QString());
    while (list.next())
        comboBox->addItem(TrimmedRight(list.value(0).toString()));
    comboBox->setCurrentIndex(-1);
    if (comboBox->isEditable())
        comboBox->setEditText(QString());
}

} // namespace

bool MediumExists(const QString &medium)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_nosic WHERE NOSIC=:NOSIC"), {{"NOSIC", medium}});
}

bool MediumExistsOther(int id, const QString &medium)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_nosic WHERE ID_NOSIC<>:ID_NOSIC AND NOSIC=:NOSIC"),
                   {{"ID_NOSIC", id}, {"NOSIC", medium}});
}

bool DirectionExists(const QString &direction)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_zamereni WHERE ZAMERENI=:ZAMERENI"),
                   {{"ZAMERENI", direction}});
}

bool DirectionExistsOther(int id, const QString &direction)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_zamereni WHERE ID_ZAMERENI<>:ID_ZAMERENI "
                                  "AND ZAMERENI=:ZAMERENI"),
                   {{"ID_ZAMERENI", id}, {"ZAMERENI", direction}});
}

bool UserExists(const QString &user)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"),
                   {{"UZIVATEL", user}});
}

bool UserExistsOther(int id, const QString &user)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel WHERE ID_UZIVATEL<>:ID_UZIVATEL "
                                  "AND UZIVATEL=:UZIVATEL"),
                   {{"ID_UZIVATEL", id}, {"UZIVATEL", user}});
}

bool CustomerExists(qint64 customer)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik WHERE ZAKAZNIK=:ZAKAZNIK"),
                   {{"ZAKAZNIK", customer}});
}

bool BirthNumberExistsOther(qint64 customer, const QString &birthNumber)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik WHERE ZAKAZNIK<>:ZAKAZNIK AND RC=:RC"),
                   {{"ZAKAZNIK", customer}, {"RC", birthNumber}});
}

bool IdentityCardExistsOther(qint64 customer, const QString &identityCard)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik WHERE ZAKAZNIK<>:ZAKAZNIK AND OP=:OP"),
                   {{"ZAKAZNIK", customer}, {"OP", identityCard}});
}

bool VideoExists(qint64 video)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_video WHERE VIDEO=:VIDEO"), {{"VIDEO", video}});
}

bool TitleExists(const QString &title)
{
    // Folds case like the return page's exact-title lookup it backs.
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_video WHERE ")
                       + dialect().foldEq(QStringLiteral("TITUL"), QStringLiteral(":TITUL")),
                   {{"TITUL", title}});
}

bool CustomerHasLent(qint64 customer)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 AND ZAKAZNIK=:ZAKAZNIK"),
                   {{"ZAKAZNIK", customer}});
}

bool VideoIsLent(qint64 video)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 AND VIDEO=:VIDEO"),
                   {{"VIDEO", video}});
}

bool CustomerHasVideo(qint64 customer, qint64 video)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 "
                                  "AND ZAKAZNIK=:ZAKAZNIK AND VIDEO=:VIDEO"),
                   {{"ZAKAZNIK", customer}, {"VIDEO", video}});
}

bool CustomerHadVideo(qint64 customer, qint64 video)
{
    return counted(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE HISTORIE=1 "
                                  "AND ZAKAZNIK=:ZAKAZNIK AND VIDEO=:VIDEO"),
                   {{"ZAKAZNIK", customer}, {"VIDEO", video}});
}

int GetMediumId(const QString &medium)
{
    if (!MediumExists(medium))
        return 0;
    return value(QStringLiteral("SELECT ID_NOSIC FROM tab_nosic WHERE NOSIC=:NOSIC"), {{"NOSIC", medium}}).toInt();
}

int GetDirectionId(const QString &direction)
{
    if (!DirectionExists(direction))
        return 0;
    return value(QStringLiteral("SELECT ID_ZAMERENI FROM tab_zamereni WHERE ZAMERENI=:ZAMERENI"),
                 {{"ZAMERENI", direction}})
        .toInt();
}

int GetUserId(const QString &user)
{
    if (!UserExists(user))
        return 0;
    return value(QStringLiteral("SELECT ID_UZIVATEL FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"),
                 {{"UZIVATEL", user}})
        .toInt();
}

QString GetDefaultMedium()
{
    return TrimmedRight(defaultRow("tab_nosic", "NOSIC", "''").toString());
}

int GetDefaultMediumId()
{
    return defaultRow("tab_nosic", "ID_NOSIC", "0").toInt();
}

QString GetDefaultDirection()
{
    return TrimmedRight(defaultRow("tab_zamereni", "ZAMERENI", "''").toString());
}

int GetDefaultDirectionId()
{
    return defaultRow("tab_zamereni", "ID_ZAMERENI", "0").toInt();
}

QVariant CustomerOverdue(qint64 customer)
{
    return overdue(QStringLiteral("SELECT MIN(VRATIT) FROM tab_pujckydetail WHERE PUJCENA=1 AND ZAKAZNIK=:ZAKAZNIK"),
                   "ZAKAZNIK", customer);
}

QVariant VideoOverdue(qint64 video)
{
    return overdue(QStringLiteral("SELECT MIN(VRATIT) FROM tab_pujckydetail WHERE PUJCENA=1 AND VIDEO=:VIDEO"),
                   "VIDEO", video);
}

QSqlQuery GetMediumPrices(const QString &medium)
{
    SetCommand(QStringLiteral("SELECT PUJCOVNE,VRATNE,ZALOHA FROM tab_nosic WHERE NOSIC=:NOSIC"));
    SetCommandParam(QStringLiteral("NOSIC"), medium);
    return ExecCommandRecordset();
}

QSqlQuery OpenMediumList() { return nameList("tab_nosic", "NOSIC"); }
QSqlQuery OpenDirectionList() { return nameList("tab_zamereni", "ZAMERENI"); }
QSqlQuery OpenUserList() { return nameList("tab_uzivatel", "UZIVATEL"); }

void FillMediumList(QComboBox *comboBox) { fill(comboBox, OpenMediumList()); }
void FillDirectionList(QComboBox *comboBox) { fill(comboBox, OpenDirectionList()); }
void FillUserList(QComboBox *comboBox) { fill(comboBox, OpenUserList()); }
