#include "catalogue/ExchangeStore.h"

#include "catalogue/CatalogueStore.h"
#include "catalogue/Worksheet.h"
#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/database/Commands.h"
#include "core/database/DataSet.h"
#include "core/database/Lookups.h"
#include "core/database/SqlServer.h"

#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace {

QString tableName(ExchangeTable table)
{
    return table == ExchangeTable::Customers ? QStringLiteral("tab_zakaznik") : QStringLiteral("tab_video");
}

QString keyColumn(ExchangeTable table)
{
    return table == ExchangeTable::Customers ? QStringLiteral("ZAKAZNIK") : QStringLiteral("VIDEO");
}

QString insertText(ExchangeTable table)
{
    if (table == ExchangeTable::Customers)
        return QStringLiteral(
            "INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,ADRESA2,RC,OP,REGISTRACE,OMEZENI,PUJCKY,TEXT) "
            "VALUES (:ZAKAZNIK,:JMENO,:TELEFON,:ADRESA1,:ADRESA2,:RC,:OP,:REGISTRACE,:OMEZENI,:PUJCKY,:TEXT)");
    return QStringLiteral(
        "INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA,REGISTRACE,VYPUJCENA) "
        "VALUES (:VIDEO,:TITUL,:ZAMERENI,:NOSIC,:CENA,:REGISTRACE,:VYPUJCENA)");
}

// A number the table holds already, or one an earlier row of the sheet brought.
void takeKey(QSet<qint64> &keys, qint64 key)
{
    if (keys.contains(key))
        throw ECellError(QStringLiteral("sloupec A (kód): kód %1 již v databázi existuje")
                             .arg(key, 13, 10, QLatin1Char('0')));
    keys.insert(key);
}

// A code-book identity by name; a name the code book lacks fails the row.
int codeBookId(int (*lookup)(const QString &), const QString &name, const QString &column,
               const QString &what)
{
    const int id = lookup(name);
    if (id == 0)
        throw ECellError(QStringLiteral("sloupec %1 (%2): „%3“ v číselníku není").arg(column, what, name));
    return id;
}

void importRow(const Worksheet &sheet, int row, ExchangeTable table, ExchangeInsert &insert,
               QSet<qint64> &keys)
{
    if (table == ExchangeTable::Customers) {
        const CustomerSheetRow r = ReadCustomerRow(sheet, row);
        takeKey(keys, r.ZAKAZNIK);
        insert.insertCustomer(r);
    } else {
        const VideoSheetRow r = ReadVideoRow(sheet, row);
        takeKey(keys, r.VIDEO);
        const int direction = codeBookId(&GetDirectionId, r.ZAMERENI, QStringLiteral("C"), QStringLiteral("žánr"));
        const int medium = codeBookId(&GetMediumId, r.NOSIC, QStringLiteral("D"), QStringLiteral("nosič"));
        insert.insertVideo(r, direction, medium);
    }
}

} // namespace

ExchangeResult ExportList(DataSet &list, Worksheet &sheet, const ExchangeProgress &progress)
{
    // The rows are read where they stand: the list does not move, so its grid and
    // the pages that follow its current row see nothing of the export.
    ExchangeResult result;
    const int rows = list.recordCount();
    const int fields = list.fieldCount();
    std::vector<FieldKind> kinds;
    for (int field = 0; field < fields; ++field)
        kinds.push_back(list.fieldKind(field));
    bool goOn = progress(0);
    for (int row = 0; row < rows; ++row) {
        if (!goOn) {
            result.outcome = ExchangeResult::Aborted;
            break;
        }
        for (int field = 0; field < fields; ++field) {
            const ExportCell cell = ExportCellOf(list.valueAt(row, field), kinds[size_t(field)]);
            sheet.setCell(row + 1, field + 1, cell.value, cell.format);
        }
        result.rows = row + 1;
        goOn = progress(row + 1);
    }
    return result;
}

ExchangeResult ImportSheet(const Worksheet &sheet, ExchangeTable table, ImportMode mode,
                           const ExchangeProgress &progress)
{
    ExchangeResult result;
    int row = 0;
    try {
        ExchangeInsert insert(table); // outlives the transaction
        DeskTransaction transaction;
        if (mode == ImportMode::Replace)
            DeleteAllRows(table);
        QSet<qint64> keys = mode == ImportMode::Replace ? QSet<qint64>() : TableKeys(table);
        bool goOn = progress(0);
        for (row = 1; !CellAsString(sheet.cell(row, 1)).isEmpty(); ++row) {
            if (!goOn) {
                transaction.rollback();
                result.outcome = ExchangeResult::Aborted;
                return result;
            }
            importRow(sheet, row, table, insert, keys);
            goOn = progress(row);
        }
        const int imported = row - 1;
        row = 0; // a failed commit is no row's
        transaction.commit();
        result.rows = imported;
    } catch (const ECellError &e) {
        result = {ExchangeResult::Failed, 0, row, e.why()};
    } catch (const EDatabaseError &e) {
        result = {ExchangeResult::Failed, 0, row, e.message()};
    }
    return result;
}

void DeleteAllRows(ExchangeTable table)
{
    SetCommand(QStringLiteral("DELETE FROM ") + tableName(table));
    ExecCommand();
}

QSet<qint64> TableKeys(ExchangeTable table)
{
    SetCommand(QStringLiteral("SELECT %1 FROM %2").arg(keyColumn(table), tableName(table)));
    QSqlQuery q = ExecCommandRecordset();
    QSet<qint64> keys;
    while (q.next())
        keys.insert(q.value(0).toLongLong());
    return keys;
}

struct ExchangeInsert::Statement {
    explicit Statement(const QString &text) : markers(CommandMarkers(text)), command(text) {}
    QStringList markers;
    RepeatedCommand command;
};

ExchangeInsert::ExchangeInsert(ExchangeTable table)
    : m_statement(std::make_unique<Statement>(insertText(table)))
{
}

ExchangeInsert::~ExchangeInsert() = default;

void ExchangeInsert::insertCustomer(const CustomerSheetRow &r)
{
    // An empty cell is stored as the empty text, as the customer dialogs store an empty box.
    run({r.ZAKAZNIK, StoredText(r.JMENO), StoredText(r.TELEFON), StoredText(r.ADRESA1), StoredText(r.ADRESA2),
         StoredText(r.RC), StoredText(r.OP), r.REGISTRACE, r.OMEZENI, r.PUJCKY, StoredText(r.TEXT)});
}

void ExchangeInsert::insertVideo(const VideoSheetRow &r, int direction, int medium)
{
    run({r.VIDEO, StoredText(r.TITUL), direction, medium, QVariant::fromValue(r.CENA), r.REGISTRACE, r.VYPUJCENA});
}

void ExchangeInsert::run(const QVariantList &values)
{
    Statement &s = *m_statement;
    for (int i = 0; i < s.markers.size(); ++i)
        s.command.setParam(s.markers.at(i), values.value(i));
    s.command.exec();
}
