#include "foundation/StartupFiles.h"

#include "core/CommandGuard.h"
#include "core/Error.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace carvendo::foundation {

namespace {

void checkFolder(const QString& path)
{
    if (!QDir().mkpath(path) || !QFileInfo(path).isDir())
        throw core::Error(QStringLiteral("Impossibile creare la cartella dei dati %1.\n"
                                         "Controllare il percorso e i permessi, poi riavviare il programma.")
                              .arg(QDir::toNativeSeparators(path)));
    // Every settings file is saved through a new file in the same folder: one must be possible.
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".prova-scrittura-XXXXXX")));
    if (!probe.open())
        throw core::Error(QStringLiteral("Impossibile scrivere nella cartella dei dati %1.\n"
                                         "Controllare i permessi, poi riavviare il programma.")
                              .arg(QDir::toNativeSeparators(path)));
}

// A missing file reads as the defaults; one that is there must open.
void checkReadable(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw core::Error(QStringLiteral("Impossibile leggere il file delle impostazioni %1.\n"
                                         "Controllare il file e i permessi, poi riavviare il programma.")
                              .arg(QDir::toNativeSeparators(path)));
}

} // namespace

void StartupFiles::check() const
{
    checkFolder(m_paths.dataDir());
    checkReadable(m_paths.connessioneIni());
    checkReadable(m_paths.impostazioniIni());
}

int StartupFiles::checkOrTell(core::Dialogs& dialogs) const
{
    return core::runGuarded(dialogs, [this] { check(); }) ? 0 : UnusableExitCode;
}

} // namespace carvendo::foundation
