#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDate;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;
class TDateTimePicker;
class TInt64Edit;

// The slide-out filter panel of a list page: a strip on the page's right edge (32 pixels
// wide, holding the page's blinking "Filtr..." label) and beside it the panel of filter
// controls, closed (0 wide) until the mouse passes over the strip; the strip then narrows to
// 3 pixels and the panel opens 200 wide. The mouse moving over the page's other parts (its
// find panel, list panels, grids and status bar) or over the main window's function and
// status panels closes every open filter panel of the program.
class TFilterPanel : public QObject {
    Q_OBJECT
public:
    // The strip and the panel are made on `page` with these object names; the owner lays
    // them out and fills the panel. `numberBox` gets the focus when the panel closes.
    TFilterPanel(QWidget *page, const QString &stripName, const QString &panelName, QLabel *label,
                 QWidget *numberBox);
    ~TFilterPanel() override;

    QFrame *Strip() const { return m_strip; }
    QFrame *Panel() const { return m_panel; }
    bool IsOpen() const;
    // Strip 3, panel 200 (every time the mouse moves over the strip).
    void Open();
    // Strip 32, panel 0; the focus does not move.
    void Close();

    // Closes every open filter panel, in the order the panels were made, each giving the
    // focus to its page's number box with its text selected.
    static void CloseAll();
    // Mouse moves over `widget` close the open filter panels.
    static void CloseOnMouseMove(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFrame *m_strip;
    QFrame *m_panel;
    QPointer<QWidget> m_numberBox;
};

// The controls of a filter panel, one under the other, each made with its object name.
class FilterColumn {
public:
    explicit FilterColumn(QWidget *panel);
    QVBoxLayout *Layout() const { return m_column; }
    QCheckBox *CheckBox(const char *name, const QString &caption);
    // A number box of 0 to 9999999999999.
    TInt64Edit *Number(const char *name, qint64 value);
    QLineEdit *Edit(const char *name, int maxLength);
    QComboBox *PickList(const char *name);
    // Starts on the run date.
    TDateTimePicker *DatePicker(const char *name);
    // The free filter and reset buttons stand at the bottom.
    QPushButton *BottomButton(const char *name, const QString &caption);

private:
    QWidget *m_panel;
    QVBoxLayout *m_column;
    bool m_bottom = false;
};
// A bound of the filter: the number of a range box (none while it is empty), the date of a
// picker (none while its own box is unticked).
std::optional<qint64> NumberBound(TInt64Edit *edit);
std::optional<QDate> DateBound(TDateTimePicker *picker);
// Every change the clerk makes among the controls laid straight on `panel` runs `filter`:
// a click of a check box or a radio button, typing in an edit or number box, a choice in a
// pick list, a change of a date picker.
void ConnectFilterChanges(QWidget *panel, const std::function<void()> &filter);
