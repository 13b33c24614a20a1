#include "reports/Report.h"

#include "core/RunGlobals.h"
#include "core/Texts.h"
#include "core/database/DataSet.h"
#include "reports/ReportPreview.h"
#include "reports/ReportPrinting.h"

#include <QRegularExpression>
#include <cmath>
#include <stdexcept>

// ---------------------------------------------------------------------------------------
// Controls

ReportControl::ReportControl(qreal left, qreal top, qreal width, qreal height)
    : m_left(left), m_top(top), m_width(width), m_height(height)
{
}

void ReportControl::setGeometry(qreal left, qreal top, qreal width, qreal height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void ReportControl::moveBy(qreal dx, qreal dy)
{
    m_left += dx;
    m_top += dy;
}

ReportText::ReportText(qreal left, qreal top, qreal width)
    : ReportControl(left, top, width, 0), m_autoSize(width <= 0)
{
}

void ReportText::setRightEdge(qreal x)
{
    m_width = qMax<qreal>(0, x - m_left);
    m_align = TextAlign::Right;
    m_autoSize = true;
}

void ReportText::setBox(qreal width, TextAlign align)
{
    m_width = width;
    m_align = align;
    m_autoSize = false;
}

void ReportText::setCentredOver(qreal left, qreal right)
{
    m_left = left;
    setBox(right - left, TextAlign::Centre);
}

const LayoutMetrics &ReportText::metrics()
{
    if (!m_metrics || !(m_metrics->first == font))
        m_metrics.emplace(font, LayoutMetrics(font));
    return m_metrics->second;
}

void ReportText::print(const ReportPrintState &state, const QPointF &origin, QList<PageItem> &items)
{
    QString s = text(state);
    if (onPrint)
        onPrint(s);
    if (s.isEmpty())
        return;
    const LayoutMetrics &m = metrics();
    const qreal height = m_height > 0 ? m_height : std::ceil(m.height());
    QRectF box(m_left, m_top, m_width, height);
    if (m_autoSize) {
        // A pixel to spare, so that rounding never clips the text's last glyph.
        const qreal textWidth = std::ceil(m.width(s)) + 1;
        if (m_align == TextAlign::Right)
            box.setLeft(m_left + m_width - textWidth);
        else
            box.setWidth(textWidth);
    }
    PageText t;
    t.rect = box.translated(origin);
    const int horizontal = m_align == TextAlign::Right    ? Qt::AlignRight
                           : m_align == TextAlign::Centre ? Qt::AlignHCenter
                                                          : Qt::AlignLeft;
    t.flags = horizontal | Qt::AlignTop | (m_wordWrap ? int(Qt::TextWordWrap) : 0);
    t.style = ShareTextStyle(m_style, PageTextStyle{font});
    t.text = s;
    items.append(std::move(t));
}

ReportDBText::ReportDBText(DataSet *dataSet, const QString &field, qreal left, qreal top, qreal width)
    : ReportText(left, top, width), dataSet(dataSet), field(field)
{
}

QString ReportDBText::text(const ReportPrintState &) const
{
    if (!dataSet || !dataSet->isOpen() || dataSet->currentRow() < 0)
        return QString();
    const int index = dataSet->fieldIndex(field);
    if (index < 0)
        throw EReportError(QStringLiteral("Sestava tiskne neznámé pole %1.").arg(field));
    const int row = dataSet->currentRow();
    if (mask.isEmpty())
        return dataSet->displayText(row, index);
    return DataSet::formatValue(dataSet->valueAt(row, index), dataSet->fieldKind(index), mask);
}

QString ReportSysData::text(const ReportPrintState &state) const
{
    QString value;
    switch (kind) {
    case SysData::PageNumber:
        value = QString::number(state.pageNumber);
        break;
    case SysData::Date:
        value = ShortDateText(state.started.date());
        break;
    case SysData::Time:
        value = LongTimeText(state.started.time());
        break;
    case SysData::DateTime:
        value = DateTimeText(state.started);
        break;
    case SysData::ReportTitle:
        value = state.report->title;
        break;
    case SysData::DetailCount: {
        const DataSet *counted = countDataSet ? countDataSet : state.report->dataSet;
        value = QString::number(counted && counted->isOpen() ? counted->recordCount() : 0);
        break;
    }
    }
    return prefix + value;
}

ReportExpr::ReportExpr(const QString &expression, qreal left, qreal top)
    : ReportText(left, top, 0), m_expression(expression)
{
    static const QRegularExpression sum(QStringLiteral("^\\s*SUM\\s*\\(\\s*(\\w+)\\s*\\)\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = sum.match(expression);
    if (!match.hasMatch())
        throw std::invalid_argument("ReportExpr: only SUM(FIELD) is known");
    m_field = match.captured(1);
}

void ReportExpr::addRow(const DataSet &dataSet)
{
    const int index = dataSet.fieldIndex(m_field);
    if (index < 0)
        throw EReportError(QStringLiteral("Sestava sčítá neznámé pole %1.").arg(m_field));
    const QVariant v = dataSet.value(index);
    if (v.isNull())
        return;
    switch (dataSet.fieldKind(index)) {
    case FieldKind::Money:
        m_sum += v.value<Money>();
        break;
    case FieldKind::Float:
        m_sum += Money::fromDouble(v.toDouble());
        break;
    default:
        m_sum += Money::fromCrowns(v.toLongLong());
        break;
    }
}

QString ReportExpr::text(const ReportPrintState &) const
{
    return FormatMoney(mask, m_sum);
}

ReportMemo::ReportMemo(qreal left, qreal top, qreal width, qreal height)
    : ReportText(left, top, width)
{
    m_height = height;
    m_wordWrap = true;
    setBox(width);
}

void ReportShape::print(const ReportPrintState &, const QPointF &origin, QList<PageItem> &items)
{
    // A line of width w covers the w pixels from the box's edge inwards.
    const QRectF box = QRectF(m_left, m_top, m_width, m_height).translated(origin);
    const qreal half = penWidth / 2;
    switch (kind) {
    case ShapeKind::HorizontalLine:
        items.append(PageLine{QPointF(box.left(), box.top() + half), QPointF(box.right(), box.top() + half),
                              penWidth, penStyle});
        break;
    case ShapeKind::VerticalLine:
        items.append(PageLine{QPointF(box.left() + half, box.top()), QPointF(box.left() + half, box.bottom()),
                              penWidth, penStyle});
        break;
    case ShapeKind::Rectangle:
        items.append(PageFrame{box, penWidth});
        break;
    }
}

ReportImage::ReportImage(qreal left, qreal top, qreal width, qreal height)
    : ReportControl(left, top, width, height), m_canvas(QSize(qRound(width), qRound(height)))
{
}

ReportCanvas &ReportImage::newDrawing()
{
    m_barcode.reset();
    m_canvas = RecordingCanvas(QSize(qRound(m_width), qRound(m_height)));
    m_canvas.fillRect(m_canvas.clipRect(), Qt::white);
    return m_canvas;
}

void ReportImage::drawBarcode(const TEAN &ean)
{
    m_canvas = RecordingCanvas(QSize(qRound(m_width), qRound(m_height)));
    m_barcode = ean;
}

void ReportImage::print(const ReportPrintState &, const QPointF &origin, QList<PageItem> &items)
{
    const QPointF corner = origin + QPointF(m_left, m_top);
    if (!picture.isNull())
        items.append(PageImage{QRectF(corner, QSizeF(m_width, m_height)), picture});
    if (m_barcode)
        items.append(PageBarcode::of(QRectF(corner, QSizeF(qRound(m_width), qRound(m_height))), *m_barcode));
    for (const PageItem &item : m_canvas.items())
        items.append(TranslatedItem(item, corner));
}

ReportControl *ReportControlList::control(const QString &name) const
{
    for (const auto &c : m_controls)
        if (c->name() == name)
            return c.get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Producing the pages

class ReportGenerator {
public:
    ReportGenerator(Report &report, PreparedReport &out, const std::function<void()> &pageDone)
        : m_report(report), m_out(out), m_pageDone(pageDone), m_area(report.printableRect())
    {
        m_state.report = &report;
        m_state.started = Now();
        for (const auto &band : report.bands())
            collectExpressions(band->controls());
        collectExpressions(report.controls());
    }

    void run()
    {
        for (ReportExpr *e : m_expressions)
            e->reset();
        newPage();
        for (const auto &band : m_report.bands()) {
            if (band->type() == BandType::Detail)
                printDetails(*band);
            else if (band->type() == BandType::Loop)
                for (int pass = 0; pass < band->printCount; ++pass)
                    printBand(*band, true);
        }
        for (const auto &band : m_report.bands())
            if (band->type() == BandType::Summary)
                printBand(*band, true);
        finishPage();
    }

private:
    void collectExpressions(const std::vector<std::unique_ptr<ReportControl>> &controls)
    {
        for (const auto &c : controls)
            if (auto *e = dynamic_cast<ReportExpr *>(c.get()))
                m_expressions << e;
    }

    void printDetails(ReportBand &band)
    {
        DataSet *data = m_report.dataSet;
        if (!data) {
            printBand(band, true);
            return;
        }
        const int rows = data->isOpen() ? data->recordCount() : 0;
        for (int row = 0; row < rows; ++row) {
            data->moveTo(row);
            printBand(band, true);
        }
    }

    // A page joins the prepared ones only once it is finished, so that a preview showing
    // them while the rest are made never paints half a page.
    void finishPage()
    {
        m_out.pages.append(ReportPage(m_items));
        m_items.clear(); // its room serves the next page
        if (m_pageDone)
            m_pageDone();
    }

    void newPage()
    {
        if (m_state.pageNumber > 0)
            finishPage();
        m_state.pageNumber = int(m_out.pages.size()) + 1;
        m_y = m_area.top();
        m_bodyOnPage = false;
        printControls(m_report.controls(), QPointF(0, 0));
        for (BandType type : {BandType::PageHeader, BandType::Title, BandType::ColumnHeader}) {
            if (type == BandType::Title && m_state.pageNumber != 1)
                continue;
            for (const auto &band : m_report.bands())
                if (band->type() == type)
                    printBand(*band, false);
        }
    }

    void printBand(ReportBand &band, bool body)
    {
        bool print = true;
        if (band.beforePrint)
            band.beforePrint(print);
        if (!print)
            return;
        // A band taller than a page prints where it stands rather than on ever new pages.
        if (body && m_bodyOnPage
            && (band.forceNewPage || m_y + band.height() > m_area.bottom() + 0.01))
            newPage();
        if (band.type() == BandType::Detail && m_report.dataSet)
            for (ReportExpr *e : m_expressions)
                e->addRow(*m_report.dataSet);
        printControls(band.controls(), QPointF(m_area.left(), m_y));
        m_y += band.height();
        if (body)
            m_bodyOnPage = true;
    }

    void printControls(const std::vector<std::unique_ptr<ReportControl>> &controls, const QPointF &origin)
    {
        for (const auto &c : controls)
            if (c->isEnabled())
                c->print(m_state, origin, m_items);
    }

    Report &m_report;
    PreparedReport &m_out;
    const std::function<void()> &m_pageDone;
    QList<PageItem> m_items; // of the page being made
    QRectF m_area;
    ReportPrintState m_state;
    QList<ReportExpr *> m_expressions;
    qreal m_y = 0;
    bool m_bodyOnPage = false;
};

// ---------------------------------------------------------------------------------------
// The report

Report::Report() = default;
Report::~Report()
{
    // A few pages go back to the allocator's own reuse; many are handed back to the system.
    const bool many = m_prepared && m_prepared->pageCount() > 64;
    m_prepared.reset();
    if (many)
        TrimFreedMemory();
}

ReportBand *Report::addBand(BandType type, qreal height)
{
    m_bands.push_back(std::make_unique<ReportBand>(type, height));
    return m_bands.back().get();
}

ReportControl *Report::findControl(const QString &name) const
{
    if (ReportControl *c = control(name))
        return c;
    for (const auto &band : m_bands)
        if (ReportControl *c = band->control(name))
            return c;
    return nullptr;
}

QSizeF Report::paperSize() const
{
    return PaperSize(pageSize, orientation);
}

QRectF Report::printableRect() const
{
    const QSizeF paper = paperSize();
    return QRectF(QPointF(MillimetresToLayout(margins.left()), MillimetresToLayout(margins.top())),
                  QPointF(paper.width() - MillimetresToLayout(margins.right()),
                          paper.height() - MillimetresToLayout(margins.bottom())));
}

std::unique_ptr<PreparedReport> Report::newPrepared()
{
    auto out = std::make_unique<PreparedReport>();
    out->title = title;
    out->pageSize = pageSize;
    out->orientation = orientation;
    out->printerName = printerName;
    out->closePreviewNotice = [this] { m_previewOpen = false; };
    return out;
}

void Report::makePages(PreparedReport &out, const std::function<void()> &pageDone)
{
    if (beforePrint)
        beforePrint();
    // The rows are walked with the data set's controls held back, and its row restored, so
    // that a list shown on the desk neither follows nor changes.
    DataSet *data = dataSet;
    const int keep = data ? data->currentRow() : -1;
    if (data)
        data->disableControls();
    struct Restore {
        DataSet *data;
        int row;
        ~Restore()
        {
            if (data) {
                if (row >= 0)
                    data->moveTo(row);
                data->enableControls();
            }
        }
    } restore{data, keep};
    ReportGenerator(*this, out, pageDone).run();
}

PreparedReport *Report::prepare()
{
    auto out = newPrepared();
    makePages(*out, {});
    m_prepared = std::move(out);
    return m_prepared.get();
}

void Report::preview()
{
    // The pages of an earlier run are given up before new ones are made.
    m_prepared = newPrepared();
    PreparedReport *pages = m_prepared.get();
    m_previewOpen = true;
    struct Closed {
        bool &open;
        ~Closed() { open = false; }
    } closed{m_previewOpen};
    PreviewPreparedReport(
        pages, [this, pages](const std::function<void()> &pageDone) { makePages(*pages, pageDone); }, showProgress);
}

void Report::print()
{
    PrintPreparedReport(*prepare(), title);
}
