#include "Fornitore.h"

#include "Cliente.h"
#include "Db.h"
#include "Dialogs.h"
#include "FiscalChecks.h"
#include "Navigator.h"
#include "RegistryCodes.h"

namespace carvendo::registry {

const QStringList& Fornitore::columns()
{
    static const QStringList list = {
        QStringLiteral("Codice"), QStringLiteral("RagSoc"), QStringLiteral("PIva"), QStringLiteral("CodFisc"),
        QStringLiteral("IndirizzoLeg"), QStringLiteral("CapLeg"), QStringLiteral("CittaLeg"), QStringLiteral("ProvLeg"),
        QStringLiteral("Stato"), QStringLiteral("Telefono"), QStringLiteral("Cellulare"), QStringLiteral("Fax"),
        QStringLiteral("Email"), QStringLiteral("WebFornitore"), QStringLiteral("IndirizzoMerce"), QStringLiteral("CapMerce"),
        QStringLiteral("CittaMerce"), QStringLiteral("ProvMerce"), QStringLiteral("Categoria"), QStringLiteral("Banca"),
        QStringLiteral("Abi"), QStringLiteral("Cab"), QStringLiteral("ContoCorrente"), QStringLiteral("Pagamento"),
        QStringLiteral("Iva"), QStringLiteral("Agente"), QStringLiteral("TelAgente"), QStringLiteral("CellAgente"),
        QStringLiteral("emailAgente"), QStringLiteral("WebAgente"), QStringLiteral("NoteForn"), QStringLiteral("NoteAgente"),
        QStringLiteral("Note")};
    return list;
}

Fornitore::Fornitore(core::Db& db, core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent)
    : QObject(parent), m_db(db), m_dialogs(dialogs), m_navigator(navigator)
{
    openNew();
}

void Fornitore::openNew()
{
    m_id = 0;
    m_record.clear();
    m_record.values[QStringLiteral("Codice")] = RegistryCodes(m_db).peekNextSupplierCode();
    m_record.markSaved();
    emit changed();
}

bool Fornitore::open(int idFornitore)
{
    const core::Rows rows = m_db.query(QStringLiteral("SELECT * FROM fornitori WHERE id_fornitore = :ID"),
                                       {{QStringLiteral("ID"), idFornitore}});
    if (rows.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Il fornitore non esiste più: può essere stato eliminato da un'altra postazione."));
        return false;
    }
    m_id = idFornitore;
    m_record.load(rows[0]);
    emit changed();
    return true;
}

QString Fornitore::text(const char* column) const
{
    return m_record.text(QString::fromLatin1(column));
}

QVariant Fornitore::value(const QString& column) const
{
    return m_record.value(column);
}

void Fornitore::setValue(const QString& column, const QVariant& value)
{
    if (m_record.set(column, value))
        emit changed();
}

void Fornitore::fieldLeft(const QString& column)
{
    const QString key = m_record.canonical(column);
    const QString typed = m_record.values.value(key).toString().trimmed();
    if (typed.isEmpty())
        return;
    if (key == QLatin1String("CodFisc"))
        m_dialogs.information(checkCodiceFiscale(typed).message);
    else if (key == QLatin1String("PIva"))
        m_dialogs.information(checkPartitaIva(typed).message);
    else if (key == QLatin1String("Email") || key == QLatin1String("emailAgente"))
        m_dialogs.information(checkEmail(typed).message);
}

bool Fornitore::save()
{
    if (text("RagSoc").isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire la ragione sociale del fornitore."));
        return false;
    }
    if (isNew()) {
        m_record.values[QStringLiteral("Codice")] =
            RegistryCodes(m_db).insertSupplierWithNewCode([this](const QString& code) { insertRow(code); });
    } else {
        core::Transaction transaction(m_db);
        updateRow();
        transaction.commit();
    }
    m_record.saved = m_record.values;
    emit changed();
    emit saved(m_id);
    return true;
}

void Fornitore::insertRow(const QString& code)
{
    QStringList names;
    QStringList holders;
    core::Params params;
    for (const QString& column : columns()) {
        names << column;
        holders << QLatin1Char(':') + column;
        params.insert(column, column == QLatin1String("Codice") ? QVariant(code) : m_record.values.value(column));
    }
    m_db.exec(QStringLiteral("INSERT INTO fornitori (%1) VALUES (%2)").arg(names.join(QStringLiteral(", ")), holders.join(QStringLiteral(", "))),
              params);
    m_id = int(m_db.lastInsertId());
}

void Fornitore::updateRow()
{
    QStringList assignments;
    core::Params params;
    for (const QString& column : columns()) {
        assignments << QStringLiteral("%1 = :%1").arg(column);
        params.insert(column, m_record.values.value(column));
    }
    params.insert(QStringLiteral("IDFORNITORE"), m_id);
    m_db.exec(QStringLiteral("UPDATE fornitori SET %1 WHERE id_fornitore = :IDFORNITORE").arg(assignments.join(QStringLiteral(", "))),
              params);
}

bool Fornitore::mayLeave()
{
    return !isModified()
           || m_dialogs.confirm(QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?"));
}

QString Fornitore::exitCaption() const
{
    return isNew() ? QStringLiteral("Annulla") : QStringLiteral("Esci");
}

int Fornitore::makeCustomer()
{
    if (isNew() || isModified()) {
        m_dialogs.warning(QStringLiteral("Salvare il fornitore prima di crearne il cliente."));
        return 0;
    }
    int idCliente = 0;
    RegistryCodes(m_db).insertCustomerWithNewCode([&](int code) {
        m_db.exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale, pIva, CodFisc, Indirizzo, Citta, Cap, ProvRes, "
                                 "Telefono, Cellulare, Fax, email, Pagamento, Listino) VALUES (:CODICE, :RAGSOC, :PIVA, :CODFISC, "
                                 ":INDIRIZZO, :CITTA, :CAP, :PROV, :TELEFONO, :CELLULARE, :FAX, :EMAIL, :PAGAMENTO, 'LISTINO1')"),
                  {{QStringLiteral("CODICE"), code},
                   {QStringLiteral("RAGSOC"), m_record.values.value(QStringLiteral("RagSoc"))},
                   {QStringLiteral("PIVA"), m_record.values.value(QStringLiteral("PIva"))},
                   {QStringLiteral("CODFISC"), m_record.values.value(QStringLiteral("CodFisc"))},
                   {QStringLiteral("INDIRIZZO"), m_record.values.value(QStringLiteral("IndirizzoLeg"))},
                   {QStringLiteral("CITTA"), m_record.values.value(QStringLiteral("CittaLeg"))},
                   {QStringLiteral("CAP"), m_record.values.value(QStringLiteral("CapLeg"))},
                   {QStringLiteral("PROV"), m_record.values.value(QStringLiteral("ProvLeg"))},
                   {QStringLiteral("TELEFONO"), m_record.values.value(QStringLiteral("Telefono"))},
                   {QStringLiteral("CELLULARE"), m_record.values.value(QStringLiteral("Cellulare"))},
                   {QStringLiteral("FAX"), m_record.values.value(QStringLiteral("Fax"))},
                   {QStringLiteral("EMAIL"), m_record.values.value(QStringLiteral("Email"))},
                   {QStringLiteral("PAGAMENTO"), m_record.values.value(QStringLiteral("Pagamento"))}});
        idCliente = int(m_db.lastInsertId());
    });
    m_navigator.open(QStringLiteral("TCliente"), idCliente);
    return idCliente;
}

QString Fornitore::mapSearchUrl() const
{
    return registry::mapSearchUrl({text("IndirizzoLeg"), text("CittaLeg"), text("ProvLeg")});
}

} // namespace carvendo::registry
