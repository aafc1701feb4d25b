#pragma once

#include "foundation/LookupEditor.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

namespace carvendo::core {
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

class ImpostazioniIni;

// The workstation preferences of the "Preferenze" page (section `Impostazioni` of impostazioni.ini).
struct Preferences
{
    QString skinName;
    bool prezziDdt = false;
    bool promemoria = false;
    bool splash = false;
    bool treDecimali = false;
    bool ivaInclusaInScarico = false;
    bool operatoreObbligatorio = false;
    bool disconnettiOperatore = false;
    QString disconnessioneDopo;
    QString interfacciaPos;
    bool tuttoSchermo = false;

    static Preferences read(const ImpostazioniIni& ini);
    // "Aspetto grafico": the skin and the three start-up switches.
    void writeAppearance(ImpostazioniIni& ini) const;
    void writeAll(ImpostazioniIni& ini) const;

    bool operator==(const Preferences&) const = default;
};

// The "Etichette" page: how new items get their barcode and which label printer is used.
struct LabelSettings
{
    QString barcodeStandard; // "Ean8" or "Ean13" (`BARCODE`)
    QString startBarcode;    // `contatori`.`BarcodeArticolo`
    QString labelPrinter;    // `ETICHETTE`/`Etichettatrice`

    bool operator==(const LabelSettings&) const = default;
};

// The logic of `TConfig` ("Configurazione Generale"): the lookup lists of the shop, the VAT and
// department commands, labels, privacy notice, the workstation preferences and the numbering series.
class Config : public QObject
{
    Q_OBJECT
public:
    Config(core::Db& company, const core::Paths& paths, const core::Session& session, core::Dialogs& dialogs,
           QObject* parent = nullptr);

    // The editor of one list, made on first use.
    LookupEditor& list(Lookup lookup);

    // "Aliquote Iva": the row is one of list(Lookup::Iva).
    bool changeVatDescription(int row);
    bool changeVatRate(int row);
    // "aggiorna reparti articoli": every item takes the department of its VAT rate.
    bool updateItemDepartments();

    LabelSettings labelSettings();
    bool saveLabelSettings(const LabelSettings& settings);

    QString privacyText();
    bool savePrivacyText(const QString& text);

    const Preferences& preferences() const { return m_preferences; }
    void setPreferences(const Preferences& preferences) { m_preferences = preferences; }
    // "Salva" of "Aspetto grafico".
    bool saveAppearance();
    // The window closes: every preference is written.
    bool close();

    // "Aggiungi nuova" of "Numerazione documenti di vendita".
    bool addSuffix();

private:
    template <typename Write> bool writeImpostazioni(Write&& write);
    template <typename Command> bool attempt(Command&& command);

    core::Db& m_db;
    const core::Paths& m_paths;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    Preferences m_preferences;
    std::map<Lookup, std::unique_ptr<LookupEditor>> m_lists;
};

} // namespace carvendo::foundation
