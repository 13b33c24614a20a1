#include "support/ShownReports.h"

#include "reports/ReportPreview.h"
#include "reports/ReportPrinting.h"
#include "reports/UPreview.h"
#include "support/PdfOutput.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

class KeptPreviews : public TQRPreviewInterface {
public:
    QWidget *Show(PreparedReport *printer) override
    {
        reports << *printer;
        return nullptr;
    }
    QList<PreparedReport> reports;
};

KeptPreviews *Kept = nullptr;

} // namespace

ShownReports::ShownReports()
{
    auto kept = std::make_unique<KeptPreviews>();
    Kept = kept.get();
    RegisterPreviewInterface(std::move(kept));
}

ShownReports::~ShownReports()
{
    RegisterPreviewInterface(nullptr);
    Kept = nullptr;
}

const QList<PreparedReport> &ShownReports::reports() const
{
    return Kept->reports;
}

QStringList ShownReports::titles() const
{
    QStringList titles;
    for (const PreparedReport &report : Kept->reports)
        titles << report.title;
    return titles;
}

QString PrintedPdf(const PreparedReport &pages, const QString &folder)
{
    PdfPrints prints(folder);
    PrintPreparedReport(pages, pages.title);
    return prints.lastFile();
}

QStringList PrintedPageTexts(const PreparedReport &pages, const QString &folder)
{
    return PdfPageTexts(PrintedPdf(pages, folder));
}

PreviewsPrinted::PreviewsPrinted()
{
    qApp->installEventFilter(this);
}

PreviewsPrinted::~PreviewsPrinted()
{
    qApp->removeEventFilter(this);
}

bool PreviewsPrinted::eventFilter(QObject *watched, QEvent *event)
{
    auto *preview = qobject_cast<TFormPreview *>(watched);
    if (preview && event->type() == QEvent::Show) {
        // Pressed once the window is up and all its pages are made, as a person would.
        printWhenMade(preview);
    }
    return false;
}

void PreviewsPrinted::printWhenMade(TFormPreview *preview)
{
    QTimer::singleShot(0, preview, [this, preview = QPointer<TFormPreview>(preview)] {
        if (!preview)
            return;
        if (!preview->QRPrinter()->complete) {
            printWhenMade(preview);
            return;
        }
        m_titles << preview->windowTitle();
        preview->BitBtnPrint->click();
        preview->BitBtnClose->click();
    });
}
