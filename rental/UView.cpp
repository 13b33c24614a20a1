#include "rental/UView.h"

#include "core/Grids.h"
#include "core/Messages.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "reports/layouts/UQRViewVideoA4.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The lists that print: the document lines of tabs 0 to 3.
constexpr int PrintedLists = 4;

TFormView::PrintPreview &Preview()
{
    static TFormView::PrintPreview preview = PrintLentVideos;
    return preview;
}

} // namespace

void TFormView::SetPrintPreview(PrintPreview preview)
{
    Preview() = preview ? std::move(preview) : PrintLentVideos;
}

TFormView::TFormView(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormView"));
    setWindowTitle(QStringLiteral(" Přehled"));
    resize(1000, 520);
    new QVBoxLayout(this);
    createTabs();
    createButton();
}

TFormView::~TFormView() = default;

void TFormView::createTabs()
{
    PageControl = Named<QTabWidget>(this, "PageControl");
    for (int i = 0; i < ViewListCount; ++i) {
        auto *tab = new QWidget(PageControl);
        tab->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        auto *tabLayout = new QVBoxLayout(tab);
        tabLayout->setContentsMargins(2, 2, 2, 2);

        ADOQueryView[i] = new BrowseQuery(this);
        PrepareViewQuery(*ADOQueryView[i], i);

        TRxDBGridEx *grid = RxDBGrid[i] = new TRxDBGridEx(tab);
        grid->setObjectName(QStringLiteral("RxDBGrid%1").arg(i + 1));
        grid->setModel(ADOQueryView[i]);
        grid->SetRowSelect(true);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        BindQueryGridSort(grid);
        tabLayout->addWidget(grid);
        PageControl->addTab(tab, ViewListCaption(i));
    }
    connect(PageControl, &QTabWidget::currentChanged, this, [this] { PageControlChange(); });
    layout()->addWidget(PageControl);
}

void TFormView::createButton()
{
    ButtonPrintView = Named<QPushButton>(this, "ButtonPrintView", QStringLiteral("Tisk..."));
    ButtonPrintView->setDefault(true);
    connect(ButtonPrintView, &QPushButton::clicked, this, &TFormView::ButtonPrintViewClick);
    static_cast<QVBoxLayout *>(layout())->addWidget(ButtonPrintView, 0, Qt::AlignRight);
}

void TFormView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFormView::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFormView::PageControlChange()
{
    const int list = PageControl->currentIndex();
    if (list < 0 || ADOQueryView[list]->isOpen())
        return;
    SetViewParameters(*ADOQueryView[list], list, RunDate());
    ADOQueryView[list]->open();
    RxDBGrid[list]->resizeColumnsToContents();
}

void TFormView::ButtonPrintViewClick()
{
    const int list = PageControl->currentIndex();
    if (list >= 0 && list < PrintedLists)
        ViewPrint(*ADOQueryView[list]);
}

void TFormView::ViewPrint(BrowseQuery &query)
{
    if (query.isEmpty()) {
        ShowInformation(QStringLiteral("Přehled je prázdný..."), QStringLiteral("Není co tisknout..."), true, this);
        return;
    }
    const DataSet::Bookmark mark = query.bookmark();
    query.disableControls();
    struct Restore {
        BrowseQuery &query;
        DataSet::Bookmark mark;
        ~Restore()
        {
            query.enableControls();
            query.gotoBookmark(mark);
            query.freeBookmark(mark);
        }
    } restore{query, mark};
    Preview()(query, QStringLiteral(" %1").arg(PageControl->tabText(PageControl->currentIndex())));
}
