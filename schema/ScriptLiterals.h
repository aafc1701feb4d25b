#pragma once

#include <QString>
#include <QStringView>

namespace carvendo::schema {

// `name` with any back-quote doubled: table and column names may hold spaces, apostrophes and '%'.
QString quoteIdentifier(QStringView name);

// A quoted string literal for the template script (fixed data, never operator input, which is always
// bound). Apostrophes are doubled rather than escaped with a backslash, so that a script splitter that
// only knows the standard form reads it right; backslashes and control characters are escaped.
QString stringLiteral(QStringView text);

} // namespace carvendo::schema
