#include "stock/serials/Seriali.h"

#include "stock/serials/SerialReconciliation.h"
#include "stock/serials/SerialStock.h"

#include "stock/SerialHistory.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "core/StoredProcedures.h"

namespace carvendo::stock {

namespace {

const QString Caller = QStringLiteral("TSeriali");

QString dateText(const core::Field& field)
{
    const QDate date = field.toDate();
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// "n. 12 del 05/12/2026", leaving out what is not known.
QString numberAndDate(const QString& number, const core::Field& date)
{
    QStringList parts;
    if (!number.isEmpty())
        parts.append(QStringLiteral("n. ") + number);
    if (!dateText(date).isEmpty())
        parts.append(QStringLiteral("del ") + dateText(date));
    return parts.join(u' ');
}

} // namespace

Seriali::Seriali(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                 core::Navigator& navigator, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_dialogs(dialogs), m_navigator(navigator)
{
}

QStringList Seriali::returnReasons()
{
    return {QStringLiteral("CAMBIO MERCE"), QStringLiteral("PRODOTTO DIFETTOSO")};
}

bool Seriali::search(const QString& typed)
{
    const QString serial = typed.trimmed();
    if (serial.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire un seriale da cercare"));
        return false;
    }
    m_serial = serial;
    find();
    return true;
}

core::Field Seriali::found(QAnyStringView column) const
{
    return m_found.isEmpty() ? core::Field() : m_found.value(0, column);
}

void Seriali::find()
{
    const core::Params params{{QStringLiteral("SERIALE"), m_serial}};
    m_found = m_db.query(
        QStringLiteral("SELECT s.ID, s.idArticolo, s.CodArticolo, s.Descrizione, s.Barcode, s.Seriale, ") +
            SerialStock::sellableCondition(QStringLiteral("s")) +
            QStringLiteral(
                " AS Vendibile, s.idCarico, s.idMagazzino, s.Magazzino, s.BarcodeLotto, c.NumeroCarico, "
                "c.data AS DataCarico, f.RagSoc AS Fornitore FROM seriali s "
                "LEFT JOIN carichi c ON c.idCarico = s.idCarico "
                "LEFT JOIN fornitori f ON f.id_fornitore = s.idFornitore "
                "WHERE s.Seriale = :SERIALE ORDER BY s.ID LIMIT 1"),
        params);
    if (!m_found.isEmpty()) {
        m_status = found("Vendibile").toBool() ? Status::InStock : Status::Blocked;
    } else {
        m_found = m_db.query(
            QStringLiteral(
                "SELECT sd.id, sd.idArticolo, sd.codarticolo AS CodArticolo, sd.descrizione AS Descrizione, "
                "sd.barcode AS Barcode, sd.Seriale, sd.idCarico, sd.idFornitore, sd.idMagazzino, "
                "sd.Magazzino, sd.Documento, sd.idDocumento, sd.DataScarico, sd.idCliente, ") +
                SerialHistory::saleNumberSql() + QStringLiteral(" AS NumeroDocumento, ") +
                SerialHistory::customerNameSql() +
                QStringLiteral(" AS Cliente, c.NumeroCarico, c.data AS DataCarico, f.RagSoc AS Fornitore "
                               "FROM serialidocumenti sd LEFT JOIN carichi c ON c.idCarico = sd.idCarico "
                               "LEFT JOIN fornitori f ON f.id_fornitore = sd.idFornitore "
                               "LEFT JOIN clienti cl ON cl.idCliente = sd.idCliente "
                               "WHERE sd.Seriale = :SERIALE ORDER BY sd.id DESC LIMIT 1"),
            params);
        m_status = m_found.isEmpty() ? Status::NotFound : Status::Sold;
    }
    m_timeline = SerialHistory(m_db).timeline(m_serial);
    emit changed();
}

QString Seriali::headline() const
{
    switch (m_status) {
    case Status::None:
        return {};
    case Status::NotFound:
        return QStringLiteral("SERIALE NON TROVATO");
    default:
        return QStringLiteral("SERIALE TROVATO");
    }
}

QString Seriali::detail() const
{
    switch (m_status) {
    case Status::InStock:
        return QStringLiteral("Seriale disponibile per la vendita");
    case Status::Blocked:
        return QStringLiteral("Seriale bloccato, non vendibile: la riga del carico da cui proviene è stata "
                              "eliminata");
    case Status::Sold:
        return QStringLiteral("Seriale non disponibile perchè già venduto");
    default:
        return {};
    }
}

QList<std::pair<QString, QString>> Seriali::facts() const
{
    if (!canOpenItem())
        return {};
    QList<std::pair<QString, QString>> facts{
        {QStringLiteral("Articolo"),
         found("CodArticolo").toString() + QStringLiteral(" - ") + found("Descrizione").toString()},
        {QStringLiteral("Barcode"), found("Barcode").toString()},
        {QStringLiteral("Magazzino"), found("Magazzino").toString()}};
    if (canOpenLoad())
        facts.append(
            {QStringLiteral("Carico"), numberAndDate(found("NumeroCarico").toString(), found("DataCarico"))});
    facts.append({QStringLiteral("Fornitore"), found("Fornitore").toString()});
    if (m_status == Status::Sold) {
        facts.append({QStringLiteral("Documento"),
                      found("Documento").toString() + u' ' +
                          numberAndDate(found("NumeroDocumento").toString(), found("DataScarico"))});
        facts.append({QStringLiteral("Cliente"), found("Cliente").toString()});
    } else {
        facts.append({QStringLiteral("Lotto"), found("BarcodeLotto").toString()});
    }
    // What is not known is left out rather than shown blank.
    facts.removeIf([](const auto& fact) { return fact.second.trimmed().isEmpty(); });
    return facts;
}

void Seriali::openItem()
{
    if (!canOpenItem())
        return;
    m_navigator.open(QStringLiteral("TArticolo"), found("idArticolo").toInt(), Caller);
    find();
}

void Seriali::openLoad()
{
    if (!canOpenLoad())
        return;
    m_navigator.open(QStringLiteral("TCarico"), found("idCarico").toInt(), Caller);
    find();
}

void Seriali::openDocument()
{
    if (!canOpenDocument())
        return;
    // The selling documents' windows (till receipts, invoices, delivery notes, repair tickets) are
    // not in the program yet.
    m_dialogs.information(QStringLiteral("Non ancora disponibile"));
}

bool Seriali::bringBack()
{
    if (!canBringBack())
        return false;
    const std::optional<int> reason = m_dialogs.chooseOption(
        QStringLiteral("Rientro"), QStringLiteral("Motivo del rientro"), returnReasons());
    if (!reason)
        return false;
    const QString motivo = returnReasons().at(*reason);

    core::Transaction transaction(m_db);
    // The link is taken by deleting it: a double click or a second workstation finds it gone.
    const core::Rows links = m_db.query(
        QStringLiteral("DELETE FROM serialidocumenti WHERE id = :ID RETURNING idArticolo, Seriale, idCarico, "
                       "codarticolo, descrizione, barcode, idFornitore, idMagazzino, Magazzino, idOperatore, "
                       "Operatore"),
        {{QStringLiteral("ID"), found("id").toInt()}});
    if (links.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Attenzione! Il seriale non risulta più venduto: è già rientrato in "
                                         "magazzino."));
        find();
        return false;
    }
    const core::Row link = links.first();
    const int itemId = link["idArticolo"].toInt();
    const SerialActor soldBy{link["idOperatore"].toInt(), link["Operatore"].toString(),
                             link["idMagazzino"].toInt(), link["Magazzino"].toString()};
    SerialActor returnedBy = actorOf(m_session);
    returnedBy.warehouseId = soldBy.warehouseId; // the piece comes back where it was sold
    returnedBy.warehouseName = soldBy.warehouseName;
    SerialStock(m_db).add(StockSerial{{itemId, link["codarticolo"].toString(), link["descrizione"].toString(),
                                       link["barcode"].toString()},
                                      link["Seriale"].toString(),
                                      link["idCarico"].toInt(),
                                      link["idFornitore"].toInt(),
                                      0,
                                      {}},
                          soldBy);
    // A counter return: the stock rebuild counts it as a piece given back.
    m_db.exec(
        QStringLiteral("INSERT INTO dettreso (idarticolo, seriale, Data, quantita, Motivo, idmagazzino, "
                       "Magazzino, Codice, Descrizione, idOperatore, Operatore, idCliente, Cliente) VALUES "
                       "(:IDARTICOLO, :SERIALE, NOW(), 1, :MOTIVO, :IDMAGAZZINO, LEFT(:MAGAZZINO, 50), "
                       "LEFT(:CODICE, 50), :DESCRIZIONE, :IDOPERATORE, LEFT(:OPERATORE, 50), :IDCLIENTE, "
                       "LEFT(:CLIENTE, 50))"),
        {{QStringLiteral("IDARTICOLO"), itemId},
         {QStringLiteral("SERIALE"), link["Seriale"].variant()},
         {QStringLiteral("MOTIVO"), motivo},
         {QStringLiteral("IDMAGAZZINO"), soldBy.warehouseId},
         {QStringLiteral("MAGAZZINO"), soldBy.warehouseName},
         {QStringLiteral("CODICE"), link["codarticolo"].variant()},
         {QStringLiteral("DESCRIZIONE"), link["descrizione"].variant()},
         {QStringLiteral("IDOPERATORE"), returnedBy.operatorId},
         {QStringLiteral("OPERATORE"), returnedBy.operatorName},
         {QStringLiteral("IDCLIENTE"), found("idCliente").toInt()},
         {QStringLiteral("CLIENTE"), found("Cliente").toString()}});
    core::StoredProcedures(m_db).caricoMagazzinoInsert(itemId, soldBy.warehouseId, soldBy.warehouseName, 1);
    SerialHistory(m_db).record({.event = SerialEvent::Rientrato,
                                .serial = link["Seriale"].toString(),
                                .itemId = itemId,
                                .document = found("Documento").toString(),
                                .documentId = found("idDocumento").toInt(),
                                .documentNumber = found("NumeroDocumento").toString(),
                                .loadId = link["idCarico"].toInt(),
                                .partyId = found("idCliente").toInt(),
                                .party = found("Cliente").toString(),
                                .reason = motivo},
                               returnedBy);
    transaction.commit();
    find();
    return true;
}

void Seriali::verify()
{
    m_mismatches = serialStockMismatches(m_db);
    emit changed();
}

} // namespace carvendo::stock
