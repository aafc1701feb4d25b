#include "core/DatabaseDump.h"

#include "core/SqlText.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace carvendo::core {

namespace {

constexpr int MaxIdentifierLength = 64;
constexpr qint64 RestoreChunkBytes = qint64(1) << 20;
// Share of a restore's progress spent loading the scratch copy; the swap takes the rest.
constexpr int LoadShare = 90;

QString quoted(const QString& identifier)
{
    if (!isPlainIdentifier(identifier) || identifier.size() > MaxIdentifierLength)
        throw DbError(QStringLiteral("Nome non valido: \"%1\". Sono ammessi solo lettere, cifre e \"_\".")
                          .arg(identifier));
    return u'`' + identifier + u'`';
}

QString qualified(const QString& schema, const QString& name)
{
    return quoted(schema) + u'.' + quoted(name);
}

QString spareName(const QString& database, const QString& suffix)
{
    quoted(database);
    const QString name = database + suffix;
    if (name.size() > MaxIdentifierLength)
        throw DbError(QStringLiteral("Il nome del database \"%1\" è troppo lungo per un ripristino sicuro.")
                          .arg(database));
    return name;
}

// Calls progress only when the percentage moves, never above 100.
class ProgressGate
{
public:
    explicit ProgressGate(const Progress& progress) : m_progress(progress) {}
    void report(int percent)
    {
        percent = std::clamp(percent, 0, 100);
        if (m_progress && percent != m_last) {
            m_last = percent;
            m_progress(percent);
        }
    }

private:
    const Progress& m_progress;
    int m_last = -1;
};

// The tool's own report, without the failing statement it echoes before it (which may be a whole
// megabyte of INSERT) and cut to what fits an error box.
QString errorText(const QString& standardError)
{
    QString text = standardError.trimmed();
    const qsizetype error = text.startsWith(u"ERROR ") ? 0 : text.indexOf(QStringLiteral("\nERROR "));
    if (error > 0)
        text = text.mid(error + 1);
    constexpr qsizetype MaxLength = 1000;
    if (text.size() > MaxLength)
        text = text.left(MaxLength) + QStringLiteral("...");
    return text;
}

// Runs one of the client programs; the password travels in MYSQL_PWD, not on the command line
// where every user of the machine could read it.
class Tool
{
public:
    Tool(const QString& program, const QString& password) : m_program(program)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MYSQL_PWD"), password);
        m_process.setProcessEnvironment(environment);
    }

    QProcess& process() { return m_process; }

    void start(const QStringList& arguments)
    {
        m_process.start(m_program, arguments);
        if (!m_process.waitForStarted(-1))
            throw DumpError(QStringLiteral("Impossibile avviare il programma %1: %2")
                                .arg(m_program, m_process.errorString()));
    }

    // Waits for the end; throws DumpError with the program's own error text when it failed.
    void finish()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(-1);
        if (m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0)
            return;
        QString text = errorText(QString::fromUtf8(m_process.readAllStandardError()));
        if (text.isEmpty())
            text = m_process.exitStatus() == QProcess::NormalExit
                       ? QStringLiteral("Il programma %1 è terminato con il codice %2.")
                             .arg(m_program)
                             .arg(m_process.exitCode())
                       : QStringLiteral("Il programma %1 si è interrotto inaspettatamente.").arg(m_program);
        throw DumpError(text);
    }

private:
    QString m_program;
    QProcess m_process;
};

// DEFINER=`user`@`host` names an account of the server the dump came from; on another server (or
// for another user) creating the object would fail, so whoever restores becomes its definer.
void replaceDefiners(QByteArray& text)
{
    static const QByteArray Marker = "DEFINER=`";
    static const QByteArray Replacement = "DEFINER=CURRENT_USER";
    qsizetype from = 0;
    while ((from = text.indexOf(Marker, from)) >= 0) {
        const qsizetype userEnd = text.indexOf("`@`", from + Marker.size());
        const qsizetype hostEnd = userEnd < 0 ? -1 : text.indexOf('`', userEnd + 3);
        if (hostEnd < 0)
            return;
        text.replace(from, hostEnd + 1 - from, Replacement);
        from += Replacement.size();
    }
}

// Readies the lines of a dump for the scratch database, one line at a time. Data is left alone: a
// dump writes an INSERT with its rows either on its one line or one row per line, each row line
// starting with "(", and line breaks inside values are escaped.
class DumpLineFilter
{
public:
    // False for a line that must not reach the server; may rewrite the line.
    bool keep(QByteArray& line)
    {
        if (line.startsWith('(') || line.startsWith("INSERT INTO "))
            return true;
        // A dump made with --databases names its database: followed, it would write straight into
        // that company instead of the scratch copy. Its one database goes to the scratch instead;
        // a dump of several databases is not the backup of one company.
        const QByteArray statement = withoutVersionComment(line);
        if (statement.startsWith("CREATE DATABASE ") || statement.startsWith("DROP DATABASE "))
            return false;
        if (line.startsWith("USE ")) {
            const QByteArray database = line.mid(4).trimmed();
            if (!m_database.isEmpty() && database != m_database)
                throw DumpError(QStringLiteral(
                    "Il file contiene più database: scegliere il backup di una sola azienda."));
            m_database = database;
            return false;
        }
        if (line.contains("DEFINER="))
            replaceDefiners(line);
        return true;
    }

private:
    // "/*!40000 DROP DATABASE ...*/;" -> "DROP DATABASE ...*/;"
    static QByteArray withoutVersionComment(const QByteArray& line)
    {
        if (!line.startsWith("/*!"))
            return line;
        qsizetype at = 3;
        while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])))
            ++at;
        while (at < line.size() && line[at] == ' ')
            ++at;
        return line.mid(at);
    }

    QByteArray m_database;
};

// A routine, trigger or event: what the server needs to create it again elsewhere.
struct SchemaObject
{
    QString kind; // PROCEDURE, FUNCTION, TRIGGER, EVENT
    QString name;
    QString createSql;
    QString sqlMode;
};

std::vector<SchemaObject> readObjects(Db& db, const QString& schema)
{
    std::vector<std::pair<QString, QString>> names; // kind, name
    for (const Row row :
         db.query(QStringLiteral("SELECT ROUTINE_TYPE, ROUTINE_NAME FROM information_schema.ROUTINES "
                                 "WHERE ROUTINE_SCHEMA = :DB ORDER BY ROUTINE_TYPE, ROUTINE_NAME"),
                  {{"DB", schema}}))
        names.emplace_back(row.at(0).toString().toUpper(), row.at(1).toString());
    for (const Row row : db.query(
             QStringLiteral("SELECT TRIGGER_NAME FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = :DB "
                            "ORDER BY EVENT_OBJECT_TABLE, ACTION_TIMING, EVENT_MANIPULATION, ACTION_ORDER"),
             {{"DB", schema}}))
        names.emplace_back(QStringLiteral("TRIGGER"), row.at(0).toString());
    for (const Row row :
         db.query(QStringLiteral("SELECT EVENT_NAME FROM information_schema.EVENTS WHERE EVENT_SCHEMA = :DB "
                                 "ORDER BY EVENT_NAME"),
                  {{"DB", schema}}))
        names.emplace_back(QStringLiteral("EVENT"), row.at(0).toString());

    std::vector<SchemaObject> objects;
    for (const auto& [kind, name] : names) {
        const Rows shown = db.query(QStringLiteral("SHOW CREATE %1 %2").arg(kind, qualified(schema, name)));
        const Row row = shown.first();
        const QString createColumn = kind == u"TRIGGER"    ? QStringLiteral("SQL Original Statement")
                                     : kind == u"EVENT"    ? QStringLiteral("Create Event")
                                     : kind == u"FUNCTION" ? QStringLiteral("Create Function")
                                                           : QStringLiteral("Create Procedure");
        SchemaObject object{kind, name, row[createColumn].toString(),
                            row[QStringLiteral("sql_mode")].toString()};
        if (object.createSql.isEmpty())
            throw DbError(QStringLiteral("Impossibile leggere la definizione di %1 %2.").arg(kind, name));
        objects.push_back(std::move(object));
    }
    return objects;
}

void dropObjects(Db& db, const QString& schema, const std::vector<SchemaObject>& objects)
{
    for (const SchemaObject& object : objects)
        db.execDirect(
            QStringLiteral("DROP %1 IF EXISTS %2").arg(object.kind, qualified(schema, object.name)));
}

// Creates the objects in the connection's current database, each under the sql_mode it was made with
// (a routine keeps the mode of its creation).
void createObjects(Db& db, const std::vector<SchemaObject>& objects)
{
    const QString sessionMode = db.scalar(QStringLiteral("SELECT @@SESSION.sql_mode")).toString();
    try {
        for (const SchemaObject& object : objects) {
            db.exec(QStringLiteral("SET SESSION sql_mode = :MODE"), {{"MODE", object.sqlMode}});
            db.execDirect(object.createSql);
        }
    } catch (...) {
        db.exec(QStringLiteral("SET SESSION sql_mode = :MODE"), {{"MODE", sessionMode}});
        throw;
    }
    db.exec(QStringLiteral("SET SESSION sql_mode = :MODE"), {{"MODE", sessionMode}});
}

QStringList tables(Db& db, const QString& schema)
{
    QStringList names;
    QStringList views;
    for (const Row row :
         db.query(QStringLiteral("SELECT TABLE_NAME, TABLE_TYPE FROM information_schema.TABLES "
                                 "WHERE TABLE_SCHEMA = :DB ORDER BY TABLE_NAME"),
                  {{"DB", schema}})) {
        if (row.at(1).toString() == u"VIEW")
            views << row.at(0).toString();
        else
            names << row.at(0).toString();
    }
    // RENAME TABLE cannot move a view to another database; refuse before anything is touched.
    if (!views.isEmpty())
        throw DumpError(
            QStringLiteral("Il database %1 contiene delle viste (%2): il ripristino non le gestisce.")
                .arg(schema, views.join(QStringLiteral(", "))));
    return names;
}

struct TableMove
{
    QString fromSchema;
    QString toSchema;
    QStringList tables;
};

// One statement, so the server makes every rename or none.
void moveTables(Db& db, const std::vector<TableMove>& moves)
{
    QStringList pairs;
    for (const TableMove& move : moves)
        for (const QString& table : move.tables)
            pairs << qualified(move.fromSchema, table) + QStringLiteral(" TO ") +
                         qualified(move.toSchema, table);
    if (!pairs.isEmpty())
        db.execDirect(QStringLiteral("RENAME TABLE ") + pairs.join(QStringLiteral(", ")));
}

void dropDatabaseQuietly(Db& db, const QString& name)
{
    try {
        db.execDirect(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(quoted(name)));
    } catch (const DbError&) {
        // the failure that brought us here is the one worth reporting
    }
}

struct Charset
{
    QString characterSet = QStringLiteral("latin1");
    QString collation = QStringLiteral("latin1_swedish_ci");
};

std::optional<Charset> databaseCharset(Db& db, const QString& database)
{
    const Rows rows = db.query(QStringLiteral("SELECT DEFAULT_CHARACTER_SET_NAME, DEFAULT_COLLATION_NAME "
                                              "FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = :DB"),
                               {{"DB", database}});
    if (rows.isEmpty())
        return std::nullopt;
    return Charset{rows.at(0, 0).toString(), rows.at(0, 1).toString()};
}

void createDatabase(Db& db, const QString& name, const Charset& charset)
{
    db.execDirect(QStringLiteral("CREATE DATABASE %1 CHARACTER SET %2 COLLATE %3")
                      .arg(quoted(name), quoted(charset.characterSet), quoted(charset.collation)));
}

ConnectionSettings withoutDatabase(ConnectionSettings settings)
{
    settings.database.clear();
    return settings;
}

// Swaps the loaded scratch copy into the company; on failure puts everything back.
void swapIn(Db& db, const QString& database, const QString& scratch, const QString& previous,
            const Charset& charset)
{
    const QStringList newTables = tables(db, scratch);
    if (newTables.isEmpty())
        throw DumpError(QStringLiteral("Il file scelto non contiene tabelle: non è un backup del database."));
    const QStringList oldTables = tables(db, database);
    const std::vector<SchemaObject> newObjects = readObjects(db, scratch);
    const std::vector<SchemaObject> oldObjects = readObjects(db, database);

    createDatabase(db, previous, charset);
    // Triggers keep a table from moving to another database: both sides lose theirs for the move.
    dropObjects(db, scratch, newObjects);
    dropObjects(db, database, oldObjects);
    db.useDatabase(database);
    try {
        moveTables(db, {{database, previous, oldTables}, {scratch, database, newTables}});
    } catch (...) {
        try {
            createObjects(db, oldObjects);
        } catch (const DbError&) {
        }
        throw;
    }
    try {
        createObjects(db, newObjects);
    } catch (...) {
        try {
            dropObjects(db, database, newObjects);
            moveTables(db, {{database, scratch, newTables}, {previous, database, oldTables}});
            createObjects(db, oldObjects);
        } catch (const DbError&) {
        }
        throw;
    }
}

} // namespace

DatabaseDump::DatabaseDump(DumpTools tools) : m_tools(std::move(tools)) {}

QStringList DatabaseDump::connectionArguments(const ConnectionSettings& server)
{
    QStringList arguments;
    if (!server.unixSocket.isEmpty())
        arguments << QStringLiteral("--protocol=socket") << QStringLiteral("--socket=") + server.unixSocket;
    else
        arguments << QStringLiteral("--protocol=tcp") << QStringLiteral("--host=") + server.host
                  << QStringLiteral("--port=") + QString::number(server.port);
    arguments << QStringLiteral("--user=") + server.user;
    return arguments;
}

void DatabaseDump::dumpTo(const ConnectionSettings& server, const QString& database, const QString& file,
                          const Progress& progress) const
{
    quoted(database);
    ProgressGate gate(progress);
    gate.report(0);

    // The size of the data is only a guide to the size of the text: progress stops short of 100
    // until the program has finished.
    qint64 expected = 0;
    {
        Db db(withoutDatabase(server));
        db.open();
        expected =
            db.scalar(QStringLiteral("SELECT COALESCE(SUM(DATA_LENGTH), 0) FROM information_schema.TABLES "
                                     "WHERE TABLE_SCHEMA = :DB"),
                      {{"DB", database}})
                .toInt64();
    }

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw DumpError(QStringLiteral("Impossibile scrivere il file %1: %2").arg(file, out.errorString()));

    Tool tool(m_tools.dumpProgram, server.password);
    QStringList arguments{QStringLiteral("--no-defaults")};
    arguments << connectionArguments(server) << QStringLiteral("--single-transaction")
              << QStringLiteral("--routines") << QStringLiteral("--triggers") << QStringLiteral("--events")
              << QStringLiteral("--hex-blob") << QStringLiteral("--default-character-set=utf8mb4")
              << database;
    tool.start(arguments);
    tool.process().closeWriteChannel();

    qint64 written = 0;
    auto drain = [&] {
        const QByteArray data = tool.process().readAllStandardOutput();
        if (data.isEmpty())
            return;
        if (out.write(data) != data.size())
            throw DumpError(
                QStringLiteral("Impossibile scrivere il file %1: %2").arg(file, out.errorString()));
        written += data.size();
        if (expected > 0)
            gate.report(int(std::min<qint64>(99, written * 100 / expected)));
    };
    try {
        while (tool.process().waitForReadyRead(-1))
            drain();
        drain();
        tool.finish();
        drain();
    } catch (...) {
        out.cancelWriting();
        throw;
    }
    if (!out.commit())
        throw DumpError(QStringLiteral("Impossibile scrivere il file %1: %2").arg(file, out.errorString()));
    gate.report(100);
}

void DatabaseDump::loadIntoScratch(const ConnectionSettings& server, const QString& scratch,
                                   const QString& file, const Progress& progress) const
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw DumpError(QStringLiteral("Impossibile leggere il file %1: %2").arg(file, in.errorString()));
    const qint64 total = std::max<qint64>(1, in.size());

    Tool tool(m_tools.clientProgram, server.password);
    QStringList arguments{QStringLiteral("--no-defaults")};
    // A table the server holds must come back even when it is wider than a strict InnoDB would
    // accept today (old wide tables were made with the strict mode off, and the dump does not say so).
    arguments << connectionArguments(server) << QStringLiteral("--default-character-set=utf8mb4")
              << QStringLiteral("--init-command=SET SESSION innodb_strict_mode = 0") << scratch;
    tool.start(arguments);

    QProcess& process = tool.process();
    DumpLineFilter filter;
    qint64 read = 0;
    try {
        QByteArray chunk;
        while (!in.atEnd() && process.state() == QProcess::Running) {
            chunk.clear();
            while (!in.atEnd() && chunk.size() < RestoreChunkBytes) {
                QByteArray line = in.readLine();
                read += line.size();
                if (!filter.keep(line))
                    continue;
                chunk += line;
            }
            process.write(chunk);
            while (process.bytesToWrite() > 0 && process.state() == QProcess::Running)
                process.waitForBytesWritten(-1);
            if (progress)
                progress(int(read * LoadShare / total));
        }
    } catch (...) {
        process.kill();
        process.waitForFinished(-1);
        throw;
    }
    // A program that stopped early says why in finish().
    tool.finish();
}

void DatabaseDump::restoreFrom(const ConnectionSettings& server, const QString& database, const QString& file,
                               const Progress& progress, const PrepareRestored& prepare) const
{
    const QString scratch = spareName(database, QStringLiteral("_ripristino"));
    const QString previous = spareName(database, QStringLiteral("_precedente"));
    if (!QFileInfo(file).isFile())
        throw DumpError(QStringLiteral("Il file %1 non esiste.").arg(file));
    ProgressGate gate(progress);
    gate.report(0);

    Db db(withoutDatabase(server));
    db.open();
    // Another workstation in the middle of a command holds its tables: wait a while, then give up.
    db.exec(QStringLiteral("SET SESSION lock_wait_timeout = 60"));

    const std::optional<Charset> existing = databaseCharset(db, database);
    const Charset charset = existing.value_or(Charset{});
    if (!existing)
        createDatabase(db, database, charset);

    // Tables left in <db>_precedente by a restore that was cut short may be the only copy of the
    // old data: never drop them here.
    if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = :DB"),
                  {{"DB", previous}})
            .toInt() > 0)
        throw DumpError(
            QStringLiteral("Il database %1 contiene le tabelle di un ripristino interrotto: controllarle ed "
                           "eliminare quel database prima di ripetere il ripristino.")
                .arg(previous));
    dropDatabaseQuietly(db, previous);
    db.execDirect(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(quoted(scratch)));
    createDatabase(db, scratch, charset);
    try {
        loadIntoScratch(server, scratch, file, [&gate](int percent) { gate.report(percent); });
        if (prepare) {
            ConnectionSettings restored = server;
            restored.database = scratch;
            Db restoredDb(restored);
            restoredDb.open();
            prepare(restoredDb);
        }
        swapIn(db, database, scratch, previous, charset);
    } catch (...) {
        dropDatabaseQuietly(db, scratch);
        try {
            if (db.scalar(QStringLiteral(
                              "SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = :DB"),
                          {{"DB", previous}})
                    .toInt() == 0)
                dropDatabaseQuietly(db, previous);
        } catch (const DbError&) {
        }
        throw;
    }
    db.execDirect(QStringLiteral("DROP DATABASE %1").arg(quoted(scratch)));
    db.execDirect(QStringLiteral("DROP DATABASE %1").arg(quoted(previous)));
    gate.report(100);
}

} // namespace carvendo::core
