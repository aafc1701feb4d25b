#include "core/CompanyHeading.h"

#include "core/CompanyDirectory.h"
#include "core/Db.h"
#include "core/ReportRequest.h"

namespace carvendo::core {

CompanyHeading CompanyHeading::of(Db& directory, const ConnectionSettings& company)
{
    CompanyDirectory companies(directory);
    const CompanyRecord record = companies.recordOf(company);
    CompanyHeading heading;
    heading.ragioneSociale = record.ragionesociale;
    heading.indirizzo = record.indirizzo;
    heading.cap = record.cap;
    heading.citta = record.citta;
    heading.piva = record.piva;
    heading.codFisc = record.codfisc;
    heading.telefono = record.telefono;
    heading.email = record.email;
    heading.logo = companies.logo(record.id);
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
