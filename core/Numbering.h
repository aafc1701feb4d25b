#pragma once

#include "core/Db.h"

#include <QString>

#include <functional>
#include <optional>

namespace carvendo::core {

enum class NumberScope
{
    CurrentYear,
    AllYears
};

// Where a kind of document or registry code keeps its number. Only the constants below exist:
// table and column names reach SQL text from this fixed list and nowhere else.
struct NumberSeries
{
    const char* table;
    const char* column;
    const char* yearColumn; // the text column holding the year, for CurrentYear
    NumberScope scope;
    bool hasSuffix;  // documents that may belong to a numbering series ("A", "B", ...)
    bool textColumn; // numbers kept in a text column compare as numbers, not as text
};

namespace Series {
// clang-format off
inline constexpr NumberSeries Fattura{         "fatture", "NumDoc", "Anno", NumberScope::CurrentYear, true, false};
inline constexpr NumberSeries Ddt{             "ddt", "NumDoc", "Anno", NumberScope::CurrentYear, true, false};
inline constexpr NumberSeries NotaCredito{     "notecredito", "Numero", "Anno", NumberScope::CurrentYear, true, false};
inline constexpr NumberSeries Preventivo{      "preventivi", "NumDoc", "Anno", NumberScope::CurrentYear, true, false};
inline constexpr NumberSeries OrdineCliente{   "ordiniclienti", "NumDoc", "Anno", NumberScope::CurrentYear, false, false};
inline constexpr NumberSeries OrdineFornitore{ "ordinifornitori", "NumDoc", "Anno", NumberScope::CurrentYear, false, false};
inline constexpr NumberSeries Carico{          "carichi", "NumeroCarico", "Anno", NumberScope::CurrentYear, false, false};
inline constexpr NumberSeries Banco{           "banco", "NumDoc", "Anno", NumberScope::CurrentYear, false, false};
inline constexpr NumberSeries Reso{            "resi", "numero", "ANNO", NumberScope::CurrentYear, false, false};
inline constexpr NumberSeries BuonoCredito{    "buonicredito", "NUMERO", "ANNO", NumberScope::CurrentYear, false, false};
inline constexpr NumberSeries Riparazione{     "riparazioni", "numero", nullptr, NumberScope::AllYears, false, false};
inline constexpr NumberSeries Acquisizione{    "acquisizioni", "numacq", nullptr, NumberScope::AllYears, false, false};
inline constexpr NumberSeries CodiceCliente{   "clienti", "CodiceCliente", nullptr, NumberScope::AllYears, false, false};
inline constexpr NumberSeries CodiceFornitore{ "fornitori", "Codice", nullptr, NumberScope::AllYears, false, true};
inline constexpr NumberSeries CodiceAgente{    "agenti", "CodiceAgente", nullptr, NumberScope::AllYears, false, false};
// clang-format on
} // namespace Series

// A number taken under a named server lock: no other workstation can take a number of the same
// table until this object goes, so the caller inserts its header row before letting it go. Inside a
// transaction the lock is held until the transaction ends: the number is committed (or given back)
// before another workstation reads the largest one.
class NumberReservation
{
public:
    NumberReservation(Db& db, const NumberSeries& series, const QString& suffix = {},
                      std::optional<NumberScope> scope = std::nullopt);
    ~NumberReservation();
    NumberReservation(const NumberReservation&) = delete;
    NumberReservation& operator=(const NumberReservation&) = delete;

    int number() const { return m_number; }

private:
    void release() noexcept;

    Db& m_db;
    QString m_lockName;
    int m_number = 0;
};

// Document numbers: the largest of the current year on the server's clock plus one (per suffix when
// the document has one), or over all years where the kind says so. Numbering restarts each year.
class Numbering
{
public:
    explicit Numbering(Db& db) : m_db(db) {}

    // The number alone, without holding the lock: for showing, not for inserting.
    int peekNextNumber(const NumberSeries& series, const QString& suffix = {},
                       std::optional<NumberScope> scope = std::nullopt);

    // Takes the next number and runs insertHeader(number) while holding the lock (inside a
    // transaction: until it ends).
    template <typename InsertHeader>
    auto withNextNumber(const NumberSeries& series, const QString& suffix, InsertHeader&& insertHeader)
    {
        NumberReservation reservation(m_db, series, suffix);
        return insertHeader(reservation.number());
    }

    static int nextNumber(Db& db, const NumberSeries& series, const QString& suffix,
                          std::optional<NumberScope> scope);

private:
    Db& m_db;
};

// The barcodes the system issues from the running bases kept in `contatori`.
enum class BarcodeKind
{
    Articolo,
    Assistenza,
    Lavoro,
    Taglia,
    Cliente
};

// The standard new item barcodes follow (impostazioni.ini `BARCODE`): a 12-digit base with the EAN-13
// check digit, or a 7-digit one with the EAN-8 check digit. The other kinds are always EAN-13.
enum class BarcodeStandard
{
    Ean13,
    Ean8
};

// The one routine that draws barcodes from `contatori`: items, repair tickets, services, sizes and
// colours, customer cards.
class BarcodeIssuer
{
public:
    // Whether an issued barcode already belongs to something, so the next base is tried.
    using Taken = std::function<bool(const QString& barcode)>;

    explicit BarcodeIssuer(Db& db, BarcodeStandard itemStandard = BarcodeStandard::Ean13)
        : m_db(db), m_itemStandard(itemStandard)
    {
    }

    // Advances the kind's base in `contatori` and returns base + check digit.
    // A base that is not an integer gives a DbError and nothing is issued.
    QString issue(BarcodeKind kind);
    // The same, moving on past barcodes taken() reports, up to maxTries bases: nullopt when all of
    // them are taken, and the counter is left as it was. The counter row stays locked meanwhile, so
    // two workstations never draw the same base.
    std::optional<QString> issueFree(BarcodeKind kind, const Taken& taken, int maxTries);

    // A repair ticket keeps its code unless another ticket already holds it (or it has none).
    QString repairTicketBarcode(const QString& current);

    static QString counterColumn(BarcodeKind kind);
    static QString defaultBase(BarcodeKind kind, BarcodeStandard standard = BarcodeStandard::Ean13);
    // The barcode of a base: EAN-13 as the base's decimal text plus its check digit; EAN-8 as the base
    // in seven digits plus its check digit (a larger base is refused: it has no EAN-8).
    static QString barcodeOf(qint64 base, BarcodeStandard standard);

private:
    BarcodeStandard standardOf(BarcodeKind kind) const;

    Db& m_db;
    BarcodeStandard m_itemStandard;
};

// EAN-13 check digit over a digit string: digits in odd positions (from the left) weigh 1, in even
// positions 3; the digit is (10 - sum mod 10) mod 10. Throws std::invalid_argument on non-digits.
int ean13CheckDigit(QStringView digits);
// EAN-8 check digit over the seven digits: from the left they weigh 3, 1, 3, ... (1234567 -> 0).
int ean8CheckDigit(QStringView digits);

// 1 -> "Gennaio" ... 12 -> "Dicembre", as documents store `Mese`.
QString monthName(int month);

} // namespace carvendo::core
