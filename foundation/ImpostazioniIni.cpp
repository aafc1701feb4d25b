#include "foundation/ImpostazioniIni.h"

#include "core/ConnectionIni.h"
#include "core/Numbering.h"
#include "core/Paths.h"

#include <stdexcept>

namespace carvendo::foundation {

namespace {

const QString Impostazioni = QStringLiteral("Impostazioni");

ImpostazioniKey flagKey(const QString& section, const QString& name)
{
    return ImpostazioniKey{section, name, IniValueType::Flag, QStringLiteral("0")};
}

ImpostazioniKey integerKey(const QString& section, const QString& name)
{
    return ImpostazioniKey{section, name, IniValueType::Integer, QStringLiteral("0")};
}

ImpostazioniKey textKey(const QString& section, const QString& name, const QString& defaultValue = {},
                        const QStringList& allowed = {})
{
    return ImpostazioniKey{section, name, IniValueType::Text, defaultValue, allowed};
}

const QStringList& idleTimes()
{
    static const QStringList times{
        QStringLiteral("1 minuto"),  QStringLiteral("2 minuti"),  QStringLiteral("3 minuti"),
        QStringLiteral("4 minuti"),  QStringLiteral("5 minuti"),  QStringLiteral("10 minuti"),
        QStringLiteral("15 minuti"), QStringLiteral("20 minuti"), QStringLiteral("30 minuti"),
    };
    return times;
}

bool isAllowed(const ImpostazioniKey& key, const QString& value)
{
    return key.allowedValues.isEmpty() || key.allowedValues.contains(value);
}

} // namespace

namespace ImpostazioniKeys {

const ImpostazioniKey& skinName()
{
    static const ImpostazioniKey key =
        textKey(Impostazioni, QStringLiteral("SkinName"), ImpostazioniValues::NoSkin,
                {ImpostazioniValues::NoSkin, QStringLiteral("Black"), QStringLiteral("Caramel"),
                 QStringLiteral("Coffee"), QStringLiteral("Estate"), QStringLiteral("iMaginary"),
                 QStringLiteral("Lilian"), QStringLiteral("Liquid Sky"), QStringLiteral("London Liquid Sky"),
                 QStringLiteral("Mac"), QStringLiteral("Natale"), QStringLiteral("Office 2007 Black"),
                 QStringLiteral("Office 2007 Green"), QStringLiteral("Office 2007 Pink"),
                 QStringLiteral("Office 2007 Silver"), QStringLiteral("San Valentino"),
                 QStringLiteral("Windows Seven")});
    return key;
}

const ImpostazioniKey& prezziDdt()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("Prezzi_Ddt"));
    return key;
}

const ImpostazioniKey& promemoria()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("Promemoria"));
    return key;
}

const ImpostazioniKey& splash()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("Splash"));
    return key;
}

const ImpostazioniKey& treDecimali()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("3 Decimali"));
    return key;
}

const ImpostazioniKey& ivaInclusaInScarico()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("Iva Inclusa in Scarico"));
    return key;
}

const ImpostazioniKey& operatorePosRichiesto()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("Operatore Pos Richiesto"));
    return key;
}

const ImpostazioniKey& disconnessioneAutomatica()
{
    static const ImpostazioniKey key =
        flagKey(Impostazioni, QStringLiteral("Disconnessione Operatore Automatica"));
    return key;
}

const ImpostazioniKey& disconnessioneDopo()
{
    static const ImpostazioniKey key = textKey(Impostazioni, QStringLiteral("Disconnessione dopo"),
                                               QStringLiteral("10 minuti"), idleTimes());
    return key;
}

const ImpostazioniKey& barcode()
{
    // New items get EAN-13 codes unless the shop chose EAN-8.
    static const ImpostazioniKey key =
        textKey(Impostazioni, QStringLiteral("BARCODE"), ImpostazioniValues::Ean13,
                {ImpostazioniValues::Ean8, ImpostazioniValues::Ean13});
    return key;
}

const ImpostazioniKey& logo()
{
    static const ImpostazioniKey key = textKey(Impostazioni, QStringLiteral("LOGO"));
    return key;
}

const ImpostazioniKey& interfacciaPos()
{
    static const ImpostazioniKey key =
        textKey(Impostazioni, QStringLiteral("Interfaccia Pos"), ImpostazioniValues::InterfacciaTouch,
                {ImpostazioniValues::InterfacciaClassica, ImpostazioniValues::InterfacciaTouch});
    return key;
}

const ImpostazioniKey& tuttoSchermo()
{
    static const ImpostazioniKey key = flagKey(Impostazioni, QStringLiteral("Pos Tutto Schermo"));
    return key;
}

const ImpostazioniKey& etichettatrice()
{
    static const ImpostazioniKey key =
        textKey(QStringLiteral("ETICHETTE"), QStringLiteral("Etichettatrice"), {},
                {QStringLiteral("Brother QL-500"), QStringLiteral("Brother QL-550"),
                 QStringLiteral("Brother QL-560")});
    return key;
}

const ImpostazioniKey& giorniConsegna()
{
    static const ImpostazioniKey key = integerKey(QStringLiteral("CAT"), QStringLiteral("giorniconsegna"));
    return key;
}

const ImpostazioniKey& unicaRiga()
{
    static const ImpostazioniKey key = flagKey(QStringLiteral("CAT"), QStringLiteral("unicariga"));
    return key;
}

const ImpostazioniKey& cassaPassword()
{
    static const ImpostazioniKey key = textKey(QStringLiteral("CASSA"), QStringLiteral("PASSWORD"));
    return key;
}

const ImpostazioniKey& dialogoPos()
{
    static const ImpostazioniKey key = integerKey(QStringLiteral("DIALOGOPOS"), QStringLiteral("DIALOGOPOS"));
    return key;
}

const ImpostazioniKey& suoni()
{
    static const ImpostazioniKey key = integerKey(QStringLiteral("SUONI"), QStringLiteral("SUONI"));
    return key;
}

const ImpostazioniKey& fontCarattere()
{
    static const ImpostazioniKey key = textKey(QStringLiteral("FONT"), QStringLiteral("CARATTERE"));
    return key;
}

const ImpostazioniKey& fontDimensione()
{
    static const ImpostazioniKey key = integerKey(QStringLiteral("FONT"), QStringLiteral("DIMENSIONE"));
    return key;
}

const ImpostazioniKey& dropboxPath()
{
    static const ImpostazioniKey key = textKey(QStringLiteral("DROPBOX"), QStringLiteral("Path"));
    return key;
}

const std::vector<const ImpostazioniKey*>& all()
{
    static const std::vector<const ImpostazioniKey*> keys{
        &skinName(),
        &prezziDdt(),
        &promemoria(),
        &splash(),
        &treDecimali(),
        &ivaInclusaInScarico(),
        &operatorePosRichiesto(),
        &disconnessioneAutomatica(),
        &disconnessioneDopo(),
        &barcode(),
        &logo(),
        &interfacciaPos(),
        &tuttoSchermo(),
        &etichettatrice(),
        &giorniConsegna(),
        &unicaRiga(),
        &cassaPassword(),
        &dialogoPos(),
        &suoni(),
        &fontCarattere(),
        &fontDimensione(),
        &dropboxPath(),
    };
    return keys;
}

} // namespace ImpostazioniKeys

ImpostazioniIni::ImpostazioniIni(const QString& path) : m_ini(path) {}

bool ImpostazioniIni::contains(const ImpostazioniKey& key) const
{
    return m_ini.contains(key.section, key.name);
}

QString ImpostazioniIni::text(const ImpostazioniKey& key) const
{
    if (!m_ini.contains(key.section, key.name))
        return key.defaultValue;
    const QString value = m_ini.value(key.section, key.name);
    return isAllowed(key, value) ? value : key.defaultValue;
}

int ImpostazioniIni::integer(const ImpostazioniKey& key) const
{
    return m_ini.intValue(key.section, key.name, key.defaultValue.toInt());
}

bool ImpostazioniIni::flag(const ImpostazioniKey& key) const
{
    return m_ini.boolValue(key.section, key.name, key.defaultValue.toInt() != 0);
}

void ImpostazioniIni::setText(const ImpostazioniKey& key, const QString& value)
{
    if (!isAllowed(key, value))
        throw std::invalid_argument(
            QStringLiteral("%1 non è un valore di %2").arg(value, key.name).toStdString());
    m_ini.setValue(key.section, key.name, value);
}

void ImpostazioniIni::setInteger(const ImpostazioniKey& key, int value)
{
    m_ini.setIntValue(key.section, key.name, value);
}

void ImpostazioniIni::setFlag(const ImpostazioniKey& key, bool value)
{
    m_ini.setBoolValue(key.section, key.name, value);
}

void ImpostazioniIni::save()
{
    m_ini.save(core::IniFile::Permissions::OwnerOnly);
}

int disconnessioneMinutes(const QString& text)
{
    if (!idleTimes().contains(text))
        return 10;
    return text.section(u' ', 0, 0).toInt();
}

bool showsSplashScreen(bool splashSetting, const core::TransferSettings& transfer)
{
    return splashSetting && !transfer.suppressesSplash();
}

bool showsSplashScreen(const core::Paths& paths)
{
    const ImpostazioniIni impostazioni(paths.impostazioniIni());
    const core::ConnectionIni connessione(paths.connessioneIni());
    return showsSplashScreen(impostazioni.flag(ImpostazioniKeys::splash()), connessione.transfer());
}

core::BarcodeStandard itemBarcodeStandard(const ImpostazioniIni& ini)
{
    return ini.text(ImpostazioniKeys::barcode()) == ImpostazioniValues::Ean8 ? core::BarcodeStandard::Ean8
                                                                             : core::BarcodeStandard::Ean13;
}

} // namespace carvendo::foundation
