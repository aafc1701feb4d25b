#include "documents/InvoiceFields.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/RecordValues.h"

#include <functional>
#include <vector>

namespace carvendo::documents {

namespace {

// One edited column: its name (fixed here, never from outside), its kind and width, and how to read
// it from the fields.
struct Column
{
    const char* name;
    core::ColumnKind kind;
    int width; // 0: no limit
    std::function<QVariant(const InvoiceFields&)> value;
};

const std::vector<Column>& columns()
{
    using F = InvoiceFields;
    using K = core::ColumnKind;
    static const std::vector<Column> list{
        {"data", K::Date, 0, [](const F& f) { return QVariant(f.data); }},
        {"Suffisso", K::Text, 5, [](const F& f) { return QVariant(f.suffisso); }},
        {"Causale", K::Text, 50, [](const F& f) { return QVariant(f.causale); }},
        {"RagSocDest", K::Text, 120, [](const F& f) { return QVariant(f.ragSocDest); }},
        {"IndirizzoDest", K::Text, 255, [](const F& f) { return QVariant(f.indirizzoDest); }},
        {"CapDest", K::Text, 50, [](const F& f) { return QVariant(f.capDest); }},
        {"CittaDest", K::Text, 255, [](const F& f) { return QVariant(f.cittaDest); }},
        {"ProvinciaDest", K::Text, 50, [](const F& f) { return QVariant(f.provinciaDest); }},
        {"idbanca", K::Integer, 0, [](const F& f) { return QVariant(f.idBanca); }},
        {"BancaAppoggio", K::Text, 255, [](const F& f) { return QVariant(f.bancaAppoggio); }},
        {"tipopagamento", K::Text, 50, [](const F& f) { return QVariant(f.tipoPagamento); }},
        {"Aspetto", K::Text, 50, [](const F& f) { return QVariant(f.aspetto); }},
        {"Colli", K::Integer, 0, [](const F& f) { return QVariant(f.colli); }},
        {"Peso", K::Text, 50, [](const F& f) { return QVariant(f.peso); }},
        {"TipoSped", K::Text, 50, [](const F& f) { return QVariant(f.tipoSped); }},
        {"Vettore", K::Text, 50, [](const F& f) { return QVariant(f.vettore); }},
        {"datatrasporto", K::Date, 0, [](const F& f) { return QVariant(f.dataTrasporto); }},
        {"DataScadenza", K::Text, 10, [](const F& f) { return QVariant(f.dataScadenza); }},
        {"OraText", K::Text, 50, [](const F& f) { return QVariant(f.oraText); }},
        {"SpeseSped", K::Money, 0, [](const F& f) { return QVariant::fromValue(f.speseSped); }},
        {"Porto", K::Text, 50, [](const F& f) { return QVariant(f.porto); }},
        {"notememo", K::Memo, 0, [](const F& f) { return QVariant(f.noteMemo); }},
    };
    return list;
}

// The edited columns and, after them, the year and month name a new date brings.
QList<core::RecordColumn> recordColumns()
{
    QList<core::RecordColumn> list;
    for (const Column& column : columns())
        list.append({QLatin1String(column.name), column.kind, column.width});
    list.append({QStringLiteral("Anno"), core::ColumnKind::Text, 50});
    list.append({QStringLiteral("Mese"), core::ColumnKind::Text, 50});
    return list;
}

} // namespace

InvoiceFields InvoiceFieldStore::read(int idFattura)
{
    const core::Rows found = m_db.query(
        QStringLiteral(
            "SELECT data, Suffisso, Causale, RagSocDest, IndirizzoDest, CapDest, CittaDest, "
            "ProvinciaDest, idbanca, BancaAppoggio, tipopagamento, Aspetto, Colli, Peso, TipoSped, "
            "Vettore, datatrasporto, DataScadenza, OraText, SpeseSped, Porto, notememo FROM fatture WHERE "
            "idFattura = :IDFATTURA"),
        {{QStringLiteral("IDFATTURA"), idFattura}});
    if (found.isEmpty())
        throw core::Error(QStringLiteral("Il documento è stato eliminato da un'altra postazione."),
                          core::Error::Kind::Refusal);
    const core::Row r = found.first();
    InvoiceFields f;
    f.data = r["data"].toDate();
    f.suffisso = r["Suffisso"].toString();
    f.causale = r["Causale"].toString();
    f.ragSocDest = r["RagSocDest"].toString();
    f.indirizzoDest = r["IndirizzoDest"].toString();
    f.capDest = r["CapDest"].toString();
    f.cittaDest = r["CittaDest"].toString();
    f.provinciaDest = r["ProvinciaDest"].toString();
    f.idBanca = r["idbanca"].toInt();
    f.bancaAppoggio = r["BancaAppoggio"].toString();
    f.tipoPagamento = r["tipopagamento"].toString();
    f.aspetto = r["Aspetto"].toString();
    f.colli = r["Colli"].toInt();
    f.peso = r["Peso"].toString();
    f.tipoSped = r["TipoSped"].toString();
    f.vettore = r["Vettore"].toString();
    f.dataTrasporto = r["datatrasporto"].toDate();
    f.dataScadenza = r["DataScadenza"].toString();
    f.oraText = r["OraText"].toString();
    f.speseSped = r["SpeseSped"].toMoney();
    f.porto = r["Porto"].toString();
    f.noteMemo = r["notememo"].toString();
    return f;
}

void InvoiceFieldStore::write(int idFattura, const InvoiceFields& opened, const InvoiceFields& edited)
{
    // The window opened with `opened`: only what differs from it is written.
    core::RecordValues record(recordColumns());
    for (const Column& column : columns()) {
        const QString name = QLatin1String(column.name);
        record.setStored(name, column.value(opened));
        record.set(name, column.value(edited));
    }
    if (edited.data.isValid() && edited.data != opened.data) {
        record.set(QStringLiteral("Anno"), QString::number(edited.data.year()));
        record.set(QStringLiteral("Mese"), core::monthName(edited.data.month()));
    }
    if (!core::writeChangedColumns(m_db, QStringLiteral("fatture"), QStringLiteral("idFattura"), idFattura,
                                   record))
        throw core::Error(QStringLiteral("Il documento è stato eliminato da un'altra postazione."),
                          core::Error::Kind::Refusal);
}

} // namespace carvendo::documents
