#pragma once
#include "core/FormStorage.h"

#include <QDialog>

// The receipt print settings dialog " Nastavení tisku dokladů": created once at start-up,
// its stored values restored from section "SetupPrint", kept for the whole run.
class TFormSetupPrint : public QDialog {
    Q_OBJECT
public:
    explicit TFormSetupPrint(QWidget *parent = nullptr);
    void RestoreStoredValues();

    TFormStorage FormStorage{this, QStringLiteral("SetupPrint"), {}};
};

extern TFormSetupPrint *FormSetupPrint;
