#include "documents/SalesDocument.h"

#include "accounts/Deadlines.h"

#include "accounts/CashBookWriter.h"

#include "documents/RowSizes.h"
#include "documents/RowStock.h"

#include "einvoice/InvoiceFigures.h"

#include "stock/serials/SerialSales.h"
#include "stock/sizes/ScaricoTC.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Paths.h"
#include "core/Session.h"

#include <QRandomGenerator>

#include <set>

namespace carvendo::documents {

namespace {

// The item as a new row copies it.
struct ItemFacts
{
    QString code, barcode, description, saleUnit;
    int aliquota = 0;
    QString vatCode; // the description of its VAT code: a 0% row's nature
    Money purchaseNet;
    ListPrices prices;
    bool bySerial = false;
    bool bySize = false;
};

std::optional<ItemFacts> itemFacts(core::Db& db, int itemId)
{
    const core::Rows found = db.query(
        QStringLiteral(
            "SELECT CodArticolo, Barcode, Descrizione, UMVENDITA, Aliquota, AliquotaDesc, PrezzoAcqnoiva, "
            "Pubblico, Listino2, PrezzoVendnoiva2, Listino3, PrezzoVendnoiva3, Seriale, TC FROM articoli "
            "WHERE ID = :IDARTICOLO"),
        {{QStringLiteral("IDARTICOLO"), itemId}});
    if (found.isEmpty())
        return std::nullopt;
    const core::Row r = found.first();
    return ItemFacts{r["CodArticolo"].toString(),
                     r["Barcode"].toString(),
                     r["Descrizione"].toString(),
                     r["UMVENDITA"].toString(),
                     r["Aliquota"].toInt(),
                     r["AliquotaDesc"].toString(),
                     r["PrezzoAcqnoiva"].toMoney(),
                     {r["Pubblico"].toMoney(), r["Listino2"].toMoney(), r["PrezzoVendnoiva2"].toMoney(),
                      r["Listino3"].toMoney(), r["PrezzoVendnoiva3"].toMoney()},
                     r["Seriale"].toBool(),
                     r["TC"].toBool()};
}

ItemFacts requireItem(core::Db& db, int itemId)
{
    const std::optional<ItemFacts> item = itemFacts(db, itemId);
    if (!item)
        throw core::Error(QStringLiteral("Articolo inesistente!"), core::Error::Kind::Refusal);
    return *item;
}

// The VAT rate a new row of the item gets: the customer's own when it has one, else the item's.
int rowRate(const DocumentHeader& header, const ItemFacts& item)
{
    return header.ownRate ? header.customerRate : item.aliquota;
}

DocumentRow newRow(const RowKey& key, const QString& barcode, const QString& description, const QString& unit,
                   double quantity, int aliquota, const QString& vatCode)
{
    DocumentRow row;
    row.key = key;
    row.barcode = barcode;
    row.description = description;
    row.unit = unit;
    row.quantity = quantity;
    row.aliquota = aliquota;
    row.vatCode = vatCode;
    return row;
}

// The entry added to the row of its key (a new row when there is none): the quantity grows, the
// entry's discount and price apply to the whole row.
DocumentRow grownRow(const std::optional<DocumentRow>& existing, const ItemFacts& item, const RowKey& key,
                     int aliquota, double quantity, int discountPercent, Money grossPrice)
{
    DocumentRow row = existing.value_or(
        newRow(key, item.barcode, item.description, item.saleUnit, 0, aliquota, item.vatCode));
    row.quantity += quantity;
    row.discountPercent = discountPercent;
    row.bySerial = !key.serial.isEmpty();
    row.amounts =
        rowFromEntry(row.quantity, discountPercent, grossPrice, row.aliquota, item.purchaseNet, row.unit);
    return row;
}

QString name(const char* identifier)
{
    return QLatin1String(identifier);
}

} // namespace

SalesDocument::SalesDocument(const DocumentKind& kind, core::Db& db, core::Dialogs& dialogs,
                             const core::Session& session)
    : m_kind(kind), m_db(db), m_dialogs(dialogs), m_session(session), m_rows(db, kind)
{
}

QString SalesDocument::noCustomerForRowMessage()
{
    return QStringLiteral("Attenzione! Prima di inserire un'articolo è necessario scegliere un Cliente");
}

QString SalesDocument::goneMessage()
{
    return QStringLiteral("Il documento è stato eliminato da un'altra postazione.");
}

void SalesDocument::openNew(const QString& suffix)
{
    // Dated at creation on the server's clock, so the year's numbering sees it from the start.
    const QDate today = m_db.scalar(QStringLiteral("SELECT CURRENT_DATE")).variant().toDate();
    DocumentHeader header;
    header.suffix = suffix;
    header.date = today;
    header.year = QString::number(today.year());
    header.month = core::monthName(today.month());
    header.warehouseId = m_session.warehouse().id;
    header.warehouseName = m_session.warehouse().name;
    core::Params params{{QStringLiteral("DATA"), today},
                        {QStringLiteral("ANNO"), header.year},
                        {QStringLiteral("MESE"), header.month},
                        {QStringLiteral("SUFFISSO"), suffix},
                        {QStringLiteral("IDMAGAZZINO"), header.warehouseId},
                        {QStringLiteral("MAGAZZINO"), header.warehouseName},
                        {QStringLiteral("IDOPERATORE"), m_session.currentOperator().id},
                        {QStringLiteral("OPERATORE"), m_session.currentOperator().nome}};
    QString kindColumn, kindValue;
    if (m_kind.kindColumn) {
        kindColumn = QStringLiteral(", ") + name(m_kind.kindColumn);
        kindValue = QStringLiteral(", :TIPO");
        params.insert(QStringLiteral("TIPO"), name(m_kind.kindValue));
    }
    for (const CreationValue* fixed = m_kind.creation; fixed && fixed->column; ++fixed) {
        const QString placeholder = QStringLiteral("C%1").arg(fixed - m_kind.creation);
        kindColumn += QStringLiteral(", ") + name(fixed->column);
        kindValue += QStringLiteral(", :") + placeholder;
        params.insert(placeholder, name(fixed->value));
    }
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral(
                  "INSERT INTO %1 (%2, data, Anno, Mese, Suffisso, idMagazzino, Magazzino, idOperatore, "
                  "Operatore, %3, %4, %5, Totalearticoli%6) VALUES (0, :DATA, :ANNO, :MESE, :SUFFISSO, "
                  ":IDMAGAZZINO, LEFT(:MAGAZZINO, 120), :IDOPERATORE, LEFT(:OPERATORE, 50), 0, 0, 0, 0%7)")
                  .arg(name(m_kind.headerTable), name(m_kind.series->column), name(m_kind.imponibileColumn),
                       name(m_kind.ivaColumn), name(m_kind.totalColumn), kindColumn, kindValue),
              params);
    header.id = int(m_db.lastInsertId());
    // Whether its customer pays the stamp duty is the invoice's from now on: a later change of the
    // settings applies to new invoices only.
    if (isInvoice())
        m_db.exec(QStringLiteral("UPDATE fatture SET ImportoBollo = 0, BolloACaricoCliente = IFNULL((SELECT "
                                 "BolloACaricoCliente FROM fatturapa_configurazione ORDER BY id LIMIT 1), 0) "
                                 "WHERE idFattura = :ID"),
                  {{QStringLiteral("ID"), header.id}});
    transaction.commit();
    m_header = header;
    m_totals = {};
    m_lastEntry.reset();
}

void SalesDocument::load(int documentId)
{
    readHeader(documentId);
    // The stamp duty its stored total was made with, whatever the settings say today.
    m_totals = totalsOfRows(
        m_header, isInvoice()
                      ? einvoice::invoiceStampDuty(m_db, documentId, m_header.discountPercent).charged()
                      : Money());
    m_lastEntry.reset();
}

void SalesDocument::readHeader(int documentId)
{
    const core::Rows found = m_db.query(
        QStringLiteral(
            "SELECT h.%3 AS numero, h.Suffisso, h.data, h.Anno, h.Mese, h.idCliente, h.RagioneSociale, "
            "h.idMagazzino, h.Magazzino, %4, h.aliq_pers_cliente, "
            "h.aliquota_cliente, c.Listino FROM %1 h LEFT JOIN clienti c ON c.idCliente = h.idCliente "
            "WHERE h.%2 = :IDDOC")
            .arg(name(m_kind.headerTable), name(m_kind.headerKey), name(m_kind.series->column),
                 m_kind.adjustments ? QStringLiteral("h.scontoperc, h.ra_perc, h.ritenuta_desc")
                                    : QStringLiteral("0 AS scontoperc, 0 AS ra_perc, '' AS ritenuta_desc")),
        {{QStringLiteral("IDDOC"), documentId}});
    if (found.isEmpty())
        throw core::Error(goneMessage(), core::Error::Kind::Refusal);
    const core::Row r = found.first();
    DocumentHeader header;
    header.id = documentId;
    header.number = r["numero"].toInt();
    header.suffix = r["Suffisso"].toString();
    header.date = r["data"].variant().toDate();
    header.year = r["Anno"].toString();
    header.month = r["Mese"].toString();
    header.customerId = r["idCliente"].toInt();
    header.customerName = r["RagioneSociale"].toString();
    header.listino = r["Listino"].toString();
    header.ownRate = r["aliq_pers_cliente"].toBool();
    header.customerRate = r["aliquota_cliente"].toInt();
    header.warehouseId = r["idMagazzino"].toInt();
    header.warehouseName = r["Magazzino"].toString();
    header.discountPercent = r["scontoperc"].toMoney();
    header.withholdingPercent = r["ra_perc"].toMoney();
    header.withholdingDescription = r["ritenuta_desc"].toString();
    m_header = header;
}

void SalesDocument::lockHeader()
{
    if (m_db.query(QStringLiteral("SELECT %2 FROM %1 WHERE %2 = :IDDOC FOR UPDATE")
                       .arg(name(m_kind.headerTable), name(m_kind.headerKey)),
                   {{QStringLiteral("IDDOC"), m_header.id}})
            .isEmpty())
        throw core::Error(goneMessage(), core::Error::Kind::Refusal);
}

void SalesDocument::command(const std::function<void()>& body)
{
    core::Transaction transaction(m_db);
    lockHeader();
    body();
    DocumentTotals totals = writeTotals(m_header);
    transaction.commit();
    m_totals = totals;
}

bool SalesDocument::isInvoice() const
{
    return m_kind.series == &core::Series::Fattura;
}

void SalesDocument::bearStampDuty()
{
    m_db.exec(QStringLiteral("UPDATE fatture SET BolloACaricoCliente = 0 WHERE idFattura = :ID"),
              {{QStringLiteral("ID"), m_header.id}});
}

DocumentTotals SalesDocument::totalsOfRows(const DocumentHeader& header, Money stampDutyCharged)
{
    const RowSums sums = m_rows.sums(header.id);
    return totalsOf(sums.subTotale, sums.ivaSubtotale, sums.pieces, header.discountPercent,
                    header.withholdingPercent, stampDutyCharged);
}

DocumentTotals SalesDocument::writeTotals(const DocumentHeader& header)
{
    const RowSums sums = m_rows.sums(header.id);
    // Every row command writes the totals: the invoice's rows are read again only when one of them is
    // at 0% and could make it pay the stamp duty.
    const einvoice::StampDutyDue stampDuty =
        isInvoice() && sums.zeroRateRows > 0
            ? einvoice::stampDutyByRule(m_db, header.id, header.discountPercent)
            : einvoice::StampDutyDue{};
    const DocumentTotals totals =
        totalsOf(sums.subTotale, sums.ivaSubtotale, sums.pieces, header.discountPercent,
                 header.withholdingPercent, stampDuty.charged());
    core::Params params{{QStringLiteral("IMPONIBILE"), totals.imponibile.toDouble()},
                        {QStringLiteral("IVA"), totals.ivatotale.toDouble()},
                        {QStringLiteral("TOTALE"), totals.totaledocumento.toDouble()},
                        {QStringLiteral("PEZZI"), totals.totaleArticoli},
                        {QStringLiteral("IDDOC"), header.id}};
    // One statement for the totals and, where the kind keeps them, the discount and the withholding:
    // every row command writes them.
    QString adjustments;
    if (m_kind.adjustments) {
        adjustments = QStringLiteral(
            ", scontoperc = :SCONTOPERC, sconto = :SCONTO, scontoiva = :SCONTOIVA, ra = :RA, ra_perc = "
            ":RAPERC, ritenuta_desc = LEFT(:RADESC, 50), ritenuta_importo = :RAIMPORTO, totale_dapagare = "
            ":DAPAGARE");
        params.insert(QStringLiteral("SCONTOPERC"), totals.scontoPerc.toDouble());
        params.insert(QStringLiteral("SCONTO"), totals.sconto.toDouble());
        params.insert(QStringLiteral("SCONTOIVA"), totals.scontoIva.toDouble());
        params.insert(QStringLiteral("RA"), header.withholdingPercent.isZero() ? 0 : 1);
        params.insert(QStringLiteral("RAPERC"), totals.raPerc.toDouble());
        params.insert(QStringLiteral("RADESC"), header.withholdingDescription);
        params.insert(QStringLiteral("RAIMPORTO"), totals.ritenutaImporto.toDouble());
        params.insert(QStringLiteral("DAPAGARE"), totals.totaleDaPagare.toDouble());
    }
    if (isInvoice()) {
        // Who pays it stays as the invoice was made; one made before invoices kept it takes the settings.
        adjustments += QStringLiteral(
            ", ImportoBollo = :BOLLO, BolloACaricoCliente = IFNULL(BolloACaricoCliente, IFNULL((SELECT "
            "BolloACaricoCliente FROM fatturapa_configurazione ORDER BY id LIMIT 1), 0))");
        params.insert(QStringLiteral("BOLLO"), stampDuty.amount.toDouble());
    }
    m_db.exec(QStringLiteral("UPDATE %1 SET %3 = :IMPONIBILE, %4 = :IVA, %5 = :TOTALE, Totalearticoli = "
                             ":PEZZI%6 WHERE %2 = :IDDOC")
                  .arg(name(m_kind.headerTable), name(m_kind.headerKey), name(m_kind.imponibileColumn),
                       name(m_kind.ivaColumn), name(m_kind.totalColumn), adjustments),
              params);
    return totals;
}

void SalesDocument::setCustomer(int customerId)
{
    const core::Rows found = m_db.query(
        QStringLiteral(
            "SELECT c.idCliente, c.RagioneSociale, c.Indirizzo, c.Cap, c.Citta, c.ProvRes, c.CodFisc, "
            "c.pIva, c.Pagamento, c.Listino, c.aliq_pers, c.aliquota, c.idAgente, a.RagioneSociale AS "
            "Agente, a.Provvigione FROM clienti c LEFT JOIN agenti a ON a.idAgente = c.idAgente WHERE "
            "c.idCliente = :IDCLIENTE"),
        {{QStringLiteral("IDCLIENTE"), customerId}});
    if (found.isEmpty())
        throw core::Error(QStringLiteral("Il cliente scelto non esiste più."), core::Error::Kind::Refusal);
    const core::Row c = found.first();
    command([&] {
        m_db.exec(
            QStringLiteral(
                "UPDATE %1 SET idCliente = :IDCLIENTE, RagioneSociale = :RAGSOC, Indirizzo = :INDIRIZZO, "
                "Cap = :CAP, Citta = :CITTA, Provincia = :PROV, CodFisc = :CODFISC, PIVA = :PIVA, "
                "RagSocDest = :RAGSOC, IndirizzoDest = :INDIRIZZO, CapDest = :CAP, CittaDest = :CITTA, "
                "ProvinciaDest = :PROV, idAgente = :IDAGENTE, Agente = :AGENTE, Provvigione = :PROVV, "
                "tipopagamento = :PAGAMENTO, aliq_pers_cliente = :ALIQPERS, aliquota_cliente = "
                ":ALIQUOTA WHERE %2 = :IDDOC")
                .arg(name(m_kind.headerTable), name(m_kind.headerKey)),
            {{QStringLiteral("IDCLIENTE"), customerId},
             {QStringLiteral("RAGSOC"), c["RagioneSociale"].variant()},
             {QStringLiteral("INDIRIZZO"), c["Indirizzo"].variant()},
             {QStringLiteral("CAP"), c["Cap"].variant()},
             {QStringLiteral("CITTA"), c["Citta"].variant()},
             {QStringLiteral("PROV"), c["ProvRes"].variant()},
             {QStringLiteral("CODFISC"), c["CodFisc"].variant()},
             {QStringLiteral("PIVA"), c["pIva"].variant()},
             {QStringLiteral("IDAGENTE"), c["idAgente"].toInt()},
             {QStringLiteral("AGENTE"), c["Agente"].toString()},
             {QStringLiteral("PROVV"), c["Provvigione"].toInt()},
             {QStringLiteral("PAGAMENTO"), c["Pagamento"].variant()},
             {QStringLiteral("ALIQPERS"), c["aliq_pers"].toBool() ? 1 : 0},
             {QStringLiteral("ALIQUOTA"), c["aliquota"].toInt()},
             {QStringLiteral("IDDOC"), m_header.id}});
    });
    m_header.customerId = customerId;
    m_header.customerName = c["RagioneSociale"].toString();
    m_header.listino = c["Listino"].toString();
    m_header.ownRate = c["aliq_pers"].toBool();
    m_header.customerRate = c["aliquota"].toInt();
}

PriceForCustomer SalesDocument::priceOf(int itemId) const
{
    const ItemFacts item = requireItem(m_db, itemId);
    return priceForCustomer(item.prices, m_header.listino, rowRate(m_header, item));
}

bool SalesDocument::refuseWithoutCustomer()
{
    if (m_header.customerId != 0)
        return false;
    m_dialogs.warning(noCustomerForRowMessage());
    return true;
}

RowOwner SalesDocument::rowOwner() const
{
    return {m_header.number, m_header.customerId, m_header.customerName, m_session.currentOperator().id,
            m_session.currentOperator().nome};
}

void SalesDocument::putRow(DocumentRow row, bool merge)
{
    if (merge)
        m_rows.update(m_header.id, row);
    else
        m_rows.insert(m_header.id, rowOwner(), row);
    RowStock(m_db, m_kind)
        .follow({m_header.id, m_header.warehouseId, m_header.warehouseName, m_header.customerId,
                 m_header.customerName, m_session.currentOperator().nome, m_header.year, m_header.month},
                row);
}

void SalesDocument::checkEntry(double quantity, int discountPercent, Money grossPrice) const
{
    if (quantity <= 0)
        throw core::Error(
            QStringLiteral("Operazione non consentita. Inserire almeno una quantità da scaricare"),
            core::Error::Kind::Refusal);
    if (grossPrice.isZero() || grossPrice.isNegative())
        throw core::Error(QStringLiteral("Inserire il prezzo di vendita!"), core::Error::Kind::Refusal);
    if (discountPercent < 0 || discountPercent > 100)
        throw core::Error(QStringLiteral("Lo sconto deve essere compreso tra 0 e 100"),
                          core::Error::Kind::Refusal);
}

bool SalesDocument::addItem(int itemId, double quantity, int discountPercent, Money grossPrice)
{
    if (refuseWithoutCustomer())
        return false;
    checkEntry(quantity, discountPercent, grossPrice);
    const ItemFacts item = requireItem(m_db, itemId);
    const int rate = rowRate(m_header, item);
    command([&] {
        const std::optional<DocumentRow> existing = m_rows.find(m_header.id, {itemId, item.code, {}});
        putRow(grownRow(existing, item, {itemId, item.code, {}}, rate, quantity, discountPercent, grossPrice),
               existing.has_value());
    });
    m_lastEntry = Entry{itemId, quantity, discountPercent, grossPrice};
    return true;
}

bool SalesDocument::addSerials(const QStringList& serials, std::optional<Money> grossPrice,
                               int discountPercent)
{
    if (refuseWithoutCustomer())
        return false;
    struct Sold
    {
        QString serial;
        ItemFacts item;
        int itemId = 0;
        int rate = 0;
        Money gross;
    };
    stock::SerialSales sales(m_db, stock::actorOf(m_session));
    QList<Sold> sold;
    for (const QString& typed : serials) {
        const std::optional<stock::SerialItem> serialItem = sales.itemOf(typed);
        if (!serialItem)
            throw core::Error(stock::SerialSales::unavailableMessage(), core::Error::Kind::Refusal);
        const ItemFacts item = requireItem(m_db, serialItem->itemId);
        const int rate = rowRate(m_header, item);
        const Money gross = grossPrice.value_or(priceForCustomer(item.prices, m_header.listino, rate).gross);
        if (grossPrice) // a scanned serial takes the list price as it is
            checkEntry(1, discountPercent, gross);
        sold.append({typed.trimmed(), item, serialItem->itemId, rate, gross});
    }
    if (sold.isEmpty())
        return false;
    // All or none: a serial sold meanwhile by another workstation is refused inside the transaction
    // and takes the ones before it back with it.
    command([&] {
        for (const Sold& s : sold) {
            sales.sell(s.itemId, s.serial,
                       {name(m_kind.serialDocument), m_header.id, QString::number(m_header.number),
                        m_header.customerId, m_header.customerName});
            putRow(grownRow(std::nullopt, s.item, {s.itemId, s.item.code, s.serial}, s.rate, 1,
                            discountPercent, s.gross),
                   false);
        }
    });
    return true;
}

bool SalesDocument::addSoldRow(int itemId, const QString& serial, double quantity, int discountPercent,
                               Money grossPrice, bool bySize)
{
    if (refuseWithoutCustomer())
        return false;
    checkEntry(quantity, discountPercent, grossPrice);
    const ItemFacts item = requireItem(m_db, itemId);
    const int rate = rowRate(m_header, item);
    command([&] {
        const RowKey key{itemId, item.code, serial};
        const std::optional<DocumentRow> existing = m_rows.find(m_header.id, key);
        DocumentRow row = grownRow(existing, item, key, rate, quantity, discountPercent, grossPrice);
        row.bySize = row.bySize || bySize;
        putRow(row, existing.has_value());
    });
    return true;
}

ScanOutcome SalesDocument::scan(const QString& text)
{
    const QString code = text.trimmed();
    if (code.isEmpty())
        return ScanOutcome::Refused;
    if (m_kind.serialDocument && stock::SerialSales(m_db, stock::actorOf(m_session)).itemOf(code))
        return addSerial(code) ? ScanOutcome::Added : ScanOutcome::Refused;
    const core::Rows found =
        m_db.query(QStringLiteral("SELECT ID FROM articoli WHERE BarcodeFull = :BARCODE OR "
                                  "Barcode = :BARCODE ORDER BY ID LIMIT 1"),
                   {{QStringLiteral("BARCODE"), code}});
    if (found.isEmpty())
        return m_dialogs.confirm(QStringLiteral("Articolo inestistente! Vuoi creare un nuovo Articolo?"))
                   ? ScanOutcome::CreateItem
                   : ScanOutcome::Refused;
    const int itemId = found.first()["ID"].toInt();
    const ItemFacts item = requireItem(m_db, itemId);
    const std::optional<DocumentRow> existing = m_rows.find(m_header.id, {itemId, item.code, {}});
    // An item sold by size and colour repeats nothing: every entry goes through its grid.
    if (!existing || item.bySize) {
        m_scannedItem = itemId;
        return ScanOutcome::NeedsEntry;
    }
    // A repeated scan repeats the last entry of this item; otherwise one piece at the row's own price.
    const Entry entry = m_lastEntry && m_lastEntry->itemId == itemId
                            ? *m_lastEntry
                            : Entry{itemId, 1, existing->discountPercent, existing->amounts.pubblico};
    return addItem(itemId, entry.quantity, entry.discountPercent, entry.grossPrice) ? ScanOutcome::Added
                                                                                    : ScanOutcome::Refused;
}

stock::SizeSaleDocument SalesDocument::sizeDocument() const
{
    return {m_kind.serialDocument ? name(m_kind.serialDocument) : name(m_kind.reportName), m_header.id,
            m_kind.stock == StockEffect::Unload, m_header.warehouseId};
}

bool SalesDocument::addSizes(stock::ScaricoTC& entry)
{
    if (refuseWithoutCustomer() || entry.refusesEmpty())
        return false;
    const int quantity = entry.totalQuantity();
    const int discountPercent = int(entry.discount().toDouble());
    checkEntry(quantity, discountPercent, entry.price());
    const int itemId = entry.item().itemId;
    const ItemFacts item = requireItem(m_db, itemId);
    const int rate = rowRate(m_header, item);
    command([&] {
        const RowKey key{itemId, item.code, {}};
        const std::optional<DocumentRow> existing = m_rows.find(m_header.id, key);
        DocumentRow row = existing.value_or(
            newRow(key, item.barcode, item.description, item.saleUnit, 0, rate, item.vatCode));
        row.quantity += quantity;
        row.discountPercent = discountPercent;
        row.bySize = true;
        row.amounts = rowFromEntry(row.quantity, row.discountPercent, entry.price(), row.aliquota,
                                   item.purchaseNet, row.unit);
        putRow(row, existing.has_value());
        // The grid records its sizes last: the grid counts itself confirmed once it has, so a failure
        // before leaves it as typed, to be confirmed again.
        if (!entry.confirm())
            throw core::Error(stock::ScaricoTC::noQuantityMessage(), core::Error::Kind::Refusal);
    });
    return true;
}

QString SalesDocument::drawCode() const
{
    static const QString alphabet = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (;;) {
        QString code;
        for (int i = 0; i < 8; ++i)
            code += alphabet.at(QRandomGenerator::global()->bounded(int(alphabet.size())));
        if (!m_rows.codeTaken(m_header.id, code))
            return code;
    }
}

void SalesDocument::addManualLine(const ManualLine& line)
{
    const int rate = m_header.ownRate ? m_header.customerRate : line.aliquota;
    command([&] {
        const QString code = line.code.trimmed().isEmpty() ? drawCode() : line.code.trimmed();
        if (m_rows.codeTaken(m_header.id, code))
            throw core::Error(
                QStringLiteral("Il codice %1 è già usato da un'altra riga del documento.").arg(code),
                core::Error::Kind::Refusal);
        DocumentRow row =
            newRow({0, code, {}}, {}, line.description, line.unit, line.quantity, rate, line.vatCode);
        row.amounts = manualLine(line.quantity, line.price, line.priceIncludesVat, rate, line.unit);
        putRow(row, false);
    });
}

void SalesDocument::editRow(const RowKey& key, int quantity, int discountPercent, Money grossPrice)
{
    checkEntry(quantity, discountPercent, grossPrice);
    command([&] {
        std::optional<DocumentRow> row = m_rows.find(m_header.id, key);
        if (!row)
            throw core::Error(QStringLiteral("La riga non è più nel documento."), core::Error::Kind::Refusal);
        if (row->bySerial && quantity != 1)
            throw core::Error(QStringLiteral("Una riga con seriale ha sempre quantità 1."),
                              core::Error::Kind::Refusal);
        const Money purchase = key.itemId ? requireItem(m_db, key.itemId).purchaseNet : Money();
        row->quantity = quantity;
        row->discountPercent = discountPercent;
        row->amounts = rowFromGrid(quantity, discountPercent, grossPrice, row->aliquota, purchase);
        putRow(*row, true);
    });
}

void SalesDocument::dropRow(const DocumentRow& row)
{
    if (row.bySerial && m_kind.serialDocument)
        stock::SerialSales(m_db, stock::actorOf(m_session))
            .giveBackSerial(row.key.itemId, row.key.serial, name(m_kind.serialDocument), m_header.id);
    if (row.bySize)
        RowSizes(m_db, sizeDocument().kind).giveBack(m_header.id, row.key.itemId, m_header.warehouseId);
    RowStock(m_db, m_kind).giveBack(m_header.id, row.key);
    m_rows.remove(m_header.id, row.key);
}

void SalesDocument::removeRow(const RowKey& key)
{
    command([&] {
        const std::optional<DocumentRow> row = m_rows.find(m_header.id, key);
        if (row)
            dropRow(*row);
    });
    if (m_lastEntry && m_lastEntry->itemId == key.itemId)
        m_lastEntry.reset();
}

QList<DocumentRow> SalesDocument::rows() const
{
    return m_rows.list(m_header.id);
}

QList<VatLine> SalesDocument::vatSummary() const
{
    return m_rows.vatSummary(m_header.id);
}

bool SalesDocument::applyDiscount()
{
    const std::optional<QString> typed =
        m_dialogs.askText(QStringLiteral("Sconto da applicare nel totale"),
                          QStringLiteral("Inserire la percentuale"), QStringLiteral("0"));
    if (!typed)
        return false;
    const std::optional<Money> percent = Money::parse(*typed);
    if (!percent || percent->isNegative() || *percent > Money::fromInt(100)) {
        m_dialogs.warning(QStringLiteral("Inserire una percentuale tra 0 e 100."));
        return false;
    }
    setDiscount(*percent);
    return true;
}

void SalesDocument::refuseWithoutAdjustments() const
{
    if (!m_kind.adjustments)
        throw core::Error(
            QStringLiteral("Questo documento non prevede sconto sul totale né ritenuta d'acconto."),
            core::Error::Kind::Refusal);
}

void SalesDocument::setDiscount(Money percent)
{
    refuseWithoutAdjustments();
    const Money before = m_header.discountPercent;
    m_header.discountPercent = percent;
    try {
        command([] {});
    } catch (...) {
        m_header.discountPercent = before;
        throw;
    }
}

void SalesDocument::setWithholding(Money percent, const QString& description)
{
    refuseWithoutAdjustments();
    const DocumentHeader before = m_header;
    m_header.withholdingPercent = percent;
    m_header.withholdingDescription = description;
    try {
        command([] {});
    } catch (...) {
        m_header = before;
        throw;
    }
}

bool SalesDocument::save(const SaveStep& alongside)
{
    if (m_header.customerId == 0 || m_header.customerName.trimmed().isEmpty()) {
        m_dialogs.warning(QStringLiteral("Attenzione! Scegliere un Cliente"));
        return false;
    }
    if (m_rows.list(m_header.id).isEmpty()) {
        m_dialogs.warning(QStringLiteral("Attenzione! Inserire almeno un'articolo"));
        return false;
    }
    int number = m_header.number;
    core::Transaction transaction(m_db);
    lockHeader();
    if (number == 0) {
        // Held to the commit: a second workstation saving at the same time reads the largest number
        // only once this one is in.
        core::NumberReservation reservation(m_db, *m_kind.series, m_header.suffix);
        number = reservation.number();
        // The series goes with the number it was counted in.
        m_db.exec(QStringLiteral("UPDATE %1 SET %3 = :NUMERO, Suffisso = :SUFFISSO WHERE %2 = :IDDOC")
                      .arg(name(m_kind.headerTable), name(m_kind.headerKey), name(m_kind.series->column)),
                  {{QStringLiteral("NUMERO"), number},
                   {QStringLiteral("SUFFISSO"), m_header.suffix},
                   {QStringLiteral("IDDOC"), m_header.id}});
        m_rows.renumber(m_header.id, number);
    }
    const DocumentTotals totals = writeTotals(m_header);
    if (m_kind.commission) {
        const core::Params document{{QStringLiteral("IDDOC"), m_header.id}};
        const int percent =
            m_db.scalar(QStringLiteral("SELECT IFNULL(Provvigione, 0) FROM %1 WHERE %2 = :IDDOC")
                            .arg(name(m_kind.headerTable), name(m_kind.headerKey)),
                        document)
                .toInt();
        m_db.exec(QStringLiteral("UPDATE %1 SET ImportoProvvigione = :IMPORTO WHERE %2 = :IDDOC")
                      .arg(name(m_kind.headerTable), name(m_kind.headerKey)),
                  {{QStringLiteral("IMPORTO"), totals.imponibile.percent(Money::fromInt(percent)).toDouble()},
                   {QStringLiteral("IDDOC"), m_header.id}});
    }
    if (alongside) {
        DocumentHeader saved = m_header;
        saved.number = number;
        alongside(saved, totals);
    }
    transaction.commit();
    m_header.number = number;
    m_totals = totals;
    return true;
}

QString SalesDocument::pdfFileName() const
{
    QString series;
    for (const QChar c : m_header.suffix)
        if (c.isLetterOrNumber())
            series += c;
    return QStringLiteral("%1%2%3_%4.pdf")
        .arg(name(m_kind.pdfPrefix), QString::number(m_header.number),
             series.isEmpty() ? QString() : QStringLiteral("-") + series, m_header.year);
}

QString SalesDocument::pdfPath(const core::Paths& paths) const
{
    return paths.documentsDir(m_kind.pdfFolder) + QLatin1Char('/') + pdfFileName();
}

messaging::MailDocument SalesDocument::mailDocument(const core::Paths& paths) const
{
    const bool supplier = m_kind.counterpart == Counterpart::Supplier;
    const QString address =
        m_db.scalar(supplier ? QStringLiteral("SELECT email FROM fornitori WHERE id_fornitore = :ID")
                             : QStringLiteral("SELECT email FROM clienti WHERE idCliente = :ID"),
                    {{QStringLiteral("ID"), m_header.customerId}})
            .toString()
            .trimmed();
    return {name(m_kind.mailSubject),
            QString::number(m_header.number),
            m_header.date,
            address,
            m_header.customerName,
            pdfPath(paths)};
}

void SalesDocument::setSeries(const QString& suffix)
{
    if (isNumbered() && suffix != m_header.suffix)
        throw core::Error(QStringLiteral("Il suffisso di un documento già numerato non può cambiare."),
                          core::Error::Kind::Refusal);
    m_header.suffix = suffix;
}

QString SalesDocument::numberTakenMessage(int number, const QString& year)
{
    return QStringLiteral("Il numero %1 è già usato da un altro documento del %2 con lo stesso suffisso.")
        .arg(number)
        .arg(year);
}

bool SalesDocument::setNumber(int number)
{
    if (number <= 0) {
        m_dialogs.warning(QStringLiteral("Inserire un numero maggiore di zero."));
        return false;
    }
    core::Transaction transaction(m_db);
    lockHeader();
    // Under the numbering lock: a workstation taking a new number meanwhile sees this one.
    core::NumberReservation reservation(m_db, *m_kind.series, m_header.suffix);
    const bool taken =
        !m_db.query(QStringLiteral(
                        "SELECT 1 FROM %1 WHERE %3 = :NUMERO AND Anno = :ANNO AND IFNULL(Suffisso, '') = "
                        ":SUFFISSO AND %2 <> :IDDOC LIMIT 1")
                        .arg(name(m_kind.headerTable), name(m_kind.headerKey), name(m_kind.series->column)),
                    {{QStringLiteral("NUMERO"), number},
                     {QStringLiteral("ANNO"), m_header.year},
                     {QStringLiteral("SUFFISSO"), m_header.suffix},
                     {QStringLiteral("IDDOC"), m_header.id}})
             .isEmpty();
    if (taken) {
        m_dialogs.warning(numberTakenMessage(number, m_header.year));
        return false;
    }
    m_db.exec(QStringLiteral("UPDATE %1 SET %3 = :NUMERO WHERE %2 = :IDDOC")
                  .arg(name(m_kind.headerTable), name(m_kind.headerKey), name(m_kind.series->column)),
              {{QStringLiteral("NUMERO"), number}, {QStringLiteral("IDDOC"), m_header.id}});
    m_rows.renumber(m_header.id, number);
    transaction.commit();
    m_header.number = number;
    return true;
}

void SalesDocument::dropAll()
{
    if (m_kind.serialDocument) {
        // Every serial of an item in the document comes back at once: the document goes whole.
        std::set<int> serialItems;
        for (const DocumentRow& row : m_rows.list(m_header.id))
            if (row.bySerial)
                serialItems.insert(row.key.itemId);
        stock::SerialSales serials(m_db, stock::actorOf(m_session));
        for (const int itemId : serialItems)
            serials.giveBack(itemId, name(m_kind.serialDocument), m_header.id);
    }
    RowSizes(m_db, sizeDocument().kind).giveBackAll(m_header.id, m_header.warehouseId);
    RowStock(m_db, m_kind).giveBackAll(m_header.id);
    m_rows.removeAll(m_header.id);
}

void SalesDocument::discard()
{
    core::Transaction transaction(m_db);
    lockHeader();
    dropAll();
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :IDDOC")
                  .arg(name(m_kind.headerTable), name(m_kind.headerKey)),
              {{QStringLiteral("IDDOC"), m_header.id}});
    transaction.commit();
    m_header = {};
    m_totals = {};
}

void SalesDocument::remove()
{
    core::Transaction transaction(m_db);
    lockHeader();
    if (m_kind.billsDeliveryNotes())
        m_db.exec(QStringLiteral("UPDATE ddt SET fatturaemessa = 0 WHERE idDdt IN (SELECT r.idddt FROM %1 r "
                                 "WHERE r.%2 = :IDDOC UNION SELECT h.idddt FROM %3 h WHERE h.%4 = :IDDOC)")
                      .arg(name(m_kind.rowTable), name(m_kind.rowLink), name(m_kind.headerTable),
                           name(m_kind.headerKey)),
                  {{QStringLiteral("IDDOC"), m_header.id}});
    dropAll();
    const core::Params document{{QStringLiteral("IDDOC"), m_header.id}};
    // Its cash-book lines go with it; of its deadlines what was paid stays on record.
    if (m_kind.cashBookDocument)
        accounts::CashBookWriter(m_db).replace(name(m_kind.cashBookDocument), m_header.id, {});
    if (m_kind.deadlineDocument)
        accounts::Deadlines(m_db).removeOpen(m_header.id, m_kind.deadlineDocument(),
                                             accounts::DeadlineDocument::credit());
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :IDDOC")
                  .arg(name(m_kind.headerTable), name(m_kind.headerKey)),
              document);
    transaction.commit();
    m_header = {};
    m_totals = {};
}

} // namespace carvendo::documents
