#include "core/CompanyHeading.h"

#include "core/Db.h"
#include "core/ReportRequest.h"

namespace carvendo::core {

CompanyHeading CompanyHeading::of(Db& directory, const QString& database)
{
    const Rows rows = directory.query(
        QStringLiteral("SELECT ragionesociale, indirizzo, cap, citta, piva, codfisc, telefono, email, logo "
                       "FROM aziende WHERE databasename = :DATABASE ORDER BY id LIMIT 1"),
        {{QStringLiteral("DATABASE"), database}});
    CompanyHeading heading;
    if (rows.isEmpty())
        return heading;
    const Row row = rows.first();
    heading.ragioneSociale = row["ragionesociale"].toString();
    heading.indirizzo = row["indirizzo"].toString();
    heading.cap = row["cap"].toString();
    heading.citta = row["citta"].toString();
    heading.piva = row["piva"].toString();
    heading.codFisc = row["codfisc"].toString();
    heading.telefono = row["telefono"].toString();
    heading.email = row["email"].toString();
    heading.logo = row["logo"].toBytes();
    return heading;
}

void CompanyHeading::addTo(ReportRequest& request) const
{
    request.values.insert(QStringLiteral("azienda"), ragioneSociale);
    request.values.insert(QStringLiteral("aziendaindirizzo"), indirizzo);
    request.values.insert(QStringLiteral("aziendacitta"),
                          QStringLiteral("%1 %2").arg(cap, citta).simplified());
    request.values.insert(QStringLiteral("aziendapiva"), piva);
    // The tax code prints only where it differs from the VAT number, as on most invoices.
    request.values.insert(QStringLiteral("aziendacodfisc"), codFisc == piva ? QString() : codFisc);
    request.values.insert(QStringLiteral("aziendatelefono"), telefono);
    request.values.insert(QStringLiteral("aziendaemail"), email);
    request.logo = logo;
}

} // namespace carvendo::core
