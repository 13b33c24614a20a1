#include "catalogue/PageHooks.h"

#include <array>

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

std::array<PrintHandler, ValmedoActionCount> &printHandlers()
{
    static std::array<PrintHandler, ValmedoActionCount> handlers;
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

void SetPrintHandler(ValmedoAction action, PrintHandler handler)
{
    printHandlers()[static_cast<std::size_t>(action)] = std::move(handler);
}

PrintHandler PrintHandlerOf(ValmedoAction action)
{
    return printHandlers()[static_cast<std::size_t>(action)];
}
