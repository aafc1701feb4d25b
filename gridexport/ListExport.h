#pragma once

#include "core/Db.h"
#include "core/LongJob.h"
#include "gridexport/GridExport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::gridexport {

// The one way a list window exports: the file is chosen (by the operator, or by the program for
// exports with a fixed folder), the rows are read and the file written behind the progress bar on a
// connection of the job's own, then one success message. A failure (server, file) is thrown as the
// core::Error it is, for the window's command guard to show; nothing is reported as done.
class ListExport
{
public:
    using ReadRows = std::function<core::Rows(core::Db&)>;
    using WriteFile = std::function<void(const core::Rows&, const QString& path)>;

    // ownConnection: where the job reads (the window's connection stays free for the window); without
    // it the job reads on windowDb (tools and tests that run jobs in place).
    ListExport(core::Dialogs& dialogs, core::Db& windowDb, core::JobRunner runner = core::runHere,
               std::optional<core::ConnectionSettings> ownConnection = std::nullopt);

    void runJobsWith(core::JobRunner runner, std::optional<core::ConnectionSettings> ownConnection);

    // The grid in the format the operator picked, to a file the operator chooses ("<baseName>.<ext>"
    // proposed). The path written, or nothing when the operator cancelled the file dialog.
    std::optional<QString> toChosenFile(ExportFormat format, const QString& baseName,
                                        const QStringList& captions, const QString& progressLabel,
                                        const ReadRows& read);

    // Rows written by `write` to a path the program chose: the message says where it went.
    void toFile(const QString& path, const QString& progressLabel, const ReadRows& read,
                const WriteFile& write);

    static QString doneMessage() { return QStringLiteral("Esportazione avvenuta con successo!"); }

private:
    void run(const QString& path, const QString& progressLabel, const ReadRows& read, const WriteFile& write);

    core::Dialogs& m_dialogs;
    core::Db& m_windowDb;
    core::JobRunner m_runner;
    std::optional<core::ConnectionSettings> m_ownConnection;
};

} // namespace carvendo::gridexport
