#include "stock/SerialHistory.h"

namespace carvendo::stock {

namespace {

// Texts are cut to the history's columns: a long supplier name must not stop the command.
const QString Columns = QStringLiteral(
    "INSERT INTO storicoseriali (Data, Seriale, idArticolo, Evento, Documento, idDocumento, NumeroDocumento, "
    "idCarico, idSoggetto, Soggetto, Motivo, idMagazzino, Magazzino, idOperatore, Operatore) ");

const QString ActorValues =
    QStringLiteral(":IDMAGAZZINO, LEFT(:MAGAZZINO, 120), :IDOPERATORE, LEFT(:OPERATORE, 120)");

core::Params actorParams(const SerialActor& actor)
{
    return {{QStringLiteral("IDMAGAZZINO"), actor.warehouseId},
            {QStringLiteral("MAGAZZINO"), actor.warehouseName},
            {QStringLiteral("IDOPERATORE"), actor.operatorId},
            {QStringLiteral("OPERATORE"), actor.operatorName}};
}

core::Params merged(core::Params params, const core::Params& more)
{
    for (auto it = more.constBegin(); it != more.constEnd(); ++it)
        params.insert(it.key(), it.value());
    return params;
}

} // namespace

void SerialHistory::record(const SerialHistoryEntry& entry, const SerialActor& actor)
{
    m_db.exec(
        Columns +
            QStringLiteral("VALUES (NOW(), :SERIALE, :IDARTICOLO, :EVENTO, LEFT(:DOCUMENTO, 20), "
                           ":IDDOCUMENTO, LEFT(:NUMERO, 30), :IDCARICO, :IDSOGGETTO, LEFT(:SOGGETTO, 120), "
                           "LEFT(:MOTIVO, 120), ") +
            ActorValues + QStringLiteral(")"),
        merged(actorParams(actor), {{QStringLiteral("SERIALE"), entry.serial},
                                    {QStringLiteral("IDARTICOLO"), entry.itemId},
                                    {QStringLiteral("EVENTO"), entry.event},
                                    {QStringLiteral("DOCUMENTO"), entry.document},
                                    {QStringLiteral("IDDOCUMENTO"), entry.documentId},
                                    {QStringLiteral("NUMERO"), entry.documentNumber},
                                    {QStringLiteral("IDCARICO"), entry.loadId},
                                    {QStringLiteral("IDSOGGETTO"), entry.partyId},
                                    {QStringLiteral("SOGGETTO"), entry.party},
                                    {QStringLiteral("MOTIVO"), entry.reason}}));
}

void SerialHistory::recordFromStock(const QString& event, const QString& condition,
                                    const core::Params& params, const SerialActor& actor)
{
    m_db.exec(
        Columns +
            QStringLiteral("SELECT NOW(), s.Seriale, s.idArticolo, :EVENTO, 'Carico', s.idCarico, "
                           "LEFT(c.NumeroCarico, 30), s.idCarico, s.idFornitore, LEFT(f.RagSoc, 120), '', ") +
            ActorValues +
            QStringLiteral(" FROM seriali s LEFT JOIN carichi c ON c.idCarico = s.idCarico "
                           "LEFT JOIN fornitori f ON f.id_fornitore = s.idFornitore WHERE ") +
            condition + QStringLiteral(" ORDER BY s.ID"),
        merged(merged(actorParams(actor), params), {{QStringLiteral("EVENTO"), event}}));
}

void SerialHistory::recordFromLinks(const QString& event, const QString& condition,
                                    const core::Params& params, const SerialActor& actor,
                                    const QString& reason)
{
    m_db.exec(
        Columns +
            QStringLiteral(
                "SELECT NOW(), sd.Seriale, sd.idArticolo, :EVENTO, sd.Documento, sd.idDocumento, "
                // the number the sale recorded: a link does not keep it
                "(SELECT h.NumeroDocumento FROM storicoseriali h WHERE h.Seriale = sd.Seriale "
                "AND h.Documento = sd.Documento AND h.idDocumento = sd.idDocumento AND h.Evento = 'Venduto' "
                "ORDER BY h.id DESC LIMIT 1), "
                "sd.idCarico, sd.idCliente, LEFT(COALESCE(NULLIF(TRIM(cl.RagioneSociale), ''), "
                "TRIM(CONCAT_WS(' ', cl.Cognome, cl.Nome)), ''), 120), LEFT(:MOTIVO, 120), ") +
            ActorValues +
            QStringLiteral(
                " FROM serialidocumenti sd LEFT JOIN clienti cl ON cl.idCliente = sd.idCliente WHERE ") +
            condition + QStringLiteral(" ORDER BY sd.id"),
        merged(merged(actorParams(actor), params),
               {{QStringLiteral("EVENTO"), event}, {QStringLiteral("MOTIVO"), reason}}));
}

core::Rows SerialHistory::timeline(const QString& serial) const
{
    return m_db.query(QStringLiteral("SELECT Data, Evento, Documento, NumeroDocumento, Soggetto, Motivo, "
                                     "Magazzino, Operatore FROM storicoseriali WHERE Seriale = :SERIALE "
                                     "ORDER BY Data, id"),
                      {{QStringLiteral("SERIALE"), serial}});
}

} // namespace carvendo::stock
