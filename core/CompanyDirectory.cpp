#include "core/CompanyDirectory.h"

#include "core/SqlText.h"
#include "schema/CompanyTemplate.h"

namespace carvendo::core {

namespace {

constexpr int DefaultPort = 3307;

void requirePlainName(const QString& name)
{
    if (!isPlainIdentifier(name))
        throw DbError(
            QStringLiteral("Nome di database non valido: \"%1\". Usare solo lettere, cifre e \"_\".")
                .arg(name));
}

// The columns of a CompanyRecord: never the logo, which every row may carry.
const QString RecordColumns =
    QStringLiteral("id, ragionesociale, sub, indirizzo, citta, cap, telefono, telefono2, fax, cellulare, "
                   "email, lastaccess, host, porta, username, password, databasename, piva, codfisc, web");

// One row, or rows with one VAT number: without a VAT number two rows are not known to be one company.
bool oneCompany(const Rows& rows)
{
    if (rows.size() == 1)
        return true;
    const QString piva = rows.first()[u"piva"].toString().trimmed();
    if (piva.isEmpty())
        return false;
    for (const Row row : rows)
        if (row[u"piva"].toString().trimmed() != piva)
            return false;
    return true;
}

QVariant dateTimeOrNull(const QDateTime& value)
{
    return value.isValid() ? QVariant(value) : QVariant();
}

Params cardParams(const CompanyRecord& r)
{
    return Params{{QStringLiteral("RAGIONESOCIALE"), r.ragionesociale},
                  {QStringLiteral("SUB"), r.sub},
                  {QStringLiteral("INDIRIZZO"), r.indirizzo},
                  {QStringLiteral("CITTA"), r.citta},
                  {QStringLiteral("CAP"), r.cap},
                  {QStringLiteral("TELEFONO"), r.telefono},
                  {QStringLiteral("TELEFONO2"), r.telefono2},
                  {QStringLiteral("FAX"), r.fax},
                  {QStringLiteral("CELLULARE"), r.cellulare},
                  {QStringLiteral("EMAIL"), r.email},
                  {QStringLiteral("LASTACCESS"), dateTimeOrNull(r.lastaccess)},
                  {QStringLiteral("HOST"), r.host},
                  {QStringLiteral("PORTA"), r.porta},
                  {QStringLiteral("USERNAME"), r.username},
                  {QStringLiteral("PASSWORD"), r.password},
                  {QStringLiteral("DATABASENAME"), r.databasename},
                  {QStringLiteral("PIVA"), r.piva},
                  {QStringLiteral("CODFISC"), r.codfisc},
                  {QStringLiteral("WEB"), r.web}};
}

} // namespace

CompanyRecord CompanyRecord::fromRow(const Row& row)
{
    CompanyRecord r;
    r.id = row[u"id"].toInt();
    r.ragionesociale = row[u"ragionesociale"].toString();
    r.sub = row[u"sub"].toString();
    r.indirizzo = row[u"indirizzo"].toString();
    r.citta = row[u"citta"].toString();
    r.cap = row[u"cap"].toString();
    r.telefono = row[u"telefono"].toString();
    r.telefono2 = row[u"telefono2"].toString();
    r.fax = row[u"fax"].toString();
    r.cellulare = row[u"cellulare"].toString();
    r.email = row[u"email"].toString();
    r.lastaccess = row[u"lastaccess"].toDateTime();
    r.host = row[u"host"].toString();
    r.porta = row[u"porta"].toInt();
    r.username = row[u"username"].toString();
    r.password = row[u"password"].toString();
    r.databasename = row[u"databasename"].toString();
    r.piva = row[u"piva"].toString();
    r.codfisc = row[u"codfisc"].toString();
    r.web = row[u"web"].toString();
    return r;
}

ConnectionSettings CompanyRecord::connection() const
{
    return CompanyConnection{host, porta, username, password, databasename}.settings();
}

CompanyConnection CompanyConnection::fromRow(const Row& row)
{
    return CompanyConnection{row[u"host"].toString(), row[u"porta"].toInt(), row[u"username"].toString(),
                             row[u"password"].toString(), row[u"databasename"].toString()};
}

ConnectionSettings CompanyConnection::settings() const
{
    ConnectionSettings s;
    s.host = host;
    s.port = port;
    s.user = user;
    s.password = password;
    s.database = database;
    return s;
}

QString CompanyDirectory::proposedDatabaseName(int existingCompanies)
{
    switch (existingCompanies) {
    case 0:
        return QStringLiteral("gestionale");
    case 1:
        return QStringLiteral("gestionale1");
    case 2:
        return QStringLiteral("gestionale2");
    default:
        return {};
    }
}

void CompanyDirectory::createDirectoryDatabase(Db& server, const QString& name)
{
    requirePlainName(name);
    server.execDirect(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    server.execDirect(
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET latin1 COLLATE latin1_swedish_ci").arg(name));
    server.useDatabase(name);
    server.runScript(schema::CompanyTemplate::directoryScript());
}

bool CompanyDirectory::directoryExists(Db& server, const QString& name)
{
    return !server
                .query(QStringLiteral(
                           "SELECT SCHEMA_NAME FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = :NAME"),
                       {{QStringLiteral("NAME"), name}})
                .isEmpty();
}

bool CompanyDirectory::ensureDirectoryDatabase(Db& server, const QString& name)
{
    if (directoryExists(server, name))
        return false;
    createDirectoryDatabase(server, name);
    return true;
}

ConnectionSettings CompanyDirectory::connectionOf(const Row& row)
{
    return CompanyConnection::fromRow(row).settings();
}

CompanyDirectory::CompanyDirectory(Db& directory) : m_db(directory) {}

Rows CompanyDirectory::list()
{
    return m_db.query(QStringLiteral("select * from aziende"));
}

CompanyRecord CompanyDirectory::record(int id)
{
    const Rows rows = m_db.query(QStringLiteral("select %1 from aziende where id = :ID").arg(RecordColumns),
                                 {{QStringLiteral("ID"), id}});
    if (rows.isEmpty())
        throw DbError(QStringLiteral("Azienda %1 non trovata").arg(id));
    return CompanyRecord::fromRow(rows.first());
}

// The same server may be reached as "localhost" on one workstation and by address on another: the
// exact server decides among companies sharing the database name. Without it the rows must be one
// company (one VAT number), as the fiscal files and prints take its data; else the operator corrects
// the directory.
CompanyRecord CompanyDirectory::recordOf(const ConnectionSettings& company)
{
    const Rows rows = m_db.query(
        QStringLiteral("select %1 from aziende where databasename = :DB order by id").arg(RecordColumns),
        {{QStringLiteral("DB"), company.database}});
    if (rows.isEmpty())
        throw Error(QStringLiteral("L'azienda corrente (database %1) non è nella directory delle aziende.")
                        .arg(company.database));
    for (const Row row : rows)
        if (row[u"host"].toString().compare(company.host, Qt::CaseInsensitive) == 0 &&
            row[u"porta"].toInt() == company.port)
            return CompanyRecord::fromRow(row);
    if (!oneCompany(rows))
        throw Error(QStringLiteral("Nella directory delle aziende più aziende usano il database %1 e "
                                   "nessuna è sul server %2, porta %3: correggere server e porta "
                                   "dell'azienda corrente nella directory delle aziende.")
                        .arg(company.database, company.host)
                        .arg(company.port));
    return CompanyRecord::fromRow(rows.first());
}

int CompanyDirectory::count()
{
    return m_db.scalar(QStringLiteral("select count(*) from aziende")).toInt();
}

int CompanyDirectory::addNewCompany()
{
    // The new company lives on this machine's server, the one the directory is reached on; a row
    // without a port would send its connection to the client library's default instead.
    const int port = m_db.settings().port > 0 ? m_db.settings().port : DefaultPort;
    m_db.exec(
        QStringLiteral("insert into aziende (host, porta, username, password, databasename, lastaccess) "
                       "values (:HOST, :PORTA, :USERNAME, :PASSWORD, :DATABASENAME, NOW())"),
        {{QStringLiteral("HOST"), QStringLiteral("localhost")},
         {QStringLiteral("PORTA"), port},
         {QStringLiteral("USERNAME"), QStringLiteral("root")},
         {QStringLiteral("PASSWORD"), QStringLiteral("480117")},
         {QStringLiteral("DATABASENAME"), proposedDatabaseName(count())}});
    return int(m_db.lastInsertId());
}

void CompanyDirectory::remove(int id)
{
    m_db.exec(QStringLiteral("delete from aziende where id = :ID"), {{QStringLiteral("ID"), id}});
}

void CompanyDirectory::touchLastAccess(int id)
{
    m_db.exec(QStringLiteral("update aziende set lastaccess = NOW() where id = :ID"),
              {{QStringLiteral("ID"), id}});
}

int CompanyDirectory::save(const CompanyRecord& record)
{
    Params params = cardParams(record);
    if (record.id == 0) {
        m_db.exec(QStringLiteral(
                      "insert into aziende (ragionesociale, sub, indirizzo, citta, cap, telefono, telefono2, "
                      "fax, cellulare, email, lastaccess, host, porta, username, password, databasename, "
                      "piva, codfisc, web) values (:RAGIONESOCIALE, :SUB, :INDIRIZZO, :CITTA, :CAP, "
                      ":TELEFONO, :TELEFONO2, :FAX, :CELLULARE, :EMAIL, :LASTACCESS, :HOST, :PORTA, "
                      ":USERNAME, :PASSWORD, :DATABASENAME, :PIVA, :CODFISC, :WEB)"),
                  params);
        return int(m_db.lastInsertId());
    }
    params.insert(QStringLiteral("ID"), record.id);
    const qint64 matched = m_db.exec(
        QStringLiteral("update aziende set ragionesociale = :RAGIONESOCIALE, sub = :SUB, "
                       "indirizzo = :INDIRIZZO, citta = :CITTA, cap = :CAP, telefono = :TELEFONO, "
                       "telefono2 = :TELEFONO2, fax = :FAX, cellulare = :CELLULARE, email = :EMAIL, "
                       "lastaccess = :LASTACCESS, host = :HOST, porta = :PORTA, username = :USERNAME, "
                       "password = :PASSWORD, databasename = :DATABASENAME, piva = :PIVA, "
                       "codfisc = :CODFISC, web = :WEB where id = :ID"),
        params);
    if (matched == 0)
        throw DbError(QStringLiteral("L'azienda %1 non esiste più: è stata eliminata da un'altra postazione")
                          .arg(record.id));
    return record.id;
}

void CompanyDirectory::setLogo(int id, const QByteArray& image)
{
    m_db.exec(QStringLiteral("update aziende set logo = :LOGO where id = :ID"),
              {{QStringLiteral("LOGO"), image.isEmpty() ? QVariant() : QVariant(image)},
               {QStringLiteral("ID"), id}});
}

QByteArray CompanyDirectory::logo(int id)
{
    return m_db
        .scalar(QStringLiteral("select logo from aziende where id = :ID"), {{QStringLiteral("ID"), id}})
        .toBytes();
}

} // namespace carvendo::core
