#include "reports/QrpFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr char Magic[4] = {'V', 'Q', 'R', 'P'};
// Version 2 added the barcode item; files of version 1 are still read.
constexpr quint16 FormatVersion = 2;
constexpr quint16 OldestVersion = 1;
// Larger files are no prepared report of this program.
constexpr qint64 MaxFileSize = qint64(1) << 30;
// Coordinates, sizes and widths beyond this are no page of ours.
constexpr double MaxCoordinate = 1e6;

enum ItemType : quint8 { ItemText = 1, ItemLine, ItemFrame, ItemFill, ItemImage, ItemBarcode };
// The largest number a barcode carries: thirteen digits.
constexpr qint64 MaxBarcode = 9999999999999;

QString NotQrp()
{
    return QStringLiteral("Soubor není platná sestava QRP nebo je poškozený.");
}

// ---------------------------------------------------------------------------------------
// Writing

class Writer {
public:
    QByteArray bytes;

    void u8(quint8 v) { bytes.append(char(v)); }
    void u16(quint16 v) { put(qToLittleEndian(v)); }
    void u32(quint32 v) { put(qToLittleEndian(v)); }
    void i32(qint32 v) { put(qToLittleEndian(v)); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        put(qToLittleEndian(bits));
    }
    void blob(const QByteArray &b)
    {
        u32(quint32(b.size()));
        bytes.append(b);
    }
    void text(const QString &s) { blob(s.toUtf8()); }
    void rect(const QRectF &r)
    {
        f64(r.x());
        f64(r.y());
        f64(r.width());
        f64(r.height());
    }
    void color(const QColor &c) { u32(c.rgba()); }

    void operator()(const PageText &t)
    {
        u8(ItemText);
        rect(t.rect);
        i32(t.flags);
        const ReportFont &font = t.font();
        text(font.family);
        f64(font.size);
        u8(quint8((font.bold ? 1 : 0) | (font.italic ? 2 : 0)));
        color(t.color());
        text(t.text);
    }
    void operator()(const PageLine &l)
    {
        u8(ItemLine);
        rect(QRectF(l.from, l.to));
        f64(l.width);
        u8(quint8(l.style));
        color(l.color);
    }
    void operator()(const PageFrame &f)
    {
        u8(ItemFrame);
        rect(f.rect);
        f64(f.width);
        color(f.color);
    }
    void operator()(const PageFill &f)
    {
        u8(ItemFill);
        rect(f.rect);
        color(f.color);
    }
    void operator()(const PageImage &i)
    {
        u8(ItemImage);
        rect(i.rect);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        i.image.save(&buffer, "PNG");
        blob(png);
    }
    void operator()(const PageBarcode &b)
    {
        u8(ItemBarcode);
        rect(b.rect);
        put(qToLittleEndian(b.code));
        f64(b.ratio);
        u32(b.color);
        u32(b.colorBar);
        u8(b.modul);
        u8(b.type);
        u8(b.showText ? 1 : 0);
    }

private:
    template <typename T> void put(T v) { bytes.append(reinterpret_cast<const char *>(&v), sizeof v); }
};

// ---------------------------------------------------------------------------------------
// Reading: every read checks that its bytes are there.

class Reader {
public:
    Reader(const char *data, qsizetype size, quint16 version = FormatVersion)
        : version(version), m_data(data), m_size(size) {}

    quint16 version; // of the file being read

    qsizetype remaining() const { return m_size - m_pos; }
    quint8 u8() { return take<quint8>(); }
    quint16 u16() { return qFromLittleEndian(take<quint16>()); }
    quint32 u32() { return qFromLittleEndian(take<quint32>()); }
    qint32 i32() { return qFromLittleEndian(take<qint32>()); }
    qint64 i64() { return qFromLittleEndian(take<qint64>()); }
    double f64()
    {
        const quint64 bits = qFromLittleEndian(take<quint64>());
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v) || std::fabs(v) > MaxCoordinate)
            fail();
        return v;
    }
    QByteArray blob()
    {
        const quint32 size = u32();
        if (size > quint64(remaining()))
            fail();
        QByteArray b(m_data + m_pos, qsizetype(size));
        m_pos += size;
        return b;
    }
    QString text() { return QString::fromUtf8(blob()); }
    QRectF rect()
    {
        const double x = f64(), y = f64(), w = f64(), h = f64();
        return QRectF(x, y, w, h);
    }
    QColor color() { return QColor::fromRgba(u32()); }
    Reader sub(qsizetype size)
    {
        if (size < 0 || size > remaining())
            fail();
        Reader r(m_data + m_pos, size, version);
        m_pos += size;
        return r;
    }
    [[noreturn]] static void fail() { throw EReportError(NotQrp()); }

private:
    template <typename T> T take()
    {
        if (qsizetype(sizeof(T)) > remaining())
            fail();
        T v;
        std::memcpy(&v, m_data + m_pos, sizeof v);
        m_pos += sizeof v;
        return v;
    }

    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

PageItem ReadItem(Reader &r)
{
    switch (r.u8()) {
    case ItemText: {
        PageText t;
        t.rect = r.rect();
        t.flags = r.i32() & int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask | Qt::TextWordWrap);
        PageTextStyle style;
        style.font.family = r.text();
        style.font.size = r.f64();
        if (style.font.size <= 0 || style.font.size > 1000)
            Reader::fail();
        const quint8 fontStyle = r.u8();
        style.font.bold = fontStyle & 1;
        style.font.italic = fontStyle & 2;
        style.color = r.color();
        t.style = SharedStyle(style);
        t.text = r.text();
        return t;
    }
    case ItemLine: {
        PageLine l;
        const QRectF ends = r.rect();
        l.from = ends.topLeft();
        l.to = ends.bottomRight();
        l.width = r.f64();
        const quint8 style = r.u8();
        if (style < Qt::SolidLine || style > Qt::DashDotDotLine)
            Reader::fail();
        l.style = Qt::PenStyle(style);
        l.color = r.color();
        return l;
    }
    case ItemFrame: {
        PageFrame f;
        f.rect = r.rect();
        f.width = r.f64();
        f.color = r.color();
        return f;
    }
    case ItemFill: {
        PageFill f;
        f.rect = r.rect();
        f.color = r.color();
        return f;
    }
    case ItemImage: {
        PageImage i;
        i.rect = r.rect();
        // The image decoder keeps to Qt's allocation limit whatever the picture claims.
        i.image = QImage::fromData(r.blob(), "PNG");
        if (i.image.isNull())
            Reader::fail();
        return i;
    }
    case ItemBarcode: {
        if (r.version < 2)
            Reader::fail();
        PageBarcode b;
        b.rect = r.rect();
        b.code = r.i64();
        b.ratio = r.f64();
        b.color = r.u32();
        b.colorBar = r.u32();
        b.modul = r.u8();
        b.type = r.u8();
        const quint8 showText = r.u8();
        if (b.code < 0 || b.code > MaxBarcode || b.modul < 1 || b.modul > 48 || b.type > EAN_13 || showText > 1
            || b.rect.width() < 0 || b.rect.height() < 0 || b.rect.width() > 10000 || b.rect.height() > 10000)
            Reader::fail();
        b.showText = showText;
        return b;
    }
    default:
        Reader::fail();
    }
}

ReportPage ReadPage(Reader page)
{
    QList<PageItem> items;
    // The count drives no allocation: each item must be there in the record's bytes.
    const quint32 count = page.u32();
    for (quint32 i = 0; i < count; ++i)
        items.append(ReadItem(page));
    if (page.remaining() != 0)
        Reader::fail();
    return ReportPage(items);
}

// Writes a page file onto a device page by page: the header and title first, each page as
// it comes, and at the end the page count into the header.
class PageFileWriter {
public:
    PageFileWriter(QIODevice &device, const PreparedReport &report) : m_device(device)
    {
        Writer w;
        w.bytes.append(Magic, sizeof Magic);
        w.u16(FormatVersion);
        w.u16(QrpHeaderSize);
        w.i32(0);
        const QSizeF mm = report.pageSize.size(QPageSize::Millimeter);
        w.i32(qRound(mm.width() * 100));
        w.i32(qRound(mm.height() * 100));
        w.u16(report.orientation == QPageLayout::Landscape ? 1 : 0);
        w.bytes.append(QByteArray(QrpHeaderSize - w.bytes.size(), '\0'));
        w.text(report.title);
        put(w.bytes);
    }

    void page(const ReportPage &page)
    {
        Writer w;
        w.u32(0);
        w.u32(quint32(page.itemCount()));
        for (const PageItem &item : page.items())
            std::visit(w, item);
        qToLittleEndian(quint32(w.bytes.size() - 4), w.bytes.data());
        put(w.bytes);
        ++m_count;
    }

    // The page count goes into the header once all pages are written.
    void finish()
    {
        const qint64 end = m_device.pos();
        const qint32 count = qToLittleEndian(qint32(m_count));
        if (!m_device.seek(QrpPageCountOffset) || m_device.write(reinterpret_cast<const char *>(&count), 4) != 4
            || !m_device.seek(end))
            fail();
    }

private:
    void put(const QByteArray &bytes)
    {
        if (m_device.write(bytes) != bytes.size())
            fail();
    }
    [[noreturn]] void fail() { throw EReportError(m_device.errorString()); }

    QIODevice &m_device;
    qint32 m_count = 0;
};

// Reads a page file from a device page by page, every count and length checked against the
// bytes that are really there.
class PageFileReader {
public:
    PreparedReport header; // the title and the paper; no pages
    qint32 pageCount = 0;

    explicit PageFileReader(QIODevice &device) : m_device(device)
    {
        const QByteArray head = device.read(QrpHeaderSize);
        if (head.size() < QrpHeaderSize || std::memcmp(head.constData(), Magic, sizeof Magic) != 0)
            Reader::fail();
        Reader fields(head.constData() + sizeof Magic, QrpHeaderSize - qsizetype(sizeof Magic));
        m_version = fields.u16();
        if (m_version < OldestVersion || m_version > FormatVersion || fields.u16() != QrpHeaderSize)
            Reader::fail();
        pageCount = fields.i32();
        const qint32 width = fields.i32();
        const qint32 height = fields.i32();
        const quint16 orientation = fields.u16();
        if (pageCount < 0 || width <= 0 || height <= 0 || width > 1000000 || height > 1000000 || orientation > 1)
            Reader::fail();
        header.title = QString::fromUtf8(record());
        // Every page takes at least its length and its item count: a larger count than the
        // bytes can hold is refused before any page is read.
        if (qint64(pageCount) * 8 > remaining())
            Reader::fail();
        header.pageSize = QPageSize(QSizeF(width / 100.0, height / 100.0), QPageSize::Millimeter);
        header.orientation = orientation ? QPageLayout::Landscape : QPageLayout::Portrait;
    }

    // The next page; false after the last, once the file has been found to end there.
    bool next(ReportPage &page)
    {
        if (m_read == pageCount) {
            if (remaining() != 0)
                Reader::fail();
            return false;
        }
        const QByteArray bytes = record();
        page = ReadPage(Reader(bytes.constData(), bytes.size(), m_version));
        ++m_read;
        return true;
    }

    // All the pages in place of the report's, with its title and paper.
    void readInto(PreparedReport &report)
    {
        QList<ReportPage> pages;
        ReportPage page;
        while (next(page))
            pages.append(std::move(page));
        report.title = header.title;
        report.pageSize = header.pageSize;
        report.orientation = header.orientation;
        report.pages = std::move(pages);
    }

private:
    qint64 remaining() const { return m_device.size() - m_device.pos(); }
    // A length (uint32 LE) and its bytes.
    QByteArray record()
    {
        quint32 size = 0;
        if (remaining() < 4 || m_device.read(reinterpret_cast<char *>(&size), 4) != 4)
            Reader::fail();
        size = qFromLittleEndian(size);
        if (size > quint64(remaining()))
            Reader::fail();
        QByteArray bytes = m_device.read(size);
        if (bytes.size() != qsizetype(size))
            Reader::fail();
        return bytes;
    }

    QIODevice &m_device;
    quint16 m_version = FormatVersion;
    qint32 m_read = 0;
};

// A page file opened for reading.
class PageFile {
public:
    explicit PageFile(const QString &fileName) : m_file(fileName)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            throw EReportError(QStringLiteral("Soubor %1 nelze otevřít.").arg(QDir::toNativeSeparators(fileName)));
        if (m_file.size() > MaxFileSize)
            throw EReportError(NotQrp());
        m_reader.emplace(m_file);
    }
    PageFileReader &reader() { return *m_reader; }

private:
    QFile m_file;
    std::optional<PageFileReader> m_reader;
};

// A page file being written, in place of the old one only once all is written.
class NewPageFile {
public:
    NewPageFile(const QString &fileName, const PreparedReport &header) : m_file(fileName)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
        try {
            m_writer.emplace(m_file, header);
        } catch (const EReportError &) {
            fail();
        }
    }
    void page(const ReportPage &page)
    {
        try {
            m_writer->page(page);
        } catch (const EReportError &) {
            fail();
        }
    }
    void commit()
    {
        try {
            m_writer->finish();
        } catch (const EReportError &) {
            fail();
        }
        if (!m_file.commit())
            fail();
    }

private:
    [[noreturn]] void fail()
    {
        throw EReportError(QStringLiteral("Soubor %1 nelze uložit: %2")
                               .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
    }

    QSaveFile m_file;
    std::optional<PageFileWriter> m_writer;
};

} // namespace

QByteArray QrpBytes(const PreparedReport &report)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PageFileWriter writer(buffer, report);
    for (const ReportPage &page : report.pages)
        writer.page(page);
    writer.finish();
    return bytes;
}

void ReadQrpBytes(const QByteArray &bytes, PreparedReport &report)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    PageFileReader(buffer).readInto(report);
}

void SaveQrpFile(const QString &fileName, const PreparedReport &report)
{
    NewPageFile file(fileName, report);
    for (const ReportPage &page : report.pages)
        file.page(page);
    file.commit();
}

void LoadQrpFile(const QString &fileName, PreparedReport &report)
{
    PageFile file(fileName);
    file.reader().readInto(report);
}

bool TempQrpFileName(QString &fileName)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/qrpXXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return false;
    fileName = file.fileName();
    return true;
}

// The page routines stream the pages from file to file: one page in memory at a time.
bool CopyQrpPages(const QString &sourceFile, const QString &targetFile, int fromPage, int toPage)
{
    try {
        PageFile source(sourceFile);
        NewPageFile target(targetFile, source.reader().header);
        ReportPage page;
        for (int i = 1; source.reader().next(page); ++i)
            if (fromPage == 0 || (fromPage <= i && i <= toPage))
                target.page(page);
        target.commit();
        return true;
    } catch (const EReportError &) {
        return false;
    }
}

int JoinQrpFiles(const QString &targetFile, const QStringList *files)
{
    int result = 0;
    if (targetFile.isEmpty())
        result = -1;
    if (!files)
        result = -2;
    else if (files->isEmpty())
        result = -3;
    if (result != 0)
        return result;
    try {
        // The joined file takes the first file's title and paper.
        std::optional<NewPageFile> target;
        for (const QString &file : *files) {
            PageFile source(file);
            if (!target)
                target.emplace(targetFile, source.reader().header);
            ReportPage page;
            while (source.reader().next(page))
                target->page(page);
        }
        target->commit();
        return 0;
    } catch (const EReportError &) {
        return -4;
    }
}
