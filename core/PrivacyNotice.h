#pragma once

#include <QString>

namespace carvendo::core {

class Db;

// The shop's privacy notice, printed on the customers' consent form. One text for the whole company,
// kept with the other printed texts of the repair desk.
class PrivacyNotice
{
public:
    explicit PrivacyNotice(Db& db) : m_db(db) {}

    QString text();                   // empty when none was written
    void save(const QString& text);   // throws DbError

private:
    Db& m_db;
};

} // namespace carvendo::core
