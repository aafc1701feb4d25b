#include "documents/InvoiceCashBook.h"

#include "accounts/DocumentInstalments.h"

#include "core/Db.h"
#include "core/Error.h"

namespace carvendo::documents {

QString InvoiceCashBook::instalmentSuffix(int index, int count)
{
    if (count < 2)
        return {};
    return QStringLiteral(" (%1 di %2)%3")
        .arg(index)
        .arg(count)
        .arg(index == count ? QStringLiteral(" - Saldo") : QString());
}

QList<accounts::CashBookEntry> InvoiceCashBook::entries(int idFattura, Settlement settlement)
{
    const core::Rows found = m_db.query(
        QStringLiteral("SELECT NumDoc, data, totaledocumento, tipopagamento, %1, RagioneSociale, "
                       "idCliente, BancaAppoggio, idMagazzino, Magazzino, Anno, Mese, CURRENT_DATE AS oggi "
                       "FROM fatture WHERE idFattura = :IDFATTURA")
            .arg(accounts::instalmentColumns()),
        {{QStringLiteral("IDFATTURA"), idFattura}});
    if (found.isEmpty())
        throw core::Error(QStringLiteral("Il documento è stato eliminato da un'altra postazione."),
                          core::Error::Kind::Refusal);
    const core::Row h = found.first();
    accounts::CashBookWriter writer(m_db);
    const QString modalita = writer.modalitaOf(h["tipopagamento"].toString());
    accounts::CashBookEntry line;
    line.modalita = modalita;
    line.risorsa = accounts::CashBookWriter::resourceOf(modalita);
    line.descrizione = QStringLiteral("Fattura vendita nr. %1 del %2")
                           .arg(h["NumDoc"].toInt())
                           .arg(h["data"].toDate().toString(QStringLiteral("dd/MM/yyyy")));
    line.soggetto = h["RagioneSociale"].toString();
    line.idsoggetto = h["idCliente"].toInt();
    line.tiposogg = QStringLiteral("Cliente");
    line.riferimento = h["tipopagamento"].toString();
    line.banca = h["BancaAppoggio"].toString();
    // The invoice's own warehouse, whoever saves it where.
    line.idmagazzino = h["idMagazzino"].toInt();
    line.magazzino = h["Magazzino"].toString();
    line.mese = h["Mese"].toString();
    line.anno = h["Anno"].toString();

    QList<accounts::CashBookEntry> lines;
    if (settlement == Settlement::AtTheCounter) {
        line.data = h["data"].toDate();
        line.entrate = h["totaledocumento"].toMoney();
        line.saldato = true;
        lines.append(line);
        return lines;
    }
    if (modalita.compare(accounts::CashBookWriter::cash(), Qt::CaseInsensitive) == 0) {
        line.data = h["oggi"].toDate();
        line.entrate = h["totaledocumento"].toMoney();
        line.saldato = true;
        lines.append(line);
        return lines;
    }
    const QList<accounts::Instalment> rate = accounts::instalmentsOf(h);
    for (int i = 0; i < rate.size(); ++i) {
        accounts::CashBookEntry instalment = line;
        instalment.data = rate[i].scadenza;
        instalment.entrate = rate.size() == 1 ? h["totaledocumento"].toMoney() : rate[i].importo;
        instalment.descrizione += instalmentSuffix(i + 1, int(rate.size()));
        lines.append(instalment);
    }
    return lines;
}

void InvoiceCashBook::write(int idFattura, Settlement settlement)
{
    accounts::CashBookWriter(m_db).replaceKeepingSettled(m_tipodoc, idFattura,
                                                         entries(idFattura, settlement));
}

} // namespace carvendo::documents
