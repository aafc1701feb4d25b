#pragma once

#include "stock/serials/SerialContext.h"

#include "core/Db.h"

#include <QString>

namespace carvendo::stock {

// The events of a serial's life, as `storicoseriali`.`Evento` keeps them.
namespace SerialEvent {
inline const QString Caricato = QStringLiteral("Caricato");
inline const QString Bloccato = QStringLiteral("Bloccato");
inline const QString Eliminato = QStringLiteral("Eliminato");
inline const QString Venduto = QStringLiteral("Venduto");
inline const QString Reso = QStringLiteral("Reso");
inline const QString Rientrato = QStringLiteral("Rientrato");
} // namespace SerialEvent

// One event of one serial: the document it happened in and the customer or supplier involved.
struct SerialHistoryEntry
{
    QString event;
    QString serial;
    int itemId = 0;
    QString document; // "Carico", "Pos", "Fattura", "Ddt", "Cat", "Reso"
    int documentId = 0;
    QString documentNumber;
    int loadId = 0;
    int partyId = 0;
    QString party;
    QString reason;
};

// The life of every serial (`storicoseriali`): written by each command that moves a serial, inside
// that command's transaction, so the history never tells of a move that did not happen.
class SerialHistory
{
public:
    explicit SerialHistory(core::Db& db) : m_db(db) {}

    void record(const SerialHistoryEntry& entry, const SerialActor& actor);
    // One event for each `seriali` row that the condition (a fixed fragment over the alias s) picks;
    // its document is the load the serial came with and its party the supplier.
    void recordFromStock(const QString& event, const QString& condition, const core::Params& params,
                         const SerialActor& actor);
    // One event for each `serialidocumenti` link that the condition (a fixed fragment over the alias
    // sd) picks; its document is the one the link names and its party the customer.
    void recordFromLinks(const QString& event, const QString& condition, const core::Params& params,
                         const SerialActor& actor, const QString& reason = {});
    // Every event of the serial, oldest first: Data, Evento, Documento, NumeroDocumento, Soggetto,
    // Motivo, Magazzino, Operatore.
    core::Rows timeline(const QString& serial) const;

private:
    core::Db& m_db;
};

} // namespace carvendo::stock
