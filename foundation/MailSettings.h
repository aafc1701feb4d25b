#pragma once

#include "core/Db.h"

#include <QString>

namespace carvendo::foundation {

// The outgoing e-mail account of the shop (the single `mail` row).
struct MailAccount
{
    QString hostname;
    QString mittente;
    int port = 587;
    QString firma;
    QString username;
    QString password;

    bool operator==(const MailAccount&) const = default;
};

class MailSettings
{
public:
    explicit MailSettings(core::Db& company) : m_db(company) {}

    MailAccount load();
    // Throws LookupError for a refused value, DbError when writing fails.
    void save(const MailAccount& account);

private:
    core::Db& m_db;
};

} // namespace carvendo::foundation
