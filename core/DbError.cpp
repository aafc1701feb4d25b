#include "DbError.h"

namespace carvendo::core {

DbError::DbError(const QString& message, unsigned errorCode, const QString& sqlState, const QString& statement)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_errorCode(errorCode)
    , m_sqlState(sqlState)
    , m_statement(statement)
{
}

} // namespace carvendo::core
