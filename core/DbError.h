#pragma once

#include "core/Error.h"

#include <QString>

namespace carvendo::core {

// A failure of the database layer. what() is the text to show in an error box: the server's own
// message for server errors, an Italian sentence for errors raised by the layer itself.
class DbError : public Error
{
public:
    DbError(const QString& message, unsigned errorCode = 0, const QString& sqlState = {},
            const QString& statement = {});

    unsigned errorCode() const { return m_errorCode; } // server/client error number, 0 for our own
    QString sqlState() const { return m_sqlState; }
    QString statement() const { return m_statement; } // the SQL that failed, when there was one

private:
    unsigned m_errorCode;
    QString m_sqlState;
    QString m_statement;
};

} // namespace carvendo::core
