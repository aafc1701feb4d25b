#include "documents/RepairHandOver.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Session.h"

namespace carvendo::documents {

namespace {

// The colour the ticket list shows a delivered ticket in.
constexpr int DeliveredColour = 65280;

} // namespace

bool RepairHandOver::handOver(int idScheda, const QString& tipoDoc, int numero, int idDoc)
{
    core::Transaction transaction(m_db);
    const core::Params ticket{{QStringLiteral("IDSCHEDA"), idScheda}};
    const core::Rows found =
        m_db.query(QStringLiteral("SELECT IFNULL(doccreato, FALSE) AS doccreato, tipodoc, iddoccreato, "
                                  "IFNULL(Muletto, FALSE) AS Muletto FROM riparazioni WHERE Id_Scheda = "
                                  ":IDSCHEDA FOR UPDATE"),
                   ticket);
    if (found.isEmpty())
        throw core::Error(goneMessage(), core::Error::Kind::Refusal);
    const core::Row r = found.first();
    const bool ours = r["tipodoc"].toString() == tipoDoc && r["iddoccreato"].toInt() == idDoc;
    if (r["doccreato"].toBool() && !ours)
        throw core::Error(takenMessage(), core::Error::Kind::Refusal);
    const core::Operator& who = m_session.currentOperator();
    m_db.exec(
        QStringLiteral("UPDATE riparazioni SET doccreato = TRUE, tipodoc = :TIPODOC, numdoccreato = "
                       ":NUMERO, iddoccreato = :IDDOC, StatoAssistenza = :STATO, Consegnato = TRUE, "
                       "consegnadata = CURRENT_DATE, ConsegnaOperatore = LEFT(:OPERATORE, 50), colore = "
                       ":COLORE WHERE Id_Scheda = :IDSCHEDA"),
        {{QStringLiteral("TIPODOC"), tipoDoc.left(20)},
         {QStringLiteral("NUMERO"), numero},
         {QStringLiteral("IDDOC"), idDoc},
         {QStringLiteral("STATO"), deliveredState()},
         {QStringLiteral("OPERATORE"), who.nome},
         {QStringLiteral("COLORE"), DeliveredColour},
         {QStringLiteral("IDSCHEDA"), idScheda}});
    // Saving the invoice again does not deliver the ticket a second time.
    if (!ours)
        m_db.exec(
            QStringLiteral("INSERT INTO statistorico (idriparazione, data, stato, idoperatore, operatore) "
                           "VALUES (:IDSCHEDA, CURRENT_DATE, :STATO, :IDOPERATORE, LEFT(:OPERATORE, 50))"),
            {{QStringLiteral("IDSCHEDA"), idScheda},
             {QStringLiteral("STATO"), deliveredState()},
             {QStringLiteral("IDOPERATORE"), who.id},
             {QStringLiteral("OPERATORE"), who.nome}});
    transaction.commit();
    return r["Muletto"].toBool();
}

} // namespace carvendo::documents
