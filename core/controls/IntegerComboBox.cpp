#include "core/controls/IntegerComboBox.h"

#include "core/controls/ActionKeys.h"

TIntegerComboBox::TIntegerComboBox(QWidget *parent)
    : QComboBox(parent), m_edit(new TNumberEdit(TNumberEdit::Width::Bits32))
{
    setEditable(true);
    setLineEdit(m_edit);
    // Neither Enter nor completion may change the text or the list behind the key rules.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    m_edit->SetClickSelectsAll(false);
    m_edit->setText(QStringLiteral("0"));
    m_edit->OnZeroEmptied = [this] { clear(); };  // the list goes with the text
}

bool TIntegerComboBox::event(QEvent *event)
{
    if (RefuseActionKeyOverride(this, event))
        return true;
    return QComboBox::event(event);
}
