#pragma once
#include "reports/ReportPages.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// Takes the place of the preview window while it lives: the pages of every report a caller
// previews are kept, and the preview call returns at once.
//
//     ShownReports shown;
//     PrintVideoList(videos);
//     QCOMPARE(shown.titles(), QStringList{" Video"});
class ShownReports {
public:
    ShownReports();
    ~ShownReports();
    ShownReports(const ShownReports &) = delete;
    ShownReports &operator=(const ShownReports &) = delete;

    const QList<PreparedReport> &reports() const;
    QStringList titles() const;
};

// The pages printed to a PDF in `folder`, each page's text as pdftotext -layout reads it.
QStringList PrintedPageTexts(const PreparedReport &pages, const QString &folder);
// The same PDF's file name, for a closer look (words, pictures).
QString PrintedPdf(const PreparedReport &pages, const QString &folder);

// While it lives, each preview window that opens is printed with its print button and then
// closed, as the clerk prints a report from the preview; its caption is kept. The pages go
// to the report layer's printer (a PdfPrints in a test).
class PreviewsPrinted : public QObject {
public:
    PreviewsPrinted();
    ~PreviewsPrinted() override;
    QStringList titles() const { return m_titles; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void printWhenMade(class TFormPreview *preview);
    QStringList m_titles;
};
