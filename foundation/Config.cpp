#include "foundation/Config.h"

#include "core/CommandGuard.h"

#include "core/Dialogs.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/ImpostazioniIni.h"
#include "foundation/PrivacyNotice.h"

namespace carvendo::foundation {

namespace {

const QString Saved = QStringLiteral("Impostazioni salvate");

bool isDigits(const QString& text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool isLettersAndDigits(const QString& text)
{
    for (QChar c : text)
        if (!c.isLetterOrNumber())
            return false;
    return true;
}

} // namespace

Preferences Preferences::read(const ImpostazioniIni& ini)
{
    namespace K = ImpostazioniKeys;
    Preferences p;
    p.skinName = ini.text(K::skinName());
    p.prezziDdt = ini.flag(K::prezziDdt());
    p.promemoria = ini.flag(K::promemoria());
    p.splash = ini.flag(K::splash());
    p.treDecimali = ini.flag(K::treDecimali());
    p.ivaInclusaInScarico = ini.flag(K::ivaInclusaInScarico());
    p.operatoreObbligatorio = ini.flag(K::operatorePosRichiesto());
    p.disconnettiOperatore = ini.flag(K::disconnessioneAutomatica());
    p.disconnessioneDopo = ini.text(K::disconnessioneDopo());
    p.interfacciaPos = ini.text(K::interfacciaPos());
    p.tuttoSchermo = ini.flag(K::tuttoSchermo());
    return p;
}

void Preferences::writeAppearance(ImpostazioniIni& ini) const
{
    namespace K = ImpostazioniKeys;
    ini.setText(K::skinName(), skinName);
    ini.setFlag(K::prezziDdt(), prezziDdt);
    ini.setFlag(K::promemoria(), promemoria);
    ini.setFlag(K::splash(), splash);
}

void Preferences::writeAll(ImpostazioniIni& ini) const
{
    namespace K = ImpostazioniKeys;
    writeAppearance(ini);
    ini.setFlag(K::treDecimali(), treDecimali);
    ini.setFlag(K::ivaInclusaInScarico(), ivaInclusaInScarico);
    ini.setFlag(K::operatorePosRichiesto(), operatoreObbligatorio);
    ini.setFlag(K::disconnessioneAutomatica(), disconnettiOperatore);
    ini.setText(K::disconnessioneDopo(), disconnessioneDopo);
    ini.setText(K::interfacciaPos(), interfacciaPos);
    ini.setFlag(K::tuttoSchermo(), tuttoSchermo);
}

Config::Config(core::Db& company, const core::Paths& paths, const core::Session& session,
               core::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_db(company), m_paths(paths), m_session(session), m_dialogs(dialogs)
{
    try {
        m_preferences = Preferences::read(ImpostazioniIni(m_paths.impostazioniIni()));
    } catch (const core::IniFileError& failure) {
        m_dialogs.error(failure.message());
        m_preferences = Preferences::read(ImpostazioniIni(QString()));
    }
}

template <typename Command> bool Config::attempt(Command&& command)
{
    return core::runGuarded(m_dialogs, std::forward<Command>(command));
}

// Each write reads the file again, so keys another window saved meanwhile are kept.
template <typename Write> bool Config::writeImpostazioni(Write&& write)
{
    return attempt([&] {
        ImpostazioniIni ini(m_paths.impostazioniIni());
        write(ini);
        ini.save();
    });
}

LookupEditor& Config::list(Lookup lookup)
{
    auto& editor = m_lists[lookup];
    if (!editor) {
        editor = std::make_unique<LookupEditor>(m_db, lookup, m_session, m_dialogs);
        editor->reload();
    }
    return *editor;
}

bool Config::changeVatDescription(int row)
{
    LookupEditor& vat = list(Lookup::Iva);
    if (row < 0 || row >= vat.rowCount()) {
        m_dialogs.information(QStringLiteral("Selezionare una riga"));
        return false;
    }
    const QString oldDescription = vat.value(row, QStringLiteral("Desc")).toString();
    const auto answer = m_dialogs.askText(QStringLiteral("Modifica Descrizione"),
                                          QStringLiteral("Inserire la nuova Descrizione"), oldDescription);
    if (!answer)
        return false;
    const bool done = attempt([&] {
        const QVariantMap value =
            LookupStore(m_db).normalized(Lookup::Iva, {{QStringLiteral("Desc"), *answer}}, false);
        m_db.exec(QStringLiteral("update iva set iva.Desc = :newdesc where iva.Desc = :olddesc"),
                  {{QStringLiteral("newdesc"), value.value(QStringLiteral("Desc"))},
                   {QStringLiteral("olddesc"), oldDescription}});
    });
    vat.reload();
    return done;
}

bool Config::changeVatRate(int row)
{
    LookupEditor& vat = list(Lookup::Iva);
    if (row < 0 || row >= vat.rowCount()) {
        m_dialogs.information(QStringLiteral("Selezionare una riga"));
        return false;
    }
    const QVariant oldRate = vat.value(row, QStringLiteral("Iva"));
    const auto answer = m_dialogs.askText(QStringLiteral("Modifica Aliquota"),
                                          QStringLiteral("Inserire la nuova Aliquota"), oldRate.toString());
    if (!answer)
        return false;
    bool isNumber = false;
    const int rate = answer->trimmed().toInt(&isNumber);
    if (!isNumber) {
        m_dialogs.warning(QStringLiteral("L'aliquota deve essere un numero intero"));
        return false;
    }
    if (rate < 0 || rate > 100) {
        m_dialogs.warning(QStringLiteral("L'aliquota deve essere compresa tra 0 e 100"));
        return false;
    }
    const bool done = attempt([&] {
        core::Transaction transaction(m_db);
        // Every row at the old rate takes the new one: each must still agree with its nature.
        const core::Rows natures =
            m_db.query(QStringLiteral("SELECT Natura FROM iva WHERE iva.iva = :olddesc FOR UPDATE"),
                       {{QStringLiteral("olddesc"), oldRate}});
        for (const core::Row& nature : natures)
            requireVatNature(rate, nature[u"Natura"].variant());
        m_db.exec(QStringLiteral("update iva set iva.iva = :newdesc where iva.iva = :olddesc"),
                  {{QStringLiteral("newdesc"), rate}, {QStringLiteral("olddesc"), oldRate}});
        transaction.commit();
    });
    vat.reload();
    return done;
}

bool Config::updateItemDepartments()
{
    const bool done = attempt([&] {
        core::Transaction transaction(m_db);
        // When several departments share a rate, the first one is the rate's department: it is
        // written last, so it is the one the items keep.
        const core::Rows departments =
            m_db.query(QStringLiteral("SELECT descrizione, reparto, aliquota FROM reparti WHERE aliquota IS "
                                      "NOT NULL ORDER BY idreparto DESC"));
        for (const core::Row& department : departments) {
            const QVariant rate = department[u"aliquota"].variant();
            m_db.exec(QStringLiteral("UPDATE articoli SET repartodesc = :DESC WHERE aliquota = :ALIQ"),
                      {{QStringLiteral("DESC"), department[u"descrizione"].variant()},
                       {QStringLiteral("ALIQ"), rate}});
            m_db.exec(QStringLiteral("UPDATE articoli SET reparto = :REPARTO WHERE aliquota = :ALIQ"),
                      {{QStringLiteral("REPARTO"), department[u"reparto"].variant()},
                       {QStringLiteral("ALIQ"), rate}});
        }
        transaction.commit();
    });
    if (done)
        m_dialogs.information(QStringLiteral("Reparti degli articoli aggiornati"));
    return done;
}

LabelSettings Config::labelSettings()
{
    LabelSettings settings;
    attempt([&] {
        const ImpostazioniIni ini(m_paths.impostazioniIni());
        settings.barcodeStandard = ini.text(ImpostazioniKeys::barcode());
        settings.labelPrinter = ini.text(ImpostazioniKeys::etichettatrice());
        settings.startBarcode =
            m_db.scalar(QStringLiteral("SELECT BarcodeArticolo FROM contatori ORDER BY id LIMIT 1"))
                .toString();
    });
    return settings;
}

bool Config::saveLabelSettings(const LabelSettings& settings)
{
    const bool ean8 = settings.barcodeStandard == ImpostazioniValues::Ean8;
    if (!ean8 && settings.barcodeStandard != ImpostazioniValues::Ean13) {
        m_dialogs.warning(QStringLiteral("Scegliere lo standard del barcode"));
        return false;
    }
    const QString start = settings.startBarcode.trimmed();
    if (!isDigits(start)) {
        m_dialogs.warning(QStringLiteral("Il barcode di partenza deve contenere solo cifre"));
        return false;
    }
    if (start.size() > (ean8 ? 7 : 12)) {
        m_dialogs.warning(
            ean8 ? QStringLiteral("Con lo standard EAN 8 il barcode di partenza può avere al massimo 7 cifre")
                 : QStringLiteral(
                       "Con lo standard EAN 13 il barcode di partenza può avere al massimo 12 cifre"));
        return false;
    }
    if (!settings.labelPrinter.isEmpty() &&
        !ImpostazioniKeys::etichettatrice().allowedValues.contains(settings.labelPrinter)) {
        m_dialogs.warning(QStringLiteral("Etichettatrice non valida"));
        return false;
    }
    const bool saved = attempt([&] {
        core::Transaction transaction(m_db);
        if (m_db.exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = :BARCODE"),
                      {{QStringLiteral("BARCODE"), start}}) == 0)
            m_db.exec(QStringLiteral("INSERT INTO contatori (BarcodeArticolo) VALUES (:BARCODE)"),
                      {{QStringLiteral("BARCODE"), start}});
        ImpostazioniIni ini(m_paths.impostazioniIni());
        ini.setText(ImpostazioniKeys::barcode(), settings.barcodeStandard);
        if (!settings.labelPrinter.isEmpty())
            ini.setText(ImpostazioniKeys::etichettatrice(), settings.labelPrinter);
        ini.save();
        transaction.commit(); // the counter only once the file is written
    });
    if (saved)
        m_dialogs.information(Saved);
    return saved;
}

QString Config::privacyText()
{
    QString text;
    attempt([&] { text = PrivacyNotice(m_db).text(); });
    return text;
}

bool Config::savePrivacyText(const QString& text)
{
    const bool saved = attempt([&] { PrivacyNotice(m_db).save(text); });
    if (saved)
        m_dialogs.information(Saved);
    return saved;
}

bool Config::saveAppearance()
{
    const bool saved = writeImpostazioni([&](ImpostazioniIni& ini) { m_preferences.writeAppearance(ini); });
    if (saved)
        m_dialogs.information(Saved);
    return saved;
}

bool Config::close()
{
    return writeImpostazioni([&](ImpostazioniIni& ini) { m_preferences.writeAll(ini); });
}

bool Config::addSuffix()
{
    const auto answer = m_dialogs.askText(QStringLiteral("Nuova numerazione"),
                                          QStringLiteral("Inserire la lettera (es. A, B, C)"));
    if (!answer)
        return false;
    const QString suffix = answer->trimmed().toUpper();
    if (suffix.isEmpty())
        return false;
    if (suffix.size() > 3) {
        m_dialogs.warning(QStringLiteral("Il suffisso può avere al massimo 3 caratteri"));
        return false;
    }
    if (!isLettersAndDigits(suffix)) {
        m_dialogs.warning(QStringLiteral("Il suffisso può contenere solo lettere e cifre"));
        return false;
    }
    // Two rows with one suffix would show the series twice and merge their numbers.
    LookupEditor& suffixes = list(Lookup::SuffissiDoc);
    bool exists = false;
    if (!attempt([&] {
            exists =
                m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM suffissi_doc WHERE suffisso = :SUFFISSO"),
                            {{QStringLiteral("SUFFISSO"), suffix}})
                    .toInt() > 0;
        }))
        return false;
    if (exists) {
        m_dialogs.warning(QStringLiteral("La numerazione \"%1\" esiste già").arg(suffix));
        return false;
    }
    return suffixes.add({{QStringLiteral("suffisso"), suffix}}).has_value();
}

} // namespace carvendo::foundation
