#include "pos/SaleClosing.h"
#include "pos/FileReceiptDriver.h"
#include "pos/PaymentType.h"
#include "pos/PendingReceipts.h"
#include "pos/Sale.h"
#include "pos/SaleCustomer.h"

#include "core/Paths.h"
#include "core/Privileges.h"
#include "tests/pos/SaleFixture.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::euros;
using pos::ClosingKind;
using pos::ClosingResult;

namespace {

const QString Workstation = QStringLiteral("CASSA-1");

// What a closing left on the server, all the sale's traces at once.
struct Posting
{
    int numbered = 0; // `banco` rows with a number
    int receipts = 0; // `scontrini` rows
    int ledger = 0;   // `venduti` rows
    double stock = 0; // `giacenze` of every item
    bool operator==(const Posting&) const = default;
};

void PrintTo(const Posting& p, std::ostream* os)
{
    *os << "numbered " << p.numbered << ", receipts " << p.receipts << ", ledger " << p.ledger << ", stock "
        << p.stock;
}

// The closings of a till whose fiscal printer reads the files of a driver folder.
class SaleClosingTest : public ct::SaleFixture<SaleClosingTest>
{
protected:
    void SetUp() override
    {
        SaleFixture::SetUp();
        emptyTables({"scontrini", "venduti", "giacenze", "vodafone_scarico", "acquisizioni"});
        ASSERT_TRUE(QDir(m_folder.path()).mkpath(QStringLiteral("driver")));
        m_session.logIn(
            core::Operator{
                ct::kSerialActor.operatorId, ct::kSerialActor.operatorName, QStringLiteral("giulia"), {}, {}},
            core::Warehouse{ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName}, {});
        addItem(QStringLiteral("800100"), "10", "8.1967");
        addItem(QStringLiteral("800200"), "3.5", "2.8689");
    }

    QString receiptsDir() const { return m_folder.filePath(QStringLiteral("scontrini")); }
    QString driverDir() const { return m_folder.filePath(QStringLiteral("driver")); }
    QString driverFile(const char* name) const { return QDir(driverDir()).filePath(QLatin1String(name)); }

    pos::SaleClosing closing(pos::FileReceiptDriver& driver, bool operatorRequired = false)
    {
        pos::TillSettings settings;
        settings.operatorRules.required = operatorRequired;
        return pos::SaleClosing(db(), m_dialogs, m_session, m_paths, driver, settings, Workstation);
    }
    // Two units of the first item, the second at 15% off, and one of the other.
    void ringUp(pos::Sale& sale)
    {
        sale.open();
        ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800100")));
        ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800100")));
        ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800200")));
        sale.editRow(sale.rows().first().key, 2, 15, euros("10"));
    }
    Posting posting()
    {
        Posting p;
        p.numbered = count(QStringLiteral("SELECT COUNT(*) FROM banco WHERE NumDoc > 0"));
        p.receipts = count(QStringLiteral("SELECT COUNT(*) FROM scontrini"));
        p.ledger = count(QStringLiteral("SELECT COUNT(*) FROM venduti"));
        p.stock = db().scalar(QStringLiteral("SELECT COALESCE(SUM(giacenza), 0) FROM giacenze")).toDouble();
        return p;
    }
    static Posting posted() { return {1, 1, 2, -3}; }

    QTemporaryDir m_folder;
    core::Paths m_paths{m_folder.path(), m_folder.path()};
};

TEST_F(SaleClosingTest, AReceiptClosingPostsTheSaleOnceAndHandsOverTheLinesItKeeps)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);
    const int closed = sale.id();
    sale.setReceived(euros("50"));

    const pos::ClosingOutcome outcome = closer.close(sale, ClosingKind::FiscalReceipt, {});
    ASSERT_EQ(outcome.result, ClosingResult::Closed) << m_dialogs.messages().join(u'|').toStdString();
    EXPECT_EQ(outcome.number, 1);
    EXPECT_TRUE(outcome.handedOver);
    EXPECT_EQ(posting(), posted());
    const core::Row header =
        db().query(QStringLiteral("SELECT NumDoc, Operatore, Pagato, Resto, TotaleConto FROM "
                                  "banco WHERE id = :ID"),
                   {{QStringLiteral("ID"), closed}})
            .first();
    EXPECT_EQ(header["Operatore"].toString(), QStringLiteral("giulia"));
    EXPECT_EQ(header["TotaleConto"].toMoney(), euros("20.5"));
    EXPECT_EQ(header["Resto"].toMoney(), euros("29.5"));
    // The ledger keeps the price the row was sold at, net of its discount.
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT PrezzoPubblico FROM venduti WHERE Codice = '800100'")).toMoney(),
        euros("17"));

    // The printer got exactly the lines the receipt row keeps, discount line included.
    const core::Row receipt =
        db().query(QStringLiteral("SELECT righe_stampa, stato_invio, postazione FROM scontrini")).first();
    const QStringList lines = receipt["righe_stampa"].toString().split(u'\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("DISC,%15;")));
    EXPECT_EQ(ct::readFile(driverFile("SR_Dati.001")), pos::FileReceiptDriver::fileBytes(lines));
    EXPECT_EQ(ct::readFile(driverFile("SR_Start.001")), QByteArray("\r\n"));
    EXPECT_EQ(receipt["stato_invio"].toInt(), 2);
    EXPECT_EQ(receipt["postazione"].toString(), Workstation);

    // The next sale is open; the closed one cannot be closed again, by a second click or another till.
    EXPECT_NE(sale.id(), closed);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM banco WHERE NumDoc = 0")), 1);
}

TEST_F(SaleClosingTest, ASaleClosedByAnotherWorkstationMeanwhileIsNotPostedAgain)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);
    // The other workstation is closing the same sale: it holds the header, not yet committed.
    const std::unique_ptr<core::Db> other = company().newConnection();
    core::Transaction otherClosing(*other);
    other->exec(QStringLiteral("UPDATE banco SET NumDoc = 7 WHERE id = :ID"),
                {{QStringLiteral("ID"), sale.id()}});

    pos::ClosingOutcome outcome;
    ct::Workstation till(db());
    till.start([&](core::Db&) { outcome = closer.close(sale, ClosingKind::FiscalReceipt, {}); });
    const std::unique_ptr<core::Db> observer = company().newConnection();
    ASSERT_TRUE(till.waitsAtTable(*observer, QStringLiteral("banco")));
    otherClosing.commit();
    till.finish();

    EXPECT_EQ(outcome.result, ClosingResult::Refused);
    EXPECT_EQ(m_dialogs.messages(), QStringList{pos::Sale::notOpenMessage()});
    EXPECT_EQ(posting(), (Posting{1, 0, 0, 0}));
    EXPECT_FALSE(QFile::exists(driverFile("SR_Start.001")));
}

TEST_F(SaleClosingTest, AServerErrorMidClosingLeavesTheSaleOpenAsItWasWithoutReceipt)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);
    const int open = sale.id();
    {
        const ct::FailingWrite failingLedger(db(), ct::FailingWrite::On::Insert, QStringLiteral("venduti"));
        EXPECT_THROW(closer.close(sale, ClosingKind::FiscalReceipt, {}), core::Error);
    }
    EXPECT_EQ(posting(), Posting{});
    EXPECT_EQ(sale.id(), open);
    EXPECT_EQ(sale.rows().size(), 2);
    EXPECT_FALSE(QFile::exists(driverFile("SR_Dati.001")));

    EXPECT_EQ(closer.close(sale, ClosingKind::FiscalReceipt, {}).number, 1);
    EXPECT_EQ(posting(), posted());
}

TEST_F(SaleClosingTest, ARefusedClosingWritesNothingAndKeepsTheSaleOpen)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);
    const int open = sale.id();

    pos::SaleClosing requiringOperator = closing(driver, true);
    EXPECT_EQ(requiringOperator.close(sale, ClosingKind::FiscalReceipt, {}).result,
              ClosingResult::OperatorRequired);

    pos::SaleClosing closer = closing(driver);
    sale.setPaymentType(QStringLiteral("Bancomat"));
    EXPECT_EQ(closer.close(sale, ClosingKind::ConfirmUnload, {}).result, ClosingResult::Refused);
    sale.setPaymentType({});
    EXPECT_EQ(closer.close(sale, ClosingKind::FiscalReceipt, {}, {QStringLiteral("RSSMRA80A01H501X")}).result,
              ClosingResult::Refused);
    db().exec(QStringLiteral("UPDATE dettbanco SET reparto = 'ACCESSORI' WHERE Codice = '800200'"));
    EXPECT_EQ(closer.close(sale, ClosingKind::QuickReceipt, {}).result, ClosingResult::Refused);

    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Operatore richiesto"),
                           QStringLiteral("Puoi confermare solo per pagamento Contanti"),
                           QStringLiteral("Il codice fiscale non è corretto: il codice di controllo non "
                                          "corrisponde."),
                           QStringLiteral("Lo scontrino non può essere emesso: la riga \"Articolo 800200\" "
                                          "(codice 800200) non ha un reparto fiscale valido (da REPARTO1 a "
                                          "REPARTO10).")}));
    EXPECT_EQ(posting(), Posting{});
    EXPECT_EQ(sale.id(), open);
    EXPECT_EQ(sale.rows().size(), 2);
    EXPECT_TRUE(QDir(driverDir()).isEmpty());
}

TEST_F(SaleClosingTest, AReceiptThePrinterDidNotGetStaysPostedAndIsOfferedAtTheNextOpening)
{
    QDir(driverDir()).removeRecursively();
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);

    // A fiscal code typed at the till makes a talking receipt, kept like any other.
    const pos::ClosingOutcome outcome =
        closer.close(sale, ClosingKind::FiscalReceipt, {}, {QStringLiteral("rssmra80a01h501u")});
    EXPECT_EQ(outcome.result, ClosingResult::Closed);
    EXPECT_FALSE(outcome.handedOver);
    EXPECT_EQ(posting(), posted());
    ASSERT_EQ(m_dialogs.messages().size(), 1);
    EXPECT_TRUE(m_dialogs.messages().first().startsWith(
        QStringLiteral("La vendita 1 è registrata, ma lo scontrino non è arrivato alla stampante fiscale: La "
                       "cartella del driver fiscale")));

    // The next opening: the operator sends it, and it is not offered again.
    ASSERT_TRUE(QDir().mkpath(driverDir()));
    pos::PendingReceipts pending(db(), Workstation);
    ASSERT_EQ(pending.pending().size(), 1);
    m_dialogs.clear();
    m_dialogs.answerConfirm(true);
    pending.offer(m_dialogs, driver);
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral(
                  "Lo scontrino 1 non è stato inviato alla stampante fiscale. Inviarlo ora?")});
    EXPECT_TRUE(ct::readFile(driverFile("SR_Dati.001")).endsWith("C.F./P.IVA: RSSMRA80A01H501U;\r\n"));
    EXPECT_TRUE(pending.pending().isEmpty());
    EXPECT_TRUE(pos::PendingReceipts(db(), QStringLiteral("CASSA-2")).pending().isEmpty());
}

TEST_F(SaleClosingTest, AChequeOrAnOperatorPackIsRecordedWithTheSaleItPays)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);
    sale.setPaymentType(pos::PaymentType::Assegno);
    const pos::ChequeDetails cheque{euros("20.5"), QStringLiteral("BANCA"), QStringLiteral("123")};
    const QString missing = m_folder.filePath(QStringLiteral("manca.png"));
    EXPECT_EQ(
        closer.close(sale, ClosingKind::FiscalReceipt, {}, {{}, pos::ChequeCapture{missing, cheque}}).result,
        ClosingResult::Refused);
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Impossibile leggere l'immagine: %1").arg(missing)});
    EXPECT_EQ(posting(), Posting{});

    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QString scan = m_folder.filePath(QStringLiteral("assegno.jpg"));
    ASSERT_TRUE(image.save(scan));
    const int paid = sale.id();
    EXPECT_EQ(
        closer.close(sale, ClosingKind::FiscalReceipt, {}, {{}, pos::ChequeCapture{scan, cheque}}).number, 1);
    EXPECT_TRUE(QFileInfo::exists(pos::SaleCheque(db(), m_paths).pngPath(paid)));
    const core::Row row =
        db().query(
                QStringLiteral("SELECT a.numacq, a.numdocassoc, a.iddoc, b.num_acquisizione, b.importo_ass "
                               "FROM acquisizioni a JOIN banco b ON b.id = a.iddoc"))
            .first();
    EXPECT_EQ(row["numdocassoc"].toInt(), 1);
    EXPECT_EQ(row["iddoc"].toInt(), paid);
    EXPECT_EQ(row["num_acquisizione"].toInt(), row["numacq"].toInt());
    EXPECT_EQ(row["importo_ass"].toMoney(), euros("20.5"));

    addItem(QStringLiteral("PACK1"), "0", "0", true);
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("PACK1")));
    sale.setPaymentType(pos::PaymentType::VodafonePack);
    pos::PackUnload pack;
    pack.option = pos::PackUnload::Option::Subscription;
    pack.commitment = true;
    pack.subscription = euros("9.99");
    EXPECT_EQ(closer.close(sale, ClosingKind::ConfirmUnload, {}, {{}, {}, pack}).number, 2);
    const core::Row unload =
        db().query(
                QStringLiteral("SELECT codice, tipo_scarico, cod_scarico, cod_contributo, importo_abb FROM "
                               "vodafone_scarico"))
            .first();
    EXPECT_EQ(unload["codice"].toString(), QStringLiteral("PACK1"));
    EXPECT_EQ(unload["tipo_scarico"].toString(), QStringLiteral("ABBONAM"));
    EXPECT_EQ(unload["cod_scarico"].toString(), QStringLiteral("VNC"));
    EXPECT_EQ(unload["cod_contributo"].toString(), QStringLiteral("S.C"));
    EXPECT_EQ(unload["importo_abb"].toMoney(), euros("9.99"));
}

// The closing in a child process killed (as by a power cut) after each step it passes, then the
// till opened again: no sale is half-posted or posted twice, every posted receipt reaches the
// printer once the operator agrees, and no receipt is printed for a sale that was not posted.
TEST_F(SaleClosingTest, KilledAtAnyStepTheSaleIsPostedWholeOrNotAtAllAndItsReceiptIsNotLost)
{
    const auto closeInChild = [&](int killAtStep) {
        const pid_t child = fork();
        if (child == 0) {
            const std::unique_ptr<core::Db> own = company().newConnection();
            ct::ScriptedDialogs quiet;
            pos::FileReceiptDriver driver(receiptsDir(), driverDir());
            pos::Sale sale(*own, quiet, m_session);
            pos::TillSettings settings;
            pos::SaleClosing closer(*own, quiet, m_session, m_paths, driver, settings, Workstation);
            sale.open();
            sale.addByBarcode(QStringLiteral("800100"));
            sale.addByBarcode(QStringLiteral("800100"));
            sale.addByBarcode(QStringLiteral("800200"));
            int steps = 0;
            const pos::ClosingProbe probe = [&](pos::ClosingStep) {
                if (++steps == killAtStep)
                    ::raise(SIGKILL);
            };
            closer.setProbe(probe);
            driver.setProbe(probe);
            closer.close(sale, ClosingKind::FiscalReceipt, {});
            ::_exit(steps); // a closing that ran to the end reports how many steps it passed
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    };

    const int fullRun = closeInChild(0);
    ASSERT_TRUE(WIFEXITED(fullRun));
    const int steps = WEXITSTATUS(fullRun);
    ASSERT_EQ(steps, 12);
    for (int killAt = 1; killAt <= steps; ++killAt) {
        SCOPED_TRACE(killAt);
        emptyTables({"banco", "dettbanco", "scontrini", "venduti", "giacenze"});
        QDir(driverDir()).removeRecursively();
        QDir(receiptsDir()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(driverDir()));
        const int status = closeInChild(killAt);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const Posting after = posting();
        pos::PendingReceipts pending(db(), Workstation);
        if (after == Posting{}) {
            EXPECT_FALSE(QFile::exists(driverFile("SR_Start.001")));
            continue;
        }
        EXPECT_EQ(after, posted());
        // Opened again: a receipt not known to be printed is offered, and sent on consent.
        ct::ScriptedDialogs operatorAtTill;
        if (!pending.pending().isEmpty())
            operatorAtTill.answerConfirm(true);
        pos::FileReceiptDriver printer(receiptsDir(), driverDir());
        pending.offer(operatorAtTill, printer);
        EXPECT_TRUE(pending.pending().isEmpty());
        const QStringList lines =
            db().scalar(QStringLiteral("SELECT righe_stampa FROM scontrini")).toString().split(u'\n');
        EXPECT_EQ(ct::readFile(driverFile("SR_Dati.001")), pos::FileReceiptDriver::fileBytes(lines));
        EXPECT_TRUE(QFile::exists(driverFile("SR_Start.001")));
    }
    std::cout << "kill points tried: " << steps << '\n';
}

} // namespace

// "Fattura": the sale becomes an immediate invoice, which alone moves the stock and records the sale.
class SaleInvoiceClosingTest : public SaleClosingTest
{
protected:
    void SetUp() override
    {
        SaleClosingTest::SetUp();
        emptyTables({"fatture", "dettfattura", "prima_nota", "clienti"});
        db().exec(QStringLiteral("UPDATE articoli SET Aliquota = 22"));
        db().exec(QStringLiteral("INSERT INTO clienti (RagioneSociale, Indirizzo, Citta, Listino) VALUES "
                                 "('Bianchi Srl', 'Via Roma 1', 'Torino', 'LISTINO1')"));
        m_customer = int(db().lastInsertId());
        core::Privileges invoicing;
        invoicing.set(core::Privilege::Fatturazione, true);
        logInWith(invoicing);
    }
    void logInWith(const core::Privileges& privileges)
    {
        m_session.logIn(
            core::Operator{
                ct::kSerialActor.operatorId, ct::kSerialActor.operatorName, QStringLiteral("giulia"), {}, {}},
            core::Warehouse{ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName}, privileges);
    }
    void ringUpFor(pos::Sale& sale)
    {
        ringUp(sale);
        pos::SaleCustomer(db()).set(sale.id(), m_customer);
    }
    // The invoice's traces: headers, rows, their `venduti` records, cash-book lines.
    QList<int> invoiceTraces()
    {
        return {count(QStringLiteral("SELECT COUNT(*) FROM fatture")),
                count(QStringLiteral("SELECT COUNT(*) FROM dettfattura")),
                count(QStringLiteral("SELECT COUNT(*) FROM venduti WHERE TipoDoc = 'Fattura'")),
                count(QStringLiteral("SELECT COUNT(*) FROM prima_nota"))};
    }
    static QList<int> oneInvoice() { return {1, 2, 2, 1}; }
    static Posting postedByInvoice() { return {1, 0, 2, -3}; }

    int m_customer = 0;
};

TEST_F(SaleInvoiceClosingTest, TheSaleBecomesANumberedInvoiceThatMovesTheStockOnceAndPrintsNoReceipt)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUpFor(sale);
    const int closed = sale.id();
    const core::Money paid = sale.totals().totaleConto;

    const pos::ClosingOutcome outcome = closer.close(sale, ClosingKind::Invoice, {});
    ASSERT_EQ(outcome.result, ClosingResult::Closed) << m_dialogs.messages().join(u'|').toStdString();
    ASSERT_TRUE(outcome.invoiceId);
    EXPECT_NE(sale.id(), closed);
    EXPECT_EQ(posting(), postedByInvoice());
    EXPECT_EQ(invoiceTraces(), oneInvoice());
    EXPECT_TRUE(QDir(driverDir()).isEmpty());

    const core::Row invoice =
        db().query(QStringLiteral(
                       "SELECT NumDoc, TipoFattura, Causale, RagioneSociale, RagSocDest, CittaDest, "
                       "tipopagamento, totaledocumento, idMagazzino FROM fatture WHERE idFattura = :ID"),
                   {{QStringLiteral("ID"), *outcome.invoiceId}})
            .first();
    EXPECT_EQ(invoice["NumDoc"].toInt(), 1);
    EXPECT_EQ(invoice["TipoFattura"].toString(), QStringLiteral("I"));
    EXPECT_EQ(invoice["Causale"].toString(), QStringLiteral("Vendita"));
    EXPECT_EQ(invoice["RagSocDest"].toString(), QStringLiteral("Bianchi Srl"));
    EXPECT_EQ(invoice["CittaDest"].toString(), QStringLiteral("Torino"));
    EXPECT_EQ(invoice["tipopagamento"].toString(), QStringLiteral("Contanti"));
    EXPECT_EQ(invoice["idMagazzino"].toInt(), ct::kSerialActor.warehouseId);
    // Priced as the till priced it: the same price and discount, the VAT of the item's rate.
    const core::Row discounted = db().query(QStringLiteral("SELECT quantita, Pubblico, Sconto, Aliquota FROM "
                                                           "dettfattura WHERE Codice = '800100'"))
                                     .first();
    EXPECT_EQ(discounted["quantita"].toInt(), 2);
    EXPECT_EQ(discounted["Pubblico"].toMoney(), euros("10"));
    EXPECT_EQ(discounted["Sconto"].toInt(), 15);
    EXPECT_EQ(discounted["Aliquota"].toInt(), 22);
    EXPECT_LT((invoice["totaledocumento"].toMoney() - paid).toDouble(), 0.01);
    const core::Row cash =
        db().query(QStringLiteral("SELECT tipodoc, iddoc, saldato, entrate, descrizione FROM prima_nota"))
            .first();
    EXPECT_EQ(cash["tipodoc"].toString(), QStringLiteral("Fattura Immediata"));
    EXPECT_EQ(cash["iddoc"].toInt(), *outcome.invoiceId);
    EXPECT_TRUE(cash["saldato"].toBool());
    EXPECT_EQ(cash["entrate"].toMoney(), invoice["totaledocumento"].toMoney());
}

TEST_F(SaleInvoiceClosingTest, WithoutCustomerOrInvoicingPrivilegeNothingIsWrittenAndTheSaleStaysOpen)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUp(sale);
    const int open = sale.id();
    EXPECT_EQ(closer.close(sale, ClosingKind::Invoice, {}).result, ClosingResult::Refused);

    pos::SaleCustomer(db()).set(sale.id(), m_customer);
    logInWith(core::Privileges{});
    EXPECT_EQ(closer.close(sale, ClosingKind::Invoice, {}).result, ClosingResult::Refused);

    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Selezionare un cliente"),
                           QStringLiteral("Non possiedi i privilegi per eseguire questa "
                                          "operazione")}));
    EXPECT_EQ(posting(), Posting{});
    EXPECT_EQ(invoiceTraces(), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(sale.id(), open);
    EXPECT_EQ(sale.rows().size(), 2);
}

TEST_F(SaleInvoiceClosingTest, AServerErrorMidInvoiceLeavesTheSaleOpenAndNoInvoice)
{
    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::SaleClosing closer = closing(driver);
    pos::Sale sale(db(), m_dialogs, m_session);
    ringUpFor(sale);
    const int open = sale.id();
    {
        const ct::FailingWrite failingCashBook(db(), ct::FailingWrite::On::Insert,
                                               QStringLiteral("prima_nota"));
        EXPECT_THROW(closer.close(sale, ClosingKind::Invoice, {}), core::Error);
    }
    EXPECT_EQ(posting(), Posting{});
    EXPECT_EQ(invoiceTraces(), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(sale.id(), open);
    EXPECT_EQ(sale.rows().size(), 2);

    const pos::ClosingOutcome again = closer.close(sale, ClosingKind::Invoice, {});
    EXPECT_EQ(again.result, ClosingResult::Closed);
    EXPECT_EQ(invoiceTraces(), oneInvoice());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT NumDoc FROM fatture")).toInt(), 1);
}

// Two tills close the same sale as an invoice at once: the first holds it half-way through its
// invoice; the second waits for the sale, then finds it closed. One invoice, the stock moved once.
TEST_F(SaleInvoiceClosingTest, TwoWorkstationsInvoicingTheSameSaleMakeOneInvoice)
{
    pos::Sale here(db(), m_dialogs, m_session);
    ringUpFor(here);
    // The same open sale on the other till's screen.
    db().exec(QStringLiteral("UPDATE banco SET vendita_sospesa = 1 WHERE id = :ID"),
              {{QStringLiteral("ID"), here.id()}});
    const std::unique_ptr<core::Db> otherConnection = company().newConnection();
    ct::ScriptedDialogs otherDialogs;
    pos::Sale there(*otherConnection, otherDialogs, m_session);
    ASSERT_TRUE(there.resume(here.id()));

    pos::FileReceiptDriver driver(receiptsDir(), driverDir());
    pos::TillSettings settings;
    pos::SaleClosing otherCloser(*otherConnection, otherDialogs, m_session, m_paths, driver, settings,
                                 QStringLiteral("CASSA-2"));
    pos::SaleClosing closer = closing(driver);
    const std::unique_ptr<core::Db> gateConnection = company().newConnection();
    const std::unique_ptr<core::Db> observer = company().newConnection();
    auto gate = std::make_unique<ct::InsertGate>(*gateConnection, QStringLiteral("fatture"));

    pos::ClosingOutcome first, second;
    ct::Workstation otherTill(*otherConnection);
    otherTill.start([&](core::Db&) { first = otherCloser.close(there, ClosingKind::Invoice, {}); });
    ASSERT_TRUE(otherTill.waitsAtNamedLock(*observer));
    ct::Workstation thisTill(db());
    thisTill.start([&](core::Db&) { second = closer.close(here, ClosingKind::Invoice, {}); });
    // It waits for the sale's number, which the other till holds to its commit.
    ASSERT_TRUE(thisTill.waitsAtNamedLock(*observer));
    gate.reset();
    otherTill.finish();
    thisTill.finish();

    EXPECT_EQ(first.result, ClosingResult::Closed) << otherDialogs.messages().join(u'|').toStdString();
    EXPECT_EQ(second.result, ClosingResult::Refused);
    EXPECT_EQ(m_dialogs.messages(), QStringList{pos::Sale::notOpenMessage()});
    EXPECT_EQ(posting(), postedByInvoice());
    EXPECT_EQ(invoiceTraces(), oneInvoice());
}
