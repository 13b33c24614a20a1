#include "reports/QrpFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {

constexpr char Magic[4] = {'V', 'Q', 'R', 'P'};
constexpr quint16 FormatVersion = 1;
// Larger files are no prepared report of this program.
constexpr qint64 MaxFileSize = qint64(1) << 30;
// Coordinates, sizes and widths beyond this are no page of ours.
constexpr double MaxCoordinate = 1e6;

enum ItemType : quint8 { ItemText = 1, ItemLine, ItemFrame, ItemFill, ItemImage };

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
        text(t.font.family);
        f64(t.font.size);
        u8(quint8((t.font.bold ? 1 : 0) | (t.font.italic ? 2 : 0)));
        color(t.color);
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

private:
    template <typename T> void put(T v) { bytes.append(reinterpret_cast<const char *>(&v), sizeof v); }
};

QByteArray PageBytes(const ReportPage &page)
{
    Writer w;
    w.u32(quint32(page.items.size()));
    for (const PageItem &item : page.items)
        std::visit(w, item);
    return w.bytes;
}

// ---------------------------------------------------------------------------------------
// Reading: every read checks that its bytes are there.

class Reader {
public:
    Reader(const char *data, qsizetype size) : m_data(data), m_size(size) {}

    qsizetype remaining() const { return m_size - m_pos; }
    quint8 u8() { return take<quint8>(); }
    quint16 u16() { return qFromLittleEndian(take<quint16>()); }
    quint32 u32() { return qFromLittleEndian(take<quint32>()); }
    qint32 i32() { return qFromLittleEndian(take<qint32>()); }
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
        Reader r(m_data + m_pos, size);
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
        t.font.family = r.text();
        t.font.size = r.f64();
        if (t.font.size <= 0 || t.font.size > 1000)
            Reader::fail();
        const quint8 style = r.u8();
        t.font.bold = style & 1;
        t.font.italic = style & 2;
        t.color = r.color();
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
    default:
        Reader::fail();
    }
}

ReportPage ReadPage(Reader page)
{
    ReportPage result;
    // The count drives no allocation: each item must be there in the record's bytes.
    const quint32 count = page.u32();
    for (quint32 i = 0; i < count; ++i)
        result.items.append(ReadItem(page));
    if (page.remaining() != 0)
        Reader::fail();
    return result;
}

QByteArray ReadFileBytes(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EReportError(QStringLiteral("Soubor %1 nelze otevřít.").arg(QDir::toNativeSeparators(fileName)));
    if (file.size() > MaxFileSize)
        throw EReportError(NotQrp());
    return file.readAll();
}

PreparedReport LoadFile(const QString &fileName)
{
    PreparedReport report;
    ReadQrpBytes(ReadFileBytes(fileName), report);
    return report;
}

} // namespace

QByteArray QrpBytes(const PreparedReport &report)
{
    Writer w;
    w.bytes.append(Magic, sizeof Magic);
    w.u16(FormatVersion);
    w.u16(QrpHeaderSize);
    w.i32(report.pageCount());
    const QSizeF mm = report.pageSize.size(QPageSize::Millimeter);
    w.i32(qRound(mm.width() * 100));
    w.i32(qRound(mm.height() * 100));
    w.u16(report.orientation == QPageLayout::Landscape ? 1 : 0);
    w.bytes.append(QByteArray(QrpHeaderSize - w.bytes.size(), '\0'));
    w.text(report.title);
    for (const ReportPage &page : report.pages)
        w.blob(PageBytes(page));
    return w.bytes;
}

void ReadQrpBytes(const QByteArray &bytes, PreparedReport &report)
{
    if (bytes.size() < QrpHeaderSize || std::memcmp(bytes.constData(), Magic, sizeof Magic) != 0)
        Reader::fail();
    Reader header(bytes.constData() + sizeof Magic, QrpHeaderSize - qsizetype(sizeof Magic));
    if (header.u16() != FormatVersion || header.u16() != QrpHeaderSize)
        Reader::fail();
    const qint32 count = header.i32();
    const qint32 width = header.i32();
    const qint32 height = header.i32();
    const quint16 orientation = header.u16();
    if (count < 0 || width <= 0 || height <= 0 || width > 1000000 || height > 1000000 || orientation > 1)
        Reader::fail();

    Reader body(bytes.constData() + QrpHeaderSize, bytes.size() - QrpHeaderSize);
    PreparedReport loaded;
    loaded.title = body.text();
    // Every page takes at least its length and its item count: a larger count than the
    // bytes can hold is refused before any page is read.
    if (qint64(count) * 8 > body.remaining())
        Reader::fail();
    for (qint32 i = 0; i < count; ++i)
        loaded.pages.append(ReadPage(body.sub(body.u32())));
    if (body.remaining() != 0)
        Reader::fail();
    loaded.pageSize = QPageSize(QSizeF(width / 100.0, height / 100.0), QPageSize::Millimeter);
    loaded.orientation = orientation ? QPageLayout::Landscape : QPageLayout::Portrait;

    report.title = loaded.title;
    report.pageSize = loaded.pageSize;
    report.orientation = loaded.orientation;
    report.pages = std::move(loaded.pages);
}

void SaveQrpFile(const QString &fileName, const PreparedReport &report)
{
    WriteReportFile(fileName, QrpBytes(report));
}

void LoadQrpFile(const QString &fileName, PreparedReport &report)
{
    ReadQrpBytes(ReadFileBytes(fileName), report);
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

bool CopyQrpPages(const QString &sourceFile, const QString &targetFile, int fromPage, int toPage)
{
    try {
        const PreparedReport source = LoadFile(sourceFile);
        PreparedReport target = source;
        target.pages.clear();
        for (int i = 1; i <= source.pageCount(); ++i)
            if (fromPage == 0 || (fromPage <= i && i <= toPage))
                target.pages.append(source.pages.at(i - 1));
        SaveQrpFile(targetFile, target);
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
        PreparedReport joined;
        for (const QString &file : *files) {
            PreparedReport source = LoadFile(file);
            if (joined.pages.isEmpty()) {
                joined.title = source.title;
                joined.pageSize = source.pageSize;
                joined.orientation = source.orientation;
            }
            joined.pages.append(source.pages);
        }
        SaveQrpFile(targetFile, joined);
        return 0;
    } catch (const EReportError &) {
        return -4;
    }
}
