#include "foundation/MailSettings.h"

#include "foundation/LookupTables.h"

namespace carvendo::foundation {

MailAccount MailSettings::load()
{
    MailAccount account;
    const core::Rows rows = m_db.query(QStringLiteral("SELECT * FROM mail LIMIT 1"));
    if (rows.isEmpty())
        return account;
    const core::Row row = rows.first();
    account.hostname = row[u"hostname"].toString();
    account.mittente = row[u"mittente"].toString();
    account.port = row[u"port"].isNull() ? account.port : row[u"port"].toInt();
    account.firma = row[u"firma"].toString();
    account.username = row[u"username"].toString();
    account.password = row[u"password"].toString();
    return account;
}

void MailSettings::save(const MailAccount& account)
{
    requireFits(QStringLiteral("Host (SMTP server)"), account.hostname.trimmed(), 50);
    requireFits(QStringLiteral("Mittente"), account.mittente.trimmed(), 50);
    requireFits(QStringLiteral("Username"), account.username.trimmed(), 50);
    requireFits(QStringLiteral("Password"), account.password, 50);
    if (account.port < 1 || account.port > 65535)
        throw LookupError(QStringLiteral("Inserire un numero di porta valido"));

    const core::Params values{{QStringLiteral("HOSTNAME"), account.hostname.trimmed()},
                              {QStringLiteral("MITTENTE"), account.mittente.trimmed()},
                              {QStringLiteral("PORT"), account.port},
                              {QStringLiteral("FIRMA"), account.firma},
                              {QStringLiteral("USERNAME"), account.username.trimmed()},
                              {QStringLiteral("PASSWORD"), account.password}};
    core::Transaction transaction(m_db);
    // One row holds the account; a company that lost it gets it back.
    if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM mail")).toInt() == 0)
        m_db.exec(QStringLiteral("INSERT INTO mail (hostname, mittente, port, firma, username, password) "
                                 "VALUES (:HOSTNAME, :MITTENTE, :PORT, :FIRMA, :USERNAME, :PASSWORD)"),
                  values);
    else
        m_db.exec(QStringLiteral("UPDATE mail SET hostname = :HOSTNAME, mittente = :MITTENTE, port = :PORT, "
                                 "firma = :FIRMA, username = :USERNAME, password = :PASSWORD"),
                  values);
    transaction.commit();
}

} // namespace carvendo::foundation
