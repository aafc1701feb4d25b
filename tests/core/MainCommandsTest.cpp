#include "MainCommands.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace carvendo::core;

namespace {

using Kind = CommandPlace::Kind;

const MainCommands& table() { return MainCommands::standard(); }

// The one command shown under the caption in the menu or group; fails the test when there is not
// exactly one.
const MainCommand* commandAt(Kind kind, const QString& container, const QString& caption)
{
    const QStringList ids = table().idsOf(kind, container, caption);
    EXPECT_EQ(ids.size(), 1) << container.toStdString() << " / " << caption.toStdString();
    return ids.size() == 1 ? table().find(ids.first()) : nullptr;
}

TEST(MainCommandsTest, MenuBarHasTheNineMenusInOrder)
{
    EXPECT_EQ(table().menus(), (QStringList{"Anagrafiche", "Magazzino", "Vendite", "Acquisti", "Statistiche", "CAT",
                                            "Strumenti", "e-commerce", "Utility Extra"}));
}

TEST(MainCommandsTest, IdsAreUniqueAndEveryCommandShowsSomewhere)
{
    std::set<QString> ids;
    for (const MainCommand& command : table().all()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id.toStdString();
        EXPECT_FALSE(command.places.empty()) << command.id.toStdString();
        const bool opensWindow =
            command.action == CommandAction::OpenWindow || command.action == CommandAction::NewDocument;
        EXPECT_EQ(opensWindow, !command.requiredWindow().isEmpty()) << command.id.toStdString();
    }
}

TEST(MainCommandsTest, TableWithARepeatedIdIsRefused)
{
    MainCommand command;
    command.id = QStringLiteral("clienti");
    EXPECT_THROW(MainCommands({command, command}), std::invalid_argument);
}

// Menu items: caption, window, page, gate, flag.
struct MenuCase
{
    const char* menu;
    const char* caption;
    const char* window;
    const char* page;
    CommandGate gate;
    Privilege flag;
};

class MenuItemTest : public ::testing::TestWithParam<MenuCase>
{
};

TEST_P(MenuItemTest, OpensItsWindowBehindItsGate)
{
    const MenuCase& c = GetParam();
    const MainCommand* command = commandAt(Kind::MenuItem, QString::fromUtf8(c.menu), QString::fromUtf8(c.caption));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->window, QString::fromUtf8(c.window));
    EXPECT_EQ(command->page(), QString::fromUtf8(c.page));
    EXPECT_EQ(command->gate, c.gate);
    if (c.gate == CommandGate::Flag) {
        EXPECT_EQ(command->flag, c.flag);
    }
}

constexpr auto Open = CommandGate::Everyone;
constexpr auto Flag = CommandGate::Flag;
constexpr auto OnlyFull = CommandGate::FullAccessOnly;
constexpr auto None = Privilege::FullAccess;

INSTANTIATE_TEST_SUITE_P(
    Table, MenuItemTest,
    ::testing::Values(MenuCase{"Anagrafiche", "Clienti", "TClienti", "", Open, None},
                      MenuCase{"Anagrafiche", "Fornitori", "TFornitori", "", Open, None},
                      MenuCase{"Anagrafiche", "Pagamenti", "TPagamenti", "", Flag, Privilege::Impostazioni},
                      MenuCase{"Anagrafiche", "Banche", "TImpostazioniNew", "Banche", Flag, Privilege::Impostazioni},
                      MenuCase{"Anagrafiche", "Magazzini", "TMagazziniLista", "", Open, None},
                      MenuCase{"Anagrafiche", "Fidelity Card", "TFidelity", "", Open, None},
                      MenuCase{"Magazzino", "Serial Finder", "TSeriali", "", Flag, Privilege::Magazzino},
                      MenuCase{"Magazzino", "SellOut", "TAnalisiMagazzino", "", Flag, Privilege::Magazzino},
                      MenuCase{"Vendite", "Fatture", "TFatture", "", Flag, Privilege::Fatturazione},
                      MenuCase{"Vendite", "Ordini Clienti", "TOrdiniCliente", "", Flag, Privilege::OrdiniClienti},
                      MenuCase{"Vendite", "Documenti di Trasporto", "TDdt", "", Flag, Privilege::Ddt},
                      MenuCase{"Vendite", "POS (Vendita al Banco)", "TPosTouch", "", Flag, Privilege::Pos},
                      MenuCase{"Vendite", "Scontrini Fiscali Emessi", "TListaScontrini", "", Flag, Privilege::Pos},
                      MenuCase{"Vendite", "Sospesi", "TSospesi", "", Flag, Privilege::Fatturazione},
                      MenuCase{"Acquisti", "Ordini Fornitori", "TSceltaOrdini", "", Flag, Privilege::OrdiniFornitori},
                      MenuCase{"Acquisti", "Merce arrivata", "TArticoliArrivati", "", Flag, Privilege::OrdiniFornitori},
                      MenuCase{"Acquisti", "Carichi", "TCarichi", "", Flag, Privilege::Carico},
                      MenuCase{"Acquisti", "Resi Fornitori", "TDdt", "", Flag, Privilege::Ddt},
                      MenuCase{"Acquisti", "Prima Nota", "TPrimaNota", "", Flag, Privilege::Magazzino},
                      MenuCase{"Statistiche", "Statistiche di Vendita", "TStatisticheGenerali", "", Flag,
                               Privilege::Statistiche},
                      MenuCase{"Statistiche", "RIEPILOGHI IVA", "TRiepiloghiIva", "", Open, None},
                      MenuCase{"CAT", "Nuova Scheda", "TAssistenzaScheda", "", Open, None},
                      MenuCase{"CAT", "Difetti", "TLavori", "", Flag, Privilege::Cat},
                      MenuCase{"CAT", "Impostazioni Portavia ®", "TImpostazioniPortavia", "", Flag, Privilege::Cat},
                      MenuCase{"CAT", "Export", "TEsportazioneCat", "", OnlyFull, None},
                      MenuCase{"Strumenti", "Impostazioni", "TImpostazioniNew", "Azienda", Flag,
                               Privilege::Impostazioni},
                      MenuCase{"Strumenti", "Backup", "TImpostazioniNew", "Backup/Restore", Flag,
                               Privilege::Impostazioni},
                      MenuCase{"Strumenti", "Restore", "TImpostazioniNew", "Backup/Restore", Flag,
                               Privilege::Impostazioni},
                      MenuCase{"Strumenti", "Registratori di cassa", "TImpostazioniNew", "Registratori di Cassa", Flag,
                               Privilege::Impostazioni},
                      MenuCase{"Strumenti", "Connessione Server", "TImpostazioniServer", "", Flag,
                               Privilege::Impostazioni},
                      MenuCase{"Strumenti", "Comandi Sql (Solo per Supporto)", "TSqlEditor", "", Flag,
                               Privilege::Impostazioni},
                      MenuCase{"Strumenti", "Registro Vodafone", "TRegistroVodafone", "", OnlyFull, None},
                      MenuCase{"Strumenti", "Promozioni", "TPromozioni", "", OnlyFull, None},
                      MenuCase{"e-commerce", "Gestione", "TEcommerce", "", Flag, Privilege::Magazzino},
                      MenuCase{"Utility Extra", "Calendario", "Tplanner", "", Flag, Privilege::Planner},
                      MenuCase{"Utility Extra", "Calcolatrice", "TCalcolatrice", "", Open, None},
                      MenuCase{"Utility Extra", "Promemoria", "TPromemoria", "", Open, None},
                      MenuCase{"Utility Extra", "E-Mail", "TMailForm", "", Open, None}));

TEST(MainCommandsTest, CommandsWithTwoCaptionsShowInTheMenuAndAsAButton)
{
    const struct
    {
        const char* menu;
        const char* item;
        const char* button;
    } pairs[] = {{"Anagrafiche", "Fidelity Card", "Fidelity"},
                 {"Anagrafiche", "Agenti", "Amm/Util"},
                 {"Vendite", "Documenti di Trasporto", "Ddt"},
                 {"Vendite", "POS (Vendita al Banco)", "Pos Touch"},
                 {"Vendite", "Scontrini Fiscali Emessi", "Scontrini Fisc."},
                 {"Acquisti", "Carichi", "Carichi Merce"},
                 {"Statistiche", "Riepiloghi Generali", "Fine Giornata"},
                 {"CAT", "Archivio Assistenze", "Archivio Interventi"},
                 {"CAT", "Calendario", "Calendario Consegne"},
                 {"CAT", "Scarica Schede Rivenditori", "Schede Rivenditori"},
                 {"Utility Extra", "Esci dal programma", "Esci"}};
    for (const auto& pair : pairs) {
        const MainCommand* command = commandAt(Kind::MenuItem, QString::fromUtf8(pair.menu), QString::fromUtf8(pair.item));
        ASSERT_NE(command, nullptr);
        EXPECT_TRUE(command->captions().contains(QString::fromUtf8(pair.button))) << pair.button;
        const bool isButton = std::any_of(command->places.begin(), command->places.end(), [&](const CommandPlace& p) {
            return p.kind == Kind::Button && p.caption == QString::fromUtf8(pair.button);
        });
        EXPECT_TRUE(isButton) << pair.button;
    }
}

TEST(MainCommandsTest, RegistryButtonsOpenWithoutAFlag)
{
    const struct
    {
        const char* caption;
        const char* window;
    } buttons[] = {{"Fidelity", "TFidelity"}, {"Servizi", "TLavori"}, {"Cantieri", "TCantieri"},
                   {"Operai", "TOperai"},     {"Settori", "TSettori"}, {"Agenti", "TAgenti"}};
    for (const auto& b : buttons) {
        const MainCommand* command = commandAt(Kind::Button, QStringLiteral("Anagrafiche"), QString::fromUtf8(b.caption));
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->window, QString::fromUtf8(b.window));
        EXPECT_EQ(command->gate, CommandGate::Everyone) << b.caption;
    }
}

TEST(MainCommandsTest, NewDocumentButtonsTestTheirFlagAndMakeANewDocument)
{
    const struct
    {
        const char* caption;
        Privilege flag;
        const char* window;
    } buttons[] = {{"Preventivo", Privilege::Fatturazione, "TPreventivo"},
                   {"Fattura", Privilege::Fatturazione, "TFatturaImmediata"},
                   {"Ddt", Privilege::Ddt, "TDettDdt"},
                   {"Nota di Credito", Privilege::Fatturazione, "TNotaCredito"},
                   {"Ordine Fornitore", Privilege::OrdiniFornitori, "TOrdineFornitore"},
                   {"Ordine Cliente", Privilege::OrdiniClienti, "TOrdineCL"},
                   {"Carico Merce", Privilege::Carico, "TCarico"},
                   {"Reso a Fornitore", Privilege::Carico, "TDettDdt"},
                   {"Scadenza", Privilege::Magazzino, "TVocePM"}};
    const auto group = table().entries(Kind::Button, QStringLiteral("Nuovo documento"));
    ASSERT_EQ(group.size(), std::size(buttons));
    for (std::size_t i = 0; i < group.size(); ++i) {
        EXPECT_EQ(group[i].place.caption, QString::fromUtf8(buttons[i].caption));
        EXPECT_EQ(group[i].command->action, CommandAction::NewDocument);
        EXPECT_EQ(group[i].command->gate, CommandGate::Flag);
        EXPECT_EQ(group[i].command->flag, buttons[i].flag) << buttons[i].caption;
        EXPECT_EQ(group[i].command->window, QString::fromUtf8(buttons[i].window));
    }
}

TEST(MainCommandsTest, SpecialActions)
{
    EXPECT_EQ(commandAt(Kind::MenuItem, "Strumenti", "Inizio Anno")->action, CommandAction::StartOfYear);
    EXPECT_EQ(commandAt(Kind::MenuItem, "Strumenti", "Inizio Anno")->gate, CommandGate::FullAccessOnly);
    EXPECT_EQ(commandAt(Kind::MenuItem, "Vendite", "Configuratore POS")->action, CommandAction::PosConfigurator);
    EXPECT_EQ(commandAt(Kind::MenuItem, "Vendite", "Configuratore POS")->flag, Privilege::Pos);
    EXPECT_EQ(commandAt(Kind::Button, "Programma", "Esci")->action, CommandAction::ClosingSequence);
}

TEST(MainCommandsTest, OnlyBackupAndRestoreNeedTheServerMachine)
{
    QStringList serverOnly;
    for (const MainCommand& command : table().all()) {
        if (command.disabledOnClient)
            serverOnly << command.captions();
    }
    EXPECT_EQ(serverOnly, (QStringList{"Backup", "Restore"}));
}

TEST(MainCommandsTest, CashBookHasFiveCaptions)
{
    const MainCommand* command = commandAt(Kind::MenuItem, "Acquisti", "Scadenzario");
    ASSERT_NE(command, nullptr);
    QStringList captions = command->captions();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"Incassi", "Pagamenti", "Prima Nota", "Scadenzario", "Scadenze"}));
}

} // namespace
