#include "core/ValmedoPage.h"

#include "core/Grids.h"
#include "core/RunReported.h"
#include "core/UValmedo.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QAction>
#include <QLabel>
#include <QStackedWidget>

QAction *WindowAction(ValmedoAction action)
{
    return FormValmedo ? FormValmedo->action(action) : nullptr;
}

void SelectAllInMainWindow()
{
    ActiveControlSelectAll(nullptr, FormValmedo);
}

QWidget *MainWindowFocus()
{
    return FormValmedo ? FormValmedo->focusWidget() : nullptr;
}

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

void TValmedoPage::followDesk(DeskSubject subject, std::function<void(const QVariant &)> answer)
{
    TDesk *desk = MainDesk();
    if (!desk)
        return;
    if (!answer)
        answer = [this](const QVariant &) { requeryList(); };
    desk->follow(subject, this, std::move(answer));
}

void TValmedoPage::setFilterLabel(const QString &objectName)
{
    m_filterLabel = new QLabel(QStringLiteral("Filtr..."), this);
    m_filterLabel->setObjectName(objectName);
    m_filterLabel->setAutoFillBackground(true);
    m_filterLabel->setStyleSheet(QStringLiteral("color: white; background-color: #404040;"));
    m_filterLabel->hide();
}

void TValmedoPage::connectActions(std::initializer_list<std::pair<ValmedoAction, std::function<void()>>> actions)
{
    for (const auto &[windowAction, handler] : actions) {
        if (QAction *action = WindowAction(windowAction))
            connect(action, &QAction::triggered, this, [handler] { RunReported(handler); });
    }
}
