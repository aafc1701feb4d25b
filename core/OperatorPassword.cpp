#include "core/OperatorPassword.h"

#include "core/Db.h"
#include "core/Error.h"

#include <sodium.h>

namespace carvendo::core {

namespace {

constexpr QLatin1StringView HashPrefix("$argon2id$");

void initialiseSodium()
{
    static const int ready = sodium_init(); // once per process; thread-safe as a static
    if (ready < 0)
        throw Error(QStringLiteral("Impossibile inizializzare la libreria crittografica"));
}

bool sameText(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && sodium_memcmp(a.constData(), b.constData(), std::size_t(a.size())) == 0;
}

} // namespace

QString OperatorPassword::hash(const QString& clearText)
{
    initialiseSodium();
    const QByteArray text = clearText.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, text.constData(), quint64(text.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw Error(QStringLiteral("Memoria insufficiente per cifrare la password"));
    return QString::fromLatin1(out);
}

bool OperatorPassword::isHash(const QString& stored)
{
    return stored.startsWith(HashPrefix);
}

bool OperatorPassword::matches(const QString& stored, const QString& typed)
{
    if (!isHash(stored))
        return sameText(stored.toUtf8(), typed.toUtf8());
    initialiseSodium();
    const QByteArray hashText = stored.toLatin1();
    const QByteArray text = typed.toUtf8();
    return crypto_pwhash_str_verify(hashText.constData(), text.constData(), quint64(text.size())) == 0;
}

std::optional<Operator> checkOperatorPassword(Db& db, const QString& username, const QString& password,
                                              const QString& warehouse)
{
    // The password is compared here, never in SQL: the server ignores letter case, and a hash
    // cannot be compared there at all.
    const Rows candidates =
        warehouse.isEmpty()
            ? db.query(QStringLiteral("SELECT * FROM utenti WHERE username = :USERNAME ORDER BY id"),
                       {{"USERNAME", username}})
            : db.query(QStringLiteral("SELECT * FROM utenti WHERE username = :USERNAME AND MAGAZZINO = "
                                      ":MAGAZZINO ORDER BY id"),
                       {{"USERNAME", username}, {"MAGAZZINO", warehouse}});
    for (const Row row : candidates) {
        const QString stored = row[u"password"].toString();
        if (!OperatorPassword::matches(stored, password))
            continue;
        Operator who = Operator::fromUtentiRow(row);
        if (!OperatorPassword::isHash(stored)) {
            // Only the clear text just checked is replaced: a second workstation logging the same
            // operator in at once, or a password changed meanwhile, is left as it is.
            who.password = OperatorPassword::hash(password);
            db.exec(QStringLiteral(
                        "UPDATE utenti SET password = :HASH WHERE id = :ID AND BINARY password = :OLD"),
                    {{"HASH", who.password}, {"ID", who.id}, {"OLD", stored}});
        }
        return who;
    }
    return std::nullopt;
}

} // namespace carvendo::core
