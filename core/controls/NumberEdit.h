#pragma once
#include <QLineEdit>
#include <functional>

// The shared edit of the numeric controls (TIntegerEdit, TInt64Edit and the edit part of
// TIntegerComboBox). The text is the value: the keyboard can only produce texts whose number
// stays within Min and Max, and reading Value converts and clamps whatever the text holds.
//
// Keys: digits are accepted when the resulting text stays in range; Backspace and Delete when the
// text they leave is empty or in range (empty only while Min is 0); Enter selects the whole text
// and goes on; every other character, and cut, copy, paste and undo, are refused. While the
// barcode setting is on, the Czech number row "+ěščřžýáíé" types the digits "1234567890" (the
// keypad "+" stays a "+"). Text entered past the keys (input-method commits) follows the same
// rule; drops and the middle-button paste are refused. Keys an enabled window action holds are
// left to the action.
class TNumberEdit : public QLineEdit {
    Q_OBJECT

public:
    enum class Width { Bits32, Bits64 };

    explicit TNumberEdit(Width width, QWidget *parent = nullptr);

    qint64 NumberValue();                // may rewrite the text (clamping)
    void SetNumberValue(qint64 value);   // no clamping
    qint64 NumberMin() const { return m_min; }
    qint64 NumberMax() const { return m_max; }
    void SetNumberMin(qint64 value);
    void SetNumberMax(qint64 value);
    bool ZeroEmpty() const { return m_zeroEmpty; }
    void SetZeroEmpty(bool zeroEmpty);

    // The owner's key-press handler: it gets the character (Backspace as 8, Enter as 13) and may
    // change it; a refused key reaches it as 0. Whether it runs before or after the filter is
    // the control's choice (SetOwnerKeyPressFirst).
    std::function<void(QChar &key)> OnKeyPress;
    // The owner's key-down handler for keys other than a refused Delete; it may set the key to 0
    // to swallow it.
    std::function<void(int &key)> OnKeyDown;

    void SetOwnerKeyPressFirst(bool first) { m_ownerFirst = first; }
    void SetClickSelectsAll(bool selects) { m_clickSelectsAll = selects; }
    // Runs after a 0 was written as an empty text (the combo box empties its list then).
    std::function<void()> OnZeroEmptied;

    // Whether `text` converts to a number of this width.
    bool Converts(const QString &text, qint64 *number = nullptr) const;

signals:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool InsertAllowed(const QString &text) const;   // the digit rule
    bool RemovalAllowed(const QString &text) const;  // the Backspace and Delete rule
    QString TextWithSelectionReplaced(const QString &insert) const;
    QString TextAfterBackspace() const;
    QString TextAfterDelete() const;
    QChar FilterKey(QChar key, bool keypad);         // 0 when refused; performs the accepted key

    Width m_width;
    qint64 m_min = 0;
    qint64 m_max = 0;
    bool m_zeroEmpty = false;
    bool m_ownerFirst = false;
    bool m_clickSelectsAll = true;
};
