#include "foundation/ImpostazioniIni.h"

#include "core/ConnectionIni.h"
#include "core/Numbering.h"
#include "core/Paths.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
namespace K = ImpostazioniKeys;
namespace ct = carvendo::testing;

namespace {

class ImpostazioniIniTest : public ::testing::Test
{
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const { ct::writeFile(file(name), bytes); }

    QTemporaryDir m_dir;
};

TEST_F(ImpostazioniIniTest, KeysAreReadFromTheirSectionsAndValuesOutsideTheirListReadAsDefault)
{
    write(QStringLiteral("impostazioni.ini"), "[Impostazioni]\r\n"
                                              "Disconnessione dopo=7 minuti\r\n"
                                              "BARCODE=Ean8\r\n"
                                              "[ETICHETTE]\r\n"
                                              "Etichettatrice=Brother QL-999\r\n");
    const ImpostazioniIni ini(file(QStringLiteral("impostazioni.ini")));
    EXPECT_EQ(ini.text(K::disconnessioneDopo()), "10 minuti") << "not one of the list";
    EXPECT_EQ(itemBarcodeStandard(ini), carvendo::core::BarcodeStandard::Ean8) << "new items follow it";
    EXPECT_EQ(ini.text(K::etichettatrice()), "") << "not one of the three printers";

    ImpostazioniIni written(file(QStringLiteral("nuovo.ini")));
    EXPECT_THROW(written.setText(K::disconnessioneDopo(), QStringLiteral("45 minuti")),
                 std::invalid_argument);
    EXPECT_THROW(written.setText(K::barcode(), QStringLiteral("EAN13")), std::invalid_argument);
}

// The splash screen shows when `Splash` is 1, unless `Transfer`/`Connessione` is exactly "0".
TEST_F(ImpostazioniIniTest, SplashRuleOnlyTheExactTextZeroSuppressesIt)
{
    const struct
    {
        const char* splash;      // null: key absent
        const char* connessione; // null: key absent
        bool shown;
    } cases[] = {
        {"1", nullptr, true},
        {"1", "0", false},
        {"1", "00", true},
        {"0", nullptr, false},
    };
    const Paths paths(m_dir.path(), m_dir.path());
    for (const auto& c : cases) {
        QByteArray impostazioni;
        if (c.splash)
            impostazioni = QByteArray("[Impostazioni]\r\nSplash=") + c.splash + "\r\n";
        QByteArray connessione = "[MAGAZZINO]\r\nID=1\r\n";
        if (c.connessione)
            connessione += QByteArray("[Transfer]\r\nConnessione=") + c.connessione + "\r\n";
        write(QStringLiteral("impostazioni.ini"), impostazioni);
        write(QStringLiteral("connessione.ini"), connessione);

        EXPECT_EQ(showsSplashScreen(paths), c.shown)
            << (c.splash ? c.splash : "-") << " " << (c.connessione ? c.connessione : "-");
    }
    QFile::remove(file(QStringLiteral("impostazioni.ini")));
    QFile::remove(file(QStringLiteral("connessione.ini")));
    EXPECT_FALSE(showsSplashScreen(paths)) << "no settings files at all";
    EXPECT_TRUE(showsSplashScreen(true, TransferSettings{}));
}

} // namespace
