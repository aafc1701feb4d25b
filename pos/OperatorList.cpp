#include "pos/OperatorList.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/OperatorPassword.h"
#include "core/Rows.h"

namespace carvendo::pos {

OperatorList::OperatorList(core::Db& db, core::Dialogs& dialogs) : m_db(db), m_dialogs(dialogs)
{
    for (const core::Row row :
         db.query(QStringLiteral("SELECT id, username FROM utenti WHERE Attivo = 1 ORDER BY username, id")))
        m_operators.append({row[u"id"].toInt(), row[u"username"].toString()});
}

OperatorList::Outcome OperatorList::logIn(int index, const QString& password)
{
    if (index < 0 || index >= m_operators.size()) {
        m_dialogs.warning(QStringLiteral("Selezionare Operatore"));
        return Outcome::NoOperator;
    }
    if (password.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire la password"));
        return Outcome::EmptyPassword;
    }
    const TillOperatorChoice& chosen = m_operators.at(index);
    const std::optional<core::Operator> who = core::checkOperatorPassword(m_db, chosen.username, password);
    // Another row sharing the username (an inactive one, say) does not log the chosen operator in.
    if (!who || who->id != chosen.id) {
        m_dialogs.warning(QStringLiteral("Password errata"));
        return Outcome::WrongPassword;
    }
    m_loggedIn = chosen;
    return Outcome::Accepted;
}

} // namespace carvendo::pos
