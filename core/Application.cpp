#include "core/Application.h"

#include "core/RunReported.h"

TValmedoApplication::TValmedoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TValmedoApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunReported([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
