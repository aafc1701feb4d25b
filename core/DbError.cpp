#include "core/DbError.h"

namespace carvendo::core {

DbError::DbError(const QString& message, unsigned errorCode, const QString& sqlState,
                 const QString& statement)
    : Error(message), m_errorCode(errorCode), m_sqlState(sqlState), m_statement(statement)
{
}

} // namespace carvendo::core
