#pragma once

#include "core/Db.h"

#include <QString>
#include <QStringList>

namespace carvendo::foundation {

// The shop's fiscal cash register as the "Registratori di Cassa" page edits it.
struct CashRegisterSettings
{
    QString marca;
    QString modello;
    QString cartellaLavoro; // the fiscal driver's folder; empty for the default one
    QString password;       // `CASSA`/`PASSWORD` of impostazioni.ini

    bool operator==(const CashRegisterSettings&) const = default;
};

// The register lives in the first `casse` row; its password in the workstation's impostazioni.ini.
class CashRegisters
{
public:
    CashRegisters(core::Db& company, QString impostazioniPath);

    QStringList brands();
    QStringList models(const QString& brand);

    CashRegisterSettings load();
    // Throws LookupError for a refused value, DbError or IniFileError when writing fails. The password
    // file is written after the row is committed, so a failed database step leaves it untouched.
    void save(const CashRegisterSettings& settings);

private:
    core::Db& m_db;
    QString m_impostazioniPath;
};

} // namespace carvendo::foundation
