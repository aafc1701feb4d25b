// carvendo-admin: maintenance of a shop's databases from a shell or a cron table.
//   carvendo-admin backup              nightly copy of every company, one dated file each
//   carvendo-admin help                every command and option
#include "core/Clock.h"
#include "core/Paths.h"
#include "tools/admin/AdminTool.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const carvendo::core::SystemClock clock;
    carvendo::admin::AdminTool tool(
        carvendo::core::Paths::fromEnvironment(QCoreApplication::applicationDirPath()), clock, out, err);
    return tool.run(app.arguments().mid(1));
}
