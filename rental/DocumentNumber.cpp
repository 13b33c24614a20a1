#include "rental/DocumentNumber.h"

#include "core/database/Commands.h"

qint64 NextDocumentNumber()
{
    SetCommand(QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"));
    return ExecCommandValue().toLongLong();
}
