#pragma once

#include <QString>
#include <QStringList>

namespace carvendo::core {

// A statement with :NAME placeholders turned into '?' for the server, and the names in order
// (upper-cased: placeholders match their values ignoring letter case).
struct ParsedStatement
{
    QString sql;
    QStringList names;
};

// Finds the :NAME placeholders outside quotes and comments. ':=' and '::' are left alone.
ParsedStatement parsePlaceholders(const QString& sql);

// Splits a script into statements on the client: quotes, back-quotes, comments and DELIMITER lines
// are respected; comment-only pieces are dropped; executable comments (/*! ... */) are kept.
QStringList splitScript(const QString& script);

// True for statements that only read (SELECT, SHOW, ...): those may be re-run after a lost connection.
bool isReadOnlyStatement(const QString& sql);

// An identifier that may be put into SQL text (database, procedure, variable names): letters,
// digits and underscores only.
bool isPlainIdentifier(const QString& name);

} // namespace carvendo::core
