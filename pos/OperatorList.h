#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
struct Operator;
} // namespace carvendo::core

namespace carvendo::pos {

// One operator the till offers: an active row of `utenti`.
struct TillOperatorChoice
{
    int id = 0;
    QString username;
};

// The login at the till: the active operators to choose from and the check of the typed password
// (a legacy clear password that matches is hashed on the way). A refused login tells the operator
// why and writes nothing.
class OperatorList
{
public:
    enum class Outcome
    {
        Accepted,
        NoOperator,
        EmptyPassword,
        WrongPassword
    };

    OperatorList(core::Db& db, core::Dialogs& dialogs); // reads the list; throws DbError

    const QList<TillOperatorChoice>& operators() const { return m_operators; }

    // Checks the password of the operator at that index of operators() (-1: none chosen); the
    // accepted one is loggedIn().
    Outcome logIn(int index, const QString& password);
    const std::optional<TillOperatorChoice>& loggedIn() const { return m_loggedIn; }

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    QList<TillOperatorChoice> m_operators;
    std::optional<TillOperatorChoice> m_loggedIn;
};

} // namespace carvendo::pos
