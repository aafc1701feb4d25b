#pragma once

#include "core/IniFile.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace carvendo::core {
class Paths;
struct TransferSettings;
enum class BarcodeStandard;
} // namespace carvendo::core

namespace carvendo::foundation {

enum class IniValueType
{
    Text,
    Integer,
    Flag // 0/1
};

// One key of impostazioni.ini: where it lives, what it holds, what it reads as when it is missing
// and, for keys limited to a list, the values it may take.
struct ImpostazioniKey
{
    QString section;
    QString name;
    IniValueType type = IniValueType::Text;
    QString defaultValue{};
    QStringList allowedValues{}; // empty: any value
};

// Every key of impostazioni.ini the program knows.
namespace ImpostazioniKeys {
const ImpostazioniKey& skinName();
const ImpostazioniKey& prezziDdt();
const ImpostazioniKey& promemoria();
const ImpostazioniKey& splash();
const ImpostazioniKey& treDecimali();
const ImpostazioniKey& ivaInclusaInScarico();
const ImpostazioniKey& operatorePosRichiesto();
const ImpostazioniKey& disconnessioneAutomatica();
const ImpostazioniKey& disconnessioneDopo();
const ImpostazioniKey& barcode();
const ImpostazioniKey& logo();
// How counter sales start: the classic keyboard till or the touch screen one, and whether it takes
// the whole screen.
const ImpostazioniKey& interfacciaPos();
const ImpostazioniKey& tuttoSchermo();
const ImpostazioniKey& etichettatrice();
const ImpostazioniKey& giorniConsegna();
const ImpostazioniKey& unicaRiga();
const ImpostazioniKey& cassaPassword();
const ImpostazioniKey& dialogoPos();
const ImpostazioniKey& suoni();
const ImpostazioniKey& fontCarattere();
const ImpostazioniKey& fontDimensione();
const ImpostazioniKey& dropboxPath();

const std::vector<const ImpostazioniKey*>& all();
} // namespace ImpostazioniKeys

// The values of the lists the settings windows offer.
namespace ImpostazioniValues {
inline const QString NoSkin = QStringLiteral("Sistema Operativo in uso (default)");
inline const QString Ean8 = QStringLiteral("Ean8");
inline const QString Ean13 = QStringLiteral("Ean13");
inline const QString InterfacciaClassica = QStringLiteral("Classica");
inline const QString InterfacciaTouch = QStringLiteral("Touch");
} // namespace ImpostazioniValues

// impostazioni.ini of the data folder, read through the key descriptions: a missing key, or a value
// outside its list, reads as the key's default. Written readable by its owner only, because it holds
// the cash register password.
class ImpostazioniIni
{
public:
    explicit ImpostazioniIni(const QString& path); // throws IniFileError when the file cannot be read

    const QString& path() const { return m_ini.path(); }
    bool contains(const ImpostazioniKey& key) const;

    QString text(const ImpostazioniKey& key) const;
    int integer(const ImpostazioniKey& key) const;
    bool flag(const ImpostazioniKey& key) const;

    // A value outside the key's list throws std::invalid_argument: the windows offer only listed values.
    void setText(const ImpostazioniKey& key, const QString& value);
    void setInteger(const ImpostazioniKey& key, int value);
    void setFlag(const ImpostazioniKey& key, bool value);

    void save(); // throws IniFileError

private:
    core::IniFile m_ini;
};

// The standard new item barcodes follow (`BARCODE`).
core::BarcodeStandard itemBarcodeStandard(const ImpostazioniIni& ini);

// The idle time of "Disconnessione dopo" in minutes ("1 minuto" -> 1, "15 minuti" -> 15); a text
// that is not one of the list gives the default of ten minutes.
int disconnessioneMinutes(const QString& text);

// Whether the splash screen shows at start-up: `Splash` is 1 and `Transfer`/`Connessione` of
// connessione.ini is not exactly "0" (a missing key does not suppress it).
bool showsSplashScreen(bool splashSetting, const core::TransferSettings& transfer);
// The same, reading both files of the data folder.
bool showsSplashScreen(const core::Paths& paths);

} // namespace carvendo::foundation
