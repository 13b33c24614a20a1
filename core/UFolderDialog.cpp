#include "core/UFolderDialog.h"

#include "core/Messages.h"
#include "core/Modal.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString NewFolderCaption = QStringLiteral("Nová složka");

// The browser: the non-native folder chooser, with a hook when it is shown and a check of
// a typed name before it is taken.
class TFolderBrowser : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    std::function<void()> onShown;
    std::function<void()> onInvalid;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.isEmpty() || !QFileInfo(files.constFirst()).isDir()) {
            // Qt would answer with a blocking message box of its own.
            if (onInvalid)
                onInvalid();
            return;
        }
        QFileDialog::accept();
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QFileDialog::showEvent(event);
        if (!event->spontaneous() && onShown)
            onShown();
    }
};

QString cleanFolder(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

int SpecialFolderNumber(TSHFolders folder)
{
    switch (folder) {
    case TSHFolders::foDesktop: return 0;
    case TSHFolders::foDesktopExpanded: return -1;
    case TSHFolders::foPrograms: return 2;
    case TSHFolders::foControlPanel: return 3;
    case TSHFolders::foPrinters: return 4;
    case TSHFolders::foPersonal: return 5;
    case TSHFolders::foFavorites: return 6;
    case TSHFolders::foStartup: return 7;
    case TSHFolders::foRecent: return 8;
    case TSHFolders::foSendto: return 9;
    case TSHFolders::foRecycleBin: return 10;
    case TSHFolders::foStartMenu: return 11;
    case TSHFolders::foDesktopFolder: return 16;
    case TSHFolders::foMyComputer: return 17;
    case TSHFolders::foNetwork: return 18;
    case TSHFolders::foNetworkNeighborhood: return 19;
    case TSHFolders::foFonts: return 20;
    case TSHFolders::foTemplates: return 21;
    }
    return -1;
}

QString SpecialFolderPath(int number)
{
    auto location = [](QStandardPaths::StandardLocation where) {
        return cleanFolder(QStandardPaths::writableLocation(where));
    };
    switch (number) {
    case 0:  // the desktop
    case 16: // the desktop folder
        return location(QStandardPaths::DesktopLocation);
    case 5: // personal documents
        return location(QStandardPaths::DocumentsLocation);
    case 13: // music
        return location(QStandardPaths::MusicLocation);
    case 14: // videos
        return location(QStandardPaths::MoviesLocation);
    case 17: // the computer: the root of the file system
        return QStringLiteral("/");
    case 20:
        return location(QStandardPaths::FontsLocation);
    case 39: // pictures
        return location(QStandardPaths::PicturesLocation);
    case 40: // the user's profile
        return location(QStandardPaths::HomeLocation);
    default:
        return {};
    }
}

void CentreOnScreen(QWidget *window)
{
    if (QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

TFolderDialog::TFolderDialog(QObject *owner)
    : QObject(owner)
{
}

unsigned TFolderDialog::PlatformFlags() const
{
    return unsigned(Flags.toInt());
}

bool TFolderDialog::HasOwnNewFolderButton() const
{
    return !Flags.testFlag(TBrowseInfoFlag::NewDialogStyle)
        && !Flags.testFlag(TBrowseInfoFlag::HideNewFolderButton);
}

QString TFolderDialog::ShortenedDisplayName(const QString &name)
{
    constexpr int Longest = 50;
    if (name.size() <= Longest)
        return name;
    const QString gap = QStringLiteral(" ..");
    return name.left(3) + gap + name.right(Longest - 3 - gap.size());
}

bool TFolderDialog::Execute()
{
    m_current = Folder;
    bool chosen = false;
    do {
        m_reopen = false;
        Folder = m_current;
        chosen = RunBrowser();
    } while (m_reopen);
    return chosen;
}

bool TFolderDialog::RunBrowser()
{
    QWidget *owner = ParentWidget ? ParentWidget.data() : QApplication::activeWindow();
    TFolderBrowser browser(owner);
    browser.setObjectName(QStringLiteral("FolderBrowser"));
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    browser.setAcceptMode(QFileDialog::AcceptOpen);
    browser.setLabelText(QFileDialog::LookIn, QStringLiteral("Aktuální složka:"));
    browser.setSizeGripEnabled(Flags.testFlag(TBrowseInfoFlag::NewDialogStyle));

    const QString root = SpecialFolderPath(SpecialFolderNumber(RootFolder));
    if (!root.isEmpty())
        browser.setSidebarUrls({QUrl::fromLocalFile(root)});

    // The browser's own new-folder button only in the new style.
    if (!Flags.testFlag(TBrowseInfoFlag::NewDialogStyle) || Flags.testFlag(TBrowseInfoFlag::HideNewFolderButton)) {
        if (QWidget *own = browser.findChild<QWidget *>(QStringLiteral("newFolderButton")))
            own->hide();
    }
    auto *grid = qobject_cast<QGridLayout *>(browser.layout());
    const int row = grid ? grid->rowCount() : 0;
    if (HasOwnNewFolderButton()) {
        auto *button = new QPushButton(NewFolderCaption, &browser);
        button->setObjectName(QStringLiteral("ButtonNewFolder"));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, &browser] { NewFolderClick(&browser); });
        if (grid)
            grid->addWidget(button, row, 0);
    }
    if (Flags.testFlag(TBrowseInfoFlag::ShowPath)) {
        auto *status = new QLabel(&browser);
        status->setObjectName(QStringLiteral("LabelStatus"));
        if (grid)
            grid->addWidget(status, row, 1, 1, grid->columnCount() - 1);
    }

    // The first selection: the special folder, else the folder just made, else Folder.
    QString select;
    if (SpecialFolder != -1 && QFileInfo(SpecialFolderPath(SpecialFolder)).isDir())
        select = SpecialFolderPath(SpecialFolder);
    else if (!m_madeFolder.isEmpty())
        select = std::exchange(m_madeFolder, QString());
    else
        select = Folder;
    if (QFileInfo(select).isDir())
        browser.setDirectory(select);

    connect(&browser, &QFileDialog::currentChanged, this, [this, &browser](const QString &path) {
        if (QFileInfo(path).isDir())
            SelectionChanged(&browser, path);
    });
    connect(&browser, &QFileDialog::directoryEntered, this,
            [this, &browser](const QString &path) { SelectionChanged(&browser, path); });
    browser.onShown = [this, &browser] { BrowserInitialized(&browser); };
    browser.onInvalid = [this, &browser] { ValidateFailed(&browser); };

    m_browser = &browser;
    const int result = ExecModal(&browser);
    m_browser = nullptr;
    if (m_reopen || result != QDialog::Accepted || browser.selectedFiles().isEmpty())
        return false;

    Folder = cleanFolder(browser.selectedFiles().constFirst());
    m_displayName = Folder;
    SpecialFolder = -1;
    if (ReturnSpecialFolder) {
        for (int number = 0; number <= 255; ++number) {
            const QString path = SpecialFolderPath(number);
            if (!path.isEmpty() && path == Folder) {
                SpecialFolder = number;
                break;
            }
        }
    }
    return true;
}

void TFolderDialog::BrowserInitialized(QFileDialog *dialog)
{
    CentreOnScreen(dialog);
    SelectionChanged(dialog, dialog->directory().absolutePath());
    if (OnInitialized)
        OnInitialized(this, dialog);
}

void TFolderDialog::SelectionChanged(QFileDialog *dialog, const QString &path)
{
    m_current = cleanFolder(path);
    if (Flags.testFlag(TBrowseInfoFlag::ShowPath)) {
        if (auto *status = dialog->findChild<QLabel *>(QStringLiteral("LabelStatus")))
            status->setText(ShortenedDisplayName(QDir::toNativeSeparators(m_current)));
    }
    if (auto *button = dialog->findChild<QPushButton *>(QStringLiteral("ButtonNewFolder")))
        button->setEnabled(QFileInfo(m_current).isDir());
    if (OnSelectionChanged)
        OnSelectionChanged(this, dialog, m_current);
}

void TFolderDialog::NewFolderClick(QFileDialog *dialog)
{
    QInputDialog input(dialog);
    input.setObjectName(QStringLiteral("InputNewFolder"));
    input.setWindowTitle(NewFolderCaption);
    input.setLabelText(QString());
    input.setTextValue(QString());
    if (ExecModal(&input) != QDialog::Accepted)
        return;
    const QString name = input.textValue();
    if (name.isEmpty())
        return;
    m_reopen = true;
    QString folder = m_current;
    if (!name.startsWith(u'/') && !folder.endsWith(u'/'))
        folder += u'/';
    folder += name;
    QDir().mkpath(folder);
    if (QFileInfo(folder).isDir()) {
        m_madeFolder = cleanFolder(folder);
    } else {
        m_madeFolder.clear();
        ShowWarning(false, QStringLiteral("Adresář nebo soubor nelze vytvořit."), folder);
    }
    // Closed as by Esc; Execute opens it again.
    dialog->reject();
}

void TFolderDialog::ValidateFailed(QFileDialog *dialog)
{
    if (OnValidateFailed)
        OnValidateFailed(this, dialog);
    else
        QApplication::beep();
}
