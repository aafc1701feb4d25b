#pragma once

#include "tools/admin/AdminContext.h"

namespace carvendo::admin {

// start-server: the embedded server of this workstation, left running when the tool ends.
class StartServerCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("start-server"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;
};

// stop-server: stops the embedded server of this workstation.
class StopServerCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("stop-server"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;
};

} // namespace carvendo::admin
