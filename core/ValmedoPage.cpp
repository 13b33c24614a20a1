#include "core/ValmedoPage.h"

#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/UValmedo.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/Int64Edit.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

TValmedoPage::TValmedoPage(const QString &caption, const QString &objectName,
                           const QString &numberFieldName, QWidget *parent)
    : QWidget(parent), m_caption(caption), m_numberFieldName(numberFieldName)
{
    setObjectName(objectName);
}

QWidget *TValmedoPage::numberField() const
{
    return findChild<QWidget *>(m_numberFieldName);
}

QString TValmedoPage::filterQueryText() const
{
    return m_listQuery ? m_listQuery->sqlText() : QString();
}

void TValmedoPage::requeryList()
{
    if (m_listQuery)
        RequeryLocate(*m_listQuery, QVariant());
}

void TValmedoPage::setFilterLabel(const QString &objectName)
{
    m_filterLabel = new QLabel(QStringLiteral("Filtr..."), this);
    m_filterLabel->setObjectName(objectName);
    m_filterLabel->setAutoFillBackground(true);
    m_filterLabel->setStyleSheet(QStringLiteral("color: white; background-color: #404040;"));
    m_filterLabel->hide();
}

QFrame *TValmedoPage::createFunctionButtons(const char *name, int width, QSize buttonSize,
                                           std::span<const FunctionButton> buttons)
{
    auto *panel = Named<QFrame>(this, name);
    panel->setFixedWidth(width);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 2, 2, 2);
    for (const FunctionButton &b : buttons) {
        auto *button = Named<QToolButton>(panel, b.name, QString::fromUtf8(b.caption));
        button->setFixedSize(buttonSize);
        button->setAutoRaise(true);
        column->addWidget(button);
        if (QAction *action = FormValmedo ? FormValmedo->action(QString::fromLatin1(b.action)) : nullptr) {
            connect(button, &QToolButton::clicked, action, &QAction::trigger);
            connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
        }
    }
    column->addStretch(1);
    return panel;
}

void TValmedoPage::connectWindowActions(std::span<const std::pair<const char *, std::function<void()>>> actions)
{
    for (const auto &[name, handler] : actions) {
        if (QAction *action = FormValmedo ? FormValmedo->action(QString::fromLatin1(name)) : nullptr)
            connect(action, &QAction::triggered, this, [handler] { RunReported(handler); });
    }
}

QLabel *TValmedoPage::createListTitle(QWidget *parent, const char *name, const QString &text)
{
    auto *label = Named<QLabel>(parent, name, text);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumHeight(20);
    return label;
}

QFrame *TValmedoPage::createFindStrip(const char *name, const QString &caption, const char *boxName,
                                      TInt64Edit *&box, QHBoxLayout *&row)
{
    auto *strip = Named<QFrame>(this, name);
    strip->setFrameShape(QFrame::StyledPanel);
    row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 4, 6, 4);
    box = Named<TInt64Edit>(strip, boxName);
    box->SetMax(TInt64Edit::HighestNumber);
    box->SetValue(1);
    box->setFixedWidth(120);
    auto *label = new QLabel(caption, strip);
    label->setBuddy(box);
    row->addWidget(label);
    row->addWidget(box);
    return strip;
}

void TValmedoPage::layOutListPage(QWidget *functionColumn, QWidget *findPanel, QWidget *lists,
                                  QWidget *statusBar, TFilterPanel *filterPanel)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(functionColumn);
    auto *centre = new QVBoxLayout;
    centre->setSpacing(0);
    centre->addWidget(findPanel);
    centre->addWidget(lists, 1);
    centre->addWidget(statusBar);
    layout->addLayout(centre, 1);
    if (filterPanel) {
        layout->addWidget(filterPanel->Strip());
        layout->addWidget(filterPanel->Panel());
    }
}
