#pragma once

#include "core/Db.h"

#include <QString>

namespace carvendo::foundation {

// Which printed documents carry the company logo (the single `logostampe` row).
struct LogoUse
{
    bool fatture = false;
    bool preventivi = false;
    bool ddt = false;       // "Documenti di Trasporto"
    bool ricassist = false; // "Ricevute CAT"
    bool altro = false;     // "Ordini Clienti"

    bool operator==(const LogoUse&) const = default;
};

// The "Stampe" page: logo use per document and, for goods-in PDFs, the Dropbox folder of this
// workstation (`DROPBOX`/`Path` of impostazioni.ini).
class PrintSettings
{
public:
    PrintSettings(core::Db& company, QString impostazioniPath);

    LogoUse logoUse();
    QString dropboxPath() const;
    // Throws LookupError for a folder that does not exist, DbError or IniFileError when writing fails.
    // impostazioni.ini is written after the commit: a failed database step leaves it untouched.
    void save(const LogoUse& use, const QString& dropboxPath);

private:
    core::Db& m_db;
    QString m_impostazioniPath;
};

} // namespace carvendo::foundation
