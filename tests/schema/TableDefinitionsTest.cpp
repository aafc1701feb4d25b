#include "TableDefinitions.h"
#include "ColumnType.h"
#include "Municipalities.h"
#include "SchemaError.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace carvendo::schema;

namespace {

struct MalformedDefinition
{
    const char* text;
    int line;
    const char* message;
};

class MalformedDefinitionTest : public ::testing::TestWithParam<MalformedDefinition>
{
};

TEST_P(MalformedDefinitionTest, StopsWithTheLineAndWhatIsWrong)
{
    const MalformedDefinition& c = GetParam();
    try {
        TableDefinitions::parse(QString::fromUtf8(c.text));
        FAIL() << "accepted: " << c.text;
    } catch (const SchemaError& error) {
        EXPECT_EQ(error.line(), c.line);
        EXPECT_EQ(error.message(), QString::fromUtf8(c.message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Parser, MalformedDefinitionTest,
    ::testing::Values(
        MalformedDefinition{"# comment\ntable `a`\n  `x` intger\n", 3,
                            "Riga 3: tipo di colonna sconosciuto \"intger\""},
        MalformedDefinition{"table `a`\n  `x` string(0)\n", 2,
                            "Riga 2: tipo di colonna sconosciuto \"string(0)\""},
        MalformedDefinition{"table `a`\n  `x` string\n", 2, "Riga 2: tipo di colonna sconosciuto \"string\""},
        MalformedDefinition{"\n  `x` integer\n", 2, "Riga 2: colonna `x` fuori da una tabella"},
        MalformedDefinition{"table `a\n  `x` integer\n", 1,
                            "Riga 1: manca l'apice inverso di chiusura del nome"},
        MalformedDefinition{"table ``\n", 1, "Riga 1: nome vuoto"},
        MalformedDefinition{"table a\n", 1, "Riga 1: atteso un nome tra apici inversi"},
        MalformedDefinition{"table `a`\n  `x` integer\ntable `A`\n  `y` integer\n", 3,
                            "Riga 3: tabella `A` già definita"},
        MalformedDefinition{"table `a`\n  `Id` integer\n  `ID` date\n", 3,
                            "Riga 3: colonna `ID` già presente nella tabella `a`"},
        MalformedDefinition{"table `a`\n  `id` integer key\n  `id2` integer key\n", 3,
                            "Riga 3: la tabella `a` ha già la chiave `id`"},
        MalformedDefinition{"table `a`\n  `codice` string(5) key\n", 2,
                            "Riga 2: la chiave `codice` non è un numero intero"},
        MalformedDefinition{"table `a`\n  `x` integer\n  index (`y`)\n", 3,
                            "Riga 3: la tabella `a` non ha la colonna `y`"},
        MalformedDefinition{"table `a`\n  `x` integer\n  index `x`\n", 3,
                            "Riga 3: indice malformato: atteso (`colonna`, ...)"},
        MalformedDefinition{"table `a`\n  `x` integer\n  index (`x`\n", 3,
                            "Riga 3: indice malformato: atteso (`colonna`, ...)"},
        MalformedDefinition{"table `a`\n  `x` integer\n  index (`x`)\n  index (`X`)\n", 4,
                            "Riga 4: indice ripetuto sulle stesse colonne"},
        MalformedDefinition{"index (`x`)\n", 1, "Riga 1: indice fuori da una tabella"},
        MalformedDefinition{"table `a`\n\n# nothing\ntable `b`\n  `x` integer\n", 1,
                            "Riga 1: la tabella `a` non ha colonne"},
        MalformedDefinition{"table `a` @shop\n", 1,
                            "Riga 1: collocazione sconosciuta \"@shop\" (ammesse @directory e @store)"},
        MalformedDefinition{"table `a` extra\n", 1, "Riga 1: testo inatteso dopo la tabella: \"extra\""},
        MalformedDefinition{"table `a`\n  `x` integer\n  colonna `y` integer\n", 3,
                            "Riga 3: riga non riconosciuta \"colonna `y` integer\""}));

TEST(TableDefinitionsParser, ReadsNamesWithBlanksApostrophesAndHashesAndComments)
{
    const auto defs = TableDefinitions::parse(QStringLiteral("# a test\n"
                                                             "table `doc` # the header\n"
                                                             "  `NumDoc` integer\n"
                                                             "  `Stato d'uso` string(50)   # worn, new, ...\n"
                                                             "  `Ricarico%` integer\n"
                                                             "  `n#1` 64-bit integer\n"
                                                             "  `idDoc` integer key\n"
                                                             "  index (`NumDoc`, `stato d'uso`)\n"
                                                             "  unique (`n#1`)\n"
                                                             "table `ditte` @directory\n"
                                                             "  `id` integer key\n"
                                                             "table `ps_x` @store\n"
                                                             "  `id_x` 64-bit integer key\n"));

    ASSERT_EQ(defs.tables().size(), 3);
    const TableDefinition* doc = defs.table(u"DOC");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->placement, Placement::Company);
    EXPECT_EQ(doc->columnNames(), QStringList({"NumDoc", "Stato d'uso", "Ricarico%", "n#1", "idDoc"}));
    ASSERT_NE(doc->key(), nullptr);
    EXPECT_EQ(doc->key()->name, QStringLiteral("idDoc"));
    EXPECT_EQ(doc->column(u"n#1")->type, ColumnType::of(ColumnType::Kind::BigInteger));
    ASSERT_EQ(doc->indexes.size(), 2);
    EXPECT_EQ(doc->indexes[0].columns, QStringList({"NumDoc", "Stato d'uso"})); // spelled as the column is
    EXPECT_FALSE(doc->indexes[0].unique);
    EXPECT_EQ(doc->indexes[0].name(), QStringLiteral("ix_NumDoc_Stato_d_uso"));
    EXPECT_TRUE(doc->indexes[1].unique);
    EXPECT_EQ(defs.table(u"ditte")->placement, Placement::Directory);
    EXPECT_EQ(defs.table(u"ps_x")->placement, Placement::Store);
    EXPECT_EQ(defs.companyTables().size(), 1);
}

struct TypeMapping
{
    const char* written;
    const char* sqlDefinition;
    InformationSchemaType reported;
};

class ColumnTypeMappingTest : public ::testing::TestWithParam<TypeMapping>
{
};

TEST_P(ColumnTypeMappingTest, BecomesTheServerTypeWithADefaultStrictModeAccepts)
{
    const TypeMapping& c = GetParam();
    const auto type = ColumnType::parse(QString::fromUtf8(c.written));
    ASSERT_TRUE(type.has_value()) << c.written;
    EXPECT_EQ(type->name(), QString::fromUtf8(c.written));
    EXPECT_EQ(type->sqlDefinition(), QString::fromUtf8(c.sqlDefinition));
    EXPECT_EQ(type->informationSchema(), c.reported) << c.written;
}

constexpr qint64 fourGiB = 4294967295LL;

INSTANTIATE_TEST_SUITE_P(
    Types, ColumnTypeMappingTest,
    ::testing::Values(TypeMapping{"integer", "int(11) DEFAULT 0", {"int", {}, {}, {}, {}}},
                      TypeMapping{"64-bit integer", "bigint(20) DEFAULT 0", {"bigint", {}, {}, {}, {}}},
                      TypeMapping{"small integer", "smallint(6) DEFAULT 0", {"smallint", {}, {}, {}, {}}},
                      TypeMapping{"float", "double DEFAULT 0", {"double", {}, {}, {}, {}}},
                      TypeMapping{"decimal(11,2)", "decimal(11,2) DEFAULT 0.00", {"decimal", {}, 11, 2, {}}},
                      TypeMapping{"boolean", "tinyint(1) DEFAULT 0", {"tinyint", {}, {}, {}, "tinyint(1)"}},
                      TypeMapping{"date", "date DEFAULT NULL", {"date", {}, {}, {}, {}}},
                      TypeMapping{"datetime", "datetime DEFAULT NULL", {"datetime", {}, {}, {}, {}}},
                      TypeMapping{"time", "time DEFAULT NULL", {"time", {}, {}, {}, {}}},
                      TypeMapping{"string(50)", "varchar(50) DEFAULT NULL", {"varchar", 50, {}, {}, {}}},
                      TypeMapping{
                          "string(1000)", "varchar(1000) DEFAULT NULL", {"varchar", 1000, {}, {}, {}}},
                      TypeMapping{"memo", "longtext DEFAULT NULL", {"longtext", fourGiB, {}, {}, {}}},
                      TypeMapping{"blob", "longblob DEFAULT NULL", {"longblob", fourGiB, {}, {}, {}}}));

TEST(ColumnType, AnIdentifierIsNumberedByTheServer)
{
    EXPECT_EQ(ColumnType::of(ColumnType::Kind::Integer).sqlDefinition(true),
              QStringLiteral("int(11) NOT NULL AUTO_INCREMENT"));
    EXPECT_EQ(ColumnType::of(ColumnType::Kind::BigInteger).sqlDefinition(true),
              QStringLiteral("bigint(20) NOT NULL AUTO_INCREMENT"));
}

TEST(TableDefinitions, RefusesToCreateATableItDoesNotDefine)
{
    try {
        TableDefinitions::builtIn().createTableStatement(QStringLiteral("fatturee"), false);
        FAIL();
    } catch (const SchemaError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Tabella sconosciuta: `fatturee`"));
    }
}

// The identifier decisions: where the key is, and the tables that have none.
TEST(BuiltInDefinitions, KeysAreWhereTheProgramExpectsThem)
{
    const struct
    {
        const char* table;
        const char* key; // nullptr: no key
    } cases[] = {
        {"fatture", "idFattura"},  {"ddt", "idDdt"},
        {"banco", "id"},           {"resi", "idReso"},
        {"marche", "idMarca"},     {"pagamenti", "id"},
        {"logostampe", "id"},      {"riparazioni", "Id_Scheda"},
        {"articoli", "ID"},        {"clienti", "idCliente"},
        {"suffissi_doc", "id"},    {"comuni", "id"},
        {"dettbanco", nullptr},    {"dettfattura", nullptr},
        {"agenti_provv", nullptr}, {"dettnotecredito", nullptr},
        {"attesaordine", nullptr}, {"elencoschede", nullptr},
        {"acquisizioni", nullptr}, {"mail", nullptr},
        {"vm_store", nullptr},     {"inventario", nullptr},
    };
    for (const auto& c : cases) {
        const TableDefinition* table = TableDefinitions::builtIn().table(QString::fromUtf8(c.table));
        ASSERT_NE(table, nullptr) << c.table;
        const ColumnDefinition* key = table->key();
        if (c.key == nullptr) {
            EXPECT_EQ(key, nullptr) << c.table << " has key " << (key ? key->name.toStdString() : "");
        } else {
            ASSERT_NE(key, nullptr) << c.table;
            EXPECT_EQ(key->name, QString::fromUtf8(c.key)) << c.table;
        }
    }
    // The sale row's own ID is a plain number the program fills, not one the server gives.
    EXPECT_FALSE(TableDefinitions::builtIn().table(u"dettbanco")->column(u"ID")->isKey);
}

TEST(BuiltInDefinitions, OnlyTheRepairTicketIsTooWideForAStrictInnoDbRow)
{
    QStringList tooWide;
    for (const TableDefinition& table : TableDefinitions::builtIn().tables()) {
        if (!table.fitsStrictInnoDbRowSize())
            tooWide << table.name;
    }
    EXPECT_EQ(tooWide, QStringList{QStringLiteral("riparazioni")});
}

TEST(Municipalities, ReadsTheListAndWritesApostrophesSafely)
{
    const auto list = Municipalities::parseCsv(
        QStringLiteral("comune;cap;sigla_provincia;provincia;regione;codice_catastale;codice_istat\r\n"
                       "Sant'Angelo a Cupolo;82010;BN;Benevento;Campania;I277;062070\r\n"
                       "Agliè;10011;TO;Torino;Piemonte;A074;001002\r\n"));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[1].name, QStringLiteral("Agliè"));
    EXPECT_EQ(list[1].cadastralCode, QStringLiteral("A074"));

    EXPECT_EQ(
        Municipalities::insertStatements(list, 1),
        QStringLiteral("INSERT INTO `comuni` (`comune`, `Cap`, `SiglaProv`, `Provincia`, `Regione`, "
                       "`CodiceCatastale`, `CodiceIstat`) VALUES\n"
                       "('Sant''Angelo a Cupolo','82010','BN','Benevento','Campania','I277','062070');\n"
                       "INSERT INTO `comuni` (`comune`, `Cap`, `SiglaProv`, `Provincia`, `Regione`, "
                       "`CodiceCatastale`, `CodiceIstat`) VALUES\n"
                       "('Agliè','10011','TO','Torino','Piemonte','A074','001002');\n"));
}

TEST(Municipalities, AMalformedRowNamesItsLine)
{
    try {
        Municipalities::parseCsv(
            QStringLiteral("comune;cap;sigla_provincia;provincia;regione;codice_catastale;codice_istat\n"
                           "Roma;00118;RM;Roma;Lazio;H501;058091\n"
                           "Milano;20121;MI\n"));
        FAIL();
    } catch (const SchemaError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_EQ(error.message(),
                  QStringLiteral("Riga 3: attesi 7 campi separati da ';' con il nome del comune"));
    }
}

} // namespace
