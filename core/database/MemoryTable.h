#pragma once
#include "core/database/DataSet.h"

#include <QHash>
#include <QList>
#include <functional>

class MemoryTable;

// The row being calculated: what the calculated-fields callback reads and fills.
class CalcRecord {
public:
    QVariant value(const QString &name) const;
    void setValue(const QString &name, const QVariant &value);

private:
    friend class MemoryTable;
    CalcRecord(const MemoryTable &table, QVariantList &values) : m_table(table), m_values(values) {}
    const MemoryTable &m_table;
    QVariantList &m_values;
};

// The in-memory table of a basket: typed fields defined by the page, calculated
// fields filled by a callback each time a row is appended or changed, sorting on
// named fields, and the current-row interface and model of every data set.
//
// Values given to append() and edit() are converted to their field's kind (a text
// "12,50" is no Money; such a value throws EDatabaseError and changes nothing).
// The sort text is the basket's sort state ("_TITUL" ascending, "TITUL_"
// descending, empty unsorted); the table keeps it but never reads it.
class MemoryTable : public DataSet {
    Q_OBJECT
public:
    using CalcFields = std::function<void(CalcRecord &)>;

    explicit MemoryTable(QObject *parent = nullptr);
    ~MemoryTable() override;

    // Field definitions, only while the table holds no rows.
    void addField(const QString &name, FieldKind kind, bool calculated = false);
    bool isCalculated(int field) const;
    void setCalcFields(CalcFields calc);

    void open();
    void close(); // also empties it
    bool isOpen() const override { return m_open; }

    // A new last row with the given values (the others null); it becomes current.
    void append(const QHash<QString, QVariant> &values);
    // Changes fields of the current row.
    void edit(const QHash<QString, QVariant> &values);
    void setFieldValue(const QString &name, const QVariant &value) { edit({{name, value}}); }
    // Deletes the current row; the row after it (or the new last one) becomes current.
    void deleteRecord();
    void emptyTable();

    // Sorts the rows on the fields (names separated by ";"), texts in Czech order;
    // the current row stays current. Rows appended later go to the end.
    void sortOnFields(const QString &fields, bool caseInsensitive = true, bool descending = false);
    QString sortText() const { return m_sortText; }
    void setSortText(const QString &text) { m_sortText = text; }

    int fieldCount() const override;
    QString fieldName(int field) const override;
    FieldKind fieldKind(int field) const override;
    int recordCount() const override;
    const QVariant &valueAt(int row, int field) const override;

protected:
    quint64 rowIdentity(int row) const override;
    int rowOfIdentity(quint64 identity) const override;

private:
    friend class CalcRecord;
    struct Field {
        QString name;
        FieldKind kind;
        bool calculated;
    };
    struct Row {
        quint64 id;
        QVariantList values;
    };
    void requireOpen() const;
    QVariantList converted(const QVariantList &base, const QHash<QString, QVariant> &values) const;
    void calculate(QVariantList &values) const;

    QList<Field> m_fields;
    QList<Row> m_rows;
    CalcFields m_calc;
    QString m_sortText;
    quint64 m_nextId = 1;
    bool m_open = false;
};
