#include "catalogue/PageHooks.h"

#include <QHash>

namespace {

FilterWindowFactory &filterWindow()
{
    static FilterWindowFactory factory;
    return factory;
}

ImportExportWindowFactory &importExportWindow()
{
    static ImportExportWindowFactory factory;
    return factory;
}

QHash<QString, PrintHandler> &printHandlers()
{
    static QHash<QString, PrintHandler> handlers;
    return handlers;
}

} // namespace

void SetFilterWindowFactory(FilterWindowFactory factory)
{
    filterWindow() = std::move(factory);
}

FilterWindowFactory FilterWindow()
{
    return filterWindow();
}

void SetImportExportWindowFactory(ImportExportWindowFactory factory)
{
    importExportWindow() = std::move(factory);
}

ImportExportWindowFactory ImportExportWindow()
{
    return importExportWindow();
}

void SetPrintHandler(const QString &actionName, PrintHandler handler)
{
    if (handler)
        printHandlers().insert(actionName, std::move(handler));
    else
        printHandlers().remove(actionName);
}

PrintHandler PrintHandlerOf(const QString &actionName)
{
    return printHandlers().value(actionName);
}
