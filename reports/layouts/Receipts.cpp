#include "reports/layouts/Receipts.h"

#include "core/USetupPrint.h"
#include "core/database/BrowseQuery.h"
#include "reports/ReportPrinting.h"
#include "reports/layouts/ReceiptRules.h"
#include "reports/layouts/UQRReceiptA4.h"
#include "reports/layouts/UQRReceiptA5.h"

#include <QCoreApplication>
#include <QRadioButton>

void PrintDocumentReceipt(DataSet &lends, DataSet &lines, bool copy)
{
    if (lends.currentRow() < 0)
        return;
    const bool lend = lends.value(QStringLiteral("OPERACE")).toBool();
    std::unique_ptr<TFormQRReceipt> form;
    int copies = 1;
    if (HalfPageReceipt(FormSetupPrint->RadioButtonA5->isChecked(), lines.recordCount())) {
        std::unique_ptr<TFormQRReceiptA5> half;
        if (lend)
            half = std::make_unique<TFormQRLendA5>(&lends, &lines);
        else
            half = std::make_unique<TFormQRBackA5>(&lends, &lines);
        half->QRLoopBand->printCount = copy ? 2 : 1;
        form = std::move(half);
    } else {
        if (lend)
            form = std::make_unique<TFormQRLendA4>(&lends, &lines);
        else
            form = std::make_unique<TFormQRBackA4>(&lends, &lines);
        copies = copy ? 2 : 1;
    }
    Report &report = form->QuickRep;
    report.title = ReceiptTitle(lends.value(QStringLiteral("DOKLAD")).toLongLong());
    if (FormSetupPrint->RadioButtonManual->isChecked())
        report.preview();
    else
        PrintPreparedReport(*report.prepare(), report.title, copies);
    QCoreApplication::processEvents();
}

bool PrintDocumentReceipt(qint64 document, bool copy)
{
    BrowseQuery lends;
    BrowseQuery lines;
    OpenReceiptDocument(lends, lines, document);
    if (lends.isEmpty())
        return false;
    PrintDocumentReceipt(lends, lines, copy);
    return true;
}
