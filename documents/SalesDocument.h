#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentRows.h"
#include "documents/RowPricing.h"
#include "messaging/DocumentMail.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::einvoice {
struct StampDutyDue;
}

namespace carvendo::stock {
class ScaricoTC;
struct SizeSaleDocument;
} // namespace carvendo::stock

namespace carvendo::documents {

// The header as the model keeps it between commands.
struct DocumentHeader
{
    int id = 0;
    int number = 0; // 0 until the first save
    QString suffix;
    QDate date;
    QString year, month;
    int customerId = 0;
    QString customerName;
    QString listino;
    bool ownRate = false; // the customer's own VAT rate applies to every new row
    int customerRate = 0;
    int warehouseId = 0;
    QString warehouseName;
    Money discountPercent;
    Money withholdingPercent;
    QString withholdingDescription;
};

// A manual line ("Voce manuale"): no item, no stock.
struct ManualLine
{
    QString code; // empty: eight characters drawn at random
    QString description;
    QString unit;
    int aliquota = 0;
    double quantity = 1;
    Money price;
    bool priceIncludesVat = true;
    QString vatCode; // at 0%: the VAT code (`iva`.`Desc`) whose nature the line states
};

// What an Enter in the barcode/serial field led to.
enum class ScanOutcome
{
    Added,      // a serial row, or a repeat of an item already on the document
    NeedsEntry, // an item not yet on the document: the quantity dialog confirms it (scannedItem())
    CreateItem, // unknown barcode and the operator wants to create the item
    Refused     // nothing added (a message was shown)
};

// The one model every sales document window works on: a header row and its detail rows of one kind.
// Rows are live data: each command (add, edit, remove, discount, save, discard, delete) is one
// transaction that first locks the header, moves stock and the rows' sales records together with the
// rows, and rewrites the header's totals from the rows. A failed command leaves the database and this
// object as they were.
class SalesDocument
{
public:
    SalesDocument(const DocumentKind& kind, core::Db& db, core::Dialogs& dialogs,
                  const core::Session& session);

    static QString noCustomerForRowMessage(); // "Attenzione! Prima di inserire un'articolo ..."
    static QString goneMessage();

    // A new header, dated today (the server's date), in the session's warehouse: numbered on save.
    void openNew(const QString& suffix = {});
    void load(int documentId);
    const DocumentKind& kind() const { return m_kind; }
    const DocumentHeader& header() const { return m_header; }
    bool isNumbered() const { return m_header.number != 0; }

    // An invoice made from a counter sale: the till took the sale's amount, so the shop bears the stamp
    // duty, now and at every later save (it is still stated on the print and the file).
    void bearStampDuty();

    // The customer is copied into the header, with its agent, payment, price list and own VAT rate.
    void setCustomer(int customerId);

    // The item's price on the customer's list and the VAT rate a new row of it gets.
    PriceForCustomer priceOf(int itemId) const;

    // A row from the quantity dialog: quantity, row discount, VAT-inclusive unit price. An item already
    // on the document (not by serial) grows by the entry instead of getting a second row.
    bool addItem(int itemId, double quantity, int discountPercent, Money grossPrice);
    // A row per serial at the customer's list price, or at the price and discount the quantity dialog
    // gave, in one transaction: when one of them is no longer available none is added (a refusal).
    bool addSerials(const QStringList& serials, std::optional<Money> grossPrice = std::nullopt,
                    int discountPercent = 0);
    bool addSerial(const QString& serial, std::optional<Money> grossPrice = std::nullopt,
                   int discountPercent = 0)
    {
        return addSerials({serial}, grossPrice, discountPercent);
    }
    // A row another document sold first (a counter sale becoming an invoice), priced as that document
    // priced it and growing the row of the same item, serial or sizes. Its serial is already linked to
    // this document and its sizes recorded by the caller: only the item's stock moves.
    bool addSoldRow(int itemId, const QString& serial, double quantity, int discountPercent, Money grossPrice,
                    bool bySize);
    ScanOutcome scan(const QString& text);
    // The document as the size/colour dialog (TScaricoTC) records its sizes.
    stock::SizeSaleDocument sizeDocument() const;
    // The dialog's Conferma and the item's row (growing by the sizes' total) in one transaction.
    bool addSizes(stock::ScaricoTC& entry);
    int scannedItem() const { return m_scannedItem; }
    void addManualLine(const ManualLine& line);
    // The grid's cells: whole quantity, discount, VAT-inclusive unit price. Stock moves by the difference.
    void editRow(const RowKey& row, int quantity, int discountPercent, Money grossPrice);
    // The row goes and gives back what it moved (its own serial only).
    void removeRow(const RowKey& row);

    QList<DocumentRow> rows() const;
    const DocumentTotals& totals() const { return m_totals; }
    QList<VatLine> vatSummary() const;

    // "Applica sconto": asks the percentage; a new one replaces the old, it never compounds.
    bool applyDiscount();
    void setDiscount(Money percent);
    void removeDiscount() { setDiscount(Money()); }
    void setWithholding(Money percent, const QString& description);

    // "Fattura_Nr.7_2026.pdf", "Fattura_Nr.7-A_2026.pdf": the year and the series keep last year's
    // invoice 7, or series A's, from being overwritten.
    QString pdfFileName() const;
    QString pdfPath(const core::Paths& paths) const;
    // What the mail window is filled from: the kind's word, number and date, the counterpart's address
    // and name, the PDF. The letter itself is the mail's own (messaging::DocumentMail).
    messaging::MailDocument mailDocument(const core::Paths& paths) const;

    // The series a new document is numbered in; a numbered document keeps its own.
    void setSeries(const QString& suffix);

    // What a save writes besides the number and the totals, inside the same transaction (the window's
    // header fields, the cash book, the hand-over to the caller): it sees the number just given.
    using SaveStep = std::function<void(const DocumentHeader& saved, const DocumentTotals& totals)>;
    // "Salva": the checks, then the number (new documents) under the numbering lock held to the commit.
    bool save(const SaveStep& alongside = {});
    // A number typed over the given one: refused when another document of the same year and suffix
    // holds it.
    bool setNumber(int number);
    static QString numberTakenMessage(int number, const QString& year);
    // "Annulla" on a new document: every row gives back what it moved and the header goes.
    void discard();
    // Deletes the document, giving back to its own warehouse what its rows moved.
    void remove();

private:
    void lockHeader();
    // Runs body inside one transaction holding the header, then rewrites the totals; the in-memory
    // state changes only once the transaction committed.
    void command(const std::function<void()>& body);
    // The totals with, for an invoice, the stamp duty the rule decides now: an invoice keeps that duty
    // with its total, in the same statement, and its print and file read it from there.
    DocumentTotals writeTotals(const DocumentHeader& header);
    bool isInvoice() const;
    // The totals of the stored rows, adding the stamp duty charged to the customer.
    DocumentTotals totalsOfRows(const DocumentHeader& header, Money stampDutyCharged);
    void putRow(DocumentRow row, bool merge);
    void dropRow(const DocumentRow& row);
    void dropAll();
    RowOwner rowOwner() const;
    QString drawCode() const;
    bool refuseWithoutCustomer();
    // Quantity above zero, a price, a discount within 0..100: else a refusal, and nothing moves.
    void checkEntry(double quantity, int discountPercent, Money grossPrice) const;
    void refuseWithoutAdjustments() const;
    void readHeader(int documentId);

    const DocumentKind& m_kind;
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    const core::Session& m_session;
    DocumentRows m_rows;
    DocumentHeader m_header;
    DocumentTotals m_totals;
    int m_scannedItem = 0;
    struct Entry
    {
        int itemId = 0;
        double quantity = 0;
        int discountPercent = 0;
        Money grossPrice;
    };
    std::optional<Entry> m_lastEntry; // what a repeated scan repeats
};

} // namespace carvendo::documents
