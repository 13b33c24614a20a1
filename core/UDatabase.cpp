#include "core/UDatabase.h"

#include "core/database/Commands.h"
#include "core/database/Errors.h"
#include "core/NamedWidget.h"
#include "core/database/SqlServer.h"
#include "core/RunReported.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormDatabase *FormDatabase = nullptr;

namespace {

QString countText(const QString &table)
{
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return QString::number(ExecCommandValue().toLongLong());
}

} // namespace

QString SizeText(qint64 bytes)
{
    return QStringLiteral("%1 KB").arg(bytes / 1024);
}

TFormDatabase::TFormDatabase(QWidget *parent)
    : TStoredDialog(QStringLiteral("Database"),
                    {QStringLiteral("CheckBoxReindex.Checked"),
                     QStringLiteral("CheckBoxTransLog.Checked"),
                     QStringLiteral("CheckBoxLends.Checked"),
                     QStringLiteral("IntegerEditLends.Value")},
                    true, parent)
{
    setObjectName(QStringLiteral("FormDatabase"));
    setWindowTitle(QStringLiteral(" Údržba databáze"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

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
    salesLayout->addWidget(Named<QLabel>(sales, "LabelLends", QStringLiteral("jsou-li starší více jak")));
    IntegerEditLends = new TIntegerEdit(sales);
    IntegerEditLends->setObjectName(QStringLiteral("IntegerEditLends"));
    IntegerEditLends->SetMin(0);
    IntegerEditLends->SetMax(9999);
    IntegerEditLends->SetValue(0);
    IntegerEditLends->setMaximumWidth(60);
    salesLayout->addWidget(IntegerEditLends);
    salesLayout->addWidget(Named<QLabel>(sales, "LabelDays", QStringLiteral("dní")));
    layout->addWidget(sales);

    auto *stats = new QGridLayout;
    const struct {
        const char *caption, *name, *valueName;
        QLabel **value;
    } rows[] = {
        {"Databáze má alokováno:", "LabelAlocate", "LabelAlocateValue", &LabelAlocateValue},
        {"Databáze využívá:", "LabelUsed", "LabelUsedValue", &LabelUsedValue},
        {"Počet záznamů zákazníci:", "LabelCustomer", "LabelCustomerValue", &LabelCustomerValue},
        {"Počet záznamů video:", "LabelVideo", "LabelVideoValue", &LabelVideoValue},
        {"Počet záznamů s doklady:", "LabelVoucher", "LabelVoucherValue", &LabelVoucherValue},
        {"Počet záznamů historie:", "LabelHistory", "LabelHistoryValue", &LabelHistoryValue},
    };
    int row = 0;
    for (const auto &r : rows) {
        stats->addWidget(Named<QLabel>(this, r.name, QString::fromUtf8(r.caption)), row, 0);
        *r.value = Named<QLabel>(this, r.valueName);
        stats->addWidget(*r.value, row, 1);
        ++row;
    }
    stats->setColumnStretch(1, 1);
    layout->addLayout(stats);

    AddButtons(layout, true, [this] { ButtonCancelClick(); });

    connect(CheckBoxLends, &QCheckBox::toggled, this, [this] { CheckBoxLendsClick(); });
    CheckBoxLendsClick();
}

void TFormDatabase::RestoreStoredValues()
{
    FormStorage.Restore();
    CheckBoxLendsClick();
}

void TFormDatabase::Shown()
{
    RunReported([this] { FormActivate(); });
}

void TFormDatabase::FormActivate()
{
    CheckBoxLendsClick();
    SqlServer *server = CurrentServer();
    if (!server)
        throw EDatabaseError(QStringLiteral("Spojení s databází není otevřeno"));
    const FileStats sizes = server->fileStats();
    LabelAlocateValue->setText(SizeText(sizes.allocated));
    LabelUsedValue->setText(SizeText(sizes.used));
    LabelCustomerValue->setText(countText(QStringLiteral("tab_zakaznik")));
    LabelVideoValue->setText(countText(QStringLiteral("tab_video")));
    LabelVoucherValue->setText(countText(QStringLiteral("tab_pujcky")));
    LabelHistoryValue->setText(countText(QStringLiteral("tab_pujckydetail")));
}

void TFormDatabase::CheckBoxLendsClick()
{
    IntegerEditLends->setEnabled(CheckBoxLends->isChecked());
}

void TFormDatabase::ButtonCancelClick()
{
    // Undoes this showing's edits; the button then closes the dialog with Cancel.
    RestoreStoredValues();
}
