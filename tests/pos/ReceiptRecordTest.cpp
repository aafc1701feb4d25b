#include "pos/ReceiptRecord.h"

#include "core/Db.h"
#include "core/Session.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class ReceiptRecordTest : public ct::CompanySuite<ReceiptRecordTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"banco", "scontrini"});
        core::Operator cassiera;
        cassiera.id = 4;
        cassiera.nome = QStringLiteral("Giulia");
        m_session.logIn(cassiera, core::Warehouse{2, QStringLiteral("NEGOZIO CENTRO")}, core::Privileges());
    }

    static int addSale(const QString& ragioneSociale)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO banco (NumDoc, Anno, Mese, data, idCliente, RagioneSociale, Sconto, "
                      "ScontoVal, Resto, TotaleConto) VALUES (17, '2026', '12', '2026-12-06', 9, :RAGSOC, "
                      "5, 1.5, 2.55, 17.4500)"),
                  {{QStringLiteral("RAGSOC"), ragioneSociale}});
        return int(db().lastInsertId());
    }

    int write(int idBanco, pos::ReceiptVariant variant, const pos::ReceiptRecord::Payment& payment)
    {
        core::Transaction transaction(db());
        const int id = pos::ReceiptRecord::write(db(), m_session, variant, idBanco, payment, {}, {});
        transaction.commit();
        return id;
    }

    static QStringList stored(int id)
    {
        const core::Row row =
            db().query(
                    QStringLiteral(
                        "SELECT idBanco, NumDoc, Anno, Mese, Data, idCliente, Cliente, idOperatore, "
                        "Operatore, idMagazzino, Magazzino, ScontoPerc, ScontoVal, Resto, Totale, "
                        "TipoPagamento, dasospeso, idsospeso, Ora IS NOT NULL FROM scontrini WHERE id = :ID"),
                    {{QStringLiteral("ID"), id}})
                .first();
        QStringList cells;
        for (int c = 0; c < 19; ++c)
            cells.append(row.at(c).isNull() ? QStringLiteral("NULL") : row.at(c).toString());
        return cells;
    }

    core::Session m_session;
};

TEST_F(ReceiptRecordTest, ASaleWithoutPaymentTypeIsRecordedAsCashForTheCounterCustomer)
{
    const int sale = addSale(QString());
    const QStringList row = stored(write(sale, pos::ReceiptVariant::Keyboard, {}));
    EXPECT_EQ(row, QStringList({QString::number(sale), "17", "2026", "12", "06/12/2026", "9", "CLIENTE BANCO",
                                "4", "Giulia", "2", "NEGOZIO CENTRO", "5", "1.5", "2.55", "17.45", "Contanti",
                                "0", "NULL", "1"}));
}

TEST_F(ReceiptRecordTest, ASuspendedSaleKeepsItsAccountAndTheCardPaymentIsKept)
{
    const int sale = addSale(QStringLiteral("Rossi Mario"));
    const QStringList suspended = stored(write(sale, pos::ReceiptVariant::SuspendedSale, {{}, 3}));
    EXPECT_EQ(suspended.mid(15), QStringList({"SCONTRINO DA SOSPESO", "1", "3", "1"}));
    const QStringList card = stored(write(sale, pos::ReceiptVariant::CashDesk, {QStringLiteral("Bancomat")}));
    EXPECT_EQ(card.at(6), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(card.mid(15, 3), QStringList({"Bancomat", "0", "NULL"}));
}

TEST_F(ReceiptRecordTest, ASaleThatIsGoneWritesNoRow)
{
    core::Transaction transaction(db());
    EXPECT_EQ(ct::errorOf([&] {
                  pos::ReceiptRecord::write(db(), m_session, pos::ReceiptVariant::Touch, 999, {}, {}, {});
              }),
              QStringLiteral("La vendita 999 non esiste più: lo scontrino non può essere registrato."));
    transaction.commit();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM scontrini")).toInt(), 0);
}

} // namespace
