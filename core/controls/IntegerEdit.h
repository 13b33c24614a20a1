#pragma once
#include "core/controls/NumberEdit.h"

// A one-line edit for a 32-bit whole number (text "0", Min 0, Max 0 = no upper bound). The key
// filter runs before the owner's OnKeyPress; a click selects the whole text. Its Value is the
// Qt property "value" the form storage reads (clamped) and writes (as it stands).
class TIntegerEdit : public TNumberEdit {
    Q_OBJECT
    Q_PROPERTY(int value READ Value WRITE SetValue)

public:
    explicit TIntegerEdit(QWidget *parent = nullptr) : TNumberEdit(Width::Bits32, parent) {}

    qint32 Value() { return qint32(NumberValue()); }
    void SetValue(qint32 value) { SetNumberValue(value); }
    qint32 Min() const { return qint32(NumberMin()); }
    void SetMin(qint32 value) { SetNumberMin(value); }
    qint32 Max() const { return qint32(NumberMax()); }
    void SetMax(qint32 value) { SetNumberMax(value); }
};
