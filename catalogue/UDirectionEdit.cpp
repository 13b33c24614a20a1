#include "catalogue/UDirectionEdit.h"

#include "catalogue/CodeBookStore.h"
#include "core/database/Lookups.h"

#include <QLineEdit>

TFormDirectionNew::TFormDirectionNew(QWidget *parent)
    : TFormCodeBookItem(QStringLiteral("FormDirectionNew"), QStringLiteral(" Nový žánr"),
                        QStringLiteral("EditDirection"), QStringLiteral("Žánr:"), DirectionNameLength, 0,
                        DirectionExistsOther, parent)
{
    EditDirection = m_name;
}

TFormDirectionEdit::TFormDirectionEdit(int id, const QString &name, QWidget *parent)
    : TFormCodeBookItem(QStringLiteral("FormDirectionEdit"), QStringLiteral(" Editace žánru"),
                        QStringLiteral("EditDirection"), QStringLiteral("Žánr:"), DirectionNameLength, id,
                        DirectionExistsOther, parent)
{
    EditDirection = m_name;
    EditDirection->setText(name);
}
