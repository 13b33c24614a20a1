#pragma once
#include "core/FormStorage.h"

#include <QDialog>

// The rental settings dialog " Půjčovna": created once at start-up, its stored values
// restored from section "SetupVideo", kept for the whole run. Its controls are the
// settings; the rental rules fill it in.
class TFormSetupVideo : public QDialog {
    Q_OBJECT
public:
    explicit TFormSetupVideo(QWidget *parent = nullptr);
    // Reads the stored values of section "SetupVideo" into the controls.
    void RestoreStoredValues();

    TFormStorage FormStorage{this, QStringLiteral("SetupVideo"), {}};
};

extern TFormSetupVideo *FormSetupVideo;
