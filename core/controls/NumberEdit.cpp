#include "core/controls/NumberEdit.h"

#include "core/Utils.h"
#include "core/controls/ActionKeys.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValidator>

namespace {

// The last net behind the key rules: whatever route a change takes, it leaves digits only.
class DigitsValidator : public QValidator {
public:
    explicit DigitsValidator(TNumberEdit *edit) : QValidator(edit), m_edit(edit) {}
    State validate(QString &input, int &) const override
    {
        for (QChar c : input)
            if (!c.isDigit() || c.unicode() > '9')
                return Invalid;
        return input.isEmpty() || m_edit->Converts(input) ? Acceptable : Invalid;
    }

private:
    const TNumberEdit *m_edit;
};

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TNumberEdit::TNumberEdit(Width width, QWidget *parent) : QLineEdit(parent), m_width(width)
{
    setText(QStringLiteral("0"));
    setAcceptDrops(false);
    setValidator(new DigitsValidator(this));
}

bool TNumberEdit::Converts(const QString &text, qint64 *number) const
{
    bool ok = false;
    const qint64 n = m_width == Width::Bits32 ? qint64(text.toInt(&ok)) : text.toLongLong(&ok);
    if (ok && number)
        *number = n;
    return ok;
}

qint64 TNumberEdit::NumberValue()
{
    const QString current = text();
    if (current.isEmpty())
        return 0;
    qint64 n = 0;
    if (!Converts(current, &n))
        n = 0;
    if (n < m_min) {
        n = m_min;
        SetNumberValue(n);
    }
    if (m_max != 0 && n > m_max) {
        n = m_max;
        SetNumberValue(n);
    }
    return n;
}

void TNumberEdit::SetNumberValue(qint64 value)
{
    if (m_zeroEmpty && value == 0) {
        setText(QString());
        if (OnZeroEmptied)
            OnZeroEmptied();
    } else {
        setText(QString::number(value));
    }
}

void TNumberEdit::SetNumberMin(qint64 value)
{
    if (value == m_min || value > m_max)
        return;
    m_min = value;
    SetNumberValue(NumberValue());
}

void TNumberEdit::SetNumberMax(qint64 value)
{
    if (value == m_max || value < m_min)
        return;
    m_max = value;
    SetNumberValue(NumberValue());
}

void TNumberEdit::SetZeroEmpty(bool zeroEmpty)
{
    m_zeroEmpty = zeroEmpty;
    SetNumberValue(NumberValue());
}

bool TNumberEdit::InsertAllowed(const QString &result) const
{
    qint64 n = 0;
    if (!Converts(result, &n))
        return false;
    return n >= m_min && (m_max == 0 || n <= m_max);
}

bool TNumberEdit::RemovalAllowed(const QString &result) const
{
    qint64 n = 0;
    if (!result.isEmpty() && !Converts(result, &n))
        return false;
    if (m_min != 0 && (result.isEmpty() || n < m_min))
        return false;
    return true;
}

QString TNumberEdit::TextWithSelectionReplaced(const QString &insert) const
{
    QString t = text();
    if (hasSelectedText())
        return t.replace(selectionStart(), selectedText().size(), insert);
    return t.insert(cursorPosition(), insert);
}

QString TNumberEdit::TextAfterBackspace() const
{
    QString t = text();
    if (hasSelectedText())
        return t.remove(selectionStart(), selectedText().size());
    if (cursorPosition() > 0)
        t.remove(cursorPosition() - 1, 1);
    return t;
}

QString TNumberEdit::TextAfterDelete() const
{
    QString t = text();
    if (hasSelectedText())
        return t.remove(selectionStart(), selectedText().size());
    if (cursorPosition() < t.size())
        t.remove(cursorPosition(), 1);
    return t;
}

bool TNumberEdit::event(QEvent *event)
{
    if (RefuseActionKeyOverride(this, event)) {
        // The action takes the key; Enter still selects the text for overtyping.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            selectAll();
        return true;
    }
    return QLineEdit::event(event);
}

QChar TNumberEdit::FilterKey(QChar key, bool keypad)
{
    // A read-only box (the number of an edited customer or video) keeps its text.
    if (isReadOnly() && key != QChar(13))
        return QChar(0);
    if (key == QChar(8)) {
        if (!RemovalAllowed(TextAfterBackspace()))
            return QChar(0);
        backspace();
        return key;
    }
    if (key == QChar(13)) {
        selectAll();
        return key;
    }
    if (!keypad && BarcodeSettingOn())
        key = CzechNumberRowDigit(key);
    if (IsAsciiDigit(key) && InsertAllowed(TextWithSelectionReplaced(QString(key)))) {
        insert(QString(key));
        return key;
    }
    return QChar(0);
}

void TNumberEdit::keyPressEvent(QKeyEvent *event)
{
    const int code = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;

    // Cut, copy, paste, undo and redo never reach the text by keys.
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Undo)
        || event->matches(QKeySequence::Redo)) {
        event->accept();
        return;
    }

    if (code == Qt::Key_Delete) {
        if (mods != Qt::NoModifier || isReadOnly() || !RemovalAllowed(TextAfterDelete())) {
            event->accept();
            return;
        }
        int key = code;
        if (OnKeyDown)
            OnKeyDown(key);
        if (key == 0) {
            event->accept();
            return;
        }
        del();
        return;
    }

    if (code == Qt::Key_Backspace && mods != Qt::NoModifier && mods != Qt::ShiftModifier) {
        event->accept();  // deleting a whole word would bypass the rule
        return;
    }

    QChar key;
    if (code == Qt::Key_Backspace)
        key = QChar(8);
    else if (code == Qt::Key_Return || code == Qt::Key_Enter)
        key = QChar(13);
    else if (!event->text().isEmpty())
        key = event->text().at(0);

    if (key.isNull()) {
        // No character: caret movement, Up, Down, function keys.
        int down = code;
        if (OnKeyDown)
            OnKeyDown(down);
        if (down == 0) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }

    if (m_ownerFirst && OnKeyPress)
        OnKeyPress(key);
    if (!key.isNull())
        key = FilterKey(key, keypad);
    if (!m_ownerFirst && OnKeyPress)
        OnKeyPress(key);
    if (key == QChar(13)) {
        QLineEdit::keyPressEvent(event);  // returnPressed, editingFinished
        return;
    }
    // A refused key goes on to the window as the edit had not wanted it: Esc still closes a
    // dialog.
    event->setAccepted(!key.isNull());
}

void TNumberEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Compositions are not shown; a committed text is taken as typed digits, all or nothing.
    QString commit = event->commitString();
    if (BarcodeSettingOn())
        for (QChar &c : commit)
            c = CzechNumberRowDigit(c);
    const bool digits = !commit.isEmpty()
                        && std::all_of(commit.cbegin(), commit.cend(), IsAsciiDigit);
    if (digits && !isReadOnly() && InsertAllowed(TextWithSelectionReplaced(commit)))
        insert(commit);
    event->accept();
}

void TNumberEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();  // no paste of the selection
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TNumberEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        if (m_clickSelectsAll)
            selectAll();
        emit clicked();
    }
}

void TNumberEdit::dragEnterEvent(QDragEnterEvent *event)
{
    event->ignore();
}

void TNumberEdit::dragMoveEvent(QDragMoveEvent *event)
{
    event->ignore();
}

void TNumberEdit::dropEvent(QDropEvent *event)
{
    event->ignore();
}
