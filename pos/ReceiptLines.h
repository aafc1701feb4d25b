#pragma once

#include "core/Money.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace carvendo::core {
class Db;
}

namespace carvendo::pos {

// The windows that print a fiscal receipt. They share one line format and differ only in the
// lines they use (see VariantRules).
enum class ReceiptVariant
{
    Keyboard,      // the keyboard counter sale; a typed fiscal code makes it a talking receipt
    Touch,         // the touch till's "Scontrino Fiscale"
    Talking,       // the touch till's "Scontrino Parlante": the fiscal code is required
    CashDesk,      // the cash desk: the closing line follows the payment type
    SuspendedSale, // a suspended sale confirmed with a receipt
    RepairTicket   // a repair ticket: one line, department 1, quantity 1
};

// What each variant writes after an item and at the end, kept as data so that one writer serves
// every window.
struct VariantRules
{
    enum class Discounts
    {
        None,
        Percent,            // "DISC,%p;" after a row with a percent discount
        PercentOrValue,     // "DISC,%p;", else "COUP,Vamount;" for a value discount
        PercentAndValueText // "DISC,%p;" and "COUP,Vamount,:text;", each when present
    };
    enum class FiscalCode
    {
        None,
        Optional, // written when one was typed
        Required
    };

    Discounts discounts = Discounts::None;
    bool closingByPayment = false; // else always "CASH;"
    FiscalCode fiscalCode = FiscalCode::None;
    bool startLineFromSettings = true; // CASSA/PASSWORD of impostazioni.ini, else an empty line
};

const VariantRules& rulesOf(ReceiptVariant variant);

// One sale row as the receipt prints it.
struct ReceiptRow
{
    QString codice;
    QString descrizione;
    QString reparto;      // "REPARTO1" ... "REPARTO10"
    core::Money pubblico; // unit price with VAT
    double quantita = 0;
    int sconto = 0;        // percent off
    core::Money scontoval; // amount off per unit
    QString promoDesc;

    // The rows of a sale (`dettbanco`) in the order they were rung up; a row left without a
    // description is not sold (closings delete it).
    static QList<ReceiptRow> ofSale(core::Db& db, int idBanco);
    // The single line of a repair ticket: department 1, quantity 1.
    static ReceiptRow repairTicket(const QString& codice, const QString& descrizione, core::Money price);
};

// The fiscal department 1 ... 10 of a row's `reparto` (compared as the server does: letter case
// and trailing blanks ignored); nullopt for anything else.
std::optional<int> fiscalDepartment(QStringView reparto);

// The refusal of a sale whose rows a receipt cannot carry (a row left off would still be in the
// total, and the printed receipt would be lower than the sale): the Italian message naming the
// first such row, empty when every row has a fiscal department. Closings check it before they
// write anything.
QString unprintableRowRefusal(const QList<ReceiptRow>& rows);

// What one receipt prints: the data file's lines and the start file's line.
struct Receipt
{
    QStringList dataLines;
    QString startLine;
};

// The receipt a variant prints for these rows: item lines by department 1 -> 10 (rows of one
// department in their given order), each followed by its discount lines, then the closing line,
// then the fiscal-code line. paymentType chooses the cash desk's closing line (empty counts as
// "Contanti"); cassaPassword is CASSA/PASSWORD of impostazioni.ini. Throws a core::Error refusal
// when a row has no fiscal department, or a fiscal code is missing where required or given where
// the variant cannot print it.
Receipt buildReceipt(ReceiptVariant variant, const QList<ReceiptRow>& rows, const QString& paymentType,
                     const QString& fiscalCode, const QString& cassaPassword);

} // namespace carvendo::pos
