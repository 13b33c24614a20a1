#include "core/USetupPrint.h"

#include "core/UValmedo.h"

#include <QVBoxLayout>

TFormSetupPrint *FormSetupPrint = nullptr;

TFormSetupPrint::TFormSetupPrint(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSetupPrint"));
    setWindowTitle(QStringLiteral(" Nastavení tisku dokladů"));
    auto *layout = new QVBoxLayout(this);
    AddDialogButtons(this, layout, true, [this] { FormStorage.Restore(); });
}

void TFormSetupPrint::RestoreStoredValues()
{
    FormStorage.Restore();
}
