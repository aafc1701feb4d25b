#include "registry/WebAccounts.h"

#include "core/Connections.h"
#include "core/Db.h"

namespace carvendo::registry {

WebAccounts WebAccounts::of(core::Connections& connections)
{
    if (!connections.hasExchange())
        return {};
    return WebAccounts([&connections]() -> core::Db& { return connections.exchange(); });
}

core::Db& WebAccounts::db()
{
    if (!m_open)
        throw core::DbError(QStringLiteral("Connessione Portavia non configurata"));
    return m_open();
}

bool WebAccounts::exists(int idUser)
{
    return db().scalar(QStringLiteral("SELECT COUNT(*) FROM users WHERE id_user = :ID"),
                       {{QStringLiteral("ID"), idUser}})
               .toInt() > 0;
}

bool WebAccounts::usernameTaken(const QString& username, int exceptIdUser)
{
    return db().scalar(
                   QStringLiteral("SELECT COUNT(*) FROM users WHERE username = :USERNAME AND id_user <> :ID"),
                   {{QStringLiteral("USERNAME"), username}, {QStringLiteral("ID"), exceptIdUser}})
               .toInt() > 0;
}

void WebAccounts::create(int idUser, const QString& username, const QString& password)
{
    db().exec(
        QStringLiteral(
            "INSERT INTO users (id_user, username, passwd, attivo) VALUES (:ID, :USERNAME, :PASSWD, 1)"),
        {{QStringLiteral("ID"), idUser},
         {QStringLiteral("USERNAME"), username},
         {QStringLiteral("PASSWD"), password}});
}

void WebAccounts::update(int idUser, const QString& username, const QString& password)
{
    db().exec(QStringLiteral("UPDATE users SET username = :USERNAME, passwd = :PASSWD WHERE id_user = :ID"),
              {{QStringLiteral("ID"), idUser},
               {QStringLiteral("USERNAME"), username},
               {QStringLiteral("PASSWD"), password}});
}

void WebAccounts::remove(int idUser)
{
    db().exec(QStringLiteral("DELETE FROM users WHERE id_user = :ID"), {{QStringLiteral("ID"), idUser}});
}

} // namespace carvendo::registry
