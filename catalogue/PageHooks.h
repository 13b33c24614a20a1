#pragma once
#include "core/ValmedoActions.h"

#include <QString>
#include <functional>

class BrowseQuery;
class QDialog;

// Windows and reports that the list pages open but other units bring: each unit registers
// its piece here when it is built, and a page whose piece is not registered does without
// it (the button or action then only gives the focus back).

// The free filter dialog " Filtr" over a page's list query (the customer, video or
// document list); it applies its text to that query and refreshes the pages' counts.
using FilterWindowFactory = std::function<QDialog *(BrowseQuery *query)>;
void SetFilterWindowFactory(FilterWindowFactory factory);
FilterWindowFactory FilterWindow();

// The import and export window " Import / Export"; it sees by the main window's page
// whether customers or videos are meant, and works on that page's list query.
using ImportExportWindowFactory = std::function<QDialog *()>;
void SetImportExportWindowFactory(ImportExportWindowFactory factory);
ImportExportWindowFactory ImportExportWindow();

// The print of a page, by its print action (ValmedoAction::CustomerPrint, VideoPrint ...):
// the choice dialog and the reports. The page checks first that its list is not empty.
using PrintHandler = std::function<void()>;
void SetPrintHandler(ValmedoAction action, PrintHandler handler);
PrintHandler PrintHandlerOf(ValmedoAction action);
