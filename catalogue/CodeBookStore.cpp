#include "catalogue/CodeBookStore.h"

#include "core/TransactionFrame.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QVariant>

namespace {

// A code-book table and its identity column; the names are the program's own, never
// typed by anyone, so they may be pasted into the statements.
struct CodeBook {
    const char *table;
    const char *key;
    const char *name;
};

const CodeBook Media {"tab_nosic", "ID_NOSIC", "NOSIC"};
const CodeBook Directions {"tab_zamereni", "ID_ZAMERENI", "ZAMERENI"};

QString Text(const char *pattern, const CodeBook &book)
{
    return QString::fromLatin1(pattern)
        .replace(QLatin1String("{table}"), QLatin1String(book.table))
        .replace(QLatin1String("{key}"), QLatin1String(book.key))
        .replace(QLatin1String("{name}"), QLatin1String(book.name));
}

QStringList ListSql(const CodeBook &book)
{
    return {Text("SELECT * FROM {table}", book),
            QStringLiteral("ORDER BY ") + CurrentServer()->dialect().textOrder(QLatin1String(book.name))};
}

// Runs the statement of `text` on the row `id` under the frame's savepoint.
void RunOnRow(const QString &text, const CodeBook &book, int id)
{
    FrameStatement([&] {
        SetCommand(text);
        SetCommandParam(QLatin1String(book.key), id);
        ExecCommand();
    });
}

void SetMediumParams(const MediumValues &values)
{
    SetCommandParam(QStringLiteral("NOSIC"), values.name);
    SetCommandParam(QStringLiteral("DABING"), values.dubbing);
    SetCommandParam(QStringLiteral("PUJCOVNE"), QVariant::fromValue(values.rentalFee));
    SetCommandParam(QStringLiteral("VRATNE"), QVariant::fromValue(values.lateFee));
    SetCommandParam(QStringLiteral("ZALOHA"), QVariant::fromValue(values.deposit));
}

void Delete(const CodeBook &book, int id)
{
    RunOnRow(Text("DELETE FROM {table} WHERE {key}=:{key}", book), book, id);
}

// One statement, so no moment and no failure leaves two defaults or a half switch.
void SetDefault(const CodeBook &book, int id)
{
    RunOnRow(Text("UPDATE {table} SET VYCHOZI=CASE WHEN {key}=:{key} THEN 1 ELSE 0 END", book), book, id);
}

} // namespace

QStringList MediumQuerySql()
{
    return ListSql(Media);
}

int InsertMedium(const MediumValues &values)
{
    int id = 0;
    FrameStatement([&] {
        SetCommand(QStringLiteral("INSERT INTO tab_nosic (NOSIC,DABING,PUJCOVNE,VRATNE,ZALOHA) "
                                  "VALUES (:NOSIC,:DABING,:PUJCOVNE,:VRATNE,:ZALOHA) RETURNING ID_NOSIC"));
        SetMediumParams(values);
        id = ExecCommandValue().toInt();
    });
    return id;
}

void UpdateMedium(int id, const MediumValues &values)
{
    FrameStatement([&] {
        SetCommand(QStringLiteral("UPDATE tab_nosic SET NOSIC=:NOSIC,DABING=:DABING,PUJCOVNE=:PUJCOVNE,"
                                  "VRATNE=:VRATNE,ZALOHA=:ZALOHA WHERE ID_NOSIC=:ID_NOSIC"));
        SetCommandParam(QStringLiteral("ID_NOSIC"), id);
        SetMediumParams(values);
        ExecCommand();
    });
}

void DeleteMedium(int id)
{
    Delete(Media, id);
}

void SetDefaultMedium(int id)
{
    SetDefault(Media, id);
}

void ToggleMediumDubbing(int id)
{
    // 1-flag, never a bitwise not: ~1 is -2 on both engines.
    RunOnRow(QStringLiteral("UPDATE tab_nosic SET DABING=1-COALESCE(DABING,0) WHERE ID_NOSIC=:ID_NOSIC"),
             Media, id);
}

QStringList DirectionQuerySql()
{
    return ListSql(Directions);
}

int InsertDirection(const QString &name)
{
    int id = 0;
    FrameStatement([&] {
        SetCommand(
            QStringLiteral("INSERT INTO tab_zamereni (ZAMERENI) VALUES (:ZAMERENI) RETURNING ID_ZAMERENI"));
        SetCommandParam(QStringLiteral("ZAMERENI"), name);
        id = ExecCommandValue().toInt();
    });
    return id;
}

void RenameDirection(int id, const QString &name)
{
    FrameStatement([&] {
        SetCommand(
            QStringLiteral("UPDATE tab_zamereni SET ZAMERENI=:ZAMERENI WHERE ID_ZAMERENI=:ID_ZAMERENI"));
        SetCommandParam(QStringLiteral("ID_ZAMERENI"), id);
        SetCommandParam(QStringLiteral("ZAMERENI"), name);
        ExecCommand();
    });
}

void DeleteDirection(int id)
{
    Delete(Directions, id);
}

void SetDefaultDirection(int id)
{
    SetDefault(Directions, id);
}
