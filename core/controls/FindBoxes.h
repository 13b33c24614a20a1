#pragma once
#include <QComboBox>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class TInt64Edit;

// The find boxes of the list pages: a number box that finds a row by its number and a name
// or title box that completes what the clerk types. They search only while the clerk types
// in them: text written into a box by code (the current row shown in it) never searches.

// Whether the clerk is typing in `box`: it (or the edit inside it) is the focused control of
// its window while that window is the active one. Code that shows the current row in the
// find boxes skips such a box, so what is being typed is not overwritten.
bool ClerkTypesIn(const QWidget *box);

// One proposal of a box's completion: the text shown and what it stands for.
struct FindProposal {
    QString text;
    QVariant data;
};

// The name or title box of a find panel: an editable combo box whose list holds the
// proposals for the text typed, in Czech order, 16 of them shown when dropped down.
//  - Every change the clerk makes while the box has the focus (typing, choosing from the
//    list) runs OnChange. With OnPropose set, a text that is not one of the proposals
//    (ignoring case) is completed first: the proposals for it are fetched, the text becomes
//    the first of them and the rest of it after the caret is selected (48 characters), so
//    the next key replaces the completed part; no proposal empties the box.
//  - Backspace and Delete empty the box, text and proposals, before they act, so nothing is
//    left to delete and no search runs.
//  - At most MaxTyped characters can be typed; a completed text may be longer.
//  - Keys that an action of the window holds (Enter) reach the action.
class TFindComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFindComboBox(QWidget *parent = nullptr);

    void SetMaxTyped(int length);
    int MaxTyped() const { return m_maxTyped; }

    std::function<QList<FindProposal>(const QString &typed)> OnPropose;
    std::function<void()> OnChange;

    // Empties the text and the proposals.
    void ClearBox();
    // Whether `text` is one of the proposals, ignoring case.
    bool IsProposal(const QString &text) const;
    // The data of the proposal that the text is; null when it is none.
    QVariant ProposalData() const;

signals:
    void Entered();
    void Exited();
    void DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Edited();
    void Complete();
    int ProposalIndex(const QString &text) const;

    int m_maxTyped = 32;
    bool m_completing = false;
};

// Makes `box` the number box of a find panel: entering it asks for the English keyboard and
// leaving it for the Czech one (what the barcode reader needs), every change the clerk makes
// while it has the focus runs `onChange`, a double click runs `onDoubleClick`. Errors of the
// handlers are reported as the program's error report does.
void MakeNumberFindBox(TInt64Edit *box, std::function<void()> onChange,
                       std::function<void()> onDoubleClick);
