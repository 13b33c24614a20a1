#pragma once
#include <functional>
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
    // Whether Show() takes a report printer whose pages are still being made (each
    // announced through its pageAvailable); otherwise it gets them all made.
    virtual bool ShowsPagesAsMade() const { return false; }
};

// Registers the preview class (null: the program's own again).
void RegisterPreviewInterface(std::unique_ptr<TQRPreviewInterface> preview);
TQRPreviewInterface *PreviewInterface();

// Makes a report's pages into its report printer, calling `pageDone` after each one.
using MakePages = std::function<void(const std::function<void()> &pageDone)>;

// Shows the report printer in the registered preview and returns once its window has
// closed. With `makePages` the pages are made first, or, for a preview class that shows
// pages as they are made, while its window is open, each announced to it as it is
// finished; closing the window then stops them.
// With `showProgress` a progress window stands over the preview while the pages are made,
// telling the page being made, until the last one.
void PreviewPreparedReport(PreparedReport *printer, const MakePages &makePages = {}, bool showProgress = false);
