#pragma once
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// Turns every print of the report layer into a PDF file in `folder` for the lifetime of
// this object ("print-1.pdf", "print-2.pdf", ... one per print job), recording the
// printer names the jobs asked for.
//
//     PdfPrints prints(dir.path());
//     report.print();
//     QCOMPARE(PdfPageTexts(prints.lastFile()).size(), 2);
class PdfPrints {
public:
    explicit PdfPrints(const QString &folder);
    ~PdfPrints();
    PdfPrints(const PdfPrints &) = delete;
    PdfPrints &operator=(const PdfPrints &) = delete;

    // The files the jobs wrote, in order (a job that printed nothing writes none).
    QStringList files() const;
    QString lastFile() const;
    QStringList printerNames() const { return m_printerNames; }

private:
    QString m_folder;
    QStringList m_planned;
    QStringList m_printerNames;
};

// The text of each page of a PDF (pdftotext -layout); empty when it cannot be read.
QStringList PdfPageTexts(const QString &pdf);

// The words of a PDF with their boxes in points from the page's top left corner
// (pdftotext -bbox).
struct PdfWord {
    int page = 0; // from 1
    QString text;
    QRectF box;
};
QList<PdfWord> PdfWords(const QString &pdf);

// Why the page text does not hold the words in this order on one line, as far apart as
// the layout puts them; empty when it does.
QString LineMissing(const QString &page, const QStringList &words);

#define VERIFY_LINE(page, ...)                                                                                   \
    do {                                                                                                         \
        const QString missing = LineMissing(page, {__VA_ARGS__});                                                \
        QVERIFY2(missing.isEmpty(), qPrintable(missing));                                                        \
    } while (false)
