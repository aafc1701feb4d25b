#include "documents/InvoiceFields.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"

#include <functional>
#include <vector>

namespace carvendo::documents {

namespace {

// One edited column: its name (fixed here, never from outside), its width, and how to read it from
// the fields.
struct Column
{
    const char* name;
    int width; // 0: not text
    std::function<QVariant(const InvoiceFields&)> value;
};

QVariant text(const QString& value)
{
    return value;
}

QVariant date(const QDate& value)
{
    return value.isValid() ? QVariant(value) : QVariant();
}

const std::vector<Column>& columns()
{
    using F = InvoiceFields;
    static const std::vector<Column> list{
        {"data", 0, [](const F& f) { return date(f.data); }},
        {"Suffisso", 5, [](const F& f) { return text(f.suffisso); }},
        {"Causale", 50, [](const F& f) { return text(f.causale); }},
        {"RagSocDest", 120, [](const F& f) { return text(f.ragSocDest); }},
        {"IndirizzoDest", 255, [](const F& f) { return text(f.indirizzoDest); }},
        {"CapDest", 50, [](const F& f) { return text(f.capDest); }},
        {"CittaDest", 255, [](const F& f) { return text(f.cittaDest); }},
        {"ProvinciaDest", 50, [](const F& f) { return text(f.provinciaDest); }},
        {"idbanca", 0, [](const F& f) { return QVariant(f.idBanca); }},
        {"BancaAppoggio", 255, [](const F& f) { return text(f.bancaAppoggio); }},
        {"tipopagamento", 50, [](const F& f) { return text(f.tipoPagamento); }},
        {"Aspetto", 50, [](const F& f) { return text(f.aspetto); }},
        {"Colli", 0, [](const F& f) { return QVariant(f.colli); }},
        {"Peso", 50, [](const F& f) { return text(f.peso); }},
        {"TipoSped", 50, [](const F& f) { return text(f.tipoSped); }},
        {"Vettore", 50, [](const F& f) { return text(f.vettore); }},
        {"datatrasporto", 0, [](const F& f) { return date(f.dataTrasporto); }},
        {"OraText", 50, [](const F& f) { return text(f.oraText); }},
        {"SpeseSped", 0, [](const F& f) { return QVariant::fromValue(f.speseSped); }},
        {"Porto", 50, [](const F& f) { return text(f.porto); }},
        {"notememo", 0, [](const F& f) { return text(f.noteMemo); }},
    };
    return list;
}

} // namespace

InvoiceFields InvoiceFieldStore::read(int idFattura)
{
    const core::Rows found = m_db.query(
        QStringLiteral(
            "SELECT data, Suffisso, Causale, RagSocDest, IndirizzoDest, CapDest, CittaDest, "
            "ProvinciaDest, idbanca, BancaAppoggio, tipopagamento, Aspetto, Colli, Peso, TipoSped, "
            "Vettore, datatrasporto, OraText, SpeseSped, Porto, notememo FROM fatture WHERE "
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
    f.oraText = r["OraText"].toString();
    f.speseSped = r["SpeseSped"].toMoney();
    f.porto = r["Porto"].toString();
    f.noteMemo = r["notememo"].toString();
    return f;
}

void InvoiceFieldStore::write(int idFattura, const InvoiceFields& opened, const InvoiceFields& edited)
{
    QStringList assignments;
    core::Params params{{QStringLiteral("IDFATTURA"), idFattura}};
    for (const Column& column : columns()) {
        const QVariant before = column.value(opened);
        QVariant after = column.value(edited);
        if (before == after)
            continue;
        const QString name = QLatin1String(column.name);
        const QString placeholder = name.toUpper();
        if (column.width > 0)
            after = after.toString().left(column.width);
        assignments << QStringLiteral("%1 = :%2").arg(name, placeholder);
        params.insert(placeholder, after);
    }
    if (edited.data.isValid() && edited.data != opened.data) {
        assignments << QStringLiteral("Anno = :ANNO") << QStringLiteral("Mese = :MESE");
        params.insert(QStringLiteral("ANNO"), QString::number(edited.data.year()));
        params.insert(QStringLiteral("MESE"), core::monthName(edited.data.month()));
    }
    if (assignments.isEmpty())
        return;
    const qint64 matched = m_db.exec(
        QStringLiteral("UPDATE fatture SET %1 WHERE idFattura = :IDFATTURA").arg(assignments.join(u", ")),
        params);
    if (matched == 0)
        throw core::Error(QStringLiteral("Il documento è stato eliminato da un'altra postazione."),
                          core::Error::Kind::Refusal);
}

} // namespace carvendo::documents
