#include "core/UDatabase.h"

#include "core/UValmedo.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFormDatabase *FormDatabase = nullptr;

TFormDatabase::TFormDatabase(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDatabase"));
    setWindowTitle(QStringLiteral(" Údržba databáze"));
    auto *layout = new QVBoxLayout(this);
    auto *start = new QGroupBox(QStringLiteral("Údržba databáze při startu programu"), this);
    start->setObjectName(QStringLiteral("GroupBoxDatabaseStart"));
    auto *startLayout = new QVBoxLayout(start);
    CheckBoxReindex = new QCheckBox(QStringLiteral("Reindexace databáze"), start);
    CheckBoxReindex->setObjectName(QStringLiteral("CheckBoxReindex"));
    startLayout->addWidget(CheckBoxReindex);
    CheckBoxTransLog = new QCheckBox(QStringLiteral("Vymazání transakčního logu"), start);
    CheckBoxTransLog->setObjectName(QStringLiteral("CheckBoxTransLog"));
    startLayout->addWidget(CheckBoxTransLog);
    layout->addWidget(start);

    auto *sales = new QGroupBox(QStringLiteral("Vymazání záznamů při startu programu"), this);
    sales->setObjectName(QStringLiteral("GroupBoxSales"));
    auto *salesLayout = new QHBoxLayout(sales);
    CheckBoxLends = new QCheckBox(QStringLiteral("Vymazat záznamy s doklady,"), sales);
    CheckBoxLends->setObjectName(QStringLiteral("CheckBoxLends"));
    salesLayout->addWidget(CheckBoxLends);
    auto *lends = new QLabel(QStringLiteral("jsou-li starší více jak"), sales);
    lends->setObjectName(QStringLiteral("LabelLends"));
    salesLayout->addWidget(lends);
    IntegerEditLends = new QSpinBox(sales);
    IntegerEditLends->setObjectName(QStringLiteral("IntegerEditLends"));
    IntegerEditLends->setRange(0, 9999);
    salesLayout->addWidget(IntegerEditLends);
    auto *days = new QLabel(QStringLiteral("dní"), sales);
    days->setObjectName(QStringLiteral("LabelDays"));
    salesLayout->addWidget(days);
    layout->addWidget(sales);
    AddDialogButtons(this, layout, true, [this] { FormStorage.Restore(); });
}

void TFormDatabase::RestoreStoredValues()
{
    FormStorage.Restore();
}
