#pragma once

#include <QByteArray>
#include <QString>

namespace carvendo::core {

class Db;
struct ConnectionSettings;
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

    // The company whose database the connection uses, as the company directory finds it
    // (CompanyDirectory::recordOf, whose core::Error it throws when the company is not listed).
    static CompanyHeading of(Db& directory, const ConnectionSettings& company);

    // The values every document template reads its heading from: azienda, aziendaindirizzo,
    // aziendacitta, aziendapiva, aziendacodfisc, aziendatelefono, aziendaemail; the logo as picture1.
    void addTo(ReportRequest& request) const;
};

} // namespace carvendo::core
