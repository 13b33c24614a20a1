#pragma once
#include "rental/ViewStore.h"

#include <QDialog>
#include <array>
#include <functional>

class BrowseQuery;
class DataSet;
class QPushButton;
class QTabWidget;
class TRxDBGridEx;

// " Přehled": the state of the shop on the run date in seven tabs, each a read-only list
// (lines out, overdue, lent and returned today, the day's customers and what they lent and
// returned). A tab's list is read when the tab is first shown and not again while the
// window is open. "Tisk..." previews the first four lists as the lent-videos report.
class TFormView : public QDialog {
    Q_OBJECT
public:
    explicit TFormView(QWidget *parent = nullptr);
    ~TFormView() override;

    void FormActivate() { PageControlChange(); }
    // Opens the list of the tab shown, unless it is open already.
    void PageControlChange();
    void ButtonPrintViewClick();
    void ViewPrint(BrowseQuery &query);

    // How a list is previewed under a title: the lent-videos report, unless a test hands in
    // its own (an empty one puts the report back).
    using PrintPreview = std::function<void(DataSet &list, const QString &title)>;
    static void SetPrintPreview(PrintPreview preview);

    QTabWidget *PageControl = nullptr;
    std::array<TRxDBGridEx *, ViewListCount> RxDBGrid{};
    std::array<BrowseQuery *, ViewListCount> ADOQueryView{};
    QPushButton *ButtonPrintView = nullptr;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createTabs();
    void createButton();
};
