#include "schema/SchemaError.h"

namespace carvendo::schema {

SchemaError::SchemaError(const QString& message, int line)
    : std::runtime_error(message.toStdString()), m_message(message), m_line(line)
{
}

} // namespace carvendo::schema
