#pragma once

#include "core/Db.h"

#include <QString>

#include <functional>

namespace carvendo::core {

// Progress of a dump or a restore, 0 to 100. Called on the thread that runs it.
using Progress = std::function<void(int percent)>;

// A dump or restore that failed. message() is the dump tool's own error text (or, when the tool
// could not even start, an Italian sentence saying so).
class DumpError : public DbError
{
public:
    explicit DumpError(const QString& message) : DbError(message) {}
};

// The client programs that do the work; found on PATH unless given.
struct DumpTools
{
    QString dumpProgram = QStringLiteral("mariadb-dump");
    QString clientProgram = QStringLiteral("mariadb");
};

// Whole-database dumps as SQL text, and their restore, through the server's own client programs.
//
// A dump is written beside its target under a temporary name and takes the real name only when
// complete, so a failed dump never leaves a truncated file where the last good one was.
//
// A restore never runs the file straight into the company: it goes into a scratch database
// (<db>_ripristino) first and is readied there (see PrepareRestored); only when that worked are the tables
// swapped in with one atomic RENAME TABLE (the current ones moved aside into <db>_precedente), the routines,
// triggers and events recreated from the restored copy, and the two spare databases dropped. A restore that
// fails at any point leaves the company as it was.
//
// Dumps are made without --databases and restored with their DEFINER clauses replaced by
// CURRENT_USER, so a dump restores under another database name and on another server.
// The password goes to the programs through the environment, never on their command line.
// Every method opens its own connections, so a dump may run on a background thread.
class DatabaseDump
{
public:
    explicit DatabaseDump(DumpTools tools = {});

    const DumpTools& tools() const { return m_tools; }

    // Throws DumpError (the tool's text) or DbError; the previous file of that name stays as it was.
    void dumpTo(const ConnectionSettings& server, const QString& database, const QString& file,
                const Progress& progress = {}) const;

    // Run on a connection to the loaded copy before it is swapped in: a company dump made by an older
    // version is brought up to the program's schema there, so the company never runs on the old one.
    // Whatever it throws fails the restore.
    using PrepareRestored = std::function<void(Db& restored)>;

    // Replaces every table, routine, trigger and event of the database with those of the dump file.
    // Throws DumpError or DbError; then the database is as it was before.
    void restoreFrom(const ConnectionSettings& server, const QString& database, const QString& file,
                     const Progress& progress = {}, const PrepareRestored& prepare = {}) const;

    // The command-line arguments of both programs for these settings (the password is not among them).
    static QStringList connectionArguments(const ConnectionSettings& server);

private:
    void loadIntoScratch(const ConnectionSettings& server, const QString& scratch, const QString& file,
                         const Progress& progress) const;

    DumpTools m_tools;
};

} // namespace carvendo::core
