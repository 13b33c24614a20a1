#pragma once
#include <QDate>
#include <QDialog>

class QAction;
class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TInt64Edit;
class TLendDesk;

// " Půjčení na (do)": the dialog in which the clerk fills the lend basket of the current
// customer. He scans or types a video number or the beginning of a title, picks the due date
// on the calendar or by a day button, and adds the video with Enter; Enter on the video of
// the basket's current line lends it one open day longer, a day button or a calendar day
// re-dates it. Del removes the current line, Up and Down walk the basket, the mouse wheel
// walks the video list, and the numeric "+" closes the dialog for the recapitulation.
//
// The action keys act whatever control has the focus. The code box and the title box search
// only while the clerk types in them (their change handlers are attached while they have the
// focus), so what the dialog writes into the other box searches nothing.
class TFormLend : public QDialog {
    Q_OBJECT
public:
    explicit TFormLend(TLendDesk &desk, QWidget *parent = nullptr);
    ~TFormLend() override;

    // Who asked for a selection: only Enter and the button extend the current line; a day
    // button, the calendar and the first activation re-date it.
    enum class SelectSender { ActionSelect, DayButton, Calendar, Activation };

    // Opened only to look at the basket: the first activation adds nothing.
    void RemoveFormActivate() { m_addOnActivate = false; }
    // Writes `video` into the code box and looks it up, also when the box held that number
    // already: what the dialog then finds is always that number's.
    void StartOn(qint64 video);

    // Handlers.
    void FormShow();
    void FormActivate();
    void EnableButtons();
    void Int64EditVideoChange();
    void EditTitleEnter();
    void EditTitleChange();
    void ButtonDayClick(int days);
    void MonthCalendarClick(const QDate &date);
    void ActionSelectExecute(SelectSender sender);
    void ActionLendExecute();
    void ActionDeleteExecute();
    void ActionUpExecute();
    void ActionDownExecute();
    void FormMouseWheel(int wheelDelta);

    QLabel *LabelGoods = nullptr;
    TInt64Edit *Int64EditVideo = nullptr;
    QLabel *LabelTitle = nullptr;
    QLineEdit *EditTitle = nullptr;
    QLabel *LabelLend = nullptr;
    QCalendarWidget *MonthCalendar = nullptr;
    QPushButton *ButtonDay[5] = {};
    QAction *ActionSelect = nullptr;
    QAction *ActionLend = nullptr;
    QAction *ActionDelete = nullptr;
    QAction *ActionUp = nullptr;
    QAction *ActionDown = nullptr;
    QToolButton *SpeedButtonSelect = nullptr;
    QToolButton *SpeedButtonDelete = nullptr;
    QToolButton *BitBtnLend = nullptr;
    QPushButton *BitBtnCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createSearch();
    void createCalendar();
    void createButtons();
    void focusChanged(QWidget *now);
    void wheelSeen(QEvent *event);
    // The checks in their order, then the line added, re-dated or extended.
    void selectVideo(bool extend);
    // The code box, the title box and the calendar from the basket's current line.
    void showBasketLine();
    // One line up (-1) or down (+1) the basket, shown in the boxes.
    void walkBasket(int step);
    // The calendar on the due date of the basket's line of `video`, when it has one (the
    // basket then stands on it), else on the first open day.
    void calendarFromBasket(const QString &video);
    void setCalendar(const QDate &date);
    void MonthCalendarSelectionChanged();
    void selectFocusedText();
    void inform(const QString &text, const QString &detail);

    TLendDesk &m_desk;
    bool m_addOnActivate = true;
    bool m_videoChangeAttached = true; // attached from the start: LendStart's number searches
    bool m_titleChangeAttached = false;
    bool m_settingCalendar = false;
    QWidget *m_focused = nullptr;      // the control that had the focus last in this dialog
    int m_wheelDelta = 0;              // high-resolution wheel steps, summed to whole notches
    quint64 m_lastWheel = 0;
};

// The due date last accepted in the lend dialog; the calendar goes back to it after a
// refused day. Kept for the whole run.
extern QDate LendDate;
// Whether the text of the code box or of the title box, whichever was changed last while
// it had the focus, found a video in the video list.
extern bool VideoFound;

// Adds the current video of the video list to the basket with the due date `due`, or, when
// that video is the basket's current line, re-dates it (or extends it by one open day when
// `extend`); then the free lines, the status bar and the basket's sort.
void AddLendItem(TLendDesk &desk, bool extend, const QDate &due);
// Removes the basket's current line; then the free lines and the status bar.
void DeleteLendItem(TLendDesk &desk);
void SetFreeItems(TLendDesk &desk);

// Opens the lend dialog on `video`: with `addAtOnce` its first activation adds that video.
// Ok runs the lend's confirmation (the recapitulation and the lend transaction).
void LendStart(TLendDesk &desk, bool addAtOnce, qint64 video);
