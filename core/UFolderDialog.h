#pragma once
#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

// Options of the folder browser, with the numbers the desk's older installations stored.
enum class TBrowseInfoFlag : unsigned {
    OnlyComputers = 0x1000,
    OnlyPrinters = 0x2000,
    OnlyDomains = 0x2,
    OnlyAncestors = 0x8,
    OnlyFileSystem = 0x1,
    ShowPath = 0x4,
    EditBox = 0x10,
    Includefiles = 0x4000,
    IncludeURLs = 0x80,
    NewDialogStyle = 0x40,
    UsageHint = 0x100,
    HideNewFolderButton = 0x200,
    ShowShared = 0x8000,
    Validate = 0x20,
};
Q_DECLARE_FLAGS(TBrowseInfoFlags, TBrowseInfoFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TBrowseInfoFlags)

// The top of the tree shown; each stands for a special folder number (foDesktopExpanded
// for none: the whole file system).
enum class TSHFolders {
    foDesktop, foDesktopExpanded, foPrograms, foControlPanel, foPrinters, foPersonal,
    foFavorites, foStartup, foRecent, foSendto, foRecycleBin, foStartMenu, foDesktopFolder,
    foMyComputer, foNetwork, foNetworkNeighborhood, foFonts, foTemplates,
};

// The special folder number of a root, -1 for foDesktopExpanded.
int SpecialFolderNumber(TSHFolders folder);
// Moves a window to the centre of its screen, size unchanged.
void CentreOnScreen(QWidget *window);

// The folder on this machine that a special folder number stands for, or empty when it
// has none here (control panel, printers, network and the like).
QString SpecialFolderPath(int number);

// The folder browser: lets the user pick a folder and returns its path. Without
// NewDialogStyle (and unless HideNewFolderButton is set) the browser carries the
// program's own button "Nová složka", which asks for a name, makes the folder (with any
// missing parents) inside the selected one and opens the browser again on it; with
// NewDialogStyle the browser's own new-folder button serves.
class TFolderDialog : public QObject {
    Q_OBJECT
public:
    explicit TFolderDialog(QObject *owner = nullptr);

    // In: the folder selected when the browser opens; out: the chosen folder.
    QString Folder;
    TBrowseInfoFlags Flags = TBrowseInfoFlag::ShowPath | TBrowseInfoFlag::NewDialogStyle
                           | TBrowseInfoFlag::ShowShared;
    TSHFolders RootFolder = TSHFolders::foDesktopExpanded;
    // In: when not -1, the special folder selected first; out: see ReturnSpecialFolder.
    int SpecialFolder = -1;
    // After a choice SpecialFolder becomes the number of the special folder chosen, or -1.
    bool ReturnSpecialFolder = false;
    // The window the browser is centred over and owned by; null takes the active window.
    QPointer<QWidget> ParentWidget;

    std::function<void(TFolderDialog *sender, QFileDialog *dialog)> OnInitialized;
    std::function<void(TFolderDialog *sender, QFileDialog *dialog, const QString &folder)> OnSelectionChanged;
    // A typed name that is no folder; without a handler the browser beeps.
    std::function<void(TFolderDialog *sender, QFileDialog *dialog)> OnValidateFailed;

    // Shows the browser modally; true when a folder was chosen.
    bool Execute();

    // The display name of the last chosen item (its path).
    QString DisplayName() const { return m_displayName; }
    // The union of the option numbers that are set.
    unsigned PlatformFlags() const;
    // True when the browser carries the program's own new-folder button.
    bool HasOwnNewFolderButton() const;
    // The open browser (null when none is open).
    QFileDialog *Browser() const { return m_browser; }

    // The status line text for a display name: a name longer than 50 characters keeps
    // its first three characters, " ..", and its end.
    static QString ShortenedDisplayName(const QString &name);

private:
    bool RunBrowser();
    void BrowserInitialized(QFileDialog *dialog);
    void SelectionChanged(QFileDialog *dialog, const QString &path);
    void NewFolderClick(QFileDialog *dialog);
    void ValidateFailed(QFileDialog *dialog);

    QString m_current;     // the folder selected in the browser
    QString m_madeFolder;  // made by the own button, selected at the next opening
    bool m_reopen = false;
    QString m_displayName;
    QFileDialog *m_browser = nullptr; // only while ExecModal runs
};
