#include "reports/UPrint.h"

#include "core/DialogButton.h"
#include "core/controls/PrinterComboBox.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFormPrint::TFormPrint(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("FormPrint"));
    setWindowTitle(QStringLiteral("  Tisk"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    createPrinterRow(layout);
    auto *groups = new QHBoxLayout;
    createPageGroup(groups);
    createCopyGroup(groups);
    layout->addLayout(groups);
    AddDialogButtons(this, layout, true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    setFixedSize(qMax(370, sizeHint().width()), sizeHint().height());
}

void TFormPrint::createPrinterRow(QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    LabelPrinter = new QLabel(QStringLiteral("Tiskárna:"), this);
    LabelPrinter->setObjectName(QStringLiteral("LabelPrinter"));
    PrinterComboBox = new TPrinterComboBox(this);
    PrinterComboBox->setObjectName(QStringLiteral("PrinterComboBox"));
    LabelPrinter->setBuddy(PrinterComboBox);
    row->addWidget(LabelPrinter);
    row->addWidget(PrinterComboBox, 1);
    layout->addLayout(row);
}

QSpinBox *TFormPrint::createSpinEdit(const QString &name, QWidget *parent)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(1, 9999);
    spin->setValue(1);
    spin->setAlignment(Qt::AlignRight);
    spin->setFixedWidth(64);
    // A click selects the whole number for overtyping.
    spin->findChild<QLineEdit *>()->installEventFilter(this);
    return spin;
}

void TFormPrint::createPageGroup(QHBoxLayout *row)
{
    GroupBoxPage = new QGroupBox(QStringLiteral("Stránky"), this);
    GroupBoxPage->setObjectName(QStringLiteral("GroupBoxPage"));
    auto *grid = new QGridLayout(GroupBoxPage);
    RadioButtonAllPages = new QRadioButton(QStringLiteral("Všechny stránky"), GroupBoxPage);
    RadioButtonAllPages->setObjectName(QStringLiteral("RadioButtonAllPages"));
    RadioButtonAllPages->setChecked(true);
    RadioButtonPages = new QRadioButton(QStringLiteral("Stránky"), GroupBoxPage);
    RadioButtonPages->setObjectName(QStringLiteral("RadioButtonPages"));
    LabelFrom = new QLabel(QStringLiteral("Od:"), GroupBoxPage);
    LabelFrom->setObjectName(QStringLiteral("LabelFrom"));
    RxSpinEditFrom = createSpinEdit(QStringLiteral("RxSpinEditFrom"), GroupBoxPage);
    LabelTo = new QLabel(QStringLiteral("Do:"), GroupBoxPage);
    LabelTo->setObjectName(QStringLiteral("LabelTo"));
    RxSpinEditTo = createSpinEdit(QStringLiteral("RxSpinEditTo"), GroupBoxPage);
    grid->addWidget(RadioButtonAllPages, 0, 0, 1, 4);
    grid->addWidget(RadioButtonPages, 1, 0);
    grid->addWidget(LabelFrom, 1, 1);
    grid->addWidget(RxSpinEditFrom, 1, 2);
    grid->addWidget(LabelTo, 1, 3);
    grid->addWidget(RxSpinEditTo, 1, 4);
    row->addWidget(GroupBoxPage, 1);
}

void TFormPrint::createCopyGroup(QHBoxLayout *row)
{
    GroupBoxCopy = new QGroupBox(QStringLiteral("Kopie"), this);
    GroupBoxCopy->setObjectName(QStringLiteral("GroupBoxCopy"));
    auto *box = new QHBoxLayout(GroupBoxCopy);
    LabelCopy = new QLabel(QStringLiteral("Počet kopií:"), GroupBoxCopy);
    LabelCopy->setObjectName(QStringLiteral("LabelCopy"));
    RxSpinEditCopy = createSpinEdit(QStringLiteral("RxSpinEditCopy"), GroupBoxCopy);
    RxSpinEditCopy->findChild<QLineEdit *>()->setMaxLength(4);
    box->addWidget(LabelCopy);
    box->addWidget(RxSpinEditCopy);
    row->addWidget(GroupBoxCopy);
}

void TFormPrint::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFormPrint::FormShow()
{
    // Attached only now, so that the numbers the caller set do not choose "Stránky".
    if (m_changeAttached)
        return;
    m_changeAttached = true;
    for (QSpinBox *spin : {RxSpinEditFrom, RxSpinEditTo})
        connect(spin, &QSpinBox::valueChanged, this, &TFormPrint::RxSpinEditFromToChange);
}

void TFormPrint::RxSpinEditFromToClick(QSpinBox *spinEdit)
{
    spinEdit->selectAll();
}

void TFormPrint::RxSpinEditFromToChange()
{
    RadioButtonPages->setChecked(true);
}

void TFormPrint::RxSpinEditCopyClick()
{
    RxSpinEditCopy->selectAll();
}

bool TFormPrint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QSpinBox *spin : {RxSpinEditFrom, RxSpinEditTo})
            if (watched == spin->findChild<QLineEdit *>())
                RxSpinEditFromToClick(spin);
        if (watched == RxSpinEditCopy->findChild<QLineEdit *>())
            RxSpinEditCopyClick();
    }
    return QDialog::eventFilter(watched, event);
}
