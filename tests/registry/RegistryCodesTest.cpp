#include "registry/RegistryCodes.h"

#include "core/Db.h"
#include "tests/registry/RegistrySuite.h"

#include <QSet>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class RegistryCodesTest : public ct::RegistrySuite<RegistryCodesTest>
{
protected:
    QString customerCounter()
    {
        return db().scalar(QStringLiteral("SELECT barcodecliente FROM contatori")).toString();
    }

    registry::RegistryCodes m_codes{company().db()};
};

TEST_F(RegistryCodesTest, CustomerCodesFollowTheLargestOne)
{
    EXPECT_EQ(m_codes.peekNextCustomerCode(), 1);
    EXPECT_EQ(
        m_codes.insertCustomerWithNewCode([&](int c) { insertCustomer(c, QStringLiteral("Bianchi Luca")); }),
        1);
    // A code typed by hand moves the next one on; gaps below it are not reused.
    insertCustomer(40, QStringLiteral("Ferri Marco"));
    EXPECT_EQ(m_codes.peekNextCustomerCode(), 41);
    EXPECT_EQ(
        m_codes.insertCustomerWithNewCode([&](int c) { insertCustomer(c, QStringLiteral("Gallo Pia")); }),
        41);
}

TEST_F(RegistryCodesTest, AFailedInsertLeavesNothingAndTheCodeIsGivenAgain)
{
    EXPECT_THROW(m_codes.insertCustomerWithNewCode([&](int c) {
        insertCustomer(c, QStringLiteral("Parziale"));
        throw core::DbError(QStringLiteral("interrotto"));
    }),
                 core::DbError);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 0);
    EXPECT_EQ(
        m_codes.insertCustomerWithNewCode([&](int c) { insertCustomer(c, QStringLiteral("Completo")); }), 1);
}

TEST_F(RegistryCodesTest, RefusedInsideAnOpenTransaction)
{
    core::Transaction tx(db());
    EXPECT_THROW(m_codes.insertCustomerWithNewCode([&](int c) { insertCustomer(c, QStringLiteral("X")); }),
                 std::logic_error);
}

TEST_F(RegistryCodesTest, TwoWorkstationsNeverShareACustomerCode)
{
    constexpr int kPerWorkstation = 25;
    auto workstation = [&](const QString& prefix) {
        std::unique_ptr<core::Db> own = company().newConnection();
        registry::RegistryCodes codes(*own);
        for (int i = 0; i < kPerWorkstation; ++i)
            codes.insertCustomerWithNewCode(
                [&](int c) { insertCustomer(c, prefix + QString::number(i), {}, {}, *own); });
    };
    std::thread first(workstation, QStringLiteral("A"));
    std::thread second(workstation, QStringLiteral("B"));
    first.join();
    second.join();

    const core::Rows rows =
        db().query(QStringLiteral("SELECT CodiceCliente FROM clienti ORDER BY CodiceCliente"));
    ASSERT_EQ(rows.size(), 2 * kPerWorkstation);
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i]["CodiceCliente"].toInt(), i + 1);
}

TEST_F(RegistryCodesTest, ACardAlreadyHeldByACustomerIsSkipped)
{
    // Cards typed by hand hold the next two codes the counter would give.
    for (const char* card : {"70000010001010", "70000010001029"})
        db().exec(
            QStringLiteral("INSERT INTO clienti (RagioneSociale, barcode) VALUES ('Tessera a mano', :B)"),
            {{QStringLiteral("B"), QString::fromLatin1(card)}});
    db().exec(QStringLiteral("UPDATE contatori SET barcodecliente = '7000001000100'"));
    EXPECT_EQ(m_codes.newCustomerCard(), QStringLiteral("70000010001038"));
    EXPECT_EQ(customerCounter(), QStringLiteral("7000001000103"));
}

} // namespace
