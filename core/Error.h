#pragma once

#include <QString>

#include <stdexcept>

namespace carvendo::core {

// Every failure this program raises itself: the database, a settings file, a print, a refused
// value. message() is the Italian text the operator is shown; what() carries the same text for logs.
class Error : public std::runtime_error
{
public:
    // How a window shows the failure: a refusal of what the operator typed is a warning, anything
    // else (the server, a file, a printer) an error.
    enum class Kind
    {
        Failure,
        Refusal
    };

    explicit Error(const QString& message, Kind kind = Kind::Failure)
        : std::runtime_error(message.toStdString()), m_message(message), m_kind(kind)
    {
    }

    const QString& message() const { return m_message; }
    Kind kind() const { return m_kind; }

private:
    QString m_message;
    Kind m_kind;
};

} // namespace carvendo::core
