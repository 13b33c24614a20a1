#pragma once
#include "core/StoredDialog.h"
#include "core/controls/IntegerEdit.h"

#include <QColor>
#include <QComboBox>
#include <QDate>
#include <QDateTime>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QListWidget;
class QPushButton;

// A picker of the named colours, shown as swatches without their names. A colour that is
// not one of them (read from the file) is added as a swatch of its own.
class TColorComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QColor colorValue READ ColorValue WRITE SetColorValue)
public:
    explicit TColorComboBox(QWidget *parent = nullptr);
    QColor ColorValue() const;
    void SetColorValue(const QColor &colour);
};

// The rental settings dialog " Půjčovna": created once at start-up, its stored values
// restored from section "SetupVideo", kept for the whole run. Its controls are the
// settings: the rest of the program reads each one from its control when it needs it.
class TFormSetupVideo : public TStoredDialog {
    Q_OBJECT
public:
    explicit TFormSetupVideo(QWidget *parent = nullptr);
    ~TFormSetupVideo() override;
    // Reads the stored values of section "SetupVideo" into the controls.
    void RestoreStoredValues();

    // True when the shop is open on that day: its weekday is not closed and its
    // "d.M.yyyy" text is not in the list of closed dates. The time of day plays no part.
    bool TestDate(const QDate &date) const;
    bool TestDate(const QDateTime &moment) const { return TestDate(moment.date()); }

    // How many days a search for an open day may look ahead: within 7 × (closed dates + 1)
    // days every open weekday comes round more often than the closed dates can block it.
    int OpenDaySearchLimit() const;
    // The first open day after `after`, or an invalid date when none follows (all seven
    // weekdays closed), so that no search for an open day can run on for ever.
    QDate NextOpenDay(const QDate &after) const;
    // The information window that says no open day follows.
    static void ReportNoOpenDay();

    // Handlers.
    void FormActivate();
    void SetListBoxDateButtons();
    void GroupBoxEnterExit();
    void ButtonDateAddClick();
    void ButtonDateDeleteClick();
    void CheckBoxDaysOfWeekClick();
    void CheckBoxColorClick();

    // The closed days.
    QGroupBox *GroupBoxDate = nullptr;
    QListWidget *ListBoxDate = nullptr;
    QCheckBox *CheckBoxMo = nullptr;
    QCheckBox *CheckBoxTu = nullptr;
    QCheckBox *CheckBoxWe = nullptr;
    QCheckBox *CheckBoxTh = nullptr;
    QCheckBox *CheckBoxFr = nullptr;
    QCheckBox *CheckBoxSa = nullptr;
    QCheckBox *CheckBoxSu = nullptr;
    QDateEdit *DateTimePickerDate = nullptr;
    QPushButton *ButtonDateAdd = nullptr;
    QPushButton *ButtonDateDelete = nullptr;

    TIntegerEdit *IntegerEditMaxDays = nullptr;
    TIntegerEdit *IntegerEditCustomerLimit = nullptr;
    QCheckBox *CheckBoxLendInformation = nullptr;
    QCheckBox *CheckBoxColor = nullptr;
    TColorComboBox *ColorComboBoxLent = nullptr;
    TColorComboBox *ColorComboBoxDelayed = nullptr;
    TIntegerEdit *IntegerEditTax = nullptr;
    TIntegerEdit *IntegerEditAmountOff = nullptr;
    TIntegerEdit *IntegerEditLoyalOff = nullptr;
    TIntegerEdit *IntegerEditVIP = nullptr;
    QCheckBox *CheckBoxInclude = nullptr;
    QCheckBox *CheckBoxEan = nullptr;
    QCheckBox *CheckBoxCash = nullptr;
    QCheckBox *CheckBoxVerifyBirth = nullptr;
    QCheckBox *CheckBoxVerifyIdentity = nullptr;

protected:
    void Shown() override { FormActivate(); }

private:
    QCheckBox *dayBox(int isoDay) const;
    bool listHas(const QString &text) const;
};

extern TFormSetupVideo *FormSetupVideo;
