#pragma once

#include "core/Numbering.h"
#include "core/Paths.h"

#include <QString>

namespace carvendo::documents {

// Who the document is made out to.
enum class Counterpart
{
    Customer,
    Supplier
};

// What a row does to stock while the document is edited.
enum class StockEffect
{
    Unload,  // the goods leave the warehouse (invoice, delivery note)
    Load,    // the goods come back (credit note)
    Reserve, // only the availability falls (customer order)
    None     // quotes and supplier orders move nothing
};

// Which row amounts make the taxable total: the sale amounts, or the purchase ones (supplier order).
enum class AmountBasis
{
    Sale,
    Purchase
};

enum class DocumentKindId
{
    FatturaImmediata,
    FatturaDifferita,
    Ddt,
    NotaCredito,
    Preventivo,
    OrdineCliente,
    OrdineFornitore
};

// A header column every new document of a kind starts with (bound as a value).
struct CreationValue
{
    const char* column;
    const char* value;
};

// One kind of document as data: every table and column name that reaches SQL text about a document
// comes from this table and nowhere else.
struct DocumentKind
{
    DocumentKindId id;
    const char* title;     // as the operator reads it
    const char* headerKey; // `idFattura`
    const char* rowTable;  // `dettfattura`
    const char* rowLink;   // the row's column holding the header key
    const char* rowNumber; // the row's column holding the document number
    // The row's column keeping a 0% row's VAT nature (`Natura`), or null: only invoices state it.
    const char* rowNature;
    const core::NumberSeries* series;
    const char* imponibileColumn;
    const char* ivaColumn;
    const char* totalColumn;
    const char* kindColumn; // header column telling apart kinds sharing a table (`TipoFattura`), or null
    const char* kindValue;  // its value ("I")
    Counterpart counterpart;
    StockEffect stock;
    AmountBasis basis;
    const char* serialDocument;    // `serialidocumenti`.`Documento` and SCARICO_SERIALE's kind, or null
    const char* soldDocument;      // `venduti`.`TipoDoc` of the rows that move stock, or null
    const char* cashBookDocument;  // `prima_nota`.`tipodoc` of its cash-book lines, or null
    QString (*deadlineDocument)(); // `scadenzario`.`TipoDoc` of its deadlines (accounts' own), or null
    const char* reportName;        // `report`.`namemaster`
    core::DocumentFolder pdfFolder;
    const char* pdfPrefix;         // "Fattura_Nr."
    const char* mailSubject;       // "Fattura" in "Fattura Nr. 7 del 01/02/2026"
    const char* counterpartCaller; // caller name for the customer or supplier picker
    const char* itemCaller;        // caller name for the item picker, or null
    const CreationValue* creation; // ended by a null column; may be null
    bool commission;               // `ImportoProvvigione` follows `Provvigione` at every save
    bool adjustments;              // the header keeps a document discount and a withholding
    const char* withholdingKey;    // key of the withholding list `TRitenutaAccontoLista`, or null

    // Invoices may bill delivery notes (`idddt` on the header and rows): the notes are billed while
    // the invoice exists.
    bool billsDeliveryNotes() const { return series == &core::Series::Fattura; }
    // Never listed: a document's header table is the one its numbering counts in (`fatture`).
    const char* headerTable = series->table;

    static const DocumentKind& of(DocumentKindId id);
};

} // namespace carvendo::documents
