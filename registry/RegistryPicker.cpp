#include "registry/RegistryPicker.h"

#include "core/Dialogs.h"
#include "core/Session.h"

namespace carvendo::registry {

namespace {

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

// Columns by use. The key comes first in each.
const QStringList& customerDocumentColumns()
{
    static const QStringList columns = words(
        "idCliente CodiceCliente RagioneSociale Cognome Nome Indirizzo Citta Cap ProvRes CodFisc pIva "
        "Telefono Cellulare email Pagamento Listino idlistino aliq_pers aliquota idAgente Agente Categoria "
        "Rivenditore barcode idfidelity fidelity");
    return columns;
}

const QStringList& customerContactColumns()
{
    static const QStringList columns = words("idCliente CodiceCliente RagioneSociale Cognome Nome Indirizzo "
                                             "Citta Cap ProvRes CodFisc pIva Telefono "
                                             "Cellulare email Rivenditore");
    return columns;
}

const QStringList& customerNameColumns()
{
    static const QStringList columns = words("idCliente CodiceCliente RagioneSociale");
    return columns;
}

const QStringList& customerDestinationColumns()
{
    static const QStringList columns = words("idCliente RagioneSociale Indirizzo Citta Cap ProvRes");
    return columns;
}

const QStringList& supplierDocumentColumns()
{
    static const QStringList columns =
        words("id_fornitore Codice RagSoc PIva CodFisc IndirizzoLeg CapLeg CittaLeg ProvLeg Stato Telefono "
              "Cellulare Fax Email Pagamento CodPagamento Iva CodIva DescIva");
    return columns;
}

const QStringList& supplierNameColumns()
{
    static const QStringList columns = words("id_fornitore Codice RagSoc");
    return columns;
}

const QStringList& supplierDestinationColumns()
{
    static const QStringList columns =
        words("id_fornitore RagSoc IndirizzoMerce CapMerce CittaMerce ProvMerce");
    return columns;
}

struct CallerColumns
{
    const char* caller;
    const QStringList& (*columns)();
};

// Who calls which picker and what it copies: documents take the full counterpart, repair tickets
// its contacts, due dates and summaries its name.
const std::vector<CallerColumns>& callersOf(const QString& pickerWindow)
{
    static const std::vector<CallerColumns> customerCounterpart{
        {"Cantiere", customerDocumentColumns},
        {"FatturaDifferita", customerDocumentColumns},
        {"FatturaImmediata", customerDocumentColumns},
        {"Preventivo", customerDocumentColumns},
        {"DettDdt", customerDocumentColumns},
        {"OrdineCliente", customerDocumentColumns},
        {"Pos", customerDocumentColumns},
        {"Scadenza", customerNameColumns},
        {"AssistenzaScheda", customerContactColumns},
        {"AssistenzaSchedaSub", customerContactColumns},
        {"RiepiloghiCat", customerNameColumns},
    };
    static const std::vector<CallerColumns> customerDestination{
        {"FatturaImmediata", customerDestinationColumns},
        {"Preventivo", customerDestinationColumns},
        {"DettDdt", customerDestinationColumns},
    };
    static const std::vector<CallerColumns> supplierCounterpart{
        {"Carico", supplierDocumentColumns},
        {"Articoli", supplierNameColumns},
        {"OrdineFornitore", supplierDocumentColumns},
        {"DettDdt", supplierDocumentColumns},
        {"CatRientroForn", supplierDocumentColumns},
        {"Rma", supplierDocumentColumns},
        {"Scadenza", supplierNameColumns},
        {"Articolo_New", supplierNameColumns},
    };
    static const std::vector<CallerColumns> supplierDestination{
        {"Carico", supplierDestinationColumns},          {"Articoli", supplierDestinationColumns},
        {"OrdineFornitore", supplierDestinationColumns}, {"DettDdt", supplierDestinationColumns},
        {"CatRientroForn", supplierDestinationColumns},  {"Rma", supplierDestinationColumns},
        {"Scadenza", supplierDestinationColumns},        {"Articolo_New", supplierDestinationColumns},
    };
    static const std::vector<CallerColumns> none;
    if (pickerWindow == u"TClientiPreleva")
        return customerCounterpart;
    if (pickerWindow == u"TClientiPrelDest")
        return customerDestination;
    if (pickerWindow == u"TFornitoriPreleva")
        return supplierCounterpart;
    if (pickerWindow == u"TFornitoriPrelDest")
        return supplierDestination;
    return none;
}

} // namespace

const QList<PickerWindow>& PickerWindow::all()
{
    static const QList<PickerWindow> windows{
        {QStringLiteral("TClientiPreleva"), &RegistryKind::customers(), PickerPurpose::Counterpart},
        {QStringLiteral("TClientiPrelDest"), &RegistryKind::customers(), PickerPurpose::Destination},
        {QStringLiteral("TFornitoriPreleva"), &RegistryKind::suppliers(), PickerPurpose::Counterpart},
        {QStringLiteral("TFornitoriPrelDest"), &RegistryKind::suppliers(), PickerPurpose::Destination},
    };
    return windows;
}

const PickerWindow* PickerWindow::find(const QString& name)
{
    for (const PickerWindow& window : all())
        if (window.name == name)
            return &window;
    return nullptr;
}

QStringList PickerContract::callers(const QString& pickerWindow)
{
    QStringList out;
    for (const CallerColumns& entry : callersOf(pickerWindow))
        out << QString::fromLatin1(entry.caller);
    return out;
}

QStringList PickerContract::columns(const QString& pickerWindow, const QString& caller)
{
    for (const CallerColumns& entry : callersOf(pickerWindow))
        if (caller == QLatin1String(entry.caller))
            return entry.columns();
    return {};
}

RegistryPicker::RegistryPicker(const PickerWindow& window, const QString& caller, core::Db& db,
                               const core::Session& session, core::Dialogs& dialogs,
                               core::Navigator& navigator)
    : m_window(window), m_caller(caller), m_db(db), m_session(session), m_dialogs(dialogs),
      m_navigator(navigator), m_search(*window.kind, db)
{
}

QString RegistryPicker::unknownCallerMessage(const QString& caller)
{
    return QStringLiteral("Questa finestra non può consegnare la scelta a \"%1\".").arg(caller);
}

QString RegistryPicker::recordGoneMessage()
{
    return QStringLiteral("Il record scelto non esiste più: aggiornare l'elenco.");
}

QVariant RegistryPicker::newRecord()
{
    // The card opens on a new record and writes it only when saved (the customer with price list
    // "LISTINO1" and the next code): a card left unsaved leaves nothing behind.
    const core::NavigationResult card = m_navigator.open(kind().cardWindow, QVariant(), m_window.name);
    if (!card.accepted || card.value.isNull() || !card.value.isValid())
        return {};
    const QVariant key = card.value;
    const QString name = m_db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :ID")
                                         .arg(kind().nameColumn, kind().table, kind().key),
                                     {{QStringLiteral("ID"), key}})
                             .toString();
    m_search.search(SearchMode::Name, name);
    return key;
}

bool RegistryPicker::deleteRecord(const QVariant& key)
{
    if (key.isNull() || !key.isValid())
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(kind().deleteQuestion))
        return false;
    deleteRegistryRecord(kind(), m_db, key, m_webAccounts);
    m_search.refresh();
    return true;
}

bool RegistryPicker::choose(const QVariant& key)
{
    m_result = {};
    const QStringList columns = PickerContract::columns(m_window.name, m_caller);
    if (columns.isEmpty()) {
        m_dialogs.error(unknownCallerMessage(m_caller));
        return false;
    }
    if (key.isNull() || !key.isValid())
        return false;
    const core::Rows found =
        m_db.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :ID")
                       .arg(columns.join(QStringLiteral(", ")), kind().table, kind().key),
                   {{QStringLiteral("ID"), key}});
    if (found.isEmpty()) {
        m_dialogs.warning(recordGoneMessage());
        m_search.refresh();
        return false;
    }
    m_result.accepted = true;
    m_result.value = found.value(0, kind().key).variant();
    for (int c = 0; c < found.columnCount(); ++c)
        m_result.values.insert(found.columns().at(c), found.at(0, c).variant());
    return true;
}

} // namespace carvendo::registry
