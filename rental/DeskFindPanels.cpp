#include "rental/DeskFindPanels.h"

#include "catalogue/FindProposals.h"
#include "core/Desk.h"
#include "core/DeskLists.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/database/BrowseQuery.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

// A control of the desk's panel, its name made of `before`, the desk and `after`.
template <class T> T *DeskControl(QWidget *parent, const char *before, const QString &desk, const char *after)
{
    const QByteArray name = QByteArray(before) + desk.toLatin1() + QByteArray(after);
    return Named<T>(parent, name.constData());
}

// A titled group of a find panel, its controls in a grid.
QGroupBox *FindGroup(QWidget *page, const QString &desk, const char *what, const QString &title)
{
    auto *group = DeskControl<QGroupBox>(page, "Panel", desk, what);
    group->setTitle(title);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    return group;
}

TInt64Edit *NumberBox(QGroupBox *group, const QString &desk, const char *what)
{
    auto *box = DeskControl<TInt64Edit>(group, "Int64Edit", desk, what);
    box->SetMax(TInt64Edit::HighestNumber);
    box->SetValue(0);
    box->setFixedWidth(120);
    return box;
}

TFindComboBox *TextBox(QGroupBox *group, const QString &desk, const char *what)
{
    auto *box = DeskControl<TFindComboBox>(group, "ComboBox", desk, what);
    box->SetMaxTyped(32);
    return box;
}

// The caption of a control, beside it in the same parent.
QLabel *Caption(const QString &text, QWidget *control)
{
    auto *label = new QLabel(text, control->parentWidget());
    label->setBuddy(control);
    return label;
}

void OpenCustomerSearch(QObject *sender)
{
    RunReported([sender] {
        if (TCustomerList *customers = MainCustomers())
            customers->ActionCustomerFindExecute(sender);
    });
}

} // namespace

CustomerFindPanel CreateCustomerFindPanel(QWidget *page, const QString &desk, std::function<void()> numberChanged,
                                          std::function<void()> nameChanged)
{
    CustomerFindPanel panel;
    panel.group = FindGroup(page, desk, "CustomerFind", QStringLiteral("Zákazník"));
    panel.number = NumberBox(panel.group, desk, "Customer");
    panel.name = TextBox(panel.group, desk, "Name");
    auto text = [&](const char *what) {
        auto *label = DeskControl<QLabel>(panel.group, "DBText", desk, what);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    panel.birth = text("CustomerBirth");
    panel.address = text("CustomerAddress");
    panel.text = text("CustomerText");

    auto *grid = static_cast<QGridLayout *>(panel.group->layout());
    grid->addWidget(Caption(QStringLiteral("Kód:"), panel.number), 0, 0);
    grid->addWidget(panel.number, 0, 1);
    grid->addWidget(Caption(QStringLiteral("Jméno:"), panel.name), 0, 2);
    grid->addWidget(panel.name, 0, 3, 1, 3);
    grid->addWidget(Caption(QStringLiteral("RČ:"), panel.birth), 1, 0);
    grid->addWidget(panel.birth, 1, 1);
    grid->addWidget(Caption(QStringLiteral("Adresa:"), panel.address), 1, 2);
    grid->addWidget(panel.address, 1, 3);
    grid->addWidget(Caption(QStringLiteral("Text:"), panel.text), 1, 4);
    grid->addWidget(panel.text, 1, 5);
    grid->setColumnStretch(3, 3);
    grid->setColumnStretch(5, 2);

    TInt64Edit *number = panel.number;
    MakeNumberFindBox(number, std::move(numberChanged), [number] { OpenCustomerSearch(number); });
    ProposeCustomerNames(panel.name);
    panel.name->OnChange = std::move(nameChanged);
    TFindComboBox *name = panel.name;
    QObject::connect(name, &TFindComboBox::DblClick, name, [name] { OpenCustomerSearch(name); });
    return panel;
}

void ShowCustomerTexts(const CustomerFindPanel &panel, const BrowseQuery *customers, bool shown)
{
    shown = shown && customers && customers->currentRow() >= 0;
    const std::pair<QLabel *, const char *> texts[] = {
        {panel.birth, "RC"}, {panel.address, "ADRESA1"}, {panel.text, "TEXT"}};
    for (const auto &[label, field] : texts)
        label->setText(shown ? customers->value(QLatin1String(field)).toString() : QString());
}

VideoFindPanel CreateVideoFindPanel(QWidget *page, const QString &desk)
{
    VideoFindPanel panel;
    panel.group = FindGroup(page, desk, "VideoFind", QStringLiteral("Video"));
    panel.number = NumberBox(panel.group, desk, "Video");
    panel.title = TextBox(panel.group, desk, "Title");
    auto *grid = static_cast<QGridLayout *>(panel.group->layout());
    grid->addWidget(Caption(QStringLiteral("Kód:"), panel.number), 0, 0);
    grid->addWidget(panel.number, 0, 1, Qt::AlignLeft);
    grid->addWidget(Caption(QStringLiteral("Titul:"), panel.title), 1, 0);
    grid->addWidget(panel.title, 1, 1);
    grid->setColumnStretch(1, 1);
    return panel;
}
