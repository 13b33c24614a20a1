#include "rental/URecapitulationLend.h"

#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/controls/RxDBGridEx.h"
#include "rental/LendBasket.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFormRecapitulationLend::TFormRecapitulationLend(TTableLend &basket, const DocumentAmount &amount, bool print,
                                                 bool copy, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormRecapitulationLend"));
    setWindowTitle(QStringLiteral(" Rekapitulace - půjčení"));
    setFixedSize(792, 422);
    new QVBoxLayout(this);
    createActions();
    createGrid(basket);
    createAmount(amount);
    createBoxes(print, copy);
    createButtons();
}

void TFormRecapitulationLend::createActions()
{
    auto action = [this](const char *name, const QString &text, const QList<QKeySequence> &keys) {
        auto *a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        addAction(a);
        return a;
    };
    ActionOriginal = action("ActionOriginal", QStringLiteral("Tisknout doklad [F11]"), {QKeySequence(Qt::Key_F11)});
    ActionCopy = action("ActionCopy", QStringLiteral("Včetně kopie [F12]"), {QKeySequence(Qt::Key_F12)});
    ActionLend = action("ActionLend", QStringLiteral("Půjčit [+]"),
                        {QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), QKeySequence(Qt::Key_Return),
                         QKeySequence(Qt::Key_Enter)});
    connect(ActionOriginal, &QAction::triggered, this, &TFormRecapitulationLend::ActionOriginalExecute);
    connect(ActionCopy, &QAction::triggered, this, &TFormRecapitulationLend::ActionCopyExecute);
    connect(ActionLend, &QAction::triggered, this, &TFormRecapitulationLend::ActionLendExecute);
}

void TFormRecapitulationLend::createGrid(TTableLend &basket)
{
    RxDBGridRecapitulation = Named<TRxDBGridEx>(this, "RxDBGridRecapitulation");
    TRxDBGridEx *grid = RxDBGridRecapitulation;
    grid->setModel(&basket);
    grid->SetRowSelect(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const char *hidden : {"ZDARMA", "PUJCOVNE", "VRATNE"})
        grid->setColumnHidden(basket.fieldIndex(QString::fromLatin1(hidden)), true);
    // The charge stands before the deposit, its title in grey: it is the one column a title
    // click does not sort.
    const int charge = basket.fieldIndex(QStringLiteral("PUJCOVNE_CELKEM"));
    const int deposit = basket.fieldIndex(QStringLiteral("ZALOHA"));
    QHeaderView *header = grid->horizontalHeader();
    header->moveSection(header->visualIndex(charge), header->visualIndex(deposit));
    grid->SetColumnTitleColor(charge, Qt::gray);
    // The widths that fit the window; the title takes what is left.
    const std::pair<const char *, int> widths[] = {{"VIDEO", 110}, {"NOSIC", 100}, {"VRATIT", 90},
                                                   {"DNY", 50}, {"PUJCOVNE_CELKEM", 100}, {"ZALOHA", 100}};
    for (const auto &[field, width] : widths)
        grid->setColumnWidth(basket.fieldIndex(QString::fromLatin1(field)), width);
    header->setSectionResizeMode(basket.fieldIndex(QStringLiteral("TITUL")), QHeaderView::Stretch);
    BindBasketGridSort(grid);
    layout()->addWidget(grid);
}

void TFormRecapitulationLend::createAmount(const DocumentAmount &amount)
{
    LabelRecapitulation = Named<QLabel>(this, "LabelRecapitulation", LendRecapitulationText(amount));
    QFont font(QStringLiteral("Arial Black"), 24);
    font.setBold(true);
    LabelRecapitulation->setFont(font);
    LabelRecapitulation->setAlignment(Qt::AlignCenter);
    LabelRecapitulation->setMinimumHeight(64);
    layout()->addWidget(LabelRecapitulation);
}

void TFormRecapitulationLend::createBoxes(bool print, bool copy)
{
    CheckBoxOriginal = Named<QCheckBox>(this, "CheckBoxOriginal", QStringLiteral("Tisknout doklad [F11]"));
    CheckBoxCopy = Named<QCheckBox>(this, "CheckBoxCopy", QStringLiteral("Včetně kopie [F12]"));
    // On every change of the print box, also one made here: a copy only with the receipt.
    connect(CheckBoxOriginal, &QCheckBox::toggled, this, &TFormRecapitulationLend::CheckBoxOriginalClick);
    // The copy takes the setting after the print box, so with printing off the copy box
    // stays enabled (and unticked, as the settings keep it then).
    CheckBoxOriginal->setChecked(print);
    CheckBoxCopy->setChecked(copy);
    auto *row = new QHBoxLayout;
    row->addWidget(CheckBoxOriginal);
    row->addSpacing(24);
    row->addWidget(CheckBoxCopy);
    row->addStretch();
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void TFormRecapitulationLend::createButtons()
{
    BitBtnLend = new QToolButton(this);
    BitBtnLend->setObjectName(QStringLiteral("BitBtnLend"));
    BitBtnLend->setDefaultAction(ActionLend);
    BitBtnLend->setMinimumSize(110, 28);
    BitBtnClose = Named<QPushButton>(this, "BitBtnClose", QStringLiteral("Zavřít [Esc]"));
    BitBtnClose->setMinimumSize(110, 28);
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(BitBtnLend);
    row->addWidget(BitBtnClose);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void TFormRecapitulationLend::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    BitBtnLend->setFocus();
}

void TFormRecapitulationLend::CheckBoxOriginalClick()
{
    const bool print = CheckBoxOriginal->isChecked();
    CheckBoxCopy->setEnabled(print);
    CheckBoxCopy->setChecked(print);
}

void TFormRecapitulationLend::ActionOriginalExecute()
{
    CheckBoxOriginal->setChecked(!CheckBoxOriginal->isChecked());
}

void TFormRecapitulationLend::ActionCopyExecute()
{
    CheckBoxCopy->setChecked(CheckBoxOriginal->isChecked() && !CheckBoxCopy->isChecked());
}

void TFormRecapitulationLend::ActionLendExecute()
{
    accept();
}
