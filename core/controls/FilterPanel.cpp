#include "core/controls/FilterPanel.h"

#include "core/Grids.h"
#include "core/NamedWidget.h"
#include "core/controls/Int64Edit.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QList>
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

TFilterColumn::TFilterColumn(QWidget *panel) : m_panel(panel), m_column(new QVBoxLayout(panel))
{
    m_column->setContentsMargins(6, 6, 6, 6);
}

QCheckBox *TFilterColumn::CheckBox(const char *name, const QString &caption)
{
    auto *box = Named<QCheckBox>(m_panel, name, caption);
    m_column->addWidget(box);
    return box;
}

TInt64Edit *TFilterColumn::NumberBox(const char *name, qint64 value)
{
    auto *edit = Named<TInt64Edit>(m_panel, name);
    edit->SetMax(TInt64Edit::HighestNumber);
    edit->SetValue(value);
    m_column->addWidget(edit);
    return edit;
}

void TFilterColumn::FootButtons(const char *filterName, QPushButton *&filter, const char *resetName,
                                QPushButton *&reset)
{
    m_column->addStretch(1);
    filter = Named<QPushButton>(m_panel, filterName, QStringLiteral("Filtr..."));
    reset = Named<QPushButton>(m_panel, resetName, QStringLiteral("Vypnout filtr"));
    m_column->addWidget(filter);
    m_column->addWidget(reset);
}
