#include "core/IniFile.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using carvendo::core::IniFile;
namespace ct = carvendo::testing;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString path(const QString& name = QStringLiteral("connessione.ini")) const
    {
        return m_dir.filePath(name);
    }
    void writeBytes(const QByteArray& bytes) const { ct::writeFile(path(), bytes); }
    QByteArray readBytes(const QString& name = QStringLiteral("connessione.ini")) const
    {
        return ct::readFile(path(name));
    }

    QTemporaryDir m_dir;
};

const QByteArray Connessione = "; impostazioni della postazione\r\n"
                               "[PARAMETRI CONNESSIONE SERVER LOCALE]\r\n"
                               "SERVER_AZ=localhost\r\n"
                               "PORTA_AZ = 3307\r\n"
                               "PASSWORD_AZ=\"480117\"\r\n"
                               "TYPE_MACHINE=CLIENT/SERVER\r\n"
                               "\r\n"
                               "# il magazzino di questa cassa\r\n"
                               "[MAGAZZINO]\r\n"
                               "ID=2\r\n"
                               "MAGAZZINO=NEGOZIO CENTRO\r\n"
                               "\r\n"
                               "[Transfer]\r\n"
                               "Backup automatico=1\r\n"
                               "Connessione=0\r\n";

TEST_F(IniFileTest, LookupIgnoresLetterCaseAndKeepsSpacesInNames)
{
    writeBytes(Connessione);
    const IniFile ini(path());
    EXPECT_EQ(ini.value(u"parametri connessione server locale", u"server_az"), "localhost");
    EXPECT_EQ(ini.intValue(u"Parametri Connessione Server Locale", u"Porta_Az"), 3307);
    EXPECT_EQ(ini.intValue(u"TRANSFER", u"backup automatico"), 1);
    EXPECT_FALSE(ini.contains(u"MAGAZZINO", u"SERVER_AZ")); // keys belong to their own section
    EXPECT_EQ(ini.sections(), (QStringList{"PARAMETRI CONNESSIONE SERVER LOCALE", "MAGAZZINO", "Transfer"}));
    EXPECT_EQ(ini.keys(u"transfer"), (QStringList{"Backup automatico", "Connessione"}));
}

TEST_F(IniFileTest, MissingFilesAndIntegersThatAreNotIntegersGiveTheDefault)
{
    EXPECT_EQ(IniFile(path()).intValue(u"MAGAZZINO", u"ID", 7), 7);
    EXPECT_FALSE(QFile::exists(path())) << "reading never creates the file";
    writeBytes(
        "[CAT]\ngiorniconsegna= 12 \nvuoto=\nlettere=abc\nmisto=12x\nnegativo=-5\nunicariga=1\nspento=0\n");
    const IniFile ini(path());
    const std::pair<const char16_t*, int> cases[] = {
        {u"giorniconsegna", 12}, {u"vuoto", -1}, {u"misto", -1}, {u"negativo", -5}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(ini.intValue(u"CAT", key, -1), expected) << QString::fromUtf16(key).toStdString();
    EXPECT_FALSE(ini.boolValue(u"CAT", u"spento", true));
    EXPECT_TRUE(ini.boolValue(u"CAT", u"lettere", true));
}

// A changed key rewrites only its line; a new key goes to the end of its section, a new section to
// the end of the file.
TEST_F(IniFileTest, ChangesTouchOnlyTheirLinesAndNewKeysGoToTheEndOfTheirSection)
{
    writeBytes(Connessione);
    IniFile ini(path());
    ini.setIntValue(u"parametri connessione server locale", u"porta_az", 3310);
    ini.setValue(u"MAGAZZINO", u"MAGAZZINO", QStringLiteral("NEGOZIO MARE"));
    ini.setValue(u"Transfer", u"Connessione", QStringLiteral("0")); // unchanged value: line untouched
    ini.setValue(u"magazzino", u"LET", QStringLiteral("C"));
    ini.setValue(u"PARAMETRI CONNESSIONE SERVER LOCALE", u"DATABASE_AZ", QStringLiteral("aziende"));
    ini.setIntValue(u"SESSIONE", u"IDSESSIONE", 0);
    ini.setBoolValue(u"SESSIONE", u"SESSIONE_AVVIATA", false);
    ini.save();

    QByteArray expected = Connessione;
    expected.replace("PORTA_AZ = 3307", "PORTA_AZ = 3310");
    expected.replace("TYPE_MACHINE=CLIENT/SERVER\r\n",
                     "TYPE_MACHINE=CLIENT/SERVER\r\nDATABASE_AZ=aziende\r\n");
    expected.replace("MAGAZZINO=NEGOZIO CENTRO\r\n", "MAGAZZINO=NEGOZIO MARE\r\nLET=C\r\n");
    expected += "[SESSIONE]\r\nIDSESSIONE=0\r\nSESSIONE_AVVIATA=0\r\n";
    EXPECT_EQ(readBytes(), expected);
}

TEST_F(IniFileTest, NewFileIsCreatedWithItsFolderAsUtf8WithWindowsLineEnds)
{
    const QString nested = m_dir.filePath(QStringLiteral("dati/nuova/impostazioni.ini"));
    IniFile ini(nested);
    ini.setValue(u"Impostazioni", u"Disconnessione dopo", QStringLiteral("10 minuti"));
    ini.setValue(u"DROPBOX", u"Path", QStringLiteral("/home/negozio/Dropbox/Città"));
    ini.save();

    EXPECT_EQ(readBytes(QStringLiteral("dati/nuova/impostazioni.ini")),
              QByteArray("[Impostazioni]\r\nDisconnessione dopo=10 minuti\r\n"
                         "[DROPBOX]\r\nPath=/home/negozio/Dropbox/Citt\xC3\xA0\r\n"));
}

TEST_F(IniFileTest, Windows1252FileKeepsItsBytesUntilACharacterItCannotHold)
{
    const QByteArray original = "[Impostazioni]\r\n"
                                "SkinName=Caff\xE8 \x80\r\n"
                                "; nota: \x81 byte non definito\r\n"
                                "LOGO=0\r\n";
    writeBytes(original);
    IniFile ini(path());
    EXPECT_EQ(ini.encoding(), IniFile::Encoding::Windows1252);
    EXPECT_EQ(ini.value(u"Impostazioni", u"SkinName"), QString::fromUtf8("Caffè €"));

    ini.setValue(u"Impostazioni", u"LOGO", QString::fromUtf8("sì €"));
    ini.save();
    QByteArray expected = original;
    expected.replace("LOGO=0", "LOGO=s\xEC \x80");
    EXPECT_EQ(readBytes(), expected);

    // Taking a character Windows-1252 cannot hold, the file becomes UTF-8.
    writeBytes("[DROPBOX]\r\nPath=C:\\Caff\xE8\r\n");
    IniFile widened(path());
    widened.setValue(u"DROPBOX", u"Nota", QString::fromUtf8("→ archivio"));
    widened.save();
    EXPECT_EQ(readBytes(),
              QByteArray("[DROPBOX]\r\nPath=C:\\Caff\xC3\xA8\r\nNota=\xE2\x86\x92 archivio\r\n"));
    EXPECT_EQ(widened.encoding(), IniFile::Encoding::Utf8);
}

TEST_F(IniFileTest, PasswordFilesAreReadableByTheOwnerOnly)
{
    IniFile ini(path());
    ini.setValue(u"PARAMETRI CONNESSIONE SERVER LOCALE", u"PASSWORD_AZ", QStringLiteral("480117"));
    ini.save(IniFile::Permissions::OwnerOnly);
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto others =
        QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    EXPECT_EQ(QFile::permissions(path()) & (ownerOnly | others), ownerOnly);

    // A later ordinary save keeps the file as closed as it was.
    IniFile again(path());
    again.setValue(u"MAGAZZINO", u"ID", QStringLiteral("3"));
    again.save();
    EXPECT_EQ(QFile::permissions(path()) & (ownerOnly | others), ownerOnly);
}

TEST_F(IniFileTest, TextThatWouldBreakTheFileIsRefused)
{
    IniFile ini(path());
    EXPECT_THROW(ini.setValue(u"CASSA", u"PASSWORD", QStringLiteral("a\r\n[ALTRO]\r\nx=1")),
                 std::invalid_argument);
    EXPECT_THROW(ini.setValue(u"CASSA", u"PASS=WORD", QStringLiteral("1")), std::invalid_argument);
    EXPECT_THROW(ini.setValue(u"CAS]SA", u"PASSWORD", QStringLiteral("1")), std::invalid_argument);
    EXPECT_FALSE(ini.contains(u"CASSA", u"PASSWORD"));
}

TEST_F(IniFileTest, SaveFailureIsReportedWithTheFolder)
{
    ct::writeFile(path(QStringLiteral("blocco")), "non una cartella");
    const QString folder = m_dir.filePath(QStringLiteral("blocco/dati"));
    IniFile ini(folder + QStringLiteral("/connessione.ini"));
    ini.setValue(u"MAGAZZINO", u"ID", QStringLiteral("1"));
    EXPECT_EQ(ct::errorOf([&] { ini.save(); }),
              QStringLiteral("Impossibile creare la cartella %1").arg(folder));
}

} // namespace
