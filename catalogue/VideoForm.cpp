#include "catalogue/VideoForm.h"

#include "catalogue/ListPage.h"
#include "core/DialogButton.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/controls/CurrencyEdit.h"
#include "core/controls/Int64Edit.h"
#include "core/database/Lookups.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

void choose(QComboBox *box, const QString &name)
{
    box->setCurrentIndex(name.isEmpty() ? -1 : box->findText(name, Qt::MatchFixedString));
}

} // namespace

TFormVideo::TFormVideo(const QString &objectName, const QString &caption, const char *priceName, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    createIdentity(priceName);
}

void TFormVideo::createIdentity(const char *priceName)
{
    const IdentityGroup identity = CreateIdentityGroup(this, QStringLiteral("Identifikace videa"));
    Image = identity.image;
    GroupBoxIdentity = identity.group;
    m_grid = identity.grid;
    Int64EditVideo = Named<TInt64Edit>(GroupBoxIdentity, "Int64EditVideo");
    Int64EditVideo->SetMax(TInt64Edit::HighestNumber);
    EditTitle = Named<QLineEdit>(GroupBoxIdentity, "EditTitle");
    EditTitle->setMaxLength(32);
    ComboBoxMedium = Named<QComboBox>(GroupBoxIdentity, "ComboBoxMedium");
    ComboBoxDirection = Named<QComboBox>(GroupBoxIdentity, "ComboBoxDirection");
    for (QComboBox *box : {ComboBoxMedium, ComboBoxDirection})
        box->setMaxVisibleItems(16);
    SpeedButtonMedium = Named<QPushButton>(GroupBoxIdentity, "SpeedButtonMedium", QStringLiteral("Nosiče..."));
    SpeedButtonDirection = Named<QPushButton>(GroupBoxIdentity, "SpeedButtonDirection", QStringLiteral("Žánry..."));
    m_price = Named<TCurrencyEdit>(GroupBoxIdentity, priceName);
    m_price->SetDisplayFormat(QStringLiteral(",0.00"));
    m_price->setAlignment(Qt::AlignRight);

    const QList<std::tuple<const char *, QWidget *, QWidget *>> rows = {
        {"Kód:", Int64EditVideo, nullptr},
        {"Titul:", EditTitle, nullptr},
        {"Nosič:", ComboBoxMedium, SpeedButtonMedium},
        {"Žánr:", ComboBoxDirection, SpeedButtonDirection},
        {"Cena:", m_price, new QLabel(QStringLiteral("Kč"), GroupBoxIdentity)},
    };
    for (int r = 0; r < rows.size(); ++r) {
        const auto &[text, field, beside] = rows[r];
        auto *caption = new QLabel(QString::fromUtf8(text), GroupBoxIdentity);
        caption->setBuddy(field);
        m_grid->addWidget(caption, r, 0);
        m_grid->addWidget(field, r, 1);
        if (beside)
            m_grid->addWidget(beside, r, 2, Qt::AlignLeft);
    }
    m_grid->setColumnMinimumWidth(1, 240);
    m_grid->setColumnMinimumWidth(2, 180);

    connectCodeBookButton(SpeedButtonMedium, ValmedoAction::Medium, &TFormVideo::SpeedButtonMediumClick);
    connectCodeBookButton(SpeedButtonDirection, ValmedoAction::Direction, &TFormVideo::SpeedButtonDirectionClick);
}

void TFormVideo::connectCodeBookButton(QPushButton *button, ValmedoAction codeBook, void (TFormVideo::*click)())
{
    // A code book the user may not open at the main window stays closed here too.
    if (QAction *action = WindowAction(codeBook))
        button->setEnabled(action->isEnabled());
    connect(button, &QPushButton::clicked, this, [this, click] { RunReported([this, click] { (this->*click)(); }); });
}

QVBoxLayout *TFormVideo::MainLayout() const
{
    return static_cast<QVBoxLayout *>(layout());
}

QLabel *TFormVideo::AddNumberWarning(const char *name, const QString &text)
{
    auto *label = Named<QLabel>(GroupBoxIdentity, name, text);
    label->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    label->hide();
    m_grid->addWidget(label, 0, 2);
    return label;
}

void TFormVideo::SetPrice(Money price)
{
    m_price->SetValue(price);
}

void TFormVideo::FillPickLists(const QString &medium, const QString &direction)
{
    const QSignalBlocker quietMedium(ComboBoxMedium);
    const QSignalBlocker quietDirection(ComboBoxDirection);
    FillMediumList(ComboBoxMedium);
    choose(ComboBoxMedium, medium);
    FillDirectionList(ComboBoxDirection);
    choose(ComboBoxDirection, direction);
}

VideoRecord TFormVideo::Record() const
{
    VideoRecord v;
    v.number = Int64EditVideo->Value();
    v.title = EditTitle->text();
    v.direction = GetDirectionId(ComboBoxDirection->currentText());
    v.medium = GetMediumId(ComboBoxMedium->currentText());
    v.price = m_price->Value();
    return v;
}

namespace {

void runCodeBook(ValmedoAction codeBook, QComboBox *box, void (*fill)(QComboBox *))
{
    if (QAction *action = WindowAction(codeBook))
        action->trigger();
    RefillPickList(box, fill);
    box->setFocus();
}

} // namespace

void TFormVideo::SpeedButtonMediumClick()
{
    runCodeBook(ValmedoAction::Medium, ComboBoxMedium, FillMediumList);
}

void TFormVideo::SpeedButtonDirectionClick()
{
    runCodeBook(ValmedoAction::Direction, ComboBoxDirection, FillDirectionList);
}

void TFormVideo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}
