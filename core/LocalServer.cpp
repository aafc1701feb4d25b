#include "core/LocalServer.h"

#include "core/SqlText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace carvendo::core {

namespace {

QString osUserName()
{
    if (const passwd* pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QString sqlString(const QString& value)
{
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("''"));
    return u'\'' + escaped + u'\'';
}

bool processAlive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

} // namespace

LocalServer::LocalServer(LocalServerConfig config) : m_config(std::move(config))
{
    m_config.folder = QDir(m_config.folder).absolutePath();
}

QString LocalServer::socketPath() const
{
    return m_config.folder + QStringLiteral("/mysqld.sock");
}
QString LocalServer::pidFile() const
{
    return m_config.folder + QStringLiteral("/mysqld.pid");
}
QString LocalServer::errorLog() const
{
    return m_config.folder + QStringLiteral("/error.log");
}

bool LocalServer::isInitialised() const
{
    return QDir(m_config.folder + QStringLiteral("/data/mysql")).exists();
}

void LocalServer::writeConfigFile() const
{
    QStringList lines{
        QStringLiteral("[mysqld]"),
        QStringLiteral("datadir=%1/data").arg(m_config.folder),
        QStringLiteral("socket=%1").arg(socketPath()),
        QStringLiteral("pid-file=%1").arg(pidFile()),
        QStringLiteral("log-error=%1").arg(errorLog()),
        // Its own folder for temporary tables: a cleaner of the system's temporary folder (or another
        // program's) cannot delete them from under a running statement.
        QStringLiteral("tmpdir=%1/tmp").arg(m_config.folder),
        QStringLiteral("port=%1").arg(m_config.port),
        QStringLiteral("bind-address=%1")
            .arg(m_config.lanAccess ? QStringLiteral("0.0.0.0") : QStringLiteral("127.0.0.1")),
        QStringLiteral("skip-log-bin"),
        // Windows servers compare table names without case; queries rely on it ("ARTICOLI").
        QStringLiteral("lower_case_table_names=1"),
        QStringLiteral("character-set-server=utf8mb4"),
        QStringLiteral("max_allowed_packet=64M"),
        QStringLiteral("open_files_limit=16384"),
    };
    if (geteuid() == 0)
        lines.insert(1, QStringLiteral("user=root"));
    if (m_config.durable) {
        lines << QStringLiteral("innodb_flush_log_at_trx_commit=1");
    } else {
        lines << QStringLiteral("innodb_flush_log_at_trx_commit=0") << QStringLiteral("innodb_doublewrite=0")
              << QStringLiteral("innodb_flush_method=nosync")
              << QStringLiteral("innodb_buffer_pool_size=256M") << QStringLiteral("innodb_log_file_size=128M")
              << QStringLiteral("sync_frm=0");
    }
    QDir().mkpath(m_config.folder + QStringLiteral("/tmp"));
    QFile file(m_config.folder + QStringLiteral("/my.cnf"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw LocalServerError(
            QStringLiteral("Impossibile scrivere %1: %2").arg(file.fileName(), file.errorString()));
    file.write((lines.join(u'\n') + u'\n').toUtf8());
}

void LocalServer::initialise()
{
    writeConfigFile();
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    // --defaults-file must come first, or the system's /etc/mysql files are read as well.
    install.start(m_config.installProgram, {QStringLiteral("--defaults-file=%1/my.cnf").arg(m_config.folder),
                                            QStringLiteral("--skip-test-db")});
    if (!install.waitForFinished(120000) || install.exitCode() != 0)
        throw LocalServerError(QStringLiteral("Inizializzazione del server MySQL non riuscita: %1")
                                   .arg(QString::fromLocal8Bit(install.readAll()).trimmed()));
    const qint64 pid = launch();
    try {
        waitUntilReady(60000);
        Db db(socketSettings());
        db.open();
        const QString pw = sqlString(m_config.rootPassword);
        db.execDirect(QStringLiteral("ALTER USER root@localhost IDENTIFIED VIA unix_socket OR "
                                     "mysql_native_password USING PASSWORD(%1)")
                          .arg(pw));
        QStringList accounts{QStringLiteral("root@'127.0.0.1'")};
        const QString user = m_config.user.isEmpty() ? QStringLiteral("root") : m_config.user;
        if (user != u"root")
            accounts << QStringLiteral("%1@localhost").arg(sqlString(user))
                     << QStringLiteral("%1@'127.0.0.1'").arg(sqlString(user));
        for (const QString& account : accounts) {
            db.execDirect(QStringLiteral("CREATE USER IF NOT EXISTS %1 IDENTIFIED BY %2").arg(account, pw));
            db.execDirect(QStringLiteral("GRANT ALL ON *.* TO %1 WITH GRANT OPTION").arg(account));
        }
        db.execDirect(QStringLiteral("FLUSH PRIVILEGES"));
    } catch (...) {
        ::kill(pid_t(pid), SIGTERM);
        throw;
    }
    stop();
}

qint64 LocalServer::launch() const
{
    writeConfigFile();
    QFile::remove(pidFile());
    qint64 pid = 0;
    if (!QProcess::startDetached(m_config.serverProgram,
                                 {QStringLiteral("--defaults-file=%1/my.cnf").arg(m_config.folder)},
                                 m_config.folder, &pid))
        throw LocalServerError(QStringLiteral("Impossibile avviare %1").arg(m_config.serverProgram));
    // Remember the pid at once: the server writes its pid file only when it is up.
    QFile file(m_config.folder + QStringLiteral("/launcher.pid"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::number(pid));
    return pid;
}

void LocalServer::start(int timeoutMs)
{
    if (isRunning())
        return;
    if (!isInitialised())
        initialise();
    launch();
    waitUntilReady(timeoutMs);
    closeNetworkAccess();
}

QString LocalServer::networkUser() const
{
    return (m_config.user.isEmpty() ? QStringLiteral("root") : m_config.user);
}

void LocalServer::closeNetworkAccess()
{
    // Earlier versions made root (or the shop's account) reachable from anywhere with every right.
    Db db(socketSettings());
    db.open();
    for (const QString& user : QStringList{QStringLiteral("root"), networkUser()})
        db.execDirect(QStringLiteral("DROP USER IF EXISTS %1@'%'").arg(sqlString(user)));
}

void LocalServer::openNetworkAccess(const QStringList& databases)
{
    if (!m_config.lanAccess)
        throw LocalServerError(QStringLiteral("Il server non è in ascolto sulla rete"));
    const QString account = QStringLiteral("%1@'%'").arg(sqlString(networkUser()));
    Db db(socketSettings());
    db.open();
    db.execDirect(QStringLiteral("DROP USER IF EXISTS %1").arg(account));
    db.execDirect(
        QStringLiteral("CREATE USER %1 IDENTIFIED BY %2").arg(account, sqlString(m_config.rootPassword)));
    for (const QString& database : databases) {
        // Names go into the statement's text: only plain ones, as every database of ours is named.
        if (!isPlainIdentifier(database))
            throw LocalServerError(QStringLiteral("Nome di database non valido: \"%1\"").arg(database));
        db.execDirect(QStringLiteral("GRANT ALL PRIVILEGES ON `%1`.* TO %2").arg(database, account));
    }
}

ConnectionSettings LocalServer::socketSettings() const
{
    ConnectionSettings s;
    s.unixSocket = socketPath();
    s.user = osUserName(); // the account install-db made for whoever runs it, authenticated by the socket
    s.password.clear();
    s.connectTimeoutSeconds = 2;
    return s;
}

ConnectionSettings LocalServer::rootSettings() const
{
    ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = m_config.port;
    s.user = QStringLiteral("root");
    s.password = m_config.rootPassword;
    return s;
}

void LocalServer::waitUntilReady(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QString lastError;
    while (timer.elapsed() < timeoutMs) {
        const qint64 pid = runningPid();
        if (pid == 0 && timer.elapsed() > 2000 && !QFile::exists(socketPath()))
            throw LocalServerError(
                QStringLiteral("Il server MySQL si è fermato durante l'avvio:\n%1").arg(lastLogLines()));
        if (QFile::exists(socketPath())) {
            try {
                Db db(socketSettings());
                db.open();
                return;
            } catch (const DbError& e) {
                lastError = e.message();
            }
        }
        QThread::msleep(100);
    }
    throw LocalServerError(
        QStringLiteral("Il server MySQL non risponde (%1):\n%2").arg(lastError, lastLogLines()));
}

qint64 LocalServer::runningPid() const
{
    for (const QString& name : {pidFile(), m_config.folder + QStringLiteral("/launcher.pid")}) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly)) {
            const qint64 pid = file.readAll().trimmed().toLongLong();
            if (processAlive(pid))
                return pid;
        }
    }
    return 0;
}

bool LocalServer::isRunning() const
{
    return runningPid() != 0;
}

void LocalServer::stop(int timeoutMs)
{
    const qint64 pid = runningPid();
    if (pid == 0)
        return;
    ::kill(pid_t(pid), SIGTERM);
    QElapsedTimer timer;
    timer.start();
    while (processAlive(pid) && timer.elapsed() < timeoutMs) {
        // A child we started ourselves stays a zombie until reaped; startDetached leaves it to init.
        QThread::msleep(50);
    }
    if (processAlive(pid))
        throw LocalServerError(
            QStringLiteral("Il server MySQL non si è fermato entro %1 secondi").arg(timeoutMs / 1000));
    QFile::remove(m_config.folder + QStringLiteral("/launcher.pid"));
}

QString LocalServer::lastLogLines() const
{
    QFile file(errorLog());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return lines.mid(qMax<qsizetype>(0, lines.size() - 10)).join(u'\n');
}

int LocalServer::findFreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        throw LocalServerError(QStringLiteral("Impossibile cercare una porta libera"));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    if (port == 0)
        throw LocalServerError(QStringLiteral("Impossibile cercare una porta libera"));
    return port;
}

} // namespace carvendo::core
