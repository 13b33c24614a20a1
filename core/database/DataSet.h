#pragma once
#include "core/database/Errors.h" // what the data sets throw

#include <QAbstractTableModel>
#include <QFlags>
#include <QHash>
#include <QStringList>
#include <QVariant>

// The kinds of value a field of a data set holds. Bits of the database are SMALLINT
// columns: a page declares them Boolean.
enum class FieldKind { Integer, Int64, Money, Float, DateTime, Text, Boolean };

enum class LocateOption {
    CaseInsensitive = 0x1,
    PartialKey = 0x2, // the first row whose key begins with the text
};
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

// How the page shows a field: its column title, display format ("0000000000000",
// ",0.00", "dd.MM.yyyy hh:mm"; for a Boolean field its two display values "$;-", without
// which it is shown as a check box), its origin table (what a title click sorts by), the
// tag that keeps a hidden column's width, and its horizontal alignment (none: by its kind,
// texts and dates left, numbers right, Booleans centred).
struct FieldDisplay {
    QString label;
    QString format;
    QString origin;
    int tag = 0;
    Qt::Alignment alignment;
};

// A data set with a current row: the browse queries of the pages and the in-memory
// baskets. It is also the table model a grid shows (one column per field, read-only).
//
// Values are QVariants of the field's kind: int, qint64, Money, double, QDateTime,
// QString (right-trimmed), bool; a null value is a null QVariant of that type.
// Field names are upper case; lookups by name ignore case. Navigation follows the
// habit of the desk: first() on a non-empty set gives bof(), next() on the last row
// stays there and gives eof(), an empty set is bof() and eof() at once.
//
// currentRowChanged() is emitted whenever the current row changes, and after every
// open, requery and close; while the controls are disabled it is held back and sent
// by enableControls() only when the row then current differs from the one before.
class DataSet : public QAbstractTableModel {
    Q_OBJECT
public:
    using Bookmark = quint64; // 0 is no bookmark

    explicit DataSet(QObject *parent = nullptr);
    ~DataSet() override;

    virtual bool isOpen() const = 0;

    virtual int fieldCount() const = 0;
    virtual QString fieldName(int field) const = 0;
    virtual FieldKind fieldKind(int field) const = 0;
    int fieldIndex(const QString &name) const; // -1 when there is no such field
    QStringList fieldNames() const;

    // Every row of the data set (a grid may be shown fewer so far, see rowCount()).
    virtual int recordCount() const = 0;
    // The value stays where it is until the rows change (a requery, a close, a row
    // added or removed): a long walk over every cell copies none of them.
    virtual const QVariant &valueAt(int row, int field) const = 0;
    bool isEmpty() const { return recordCount() == 0; }

    // The current row, 0-based; -1 when the set is empty or closed.
    int currentRow() const { return m_current; }
    // The current row counted from 1; 0 when there is none.
    int recNo() const { return m_current + 1; }
    // A field of the current row; null when there is no current row. An unknown
    // field throws EDatabaseError.
    QVariant value(int field) const;
    QVariant value(const QString &name) const;
    QString displayText(int row, int field) const;
    // A value of `kind` as shown with a display format or a report's mask.
    static QString formatValue(const QVariant &value, FieldKind kind, const QString &format);

    void first();
    void last();
    void next();
    void prior();
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    // Makes `row` current; false (nothing moves) when it is out of range.
    bool moveTo(int row);

    // Moves to the first row whose fields (names separated by ";") equal the values;
    // false, and no move, when there is none. Text keys compare without trailing
    // blanks; with PartialKey a text key matches a value that begins with it; with
    // CaseInsensitive texts compare ignoring case (Czech letters included).
    bool locate(const QString &keyFields, const QVariantList &values, LocateOptions options = {});
    bool locate(const QString &keyField, const QVariant &value, LocateOptions options = {})
    {
        return locate(keyField, QVariantList{value}, options);
    }

    Bookmark bookmark();
    bool bookmarkValid(Bookmark bookmark) const;
    bool gotoBookmark(Bookmark bookmark); // false when it is no longer valid
    void freeBookmark(Bookmark bookmark);

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // The presentation of a field, kept by name over closing and reopening.
    FieldDisplay fieldDisplay(const QString &name) const;
    void setFieldDisplay(const QString &name, const FieldDisplay &display);
    void setDisplayLabel(const QString &name, const QString &label);
    void setDisplayFormat(const QString &name, const QString &format);
    void setOrigin(const QString &name, const QString &origin);
    void setAlignment(const QString &name, Qt::Alignment alignment);
    void setFieldTag(const QString &name, int tag);
    QString displayLabel(int field) const;
    // A Boolean field without display values: a grid shows it as a check box.
    bool isCheckBoxField(int field) const;
    QString origin(int field) const;
    int fieldTag(int field) const;

    // The model: DisplayRole is the display text, EditRole the value, CheckStateRole
    // the state of a Boolean field shown as a check box, the horizontal header the field's label.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // A value converted to a field kind: what a locate compares and what a memory
    // table stores. *ok is false when it cannot be converted.
    static QVariant toKind(const QVariant &value, FieldKind kind, bool *ok = nullptr);
    static QVariant nullOf(FieldKind kind);

Q_SIGNALS:
    void currentRowChanged();

protected:
    // A number that names a row for as long as that row exists; rowOfIdentity() is -1
    // once it does not.
    virtual quint64 rowIdentity(int row) const = 0;
    virtual int rowOfIdentity(quint64 identity) const = 0;
    // Called before a row becomes current, so a lazy model can show it.
    virtual void ensureShown(int row) { Q_UNUSED(row); }

    // Sets the current row (clamped, -1 for none) with its bof/eof flags and emits the
    // signal when the row changed or when `always`.
    void setCurrent(int row, bool always = false, bool bof = false, bool eof = false);
    // Forgets the current row without telling anyone (the rows are being replaced).
    void forgetCurrent() { m_current = -1; m_bof = m_eof = true; }
    int requireField(const QString &name) const;

private:
    void rowChanged(bool always);

    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    int m_disabled = 0;
    quint64 m_identityAtDisable = 0;
    bool m_currentAtDisable = false;
    bool m_signalHeld = false;
    Bookmark m_nextBookmark = 1;
    QHash<Bookmark, quint64> m_bookmarks;
    QHash<QString, FieldDisplay> m_displays;
};
