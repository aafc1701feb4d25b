// Bringing a company database up to the program's schema: an old database (today's template without
// everything the upgrade list adds, its columns in the types they had before) must come out the same
// as a new database.

#include "core/SchemaUpgrade.h"

#include "core/Db.h"
#include "schema/TableDefinitions.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

using namespace carvendo::core;
using carvendo::testing::CompanyDatabase;

namespace {

QString upgradeList()
{
    QFile file(QStringLiteral(":/schema/upgrade.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("upgrade list missing from the resources");
    return QString::fromUtf8(file.readAll());
}

// The (table, column) pairs the upgrade list adds, read from the list itself.
std::vector<std::pair<QString, QString>> addedColumns()
{
    static const QRegularExpression call(
        QStringLiteral(R"(CALL AddColumnUnlessExists\(DATABASE\(\), '([^']+)', '([^']+)')"));
    std::vector<std::pair<QString, QString>> columns;
    for (auto it = call.globalMatch(upgradeList()); it.hasNext();) {
        const auto match = it.next();
        columns.emplace_back(match.captured(1), match.captured(2));
    }
    return columns;
}

QStringList createdTables()
{
    static const QRegularExpression directive(QStringLiteral(R"(^#@table (\S+)$)"),
                                              QRegularExpression::MultilineOption);
    QStringList tables;
    for (auto it = directive.globalMatch(upgradeList()); it.hasNext();)
        tables << it.next().captured(1);
    return tables;
}

void stamp(Db& db, const QString& version)
{
    db.exec(QStringLiteral("DELETE FROM versione"));
    db.exec(QStringLiteral("INSERT INTO versione (VersioneDB, VersioneSW) VALUES (:V, :V)"),
            {{"V", version}});
}

QString stampedVersion(Db& db)
{
    return db.scalar(QStringLiteral("SELECT VersioneDB FROM versione")).toString();
}

// Columns an old database has in an older, narrower type: the customer card code from before cards
// grew to 14 characters, and the row discounts the list changes.
struct LegacyColumn
{
    QString table;
    QString column;
    QString type;
};
const std::vector<LegacyColumn>& legacyColumns()
{
    static const std::vector<LegacyColumn> columns{
        {"clienti", "barcode", "varchar(13) DEFAULT NULL"},
        {"dettfattura", "Sconto", "tinyint(4) DEFAULT 0"},
        {"dettbanco", "Sconto", "tinyint(4) DEFAULT 0"},
        {"sottoscorta", "barcode", "varchar(20) DEFAULT NULL"},
        {"utenti", "password", "varchar(50) DEFAULT NULL"},
    };
    return columns;
}

// The (table, column) pairs whose type the upgrade list changes, read from the list itself.
std::vector<std::pair<QString, QString>> modifiedColumns()
{
    static const QRegularExpression alter(QStringLiteral(R"(ALTER TABLE (\w+) MODIFY COLUMN (\w+))"));
    std::vector<std::pair<QString, QString>> columns;
    for (auto it = alter.globalMatch(upgradeList()); it.hasNext();) {
        const auto match = it.next();
        columns.emplace_back(match.captured(1), match.captured(2));
    }
    return columns;
}

// A database as it was before the versions the list covers: stamped "5.2.0", without the tables and
// columns the list adds, with the legacy column types and without DUPLICA_ARTICOLO.
void makeOld(Db& db)
{
    db.execDirect(QStringLiteral("SET SESSION innodb_strict_mode = 0")); // `riparazioni` is wide
    const QStringList tables = createdTables();
    for (const QString& table : tables)
        db.execDirect(QStringLiteral("DROP TABLE IF EXISTS `%1`").arg(table));
    for (const auto& [table, column] : addedColumns()) {
        if (tables.contains(table, Qt::CaseInsensitive))
            continue;
        const Rows existing = db.query(QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS "
                                                      "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = :T "
                                                      "AND COLUMN_NAME = :C"),
                                       {{"T", table}, {"C", column}});
        if (!existing.isEmpty())
            db.execDirect(QStringLiteral("ALTER TABLE `%1` DROP COLUMN `%2`")
                              .arg(table, existing.value(0, u"COLUMN_NAME").toString()));
    }
    for (const LegacyColumn& legacy : legacyColumns())
        db.execDirect(QStringLiteral("ALTER TABLE `%1` MODIFY COLUMN `%2` %3")
                          .arg(legacy.table, legacy.column, legacy.type));
    db.execDirect(QStringLiteral("DROP PROCEDURE DUPLICA_ARTICOLO"));
    stamp(db, QStringLiteral("5.2.0"));
    db.execDirect(QStringLiteral("SET SESSION innodb_strict_mode = 1")); // as the program connects
}

// Every column with its type, default and nullability; with its position when asked.
std::map<QString, QString> columns(Db& db, bool withPosition)
{
    std::map<QString, QString> snapshot;
    const Rows rows = db.query(QStringLiteral(
        "SELECT TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, COLUMN_DEFAULT, IS_NULLABLE, ORDINAL_POSITION, "
        "COLLATION_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE()"));
    for (const Row row : rows) {
        const QString key = (row[u"TABLE_NAME"].toString() + u'.' + row[u"COLUMN_NAME"].toString()).toLower();
        QString description = QStringList{row[u"COLUMN_TYPE"].toString(), row[u"COLUMN_DEFAULT"].toString(),
                                          row[u"IS_NULLABLE"].toString(), row[u"COLLATION_NAME"].toString()}
                                  .join(u'|');
        if (withPosition)
            description += u'@' + row[u"ORDINAL_POSITION"].toString();
        snapshot[key] = description;
    }
    return snapshot;
}

QStringList routines(Db& db)
{
    QStringList names;
    for (const Row row : db.query(QStringLiteral("SELECT ROUTINE_NAME FROM information_schema.ROUTINES "
                                                 "WHERE ROUTINE_SCHEMA = DATABASE() ORDER BY ROUTINE_NAME")))
        names << row.at(0).toString();
    return names;
}

// The rows of the tables the list seeds, as text.
QString seededRows(Db& db)
{
    QString text;
    for (const char* table : {"suffissi_doc", "promo_importi", "vm_store"}) {
        text += QLatin1String(table) + u':';
        const Rows rows = db.query(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(table)));
        for (const Row row : rows) {
            for (int c = 0; c < rows.columnCount(); ++c)
                text += row.at(c).toString() + u'|';
            text += u'\n';
        }
    }
    return text;
}

// The suite's company database stays untouched: the new database to compare with.
class SchemaUpgradeTest : public carvendo::testing::CompanySuite<SchemaUpgradeTest>
{
};

// Every column the list changes has its old, narrower type in the old database, so the comparison
// with a new database shows each one widened.
TEST_F(SchemaUpgradeTest, AnOldDatabaseComesOutLikeANewOne)
{
    ASSERT_FALSE(addedColumns().empty());
    for (const auto& [table, column] : modifiedColumns())
        EXPECT_TRUE(std::any_of(legacyColumns().begin(), legacyColumns().end(),
                                [&](const LegacyColumn& legacy) {
                                    return legacy.table.compare(table, Qt::CaseInsensitive) == 0 &&
                                           legacy.column.compare(column, Qt::CaseInsensitive) == 0;
                                }))
            << table.toStdString() << "." << column.toStdString() << " has no old type";

    CompanyDatabase upgraded(QStringLiteral("upgrade_old"));
    Db& db = upgraded.db();
    makeOld(db);
    ASSERT_NE(columns(db, false), columns(company().db(), false));
    ASSERT_TRUE(needsUpgrade(db));
    const QDateTime before = db.scalar(QStringLiteral("SELECT NOW()")).toDateTime();

    std::vector<int> progress;
    upgrade(db, [&](int percent) { progress.push_back(percent); });

    EXPECT_FALSE(needsUpgrade(db));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT @@SESSION.innodb_strict_mode")).toInt(), 1)
        << "the connection gets its own setting back";
    EXPECT_GE(db.scalar(QStringLiteral("SELECT DataRelease FROM versione")).toDateTime(), before);

    EXPECT_EQ(columns(db, false), columns(company().db(), false));
    EXPECT_EQ(routines(db), routines(company().db()));

    QStringList suffixes;
    for (const Row row : db.query(QStringLiteral("SELECT suffisso FROM suffissi_doc ORDER BY suffisso")))
        suffixes << row.at(0).toString();
    EXPECT_EQ(suffixes, (QStringList{"", "A", "B", "C"}));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT SUM(importo) FROM promo_importi")).toInt(), 1050);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
}

TEST_F(SchemaUpgradeTest, ASecondRunChangesNothing)
{
    CompanyDatabase upgraded(QStringLiteral("upgrade_twice"));
    Db& db = upgraded.db();
    makeOld(db);
    upgrade(db);
    db.exec(QStringLiteral("INSERT INTO suffissi_doc (suffisso) VALUES ('Z')")); // added by the shop
    const auto schema = columns(db, true);
    const QString seeded = seededRows(db);
    const QStringList procedures = routines(db);

    stamp(db, QStringLiteral("5.2.0"));
    upgrade(db);

    EXPECT_EQ(columns(db, true), schema);
    EXPECT_EQ(seededRows(db), seeded);
    EXPECT_EQ(routines(db), procedures);
    EXPECT_EQ(stampedVersion(db), QStringLiteral("6.1.10"));
}

TEST_F(SchemaUpgradeTest, ANewerUnstampedOrHelperlessDatabaseIsUpgradedToo)
{
    const std::vector<std::pair<const char*, std::function<void(Db&)>>> cases{
        {"a newer version", [](Db& db) { stamp(db, QStringLiteral("7.0.0")); }},
        {"no version row", [](Db& db) { db.exec(QStringLiteral("DELETE FROM versione")); }},
        // The list calls AddColumnUnlessExists from its first line: without it no start could succeed.
        {"no column helper",
         [](Db& db) {
             stamp(db, QStringLiteral("5.2.0"));
             db.execDirect(QStringLiteral("DROP PROCEDURE AddColumnUnlessExists"));
         }},
    };
    for (const auto& [name, prepare] : cases) {
        SCOPED_TRACE(name);
        CompanyDatabase upgraded(QStringLiteral("upgrade_case"));
        Db& db = upgraded.db();
        prepare(db);
        ASSERT_TRUE(needsUpgrade(db));
        upgrade(db);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM versione")).toInt64(), 1);
        EXPECT_EQ(stampedVersion(db), QStringLiteral("6.1.10"));
        EXPECT_EQ(routines(db), routines(company().db()));
    }
}

TEST_F(SchemaUpgradeTest, AFailingStepLeavesTheVersionForTheNextStart)
{
    CompanyDatabase upgraded(QStringLiteral("upgrade_fail"));
    Db& db = upgraded.db();
    makeOld(db);
    db.execDirect(QStringLiteral("DROP TABLE acquisizioni"));
    try {
        upgrade(db);
        ADD_FAILURE() << "the upgrade reported success";
    } catch (const DbError& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Table '%1.acquisizioni' doesn't exist").arg(upgraded.name()));
    }
    EXPECT_EQ(stampedVersion(db), QStringLiteral("5.2.0"));
    EXPECT_TRUE(needsUpgrade(db));

    // Once the cause is mended the next start completes what the failed one began.
    db.execDirect(carvendo::schema::TableDefinitions::builtIn().createTableStatement(
        QStringLiteral("acquisizioni"), false));
    upgrade(db);
    EXPECT_EQ(stampedVersion(db), QStringLiteral("6.1.10"));
    EXPECT_EQ(columns(db, false), columns(company().db(), false));
}

TEST_F(SchemaUpgradeTest, AnOldDatabaseGetsTheNameSearchIndexes)
{
    CompanyDatabase upgraded(QStringLiteral("upgrade_index"));
    Db& db = upgraded.db();
    db.execDirect(QStringLiteral("DROP INDEX ix_RagioneSociale ON clienti"));
    db.execDirect(QStringLiteral("DROP INDEX ix_RagSoc ON fornitori"));
    db.exec(QStringLiteral("UPDATE versione SET VersioneDB = '6.1.0'"));
    upgrade(db);
    upgrade(db); // a second run finds them and changes nothing
    EXPECT_EQ(
        db.scalar(QStringLiteral(
                      "SELECT COUNT(DISTINCT INDEX_NAME) FROM information_schema.STATISTICS "
                      "WHERE TABLE_SCHEMA = DATABASE() AND INDEX_NAME IN ('ix_RagioneSociale', 'ix_RagSoc')"))
            .toInt(),
        2);
}

TEST_F(SchemaUpgradeTest, SaleRowsKeptSoFarAreNumberedBeforeTheirKeyIsMade)
{
    CompanyDatabase upgraded(QStringLiteral("upgrade_dettbanco"));
    Db& db = upgraded.db();
    db.execDirect(
        QStringLiteral("ALTER TABLE dettbanco MODIFY COLUMN ID int(11) DEFAULT 0, DROP PRIMARY KEY"));
    db.execDirect(
        QStringLiteral("INSERT INTO dettbanco (ID, idBanco, Codice) VALUES (0, 7, 'A'), (0, 7, 'B'), "
                       "(0, 3, 'C')"));
    db.exec(QStringLiteral("UPDATE versione SET VersioneDB = '6.1.5'"));
    upgrade(db);
    upgrade(db); // a second run finds the key and numbers nothing again
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT GROUP_CONCAT(Codice ORDER BY ID) FROM dettbanco")).toString(),
              QStringLiteral("C,A,B"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT MAX(ID) FROM dettbanco")).toInt(), 3);
    db.execDirect(QStringLiteral("INSERT INTO dettbanco (idBanco, Codice) VALUES (7, 'D')"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT ID FROM dettbanco WHERE Codice = 'D'")).toInt(), 4);
}

// What an old database's rows get for the electronic invoice: the guesses run once, so a value the
// shop changes after the upgrade survives the next one.
TEST_F(SchemaUpgradeTest, AnOldDatabaseGetsTheElectronicInvoiceDefaults)
{
    CompanyDatabase upgraded(QStringLiteral("upgrade_fatturapa"));
    Db& db = upgraded.db();
    makeOld(db);
    for (const char* table : {"clienti", "iva", "modalita_pagamenti", "ritenute_acconto"})
        db.execDirect(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    db.execDirect(
        QStringLiteral("INSERT INTO clienti (idCliente, RagioneSociale, pIva) VALUES "
                       "(1, 'Rossi Srl', '01234567890'), (2, 'Mario Bianchi', ''), (3, 'Verdi', NULL)"));
    db.execDirect(QStringLiteral("INSERT INTO iva (idIva, Iva, Codice) VALUES (1, 22, '22'), (2, 0, 'n2.2'), "
                                 "(3, 0, 'ES')"));
    db.execDirect(QStringLiteral(
        "INSERT INTO modalita_pagamenti (id, descrizione) VALUES (1, 'Contanti'), (2, 'Assegno bancario'), "
        "(3, 'RI.BA.'), (4, 'Carta di credito'), (5, 'Bancomat'), (6, 'Bonifico'), (7, 'Paypal')"));
    db.execDirect(QStringLiteral("INSERT INTO ritenute_acconto (id, codice, causale) VALUES (1, 'R1', ''), "
                                 "(2, 'R2', 'M')"));
    upgrade(db);

    const auto column = [&](const char* sql) {
        return carvendo::testing::rowsAsText(db, QLatin1String(sql)).join(u',');
    };
    EXPECT_EQ(column("SELECT CONCAT_WS('|', TipoCliente, CodiceDestinatario, IFNULL(PEC, '-'), Nazione) "
                     "FROM clienti ORDER BY idCliente"),
              QStringLiteral("AZ|0000000|-|IT,PF|0000000|-|IT,PF|0000000|-|IT"));
    EXPECT_EQ(column("SELECT IFNULL(Natura, '-') FROM iva ORDER BY idIva"), QStringLiteral("-,N2.2,-"));
    EXPECT_EQ(column("SELECT CodiceMP FROM modalita_pagamenti ORDER BY id"),
              QStringLiteral("MP01,MP02,MP12,MP08,MP08,MP05,MP05"));
    EXPECT_EQ(column("SELECT CONCAT(TipoRitenuta, causale) FROM ritenute_acconto ORDER BY id"),
              QStringLiteral("RT01A,RT01M"));
    EXPECT_EQ(column("SELECT CONCAT_WS('|', RegimeFiscale, Nazione, REALiquidazione, ProssimoProgressivo, "
                     "BolloImporto, BolloSoglia, BolloACaricoCliente) FROM fatturapa_configurazione"),
              QStringLiteral("RF01|IT|LN|1|2.00|77.47|0"));
    EXPECT_EQ(column("SELECT COUNT(*) FROM fatture WHERE FilePA IS NOT NULL OR ProgressivoPA IS NOT NULL"),
              QStringLiteral("0"));

    db.exec(QStringLiteral("UPDATE clienti SET TipoCliente = 'PF' WHERE idCliente = 1"));
    db.exec(QStringLiteral("UPDATE modalita_pagamenti SET CodiceMP = 'MP03' WHERE id = 7"));
    stamp(db, QStringLiteral("6.1.8"));
    upgrade(db);
    EXPECT_EQ(column("SELECT TipoCliente FROM clienti WHERE idCliente = 1"), QStringLiteral("PF"));
    EXPECT_EQ(column("SELECT CodiceMP FROM modalita_pagamenti WHERE id = 7"), QStringLiteral("MP03"));
    EXPECT_EQ(column("SELECT COUNT(*) FROM fatturapa_configurazione"), QStringLiteral("1"));
}

} // namespace
