#pragma once
#include <QDialog>

class DataSet;
class QAction;
class QLabel;
class QPushButton;
class TInt64Edit;
class TTableBack;

// Whether the text of the return dialog's code box is the number of one of the customer's
// lent videos; set by every change of that text.
extern bool BackVideoFound;
// The return dialog's wheel counter: the wheel acts on every second notification. Kept for
// the whole run, not reset when the dialog opens.
extern int BackWheelCounter;

// Adds the lent-videos list's current row to the return basket: back now (the clock, to the
// minute), over its due date by the open days up to the run date. Nothing when the basket's
// current line is that video already. The basket stays sorted as it was.
void AddBackItem(TTableBack &basket, const DataSet &lentVideos);
// Deletes the basket's current line.
void DeleteBackItem(TTableBack &basket);

// " Vracení": the clerk scans or types the numbers of the customer's lent videos into the
// return basket, takes all of them at once, walks the basket and removes lines; "+" closes
// it with Ok for the recapitulation. Its keys act whatever control has the focus. It works
// on the return page's basket and lent-videos list (whose cursor it moves) for the current
// customer, and only reads the database.
class TFormBack : public QDialog {
    Q_OBJECT
public:
    TFormBack(TTableBack &basket, DataSet &lentVideos, qint64 customer, QWidget *parent = nullptr);

    // Opened only to look at the basket: the first activation adds nothing.
    void ClearActivate() { m_activatePending = false; }

    void FormShow();
    void FormActivate();
    void FormMouseWheel(int wheelDelta);
    void Int64EditVideoChange();
    void ActionSelectExecute();
    void ActionSelectAllExecute();
    void ActionBackExecute();
    void ActionDeleteExecute();
    void ActionUpExecute();
    void ActionDownExecute();
    void EnableButtons();

    QLabel *LabelGoods = nullptr;
    TInt64Edit *Int64EditVideo = nullptr;
    QPushButton *SpeedButtonSelect = nullptr;
    QPushButton *BitBtnSelectAll = nullptr;
    QPushButton *BitBtnBack = nullptr;
    QPushButton *BitBtnDelete = nullptr;
    QPushButton *BitBtnCancel = nullptr;
    QAction *ActionSelect = nullptr;
    QAction *ActionSelectAll = nullptr;
    QAction *ActionBack = nullptr;
    QAction *ActionDelete = nullptr;
    QAction *ActionUp = nullptr;
    QAction *ActionDown = nullptr;

signals:
    // The basket changed: the return page shows its new totals (SetStatusBarBack).
    void BasketChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createCodeBox();
    void createActions();
    void createButtons();
    QAction *addKeyAction(const char *name, const QList<QKeySequence> &keys, void (TFormBack::*handler)());
    // Up and Down: the basket's previous or next line, the list and the code box along.
    void walkBasket(void (DataSet::*move)());
    // Writes a number into the code box; its change handler runs while the box has the focus.
    void showVideo(qint64 video);
    // The text of the focused control, the code box, is selected for the next scan.
    void selectCode();

    TTableBack &m_basket;
    DataSet &m_lentVideos;
    qint64 m_customer;
    bool m_activatePending = true;
    bool m_changeAttached = true; // from the start, so the number the page puts in finds its video
    int m_wheelRest = 0;          // high-resolution wheels send parts of a notification
};
