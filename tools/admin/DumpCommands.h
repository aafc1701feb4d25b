#pragma once

#include "tools/admin/AdminContext.h"

namespace carvendo::admin {

// backup [NAME...]: each company (every one by default) dumped to a dated file in the dump folder,
// whose path is printed; made for a nightly cron job.
class BackupCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("backup"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;

    // <dump folder>/<database>_<yyyy-MM-dd_HHmmss>.sql
    static QString datedFile(const core::Paths& paths, const QString& database, const QDateTime& when);
};

// restore NAME FILE --conferma: the company's data replaced by the dump file.
class RestoreCommand final : public AdminCommand
{
public:
    QString name() const override { return QStringLiteral("restore"); }
    QString synopsis() const override;
    int run(AdminContext& context, const CommandLine& line) override;
};

} // namespace carvendo::admin
