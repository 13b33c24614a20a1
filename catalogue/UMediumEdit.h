#pragma once
#include "catalogue/CodeBookForms.h"

struct MediumValues;
class QCheckBox;
class QLineEdit;
class TCurrencyEdit;

// The new and edit dialogs of a medium (same layout): the name, the three fees in crowns
// ("Půjčovné:", "Vratné:", "Záloha:") and "Dabing". Every change of a field runs the name
// check that enables Ok.
class TFormMediumValues : public TFormCodeBookItem {
    Q_OBJECT
public:
    MediumValues Values() const;

    QLineEdit *EditMedium = nullptr;
    TCurrencyEdit *CurrencyEditLend = nullptr;
    TCurrencyEdit *CurrencyEditBack = nullptr;
    TCurrencyEdit *CurrencyEditAdvance = nullptr;
    QCheckBox *CheckBoxDubing = nullptr;

protected:
    TFormMediumValues(const QString &objectName, const QString &caption, int id, QWidget *parent);

private:
    TCurrencyEdit *addFee(const QString &objectName, const QString &caption);
};

// " Nový nosič": dubbing ticked, no fees.
class TFormMediumNew : public TFormMediumValues {
    Q_OBJECT
public:
    explicit TFormMediumNew(QWidget *parent = nullptr);
};

// " Editace nosiče": the medium `id` with its present values; Ok waits for a change.
class TFormMediumEdit : public TFormMediumValues {
    Q_OBJECT
public:
    TFormMediumEdit(int id, const MediumValues &values, QWidget *parent = nullptr);
};
