#pragma once

#include "core/Db.h"
#include "core/Rows.h"

#include <QString>
#include <QStringList>

namespace carvendo::stock {

// The item columns a search compares the typed text with.
enum class ItemField
{
    Descrizione,    // `Descrizione`
    Barcode,        // `BarcodeFull`
    Codice,         // `CodArticolo`
    CodiceFornitore // `CODARTFORN`
};

// How the typed text is compared: "Inizia per..." (the default), "Esatta", "Parziale".
enum class MatchMode
{
    StartsWith = 0,
    Exact = 1,
    Contains = 2
};

// The pattern of a LIKE ... ESCAPE '!' that matches the text literally ("100%" finds "100%", not
// "1000"), with "%" before and/or after it.
QString likePattern(const QString& text, bool anythingBefore, bool anythingAfter);

// The items an item list or picker shows, a page at a time, with each item's stock in the
// warehouse the list is set to. Every search replaces the previous one; typed values are always
// bound, and the compared column comes from a fixed list.
class ItemSearch
{
public:
    // What the current search asks, apart from the search itself: it can be run again on another
    // connection (an export off the window thread).
    struct Criteria
    {
        QString where{}; // built only from fixed texts; values are in params
        core::Params params{};
        int idMagazzino = 0;
        bool nothing = false;
    };

    explicit ItemSearch(core::Db& db) : m_db(db) {}

    // The mode selector's entries, in the order of MatchMode.
    static QStringList modeCaptions();
    // The attributes the advanced search offers, `categoria` first (the default).
    static QStringList attributes();
    // The grid's columns and their headings.
    static const QStringList& columns();
    static const QStringList& captions();

    // The warehouse whose stock the list shows; the current search, if any, is run again.
    void setWarehouse(int idMagazzino);
    int warehouse() const { return m_idMagazzino; }
    void setPageSize(int rows) { m_pageSize = rows; }
    int pageSize() const { return m_pageSize; }

    void showAll();
    // An empty text shows every item.
    void byField(ItemField field, MatchMode mode, const QString& text);
    void bySupplier(const QString& name);                             // `Fornitore` equal to the name
    void byAttribute(const QString& attribute, const QString& value); // throws std::invalid_argument
    void byItem(int idArticolo);
    // The item a serial belongs to, when the serial is in the list's warehouse. False (and the empty
    // list) when it is not.
    bool bySerial(const QString& serial);
    void showNothing();

    bool loadMore(); // the next page; false when there was nothing more
    void refresh();  // the same search again, as many rows as are shown now

    const core::Rows& rows() const { return m_rows; }
    bool hasMore() const { return m_hasMore; }
    // The row of the item among those loaded, or -1.
    int rowOf(int idArticolo) const;
    // Puts the item's stock, just written, into its loaded row; returns the row, or -1.
    int setStock(int idArticolo, const QVariant& giacenza, const QVariant& disponibilita);
    // Every item of the current search (exports and prints).
    core::Rows allRows() { return allRows(m_db, criteria()); }
    Criteria criteria() const { return {m_where, m_params, m_idMagazzino, m_nothing}; }
    static core::Rows allRows(core::Db& db, const Criteria& criteria);

private:
    void run(const QString& where, const core::Params& params);
    core::Rows fetch(int limit, int offset) { return fetch(m_db, criteria(), limit, offset); }
    static core::Rows fetch(core::Db& db, const Criteria& criteria, int limit, int offset);
    void load(int limit);

    core::Db& m_db;
    int m_idMagazzino = 0;
    int m_pageSize = 200;
    QString m_where;
    core::Params m_params;
    bool m_nothing = false;
    bool m_searched = false; // a search has been run
    core::Rows m_rows;
    bool m_hasMore = false;
};

} // namespace carvendo::stock
