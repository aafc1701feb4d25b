#include "foundation/PrivacyNotice.h"

#include "core/Db.h"

namespace carvendo::foundation {

QString PrivacyNotice::text()
{
    return m_db.scalar(QStringLiteral("SELECT Testo10 FROM preferenzeriparazioni ORDER BY idPrefRip LIMIT 1"))
        .toString();
}

void PrivacyNotice::save(const QString& text)
{
    core::Transaction transaction(m_db);
    const core::Field id = m_db.scalar(QStringLiteral("SELECT MIN(idPrefRip) FROM preferenzeriparazioni"));
    if (id.isNull())
        m_db.exec(QStringLiteral("INSERT INTO preferenzeriparazioni (Testo10) VALUES (:TESTO)"),
                  {{QStringLiteral("TESTO"), text}});
    else
        m_db.exec(QStringLiteral("UPDATE preferenzeriparazioni SET Testo10 = :TESTO WHERE idPrefRip = :ID"),
                  {{QStringLiteral("TESTO"), text}, {QStringLiteral("ID"), id.variant()}});
    transaction.commit();
}

} // namespace carvendo::foundation
