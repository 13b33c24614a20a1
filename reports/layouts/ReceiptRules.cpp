#include "reports/layouts/ReceiptRules.h"

#include "core/Utils.h"

#include <cmath>

TaxSplit SplitTax(Money gross, int rate)
{
    if (rate <= 0)
        return {gross, Money()};
    // The coefficient in ten-thousandths; the product in hundred-millionths of a crown is
    // exact and is rounded once, to the heller, halves away from zero.
    const qint64 coefficient = std::llround(double(TaxCoefficient(rate)) * 10000.0);
    const qint64 product = gross.units() * coefficient;
    constexpr qint64 perHeller = Money::Scale / 100 * 10000;
    const qint64 half = perHeller / 2;
    const qint64 hellers = product >= 0 ? (product + half) / perHeller : -((-product + half) / perHeller);
    const Money vat = Money::fromUnits(hellers * (Money::Scale / 100));
    return {gross - vat, vat};
}

QString LendAmountText(bool free, Money charge)
{
    if (free && charge == Money())
        return QStringLiteral("zdarma");
    return FormatMoney(QStringLiteral(",0.00"), charge);
}

bool HalfPageReceipt(bool automaticPaper, int lines)
{
    return automaticPaper && lines >= 1 && lines <= 10;
}

QString ReceiptTitle(qint64 document)
{
    return QStringLiteral("%1").arg(document, 13, 10, QChar(u'0'));
}
