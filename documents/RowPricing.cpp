#include "documents/RowPricing.h"

namespace carvendo::documents {

namespace {

const Money Hundred = Money::fromInt(100);

bool byThePiece(const QString& saleUnit)
{
    const QString unit = saleUnit.trimmed().toUpper();
    return unit.isEmpty() || unit == QLatin1String("PZ");
}

void addPurchase(RowAmounts& row, Money quantity, Money purchaseNet)
{
    row.subtotaleAcq = purchaseNet.multipliedBy(quantity);
    row.utileSubtotale = row.subTotale - row.subtotaleAcq;
}

} // namespace

Money vatFactor(int aliquota)
{
    return Money::fromInt(aliquota + 100).dividedBy(Hundred);
}

int piecesOf(double quantity, const QString& saleUnit)
{
    return byThePiece(saleUnit) ? int(quantity) : 1;
}

PriceForCustomer priceForCustomer(const ListPrices& prices, const QString& listino, int aliquota)
{
    const QString list = listino.trimmed().toUpper();
    if (list == QLatin1String("LISTINO2"))
        return {prices.listino2, prices.netto2};
    if (list == QLatin1String("LISTINO3"))
        return {prices.listino3, prices.netto3};
    return {prices.pubblico, prices.pubblico.dividedBy(vatFactor(aliquota))};
}

RowAmounts rowFromEntry(double quantity, int discountPercent, Money grossPrice, int aliquota,
                        Money purchaseNet, const QString& saleUnit)
{
    const Money q = Money::fromDouble(quantity);
    const Money net = grossPrice.dividedBy(vatFactor(aliquota));
    RowAmounts row;
    row.pubblico = grossPrice;
    row.prezzoVendita = net - net.percent(Money::fromInt(discountPercent));
    row.qfisica = piecesOf(quantity, saleUnit);
    row.subTotale = row.prezzoVendita.multipliedBy(q);
    row.subTotaleIvato = row.subTotale.multipliedBy(vatFactor(aliquota));
    row.ivaSubtotale = row.subTotaleIvato - row.subTotale;
    addPurchase(row, q, purchaseNet);
    return row;
}

RowAmounts rowFromGrid(int quantity, int discountPercent, Money grossPrice, int aliquota, Money purchaseNet)
{
    const Money unitNet = grossPrice.dividedBy(vatFactor(aliquota));
    RowAmounts row;
    row.pubblico = grossPrice;
    row.prezzoVendita = unitNet - unitNet.percent(Money::fromInt(discountPercent));
    const Money unitGross = row.prezzoVendita.multipliedBy(vatFactor(aliquota));
    row.qfisica = quantity;
    row.subTotale = row.prezzoVendita.multipliedBy(quantity);
    row.subTotaleIvato = unitGross.multipliedBy(quantity);
    row.ivaSubtotale = row.subTotaleIvato - row.subTotale;
    addPurchase(row, Money::fromInt(quantity), purchaseNet);
    return row;
}

RowAmounts manualLine(double quantity, Money price, bool priceIncludesVat, int aliquota, const QString& unit)
{
    const Money q = Money::fromDouble(quantity);
    RowAmounts row;
    row.prezzoVendita = priceIncludesVat ? price.dividedBy(vatFactor(aliquota)) : price;
    row.pubblico = priceIncludesVat ? price : price.multipliedBy(vatFactor(aliquota));
    row.qfisica = piecesOf(quantity, unit);
    row.subTotale = row.prezzoVendita.multipliedBy(q);
    row.subTotaleIvato = row.subTotale.multipliedBy(vatFactor(aliquota));
    row.ivaSubtotale = row.subTotaleIvato - row.subTotale;
    addPurchase(row, q, Money());
    return row;
}

DocumentTotals totalsOf(Money sumSubTotale, Money sumIvaSubtotale, int pieces, Money discountPercent,
                        Money withholdingPercent, Money stampDuty)
{
    DocumentTotals totals;
    totals.totaleArticoli = pieces;
    // The discount is the document's: taken off the rows' sums at every recompute, never compounded.
    totals.scontoPerc = discountPercent;
    totals.sconto = sumSubTotale.percent(discountPercent);
    totals.scontoIva = sumIvaSubtotale.percent(discountPercent);
    totals.imponibile = sumSubTotale - totals.sconto;
    totals.ivatotale = sumIvaSubtotale - totals.scontoIva;
    totals.bollo = stampDuty;
    totals.totaledocumento = totals.imponibile + totals.ivatotale + stampDuty;
    totals.raPerc = withholdingPercent;
    totals.ritenutaImporto = totals.imponibile.percent(withholdingPercent);
    totals.totaleDaPagare = totals.totaledocumento - totals.ritenutaImporto;
    return totals;
}

} // namespace carvendo::documents
