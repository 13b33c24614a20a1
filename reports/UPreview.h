#pragma once
#include "reports/ReportPreview.h"

#include <QScrollArea>
#include <QWidget>

class PreparedReport;
class QAction;
class QLabel;
class QPushButton;
class QStatusBar;
class TIntegerComboBox;
class TIntegerEdit;

// The page view of the preview: one page of the report printer at a zoom in percent
// (100 % is the paper's own size at 96 pixels per inch).
class TQRPreview : public QScrollArea {
    Q_OBJECT
public:
    explicit TQRPreview(QWidget *parent = nullptr);

    PreparedReport *QRPrinter() const { return m_printer; }
    void SetQRPrinter(PreparedReport *printer);
    int PageNumber() const { return m_page; }
    // Accepts 1 to the page count and ignores other values.
    void SetPageNumber(int page);
    int Zoom() const { return m_zoom; }
    // Accepts 2 to 2000 and ignores other values.
    void SetZoom(int zoom);
    void ZoomToFit();
    void ZoomToWidth();

Q_SIGNALS:
    void CanResize();                          // the zoom changed
    void MouseDown(Qt::MouseButton button);    // a press on the page

private:
    class PageWidget;
    void resizePage();

    PreparedReport *m_printer = nullptr;
    PageWidget *m_pageWidget;
    int m_page = 1;
    int m_zoom = 100;
};

// The preview window of every report: paging, zoom, printing (at once or through the print
// dialog), saving and opening page files, RTF export. While it is open the rest of the
// program waits for it.
class TFormPreview : public QWidget {
    Q_OBJECT
public:
    // Shows `printer`'s pages; the printer is not owned (it belongs to the report).
    TFormPreview(QWidget *owner, PreparedReport *printer);
    ~TFormPreview() override;

    // The report printer whose pages the window shows.
    PreparedReport *QRPrinter() const { return m_printer; }
    void UpdateButtons();

    // Handlers.
    void FormShow();
    void FormClose();
    void QRPreviewPageAvailable();
    void QRPreviewCanResize();
    void QRPreviewMouseDown(Qt::MouseButton button);
    void BitBtnFirstClick();
    void BitBtnPrevClick();
    void BitBtnNextClick();
    void BitBtnLastClick();
    void BitBtnFitHeightClick();
    void BitBtnFitWidthClick();
    void IntegerComboBoxZoomClick();
    void IntegerEditGotoPageKeyPress(QChar &key);
    void MenuItemCloseClick();
    void BitBtnSaveClick();
    void ButtonOpenClick();
    void BitBtnExportClick();
    void BitBtnPrintClick();
    void PrintSetupClick();

    QWidget *Panel = nullptr;
    QPushButton *BitBtnPrintSetup = nullptr;
    QPushButton *BitBtnPrint = nullptr;
    QPushButton *BitBtnSave = nullptr;
    QPushButton *BitBtnFirst = nullptr;
    QPushButton *BitBtnPrev = nullptr;
    QPushButton *BitBtnNext = nullptr;
    QPushButton *BitBtnLast = nullptr;
    QPushButton *BitBtnFitHeight = nullptr;
    QPushButton *BitBtnFitWidth = nullptr;
    QPushButton *BitBtnClose = nullptr;
    QPushButton *BitBtnExport = nullptr;
    QPushButton *ButtonOpen = nullptr;
    QLabel *LabelGotoPage = nullptr;
    TIntegerEdit *IntegerEditGotoPage = nullptr;
    QLabel *LabelZoom = nullptr;
    TIntegerComboBox *IntegerComboBoxZoom = nullptr;
    QLabel *LabelZoomPercent = nullptr;
    TQRPreview *QRPreview = nullptr;
    QStatusBar *StatusBar = nullptr;
    QAction *MenuItemClose = nullptr;
    QAction *MenuItemFirst = nullptr;
    QAction *MenuItemPrev = nullptr;
    QAction *MenuItemNext = nullptr;
    QAction *MenuItemLast = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createPanel();
    void createFirstRow(class QHBoxLayout *row);
    void createSecondRow(class QHBoxLayout *row);
    void createKeys();
    QString chooseFile(const QString &objectName, const QString &title, const QString &filter,
                       const QString &suffix, const QString &proposed, bool save);

    // Ends the hour-glass of the first page.
    void endWait();

    PreparedReport *m_printer;
    bool m_firstPage = false;
    bool m_shown = false;
    bool m_waiting = false; // the hour-glass of the first page shows
    bool m_busy = false;    // a print runs
};

// The program's preview class: opens TFormPreview for the report printer.
class TCustomQRPreviewInterface : public TQRPreviewInterface {
public:
    QWidget *Show(PreparedReport *printer) override;
    bool ShowsPagesAsMade() const override { return true; }
};
