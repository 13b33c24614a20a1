#include "app/Wiring.h"

#include "catalogue/UCustomerPage.h"
#include "catalogue/UCustomerPrint.h"
#include "catalogue/UDirection.h"
#include "catalogue/UFilter.h"
#include "catalogue/UImportExport.h"
#include "catalogue/UMedium.h"
#include "catalogue/UVideoPage.h"
#include "core/UUser.h"
#include "core/UValmedo.h"
#include "core/ValmedoPage.h"
#include "core/controls/DateTimePicker.h"
#include "core/database/BrowseQuery.h"
#include "rental/UBackPage.h"
#include "rental/ULendPage.h"
#include "rental/ULendsPage.h"
#include "rental/UView.h"
#include "reports/layouts/Receipts.h"
#include "reports/layouts/UQRLendsTotalA4.h"
#include "reports/layouts/UQRVideoA4.h"

#include <QRadioButton>
#include <QStackedWidget>

namespace {

void buildPages(QStackedWidget *notebook, TDesk &desk, TValmedoPages &pages)
{
    // The lend and return pages follow the customer and video lists as they are built.
    pages.customer = new TCustomerPage(notebook);
    desk.setCustomers(pages.customer);
    pages.video = new TVideoPage(notebook);
    desk.setVideos(pages.video);
    pages.lend = new TLendPage(notebook);
    pages.back = new TBackPage(notebook);
    pages.lends = new TLendsPage(notebook);
    pages.inOrder = {pages.customer, pages.video, pages.lend, pages.back, pages.lends};
}

// The counts of the three lists a free filter changes, on their status bars.
void refreshListCounts()
{
    FormValmedo->customerPage()->SetStatusBarCustomer();
    FormValmedo->videoPage()->SetStatusBarVideo();
    FormValmedo->lendsPage()->SetStatusBarLends();
}

// The prints of the pages, over the lists of the main window's pages.
void printCustomers()
{
    TCustomerPage *page = FormValmedo->customerPage();
    CustomerPrint(*page->ADOQueryCustomer, *page->ADOQueryCustomerVideo);
}

void printVideos()
{
    PrintVideoList(*FormValmedo->videoPage()->ADOQueryVideo, MainWindowFocus());
}

// The takings of the documents now selected, for the period the journal's filter shows.
void printTakings()
{
    TLendsPage *page = FormValmedo->lendsPage();
    PrintLendsTotal(*page->ADOQueryLends,
                    {page->RadioButtonLendsAll->isChecked(), page->DateTimePickerLendsFirst->Date(),
                     page->DateTimePickerLendsSecond->Date()},
                    MainWindowFocus());
}

// The reprint: the receipt of the journal's current document.
void reprintReceipt(qint64, bool, bool copy)
{
    TLendsPage *page = FormValmedo->lendsPage();
    PrintDocumentReceipt(*page->ADOQueryLends, *page->ADOQueryLendsDetail, copy);
}

} // namespace

TValmedoParts ValmedoParts()
{
    TValmedoParts parts;
    parts.pages = buildPages;
    parts.view = [] { return std::make_unique<TFormView>(); };
    parts.filterWindow = [](BrowseQuery *query) { return new TFormFilter(*query, refreshListCounts); };
    parts.importExportWindow = CreateFormImportExport;
    parts.prints = {
        {ValmedoAction::CustomerPrint, printCustomers},
        {ValmedoAction::VideoPrint, printVideos},
        {ValmedoAction::LendsTotalPrint, printTakings},
    };
    parts.frameWindows = {
        {ValmedoAction::Medium, CreateFormMedium},
        {ValmedoAction::Direction, CreateFormDirection},
        {ValmedoAction::User, CreateFormUser},
    };
    parts.receiptPrint = [](qint64 document, bool copy) { PrintDocumentReceipt(document, copy); };
    parts.journalReceipt = reprintReceipt;
    return parts;
}

TFormValmedo *BuildFormValmedo()
{
    return new TFormValmedo(ValmedoParts());
}
