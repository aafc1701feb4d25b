#pragma once

#include <QString>

#include <stdexcept>

namespace carvendo::schema {

// A fault in the schema files shipped with the program (table definitions, municipalities list) or a
// question about a table they do not define. line() is the 1-based line of the file, 0 when none applies.
class SchemaError : public std::runtime_error
{
public:
    explicit SchemaError(const QString& message, int line = 0);

    QString message() const { return m_message; }
    int line() const { return m_line; }

private:
    QString m_message;
    int m_line;
};

} // namespace carvendo::schema
