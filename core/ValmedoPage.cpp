#include "core/ValmedoPage.h"

#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QLabel>

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
