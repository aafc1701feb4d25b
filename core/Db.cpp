#include "core/Db.h"

#include "core/SqlText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>

#include <errmsg.h>
#include <mysql.h>

#include <cstring>
#include <deque>
#include <utility>

Q_LOGGING_CATEGORY(sqlLog, "carvendo.sql")

namespace carvendo::core {

namespace {

constexpr int kMaxCachedStatements = 400;

QString text(const char* s)
{
    return QString::fromUtf8(s ? s : "");
}

bool isConnectionLost(unsigned code)
{
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST;
}

// Storage for the values bound to one execution; the server reads them during mysql_stmt_execute.
class ParamBuffers
{
public:
    explicit ParamBuffers(qsizetype count) : m_binds(size_t(count)) {}

    MYSQL_BIND* binds() { return m_binds.data(); }

    void bind(size_t index, const QVariant& value)
    {
        MYSQL_BIND& b = m_binds[index];
        std::memset(&b, 0, sizeof b);
        if (!value.isValid() || value.isNull()) {
            b.buffer_type = MYSQL_TYPE_NULL;
            return;
        }
        if (value.metaType() == QMetaType::fromType<Money>()) {
            bindText(b, value.value<Money>().toDecimalString().toUtf8(), MYSQL_TYPE_NEWDECIMAL);
            return;
        }
        switch (value.typeId()) {
        case QMetaType::Bool:
            m_ints.push_back(value.toBool() ? 1 : 0);
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &m_ints.back();
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::Long:
            m_ints.push_back(value.toLongLong());
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &m_ints.back();
            break;
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::UShort:
        case QMetaType::UChar:
        case QMetaType::ULong:
            m_ints.push_back(qint64(value.toULongLong()));
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.is_unsigned = true;
            b.buffer = &m_ints.back();
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            m_doubles.push_back(value.toDouble());
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = &m_doubles.back();
            break;
        case QMetaType::QDate:
            bindTime(b, value.toDate(), {}, MYSQL_TYPE_DATE);
            break;
        case QMetaType::QDateTime: {
            const QDateTime dt = value.toDateTime();
            bindTime(b, dt.date(), dt.time(), MYSQL_TYPE_DATETIME);
            break;
        }
        case QMetaType::QTime:
            bindTime(b, {}, value.toTime(), MYSQL_TYPE_TIME);
            break;
        case QMetaType::QByteArray:
            bindText(b, value.toByteArray(), MYSQL_TYPE_BLOB);
            break;
        default:
            bindText(b, value.toString().toUtf8(), MYSQL_TYPE_STRING);
            break;
        }
    }

private:
    void bindText(MYSQL_BIND& b, QByteArray bytes, enum_field_types type)
    {
        m_texts.push_back(std::move(bytes));
        b.buffer_type = type;
        b.buffer = const_cast<char*>(m_texts.back().constData());
        b.buffer_length = static_cast<unsigned long>(m_texts.back().size());
        m_lengths.push_back(b.buffer_length);
        b.length = &m_lengths.back();
    }

    void bindTime(MYSQL_BIND& b, QDate date, QTime time, enum_field_types type)
    {
        if ((type != MYSQL_TYPE_TIME && !date.isValid()) || (type == MYSQL_TYPE_TIME && !time.isValid())) {
            b.buffer_type = MYSQL_TYPE_NULL;
            return;
        }
        MYSQL_TIME t;
        std::memset(&t, 0, sizeof t);
        if (date.isValid()) {
            t.year = unsigned(date.year());
            t.month = unsigned(date.month());
            t.day = unsigned(date.day());
        }
        if (time.isValid()) {
            t.hour = unsigned(time.hour());
            t.minute = unsigned(time.minute());
            t.second = unsigned(time.second());
            t.second_part = static_cast<unsigned long>(time.msec()) * 1000;
        }
        t.time_type = type == MYSQL_TYPE_DATE   ? MYSQL_TIMESTAMP_DATE
                      : type == MYSQL_TYPE_TIME ? MYSQL_TIMESTAMP_TIME
                                                : MYSQL_TIMESTAMP_DATETIME;
        m_times.push_back(t);
        b.buffer_type = type;
        b.buffer = &m_times.back();
    }

    std::vector<MYSQL_BIND> m_binds;
    // deques keep element addresses stable as they grow
    std::deque<qint64> m_ints;
    std::deque<double> m_doubles;
    std::deque<QByteArray> m_texts;
    std::deque<unsigned long> m_lengths;
    std::deque<MYSQL_TIME> m_times;
};

enum class ColumnKind
{
    Integer,
    Unsigned,
    Real,
    Decimal,
    Text,
    Bytes,
    Date,
    DateTime,
    Time
};

ColumnKind kindOf(const MYSQL_FIELD& f)
{
    switch (f.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return (f.flags & UNSIGNED_FLAG) ? ColumnKind::Unsigned : ColumnKind::Integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        return ColumnKind::Real;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return ColumnKind::Decimal;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return ColumnKind::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return ColumnKind::DateTime;
    case MYSQL_TYPE_TIME:
        return ColumnKind::Time;
    case MYSQL_TYPE_BIT:
        return ColumnKind::Bytes;
    default:
        return f.charsetnr == 63 ? ColumnKind::Bytes : ColumnKind::Text;
    }
}

QDate dateOf(const MYSQL_TIME& t)
{
    return QDate(int(t.year), int(t.month), int(t.day)); // a zero date gives an invalid (null) QDate
}

QTime timeOf(const MYSQL_TIME& t)
{
    return QTime(int(t.hour), int(t.minute), int(t.second), int(t.second_part / 1000));
}

// A TIME column may hold a span ("-01:30:00", "30:00:00") that no time of day can show; reading it as
// an empty time would lose it without a word.
QTime timeOfDay(const MYSQL_TIME& t, const QString& column)
{
    const QTime time = timeOf(t);
    if (t.neg || t.day != 0 || !time.isValid())
        throw DbError(
            QStringLiteral("La colonna %1 contiene la durata %2%3:%4:%5, che non è un'ora del giorno")
                .arg(column, t.neg ? QStringLiteral("-") : QString())
                .arg(qulonglong(t.day) * 24 + t.hour, 2, 10, QLatin1Char('0'))
                .arg(t.minute, 2, 10, QLatin1Char('0'))
                .arg(t.second, 2, 10, QLatin1Char('0')));
    return time;
}

// Receives one result set of a prepared statement.
class ResultReader
{
public:
    ResultReader(MYSQL_STMT* stmt, MYSQL_RES* meta) : m_stmt(stmt)
    {
        const unsigned count = mysql_num_fields(meta);
        MYSQL_FIELD* fields = mysql_fetch_fields(meta);
        m_binds.resize(count);
        m_columns.resize(count);
        for (unsigned i = 0; i < count; ++i) {
            m_names << text(fields[i].name);
            Column& c = m_columns[i];
            c.kind = kindOf(fields[i]);
            MYSQL_BIND& b = m_binds[i];
            std::memset(&b, 0, sizeof b);
            b.is_null = &c.isNull;
            b.length = &c.length;
            b.error = &c.error;
            switch (c.kind) {
            case ColumnKind::Integer:
            case ColumnKind::Unsigned:
                b.buffer_type = MYSQL_TYPE_LONGLONG;
                b.buffer = &c.integer;
                b.is_unsigned = c.kind == ColumnKind::Unsigned;
                break;
            case ColumnKind::Real:
                b.buffer_type = MYSQL_TYPE_DOUBLE;
                b.buffer = &c.real;
                break;
            case ColumnKind::Date:
            case ColumnKind::DateTime:
            case ColumnKind::Time:
                b.buffer_type = c.kind == ColumnKind::Date       ? MYSQL_TYPE_DATE
                                : c.kind == ColumnKind::DateTime ? MYSQL_TYPE_DATETIME
                                                                 : MYSQL_TYPE_TIME;
                b.buffer = &c.time;
                break;
            default:
                c.bytes.resize(256);
                b.buffer_type = MYSQL_TYPE_STRING;
                b.buffer = c.bytes.data();
                b.buffer_length = static_cast<unsigned long>(c.bytes.size());
                break;
            }
        }
    }

    QStringList names() const { return m_names; }
    MYSQL_BIND* binds() { return m_binds.data(); }

    // Reads the current row after mysql_stmt_fetch; long texts are fetched again whole.
    std::vector<QVariant> row()
    {
        std::vector<QVariant> values(m_columns.size());
        for (size_t i = 0; i < m_columns.size(); ++i) {
            Column& c = m_columns[i];
            if (c.isNull)
                continue;
            switch (c.kind) {
            case ColumnKind::Integer:
                values[i] = QVariant(qint64(c.integer));
                break;
            case ColumnKind::Unsigned:
                values[i] = QVariant(quint64(c.integer));
                break;
            case ColumnKind::Real:
                values[i] = QVariant(c.real);
                break;
            case ColumnKind::Date: {
                const QDate d = dateOf(c.time);
                values[i] = d.isValid() ? QVariant(d) : QVariant();
                break;
            }
            case ColumnKind::DateTime: {
                const QDate d = dateOf(c.time);
                values[i] = d.isValid() ? QVariant(QDateTime(d, timeOf(c.time))) : QVariant();
                break;
            }
            case ColumnKind::Time:
                values[i] = QVariant(timeOfDay(c.time, m_names[qsizetype(i)]));
                break;
            default: {
                QByteArray data;
                if (qsizetype(c.length) > c.bytes.size()) {
                    data.resize(qsizetype(c.length));
                    MYSQL_BIND whole;
                    std::memset(&whole, 0, sizeof whole);
                    whole.buffer_type = MYSQL_TYPE_STRING;
                    whole.buffer = data.data();
                    whole.buffer_length = c.length;
                    unsigned long length = 0;
                    whole.length = &length;
                    if (mysql_stmt_fetch_column(m_stmt, &whole, unsigned(i), 0) != 0)
                        throw DbError(text(mysql_stmt_error(m_stmt)), mysql_stmt_errno(m_stmt));
                } else {
                    data = QByteArray(c.bytes.constData(), qsizetype(c.length));
                }
                if (c.kind == ColumnKind::Bytes)
                    values[i] = QVariant(data);
                else
                    values[i] = QVariant(QString::fromUtf8(data)); // decimals keep their exact text
                break;
            }
            }
        }
        return values;
    }

private:
    struct Column
    {
        ColumnKind kind = ColumnKind::Text;
        my_bool isNull = 0;
        my_bool error = 0;
        unsigned long length = 0;
        long long integer = 0;
        double real = 0;
        MYSQL_TIME time{};
        QByteArray bytes;
    };

    MYSQL_STMT* m_stmt;
    QStringList m_names;
    std::vector<MYSQL_BIND> m_binds;
    std::vector<Column> m_columns;
};

struct FreeResult
{
    void operator()(MYSQL_RES* result) const { mysql_free_result(result); }
};
using ResultMetadata = std::unique_ptr<MYSQL_RES, FreeResult>;

// Whatever way the reading of a statement's results ends, they are let go. When it ends with a
// throw halfway (a value that cannot be read, a server error in a later result set), the rows and
// result sets still on the way are drained, so the connection and this cached statement serve the
// next command instead of answering "Commands out of sync".
class PendingResults
{
public:
    explicit PendingResults(MYSQL_STMT* stmt) : m_stmt(stmt) {}
    ~PendingResults()
    {
        if (m_complete)
            mysql_stmt_free_result(m_stmt);
        else
            mysql_stmt_reset(m_stmt);
    }
    PendingResults(const PendingResults&) = delete;
    PendingResults& operator=(const PendingResults&) = delete;

    void complete() { m_complete = true; }

private:
    MYSQL_STMT* m_stmt;
    bool m_complete = false;
};

// Times one statement for the statement log, however it ends.
class StatementTimer
{
public:
    using Logger = std::function<void(const QString&, qint64)>;
    StatementTimer(const Logger& logger, const QString& sql) : m_logger(logger), m_sql(sql)
    {
        if (m_logger)
            m_timer.start();
    }
    ~StatementTimer()
    {
        if (!m_logger)
            return;
        try {
            m_logger(m_sql, m_timer.nsecsElapsed() / 1000);
        } catch (...) {
            // A log that cannot be written does not change what the statement did.
        }
    }
    StatementTimer(const StatementTimer&) = delete;
    StatementTimer& operator=(const StatementTimer&) = delete;

private:
    const Logger& m_logger;
    const QString& m_sql;
    QElapsedTimer m_timer;
};

struct Prepared
{
    MYSQL_STMT* stmt = nullptr;
    QStringList names;
};

struct Outcome
{
    Rows rows;
    qint64 affected = 0;
};

} // namespace

struct Db::Impl
{
    MYSQL* conn = nullptr;
    QHash<QString, Prepared> statements;
    qint64 lastInsertId = 0;
    QString database;
    StatementTimer::Logger logger; // empty when statements are not logged

    ~Impl() { disconnect(); }

    void disconnect()
    {
        for (auto& p : statements)
            mysql_stmt_close(p.stmt);
        statements.clear();
        if (conn) {
            mysql_close(conn);
            conn = nullptr;
        }
    }

    [[noreturn]] void failConnection(const QString& sql = {}) const
    {
        throw DbError(text(mysql_error(conn)), mysql_errno(conn), text(mysql_sqlstate(conn)), sql);
    }

    [[noreturn]] static void failStatement(MYSQL_STMT* stmt, const QString& sql)
    {
        throw DbError(text(mysql_stmt_error(stmt)), mysql_stmt_errno(stmt), text(mysql_stmt_sqlstate(stmt)),
                      sql);
    }

    void connect(const ConnectionSettings& s)
    {
        disconnect();
        conn = mysql_init(nullptr);
        if (!conn)
            throw DbError(QStringLiteral("Memoria insufficiente per aprire la connessione al database"));
        mysql_options(conn, MYSQL_SET_CHARSET_NAME, "utf8mb4");
        const unsigned timeout = unsigned(s.connectTimeoutSeconds);
        mysql_options(conn, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
        my_bool noReconnect = 0; // reconnecting is ours to decide: never inside a transaction
        mysql_options(conn, MYSQL_OPT_RECONNECT, &noReconnect);
        const QByteArray host = s.host.toUtf8(), user = s.user.toUtf8(), password = s.password.toUtf8();
        const QByteArray db = database.toUtf8(), socket = s.unixSocket.toUtf8();
        if (!s.unixSocket.isEmpty()) {
            const unsigned protocol = MYSQL_PROTOCOL_SOCKET;
            mysql_options(conn, MYSQL_OPT_PROTOCOL, &protocol);
        } else {
            const unsigned protocol = MYSQL_PROTOCOL_TCP;
            mysql_options(conn, MYSQL_OPT_PROTOCOL, &protocol);
        }
        if (!mysql_real_connect(conn, s.unixSocket.isEmpty() ? host.constData() : nullptr, user.constData(),
                                password.constData(), db.isEmpty() ? nullptr : db.constData(),
                                unsigned(s.port), socket.isEmpty() ? nullptr : socket.constData(),
                                CLIENT_FOUND_ROWS | CLIENT_MULTI_RESULTS)) {
            DbError error(text(mysql_error(conn)), mysql_errno(conn), text(mysql_sqlstate(conn)));
            mysql_close(conn);
            conn = nullptr;
            throw error;
        }
    }

    void requireOpen() const
    {
        if (!conn)
            throw DbError(QStringLiteral("Connessione al database non aperta"), CR_SERVER_GONE_ERROR);
    }

    Prepared& prepare(const QString& sql)
    {
        requireOpen();
        auto it = statements.find(sql);
        if (it != statements.end())
            return *it;
        if (statements.size() >= kMaxCachedStatements) {
            for (auto& p : statements)
                mysql_stmt_close(p.stmt);
            statements.clear();
        }
        const ParsedStatement parsed = parsePlaceholders(sql);
        MYSQL_STMT* stmt = mysql_stmt_init(conn);
        if (!stmt)
            failConnection(sql);
        const QByteArray bytes = parsed.sql.toUtf8();
        if (mysql_stmt_prepare(stmt, bytes.constData(), static_cast<unsigned long>(bytes.size())) != 0) {
            DbError error(text(mysql_stmt_error(stmt)), mysql_stmt_errno(stmt),
                          text(mysql_stmt_sqlstate(stmt)), sql);
            mysql_stmt_close(stmt);
            throw error;
        }
        return *statements.insert(sql, Prepared{stmt, parsed.names});
    }

    static void checkParams(const Prepared& p, const Params& params, const QString& sql)
    {
        QStringList given;
        for (auto it = params.begin(); it != params.end(); ++it)
            given << it.key().toUpper();
        for (const QString& name : p.names)
            if (!given.contains(name))
                throw DbError(QStringLiteral("Parametro :%1 senza valore").arg(name), 0, {}, sql);
        for (const QString& name : given)
            if (!p.names.contains(name))
                throw DbError(QStringLiteral("Il parametro %1 non compare nell'istruzione").arg(name), 0, {},
                              sql);
    }

    static QVariant paramValue(const Params& params, const QString& upperName)
    {
        for (auto it = params.begin(); it != params.end(); ++it)
            if (it.key().toUpper() == upperName)
                return it.value();
        return {};
    }

    Outcome execute(const QString& sql, const Params& params)
    {
        const StatementTimer timer(logger, sql);
        Prepared& p = prepare(sql);
        checkParams(p, params, sql);
        ParamBuffers buffers(p.names.size());
        for (qsizetype i = 0; i < p.names.size(); ++i)
            buffers.bind(size_t(i), paramValue(params, p.names[i]));
        if (!p.names.isEmpty() && mysql_stmt_bind_param(p.stmt, buffers.binds()) != 0)
            failStatement(p.stmt, sql);
        if (mysql_stmt_execute(p.stmt) != 0)
            failStatement(p.stmt, sql);

        PendingResults pending(p.stmt);
        Outcome outcome;
        bool haveRows = false;
        for (;;) {
            if (mysql_stmt_field_count(p.stmt) > 0) {
                Rows rows = fetchAll(p.stmt, sql);
                if (!haveRows) {
                    outcome.rows = std::move(rows);
                    haveRows = true;
                }
            } else {
                const my_ulonglong affected = mysql_stmt_affected_rows(p.stmt);
                if (affected != my_ulonglong(-1))
                    outcome.affected = qint64(affected);
                const my_ulonglong id = mysql_stmt_insert_id(p.stmt);
                if (id != 0)
                    lastInsertId = qint64(id);
            }
            const int next = mysql_stmt_next_result(p.stmt);
            if (next == -1)
                break;
            if (next > 0)
                failStatement(p.stmt, sql);
        }
        pending.complete();
        return outcome;
    }

    Rows fetchAll(MYSQL_STMT* stmt, const QString& sql) const
    {
        const ResultMetadata meta(mysql_stmt_result_metadata(stmt));
        if (!meta)
            failStatement(stmt, sql);
        ResultReader reader(stmt, meta.get());
        if (mysql_stmt_bind_result(stmt, reader.binds()) != 0)
            failStatement(stmt, sql);
        std::vector<std::vector<QVariant>> data;
        for (;;) {
            const int rc = mysql_stmt_fetch(stmt);
            if (rc == MYSQL_NO_DATA)
                break;
            if (rc == 1) {
                // An error arriving among the rows is kept by the connection, not by the statement.
                if (mysql_stmt_errno(stmt) == 0 && mysql_errno(conn) != 0)
                    failConnection(sql);
                failStatement(stmt, sql);
            }
            data.push_back(reader.row()); // rc 0 or MYSQL_DATA_TRUNCATED (long texts re-read)
        }
        return Rows(reader.names(), std::move(data));
    }

    void executeText(const QString& sql)
    {
        const StatementTimer timer(logger, sql);
        requireOpen();
        const QByteArray bytes = sql.toUtf8();
        if (mysql_real_query(conn, bytes.constData(), static_cast<unsigned long>(bytes.size())) != 0)
            failConnection(sql);
        for (;;) {
            if (MYSQL_RES* res = mysql_store_result(conn))
                mysql_free_result(res);
            else if (mysql_field_count(conn) != 0)
                failConnection(sql);
            const my_ulonglong id = mysql_insert_id(conn);
            if (id != 0)
                lastInsertId = qint64(id);
            const int next = mysql_next_result(conn);
            if (next == -1)
                break;
            if (next > 0)
                failConnection(sql);
        }
    }
};

Db::Db(ConnectionSettings settings) : m_settings(std::move(settings)), m_impl(std::make_unique<Impl>())
{
    m_impl->database = m_settings.database;
    const QByteArray env = qgetenv("CARVENDO_SQL_LOG");
    m_logging = !env.isEmpty() && env != "0";
    updateStatementLogger();
}

Db::~Db() = default;

void Db::open()
{
    connectionGone();
    m_impl->connect(m_settings);
}

void Db::close()
{
    connectionGone();
}

bool Db::isOpen() const
{
    return m_impl->conn != nullptr;
}

void Db::connectionGone()
{
    m_impl->disconnect();
    m_inTransaction = false;
    m_locks.clear();
    m_releaseAtEnd.clear();
}

void Db::useDatabase(const QString& database)
{
    if (!isPlainIdentifier(database))
        throw DbError(QStringLiteral("Nome di database non valido: %1").arg(database));
    execDirect(QStringLiteral("USE `%1`").arg(database));
    m_impl->database = database;
    m_settings.database = database;
}

template <typename Fn> auto Db::withReconnect(bool isRead, Fn&& fn, const bool* ranOnServer) -> decltype(fn())
{
    try {
        if (!m_impl->conn && !m_inTransaction)
            open();
        return fn();
    } catch (const DbError& error) {
        if (!isConnectionLost(error.errorCode()))
            throw;
        const bool inTransaction = m_inTransaction;
        const bool heldLocks = holdsLocks();
        connectionGone();
        // The server has already thrown the transaction away: the whole command fails.
        if (inTransaction)
            throw;
        if (heldLocks)
            throw DbError(
                QStringLiteral("La connessione al database si è interrotta mentre questa postazione "
                               "teneva un blocco: il comando non è stato completato. Ripeterlo."),
                error.errorCode(), error.sqlState(), error.statement());
        // 2006: nothing reached the server. 2013: the statement may have run, so only reads are repeated.
        const bool reachedServer =
            error.errorCode() != CR_SERVER_GONE_ERROR || (ranOnServer != nullptr && *ranOnServer);
        if (!isRead && reachedServer)
            throw;
        open();
        ++m_reconnects;
        return fn();
    }
}

Rows Db::query(const QString& sql, const Params& params)
{
    return withReconnect(isReadOnlyStatement(sql), [&] { return m_impl->execute(sql, params).rows; });
}

qint64 Db::exec(const QString& sql, const Params& params)
{
    return withReconnect(isReadOnlyStatement(sql), [&] { return m_impl->execute(sql, params).affected; });
}

Field Db::scalar(const QString& sql, const Params& params)
{
    const Rows rows = query(sql, params);
    if (rows.isEmpty() || rows.columnCount() == 0)
        return Field();
    return rows.at(0, 0);
}

CallResult Db::call(const QString& procedure, const QVariantList& args, const QStringList& outNames)
{
    if (!isPlainIdentifier(procedure))
        throw DbError(QStringLiteral("Nome di procedura non valido: %1").arg(procedure));
    QStringList placeholders;
    Params params;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString name = QStringLiteral("P%1").arg(i + 1);
        placeholders << u':' + name;
        params.insert(name, args[i]);
    }
    QStringList selected;
    for (const QString& out : outNames) {
        QString name = out.startsWith(u'@') ? out.mid(1) : out;
        if (!isPlainIdentifier(name))
            throw DbError(QStringLiteral("Nome di variabile non valido: %1").arg(out));
        placeholders << u'@' + name;
        selected << QStringLiteral("@%1 AS `%1`").arg(name);
    }
    const QString sql =
        QStringLiteral("CALL `%1`(%2)").arg(procedure, placeholders.join(QStringLiteral(", ")));
    const QString outSql = QStringLiteral("SELECT ") + selected.join(QStringLiteral(", "));
    // The OUT variables live in the session: the pair is repeated whole or not at all.
    bool procedureRan = false;
    try {
        return withReconnect(
            false,
            [&] {
                procedureRan = false;
                CallResult result;
                result.rows = m_impl->execute(sql, params).rows;
                procedureRan = true;
                if (!selected.isEmpty())
                    result.out = m_impl->execute(outSql, {}).rows;
                return result;
            },
            &procedureRan);
    } catch (const DbError& error) {
        if (!procedureRan || !isConnectionLost(error.errorCode()))
            throw;
        throw DbError(
            QStringLiteral("La connessione al database si è interrotta dopo la procedura %1: i valori "
                           "che ha restituito sono andati persi. Verificarne l'esito prima di "
                           "ripetere il comando.")
                .arg(procedure),
            error.errorCode(), error.sqlState(), outSql);
    }
}

qint64 Db::lastInsertId() const
{
    return m_impl->lastInsertId;
}

void Db::execDirect(const QString& sql)
{
    withReconnect(isReadOnlyStatement(sql), [&] {
        m_impl->executeText(sql);
        return 0;
    });
}

void Db::runScript(const QString& script, const std::function<void(int, int)>& progress)
{
    const QStringList statements = splitScript(script);
    const int total = int(statements.size());
    int done = 0;
    for (const QString& statement : statements) {
        execDirect(statement);
        ++done;
        if (progress)
            progress(done, total);
    }
}

void Db::runScriptFile(const QString& path, const std::function<void(int, int)>& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Impossibile leggere il file %1: %2").arg(path, file.errorString()));
    QString script = QString::fromUtf8(file.readAll());
    if (script.startsWith(QChar(0xFEFF)))
        script.remove(0, 1); // a byte-order mark is not SQL
    runScript(script, progress);
}

void Db::begin()
{
    if (m_inTransaction)
        throw DbError(QStringLiteral("Una transazione è già aperta su questa connessione"));
    execDirect(QStringLiteral("START TRANSACTION"));
    m_inTransaction = true;
}

void Db::commit()
{
    if (!m_inTransaction)
        throw DbError(QStringLiteral("Nessuna transazione aperta da confermare"));
    execDirect(QStringLiteral("COMMIT"));
    m_inTransaction = false;
    releaseLocksHeldForTransaction();
}

void Db::rollback()
{
    if (!m_inTransaction)
        return;
    try {
        execDirect(QStringLiteral("ROLLBACK"));
    } catch (const DbError&) {
        // A connection that died has rolled back on the server already; start afresh next time.
        connectionGone();
    }
    m_inTransaction = false;
    releaseLocksHeldForTransaction();
}

namespace {
// Lock names are at most 64 characters: the company database and the caller's name, hashed.
const QString kLockName = QStringLiteral("SHA1(CONCAT('carvendo.', DATABASE(), '.', :NOME))");
} // namespace

bool Db::acquireLock(const QString& name, int waitSeconds)
{
    const Field got = scalar(QStringLiteral("SELECT GET_LOCK(%1, :ATTESA)").arg(kLockName),
                             {{QStringLiteral("NOME"), name}, {QStringLiteral("ATTESA"), waitSeconds}});
    if (got.toInt() != 1)
        return false;
    ++m_locks[name];
    return true;
}

void Db::releaseLock(const QString& name)
{
    if (!m_locks.contains(name))
        return; // gone with a lost connection
    if (m_inTransaction) {
        m_releaseAtEnd << name;
        return;
    }
    if (--m_locks[name] == 0)
        m_locks.remove(name);
    scalar(QStringLiteral("SELECT RELEASE_LOCK(%1)").arg(kLockName), {{QStringLiteral("NOME"), name}});
}

void Db::releaseLocksHeldForTransaction()
{
    const QStringList names = std::exchange(m_releaseAtEnd, {});
    for (const QString& name : names) {
        try {
            releaseLock(name);
        } catch (const DbError&) {
            // The transaction has ended already; a connection that is gone took its locks with it.
        }
    }
}

void Db::setStatementLogging(bool on)
{
    m_logging = on;
    updateStatementLogger();
}

void Db::setStatementLogger(StatementLogger logger)
{
    m_logger = std::move(logger);
    m_logging = true;
    updateStatementLogger();
}

void Db::updateStatementLogger()
{
    if (!m_logging)
        m_impl->logger = nullptr;
    else if (m_logger)
        m_impl->logger = m_logger;
    else
        m_impl->logger = [](const QString& sql, qint64 micros) {
            qCInfo(sqlLog).noquote() << micros << "µs" << sql.simplified();
        };
}

unsigned long Db::serverThreadId() const
{
    return m_impl->conn ? mysql_thread_id(m_impl->conn) : 0;
}

Transaction::Transaction(Db& db) : m_db(db), m_owner(!db.inTransaction())
{
    if (m_owner)
        m_db.begin();
}

Transaction::~Transaction()
{
    if (m_owner && !m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    if (m_owner)
        m_db.commit();
    m_done = true;
}

} // namespace carvendo::core
