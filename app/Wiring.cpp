#include "app/Wiring.h"

#include "catalogue/UCustomerPage.h"
#include "catalogue/UDirection.h"
#include "catalogue/UFilter.h"
#include "catalogue/UImportExport.h"
#include "catalogue/UMedium.h"
#include "catalogue/UVideoPage.h"
#include "core/UValmedo.h"
#include "rental/DeskHooks.h"
#include "rental/UBackPage.h"
#include "rental/ULendPage.h"
#include "rental/ULendsPage.h"
#include "rental/UView.h"
#include "reports/layouts/Receipts.h"

#include <QPointer>
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

} // namespace

TFormValmedo *BuildFormValmedo()
{
    TValmedoParts parts;
    parts.pages = buildPages;
    parts.view = [] { return std::make_unique<TFormView>(); };
    auto *window = new TFormValmedo(parts);

    RegisterFormMedium();
    RegisterFormDirection();
    RegisterFormFilter([window = QPointer<TFormValmedo>(window)] {
        if (!window)
            return;
        window->customerPage()->SetStatusBarCustomer();
        window->videoPage()->SetStatusBarVideo();
        window->lendsPage()->SetStatusBarLends();
    });
    RegisterFormImportExport();
    SetReceiptPrint([](qint64 document, bool copy) { PrintDocumentReceipt(document, copy); });
    return window;
}
