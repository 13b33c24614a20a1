#include "reports/UPreview.h"

#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunReported.h"
#include "core/controls/IntegerComboBox.h"
#include "core/controls/IntegerEdit.h"
#include "core/controls/PrinterComboBox.h"
#include "reports/QrpFile.h"
#include "reports/ReportPages.h"
#include "reports/ReportPrinting.h"
#include "reports/RtfWriter.h"
#include "reports/UPrint.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>
#include <functional>
#include <optional>

namespace {

constexpr int MinZoom = 2;
constexpr int MaxZoom = 2000;
constexpr int PageMargin = 10; // grey space around the page

} // namespace

// ---------------------------------------------------------------------------------------
// The page view

class TQRPreview::PageWidget : public QWidget {
public:
    explicit PageWidget(TQRPreview *view) : QWidget(view), m_view(view)
    {
        setContextMenuPolicy(Qt::PreventContextMenu);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const PreparedReport *printer = m_view->QRPrinter();
        if (!printer || printer->pageCount() == 0)
            return;
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(PageMargin, PageMargin);
        printer->paintPage(painter, m_view->PageNumber() - 1, m_view->Zoom() / 100.0);
    }
    void mousePressEvent(QMouseEvent *event) override { emit m_view->MouseDown(event->button()); }

private:
    TQRPreview *m_view;
};

TQRPreview::TQRPreview(QWidget *parent)
    : QScrollArea(parent), m_pageWidget(new PageWidget(this))
{
    setObjectName(QStringLiteral("QRPreview"));
    setWidget(m_pageWidget);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    resizePage();
}

void TQRPreview::SetQRPrinter(PreparedReport *printer)
{
    m_printer = printer;
    m_page = 1;
    resizePage();
}

void TQRPreview::SetPageNumber(int page)
{
    if (!m_printer || page < 1 || page > m_printer->pageCount())
        return;
    m_page = page;
    m_pageWidget->update();
}

void TQRPreview::SetZoom(int zoom)
{
    if (zoom < MinZoom || zoom > MaxZoom)
        return;
    m_zoom = zoom;
    resizePage();
    emit CanResize();
}

void TQRPreview::ZoomToFit()
{
    if (!m_printer)
        return;
    const QSizeF paper = m_printer->paperSize();
    const QSize room = maximumViewportSize() - QSize(2 * PageMargin, 2 * PageMargin);
    SetZoom(qBound(MinZoom, int(std::floor(100 * qMin(room.width() / paper.width(), room.height() / paper.height()))),
                   MaxZoom));
}

void TQRPreview::ZoomToWidth()
{
    if (!m_printer)
        return;
    // The vertical scroll bar takes its room once the page is taller than the window.
    const int room = maximumViewportSize().width() - verticalScrollBar()->sizeHint().width() - 2 * PageMargin;
    SetZoom(qBound(MinZoom, int(std::floor(100 * room / m_printer->paperSize().width())), MaxZoom));
}

void TQRPreview::resizePage()
{
    const QSizeF paper = m_printer ? m_printer->paperSize() : QSizeF(0, 0);
    const QSize size(int(std::ceil(paper.width() * m_zoom / 100.0)), int(std::ceil(paper.height() * m_zoom / 100.0)));
    m_pageWidget->resize(size + QSize(2 * PageMargin, 2 * PageMargin));
    m_pageWidget->update();
}

// ---------------------------------------------------------------------------------------
// The window

TFormPreview::TFormPreview(QWidget *owner, PreparedReport *printer)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint
                         | Qt::WindowStaysOnTopHint),
      m_printer(printer)
{
    setObjectName(QStringLiteral("FormPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The rest of the program waits while the preview is open; no window is disabled by
    // hand, so none can stay disabled after it.
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(printer->title);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createPanel();
    layout->addWidget(Panel);
    QRPreview = new TQRPreview(this);
    QRPreview->SetQRPrinter(printer);
    printer->pageAvailable = [this] { QRPreviewPageAvailable(); };
    layout->addWidget(QRPreview, 1);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    layout->addWidget(StatusBar);
    createKeys();
    connect(QRPreview, &TQRPreview::CanResize, this, &TFormPreview::QRPreviewCanResize);
    connect(QRPreview, &TQRPreview::MouseDown, this, &TFormPreview::QRPreviewMouseDown);
    setMinimumSize(800, 600);
    resize(965, 714);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    BitBtnPrint->setFocus();
}

TFormPreview::~TFormPreview()
{
    endWait();
}

void TFormPreview::createPanel()
{
    Panel = new QWidget(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setFixedHeight(70);
    auto *rows = new QVBoxLayout(Panel);
    rows->setContentsMargins(6, 6, 6, 6);
    auto *first = new QHBoxLayout;
    auto *second = new QHBoxLayout;
    rows->addLayout(first);
    rows->addLayout(second);
    createFirstRow(first);
    createSecondRow(second);
}

namespace {

QPushButton *Button(QWidget *parent, const char *name, const QString &text, int width = 76)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setMinimumWidth(width);
    return button;
}

} // namespace

void TFormPreview::createFirstRow(QHBoxLayout *row)
{
    BitBtnPrintSetup = Button(Panel, "BitBtnPrintSetup", QStringLiteral("Tisk..."));
    BitBtnPrint = Button(Panel, "BitBtnPrint", QString(), 25);
    BitBtnPrint->setIcon(PrinterBitmap(QStringLiteral("LOCALPRINTER16")));
    BitBtnPrint->setFixedSize(76, 25);
    BitBtnSave = Button(Panel, "BitBtnSave", QStringLiteral("Uložit..."));
    BitBtnFirst = Button(Panel, "BitBtnFirst", QStringLiteral("První"));
    BitBtnPrev = Button(Panel, "BitBtnPrev", QStringLiteral("Předchozí"));
    BitBtnNext = Button(Panel, "BitBtnNext", QStringLiteral("Následující"));
    BitBtnLast = Button(Panel, "BitBtnLast", QStringLiteral("Poslední"));
    BitBtnFitHeight = Button(Panel, "BitBtnFitHeight", QStringLiteral("Přizpůsobit oknu"), 120);
    BitBtnFitWidth = Button(Panel, "BitBtnFitWidth", QStringLiteral("Přizpůsobit šířce okna"), 120);
    for (QPushButton *b : {BitBtnPrintSetup, BitBtnPrint, BitBtnSave})
        row->addWidget(b);
    row->addSpacing(12);
    for (QPushButton *b : {BitBtnFirst, BitBtnPrev, BitBtnNext, BitBtnLast})
        row->addWidget(b);
    row->addSpacing(12);
    row->addWidget(BitBtnFitHeight);
    row->addWidget(BitBtnFitWidth);
    row->addStretch(1);
    auto reported = [this](QPushButton *b, void (TFormPreview::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { RunReported([this, handler] { (this->*handler)(); }); });
    };
    reported(BitBtnPrintSetup, &TFormPreview::PrintSetupClick);
    reported(BitBtnPrint, &TFormPreview::BitBtnPrintClick);
    reported(BitBtnSave, &TFormPreview::BitBtnSaveClick);
    reported(BitBtnFirst, &TFormPreview::BitBtnFirstClick);
    reported(BitBtnPrev, &TFormPreview::BitBtnPrevClick);
    reported(BitBtnNext, &TFormPreview::BitBtnNextClick);
    reported(BitBtnLast, &TFormPreview::BitBtnLastClick);
    reported(BitBtnFitHeight, &TFormPreview::BitBtnFitHeightClick);
    reported(BitBtnFitWidth, &TFormPreview::BitBtnFitWidthClick);
}

void TFormPreview::createSecondRow(QHBoxLayout *row)
{
    BitBtnClose = Button(Panel, "BitBtnClose", QStringLiteral("Zavřít"));
    BitBtnExport = Button(Panel, "BitBtnExport", QStringLiteral("Export..."));
    ButtonOpen = Button(Panel, "ButtonOpen", QStringLiteral("Otevřít..."));
    LabelGotoPage = new QLabel(QStringLiteral("Přejdi na stránku:"), Panel);
    LabelGotoPage->setObjectName(QStringLiteral("LabelGotoPage"));
    IntegerEditGotoPage = new TIntegerEdit(Panel);
    IntegerEditGotoPage->setObjectName(QStringLiteral("IntegerEditGotoPage"));
    // The bound above first: a lower bound above the present upper one is refused.
    IntegerEditGotoPage->SetMax(9999);
    IntegerEditGotoPage->SetMin(1);
    IntegerEditGotoPage->SetValue(1);
    IntegerEditGotoPage->setFixedWidth(56);
    IntegerEditGotoPage->setAlignment(Qt::AlignRight);
    LabelGotoPage->setBuddy(IntegerEditGotoPage);
    LabelZoom = new QLabel(QStringLiteral("Měřítko zobrazení:"), Panel);
    LabelZoom->setObjectName(QStringLiteral("LabelZoom"));
    IntegerComboBoxZoom = new TIntegerComboBox(Panel);
    IntegerComboBoxZoom->setObjectName(QStringLiteral("IntegerComboBoxZoom"));
    IntegerComboBoxZoom->addItems({QStringLiteral("25"), QStringLiteral("50"), QStringLiteral("75"),
                                   QStringLiteral("100"), QStringLiteral("125"), QStringLiteral("150"),
                                   QStringLiteral("175"), QStringLiteral("200")});
    // Up to the page view's own limit, so that the box can show every zoom of the page.
    IntegerComboBoxZoom->SetMax(MaxZoom);
    IntegerComboBoxZoom->SetMin(1);
    IntegerComboBoxZoom->SetValue(100);
    IntegerComboBoxZoom->setFixedWidth(72);
    LabelZoom->setBuddy(IntegerComboBoxZoom);
    LabelZoomPercent = new QLabel(QStringLiteral("%"), Panel);
    LabelZoomPercent->setObjectName(QStringLiteral("LabelZoomPercent"));
    for (QPushButton *b : {BitBtnClose, BitBtnExport, ButtonOpen})
        row->addWidget(b);
    row->addSpacing(12);
    row->addWidget(LabelGotoPage);
    row->addWidget(IntegerEditGotoPage);
    row->addSpacing(12);
    row->addWidget(LabelZoom);
    row->addWidget(IntegerComboBoxZoom);
    row->addWidget(LabelZoomPercent);
    row->addStretch(1);

    connect(BitBtnClose, &QPushButton::clicked, this, &TFormPreview::MenuItemCloseClick);
    connect(BitBtnExport, &QPushButton::clicked, this, [this] { RunReported([this] { BitBtnExportClick(); }); });
    connect(ButtonOpen, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonOpenClick(); }); });
    IntegerEditGotoPage->OnKeyPress = [this](QChar &key) { IntegerEditGotoPageKeyPress(key); };
    connect(IntegerComboBoxZoom, &QComboBox::activated, this, &TFormPreview::IntegerComboBoxZoomClick);
    IntegerComboBoxZoom->Edit()->OnKeyPress = [this](QChar &key) {
        if (key == QChar(13))
            IntegerComboBoxZoomClick();
    };
}

void TFormPreview::createKeys()
{
    auto key = [this](QAction *&action, const char *name, const QString &text, const QKeySequence &shortcut,
                      void (TFormPreview::*handler)()) {
        action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    key(MenuItemClose, "MenuItemClose", QStringLiteral("Zavřít"), QKeySequence(Qt::Key_Escape),
        &TFormPreview::MenuItemCloseClick);
    key(MenuItemFirst, "MenuItemFirst", QStringLiteral("První"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        &TFormPreview::BitBtnFirstClick);
    key(MenuItemPrev, "MenuItemPrev", QStringLiteral("Předchozí"), QKeySequence(Qt::Key_PageUp),
        &TFormPreview::BitBtnPrevClick);
    key(MenuItemNext, "MenuItemNext", QStringLiteral("Následující"), QKeySequence(Qt::Key_PageDown),
        &TFormPreview::BitBtnNextClick);
    key(MenuItemLast, "MenuItemLast", QStringLiteral("Poslední"), QKeySequence(Qt::CTRL | Qt::Key_End),
        &TFormPreview::BitBtnLastClick);
}

void TFormPreview::UpdateButtons()
{
    const int page = QRPreview->PageNumber();
    const int count = m_printer->pageCount();
    BitBtnPrev->setEnabled(page != 1);
    BitBtnFirst->setEnabled(page != 1);
    BitBtnNext->setEnabled(page != count);
    BitBtnLast->setEnabled(page != count);
    StatusBar->showMessage(QStringLiteral("Stránka %1/%2").arg(page).arg(count));
}

void TFormPreview::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormPreview::FormShow()
{
    // The hour-glass lasts until the first page is there.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waiting = true;
    m_firstPage = true;
    // Pages already made are announced as those the report makes while the window is open.
    for (int i = 0; i < m_printer->pageCount(); ++i)
        QRPreviewPageAvailable();
    if (m_printer->pageCount() == 0)
        QRPreviewPageAvailable();
}

void TFormPreview::QRPreviewPageAvailable()
{
    const bool pages = m_printer->pageCount() > 0;
    if (m_firstPage && pages) {
        QRPreview->SetZoom(100);
        m_firstPage = false;
    }
    if (pages || m_printer->complete) {
        UpdateButtons();
        endWait();
    }
    // What works on the whole report waits for its last page.
    const bool complete = m_printer->complete;
    if (BitBtnPrint->isEnabled() == complete)
        return;
    for (QPushButton *b : {BitBtnPrintSetup, BitBtnPrint, BitBtnSave, BitBtnExport, ButtonOpen})
        b->setEnabled(complete);
    QWidget *focus = focusWidget();
    if (complete && focus != IntegerEditGotoPage && focus != IntegerComboBoxZoom->Edit())
        BitBtnPrint->setFocus();
}

void TFormPreview::endWait()
{
    if (m_waiting) {
        m_waiting = false;
        QApplication::restoreOverrideCursor();
    }
}

void TFormPreview::QRPreviewCanResize()
{
    IntegerComboBoxZoom->SetValue(QRPreview->Zoom());
}

void TFormPreview::QRPreviewMouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        QRPreview->SetZoom(QRPreview->Zoom() + 10);
    else if (button == Qt::RightButton)
        QRPreview->SetZoom(QRPreview->Zoom() - 10);
}

void TFormPreview::BitBtnFirstClick()
{
    QCoreApplication::processEvents();
    QRPreview->SetPageNumber(1);
    UpdateButtons();
}

void TFormPreview::BitBtnPrevClick()
{
    QCoreApplication::processEvents();
    if (QRPreview->PageNumber() > 1)
        QRPreview->SetPageNumber(QRPreview->PageNumber() - 1);
    UpdateButtons();
}

void TFormPreview::BitBtnNextClick()
{
    QCoreApplication::processEvents();
    if (QRPreview->PageNumber() < m_printer->pageCount())
        QRPreview->SetPageNumber(QRPreview->PageNumber() + 1);
    UpdateButtons();
}

void TFormPreview::BitBtnLastClick()
{
    QCoreApplication::processEvents();
    QRPreview->SetPageNumber(m_printer->pageCount());
    UpdateButtons();
}

void TFormPreview::BitBtnFitHeightClick()
{
    QRPreview->ZoomToFit();
}

void TFormPreview::BitBtnFitWidthClick()
{
    QRPreview->ZoomToWidth();
}

void TFormPreview::IntegerComboBoxZoomClick()
{
    QRPreview->SetZoom(IntegerComboBoxZoom->Value());
}

void TFormPreview::IntegerEditGotoPageKeyPress(QChar &key)
{
    if (key != QChar(13))
        return;
    // An empty box is no page: the page shown stays, as for any number outside the report.
    bool isNumber = false;
    const int page = IntegerEditGotoPage->text().toInt(&isNumber);
    if (isNumber)
        QRPreview->SetPageNumber(page);
    IntegerEditGotoPage->SetValue(QRPreview->PageNumber());
    IntegerEditGotoPage->selectAll();
    UpdateButtons();
}

void TFormPreview::MenuItemCloseClick()
{
    close();
}

void TFormPreview::closeEvent(QCloseEvent *event)
{
    // A print in progress paints from the window's pages: the window stays until it ends.
    if (m_busy) {
        event->ignore();
        return;
    }
    FormClose();
    QWidget::closeEvent(event);
}

void TFormPreview::FormClose()
{
    m_printer->pageAvailable = nullptr;
    endWait();
    // The window must close whatever the report makes of the notice.
    try {
        if (m_printer->closePreviewNotice)
            m_printer->closePreviewNotice();
    } catch (...) {
    }
}

QString TFormPreview::chooseFile(const QString &objectName, const QString &title, const QString &filter,
                                 const QString &suffix, const QString &proposed, bool save)
{
    QFileDialog dialog(this, title);
    dialog.setObjectName(objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(proposed);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (ExecModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

namespace {

const QString QrpFilter = QStringLiteral("Připravená sestava QRP (*.qrp)");

// Runs `work`; a file or a printer that fails it is reported in two lines, what failed and why.
void ReportFailure(const QString &failed, const std::function<void()> &work)
{
    try {
        work();
    } catch (const EReportError &e) {
        ShowWarning(false, failed, e.message());
    }
}

const QString SaveFailed = QStringLiteral("Soubor nelze uložit...");
const QString PrintFailed = QStringLiteral("Tisk se nezdařil...");

// A print of many pages takes seconds: from its first page on the hour-glass shows (not over
// a file dialog before it), and the windows are repainted now and then, the clerk's keys and
// clicks held back until it ends.
class PrintingWait {
public:
    explicit PrintingWait(bool &busy) : m_busy(busy) { m_busy = true; }
    ~PrintingWait()
    {
        m_busy = false;
        if (m_cursor)
            QApplication::restoreOverrideCursor();
    }
    PrintingWait(const PrintingWait &) = delete;
    PrintingWait &operator=(const PrintingWait &) = delete;

    std::function<void()> afterPage()
    {
        return [this] {
            if (!m_cursor) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                m_cursor = true;
            }
            if (!m_painted.isValid() || m_painted.elapsed() >= 100) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                m_painted.start();
            }
        };
    }

private:
    bool &m_busy;
    bool m_cursor = false;
    QElapsedTimer m_painted;
};

} // namespace

void TFormPreview::BitBtnSaveClick()
{
    const QString file = chooseFile(QStringLiteral("SaveDialogQrp"), QStringLiteral("Uložit do QRP"), QrpFilter,
                                    QStringLiteral("qrp"), QStringLiteral("%1.qrp").arg(windowTitle().trimmed()), true);
    if (!file.isEmpty())
        ReportFailure(SaveFailed, [&] { SaveQrpFile(file, *m_printer); });
}

void TFormPreview::ButtonOpenClick()
{
    const QString file = chooseFile(QStringLiteral("OpenDialog"), QStringLiteral("Otevřít QRP"), QrpFilter,
                                    QStringLiteral("qrp"), QString(), false);
    if (file.isEmpty())
        return;
    PreparedReport loaded;
    try {
        LoadQrpFile(file, loaded);
    } catch (const EReportError &e) {
        // A damaged or foreign file changes nothing: the pages shown stay.
        ShowWarning(false, QStringLiteral("Soubor nelze otevřít..."), e.message());
        return;
    }
    // The pages are no longer the report's own.
    m_printer->closePreviewNotice = nullptr;
    m_printer->pages = std::move(loaded.pages);
    m_printer->pageSize = loaded.pageSize;
    m_printer->orientation = loaded.orientation;
    QRPreview->SetQRPrinter(m_printer);
    QRPreview->SetPageNumber(1);
    UpdateButtons();
}

void TFormPreview::BitBtnExportClick()
{
    const QString file = chooseFile(QStringLiteral("SaveDialogRtf"), QStringLiteral("Export do RTF"),
                                    QStringLiteral("Formát RTF (*.rtf)"), QStringLiteral("rtf"),
                                    QStringLiteral("%1.rtf").arg(windowTitle().trimmed()), true);
    if (!file.isEmpty())
        ReportFailure(SaveFailed, [&] { ExportRtf(*m_printer, file); });
}

void TFormPreview::BitBtnPrintClick()
{
    PrintingWait wait(m_busy);
    ReportFailure(PrintFailed, [&] { PrintPreparedReport(*m_printer, windowTitle(), 1, wait.afterPage()); });
}

void TFormPreview::PrintSetupClick()
{
    TFormPrint dialog(this);
    if (!m_printer->printerName.isEmpty())
        dialog.PrinterComboBox->SetPrinterName(m_printer->printerName);
    const int count = m_printer->pageCount();
    dialog.RxSpinEditFrom->setValue(1);
    dialog.RxSpinEditTo->setMaximum(qMax(1, count));
    dialog.RxSpinEditTo->setValue(count);
    if (ExecModal(&dialog) != QDialog::Accepted)
        return;
    int from = 0;
    int to = 0;
    if (dialog.RadioButtonPages->isChecked()) {
        from = dialog.RxSpinEditFrom->value();
        to = dialog.RxSpinEditTo->value();
    }
    const int copies = dialog.RxSpinEditCopy->value();
    // The selection is printed from copies of the pages: the preview keeps showing, saving
    // and printing the report's own pages.
    m_printer->printerName = dialog.PrinterComboBox->PrinterName();
    int printed = -1;
    {
        PrintingWait wait(m_busy);
        ReportFailure(PrintFailed, [&] {
            printed = PrintPageSelection(*m_printer, from, to, copies, m_printer->printerName, windowTitle(),
                                         wait.afterPage());
        });
    }
    if (printed == 0)
        ShowInformation(QStringLiteral("Není co tisknout..."),
                        QStringLiteral("Zvolený rozsah stránek neobsahuje žádnou stránku sestavy."), true, this);
}

// ---------------------------------------------------------------------------------------
// The preview class

QWidget *TCustomQRPreviewInterface::Show(PreparedReport *printer)
{
    auto *form = new TFormPreview(nullptr, printer);
    form->show();
    NoteShownWindow(form);
    return form;
}

namespace {

std::unique_ptr<TQRPreviewInterface> &Registered()
{
    static std::unique_ptr<TQRPreviewInterface> preview;
    return preview;
}

} // namespace

void RegisterPreviewInterface(std::unique_ptr<TQRPreviewInterface> preview)
{
    Registered() = std::move(preview);
}

TQRPreviewInterface *PreviewInterface()
{
    if (!Registered())
        Registered() = std::make_unique<TCustomQRPreviewInterface>();
    return Registered().get();
}

namespace {

// The report's progress window: the number of the page being made, over the preview, from
// the first page to the last. It is painted at once whenever its text changes, whether or
// not the program takes events meanwhile.
class ReportProgress {
public:
    ReportProgress(QWidget *over, const QString &title)
        : m_window(new QWidget(over, Qt::Tool | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)),
          m_label(new QLabel(m_window))
    {
        m_window->setObjectName(QStringLiteral("QRProgressForm"));
        m_window->setWindowTitle(title);
        m_label->setObjectName(QStringLiteral("LabelProgress"));
        m_label->setAlignment(Qt::AlignCenter);
        auto *layout = new QVBoxLayout(m_window);
        layout->addWidget(m_label);
        m_window->resize(260, 70);
        if (QScreen *screen = QGuiApplication::primaryScreen())
            m_window->move(screen->availableGeometry().center() - m_window->rect().center());
        show(1);
        m_window->show();
        m_window->repaint();
    }
    ~ReportProgress() { delete m_window; }
    ReportProgress(const ReportProgress &) = delete;
    ReportProgress &operator=(const ReportProgress &) = delete;

    // `made` pages are there; the next is being made.
    void pageMade(int made)
    {
        if (m_shown.elapsed() < 40)
            return;
        show(made + 1);
        if (m_window)
            m_window->repaint();
    }

private:
    void show(int page)
    {
        if (m_window)
            m_label->setText(QStringLiteral("Připravuje se stránka %1").arg(page));
        m_shown.start();
    }

    QPointer<QWidget> m_window;
    QLabel *m_label;
    QElapsedTimer m_shown;
};

} // namespace

void PreviewPreparedReport(PreparedReport *printer, const MakePages &makePages, bool showProgress)
{
    TQRPreviewInterface *preview = PreviewInterface();
    const bool whileOpen = makePages && preview->ShowsPagesAsMade();
    std::optional<ReportProgress> progress;
    // Counts the pages into the progress window before the preview hears of them.
    const auto madeWith = [&](const std::function<void()> &pageDone) {
        makePages([&] {
            if (progress)
                progress->pageMade(printer->pageCount());
            if (pageDone)
                pageDone();
        });
        progress.reset();
    };
    if (makePages && !whileOpen) {
        if (showProgress)
            progress.emplace(nullptr, printer->title);
        madeWith({});
    }
    printer->complete = !whileOpen;
    QPointer<QWidget> window = preview->Show(printer);
    if (whileOpen) {
        if (showProgress)
            progress.emplace(window, printer->title);
        struct Closed {};
        const auto open = [&window] { return window && window->isVisible(); };
        // The window is painted, with the hour-glass, before the first page is made.
        if (open())
            QCoreApplication::processEvents();
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        bool first = true;
        try {
            madeWith([&] {
                if (printer->pageAvailable)
                    printer->pageAvailable();
                if (!window)
                    return;
                // The first page shows as soon as it is there; later the window answers the
                // clerk now and then while the rest are made.
                if (first || sinceEvents.elapsed() >= 40) {
                    first = false;
                    QCoreApplication::processEvents();
                    sinceEvents.restart();
                }
                if (!open())
                    throw Closed{};
            });
        } catch (const Closed &) {
            progress.reset();
        } catch (...) {
            progress.reset();
            printer->complete = true;
            if (window)
                window->close();
            throw;
        }
        printer->complete = true;
        if (printer->pageAvailable)
            printer->pageAvailable();
    }
    if (!window)
        return;
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    if (window)
        loop.exec();
}
