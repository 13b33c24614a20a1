#pragma once
#include "catalogue/ListPage.h"
#include "core/DeskLists.h"

#include <QString>
#include <optional>

struct VideoRecord;
class BrowseQuery;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class TDateTimePicker;
class TFilterPanel;
class TFindComboBox;
class TInt64Edit;
class TLentLines;
class TRxDBGridEx;

// The main window's page "Video": the catalogue. Its list `ADOQueryVideo` shows the videos
// the filter panel lets through with the names of their genres and media, and below it the
// history of the current video (`ADOQueryVideoCustomer`, who had it); the find boxes above
// find a video by number or by the beginning of its title as the clerk types; the status
// bar counts the videos listed and sums their prices.
//
// The current row of `ADOQueryVideo` is the current video of the program. The lend page
// reaches the list through the desk (TVideoList, which the page implements), shows it in
// its own grid (coloured by UseVideoColours) and moves it with FindVideoByNumber and
// FindVideoByTitle; every change of the current video is handed on
// by DataSourceVideoDataChange, which shows it in this page's boxes and then emits
// CurrentVideoChanged for the lend page's boxes. A change of the current video empties no
// basket.
//
// The page connects the main window's video actions (find, new, edit, remove,
// import/export, print) and registers its log-in steps: the history and the list
// (VideoFilter).
class TVideoPage : public TListPage, public TVideoList {
    Q_OBJECT
public:
    explicit TVideoPage(QWidget *parent = nullptr);
    ~TVideoPage() override;

    BrowseQuery *ADOQueryVideo = nullptr;
    BrowseQuery *ADOQueryVideoCustomer = nullptr;
    BrowseQuery *list() const override { return ADOQueryVideo; }
    void followCurrent(QObject *context, std::function<void(qint64 video, const QString &title)> shown) override;

    // Function column, find panel, lists and status bar.
    QFrame *PanelVideoFunction = nullptr;
    QFrame *PanelVideoFind = nullptr;
    TInt64Edit *Int64EditVideoVideo = nullptr;
    TFindComboBox *ComboBoxVideoTitle = nullptr;
    QLabel *PanelVideoGrid = nullptr;
    TRxDBGridEx *RxDBGridVideo = nullptr;
    QSplitter *SplitterVideo = nullptr;
    QLabel *PanelVideoCustomerGrid = nullptr;
    TRxDBGridEx *RxDBGridVideoCustomer = nullptr;
    QFrame *StatusBarVideo = nullptr;
    QLabel *StatusBarVideoPanel0 = nullptr;
    QLabel *StatusBarVideoPanel1 = nullptr;

    // The filter panel (strip PanelVideoSplitter, panel PanelVideoFilter).
    TFilterPanel *FilterPanel = nullptr;
    QCheckBox *CheckBoxVideoVideo = nullptr;
    TInt64Edit *Int64EditVideoVideoFirst = nullptr;
    TInt64Edit *Int64EditVideoVideoSecond = nullptr;
    QCheckBox *CheckBoxVideoTitle = nullptr;
    QLineEdit *EditVideoTitle = nullptr;
    QCheckBox *CheckBoxVideoDirection = nullptr;
    QComboBox *ComboBoxVideoDirection = nullptr;
    QCheckBox *CheckBoxVideoMedium = nullptr;
    QComboBox *ComboBoxVideoMedium = nullptr;
    QCheckBox *CheckBoxVideoRegistration = nullptr;
    TDateTimePicker *DateTimePickerVideoRegistrationFirst = nullptr;
    TDateTimePicker *DateTimePickerVideoRegistrationSecond = nullptr;
    QCheckBox *CheckBoxVideoLend = nullptr;
    QCheckBox *CheckBoxVideoLater = nullptr;
    QPushButton *ButtonVideoFilter = nullptr;
    QPushButton *ButtonVideoReset = nullptr;

    // Builds the list's WHERE part from the filter panel, applies it (the current video
    // stays current while the filter still selects it) and counts the list.
    void VideoFilter();
    // " Videa: %d" and " Celkem: %m": the videos the list's present WHERE part selects and
    // the sum of their prices, counted by the server (also after the free filter).
    void SetStatusBarVideo();
    // Hands the current video to the pages that show it (see the class comment).
    void DataSourceVideoDataChange();
    // The searches of the video boxes of this page and of the lend page: each moves the
    // list to the video found (among those the filter lets through) and hands it on;
    // false, and nothing moves, when there is none. By the number typed, and by the
    // beginning of a title (letter case ignored).
    bool FindVideoByNumber(const QString &text) override;
    bool FindVideoByTitle(const QString &text) override;
    // Colours the rows of a grid that shows `ADOQueryVideo` (this page's list, the lend
    // page's): a video out now as lent, or as overdue, while the colour setting is on.
    void UseVideoColours(TRxDBGridEx *grid) override;
    void ButtonVideoFilterClick();
    void ButtonVideoResetClick();
    void Int64EditVideoVideoChange();
    void ComboBoxVideoTitleChange();
    // Entering a pick list of the panel refills it with the genres (media) as they are
    // now; the name chosen stays chosen while it exists.
    void ComboBoxVideoDirectionEnter();
    void ComboBoxVideoMediumEnter();

    // The actions. `sender` is the control that started the action: a title box opens the
    // search dialog in its title field, a double click on the list edits only over a data
    // cell.
    void ActionVideoFindExecute(QObject *sender = nullptr) override;
    void ActionVideoNewExecute();
    void ActionVideoEditExecute(QObject *sender = nullptr);
    void ActionVideoDeleteExecute();
    void ActionVideoExportImportExecute();
    void ActionVideoPrintExecute();

    // The texts of the status bar's count and sum panels.
    QString StatusText() const;
    QString SumText() const;

signals:
    // The current video (0 and an empty title for an empty list), after this page's boxes
    // show it.
    void CurrentVideoChanged(qint64 video, const QString &title);

protected:
    void FilterList() override { VideoFilter(); }
    void CountList() override { SetStatusBarVideo(); }
    void HandOn() override { DataSourceVideoDataChange(); }

private:
    void createQueries();
    void createFindPanel();
    void createLists();
    void createFilterControls(QWidget *panel);
    qint64 CurrentVideo() const;
    QString CurrentTitle() const;
    std::optional<bool> VideoState(int row) const;
};
