#include "pos/PosClassic.h"
#include "pos/FileReceiptDriver.h"

#include "core/Paths.h"
#include "core/Privileges.h"
#include "tests/pos/SaleFixture.h"
#include "tests/support/FixedClock.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimerEvent>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// The operator at the keyboard till: who serves the open sale, and the logout after a quiet spell.
class PosClassicTest : public ct::SaleFixture<PosClassicTest>
{
protected:
    void SetUp() override
    {
        SaleFixture::SetUp();
        emptyTables({"scontrini"});
        addItem(QStringLiteral("8000001"), "12.5", "10.2459");
        QDir(m_folder.path()).mkpath(QStringLiteral("driver"));
        m_navigator.returnFrom(pos::TillOperator::OperatorListWindow,
                               {.accepted = true, .value = QStringLiteral("anna")});
    }

    QString saleOperator(const pos::PosClassic& till)
    {
        return db()
            .scalar(QStringLiteral("SELECT Operatore FROM banco WHERE id = :ID"),
                    {{QStringLiteral("ID"), till.sale().id()}})
            .toString();
    }
    // The idle period ran out: the timer's own event, as the event loop would deliver it.
    static void runOut(const QTimer& timer)
    {
        QTimerEvent elapsed(timer.timerId());
        QCoreApplication::sendEvent(const_cast<QTimer*>(&timer), &elapsed);
    }

    QTemporaryDir m_folder;
    core::Paths m_paths{m_folder.path(), m_folder.path()};
    ct::RecordingNavigator m_navigator;
    ct::FixedClock m_clock;
    pos::FileReceiptDriver m_printer{m_paths.receiptsDir(), m_paths.fiscalDriverDir({})};
};

TEST_F(PosClassicTest, AQuietTillLogsItsOperatorOutAndTheOpenSaleLosesIt)
{
    pos::TillSettings settings;
    settings.operatorRules = {.required = true, .logoutAfterMs = 60'000};
    pos::PosClassic till({db(), m_dialogs, m_navigator, m_session, m_paths, m_clock, m_printer}, settings);
    till.open();

    ASSERT_TRUE(till.logIn());
    EXPECT_EQ(saleOperator(till), "anna");
    ASSERT_TRUE(till.idleTimer().isActive());
    EXPECT_EQ(till.idleTimer().interval(), 60'000);

    till.addByBarcode(QStringLiteral("8000001"));
    runOut(till.idleTimer());

    EXPECT_FALSE(till.tillOperator().isLoggedIn());
    EXPECT_EQ(till.tillOperator().state(), "Discoonnesso");
    EXPECT_EQ(saleOperator(till), "");
    EXPECT_FALSE(till.idleTimer().isActive());
    till.addByBarcode(QStringLiteral("8000001"));
    EXPECT_FALSE(till.idleTimer().isActive()) << "nobody to log out";
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
}

// "Fattura" for the sale's customer: the till starts the next sale and the invoice the sale became
// opens for printing.
TEST_F(PosClassicTest, AnInvoiceClosingOpensTheInvoiceWindowOnTheNewInvoice)
{
    emptyTables({"fatture", "dettfattura", "venduti", "prima_nota", "clienti"});
    core::Privileges invoicing;
    invoicing.set(core::Privilege::Fatturazione, true);
    m_session.logIn(core::Operator{ct::kSerialActor.operatorId, ct::kSerialActor.operatorName, {}, {}, {}},
                    core::Warehouse{ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName}, invoicing);
    db().exec(
        QStringLiteral("INSERT INTO clienti (RagioneSociale, Listino) VALUES ('Bianchi Srl', 'LISTINO1')"));
    const int customer = int(db().lastInsertId());
    pos::PosClassic till({db(), m_dialogs, m_navigator, m_session, m_paths, m_clock, m_printer}, {});
    till.open();
    const int sold = till.sale().id();
    ASSERT_TRUE(till.addByBarcode(QStringLiteral("8000001")));
    ASSERT_TRUE(till.chooseCustomer(customer));

    ASSERT_TRUE(till.close(pos::ClosingKind::Invoice)) << m_dialogs.messages().join(u'|').toStdString();
    EXPECT_NE(till.sale().id(), sold);
    EXPECT_FALSE(till.hasRows());
    const core::NavigationRequest opened = m_navigator.lastRequest(pos::PosClassic::invoiceWindow());
    EXPECT_EQ(opened.key.toInt(), db().scalar(QStringLiteral("SELECT idFattura FROM fatture")).toInt());
    EXPECT_EQ(opened.caller, pos::PosClassic::windowName());
}

} // namespace
