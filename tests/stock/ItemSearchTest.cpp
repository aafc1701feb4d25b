#include "stock/ItemSearch.h"
#include "stock/RicercaAvanzata.h"

#include "core/Db.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace carvendo;
namespace ct = carvendo::testing;
using stock::ItemField;
using stock::MatchMode;

namespace {

class ItemSearchTest : public ct::CompanySuite<ItemSearchTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "seriali"});
        db().exec(QStringLiteral(
            "INSERT INTO articoli (Descrizione, CodArticolo, BarcodeFull, CODARTFORN, Fornitore) VALUES "
            "('CAVO', 'AB01', '8005001002000', 'F-100', 'ROSSI SRL'), "
            "('CAVO USB', 'AB02', '8005001002017', 'F-200', 'ROSSI SRL'), "
            "('ADATTATORE CAVO', 'XY01', '8005001002024', 'G-100', 'BIANCHI SPA'), "
            "('D''AMICO LIBRO', 'LB01', '9788800000001', 'L''1', ''), "
            "('SCONTO 100%', 'SC01', '2000000000001', '100%', ''), ('SCONTO 1000', 'SC02', '2000000000002', "
            "'1000', ''), "
            "('A_B', 'AX01', '2000000000003', 'A_B', '')"));
        m_cavo = idOf("AB01");
        m_cavoUsb = idOf("AB02");
        m_libro = idOf("LB01");
        m_search.setWarehouse(1);
    }

    static int idOf(const char* code)
    {
        return db()
            .scalar(QStringLiteral("SELECT ID FROM articoli WHERE CodArticolo = :C"),
                    {{QStringLiteral("C"), QString::fromUtf8(code)}})
            .toInt();
    }

    QStringList descriptions() const
    {
        QStringList out;
        for (const core::Row& row : m_search.rows())
            out << row["Descrizione"].toString();
        return out;
    }

    stock::ItemSearch m_search{company().db()};
    int m_cavo = 0, m_cavoUsb = 0, m_libro = 0;
};

TEST_F(ItemSearchTest, ModesAndFields)
{
    struct Case
    {
        ItemField field;
        MatchMode mode;
        const char* text;
        QStringList expected;
    };
    // In the server's collation "_" sorts after the letters.
    const QStringList all{"ADATTATORE CAVO", "A_B",         "CAVO",       "CAVO USB",
                          "D'AMICO LIBRO",   "SCONTO 100%", "SCONTO 1000"};
    const Case cases[] = {
        {ItemField::Descrizione, MatchMode::StartsWith, "CAVO", {"CAVO", "CAVO USB"}},
        {ItemField::Descrizione, MatchMode::StartsWith, "cavo", {"CAVO", "CAVO USB"}},
        {ItemField::Descrizione, MatchMode::Exact, "CAVO", {"CAVO"}},
        {ItemField::Descrizione, MatchMode::Contains, "CAVO", {"ADATTATORE CAVO", "CAVO", "CAVO USB"}},
        {ItemField::Descrizione, MatchMode::StartsWith, "D'Amico", {"D'AMICO LIBRO"}},
        {ItemField::Descrizione, MatchMode::Contains, "100%", {"SCONTO 100%"}},
        {ItemField::Descrizione, MatchMode::StartsWith, "A_", {"A_B"}},
        {ItemField::Descrizione, MatchMode::Exact, "   ", all},
        {ItemField::Barcode, MatchMode::Exact, "800500100201", {}},
        {ItemField::Codice, MatchMode::Contains, "Y0", {"ADATTATORE CAVO"}},
        {ItemField::CodiceFornitore, MatchMode::StartsWith, "100", {"SCONTO 100%", "SCONTO 1000"}},
    };
    for (const Case& c : cases) {
        m_search.byField(c.field, c.mode, QString::fromUtf8(c.text));
        EXPECT_EQ(descriptions(), c.expected) << int(c.field) << " " << int(c.mode) << " " << c.text;
    }
}

TEST_F(ItemSearchTest, SerialFindsItsItemInTheListsWarehouseOnly)
{
    db().exec(QStringLiteral(
                  "INSERT INTO seriali (idArticolo, Seriale, idMagazzino) VALUES (:A, '356938035643809', 1)"),
              {{QStringLiteral("A"), m_cavoUsb}});
    db().exec(
        QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idMagazzino) VALUES (:A, 'IMEI-2', 2)"),
        {{QStringLiteral("A"), m_cavo}});

    EXPECT_TRUE(m_search.bySerial(QStringLiteral("356938035643809")));
    EXPECT_EQ(descriptions(), QStringList{"CAVO USB"});

    EXPECT_FALSE(m_search.bySerial(QStringLiteral("IMEI-2")));
    EXPECT_TRUE(m_search.rows().isEmpty());

    m_search.setWarehouse(2);
    EXPECT_TRUE(m_search.bySerial(QStringLiteral("IMEI-2")));
    EXPECT_EQ(descriptions(), QStringList{"CAVO"});
}

TEST_F(ItemSearchTest, GridShowsTheStockOfTheChosenWarehouse)
{
    db().exec(
        QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                       "VALUES (:A, 1, 'NEGOZIO', 5, 4), (:A, 2, 'DEPOSITO', 12, 12)"),
        {{QStringLiteral("A"), m_cavo}});
    m_search.byItem(m_cavo);
    EXPECT_EQ(m_search.rows().value(0, "Disponibilita").toDouble(), 4.0);
    m_search.setWarehouse(2);
    EXPECT_EQ(m_search.rows().value(0, "Giacenza").toDouble(), 12.0);
}

TEST_F(ItemSearchTest, PagesGrowToTheWholeSearch)
{
    m_search.setPageSize(3);
    m_search.showAll();
    EXPECT_EQ(descriptions(), (QStringList{"ADATTATORE CAVO", "A_B", "CAVO"}));
    EXPECT_TRUE(m_search.loadMore());
    EXPECT_TRUE(m_search.loadMore());
    EXPECT_EQ(descriptions().last(), QStringLiteral("SCONTO 1000"));
    EXPECT_FALSE(m_search.hasMore());
    EXPECT_EQ(m_search.rowOf(idOf("SC01")), 5);
    m_search.showAll();
    EXPECT_EQ(m_search.allRows().size(), 7);
}

// A supplier is matched whole; an attribute only from those offered, never as SQL.
TEST_F(ItemSearchTest, SupplierSearchIsExactAndAttributesOnlyThoseOffered)
{
    m_search.bySupplier(QStringLiteral("ROSSI SRL"));
    EXPECT_EQ(descriptions(), (QStringList{"CAVO", "CAVO USB"}));
    m_search.bySupplier(QStringLiteral("ROSSI"));
    EXPECT_TRUE(descriptions().isEmpty());

    db().exec(QStringLiteral("UPDATE articoli SET autore = 'CAMILLERI', categoria = 'LIBRI' WHERE ID = :A"),
              {{QStringLiteral("A"), m_libro}});
    m_search.byAttribute(QStringLiteral("autore"), QStringLiteral("CAMILLERI"));
    EXPECT_EQ(descriptions(), QStringList{"D'AMICO LIBRO"});
    EXPECT_THROW(m_search.byAttribute(QStringLiteral("Descrizione = Descrizione OR 1"), QStringLiteral("x")),
                 std::invalid_argument);
}

TEST_F(ItemSearchTest, AdvancedSearchMessages)
{
    db().exec(QStringLiteral("UPDATE articoli SET isbn = '978-88-04', categoria = 'LIBRI' WHERE ID = :A"),
              {{QStringLiteral("A"), m_libro}});
    ct::ScriptedDialogs dialogs;
    stock::RicercaAvanzata search(db(), dialogs);
    EXPECT_FALSE(search.search(QStringLiteral("  ")));
    EXPECT_FALSE(search.search(QStringLiteral("978-88-04")));
    EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("Inserire un valore di ricerca!"),
                                               QStringLiteral("Articolo non trovato!")}));

    search.setAttribute(QStringLiteral("isbn"));
    search.setAttribute(QStringLiteral("Descrizione"));
    ASSERT_TRUE(search.search(QStringLiteral("978-88-04")));
    EXPECT_EQ(search.result().values.value(QStringLiteral("attributo")).toString(), QStringLiteral("isbn"));
}

} // namespace
