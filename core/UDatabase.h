#pragma once
#include "core/FormStorage.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

// The database maintenance dialog " Údržba databáze": created once at start-up, its stored
// values restored from section "Database", kept for the whole run. Start-up reads its
// maintenance options.
class TFormDatabase : public QDialog {
    Q_OBJECT
public:
    explicit TFormDatabase(QWidget *parent = nullptr);
    void RestoreStoredValues();

    TFormStorage FormStorage{this, QStringLiteral("Database"), {QStringLiteral("CheckBoxReindex.Checked"),
                              QStringLiteral("CheckBoxTransLog.Checked"), QStringLiteral("CheckBoxLends.Checked"),
                              QStringLiteral("IntegerEditLends.Value")}};

    QCheckBox *CheckBoxReindex = nullptr;
    QCheckBox *CheckBoxTransLog = nullptr;
    QCheckBox *CheckBoxLends = nullptr;
    QSpinBox *IntegerEditLends = nullptr;  // days, 0 to 9999
};

extern TFormDatabase *FormDatabase;
