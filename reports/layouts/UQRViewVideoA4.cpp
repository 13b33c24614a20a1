#include "reports/layouts/UQRViewVideoA4.h"

#include "reports/layouts/ListLayout.h"

TFormQRViewVideoA4::TFormQRViewVideoA4()
{
    QuickRep.orientation = QPageLayout::Landscape;
    QuickRep.showProgress = true;
    const QList<ListColumn> columns = {
        {QStringLiteral("Video"), QStringLiteral("VIDEO"), 0, 76, QStringLiteral("0000000000000")},
        {QStringLiteral("Titul"), QStringLiteral("TITUL"), 82, 254},
        {QStringLiteral("Nosič"), QStringLiteral("NOSIC"), 342, 44},
        {QStringLiteral("Půjčeno"), QStringLiteral("PUJCENO"), 392, 82, QStringLiteral("dd.MM.yyyy hh:mm")},
        {QStringLiteral("Vrátit"), QStringLiteral("VRATIT"), 480, 53, QStringLiteral("dd.MM.yyyy")},
        {QStringLiteral("Zákazník:"), QStringLiteral("ZAKAZNIK"), 539, 76, QStringLiteral("0000000000000")},
        {QStringLiteral("Jméno"), QStringLiteral("JMENO"), 621, 141},
        {QStringLiteral("Telefon"), QStringLiteral("TELEFON"), 768, 55},
        {QStringLiteral("Adresa"), QStringLiteral("ADRESA1"), 829, 218},
    };
    ReportBand *head = AddListHead(QuickRep, 72, true);
    ReportBand *detail = QuickRep.addBand(BandType::Detail, 16);
    AddListColumns(head, detail, nullptr, columns, 48, 68, 8);
    for (const auto &control : detail->controls())
        m_lineTexts << static_cast<ReportDBText *>(control.get());
    AddListSummary(QuickRep, columns, QStringLiteral("Počet položek:"), 82);
    QuickRep.beforePrint = [this] { QuickRepBeforePrint(); };
}

void TFormQRViewVideoA4::QuickRepBeforePrint()
{
    for (ReportDBText *text : m_lineTexts)
        text->dataSet = QuickRep.dataSet;
}

void PrintLentVideos(DataSet &lines, const QString &title)
{
    TFormQRViewVideoA4 form;
    form.QuickRep.dataSet = &lines;
    form.QuickRep.title = title;
    form.QuickRep.preview();
}
