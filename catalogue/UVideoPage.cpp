#include "catalogue/UVideoPage.h"

TVideoPage::TVideoPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Video"), QStringLiteral("TabSheetVideo"), QStringLiteral("Int64EditVideoVideo"), parent)
{
    setFilterLabel(QStringLiteral("LabelVideoFilter"));
}
