#include "core/USetupVideo.h"

#include "core/UValmedo.h"

#include <QVBoxLayout>

TFormSetupVideo *FormSetupVideo = nullptr;

TFormSetupVideo::TFormSetupVideo(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSetupVideo"));
    setWindowTitle(QStringLiteral(" Půjčovna"));
    auto *layout = new QVBoxLayout(this);
    AddDialogButtons(this, layout, false, [this] { FormStorage.Restore(); });
}

void TFormSetupVideo::RestoreStoredValues()
{
    FormStorage.Restore();
}
