// The data folder and the settings files, looked at before the program reads them.
#include "foundation/StartupFiles.h"

#include "core/Paths.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;

namespace {

TEST(StartupFilesTest, AnUnreadableSettingsFileOrAnUnusableFolderEndsTheStartWithTheReason)
{
    QTemporaryDir dir;
    carvendo::testing::ScriptedDialogs dialogs;
    const core::Paths paths(dir.filePath(QStringLiteral("dati")), dir.path());
    const foundation::StartupFiles files(paths);
    EXPECT_EQ(files.checkOrTell(dialogs), 0) << "a first start: the folder is made, no file yet";
    EXPECT_TRUE(QDir(paths.dataDir()).exists());

    // A folder where the file should be cannot be opened, not even by the administrator.
    ASSERT_TRUE(QDir().mkpath(paths.connessioneIni()));
    EXPECT_EQ(files.checkOrTell(dialogs), foundation::StartupFiles::UnusableExitCode);
    EXPECT_EQ(dialogs.texts(carvendo::testing::DialogEvent::Kind::Error),
              QStringList{QStringLiteral("Impossibile leggere il file delle impostazioni %1.\n"
                                         "Controllare il file e i permessi, poi riavviare il programma.")
                              .arg(QDir::toNativeSeparators(paths.connessioneIni()))});

    // A file where the data folder should be.
    dialogs.clear();
    QFile blocker(dir.filePath(QStringLiteral("occupato")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const core::Paths blocked(blocker.fileName(), dir.path());
    EXPECT_EQ(foundation::StartupFiles(blocked).checkOrTell(dialogs),
              foundation::StartupFiles::UnusableExitCode);
    EXPECT_EQ(dialogs.texts(carvendo::testing::DialogEvent::Kind::Error),
              QStringList{QStringLiteral("Impossibile creare la cartella dei dati %1.\n"
                                         "Controllare il percorso e i permessi, poi riavviare il programma.")
                              .arg(QDir::toNativeSeparators(blocker.fileName()))});
}

} // namespace
