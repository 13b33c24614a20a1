#include "catalogue/UVideoEdit.h"

#include "catalogue/CatalogueRules.h"
#include "core/DialogButton.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/controls/CurrencyEdit.h"
#include "core/controls/Int64Edit.h"
#include "core/database/Database.h"
#include "core/database/Lookups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormVideoEdit::TFormVideoEdit(QWidget *parent)
    : TFormVideo(QStringLiteral("FormVideoEdit"), QStringLiteral(" Editace videa"), "CurrencyEditCost", parent)
{
    CurrencyEditCost = PriceEdit();
    Int64EditVideo->setReadOnly(true);
    Int64EditVideo->setEnabled(false);
    CheckBoxHistory = Named<QCheckBox>(this, "CheckBoxHistory", QStringLiteral("Vymazat historii"));
    CheckBoxHistory->setStyleSheet(QStringLiteral("color: red;"));
    MainLayout()->addWidget(CheckBoxHistory);
    AddDialogButtons(this, MainLayout(), true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    ButtonOk->setEnabled(false);
    Image->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    const QList<QWidget *> chain{Int64EditVideo,       EditTitle,        ComboBoxMedium,  SpeedButtonMedium,
                                 ComboBoxDirection,    SpeedButtonDirection, CurrencyEditCost, CheckBoxHistory,
                                 ButtonOk,             ButtonCancel};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    connect(EditTitle, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    for (QComboBox *box : {ComboBoxMedium, ComboBoxDirection})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { EditsChange(); });
    connect(CurrencyEditCost, &TCurrencyEdit::valueChanged, this, [this] { EditsChange(); });
    connect(CheckBoxHistory, &QCheckBox::clicked, this, [this] { EditsChange(); });
    EditTitle->setFocus();
    setFixedSize(sizeHint());
}

void TFormVideoEdit::FormActivate()
{
    RunReported([this] {
        const bool editable = IdentityEditable(GetUserRight(UserName(), QStringLiteral("VIDEO_EDITACE")),
                                               VideoIsLent(Int64EditVideo->Value()),
                                               GetUserRight(UserName(), QStringLiteral("SPECIAL")));
        // The controls inside follow the group; the number stays read-only.
        GroupBoxIdentity->setEnabled(editable);
        Int64EditVideo->setEnabled(editable);
        CheckBoxHistory->setEnabled(GetUserRight(UserName(), QStringLiteral("VIDEO_HISTORIE")));
    });
    ButtonOk->setEnabled(false);
}

void TFormVideoEdit::EditsChange()
{
    ButtonOk->setEnabled(true);
}
