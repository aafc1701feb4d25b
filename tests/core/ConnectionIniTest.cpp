#include "core/ConnectionIni.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;

namespace {

class ConnectionIniTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("connessione.ini")); }
    void write(const QByteArray& bytes) const { carvendo::testing::writeFile(path(), bytes); }

    QTemporaryDir m_dir;
};

const QByteArray ShopFile = "; postazione cassa 1\r\n"
                            "[PARAMETRI CONNESSIONE SERVER LOCALE]\r\n"
                            "SERVER_AZ=server01\r\n"
                            "PORTA_AZ=3310\r\n"
                            "DATABASE_AZ=aziende\r\n"
                            "USERNAME_AZ=cassa\r\n"
                            "PASSWORD_AZ=segreta\r\n"
                            "TYPE_MACHINE=CLIENT\r\n"
                            "[PARAMETRI CONNESSIONE PORTAVIA]\r\n"
                            "SERVER=remoto.example\r\n"
                            "PORTA=3306\r\n"
                            "ATTIVATO=1\r\n"
                            "IDRIVENDITORE=42\r\n"
                            "RAGIONESOCIALE=Telefonia Rossi\r\n"
                            "[MAGAZZINO]\r\n"
                            "ID=2\r\n"
                            "MAGAZZINO=NEGOZIO CENTRO\r\n"
                            "LET=C\r\n"
                            "[SESSIONE]\r\n"
                            "IDSESSIONE=17\r\n"
                            "SESSIONE_AVVIATA=1\r\n"
                            "[Transfer]\r\n"
                            "Backup automatico=1\r\n"
                            "Connessione=0\r\n";

TEST_F(ConnectionIniTest, ReadsEverySectionOfAShopFile)
{
    write(ShopFile);
    const ConnectionIni ini(path());

    EXPECT_EQ(ini.directory(),
              (DirectorySettings{"server01", 3310, "aziende", "cassa", "segreta", "CLIENT"}));
    EXPECT_EQ(ini.warehouse(), (WarehouseSettings{2, "NEGOZIO CENTRO", "C"}));
    EXPECT_EQ(ini.session(), (SessionMarkers{17, true}));
    EXPECT_TRUE(ini.transfer().backupOnClose());
    const PortaviaSettings portavia = ini.portavia();
    EXPECT_EQ(portavia.port, 3306);
    EXPECT_EQ(portavia.dealerId, 42);

    // The exchange is reached only when both a server and a database are written.
    PortaviaSettings partial;
    partial.server = QStringLiteral("remoto.example");
    EXPECT_FALSE(partial.connection());
    partial.database = QStringLiteral("scambio");
    ASSERT_TRUE(partial.connection());
    EXPECT_EQ(partial.connection()->database, QStringLiteral("scambio"));
}

// Any of these makes the company list unreachable, so the server window opens first.
TEST_F(ConnectionIniTest, MissingFileOrPortOrBlankValueLeavesTheDirectoryIncomplete)
{
    const ConnectionIni missing(path());
    EXPECT_EQ(missing.directory(), DirectorySettings{});
    EXPECT_FALSE(missing.directory().isComplete());

    const DirectorySettings complete{"localhost", 3307, "aziende", "root", "480117", "CLIENT/SERVER"};
    ASSERT_TRUE(complete.isComplete());
    EXPECT_FALSE((DirectorySettings{"localhost", 0, "aziende", "root", "480117", "CLIENT"}.isComplete()));
    EXPECT_FALSE((DirectorySettings{"  ", 3307, "aziende", "root", "480117", "CLIENT"}.isComplete()));
    write(
        "[PARAMETRI CONNESSIONE SERVER LOCALE]\nSERVER_AZ=localhost\nPORTA_AZ=tremila\nDATABASE_AZ=aziende\n"
        "USERNAME_AZ=root\nPASSWORD_AZ=480117\n");
    EXPECT_EQ(ConnectionIni(path()).directory().port, 0) << "a port that is no number";

    // The machine type is not part of the connection: a file without it still reaches the server.
    DirectorySettings noType = complete;
    noType.machineType.clear();
    EXPECT_TRUE(noType.isComplete());
    // Defaults fill only what is missing.
    EXPECT_EQ((DirectorySettings{"server01", 0, "", "cassa", "", "CLIENT"}.withDefaults()),
              (DirectorySettings{"server01", 3307, "aziende", "cassa", "480117", "CLIENT"}));
}

TEST_F(ConnectionIniTest, WritesItsKeysOwnerOnlyAndNeverTheExchangesDealer)
{
    write(ShopFile);
    ConnectionIni ini(path());
    ini.setDirectory({"localhost", 3307, "aziende", "root", "480117", "CLIENT/SERVER"});
    ini.setWarehouse({5, "MAGAZZINO CENTRALE", "M"});
    ini.setSession({0, false});
    ini.save();

    const QByteArray bytes = carvendo::testing::readFile(path());
    EXPECT_TRUE(bytes.contains("SERVER_AZ=localhost\r\nPORTA_AZ=3307\r\n")) << bytes.toStdString();

    EXPECT_FALSE(QFile::permissions(path()).testAnyFlags(QFileDevice::ReadGroup | QFileDevice::ReadOther))
        << "it holds the server's password";

    // The exchange's dealer and shop name are not the program's to write.
    PortaviaSettings changed = ConnectionIni(path()).portavia();
    changed.port = 3320;
    changed.dealerId = 99;
    changed.shopName = "Altro";
    ini.setPortavia(changed);
    ini.save();
    const PortaviaSettings read = ConnectionIni(path()).portavia();
    EXPECT_EQ(read.port, 3320);
    EXPECT_EQ(read.dealerId, 42);
    EXPECT_EQ(read.shopName, "Telefonia Rossi");
}

} // namespace
