#include "catalogue/UVideoNew.h"

#include "catalogue/CatalogueRules.h"
#include "core/DialogButton.h"
#include "core/RunReported.h"
#include "core/controls/CurrencyEdit.h"
#include "core/controls/Int64Edit.h"
#include "core/database/Lookups.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormVideoNew::TFormVideoNew(QWidget *parent)
    : TFormVideo(QStringLiteral("FormVideoNew"), QStringLiteral(" Nové video"), "CurrencyEditPrice", parent)
{
    CurrencyEditPrice = PriceEdit();
    LabelVideoProhibition = AddNumberWarning("LabelVideoProhibition", QStringLiteral("Nepovolený kód..."));
    LabelVideoExist = AddNumberWarning("LabelVideoExist", QStringLiteral("Kód již v databázi existuje..."));
    AddDialogButtons(this, MainLayout(), true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    Image->setPixmap(style()->standardIcon(QStyle::SP_FileDialogNewFolder).pixmap(32, 32));
    const QList<QWidget *> chain{Int64EditVideo,       EditTitle,         ComboBoxMedium, SpeedButtonMedium,
                                 ComboBoxDirection,    SpeedButtonDirection, CurrencyEditPrice, ButtonOk,
                                 ButtonCancel};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    connect(Int64EditVideo, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    connect(ComboBoxMedium, &QComboBox::currentIndexChanged, this, [this] { EditsChange(); });
    Int64EditVideo->setFocus();
    setFixedSize(sizeHint());
}

void TFormVideoNew::FormActivate()
{
    EditsChange();
}

void TFormVideoNew::EditsChange()
{
    RunReported([this] {
        const NewNumberWarnings w = CheckNewNumber(Int64EditVideo->Value(), VideoExists);
        LabelVideoProhibition->setVisible(w.prohibition);
        LabelVideoExist->setVisible(w.exist);
        ButtonOk->setEnabled(!w.prohibition && !w.exist);
    });
}
