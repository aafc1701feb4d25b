#pragma once

#include "core/Error.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace carvendo::testing {

// The bytes of a file; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes over the file; fails the test when it cannot.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

// The message of the error the call throws: what the operator would read. A marker when it throws
// none, so the test's comparison fails with something to read.
template <typename Call> QString errorOf(Call&& call)
{
    try {
        call();
    } catch (const core::Error& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return QStringLiteral("(nessun errore)");
}

} // namespace carvendo::testing
