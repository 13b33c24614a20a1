#include "rental/URecapitulationBack.h"

#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/Database.h"
#include "rental/BackBasket.h"
#include "rental/BackRules.h"
#include "rental/Basket.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

bool Ticked(const QCheckBox *box)
{
    return box && box->isChecked();
}

} // namespace

TFormRecapitulationBack::TFormRecapitulationBack(TTableBack &basket, const BasketTotals &totals,
                                                 const DocumentAmount &amount, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormRecapitulationBack"));
    setWindowTitle(QStringLiteral(" Rekapitulace - vrácení"));
    setFixedSize(792, 422);
    new QVBoxLayout(this);
    createGrid(basket);
    auto *bottom = new QHBoxLayout;
    static_cast<QVBoxLayout *>(layout())->addLayout(bottom);
    createBoxes(bottom);
    createAmount(bottom, amount);
    createButtons(bottom);
    setStartingBoxes(totals);
}

void TFormRecapitulationBack::createGrid(TTableBack &basket)
{
    RxDBGridRecapitulation = Named<TRxDBGridEx>(this, "RxDBGridRecapitulation");
    RxDBGridRecapitulation->setModel(&basket);
    RxDBGridRecapitulation->SetRowSelect(true);
    ShowBasketColumns(RxDBGridRecapitulation, {{QStringLiteral("VIDEO"), 110},
                                               {QStringLiteral("TITUL"), 230},
                                               {QStringLiteral("NOSIC"), 80},
                                               {QStringLiteral("VRATIT"), 80},
                                               {QStringLiteral("PRES"), 50},
                                               {QStringLiteral("VRATNE_CELKEM"), 90},
                                               {QStringLiteral("ZALOHA"), 90}});
    // The late fee is worked out from the other columns: the basket is not sorted by it.
    RxDBGridRecapitulation->SetColumnTitleColor(basket.fieldIndex(QStringLiteral("VRATNE_CELKEM")),
                                                QColor(128, 128, 128));
    BindBasketGridSort(RxDBGridRecapitulation);
    layout()->addWidget(RxDBGridRecapitulation);
}

void TFormRecapitulationBack::createBoxes(QHBoxLayout *bottom)
{
    auto *boxes = new QVBoxLayout;
    CheckBoxInclude = Named<QCheckBox>(this, "CheckBoxInclude", QStringLiteral("Zahrnout do tržeb"));
    CheckBoxInclude->setChecked(true);
    CheckBoxOriginal = Named<QCheckBox>(this, "CheckBoxOriginal", QStringLiteral("Tisknout doklad [F11]"));
    CheckBoxCopy = Named<QCheckBox>(this, "CheckBoxCopy", QStringLiteral("Včetně kopie [F12]"));
    for (QCheckBox *box : {CheckBoxInclude, CheckBoxOriginal, CheckBoxCopy})
        boxes->addWidget(box);
    connect(CheckBoxInclude, &QCheckBox::toggled, this, [this] { CheckBoxIncludeClick(); });
    connect(CheckBoxOriginal, &QCheckBox::toggled, this, [this] { CheckBoxOriginalClick(); });

    auto addKey = [this](const char *name, const QKeySequence &key, void (TFormRecapitulationBack::*handler)()) {
        auto *action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    ActionOriginal = addKey("ActionOriginal", QKeySequence(Qt::Key_F11), &TFormRecapitulationBack::ActionOriginalExecute);
    ActionCopy = addKey("ActionCopy", QKeySequence(Qt::Key_F12), &TFormRecapitulationBack::ActionCopyExecute);
    // Enter presses the default button; the numeric "+" is the action's own.
    ActionBack = addKey("ActionBack", QKeySequence(Qt::KeypadModifier | Qt::Key_Plus),
                        &TFormRecapitulationBack::ActionBackExecute);
    bottom->addLayout(boxes);
}

void TFormRecapitulationBack::createAmount(QHBoxLayout *bottom, const DocumentAmount &amount)
{
    LabelRecapitulation = Named<QLabel>(this, "LabelRecapitulation", BackRecapitulationText(amount));
    QFont large(QStringLiteral("Arial Black"), 22);
    large.setBold(true);
    LabelRecapitulation->setFont(large);
    LabelRecapitulation->setAlignment(Qt::AlignCenter);
    bottom->addWidget(LabelRecapitulation, 1);
}

void TFormRecapitulationBack::createButtons(QHBoxLayout *bottom)
{
    auto *buttons = new QVBoxLayout;
    BitBtnBack = Named<QPushButton>(this, "BitBtnBack", QStringLiteral("Vrátit [+]"));
    BitBtnBack->setDefault(true);
    connect(BitBtnBack, &QPushButton::clicked, this, [this] { ActionBackExecute(); });
    BitBtnClose = Named<QPushButton>(this, "BitBtnClose", QStringLiteral("Zavřít [Esc]"));
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject); // Esc too
    for (QPushButton *b : {BitBtnBack, BitBtnClose}) {
        b->setMinimumSize(120, 32);
        buttons->addWidget(b);
    }
    bottom->addLayout(buttons);
    BitBtnBack->setFocus();
}

void TFormRecapitulationBack::setStartingBoxes(const BasketTotals &totals)
{
    // With the setting on, a return with neither late fee nor deposit stays out of the
    // takings; the extra print setting prints no return receipt at all.
    const bool nothing = totals.payment == 0.0f && totals.deposit == 0.0f;
    const bool include = !(FormSetupVideo && Ticked(FormSetupVideo->CheckBoxInclude) && nothing);
    CheckBoxInclude->setChecked(include);
    const bool print = FormSetupPrint && include && !Ticked(FormSetupPrint->CheckBoxExtra);
    // The original first: its change sets the copy, which then takes its own setting.
    CheckBoxOriginal->setChecked(print && Ticked(FormSetupPrint->CheckBoxOriginal));
    CheckBoxCopy->setChecked(print && Ticked(FormSetupPrint->CheckBoxCopy));
}

void TFormRecapitulationBack::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    BitBtnBack->setFocus();
    RunReported([this] { FormActivate(); });
}

void TFormRecapitulationBack::FormActivate()
{
    CheckBoxInclude->setEnabled(GetUserRight(UserName(), QStringLiteral("ADMIN")));
    CheckBoxIncludeClick();
}

void TFormRecapitulationBack::CheckBoxIncludeClick()
{
    const bool include = CheckBoxInclude->isChecked();
    CheckBoxOriginal->setEnabled(include);
    CheckBoxCopy->setEnabled(include);
    CheckBoxOriginal->setChecked(CheckBoxOriginal->isChecked() && include);
}

void TFormRecapitulationBack::CheckBoxOriginalClick()
{
    const bool original = CheckBoxOriginal->isChecked();
    CheckBoxCopy->setEnabled(original);
    CheckBoxCopy->setChecked(original);
}

void TFormRecapitulationBack::ActionOriginalExecute()
{
    CheckBoxOriginal->setChecked(!CheckBoxOriginal->isChecked() && CheckBoxInclude->isChecked());
}

void TFormRecapitulationBack::ActionCopyExecute()
{
    CheckBoxCopy->setChecked(CheckBoxOriginal->isChecked() && !CheckBoxCopy->isChecked());
}

void TFormRecapitulationBack::ActionBackExecute()
{
    accept();
}
