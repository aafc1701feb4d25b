#pragma once

#include "tools/admin/AdminContext.h"

namespace carvendo::admin {

// list-companies: the directory as tab-separated lines, a header first.
class ListCompaniesCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("list-companies"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;
};

// create-company NAME: a company database made from the template, added to the directory.
class CreateCompanyCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("create-company"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;
};

// upgrade [NAME...]: brings the named companies (every one by default) to the program's schema.
class UpgradeCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("upgrade"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;
};

} // namespace carvendo::admin
