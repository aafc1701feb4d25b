#include "bench/BenchServer.h"

#include "bench/BenchMeasures.h"
#include "core/CompanyDatabase.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <iostream>

namespace carvendo::bench {

namespace {

core::LocalServerConfig serverConfig(const QString& folder, bool durable)
{
    core::LocalServerConfig config;
    config.folder = folder;
    config.port = core::LocalServer::findFreePort();
    config.rootPassword = QStringLiteral("bench");
    config.durable = durable;
    return config;
}

} // namespace

BenchServer::BenchServer(const QString& serverSubfolder, bool durable)
    : m_server(serverConfig(
          serverSubfolder.isEmpty() ? m_folder.path() : m_folder.path() + u'/' + serverSubfolder, durable))
{
}

BenchServer::~BenchServer()
{
    try {
        m_server.stop(); // nothing when run() has stopped it
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
    }
}

QString BenchServer::dbTemplate()
{
    return QStringLiteral(CARVENDO_DB_SQL);
}

int BenchServer::run(const std::function<void()>& work, const std::function<void()>& finish)
{
    int status = 0;
    try {
        m_server.start();
        work();
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        status = 1;
    }
    if (finish)
        finish();
    try {
        m_server.stop();
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        status = 1;
    }
    return status;
}

int BenchServer::runOnCompany(const QString& company, const std::function<void(core::Db&)>& generate,
                              std::unique_ptr<core::Db>& db)
{
    return run(
        [&] {
            const core::ConnectionSettings settings = createCompany(company);
            {
                core::Db filling(settings);
                filling.open();
                QElapsedTimer timer;
                timer.start();
                generate(filling);
                std::cout << company.toStdString() << " generated in " << timer.elapsed() / 1000.0 << " s"
                          << std::endl;
            }
            db = std::make_unique<core::Db>(settings);
            db->open();
            benchmark::RunSpecifiedBenchmarks();
            printSummary();
        },
        [&] { db.reset(); });
}

core::ConnectionSettings BenchServer::rootSettings() const
{
    return m_server.rootSettings();
}

core::ConnectionSettings BenchServer::createCompany(const QString& name) const
{
    core::Db server(rootSettings());
    server.open();
    core::createCompanyDatabase(server, name, dbTemplate());
    core::ConnectionSettings settings = rootSettings();
    settings.database = name;
    return settings;
}

} // namespace carvendo::bench
