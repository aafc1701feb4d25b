#include "core/SchemaUpgrade.h"

#include "core/Db.h"
#include "core/DbError.h"

#include "schema/ScriptLiterals.h"
#include "schema/TableDefinitions.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <map>

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

// Size rank of the server's integer types; 0 for any other type.
int integerRank(QStringView dataType)
{
    static const QStringList ranks{QStringLiteral("tinyint"), QStringLiteral("smallint"),
                                   QStringLiteral("mediumint"), QStringLiteral("int"),
                                   QStringLiteral("bigint")};
    return int(ranks.indexOf(dataType.toString().toLower())) + 1;
}

// True when the column as the server has it holds less than the program's definition: fewer
// characters, a smaller integer, fewer digits or decimals, a single-precision float. Types that do
// not narrow into one another (text into number, flag into integer) are never compared.
bool isNarrower(const Row& current, const schema::ColumnType& defined)
{
    const QString dataType = current[u"DATA_TYPE"].toString().toLower();
    using Kind = schema::ColumnType::Kind;
    switch (defined.kind()) {
    case Kind::String:
        return (dataType == u"varchar" || dataType == u"char") &&
               current[u"CHARACTER_MAXIMUM_LENGTH"].toInt64() < defined.length();
    case Kind::Integer:
    case Kind::BigInteger:
    case Kind::SmallInteger: {
        const int rank = integerRank(dataType);
        return rank > 0 && rank < integerRank(defined.informationSchema().dataType);
    }
    case Kind::Decimal: {
        const qint64 digits = current[u"NUMERIC_PRECISION"].toInt64();
        const qint64 scale = current[u"NUMERIC_SCALE"].toInt64();
        return dataType == u"decimal" &&
               (scale < defined.scale() || digits - scale < defined.precision() - defined.scale());
    }
    case Kind::Float:
        return dataType == u"float";
    default:
        return false;
    }
}

// Old databases keep the widths they were made with (a customer card code in 13 characters where
// today's cards have 14), and strict mode refuses what no longer fits. Every column narrower than
// the program's definition is widened to it, one ALTER TABLE per table; wider columns (a shop's own
// change) are left alone.
void widenNarrowColumns(Db& db)
{
    const auto& definitions = schema::TableDefinitions::builtIn();
    std::map<QString, QStringList> changes; // table -> its MODIFY clauses
    const Rows columns = db.query(QStringLiteral(
        "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, NUMERIC_PRECISION, "
        "NUMERIC_SCALE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() "
        "ORDER BY TABLE_NAME, ORDINAL_POSITION"));
    for (const Row row : columns) {
        const schema::TableDefinition* table = definitions.table(row[u"TABLE_NAME"].toString());
        if (!table || table->placement != schema::Placement::Company)
            continue;
        const schema::ColumnDefinition* column = table->column(row[u"COLUMN_NAME"].toString());
        if (!column || !isNarrower(row, column->type))
            continue;
        changes[table->name] << QStringLiteral("MODIFY COLUMN %1 %2")
                                    .arg(schema::quoteIdentifier(column->name), column->sqlDefinition());
    }
    for (const auto& [table, clauses] : changes)
        db.execDirect(QStringLiteral("ALTER TABLE %1 %2")
                          .arg(schema::quoteIdentifier(table), clauses.join(QStringLiteral(", "))));
}

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
    widenNarrowColumns(db);
    db.runScript(procedures, scaled(progress, UpgradeListShare, 100));
    stampVersion(db);
    if (progress)
        progress(100);
}

bool upgradeIfNeeded(Db& db, const UpgradeProgress& progress)
{
    if (!needsUpgrade(db))
        return false;
    upgrade(db, progress);
    return true;
}

} // namespace carvendo::core
