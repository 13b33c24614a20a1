#include "core/FormStorage.h"
#include "core/IniFile.h"
#include "support/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// A colour control with the colour as a QColor, as the colour combo box offers it.
class ColourBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    using QWidget::QWidget;
    QColor color() const { return m_color; }
    void setColor(const QColor &c) { m_color = c; }

private:
    QColor m_color = Qt::white;
};

template <class T> T *Named(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

const QStringList StoredProps = {
    "ListBoxDate.Items",      "CheckBoxMo.Checked",        "IntegerEditMaxDays.Value",
    "EditUser.Text",          "ComboBoxServer.Text",       "Notebook.PageIndex",
    "ColorComboBoxLent.ColorValue", "MemoAddress.Lines",
};

// A dialog with one control of each stored kind, in its designed state.
class TestForm : public QDialog {
public:
    explicit TestForm(bool active = false)
    {
        CheckBoxMo = Named<QCheckBox>(this, "CheckBoxMo");
        EditUser = Named<QLineEdit>(this, "EditUser");
        EditUser->setText("sa");
        IntegerEditMaxDays = Named<QSpinBox>(this, "IntegerEditMaxDays");
        IntegerEditMaxDays->setRange(-1000, 1000);
        IntegerEditMaxDays->setValue(14);
        ComboBoxServer = Named<QComboBox>(this, "ComboBoxServer");
        ComboBoxServer->setEditable(true);
        ComboBoxServer->addItem("(local)");
        Notebook = Named<QStackedWidget>(this, "Notebook");
        for (int i = 0; i < 3; ++i)
            Notebook->addWidget(new QWidget);
        ColorComboBoxLent = Named<ColourBox>(this, "ColorComboBoxLent");
        ListBoxDate = Named<QListWidget>(this, "ListBoxDate");
        ListBoxDate->addItem("24.12.2024");
        MemoAddress = Named<QPlainTextEdit>(this, "MemoAddress");
        MemoAddress->setPlainText("Adresa");
        ButtonCancel = Named<QPushButton>(this, "ButtonCancel");
        connect(ButtonCancel, &QPushButton::clicked, this, [this] {
            FormStorage->Restore();
            reject();
        });
        ButtonOk = Named<QPushButton>(this, "ButtonOk");
        connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
        FormStorage = std::make_unique<TFormStorage>(this, "Test", StoredProps, active);
    }

    QCheckBox *CheckBoxMo;
    QLineEdit *EditUser;
    QSpinBox *IntegerEditMaxDays;
    QComboBox *ComboBoxServer;
    QStackedWidget *Notebook;
    ColourBox *ColorComboBoxLent;
    QListWidget *ListBoxDate;
    QPlainTextEdit *MemoAddress;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;
    std::unique_ptr<TFormStorage> FormStorage;
    int daysAtShow = 0;
    bool refuseClose = false;

protected:
    void showEvent(QShowEvent *e) override
    {
        daysAtShow = IntegerEditMaxDays->value();
        QDialog::showEvent(e);
    }
    void closeEvent(QCloseEvent *e) override
    {
        if (refuseClose)
            e->ignore();
        else
            QDialog::closeEvent(e);
    }
};

// A main window: page index and placement.
class MainForm : public QWidget {
public:
    MainForm()
    {
        Notebook = Named<QStackedWidget>(this, "Notebook");
        Notebook->addWidget(new QWidget);
        Notebook->addWidget(new QWidget);
        setGeometry(50, 60, 300, 200);
        FormStorage = std::make_unique<TFormStorage>(this, "Valmedo", QStringList{"Notebook.PageIndex"},
                                                     true, true);
    }
    QStackedWidget *Notebook;
    std::unique_ptr<TFormStorage> FormStorage;
};

QString FileText()
{
    QFile file(FormStateFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void WriteFile(const QByteArray &bytes)
{
    QFile file(FormStateFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The non-blank lines of one section of the file, as written.
QStringList SectionLines(const QString &section)
{
    QStringList lines;
    bool inside = false;
    for (const QString &line : FileText().split("\r\n")) {
        if (line.startsWith('['))
            inside = line == '[' + section + ']';
        else if (inside && !line.isEmpty())
            lines << line;
    }
    return lines;
}

QString Resolution()
{
    const QRect g = QGuiApplication::primaryScreen()->geometry();
    return QStringLiteral("(%1x%2)").arg(g.width()).arg(g.height());
}

using Setter = std::function<void(TestForm &)>;
using Getter = std::function<QVariant(TestForm &)>;

} // namespace
Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(Getter)

class TestFormStorage : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_oldFolder;

private Q_SLOTS:
    void initTestCase() { m_oldFolder = QDir::currentPath(); }
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        QVERIFY(QDir::setCurrent(m_folder->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldFolder);
        m_folder.reset();
    }

    void valuesWrittenAndRead_data()
    {
        QTest::addColumn<Setter>("set");
        QTest::addColumn<Getter>("get");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("lines"); // expected lines of `section`, in order
        QTest::addColumn<QVariant>("readBack");

        const Getter checked = [](TestForm &f) { return QVariant(f.CheckBoxMo->isChecked()); };
        const Getter days = [](TestForm &f) { return QVariant(f.IntegerEditMaxDays->value()); };
        const Getter user = [](TestForm &f) { return QVariant(f.EditUser->text()); };
        const Getter colour = [](TestForm &f) { return QVariant(f.ColorComboBoxLent->color()); };
        const Getter dates = [](TestForm &f) {
            QStringList l;
            for (int i = 0; i < f.ListBoxDate->count(); ++i)
                l << f.ListBoxDate->item(i)->text();
            return QVariant(l);
        };
        const auto withKey = [](const QString &line) { return QStringList{line}; };

        QTest::newRow("check box ticked") << Setter([](TestForm &f) { f.CheckBoxMo->setChecked(true); })
            << checked << "Test" << withKey("CheckBoxMo_Checked=True") << QVariant(true);
        QTest::newRow("negative integer") << Setter([](TestForm &f) { f.IntegerEditMaxDays->setValue(-5); })
            << days << "Test" << withKey("IntegerEditMaxDays_Value=-5") << QVariant(-5);
        QTest::newRow("page index") << Setter([](TestForm &f) { f.Notebook->setCurrentIndex(2); })
            << Getter([](TestForm &f) { return QVariant(f.Notebook->currentIndex()); })
            << "Test" << withKey("Notebook_PageIndex=2") << QVariant(2);
        QTest::newRow("text trimmed") << Setter([](TestForm &f) { f.EditUser->setText("  Jana Nováková  "); })
            << user << "Test" << withKey("EditUser_Text=Jana Nováková") << QVariant("Jana Nováková");
        QTest::newRow("empty text") << Setter([](TestForm &f) { f.EditUser->clear(); })
            << user << "Test" << withKey("EditUser_Text=") << QVariant("");
        QTest::newRow("double-quoted text") << Setter([](TestForm &f) { f.EditUser->setText("\"sa\""); })
            << user << "Test" << withKey("EditUser_Text=\"\"sa\"\"") << QVariant("\"sa\"");
        QTest::newRow("single-quoted text") << Setter([](TestForm &f) { f.EditUser->setText("'sa'"); })
            << user << "Test" << withKey("EditUser_Text=\"'sa'\"") << QVariant("'sa'");
        QTest::newRow("combo box text") << Setter([](TestForm &f) { f.ComboBoxServer->setEditText("db.shop:5433"); })
            << Getter([](TestForm &f) { return QVariant(f.ComboBoxServer->currentText()); })
            << "Test" << withKey("ComboBoxServer_Text=db.shop:5433") << QVariant("db.shop:5433");
        QTest::newRow("colour gray") << Setter([](TestForm &f) { f.ColorComboBoxLent->setColor(QColor(128, 128, 128)); })
            << colour << "Test" << withKey("ColorComboBoxLent_ColorValue=8421504") << QVariant(QColor(128, 128, 128));
        QTest::newRow("colour blue") << Setter([](TestForm &f) { f.ColorComboBoxLent->setColor(QColor(0, 0, 255)); })
            << colour << "Test" << withKey("ColorComboBoxLent_ColorValue=16711680") << QVariant(QColor(0, 0, 255));
        QTest::newRow("colour red") << Setter([](TestForm &f) { f.ColorComboBoxLent->setColor(QColor(255, 0, 0)); })
            << colour << "Test" << withKey("ColorComboBoxLent_ColorValue=255") << QVariant(QColor(255, 0, 0));
        QTest::newRow("list") << Setter([](TestForm &f) {
                f.ListBoxDate->clear();
                f.ListBoxDate->addItems({"1.1.2025", "  6.1.2025 ", "\"Vánoce\"", ""});
            })
            << dates << "Test.ListBoxDate_Items"
            << QStringList{"Count=4", "Item0=1.1.2025", "Item1=  6.1.2025 ", "Item2=\"\"Vánoce\"\"", "Item3="}
            << QVariant(QStringList{"1.1.2025", "6.1.2025", "\"Vánoce\"", ""});
        QTest::newRow("memo lines") << Setter([](TestForm &f) { f.MemoAddress->setPlainText("Videopůjčovna\nHlavní 1"); })
            << Getter([](TestForm &f) { return QVariant(f.MemoAddress->toPlainText()); })
            << "Test.MemoAddress_Lines" << QStringList{"Count=2", "Item0=Videopůjčovna", "Item1=Hlavní 1"}
            << QVariant("Videopůjčovna\nHlavní 1");
        // A final line break ends the last line; it adds no empty line of its own.
        QTest::newRow("memo with final line break") << Setter([](TestForm &f) { f.MemoAddress->setPlainText("a\nb\n"); })
            << Getter([](TestForm &f) { return QVariant(f.MemoAddress->toPlainText()); })
            << "Test.MemoAddress_Lines" << QStringList{"Count=2", "Item0=a", "Item1=b"} << QVariant("a\nb");
        QTest::newRow("memo with empty line before the end") << Setter([](TestForm &f) { f.MemoAddress->setPlainText("a\n\n"); })
            << Getter([](TestForm &f) { return QVariant(f.MemoAddress->toPlainText()); })
            << "Test.MemoAddress_Lines" << QStringList{"Count=2", "Item0=a", "Item1="} << QVariant("a\n");
    }
    void valuesWrittenAndRead()
    {
        QFETCH(Setter, set);
        QFETCH(Getter, get);
        QFETCH(QString, section);
        QFETCH(QStringList, lines);
        QFETCH(QVariant, readBack);

        TestForm written;
        set(written);
        written.FormStorage->Save();

        const QStringList seen = SectionLines(section);
        if (section == "Test") {
            QCOMPARE(seen.value(0), QStringLiteral("FormVersion=0"));
            QVERIFY2(seen.contains(lines.at(0)), qPrintable(seen.join(" | ")));
            // Every stored non-list property has its key, lists have none here.
            QCOMPARE(seen.size(), 1 + 6);
        } else {
            QCOMPARE(seen, lines);
        }
        QVERIFY(!FileText().contains(QRegularExpression("[^\r]\n")));

        TestForm read;
        read.FormStorage->Restore();
        QCOMPARE(get(read), readBack);
    }

    void fileWrittenByHand_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("days");
        QTest::addColumn<QStringList>("dates");

        const QByteArray windows = "; settings\r\n[Login]\r\nEditUser_Text=pepa\r\n\r\n"
                                   "[test]\r\nFORMVERSION=0\r\n  checkboxmo_checked = true \r\n"
                                   "EditUser_Text=\"  Jan  \"\r\nIntegerEditMaxDays_Value=21\r\n\r\n"
                                   "[Test.ListBoxDate_Items]\r\ncount=2\r\nitem0=1.5.2025\r\nITEM1='8.5.2025'\r\n";
        QTest::newRow("CR LF, other letter case, quotes") << windows << true << "  Jan  " << 21
                                                          << QStringList{"1.5.2025", "8.5.2025"};
        QByteArray lf = windows;
        lf.replace("\r\n", "\n");
        QTest::newRow("LF only") << lf << true << "  Jan  " << 21 << QStringList{"1.5.2025", "8.5.2025"};
        QTest::newRow("Windows-1250")
            << QByteArray("[Test]\r\nEditUser_Text=\xC8\x61pek \x9Elut\xFD\r\nCheckBoxMo_Checked=FALSE\r\n")
            << false << "Čapek žlutý" << 14 << QStringList{"24.12.2024"};
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBF[Test]\r\nEditUser_Text=Čapek\r\n") << false << "Čapek" << 14
            << QStringList{"24.12.2024"};
        QTest::newRow("list with missing line")
            << QByteArray("[Test.ListBoxDate_Items]\r\nCount=3\r\nItem0=a\r\nItem2=c\r\n") << false << "sa"
            << 14 << QStringList{"a", "", "c"};
        QTest::newRow("newer form version is not read")
            << QByteArray("[Test]\r\nFormVersion=-1\r\nEditUser_Text=x\r\n") << false << "sa" << 14
            << QStringList{"24.12.2024"};
    }
    void fileWrittenByHand()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, checked);
        QFETCH(QString, user);
        QFETCH(int, days);
        QFETCH(QStringList, dates);

        WriteFile(bytes);
        TestForm form;
        form.FormStorage->Restore();
        QCOMPARE(form.CheckBoxMo->isChecked(), checked);
        QCOMPARE(form.EditUser->text(), user);
        QCOMPARE(form.IntegerEditMaxDays->value(), days);
        QStringList seen;
        for (int i = 0; i < form.ListBoxDate->count(); ++i)
            seen << form.ListBoxDate->item(i)->text();
        QCOMPARE(seen, dates);
    }

    void damagedFileKeepsDesign_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("days");
        QTest::newRow("no file") << QByteArray() << 14;
        QTest::newRow("binary garbage") << QByteArray("\x00\xFF[\x01=\x02\n\n=\x80\x81", 11) << 14;
        QTest::newRow("boolean stored as 1") << QByteArray("[Test]\nCheckBoxMo_Checked=1\n") << 14;
        QTest::newRow("header without bracket, lines without =")
            << QByteArray("[Test\nCheckBoxMo_Checked\nrubbish\n") << 14;
        QTest::newRow("huge list count")
            << QByteArray("[Test.ListBoxDate_Items]\nCount=99999999999\nItem0=x\n") << 14;
        QTest::newRow("list count not a number")
            << QByteArray("[Test.ListBoxDate_Items]\nCount=abc\nItem0=x\n") << 14;
        QTest::newRow("letters for a number read as 0")
            << QByteArray("[Test]\nIntegerEditMaxDays_Value=abc\n") << 0;
        QTest::newRow("number too big for the control")
            << QByteArray("[Test]\nIntegerEditMaxDays_Value=99999999999\n") << 0;
        QTest::newRow("colour out of range")
            << QByteArray("[Test]\nColorComboBoxLent_ColorValue=-2147483643\n") << 14;
    }
    void damagedFileKeepsDesign()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, days);
        if (!bytes.isEmpty())
            WriteFile(bytes);
        TestForm form;
        form.FormStorage->Restore();
        QCOMPARE(form.IntegerEditMaxDays->value(), days);
        QVERIFY(!form.CheckBoxMo->isChecked());
        QCOMPARE(form.EditUser->text(), QStringLiteral("sa"));
        QCOMPARE(form.ListBoxDate->count(), 1);
        QCOMPARE(form.ListBoxDate->item(0)->text(), QStringLiteral("24.12.2024"));
        QCOMPARE(form.ColorComboBoxLent->color(), QColor(Qt::white));
    }

    void unreadableFileIsNeverWrittenOver()
    {
        // A folder in place of the file: it cannot be read, nor written.
        QVERIFY(QDir().mkdir("Valmedo4.ini"));
        TestForm form;
        form.FormStorage->Restore();
        QCOMPARE(form.EditUser->text(), QStringLiteral("sa"));
        try {
            form.FormStorage->Save();
            QFAIL("Save did not fail");
        } catch (const EIniFileError &e) {
            QCOMPARE(e.message(), QStringLiteral("Unable to write to Valmedo4.ini"));
        }
        QVERIFY(QFileInfo(FormStateFileName()).isDir());
    }

    void saveKeepsOtherSections()
    {
        const QByteArray before = "[Login]\r\nEditUser_Text=pepa\r\nComboBoxServer_Text=(local)\r\n\r\n"
                                  "[Backup]\r\n; kept as it is\r\nCheckBoxBackupDay_Checked = True\r\n\r\n"
                                  "[Test.ListBoxDate_Items]\r\nCount=1\r\nItem0=old\r\n\r\n"
                                  "[Test]\r\nEditUser_Text=old\r\nForeign=kept\r\n";
        WriteFile(before);
        TestForm form;
        form.EditUser->setText("new");
        form.ListBoxDate->clear(); // an emptied list leaves no section
        form.FormStorage->Save();
        form.FormStorage->Save(); // twice: keys are updated, not repeated

        QCOMPARE(SectionLines("Login"), (QStringList{"EditUser_Text=pepa", "ComboBoxServer_Text=(local)"}));
        QCOMPARE(SectionLines("Backup"), (QStringList{"; kept as it is", "CheckBoxBackupDay_Checked = True"}));
        QVERIFY(!FileText().contains("[Test.ListBoxDate_Items]"));
        const QStringList test = SectionLines("Test");
        QCOMPARE(test.count("EditUser_Text=new"), 1);
        QVERIFY(test.contains("Foreign=kept"));
        QCOMPARE(test.filter("FormVersion").size(), 1);

        // The list stored empty: restoring keeps what the list holds.
        form.ListBoxDate->addItem("added");
        form.FormStorage->Restore();
        QCOMPARE(form.ListBoxDate->count(), 1);
    }

    void placementWrittenAndRead()
    {
        {
            MainForm form;
            form.FormStorage->Restore();
            form.setGeometry(100, 120, 400, 300);
            form.Notebook->setCurrentIndex(1);
            form.FormStorage->Save();
        }
        const QString res = Resolution();
        const QString ppi = QString::number(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
        QCOMPARE(SectionLines("Valmedo"),
                 (QStringList{"FormVersion=0", "Flags=0", "ShowCmd=1", "PixelsPerInch=" + ppi,
                              "MinMaxPos" + res + "=-1,-1,-1,-1", "MinMaxPos=-1,-1,-1,-1",
                              "NormPos" + res + "=100,120,500,420", "NormPos=100,120,500,420",
                              "Visible=0", "Notebook_PageIndex=1"}));
        MainForm form;
        form.FormStorage->Restore();
        QCOMPARE(form.geometry(), QRect(100, 120, 400, 300));
        QCOMPARE(form.Notebook->currentIndex(), 1);
    }

    void placementRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("fixedSize");
        QTest::addColumn<Qt::WindowStates>("state");
        const QString ppi = QString::number(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
        const QString head = "[Valmedo]\nPixelsPerInch=" + ppi + "\n";
        const QRect design(50, 60, 300, 200);

        QTest::newRow("current resolution first")
            << head + "NormPos" + Resolution() + "=10,20,210,170\nNormPos=1,2,3,4\n" << QRect(10, 20, 200, 150)
            << false << Qt::WindowStates();
        QTest::newRow("other resolution: plain keys")
            << head + "NormPos(1x1)=10,20,210,170\nNormPos=30,40,330,280\n" << QRect(30, 40, 300, 240) << false
            << Qt::WindowStates();
        QTest::newRow("other pixels per inch: ignored")
            << "[Valmedo]\nPixelsPerInch=1\nNormPos=30,40,330,280\n" << design << false << Qt::WindowStates();
        QTest::newRow("no position keys") << head + "ShowCmd=1\n" << design << false << Qt::WindowStates();
        QTest::newRow("fixed size keeps its size")
            << head + "NormPos=30,40,330,280\n" << QRect(30, 40, 300, 200) << true << Qt::WindowStates();
        QTest::newRow("missing numbers keep the current ones")
            << head + "NormPos=30,40\n" << QRect(30, 40, 320, 220) << false << Qt::WindowStates();
        QTest::newRow("empty rectangle: design kept")
            << head + "NormPos=300,40,30,280\n" << design << false << Qt::WindowStates();
        QTest::newRow("maximised") << head + "NormPos=30,40,330,280\nShowCmd=3\n" << QRect(30, 40, 300, 240)
                                   << false << Qt::WindowStates(Qt::WindowMaximized);
        QTest::newRow("minimised") << head + "ShowCmd=7\n" << design << false
                                   << Qt::WindowStates(Qt::WindowMinimized);
        QTest::newRow("unknown show state: normal") << head + "ShowCmd=9\n" << design << false << Qt::WindowStates();
    }
    void placementRead()
    {
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(bool, fixedSize);
        QFETCH(Qt::WindowStates, state);
        WriteFile(text.toUtf8());
        MainForm form;
        if (fixedSize)
            form.setFixedSize(form.size());
        form.FormStorage->Restore();
        QCOMPARE(form.geometry(), geometry);
        QCOMPARE(form.windowState(), state);
    }

    // An active storage restores before the window's own show handler and saves on every close.
    void dialogSavesOnEveryClose_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("stored");
        QTest::newRow("Ok") << Answer(ClickButton("ButtonOk")) << 30;
        QTest::newRow("close box") << CloseBox() << 30;
        QTest::newRow("Esc") << PressKey(Qt::Key_Escape) << 30;
        QTest::newRow("Cancel reads back first") << Answer(ClickButton("ButtonCancel")) << 21;
    }
    void dialogSavesOnEveryClose()
    {
        QFETCH(Answer, answer);
        QFETCH(int, stored);
        WriteFile("[Test]\r\nIntegerEditMaxDays_Value=21\r\n");
        TestForm form(true);
        ModalAnswers answers({Fill([](QDialog *d) { static_cast<TestForm *>(d)->IntegerEditMaxDays->setValue(30); },
                                   answer)});
        ExecModal(&form);
        QCOMPARE(form.daysAtShow, 21);
        QVERIFY(SectionLines("Test").contains(QStringLiteral("IntegerEditMaxDays_Value=%1").arg(stored)));
    }

    void moments()
    {
        // Active, never restored: saving writes nothing, also at destruction.
        {
            TestForm form(true);
            form.FormStorage->Save();
        }
        QVERIFY(!QFile::exists(FormStateFileName()));

        // Inactive: showing and closing touch nothing; only the explicit calls do.
        {
            WriteFile("[Test]\r\nIntegerEditMaxDays_Value=21\r\n");
            TestForm form(false);
            form.show();
            QCOMPARE(form.IntegerEditMaxDays->value(), 14);
            form.IntegerEditMaxDays->setValue(40);
            form.close();
            QVERIFY(SectionLines("Test").contains("IntegerEditMaxDays_Value=21"));
        }

        // A refused close saves nothing; the main window destroyed unsaved writes Visible=1.
        {
            WriteFile("");
            TestForm form(true);
            form.refuseClose = true;
            form.show();
            form.IntegerEditMaxDays->setValue(40);
            form.close();
            QVERIFY(form.isVisible());
            QVERIFY(SectionLines("Test").isEmpty());
            form.refuseClose = false;
            form.close();
            QVERIFY(SectionLines("Test").contains("IntegerEditMaxDays_Value=40"));
        }
        {
            MainForm form;
            form.show();
        }
        QVERIFY(SectionLines("Valmedo").contains("Visible=1"));
        {
            MainForm form;
            form.show();
            form.close();
        }
        QVERIFY(SectionLines("Valmedo").contains("Visible=0"));
    }

    // An automatic save that fails is reported in the program's warning window with the
    // file's bare name, and the dialog still closes.
    void failedAutomaticSaveIsReported()
    {
        {
            TestForm form(true);
            ModalAnswers answers({Fill([](QDialog *) { QVERIFY(QDir().mkdir("Valmedo4.ini")); }, Accept()),
                                  ClickButton(QStringLiteral("ButtonOk"))});
            QCOMPARE(ExecModal(&form), int(QDialog::Accepted));
            QVERIFY(!form.isVisible());
            QVERIFY(QDir().rmdir("Valmedo4.ini"));
            QCOMPARE(answers.shown().size(), 2); // the warning while the dialog closes, the dialog
            QCOMPARE(answers.shown().at(0).className, QStringLiteral("TFormWarning"));
            QCOMPARE(answers.shown().at(0).text, QStringLiteral("Unable to write to Valmedo4.ini"));
        }
        // Not saved since its restore: the destruction saves it.
        QVERIFY(SectionLines("Test").contains("IntegerEditMaxDays_Value=14"));
    }
};

QTEST_MAIN(TestFormStorage)
#include "tst_formstorage.moc"
