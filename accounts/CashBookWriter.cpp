#include "accounts/CashBookWriter.h"

#include "core/Db.h"

namespace carvendo::accounts {

namespace {

// Texts go into columns of fixed width: a longer supplier name or description is cut to fit.
QString fit(const QString& text, int width)
{
    return text.left(width);
}

} // namespace

void CashBookWriter::replace(const QString& tipodoc, int iddoc, const QList<CashBookEntry>& entries)
{
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("delete from prima_nota where iddoc = :IDDOC and tipodoc = :TIPODOC"),
              {{QStringLiteral("IDDOC"), iddoc}, {QStringLiteral("TIPODOC"), tipodoc}});
    for (const CashBookEntry& entry : entries) {
        m_db.exec(QStringLiteral(
                      "INSERT INTO prima_nota (data, risorsa, modalita, entrate, uscite, descrizione, soggetto, "
                      "idsoggetto, tiposogg, riferimento, saldato, iddoc, tipodoc, idmagazzino, Magazzino, mese, "
                      "anno, banca, selezione) "
                      "VALUES (:DATA, :RISORSA, :MODALITA, :ENTRATE, :USCITE, :DESCRIZIONE, :SOGGETTO, "
                      ":IDSOGGETTO, :TIPOSOGG, :RIFERIMENTO, :SALDATO, :IDDOC, :TIPODOC, :IDMAGAZZINO, "
                      ":MAGAZZINO, :MESE, :ANNO, :BANCA, FALSE)"),
                  {{QStringLiteral("DATA"), entry.data},
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
                   {QStringLiteral("IDDOC"), iddoc},
                   {QStringLiteral("TIPODOC"), tipodoc},
                   {QStringLiteral("IDMAGAZZINO"), entry.idmagazzino},
                   {QStringLiteral("MAGAZZINO"), fit(entry.magazzino, 50)},
                   {QStringLiteral("MESE"), fit(entry.mese, 15)},
                   {QStringLiteral("ANNO"), fit(entry.anno, 4)},
                   {QStringLiteral("BANCA"), fit(entry.banca, 120)}});
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
    return modalita.compare(cash(), Qt::CaseInsensitive) == 0 ? QStringLiteral("CASSA") : QStringLiteral("BANCA");
}

} // namespace carvendo::accounts
