#include "stock/loads/Carichi.h"
#include "stock/loads/Carico.h"
#include "stock/loads/CaricoSpeed.h"
#include "stock/loads/LoadSaving.h"

#include "core/Db.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "stock/StockRealignment.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/sizes/LoadSizeGrid.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/Login.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// The tables a load writes, summed up: equal snapshots mean the command left nothing behind.
struct Snapshot
{
    QStringList figures;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& snapshot, std::ostream* os)
{
    *os << snapshot.figures.join(QStringLiteral(" | ")).toStdString();
}

core::Operator mario()
{
    core::Operator who;
    who.id = 3;
    who.nome = QStringLiteral("MARIO");
    return who;
}

stock::LoadHeaderFields supplierFields(int supplier, const QString& payment = {})
{
    stock::LoadHeaderFields fields;
    fields.idFornitore = supplier;
    fields.tipoPagamento = payment;
    return fields;
}

class LoadsTest : public ct::CompanySuite<LoadsTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"carichi",
                     "dettcarico",
                     "acquisti",
                     "articoli",
                     "giacenze",
                     "seriali",
                     "storicoseriali",
                     "lotti",
                     "prima_nota",
                     "fornitori",
                     "articoli_fornitori",
                     "pagamenti",
                     "magazzini",
                     "etichette",
                     "caricotc",
                     "caricotcdoc",
                     "acquisizioni",
                     "causaligeneriche",
                     "venduti",
                     "dettreso"});
        db().exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'NEGOZIO'), "
                                 "(2, 'DEPOSITO')"));
        db().exec(
            QStringLiteral("INSERT INTO fornitori (id_fornitore, RagSoc, PIva, Pagamento) VALUES "
                           "(7, 'TELEFONIA SPA', '01234567890', 'CONTANTI'), (8, 'ALTRO SRL', '', '')"));
        db().exec(
            QStringLiteral("INSERT INTO pagamenti (Descrizione, modalita) VALUES ('CONTANTI', 'Contanti'), "
                           "('BONIFICO 30GG', 'Bonifico')"));
        ct::logIn(m_session, {core::Privilege::Magazzino, core::Privilege::Cancellazione},
                  {1, QStringLiteral("NEGOZIO")}, mario());
    }

    static int item(const QString& code, double cost = 10, const QString& umVendita = QStringLiteral("PZ"),
                    bool serial = false)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO articoli (CodArticolo, Descrizione, BarcodeFull, UM, UMVENDITA, Aliquota, "
                      "PrezzoAcqnoiva, Fornitore, giacenza, Disponibilita, Seriale, TC, Pubblico) "
                      "VALUES (:C, CONCAT('ARTICOLO ', :C), CONCAT('800', :C), :U, :U, 22, :P, "
                      "'TELEFONIA SPA', 0, 0, :S, FALSE, 19.9)"),
                  {{QStringLiteral("C"), code},
                   {QStringLiteral("U"), umVendita},
                   {QStringLiteral("P"), cost},
                   {QStringLiteral("S"), serial}});
        return int(db().lastInsertId());
    }

    std::unique_ptr<stock::Carico> openNew(int supplier = 7)
    {
        auto carico =
            std::make_unique<stock::Carico>(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
        EXPECT_TRUE(carico->open(stock::LoadStore(db()).create(m_session), stock::Carico::Mode::New));
        if (supplier > 0)
            carico->setSupplier(supplier);
        return carico;
    }

    // A row through the dialog as the operator fills it.
    static bool addRow(stock::Carico& carico, int idArticolo, const QString& quantity,
                       const QString& price = {}, const QString& discount1 = {},
                       const QString& discount2 = {})
    {
        std::unique_ptr<stock::CaricoDialogo> row = carico.rowForItem(idArticolo);
        if (!row)
            return false;
        row->setQuantityText(quantity);
        if (!price.isEmpty())
            row->setPriceText(price);
        if (!discount1.isEmpty())
            row->setDiscount1Text(discount1);
        if (!discount2.isEmpty())
            row->setDiscount2Text(discount2);
        return carico.confirmRow(*row);
    }

    static double number(const QString& sql, const core::Params& params = {})
    {
        return db().scalar(sql, params).toDouble();
    }
    static double mirror(int item)
    {
        return number(QStringLiteral("SELECT giacenza FROM articoli WHERE ID = :A"),
                      {{QStringLiteral("A"), item}});
    }
    static double stock(int item, int warehouse = 1)
    {
        return number(
            QStringLiteral("SELECT IFNULL(SUM(giacenza), 0) FROM giacenze WHERE idarticolo = :A AND "
                           "idmagazzino = :M"),
            {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}});
    }

    static Snapshot snapshot()
    {
        Snapshot s;
        for (const char* sql :
             {"SELECT CONCAT(COUNT(*), '/', IFNULL(SUM(totaledocumento), 0), '/', IFNULL(MAX(Fornitore), "
              "'')) FROM carichi",
              "SELECT CONCAT(COUNT(*), '/', IFNULL(SUM(quantita), 0)) FROM dettcarico",
              "SELECT CONCAT(COUNT(*), '/', IFNULL(SUM(quantita), 0)) FROM acquisti",
              "SELECT CONCAT(IFNULL(SUM(giacenza), 0), '/', IFNULL(SUM(Disponibilita), 0)) FROM articoli",
              "SELECT CONCAT(IFNULL(SUM(giacenza), 0), '/', IFNULL(SUM(disponibilita), 0)) FROM giacenze",
              "SELECT CONCAT(COUNT(*), '/', IFNULL(SUM(Disponibile), 0)) FROM seriali",
              "SELECT COUNT(*) FROM prima_nota"})
            s.figures << db().scalar(QString::fromLatin1(sql)).toString();
        return s;
    }

    QTemporaryDir m_data;
    core::Paths m_paths{m_data.path(), QStringLiteral(CARVENDO_SOURCE_DIR)};
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    ct::RecordingReportOutput m_reports;
};

TEST_F(LoadsTest, FirstLoadOfTheYearIsNumberOne)
{
    db().exec(
        QStringLiteral("INSERT INTO carichi (NumeroCarico, Anno) VALUES (250, YEAR(CURRENT_DATE) - 1)"));
    stock::LoadStore store(db());
    const int first = store.create(m_session);
    const int second = store.create(m_session);
    EXPECT_EQ(store.read(first).numero, 1);
    EXPECT_EQ(store.read(second).numero, 2);
    EXPECT_EQ(store.read(first).magazzino, QStringLiteral("NEGOZIO"));
}

TEST_F(LoadsTest, RowCostTotalsAndPhysicalPieces)
{
    const int phone = item(QStringLiteral("A1"));
    const int cheese = item(QStringLiteral("K1"), 4, QStringLiteral("KG"));
    auto carico = openNew();
    m_dialogs.answerConfirm(false); // cost 9,00 differs from 10,00: the card is not opened
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("2"), QStringLiteral("10,00"), QStringLiteral("10"),
                       QStringLiteral("5")));
    ASSERT_TRUE(addRow(*carico, cheese, QStringLiteral("2,5")));

    const core::Rows rows = carico->rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.value(0, "PrezzoAcquisto").toMoney(), core::Money::fromInt(9));
    EXPECT_EQ(rows.value(0, "SubTotaleIvato").toMoney(), core::Money::fromDouble(21.96));
    EXPECT_EQ(rows.value(1, "QFISICA").toInt(), 1) << "2,5 KG count one package";
    EXPECT_EQ(carico->header().totaleDocumento, core::Money::fromDouble(34.16));
    EXPECT_EQ(carico->header().totaleArticoli, 3);
    EXPECT_EQ(mirror(cheese), 2.5);
    EXPECT_EQ(number(QStringLiteral("SELECT LastAcquisto FROM articoli WHERE ID = :A"),
                     {{QStringLiteral("A"), phone}}),
              9.0);
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{stock::LoadItems::costChangedQuestion()});
}

TEST_F(LoadsTest, RowsAndSaveAreRefusedWithoutSupplierQuantityOrRows)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew(0);
    EXPECT_FALSE(carico->save());
    EXPECT_FALSE(carico->rowForItem(phone));
    EXPECT_TRUE(carico->supplierWanted());
    carico->setSupplier(7);
    for (const QString& quantity : {QString(), QStringLiteral("0"), QStringLiteral("-1")})
        EXPECT_FALSE(addRow(*carico, phone, quantity)) << quantity.toStdString();
    EXPECT_FALSE(carico->save());
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{"Attenzione! Scegliere un Fornitore", stock::Carico::supplierFirstMessage(),
                           "Inserire una quantità!", "Inserire una quantità!", "Inserire una quantità!",
                           "Attenzione! Inserire almeno un'articolo"}));
    EXPECT_TRUE(carico->rows().isEmpty());
}

TEST_F(LoadsTest, SameItemTwiceAddsToOneRowWhoseRemovalKeepsNoPurchaseHistory)
{
    const int phone = item(QStringLiteral("A1"));
    db().exec(QStringLiteral("UPDATE articoli SET giacenza = 1.25, Disponibilita = 1.25"));
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("2")));
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("3")));
    ASSERT_EQ(carico->rows().size(), 1);
    EXPECT_EQ(carico->rows().value(0, "quantita").toDouble(), 5.0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM acquisti")), 2.0);
    EXPECT_EQ(stock(phone), 5.0);

    ASSERT_TRUE(carico->removeRow(carico->rows().value(0, "id").toInt()));
    EXPECT_EQ(mirror(phone), 1.25) << "lowered by the exact quantity";
    EXPECT_EQ(stock(phone), 0.0);
    EXPECT_EQ(stock::StockRealignment(db()).realign(phone, m_session.warehouse()).stock(), 0);
    EXPECT_EQ(carico->header().totaleDocumento, core::Money());
}

TEST_F(LoadsTest, QuantityVariationMovesTheMirrorOnly)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("2")));
    const int row = carico->rows().value(0, "id").toInt();
    const Snapshot before = snapshot();
    m_dialogs.answerText(QStringLiteral("due"));
    EXPECT_FALSE(carico->varyQuantity(row));
    EXPECT_EQ(snapshot(), before);
    m_dialogs.answerText(QStringLiteral("-0,5"));
    ASSERT_TRUE(carico->varyQuantity(row));
    EXPECT_EQ(mirror(phone), 1.5);
    EXPECT_EQ(stock(phone), 2.0) << "the warehouse stock waits for the realignment";
}

TEST_F(LoadsTest, ShippingCostsMoveNoStock)
{
    auto carico = openNew();
    m_dialogs.answerText(QStringLiteral("abc")).answerText(QStringLiteral("12,10"));
    EXPECT_FALSE(carico->addShipping());
    ASSERT_TRUE(carico->addShipping());
    const core::Rows rows = carico->rows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.value(0, "Codice").toString(), QStringLiteral("SPED"));
    EXPECT_EQ(rows.value(0, "SubtotaleAcq").toMoney(), core::Money::fromInt(10));
    EXPECT_EQ(carico->header().totaleDocumento, core::Money::fromDouble(12.1));
    ASSERT_TRUE(carico->removeRow(rows.value(0, "id").toInt()));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 0.0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM acquisti")), 0.0);
}

TEST_F(LoadsTest, WarehouseChangeIsRefusedOnceTheLoadHasRows)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew();
    ASSERT_TRUE(carico->chooseWarehouse(QStringLiteral("DEPOSITO")));
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("1")));
    EXPECT_EQ(stock(phone, 2), 1.0) << "the load's warehouse, not the operator's";
    EXPECT_FALSE(carico->chooseWarehouse(QStringLiteral("NEGOZIO")));
    EXPECT_EQ(carico->header().magazzino, QStringLiteral("DEPOSITO"));
    EXPECT_EQ(
        m_dialogs.messages().last(),
        QStringLiteral(
            "Attenzione! Il magazzino non può essere cambiato: il carico contiene già degli articoli."));
}

TEST_F(LoadsTest, CancelOfATwoRowLoadLeavesEverythingAsBefore)
{
    const int phone = item(QStringLiteral("A1"));
    const int imei = item(QStringLiteral("S1"), 10, QStringLiteral("PZ"), true);
    db().exec(QStringLiteral("UPDATE articoli SET giacenza = 4, Disponibilita = 4"));
    const Snapshot before = snapshot();
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("3")));
    std::unique_ptr<stock::CaricoDialogo> row = carico->rowForItem(imei);
    ASSERT_TRUE(row && row->serials());
    ASSERT_TRUE(row->serials()->add(QStringLiteral("IMEI0001"), stock::SerialEntry::Button));
    ASSERT_TRUE(row->serials()->add(QStringLiteral("IMEI0002"), stock::SerialEntry::Button));
    ASSERT_TRUE(carico->confirmRow(*row));
    EXPECT_EQ(stock(imei), 2.0) << "the row quantity is the dialog's count of serials";
    std::unique_ptr<stock::CaricoDialogo> cancelled = carico->rowForItem(imei);
    ASSERT_TRUE(cancelled->serials()->add(QStringLiteral("IMEI0003"), stock::SerialEntry::Button));
    carico->cancelRow(*cancelled);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM seriali")), 2.0)
        << "a cancelled dialog's serial goes";

    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(carico->leave());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(LoadsTest, ASizeColourRowIsPostedIntoTheLoadsWarehouseAndUndoneWithTheLoad)
{
    db().exec(QStringLiteral(
        "INSERT INTO taglie_tc (DESCRIZIONE, TG1, TG2, TG3) VALUES ('ADULTO', 'S', 'M', 'L')"));
    db().exec(QStringLiteral("INSERT INTO colori (Descrizione, Colore, Codice) VALUES ('NERO', 0, 'N')"));
    const int shirt = item(QStringLiteral("T1"));
    db().exec(QStringLiteral("UPDATE articoli SET TC = TRUE, GruppoTaglia = 'ADULTO' WHERE ID = :A"),
              {{"A", shirt}});
    auto carico = openNew();
    ASSERT_TRUE(carico->chooseWarehouse(QStringLiteral("DEPOSITO")));
    std::unique_ptr<stock::CaricoDialogo> row = carico->rowForItem(shirt);
    ASSERT_TRUE(row && row->grid());
    ASSERT_TRUE(row->grid()->addColour(QStringLiteral("NERO")));
    row->grid()->setQuantity(0, 2, 3);
    row->grid()->setQuantity(0, 3, 1);
    ASSERT_TRUE(carico->confirmRow(*row));
    EXPECT_EQ(stock(shirt, 2), 4.0) << "the row quantity is the grid's total";
    carico->setPayment(QStringLiteral("CONTANTI"));
    ASSERT_TRUE(carico->save());
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(idmagazzino, '/', TG2, '/', TG3) FROM disptc")).toString(),
        QStringLiteral("2/3/1"));
    core::Transaction labels(db());
    stock::queueLoadLabels(db(), carico->id());
    labels.commit();
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(testoplus, ':', quantita) ORDER BY testoplus) "
                                   "FROM etichette"))
            .toString(),
        QStringLiteral("L:1,M:3"))
        << "one label entry per size loaded";

    stock::Carichi list(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(list.deleteLoad(carico->id()));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT(TG2, '/', TG3) FROM disptc")).toString(),
              QStringLiteral("0/0"));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM caricotcdoc")), 0.0);
    EXPECT_EQ(stock(shirt, 2), 0.0);
}

TEST_F(LoadsTest, AFailedLastWriteLeavesNothingOfTheCommand)
{
    const int phone = item(QStringLiteral("A1"));
    const int imei = item(QStringLiteral("S1"), 10, QStringLiteral("PZ"), true);
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("2")));
    const int row = carico->rows().value(0, "id").toInt();
    Snapshot before = snapshot();

    using On = ct::FailingWrite::On;
    const QString failure = ct::failingWriteMessage();
    {
        const ct::FailingWrite fault(db(), On::Update,
                                     QStringLiteral("carichi")); // the totals close every row command
        EXPECT_EQ(ct::errorOf([&] { addRow(*carico, phone, QStringLiteral("1")); }), failure);
        std::unique_ptr<stock::CaricoDialogo> serialRow = carico->rowForItem(imei);
        ASSERT_TRUE(serialRow->serials()->add(QStringLiteral("IMEI0009"), stock::SerialEntry::Button));
        EXPECT_EQ(ct::errorOf([&] { carico->confirmRow(*serialRow); }), failure);
        EXPECT_EQ(ct::errorOf([&] { carico->removeRow(row); }), failure);
        EXPECT_EQ(snapshot(), before) << "the failed row's serial is given back too";
        EXPECT_EQ(carico->rows().size(), 1);
    }
    {
        const ct::FailingWrite fault(db(), On::Insert, QStringLiteral("prima_nota"));
        carico->setPayment(QStringLiteral("CONTANTI"));
        EXPECT_EQ(ct::errorOf([&] { carico->save(); }), failure);
        EXPECT_EQ(snapshot(), before);
    }
    const ct::FailingWrite fault(db(), On::Delete, QStringLiteral("carichi"));
    m_dialogs.answerConfirm(true);
    EXPECT_EQ(ct::errorOf([&] { carico->leave(); }), failure);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(LoadsTest, AWorkstationKilledHalfWayThroughARowLeavesNothing)
{
    const int phone = item(QStringLiteral("A1"));
    const int load = stock::LoadStore(db()).create(m_session);
    stock::LoadStore(db()).write(load, supplierFields(7), m_session);
    const Snapshot before = snapshot();
    std::unique_ptr<core::Db> observer = company().newConnection();
    {
        ct::InsertGate gate(*observer, QStringLiteral("acquisti"));
        ct::Workstation other(company().newConnection());
        other.start([&](core::Db& theirs) {
            const stock::LoadTracking tracking(m_session, QStringLiteral("altra"));
            stock::LoadPosting(theirs, m_session, tracking)
                .addRow(load, stock::LoadRowValues{phone, 2, core::Money::fromInt(10), {}, {}});
        });
        ASSERT_TRUE(other.waitsAtNamedLock(*observer));
        // The row is written, its purchase not yet: the workstation goes away.
        observer->exec(QStringLiteral("KILL :ID"), {{"ID", qint64(other.db().serverThreadId())}});
        EXPECT_NE(ct::errorOf([&] { other.finish(); }), QStringLiteral("(nessun errore)"));
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(LoadsTest, TwoWorkstationsLoadingOneItemBothCount)
{
    const int phone = item(QStringLiteral("A1"));
    db().exec(QStringLiteral("UPDATE articoli SET giacenza = 0.5, Disponibilita = 0.5"));
    auto mine = openNew();
    const int theirLoad = stock::LoadStore(db()).create(m_session);
    stock::LoadStore(db()).write(theirLoad, supplierFields(7), m_session);
    std::unique_ptr<core::Db> observer = company().newConnection();
    {
        ct::InsertGate gate(*observer, QStringLiteral("acquisti"));
        ct::Workstation other(company().newConnection());
        other.start([&](core::Db& theirs) {
            const stock::LoadTracking tracking(m_session, QStringLiteral("altra"));
            stock::LoadPosting(theirs, m_session, tracking)
                .addRow(theirLoad, stock::LoadRowValues{phone, 2.25, core::Money::fromInt(10), {}, {}});
        });
        ASSERT_TRUE(other.waitsAtNamedLock(*observer));
        ct::Workstation me(db());
        me.start([&](core::Db&) { addRow(*mine, phone, QStringLiteral("3")); });
        ASSERT_TRUE(me.waitsAtNamedLock(*observer));
        observer->scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE()))"));
        other.finish();
        me.finish();
    }
    EXPECT_EQ(mirror(phone), 5.75);
    EXPECT_EQ(stock(phone), 5.25);
}

TEST_F(LoadsTest, SavingWritesOneCashBookEntryEvenFromTwoWorkstations)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("1")));
    carico->setPayment(QStringLiteral("CONTANTI"));
    std::unique_ptr<core::Db> observer = company().newConnection();
    {
        ct::InsertGate gate(*observer, QStringLiteral("prima_nota"));
        ct::Workstation first(db());
        first.start([&](core::Db&) { carico->save(); });
        ASSERT_TRUE(first.waitsAtNamedLock(*observer));
        ct::Workstation second(company().newConnection());
        second.start([&](core::Db& theirs) {
            const stock::LoadTracking tracking(m_session, QStringLiteral("altra"));
            stock::LoadSaving(theirs, m_session, tracking)
                .save(carico->id(), supplierFields(7, QStringLiteral("BONIFICO 30GG")), false);
        });
        ASSERT_TRUE(second.waitsAtTable(*observer, QStringLiteral("carichi")));
        observer->scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE()))"));
        first.finish();
        second.finish();
    }
    const core::Rows entries = db().query(QStringLiteral("SELECT * FROM prima_nota"));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.value(0, "risorsa").toString(), QStringLiteral("BANCA")) << "the last save's payment";
    EXPECT_FALSE(entries.value(0, "saldato").toBool());
    EXPECT_EQ(entries.value(0, "uscite").toMoney(), core::Money::fromDouble(12.2));
    EXPECT_EQ(entries.value(0, "descrizione").toString(),
              QStringLiteral("Doc. Carico nr. 1 del %1").arg(carico->header().data.toString("dd/MM/yyyy")));

    // Saved again with cash: still one entry, now paid from the till.
    ASSERT_TRUE(carico->save());
    EXPECT_EQ(
        db().query(QStringLiteral("SELECT risorsa, saldato FROM prima_nota")).value(0, "risorsa").toString(),
        QStringLiteral("CASSA"));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM prima_nota")), 1.0);
}

TEST_F(LoadsTest, TwoWorkstationsCancellingOneLoadUndoItOnce)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("4")));
    std::unique_ptr<core::Db> observer = company().newConnection();
    std::unique_ptr<core::Db> other = company().newConnection();
    other->begin();
    other->query(QStringLiteral("SELECT * FROM carichi WHERE idCarico = :ID FOR UPDATE"),
                 {{"ID", carico->id()}});
    ct::Workstation me(db());
    m_dialogs.answerConfirm(true);
    me.start([&](core::Db&) { carico->leave(); });
    ASSERT_TRUE(me.waitsAtTable(*observer, QStringLiteral("carichi")));
    const stock::LoadTracking tracking(m_session, {});
    stock::LoadPosting(*other, m_session, tracking).discard(carico->id());
    other->commit();
    EXPECT_EQ(ct::errorOf([&] { me.finish(); }), stock::LoadStore::goneMessage());
    EXPECT_EQ(stock(phone), 0.0);
    EXPECT_EQ(mirror(phone), 0.0);
}

TEST_F(LoadsTest, MirrorCountsAChangeMadeMeanwhile)
{
    const int phone = item(QStringLiteral("A1"));
    db().exec(QStringLiteral("UPDATE articoli SET giacenza = 1.25, Disponibilita = 1.25"));
    auto carico = openNew();
    std::unique_ptr<core::Db> observer = company().newConnection();
    std::unique_ptr<core::Db> till = company().newConnection();
    till->begin();
    till->exec(QStringLiteral("UPDATE articoli SET giacenza = giacenza - 1 WHERE ID = :A"), {{"A", phone}});
    ct::Workstation me(db());
    me.start([&](core::Db&) { addRow(*carico, phone, QStringLiteral("2,5")); });
    ASSERT_TRUE(me.waitsAtTable(*observer, QStringLiteral("articoli")));
    till->commit();
    me.finish();
    EXPECT_EQ(mirror(phone), 2.75);
}

TEST_F(LoadsTest, PricesComeFromTheSuppliersCatalogueAndAnAcceptedCostChangeOpensTheCard)
{
    const int phone = item(QStringLiteral("A1"), 10);
    db().exec(
        QStringLiteral("INSERT INTO articoli_fornitori (idArticolo, idFornitore, Acquisto, Sconto1, Sconto2) "
                       "VALUES (:A, 8, 7.5, 3, 2)"),
        {{"A", phone}});
    auto other = openNew(8);
    std::unique_ptr<stock::CaricoDialogo> row = other->rowForItem(phone);
    EXPECT_EQ(row->priceText(), QStringLiteral("7,50"));
    EXPECT_EQ(row->discount1Text(), QStringLiteral("3,00"));
    auto own = openNew(7);
    EXPECT_EQ(own->rowForItem(phone)->priceText(), QStringLiteral("10,00"));
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(addRow(*own, phone, QStringLiteral("1"), QStringLiteral("12")));
    EXPECT_EQ(number(QStringLiteral("SELECT PrezzoAcqnoiva FROM articoli WHERE ID = :A"), {{"A", phone}}),
              12.0);
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TArticolo")).key.toInt(), phone);
}

TEST_F(LoadsTest, DeleteFromTheListNeedsTheRightAndUndoesTheLoad)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("2")));
    carico->setPayment(QStringLiteral("CONTANTI"));
    ASSERT_TRUE(carico->save());
    stock::Carichi list(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    list.search(stock::Carichi::SearchBy::DocumentNumber, QStringLiteral("x'%"));
    EXPECT_TRUE(list.rows().isEmpty());
    list.search(stock::Carichi::SearchBy::LoadNumber, QStringLiteral("1"));
    ASSERT_EQ(list.rows().size(), 1);

    ct::logIn(m_session, {}, m_session.warehouse(), mario());
    EXPECT_FALSE(list.deleteLoad(carico->id()));
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Non possiedi i privilegi per eseguire questa operazione"));

    ct::logIn(m_session, {core::Privilege::Cancellazione}, m_session.warehouse(), mario());
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(list.deleteLoad(carico->id()));
    EXPECT_TRUE(list.rows().isEmpty());
    EXPECT_EQ(stock(phone), 0.0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM prima_nota")), 0.0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM acquisti")), 0.0);
}

TEST_F(LoadsTest, PrintWritesTheNamedPdf)
{
    const int phone = item(QStringLiteral("A1"));
    auto carico = openNew();
    ASSERT_TRUE(addRow(*carico, phone, QStringLiteral("2")));
    const QString path = carico->savePdf();
    EXPECT_TRUE(path.endsWith(QStringLiteral("documenti/Acquisti/Carico_Nr.1.pdf"))) << path.toStdString();
    const QString text = ct::pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("TELEFONIA SPA"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ARTICOLO A1")));
    EXPECT_TRUE(text.contains(QStringLiteral("24,40")));
}

TEST_F(LoadsTest, FastLoadCreatesUnknownItemsAndItsLeaveUndoesAll)
{
    const Snapshot before = snapshot();
    stock::CaricoSpeed speed(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(speed.open());
    speed.load().setSupplier(8);
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(speed.scan(QStringLiteral("8001234567890")));
    EXPECT_FALSE(speed.addRow());
    speed.setCostText(QStringLiteral("5"));
    speed.setQuantityText(QStringLiteral("0"));
    EXPECT_FALSE(speed.addRow());
    speed.setQuantityText(QStringLiteral("4"));
    m_dialogs.answerConfirm(false); // cost 5 differs from the new item's 0
    ASSERT_TRUE(speed.addRow());
    const core::Rows created =
        db().query(QStringLiteral("SELECT Tipologia, Fornitore, giacenza FROM articoli "
                                  "WHERE BarcodeFull = '8001234567890'"));
    ASSERT_EQ(created.size(), 1);
    EXPECT_EQ(created.value(0, "Tipologia").toString(), QStringLiteral("PRODOTTI"));
    EXPECT_EQ(created.value(0, "Fornitore").toString(), QStringLiteral("ALTRO SRL"));
    EXPECT_EQ(created.value(0, "giacenza").toDouble(), 4.0);
    EXPECT_FALSE(speed.save());
    EXPECT_EQ(m_dialogs.messages(), (QStringList{"Inserire il prezzo di acquisto", "Inserire la quantità",
                                                 "Attenzione! Scegliere Tipo di Pagamento"}));

    QImage page(40, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QString scan = m_data.filePath(QStringLiteral("bolla.jpg"));
    ASSERT_TRUE(page.save(scan, "JPG"));
    m_dialogs.answerFile(scan);
    ASSERT_TRUE(speed.attachImage());
    EXPECT_TRUE(QFile::exists(m_paths.acquisitionsDir(core::AcquisitionFolder::Carichi) +
                              QStringLiteral("/%1.png").arg(speed.load().id())));
    EXPECT_EQ(
        number(QStringLiteral("SELECT COUNT(*) FROM acquisizioni WHERE tipodoc = 'Carico' AND iddoc = :ID "
                              "AND numacq = 1 AND LENGTH(immagine) > 0"),
               {{"ID", speed.load().id()}}),
        1.0);

    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(speed.leave());
    Snapshot after = snapshot();
    EXPECT_EQ(after.figures.mid(0, 3), before.figures.mid(0, 3)) << "no header, rows or purchases left";
    EXPECT_EQ(
        stock(int(number(QStringLiteral("SELECT ID FROM articoli WHERE BarcodeFull = '8001234567890'")))),
        0.0);
    EXPECT_EQ(number(QStringLiteral("SELECT giacenza FROM articoli WHERE BarcodeFull = '8001234567890'")),
              0.0);
}

TEST_F(LoadsTest, AFastLoadScanOfAPhoneTakesItsSerialsOnTheRowDialog)
{
    const int phone = item(QStringLiteral("TEL9"), 200, QStringLiteral("PZ"), true);
    stock::CaricoSpeed speed(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(speed.open());
    speed.load().setSupplier(8);
    ASSERT_TRUE(speed.scan(QStringLiteral("800TEL9")));
    speed.setCostText(QStringLiteral("180"));
    EXPECT_FALSE(speed.addRow()) << "not posted without its serials";
    std::unique_ptr<stock::CaricoDialogo> row = speed.takeTrackedRow();
    ASSERT_TRUE(row && row->serials());
    EXPECT_EQ(row->priceText(), QStringLiteral("180"));
    ASSERT_TRUE(row->serials()->add(QStringLiteral("351111110000011"), stock::SerialEntry::Enter));
    ASSERT_TRUE(row->serials()->add(QStringLiteral("351111110000029"), stock::SerialEntry::Enter));
    m_dialogs.answerConfirm(false); // keep the item's cost
    ASSERT_TRUE(speed.load().confirmRow(*row));
    EXPECT_EQ(stock(phone), 2.0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE idArticolo = :ID AND Disponibile"),
                     {{"ID", phone}}),
              2.0);
}

TEST_F(LoadsTest, LeavingAModifiedLoadAsksOnlyWhenItsHeaderWasChanged)
{
    const int id = stock::LoadStore(db()).create(m_session);
    stock::Carico carico(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(carico.open(id, stock::Carico::Mode::Modify));
    EXPECT_TRUE(carico.leave());
    carico.setDocumentNumber(QStringLiteral("FT 77"));
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(carico.leave()) << "the operator stays with what was typed";
    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(carico.leave());
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm).size(), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM carichi WHERE idCarico = :ID"), {{"ID", id}}), 1.0)
        << "a load being modified is never undone by leaving";
}

} // namespace
