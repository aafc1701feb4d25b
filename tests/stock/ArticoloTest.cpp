#include "stock/Articolo.h"

#include "stock/ItemLifecycle.h"
#include "stock/ItemSerials.h"
#include "stock/ItemSupplierRows.h"

#include "core/Db.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/Login.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::DialogEvent;
using stock::Articolo;

namespace {

const QString LeaveQuestion =
    QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?");

class ArticoloTest : public ct::StockSuite<ArticoloTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "magazzini", "articoli_fornitori", "fornitori", "seriali",
                     "carichi", "venduti", "categorie", "linea", "gruppi_taglie"});
        db().exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = ''"));
        m_warehouse = addWarehouse(QStringLiteral("MAGAZZINO CENTRALE"));
        ct::logIn(m_session, {core::Privilege::FullAccess}, m_warehouse,
                  {1, QStringLiteral("Admin"), {}, {}, {}});
    }

    static int addItem(const QString& code, const QString& barcode, double pubblico = 10)
    {
        return StockSuite::addItem(
            code, {{"BarcodeFull", barcode}, {"Pubblico", pubblico}, {"Aliquota", 22}, {"giacenza", 3}});
    }

    core::Field stored(int id, const QString& column)
    {
        return db().scalar(QStringLiteral("SELECT `%1` FROM articoli WHERE ID = :ID").arg(column),
                           {{QStringLiteral("ID"), id}});
    }

    core::Money money(const QString& column)
    {
        return core::Money::fromDouble(m_card.value(column).toDouble());
    }
    static core::Money m(const char* text) { return *core::Money::parse(QString::fromLatin1(text)); }

    core::Warehouse m_warehouse;
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    Articolo m_card{company().db(), m_session, m_dialogs, m_navigator};
};

TEST_F(ArticoloTest, ANewItemLeftWithAnnullaLeavesNothing)
{
    const int id = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ASSERT_TRUE(m_card.open(id, Articolo::Opening::NewItem));

    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("CAVO USB"));
    // The supplier tab writes its row at once; leaving the new item takes it away too.
    m_navigator.returnFrom(
        QStringLiteral("TFornitoriPreleva"),
        core::NavigationResult{true, 7, {{QStringLiteral("RagSoc"), QStringLiteral("CAVI SRL")}}});
    ASSERT_TRUE(m_card.addSupplierRow());
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.leave()) << "No: the card stays";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 1);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_card.leave());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm), (QStringList{LeaveQuestion, LeaveQuestion}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli_fornitori")), 0);

    // Saved, a new item stays; an existing item is never removed on leaving.
    const int saved = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ASSERT_TRUE(m_card.open(saved, Articolo::Opening::NewItem));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("Pubblico"), QStringLiteral("9,90")));
    ASSERT_TRUE(m_card.save()) << m_dialogs.lastText().toStdString();
    EXPECT_TRUE(m_card.leave());
    ASSERT_TRUE(m_card.open(saved));
    EXPECT_TRUE(m_card.leave());
    EXPECT_EQ(stored(saved, QStringLiteral("Pubblico")).toMoney(), m("9.90"));
}

TEST_F(ArticoloTest, TheDepartmentSetsTheVatRate)
{
    const int id = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ASSERT_TRUE(m_card.open(id, Articolo::Opening::NewItem));
    m_card.chooseDepartment(5);
    m_card.setValue(QStringLiteral("Pubblico"), 5.0);
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(stored(id, QStringLiteral("Aliquota")).toInt(), 0);
    EXPECT_EQ(stored(id, QStringLiteral("idreparto")).toInt(), 5);
}

TEST_F(ArticoloTest, PriceFieldsRecomputeWhatFollowsFromThem)
{
    // The figures themselves are worked out in ItemPricingTest; here, which field moves which.
    const int id = addItem(QStringLiteral("A1"), QStringLiteral("111"));
    ASSERT_TRUE(m_card.open(id));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("10.00")));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcquisto")), m("12.20"));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("Ricarico%"), QStringLiteral("30")));
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("15.86"));

    // The discounted cost is worked out again from the cost and both discounts, whichever changes,
    // and the lists then mark it up.
    ASSERT_TRUE(m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("100")));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("scontoacq1"), QStringLiteral("10")));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("scontoacq2"), QStringLiteral("10")));
    EXPECT_EQ(money(QStringLiteral("acquistoscontato")), m("81.00"));
    ASSERT_TRUE(m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("200")));
    EXPECT_EQ(money(QStringLiteral("acquistoscontato")), m("162.00"));
    m_card.enterField(QStringLiteral("RICARICO1"), QStringLiteral("0"));
    m_card.listPriceFromMarkup(1);
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("197.64"));

    ASSERT_TRUE(m_card.save()) << m_dialogs.lastText().toStdString();
    EXPECT_EQ(stored(id, QStringLiteral("Pubblico")).toMoney(), m("197.64"));
}

TEST_F(ArticoloTest, BadNumbersAreRefusedAndTheFieldKeepsItsValue)
{
    ASSERT_TRUE(m_card.open(addItem(QStringLiteral("A1"), {})));
    EXPECT_FALSE(m_card.listMarkupFromPrice(1)) << "no cost to mark up";
    EXPECT_EQ(
        m_dialogs.messages(),
        QStringList{QStringLiteral("Inserire il costo d'acquisto: senza costo non si calcola il ricarico")});
    m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("4,5"));
    const struct
    {
        const char* column;
        const char* typed;
        const char* message;
    } cases[] = {
        {"PrezzoAcqnoiva", "abc", "Costo non valido: inserire un importo non negativo"},
        {"Listino2", "abc", "Valore non valido: inserire un numero"},
        {"Ricarico%", "12,5", "Valore non valido: inserire un numero intero da 0 a 999999999"},
        {"scontoacq1", "dieci", "Sconto non valido: inserire un numero intero da 0 a 100"},
        {"Aliquota", "101", "Aliquota IVA non valida: inserire un numero intero da 0 a 100"},
    };
    for (const auto& c : cases) {
        m_dialogs.clear();
        EXPECT_FALSE(m_card.enterField(QString::fromLatin1(c.column), QString::fromLatin1(c.typed)));
        EXPECT_EQ(m_dialogs.messages(), QStringList{QString::fromUtf8(c.message)});
    }
    EXPECT_EQ(money(QStringLiteral("PrezzoAcqnoiva")), m("4.50"));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcquisto")), m("5.49"));
    EXPECT_EQ(m_card.value(QStringLiteral("Ricarico%")).toLongLong(), 0);
}

TEST_F(ArticoloTest, SaveRefusesTakenCodesAndAMissingPublicPrice)
{
    addItem(QStringLiteral("TAKEN"), QStringLiteral("8001234567895"));
    const int id = addItem(QStringLiteral("MINE"), QStringLiteral("8000000000007"));
    const struct
    {
        const char* column;
        QVariant value;
        const char* message;
    } cases[] = {
        {"BarcodeFull", QStringLiteral("8001234567895"),
         "Barcode già assegnato ad altro articolo, riprovare"},
        {"CodArticolo", QStringLiteral("TAKEN"), "Codice già assegnato ad altro articolo, riprovare"},
        {"Pubblico", QVariant(), "Attenzione! Inserire il prezzo al pubblico"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        m_dialogs.clear();
        ASSERT_TRUE(m_card.open(id));
        m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("CHANGED"));
        m_card.setValue(QString::fromLatin1(c.column), c.value);
        EXPECT_FALSE(m_card.save());
        EXPECT_EQ(m_dialogs.messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(m_card.failedField(), QString::fromLatin1(c.column));
        EXPECT_EQ(stored(id, QStringLiteral("Descrizione")).toString(), QStringLiteral("MINE"));
    }

    // The barcode is checked before the code: both taken, the barcode is told.
    m_dialogs.clear();
    m_card.setValue(QStringLiteral("Pubblico"), 1.0);
    m_card.setValue(QStringLiteral("BarcodeFull"), QStringLiteral("8001234567895"));
    m_card.setValue(QStringLiteral("CodArticolo"), QStringLiteral("TAKEN"));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Barcode già assegnato ad altro articolo, riprovare")});

    // An item deleted meanwhile is not reported as saved.
    m_dialogs.clear();
    const int gone = addItem(QStringLiteral("GONE"), {});
    ASSERT_TRUE(m_card.open(gone));
    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("ALTRO"));
    db().exec(QStringLiteral("DELETE FROM articoli WHERE ID = :ID"), {{QStringLiteral("ID"), gone}});
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("L'articolo non esiste più: le modifiche non sono state salvate")});

    // Its own unchanged codes are no obstacle.
    ASSERT_TRUE(m_card.open(id));
    EXPECT_TRUE(m_card.save());
}

TEST_F(ArticoloTest, TwoWorkstationsCannotGiveOneBarcodeToTwoItems)
{
    const int mine = addItem(QStringLiteral("MINE"), {});
    const int theirs = addItem(QStringLiteral("THEIRS"), {});
    ASSERT_TRUE(m_card.open(mine));
    m_card.setValue(QStringLiteral("BarcodeFull"), QStringLiteral("8001234567895"));

    // The other card is saving the same barcode on its item (the lock the item card saves codes under).
    const auto other = company().newConnection();
    ct::HalfDoneCommand theirSave(
        *other, QStringLiteral("articoli.codici"),
        QStringLiteral("UPDATE articoli SET BarcodeFull = '8001234567895' WHERE ID = :ID"),
        {{QStringLiteral("ID"), theirs}});
    bool saved = true;
    ct::Workstation here(db());
    here.start([&](core::Db&) { saved = m_card.save(); });
    EXPECT_TRUE(here.waitsAtNamedLock(*other));
    theirSave.finish();
    here.finish();

    EXPECT_FALSE(saved);
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Barcode già assegnato ad altro articolo, riprovare")});
    EXPECT_EQ(stored(mine, QStringLiteral("BarcodeFull")).toString(), QString());
}

TEST_F(ArticoloTest, TwoWorkstationsAddingOneCategoryAddItOnceAndTooLongIsRefused)
{
    ASSERT_TRUE(m_card.open(addItem(QStringLiteral("A1"), {})));
    const auto other = company().newConnection();
    ct::HalfDoneCommand theirAdd(*other, QStringLiteral("categorie"),
                                 QStringLiteral("INSERT INTO categorie (Descrizione) VALUES ('ACCESSORI')"),
                                 {});
    m_dialogs.answerText(QStringLiteral("accessori"));
    std::optional<QString> added;
    ct::Workstation here(db());
    here.start([&](core::Db&) { added = m_card.addClassificationValue(stock::Classification::Categoria); });
    EXPECT_TRUE(here.waitsAtNamedLock(*other));
    theirAdd.finish();
    here.finish();

    EXPECT_EQ(added, QStringLiteral("ACCESSORI"));
    EXPECT_EQ(m_card.value(QStringLiteral("Categoria")).toString(), QStringLiteral("ACCESSORI"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM categorie WHERE Descrizione = 'ACCESSORI'")), 1);

    m_dialogs.answerText(QStringLiteral("estate duemilaventisei ok"));
    EXPECT_EQ(m_card.addClassificationValue(stock::Classification::Linea), std::nullopt);
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("La descrizione può contenere al massimo 20 caratteri")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM linea")), 0);
}

TEST_F(ArticoloTest, EmptyCodesOfferToGenerateAndTheSupplierCodeMustBeFree)
{
    const int other = addItem(QStringLiteral("OTHER"), {});
    db().exec(QStringLiteral("UPDATE articoli SET codartforn = 'F-100' WHERE ID = :ID"),
              {{QStringLiteral("ID"), other}});
    ASSERT_TRUE(m_card.open(addItem(QString(), QString())));

    m_dialogs.answerConfirm(false).answerConfirm(true);
    m_card.leaveCodeField();
    EXPECT_EQ(m_card.value(QStringLiteral("CodArticolo")).toString(), QString());
    m_card.leaveBarcodeField();
    EXPECT_EQ(m_card.value(QStringLiteral("BarcodeFull")).toString(), QStringLiteral("8005001002000"));

    m_dialogs.clear();
    m_card.setValue(QStringLiteral("codartforn"), QStringLiteral("F-100"));
    EXPECT_FALSE(m_card.leaveSupplierCodeField());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Codice già assegnato ad altro Fornitore!")});
    EXPECT_EQ(m_card.value(QStringLiteral("codartforn")).toString(), QString());
    m_card.setValue(QStringLiteral("codartforn"), QStringLiteral("F-101"));
    EXPECT_TRUE(m_card.leaveSupplierCodeField());
}

TEST_F(ArticoloTest, DeletingASerialLowersTheStockAndInfoTellsItsLoad)
{
    const int id = addItem(QStringLiteral("PHONE"), {});
    db().exec(QStringLiteral(
        "INSERT INTO carichi (idCarico, NumDoc, NumeroCarico, TipoDoc, Fornitore, data, Datadoc) "
        "VALUES (77, 'FT 12', 5, 'FATTURA', 'TELEFONIA SPA', '2026-03-02', '2026-03-01')"));
    db().exec(QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idCarico, idMagazzino) VALUES "
                             "(:ID, '350000000000001', 77, :M), (:ID, '350000000000002', 77, :M), "
                             "(:ID, '350000000000003', 77, :M + 1)"),
              {{QStringLiteral("ID"), id}, {QStringLiteral("M"), m_warehouse.id}});
    ASSERT_TRUE(m_card.open(id));
    const core::Rows serials = m_card.serials().rows();
    ASSERT_EQ(serials.size(), 2) << "only the current warehouse";
    const int first = serials.value(0, "ID").toInt();

    m_card.serials().showInfo(first);
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Data Carico      02/03/2026\n"
                                                               "Numero Carico    5\n"
                                                               "Fornitore        TELEFONIA SPA\n"
                                                               "Documento        FATTURA\n"
                                                               "Nr. Documento    FT 12\n"
                                                               "Data Documento   01/03/2026")});

    m_dialogs.clear();
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(m_card.serials().remove(first));
    EXPECT_TRUE(m_card.serials().remove(first));
    EXPECT_EQ(stored(id, QStringLiteral("giacenza")).toInt(), 2);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(Evento, ' ', Seriale, ' ', Magazzino) FROM storicoseriali "
                                   "WHERE idArticolo = :ID"),
                    {{QStringLiteral("ID"), id}})
            .toString(),
        QStringLiteral("Eliminato 350000000000001 ") + m_warehouse.name);

    // Without the privilege to delete nothing goes.
    m_session.logIn(m_session.currentOperator(), m_warehouse, core::Privileges());
    EXPECT_FALSE(m_card.serials().remove(m_card.serials().rows().value(0, "ID").toInt()));
    EXPECT_EQ(m_card.serials().rows().size(), 1);
}

TEST_F(ArticoloTest, SupplierRowsAreAddedShownAndDeleted)
{
    db().exec(QStringLiteral("INSERT INTO fornitori (RagSoc) VALUES ('TELEFONIA SPA')"));
    const int idFornitore = int(db().lastInsertId());
    const int id = addItem(QStringLiteral("PHONE"), {});
    ASSERT_TRUE(m_card.open(id));
    m_card.enterField(QStringLiteral("PrezzoAcqnoiva"), QStringLiteral("150"));
    EXPECT_FALSE(m_card.supplierRows().remove(0));
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Selezionare prima una riga"));
    m_dialogs.clear();
    core::NavigationResult picked{true,
                                  idFornitore,
                                  {{QStringLiteral("id_fornitore"), idFornitore},
                                   {QStringLiteral("RagSoc"), QStringLiteral("TELEFONIA SPA")}}};
    // A supplier chosen twice is refused (ItemRowsTest, from two workstations at once).
    m_navigator.returnFrom(QStringLiteral("TFornitoriPreleva"), picked);
    EXPECT_TRUE(m_card.addSupplierRow());
    const core::Rows rows = m_card.supplierRows().rows();
    ASSERT_EQ(rows.size(), 1);
    const int row = rows.value(0, "id").toInt();

    // Choosing the supplier on the card takes its cost for this item and prices list 1.
    db().exec(QStringLiteral("UPDATE articoli_fornitori SET Acquisto = 10 WHERE id = :ID"),
              {{QStringLiteral("ID"), row}});
    m_card.enterField(QStringLiteral("RICARICO1"), QStringLiteral("30"));
    m_card.chooseSupplier(QStringLiteral("TELEFONIA SPA"));
    EXPECT_EQ(money(QStringLiteral("PrezzoAcqnoiva")), m("10.00"));
    EXPECT_EQ(money(QStringLiteral("Pubblico")), m("15.86"));
}

TEST_F(ArticoloTest, SupplierRowEditsAreCheckedFirstThenWrittenTogether)
{
    const int id = addItem(QStringLiteral("PHONE"), {});
    db().exec(QStringLiteral(
                  "INSERT INTO articoli_fornitori (idArticolo, Fornitore, Codice, Acquisto, Iva, Sconto1) "
                  "VALUES (:ID, 'TELEFONIA SPA', 'T-1', 100, 22, 5), (:ID, 'RICAMBI SRL', 'R-1', 90, 22, 0)"),
              {{QStringLiteral("ID"), id}});
    ASSERT_TRUE(m_card.open(id));
    stock::ItemSupplierRows& rows = m_card.supplierRows();
    const qint64 first = rows.rows().value(0, "id").toInt64();
    const qint64 second = rows.rows().value(1, "id").toInt64();
    auto storedRow = [&](qint64 key, const char* column) {
        return db().scalar(
            QStringLiteral("SELECT `%1` FROM articoli_fornitori WHERE id = :ID").arg(QLatin1String(column)),
            {{QStringLiteral("ID"), key}});
    };

    const QString cost = QStringLiteral("Costo non valido: inserire un importo non negativo");
    const struct
    {
        const char* column;
        QString typed;
        QString message;
    } refused[] = {
        {"Acquisto", QStringLiteral("-1"), cost},
        {"Codice", QString(51, u'X'), QStringLiteral("Testo troppo lungo: al massimo 50 caratteri")},
    };
    for (const auto& refusal : refused) {
        core::RowEdits edits;
        edits.set(first, QStringLiteral("Acquisto"), QStringLiteral("12,50")); // fine, but not written alone
        edits.set(second, QString::fromLatin1(refusal.column), refusal.typed);
        m_dialogs.clear();
        EXPECT_FALSE(rows.save(edits)) << refusal.column;
        EXPECT_EQ(m_dialogs.messages(), QStringList{refusal.message}) << refusal.column;
        EXPECT_EQ(rows.failedCell().column, QString::fromLatin1(refusal.column));
        EXPECT_EQ(storedRow(first, "Acquisto").toMoney(), m("100"))
            << "nothing is written before every cell passed";
    }

    core::RowEdits edits;
    edits.set(first, QStringLiteral("acquisto"), QStringLiteral("1.234,5"));
    edits.set(first, QStringLiteral("Sconto1"), QString());
    edits.set(second, QStringLiteral("Codice"), QStringLiteral("  R-2 "));
    edits.set(second, QStringLiteral("Iva"), QStringLiteral("10"));
    EXPECT_TRUE(rows.save(edits));
    EXPECT_EQ(storedRow(first, "Acquisto").toMoney(), m("1234.5"));
    EXPECT_EQ(storedRow(first, "Sconto1").toInt(), 0) << "an emptied discount is no discount";
    EXPECT_EQ(storedRow(second, "Acquisto").toMoney(), m("90")) << "columns not edited stay";

    // A row deleted meanwhile by another workstation: nothing of the save is kept.
    db().exec(QStringLiteral("DELETE FROM articoli_fornitori WHERE id = :ID"),
              {{QStringLiteral("ID"), second}});
    core::RowEdits late;
    late.set(first, QStringLiteral("Codice"), QStringLiteral("T-9"));
    late.set(second, QStringLiteral("Codice"), QStringLiteral("R-9"));
    m_dialogs.clear();
    EXPECT_FALSE(rows.save(late));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral(
                  "Il fornitore modificato non esiste più: le modifiche non sono state salvate")});
    EXPECT_EQ(storedRow(first, "Codice").toString(), QStringLiteral("T-1"));
}

TEST_F(ArticoloTest, SerialNumbersCorrectedInTheGridStayUniqueAndNotEmpty)
{
    const int id = addItem(QStringLiteral("PHONE"), {});
    const int other = addItem(QStringLiteral("TABLET"), {});
    db().exec(QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idMagazzino) VALUES "
                             "(:ID, 'IMEI-A', :M), (:ID, 'IMEI-B', :M), (:OTHER, 'IMEI-C', :M + 1)"),
              {{QStringLiteral("ID"), id},
               {QStringLiteral("OTHER"), other},
               {QStringLiteral("M"), m_warehouse.id}});
    ASSERT_TRUE(m_card.open(id));
    stock::ItemSerials& serials = m_card.serials();
    const qint64 a = serials.rows().value(0, "ID").toInt64();
    const qint64 b = serials.rows().value(1, "ID").toInt64();
    auto serialsNow = [] { return rows(QStringLiteral("SELECT Seriale FROM seriali ORDER BY ID")); };
    const QStringList before{QStringLiteral("IMEI-A"), QStringLiteral("IMEI-B"), QStringLiteral("IMEI-C")};
    const QString taken =
        QStringLiteral("Attenzione! Il Seriale inserito risulta già presente nell'archivio");

    const struct
    {
        QList<std::pair<qint64, QString>> edits;
        QString message;
        qint64 failedKey;
    } refused[] = {
        {{{a, QStringLiteral("   ")}},
         QStringLiteral("Attenzione! Inserire nella casella di testo un seriale da caricare."),
         a},
        {{{a, QStringLiteral("imei-c")}},
         taken,
         a}, // another item's, in another warehouse, other letter case
        {{{a, QStringLiteral("IMEI-B")}, {b, QStringLiteral("IMEI-A")}}, taken, a}, // a swap is refused
    };
    for (const auto& refusal : refused) {
        core::RowEdits edits;
        for (const auto& [key, typed] : refusal.edits)
            edits.set(key, QStringLiteral("Seriale"), typed);
        m_dialogs.clear();
        EXPECT_FALSE(serials.save(edits));
        EXPECT_EQ(m_dialogs.messages(), QStringList{refusal.message});
        EXPECT_EQ(serials.failedCell().key, refusal.failedKey);
        EXPECT_EQ(serialsNow(), before);
    }

    // A number freed earlier in the same save may be taken by the next row.
    core::RowEdits edits;
    edits.set(a, QStringLiteral("Seriale"), QStringLiteral(" IMEI-Z "));
    edits.set(b, QStringLiteral("Seriale"), QStringLiteral("IMEI-A"));
    EXPECT_TRUE(serials.save(edits));
    EXPECT_EQ(serialsNow(),
              (QStringList{QStringLiteral("IMEI-Z"), QStringLiteral("IMEI-A"), QStringLiteral("IMEI-C")}));
}

TEST_F(ArticoloTest, AnItemMadeForANewSerialHasItsCodesLookedUpAgainOnSaving)
{
    const int existing = addItem(QStringLiteral("DUP"), QStringLiteral("8000000000001"));
    const int made = addItem(QStringLiteral("DUP"), QStringLiteral("8000000000002"));
    ASSERT_GT(existing, 0);

    // Opened as any new item, the code typed before is not looked up again.
    ASSERT_TRUE(m_card.open(made, Articolo::Opening::NewItem));
    EXPECT_TRUE(m_card.save());

    ASSERT_TRUE(m_card.open(made, Articolo::Opening::NewItemOfSerial));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Codice già assegnato ad altro articolo, riprovare")});
    EXPECT_EQ(m_card.failedField(), QStringLiteral("CodArticolo"));
}

TEST_F(ArticoloTest, AnImageIsLoadedAsBitmapOrJpegOnly)
{
    QTemporaryDir dir;
    const QByteArray jpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10);
    const QString text = dir.filePath(QStringLiteral("note.txt"));
    const QString photo = dir.filePath(QStringLiteral("foto.jpg"));
    ct::writeFile(text, "testo");
    ct::writeFile(photo, jpeg);
    const int id = addItem(QStringLiteral("A1"), {});
    ASSERT_TRUE(m_card.open(id));
    m_dialogs.answerFile(text).answerFile(photo);
    EXPECT_FALSE(m_card.loadImage());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Formato non supportato: scegliere un'immagine BMP o JPEG")});
    ASSERT_TRUE(m_card.loadImage());
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(stored(id, QStringLiteral("Immagine")).toBytes(), jpeg);
}

// The rows of the card's tabs (serials, suppliers) written meanwhile by another workstation.
TEST_F(ArticoloTest, DeletingASerialAlreadyGoneSaysSoAndRereadsTheGrid)
{
    const int phone = addItem(QStringLiteral("TEL"), {});
    db().exec(
        QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idMagazzino) VALUES (:A, '3500001', :M)"),
        {{QStringLiteral("A"), phone}, {QStringLiteral("M"), m_warehouse.id}});
    const int serial = int(db().lastInsertId());
    ct::ScriptedDialogs dialogs;
    stock::ItemSerials serials(db(), m_session, dialogs);
    serials.setItem(phone);
    // Sold on another workstation while the card was open.
    company().newConnection()->exec(QStringLiteral("DELETE FROM seriali WHERE ID = :ID"),
                                    {{QStringLiteral("ID"), serial}});

    int rereads = 0;
    QObject::connect(&serials, &stock::ItemSerials::rowsChanged, [&] { ++rereads; });
    dialogs.answerConfirm(true);
    EXPECT_FALSE(serials.remove(serial));
    EXPECT_EQ(dialogs.texts(ct::DialogEvent::Kind::Information),
              QStringList{QStringLiteral("Il seriale selezionato non esiste più")});
    EXPECT_EQ(rereads, 1);
    EXPECT_EQ(count(QStringLiteral("SELECT giacenza FROM articoli")), 3) << "no piece less for nothing";
}

TEST_F(ArticoloTest, TwoWorkstationsAddingTheSameSupplierMakeOneRow)
{
    const int phone = addItem(QStringLiteral("TEL"), {});
    db().exec(QStringLiteral("INSERT INTO fornitori (RagSoc) VALUES ('TELEFONIA SPA')"));
    const int supplier = int(db().lastInsertId());
    struct Tab
    {
        ct::ScriptedDialogs dialogs;
        ct::RecordingNavigator navigator;
        bool added = false;
    };
    auto add = [&](Tab& tab) {
        tab.navigator.returnFrom(
            QStringLiteral("TFornitoriPreleva"),
            {true, supplier, {{QStringLiteral("RagSoc"), QStringLiteral("TELEFONIA SPA")}}});
        return [&, this](core::Db& own) {
            stock::ItemSupplierRows rows(own, m_session, tab.dialogs, tab.navigator);
            rows.setItem(phone);
            tab.added = rows.add({});
        };
    };
    Tab first;
    Tab second;
    ct::Workstation one(company().newConnection());
    ct::Workstation two(company().newConnection());
    {
        // The first workstation is held after its check, as it writes the row.
        ct::InsertGate gate(db(), QStringLiteral("articoli_fornitori"));
        one.start(add(first));
        EXPECT_TRUE(one.waitsAtNamedLock(db()));
        two.start(add(second));
        EXPECT_TRUE(two.waitsAtNamedLock(db()));
    }
    one.finish();
    two.finish();

    EXPECT_TRUE(first.added);
    EXPECT_FALSE(second.added);
    EXPECT_EQ(second.dialogs.messages(),
              QStringList{QStringLiteral("Il fornitore scelto è già tra i fornitori dell'articolo")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli_fornitori")), 1);
}

} // namespace
