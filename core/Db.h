#pragma once

#include "core/DbError.h"
#include "core/Rows.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace carvendo::core {

// Where a connection goes. A non-empty unixSocket wins over host and port.
struct ConnectionSettings
{
    QString host = QStringLiteral("localhost");
    int port = 3307;
    QString user = QStringLiteral("root");
    QString password;
    QString database;
    QString unixSocket;
    int connectTimeoutSeconds = 5;
};

// Values bound to the :NAME placeholders of a statement. Names match ignoring letter case.
// A value is a QVariant of: null, bool, int/qint64, double, QString, QByteArray, QDate, QDateTime,
// QTime or Money.
using Params = QVariantMap;

// What a CALL gave back: its first result set, if any, and the OUT variables read after it.
struct CallResult
{
    Rows rows;
    Rows out; // one row, a column per OUT variable name (without '@'); empty when none were asked
};

// One connection to a MariaDB/MySQL server through Connector/C.
//
// Statements use :NAME placeholders; they are parsed and prepared once per connection and cached.
// A placeholder without a value, or a value without its placeholder, is an error. A lost connection
// (2006/2013) is reopened and the statement re-run once, but never inside an open transaction (there
// the command fails, the transaction is gone, and the caller's Transaction rolls back) and never while
// the connection holds a named lock (a new connection would not hold it: the command fails).
class Db
{
public:
    explicit Db(ConnectionSettings settings);
    ~Db();
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void open(); // throws DbError
    void close();
    bool isOpen() const;
    const ConnectionSettings& settings() const { return m_settings; }
    void useDatabase(const QString& database); // USE, and remembered for reconnects

    Rows query(const QString& sql, const Params& params = {});
    qint64 exec(const QString& sql, const Params& params = {});  // rows matched (found rows)
    Field scalar(const QString& sql, const Params& params = {}); // first column of the first row, or NULL
    // CALL and the SELECT of its OUT variables run on the same connection: when the connection is
    // lost after the procedure ran, the call fails rather than read the variables of a new one.
    CallResult call(const QString& procedure, const QVariantList& args = {},
                    const QStringList& outNames = {});
    qint64 lastInsertId() const;

    // A script of several statements: split on the client (quotes, comments and DELIMITER respected)
    // and run one by one through the text protocol. progress(done, total) is called after each.
    void runScript(const QString& script, const std::function<void(int, int)>& progress = {});
    void runScriptFile(const QString& path, const std::function<void(int, int)>& progress = {});
    // Runs one statement through the text protocol (for statements that cannot be prepared).
    void execDirect(const QString& sql);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // Named server locks (GET_LOCK), one name space per company database. False when another
    // connection still holds the lock after waitSeconds. A lock let go inside a transaction is
    // released only when the transaction ends, so what it guarded is committed (or gone) before
    // another workstation gets it.
    bool acquireLock(const QString& name, int waitSeconds);
    void releaseLock(const QString& name);
    bool holdsLocks() const { return !m_locks.isEmpty(); }

    // Logging of every statement with its duration in microseconds. Defaults to the environment
    // variable CARVENDO_SQL_LOG (any non-empty value except "0"), written to the "carvendo.sql" category.
    using StatementLogger = std::function<void(const QString& sql, qint64 micros)>;
    void setStatementLogging(bool on);
    void setStatementLogger(StatementLogger logger);

    unsigned long serverThreadId() const;
    int reconnectCount() const { return m_reconnects; }

    struct Impl;

private:
    // Runs fn, reopening a lost connection and running fn once more when that is safe: a read, or a
    // statement that never reached the server (2006) while *ranOnServer, when given, is false.
    template <typename Fn>
    auto withReconnect(bool isRead, Fn&& fn, const bool* ranOnServer = nullptr) -> decltype(fn());
    void connectionGone(); // the server has dropped the transaction and the locks with the connection
    void releaseLocksHeldForTransaction();
    void updateStatementLogger();

    ConnectionSettings m_settings;
    std::unique_ptr<Impl> m_impl;
    bool m_inTransaction = false;
    bool m_logging = false;
    StatementLogger m_logger;
    int m_reconnects = 0;
    QHash<QString, int> m_locks; // name -> times taken (GET_LOCK nests)
    QStringList m_releaseAtEnd;  // let go inside the open transaction
};

// Rolls back unless commit() was called: a command either writes everything or nothing.
// Opened while another Transaction is open on the same connection, it joins that one: the outer
// command decides, so commands can be built from smaller ones.
class Transaction
{
public:
    explicit Transaction(Db& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Db& m_db;
    bool m_owner;
    bool m_done = false;
};

} // namespace carvendo::core
