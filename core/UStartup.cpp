#include "core/UStartup.h"

#include <QApplication>

int RunValmedo(QApplication &app, const StartupOptions &options)
{
    Q_UNUSED(app);
    Q_UNUSED(options);
    return 0;
}
