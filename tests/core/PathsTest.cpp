#include "core/Paths.h"

#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using carvendo::core::Paths;

namespace {

class PathsTest : public ::testing::Test
{
protected:
    QString dir(const QString& relative) const { return m_root.filePath(relative); }

    void touch(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(dir(relative)).absolutePath());
        QFile file(dir(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    static QProcessEnvironment environment(std::initializer_list<std::pair<QString, QString>> values)
    {
        QProcessEnvironment env;
        for (const auto& [name, value] : values)
            env.insert(name, value);
        return env;
    }

    QTemporaryDir m_root;
};

TEST_F(PathsTest, ShopSettingsAndCopiesComeBeforeTheInstalledOnes)
{
    const Paths paths(dir("dati"), dir("install"));
    EXPECT_EQ(paths.fiscalDriverDir("   "), dir("dati") + "/driver");
    EXPECT_EQ(paths.fiscalDriverDir("/srv/rts/"), "/srv/rts");
    EXPECT_EQ(paths.dbTemplate(), dir("install") + "/data/db.sql");
    touch("dati/db.sql");
    EXPECT_EQ(paths.dbTemplate(), dir("dati") + "/db.sql");
}

TEST_F(PathsTest, NamesThatCouldLeaveTheirFolderAreRefused)
{
    const Paths paths(dir("dati"), dir("install"));
    EXPECT_THROW(paths.companyScript("../gestionale"), std::invalid_argument);
    EXPECT_THROW(paths.layoutFile("../Vodafone"), std::invalid_argument);
    EXPECT_THROW(paths.reportTemplate("..\\fattura.fr3"), std::invalid_argument);
}

TEST_F(PathsTest, DataFolderComesFromTheEnvironment)
{
    touch("build/data/db.sql");
    const QString program = dir("build/app");
    EXPECT_EQ(Paths::fromEnvironment(environment({{"CARVENDO_DATA", dir("negozio")}, {"HOME", dir("casa")}}),
                                     program)
                  .dataDir(),
              dir("negozio"));
    EXPECT_EQ(Paths::fromEnvironment(environment({{"HOME", dir("casa")}}), program).dataDir(),
              dir("casa") + "/.local/share/carvendo");
}

TEST_F(PathsTest, InstallFolderIsFoundFromTheProgramFolder)
{
    const QProcessEnvironment env = environment({{"HOME", dir("casa")}});
    // Run from the build tree: build/tests/core/<test program>, build/data/db.sql.
    touch("build/data/db.sql");
    EXPECT_EQ(Paths::fromEnvironment(env, dir("build/app")).installDir(), dir("build"));
    // Installed under a prefix: prefix/bin and prefix/share/carvendo.
    touch("prefix/share/carvendo/data/db.sql");
    EXPECT_EQ(Paths::fromEnvironment(env, dir("prefix/bin")).installDir(), dir("prefix/share/carvendo"));
    // Everything beside the program, as on the shops' Windows machines.
    QDir().mkpath(dir("programma/Report"));
    EXPECT_EQ(Paths::fromEnvironment(env, dir("programma")).installDir(), dir("programma"));
}

} // namespace
