#include "core/Grids.h"
#include "core/IniFile.h"
#include "core/Modal.h"
#include "core/RunGlobals.h"
#include "core/USetupVideo.h"
#include "core/Utils.h"
#include "support/FormStateFile.h"
#include "support/ModalAnswers.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Every stored key of "SetupVideo" with the text a fresh dialog writes.
const QList<std::pair<QString, QString>> DefaultTexts = {
    {"CheckBoxMo_Checked", "False"},
    {"CheckBoxTu_Checked", "False"},
    {"CheckBoxWe_Checked", "False"},
    {"CheckBoxTh_Checked", "False"},
    {"CheckBoxFr_Checked", "False"},
    {"CheckBoxSa_Checked", "False"},
    {"CheckBoxSu_Checked", "False"},
    {"IntegerEditMaxDays_Value", "10"},
    {"IntegerEditCustomerLimit_Value", "10"},
    {"CheckBoxLendInformation_Checked", "False"},
    {"CheckBoxColor_Checked", "False"},
    {"ColorComboBoxLent_ColorValue", "8421504"},
    {"ColorComboBoxDelayed_ColorValue", "255"},
    {"IntegerEditTax_Value", "0"},
    {"IntegerEditAmountOff_Value", "0"},
    {"IntegerEditLoyalOff_Value", "0"},
    {"IntegerEditVIP_Value", "0"},
    {"CheckBoxInclude_Checked", "False"},
    {"CheckBoxEan_Checked", "False"},
    {"CheckBoxCash_Checked", "False"},
    {"CheckBoxVerifyBirth_Checked", "False"},
    {"CheckBoxVerifyIdentity_Checked", "False"},
};

// The same keys with other values, as a desk would have stored them.
const QList<std::pair<QString, QString>> OtherTexts = {
    {"CheckBoxMo_Checked", "True"},
    {"CheckBoxTu_Checked", "False"},
    {"CheckBoxWe_Checked", "true"},
    {"CheckBoxTh_Checked", "False"},
    {"CheckBoxFr_Checked", "False"},
    {"CheckBoxSa_Checked", "False"},
    {"CheckBoxSu_Checked", "TRUE"},
    {"IntegerEditMaxDays_Value", "14"},
    {"IntegerEditCustomerLimit_Value", "3"},
    {"CheckBoxLendInformation_Checked", "True"},
    {"CheckBoxColor_Checked", "True"},
    {"ColorComboBoxLent_ColorValue", "16711680"},
    {"ColorComboBoxDelayed_ColorValue", "65280"},
    {"IntegerEditTax_Value", "21"},
    {"IntegerEditAmountOff_Value", "5"},
    {"IntegerEditLoyalOff_Value", "10"},
    {"IntegerEditVIP_Value", "15"},
    {"CheckBoxInclude_Checked", "True"},
    {"CheckBoxEan_Checked", "True"},
    {"CheckBoxCash_Checked", "True"},
    {"CheckBoxVerifyBirth_Checked", "True"},
    {"CheckBoxVerifyIdentity_Checked", "True"},
};

QString SectionText(const QList<std::pair<QString, QString>> &pairs)
{
    return FormStateSection("SetupVideo", pairs);
}

QString DateList(const QStringList &dates)
{
    return FormStateList("SetupVideo", "ListBoxDate_Items", dates);
}

QStringList Lines(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QCheckBox *DayBox(TFormSetupVideo *form, int isoDay)
{
    QCheckBox *boxes[] = {form->CheckBoxMo, form->CheckBoxTu, form->CheckBoxWe, form->CheckBoxTh,
                          form->CheckBoxFr, form->CheckBoxSa, form->CheckBoxSu};
    return boxes[isoDay - 1];
}

} // namespace

class TestSetupVideo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultsWithoutFile();
    void storedPropertiesRoundTrip();
    void storedIntegersOutOfRange();

    void testDate_data();
    void testDate();
    void testDateIgnoresLocale();
    void sevenClosedWeekdaysOpenAndMend();
    void nextOpenDay_data();
    void nextOpenDay();

    void addAndDeleteDates();
    void colourPickersFollowTheirBox();
    void activationSetsPickerAndSelection();
    void closingKeepsOrRestores_data();
    void closingKeepsOrRestores();
    void cancelKeepsDateAddedToEmptyList();
    void stornoOnFirstRunUndoes();
    void enterInDateGroupAddsAndDoesNotClose();
    void providersReadTheControls();

private:
    FormInWorkingFolder<TFormSetupVideo> m_form;
};

void TestSetupVideo::init()
{
    SetRunDate(QDate(2026, 3, 2)); // a Monday
    QVERIFY(m_form.make());
}

void TestSetupVideo::cleanup()
{
    m_form.reset();
    QLocale::setDefault(QLocale::c());
}

void TestSetupVideo::defaultsWithoutFile()
{
    TFormSetupVideo *f = m_form.get();
    f->RestoreStoredValues();
    QCOMPARE(f->windowTitle(), QString(" Půjčovna"));
    QCOMPARE(f->ListBoxDate->count(), 0);
    const struct {
        TIntegerEdit *edit;
        int value, min, max;
    } edits[] = {
        {f->IntegerEditMaxDays, 10, 1, 99},   {f->IntegerEditCustomerLimit, 10, 1, 99},
        {f->IntegerEditTax, 0, 0, 100},       {f->IntegerEditVIP, 0, 0, 100},
        {f->IntegerEditAmountOff, 0, 0, 99},  {f->IntegerEditLoyalOff, 0, 0, 99},
    };
    for (const auto &e : edits) {
        QCOMPARE(e.edit->Value(), e.value);
        QCOMPARE(e.edit->Min(), e.min);
        QCOMPARE(e.edit->Max(), e.max);
    }
    QCOMPARE(f->ColorComboBoxLent->ColorValue(), QColor(128, 128, 128));
    QCOMPARE(f->ColorComboBoxDelayed->ColorValue(), QColor(255, 0, 0));
    QVERIFY(f->ButtonOk->isEnabled());
    QVERIFY(!f->ButtonOk->isDefault());
    QVERIFY(!f->ButtonDateDelete->isEnabled());
    QVERIFY(!f->ColorComboBoxLent->isEnabled());
    QVERIFY(!f->ColorComboBoxDelayed->isEnabled());

    // The first save writes every key with its designed value, and no list section.
    f->FormStorage.Save();
    IniFile ini(FormStateFileName());
    QVERIFY(ini.load());
    QCOMPARE(ini.readString("SetupVideo", "FormVersion", {}), QString("0"));
    for (const auto &[key, value] : DefaultTexts)
        QCOMPARE(ini.readString("SetupVideo", key, "<missing>"), value);
    QVERIFY(!ini.hasSection("SetupVideo.ListBoxDate_Items"));
}

void TestSetupVideo::storedPropertiesRoundTrip()
{
    QVERIFY(WriteFormStateFile(SectionText(OtherTexts)
                               + DateList({"24.12.2026", "1.1.2027"})));
    m_form->RestoreStoredValues();
    TFormSetupVideo *f = m_form.get();
    QCOMPARE(Lines(f->ListBoxDate), QStringList({"24.12.2026", "1.1.2027"}));
    QVERIFY(f->CheckBoxMo->isChecked());
    QVERIFY(!f->CheckBoxTu->isChecked());
    QVERIFY(f->CheckBoxWe->isChecked());
    QVERIFY(f->CheckBoxSu->isChecked());
    QCOMPARE(f->IntegerEditMaxDays->Value(), 14);
    QCOMPARE(f->IntegerEditCustomerLimit->Value(), 3);
    QCOMPARE(f->IntegerEditTax->Value(), 21);
    QCOMPARE(f->IntegerEditAmountOff->Value(), 5);
    QCOMPARE(f->IntegerEditLoyalOff->Value(), 10);
    QCOMPARE(f->IntegerEditVIP->Value(), 15);
    QCOMPARE(f->ColorComboBoxLent->ColorValue(), QColor(0, 0, 255));
    QCOMPARE(f->ColorComboBoxDelayed->ColorValue(), QColor(0, 255, 0));
    for (QCheckBox *box : {f->CheckBoxLendInformation, f->CheckBoxColor, f->CheckBoxInclude, f->CheckBoxEan,
                           f->CheckBoxCash, f->CheckBoxVerifyBirth, f->CheckBoxVerifyIdentity})
        QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
    QVERIFY(f->ColorComboBoxLent->isEnabled());
    QVERIFY(f->ButtonDateDelete->isEnabled());

    // Saved again, the file holds the same values (Booleans in their own spelling).
    QFile::remove(FormStateFileName());
    f->FormStorage.Save();
    IniFile ini(FormStateFileName());
    QVERIFY(ini.load());
    for (const auto &[key, value] : OtherTexts) {
        const QString expected = value.compare("true", Qt::CaseInsensitive) == 0 ? "True" : value;
        QCOMPARE(ini.readString("SetupVideo", key, "<missing>"), expected);
    }
    QCOMPARE(ini.readString("SetupVideo.ListBoxDate_Items", "Item1", {}), QString("1.1.2027"));

    // A colour that is not one of the picker's named colours survives as well.
    QVERIFY(WriteFormStateFile(SectionText({{"ColorComboBoxLent_ColorValue", "1193046"}})));
    f->RestoreStoredValues();
    QCOMPARE(f->ColorComboBoxLent->ColorValue(), QColor(0x56, 0x34, 0x12));
}

void TestSetupVideo::storedIntegersOutOfRange()
{
    // Shown as stored, clamped when read; letters read as 0 and then as the minimum.
    QVERIFY(WriteFormStateFile(SectionText({{"IntegerEditMaxDays_Value", "dva"}, {"IntegerEditTax_Value", "500"}})));
    m_form->RestoreStoredValues();
    QCOMPARE(m_form->IntegerEditTax->text(), QString("500"));
    QCOMPARE(m_form->IntegerEditTax->Value(), 100);
    QCOMPARE(m_form->IntegerEditMaxDays->Value(), 1);
}

void TestSetupVideo::testDate_data()
{
    QTest::addColumn<QList<int>>("closedDays");
    QTest::addColumn<QStringList>("closedDates");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<bool>("open");

    const QDateTime monday(QDate(2026, 3, 2), QTime(0, 0));
    const QDateTime sunday(QDate(2026, 3, 8), QTime(18, 30));
    QTest::newRow("nothing closed") << QList<int>{} << QStringList{} << monday << true;
    QTest::newRow("closed weekday") << QList<int>{1} << QStringList{} << monday << false;
    QTest::newRow("other weekday closed") << QList<int>{2, 3, 4, 5, 6, 7} << QStringList{} << monday << true;
    QTest::newRow("Sunday at evening") << QList<int>{7} << QStringList{} << sunday << false;
    QTest::newRow("closed date") << QList<int>{} << QStringList{"1.3.2026", "2.3.2026"} << monday << false;
    QTest::newRow("date with time of day")
        << QList<int>{} << QStringList{"8.3.2026"} << sunday << false;
    QTest::newRow("closed weekday and date") << QList<int>{1} << QStringList{"2.3.2026"} << monday << false;
    QTest::newRow("other format never matches")
        << QList<int>{} << QStringList{"02.03.2026", "2026-03-02", "2.3.26", "2.3.2026 "} << monday << true;
    QTest::newRow("no partial match") << QList<int>{} << QStringList{"12.3.2026"} << monday << true;
}

void TestSetupVideo::testDate()
{
    QFETCH(QList<int>, closedDays);
    QFETCH(QStringList, closedDates);
    QFETCH(QDateTime, moment);
    QFETCH(bool, open);
    for (int day : closedDays)
        DayBox(m_form.get(), day)->setChecked(true);
    m_form->ListBoxDate->addItems(closedDates);
    QCOMPARE(m_form->TestDate(moment), open);
    QCOMPARE(m_form->TestDate(moment.date()), open);
}

void TestSetupVideo::testDateIgnoresLocale()
{
    // A date added under one locale stays closed under another.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_form->DateTimePickerDate->setDate(QDate(2026, 12, 24));
    m_form->ButtonDateAddClick();
    QCOMPARE(Lines(m_form->ListBoxDate), QStringList({"24.12.2026"}));
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QVERIFY(!m_form->TestDate(QDate(2026, 12, 24)));
    QVERIFY(m_form->TestDate(QDate(2026, 12, 23)));
    QCOMPARE(m_form->DateTimePickerDate->displayFormat(), QString("d.M.yyyy"));
}

void TestSetupVideo::sevenClosedWeekdaysOpenAndMend()
{
    QList<std::pair<QString, QString>> allClosed;
    for (const char *day : {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"})
        allClosed.append({QString("CheckBox%1_Checked").arg(day), "True"});
    QVERIFY(WriteFormStateFile(SectionText(allClosed)));
    m_form->RestoreStoredValues();
    QVERIFY(!m_form->ButtonOk->isEnabled());
    QVERIFY(m_form->ButtonCancel->isEnabled());
    QVERIFY(!m_form->NextOpenDay(RunDate()).isValid()); // returns instead of searching for ever
    {
        ModalAnswers said({ClickButton("ButtonOk")});
        TFormSetupVideo::ReportNoOpenDay();
        QCOMPARE(said.shown().at(0).caption, QString(" Informace"));
        QVERIFY(!said.shown().at(0).text.isEmpty());
    }

    // Opened, the dialog shows Ok disabled; unticking one day enables it and Ok stores it.
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupVideo *>(dialog);
            QVERIFY(!form->ButtonOk->isEnabled());
            form->CheckBoxSu->click();
            QVERIFY(form->ButtonOk->isEnabled());
            form->CheckBoxSa->click();
            QVERIFY(form->ButtonOk->isEnabled());
            form->CheckBoxSa->click();
            QVERIFY(form->ButtonOk->isEnabled());
        },
        ClickButton("ButtonOk"))});
    QCOMPARE(ExecModal(m_form.get()), int(QDialog::Accepted));
    TFormSetupVideo again;
    again.RestoreStoredValues();
    QVERIFY(!again.CheckBoxSu->isChecked());
    QVERIFY(again.ButtonOk->isEnabled());
    QCOMPARE(again.NextOpenDay(QDate(2026, 3, 2)), QDate(2026, 3, 8));
}

void TestSetupVideo::nextOpenDay_data()
{
    QTest::addColumn<QList<int>>("closedDays");
    QTest::addColumn<QStringList>("closedDates");
    QTest::addColumn<QDate>("expected");

    // From Monday 2 March 2026.
    QTest::newRow("tomorrow") << QList<int>{} << QStringList{} << QDate(2026, 3, 3);
    QTest::newRow("weekend skipped") << QList<int>{2, 3, 4, 5, 6} << QStringList{} << QDate(2026, 3, 8);
    // Only Sundays open, and the next three Sundays closed by date.
    QTest::newRow("closed dates on the only open weekday")
        << QList<int>{1, 2, 3, 4, 5, 6} << QStringList{"8.3.2026", "15.3.2026", "22.3.2026"}
        << QDate(2026, 3, 29);
    QTest::newRow("all weekdays closed") << QList<int>{1, 2, 3, 4, 5, 6, 7} << QStringList{"3.3.2026"}
                                         << QDate();
}

void TestSetupVideo::nextOpenDay()
{
    QFETCH(QList<int>, closedDays);
    QFETCH(QStringList, closedDates);
    QFETCH(QDate, expected);
    for (int day : closedDays)
        DayBox(m_form.get(), day)->setChecked(true);
    m_form->ListBoxDate->addItems(closedDates);
    QCOMPARE(m_form->NextOpenDay(QDate(2026, 3, 2)), expected);
}

void TestSetupVideo::addAndDeleteDates()
{
    TFormSetupVideo *f = m_form.get();
    const auto add = [f](const QDate &date) {
        f->DateTimePickerDate->setDate(date);
        f->ButtonDateAdd->click();
    };
    add(QDate(2026, 12, 24));
    QVERIFY(f->ButtonDateDelete->isEnabled());
    add(QDate(2026, 1, 1)); // appended, not sorted
    add(QDate(2026, 12, 31));
    QCOMPARE(Lines(f->ListBoxDate), QStringList({"24.12.2026", "1.1.2026", "31.12.2026"}));
    QCOMPARE(f->ListBoxDate->currentRow(), 2);

    // A date already there changes nothing, not even the selection.
    f->ListBoxDate->setCurrentRow(0);
    add(QDate(2026, 1, 1));
    QCOMPARE(f->ListBoxDate->count(), 3);
    QCOMPARE(f->ListBoxDate->currentRow(), 0);

    // Deleting the middle line selects the one that moved up; the last, the new last.
    f->ListBoxDate->setCurrentRow(1);
    f->ButtonDateDelete->click();
    QCOMPARE(Lines(f->ListBoxDate), QStringList({"24.12.2026", "31.12.2026"}));
    QCOMPARE(f->ListBoxDate->currentRow(), 1);
    f->ButtonDateDelete->click();
    QCOMPARE(Lines(f->ListBoxDate), QStringList({"24.12.2026"}));
    QCOMPARE(f->ListBoxDate->currentRow(), 0);
    f->ButtonDateDelete->click();
    QCOMPARE(f->ListBoxDate->count(), 0);
    QVERIFY(!f->ButtonDateDelete->isEnabled());
}

void TestSetupVideo::colourPickersFollowTheirBox()
{
    m_form->CheckBoxColor->click();
    QVERIFY(m_form->ColorComboBoxLent->isEnabled());
    QVERIFY(m_form->ColorComboBoxDelayed->isEnabled());
    m_form->CheckBoxColor->click();
    QVERIFY(!m_form->ColorComboBoxLent->isEnabled());
    // Also when the tick comes from the file.
    QVERIFY(WriteFormStateFile(SectionText({{"CheckBoxColor_Checked", "True"}})));
    m_form->RestoreStoredValues();
    QVERIFY(m_form->ColorComboBoxDelayed->isEnabled());
}

void TestSetupVideo::activationSetsPickerAndSelection()
{
    QVERIFY(WriteFormStateFile(SectionText({})
                               + DateList({"24.12.2026", "1.1.2027"})));
    m_form->RestoreStoredValues();
    m_form->DateTimePickerDate->setDate(QDate(2000, 1, 1));
    m_form->ListBoxDate->setCurrentRow(1);
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupVideo *>(dialog);
            QCOMPARE(form->DateTimePickerDate->date(), RunDate());
            QCOMPARE(form->ListBoxDate->currentRow(), 0);
            QVERIFY(form->ButtonDateDelete->isEnabled());
        },
        ClickButton("ButtonOk"))});
    ExecModal(m_form.get());
}

void TestSetupVideo::closingKeepsOrRestores_data()
{
    QTest::addColumn<Answer>("close");
    QTest::addColumn<bool>("keepsEdits");
    QTest::newRow("Ok") << ClickButton("ButtonOk") << true;
    QTest::newRow("close box") << CloseBox() << true;
    QTest::newRow("Storno") << ClickButton("ButtonCancel") << false;
    QTest::newRow("Escape") << PressKey(Qt::Key_Escape) << false;
}

void TestSetupVideo::closingKeepsOrRestores()
{
    QFETCH(Answer, close);
    QFETCH(bool, keepsEdits);
    QVERIFY(WriteFormStateFile(SectionText({{"IntegerEditMaxDays_Value", "7"}, {"CheckBoxFr_Checked", "True"}})
                               + DateList({"24.12.2026"})));
    m_form->RestoreStoredValues();
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupVideo *>(dialog);
            form->IntegerEditMaxDays->SetValue(20);
            form->CheckBoxFr->click();
            form->ListBoxDate->setCurrentRow(0);
            form->ButtonDateDelete->click();
            form->DateTimePickerDate->setDate(QDate(2026, 5, 1));
            form->ButtonDateAdd->click();
        },
        close)});
    ExecModal(m_form.get());
    QVERIFY(!m_form->isVisible());

    const QStringList dates = keepsEdits ? QStringList{"1.5.2026"} : QStringList{"24.12.2026"};
    for (TFormSetupVideo *form : {m_form.get(), new TFormSetupVideo}) {
        if (form != m_form.get())
            form->RestoreStoredValues(); // what the file now holds
        QCOMPARE(form->IntegerEditMaxDays->Value(), keepsEdits ? 20 : 7);
        QCOMPARE(form->CheckBoxFr->isChecked(), !keepsEdits);
        QCOMPARE(Lines(form->ListBoxDate), dates);
        if (form != m_form.get())
            delete form;
    }
}

void TestSetupVideo::cancelKeepsDateAddedToEmptyList()
{
    // An empty list leaves nothing in the file, and nothing in the file leaves the list as
    // it is: Storno does not take back a date added to a list stored empty.
    m_form->RestoreStoredValues();
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupVideo *>(dialog);
            form->DateTimePickerDate->setDate(QDate(2026, 5, 8));
            form->ButtonDateAdd->click();
        },
        ClickButton("ButtonCancel"))});
    ExecModal(m_form.get());
    QCOMPARE(Lines(m_form->ListBoxDate), QStringList({"8.5.2026"}));
}

void TestSetupVideo::stornoOnFirstRunUndoes()
{
    // No file yet: Storno goes back to the designed values all the same.
    m_form->RestoreStoredValues();
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupVideo *>(dialog);
            form->CheckBoxSa->click();
            form->IntegerEditVIP->SetValue(30);
        },
        ClickButton("ButtonCancel"))});
    ExecModal(m_form.get());
    QVERIFY(!m_form->CheckBoxSa->isChecked());
    QCOMPARE(m_form->IntegerEditVIP->Value(), 0);
}

void TestSetupVideo::enterInDateGroupAddsAndDoesNotClose()
{
    m_form->RestoreStoredValues();
    ModalAnswers answers({Fill(
        [](QDialog *dialog) {
            auto *form = static_cast<TFormSetupVideo *>(dialog);
            QApplication::setActiveWindow(form);
            form->DateTimePickerDate->setFocus();
            QVERIFY(form->ButtonDateAdd->isDefault());
            form->DateTimePickerDate->setDate(QDate(2026, 7, 6));
            QTest::keyClick(form->DateTimePickerDate, Qt::Key_Return);
            QVERIFY(form->isVisible());
            QCOMPARE(Lines(form->ListBoxDate), QStringList({"6.7.2026"}));

            // Outside the group Enter does nothing at all.
            form->IntegerEditTax->setFocus();
            QVERIFY(!form->ButtonDateAdd->isDefault());
            QTest::keyClick(form->IntegerEditTax, Qt::Key_Return);
            QVERIFY(form->isVisible());
            QCOMPARE(form->ListBoxDate->count(), 1);
        },
        ClickButton("ButtonOk"))});
    ExecModal(m_form.get());
}

void TestSetupVideo::providersReadTheControls()
{
    QCOMPARE(CurrentGridColors().lent, QColor(128, 128, 128));
    QCOMPARE(CurrentGridColors().delayed, QColor(255, 0, 0));
    m_form->ColorComboBoxLent->SetColorValue(QColor(0, 0, 128));
    QCOMPARE(CurrentGridColors().lent, QColor(0, 0, 128));

    QVERIFY(!BarcodeSettingOn());
    m_form->CheckBoxEan->setChecked(true);
    QVERIFY(BarcodeSettingOn());
    m_form.reset();
    QVERIFY(!BarcodeSettingOn());
}

QTEST_MAIN(TestSetupVideo)
#include "tst_setupvideo.moc"
