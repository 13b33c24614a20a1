#include "core/controls/FindBoxes.h"

#include "core/RunReported.h"
#include "core/Utils.h"
#include "core/controls/ActionKeys.h"
#include "core/controls/Int64Edit.h"

#include <QCollator>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QValidator>
#include <algorithm>

namespace {

// Refuses typing beyond `max` characters; a longer text written by code (a completed
// proposal) stays, and may still be shortened or replaced by typing.
class MaxTypedValidator : public QValidator {
public:
    MaxTypedValidator(QLineEdit *edit, int max) : QValidator(edit), m_max(max)
    {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_last = int(text.size()); });
    }
    void setMax(int max) { m_max = max; }
    State validate(QString &input, int &) const override
    {
        return input.size() > m_max && input.size() > m_last ? Invalid : Acceptable;
    }

private:
    int m_max;
    int m_last = 0;
};

const QCollator &czechOrder()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

bool focusReasonCounts(const QEvent *event)
{
    return static_cast<const QFocusEvent *>(event)->reason() != Qt::PopupFocusReason;
}

// The focus and double-click hooks of a number find box.
class NumberFindBoxHooks : public QObject {
public:
    NumberFindBoxHooks(TInt64Edit *box, std::function<void()> onDoubleClick)
        : QObject(box), m_onDoubleClick(std::move(onDoubleClick))
    {
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (focusReasonCounts(event))
                KeyboardEnglish();
            break;
        case QEvent::FocusOut:
            if (focusReasonCounts(event))
                KeyboardCzech();
            break;
        case QEvent::MouseButtonDblClick:
            if (m_onDoubleClick) {
                RunReported(m_onDoubleClick);
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> m_onDoubleClick;
};

} // namespace

bool ClerkTypesIn(const QWidget *box)
{
    if (!box)
        return false;
    const QWidget *window = box->window();
    if (!window->isActiveWindow())
        return false;
    const QWidget *focused = window->focusWidget();
    return focused && (focused == box || box->isAncestorOf(focused));
}

TFindComboBox::TFindComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setCompleter(nullptr);              // the box completes by its own rule
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    lineEdit()->setValidator(new MaxTypedValidator(lineEdit(), m_maxTyped));
    // Keys and focus reach the box or its edit, depending on which has the focus.
    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    PassActionKeys(this);
    PassActionKeys(lineEdit());
    connect(lineEdit(), &QLineEdit::textEdited, this, &TFindComboBox::Edited);
    connect(this, &QComboBox::activated, this, [this] {
        if (hasFocus() || lineEdit()->hasFocus())
            Edited();
    });
}

void TFindComboBox::SetMaxTyped(int length)
{
    m_maxTyped = length;
    static_cast<MaxTypedValidator *>(const_cast<QValidator *>(lineEdit()->validator()))->setMax(length);
}

void TFindComboBox::ClearBox()
{
    const bool completing = std::exchange(m_completing, true);
    clear();
    setEditText(QString());
    m_completing = completing;
}

int TFindComboBox::ProposalIndex(const QString &text) const
{
    return findText(text, Qt::MatchFixedString); // ignoring case
}

bool TFindComboBox::IsProposal(const QString &text) const
{
    return ProposalIndex(text) >= 0;
}

QVariant TFindComboBox::ProposalData() const
{
    const int i = ProposalIndex(currentText());
    return i >= 0 ? itemData(i) : QVariant();
}

void TFindComboBox::Edited()
{
    if (m_completing)
        return;
    RunReported([this] {
        if (OnPropose && !IsProposal(currentText()))
            Complete();
        if (OnChange)
            OnChange();
    });
}

void TFindComboBox::Complete()
{
    QLineEdit *edit = lineEdit();
    const QString typed = edit->text();
    const int caret = edit->cursorPosition();
    QList<FindProposal> proposals = OnPropose(typed);
    // The list is kept in Czech order; the proposals mostly come in it already.
    const auto before = [](const FindProposal &a, const FindProposal &b) {
        return czechOrder().compare(a.text, b.text) < 0;
    };
    if (!std::is_sorted(proposals.cbegin(), proposals.cend(), before))
        std::stable_sort(proposals.begin(), proposals.end(), before);
    const bool completing = std::exchange(m_completing, true);
    const auto done = qScopeGuard([&] { m_completing = completing; });
    clear();
    if (proposals.isEmpty()) {
        setEditText(QString());
        return;
    }
    for (const FindProposal &p : proposals)
        addItem(p.text, p.data);
    setCurrentIndex(0);
    setEditText(itemText(0));
    edit->setSelection(qMin(caret, int(edit->text().size())), 48);
}

bool TFindComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        emit DblClick();
        return true;
    }
    const bool box = watched == this || watched == lineEdit();
    if (box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
            ClearBox();
            return true;
        }
    }
    if (box && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        && focusReasonCounts(event)) {
        if (event->type() == QEvent::FocusIn)
            emit Entered();
        else
            emit Exited();
    }
    return QComboBox::eventFilter(watched, event);
}

void MakeNumberFindBox(TInt64Edit *box, std::function<void()> onChange,
                       std::function<void()> onDoubleClick)
{
    box->installEventFilter(new NumberFindBoxHooks(box, std::move(onDoubleClick)));
    QObject::connect(box, &QLineEdit::textEdited, box, [box, onChange = std::move(onChange)] {
        if (box->hasFocus() && onChange)
            RunReported(onChange);
    });
}
