#include "core/MessageForms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

QPointer<TFormInformation> FormInformation;
QPointer<TFormQuestion> FormQuestion;
QPointer<TFormWarning> FormWarning;
QPointer<TFormProgress> FormProgress;

namespace {
constexpr int PictureSize = 48;
constexpr int TextLeft = 72;
constexpr int Margin = 12;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonTop = 70;
constexpr QSize MessageClient(440, 103);
constexpr QSize ProgressClient(340, 93);

// A label beside the picture, tall enough for `lines` lines of its font with their
// accents and descenders (the detail line may hold two lines).
QLabel *makeLabel(QWidget *parent, const QString &name, int pixelSize, bool bold, int top, int lines)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QFontMetrics metrics(font);
    const int height = metrics.height() + (lines - 1) * metrics.lineSpacing() + 2;
    label->setGeometry(TextLeft, top, parent->width() - TextLeft - Margin, height);
    return label;
}
} // namespace

TMessageForm::TMessageForm(const QString &caption, int standardPixmap, const QString &mainLabelName,
                           QSize clientSize, bool blinking)
{
    setWindowTitle(caption);
    setFixedSize(clientSize);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(Margin, Margin, PictureSize, PictureSize);
    Image->setPixmap(style()->standardIcon(QStyle::StandardPixmap(standardPixmap), nullptr, this)
                         .pixmap(PictureSize, PictureSize));

    m_mainLabel = makeLabel(this, mainLabelName, 16, true, Margin, 1);
    LabelSpecification = makeLabel(this, QStringLiteral("LabelSpecification"), 11, false,
                                   m_mainLabel->geometry().bottom() + 3, 2);

    if (blinking) {
        TimerIcon = new QTimer(this);
        TimerIcon->setObjectName(QStringLiteral("TimerIcon"));
        TimerIcon->setInterval(250);
        connect(TimerIcon, &QTimer::timeout, this, &TMessageForm::TimerIconTimer);
        TimerIcon->start();
    }
}

QPushButton *TMessageForm::addButton(const QString &name, const QString &text, int left, int top)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setGeometry(left, top, ButtonWidth, ButtonHeight);
    button->setAutoDefault(true);
    return button;
}

QPushButton *TMessageForm::addOkButton()
{
    QPushButton *ok = addButton(QStringLiteral("ButtonOk"), QStringLiteral("Ok"),
                                (width() - ButtonWidth) / 2, ButtonTop);
    ok->setDefault(true);
    ok->setFocus();
    // Enter presses Ok; Esc rejects the dialog, which closes it just as well.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    return ok;
}

void TMessageForm::TimerIconTimer()
{
    Image->setHidden(!Image->isHidden());
}

TFormInformation::TFormInformation()
    : TMessageForm(QStringLiteral(" Informace"), QStyle::SP_MessageBoxInformation,
                   QStringLiteral("LabelInformation"), MessageClient, true)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    LabelInformation = mainLabel();
    ButtonOk = addOkButton();

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(2000);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, &TFormInformation::TimerTimer);
}

void TFormInformation::TimerTimer()
{
    close();
    deleteLater();
}

TFormQuestion::TFormQuestion()
    : TMessageForm(QStringLiteral(" Otázka"), QStyle::SP_MessageBoxQuestion,
                   QStringLiteral("LabelQuestion"), MessageClient, true)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    LabelQuestion = mainLabel();
    const int gap = 8;
    const int left = (width() - 2 * ButtonWidth - gap) / 2;
    ButtonYes = addButton(QStringLiteral("ButtonYes"), QStringLiteral("&Ano"), left, ButtonTop);
    ButtonNo = addButton(QStringLiteral("ButtonNo"), QStringLiteral("&Ne"),
                         left + ButtonWidth + gap, ButtonTop);
    // Neither is the default button: Enter presses the one that has the focus, Esc is "&Ne".
    connect(ButtonYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonNo, &QPushButton::clicked, this, &QDialog::reject);
}

TFormWarning::TFormWarning()
    : TMessageForm(QStringLiteral(" Upozornění"), QStyle::SP_MessageBoxWarning,
                   QStringLiteral("LabelWarning"), MessageClient, true)
{
    LabelWarning = mainLabel();
    ButtonOk = addOkButton();
}

TFormProgress::TFormProgress()
    : TMessageForm(QStringLiteral(" Čekejte"), QStyle::SP_BrowserReload,
                   QStringLiteral("LabelInformation"), ProgressClient, false)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // Shown over the work without taking the focus: the field the clerk types in (a filter's
    // bound, filtering at every key) keeps it, and no key typed meanwhile is lost.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    LabelInformation = mainLabel();
    LabelInformation->setText(QStringLiteral("Čekejte prosím..."));
}

void TFormProgress::reject() {}

void TFormProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
