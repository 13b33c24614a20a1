#include "reports/layouts/ListLayout.h"

#include "core/Messages.h"
#include "core/database/DataSet.h"

namespace {

// The flag a column shows as one of two texts ("$;-", "->;<-"), whatever kind of number
// the data set reads the bit as.
void ShowFlag(ReportDBText *text, const QString &mask)
{
    const QString yes = mask.section(u';', 0, 0);
    const QString no = mask.section(u';', 1, 1);
    text->onPrint = [text, yes, no](QString &s) {
        if (!text->dataSet || text->dataSet->currentRow() < 0)
            return;
        const QVariant value = text->dataSet->value(text->field);
        s = value.isNull() ? QString() : value.toBool() ? yes : no;
    };
}

} // namespace

ReportBand *AddListHead(Report &report, qreal height, bool boldPageAndDate)
{
    ReportBand *head = report.addBand(BandType::ColumnHeader, height);
    const qreal width = report.printableRect().width();
    auto *page = head->add<ReportSysData>(SysData::PageNumber, 0, 8);
    page->setName(QStringLiteral("QRSysDataPage"));
    page->prefix = QStringLiteral("Strana: ");
    page->font.bold = boldPageAndDate;
    auto *date = head->add<ReportSysData>(SysData::DateTime, 128, 8);
    date->setName(QStringLiteral("QRSysDataDate"));
    date->font.bold = boldPageAndDate;
    auto *title = head->add<ReportSysData>(SysData::ReportTitle, 0, 8);
    title->setName(QStringLiteral("QRSysDataTitle"));
    title->font = ReportFont(16, true);
    title->setCentredOver(0, width);
    return head;
}

void AddListColumns(ReportBand *head, ReportBand *detail, DataSet *data, const QList<ListColumn> &columns,
                    qreal titleTop, qreal lineTop, qreal points)
{
    AddColumnTitles(head, columns, titleTop, lineTop, points);
    AddColumnTexts(detail, data, columns, 0, points);
}

void AddColumnTitles(ReportBand *band, const QList<ListColumn> &columns, qreal titleTop, qreal lineTop,
                     qreal points)
{
    for (const ListColumn &c : columns) {
        auto *title = band->add<ReportLabel>(c.title, c.left, titleTop);
        title->font = ReportFont(points);
        if (c.centredTitle)
            title->setCentredOver(c.left, c.left + c.width);
        band->add<ReportShape>(ShapeKind::HorizontalLine, c.left, lineTop, c.width);
    }
}

QList<ReportDBText *> AddColumnTexts(ReportBand *band, DataSet *data, const QList<ListColumn> &columns, qreal top,
                                     qreal points)
{
    QList<ReportDBText *> texts;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const ListColumn &c = columns.at(i);
        auto *text = band->add<ReportDBText>(data, c.field, c.left, top);
        text->setName(QStringLiteral("QRDBText") + c.field);
        text->font = ReportFont(c.family, points);
        if (c.mask.contains(u';'))
            ShowFlag(text, c.mask);
        else
            text->mask = c.mask;
        switch (c.align) {
        case TextAlign::Left: {
            // A long text runs on up to the next column, never into it.
            const qreal end = i + 1 < columns.size() ? columns.at(i + 1).left - 2 : c.left + c.width;
            text->setBox(qMax(c.width, end - c.left));
            break;
        }
        case TextAlign::Right:
            text->setRightEdge(c.left + c.width);
            break;
        case TextAlign::Centre:
            text->setCentredOver(c.left, c.left + c.width);
            break;
        }
        texts << text;
    }
    return texts;
}

QList<ReportShape *> AddColumnLines(ReportBand *band, const QList<ListColumn> &columns, qreal top)
{
    QList<ReportShape *> lines;
    for (const ListColumn &c : columns)
        lines << band->add<ReportShape>(ShapeKind::HorizontalLine, c.left, top, c.width);
    return lines;
}

ReportFont SummaryFont()
{
    return ReportFont(8, true);
}

ReportBand *AddListSummary(Report &report, const QList<ListColumn> &columns, const QString &caption,
                           qreal countLeft)
{
    ReportBand *summary = report.addBand(BandType::Summary, 32);
    AddColumnLines(summary, columns, 2);
    summary->add<ReportLabel>(caption, 0, 8)->font = SummaryFont();
    auto *count = summary->add<ReportSysData>(SysData::DetailCount, countLeft, 8);
    count->setName(QStringLiteral("QRSysDataCount"));
    count->font = SummaryFont();
    return summary;
}

void PreviewOverList(Report &report, DataSet &list)
{
    const DataSet::Bookmark mark = list.bookmark();
    list.disableControls();
    struct Restore {
        DataSet &list;
        DataSet::Bookmark mark;
        // Back on the row before the controls follow again, so that they see no move.
        ~Restore()
        {
            if (list.bookmarkValid(mark))
                list.gotoBookmark(mark);
            list.freeBookmark(mark);
            list.enableControls();
        }
    } restore{list, mark};
    report.preview();
}

bool HasRowsToPrint(const DataSet &list, const QString &text, const QString &detail, QWidget *focus)
{
    if (list.isOpen() && !list.isEmpty())
        return true;
    ShowInformation(text, detail, true, focus);
    return false;
}
