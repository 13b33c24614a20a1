#include "catalogue/Worksheet.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <xlsxwriter.h>

#include <orcus/exception.hpp>

#include <cctype>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <unordered_map>

// ---------------------------------------------------------------------------------
// MemoryWorksheet

QVariant MemoryWorksheet::cell(int row, int column) const
{
    if (row < 1 || column < 1 || row > int(m_rows.size()))
        return {};
    const auto &cells = m_rows[size_t(row - 1)];
    return column <= int(cells.size()) ? cells[size_t(column - 1)] : QVariant();
}

void MemoryWorksheet::setCell(int row, int column, const QVariant &value, CellFormat)
{
    const bool empty = value.typeId() == QMetaType::QString && value.toString().isEmpty();
    setValue(row, column, empty ? QVariant() : value);
}

void MemoryWorksheet::setValue(int row, int column, const QVariant &value)
{
    if (row < 1 || column < 1)
        return;
    if (value.isNull() && cell(row, column).isNull())
        return;
    if (row > int(m_rows.size()))
        m_rows.resize(size_t(row));
    auto &cells = m_rows[size_t(row - 1)];
    if (column > int(cells.size()))
        cells.resize(size_t(column));
    cells[size_t(column - 1)] = value;
}

// ---------------------------------------------------------------------------------
// Reading through liborcus: the filters call an import factory of ours for every
// part of the workbook; we keep the first sheet's cells and what tells a date
// number from another number (the number formats of the cell styles).

namespace {

namespace ss = orcus::spreadsheet;

QString fromUtf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Whether a number format code shows a date or a time: a d, m, y, h or s outside
// quotes, escapes and brackets ("[Red]", but "[h]" counts as time).
bool isDateFormatCode(const QString &code)
{
    bool inQuote = false;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i).toLower();
        if (inQuote) {
            inQuote = c != QLatin1Char('"');
        } else if (c == QLatin1Char('"')) {
            inQuote = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const int end = code.indexOf(QLatin1Char(']'), i);
            const QString inner = code.mid(i + 1, end - i - 1).toLower();
            if (!inner.isEmpty() && inner.count(inner.at(0)) == inner.size()
                && QStringLiteral("hms").contains(inner.at(0)))
                return true;
            if (end < 0)
                return false;
            i = end;
        } else if (QStringLiteral("dmyhs").contains(c)) {
            return true;
        }
    }
    return false;
}

// The number formats of the workbook's cell styles, by style index.
class Styles : public ss::iface::import_styles {
public:
    bool isDate(size_t xf) const { return xf < m_xfIsDate.size() && m_xfIsDate[xf]; }

    void set_number_format_identifier(size_t id) override { m_formatId = id; }
    void set_number_format_code(std::string_view s) override { m_formatCode = fromUtf8(s); }
    size_t commit_number_format() override
    {
        m_codes[m_formatId] = m_formatCode;
        m_formatCode.clear();
        return m_formatId;
    }
    void set_xf_number_format(size_t index) override { m_xfFormat = index; }
    size_t commit_cell_xf() override
    {
        m_xfIsDate.push_back(formatIsDate(m_xfFormat));
        m_xfFormat = 0;
        return m_xfIsDate.size() - 1;
    }
    size_t commit_cell_style_xf() override { m_xfFormat = 0; return 0; }
    size_t commit_dxf() override { m_xfFormat = 0; return 0; }

    void set_font_count(size_t) override {}
    void set_font_bold(bool) override {}
    void set_font_italic(bool) override {}
    void set_font_name(std::string_view) override {}
    void set_font_size(double) override {}
    void set_font_underline(ss::underline_t) override {}
    void set_font_underline_width(ss::underline_width_t) override {}
    void set_font_underline_mode(ss::underline_mode_t) override {}
    void set_font_underline_type(ss::underline_type_t) override {}
    void set_font_underline_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_strikethrough_style(ss::strikethrough_style_t) override {}
    void set_strikethrough_type(ss::strikethrough_type_t) override {}
    void set_strikethrough_width(ss::strikethrough_width_t) override {}
    void set_strikethrough_text(ss::strikethrough_text_t) override {}
    size_t commit_font() override { return 0; }
    void set_fill_count(size_t) override {}
    void set_fill_pattern_type(ss::fill_pattern_t) override {}
    void set_fill_fg_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_fill_bg_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    size_t commit_fill() override { return 0; }
    void set_border_count(size_t) override {}
    void set_border_style(ss::border_direction_t, ss::border_style_t) override {}
    void set_border_color(ss::border_direction_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_border_width(ss::border_direction_t, double, orcus::length_unit_t) override {}
    size_t commit_border() override { return 0; }
    void set_cell_hidden(bool) override {}
    void set_cell_locked(bool) override {}
    void set_cell_print_content(bool) override {}
    void set_cell_formula_hidden(bool) override {}
    size_t commit_cell_protection() override { return 0; }
    void set_number_format_count(size_t) override {}
    void set_cell_xf_count(size_t) override {}
    void set_cell_style_xf_count(size_t) override {}
    void set_dxf_count(size_t) override {}
    void set_xf_font(size_t) override {}
    void set_xf_fill(size_t) override {}
    void set_xf_border(size_t) override {}
    void set_xf_protection(size_t) override {}
    void set_xf_style_xf(size_t) override {}
    void set_xf_apply_alignment(bool) override {}
    void set_xf_horizontal_alignment(ss::hor_alignment_t) override {}
    void set_xf_vertical_alignment(ss::ver_alignment_t) override {}
    void set_cell_style_count(size_t) override {}
    void set_cell_style_name(std::string_view) override {}
    void set_cell_style_xf(size_t) override {}
    void set_cell_style_builtin(size_t) override {}
    void set_cell_style_parent_name(std::string_view) override {}
    size_t commit_cell_style() override { return 0; }

private:
    bool formatIsDate(size_t id) const
    {
        const auto code = m_codes.find(id);
        if (code != m_codes.end())
            return isDateFormatCode(code->second);
        // The built-in date and time formats of the file format.
        return (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
    }

    std::unordered_map<size_t, QString> m_codes;
    size_t m_formatId = 0;
    QString m_formatCode;
    size_t m_xfFormat = 0;
    std::vector<bool> m_xfIsDate;
};

class SharedStrings : public ss::iface::import_shared_strings {
public:
    QString at(size_t index) const { return index < m_strings.size() ? m_strings[index] : QString(); }

    size_t append(std::string_view s) override
    {
        m_strings.push_back(fromUtf8(s));
        return m_strings.size() - 1;
    }
    size_t add(std::string_view s) override { return append(s); }
    void append_segment(std::string_view s) override { m_segments += fromUtf8(s); }
    size_t commit_segments() override
    {
        m_strings.push_back(m_segments);
        m_segments.clear();
        return m_strings.size() - 1;
    }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}

private:
    std::vector<QString> m_strings;
    QString m_segments;
};

class GlobalSettings : public ss::iface::import_global_settings {
public:
    // Day 0 of the file's date numbers (1904 in some old workbooks).
    QDate origin = QDate(1899, 12, 30);

    void set_origin_date(int year, int month, int day) override { origin = QDate(year, month, day); }
    void set_default_formula_grammar(ss::formula_grammar_t grammar) override { m_grammar = grammar; }
    ss::formula_grammar_t get_default_formula_grammar() const override { return m_grammar; }
    void set_character_set(orcus::character_set_t) override {}

private:
    ss::formula_grammar_t m_grammar = ss::formula_grammar_t::unknown;
};

// The cached result of a formula cell stands for its value.
class FormulaCell : public ss::iface::import_formula {
public:
    explicit FormulaCell(MemoryWorksheet *cells) : m_cells(cells) {}

    void set_position(ss::row_t row, ss::col_t col) override { m_row = row; m_col = col; m_value = {}; }
    void set_formula(ss::formula_grammar_t, std::string_view) override {}
    void set_shared_formula_index(size_t) override {}
    void set_result_string(std::string_view value) override { m_value = fromUtf8(value); }
    void set_result_value(double value) override { m_value = value; }
    void set_result_bool(bool value) override { m_value = value; }
    void set_result_empty() override { m_value = {}; }
    void commit() override
    {
        if (m_cells)
            m_cells->setValue(m_row + 1, m_col + 1, m_value);
    }

private:
    MemoryWorksheet *m_cells;
    ss::row_t m_row = 0;
    ss::col_t m_col = 0;
    QVariant m_value;
};

// One sheet of the workbook; only the first keeps its cells (`cells` is null for
// the others).
class Sheet : public ss::iface::import_sheet {
public:
    Sheet(MemoryWorksheet *cells, const SharedStrings &strings, const Styles &styles,
          const GlobalSettings &settings)
        : m_cells(cells), m_strings(strings), m_styles(styles), m_settings(settings), m_formula(cells)
    {
    }

    // Numbers of a date format become dates once every style is known.
    void finish()
    {
        if (!m_cells)
            return;
        for (const auto &[row, col, xf] : m_formats) {
            const QVariant v = m_cells->cell(row + 1, col + 1);
            if (v.typeId() == QMetaType::Double && m_styles.isDate(xf))
                m_cells->setValue(row + 1, col + 1, dateOfNumber(v.toDouble()));
        }
    }

    void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override
    {
        put(row, col, fromUtf8(s));
    }
    void set_string(ss::row_t row, ss::col_t col, ss::string_id_t sindex) override
    {
        put(row, col, m_strings.at(sindex));
    }
    void set_value(ss::row_t row, ss::col_t col, double value) override { put(row, col, value); }
    void set_bool(ss::row_t row, ss::col_t col, bool value) override { put(row, col, value); }
    void set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour,
                       int minute, double second) override
    {
        const QTime time(hour, minute, int(second));
        put(row, col, QDateTime(QDate(year, month, day), time.isValid() ? time : QTime(0, 0)));
    }
    void set_format(ss::row_t row, ss::col_t col, size_t xf) override
    {
        if (m_cells)
            m_formats.push_back({row, col, xf});
    }
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override
    {
        // Styles of whole ranges (columns) come with the cells' own styles as well.
    }
    void fill_down_cells(ss::row_t row, ss::col_t col, ss::row_t count) override
    {
        if (!m_cells)
            return;
        const QVariant v = m_cells->cell(row + 1, col + 1);
        for (ss::row_t i = 1; i <= count; ++i)
            m_cells->setValue(row + 1 + i, col + 1, v);
    }
    ss::range_size_t get_sheet_size() const override { return {1048576, 16384}; }
    ss::iface::import_formula *get_formula() override { return &m_formula; }

private:
    struct Format {
        ss::row_t row;
        ss::col_t col;
        size_t xf;
    };

    void put(ss::row_t row, ss::col_t col, const QVariant &value)
    {
        if (m_cells)
            m_cells->setValue(row + 1, col + 1, value);
    }

    QDateTime dateOfNumber(double number) const
    {
        const double days = std::floor(number);
        const qint64 seconds = std::llround((number - days) * 86400.0);
        return QDateTime(m_settings.origin.addDays(qint64(days)), QTime(0, 0)).addSecs(seconds);
    }

    MemoryWorksheet *m_cells;
    const SharedStrings &m_strings;
    const Styles &m_styles;
    const GlobalSettings &m_settings;
    FormulaCell m_formula;
    std::vector<Format> m_formats;
};

// Cell addresses of the A1 kind ("B7", "$B$7", "List1!B7", ranges "A1:K20", "A:A",
// "3:3"), which the .xlsx filter asks about; sheet names are not told apart.
class AddressResolver : public ss::iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view address) override
    {
        const ss::src_address_t a = parse(address);
        if (a.row < 0 || a.column < 0)
            throw orcus::invalid_arg_error("not a cell address");
        return a;
    }
    ss::src_range_t resolve_range(std::string_view range) override
    {
        const size_t colon = range.find(':');
        ss::src_range_t r;
        r.first = parse(range.substr(0, colon));
        r.last = colon == std::string_view::npos ? r.first : parse(range.substr(colon + 1));
        // A whole column or row runs over the whole sheet.
        if (r.first.row < 0 || r.last.row < 0) {
            r.first.row = 0;
            r.last.row = MaxRow;
        }
        if (r.first.column < 0 || r.last.column < 0) {
            r.first.column = 0;
            r.last.column = MaxColumn;
        }
        return r;
    }

private:
    static constexpr ss::row_t MaxRow = 1048575;
    static constexpr ss::col_t MaxColumn = 16383;

    // Row or column -1 when the address leaves it out.
    static ss::src_address_t parse(std::string_view text)
    {
        const size_t bang = text.rfind('!');
        if (bang != std::string_view::npos)
            text = text.substr(bang + 1);
        ss::src_address_t a{0, -1, -1};
        size_t i = 0;
        if (i < text.size() && text[i] == '$')
            ++i;
        long column = 0;
        size_t letters = 0;
        for (; i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])); ++i, ++letters)
            column = column * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        if (i < text.size() && text[i] == '$')
            ++i;
        long row = 0;
        size_t digits = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits)
            row = row * 10 + (text[i] - '0');
        if (i != text.size() || (letters == 0 && digits == 0) || column > MaxColumn + 1
            || row > MaxRow + 1 || (digits > 0 && row == 0))
            throw orcus::invalid_arg_error("not a cell address");
        if (letters > 0)
            a.column = ss::col_t(column - 1);
        if (digits > 0)
            a.row = ss::row_t(row - 1);
        return a;
    }
};

class Factory : public ss::iface::import_factory {
public:
    explicit Factory(MemoryWorksheet *cells) : m_cells(cells) {}

    ss::iface::import_global_settings *get_global_settings() override { return &m_settings; }
    ss::iface::import_shared_strings *get_shared_strings() override { return &m_strings; }
    ss::iface::import_styles *get_styles() override { return &m_styles; }
    ss::iface::import_reference_resolver *get_reference_resolver(ss::formula_ref_context_t) override
    {
        return &m_resolver;
    }

    ss::iface::import_sheet *append_sheet(ss::sheet_t index, std::string_view name) override
    {
        m_sheets.push_back(std::make_unique<Sheet>(index == 0 ? m_cells : nullptr, m_strings,
                                                   m_styles, m_settings));
        m_names.push_back(std::string(name));
        return m_sheets.back().get();
    }
    ss::iface::import_sheet *get_sheet(std::string_view name) override
    {
        for (size_t i = 0; i < m_names.size(); ++i) {
            if (m_names[i] == name)
                return m_sheets[i].get();
        }
        return nullptr;
    }
    ss::iface::import_sheet *get_sheet(ss::sheet_t index) override
    {
        return index >= 0 && size_t(index) < m_sheets.size() ? m_sheets[size_t(index)].get() : nullptr;
    }
    void finalize() override
    {
        if (m_sheets.empty())
            return;
        m_sheets.front()->finish();
    }

    bool hasSheet() const { return !m_sheets.empty(); }

private:
    MemoryWorksheet *m_cells;
    GlobalSettings m_settings;
    SharedStrings m_strings;
    Styles m_styles;
    AddressResolver m_resolver;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    std::vector<std::string> m_names;
};

} // namespace

std::unique_ptr<MemoryWorksheet> ReadWorksheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EWorksheetError(QStringLiteral("Soubor nelze otevřít: %1").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    file.close();
    const auto *blob = reinterpret_cast<const unsigned char *>(bytes.constData());
    const std::string_view stream(bytes.constData(), size_t(bytes.size()));

    auto cells = std::make_unique<MemoryWorksheet>();
    Factory factory(cells.get());
    try {
        if (orcus::orcus_xlsx::detect(blob, size_t(bytes.size()))) {
            orcus::orcus_xlsx filter(&factory);
            filter.read_stream(stream);
        } else if (orcus::orcus_ods::detect(blob, size_t(bytes.size()))) {
            orcus::orcus_ods filter(&factory);
            filter.read_stream(stream);
        } else {
            throw EWorksheetError(QStringLiteral("Soubor není sešit .xlsx ani .ods"));
        }
    } catch (const EWorksheetError &) {
        throw;
    } catch (const std::exception &e) {
        throw EWorksheetError(QStringLiteral("Soubor nelze přečíst: %1").arg(QString::fromUtf8(e.what())));
    }
    if (!factory.hasSheet())
        throw EWorksheetError(QStringLiteral("Sešit nemá žádný list"));
    return cells;
}

// ---------------------------------------------------------------------------------
// Writing through libxlsxwriter, into a file beside the target that replaces it
// when saved.

namespace {
// The number format codes of the cell formats, by CellFormat; General has none.
const char *const FormatCodes[] = {nullptr, "0000000000000", "#,##0.00", "d.m.yyyy h:mm:ss", "d.m.yyyy"};
} // namespace

struct XlsxWorksheet::Book {
    QString path;
    QString partPath;
    lxw_workbook *workbook = nullptr;
    lxw_worksheet *sheet = nullptr;
    lxw_format *formats[std::size(FormatCodes)] = {};
    // A text cell's UTF-8, in one buffer for every cell.
    QStringEncoder utf8{QStringEncoder::Utf8};
    std::vector<char> text;

    bool addFormats()
    {
        for (size_t i = 1; i < std::size(FormatCodes); ++i) {
            formats[i] = workbook_add_format(workbook);
            if (!formats[i])
                return false;
            format_set_num_format(formats[i], FormatCodes[i]);
        }
        return true;
    }

    void discard()
    {
        if (workbook) {
            workbook_close(workbook);
            workbook = nullptr;
        }
        if (!partPath.isEmpty())
            QFile::remove(partPath);
    }
};

XlsxWorksheet::XlsxWorksheet(const QString &path) : m_book(std::make_unique<Book>())
{
    m_book->path = path;
    const QFileInfo target(path);
    if (!target.dir().exists())
        throw EWorksheetError(QStringLiteral("Složka %1 neexistuje").arg(target.dir().path()));
    {
        // A name of our own in the target's folder, so that the rename stays there.
        QTemporaryFile part(target.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
        part.setAutoRemove(false);
        if (!part.open())
            throw EWorksheetError(QStringLiteral("Soubor nelze vytvořit: %1").arg(part.errorString()));
        m_book->partPath = part.fileName();
    }
    // Strings go to the shared string table: the .xlsx reader does not read inline
    // strings, which the constant-memory mode would write.
    const QByteArray name = QFile::encodeName(m_book->partPath);
    m_book->workbook = workbook_new(name.constData());
    if (m_book->workbook)
        m_book->sheet = workbook_add_worksheet(m_book->workbook, nullptr);
    if (!m_book->sheet || !m_book->addFormats()) {
        m_book->discard();
        throw EWorksheetError(QStringLiteral("Sešit nelze vytvořit"));
    }
}

XlsxWorksheet::~XlsxWorksheet()
{
    m_book->discard();
}

QVariant XlsxWorksheet::cell(int, int) const
{
    throw EWorksheetError(QStringLiteral("Zapisovaný sešit nelze číst"));
}

void XlsxWorksheet::setCell(int row, int column, const QVariant &value, CellFormat format)
{
    if (!m_book->sheet)
        throw EWorksheetError(QStringLiteral("Sešit již byl uložen"));
    if (row < 1 || column < 1)
        throw EWorksheetError(QStringLiteral("Buňku %1,%2 nelze zapsat").arg(row).arg(column));
    lxw_worksheet *sheet = m_book->sheet;
    const auto r = lxw_row_t(row - 1);
    const auto c = lxw_col_t(column - 1);
    lxw_format *shown = m_book->formats[size_t(format)];
    lxw_error error = LXW_NO_ERROR;
    switch (value.typeId()) {
    case QMetaType::Double:
        error = worksheet_write_number(sheet, r, c, value.toDouble(), shown);
        break;
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        const QDate date = moment.date();
        const QTime time = moment.time();
        lxw_datetime cell = {date.year(), date.month(), date.day(), time.hour(), time.minute(),
                             time.second() + time.msec() / 1000.0};
        error = worksheet_write_datetime(sheet, r, c, &cell, shown);
        break;
    }
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(value.constData());
        if (text.isEmpty())
            break;
        std::vector<char> &buffer = m_book->text;
        buffer.resize(size_t(m_book->utf8.requiredSpace(text.size())) + 1);
        *m_book->utf8.appendToBuffer(buffer.data(), text) = '\0';
        error = worksheet_write_string(sheet, r, c, buffer.data(), nullptr);
        break;
    }
    default:
        if (!value.isNull())
            error = LXW_ERROR_PARAMETER_VALIDATION;
        break;
    }
    if (error != LXW_NO_ERROR)
        throw EWorksheetError(QStringLiteral("Buňku %1,%2 nelze zapsat: %3")
                                  .arg(row).arg(column).arg(QString::fromUtf8(lxw_strerror(error))));
}

void XlsxWorksheet::save()
{
    if (!m_book->workbook)
        throw EWorksheetError(QStringLiteral("Sešit již byl uložen"));
    const lxw_error error = workbook_close(m_book->workbook);
    m_book->workbook = nullptr;
    m_book->sheet = nullptr;
    if (error != LXW_NO_ERROR) {
        m_book->discard();
        throw EWorksheetError(QStringLiteral("Sešit nelze uložit: %1").arg(QString::fromUtf8(lxw_strerror(error))));
    }
    if (std::rename(QFile::encodeName(m_book->partPath).constData(),
                    QFile::encodeName(m_book->path).constData()) != 0) {
        m_book->discard();
        throw EWorksheetError(QStringLiteral("Sešit nelze uložit do souboru %1").arg(m_book->path));
    }
    m_book->partPath.clear();
    // The part file was made private; the workbook gets a document's usual access.
    QFile::setPermissions(m_book->path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                            | QFile::ReadOther);
}
