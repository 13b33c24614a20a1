#pragma once
#include "core/database/Money.h"
#include "reports/Report.h"
#include "reports/layouts/ListLayout.h"
#include "reports/layouts/ReceiptStore.h"

#include <QList>

class DataSet;
class QPlainTextEdit;

// Which document a receipt is of.
enum class ReceiptKind { Lend, Back };

// What the four receipts share ("Pokladní doklad"): the document they print and the pieces
// of their layout. A receipt is made for one print. It takes the document's row of the
// journal (its current row: DOKLAD, CAS, ZAKAZNIK, PLATBA_CELKEM, ZALOHA_CELKEM) and the
// document's lines (VIDEO, TITUL, NOSIC, DNY, PRES, VRATIT, ZALOHA, ZDARMA,
// PUJCOVNE_CELKEM, VRATNE_CELKEM); when it is made it reads the customer's name and
// address, the shop's texts and the parts to print from the receipt settings, and the VAT
// rate from the rental settings.
class TFormQRReceipt {
public:
    virtual ~TFormQRReceipt() = default;
    TFormQRReceipt(const TFormQRReceipt &) = delete;
    TFormQRReceipt &operator=(const TFormQRReceipt &) = delete;

    Report QuickRep;
    // The VAT rate in whole percent and the document's fee and deposit totals as the journal
    // rounds them (a return's deposits handed back are negative).
    int TaxRate = 0;
    Money DocumentPayment;
    Money DocumentDeposit;

    ReceiptKind kind() const { return m_kind; }

protected:
    TFormQRReceipt(ReceiptKind kind, DataSet *lends, DataSet *lines);

    // The columns of the lines; the whole-page return receipt heads its amounts "Doplatek".
    QList<ListColumn> columns(bool wholePage) const;
    // The shop's address, heading and information at top 8 and the receipt's title at 84.
    void addShopTexts(ReportBand *band);
    // The number, the date of issue and the date of the taxable supply at `top`, each left
    // out with its caption as the settings say, and the customer's row at `customerTop`.
    void addDocumentHead(ReportBand *band, qreal top, qreal customerTop, bool boldNumber);
    // "Počet položek:" with the document's number of lines.
    void addCount(ReportBand *band, qreal top);
    // The price without VAT and the VAT (nothing at rate 0).
    void addTaxRow(ReportBand *band, qreal top);
    // "Celkem včetně DPH:" ("Celkem:" without VAT) with the document's fee total.
    void addPaymentTotal(ReportBand *band, qreal top);
    // The settings' addition below the totals.
    void addAddition(ReportBand *band, qreal top);
    // The caption of the deposit total.
    ReportLabel *addDepositCaption(ReportBand *band, qreal top, const QString &caption);
    // A label of an amount ending at `rightEdge`.
    void addValue(ReportBand *band, const char *name, const QString &text, qreal rightEdge, qreal top,
                  const ReportFont &font);
    void addSignature(ReportBand *band, qreal top, qreal left);
    // What the amount column of the current line shows on a lend receipt.
    QString lendAmount() const;
    // A horizontal line across the band.
    void addRule(ReportBand *band, const char *name, qreal top);

    ReceiptKind m_kind;
    DataSet *m_lends;
    DataSet *m_lines;
    ReceiptCustomer m_customer;

private:
    ReportMemo *addMemo(ReportBand *band, const char *name, const QPlainTextEdit *source, qreal left, qreal width,
                        const ReportFont &font);
};
