#pragma once
#include "core/controls/NumberEdit.h"

// A one-line edit for a 64-bit whole number: customer, video and document numbers. The owner's
// OnKeyPress sees every key first and may change it; then the key filter runs. Its Value is the
// Qt property "value", as for TIntegerEdit.
class TInt64Edit : public TNumberEdit {
    Q_OBJECT
    Q_PROPERTY(qint64 value READ Value WRITE SetValue)

public:
    // The highest customer, video and document number: 13 digits.
    static constexpr qint64 HighestNumber = 9999999999999LL;

    explicit TInt64Edit(QWidget *parent = nullptr) : TNumberEdit(Width::Bits64, parent)
    {
        SetOwnerKeyPressFirst(true);
    }

    qint64 Value() { return NumberValue(); }
    void SetValue(qint64 value) { SetNumberValue(value); }
    qint64 Min() const { return NumberMin(); }
    void SetMin(qint64 value) { SetNumberMin(value); }
    qint64 Max() const { return NumberMax(); }
    void SetMax(qint64 value) { SetNumberMax(value); }
};
