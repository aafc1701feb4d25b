#pragma once

#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::foundation {

// The shop's privacy notice, printed on the customers' consent form. One text for the whole company,
// kept with the other printed texts of the repair desk.
class PrivacyNotice
{
public:
    explicit PrivacyNotice(core::Db& db) : m_db(db) {}

    QString text();                 // empty when none was written
    void save(const QString& text); // throws DbError

private:
    core::Db& m_db;
};

} // namespace carvendo::foundation
