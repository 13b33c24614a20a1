#include "core/USetupPrint.h"

#include "core/NamedWidget.h"
#include "core/Texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QVBoxLayout>

TFormSetupPrint *FormSetupPrint = nullptr;

namespace {

QGroupBox *Group(QWidget *parent, const char *name, const QString &caption)
{
    auto *group = Named<QGroupBox>(parent, name);
    group->setTitle(caption);
    return group;
}

// A memo in a group of its own, with a label before it and its line limit in "Tag".
QPlainTextEdit *MemoGroup(QWidget *parent, QBoxLayout *layout, const char *groupName,
                          const QString &caption, const QString &label, const char *name, int limit)
{
    QGroupBox *group = Group(parent, groupName, caption);
    auto *row = new QHBoxLayout(group);
    auto *text = new QLabel(label, group);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setMinimumWidth(60);
    row->addWidget(text);
    auto *memo = Named<QPlainTextEdit>(group, name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap); // a line is a paragraph
    memo->setTabChangesFocus(true);
    memo->setProperty("Tag", limit);
    memo->setMinimumWidth(300);
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * limit + 12);
    row->addWidget(memo, 1);
    layout->addWidget(group);
    return memo;
}

} // namespace

TFormSetupPrint::TFormSetupPrint(QWidget *parent)
    : TStoredDialog(QStringLiteral("SetupPrint"),
                    {QStringLiteral("MemoAddress.Lines"),
                     QStringLiteral("MemoTitle.Lines"),
                     QStringLiteral("MemoInfo.Lines"),
                     QStringLiteral("MemoAddition.Lines"),
                     QStringLiteral("CheckBoxVoucher.Checked"),
                     QStringLiteral("CheckBoxDate.Checked"),
                     QStringLiteral("CheckBoxDateTax.Checked"),
                     QStringLiteral("CheckBoxOriginal.Checked"),
                     QStringLiteral("CheckBoxCopy.Checked"),
                     QStringLiteral("RadioButtonManual.Checked"),
                     QStringLiteral("RadioButtonAuto.Checked"),
                     QStringLiteral("CheckBoxExtra.Checked"),
                     QStringLiteral("RadioButtonA4.Checked"),
                     QStringLiteral("RadioButtonA5.Checked")},
                    false, parent)
{
    setObjectName(QStringLiteral("FormSetupPrint"));
    setWindowTitle(QStringLiteral(" Nastavení tisku dokladů"));
    auto *layout = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    layout->addLayout(columns);

    auto *texts = new QVBoxLayout;
    columns->addLayout(texts, 1);
    MemoAddress = MemoGroup(this, texts, "GroupBoxAddress", QStringLiteral("Adresa na dokladu:"),
                            QStringLiteral("Adresa:"), "MemoAddress", 6);
    MemoTitle = MemoGroup(this, texts, "GroupBoxTitle", QStringLiteral("Záhlaví prodejního dokladu"),
                          QStringLiteral("Záhlaví:"), "MemoTitle", 4);
    {
        QFont font = MemoTitle->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.5);
        MemoTitle->setFont(font);
        MemoTitle->setFixedHeight(QFontMetrics(font).lineSpacing() * 4 + 12);
        QTextOption option = MemoTitle->document()->defaultTextOption();
        option.setAlignment(Qt::AlignHCenter);
        MemoTitle->document()->setDefaultTextOption(option);
    }
    MemoInfo = MemoGroup(this, texts, "GroupBoxInfo", QStringLiteral("Info na dokladu:"),
                         QStringLiteral("Info:"), "MemoInfo", 6);
    MemoAddition = MemoGroup(this, texts, "GroupBoxAddition", QStringLiteral("Dodatek k prodejnímu dokladu"),
                             QStringLiteral("Dodatek:"), "MemoAddition", 4);

    auto *choices = new QVBoxLayout;
    columns->addLayout(choices);
    {
        QGroupBox *group = Group(this, "GroupBoxPrint", QStringLiteral("Tisknout"));
        auto *column = new QVBoxLayout(group);
        CheckBoxVoucher = Named<QCheckBox>(group, "CheckBoxVoucher", QStringLiteral("Číslo dokladu"));
        CheckBoxDate = Named<QCheckBox>(group, "CheckBoxDate", QStringLiteral("Datum vystavení dokladu"));
        CheckBoxDateTax = Named<QCheckBox>(group, "CheckBoxDateTax", QStringLiteral("Datum zdanitelného plnění"));
        for (QCheckBox *box : {CheckBoxVoucher, CheckBoxDate, CheckBoxDateTax}) {
            box->setChecked(true);
            column->addWidget(box);
        }
        choices->addWidget(group);
    }
    {
        QGroupBox *group = Group(this, "GroupBoxReceipts", QStringLiteral("Tisk dokladů"));
        auto *column = new QVBoxLayout(group);
        CheckBoxOriginal = Named<QCheckBox>(group, "CheckBoxOriginal", QStringLiteral("Tisknout doklad"));
        CheckBoxCopy = Named<QCheckBox>(group, "CheckBoxCopy", QStringLiteral("Včetně kopie"));
        CheckBoxCopy->setEnabled(false);
        RadioButtonManual = Named<QRadioButton>(group, "RadioButtonManual", QStringLiteral("Manuální tisk dokladů"));
        RadioButtonAuto = Named<QRadioButton>(group, "RadioButtonAuto", QStringLiteral("Automatický tisk"));
        RadioButtonManual->setChecked(true);
        CheckBoxExtra = Named<QCheckBox>(group, "CheckBoxExtra",
                                         QStringLiteral("Není-li doplatek, netisknout doklad o vrácení"));
        for (QWidget *w : std::initializer_list<QWidget *>{CheckBoxOriginal, CheckBoxCopy, RadioButtonManual,
                                                           RadioButtonAuto, CheckBoxExtra})
            column->addWidget(w);
        choices->addWidget(group);
    }
    {
        QGroupBox *group = Group(this, "GroupBoxFormat", QStringLiteral("Formáty prodejních dokladů"));
        auto *column = new QVBoxLayout(group);
        RadioButtonA4 = Named<QRadioButton>(group, "RadioButtonA4", QStringLiteral("Formát A4"));
        RadioButtonA5 = Named<QRadioButton>(group, "RadioButtonA5",
                                            QStringLiteral("Automatická volba (do 10 položek A5, jinak A4)"));
        RadioButtonA5->setChecked(true);
        column->addWidget(RadioButtonA4);
        column->addWidget(RadioButtonA5);
        choices->addWidget(group);
    }
    choices->addStretch(1);

    AddButtons(layout, true, [this] { FormStorage.Restore(); });

    // toggled, so that the copy box also follows a tick set by a restore.
    connect(CheckBoxOriginal, &QCheckBox::toggled, this, &TFormSetupPrint::CheckBoxOriginalClick);
    connect(CheckBoxVoucher, &QCheckBox::toggled, this, &TFormSetupPrint::CheckBoxOriginalClick);
    for (QPlainTextEdit *memo : {MemoAddress, MemoTitle, MemoInfo, MemoAddition}) {
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] { MemoChange(memo); });
        memo->installEventFilter(this);
    }
}

void TFormSetupPrint::RestoreStoredValues()
{
    FormStorage.Restore();
}

bool TFormSetupPrint::eventFilter(QObject *watched, QEvent *event)
{
    auto *memo = qobject_cast<QPlainTextEdit *>(watched);
    if (!memo || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    int key = keyEvent->key();
    MemoKeyDown(memo, key);
    if (key == 0)
        return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QChar character(13);
        MemoKeyPress(memo, character);
        if (character.isNull())
            return true;
        // Every Enter starts a new line, also Shift+Enter (which would otherwise break
        // the line inside one paragraph, out of the limit's sight).
        QTextCursor cursor = memo->textCursor();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock();
        cursor.endEditBlock();
        memo->setTextCursor(cursor);
        memo->ensureCursorVisible();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int TFormSetupPrint::MemoLineCount(const QPlainTextEdit *memo)
{
    return int(MemoLines(memo->toPlainText()).size());
}

int TFormSetupPrint::MemoLineLimit(const QPlainTextEdit *memo)
{
    return memo->property("Tag").toInt();
}

void TFormSetupPrint::FormActivate()
{
    CheckBoxOriginalClick();
}

void TFormSetupPrint::CheckBoxOriginalClick()
{
    CheckBoxCopy->setEnabled(CheckBoxOriginal->isChecked());
    CheckBoxCopy->setChecked(CheckBoxOriginal->isChecked());
}

void TFormSetupPrint::MemoChange(QPlainTextEdit *memo)
{
    const int limit = MemoLineLimit(memo);
    if (MemoLineCount(memo) <= limit)
        return;
    // Every line from index `limit` on goes in one edit: the line break after the last
    // allowed line stays, as it would after deleting those lines one by one.
    QTextCursor cursor(memo->document());
    cursor.setPosition(memo->document()->findBlockByNumber(limit).position());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TFormSetupPrint::MemoKeyDown(QPlainTextEdit *memo, int &key)
{
    const int lastLine = MemoLineLimit(memo) - 1;
    const QTextCursor cursor = memo->textCursor();
    switch (key) {
    case Qt::Key_PageDown:
        key = 0;
        break;
    case Qt::Key_Down:
        if (cursor.blockNumber() >= lastLine)
            key = 0;
        break;
    case Qt::Key_Right:
        if (cursor.blockNumber() == lastLine && cursor.positionInBlock() == cursor.block().length() - 1)
            key = 0;
        break;
    default:
        break;
    }
}

void TFormSetupPrint::MemoKeyPress(QPlainTextEdit *memo, QChar &key)
{
    if (key == QChar(13) && MemoLineCount(memo) >= MemoLineLimit(memo))
        key = QChar();
}
