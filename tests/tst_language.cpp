#include "core/UFolderDialog.h"
#include "core/USetupVideo.h"
#include "core/UStartup.h"
#include "support/ModalAnswers.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// The texts a file dialog shows: its labels, then its buttons, as "name=text".
QStringList DialogTexts(QDialog *dialog)
{
    QStringList texts;
    for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        if (auto *label = dialog->findChild<QLabel *>(QString::fromLatin1(name)))
            texts << QString::fromLatin1(name) + u'=' + label->text();
    }
    if (auto *box = dialog->findChild<QDialogButtonBox *>())
        for (QAbstractButton *button : box->buttons())
            texts << QStringLiteral("button=") + button->text();
    return texts;
}

} // namespace

// Qt's own texts speak Czech whatever the machine's locale (the tests run in C.UTF-8).
class TestLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QLocale::system().language() != QLocale::Czech);
        InstallCzechLanguage();
    }

    void fileDialogsSpeakCzech()
    {
        QStringList restoreTexts;
        {
            TFormInitialization init;
            ModalAnswers answers({Fill([&](QDialog *d) { restoreTexts = DialogTexts(d); }, Reject())});
            ExecModal(init.OpenDialog);
        }
        QCOMPARE(restoreTexts, (QStringList{"lookInLabel=Hledat v:", "fileNameLabel=Název &souboru:",
                                            "fileTypeLabel=Soubory typu:", "button=&Otevřít", "button=Zrušit"}));

        QStringList folderTexts;
        {
            TFolderDialog folder;
            ModalAnswers answers({Fill([&](QDialog *d) { folderTexts = DialogTexts(d); }, Reject())});
            folder.Execute();
        }
        QVERIFY(folderTexts.contains(QStringLiteral("button=&Vybrat")));
        QVERIFY(folderTexts.contains(QStringLiteral("button=Zrušit")));
    }

    void calendarSpeaksCzech()
    {
        TFormSetupVideo setup;
        QCalendarWidget *calendar = setup.DateTimePickerDate->calendarWidget();
        calendar->setCurrentPage(2024, 12);
        auto *month = calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
        QVERIFY(month);
        QCOMPARE(month->text(), QStringLiteral("prosinec"));
        // The title row: the weekdays in Czech, Monday first (after the week numbers' column, if shown).
        auto *view = calendar->findChild<QAbstractItemView *>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(view);
        QStringList days;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            const QString day = view->model()->index(0, column).data().toString();
            if (!day.isEmpty())
                days << day;
        }
        QCOMPARE(days, (QStringList{"po", "út", "st", "čt", "pá", "so", "ne"}));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
