#include "TCliente.h"

#include "CardForm.h"
#include "CardWindows.h"
#include "Connections.h"
#include "GuardedCommand.h"
#include "PageWidgets.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

CardField field(const char* column, const char* caption, CardField::Kind kind = CardField::Kind::Text, int maxLength = 50)
{
    return CardField{QString::fromUtf8(column), QString::fromUtf8(caption), kind,
                     kind == CardField::Kind::Text ? maxLength : 0};
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

} // namespace

TCliente::TCliente(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : CardWindow(parent), m_environment(environment), m_logic(environment.connections.company(), environment.dialogs)
{
    m_logic.setWebAccounts(registry::WebAccounts::of(environment.connections));
    setWindowTitle(QStringLiteral("Anagrafica Cliente"));
    setMinimumWidth(760);

    m_personal = new CardForm(personalFields(), 2);
    m_commercial = new CardForm(commercialFields(), 2);
    // Codes and cards are handed out by the system, not typed.
    for (const char* column : {"CodiceCliente", "Agente", "barcode", "fidelity", "USERNAME", "AccountAttivo"}) {
        CardForm* form = m_personal->editor(QString::fromLatin1(column)) ? m_personal : m_commercial;
        form->editor(QString::fromLatin1(column))->setEnabled(false);
    }

    auto* tabs = new QTabWidget;
    tabs->addTab(m_personal, QStringLiteral("Anagrafica"));
    tabs->addTab(stackedColumn({m_commercial, commandsPage()}), QStringLiteral("Dati commerciali"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    m_exit = buttons->addButton(m_logic.exitCaption(), QDialogButtonBox::RejectRole);
    saveButton->setDefault(true);
    saveButton->setAutoDefault(true);
    m_exit->setAutoDefault(false);

    QPushButton* municipality = pageButton(QStringLiteral("Scegli comune"), QStringLiteral("scegliComune"));
    QPushButton* newMunicipality = pageButton(QStringLiteral("Nuovo comune"), QStringLiteral("nuovoComune"));
    QPushButton* map = pageButton(QStringLiteral("Mappa"), QStringLiteral("mappa"));
    m_history = pageButton(QStringLiteral("Storico vendite"), QStringLiteral("storico"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttonRow({municipality, newMunicipality, map, m_history}));
    layout->addWidget(buttons);

    for (CardForm* form : {m_personal, m_commercial})
        connect(form, &CardForm::valueEdited, &m_logic, &registry::Cliente::setValue);
    onFieldLeft(*m_personal, {QStringLiteral("CodFisc"), QStringLiteral("pIva"), QStringLiteral("email")},
                [this](const QString& column) { m_logic.fieldLeft(column); });
    onClickGuarded(municipality, m_environment.dialogs, [this] { m_logic.chooseMunicipality(); });
    onClickGuarded(newMunicipality, m_environment.dialogs, [this] { m_logic.newMunicipality(); });
    connect(map, &QPushButton::clicked, this, [this] { openInBrowser(m_logic.mapSearchUrl()); });
    connect(m_history, &QPushButton::clicked, this, &TCliente::openHistory);
    connect(saveButton, &QPushButton::clicked, this, &CardWindow::save);
    connect(m_exit, &QPushButton::clicked, this, &TCliente::reject);
    connect(&m_logic, &registry::Cliente::changed, this, &TCliente::showState);

    if (request.key.isValid() && !request.key.isNull()) {
        // A customer gone meanwhile: the logic has said so, the card closes once it is up.
        if (!m_logic.open(request.key.toInt()))
            QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    } else {
        m_logic.openNew();
    }
    tabs->addTab(historyTabsWidget(environment.connections.company(), registry::customerHistoryTabs(), m_logic.id()),
                 QStringLiteral("Documenti"));
    showState();
    m_personal->focusFirst();
}

QWidget* TCliente::commandsPage()
{
    QPushButton* category = pageButton(QStringLiteral("Nuova categoria cliente"), QStringLiteral("nuovaCategoria"));
    QPushButton* sector = pageButton(QStringLiteral("Nuovo settore"), QStringLiteral("nuovoSettore"));
    QPushButton* definition = pageButton(QStringLiteral("Nuova definizione"), QStringLiteral("nuovaDefinizione"));
    QPushButton* chooseCategory = pageButton(QStringLiteral("Scegli categoria"), QStringLiteral("scegliCategoria"));
    QPushButton* chooseSector = pageButton(QStringLiteral("Scegli settore"), QStringLiteral("scegliSettore"));
    QPushButton* chooseDefinition = pageButton(QStringLiteral("Scegli definizione"), QStringLiteral("scegliDefinizione"));
    onClickGuarded(chooseCategory, m_environment.dialogs, [this] { m_logic.chooseCategory(); });
    onClickGuarded(chooseSector, m_environment.dialogs, [this] { m_logic.chooseSector(); });
    onClickGuarded(chooseDefinition, m_environment.dialogs, [this] { m_logic.chooseDefinition(); });
    QPushButton* card = pageButton(QStringLiteral("Genera tessera"), QStringLiteral("generaTessera"));
    QPushButton* agent = pageButton(QStringLiteral("Elimina agente"), QStringLiteral("eliminaAgente"));
    QPushButton* fidelity = pageButton(QStringLiteral("Elimina fidelity"), QStringLiteral("eliminaFidelity"));
    QPushButton* createAccount = pageButton(QStringLiteral("Crea account web"), QStringLiteral("creaAccount"));
    QPushButton* updateAccount = pageButton(QStringLiteral("Aggiorna account web"), QStringLiteral("aggiornaAccount"));
    QPushButton* deleteAccount = pageButton(QStringLiteral("Elimina account web"), QStringLiteral("eliminaAccount"));
    QPushButton* privacy = pageButton(QStringLiteral("Stampa privacy"), QStringLiteral("stampaPrivacy"));
    onClickGuarded(privacy, m_environment.dialogs, [this] { m_logic.printPrivacy(m_environment.reports); });
    onClickGuarded(createAccount, m_environment.dialogs, [this] { m_logic.createWebAccount(); });
    onClickGuarded(updateAccount, m_environment.dialogs, [this] { m_logic.updateWebAccount(); });
    onClickGuarded(deleteAccount, m_environment.dialogs, [this] { m_logic.deleteWebAccount(); });
    onClickGuarded(category, m_environment.dialogs, [this] { m_logic.addCategory(); });
    onClickGuarded(sector, m_environment.dialogs, [this] { m_logic.addSector(); });
    onClickGuarded(definition, m_environment.dialogs, [this] { m_logic.addDefinition(); });
    onClickGuarded(card, m_environment.dialogs, [this] { m_logic.issueCard(); });
    connect(agent, &QPushButton::clicked, &m_logic, &registry::Cliente::removeAgent);
    connect(fidelity, &QPushButton::clicked, &m_logic, &registry::Cliente::removeFidelity);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttonRow({chooseCategory, chooseSector, chooseDefinition}));
    layout->addLayout(buttonRow({category, sector, definition}));
    layout->addLayout(buttonRow({card, agent, fidelity}));
    layout->addLayout(buttonRow({createAccount, updateAccount, deleteAccount}));
    layout->addLayout(buttonRow({privacy}));
    return page;
}

void TCliente::showState()
{
    m_personal->setValues(m_logic.values());
    m_commercial->setValues(m_logic.values());
    m_exit->setText(m_logic.exitCaption());
    m_history->setEnabled(!m_logic.isNew());
}

void TCliente::openHistory()
{
    m_environment.navigator.open(QStringLiteral("TStoricoCliente"), m_logic.id());
}

} // namespace carvendo::ui
