#include "reports/ReportPrinting.h"

#include "reports/QrpFile.h"
#include "reports/ReportPages.h"
#include "core/Modal.h"
#include "core/controls/PrinterComboBox.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPainter>
#include <QPrinter>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

ReportPrinterFactory &Factory()
{
    static ReportPrinterFactory factory;
    return factory;
}

// The PDF file a print to the PDF printer writes, chosen in a save dialog that proposes the
// report's name; empty when the clerk cancels.
QString ChoosePdfFile(const QString &jobName)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Tisk do souboru PDF"));
    dialog.setObjectName(QStringLiteral("SaveDialogPdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QStringLiteral("Dokument PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(jobName.trimmed() + QStringLiteral(".pdf"));
    if (ExecModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

// The PDF engine takes two buffers of ten megabytes and the compressor's state for every
// page it writes, and frees them after the page. Above the pages of a large report they lie
// at the top of the heap, which glibc gave back to the system after each page and took
// again for the next (or mapped them on their own): faulting that memory in again cost more
// than drawing the page. While a report prints, such buffers come from the heap and its top
// is kept; what the print freed is handed back at its end.
class HeapKeptWhilePrinting {
public:
    HeapKeptWhilePrinting()
    {
#if defined(__GLIBC__)
        // Values set end glibc's own raising of the thresholds for the rest of the run, so
        // they stay set after the print: the mapping threshold at the highest glibc raises it
        // to, the heap's top trimmed past twice that.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        mallopt(M_TOP_PAD, 16 * 1024 * 1024);
#endif
    }
    ~HeapKeptWhilePrinting() { TrimFreedMemory(); }
};

} // namespace

void SetReportPrinterFactory(ReportPrinterFactory factory)
{
    Factory() = std::move(factory);
}

std::unique_ptr<QPrinter> CreateReportPrinter(const QString &printerName)
{
    if (Factory())
        return Factory()(printerName);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The printer is chosen by its name, never by a position in some list of printers.
    if (!printerName.isEmpty() && !PrintsToPdfFile(printerName))
        printer->setPrinterName(printerName);
    return printer;
}

void PrintPreparedReport(const PreparedReport &report, const QString &jobName, int copies,
                         const std::function<void()> &afterPage)
{
    if (report.pageCount() == 0 || copies < 1)
        return;
    std::unique_ptr<QPrinter> printer = CreateReportPrinter(report.printerName);
    if (!Factory() && PrintsToPdfFile(report.printerName)) {
        const QString file = ChoosePdfFile(jobName);
        if (file.isEmpty())
            return;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
    }
    // Without the printer asked for (or any printer at all) Qt falls back to a PDF printer
    // that has no file to write.
    const bool noPrinter = printer->printerName().isEmpty() && printer->outputFileName().isEmpty();
    if (!printer->isValid() || noPrinter)
        throw EReportError(QStringLiteral("Tiskárna není k dispozici."));
    printer->setDocName(jobName);
    printer->setFullPage(true);
    printer->setPageSize(report.pageSize);
    printer->setPageOrientation(report.orientation);
    const HeapKeptWhilePrinting heap;
    QPainter painter;
    if (!painter.begin(printer.get()))
        throw EReportError(QStringLiteral("Tisk sestavy \"%1\" nelze zahájit.").arg(jobName.trimmed()));
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal scale = painter.device()->logicalDpiX() / LayoutDpi;
    bool first = true;
    // Copies are the pages again, collated, in the same job.
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = 0; page < report.pageCount(); ++page) {
            if (!first && !printer->newPage()) {
                painter.end();
                throw EReportError(QStringLiteral("Tisk sestavy \"%1\" selhal.").arg(jobName.trimmed()));
            }
            first = false;
            report.paintPage(painter, page, scale, false);
            if (afterPage)
                afterPage();
        }
    }
    if (!painter.end())
        throw EReportError(QStringLiteral("Tisk sestavy \"%1\" selhal.").arg(jobName.trimmed()));
}

int PrintPageSelection(PreparedReport &report, int fromPage, int toPage, int copies,
                       const QString &printerName, const QString &jobName,
                       const std::function<void()> &afterPage)
{
    struct TempFiles {
        QString all, selected;
        ~TempFiles()
        {
            for (const QString &name : {all, selected})
                if (!name.isEmpty())
                    QFile::remove(name);
        }
    } temp;
    if (!TempQrpFileName(temp.all) || !TempQrpFileName(temp.selected))
        throw EReportError(QStringLiteral("Dočasný soubor pro tisk nelze vytvořit."));
    SaveQrpFile(temp.all, report);
    if (!CopyQrpPages(temp.all, temp.selected, fromPage, toPage))
        throw EReportError(QStringLiteral("Vybrané stránky nelze připravit k tisku."));
    // The report's own pages give way to the selection while it prints, so that the two are
    // never held together, and come back from their file afterwards.
    struct OwnPagesBack {
        PreparedReport &report;
        const QString &file;
        ~OwnPagesBack()
        {
            report.pages = {};
            try {
                LoadQrpFile(file, report);
            } catch (const EReportError &) {
            }
            TrimFreedMemory();
        }
    } back{report, temp.all};
    report.pages = {};
    LoadQrpFile(temp.selected, report);
    const QString keptPrinter = report.printerName;
    report.printerName = printerName;
    struct PrinterBack {
        PreparedReport &report;
        QString name;
        ~PrinterBack() { report.printerName = name; }
    } printerBack{report, keptPrinter};
    const int selected = report.pageCount();
    PrintPreparedReport(report, jobName, copies, afterPage);
    return selected;
}
