#include "reports/layouts/UQRLendsTotalA4.h"

#include "core/Texts.h"
#include "reports/layouts/ListLayout.h"

TFormQRLendsTotalA4::TFormQRLendsTotalA4(DataSet *lends, const TakingsPeriod &period)
    : m_period(period)
{
    QuickRep.dataSet = lends;
    const QList<ListColumn> columns = {
        {QStringLiteral("Doklad"), QStringLiteral("DOKLAD"), 0, 76, QStringLiteral("0000000000000")},
        {QStringLiteral("Op."), QStringLiteral("OPERACE"), 82, 50, QStringLiteral("->;<-"), TextAlign::Centre, false,
         QStringLiteral("MS Sans Serif")},
        {QStringLiteral("Čas"), QStringLiteral("CAS"), 138, 128, QStringLiteral("dd.MM.yyyy hh:mm")},
        {QStringLiteral("Zákazník"), QStringLiteral("ZAKAZNIK"), 272, 76, QStringLiteral("0000000000000")},
        {QStringLiteral("Položek [ks]"), QStringLiteral("POLOZKY"), 355, 66, QString(), TextAlign::Right},
        {QStringLiteral("Půjčovné / Vratné [Kč]"), QStringLiteral("PLATBA_CELKEM"), 428, 128, QStringLiteral(",0.00"),
         TextAlign::Right},
        {QStringLiteral("Přijatá / Vrácená záloha [Kč]"), QStringLiteral("ZALOHA_CELKEM"), 563, 155,
         QStringLiteral(",0.00"), TextAlign::Right},
    };
    ReportBand *head = AddListHead(QuickRep, 64);
    auto *times = head->add<ReportLabel>(QStringLiteral("Období: "), 452, 8);
    times->setName(QStringLiteral("QRLabelLendsTimes"));
    times->onPrint = [this](QString &text) { QRLabelLendsTimesPrint(text); };
    ReportBand *detail = QuickRep.addBand(BandType::Detail, 16);
    AddListColumns(head, detail, lends, columns, 40, 60, 8);

    ReportBand *summary = AddListSummary(QuickRep, columns, QStringLiteral("Počet dokladů:"), 82);
    const QList<std::tuple<const char *, const char *, const char *, qreal>> sums = {
        {"QRExprItems", "SUM(POLOZKY)", "Celkem [ks]: ,0", 421},
        {"QRExprPayment", "SUM(PLATBA_CELKEM)", "Celkem [Kč]: ,0.00", 556},
    };
    for (const auto &[name, expression, mask, rightEdge] : sums) {
        auto *sum = summary->add<ReportExpr>(QString::fromLatin1(expression), 0, 8);
        sum->setName(QString::fromLatin1(name));
        sum->font = SummaryFont();
        sum->mask = QString::fromUtf8(mask);
        sum->setRightEdge(rightEdge);
    }
}

void TFormQRLendsTotalA4::QRLabelLendsTimesPrint(QString &text) const
{
    if (m_period.all)
        text += QStringLiteral("všechna období");
    else
        text = QStringLiteral("%1%2 - %3").arg(text, ShortDateText(m_period.first), ShortDateText(m_period.second));
}

void PrintLendsTotal(DataSet &lends, const TakingsPeriod &period, QWidget *focus)
{
    if (!HasRowsToPrint(lends, QStringLiteral("V evidenci není žádný doklad..."),
                        QStringLiteral("Není co tisknout..."), focus))
        return;
    TFormQRLendsTotalA4 form(&lends, period);
    form.QuickRep.title = QStringLiteral(" Tržby");
    PreviewOverList(form.QuickRep, lends);
}
