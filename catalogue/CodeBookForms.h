#pragma once
#include <QDialog>
#include <functional>

class BrowseQuery;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TRxDBGridEx;

// What the media and the genre windows share: the list of the code book in a group with
// "Přidat..." (the default button), "Editovat...", "Odebrat", the default's name and
// "Výchozí", then "Ok" and "Storno". The main window runs such a window inside one
// transaction: every change is written at once (under the frame's savepoint) and made
// final by Ok. A change that fails is dropped and the list shows what the database holds;
// only a refused removal is told, in a self-closing information window.
class TFormCodeBook : public QDialog {
    Q_OBJECT
public:
    // What tells one code book from the other.
    struct Book {
        QString objectName, caption, groupCaption, defaultCaption;
        QString queryName, gridName;
        QString table, keyField;
        int nameLength = 0;
        QStringList sql;
        std::function<QString()> defaultName;
        std::function<void(int id)> remove;
        std::function<void(int id)> setDefault;
        QString removeRefused, removeRefusedDetail;
    };

    ~TFormCodeBook() override;

    // Opens the list on the row whose identity is `id` (the first row when none has it).
    void OpenOn(int id);
    // At every change of the current row: the row buttons while the table has rows, and
    // the default's name.
    void DataSourceDataChange();
    virtual void ButtonAddClick() = 0;
    virtual void ButtonEditClick() = 0;
    // Removes the current row without a question; the list goes to the row before it.
    void ButtonDeleteClick();
    // Makes the current row the default.
    void ButtonDefaultClick();

    // The identity of the current row, 0 when there is none.
    int CurrentId() const;

    QGroupBox *GroupBox = nullptr;
    QLabel *LabelDefault = nullptr;
    QLineEdit *EditDefault = nullptr;
    QPushButton *ButtonAdd = nullptr;
    QPushButton *ButtonEdit = nullptr;
    QPushButton *ButtonDelete = nullptr;
    QPushButton *ButtonDefault = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    TFormCodeBook(Book book, QWidget *parent);
    // Sets the widths of the shown columns (by field name) and hides the other fields.
    virtual void ShowColumns() = 0;
    // Runs one change of the window; false when it failed (the failure is dropped).
    static bool RunChange(const std::function<void()> &change);
    // Requeries the list and stands on the row `key` (the first row when none has it).
    void RequeryOn(const QVariant &key);

    BrowseQuery *m_query = nullptr;
    TRxDBGridEx *m_grid = nullptr;

private:
    void createList();
    void createButtons(QGridLayout *group);
    void createClosingButtons();

    Book m_book;
};

// What the new and edit dialogs of a code-book row share: the name (at most the column's
// length) above the fields the dialog adds, "Ok" (the default button, disabled until the
// name allows it) and "Storno" (Esc). An edit dialog starts each showing with Ok disabled,
// so an unchanged row cannot be confirmed.
class TFormCodeBookItem : public QDialog {
    Q_OBJECT
public:
    // Ok while the name holds more than blanks and no other row (than the edited one) has it.
    void EditsChange();
    // At each showing of an edit dialog: Ok disabled.
    void FormActivate();
    QString Name() const;

    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    // `id`: the row being edited (an edit dialog), 0 in a new dialog; `existsOther` the
    // name check.
    TFormCodeBookItem(const QString &objectName, const QString &caption, const QString &nameEdit,
                      const QString &nameCaption, int nameLength, int id,
                      std::function<bool(int, const QString &)> existsOther, QWidget *parent);
    void showEvent(QShowEvent *event) override;
    // Adds a row below the name: its label (may be null), the field and a unit label after
    // it (may be null). The field comes next in the focus chain, before Ok and Storno.
    void AddRow(QWidget *label, QWidget *field, QWidget *unit = nullptr);
    // The parent of the fields.
    QWidget *FieldsWidget() const;

    QLineEdit *m_name = nullptr;

private:
    QGridLayout *m_fields = nullptr;
    int m_id;
    std::function<bool(int, const QString &)> m_existsOther;
};
