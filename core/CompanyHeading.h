#pragma once

#include <QByteArray>
#include <QString>

namespace carvendo::core {

class Db;
struct ReportRequest;

// The shop's heading on printed documents (loads, invoices, ...), as the company directory lists it.
struct CompanyHeading
{
    QString ragioneSociale;
    QString indirizzo;
    QString cap;
    QString citta;
    QString piva;
    QString codFisc;
    QString telefono;
    QString email;
    QByteArray logo;

    // The company whose database this is, from the company directory; empty when it is not listed.
    static CompanyHeading of(Db& directory, const QString& database);

    // The values every document template reads its heading from: azienda, aziendaindirizzo,
    // aziendacitta, aziendapiva, aziendacodfisc, aziendatelefono, aziendaemail; the logo as picture1.
    void addTo(ReportRequest& request) const;
};

} // namespace carvendo::core
