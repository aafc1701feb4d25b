#include "core/SchemaUpgrade.h"

#include "core/Db.h"
#include "core/DbError.h"

#include "schema/TableDefinitions.h"

#include <QFile>
#include <QRegularExpression>

namespace carvendo::core {

namespace {

const QString UpgradeListResource = QStringLiteral(":/schema/upgrade.sql");
const QString ProceduresResource = QStringLiteral(":/schema/procedures.sql");

// Share of the progress bar taken by the upgrade list; the procedures take the rest.
constexpr int UpgradeListShare = 70;

QString readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Impossibile leggere %1: %2").arg(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

std::function<void(int, int)> scaled(const UpgradeProgress& progress, int from, int to)
{
    if (!progress)
        return {};
    return [progress, from, to](int done, int total) {
        progress(total > 0 ? from + (to - from) * done / total : to);
    };
}

// The upgrade list calls AddColumnUnlessExists from its first line. A database that lost it (or
// never had it) gets the program's procedures first, or the upgrade could never succeed.
bool hasAddColumnHelper(Db& db)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.ROUTINES "
                                    "WHERE ROUTINE_SCHEMA = DATABASE() AND ROUTINE_TYPE = 'PROCEDURE' "
                                    "AND LOWER(ROUTINE_NAME) = 'addcolumnunlessexists'"))
               .toInt64() > 0;
}

// Old tables as wide as `riparazioni` are over the row size that a strict InnoDB accepts for a
// rebuilt table, so adding a column to them would fail; the template creates them the same way.
// The connection gets its own setting back however the upgrade ends.
class LenientRowSize
{
public:
    explicit LenientRowSize(Db& db) : m_db(db)
    {
        m_db.execDirect(QStringLiteral("SET @carvendo_innodb_strict_mode = @@SESSION.innodb_strict_mode"));
        m_db.execDirect(QStringLiteral("SET SESSION innodb_strict_mode = 0"));
    }
    ~LenientRowSize()
    {
        try {
            m_db.execDirect(QStringLiteral("SET SESSION innodb_strict_mode = @carvendo_innodb_strict_mode"));
        } catch (const DbError&) {
            // A connection that is gone takes its session settings with it.
        }
    }
    LenientRowSize(const LenientRowSize&) = delete;
    LenientRowSize& operator=(const LenientRowSize&) = delete;

private:
    Db& m_db;
};

void stampVersion(Db& db)
{
    const Params version{{QStringLiteral("VERSIONE"), SchemaVersion.toString()}};
    const qint64 matched =
        db.exec(QStringLiteral("UPDATE versione SET VersioneDB = :VERSIONE, DataRelease = NOW()"), version);
    if (matched == 0)
        db.exec(QStringLiteral("INSERT INTO versione (VersioneDB, DataRelease) VALUES (:VERSIONE, NOW())"),
                version);
}

} // namespace

bool needsUpgrade(Db& db)
{
    const Rows rows = db.query(QStringLiteral("SELECT * FROM versione ORDER BY id"));
    if (rows.isEmpty())
        return true;
    return rows.first()[u"VersioneDB"].toString() != SchemaVersion;
}

QString expandTableDirectives(const QString& upgradeList)
{
    static const QRegularExpression directive(QStringLiteral(R"(^#@table[ \t]+(\S+)[ \t\r]*$)"),
                                              QRegularExpression::MultilineOption);
    const auto& definitions = schema::TableDefinitions::builtIn();
    QString expanded;
    qsizetype copiedUpTo = 0;
    auto matches = directive.globalMatch(upgradeList);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        expanded += QStringView(upgradeList).mid(copiedUpTo, match.capturedStart() - copiedUpTo);
        expanded += definitions.createTableStatement(match.captured(1), true) + u';';
        copiedUpTo = match.capturedEnd();
    }
    expanded += QStringView(upgradeList).mid(copiedUpTo);
    return expanded;
}

void upgrade(Db& db, const UpgradeProgress& progress)
{
    if (progress)
        progress(0);
    const QString procedures = readResource(ProceduresResource);
    const LenientRowSize lenient(db);
    if (!hasAddColumnHelper(db))
        db.runScript(procedures);
    db.runScript(expandTableDirectives(readResource(UpgradeListResource)),
                 scaled(progress, 0, UpgradeListShare));
    db.runScript(procedures, scaled(progress, UpgradeListShare, 100));
    stampVersion(db);
    if (progress)
        progress(100);
}

} // namespace carvendo::core
