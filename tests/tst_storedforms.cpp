// The six windows that keep their controls in "Valmedo4.ini": each stores the names the
// file has always held, every one of them names a control and a property of the window,
// and a save writes them all.
#include "app/Wiring.h"
#include "core/FormStorage.h"
#include "core/IniFile.h"
#include "core/UBackup.h"
#include "core/UDatabase.h"
#include "core/ULogin.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "support/FormStateFile.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

struct StoringWindow {
    std::unique_ptr<QWidget> window;
    TFormStorage *storage = nullptr;
};

template <class Form>
StoringWindow Make()
{
    auto form = std::make_unique<Form>();
    TFormStorage *storage = &form->FormStorage;
    return {std::move(form), storage};
}

StoringWindow MakeWindow(const QString &section)
{
    if (section == QLatin1String("Valmedo")) {
        std::unique_ptr<TFormValmedo> form(BuildFormValmedo());
        TFormStorage *storage = form->formStorage();
        return {std::move(form), storage};
    }
    if (section == QLatin1String("Login"))
        return Make<TFormLogin>();
    if (section == QLatin1String("Backup"))
        return Make<TFormBackup>();
    if (section == QLatin1String("Database"))
        return Make<TFormDatabase>();
    if (section == QLatin1String("SetupVideo"))
        return Make<TFormSetupVideo>();
    if (section == QLatin1String("SetupPrint"))
        return Make<TFormSetupPrint>();
    return {};
}

// A list is written only when it holds lines: give each stored list one.
void FillLists(QWidget *window, const QStringList &stored)
{
    for (const QString &name : stored) {
        QObject *control = window->findChild<QObject *>(name.section(u'.', 0, 0));
        if (auto *list = qobject_cast<QListWidget *>(control))
            list->addItem(QStringLiteral("24.12.2024"));
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
            memo->setPlainText(QStringLiteral("Videopůjčovna"));
        else if (auto *rich = qobject_cast<QTextEdit *>(control))
            rich->setPlainText(QStringLiteral("Videopůjčovna"));
    }
}

} // namespace

class TestStoredForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyStoredNameIsWritten_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("main window") << QStringLiteral("Valmedo") << QStringList{"Notebook.PageIndex"};
        QTest::newRow("login") << QStringLiteral("Login")
                               << QStringList{"EditUser.Text", "ComboBoxServer.Text"};
        QTest::newRow("backup") << QStringLiteral("Backup")
                                << QStringList{"CheckBoxBackupDay.Checked", "EditBackupPathDay.Text"};
        QTest::newRow("database") << QStringLiteral("Database")
                                  << QStringList{"CheckBoxReindex.Checked", "CheckBoxTransLog.Checked",
                                                 "CheckBoxLends.Checked", "IntegerEditLends.Value"};
        QTest::newRow("rental settings")
            << QStringLiteral("SetupVideo")
            << QStringList{"ListBoxDate.Items", "CheckBoxMo.Checked", "CheckBoxTu.Checked",
                           "CheckBoxWe.Checked", "CheckBoxTh.Checked", "CheckBoxFr.Checked",
                           "CheckBoxSa.Checked", "CheckBoxSu.Checked", "IntegerEditMaxDays.Value",
                           "IntegerEditCustomerLimit.Value", "CheckBoxLendInformation.Checked",
                           "CheckBoxColor.Checked", "ColorComboBoxLent.ColorValue",
                           "ColorComboBoxDelayed.ColorValue", "IntegerEditTax.Value",
                           "IntegerEditAmountOff.Value", "IntegerEditLoyalOff.Value", "IntegerEditVIP.Value",
                           "CheckBoxInclude.Checked", "CheckBoxEan.Checked", "CheckBoxCash.Checked",
                           "CheckBoxVerifyBirth.Checked", "CheckBoxVerifyIdentity.Checked"};
        QTest::newRow("print settings")
            << QStringLiteral("SetupPrint")
            << QStringList{"MemoAddress.Lines", "MemoTitle.Lines", "MemoInfo.Lines", "MemoAddition.Lines",
                           "CheckBoxVoucher.Checked", "CheckBoxDate.Checked", "CheckBoxDateTax.Checked",
                           "CheckBoxOriginal.Checked", "CheckBoxCopy.Checked", "RadioButtonManual.Checked",
                           "RadioButtonAuto.Checked", "CheckBoxExtra.Checked", "RadioButtonA4.Checked",
                           "RadioButtonA5.Checked"};
    }
    void everyStoredNameIsWritten()
    {
        QFETCH(QString, section);
        QFETCH(QStringList, stored);
        TemporaryWorkingFolder folder;
        QVERIFY(folder.isValid());
        {
            const StoringWindow w = MakeWindow(section);
            QVERIFY(w.storage);
            QCOMPARE(w.storage->section(), section);
            QCOMPARE(w.storage->storedProps(), stored);
            QCOMPARE(w.storage->unresolvedProps(), QStringList());

            FillLists(w.window.get(), stored);
            w.storage->Restore(); // an active storage saves only once it has restored
            w.storage->Save();
            IniFile ini(FormStateFileName());
            QVERIFY(ini.load());
            QCOMPARE(ini.readString(section, QStringLiteral("FormVersion"), QString()), QStringLiteral("0"));
            for (const QString &key : w.storage->storedKeys())
                QVERIFY2(ini.hasKey(section, key) || ini.hasKey(section + u'.' + key, QStringLiteral("Count")),
                         qPrintable(key));
        }
    }

    // A name that resolves to nothing is listed, so that a typo cannot pass unseen.
    void unresolvedNamesAreListed()
    {
        QWidget form;
        auto *edit = new QPlainTextEdit(&form);
        edit->setObjectName(QStringLiteral("MemoAddress"));
        const TFormStorage storage(&form, QStringLiteral("Test"),
                                   {QStringLiteral("MemoAddress.Lines"), QStringLiteral("MemoAdress.Lines"),
                                    QStringLiteral("MemoAddress.Checkd")},
                                   false);
        QCOMPARE(storage.unresolvedProps(),
                 (QStringList{QStringLiteral("MemoAdress.Lines"), QStringLiteral("MemoAddress.Checkd")}));
    }
};

QTEST_MAIN(TestStoredForms)
#include "tst_storedforms.moc"
