#include "core/Db.h"
#include "schema/CompanyTemplate.h"
#include "schema/ScriptLiterals.h"
#include "schema/TableDefinitions.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

using namespace carvendo::schema;
namespace core = carvendo::core;
using carvendo::core::Db;
using carvendo::testing::ScratchDatabase;

namespace {

struct ServerColumn
{
    QString name;
    InformationSchemaType type;
    bool autoIncrement = false;
    bool primaryKey = false;
};

// The columns of every table of a database as the server reports them, by lower-case table name.
QHash<QString, QList<ServerColumn>> serverColumns(Db& db, const QString& database)
{
    const core::Rows rows = db.query(
        QStringLiteral(
            "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, NUMERIC_PRECISION, "
            "NUMERIC_SCALE, "
            "COLUMN_TYPE, EXTRA, COLUMN_KEY FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = :SCHEMA "
            "ORDER BY TABLE_NAME, ORDINAL_POSITION"),
        {{"SCHEMA", database}});
    QHash<QString, QList<ServerColumn>> tables;
    for (const core::Row row : rows) {
        ServerColumn column;
        column.name = row["COLUMN_NAME"].toString();
        column.type.dataType = row["DATA_TYPE"].toString();
        if (!row["CHARACTER_MAXIMUM_LENGTH"].isNull())
            column.type.characterMaximumLength = row["CHARACTER_MAXIMUM_LENGTH"].toInt64();
        if (!row["NUMERIC_PRECISION"].isNull())
            column.type.numericPrecision = row["NUMERIC_PRECISION"].toInt();
        if (!row["NUMERIC_SCALE"].isNull())
            column.type.numericScale = row["NUMERIC_SCALE"].toInt();
        column.type.columnType = row["COLUMN_TYPE"].toString();
        column.autoIncrement = row["EXTRA"].toString().contains(QStringLiteral("auto_increment"));
        column.primaryKey = row["COLUMN_KEY"].toString() == QStringLiteral("PRI");
        tables[row["TABLE_NAME"].toString().toLower()] << column;
    }
    return tables;
}

// Compares what the definition asks for with what the server made.
void expectAsDefined(const TableDefinition& table, const QList<ServerColumn>& actual)
{
    QStringList actualNames;
    for (const ServerColumn& column : actual)
        actualNames << column.name;
    ASSERT_EQ(actualNames, table.columnNames()) << "columns of " << table.name.toStdString();

    for (int i = 0; i < table.columns.size(); ++i) {
        const ColumnDefinition& defined = table.columns[i];
        const InformationSchemaType expected = defined.type.informationSchema();
        const ServerColumn& made = actual[i];
        const std::string where = (table.name + QLatin1Char('.') + defined.name).toStdString();
        // The optional parts of the expected type are compared only where the definition sets them.
        InformationSchemaType got = made.type;
        if (!expected.characterMaximumLength)
            got.characterMaximumLength.reset();
        if (!expected.numericPrecision)
            got.numericPrecision.reset();
        if (!expected.numericScale)
            got.numericScale.reset();
        if (!expected.columnType)
            got.columnType.reset();
        EXPECT_EQ(got, expected) << where;
        EXPECT_EQ(made.autoIncrement, defined.isKey) << where;
        EXPECT_EQ(made.primaryKey, defined.isKey) << where;
    }
}

void expectTablesAsDefined(Db& db, const QString& database, Placement placement)
{
    const auto made = serverColumns(db, database);
    QSet<QString> defined;
    for (const TableDefinition* table : TableDefinitions::builtIn().tables(placement)) {
        defined << table->name.toLower();
        ASSERT_TRUE(made.contains(table->name.toLower())) << "missing table " << table->name.toStdString();
        expectAsDefined(*table, made[table->name.toLower()]);
    }
    for (auto it = made.cbegin(); it != made.cend(); ++it) {
        EXPECT_TRUE(defined.contains(it.key())) << "table not in the definitions: " << it.key().toStdString();
    }
}

class SchemaTest : public carvendo::testing::CompanySuite<SchemaTest>
{
protected:
    static Db& db() { return company().db(); }
};

TEST_F(SchemaTest, EveryCompanyTableHasItsColumnsTypesKeysAndIndexes)
{
    expectTablesAsDefined(db(), company().name(), Placement::Company);
    const core::Rows rows = db().query(
        QStringLiteral(
            "SELECT TABLE_NAME, INDEX_NAME, NON_UNIQUE, COLUMN_NAME FROM information_schema.STATISTICS "
            "WHERE TABLE_SCHEMA = :SCHEMA ORDER BY TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX"),
        {{"SCHEMA", company().name()}});
    QHash<QString, IndexDefinition> made; // by "table/index"
    for (const core::Row row : rows) {
        IndexDefinition& index =
            made[row["TABLE_NAME"].toString().toLower() + u'/' + row["INDEX_NAME"].toString()];
        index.columns << row["COLUMN_NAME"].toString();
        index.unique = row["NON_UNIQUE"].toInt() == 0;
    }
    for (const TableDefinition* table : TableDefinitions::builtIn().companyTables()) {
        for (const IndexDefinition& defined : table->indexes) {
            const QString key = table->name.toLower() + u'/' + defined.name();
            ASSERT_TRUE(made.contains(key)) << "missing index " << key.toStdString();
            EXPECT_EQ(made[key].columns, defined.columns) << key.toStdString();
            EXPECT_EQ(made[key].unique, defined.unique) << key.toStdString();
        }
    }
}

TEST_F(SchemaTest, EveryTableTakesARowOfDefaultsUnderStrictMode)
{
    db().execDirect(
        QStringLiteral("SET SESSION sql_mode = 'STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO'"));
    core::Transaction transaction(db());
    for (const TableDefinition* table : TableDefinitions::builtIn().companyTables()) {
        EXPECT_NO_THROW(
            db().exec(QStringLiteral("INSERT INTO %1 () VALUES ()").arg(quoteIdentifier(table->name))))
            << table->name.toStdString();
    }
}

// Settings are changed by UPDATE alone: a settings table without its row would take no change.
// (The first login's operator and the seeded rates are used by the login and settings tests.)
TEST_F(SchemaTest, SettingsTablesHoldOneRow)
{
    for (const char* table : {"versione", "contatori", "backupcontatore", "mail", "vm_store", "logostampe",
                              "campi_obbligatori_cat", "preferenzeriparazioni"}) {
        const QString sql =
            QStringLiteral("SELECT COUNT(*) FROM %1").arg(quoteIdentifier(QString::fromUtf8(table)));
        EXPECT_EQ(db().scalar(sql).toInt(), 1) << table;
    }
}

TEST_F(SchemaTest, EveryPaymentTermHasItsInstalmentsAndAKnownMethod)
{
    const core::Rows terms = db().query(QStringLiteral(
        "SELECT p.Descrizione, p.NrRate, COUNT(r.id) AS rate, "
        "  (SELECT COUNT(*) FROM modalita_pagamenti m WHERE m.descrizione = p.modalita) AS metodo "
        "FROM pagamenti p LEFT JOIN rate r ON r.idpagamento = p.id GROUP BY p.id, p.Descrizione, p.NrRate, "
        "p.modalita"));
    ASSERT_GE(terms.size(), 4);
    for (const core::Row term : terms) {
        EXPECT_EQ(term["rate"].toInt(), term["NrRate"].toInt())
            << term["Descrizione"].toString().toStdString();
        EXPECT_EQ(term["metodo"].toInt(), 1) << term["Descrizione"].toString().toStdString();
    }
}

TEST_F(SchemaTest, TablesCanBeCreatedAgainWhenMissingWithoutTouchingThoseThatExist)
{
    const int strictBefore = db().scalar(QStringLiteral("SELECT @@SESSION.innodb_strict_mode")).toInt();
    for (const TableDefinition* table : TableDefinitions::builtIn().companyTables())
        db().runScript(TableDefinitions::builtIn().createTableScript(table->name, true));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT @@SESSION.innodb_strict_mode")).toInt(), strictBefore);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM comuni")).toInt(), 7904);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT SiglaProv FROM comuni WHERE comune = :C"),
                          {{"C", "Sant'Angelo a Cupolo"}})
                  .toString(),
              QStringLiteral("BN"));
}

TEST(SchemaScripts, TheDirectoryAndStoreDatabasesGetTheirTables)
{
    ScratchDatabase directory(QStringLiteral("directory"));
    directory.db().runScript(CompanyTemplate::directoryScript());
    expectTablesAsDefined(directory.db(), directory.name(), Placement::Directory);
    ScratchDatabase store(QStringLiteral("store"));
    store.db().runScript(CompanyTemplate::storeScript());
    expectTablesAsDefined(store.db(), store.name(), Placement::Store);
}

// The template must also run through the command-line client, as a shop's technician would run it.
TEST(SchemaScripts, TheTemplateRunsThroughTheMariadbClientToo)
{
    const QString client = QStandardPaths::findExecutable(QStringLiteral("mariadb"));
    if (client.isEmpty())
        GTEST_SKIP() << "no mariadb client installed";

    QFile file(carvendo::testing::companyTemplatePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QString::fromUtf8(file.readAll())
                     .contains(QRegularExpression(QStringLiteral("^\\s*(USE|CREATE DATABASE)\\b"),
                                                  QRegularExpression::MultilineOption |
                                                      QRegularExpression::CaseInsensitiveOption)))
        << "the template must not choose its database";

    ScratchDatabase company(QStringLiteral("client"));
    const core::ConnectionSettings s = company.settings();
    QStringList args{QStringLiteral("--no-defaults"), QStringLiteral("--default-character-set=utf8mb4"),
                     QStringLiteral("-u") + s.user, QStringLiteral("-p") + s.password};
    if (!s.unixSocket.isEmpty())
        args << QStringLiteral("--socket=") + s.unixSocket;
    else
        args << QStringLiteral("--protocol=tcp") << QStringLiteral("-h") + s.host
             << QStringLiteral("-P%1").arg(s.port);
    args << company.name();

    QProcess mariadb;
    mariadb.setStandardInputFile(carvendo::testing::companyTemplatePath());
    mariadb.start(client, args);
    ASSERT_TRUE(mariadb.waitForFinished(120000));
    ASSERT_EQ(mariadb.exitCode(), 0) << mariadb.readAllStandardError().toStdString();

    expectTablesAsDefined(company.db(), company.name(), Placement::Company);
    const QRegularExpression createRoutine(QStringLiteral("\\bCREATE\\s+(PROCEDURE|FUNCTION)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    EXPECT_EQ(company.db()
                  .scalar(QStringLiteral(
                              "SELECT COUNT(*) FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = :S"),
                          {{"S", company.name()}})
                  .toInt(),
              CompanyTemplate::proceduresScript().count(createRoutine));
}

} // namespace
