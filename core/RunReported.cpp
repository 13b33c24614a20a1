#include "core/RunReported.h"

#include "core/database/Errors.h"
#include "core/Messages.h"

#include <QString>
#include <exception>

void RunReported(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const EDatabaseError &e) {
        ShowWarning(false, e.message(), QString());
    } catch (const std::exception &e) {
        ShowWarning(false, QString::fromLocal8Bit(e.what()), QString());
    }
}
