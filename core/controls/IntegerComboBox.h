#pragma once
#include "core/controls/NumberEdit.h"

#include <QComboBox>

// A combo box with an edit part for a 32-bit whole number and a drop-down list of proposals.
// The edit part follows the rules of the numeric edits, except that a click does not select
// all; writing 0 with ZeroEmpty set empties the list as well as the text.
class TIntegerComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TIntegerComboBox(QWidget *parent = nullptr);

    TNumberEdit *Edit() const { return m_edit; }

    qint32 Value() { return qint32(m_edit->NumberValue()); }
    void SetValue(qint32 value) { m_edit->SetNumberValue(value); }
    qint32 Min() const { return qint32(m_edit->NumberMin()); }
    void SetMin(qint32 value) { m_edit->SetNumberMin(value); }
    qint32 Max() const { return qint32(m_edit->NumberMax()); }
    void SetMax(qint32 value) { m_edit->SetNumberMax(value); }
    bool ZeroEmpty() const { return m_edit->ZeroEmpty(); }
    void SetZeroEmpty(bool zeroEmpty) { m_edit->SetZeroEmpty(zeroEmpty); }

protected:
    bool event(QEvent *event) override;

private:
    TNumberEdit *m_edit;
};
