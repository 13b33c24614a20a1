#pragma once
#include <QString>
#include <functional>
#include <memory>

class PreparedReport;
class QPrinter;

// Every print of the program takes its printer from here, so that a test can print to PDF.
// The factory gets the printer's name (empty: the default printer).
using ReportPrinterFactory = std::function<std::unique_ptr<QPrinter>(const QString &printerName)>;
// Installs a factory; an empty one restores the system's printers.
void SetReportPrinterFactory(ReportPrinterFactory factory);
std::unique_ptr<QPrinter> CreateReportPrinter(const QString &printerName);

// Prints all pages of the report, `copies` times one after the other, on its printer as
// one job named `jobName`, calling `afterPage` after each page. Throws EReportError when the
// printer cannot print.
void PrintPreparedReport(const PreparedReport &report, const QString &jobName, int copies = 1,
                         const std::function<void()> &afterPage = {});

// Prints pages `fromPage` to `toPage` of the report (all when `fromPage` is 0), `copies`
// times one after the other, as one job named `jobName` on `printerName`. The selection is
// made through page files in the temporary folder, all removed again whatever happens; it
// is loaded in place of the report's pages while it prints, and they are loaded back after.
// Returns the number of pages selected; with none nothing is printed.
int PrintPageSelection(PreparedReport &report, int fromPage, int toPage, int copies,
                       const QString &printerName, const QString &jobName,
                       const std::function<void()> &afterPage = {});
