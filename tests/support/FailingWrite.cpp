#include "tests/support/FailingWrite.h"

namespace carvendo::testing {

namespace {

QLatin1String eventOf(FailingWrite::On write)
{
    switch (write) {
    case FailingWrite::On::Insert:
        return QLatin1String("INSERT");
    case FailingWrite::On::Update:
        return QLatin1String("UPDATE");
    case FailingWrite::On::Delete:
        break;
    }
    return QLatin1String("DELETE");
}

} // namespace

QString failingWriteMessage()
{
    return QStringLiteral("guasto di prova");
}

// Tables and events come from the tests' own code, never from data.
FailingWrite::FailingWrite(core::Db& db, On write, const QString& table)
    : m_db(db), m_trigger(QStringLiteral("guasto_%1_%2").arg(table, eventOf(write)))
{
    m_db.execDirect(QStringLiteral("CREATE TRIGGER `%1` BEFORE %2 ON `%3` FOR EACH ROW "
                                   "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '%4'")
                        .arg(m_trigger, eventOf(write), table, failingWriteMessage()));
}

FailingWrite::~FailingWrite()
{
    try {
        m_db.execDirect(QStringLiteral("DROP TRIGGER IF EXISTS `%1`").arg(m_trigger));
    } catch (...) {
        // A destructor must not throw; a test whose connection broke has failed already.
    }
}

} // namespace carvendo::testing
