#pragma once
#include <QDialog>
#include <QList>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

class BrowseQuery;
class QGridLayout;
class QLabel;
class QPushButton;
class TInt64Edit;
class TRxDBGridEx;

// What the customer and video search dialogs share: the fields to search by above a list of
// the whole table (the list's first field is its key number), the bar that counts the rows
// listed, "Vybrat [Enter]" (the default button: makes the chosen row the main list's current
// one and closes) and "Zavřít [Esc]". The number box follows the list's current row unless
// the clerk types in it, and a number typed finds its row exactly; a double click on a data
// cell chooses and closes, also while "Vybrat" is disabled. Rows with something out are
// coloured from data already read.
class TFormFind : public QDialog {
    Q_OBJECT
public:
    ~TFormFind() override;

    QLabel *Panel = nullptr;
    QPushButton *BitBtnSearch = nullptr;
    QPushButton *BitBtnClose = nullptr;

    // Opens the list of every row on `key` (the main window's current one).
    void OpenOn(qint64 key);
    // Starts in the text field (opened from a name or title box) or in the number box.
    void StartIn(bool textField);

protected:
    // `countText` is the count bar's text with "%1" for the count (" Zákazníků: %1").
    TFormFind(const QString &objectName, const QString &caption, const QString &countText, QWidget *parent);

    // The search fields, two to a row: each caption with its field. The first is the
    // number box, `textField` the field StartIn may choose.
    void AddFields(const QList<std::pair<const char *, QWidget *>> &fields, QWidget *textField);
    // The list below the fields: `query` in a grid named `gridName` with these column
    // widths, a row coloured by the state of its key (null: nothing out, false: lent, true:
    // overdue).
    TRxDBGridEx *AddList(BrowseQuery *query, const char *gridName, const QList<int> &widths,
                         std::function<std::optional<bool>(qint64 key)> stateOfKey);
    // Reads the list again with another statement and its parameters, staying on the row
    // it stood on while that row is still listed; "Vybrat" is enabled while it lists any.
    void Reselect(const QStringList &sql, const QVariantMap &parameters);

    // The number box and the count, at every change of the list's data or current row.
    void ListDataChange();
    // The number typed: "Vybrat" enabled when the list has it (the list then stands on it).
    void NumberChange();
    // Makes the chosen row the main window's current one, where its list shows it.
    virtual void BitBtnSearchClick() = 0;
    void ListDblClick();

    BrowseQuery *m_query = nullptr;
    TInt64Edit *m_number = nullptr;
    TRxDBGridEx *m_grid = nullptr;

private:
    QString m_countText;
    QList<int> m_widths;
    QWidget *m_textField = nullptr;
};
