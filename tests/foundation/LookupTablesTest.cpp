#include "foundation/LookupTables.h"

#include "core/OperatorPassword.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::errorOf;

namespace {

class LookupTablesTest : public carvendo::testing::CompanySuite<LookupTablesTest>
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        for (const char* table : {"causaligeneriche", "unitamisura", "ritenute_acconto", "marchi",
                                  "subcategorie", "categorie", "umv", "uma", "businessarea"})
            m_db->exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(table)));
        m_db->exec(QStringLiteral("DELETE FROM utenti WHERE id <> 1"));
        m_db->exec(QStringLiteral("DELETE FROM gruppi WHERE id <> 1"));
    }

    static void expectStored(const Field& stored, const QVariant& expected)
    {
        if (!expected.isValid())
            EXPECT_TRUE(stored.isNull()) << stored.toString().toStdString();
        else if (expected.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(stored.toDouble(), expected.toDouble());
        else
            EXPECT_EQ(stored.toString(), expected.toString());
    }

    int count(const QString& table)
    {
        return m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
    }

    std::unique_ptr<Db> m_db;
};

// Every description names real columns: each list loads from a new company.
TEST_F(LookupTablesTest, EveryDescriptionLoadsFromTheCompanySchema)
{
    LookupStore store(*m_db);
    for (Lookup lookup : allLookups()) {
        const LookupTable& table = lookupTable(lookup);
        Rows rows;
        ASSERT_NO_THROW(rows = store.load(lookup)) << table.table.toStdString();
        EXPECT_EQ(rows.columnCount(), table.columns.size() + 1) << table.table.toStdString();
        EXPECT_EQ(rows.columns().first().toLower(), table.key.toLower()) << "the key comes first";
    }
}

// Add, change, remove through the one implementation: a key that is not the first column, a column
// name with a blank, a decimal typed with a comma.
TEST_F(LookupTablesTest, AddUpdateRemoveOnTablesOfDifferentShapes)
{
    struct Case
    {
        Lookup lookup;
        QVariantMap added;
        QVariantMap changed;
        QString checkColumn;
        QVariant expectedAfterAdd;
        QVariant expectedAfterChange;
    };
    const Case cases[] = {
        {Lookup::CausaliGeneriche,
         {{"Codice", "VEN"}, {"Causale", " Vendita "}, {"Segno", "-"}},
         {{"causale", "Vendita al banco"}},
         "Causale",
         "Vendita",
         "Vendita al banco"},
        {Lookup::UnitaMisura,
         {{"Unita di misura", "CF"}},
         {{"unita di misura", "CONF"}},
         "Unita di misura",
         "CF",
         "CONF"},
        {Lookup::RitenuteAcconto,
         {{"codice", "A"},
          {"descrizione", "Professionisti"},
          {"percentuale", "20,5"},
          {"TipoRitenuta", "RT01"}},
         {{"percentuale", "4"}},
         "percentuale",
         20.5,
         4.0},
        {Lookup::Marchi, {{"Descrizione", "ACME"}}, {{"Codice", "AC"}}, "Codice", QVariant(), "AC"},
    };
    LookupStore store(*m_db);
    for (const Case& c : cases) {
        const LookupTable& table = lookupTable(c.lookup);
        SCOPED_TRACE(table.table.toStdString());
        const qint64 key = store.add(c.lookup, c.added);
        ASSERT_GT(key, 0);
        const QString select = QStringLiteral("SELECT `%1` FROM `%2` WHERE `%3` = :KEY")
                                   .arg(c.checkColumn, table.table, table.key);
        const Params byKey{{"KEY", key}};
        expectStored(m_db->scalar(select, byKey), c.expectedAfterAdd);

        store.update(c.lookup, key, c.changed);
        expectStored(m_db->scalar(select, byKey), c.expectedAfterChange);
        store.remove(c.lookup, key);
        EXPECT_EQ(store.load(c.lookup).size(), 0);
    }
}

TEST_F(LookupTablesTest, RefusedValuesNameTheFieldAndStoreNothing)
{
    LookupStore store(*m_db);
    const struct
    {
        Lookup lookup;
        QVariantMap values;
        const char* message;
    } cases[] = {
        {Lookup::CausaliGeneriche, {{"Causale", "   "}}, "Il campo \"Causale\" è obbligatorio"},
        {Lookup::Uma,
         {{"Descrizione", "PEZ"}},
         "Il campo \"Unità di acquisto\" può contenere al massimo 2 caratteri"},
        {Lookup::BusinessArea,
         {{"Descrizione", "Nord"}, {"Codice", "1a"}},
         "Il campo \"Codice\" deve essere un numero intero"},
        {Lookup::RitenuteAcconto,
         {{"codice", "A"}, {"percentuale", "venti"}},
         "Il campo \"Percentuale\" deve essere un numero"},
        {Lookup::Reparti,
         {{"descrizione", "X"}, {"reparto", "REPARTO11"}, {"aliquota", 22}},
         "Valore non valido per il campo \"Reparto\""},
    };
    const int reparti = count(QStringLiteral("reparti"));
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf([&] { store.add(c.lookup, c.values); }), QString::fromUtf8(c.message));
    }
    for (const char* table : {"causaligeneriche", "uma", "businessarea", "ritenute_acconto"})
        EXPECT_EQ(count(QString::fromLatin1(table)), 0) << table;
    EXPECT_EQ(count(QStringLiteral("reparti")), reparti);

    // A change checks only the fields it touches, but those as strictly.
    const qint64 key = store.add(Lookup::BusinessArea, {{"Descrizione", "Nord"}, {"Codice", 1}});
    EXPECT_EQ(errorOf([&] {
                  store.update(Lookup::BusinessArea, key, {{"Descrizione", ""}});
              }),
              "Il campo \"Descrizione\" è obbligatorio");
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT Descrizione FROM businessarea")).toString(), "Nord");
}

TEST_F(LookupTablesTest, AUsernameIsTakenOnlyOnce)
{
    LookupStore store(*m_db);
    const QVariantMap mario{{"nome", "Mario"}, {"username", "mario"},
                            {"password", "x"}, {"nomepermesso", "AMMINISTRATORI"},
                            {"Attivo", true},  {"magazzino", "MAGAZZINO CENTRALE"}};
    const qint64 id = store.add(Lookup::Utenti, mario);
    QVariantMap other = mario;
    other["nome"] = "Mario Rossi";
    EXPECT_EQ(errorOf([&] { store.add(Lookup::Utenti, other); }),
              "Il valore \"mario\" del campo \"Username\" è già presente");
    EXPECT_EQ(errorOf([&] {
                  store.update(Lookup::Utenti, 1, {{"username", "MARIO"}});
              }),
              "Il valore \"MARIO\" del campo \"Username\" è già presente")
        << "login names compare ignoring letter case";
    EXPECT_NO_THROW(store.update(Lookup::Utenti, id, {{"username", "mario"}, {"Attivo", false}}))
        << "a row may keep its own value";
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT Attivo FROM utenti WHERE id = :ID"), {{"ID", id}}).toInt(),
              0);
}

// The users page never stores nor shows a password: it keeps the hash of what was typed.
TEST_F(LookupTablesTest, APasswordSetOnTheUsersPageIsStoredAsItsHash)
{
    LookupStore store(*m_db);
    const qint64 id = store.add(Lookup::Utenti, {{"nome", "Luca"},
                                                 {"username", "luca"},
                                                 {"password", "Cassa 1"},
                                                 {"nomepermesso", "AMMINISTRATORI"},
                                                 {"magazzino", "MAGAZZINO CENTRALE"}});
    const auto stored = [&] {
        return m_db->scalar(QStringLiteral("SELECT password FROM utenti WHERE id = :ID"), {{"ID", id}})
            .toString();
    };
    EXPECT_TRUE(OperatorPassword::matches(stored(), QStringLiteral("Cassa 1"))) << stored().toStdString();

    store.update(Lookup::Utenti, id, {{"password", "nuova"}});
    EXPECT_TRUE(OperatorPassword::matches(stored(), QStringLiteral("nuova")));
    for (const Row row : store.load(Lookup::Utenti))
        EXPECT_EQ(row[u"password"].toString(), QString()) << "the list never shows a stored password";
}

TEST_F(LookupTablesTest, OperatorsFollowARenamedGroupAndKeepItFromBeingDeleted)
{
    LookupStore store(*m_db);
    const qint64 group = store.add(Lookup::Gruppi, {{"descrizione", "CASSA"}, {"pos", true}});
    store.add(Lookup::Utenti, {{"nome", "Anna"},
                               {"username", "anna"},
                               {"nomepermesso", "CASSA"},
                               {"magazzino", "MAGAZZINO CENTRALE"}});

    store.update(Lookup::Gruppi, group, {{"descrizione", "CASSIERI"}});
    EXPECT_EQ(
        m_db->scalar(QStringLiteral("SELECT nomepermesso FROM utenti WHERE username = 'anna'")).toString(),
        "CASSIERI");
    EXPECT_EQ(
        m_db->scalar(QStringLiteral("SELECT nomepermesso FROM utenti WHERE username = 'admin'")).toString(),
        "AMMINISTRATORI");

    EXPECT_EQ(errorOf([&] { store.remove(Lookup::Gruppi, group); }),
              "Impossibile eliminare il gruppo: è assegnato ad almeno un utente");
    EXPECT_EQ(count(QStringLiteral("gruppi")), 2);
}

TEST_F(LookupTablesTest, SubCategoriesFollowTheirCategoryCode)
{
    LookupStore store(*m_db);
    const qint64 category = store.add(Lookup::Categorie, {{"CodCat", "TEL"}, {"Descrizione", "Telefonia"}});
    store.add(Lookup::SubCategorie, {{"CodCat", "TEL"}, {"Descrizione", "Smartphone"}});
    store.update(Lookup::Categorie, category, {{"CodCat", "TLF"}});
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT CodCat FROM subcategorie")).toString(), "TLF");
    EXPECT_EQ(errorOf([&] { store.remove(Lookup::Categorie, category); }),
              "Impossibile eliminare la categoria: ha delle sotto-categorie");
}

TEST_F(LookupTablesTest, ValuesAreBoundNeverPastedIntoTheStatement)
{
    LookupStore store(*m_db);
    const QString hostile = QStringLiteral("x'); DROP TABLE marchi; --");
    const qint64 key = store.add(Lookup::Marchi, {{"Descrizione", hostile.left(50)}});
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT Descrizione FROM marchi WHERE IdMarche = :K"), {{"K", key}})
                  .toString(),
              hostile.left(50));
    EXPECT_THROW(store.add(Lookup::Marchi, {{"Descrizione`", "x"}}), std::invalid_argument)
        << "unknown column";
}

} // namespace
