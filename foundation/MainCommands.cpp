#include "foundation/MainCommands.h"

#include <algorithm>
#include <stdexcept>

namespace carvendo::foundation {

namespace {

using Kind = CommandPlace::Kind;

// Menus of the menu bar.
const QString Anagrafiche = QStringLiteral("Anagrafiche");
const QString Magazzino = QStringLiteral("Magazzino");
const QString Vendite = QStringLiteral("Vendite");
const QString Acquisti = QStringLiteral("Acquisti");
const QString Statistiche = QStringLiteral("Statistiche");
const QString Cat = QStringLiteral("CAT");
const QString Strumenti = QStringLiteral("Strumenti");
const QString Ecommerce = QStringLiteral("e-commerce");
const QString UtilityExtra = QStringLiteral("Utility Extra");

// Groups of the button bar.
const QString NuovoDocumento = QStringLiteral("Nuovo documento");
const QString BottoniVendite = QStringLiteral("Vendite");
const QString BottoniAcquisti = QStringLiteral("Acquisti");
const QString Contabilita = QStringLiteral("Contabilità");
const QString BottoniAnagrafiche = QStringLiteral("Anagrafiche");
const QString BottoniCat = QStringLiteral("CAT");
const QString Programma = QStringLiteral("Programma");

CommandPlace menu(const QString& container, const char* caption)
{
    return {Kind::MenuItem, container, QString::fromUtf8(caption)};
}
CommandPlace menuAfterLine(const QString& container, const char* caption)
{
    return {Kind::MenuItem, container, QString::fromUtf8(caption), true};
}
CommandPlace button(const QString& container, const char* caption)
{
    return {Kind::Button, container, QString::fromUtf8(caption)};
}

struct Gate
{
    CommandGate gate;
    core::Privilege flag;
};
const Gate everyone{CommandGate::Everyone, core::Privilege::FullAccess};
const Gate fullAccessOnly{CommandGate::FullAccessOnly, core::Privilege::FullAccess};
Gate flag(core::Privilege privilege)
{
    return {CommandGate::Flag, privilege};
}

QVariantMap page(const char* name)
{
    return {{QStringLiteral("page"), QString::fromUtf8(name)}};
}
QVariantMap mode(const char* name)
{
    return {{QStringLiteral("modalita"), QString::fromUtf8(name)}};
}

MainCommand opens(const char* id, Gate gate, const char* window, std::vector<CommandPlace> places,
                  QVariantMap values = {})
{
    return {QString::fromUtf8(id),     std::move(places),         gate.gate,        gate.flag,
            CommandAction::OpenWindow, QString::fromUtf8(window), std::move(values)};
}
MainCommand creates(const char* id, Gate gate, const char* window, std::vector<CommandPlace> places,
                    QVariantMap values = {})
{
    MainCommand command = opens(id, gate, window, std::move(places), std::move(values));
    command.action = CommandAction::NewDocument;
    return command;
}
// Dumps go to the server's machine: a workstation of type "CLIENT" cannot run them.
MainCommand serverOnly(MainCommand command)
{
    command.disabledOnClient = true;
    return command;
}
MainCommand does(const char* id, Gate gate, CommandAction action, std::vector<CommandPlace> places)
{
    return {QString::fromUtf8(id), std::move(places), gate.gate, gate.flag, action, {}, {}};
}

std::vector<MainCommand> standardTable()
{
    using P = core::Privilege;
    return {
        // New documents
        creates("nuovopreventivo", flag(P::Fatturazione), "TPreventivo",
                {button(NuovoDocumento, "Preventivo")}),
        creates("nuovafattura", flag(P::Fatturazione), "TFatturaImmediata",
                {button(NuovoDocumento, "Fattura")}),
        creates("nuovoddt", flag(P::Ddt), "TDettDdt", {button(NuovoDocumento, "Ddt")}),
        creates("nuovanotacredito", flag(P::Fatturazione), "TNotaCredito",
                {button(NuovoDocumento, "Nota di Credito")}),
        creates("nuovoordinefornitore", flag(P::OrdiniFornitori), "TOrdineFornitore",
                {button(NuovoDocumento, "Ordine Fornitore")}),
        creates("nuovoordinecliente", flag(P::OrdiniClienti), "TOrdineCL",
                {button(NuovoDocumento, "Ordine Cliente")}),
        creates("nuovocarico", flag(P::Carico), "TCarico", {button(NuovoDocumento, "Carico Merce")}),
        creates("nuovoresofornitore", flag(P::Carico), "TDettDdt",
                {button(NuovoDocumento, "Reso a Fornitore")}, mode("Reso a Fornitore")),
        creates("nuovascadenza", flag(P::Magazzino), "TVocePM", {button(NuovoDocumento, "Scadenza")}),

        // Anagrafiche
        opens("clienti", everyone, "TClienti", {menu(Anagrafiche, "Clienti")}),
        opens("fornitori", everyone, "TFornitori", {menu(Anagrafiche, "Fornitori")}),
        opens("agenti", everyone, "TAgenti",
              {menu(Anagrafiche, "Agenti"), button(BottoniAnagrafiche, "Agenti"),
               button(BottoniAnagrafiche, "Amm/Util")}),
        opens("pagamenti", flag(P::Impostazioni), "TPagamenti", {menu(Anagrafiche, "Pagamenti")}),
        opens("banche", flag(P::Impostazioni), "TImpostazioniNew", {menu(Anagrafiche, "Banche")},
              page("Banche")),
        opens("servizi", everyone, "TLavori",
              {menu(Anagrafiche, "Servizi"), button(BottoniAnagrafiche, "Servizi")}),
        opens("magazzini", everyone, "TMagazziniLista", {menu(Anagrafiche, "Magazzini")}),
        opens("fidelity", everyone, "TFidelity",
              {menu(Anagrafiche, "Fidelity Card"), button(BottoniAnagrafiche, "Fidelity")}),
        opens("vettori", flag(P::Impostazioni), "TVettori", {menu(Anagrafiche, "Vettori")}),
        opens("provvigioni", everyone, "TProvvigioniAgenti", {menu(Anagrafiche, "Provvigioni")}),
        opens("cantieri", everyone, "TCantieri", {button(BottoniAnagrafiche, "Cantieri")}),
        opens("operai", everyone, "TOperai", {button(BottoniAnagrafiche, "Operai")}),
        opens("settori", everyone, "TSettori", {button(BottoniAnagrafiche, "Settori")}),

        // Magazzino
        opens("articoli", flag(P::Magazzino), "TArticoli", {menu(Magazzino, "Articoli")}),
        opens("sottoscorta", flag(P::Magazzino), "TSottoscorta", {menu(Magazzino, "Sottoscorta")}),
        opens("inventario", flag(P::Magazzino), "TInventario", {menu(Magazzino, "Inventario")}),
        opens("etichette", flag(P::Magazzino), "TEtichette", {menu(Magazzino, "Etichette")}),
        opens("lotti", flag(P::Magazzino), "TLotti", {menu(Magazzino, "Lotti")}),
        opens("seriali", flag(P::Magazzino), "TSeriali", {menu(Magazzino, "Serial Finder")}),
        opens("movimenti", flag(P::Magazzino), "TMovimentiMagazzino", {menu(Magazzino, "Movimenti")}),
        opens("taglie", flag(P::Magazzino), "TTaglie", {menuAfterLine(Magazzino, "Taglie")}),
        opens("colori", flag(P::Magazzino), "TColori", {menu(Magazzino, "Colori")}),
        opens("gruppitaglie", flag(P::Magazzino), "TGruppiTaglie", {menu(Magazzino, "Gruppi Taglie")}),
        opens("sellout", flag(P::Magazzino), "TAnalisiMagazzino", {menuAfterLine(Magazzino, "SellOut")}),

        // Vendite
        opens("preventivi", flag(P::Fatturazione), "TPreventivi", {menu(Vendite, "Preventivi")}),
        opens("fatture", flag(P::Fatturazione), "TFatture", {menu(Vendite, "Fatture")}),
        opens("ordiniclienti", flag(P::OrdiniClienti), "TOrdiniCliente", {menu(Vendite, "Ordini Clienti")}),
        opens("ddt", flag(P::Ddt), "TDdt",
              {menu(Vendite, "Documenti di Trasporto"), button(BottoniVendite, "Ddt")}),
        opens("postouch", flag(P::Pos), "TPosTouch",
              {menuAfterLine(Vendite, "POS (Vendita al Banco)"), button(BottoniVendite, "Pos Touch")}),
        opens("posclassic", flag(P::Pos), "TPosClassic", {menu(Vendite, "Pos Classic (beta)")}),
        opens("scontrini", flag(P::Pos), "TListaScontrini",
              {menu(Vendite, "Scontrini Fiscali Emessi"), button(BottoniVendite, "Scontrini Fisc.")}),
        opens("buoni", flag(P::Pos), "TBuoniCredito", {menu(Vendite, "Buoni")}),
        opens("notecredito", flag(P::Fatturazione), "TNoteCredito",
              {menuAfterLine(Vendite, "Note di Credito")}),
        opens("sospesi", flag(P::Fatturazione), "TSospesi", {menu(Vendite, "Sospesi")}),
        does("configuratorepos", flag(P::Pos), CommandAction::PosConfigurator,
             {menuAfterLine(Vendite, "Configuratore POS")}),

        // Acquisti
        opens("sceltaordini", flag(P::OrdiniFornitori), "TSceltaOrdini",
              {menu(Acquisti, "Ordini Fornitori")}),
        opens("ordinifornitori", flag(P::OrdiniFornitori), "TOrdiniFornitori",
              {button(BottoniAcquisti, "Ordini Fornit.")}),
        opens("attesaconferma", flag(P::OrdiniFornitori), "TAttesaConferma",
              {menu(Acquisti, "Ordini attesa conferma")}),
        opens("mercearrivata", flag(P::OrdiniFornitori), "TArticoliArrivati",
              {menu(Acquisti, "Merce arrivata")}),
        opens("carichi", flag(P::Carico), "TCarichi",
              {menuAfterLine(Acquisti, "Carichi"), button(BottoniAcquisti, "Carichi Merce")}),
        opens("caricoveloce", flag(P::Carico), "TCaricoSpeed", {menu(Acquisti, "Carico Veloce")}),
        opens("resifornitori", flag(P::Ddt), "TDdt", {menu(Acquisti, "Resi Fornitori")},
              mode("Resi Fornitori")),
        opens("primanota", flag(P::Magazzino), "TPrimaNota",
              {menuAfterLine(Acquisti, "Scadenzario"), button(Contabilita, "Scadenze"),
               menu(Acquisti, "Prima Nota"), button(Contabilita, "Incassi"),
               button(Contabilita, "Pagamenti")}),

        // Statistiche
        opens("statistichevendita", flag(P::Statistiche), "TStatisticheGenerali",
              {menu(Statistiche, "Statistiche di Vendita")}),
        opens("riepiloghigenerali", flag(P::Fatturazione), "TRiepiloghiGenerali",
              {menu(Statistiche, "Riepiloghi Generali"), button(BottoniVendite, "Fine Giornata")}),
        opens("statisticheoperatori", flag(P::Fatturazione), "TStatisticheOperatori",
              {menu(Statistiche, "Statistiche Operatori")}),
        opens("acquisizioni", flag(P::Fatturazione), "TAcquisizioni",
              {menu(Statistiche, "Archiviazione Documentale")}),
        opens("riepiloghiiva", everyone, "TRiepiloghiIva", {menu(Statistiche, "RIEPILOGHI IVA")}),

        // CAT
        creates("nuovascheda", everyone, "TAssistenzaScheda", {menu(Cat, "Nuova Scheda")}),
        opens("assistenze", flag(P::Cat), "TAssistenze",
              {menu(Cat, "Archivio Assistenze"), button(BottoniCat, "Archivio Interventi")}),
        opens("assistenzeimpostazioni", flag(P::Cat), "TAssistenzeImpostazioni",
              {menuAfterLine(Cat, "Configurazioni"), button(BottoniCat, "Config")}),
        opens("apparaticortesia", flag(P::Cat), "TAssistenzeImpostazioni",
              {button(BottoniCat, "Apparati di Cortesia")}, page("Apparati di Cortesia")),
        opens("tecnici", flag(P::Cat), "TAssistenzeImpostazioni", {button(BottoniCat, "Tenici")},
              page("Tecnici")),
        opens("marchemodelli", flag(P::Cat), "TAssistenzeImpostazioni",
              {button(BottoniCat, "Marche e Modelli")}, page("Marche e Modelli")),
        opens("difetti", flag(P::Cat), "TLavori", {menu(Cat, "Difetti")}),
        opens("riepiloghicat", flag(P::Cat), "TRiepiloghi",
              {menu(Cat, "Statistiche"), menu(Statistiche, "Riepiloghi CAT"),
               button(BottoniCat, "Riepiloghi")}),
        opens("catplanner", flag(P::Cat), "TCatPlanner",
              {menu(Cat, "Calendario"), button(BottoniCat, "Calendario Consegne")}),
        opens("scaricadaticat", flag(P::Cat), "TScaricaDatiCAT",
              {menuAfterLine(Cat, "Scarica Schede Rivenditori"), button(BottoniCat, "Schede Rivenditori")}),
        opens("portavia", flag(P::Cat), "TImpostazioniPortavia",
              {menu(Cat, "Impostazioni Portavia ®"), button(BottoniCat, "Impostazioni Portavia")}),
        opens("catdocument", flag(P::Cat), "TCatDocument", {menu(Cat, "Creazione Documenti")}),
        opens("smscat", flag(P::Cat), "TSms", {menu(Cat, "Sms Config")}),
        opens("exportcat", fullAccessOnly, "TEsportazioneCat", {menu(Cat, "Export")}),

        // Strumenti
        opens("impostazioni", flag(P::Impostazioni), "TImpostazioniNew", {menu(Strumenti, "Impostazioni")},
              page("Azienda")),
        opens("configurazioni", flag(P::Impostazioni), "TConfig", {menu(Strumenti, "Configurazioni")}),
        serverOnly(opens("backup", flag(P::Impostazioni), "TImpostazioniNew",
                         {menuAfterLine(Strumenti, "Backup")}, page("Backup/Restore"))),
        serverOnly(opens("restore", flag(P::Impostazioni), "TImpostazioniNew", {menu(Strumenti, "Restore")},
                         page("Backup/Restore"))),
        opens("registratoricassa", flag(P::Impostazioni), "TImpostazioniNew",
              {menuAfterLine(Strumenti, "Registratori di cassa")}, page("Registratori di Cassa")),
        opens("impostazionisms", flag(P::Impostazioni), "TSms", {menu(Strumenti, "Impostazioni Sms")}),
        does("inizioanno", fullAccessOnly, CommandAction::StartOfYear,
             {menuAfterLine(Strumenti, "Inizio Anno")}),
        opens("connessioneserver", flag(P::Impostazioni), "TImpostazioniServer",
              {menuAfterLine(Strumenti, "Connessione Server")}),
        opens("sqleditor", flag(P::Impostazioni), "TSqlEditor",
              {menu(Strumenti, "Comandi Sql (Solo per Supporto)")}),
        opens("registrovodafone", fullAccessOnly, "TRegistroVodafone",
              {menuAfterLine(Strumenti, "Registro Vodafone")}),
        opens("promozioni", fullAccessOnly, "TPromozioni", {menu(Strumenti, "Promozioni")}),

        // e-commerce
        opens("ecommerceimpostazioni", flag(P::Impostazioni), "TImpostazioniNew",
              {menu(Ecommerce, "Impostazioni")}, page("e-commerce")),
        opens("ecommerce", flag(P::Magazzino), "TEcommerce", {menu(Ecommerce, "Gestione")}),

        // Utility Extra
        opens("planner", flag(P::Planner), "Tplanner", {menu(UtilityExtra, "Calendario")}),
        opens("calcolatrice", everyone, "TCalcolatrice", {menu(UtilityExtra, "Calcolatrice")}),
        opens("promemoria", everyone, "TPromemoria", {menu(UtilityExtra, "Promemoria")}),
        opens("email", everyone, "TMailForm", {menu(UtilityExtra, "E-Mail")}),
        does("esci", everyone, CommandAction::ClosingSequence,
             {menuAfterLine(UtilityExtra, "Esci dal programma"), button(Programma, "Esci")}),

    };
}

} // namespace

QString MainCommand::requiredWindow() const
{
    switch (action) {
    case CommandAction::OpenWindow:
    case CommandAction::NewDocument:
        return window;
    case CommandAction::ClosingSequence:
    case CommandAction::StartOfYear:
    case CommandAction::PosConfigurator:
        break;
    }
    return {};
}

QStringList MainCommand::captions() const
{
    QStringList result;
    for (const CommandPlace& place : places)
        result << place.caption;
    return result;
}

const MainCommands& MainCommands::standard()
{
    static const MainCommands table(standardTable());
    return table;
}

MainCommands::MainCommands(std::vector<MainCommand> commands) : m_commands(std::move(commands))
{
    for (auto it = m_commands.begin(); it != m_commands.end(); ++it) {
        if (std::any_of(m_commands.begin(), it, [&](const MainCommand& other) { return other.id == it->id; }))
            throw std::invalid_argument("main command listed twice: " + it->id.toStdString());
    }
}

const MainCommand* MainCommands::find(const QString& id) const
{
    const auto it = std::find_if(m_commands.begin(), m_commands.end(),
                                 [&](const MainCommand& command) { return command.id == id; });
    return it == m_commands.end() ? nullptr : &*it;
}

QStringList MainCommands::containers(CommandPlace::Kind kind) const
{
    QStringList result;
    for (const MainCommand& command : m_commands) {
        for (const CommandPlace& place : command.places) {
            if (place.kind == kind && !result.contains(place.container))
                result << place.container;
        }
    }
    return result;
}

QStringList MainCommands::menus() const
{
    return containers(Kind::MenuItem);
}

QStringList MainCommands::buttonGroups() const
{
    return containers(Kind::Button);
}

std::vector<MainCommands::Entry> MainCommands::entries(CommandPlace::Kind kind,
                                                       const QString& container) const
{
    std::vector<Entry> result;
    for (const MainCommand& command : m_commands) {
        for (const CommandPlace& place : command.places) {
            if (place.kind == kind && place.container == container)
                result.push_back({&command, place});
        }
    }
    return result;
}

QStringList MainCommands::idsOf(CommandPlace::Kind kind, const QString& container,
                                const QString& caption) const
{
    QStringList result;
    for (const Entry& entry : entries(kind, container)) {
        if (entry.place.caption == caption)
            result << entry.command->id;
    }
    return result;
}

} // namespace carvendo::foundation
