#include "foundation/PrintSettings.h"

#include "foundation/ImpostazioniIni.h"
#include "foundation/LookupTables.h"

#include <QFileInfo>

namespace carvendo::foundation {

PrintSettings::PrintSettings(core::Db& company, QString impostazioniPath)
    : m_db(company), m_impostazioniPath(std::move(impostazioniPath))
{
}

LogoUse PrintSettings::logoUse()
{
    LogoUse use;
    const core::Rows rows = m_db.query(QStringLiteral(
        "SELECT fatture, preventivi, ddt, ricassist, altro FROM logostampe ORDER BY id LIMIT 1"));
    if (rows.isEmpty())
        return use;
    const core::Row row = rows.first();
    use.fatture = row[u"fatture"].toBool();
    use.preventivi = row[u"preventivi"].toBool();
    use.ddt = row[u"ddt"].toBool();
    use.ricassist = row[u"ricassist"].toBool();
    use.altro = row[u"altro"].toBool();
    return use;
}

QString PrintSettings::dropboxPath() const
{
    return ImpostazioniIni(m_impostazioniPath).text(ImpostazioniKeys::dropboxPath());
}

void PrintSettings::save(const LogoUse& use, const QString& dropboxPath)
{
    const QString folder = dropboxPath.trimmed();
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        throw LookupError(QStringLiteral("La cartella Dropbox indicata non esiste"));

    const core::Params values{{QStringLiteral("FATTURE"), use.fatture ? 1 : 0},
                              {QStringLiteral("PREVENTIVI"), use.preventivi ? 1 : 0},
                              {QStringLiteral("DDT"), use.ddt ? 1 : 0},
                              {QStringLiteral("RICASSIST"), use.ricassist ? 1 : 0},
                              {QStringLiteral("ALTRO"), use.altro ? 1 : 0}};
    core::Transaction transaction(m_db);
    if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM logostampe")).toInt() == 0)
        m_db.exec(QStringLiteral("INSERT INTO logostampe (fatture, preventivi, ddt, ricassist, altro) "
                                 "VALUES (:FATTURE, :PREVENTIVI, :DDT, :RICASSIST, :ALTRO)"),
                  values);
    else
        m_db.exec(
            QStringLiteral("UPDATE logostampe SET fatture = :FATTURE, preventivi = :PREVENTIVI, ddt = :DDT, "
                           "ricassist = :RICASSIST, altro = :ALTRO"),
            values);
    transaction.commit();
    // The file cannot be rolled back: it changes only once the database has taken the settings.
    ImpostazioniIni ini(m_impostazioniPath);
    ini.setText(ImpostazioniKeys::dropboxPath(), folder);
    ini.save();
}

} // namespace carvendo::foundation
