#pragma once
#include <QDate>
#include <QWidget>

class QCheckBox;
class QDateEdit;

// A date picker with a check box of its own in front of the date (a filter's bound that can
// be switched off): the short date "d.M.yyyy" with a calendar to drop down. The date can be
// changed only while the box is ticked. Change() follows every change the clerk makes to the
// box or the date; dates set by code signal nothing.
class TDateTimePicker : public QWidget {
    Q_OBJECT
public:
    explicit TDateTimePicker(QWidget *parent = nullptr);

    QDate Date() const;
    void SetDate(const QDate &date);
    bool Checked() const;

    QCheckBox *CheckBox() const { return m_check; }
    QDateEdit *DateEdit() const { return m_date; }

signals:
    void Change();

private:
    QCheckBox *m_check;
    QDateEdit *m_date;
};
