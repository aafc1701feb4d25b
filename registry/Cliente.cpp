#include "registry/Cliente.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/NamedLock.h"
#include "core/ReportOutput.h"
#include "foundation/PrivacyNotice.h"
#include "registry/EInvoiceRecipient.h"
#include "registry/FiscalChecks.h"
#include "registry/RegistryCodes.h"
#include "registry/RegistryKind.h"

#include <QHash>

#include <algorithm>

namespace carvendo::registry {

namespace {

const QString kDescriptionPrompt = QStringLiteral("Inserire la descrizione");

// The card's columns with their kinds: text unless listed here.
QList<core::RecordColumn> recordColumns()
{
    using K = core::ColumnKind;
    static const QHash<QString, K> kinds{{QStringLiteral("CodiceCliente"), K::Integer},
                                         {QStringLiteral("idAgente"), K::Integer},
                                         {QStringLiteral("idfidelity"), K::Integer},
                                         {QStringLiteral("aliquota"), K::Integer},
                                         {QStringLiteral("Rivenditore"), K::Flag},
                                         {QStringLiteral("aliq_pers"), K::Flag},
                                         {QStringLiteral("consenso_dati"), K::Flag},
                                         {QStringLiteral("AccountAttivo"), K::Flag},
                                         {QStringLiteral("Note"), K::Memo},
                                         {QStringLiteral("ANnotazioni"), K::Memo}};
    QList<core::RecordColumn> columns = core::RecordValues::textColumns(Cliente::columns());
    for (core::RecordColumn& column : columns)
        column.kind = kinds.value(column.name, K::Text);
    return columns;
}

} // namespace

const QStringList& Cliente::columns()
{
    static const QStringList list = {QStringLiteral("CodiceCliente"), QStringLiteral("RagioneSociale"),
                                     QStringLiteral("Cognome"),       QStringLiteral("Nome"),
                                     QStringLiteral("LuogoNasc"),     QStringLiteral("ProvNasc"),
                                     QStringLiteral("StatoNasc"),     QStringLiteral("DataNasc"),
                                     QStringLiteral("CodFisc"),       QStringLiteral("pIva"),
                                     QStringLiteral("Indirizzo"),     QStringLiteral("Citta"),
                                     QStringLiteral("ProvRes"),       QStringLiteral("Cap"),
                                     QStringLiteral("Telefono"),      QStringLiteral("Cellulare"),
                                     QStringLiteral("AltroRec"),      QStringLiteral("Fax"),
                                     QStringLiteral("email"),         QStringLiteral("Refer"),
                                     QStringLiteral("Note"),          QStringLiteral("ANnotazioni"),
                                     QStringLiteral("Categoria"),     QStringLiteral("Settore"),
                                     QStringLiteral("Definizione"),   QStringLiteral("Rivenditore"),
                                     QStringLiteral("Pagamento"),     QStringLiteral("Listino"),
                                     QStringLiteral("idlistino"),     QStringLiteral("aliq_pers"),
                                     QStringLiteral("aliquota"),      QStringLiteral("idAgente"),
                                     QStringLiteral("Agente"),        QStringLiteral("barcode"),
                                     QStringLiteral("idfidelity"),    QStringLiteral("fidelity"),
                                     QStringLiteral("consenso_dati"), QStringLiteral("USERNAME"),
                                     QStringLiteral("PASS"),          QStringLiteral("AccountAttivo"),
                                     QStringLiteral("TipoCliente"),   QStringLiteral("CodiceDestinatario"),
                                     QStringLiteral("PEC"),           QStringLiteral("Nazione")};
    return list;
}

Cliente::Cliente(core::Db& db, core::Dialogs& dialogs, QObject* parent)
    : RegistryCard(RegistryKind::customers(), recordColumns(), db, dialogs, parent)
{
    openNew();
}

void Cliente::fillNew()
{
    m_record.set(QStringLiteral("Listino"), QStringLiteral("LISTINO1"));
    m_record.set(QStringLiteral("TipoCliente"), QStringLiteral("PF"));
    m_record.set(QStringLiteral("CodiceDestinatario"), QStringLiteral("0000000"));
    m_record.set(QStringLiteral("Nazione"), QStringLiteral("IT"));
    m_record.set(QStringLiteral("CodiceCliente"), RegistryCodes(m_db).peekNextCustomerCode());
}

bool Cliente::mayBeSaved()
{
    if (m_record.text(QStringLiteral("RagioneSociale")).isEmpty() &&
        m_record.text(QStringLiteral("Cognome")).isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire la ragione sociale o il cognome del cliente."));
        return false;
    }
    // What an electronic invoice needs to reach the customer, checked on a new customer and whenever
    // that data changes: a customer kept so far is not stopped over data nobody touched. Codes are
    // kept in capitals.
    static const QStringList recipientColumns{
        QStringLiteral("TipoCliente"),        QStringLiteral("pIva"), QStringLiteral("CodFisc"),
        QStringLiteral("CodiceDestinatario"), QStringLiteral("PEC"),  QStringLiteral("Nazione")};
    const QStringList changed = m_record.changedColumns();
    if (!isNew() && std::none_of(recipientColumns.cbegin(), recipientColumns.cend(),
                                 [&](const QString& column) { return changed.contains(column); }))
        return true;
    for (const QString& column : {QStringLiteral("CodiceDestinatario"), QStringLiteral("Nazione")})
        m_record.set(column, m_record.text(column).toUpper());
    const EInvoiceRecipient recipient{
        m_record.text(QStringLiteral("TipoCliente")), m_record.text(QStringLiteral("pIva")),
        m_record.text(QStringLiteral("CodFisc")),     m_record.text(QStringLiteral("CodiceDestinatario")),
        m_record.text(QStringLiteral("PEC")),         m_record.text(QStringLiteral("Nazione"))};
    if (const QString refusal = recipientRefusal(recipient); !refusal.isEmpty()) {
        m_dialogs.warning(refusal);
        return false;
    }
    if (const QString pec = recipient.pec; !pec.isEmpty() && !checkEmail(pec).valid) {
        m_dialogs.warning(QStringLiteral("L'indirizzo PEC non è valido."));
        return false;
    }
    if (lacksFiscalCode(recipient) &&
        !m_dialogs.confirm(QStringLiteral("Per un privato indicare il codice fiscale: senza non gli si potrà "
                                          "emettere una fattura elettronica. Salvare comunque?")))
        return false;
    return !onlyInTaxDrawer(recipient) ||
           m_dialogs.confirm(QStringLiteral("Il cliente non ha né codice destinatario né PEC: le fatture "
                                            "elettroniche saranno disponibili solo nel suo cassetto fiscale. "
                                            "Salvare comunque?"));
}

QVariant Cliente::insertWithNewCode(const std::function<void(const QVariant& code)>& insertRow)
{
    return RegistryCodes(m_db).insertCustomerWithNewCode([&](int code) { insertRow(code); });
}

bool Cliente::issueCard()
{
    if (!m_record.value(QStringLiteral("barcode")).toString().trimmed().isEmpty() &&
        !m_dialogs.confirm(QStringLiteral("Il cliente ha già una tessera. Assegnare una nuova tessera?")))
        return false;
    const QString card = RegistryCodes(m_db).newCustomerCard();
    if (isNew()) {
        m_record.set(QStringLiteral("barcode"), card);
    } else {
        m_db.exec(QStringLiteral("UPDATE clienti SET barcode = :BARCODE WHERE idCliente = :ID"),
                  {{QStringLiteral("BARCODE"), card}, {QStringLiteral("ID"), id()}});
        m_record.setStored(QStringLiteral("barcode"), card);
    }
    emit changed();
    return true;
}

QStringList Cliente::list(const QString& sql) const
{
    QStringList names;
    for (const core::Row& row : m_db.query(sql))
        names << row.at(0).toString();
    return names;
}

QStringList Cliente::municipalities() const
{
    return list(QStringLiteral("SELECT comune FROM comuni ORDER BY comune"));
}

void Cliente::chooseMunicipality()
{
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT comune, Cap, SiglaProv FROM comuni ORDER BY comune"));
    QStringList names;
    for (const core::Row& row : rows)
        names << QStringLiteral("%1 (%2)").arg(row[QStringLiteral("comune")].toString(),
                                               row[QStringLiteral("SiglaProv")].toString());
    const std::optional<int> chosen =
        m_dialogs.chooseOption(QStringLiteral("Comuni"), QStringLiteral("Scegliere il comune"), names);
    if (!chosen || *chosen < 0 || *chosen >= rows.size())
        return;
    const core::Row row = rows[*chosen];
    // Large cities have one postcode per district, listed together: the operator picks one.
    const QStringList caps =
        row[QStringLiteral("Cap")].toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString cap = caps.value(0);
    if (caps.size() > 1) {
        const std::optional<int> which =
            m_dialogs.chooseOption(QStringLiteral("Cap"), QStringLiteral("Scegliere il Cap"), caps);
        if (!which || *which < 0 || *which >= caps.size())
            return;
        cap = caps[*which];
    }
    m_record.set(QStringLiteral("Citta"), row[QStringLiteral("comune")].toString());
    m_record.set(QStringLiteral("Cap"), cap);
    m_record.set(QStringLiteral("ProvRes"), row[QStringLiteral("SiglaProv")].toString());
    emit changed();
}

bool Cliente::newMunicipality()
{
    const std::optional<QString> name =
        m_dialogs.askText(QStringLiteral("Nuovo comune"), QStringLiteral("Inserire il nome del comune"),
                          m_record.value(QStringLiteral("Citta")).toString());
    if (!name || name->trimmed().isEmpty())
        return false;
    const std::optional<QString> cap =
        m_dialogs.askText(QStringLiteral("Nuovo comune"), QStringLiteral("Inserire il Cap"));
    if (!cap)
        return false;
    const std::optional<QString> province = m_dialogs.askText(
        QStringLiteral("Nuovo comune"), QStringLiteral("Inserire la sigla della Provincia"));
    if (!province)
        return false;
    const QString sigla = province->trimmed().toUpper();
    if (sigla.size() > 2) {
        m_dialogs.warning(QStringLiteral("La sigla della Provincia è di due lettere."));
        return false;
    }
    m_db.exec(QStringLiteral("INSERT INTO comuni (comune, Cap, SiglaProv) VALUES (:COMUNE, :CAP, :SIGLA)"),
              {{QStringLiteral("COMUNE"), name->trimmed()},
               {QStringLiteral("CAP"), cap->trimmed()},
               {QStringLiteral("SIGLA"), sigla}});
    m_record.set(QStringLiteral("Citta"), name->trimmed());
    m_record.set(QStringLiteral("Cap"), cap->trimmed());
    m_record.set(QStringLiteral("ProvRes"), sigla);
    emit changed();
    return true;
}

bool Cliente::addDescription(const QString& title, const QString& table, const QString& column,
                             const QString& field)
{
    const std::optional<QString> typed = m_dialogs.askText(title, kDescriptionPrompt);
    if (!typed || typed->trimmed().isEmpty())
        return false;
    const QString description = typed->trimmed();
    // table and column are fixed names of this class, never typed text.
    core::addLookupValue(m_db, table, column, description);
    m_record.set(field, description);
    emit changed();
    return true;
}

bool Cliente::addCategory()
{
    return addDescription(QStringLiteral("Nuova categoria cliente"), QStringLiteral("catclienti"),
                          QStringLiteral("Categoria"), QStringLiteral("Categoria"));
}

bool Cliente::addSector()
{
    return addDescription(QStringLiteral("Nuovo settore"), QStringLiteral("settclienti"),
                          QStringLiteral("Settore"), QStringLiteral("Settore"));
}

bool Cliente::addDefinition()
{
    return addDescription(QStringLiteral("Nuova definizione"), QStringLiteral("defclienti"),
                          QStringLiteral("Definizione"), QStringLiteral("Definizione"));
}

bool Cliente::chooseFrom(const QStringList& options, const QString& title, const QString& prompt,
                         const QString& field)
{
    if (options.isEmpty()) {
        m_dialogs.information(
            QStringLiteral("Nessuna voce da scegliere: aggiungerne una con il pulsante di inserimento."));
        return false;
    }
    const std::optional<int> chosen = m_dialogs.chooseOption(title, prompt, options);
    if (!chosen || *chosen < 0 || *chosen >= options.size())
        return false;
    m_record.set(field, options[*chosen]);
    emit changed();
    return true;
}

bool Cliente::chooseCategory()
{
    return chooseFrom(categories(), QStringLiteral("Categorie"), QStringLiteral("Scegliere la categoria"),
                      QStringLiteral("Categoria"));
}

bool Cliente::chooseSector()
{
    return chooseFrom(sectors(), QStringLiteral("Settori"), QStringLiteral("Scegliere il settore"),
                      QStringLiteral("Settore"));
}

bool Cliente::chooseDefinition()
{
    return chooseFrom(definitions(), QStringLiteral("Definizioni"),
                      QStringLiteral("Scegliere la definizione"), QStringLiteral("Definizione"));
}

QStringList Cliente::categories() const
{
    return list(QStringLiteral("SELECT Categoria FROM catclienti ORDER BY Categoria"));
}

QStringList Cliente::sectors() const
{
    return list(QStringLiteral("SELECT Settore FROM settclienti ORDER BY Settore"));
}

QStringList Cliente::definitions() const
{
    return list(QStringLiteral("SELECT Definizione FROM defclienti ORDER BY Definizione"));
}

bool Cliente::removeAgent()
{
    if (m_record.value(QStringLiteral("idAgente")).toInt() == 0 &&
        m_record.value(QStringLiteral("Agente")).toString().isEmpty())
        return false;
    if (!m_dialogs.confirm(
            QStringLiteral("Sei sicuro di voler eliminare l'Agente associato a questo Cliente?")))
        return false;
    m_record.set(QStringLiteral("idAgente"), QVariant());
    m_record.set(QStringLiteral("Agente"), QString());
    emit changed();
    return true;
}

bool Cliente::removeFidelity()
{
    if (m_record.value(QStringLiteral("idfidelity")).toInt() == 0 &&
        m_record.value(QStringLiteral("fidelity")).toString().isEmpty())
        return false;
    if (!m_dialogs.confirm(
            QStringLiteral("Sei sicuro di voler eliminare la Fidelity assegnata a questo Cliente?")))
        return false;
    m_record.set(QStringLiteral("idfidelity"), QVariant());
    m_record.set(QStringLiteral("fidelity"), QString());
    emit changed();
    return true;
}

bool Cliente::hasWebAccount() const
{
    return !isNew() && !m_record.savedValue(QStringLiteral("USERNAME")).toString().isEmpty();
}

bool Cliente::webAccountsAvailable()
{
    if (isNew() || isModified()) {
        m_dialogs.warning(QStringLiteral("Salvare il cliente prima di gestirne l'account web."));
        return false;
    }
    if (!m_webAccounts.isConfigured()) {
        m_dialogs.warning(
            QStringLiteral("Gli account web non sono disponibili: configurare la connessione Portavia."));
        return false;
    }
    return true;
}

std::optional<std::pair<QString, QString>> Cliente::askCredentials(const QString& title)
{
    const std::optional<QString> username = m_dialogs.askText(
        title, QStringLiteral("Inserire lo username"), m_record.value(QStringLiteral("USERNAME")).toString());
    if (!username || username->trimmed().isEmpty())
        return std::nullopt;
    const std::optional<QString> password = m_dialogs.askText(title, QStringLiteral("Inserire la password"));
    if (!password || password->isEmpty())
        return std::nullopt;
    if (m_webAccounts.usernameTaken(username->trimmed(), id())) {
        m_dialogs.warning(QStringLiteral("Lo username è già usato da un altro account."));
        return std::nullopt;
    }
    return std::pair{username->trimmed(), *password};
}

void Cliente::storeWebAccount(const QVariant& username, const QVariant& password, bool active)
{
    m_db.exec(QStringLiteral("UPDATE clienti SET USERNAME = :USERNAME, PASS = :PASS, AccountAttivo = :ATTIVO "
                             "WHERE idCliente = :ID"),
              {{QStringLiteral("USERNAME"), username},
               {QStringLiteral("PASS"), password},
               {QStringLiteral("ATTIVO"), active},
               {QStringLiteral("ID"), id()}});
    m_record.setStored(QStringLiteral("USERNAME"), username);
    m_record.setStored(QStringLiteral("PASS"), password);
    m_record.setStored(QStringLiteral("AccountAttivo"), active);
}

// The account lives on the exchange and its mirror in `clienti`: the mirror is written in a transaction
// committed only after the exchange took the change, so a failure there leaves the card as it was.
void Cliente::changeWebAccount(const std::function<void()>& onExchange, const QVariant& username,
                               const QVariant& password, bool active)
{
    const core::RecordValues before = m_record;
    try {
        core::Transaction transaction(m_db);
        storeWebAccount(username, password, active);
        onExchange();
        transaction.commit();
    } catch (...) {
        m_record = before;
        throw;
    }
}

bool Cliente::createWebAccount()
{
    if (!webAccountsAvailable())
        return false;
    if (m_webAccounts.exists(id())) {
        m_dialogs.warning(QStringLiteral("Il cliente ha già un account web."));
        return false;
    }
    const auto credentials = askCredentials(QStringLiteral("Account Web"));
    if (!credentials)
        return false;
    changeWebAccount([&] { m_webAccounts.create(id(), credentials->first, credentials->second); },
                     credentials->first, credentials->second, true);
    emit changed();
    m_dialogs.information(QStringLiteral("Account Web creato con successo"));
    return true;
}

bool Cliente::updateWebAccount()
{
    if (!webAccountsAvailable())
        return false;
    if (!m_webAccounts.exists(id())) {
        m_dialogs.warning(QStringLiteral("Il cliente non ha un account web."));
        return false;
    }
    const auto credentials = askCredentials(QStringLiteral("Account Web"));
    if (!credentials)
        return false;
    changeWebAccount([&] { m_webAccounts.update(id(), credentials->first, credentials->second); },
                     credentials->first, credentials->second,
                     m_record.value(QStringLiteral("AccountAttivo")).toBool());
    emit changed();
    m_dialogs.information(QStringLiteral("I dati dell'Account sono stati aggiornati"));
    return true;
}

bool Cliente::deleteWebAccount()
{
    if (!webAccountsAvailable())
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Sei sicuro di voler eliminare l'Account Web di questo Cliente?")))
        return false;
    changeWebAccount([&] { m_webAccounts.remove(id()); }, QVariant(), QVariant(), false);
    emit changed();
    m_dialogs.information(QStringLiteral("Account eliminato"));
    return true;
}

core::ReportRequest Cliente::privacyForm()
{
    const QStringList& names = columns();
    std::vector<QVariant> row;
    row.reserve(names.size());
    for (const QString& column : names)
        row.push_back(m_record.value(column));
    core::ReportRequest request;
    request.templateName = QStringLiteral("Privacy");
    request.title =
        QStringLiteral("Privacy - ") + m_record.value(QStringLiteral("RagioneSociale")).toString();
    request.datasets.emplace(QStringLiteral("cliente"), core::Rows(names, {std::move(row)}));
    request.values = {
        {QStringLiteral("testo"), foundation::PrivacyNotice(m_db).text()},
        {QStringLiteral("data"),
         m_db.scalar(QStringLiteral("SELECT CURRENT_DATE")).toDate().toString(QStringLiteral("dd/MM/yyyy"))}};
    return request;
}

bool Cliente::printPrivacy(core::ReportOutput& reports)
{
    if (isNew() || isModified()) {
        m_dialogs.warning(QStringLiteral("Salvare il cliente prima di stampare il modulo privacy."));
        return false;
    }
    reports.preview(privacyForm());
    return true;
}

} // namespace carvendo::registry
