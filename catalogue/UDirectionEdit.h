#pragma once
#include "catalogue/CodeBookForms.h"

class QLineEdit;

// " Nový žánr": the name of a genre to add.
class TFormDirectionNew : public TFormCodeBookItem {
    Q_OBJECT
public:
    explicit TFormDirectionNew(QWidget *parent = nullptr);

    QLineEdit *EditDirection = nullptr;
};

// " Editace žánru": a new name for the genre `id`; Ok waits for a change.
class TFormDirectionEdit : public TFormCodeBookItem {
    Q_OBJECT
public:
    TFormDirectionEdit(int id, const QString &name, QWidget *parent = nullptr);

    QLineEdit *EditDirection = nullptr;
};
