#include "accounts/Deadlines.h"

#include "core/Db.h"
#include "core/NamedLock.h"

#include <QSet>

#include <algorithm>

namespace carvendo::accounts {

namespace {

const QString DocumentKey = QStringLiteral("rifDoc = :RIFDOC AND TipoDoc = :TIPODOC AND Tipo = :TIPO");
const QString Open = QStringLiteral(" AND NOT IFNULL(Evaso, FALSE)");

core::Params keyOf(int rifDoc, const QString& tipoDoc, const QString& tipo)
{
    return {{QStringLiteral("RIFDOC"), rifDoc},
            {QStringLiteral("TIPODOC"), tipoDoc.left(50)},
            {QStringLiteral("TIPO"), tipo}};
}

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// What an unsettled row says, to tell whether writing again would change anything.
struct OpenRow
{
    QDate scadenza;
    core::Money importo;
    QString pagamento;
    int idSoggetto = 0;
    int nrDoc = 0;
    QDate dataDoc;

    bool operator==(const OpenRow&) const = default;
};

} // namespace

QString DeadlineDocument::saleNote(const QString& numero)
{
    return QStringLiteral("Numero documento di vendita ") + quoted(numero);
}

QString DeadlineDocument::fromDeliveryNote(const QString& numeroDdt)
{
    return QStringLiteral("Rif. Ddt Nr. ") + quoted(numeroDdt);
}

QString DeadlineDocument::loadNote(int numeroCarico)
{
    return QStringLiteral("Numero documento di carico ") + quoted(QString::number(numeroCarico));
}

bool Deadlines::write(const DeadlineDocument& document)
{
    core::Transaction transaction(m_db);
    // Deadline writers take turns: two documents rewriting their rows at once would otherwise
    // deadlock on the gaps of the `rifDoc` index.
    core::NamedLock lock(m_db, QStringLiteral("scadenzario"));
    const core::Params key = keyOf(document.rifDoc, document.tipoDoc, document.tipo);
    const bool debit = document.tipo == DeadlineDocument::debit();
    const QString subjectId = debit ? QStringLiteral("idFornitore") : QStringLiteral("idCliente");

    QSet<QDate> settled;
    QList<OpenRow> open;
    for (const core::Row row :
         m_db.query(QStringLiteral("SELECT scadenza, Importo, Pagamento, idCliente, idFornitore, NrDoc, "
                                   "DataDoc, IFNULL(Evaso, FALSE) AS Evaso FROM scadenzario WHERE ") +
                        DocumentKey + QStringLiteral(" ORDER BY scadenza, idScadenza FOR UPDATE"),
                    key)) {
        if (row["Evaso"].toBool())
            settled.insert(row["scadenza"].toDate());
        else
            open.append({row["scadenza"].toDate(), row["Importo"].toMoney(), row["Pagamento"].toString(),
                         row[subjectId].toInt(), row["NrDoc"].toInt(), row["DataDoc"].toDate()});
    }

    QList<Instalment> wanted;
    for (const Instalment& rata : document.rate)
        if (!settled.contains(rata.scadenza))
            wanted.append(rata);
    std::stable_sort(wanted.begin(), wanted.end(),
                     [](const Instalment& a, const Instalment& b) { return a.scadenza < b.scadenza; });
    QList<OpenRow> wantedRows;
    for (const Instalment& rata : wanted)
        wantedRows.append({rata.scadenza, rata.importo, document.pagamento.left(50), document.idSoggetto,
                           document.nrDoc, document.dataDoc});
    if (wantedRows == open) {
        transaction.commit();
        return false;
    }

    m_db.exec(QStringLiteral("DELETE FROM scadenzario WHERE ") + DocumentKey + Open, key);
    for (const Instalment& rata : wanted) {
        core::Params row = key;
        row.insert(QStringLiteral("NRDOC"), document.nrDoc);
        row.insert(QStringLiteral("ANNO"), document.anno.left(50));
        row.insert(QStringLiteral("MESE"), document.mese.left(50));
        row.insert(QStringLiteral("DATADOC"), document.dataDoc);
        row.insert(QStringLiteral("PAGAMENTO"), document.pagamento.left(50));
        row.insert(QStringLiteral("IMPORTO"), QVariant::fromValue(rata.importo));
        row.insert(QStringLiteral("SCADENZA"), rata.scadenza);
        row.insert(QStringLiteral("NOTE"), document.note.left(50));
        row.insert(QStringLiteral("CLIENTE"), debit ? QString() : document.soggetto.left(50));
        row.insert(QStringLiteral("IDCLIENTE"), debit ? 0 : document.idSoggetto);
        row.insert(QStringLiteral("FORNITORE"), debit ? document.soggetto.left(50) : QString());
        row.insert(QStringLiteral("IDFORNITORE"), debit ? document.idSoggetto : 0);
        row.insert(QStringLiteral("IDMAGAZZINO"), document.idMagazzino);
        row.insert(QStringLiteral("MAGAZZINO"), document.magazzino.left(120));
        m_db.exec(QStringLiteral("INSERT INTO scadenzario (NrDoc, TipoDoc, rifDoc, Anno, Mese, DataDoc, "
                                 "Pagamento, Importo, scadenza, Tipo, Evaso, Note, Cliente, idCliente, "
                                 "Fornitore, idFornitore, idMagazzino, Magazzino) VALUES (:NRDOC, "
                                 ":TIPODOC, :RIFDOC, :ANNO, :MESE, :DATADOC, :PAGAMENTO, :IMPORTO, "
                                 ":SCADENZA, :TIPO, FALSE, :NOTE, :CLIENTE, :IDCLIENTE, :FORNITORE, "
                                 ":IDFORNITORE, :IDMAGAZZINO, :MAGAZZINO)"),
                  row);
    }
    transaction.commit();
    return true;
}

void Deadlines::removeOpen(int rifDoc, const QString& tipoDoc, const QString& tipo)
{
    core::Transaction transaction(m_db);
    core::NamedLock lock(m_db, QStringLiteral("scadenzario"));
    m_db.exec(QStringLiteral("DELETE FROM scadenzario WHERE ") + DocumentKey + Open,
              keyOf(rifDoc, tipoDoc, tipo));
    transaction.commit();
}

void Deadlines::retype(int rifDoc, const QString& fromTipoDoc, const QString& toTipoDoc, const QString& tipo)
{
    core::Transaction transaction(m_db);
    core::NamedLock lock(m_db, QStringLiteral("scadenzario"));
    core::Params params = keyOf(rifDoc, fromTipoDoc, tipo);
    params.insert(QStringLiteral("NUOVOTIPODOC"), toTipoDoc.left(50));
    m_db.exec(QStringLiteral("UPDATE scadenzario SET TipoDoc = :NUOVOTIPODOC WHERE ") + DocumentKey, params);
    transaction.commit();
}

} // namespace carvendo::accounts
