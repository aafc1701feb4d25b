#include "accounts/CashBookWriter.h"

#include "core/Db.h"

#include <QHash>

namespace carvendo::accounts {

namespace {

// Texts go into columns of fixed width: a longer supplier name or description is cut to fit.
QString fit(const QString& text, int width)
{
    return text.left(width);
}

// The columns of an entry, bound once for the insert and the update alike.
core::Params entryParams(const CashBookEntry& entry)
{
    return {{QStringLiteral("DATA"), entry.data},
            {QStringLiteral("RISORSA"), fit(entry.risorsa, 50)},
            {QStringLiteral("MODALITA"), fit(entry.modalita, 50)},
            {QStringLiteral("ENTRATE"), QVariant::fromValue(entry.entrate)},
            {QStringLiteral("USCITE"), QVariant::fromValue(entry.uscite)},
            {QStringLiteral("DESCRIZIONE"), fit(entry.descrizione, 120)},
            {QStringLiteral("SOGGETTO"), fit(entry.soggetto, 120)},
            {QStringLiteral("IDSOGGETTO"), entry.idsoggetto},
            {QStringLiteral("TIPOSOGG"), fit(entry.tiposogg, 50)},
            {QStringLiteral("RIFERIMENTO"), fit(entry.riferimento, 50)},
            {QStringLiteral("SALDATO"), entry.saldato},
            {QStringLiteral("IDMAGAZZINO"), entry.idmagazzino},
            {QStringLiteral("MAGAZZINO"), fit(entry.magazzino, 50)},
            {QStringLiteral("MESE"), fit(entry.mese, 15)},
            {QStringLiteral("ANNO"), fit(entry.anno, 4)},
            {QStringLiteral("BANCA"), fit(entry.banca, 120)}};
}

} // namespace

void CashBookWriter::insert(const QString& tipodoc, int iddoc, const CashBookEntry& entry)
{
    core::Params params = entryParams(entry);
    params.insert(QStringLiteral("IDDOC"), iddoc);
    params.insert(QStringLiteral("TIPODOC"), tipodoc);
    m_db.exec(QStringLiteral(
                  "INSERT INTO prima_nota (data, risorsa, modalita, entrate, uscite, descrizione, soggetto, "
                  "idsoggetto, tiposogg, riferimento, saldato, iddoc, tipodoc, idmagazzino, Magazzino, mese, "
                  "anno, banca, selezione) "
                  "VALUES (:DATA, :RISORSA, :MODALITA, :ENTRATE, :USCITE, :DESCRIZIONE, :SOGGETTO, "
                  ":IDSOGGETTO, :TIPOSOGG, :RIFERIMENTO, :SALDATO, :IDDOC, :TIPODOC, :IDMAGAZZINO, "
                  ":MAGAZZINO, :MESE, :ANNO, :BANCA, FALSE)"),
              params);
}

void CashBookWriter::update(int id, const CashBookEntry& entry)
{
    core::Params params = entryParams(entry);
    params.insert(QStringLiteral("ID"), id);
    m_db.exec(
        QStringLiteral(
            "UPDATE prima_nota SET data = :DATA, risorsa = :RISORSA, modalita = :MODALITA, entrate = "
            ":ENTRATE, uscite = :USCITE, descrizione = :DESCRIZIONE, soggetto = :SOGGETTO, idsoggetto = "
            ":IDSOGGETTO, tiposogg = :TIPOSOGG, riferimento = :RIFERIMENTO, saldato = :SALDATO, "
            "idmagazzino = :IDMAGAZZINO, Magazzino = :MAGAZZINO, mese = :MESE, anno = :ANNO, banca = "
            ":BANCA WHERE id = :ID"),
        params);
}

void CashBookWriter::replace(const QString& tipodoc, int iddoc, const QList<CashBookEntry>& entries)
{
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("delete from prima_nota where iddoc = :IDDOC and tipodoc = :TIPODOC"),
              {{QStringLiteral("IDDOC"), iddoc}, {QStringLiteral("TIPODOC"), tipodoc}});
    for (const CashBookEntry& entry : entries)
        insert(tipodoc, iddoc, entry);
    transaction.commit();
}

void CashBookWriter::replaceKeepingSettled(const QString& tipodoc, int iddoc,
                                           const QList<CashBookEntry>& entries)
{
    core::Transaction transaction(m_db);
    const core::Params document{{QStringLiteral("IDDOC"), iddoc}, {QStringLiteral("TIPODOC"), tipodoc}};
    // Locked to the commit: a second workstation saving the same document waits and then sees these.
    const core::Rows settled = m_db.query(
        QStringLiteral("SELECT id, descrizione FROM prima_nota WHERE iddoc = :IDDOC AND tipodoc = :TIPODOC "
                       "AND saldato = TRUE ORDER BY id FOR UPDATE"),
        document);
    m_db.exec(QStringLiteral("DELETE FROM prima_nota WHERE iddoc = :IDDOC AND tipodoc = :TIPODOC AND "
                             "IFNULL(saldato, FALSE) = FALSE"),
              document);
    QHash<QString, int> paid; // description -> line
    for (const core::Row& row : settled)
        paid.insert(row["descrizione"].toString(), row["id"].toInt());
    for (const CashBookEntry& entry : entries) {
        const auto line = paid.constFind(fit(entry.descrizione, 120));
        if (line == paid.cend())
            insert(tipodoc, iddoc, entry);
        else if (entry.saldato)
            update(*line, entry);
    }
    transaction.commit();
}

QString CashBookWriter::modalitaOf(const QString& tipoPagamento)
{
    const QString modalita =
        m_db.scalar(QStringLiteral("select modalita from pagamenti where descrizione = :TIPOPAGAMENTO"),
                    {{QStringLiteral("TIPOPAGAMENTO"), tipoPagamento}})
            .toString()
            .trimmed();
    return modalita.isEmpty() ? cash() : modalita;
}

QString CashBookWriter::resourceOf(const QString& modalita)
{
    return modalita.compare(cash(), Qt::CaseInsensitive) == 0 ? QStringLiteral("CASSA")
                                                              : QStringLiteral("BANCA");
}

} // namespace carvendo::accounts
