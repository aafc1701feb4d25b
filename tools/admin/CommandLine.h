#pragma once

#include "core/Error.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace carvendo::admin {

// A wrong command line: the message is printed with the usage and the tool ends with exit code 2.
class UsageError : public core::Error
{
public:
    explicit UsageError(const QString& message) : Error(message, Kind::Refusal) {}
};

// The words after the program name: the command, its arguments, and the options, which may stand
// anywhere ("--port 3307" or "--port=3307").
class CommandLine
{
public:
    // Options that take a value, and options that are plain switches. Anything else starting with
    // "--" is a UsageError.
    static const QStringList& valueOptions();
    static const QStringList& switches();

    static CommandLine parse(const QStringList& words); // throws UsageError

    const QString& command() const { return m_command; }
    const QStringList& arguments() const { return m_arguments; }
    bool has(const QString& option) const { return m_values.contains(option) || m_switches.contains(option); }
    QString value(const QString& option) const { return m_values.value(option); }
    // A whole number option; throws UsageError when it is given but is not one.
    int intValue(const QString& option, int fallback) const;

private:
    QString m_command;
    QStringList m_arguments;
    QHash<QString, QString> m_values;
    QSet<QString> m_switches;
};

} // namespace carvendo::admin
