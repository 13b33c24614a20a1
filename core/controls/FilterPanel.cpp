#include "core/controls/FilterPanel.h"

#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/Int64Edit.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int StripClosed = 32;
constexpr int StripOpen = 3;
constexpr int PanelOpen = 200;

QList<QPointer<TFilterPanel>> &panels()
{
    static QList<QPointer<TFilterPanel>> all;
    return all;
}

// Closes the open panels when the mouse moves over the widget it watches.
class CloseOnMove : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
            TFilterPanel::CloseAll();
        return false;
    }
};

} // namespace

TFilterPanel::TFilterPanel(QWidget *page, const QString &stripName, const QString &panelName,
                           QLabel *label, QWidget *numberBox)
    : QObject(page), m_numberBox(numberBox)
{
    m_strip = new QFrame(page);
    m_strip->setObjectName(stripName);
    m_strip->setFrameShape(QFrame::Panel);
    m_strip->setFrameShadow(QFrame::Raised);
    m_strip->setMouseTracking(true);
    m_strip->installEventFilter(this);
    auto *stripLayout = new QVBoxLayout(m_strip);
    stripLayout->setContentsMargins(1, 1, 1, 1);
    if (label) {
        label->setParent(m_strip);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        stripLayout->addWidget(label, 0, Qt::AlignTop);
    }
    stripLayout->addStretch(1);

    m_panel = new QFrame(page);
    m_panel->setObjectName(panelName);
    m_panel->setFrameShape(QFrame::Panel);
    m_panel->setFrameShadow(QFrame::Raised);
    panels().append(this);
    Close();
}

TFilterPanel::~TFilterPanel()
{
    panels().removeAll(this);
}

bool TFilterPanel::IsOpen() const
{
    return m_panel->width() != 0 && !m_panel->isHidden();
}

void TFilterPanel::Open()
{
    m_strip->setFixedWidth(StripOpen);
    m_panel->setFixedWidth(PanelOpen);
    m_panel->show();
}

void TFilterPanel::Close()
{
    m_panel->hide();
    m_panel->setFixedWidth(0);
    m_strip->setFixedWidth(StripClosed);
}

void TFilterPanel::CloseAll()
{
    for (const QPointer<TFilterPanel> &panel : QList<QPointer<TFilterPanel>>(panels())) {
        if (!panel || !panel->IsOpen())
            continue;
        panel->Close();
        if (panel->m_numberBox)
            ActiveControlSelectAll(panel->m_numberBox, panel->m_numberBox->window());
    }
}

void TFilterPanel::CloseOnMouseMove(QWidget *widget)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        widget = area->viewport(); // a grid's rows are drawn on its viewport
    widget->setMouseTracking(true);
    widget->installEventFilter(new CloseOnMove(widget));
}

bool TFilterPanel::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
        Open();
    return false;
}

FilterColumn::FilterColumn(QWidget *panel) : m_panel(panel), m_column(new QVBoxLayout(panel))
{
    m_column->setContentsMargins(6, 6, 6, 6);
}

QCheckBox *FilterColumn::CheckBox(const char *name, const QString &caption)
{
    auto *box = Named<QCheckBox>(m_panel, name, caption);
    m_column->addWidget(box);
    return box;
}

TInt64Edit *FilterColumn::Number(const char *name, qint64 value)
{
    auto *edit = Named<TInt64Edit>(m_panel, name);
    edit->SetMax(TInt64Edit::HighestNumber);
    edit->SetValue(value);
    m_column->addWidget(edit);
    return edit;
}

QLineEdit *FilterColumn::Edit(const char *name, int maxLength)
{
    auto *edit = Named<QLineEdit>(m_panel, name);
    edit->setMaxLength(maxLength);
    m_column->addWidget(edit);
    return edit;
}

QComboBox *FilterColumn::PickList(const char *name)
{
    auto *box = Named<QComboBox>(m_panel, name);
    box->setMaxVisibleItems(16);
    m_column->addWidget(box);
    return box;
}

TDateTimePicker *FilterColumn::DatePicker(const char *name)
{
    auto *picker = Named<TDateTimePicker>(m_panel, name);
    picker->SetDate(RunDate());
    m_column->addWidget(picker);
    return picker;
}

QPushButton *FilterColumn::BottomButton(const char *name, const QString &caption)
{
    if (!m_bottom) {
        m_column->addStretch(1);
        m_bottom = true;
    }
    auto *button = Named<QPushButton>(m_panel, name, caption);
    m_column->addWidget(button);
    return button;
}

std::optional<qint64> NumberBound(TInt64Edit *edit)
{
    return edit->text().isEmpty() ? std::optional<qint64>() : std::optional<qint64>(edit->Value());
}

std::optional<QDate> DateBound(TDateTimePicker *picker)
{
    return picker->Checked() ? std::optional<QDate>(picker->Date()) : std::optional<QDate>();
}

void ConnectFilterChanges(QWidget *panel, const std::function<void()> &filter)
{
    const auto run = [filter] { RunReported(filter); };
    for (QCheckBox *box : panel->findChildren<QCheckBox *>(Qt::FindDirectChildrenOnly))
        QObject::connect(box, &QCheckBox::clicked, panel, run);
    for (QRadioButton *button : panel->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
        QObject::connect(button, &QRadioButton::clicked, panel, run);
    for (QLineEdit *edit : panel->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
        QObject::connect(edit, &QLineEdit::textEdited, panel, run);
    for (QComboBox *box : panel->findChildren<QComboBox *>(Qt::FindDirectChildrenOnly))
        QObject::connect(box, &QComboBox::activated, panel, run);
    for (TDateTimePicker *picker : panel->findChildren<TDateTimePicker *>(Qt::FindDirectChildrenOnly))
        QObject::connect(picker, &TDateTimePicker::Change, panel, run);
}
