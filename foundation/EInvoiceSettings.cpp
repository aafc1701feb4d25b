#include "foundation/EInvoiceSettings.h"

#include "core/AddressChecks.h"
#include "core/CommandGuard.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "foundation/EInvoiceCodes.h"

#include <QRegularExpression>

namespace carvendo::foundation {

namespace {

const QString kCounter = QStringLiteral("ProssimoProgressivo");

class SettingsRefusal : public core::Error
{
public:
    explicit SettingsRefusal(const QString& message) : Error(message, Kind::Refusal) {}
};

QList<core::RecordColumn> recordColumns()
{
    using K = core::ColumnKind;
    QList<core::RecordColumn> columns = core::RecordValues::textColumns(EInvoiceSettings::columns());
    for (core::RecordColumn& column : columns) {
        if (column.name.startsWith(QStringLiteral("Bollo")) || column.name == u"REACapitale")
            column.kind = K::Money;
        if (column.name == u"BolloACaricoCliente")
            column.kind = K::Flag;
        if (column.name == kCounter) {
            // Written on its own: it may only go up, whatever another workstation took meanwhile.
            column.kind = K::Integer;
            column.readOnly = true;
        }
    }
    return columns;
}

const QStringList& upperCaseColumns()
{
    static const QStringList list{QStringLiteral("RegimeFiscale"),
                                  QStringLiteral("Provincia"),
                                  QStringLiteral("Nazione"),
                                  QStringLiteral("REAUfficio"),
                                  QStringLiteral("REASocioUnico"),
                                  QStringLiteral("REALiquidazione"),
                                  QStringLiteral("CodFiscTrasmittente")};
    return list;
}

bool isLetters(const QString& text, int length)
{
    static const QRegularExpression letters(QStringLiteral("^[A-Z]+$"));
    return text.size() == length && letters.match(text).hasMatch();
}

} // namespace

const QStringList& EInvoiceSettings::columns()
{
    static const QStringList list{QStringLiteral("RegimeFiscale"),
                                  QStringLiteral("Provincia"),
                                  QStringLiteral("Nazione"),
                                  QStringLiteral("REAUfficio"),
                                  QStringLiteral("REANumero"),
                                  QStringLiteral("REACapitale"),
                                  QStringLiteral("REASocioUnico"),
                                  QStringLiteral("REALiquidazione"),
                                  QStringLiteral("CodFiscTrasmittente"),
                                  kCounter,
                                  QStringLiteral("BolloImporto"),
                                  QStringLiteral("BolloSoglia"),
                                  QStringLiteral("BolloACaricoCliente"),
                                  QStringLiteral("PecSdI")};
    return list;
}

EInvoiceSettings::EInvoiceSettings(core::Db& db, core::Dialogs& dialogs)
    : m_db(db), m_dialogs(dialogs), m_record(recordColumns())
{
}

bool EInvoiceSettings::load()
{
    return core::runGuarded(m_dialogs, [&] {
        const QString select =
            QStringLiteral("SELECT id, %1 FROM fatturapa_configurazione ORDER BY id LIMIT 1")
                .arg(m_record.names().join(QStringLiteral(", ")));
        core::Rows rows = m_db.query(select);
        if (rows.isEmpty()) {
            // A database the upgrade has not given its row yet: the defaults of the table, in the row
            // with key 1, so two workstations opening the page at once still make a single row.
            m_db.exec(QStringLiteral(
                "INSERT IGNORE INTO fatturapa_configurazione (id, RegimeFiscale) VALUES (1, 'RF01')"));
            rows = m_db.query(select);
        }
        m_id = rows.value(0, "id").variant();
        m_record.load(rows[0]);
        m_badAmounts.clear();
    });
}

void EInvoiceSettings::setValue(const QString& column, const QVariant& value)
{
    const core::RecordColumn& described = m_record.column(column);
    QVariant stored = value;
    if (upperCaseColumns().contains(described.name))
        stored = value.toString().trimmed().toUpper();
    if (described.kind == core::ColumnKind::Money && value.typeId() == QMetaType::QString) {
        // "1.234,56" or "2,50" as typed in Italy; "2.50" read as it is.
        QString text = value.toString().trimmed();
        if (text.contains(u','))
            text = text.remove(u'.').replace(u',', u'.');
        bool number = true;
        const double amount = text.toDouble(&number);
        m_badAmounts.remove(described.name);
        if (!text.isEmpty() && !number)
            m_badAmounts.insert(described.name);
        stored = text.isEmpty() ? QVariant() : QVariant(amount);
    }
    m_record.set(described.name, stored);
}

void EInvoiceSettings::check() const
{
    if (!codesOf(regimiFiscali()).contains(m_record.text(QStringLiteral("RegimeFiscale"))))
        throw SettingsRefusal(QStringLiteral("Scegliere il regime fiscale dall'elenco."));
    const QString province = m_record.text(QStringLiteral("Provincia"));
    if (!province.isEmpty() && !isLetters(province, 2))
        throw SettingsRefusal(QStringLiteral("La provincia deve essere la sigla di 2 lettere (es. MI)."));
    if (!core::isCountryCode(m_record.text(QStringLiteral("Nazione"))))
        throw SettingsRefusal(QStringLiteral("La nazione deve essere il codice di 2 lettere (es. IT)."));
    const QString office = m_record.text(QStringLiteral("REAUfficio"));
    if (!office.isEmpty() && !isLetters(office, 2))
        throw SettingsRefusal(
            QStringLiteral("L'ufficio REA deve essere la sigla di 2 lettere della provincia (es. MI)."));
    if (office.isEmpty() != m_record.text(QStringLiteral("REANumero")).isEmpty())
        throw SettingsRefusal(QStringLiteral("Indicare sia l'ufficio sia il numero REA, o nessuno dei due."));
    const QString transmitter = m_record.text(QStringLiteral("CodFiscTrasmittente"));
    static const QRegularExpression code(QStringLiteral("^[A-Z0-9]{11}([A-Z0-9]{5})?$"));
    if (!transmitter.isEmpty() && !code.match(transmitter).hasMatch())
        throw SettingsRefusal(
            QStringLiteral("Il codice fiscale del trasmittente deve avere 11 o 16 lettere e cifre."));
    const QString pec = m_record.text(QStringLiteral("PecSdI"));
    if (!pec.isEmpty() && !core::emailProblem(pec).isEmpty())
        throw SettingsRefusal(QStringLiteral("L'indirizzo PEC del Sistema di Interscambio non è valido."));
    static const QHash<QString, QString> amounts{
        {QStringLiteral("REACapitale"), QStringLiteral("Capitale sociale")},
        {QStringLiteral("BolloImporto"), QStringLiteral("Importo bollo")},
        {QStringLiteral("BolloSoglia"), QStringLiteral("Soglia bollo")}};
    for (auto it = amounts.cbegin(); it != amounts.cend(); ++it)
        if (m_badAmounts.contains(it.key()) || m_record.value(it.key()).toDouble() < 0)
            throw SettingsRefusal(
                QStringLiteral("Il campo \"%1\" deve essere un importo non negativo.").arg(it.value()));
}

bool EInvoiceSettings::save()
{
    if (!isModified())
        return true;
    bool raiseCounter = false;
    const bool done = core::runGuarded(m_dialogs, [&] {
        check();
        const int counter = m_record.value(kCounter).toInt();
        const int stored = m_record.savedValue(kCounter).toInt();
        if (counter != stored) {
            if (counter < stored)
                throw SettingsRefusal(
                    QStringLiteral("Il prossimo numero di trasmissione non può scendere: i numeri già usati "
                                   "non si riusano."));
            raiseCounter = true;
        }
    });
    if (!done)
        return false;
    if (raiseCounter &&
        !m_dialogs.confirm(QStringLiteral("Portare il prossimo numero di trasmissione a %1? I numeri saltati "
                                          "non saranno più usati.")
                               .arg(m_record.value(kCounter).toInt())))
        return false;
    if (!core::runGuarded(m_dialogs, [&] { write(raiseCounter); }))
        return false;
    m_record.markSaved();
    return true;
}

void EInvoiceSettings::write(bool raiseCounter)
{
    core::Transaction transaction(m_db);
    if (raiseCounter) {
        // The counter is taken under a row lock by the export: read it locked, so a number taken
        // meanwhile is seen and the new one is still above it.
        const int current =
            m_db.scalar(
                    QStringLiteral("SELECT ProssimoProgressivo FROM fatturapa_configurazione WHERE id = :ID "
                                   "FOR UPDATE"),
                    {{QStringLiteral("ID"), m_id}})
                .toInt();
        const int wanted = m_record.value(kCounter).toInt();
        if (wanted <= current)
            throw SettingsRefusal(QStringLiteral("Il prossimo numero di trasmissione è già arrivato a %1: "
                                                 "indicarne uno più alto.")
                                      .arg(current));
        m_db.exec(
            QStringLiteral("UPDATE fatturapa_configurazione SET ProssimoProgressivo = :NEXT WHERE id = :ID"),
            {{QStringLiteral("NEXT"), wanted}, {QStringLiteral("ID"), m_id}});
    }
    if (!core::writeChangedColumns(m_db, QStringLiteral("fatturapa_configurazione"), QStringLiteral("id"),
                                   m_id, m_record))
        throw SettingsRefusal(
            QStringLiteral("I dati della fattura elettronica non sono più presenti: riaprire la "
                           "finestra."));
    transaction.commit();
}

} // namespace carvendo::foundation
