#include "gridexport/ListExport.h"

#include "core/Dialogs.h"

#include <QDir>

namespace carvendo::gridexport {

ListExport::ListExport(core::Dialogs& dialogs, core::Db& windowDb, core::JobRunner runner,
                       std::optional<core::ConnectionSettings> ownConnection)
    : m_dialogs(dialogs), m_windowDb(windowDb), m_runner(std::move(runner)),
      m_ownConnection(std::move(ownConnection))
{
}

void ListExport::runJobsWith(core::JobRunner runner, std::optional<core::ConnectionSettings> ownConnection)
{
    m_runner = std::move(runner);
    m_ownConnection = std::move(ownConnection);
}

std::optional<QString> ListExport::toChosenFile(ExportFormat format, const QString& baseName,
                                                const QStringList& captions, const QString& progressLabel,
                                                const ReadRows& read)
{
    const auto path =
        m_dialogs.chooseFile(GridExport::formatCaption(format), GridExport::fileFilter(format),
                             core::FileMode::Save, baseName + u'.' + GridExport::fileExtension(format));
    if (!path)
        return std::nullopt;
    run(*path, progressLabel, read, [format, captions](const core::Rows& rows, const QString& file) {
        GridExport::write(rows, format, file, captions);
    });
    m_dialogs.information(doneMessage());
    return path;
}

void ListExport::toFile(const QString& path, const QString& progressLabel, const ReadRows& read,
                        const WriteFile& write)
{
    run(path, progressLabel, read, write);
    m_dialogs.information(doneMessage() + u'\n' + QDir::toNativeSeparators(path));
}

void ListExport::run(const QString& path, const QString& progressLabel, const ReadRows& read,
                     const WriteFile& write)
{
    core::Db& windowDb = m_windowDb;
    const std::optional<core::ConnectionSettings> own = m_ownConnection;
    m_runner(progressLabel, [&windowDb, own, &read, &write, &path](const std::function<void(int)>& progress) {
        std::optional<core::Db> jobDb;
        if (own) {
            jobDb.emplace(*own);
            jobDb->open();
        }
        const core::Rows rows = read(jobDb ? *jobDb : windowDb);
        progress(50);
        write(rows, path);
        progress(100);
    });
}

} // namespace carvendo::gridexport
