#pragma once
#include "core/database/Money.h"
#include "reports/ReportCanvas.h"
#include "reports/ReportPages.h"

#include <QDateTime>
#include <QImage>
#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DataSet;
class Report;

// The program's banded reports. A layout is a Report: the paper, its bands (a title on the
// first page, headers on every page, a detail band per row of the report's data set, loop
// bands printed a given number of times, a summary at the end), and controls on the bands
// or on the page itself. Preparing it produces the pages as drawings (PreparedReport) that
// the preview shows, the printer prints, the page file keeps and the RTF export writes.
//
// Positions are layout pixels (96 per inch): a band control's from the band's top left
// corner (the band starts at the page's left margin), a page control's from the paper's
// corner. Fonts are in points.
//
//     Report report;
//     report.title = QStringLiteral(" Video");
//     report.dataSet = videos;
//     ReportBand *head = report.addBand(BandType::ColumnHeader, 64);
//     head->add<ReportSysData>(SysData::PageNumber, 0, 8)->prefix = QStringLiteral("Strana: ");
//     ReportBand *detail = report.addBand(BandType::Detail, 16);
//     detail->add<ReportDBText>(videos, QStringLiteral("TITUL"), 82, 0, 270)->font = ReportFont(8);
//     auto *sum = report.addBand(BandType::Summary, 32)->add<ReportExpr>(QStringLiteral("SUM(CENA)"), 0, 8);
//     sum->mask = QStringLiteral("Celkem [Kč]: ,0.00");
//     sum->setRightEdge(718);
//     report.preview();

// What a control is printed with.
struct ReportPrintState {
    const Report *report = nullptr;
    int pageNumber = 0;
    QDateTime started; // when the pages began to be produced
};

class ReportControl {
public:
    virtual ~ReportControl() = default;

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    // A disabled control is not printed.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    qreal left() const { return m_left; }
    qreal top() const { return m_top; }
    qreal width() const { return m_width; }
    qreal height() const { return m_height; }
    void setGeometry(qreal left, qreal top, qreal width, qreal height);
    void setTop(qreal top) { m_top = top; }
    void setHeight(qreal height) { m_height = height; }
    void moveBy(qreal dx, qreal dy);

protected:
    friend class ReportGenerator;
    ReportControl(qreal left, qreal top, qreal width, qreal height);
    // Adds what the control prints, its position counted from `origin`.
    virtual void print(const ReportPrintState &state, const QPointF &origin, QList<PageItem> &items) = 0;

    qreal m_left, m_top, m_width, m_height;

private:
    QString m_name;
    bool m_enabled = true;
};

enum class TextAlign { Left, Right, Centre };

// A control that prints one text (a memo: several lines). By default the box begins at its
// left edge and follows the text; setRightEdge() keeps the right end instead, setBox() and
// setCentredOver() fix a box that clips the text. The height is one line of the font
// unless set.
class ReportText : public ReportControl {
public:
    ReportFont font;
    // Gets the text the control is about to print and may replace it; an empty text
    // prints nothing.
    std::function<void(QString &text)> onPrint;

    TextAlign alignment() const { return m_align; }
    bool autoSize() const { return m_autoSize; }
    void setRightEdge(qreal x);
    void setBox(qreal width, TextAlign align = TextAlign::Left);
    void setCentredOver(qreal left, qreal right);

protected:
    ReportText(qreal left, qreal top, qreal width);
    virtual QString text(const ReportPrintState &state) const = 0;
    void print(const ReportPrintState &state, const QPointF &origin, QList<PageItem> &items) override;

    // Lines longer than the box go on in the next line of the box.
    bool m_wordWrap = false;

private:
    const LayoutMetrics &metrics();

    TextAlign m_align = TextAlign::Left;
    bool m_autoSize = true;
    std::optional<std::pair<ReportFont, LayoutMetrics>> m_metrics;
    SharedTextStyle m_style; // shared by the texts printed

};

class ReportLabel : public ReportText {
public:
    ReportLabel(const QString &text, qreal left, qreal top) : ReportText(left, top, 0), caption(text) {}
    QString caption;

protected:
    QString text(const ReportPrintState &) const override { return caption; }
};

// A field of a data set's current row (any data set, not only the report's): its display
// text, or its value through `mask` ("dd.MM.yyyy", ",0.00 Kč"). Nothing when the data set
// has no current row. A width fixes a left-aligned box; 0 lets the box follow the text.
class ReportDBText : public ReportText {
public:
    ReportDBText(DataSet *dataSet, const QString &field, qreal left, qreal top, qreal width = 0);
    DataSet *dataSet;
    QString field;
    QString mask;

protected:
    QString text(const ReportPrintState &state) const override;
};

enum class SysData { PageNumber, Date, Time, DateTime, ReportTitle, DetailCount };

// What the report itself knows, after `prefix`: the page number, the date and time the
// pages began ("d.M.yyyy", "H:mm:ss"), the title, the number of rows of the report's data
// set (or of `countDataSet` when set).
class ReportSysData : public ReportText {
public:
    ReportSysData(SysData kind, qreal left, qreal top) : ReportText(left, top, 0), kind(kind) {}
    SysData kind;
    QString prefix;
    DataSet *countDataSet = nullptr;

protected:
    QString text(const ReportPrintState &state) const override;
};

// An expression over the printed rows: "SUM(FIELD)" adds the field of the report's data set
// each time the detail band prints, over the whole report; printed through `mask`.
class ReportExpr : public ReportText {
public:
    ReportExpr(const QString &expression, qreal left, qreal top);
    QString expression() const { return m_expression; }
    QString mask;
    Money value() const { return m_sum; }

protected:
    friend class ReportGenerator;
    QString text(const ReportPrintState &state) const override;
    void reset() { m_sum = Money(); }
    void addRow(const DataSet &dataSet);

private:
    QString m_expression;
    QString m_field;
    Money m_sum;
};

// Lines of text in a fixed box, a line longer than the box wrapped at its words, all
// clipped to the box.
class ReportMemo : public ReportText {
public:
    ReportMemo(qreal left, qreal top, qreal width, qreal height);
    QStringList lines;

protected:
    QString text(const ReportPrintState &) const override { return lines.join(u'\n'); }
};

enum class ShapeKind { HorizontalLine, VerticalLine, Rectangle };

// A line along the top (horizontal) or the left edge (vertical) of its box, or the box's
// outline.
class ReportShape : public ReportControl {
public:
    ReportShape(ShapeKind kind, qreal left, qreal top, qreal width, qreal height = 0)
        : ReportControl(left, top, width, height), kind(kind) {}
    ShapeKind kind;
    Qt::PenStyle penStyle = Qt::SolidLine;
    qreal penWidth = 1;

protected:
    void print(const ReportPrintState &state, const QPointF &origin, QList<PageItem> &items) override;
};

// A picture scaled into its box, and a drawing made for each print: newDrawing() starts it
// anew on a white box and gives the canvas to draw it on; drawBarcode() makes it the
// barcode a TEAN paints, kept on the page as its number alone (the cards' barcode).
class ReportImage : public ReportControl {
public:
    ReportImage(qreal left, qreal top, qreal width, qreal height);
    QImage picture;
    ReportCanvas &newDrawing();
    void drawBarcode(const TEAN &ean);

protected:
    void print(const ReportPrintState &state, const QPointF &origin, QList<PageItem> &items) override;

private:
    RecordingCanvas m_canvas;
    std::optional<TEAN> m_barcode;
};

// The controls of a band or of the page.
class ReportControlList {
public:
    template <typename T, typename... Args> T *add(Args &&...args)
    {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T *added = control.get();
        m_controls.push_back(std::move(control));
        return added;
    }
    // In the order they were added: the order they print in.
    const std::vector<std::unique_ptr<ReportControl>> &controls() const { return m_controls; }
    ReportControl *control(const QString &name) const;

private:
    std::vector<std::unique_ptr<ReportControl>> m_controls;
};

enum class BandType { PageHeader, Title, ColumnHeader, Detail, Loop, Summary };

// Page headers print at the top of every page, then the title (first page only) and the
// column headers (every page); the detail band once per row of the report's data set (once
// when the report has none), a loop band `printCount` times, each where the last band
// ended; the summary after them. A band that does not fit goes to a new page.
class ReportBand : public ReportControlList {
public:
    ReportBand(BandType type, qreal height) : m_type(type), m_height(height) {}
    BandType type() const { return m_type; }
    qreal height() const { return m_height; }
    void setHeight(qreal height) { m_height = height; }

    bool forceNewPage = false; // begins a new page unless the page holds no band yet
    int printCount = 1;        // passes of a loop band
    // Runs before each print of the band; clearing `printBand` leaves it out.
    std::function<void(bool &printBand)> beforePrint;

private:
    BandType m_type;
    qreal m_height;
};

// The report: its controls are those printed on every page.
class Report : public ReportControlList {
public:
    Report();
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    QString title;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = QMarginsF(10, 10, 10, 10); // millimetres
    QString printerName; // empty: the default printer
    DataSet *dataSet = nullptr;
    // Runs before the pages are produced.
    std::function<void()> beforePrint;
    // A preview shows the progress window while the pages are produced.
    bool showProgress = false;

    ReportBand *addBand(BandType type, qreal height);
    const std::vector<std::unique_ptr<ReportBand>> &bands() const { return m_bands; }
    // A control of a band or of the page by its name; null when there is none.
    ReportControl *findControl(const QString &name) const;
    // The paper and the area inside the margins, in layout pixels.
    QSizeF paperSize() const;
    QRectF printableRect() const;

    // Produces the pages anew. The report's data set is left on the row it stood on.
    PreparedReport *prepare();
    // The pages last produced, null before the first prepare().
    PreparedReport *prepared() const { return m_prepared.get(); }
    // Shows the preview at once and makes the pages while it is open, each shown as soon as
    // it is finished; returns when the preview has closed. Closing it early stops the pages.
    void preview();
    // Prepares the pages and prints them once on the report's printer.
    void print();
    // Whether a preview of the report's pages is open.
    bool previewOpen() const { return m_previewOpen; }

private:
    std::unique_ptr<PreparedReport> newPrepared();
    // Makes the pages into `out`, calling `pageDone` after each finished page.
    void makePages(PreparedReport &out, const std::function<void()> &pageDone);

    std::vector<std::unique_ptr<ReportBand>> m_bands;
    std::unique_ptr<PreparedReport> m_prepared;
    bool m_previewOpen = false;
};
