#pragma once

#include "core/CompanyDirectory.h"
#include "foundation/CashRegisters.h"
#include "foundation/LookupEditor.h"
#include "foundation/MailSettings.h"
#include "foundation/PrintSettings.h"
#include "foundation/StoreSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace carvendo::core {
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

// What the window reads from the workstation files when it opens.
struct ImpostazioniStartup
{
    QString cassaPassword; // `CASSA`/`PASSWORD`
    QString logo;          // `Impostazioni`/`LOGO`
    bool splash = false;   // `Impostazioni`/`Splash`
    QString connessione;   // `Transfer`/`Connessione` of connessione.ini
    bool treDecimali = false;

    bool showsSplashScreen() const;
};

// The logic of `TImpostazioniNew` ("Impostazioni Generali"): the company's data and logo (in the
// company directory), banks, cash register, e-mail account, operators and groups, printing and the
// online store link. Every "Salva" checks its page first and tells what went wrong; nothing is
// half-written.
class ImpostazioniNew : public QObject
{
    Q_OBJECT
public:
    // The pages, in order; the window can be opened on one of them by name.
    static const QStringList& pageNames();
    static int pageIndex(const QString& name); // 0 ("Azienda") for an unknown name

    // `directory` reaches the company directory, `company` the company's own database.
    // The `aziende` row of the company a connection reaches: the one with its database name, on its
    // host and port when several share the name. 0 when none matches.
    static int companyIdOf(core::Db& directory, const core::ConnectionSettings& company);

    ImpostazioniNew(core::Db& company, core::Db& directory, const core::Paths& paths,
                    const core::Session& session, core::Dialogs& dialogs, int companyId,
                    QObject* parent = nullptr);

    const ImpostazioniStartup& startup() const { return m_startup; }

    // "Azienda"
    core::CompanyRecord companyRecord();
    bool saveCompany(const core::CompanyRecord& record);

    // "Logo": the picture is kept here until "Salva".
    bool loadLogo();
    const QByteArray& logo() const { return m_logo; }
    bool deleteLogo();
    bool usesLogo() const { return m_usesLogo; }
    void setUsesLogo(bool on) { m_usesLogo = on; }
    bool saveLogo();

    // "Banche", "Lista Utenti", "Gestione Gruppi", report paths of "Stampe".
    LookupEditor& list(Lookup lookup);

    // "Registratori di Cassa"
    QStringList cashRegisterBrands();
    QStringList cashRegisterModels(const QString& brand);
    CashRegisterSettings cashRegister();
    bool saveCashRegister(const CashRegisterSettings& settings);

    // "e-mail"
    MailAccount mailAccount();
    bool saveMailAccount(const MailAccount& account);

    // "Stampe"
    LogoUse logoUse();
    QString dropboxPath();
    bool savePrintSettings(const LogoUse& use, const QString& dropboxPath);

    // "e-commerce"
    StoreConnection store();
    bool saveStore(const StoreConnection& store);
    // Tries the typed values; changes nothing.
    bool testStoreConnection(const StoreConnection& store);

signals:
    void logoChanged();

private:
    template <typename Command> bool attempt(Command&& command);
    bool saved(bool done);

    core::Db& m_company;
    core::Db& m_directory;
    const core::Paths& m_paths;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    int m_companyId;
    ImpostazioniStartup m_startup;
    QByteArray m_logo;
    bool m_usesLogo = false;
    std::map<Lookup, std::unique_ptr<LookupEditor>> m_lists;
};

} // namespace carvendo::foundation
