#pragma once

#include "core/CompanyDirectory.h"
#include "core/ConnectionIni.h"
#include "core/Paths.h"
#include "tools/admin/CommandLine.h"

#include <QTextStream>

#include <memory>
#include <stdexcept>
#include <vector>

namespace carvendo::core {
class Clock;
} // namespace carvendo::core

namespace carvendo::admin {

// A job that could not be done: the message is printed and the tool ends with exit code 1.
class AdminFailure : public core::Error
{
public:
    using Error::Error;
};

// What every command works with: the folders, the directory connection (connessione.ini of the
// data folder, with the command line's overrides), the clock and the two output streams.
class AdminContext
{
public:
    AdminContext(core::Paths paths, const CommandLine& line, const core::Clock& clock, QTextStream& out,
                 QTextStream& err);

    const core::Paths& paths() const { return m_paths; }
    const core::Clock& clock() const { return m_clock; }
    QTextStream& out() { return m_out; }
    QTextStream& err() { return m_err; }

    // The directory settings; throws AdminFailure when they are not enough to reach the server.
    const core::DirectorySettings& directory() const;

    std::unique_ptr<core::Db> openServer() const;    // the directory's server, no database chosen
    std::unique_ptr<core::Db> openDirectory() const; // the directory database

    // The companies of the directory named by their database, or all of them when no name is given.
    // An unknown name throws AdminFailure. Rows without a database name are skipped with a note.
    std::vector<core::CompanyRecord> companies(const QStringList& databaseNames);

private:
    core::Paths m_paths;
    const core::Clock& m_clock;
    QTextStream& m_out;
    QTextStream& m_err;
    core::DirectorySettings m_directory;
};

// One command of the tool.
class AdminCommand
{
public:
    virtual ~AdminCommand() = default;
    virtual QString name() const = 0;
    virtual QString synopsis() const = 0; // the command's line in the usage text
    // The exit code: 0 done, 1 failed. Throws UsageError or AdminFailure (or the core's errors).
    virtual int run(AdminContext& context, const CommandLine& line) = 0;
};

} // namespace carvendo::admin
