#include "reports/layouts/UQRVideoA4.h"

#include "reports/layouts/ListLayout.h"

TFormQRVideoA4::TFormQRVideoA4(DataSet *videos)
{
    QuickRep.dataSet = videos;
    const QList<ListColumn> columns = {
        {QStringLiteral("Kód"), QStringLiteral("VIDEO"), 0, 76, QStringLiteral("0000000000000")},
        {QStringLiteral("Titul"), QStringLiteral("TITUL"), 82, 270},
        {QStringLiteral("Zaměření"), QStringLiteral("ZAMERENI"), 358, 118},
        {QStringLiteral("Nosič"), QStringLiteral("NOSIC"), 482, 68},
        {QStringLiteral("Registrace"), QStringLiteral("REGISTRACE"), 556, 98, QStringLiteral("dd.MM.yyyy hh:mm")},
        {QStringLiteral("Cena [Kč]"), QStringLiteral("CENA"), 660, 58, QStringLiteral(",0.00"), TextAlign::Right},
    };
    ReportBand *head = AddListHead(QuickRep, 64, true);
    ReportBand *detail = QuickRep.addBand(BandType::Detail, 16);
    AddListColumns(head, detail, videos, columns, 40, 60, 8);
    ReportBand *summary = AddListSummary(QuickRep, columns, QStringLiteral("Počet položek:"), 82);
    auto *total = summary->add<ReportExpr>(QStringLiteral("SUM(CENA)"), 0, 8);
    total->setName(QStringLiteral("QRExprPrice"));
    total->font = SummaryFont();
    total->mask = QStringLiteral("Celkem [Kč]: ,0.00");
    total->setRightEdge(718);
}

void PrintVideoList(DataSet &videos, QWidget *focus)
{
    if (!HasRowsToPrint(videos, QStringLiteral("V evidenci není žádné video..."),
                        QStringLiteral("Zkontrolujte zda není aktivní filtr..."), focus))
        return;
    TFormQRVideoA4 form(&videos);
    form.QuickRep.title = QStringLiteral(" Video");
    PreviewOverList(form.QuickRep, videos);
}
