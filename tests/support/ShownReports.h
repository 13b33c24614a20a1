#pragma once
#include "reports/ReportPages.h"

#include <QList>
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
