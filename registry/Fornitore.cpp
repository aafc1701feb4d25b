#include "registry/Fornitore.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "registry/RegistryCodes.h"
#include "registry/RegistryKind.h"

namespace carvendo::registry {

const QStringList& Fornitore::columns()
{
    static const QStringList list = {
        QStringLiteral("Codice"),     QStringLiteral("RagSoc"),        QStringLiteral("PIva"),
        QStringLiteral("CodFisc"),    QStringLiteral("IndirizzoLeg"),  QStringLiteral("CapLeg"),
        QStringLiteral("CittaLeg"),   QStringLiteral("ProvLeg"),       QStringLiteral("Stato"),
        QStringLiteral("Telefono"),   QStringLiteral("Cellulare"),     QStringLiteral("Fax"),
        QStringLiteral("Email"),      QStringLiteral("WebFornitore"),  QStringLiteral("IndirizzoMerce"),
        QStringLiteral("CapMerce"),   QStringLiteral("CittaMerce"),    QStringLiteral("ProvMerce"),
        QStringLiteral("Categoria"),  QStringLiteral("Banca"),         QStringLiteral("Abi"),
        QStringLiteral("Cab"),        QStringLiteral("ContoCorrente"), QStringLiteral("Pagamento"),
        QStringLiteral("Iva"),        QStringLiteral("Agente"),        QStringLiteral("TelAgente"),
        QStringLiteral("CellAgente"), QStringLiteral("emailAgente"),   QStringLiteral("WebAgente"),
        QStringLiteral("NoteForn"),   QStringLiteral("NoteAgente"),    QStringLiteral("Note")};
    return list;
}

Fornitore::Fornitore(core::Db& db, core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent)
    : RegistryCard(RegistryKind::suppliers(), core::RecordValues::textColumns(columns()), db, dialogs,
                   parent),
      m_navigator(navigator)
{
    openNew();
}

void Fornitore::fillNew()
{
    m_record.set(QStringLiteral("Codice"), RegistryCodes(m_db).peekNextSupplierCode());
}

bool Fornitore::mayBeSaved()
{
    if (m_record.text(QStringLiteral("RagSoc")).isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire la ragione sociale del fornitore."));
        return false;
    }
    return true;
}

QVariant Fornitore::insertWithNewCode(const std::function<void(const QVariant& code)>& insertRow)
{
    return RegistryCodes(m_db).insertSupplierWithNewCode([&](const QString& code) { insertRow(code); });
}

int Fornitore::makeCustomer()
{
    if (isNew() || isModified()) {
        m_dialogs.warning(QStringLiteral("Salvare il fornitore prima di crearne il cliente."));
        return 0;
    }
    int idCliente = 0;
    RegistryCodes(m_db).insertCustomerWithNewCode([&](int code) {
        m_db.exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale, pIva, CodFisc, "
                                 "Indirizzo, Citta, Cap, ProvRes, "
                                 "Telefono, Cellulare, Fax, email, Pagamento, Listino) VALUES (:CODICE, "
                                 ":RAGSOC, :PIVA, :CODFISC, "
                                 ":INDIRIZZO, :CITTA, :CAP, :PROV, :TELEFONO, :CELLULARE, :FAX, :EMAIL, "
                                 ":PAGAMENTO, 'LISTINO1')"),
                  {{QStringLiteral("CODICE"), code},
                   {QStringLiteral("RAGSOC"), m_record.value(QStringLiteral("RagSoc"))},
                   {QStringLiteral("PIVA"), m_record.value(QStringLiteral("PIva"))},
                   {QStringLiteral("CODFISC"), m_record.value(QStringLiteral("CodFisc"))},
                   {QStringLiteral("INDIRIZZO"), m_record.value(QStringLiteral("IndirizzoLeg"))},
                   {QStringLiteral("CITTA"), m_record.value(QStringLiteral("CittaLeg"))},
                   {QStringLiteral("CAP"), m_record.value(QStringLiteral("CapLeg"))},
                   {QStringLiteral("PROV"), m_record.value(QStringLiteral("ProvLeg"))},
                   {QStringLiteral("TELEFONO"), m_record.value(QStringLiteral("Telefono"))},
                   {QStringLiteral("CELLULARE"), m_record.value(QStringLiteral("Cellulare"))},
                   {QStringLiteral("FAX"), m_record.value(QStringLiteral("Fax"))},
                   {QStringLiteral("EMAIL"), m_record.value(QStringLiteral("Email"))},
                   {QStringLiteral("PAGAMENTO"), m_record.value(QStringLiteral("Pagamento"))}});
        idCliente = int(m_db.lastInsertId());
    });
    m_navigator.open(QStringLiteral("TCliente"), idCliente);
    return idCliente;
}

} // namespace carvendo::registry
