#include "ui/registry/TCliente.h"

#include "core/Connections.h"
#include "registry/EInvoiceRecipient.h"
#include "ui/common/CardForm.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"
#include "ui/registry/CardWindows.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

CardField field(const char* column, const char* caption, CardField::Kind kind = CardField::Kind::Text,
                int maxLength = 50)
{
    return CardField{QString::fromUtf8(column), QString::fromUtf8(caption), kind,
                     kind == CardField::Kind::Text ? maxLength : 0};
}

// Private person, company or public administration: what the electronic invoice needs of them.
CardField kindField()
{
    CardField kind = field("TipoCliente", "Tipo cliente", CardField::Kind::Choice);
    kind.options = registry::recipientKinds();
    for (const QString& option : kind.options)
        kind.optionCaptions << registry::recipientKindCaption(option);
    return kind;
}

QList<CardField> personalFields()
{
    using K = CardField::Kind;
    return {field("CodiceCliente", "Codice", K::Integer),
            field("RagioneSociale", "Ragione Sociale"),
            field("Cognome", "Cognome"),
            field("Nome", "Nome"),
            field("CodFisc", "Codice Fiscale"),
            field("pIva", "Partita IVA"),
            field("Indirizzo", "Indirizzo"),
            field("Citta", "Città"),
            field("Cap", "Cap"),
            field("ProvRes", "Provincia"),
            field("LuogoNasc", "Luogo di nascita"),
            field("ProvNasc", "Provincia di nascita"),
            field("StatoNasc", "Stato di nascita"),
            field("DataNasc", "Data di nascita", K::Text, 10),
            field("Telefono", "Telefono"),
            field("Cellulare", "Cellulare"),
            field("Fax", "Fax"),
            field("AltroRec", "Altro recapito"),
            field("email", "E-mail"),
            kindField(),
            field("CodiceDestinatario", "Codice destinatario", K::Text, 7),
            field("PEC", "PEC", K::Text, 120),
            field("Nazione", "Nazione", K::Text, 2),
            field("Refer", "Referente"),
            field("consenso_dati", "Consenso al trattamento dei dati", K::Check),
            field("Note", "Note", K::Memo)};
}

QList<CardField> commercialFields()
{
    using K = CardField::Kind;
    CardField listino = field("Listino", "Listino", K::Choice);
    listino.options = {QStringLiteral("LISTINO1"), QStringLiteral("LISTINO2"), QStringLiteral("LISTINO3")};
    return {field("Categoria", "Categoria"),
            field("Settore", "Settore"),
            field("Definizione", "Definizione"),
            field("Rivenditore", "Rivenditore", K::Check),
            field("Pagamento", "Pagamento"),
            listino,
            field("aliq_pers", "Aliquota IVA personalizzata", K::Check),
            field("aliquota", "Aliquota", K::Integer),
            field("Agente", "Agente", K::Text, 120),
            field("barcode", "Tessera", K::Text, 14),
            field("fidelity", "Fidelity", K::Text, 120),
            field("USERNAME", "Account web", K::Text, 100),
            field("AccountAttivo", "Account web attivo", K::Check),
            field("ANnotazioni", "Annotazioni", K::Memo)};
}

// The commands of the "Dati commerciali" page, three a row.
struct CustomerCommand
{
    const char* caption;
    const char* name;
    bool (registry::Cliente::*run)();
};

using registry::Cliente;
constexpr CustomerCommand kCommandRows[][3] = {
    {{"Scegli categoria", "scegliCategoria", &Cliente::chooseCategory},
     {"Scegli settore", "scegliSettore", &Cliente::chooseSector},
     {"Scegli definizione", "scegliDefinizione", &Cliente::chooseDefinition}},
    {{"Nuova categoria cliente", "nuovaCategoria", &Cliente::addCategory},
     {"Nuovo settore", "nuovoSettore", &Cliente::addSector},
     {"Nuova definizione", "nuovaDefinizione", &Cliente::addDefinition}},
    {{"Genera tessera", "generaTessera", &Cliente::issueCard},
     {"Elimina agente", "eliminaAgente", &Cliente::removeAgent},
     {"Elimina fidelity", "eliminaFidelity", &Cliente::removeFidelity}},
    {{"Crea account web", "creaAccount", &Cliente::createWebAccount},
     {"Aggiorna account web", "aggiornaAccount", &Cliente::updateWebAccount},
     {"Elimina account web", "eliminaAccount", &Cliente::deleteWebAccount}}};

} // namespace

TCliente::TCliente(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : RecordCardWindow(environment.dialogs, parent, environment.connections.company(), environment.dialogs),
      m_environment(environment)
{
    m_logic.setWebAccounts(registry::WebAccounts::of(environment.connections));
    setWindowTitle(QStringLiteral("Anagrafica Cliente"));
    setMinimumWidth(760);

    m_personal = new CardForm(personalFields(), 2);
    m_commercial = new CardForm(commercialFields(), 2);
    // Codes and cards are handed out by the system, not typed.
    for (const char* column :
         {"CodiceCliente", "Agente", "barcode", "fidelity", "USERNAME", "AccountAttivo"}) {
        CardForm* form = m_personal->editor(QString::fromLatin1(column)) ? m_personal : m_commercial;
        form->editor(QString::fromLatin1(column))->setEnabled(false);
    }

    auto* tabs = new QTabWidget;
    tabs->addTab(m_personal, QStringLiteral("Anagrafica"));
    tabs->addTab(stackedColumn({m_commercial, commandsPage()}), QStringLiteral("Dati commerciali"));

    QPushButton* municipality = pageButton(QStringLiteral("Scegli comune"), QStringLiteral("scegliComune"));
    QPushButton* newMunicipality = pageButton(QStringLiteral("Nuovo comune"), QStringLiteral("nuovoComune"));
    QPushButton* map = pageButton(QStringLiteral("Mappa"), QStringLiteral("mappa"));
    m_history = pageButton(QStringLiteral("Storico vendite"), QStringLiteral("storico"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttonRow({municipality, newMunicipality, map, m_history}));
    layout->addWidget(cardButtons());

    for (CardForm* form : {m_personal, m_commercial})
        connect(form, &CardForm::valueEdited, &m_logic, &registry::Cliente::setValue);
    onFieldLeft(*m_personal, {QStringLiteral("CodFisc"), QStringLiteral("pIva"), QStringLiteral("email")},
                [this](const QString& column) { m_logic.fieldLeft(column); });
    onClickGuarded(municipality, m_environment.dialogs, [this] { m_logic.chooseMunicipality(); });
    onClickGuarded(newMunicipality, m_environment.dialogs, [this] { m_logic.newMunicipality(); });
    connect(map, &QPushButton::clicked, this, [this] { openInBrowser(m_logic.mapSearchUrl()); });
    onClickGuarded(m_history, m_environment.dialogs, [this] { openHistory(); });

    openRequested(request);
    tabs->addTab(
        historyTabsWidget(environment.connections.company(), registry::customerHistoryTabs(), m_logic.id()),
        QStringLiteral("Documenti"));
    m_personal->focusFirst();
}

QWidget* TCliente::commandsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& row : kCommandRows) {
        QList<QPushButton*> buttons;
        for (const CustomerCommand& command : row) {
            buttons << pageButton(QString::fromUtf8(command.caption), QString::fromLatin1(command.name));
            onClickGuarded(buttons.last(), m_environment.dialogs,
                           [this, run = command.run] { (m_logic.*run)(); });
        }
        layout->addLayout(buttonRow({buttons[0], buttons[1], buttons[2]}));
    }
    QPushButton* privacy = pageButton(QStringLiteral("Stampa privacy"), QStringLiteral("stampaPrivacy"));
    onClickGuarded(privacy, m_environment.dialogs, [this] { m_logic.printPrivacy(m_environment.reports); });
    layout->addLayout(buttonRow({privacy}));
    return page;
}

void TCliente::showRecord()
{
    m_personal->setValues(m_logic.values());
    m_commercial->setValues(m_logic.values());
    m_history->setEnabled(!m_logic.isNew());
}

void TCliente::openHistory()
{
    m_environment.navigator.open(QStringLiteral("TStoricoCliente"), m_logic.id());
}

} // namespace carvendo::ui
