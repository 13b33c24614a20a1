#include "core/Application.h"

#include "core/RunReported.h"
#include "core/controls/ActionKeys.h"

TValmedoApplication::TValmedoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    InstallKeypadActionKeys(this);
}

bool TValmedoApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunReported([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
