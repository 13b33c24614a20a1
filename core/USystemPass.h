#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog " Systémové heslo" that asks for the system administrator's password;
// start-up reads `EditSystemPass` after it closes with Ok.
class TFormSystemPass : public QDialog {
    Q_OBJECT
public:
    explicit TFormSystemPass(QWidget *parent = nullptr);

    QLabel *LabelSystemPass = nullptr;
    QLineEdit *EditSystemPass = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;
};
