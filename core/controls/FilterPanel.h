#pragma once
#include <QObject>
#include <QPointer>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;
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

// Puts a filter panel's controls one under the other, each made with its object name.
class TFilterColumn {
public:
    explicit TFilterColumn(QWidget *panel);
    QVBoxLayout *Layout() const { return m_column; }
    QCheckBox *CheckBox(const char *name, const QString &caption);
    // A bound of a number range: up to 13 digits, `value` at first.
    TInt64Edit *NumberBox(const char *name, qint64 value);
    // "Filtr..." (the free filter) and "Vypnout filtr" (the reset) at the panel's foot.
    void FootButtons(const char *filterName, QPushButton *&filter, const char *resetName, QPushButton *&reset);

private:
    QWidget *m_panel;
    QVBoxLayout *m_column;
};
