// The stored procedures of a company database, called the way the program calls them
// (core::StoredProcedures), checked by what they leave in the tables.

#include "core/StoredProcedures.h"

#include "core/Db.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

#include <functional>

using namespace carvendo::core;
namespace ct = carvendo::testing;

namespace {

constexpr int Item = 10;
constexpr int Centrale = 1;
constexpr int Negozio = 2;

class ProceduresTest : public carvendo::testing::CompanySuite<ProceduresTest>
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        m_procedures = std::make_unique<StoredProcedures>(*m_db);
        for (const char* table :
             {"giacenze", "articoli", "magazzini", "fornitori", "sottoscorta", "seriali", "serialidocumenti",
              "etichette", "contatori", "riparazioni", "utenti", "fatture", "banco"})
            m_db->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        m_db->exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'CENTRALE'), "
                                  "(2, 'NEGOZIO')"));
        m_db->exec(QStringLiteral("INSERT INTO fornitori (id_fornitore, RagSoc) VALUES (7, 'ACME SRL')"));
        m_db->exec(QStringLiteral(
            "INSERT INTO articoli (ID, CodArticolo, Descrizione, BarcodeFull, Fornitore, UM, Aliquota, "
            "PrezzoAcquisto, "
            "Listino2, Listino3, giacenza, Disponibilita, Scorta) VALUES (10, 'CAV01', 'Cavo USB-C 1m', "
            "'8005001002000', 'ACME SRL', 'PZ', 22, 3.2, 9.5, 8.75, 2.5, 2.5, 5)"));
    }

    // giacenza and disponibilita of the item's row in the warehouse; {NaN, NaN} when missing.
    std::pair<double, double> stock(int idArticolo, int idMagazzino)
    {
        const Rows rows = m_db->query(QStringLiteral("SELECT giacenza, disponibilita FROM giacenze "
                                                     "WHERE idarticolo = :A AND idmagazzino = :M"),
                                      {{"A", idArticolo}, {"M", idMagazzino}});
        if (rows.isEmpty())
            return {std::nan(""), std::nan("")};
        EXPECT_EQ(rows.size(), 1) << "one stock row per item and warehouse";
        return {rows.value(0, u"giacenza").toDouble(), rows.value(0, u"disponibilita").toDouble()};
    }

    qint64 count(const QString& sql, const Params& params = {})
    {
        return m_db->scalar(sql, params).toInt64();
    }

    QStringList rowsAsText(const QString& sql) { return ct::rowsAsText(*m_db, sql); }

    std::unique_ptr<Db> m_db;
    std::unique_ptr<StoredProcedures> m_procedures;
};

struct Movement
{
    const char* name;
    std::function<void(StoredProcedures&, int, int, double)> run;
    double quantita;
    std::pair<double, double> fromMissingRow; // giacenza, disponibilita when no row existed
    std::pair<double, double> fromTen;        // ... when the row held 10 and 10
};

TEST_F(ProceduresTest, EveryMovementOnAMissingOrExistingRow)
{
    const auto insert = [](StoredProcedures& p, int a, int m, double q) {
        p.caricoMagazzinoInsert(a, m, QStringLiteral("NEGOZIO"), q);
    };
    const std::vector<Movement> movements{
        {"CARICO_MAGAZZINO_INSERT", insert, 5, {5, 5}, {15, 15}},
        {"CARICO_MAGAZZINO_UPDATE", &StoredProcedures::caricoMagazzinoUpdate, 4, {4, 4}, {14, 14}},
        {"SCARICO_MAGAZZINO below zero", &StoredProcedures::scaricoMagazzino, 15, {-15, -15}, {-5, -5}},
        {"SCARICA_DISPONIBILITA", &StoredProcedures::scaricaDisponibilita, 1, {0, -1}, {10, 9}},
        {"RIASSESTA_DISPONIBILITA", &StoredProcedures::riassestaDisponibilita, 1.5, {0, 1.5}, {10, 11.5}},
    };
    for (const Movement& m : movements) {
        SCOPED_TRACE(m.name);
        m_db->exec(QStringLiteral("DELETE FROM giacenze"));
        m.run(*m_procedures, Item, Negozio, m.quantita);
        EXPECT_EQ(stock(Item, Negozio), m.fromMissingRow);
        // A row the movement had to create carries the warehouse's name.
        EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT magazzino FROM giacenze")).toString(),
                  QStringLiteral("NEGOZIO"));

        m_db->exec(QStringLiteral("UPDATE giacenze SET giacenza = 10, disponibilita = 10"));
        m.run(*m_procedures, Item, Negozio, m.quantita);
        EXPECT_EQ(stock(Item, Negozio), m.fromTen);
    }
}

TEST_F(ProceduresTest, TwoWorkstationsCreatingTheSameRowEndWithBothLoads)
{
    auto first = company().newConnection();
    Transaction late(*first);
    StoredProcedures(*first).caricoMagazzinoInsert(Item, Centrale, QStringLiteral("CENTRALE"), 5);

    // The second workstation starts before the first one's row is committed: inside the procedure it
    // cannot get past the first one's lock on the new row, whichever way it takes.
    ct::Workstation second(company().newConnection());
    second.start([](Db& own) {
        StoredProcedures(own).caricoMagazzinoInsert(Item, Centrale, QStringLiteral("CENTRALE"), 3);
    });
    EXPECT_TRUE(second.waitsAtTable(*m_db, QStringLiteral("MUOVI_GIACENZA")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 0) << "nothing committed yet";
    late.commit();
    second.finish();
    EXPECT_EQ(stock(Item, Centrale), std::make_pair(8.0, 8.0));
}

TEST_F(ProceduresTest, AnOldDatabaseWithoutTheUniqueIndexStillKeepsOneRow)
{
    m_db->execDirect(QStringLiteral("ALTER TABLE giacenze DROP INDEX ux_idarticolo_idmagazzino"));
    m_procedures->caricoMagazzinoInsert(Item, Centrale, QStringLiteral("CENTRALE"), 5);
    m_procedures->caricoMagazzinoInsert(Item, Centrale, QStringLiteral("CENTRALE"), 3);
    m_procedures->scaricoMagazzino(Item, Centrale, 1);
    m_db->execDirect(QStringLiteral("ALTER TABLE giacenze ADD UNIQUE INDEX ux_idarticolo_idmagazzino "
                                    "(idarticolo, idmagazzino)"));
    EXPECT_EQ(stock(Item, Centrale), std::make_pair(7.0, 7.0));
}

TEST_F(ProceduresTest, UnderStockRowIsWrittenAfreshWithTheQuantityToOrder)
{
    EXPECT_EQ(m_procedures->sottoscorta(Item).prezzo, Money::parse(u"3.2"));
    m_procedures->sottoscorta(Item); // a second call replaces the row
    // 5 - 2.5 to order, in whole pieces: 3.
    EXPECT_EQ(
        rowsAsText(QStringLiteral("SELECT idarticolo, codart, descrizione, barcode, qtaordine, idfornitore, "
                                  "fornitore, giacenza, scorta, prezzoacquisto, um, aliquota, "
                                  "data = CURRENT_DATE FROM sottoscorta")),
        QStringList{"10|CAV01|Cavo USB-C 1m|8005001002000|3|7|ACME SRL|2|5|3.2|PZ|22|1"});

    // Cut to the row's width; an unknown supplier is none; never a negative quantity to order.
    const QString longDescription = QString(120, u'è');
    m_db->exec(
        QStringLiteral("UPDATE articoli SET Descrizione = :D, Fornitore = 'SCONOSCIUTO', giacenza = 7"),
        {{"D", longDescription}});
    EXPECT_EQ(m_procedures->sottoscorta(Item).descrizione, longDescription);
    EXPECT_EQ(rowsAsText(QStringLiteral("SELECT descrizione, idfornitore, qtaordine FROM sottoscorta")),
              QStringList{QString(50, u'è') + QStringLiteral("|0|0")});
}

TEST_F(ProceduresTest, UpdateScortaNeverCreatesARowAndRemovesOneNoLongerNeeded)
{
    m_procedures->updateScorta(Item);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM sottoscorta")), 0) << "no row is created";

    m_procedures->sottoscorta(Item);
    m_db->exec(QStringLiteral("UPDATE articoli SET giacenza = 6 WHERE ID = 10"));
    m_procedures->updateScorta(Item);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM sottoscorta")), 0);
}

class SerialProceduresTest : public ProceduresTest
{
protected:
    void SetUp() override
    {
        ProceduresTest::SetUp();
        m_db->exec(QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, Disponibile, idCarico, "
                                  "idFornitore, idMagazzino, Magazzino) "
                                  "VALUES (10, '356938035643809', 1, 5, 7, 1, 'CENTRALE'), (10, "
                                  "'356938035643817', 1, 5, 7, 1, 'CENTRALE'), "
                                  "(10, '356938035643825', 0, 5, 7, 1, 'CENTRALE')"));
    }

    SerialUnload sale(const QString& seriale, const QString& kind = QStringLiteral("Ddt"), int idDoc = 33)
    {
        SerialUnload u;
        u.tipoScarico = kind;
        u.idDoc = idDoc;
        u.seriale = seriale;
        u.idCarico = 5;
        u.codArt = QStringLiteral("CAV01");
        u.idCliente = 12;
        u.data = QDate(2024, 3, 1);
        u.idArticolo = Item;
        u.idMagazzino = Centrale;
        u.magazzino = QStringLiteral("CENTRALE");
        return u;
    }
};

// A sold serial leaves the stock and becomes a link; one not in stock is never sold.
TEST_F(SerialProceduresTest, ASerialIsSoldOnceAndOnlyFromStock)
{
    m_procedures->scaricoSeriale(sale(QStringLiteral("356938035643809")));
    EXPECT_EQ(rowsAsText(QStringLiteral("SELECT Seriale FROM seriali ORDER BY Seriale")),
              (QStringList{"356938035643817", "356938035643825"}));
    EXPECT_EQ(rowsAsText(QStringLiteral(
                  "SELECT Documento, idDocumento, Seriale, idArticolo, idCarico, codarticolo, idCliente, "
                  "DataScarico, idMagazzino, Magazzino FROM serialidocumenti")),
              QStringList{"Ddt|33|356938035643809|10|5|CAV01|12|01/03/2024|1|CENTRALE"});

    const std::vector<std::pair<const char*, SerialUnload>> refused{
        {"already sold", sale(QStringLiteral("356938035643809"), QStringLiteral("Fattura"), 40)},
        {"blocked (its load row was removed)", sale(QStringLiteral("356938035643825"))},
    };
    for (const auto& [why, unload] : refused) {
        SCOPED_TRACE(why);
        EXPECT_EQ(ct::errorOf([&] { m_procedures->scaricoSeriale(unload); }),
                  QStringLiteral("Attenzione! Seriale non disponibile"));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti")), 1);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 2);
    }
}

TEST_F(SerialProceduresTest, DeliveryNoteLinksPassToTheInvoiceAndRowLinksGo)
{
    m_procedures->scaricoSeriale(sale(QStringLiteral("356938035643809"), QStringLiteral("Ddt"), 33));
    m_procedures->scaricoSeriale(sale(QStringLiteral("356938035643817"), QStringLiteral("Ddt"), 34));
    // Links that must stay as they are: an invoice that happens to share the note's id, and
    // another item on the invoice.
    m_db->exec(
        QStringLiteral("INSERT INTO serialidocumenti (Documento, idDocumento, Seriale, idArticolo) VALUES "
                       "('Fattura', 33, 'X1', 11), ('Fattura', 70, 'X2', 11)"));

    m_procedures->updateSerialiDoc(33, 70);
    const auto links = [&] {
        return rowsAsText(
            QStringLiteral("SELECT Documento, idDocumento, Seriale FROM serialidocumenti ORDER BY Seriale"));
    };
    EXPECT_EQ(links(), (QStringList{"Fattura|70|356938035643809", "Ddt|34|356938035643817", "Fattura|33|X1",
                                    "Fattura|70|X2"}));

    m_procedures->deleteSerialiDoc(Item, 70, QStringLiteral("Fattura"));
    EXPECT_EQ(links(), (QStringList{"Ddt|34|356938035643817", "Fattura|33|X1", "Fattura|70|X2"}));
}

TEST_F(ProceduresTest, ALabelIsCutToWhatItHoldsAndTakesTheItemsListPrices)
{
    LabelRequest label;
    label.descrizione = QString(300, u'x');
    label.barcode = QStringLiteral("8005001002000");
    label.prezzo = *Money::parse(u"12.50");
    label.quantita = 3;
    label.idArticolo = Item;
    label.idCarico = 5;
    m_procedures->creaEtichette(label);

    // The description is cut to what a label holds; list prices 2 and 3 come from the item.
    EXPECT_EQ(
        rowsAsText(QStringLiteral("SELECT descrizione, barcode, quantita, idarticolo, idcarico, prezzo, "
                                  "listino2, listino3 FROM etichette")),
        QStringList{QString(120, u'x') + QStringLiteral("|8005001002000|3|10|5|12.5|9.5|8.75")});
}

TEST_F(ProceduresTest, RepairTicketNumbersRunAcrossYears)
{
    m_db->exec(QStringLiteral("INSERT INTO contatori (CountFatture, CountAssistenze) VALUES (3, 0)"));
    EXPECT_EQ(m_procedures->incrementaCat(), 1) << "no ticket yet";

    m_db->exec(QStringLiteral("INSERT INTO riparazioni (numero, anno) VALUES (41, '2023'), (7, '2024')"));
    EXPECT_EQ(m_procedures->incrementaCat(), 42);
    EXPECT_EQ(count(QStringLiteral("SELECT CountAssistenze FROM contatori")), 42);
}

// A rename by name is the warehouse card's and is tested with it.
TEST_F(ProceduresTest, AWarehouseRenamedByIdRewritesItsStockRowsButNotTheOperators)
{
    m_procedures->caricoMagazzinoInsert(Item, Centrale, QStringLiteral("CENTRALE"), 5);
    m_procedures->caricoMagazzinoInsert(Item, Negozio, QStringLiteral("NEGOZIO"), 1);
    m_db->exec(QStringLiteral("INSERT INTO utenti (username, magazzino) VALUES ('anna', 'NEGOZIO')"));

    m_procedures->updateMag(QStringLiteral("PUNTO VENDITA"), Negozio);
    EXPECT_EQ(rowsAsText(QStringLiteral("SELECT magazzino FROM giacenze ORDER BY idmagazzino")),
              (QStringList{"CENTRALE", "PUNTO VENDITA"}));
    EXPECT_EQ(rowsAsText(QStringLiteral("SELECT magazzino FROM utenti")), QStringList{"NEGOZIO"});
}

TEST_F(ProceduresTest, StartOfYearEmptiesDocumentsAllOrNothingAndKeepsEverythingElse)
{
    const QStringList documents =
        QStringLiteral(
            "fatture dettfattura ddt dettddt notecredito dettnotecredito preventivi dettpreventivo "
            "ordiniclienti dettordineciente attesaordine ordinifornitori dettordinefornitore "
            "ordineforntc banco dettbanco scontrini sospesi elencosospesi articolidocumento carichi "
            "dettcarico caricotcdoc scadenzario")
            .split(u' ');
    const QStringList ledgers =
        QStringLiteral("venduti acquisti resi dettreso serialidocumenti prima_nota riparazioni clienti")
            .split(u' ');
    const QStringList kept = ledgers + QStringList{"articoli", "giacenze"};
    // Every table gets a row of defaults.
    for (const QString& table : documents + ledgers)
        m_db->execDirect(QStringLiteral("INSERT INTO `%1` () VALUES ()").arg(table));
    // Paid, settled and received: only what is still open carries over into the new year.
    m_db->execDirect(QStringLiteral("UPDATE scadenzario SET Evaso = 1"));
    m_db->execDirect(QStringLiteral("UPDATE sospesi SET Saldato = 1"));
    m_db->execDirect(QStringLiteral("UPDATE ordinifornitori SET Evaso = 'Si', CaricoMerceCreato = 1"));
    m_procedures->caricoMagazzinoInsert(Item, Centrale, QStringLiteral("CENTRALE"), 5);
    const qint64 lastInvoice = count(QStringLiteral("SELECT MAX(idFattura) FROM fatture"));
    const auto rowsIn = [&](const QString& table) {
        return count(QStringLiteral("SELECT COUNT(*) FROM `%1`").arg(table));
    };
    std::map<QString, qint64> keptCounts;
    for (const QString& table : kept)
        keptCounts[table] = rowsIn(table);

    // Without its last table the start of year fails and empties nothing.
    m_db->execDirect(QStringLiteral("RENAME TABLE scadenzario TO scadenzario_altrove"));
    EXPECT_EQ(ct::errorOf([&] { m_procedures->inizioAnno(); }),
              QStringLiteral("Table '%1.scadenzario' doesn't exist").arg(company().name()));
    m_db->execDirect(QStringLiteral("RENAME TABLE scadenzario_altrove TO scadenzario"));
    for (const QString& table : documents)
        EXPECT_EQ(rowsIn(table), 1) << table.toStdString();

    m_procedures->inizioAnno();

    for (const QString& table : documents)
        EXPECT_EQ(rowsIn(table), 0) << table.toStdString();
    for (const QString& table : kept)
        EXPECT_EQ(rowsIn(table), keptCounts[table]) << table.toStdString();

    // The old ids stay with the serial links and the sales ledger: a new invoice never reuses one.
    m_db->exec(QStringLiteral("INSERT INTO fatture (NumDoc) VALUES (1)"));
    EXPECT_GT(count(QStringLiteral("SELECT MAX(idFattura) FROM fatture")), lastInvoice);

    for (const QString& table : documents + ledgers)
        m_db->execDirect(QStringLiteral("DELETE FROM `%1`").arg(table));
}

TEST_F(ProceduresTest, DuplicatedItemIsTheSameRowUnderANewId)
{
    m_db->exec(QStringLiteral("UPDATE articoli SET `Ricarico%` = 30, TestoEsteso = 'Lungo', Seriale = 1, "
                              "promo_importo = 12.50, pubblicazione = '2024-02-29' WHERE ID = 10"));
    const std::optional<int> copy = m_procedures->duplicaArticolo(Item);
    ASSERT_TRUE(copy.has_value());

    const Rows rows =
        m_db->query(QStringLiteral("SELECT * FROM articoli WHERE ID IN (:A, :B) ORDER BY ID = :A DESC"),
                    {{"A", Item}, {"B", *copy}});
    ASSERT_EQ(rows.size(), 2);
    for (int c = 0; c < rows.columnCount(); ++c) {
        if (rows.columns()[c].compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            continue;
        EXPECT_EQ(rows.at(0, c).variant(), rows.at(1, c).variant()) << rows.columns()[c].toStdString();
    }
    EXPECT_EQ(m_procedures->duplicaArticolo(999), std::nullopt);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 2);
}

TEST_F(ProceduresTest, AddColumnUnlessExistsAddsOnceWhateverTheLetterCase)
{
    const auto columnType = [&](const QString& column) {
        return m_db
            ->scalar(QStringLiteral("SELECT COLUMN_TYPE FROM information_schema.COLUMNS "
                                    "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'etichette' "
                                    "AND COLUMN_NAME = :C"),
                     {{"C", column}})
            .toString();
    };
    const QString database = company().name();
    m_procedures->addColumnUnlessExists(database, QStringLiteral("etichette"), QStringLiteral("prova"),
                                        QStringLiteral("int(11) DEFAULT 0"));
    EXPECT_EQ(columnType(QStringLiteral("prova")), QStringLiteral("int(11)"));

    m_procedures->addColumnUnlessExists(database, QStringLiteral("ETICHETTE"), QStringLiteral("PROVA"),
                                        QStringLiteral("varchar(5)"));
    EXPECT_EQ(columnType(QStringLiteral("prova")), QStringLiteral("int(11)"));
    // Names are identifiers, never SQL: a back-quote is part of the column's name.
    m_procedures->addColumnUnlessExists(database, QStringLiteral("etichette"), QStringLiteral("a`b c"),
                                        QStringLiteral("int(11)"));
    EXPECT_EQ(columnType(QStringLiteral("a`b c")), QStringLiteral("int(11)"));

    m_db->execDirect(QStringLiteral("ALTER TABLE etichette DROP COLUMN prova, DROP COLUMN `a``b c`"));
}

} // namespace
