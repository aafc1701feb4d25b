#pragma once

#include "tools/admin/AdminContext.h"

#include <QStringList>
#include <QTextStream>

#include <memory>
#include <vector>

namespace carvendo::admin {

// carvendo-admin: picks the command named on the command line and runs it.
// Exit codes: 0 done, 1 failed (the reason on the error stream), 2 wrong command line (with the usage).
class AdminTool
{
public:
    AdminTool(core::Paths paths, const core::Clock& clock, QTextStream& out, QTextStream& err);
    ~AdminTool();

    int run(const QStringList& words); // the words after the program name
    QString usage() const;

private:
    AdminCommand* find(const QString& name) const;

    core::Paths m_paths;
    const core::Clock& m_clock;
    QTextStream& m_out;
    QTextStream& m_err;
    std::vector<std::unique_ptr<AdminCommand>> m_commands;
};

} // namespace carvendo::admin
