#pragma once

#include "core/Db.h"
#include "core/Rows.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace carvendo::core {

// One row of `aziende`: a company and how to reach its database. The logo is kept apart (setLogo):
// the company card does not carry it.
struct CompanyRecord
{
    int id = 0; // 0 for a company not saved yet
    QString ragionesociale;
    QString sub;
    QString indirizzo;
    QString citta;
    QString cap;
    QString telefono;
    QString telefono2;
    QString fax;
    QString cellulare;
    QString email;
    QDateTime lastaccess;
    QString host;
    int porta = 0;
    QString username;
    QString password;
    QString databasename;
    QString piva;
    QString codfisc;
    QString web;

    static CompanyRecord fromRow(const Row& row);
    ConnectionSettings connection() const; // the company connection
    bool operator==(const CompanyRecord&) const = default;
};

// The connection columns of an `aziende` row.
struct CompanyConnection
{
    QString host;
    int port = 0;
    QString user;
    QString password;
    QString database;

    static CompanyConnection fromRow(const Row& row);
    ConnectionSettings settings() const;
};

// The company directory: the database (default `aziende`) that lists the companies of the shop.
class CompanyDirectory
{
public:
    // Database names a new company is offered, by how many companies the directory already holds;
    // from the fourth on the operator types one.
    static QString proposedDatabaseName(int existingCompanies);

    // Drops and creates the directory database (latin1, latin1_swedish_ci) with its `aziende` table.
    // `server` is a connection with the right to create databases; afterwards it uses the new database.
    // A name that is not a plain identifier throws DbError.
    static void createDirectoryDatabase(Db& server, const QString& name);
    static bool directoryExists(Db& server, const QString& name);
    // Creates the directory database when the server does not have it; true when it did.
    static bool ensureDirectoryDatabase(Db& server, const QString& name);

    // The connection settings of a company row, for the company connection.
    static ConnectionSettings connectionOf(const Row& row);

    explicit CompanyDirectory(Db& directory);

    Rows list();                  // select * from aziende
    CompanyRecord record(int id); // throws DbError when there is no such company
    // The company whose database a connection uses: among the companies with the database's name, the
    // one on the same server and port, else the first when they are all the same company (the same
    // VAT number) or it is the only one. Throws core::Error when none has that name, or when several
    // companies do and none is on that server. The logo is not read (logo()).
    CompanyRecord recordOf(const ConnectionSettings& company);
    int count();

    // "Crea nuova azienda": a row on this machine's server with the default account, the proposed
    // database name and lastaccess now. Returns its id.
    int addNewCompany();
    void remove(int id);
    void touchLastAccess(int id); // on login
    // Writes the card's columns; a record with id 0 is inserted. Returns the id.
    int save(const CompanyRecord& record);
    void setLogo(int id, const QByteArray& image);
    QByteArray logo(int id);

private:
    Db& m_db;
};

} // namespace carvendo::core
