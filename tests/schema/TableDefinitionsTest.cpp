#include "schema/TableDefinitions.h"
#include "schema/Municipalities.h"
#include "schema/SchemaError.h"

#include "tests/support/QtPrinters.h"

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
    ::testing::Values(MalformedDefinition{"# comment\ntable `a`\n  `x` intger\n", 3,
                                          "Riga 3: tipo di colonna sconosciuto \"intger\""},
                      MalformedDefinition{"table `a\n  `x` integer\n", 1,
                                          "Riga 1: manca l'apice inverso di chiusura del nome"},
                      MalformedDefinition{"table `a`\n  `x` integer\ntable `A`\n  `y` integer\n", 3,
                                          "Riga 3: tabella `A` già definita"},
                      MalformedDefinition{"table `a`\n  `Id` integer\n  `ID` date\n", 3,
                                          "Riga 3: colonna `ID` già presente nella tabella `a`"},
                      MalformedDefinition{"table `a`\n  `x` integer\n  index (`y`)\n", 3,
                                          "Riga 3: la tabella `a` non ha la colonna `y`"},
                      MalformedDefinition{"table `a`\n\n# nothing\ntable `b`\n  `x` integer\n", 1,
                                          "Riga 1: la tabella `a` non ha colonne"},
                      MalformedDefinition{
                          "table `a` @shop\n", 1,
                          "Riga 1: collocazione sconosciuta \"@shop\" (ammesse @directory e @store)"}));

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
    EXPECT_EQ(doc->columnNames(), QStringList({"NumDoc", "Stato d'uso", "Ricarico%", "n#1", "idDoc"}));
    EXPECT_EQ(doc->key()->name, QStringLiteral("idDoc"));
    ASSERT_EQ(doc->indexes.size(), 2);
    EXPECT_EQ(doc->indexes[0].columns, QStringList({"NumDoc", "Stato d'uso"})); // spelled as the column is
    EXPECT_EQ(doc->indexes[0].name(), QStringLiteral("ix_NumDoc_Stato_d_uso"));
    EXPECT_TRUE(doc->indexes[1].unique);
    EXPECT_EQ(defs.table(u"ditte")->placement, Placement::Directory);
    EXPECT_EQ(defs.companyTables().size(), 1);
}

TEST(Municipalities, ReadsTheListAndWritesApostrophesSafely)
{
    const auto list = Municipalities::parseCsv(
        QStringLiteral("comune;cap;sigla_provincia;provincia;regione;codice_catastale;codice_istat\r\n"
                       "Sant'Angelo a Cupolo;82010;BN;Benevento;Campania;I277;062070\r\n"
                       "Agliè;10011;TO;Torino;Piemonte;A074;001002\r\n"));
    ASSERT_EQ(list.size(), 2);
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
