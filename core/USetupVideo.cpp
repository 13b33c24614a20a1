#include "core/USetupVideo.h"

#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/Messages.h"
#include "core/RunGlobals.h"
#include "core/Texts.h"
#include "core/Utils.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

TFormSetupVideo *FormSetupVideo = nullptr;

namespace {

// The dialog whose colours and barcode box the grids and the number controls read.
QPointer<TFormSetupVideo> &SettingsOwner()
{
    static QPointer<TFormSetupVideo> owner;
    return owner;
}

// The named colours of the picker.
const QList<QColor> &NamedColours()
{
    static const QList<QColor> colours = {
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),     QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128),   QColor(128, 128, 128),
        QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),     QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255),   QColor(255, 255, 255),
    };
    return colours;
}

QIcon Swatch(const QColor &colour)
{
    QPixmap pixmap(32, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

TIntegerEdit *NamedIntegerEdit(QWidget *parent, const char *name, qint32 min, qint32 max,
                               qint32 initial)
{
    auto *edit = Named<TIntegerEdit>(parent, name);
    edit->SetMax(max); // Max before Min: with Max 0 only a Min of 0 or less is taken
    edit->SetMin(min);
    edit->SetValue(initial);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(48);
    return edit;
}

QGroupBox *Group(QWidget *parent, const char *name, const QString &caption)
{
    auto *group = Named<QGroupBox>(parent, name);
    group->setTitle(caption);
    return group;
}

// One row of a group: label, number edit, unit.
QGroupBox *NumberGroup(QWidget *parent, const char *name, const QString &caption,
                       const QString &label, TIntegerEdit *edit, const QString &unit)
{
    QGroupBox *group = Group(parent, name, caption);
    auto *row = new QHBoxLayout(group);
    row->addWidget(new QLabel(label, group));
    edit->setParent(group);
    row->addWidget(edit);
    row->addWidget(new QLabel(unit, group));
    row->addStretch(1);
    return group;
}

QGroupBox *CheckGroup(QWidget *parent, const char *name, const QString &caption,
                      std::initializer_list<QCheckBox *> boxes)
{
    QGroupBox *group = Group(parent, name, caption);
    auto *column = new QVBoxLayout(group);
    for (QCheckBox *box : boxes) {
        box->setParent(group);
        column->addWidget(box);
    }
    return group;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TColorComboBox

TColorComboBox::TColorComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setIconSize(QSize(32, 12));
    for (const QColor &colour : NamedColours())
        addItem(Swatch(colour), QString(), colour);
}

QColor TColorComboBox::ColorValue() const
{
    return currentData().value<QColor>();
}

void TColorComboBox::SetColorValue(const QColor &colour)
{
    const QColor plain = colour.toRgb();
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).value<QColor>().rgb() == plain.rgb()) {
            setCurrentIndex(i);
            return;
        }
    }
    addItem(Swatch(plain), QString(), plain);
    setCurrentIndex(count() - 1);
}

// ---------------------------------------------------------------------------------------
// TFormSetupVideo

TFormSetupVideo::TFormSetupVideo(QWidget *parent)
    : TStoredDialog(QStringLiteral("SetupVideo"),
                    {QStringLiteral("ListBoxDate.Items"),
                     QStringLiteral("CheckBoxMo.Checked"),
                     QStringLiteral("CheckBoxTu.Checked"),
                     QStringLiteral("CheckBoxWe.Checked"),
                     QStringLiteral("CheckBoxTh.Checked"),
                     QStringLiteral("CheckBoxFr.Checked"),
                     QStringLiteral("CheckBoxSa.Checked"),
                     QStringLiteral("CheckBoxSu.Checked"),
                     QStringLiteral("IntegerEditMaxDays.Value"),
                     QStringLiteral("IntegerEditCustomerLimit.Value"),
                     QStringLiteral("CheckBoxLendInformation.Checked"),
                     QStringLiteral("CheckBoxColor.Checked"),
                     QStringLiteral("ColorComboBoxLent.ColorValue"),
                     QStringLiteral("ColorComboBoxDelayed.ColorValue"),
                     QStringLiteral("IntegerEditTax.Value"),
                     QStringLiteral("IntegerEditAmountOff.Value"),
                     QStringLiteral("IntegerEditLoyalOff.Value"),
                     QStringLiteral("IntegerEditVIP.Value"),
                     QStringLiteral("CheckBoxInclude.Checked"),
                     QStringLiteral("CheckBoxEan.Checked"),
                     QStringLiteral("CheckBoxCash.Checked"),
                     QStringLiteral("CheckBoxVerifyBirth.Checked"),
                     QStringLiteral("CheckBoxVerifyIdentity.Checked")},
                    false, parent)
{
    setObjectName(QStringLiteral("FormSetupVideo"));
    setWindowTitle(QStringLiteral(" Půjčovna"));
    auto *layout = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    layout->addLayout(columns);

    // Left: the closed days.
    GroupBoxDate = Group(this, "GroupBoxDate", QStringLiteral("Dny kdy bude půjčovna uzavřena"));
    {
        auto *grid = new QGridLayout(GroupBoxDate);
        grid->addWidget(new QLabel(QStringLiteral("Zavřeno ve dnech:"), GroupBoxDate), 0, 0);
        ListBoxDate = Named<QListWidget>(GroupBoxDate, "ListBoxDate");
        grid->addWidget(ListBoxDate, 1, 0);
        auto *days = new QVBoxLayout;
        const std::pair<QCheckBox **, std::pair<const char *, QString>> weekdays[] = {
            {&CheckBoxMo, {"CheckBoxMo", QStringLiteral("Pondělí")}},
            {&CheckBoxTu, {"CheckBoxTu", QStringLiteral("Úterý")}},
            {&CheckBoxWe, {"CheckBoxWe", QStringLiteral("Středa")}},
            {&CheckBoxTh, {"CheckBoxTh", QStringLiteral("Čtvrtek")}},
            {&CheckBoxFr, {"CheckBoxFr", QStringLiteral("Pátek")}},
            {&CheckBoxSa, {"CheckBoxSa", QStringLiteral("Sobota")}},
            {&CheckBoxSu, {"CheckBoxSu", QStringLiteral("Neděle")}},
        };
        for (const auto &[box, names] : weekdays) {
            *box = Named<QCheckBox>(GroupBoxDate, names.first, names.second);
            days->addWidget(*box);
        }
        days->addStretch(1);
        grid->addLayout(days, 1, 1, 3, 1);
        DateTimePickerDate = Named<QDateEdit>(GroupBoxDate, "DateTimePickerDate");
        DateTimePickerDate->setDisplayFormat(QString::fromLatin1(ShortDateFormat));
        DateTimePickerDate->setCalendarPopup(true);
        grid->addWidget(DateTimePickerDate, 2, 0);
        auto *buttons = new QHBoxLayout;
        // The add button is the group's first button: it is the default while the focus
        // is in the group.
        ButtonDateAdd = Named<QPushButton>(GroupBoxDate, "ButtonDateAdd", QStringLiteral("Přidat"));
        ButtonDateDelete = Named<QPushButton>(GroupBoxDate, "ButtonDateDelete", QStringLiteral("Odebrat"));
        buttons->addWidget(ButtonDateAdd);
        buttons->addWidget(ButtonDateDelete);
        grid->addLayout(buttons, 3, 0);
    }
    columns->addWidget(GroupBoxDate);

    // Right: the other rules.
    auto *right = new QVBoxLayout;
    columns->addLayout(right);

    CheckBoxColor = Named<QCheckBox>(this, "CheckBoxColor", QStringLiteral("Odlišení aktivní"));
    ColorComboBoxLent = Named<TColorComboBox>(this, "ColorComboBoxLent");
    ColorComboBoxLent->SetColorValue(QColor(128, 128, 128));
    ColorComboBoxDelayed = Named<TColorComboBox>(this, "ColorComboBoxDelayed");
    // Red, so that overdue rows stand out on the grids' white background.
    ColorComboBoxDelayed->SetColorValue(QColor(255, 0, 0));
    {
        QGroupBox *group = Group(this, "GroupBoxColor", QStringLiteral("Barevné odlišení"));
        auto *grid = new QGridLayout(group);
        CheckBoxColor->setParent(group);
        ColorComboBoxLent->setParent(group);
        ColorComboBoxDelayed->setParent(group);
        grid->addWidget(CheckBoxColor, 0, 0, 1, 2);
        grid->addWidget(new QLabel(QStringLiteral("Vypůjčené video:"), group), 1, 0);
        grid->addWidget(ColorComboBoxLent, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("Už mělo být vráceno:"), group), 2, 0);
        grid->addWidget(ColorComboBoxDelayed, 2, 1);
        right->addWidget(group);
    }

    IntegerEditTax = NamedIntegerEdit(this, "IntegerEditTax", 0, 100, 0);
    IntegerEditVIP = NamedIntegerEdit(this, "IntegerEditVIP", 0, 100, 0);
    {
        auto *row = new QHBoxLayout;
        row->addWidget(NumberGroup(this, "GroupBoxTax", QStringLiteral("DPH"), QStringLiteral("DPH:"),
                                   IntegerEditTax, QStringLiteral("%")));
        row->addWidget(NumberGroup(this, "GroupBoxVIP", QStringLiteral("VIP sleva"),
                                   QStringLiteral("Sleva:"), IntegerEditVIP, QStringLiteral("%")));
        right->addLayout(row);
    }

    CheckBoxInclude = Named<QCheckBox>(
        this, "CheckBoxInclude", QStringLiteral("Není-li doplatek, nezahrnovat doklad o vrácení do tržeb"));
    right->addWidget(CheckGroup(this, "GroupBoxInclude", QStringLiteral("Zahrnování do tržeb"),
                                {CheckBoxInclude}));
    CheckBoxEan = Named<QCheckBox>(this, "CheckBoxEan", QStringLiteral("Podpora čtečky čárového kódu (EAN8/EAN13)"));
    right->addWidget(CheckGroup(this, "GroupBoxEan", QStringLiteral("Čárový kód"), {CheckBoxEan}));
    CheckBoxLendInformation =
        Named<QCheckBox>(this, "CheckBoxLendInformation", QStringLiteral("Informovat o vypůjčeném videu"));
    right->addWidget(CheckGroup(this, "GroupBoxLend", QStringLiteral("Ovládání půjčení a vracení"),
                                {CheckBoxLendInformation}));

    IntegerEditMaxDays = NamedIntegerEdit(this, "IntegerEditMaxDays", 1, 99, 10);
    IntegerEditCustomerLimit = NamedIntegerEdit(this, "IntegerEditCustomerLimit", 1, 99, 10);
    {
        QGroupBox *group = Group(this, "GroupBoxLimit", QStringLiteral("Omezení půjčování"));
        auto *grid = new QGridLayout(group);
        IntegerEditMaxDays->setParent(group);
        IntegerEditCustomerLimit->setParent(group);
        grid->addWidget(new QLabel(QStringLiteral("Pujčovat maximálně na:"), group), 0, 0);
        grid->addWidget(IntegerEditMaxDays, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("dny"), group), 0, 2);
        grid->addWidget(new QLabel(QStringLiteral("Nejvíce lze půjčit zákazníkovi:"), group), 1, 0);
        grid->addWidget(IntegerEditCustomerLimit, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("video(a,í)"), group), 1, 2);
        right->addWidget(group);
    }

    IntegerEditAmountOff = NamedIntegerEdit(this, "IntegerEditAmountOff", 0, 99, 0);
    IntegerEditLoyalOff = NamedIntegerEdit(this, "IntegerEditLoyalOff", 0, 99, 0);
    {
        auto *row = new QHBoxLayout;
        row->addWidget(NumberGroup(this, "GroupBoxAmountOff", QStringLiteral("Množstevní sleva"),
                                   QStringLiteral("Každé "), IntegerEditAmountOff,
                                   QStringLiteral("video zdarma")));
        row->addWidget(NumberGroup(this, "GroupBoxLoyalOff", QStringLiteral("Věrnostní sleva"),
                                   QStringLiteral("Každé "), IntegerEditLoyalOff,
                                   QStringLiteral("video zdarma")));
        right->addLayout(row);
    }

    CheckBoxCash = Named<QCheckBox>(this, "CheckBoxCash", QStringLiteral("Pokladna"));
    CheckBoxVerifyBirth = Named<QCheckBox>(this, "CheckBoxVerifyBirth", QStringLiteral("Kontrola RČ"));
    CheckBoxVerifyIdentity = Named<QCheckBox>(this, "CheckBoxVerifyIdentity", QStringLiteral("Kontrola OP"));
    {
        auto *row = new QHBoxLayout;
        row->addWidget(CheckGroup(this, "GroupBoxCash", QStringLiteral("Pokladna"), {CheckBoxCash}));
        row->addWidget(CheckGroup(this, "GroupBoxVerify", QStringLiteral("Kontrola RČ a OP"),
                                  {CheckBoxVerifyBirth, CheckBoxVerifyIdentity}));
        right->addLayout(row);
    }
    right->addStretch(1);

    // Ok is never the default button: Enter must not close the dialog.
    AddButtons(layout, false, [this] { FormStorage.Restore(); });

    connect(ButtonDateAdd, &QPushButton::clicked, this, &TFormSetupVideo::ButtonDateAddClick);
    connect(ButtonDateDelete, &QPushButton::clicked, this, &TFormSetupVideo::ButtonDateDeleteClick);
    // toggled, not clicked: a restore from the file changes the ticks from code, and the
    // enabling must follow it as well (a stored week of seven closed days can be mended).
    for (int day = 1; day <= 7; ++day)
        connect(dayBox(day), &QCheckBox::toggled, this, &TFormSetupVideo::CheckBoxDaysOfWeekClick);
    connect(CheckBoxColor, &QCheckBox::toggled, this, &TFormSetupVideo::CheckBoxColorClick);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(ListBoxDate->model(), signal, this, &TFormSetupVideo::SetListBoxDateButtons);
    connect(ListBoxDate->model(), &QAbstractItemModel::modelReset, this,
            &TFormSetupVideo::SetListBoxDateButtons);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const bool wasIn = old && GroupBoxDate->isAncestorOf(old);
        const bool isIn = now && GroupBoxDate->isAncestorOf(now);
        if (wasIn != isIn)
            GroupBoxEnterExit();
    });

    SetListBoxDateButtons();
    CheckBoxColorClick();
    CheckBoxDaysOfWeekClick();

    SettingsOwner() = this;
    SetGridColorsProvider([] {
        GridColors colours;
        if (TFormSetupVideo *owner = SettingsOwner()) {
            colours.lent = owner->ColorComboBoxLent->ColorValue();
            colours.delayed = owner->ColorComboBoxDelayed->ColorValue();
        }
        return colours;
    });
    SetBarcodeSettingProvider([] {
        TFormSetupVideo *owner = SettingsOwner();
        return owner && owner->CheckBoxEan->isChecked();
    });
}

TFormSetupVideo::~TFormSetupVideo()
{
    if (SettingsOwner() == this) {
        SetGridColorsProvider({});
        SetBarcodeSettingProvider({});
    }
}

void TFormSetupVideo::RestoreStoredValues()
{
    FormStorage.Restore();
    // The enabling follows the restored ticks through their signals; run it once more in
    // case nothing changed.
    SetListBoxDateButtons();
    CheckBoxColorClick();
    CheckBoxDaysOfWeekClick();
}

QCheckBox *TFormSetupVideo::dayBox(int isoDay) const
{
    switch (isoDay) {
    case 1:
        return CheckBoxMo;
    case 2:
        return CheckBoxTu;
    case 3:
        return CheckBoxWe;
    case 4:
        return CheckBoxTh;
    case 5:
        return CheckBoxFr;
    case 6:
        return CheckBoxSa;
    default:
        return CheckBoxSu;
    }
}

bool TFormSetupVideo::listHas(const QString &text) const
{
    for (int i = 0; i < ListBoxDate->count(); ++i)
        if (ListBoxDate->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool TFormSetupVideo::TestDate(const QDate &date) const
{
    if (dayBox(DayOfWeekISO(date))->isChecked())
        return false;
    return !listHas(ShortDateText(date));
}

int TFormSetupVideo::OpenDaySearchLimit() const
{
    return 7 * (ListBoxDate->count() + 1);
}

QDate TFormSetupVideo::NextOpenDay(const QDate &after) const
{
    const int limit = OpenDaySearchLimit();
    for (int step = 1; step <= limit; ++step) {
        const QDate day = after.addDays(step);
        if (TestDate(day))
            return day;
    }
    return QDate();
}

void TFormSetupVideo::ReportNoOpenDay()
{
    ShowInformation(QStringLiteral("Půjčovna nemá otevřeno v žádném dni."),
                    QStringLiteral("V nastavení půjčovny jsou uzavřeny všechny dny v týdnu."));
}

void TFormSetupVideo::FormActivate()
{
    if (ListBoxDate->count() > 0)
        ListBoxDate->setCurrentRow(0);
    DateTimePickerDate->setDate(RunDate());
    SetListBoxDateButtons();
    CheckBoxColorClick();
    CheckBoxDaysOfWeekClick();
}

void TFormSetupVideo::SetListBoxDateButtons()
{
    ButtonDateDelete->setEnabled(ListBoxDate->count() > 0);
}

void TFormSetupVideo::GroupBoxEnterExit()
{
    ToggleDefaultButton(GroupBoxDate);
}

void TFormSetupVideo::ButtonDateAddClick()
{
    const QString text = ShortDateText(DateTimePickerDate->date());
    if (listHas(text))
        return;
    ListBoxDate->addItem(text);
    ListBoxDate->setCurrentRow(ListBoxDate->count() - 1);
    ButtonDateDelete->setEnabled(true);
}

void TFormSetupVideo::ButtonDateDeleteClick()
{
    const int index = ListBoxDate->currentRow();
    if (index < 0 || index >= ListBoxDate->count())
        return; // nothing selected: nothing to delete
    delete ListBoxDate->takeItem(index);
    const int count = ListBoxDate->count();
    if (count > 0)
        ListBoxDate->setCurrentRow(index < count ? index : index - 1);
    else
        ButtonDateDelete->setEnabled(false);
}

void TFormSetupVideo::CheckBoxDaysOfWeekClick()
{
    bool allClosed = true;
    for (int day = 1; day <= 7; ++day)
        allClosed = allClosed && dayBox(day)->isChecked();
    ButtonOk->setEnabled(!allClosed);
}

void TFormSetupVideo::CheckBoxColorClick()
{
    ColorComboBoxLent->setEnabled(CheckBoxColor->isChecked());
    ColorComboBoxDelayed->setEnabled(CheckBoxColor->isChecked());
}
