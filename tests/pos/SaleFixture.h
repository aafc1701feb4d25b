#pragma once

#include "stock/serials/LoadSerialCapture.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Money.h"
#include "core/Session.h"
#include "tests/serials/SerialTestData.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <functional>

namespace carvendo::testing {

using core::Money;
namespace ct = carvendo::testing;

inline Money euros(const char* text)
{
    return *Money::parse(QString::fromLatin1(text));
}

// A till of the shop's warehouse with items sold by barcode, serial and size/colour cell.
template <typename Suite> class SaleFixture : public ct::CompanySuite<Suite>
{
protected:
    using ct::CompanySuite<Suite>::db;
    using ct::CompanySuite<Suite>::emptyTables;

    void SetUp() override
    {
        emptyTables({"articoli", "banco", "dettbanco", "seriali", "serialidocumenti", "storicoseriali",
                     "disptc", "acquisizioni"});
        m_session.logIn(
            core::Operator{ct::kSerialActor.operatorId, ct::kSerialActor.operatorName, {}, {}, {}},
            core::Warehouse{ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName}, {});
    }

    int addItem(const QString& barcode, const char* publicPrice, const char* netPrice, bool pack = false)
    {
        db().exec(
            QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione, BarcodeFull, repartodesc, "
                           "Pubblico, PrezzoVendnoiva, vodafone_pack) VALUES (:B, CONCAT('Articolo ', :B), "
                           ":B, 'REPARTO1', :P, :N, :PACK)"),
            {{QStringLiteral("B"), barcode},
             {QStringLiteral("P"), QVariant::fromValue(euros(publicPrice))},
             {QStringLiteral("N"), QVariant::fromValue(euros(netPrice))},
             {QStringLiteral("PACK"), pack}});
        return int(db().lastInsertId());
    }
    stock::SerialItem addPhone(const QStringList& serials)
    {
        const stock::SerialItem phone =
            ct::addSerialItem(db(), QStringLiteral("TEL"), QStringLiteral("Telefono"));
        ct::ScriptedDialogs quiet;
        stock::LoadSerialCapture capture(db(), quiet, 0, 0, phone, ct::kSerialActor);
        for (const QString& serial : serials)
            EXPECT_TRUE(capture.add(serial, stock::SerialEntry::Enter));
        return phone;
    }
    // The same label in this warehouse and in another: a sale here moves only this warehouse's cell.
    int addShirt()
    {
        const int shirt = addItem(QStringLiteral("SHIRT"), "20", "16.3934");
        db().exec(QStringLiteral("UPDATE articoli SET TC = 1 WHERE ID = :ID"),
                  {{QStringLiteral("ID"), shirt}});
        db().exec(QStringLiteral(
                      "INSERT INTO disptc (idarticolo, Colore, TG3, BAR3, idmagazzino, Magazzino) VALUES "
                      "(:A, 'ROSSO', 5, 'CELL3', 2, 'ALTRO'), (:A, 'ROSSO', 5, 'CELL3', 1, 'NEGOZIO')"),
                  {{QStringLiteral("A"), shirt}});
        return shirt;
    }
    QStringList cells()
    {
        return ct::rowsAsText(db(),
                              QStringLiteral("SELECT CONCAT(idmagazzino, ':', TG3) FROM disptc ORDER BY id"));
    }
    int count(const QString& sql) { return ct::countOf(db(), sql); }
    int headers(int saleId)
    {
        return ct::countOf(db(), QStringLiteral("SELECT COUNT(*) FROM banco WHERE id = :ID"),
                           {{QStringLiteral("ID"), saleId}});
    }
    int rowsOf(int saleId)
    {
        return ct::countOf(db(), QStringLiteral("SELECT COUNT(*) FROM dettbanco WHERE idBanco = :ID"),
                           {{QStringLiteral("ID"), saleId}});
    }
    static void expectRefusal(const std::function<void()>& command, const QString& message)
    {
        try {
            command();
            ADD_FAILURE() << "not refused: " << message.toStdString();
        } catch (const core::Error& error) {
            EXPECT_EQ(error.message(), message);
            EXPECT_EQ(error.kind(), core::Error::Kind::Refusal);
        }
    }

    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
};

} // namespace carvendo::testing
