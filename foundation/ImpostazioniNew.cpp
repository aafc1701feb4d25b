#include "foundation/ImpostazioniNew.h"

#include "core/CommandGuard.h"

#include "core/ConnectionIni.h"
#include "core/Dialogs.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/CompanyProfile.h"
#include "foundation/ImpostazioniIni.h"

namespace carvendo::foundation {

namespace {

const QString LogoOn = QStringLiteral("1");
const QString LogoOff = QStringLiteral("0");

} // namespace

bool ImpostazioniStartup::showsSplashScreen() const
{
    return foundation::showsSplashScreen(splash, core::TransferSettings{0, connessione});
}

const QStringList& ImpostazioniNew::pageNames()
{
    static const QStringList names{
        QStringLiteral("Azienda"),
        QStringLiteral("Banche"),
        QStringLiteral("Logo"),
        QStringLiteral("Backup/Restore"),
        QStringLiteral("Registratori di Cassa"),
        QStringLiteral("e-mail"),
        QStringLiteral("Utenti"),
        QStringLiteral("Stampe"),
        QStringLiteral("e-commerce"),
    };
    return names;
}

int ImpostazioniNew::pageIndex(const QString& name)
{
    const int index = pageNames().indexOf(name);
    return index < 0 ? 0 : index;
}

int ImpostazioniNew::companyIdOf(core::Db& directory, const core::ConnectionSettings& company)
{
    return core::CompanyDirectory(directory).recordOf(company).id;
}

ImpostazioniNew::ImpostazioniNew(core::Db& company, core::Db& directory, const core::Paths& paths,
                                 const core::Session& session, core::Dialogs& dialogs, int companyId,
                                 QObject* parent)
    : QObject(parent), m_company(company), m_directory(directory), m_paths(paths), m_session(session),
      m_dialogs(dialogs), m_companyId(companyId)
{
    attempt([this] {
        const ImpostazioniIni ini(m_paths.impostazioniIni());
        m_startup.cassaPassword = ini.text(ImpostazioniKeys::cassaPassword());
        m_startup.logo = ini.text(ImpostazioniKeys::logo());
        m_startup.splash = ini.flag(ImpostazioniKeys::splash());
        m_startup.treDecimali = ini.flag(ImpostazioniKeys::treDecimali());
        m_startup.connessione = core::ConnectionIni(m_paths.connessioneIni()).transfer().connessione;
    });
    m_usesLogo = m_startup.logo == LogoOn;
    attempt([this] { m_logo = CompanyProfile(m_directory, m_companyId).logo(); });
}

template <typename Command> bool ImpostazioniNew::attempt(Command&& command)
{
    return core::runGuarded(m_dialogs, std::forward<Command>(command));
}

bool ImpostazioniNew::saved(bool done)
{
    if (done)
        m_dialogs.information(QStringLiteral("Impostazioni salvate"));
    return done;
}

core::CompanyRecord ImpostazioniNew::companyRecord()
{
    core::CompanyRecord record;
    attempt([&] { record = CompanyProfile(m_directory, m_companyId).load(); });
    return record;
}

bool ImpostazioniNew::saveCompany(const core::CompanyRecord& record)
{
    return saved(attempt([&] { CompanyProfile(m_directory, m_companyId).save(record); }));
}

bool ImpostazioniNew::loadLogo()
{
    const auto path = m_dialogs.chooseFile(QStringLiteral("Carica logo"),
                                           QStringLiteral("Immagini (*.png *.jpg *.jpeg *.bmp *.gif)"),
                                           core::FileMode::Open);
    if (!path)
        return false;
    QByteArray picture;
    if (!attempt([&] { picture = CompanyProfile::readPicture(*path); }))
        return false;
    m_logo = picture;
    emit logoChanged();
    return true;
}

bool ImpostazioniNew::deleteLogo()
{
    if (m_logo.isEmpty())
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Sei sicuro di voler eliminare l'immagine?")))
        return false;
    m_logo.clear();
    emit logoChanged();
    return true;
}

bool ImpostazioniNew::saveLogo()
{
    return saved(attempt([&] {
        CompanyProfile(m_directory, m_companyId).saveLogo(m_logo);
        ImpostazioniIni ini(m_paths.impostazioniIni());
        ini.setText(ImpostazioniKeys::logo(), m_usesLogo ? LogoOn : LogoOff);
        ini.save();
    }));
}

LookupEditor& ImpostazioniNew::list(Lookup lookup)
{
    auto& editor = m_lists[lookup];
    if (!editor) {
        editor = std::make_unique<LookupEditor>(m_company, lookup, m_session, m_dialogs);
        editor->reload();
    }
    return *editor;
}

QStringList ImpostazioniNew::cashRegisterBrands()
{
    QStringList brands;
    attempt([&] { brands = CashRegisters(m_company, m_paths.impostazioniIni()).brands(); });
    return brands;
}

QStringList ImpostazioniNew::cashRegisterModels(const QString& brand)
{
    QStringList models;
    attempt([&] { models = CashRegisters(m_company, m_paths.impostazioniIni()).models(brand); });
    return models;
}

CashRegisterSettings ImpostazioniNew::cashRegister()
{
    CashRegisterSettings settings;
    attempt([&] { settings = CashRegisters(m_company, m_paths.impostazioniIni()).load(); });
    return settings;
}

bool ImpostazioniNew::saveCashRegister(const CashRegisterSettings& settings)
{
    return saved(attempt([&] { CashRegisters(m_company, m_paths.impostazioniIni()).save(settings); }));
}

MailAccount ImpostazioniNew::mailAccount()
{
    MailAccount account;
    attempt([&] { account = MailSettings(m_company).load(); });
    return account;
}

bool ImpostazioniNew::saveMailAccount(const MailAccount& account)
{
    return saved(attempt([&] { MailSettings(m_company).save(account); }));
}

LogoUse ImpostazioniNew::logoUse()
{
    LogoUse use;
    attempt([&] { use = PrintSettings(m_company, m_paths.impostazioniIni()).logoUse(); });
    return use;
}

QString ImpostazioniNew::dropboxPath()
{
    QString path;
    attempt([&] { path = ImpostazioniIni(m_paths.impostazioniIni()).text(ImpostazioniKeys::dropboxPath()); });
    return path;
}

bool ImpostazioniNew::savePrintSettings(const LogoUse& use, const QString& dropboxPath)
{
    return saved(
        attempt([&] { PrintSettings(m_company, m_paths.impostazioniIni()).save(use, dropboxPath); }));
}

StoreConnection ImpostazioniNew::store()
{
    StoreConnection store;
    attempt([&] { store = StoreSettings(m_company).load(); });
    return store;
}

bool ImpostazioniNew::saveStore(const StoreConnection& store)
{
    return saved(attempt([&] { StoreSettings(m_company).save(store); }));
}

bool ImpostazioniNew::testStoreConnection(const StoreConnection& store)
{
    if (StoreSettings::canConnect(store)) {
        m_dialogs.information(QStringLiteral("Connessione OK"));
        return true;
    }
    m_dialogs.error(QStringLiteral("Impossibile stabilire una connessione"));
    return false;
}

} // namespace carvendo::foundation
