#pragma once
#include <memory>

class PreparedReport;
class QWidget;

// The preview class reports open their pages in. The program's own, TFormPreview
// (TCustomQRPreviewInterface), stands until another one is registered; a test registers its
// own to look at the pages a caller previews.
class TQRPreviewInterface {
public:
    virtual ~TQRPreviewInterface() = default;
    // Shows the report printer's pages without blocking; returns the window shown, or null
    // when none stays open.
    virtual QWidget *Show(PreparedReport *printer) = 0;
};

// Registers the preview class (null: the program's own again).
void RegisterPreviewInterface(std::unique_ptr<TQRPreviewInterface> preview);
TQRPreviewInterface *PreviewInterface();

// Shows the pages in the registered preview and returns once its window has closed.
void PreviewPreparedReport(PreparedReport *printer);
