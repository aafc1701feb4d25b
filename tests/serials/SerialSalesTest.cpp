#include "stock/serials/SerialSales.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/LoadSerials.h"
#include "stock/serials/SerialeScarico.h"
#include "stock/serials/Seriali.h"

#include "stock/StockRealignment.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Session.h"
#include "tests/serials/SerialTestData.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// Serials leaving stock in documents and coming back: the shared sale piece, the finder and its
// "Rientro", the discharge dialog.
class SerialSalesTest : public ct::CompanySuite<SerialSalesTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "seriali", "serialidocumenti", "storicoseriali", "dettreso", "giacenze",
                     "venduti", "acquisti", "clienti", "carichi", "fornitori"});
        db().exec(QStringLiteral("INSERT INTO clienti (Cognome, Nome) VALUES ('ROSSI', 'MARIO')"));
        m_invoice.customerId = int(db().lastInsertId());
        m_phone = ct::addSerialItem(db(), QStringLiteral("TEL"), QStringLiteral("Telefono"));
        m_session.logIn(core::Operator{3, QStringLiteral("LUCA"), {}, {}, {}},
                        core::Warehouse{ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName}, {});
    }

    void load(const QStringList& serials)
    {
        ct::ScriptedDialogs quiet;
        stock::LoadSerialCapture capture(db(), quiet, 0, 0, m_phone, ct::kSerialActor);
        for (const QString& serial : serials)
            ASSERT_TRUE(capture.add(serial, stock::SerialEntry::Enter));
    }
    void sell(core::Db& on, const QString& serial, const stock::SerialDocument& document)
    {
        stock::SerialSales(on, ct::kSerialActor).sell(m_phone.itemId, serial, document);
    }
    QStringList column(const QString& sql) { return rows(sql); }

    stock::SerialItem m_phone;
    stock::SerialDocument m_invoice{QStringLiteral("Fattura"), 40, QStringLiteral("15/A"), 0,
                                    QStringLiteral("ROSSI MARIO")};
    const stock::SerialDocument m_deliveryNote{QStringLiteral("Ddt"), 8, QStringLiteral("8"), 0, {}};
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
};

TEST_F(SerialSalesTest, TwoWorkstationsSellingTheSameSerialMakeOneLinkAndOneRefusal)
{
    load({QStringLiteral("356000000000001")});
    core::Transaction firstTill(db());
    sell(db(), QStringLiteral("356000000000001"), m_invoice);

    ct::Workstation second(company().newConnection());
    second.start([&](core::Db& own) { sell(own, QStringLiteral("356000000000001"), m_deliveryNote); });
    ASSERT_TRUE(second.waitsAtTable(*company().newConnection(), QStringLiteral("DELETE FROM seriali")));
    firstTill.commit();
    try {
        second.finish();
        ADD_FAILURE() << "the second sale went through";
    } catch (const core::Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Attenzione! Seriale non disponibile"));
        EXPECT_EQ(error.kind(), core::Error::Kind::Refusal);
    }
    EXPECT_EQ(column(QStringLiteral("SELECT Documento FROM serialidocumenti")),
              QStringList{QStringLiteral("Fattura")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 0);
}

TEST_F(SerialSalesTest, ASaleWhoseLastWriteFailsLeavesTheSerialInStock)
{
    load({QStringLiteral("356000000000002")});
    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Insert, QStringLiteral("storicoseriali"));
        EXPECT_THROW(sell(db(), QStringLiteral("356000000000002"), m_invoice), core::DbError);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE Disponibile = 1")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti")), 0);
    EXPECT_EQ(stock::SerialSales(db(), ct::kSerialActor).itemOf(QStringLiteral(" 356000000000002 "))->itemId,
              m_phone.itemId);
}

TEST_F(SerialSalesTest, ARemovedDocumentRowGivesItsSerialsBackOnce)
{
    load({QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("S3")});
    sell(db(), QStringLiteral("S1"), m_invoice);
    sell(db(), QStringLiteral("S2"), m_invoice);
    sell(db(), QStringLiteral("S3"), m_deliveryNote);
    EXPECT_FALSE(stock::SerialSales(db(), ct::kSerialActor).itemOf(QStringLiteral("S1")));

    stock::SerialSales sales(db(), ct::kSerialActor);
    EXPECT_EQ(sales.giveBack(m_phone.itemId, QStringLiteral("Fattura"), 40), 2);
    EXPECT_EQ(sales.giveBack(m_phone.itemId, QStringLiteral("Fattura"), 40), 0);
    EXPECT_EQ(column(QStringLiteral("SELECT Seriale FROM seriali WHERE Disponibile = 1 ORDER BY Seriale")),
              (QStringList{QStringLiteral("S1"), QStringLiteral("S2")}));
    EXPECT_EQ(column(QStringLiteral("SELECT Seriale FROM serialidocumenti")),
              QStringList{QStringLiteral("S3")});
    EXPECT_EQ(
        column(QStringLiteral("SELECT CONCAT(Seriale, ' ', Documento, ' ', NumeroDocumento, ' ', Soggetto) "
                              "FROM storicoseriali WHERE Evento = 'Reso' ORDER BY id")),
        (QStringList{QStringLiteral("S1 Fattura 15/A ROSSI MARIO"),
                     QStringLiteral("S2 Fattura 15/A ROSSI MARIO")}));
}

TEST_F(SerialSalesTest, TheFinderTellsWhereASerialIsAndBringsASoldOneBack)
{
    load({QStringLiteral("D1"), QStringLiteral("D2"), QStringLiteral("D3"), QStringLiteral("FREE"),
          QStringLiteral("INV")});
    for (const char* serial : {"D1", "D2", "D3"})
        sell(db(), QString::fromLatin1(serial), m_deliveryNote);
    stock::Seriali finder(db(), m_session, m_dialogs, m_navigator);

    EXPECT_FALSE(finder.search(QStringLiteral("  ")));
    ASSERT_TRUE(finder.search(QStringLiteral("free")));
    EXPECT_EQ(finder.headline() + u'/' + finder.detail(),
              QStringLiteral("SERIALE TROVATO/Seriale disponibile per la vendita"));
    EXPECT_FALSE(finder.canBringBack());
    finder.search(QStringLiteral("NESSUNO"));
    EXPECT_EQ(finder.headline() + u'/' + finder.detail(), QStringLiteral("SERIALE NON TROVATO/"));
    EXPECT_FALSE(finder.canOpenItem());

    sell(db(), QStringLiteral("INV"), m_invoice);
    finder.search(QStringLiteral("INV"));
    EXPECT_TRUE(finder.facts().contains({QStringLiteral("Cliente"), QStringLiteral("ROSSI MARIO")}));
    finder.search(QStringLiteral("D2"));
    EXPECT_EQ(finder.headline() + u'/' + finder.detail(),
              QStringLiteral("SERIALE TROVATO/Seriale non disponibile perchè già venduto"));
    EXPECT_TRUE(finder.facts().contains(
        {QStringLiteral("Documento"),
         QStringLiteral("Ddt n. 8 del ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))}));
    finder.openItem();
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TArticolo")).caller, QStringLiteral("TSeriali"));
    m_dialogs.answerOption(1);
    ASSERT_TRUE(finder.bringBack());

    EXPECT_EQ(finder.status(), stock::Seriali::Status::InStock);
    EXPECT_FALSE(finder.canBringBack());
    EXPECT_FALSE(finder.canOpenDocument());
    EXPECT_EQ(column(QStringLiteral("SELECT Seriale FROM serialidocumenti ORDER BY Seriale")),
              (QStringList{QStringLiteral("D1"), QStringLiteral("D3"), QStringLiteral("INV")}));
    EXPECT_EQ(column(QStringLiteral("SELECT CONCAT(seriale, ' ', quantita, ' ', Motivo) FROM dettreso")),
              QStringList{QStringLiteral("D2 1 PRODOTTO DIFETTOSO")});
    EXPECT_EQ(stock::StockRealignment(db()).figures(m_phone.itemId, ct::kSerialActor.warehouseId).reso, 1);
    QStringList events;
    for (const core::Row& row : finder.timeline())
        events.append(row["Evento"].toString() + u' ' + row["Documento"].toString() + u' ' +
                      row["Motivo"].toString());
    EXPECT_EQ(events, (QStringList{QStringLiteral("Caricato Carico "), QStringLiteral("Venduto Ddt "),
                                   QStringLiteral("Rientrato Ddt PRODOTTO DIFETTOSO")}));

    // Its load row removed, the serial stays but cannot be sold.
    stock::LoadSerials::blockRow(db(), 0, m_phone.itemId, ct::kSerialActor);
    finder.search(QStringLiteral("FREE"));
    EXPECT_EQ(finder.status(), stock::Seriali::Status::Blocked);
    EXPECT_EQ(finder.detail(),
              QStringLiteral("Seriale bloccato, non vendibile: la riga del carico da cui proviene "
                             "è stata eliminata"));
}

TEST_F(SerialSalesTest, TwoWorkstationsBringingBackTheSameSerialMakeOneReturn)
{
    load({QStringLiteral("R1")});
    sell(db(), QStringLiteral("R1"), m_invoice);
    struct Desk
    {
        ct::ScriptedDialogs dialogs;
        ct::RecordingNavigator navigator;
        bool brought = false;
    } first, second;
    auto bringBack = [&](Desk& desk) {
        return [&](core::Db& own) {
            stock::Seriali finder(own, m_session, desk.dialogs, desk.navigator);
            finder.search(QStringLiteral("R1"));
            desk.dialogs.answerOption(0);
            desk.brought = finder.bringBack();
        };
    };
    auto observer = company().newConnection();
    auto gate = std::make_unique<ct::InsertGate>(db(), QStringLiteral("dettreso"));
    ct::Workstation one(company().newConnection());
    one.start(bringBack(first));
    ASSERT_TRUE(one.waitsAtNamedLock(*observer)); // the link taken, the return not yet written
    ct::Workstation two(company().newConnection());
    two.start(bringBack(second));
    ASSERT_TRUE(two.waitsAtTable(*observer, QStringLiteral("DELETE FROM serialidocumenti")));
    gate.reset();
    one.finish();
    two.finish();

    EXPECT_TRUE(first.brought);
    EXPECT_FALSE(second.brought);
    EXPECT_EQ(second.dialogs.messages(),
              QStringList{QStringLiteral(
                  "Attenzione! Il seriale non risulta più venduto: è già rientrato in magazzino.")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettreso")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 1);
}

TEST_F(SerialSalesTest, ABringBackWhoseLastWriteFailsLeavesTheSaleAsItWas)
{
    load({QStringLiteral("F1")});
    sell(db(), QStringLiteral("F1"), m_invoice);
    stock::Seriali finder(db(), m_session, m_dialogs, m_navigator);
    finder.search(QStringLiteral("F1"));
    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Insert, QStringLiteral("storicoseriali"));
        m_dialogs.answerOption(0);
        EXPECT_THROW(finder.bringBack(), core::DbError);
    }

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettreso")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 0);
    EXPECT_TRUE(finder.canBringBack());
}

TEST_F(SerialSalesTest, TheDischargeDialogChecksEverySerialBeforeSellingAny)
{
    load({QStringLiteral("X1"), QStringLiteral("X2"), QStringLiteral("X3")});
    stock::SerialItem other = ct::addSerialItem(db(), QStringLiteral("ALT"), QStringLiteral("Altro"));
    ct::ScriptedDialogs quiet;
    ASSERT_TRUE(stock::LoadSerialCapture(db(), quiet, 0, 0, other, ct::kSerialActor)
                    .add(QStringLiteral("Y1"), stock::SerialEntry::Enter));
    stock::SerialeScarico dialog(db(), m_dialogs, m_phone.itemId, m_invoice, ct::kSerialActor);

    EXPECT_FALSE(dialog.confirm());
    dialog.setSerial(0, QStringLiteral("X1"));
    dialog.setSerial(3, QStringLiteral("x1"));
    EXPECT_FALSE(dialog.confirm());
    EXPECT_EQ(dialog.failedField(), 3);
    dialog.setSerial(3, QStringLiteral("Y1")); // another item's serial
    EXPECT_FALSE(dialog.confirm());
    EXPECT_EQ(dialog.failedField(), 3);
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Inserire un seriale da cercare"),
                           QStringLiteral("Attenzione! Il seriale x1 è stato inserito due volte."),
                           QStringLiteral("Seriale non trovato.")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti")), 0);

    dialog.setSerial(3, QStringLiteral("X3"));
    ASSERT_TRUE(dialog.confirm());
    EXPECT_EQ(dialog.sold(), (QStringList{QStringLiteral("X1"), QStringLiteral("X3")}));
    EXPECT_EQ(column(QStringLiteral("SELECT Seriale FROM seriali WHERE idArticolo = ") +
                     QString::number(m_phone.itemId)),
              QStringList{QStringLiteral("X2")});
}

TEST_F(SerialSalesTest, TheCheckFindsItemsWhoseSerialsDifferFromTheirStock)
{
    load({QStringLiteral("K1"), QStringLiteral("K2")});
    stock::SerialItem even = ct::addSerialItem(db(), QStringLiteral("PARI"), QStringLiteral("Pari"));
    ct::ScriptedDialogs quiet;
    ASSERT_TRUE(stock::LoadSerialCapture(db(), quiet, 0, 0, even, ct::kSerialActor)
                    .add(QStringLiteral("P1"), stock::SerialEntry::Enter));
    db().exec(QStringLiteral(
        "INSERT INTO articoli (CodArticolo, Descrizione, Seriale) VALUES ('VITE', 'Vite', 0)"));
    db().exec(
        QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza) VALUES "
                       "(:PHONE, 1, 'NEGOZIO', 3), (:EVEN, 1, 'NEGOZIO', 1), (:SCREW, 1, 'NEGOZIO', 50)"),
        {{QStringLiteral("PHONE"), m_phone.itemId},
         {QStringLiteral("EVEN"), even.itemId},
         {QStringLiteral("SCREW"), int(db().lastInsertId())}});

    stock::Seriali finder(db(), m_session, m_dialogs, m_navigator);
    finder.verify();
    ASSERT_EQ(finder.mismatches().size(), 1);
    const core::Row row = finder.mismatches().first();
    EXPECT_EQ(row["CodArticolo"].toString() + u' ' + row["Magazzino"].toString(),
              QStringLiteral("TEL NEGOZIO"));
    EXPECT_EQ(row["Giacenza"].toDouble(), 3.0);
    EXPECT_EQ(row["Seriali"].toInt(), 2);
    EXPECT_EQ(row["Differenza"].toInt(), -1);
}

} // namespace
