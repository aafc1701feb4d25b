#pragma once

#include <QString>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::documents {

// A repair ticket handed over to the customer with the document made for it: the ticket records the
// document (kind, number, key) and becomes "CONSEGNATO" with today's date, the operator and a history
// row. Written inside the document's save; a ticket another document already took is refused, so two
// workstations cannot invoice one ticket twice.
class RepairHandOver
{
public:
    RepairHandOver(core::Db& db, const core::Session& session) : m_db(db), m_session(session) {}

    // True when the ticket has a courtesy device the customer has to give back.
    bool handOver(int idScheda, const QString& tipoDoc, int numero, int idDoc);

    static QString deliveredState() { return QStringLiteral("CONSEGNATO"); }
    static QString courtesyDeviceMessage()
    {
        return QStringLiteral("Attenzione! A questa scheda è associato un apparato di cortesia");
    }
    static QString takenMessage()
    {
        return QStringLiteral("Attenzione! Per questa scheda è già stato creato un altro documento.");
    }
    static QString goneMessage() { return QStringLiteral("La scheda di assistenza non esiste più."); }

private:
    core::Db& m_db;
    const core::Session& m_session;
};

} // namespace carvendo::documents
