#include "core/controls/DateTimePicker.h"

#include "core/Texts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QSignalBlocker>

TDateTimePicker::TDateTimePicker(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_check = new QCheckBox(this);
    m_check->setObjectName(QStringLiteral("CheckBox"));
    m_check->setChecked(true);
    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("DateEdit"));
    m_date->setDisplayFormat(QString::fromLatin1(ShortDateFormat));
    m_date->setCalendarPopup(true);
    layout->addWidget(m_check);
    layout->addWidget(m_date, 1);
    connect(m_check, &QCheckBox::clicked, this, [this] {
        m_date->setEnabled(m_check->isChecked());
        emit Change();
    });
    connect(m_date, &QDateEdit::dateChanged, this, [this] { emit Change(); });
}

QDate TDateTimePicker::Date() const
{
    return m_date->date();
}

void TDateTimePicker::SetDate(const QDate &date)
{
    const QSignalBlocker quiet(m_date);
    m_date->setDate(date);
}

bool TDateTimePicker::Checked() const
{
    return m_check->isChecked();
}
