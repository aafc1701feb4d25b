#include "pos/FileReceiptDriver.h"
#include "pos/ReceiptLines.h"

#include "core/Db.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

const QString FiscalCode = QStringLiteral("RSSMRA80A01H501U");
const QString Password = QStringLiteral("1234");

QByteArray golden(const char* name)
{
    return ct::readFile(QStringLiteral(CARVENDO_SOURCE_DIR "/tests/pos/golden/") + QLatin1String(name));
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// A receipts folder and a driver folder of their own for every case.
class ReceiptFolders
{
public:
    ReceiptFolders() { QDir(m_root.path()).mkdir(QStringLiteral("driver")); }
    QString receipts() const { return m_root.filePath(QStringLiteral("scontrini")); }
    QString driver() const { return m_root.filePath(QStringLiteral("driver")); }
    pos::FileReceiptDriver printer() const { return pos::FileReceiptDriver(receipts(), driver()); }
    QByteArray receiptFile(const char* name) const
    {
        return ct::readFile(QDir(receipts()).filePath(QLatin1String(name)));
    }
    QByteArray driverFile(const char* name) const
    {
        return ct::readFile(QDir(driver()).filePath(QLatin1String(name)));
    }

private:
    QTemporaryDir m_root;
};

class ReceiptFilesTest : public ct::CompanySuite<ReceiptFilesTest>
{
protected:
    void SetUp() override { emptyTables({"dettbanco"}); }

    // A sale rung up out of department order: its REPARTO3 row first, two REPARTO1 rows (one with
    // a percent discount, one with a promotion's value discount and quantity 2,5), a price that
    // needs the thousands dot, a half cent, quantity 3,5, and texts with ";", a line break, "è" and "€".
    static QList<pos::ReceiptRow> ringUpSale()
    {
        const int idBanco = 41;
        db().exec(QStringLiteral("DELETE FROM dettbanco WHERE idBanco = :IDBANCO"),
                  {{QStringLiteral("IDBANCO"), idBanco}});
        auto add = [&](const QString& code, const QString& description, const QString& department,
                       const char* price, double quantity, int discount, const char* valueOff,
                       const QString& promo) {
            db().exec(
                QStringLiteral("INSERT INTO dettbanco (idBanco, Codice, Descrizione, reparto, Pubblico, "
                               "quantita, Sconto, scontoval, promo_desc) VALUES (:IDBANCO, :COD, "
                               ":DESCR, :REP, :PREZZO, :QTA, :SCONTO, :VAL, :PROMO)"),
                {{QStringLiteral("IDBANCO"), idBanco},
                 {QStringLiteral("COD"), code},
                 {QStringLiteral("DESCR"), description},
                 {QStringLiteral("REP"), department},
                 {QStringLiteral("PREZZO"), QString::fromLatin1(price)},
                 {QStringLiteral("QTA"), quantity},
                 {QStringLiteral("SCONTO"), discount},
                 {QStringLiteral("VAL"), QString::fromLatin1(valueOff)},
                 {QStringLiteral("PROMO"), promo}});
        };
        add(QStringLiteral("AB12"), QStringLiteral("CAVO USB"), QStringLiteral("REPARTO3"), "12.50", 2, 0,
            "0", {});
        add(QStringLiteral("TEL01"), QStringLiteral("Telefono;modello è"), QStringLiteral("REPARTO1"),
            "1234.50", 1, 10, "0", {});
        add(QStringLiteral("CV-2"), QStringLiteral("Cover €"), QStringLiteral("REPARTO1"), "0.99", 2.5, 0,
            "0.10", QStringLiteral("Promo estate"));
        add(QStringLiteral("PEL"), QStringLiteral("Pellicola\nlinea"), QStringLiteral("REPARTO10"), "3", 3.5,
            0, "0", {});
        add(QStringLiteral("CH5"), QStringLiteral("Caricatore"), QStringLiteral("REPARTO2"), "0.125", 1, 0,
            "0", {});
        return pos::ReceiptRow::ofSale(db(), idBanco);
    }
};

// Every window's receipt for the same sale, byte for byte as the driver reads it, in both folders.
TEST_F(ReceiptFilesTest, EveryVariantWritesItsGoldenFile)
{
    const QList<pos::ReceiptRow> sale = ringUpSale();
    const QList<pos::ReceiptRow> repair{pos::ReceiptRow::repairTicket(
        QStringLiteral("RIP-7"), QStringLiteral("Riparazione display"), core::Money::fromInt(85))};
    const struct
    {
        const char* golden;
        pos::ReceiptVariant variant;
        QString payment;
        QString fiscalCode;
        const QList<pos::ReceiptRow>& rows;
        QByteArray start;
    } cases[] = {
        {"keyboard.txt", pos::ReceiptVariant::Keyboard, {}, {}, sale, "\r\n"},
        {"keyboard-codice-fiscale.txt", pos::ReceiptVariant::Keyboard, {}, FiscalCode, sale, "\r\n"},
        {"touch.txt", pos::ReceiptVariant::Touch, {}, {}, sale, "1234\r\n"},
        {"talking.txt", pos::ReceiptVariant::Talking, {}, FiscalCode, sale, "1234\r\n"},
        {"cash-desk-bancomat.txt",
         pos::ReceiptVariant::CashDesk,
         QStringLiteral("Bancomat"),
         {},
         sale,
         "1234\r\n"},
        {"suspended-sale.txt", pos::ReceiptVariant::SuspendedSale, {}, {}, sale, "1234\r\n"},
        {"repair-ticket.txt", pos::ReceiptVariant::RepairTicket, {}, {}, repair, "1234\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        const ReceiptFolders folders;
        folders.printer().handOver(pos::buildReceipt(c.variant, c.rows, c.payment, c.fiscalCode, Password));
        const QByteArray expected = golden(c.golden);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(folders.receiptFile("Sr_Dati.001"), expected);
        EXPECT_EQ(folders.driverFile("SR_Dati.001"), expected);
        EXPECT_EQ(folders.receiptFile("Sr_Start.001"), c.start);
        EXPECT_EQ(folders.driverFile("SR_Start.001"), c.start);
    }
}

TEST_F(ReceiptFilesTest, TheCashDeskClosesByPaymentTypeAndEmptyIsCash)
{
    const QList<pos::ReceiptRow> repair{
        pos::ReceiptRow::repairTicket(QStringLiteral("X"), QStringLiteral("X"), {})};
    // The debit card's closing is in the golden files.
    const std::pair<const char*, const char*> cases[] = {
        {"", "CASH;"}, {"Carta di Credito", "CARD;"}, {"Assegno", "CHEQ;"}, {"Coupon", "COUP;"}};
    for (const auto& [payment, closing] : cases)
        EXPECT_EQ(
            pos::buildReceipt(pos::ReceiptVariant::CashDesk, repair, QString::fromLatin1(payment), {}, {})
                .dataLines.last(),
            QString::fromLatin1(closing))
            << payment;
}

// A row outside the ten departments would be in the sale's total but not on the receipt.
TEST_F(ReceiptFilesTest, ARowWithoutFiscalDepartmentRefusesTheReceiptNamingIt)
{
    QList<pos::ReceiptRow> rows = ringUpSale();
    rows[3].reparto.clear();
    const QString refusal =
        QStringLiteral("Lo scontrino non può essere emesso: la riga \"Pellicola\nlinea\" "
                       "(codice PEL) non ha un reparto fiscale valido (da REPARTO1 a REPARTO10).");
    EXPECT_EQ(pos::unprintableRowRefusal(rows), refusal);
    EXPECT_EQ(ct::errorOf([&] { pos::buildReceipt(pos::ReceiptVariant::Keyboard, rows, {}, {}, {}); }),
              refusal);
    EXPECT_TRUE(pos::unprintableRowRefusal(ringUpSale()).isEmpty());
    EXPECT_EQ(ct::errorOf([&] { pos::buildReceipt(pos::ReceiptVariant::Talking, ringUpSale(), {}, {}, {}); }),
              QStringLiteral("Per lo scontrino parlante inserire il codice fiscale o la partita IVA."));
}

TEST_F(ReceiptFilesTest, TwoReceiptsInARowLeaveOnlyTheSecondsFiles)
{
    const ReceiptFolders folders;
    pos::FileReceiptDriver printer = folders.printer();
    printer.handOver(
        pos::buildReceipt(pos::ReceiptVariant::Touch, ringUpSale(), {}, {}, QStringLiteral("prima")));
    const QList<pos::ReceiptRow> repair{pos::ReceiptRow::repairTicket(
        QStringLiteral("RIP-7"), QStringLiteral("Riparazione display"), core::Money::fromInt(85))};
    printer.handOver(pos::buildReceipt(pos::ReceiptVariant::RepairTicket, repair, {}, {}, Password));

    EXPECT_EQ(folders.driverFile("SR_Dati.001"), golden("repair-ticket.txt"));
    EXPECT_EQ(folders.driverFile("SR_Start.001"), QByteArray("1234\r\n"));
    EXPECT_EQ(filesIn(folders.receipts()),
              QStringList({QStringLiteral("Sr_Dati.001"), QStringLiteral("Sr_Start.001")}));
    EXPECT_EQ(filesIn(folders.driver()),
              QStringList({QStringLiteral("SR_Dati.001"), QStringLiteral("SR_Start.001")}));
}

TEST(FileReceiptDriver, ACopyThatFailsIsReportedAndNoStartFileFollows)
{
    const pos::Receipt receipt{{QStringLiteral("CASH;")}, {}};
    {
        QTemporaryDir root;
        pos::FileReceiptDriver printer(root.filePath(QStringLiteral("scontrini")),
                                       root.filePath(QStringLiteral("manca")));
        EXPECT_EQ(
            ct::errorOf([&] { printer.handOver(receipt); }),
            QStringLiteral("La cartella del driver fiscale %1 non esiste: lo scontrino non è stato inviato "
                           "alla stampante fiscale.")
                .arg(root.filePath(QStringLiteral("manca"))));
    }
    {
        // A folder stands where the data file goes, as a file the driver keeps locked would: the copy fails.
        ReceiptFolders folders;
        QDir(folders.driver()).mkpath(QStringLiteral("SR_Dati.001/occupato"));
        pos::FileReceiptDriver printer = folders.printer();
        const QString message = ct::errorOf([&] { printer.handOver(receipt); });
        EXPECT_TRUE(
            message.startsWith(QStringLiteral("Impossibile copiare il file SR_Dati.001 nella cartella del "
                                              "driver fiscale %1 (")
                                   .arg(folders.driver())))
            << message.toStdString();
        EXPECT_TRUE(
            message.endsWith(QStringLiteral("): lo scontrino non è stato inviato alla stampante fiscale.")));
        EXPECT_EQ(filesIn(folders.driver()), QStringList());
    }
    {
        // A start line the driver's code page cannot hold stops the receipt before any file is written.
        ReceiptFolders folders;
        pos::FileReceiptDriver printer = folders.printer();
        EXPECT_EQ(
            ct::errorOf([&] {
                printer.handOver({{QStringLiteral("CASH;")}, QStringLiteral("chiave☃")});
            }),
            QStringLiteral("Lo scontrino contiene caratteri che la stampante fiscale non può stampare."));
        EXPECT_EQ(filesIn(folders.receipts()), QStringList());
        EXPECT_EQ(filesIn(folders.driver()), QStringList());
    }
}

// The driver may read its folder at any moment: the receipt files there must only ever appear
// whole (renamed into place, never written in place), the data file before the start file.
TEST(FileReceiptDriver, DriverFilesAppearWholeAndTheDataFileFirst)
{
    ReceiptFolders folders;
    pos::FileReceiptDriver printer = folders.printer();
    const pos::Receipt receipt{{QStringLiteral("PLUD,C[A],:B,N1,P100,Q1;"), QStringLiteral("CASH;")}, {}};
    printer.handOver(receipt); // the second hand-over replaces files that are already there

    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(folders.driver()).constData(),
                                IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO),
              0);
    printer.handOver(receipt);

    QStringList appeared;
    QStringList writtenInPlace;
    alignas(inotify_event) char buffer[64 * 1024];
    ssize_t length = 0;
    while ((length = read(watch, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            const QString name = event->len ? QFile::decodeName(event->name) : QString();
            if (name.startsWith(QStringLiteral("SR_")) && name.endsWith(QStringLiteral(".001"))) {
                if (event->mask & (IN_MODIFY | IN_CLOSE_WRITE))
                    writtenInPlace.append(name);
                else
                    appeared.append(name);
            }
            p += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    EXPECT_EQ(writtenInPlace, QStringList());
    EXPECT_EQ(appeared, QStringList({QStringLiteral("SR_Dati.001"), QStringLiteral("SR_Start.001")}));
    EXPECT_EQ(folders.driverFile("SR_Dati.001"), QByteArray("PLUD,C[A],:B,N1,P100,Q1;\r\nCASH;\r\n"));
}

} // namespace
