#include "ui/pos/TPosClassic.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

#include "core/Db.h"

#include <QDir>
#include <QLabel>
#include <QTableView>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// The keyboard till driven from the keyboard: barcodes typed into the scanner field, a quantity typed
// into the grid, the function keys to pay and close. Receipts go to the fiscal driver's folder under
// the test's data folder.
class TPosClassicWindowTest : public ct::CompanySuite<TPosClassicWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables(
            {"articoli", "giacenze", "banco", "dettbanco", "venduti", "scontrini", "casse", "clienti"});
        db().exec(QStringLiteral(
            "INSERT INTO articoli (CodArticolo, Descrizione, BarcodeFull, repartodesc, Pubblico, "
            "PrezzoVendnoiva, "
            "PrezzoAcquisto) VALUES ('COV', 'Cover silicone', '8000001', 'REPARTO1', 12.5, 10.2459, 4), "
            "('CAV', 'Cavo USB-C', '8000002', 'REPARTO1', 9.9, 8.1148, 2)"));
        useCompany(company());
        m_session.logIn(core::Operator{1, QStringLiteral("Mario"), QStringLiteral("mario"), {}, {}},
                        core::Warehouse{1, QStringLiteral("NEGOZIO")}, {});
        QDir(m_dir.path()).mkpath(QStringLiteral("driver"));
    }

    static void scan(ui::TPosClassic& window, const QString& barcode)
    {
        type(window.scanner(), barcode);
        pressEnter(window.scanner());
    }

    // Types the value into the grid's cell as the operator would: the cell's editor, Enter.
    static void typeIntoCell(ui::TPosClassic& window, int row, int column, const QString& value)
    {
        const QModelIndex cell = window.grid()->model()->index(row, column);
        window.grid()->setCurrentIndex(cell);
        window.grid()->edit(cell);
        auto* editor = window.grid()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        type(editor, value);
        pressEnter(editor);
        QCoreApplication::processEvents(); // the delegate commits Enter on the event loop
    }

    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    QStringList receiptFiles() const
    {
        return QDir(m_paths.receiptsDir()).entryList(QDir::Files, QDir::Name) +
               QDir(m_paths.fiscalDriverDir({})).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(TPosClassicWindowTest, ScannedEditedAndPaidInCashItIsPostedWithItsReceipt)
{
    ui::TPosClassic window(m_environment);
    window.show();
    const int saleId = window.logic().sale().id();

    scan(window, QStringLiteral("8000001"));
    scan(window, QStringLiteral("8000002"));
    scan(window, QStringLiteral("8000001"));
    EXPECT_EQ(window.scanner()->text(), "");
    ASSERT_EQ(window.grid()->model()->rowCount(), 2) << "a repeated scan is one more unit on its row";
    typeIntoCell(window, 1, 2, QStringLiteral("3"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT quantita FROM dettbanco WHERE Codice = 'CAV'")).toInt(), 3);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("totale"))->text(), QStringLiteral("€ 54,70"));

    pressKey(window.scanner(), Qt::Key_F2);
    buttonCaptioned(window, QStringLiteral("Contanti"))->click();
    type(window.received(), QStringLiteral("0,50"));
    EXPECT_EQ(window.received()->text(), QStringLiteral("0,50"))
        << "a leading zero is not taken away while typing";
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("resto"))->text(), QStringLiteral("€ -54,20"));
    buttonCaptioned(window, QStringLiteral("€. 100"))->click();
    buttonCaptioned(window, QStringLiteral("€. 50"))->click();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("resto"))->text(), QStringLiteral("€ -4,70"))
        << "a banknote replaces what was received";
    buttonCaptioned(window, QStringLiteral("€. 100"))->click();
    pressKey(window.received(), Qt::Key_F8);

    EXPECT_TRUE(m_dialogs.messages().isEmpty()) << m_dialogs.messages().join('\n').toStdString();
    const core::Rows sale =
        db().query(QStringLiteral("SELECT NumDoc, Operatore, Pagato, Resto FROM banco WHERE id = :ID"),
                   {{QStringLiteral("ID"), saleId}});
    ASSERT_EQ(sale.size(), 1);
    EXPECT_GT(sale.value(0, u"NumDoc").toInt(), 0);
    EXPECT_EQ(sale.value(0, u"Operatore").toString(), "mario");
    EXPECT_EQ(sale.value(0, u"Pagato").toMoney(), core::Money::fromInt(100));
    EXPECT_EQ(sale.value(0, u"Resto").toMoney(), *core::Money::parse(u"45.3"));
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM venduti WHERE TipoPagamento = 'Contanti' AND "
                             "((Codice = 'COV' AND quantita = 2) OR (Codice = 'CAV' AND quantita = 3))")),
        2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scontrini")), 1);
    EXPECT_EQ(receiptFiles(), (QStringList{"Sr_Dati.001", "Sr_Start.001", "SR_Dati.001", "SR_Start.001"}));

    EXPECT_NE(window.logic().sale().id(), saleId) << "the next sale is open";
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);
    EXPECT_EQ(window.logic().page(), pos::PosPage::Vendita);
    EXPECT_EQ(window.received()->text(), "");
}

TEST_F(TPosClassicWindowTest, TheChosenCustomerReachesTheLedgerAndASaleSuspendedElsewhereKeepsItsOwn)
{
    db().exec(QStringLiteral("INSERT INTO clienti (idCliente, CodiceCliente, RagioneSociale) VALUES "
                             "(7, 7, 'ROSSI MARIO'), (8, 8, 'BIANCHI ANNA')"));
    ui::TPosClassic window(m_environment);
    window.show();
    const auto chooseRossi = [&] {
        pressKey(window.scanner(), Qt::Key_F7);
        auto* search = child<QLineEdit>(window, "ricercaCliente");
        search->clear();
        type(search, QStringLiteral("ROSSI"));
        pressEnter(search);
        auto* customers = child<QTableView>(window, "clienti");
        ASSERT_EQ(customers->model()->rowCount(), 1);
        customers->setCurrentIndex(customers->model()->index(0, 0));
        child<QPushButton>(window, "confermaCliente")->click();
    };

    int saleId = window.logic().sale().id();
    scan(window, QStringLiteral("8000001"));
    chooseRossi();
    EXPECT_EQ(child<QLabel>(window, "cliente")->text(), QStringLiteral("ROSSI MARIO"));
    EXPECT_EQ(window.logic().page(), pos::PosPage::Vendita);
    pressKey(window.scanner(), Qt::Key_F10);
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM venduti WHERE idCliente = 7 AND cliente = 'ROSSI MARIO'")),
        1);
    EXPECT_EQ(child<QLabel>(window, "cliente")->text(), QStringLiteral("Cliente al banco"));

    // Another workstation suspends the open sale before the customer is chosen here.
    saleId = window.logic().sale().id();
    scan(window, QStringLiteral("8000002"));
    db().exec(QStringLiteral("UPDATE banco SET vendita_sospesa = 1 WHERE id = :ID"),
              {{QStringLiteral("ID"), saleId}});
    m_dialogs.clear();
    chooseRossi();
    EXPECT_EQ(m_dialogs.messages(), QStringList{pos::Sale::notOpenMessage()});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COALESCE(idCliente, 0) FROM banco WHERE id = :ID"),
                          {{QStringLiteral("ID"), saleId}})
                  .toInt(),
              0);
}

} // namespace
