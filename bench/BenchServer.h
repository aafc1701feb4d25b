#pragma once

#include "core/Db.h"
#include "core/LocalServer.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace carvendo::bench {

// The private MariaDB server of one benchmark program: started in a temporary folder on a free
// port (durable, as a shop's, unless asked otherwise), with the company databases the program
// measures made from the shipped db.sql. Every benchmark's main() runs its work through run().
class BenchServer
{
public:
    // The server's files go in <temporary folder>/<serverSubfolder> (the folder itself when empty).
    explicit BenchServer(const QString& serverSubfolder = QStringLiteral("server"), bool durable = true);
    ~BenchServer();
    BenchServer(const BenchServer&) = delete;
    BenchServer& operator=(const BenchServer&) = delete;

    // Starts the server, runs the work, then finish (also after a failure), and stops the server.
    // A failure is printed on stderr and gives 1; else 0.
    int run(const std::function<void()>& work, const std::function<void()>& finish = {});

    // The usual benchmark program: the company made and filled by generate (its time printed), then
    // every registered benchmark run on the shared connection db, which is closed at the end.
    int runOnCompany(const QString& company, const std::function<void(core::Db&)>& generate,
                     std::unique_ptr<core::Db>& db);

    // Root over TCP, no database chosen.
    core::ConnectionSettings rootSettings() const;
    // Makes the company database from db.sql and gives the settings that connect to it.
    core::ConnectionSettings createCompany(const QString& name) const;
    // The temporary folder, for the files a benchmark writes (dumps, PDFs); removed at the end.
    QString folder() const { return m_folder.path(); }
    // The shipped db.sql of the build tree.
    static QString dbTemplate();

private:
    QTemporaryDir m_folder;
    core::LocalServer m_server;
};

} // namespace carvendo::bench
