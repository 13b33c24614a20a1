#include "core/UAbout.h"

#include "core/VersionInfo.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TFormAbout::TFormAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral(" O programu"));
    setFixedSize(292, 202);
    auto *layout = new QGridLayout(this);
    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setFixedSize(40, 40);
    layout->addWidget(Image, 0, 0, 3, 1, Qt::AlignTop);
    ApplicationLabel = new QLabel(this);
    ApplicationLabel->setObjectName(QStringLiteral("ApplicationLabel"));
    QFont bold = ApplicationLabel->font();
    bold.setBold(true);
    ApplicationLabel->setFont(bold);
    layout->addWidget(ApplicationLabel, 0, 1);
    VersionLabel = new QLabel(this);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    layout->addWidget(VersionLabel, 1, 1);
    auto *os = new QLabel(QStringLiteral("pro Windows 98, Me, NT4.0, 2000, XP"), this);
    os->setObjectName(QStringLiteral("OSLabel"));
    layout->addWidget(os, 2, 1);
    auto *maker = new QLabel(QStringLiteral("Valmedo"), this);
    maker->setObjectName(QStringLiteral("CopyrightLabel"));
    layout->addWidget(maker, 3, 1);
    auto *contact = new QLabel(QStringLiteral("Program pro půjčovny videokazet a DVD"), this);
    contact->setObjectName(QStringLiteral("CommentLabel"));
    contact->setWordWrap(true);
    layout->addWidget(contact, 4, 1);
    auto *close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("ButtonClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);  // also Esc
    layout->addWidget(close, 5, 1, Qt::AlignRight);
}

void TFormAbout::showEvent(QShowEvent *event)
{
    Image->setPixmap(QApplication::windowIcon().isNull()
                         ? style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32)
                         : QApplication::windowIcon().pixmap(32, 32));
    ApplicationLabel->setText(QStringLiteral("Program %1").arg(GetVersionInfo(QStringLiteral("ProductName"))));
    VersionLabel->setText(QStringLiteral("verze %1").arg(GetVersionInfo(QStringLiteral("ProductVersion"))));
    QDialog::showEvent(event);
}
