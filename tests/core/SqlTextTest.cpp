#include "core/SqlText.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace carvendo::core;

TEST(Placeholders, NamesAreFoundOutsideQuotesAndComments)
{
    const ParsedStatement p = parsePlaceholders(
        QStringLiteral("SELECT ':NOPE', \":ALSO\", `a:b`, :Id, x::int, @v := 1 -- :COMMENT\n"
                       "FROM t WHERE d = :data /* :BLOCK */ AND e = :Id # :HASH"));
    EXPECT_EQ(p.names, (QStringList{QStringLiteral("ID"), QStringLiteral("DATA"), QStringLiteral("ID")}));
    EXPECT_EQ(p.sql, QStringLiteral("SELECT ':NOPE', \":ALSO\", `a:b`, ?, x::int, @v := 1 -- :COMMENT\n"
                                    "FROM t WHERE d = ? /* :BLOCK */ AND e = ? # :HASH"));
}

TEST(Placeholders, QuotedTextWithEscapesDoesNotHideWhatFollows)
{
    const ParsedStatement p = parsePlaceholders(QStringLiteral("SELECT 'it''s \\' :X', :Y"));
    EXPECT_EQ(p.names, QStringList{QStringLiteral("Y")});
}

TEST(ScriptSplitting, StatementsCommentsAndDelimiters)
{
    const QString script = QStringLiteral("-- leading comment; not a statement\n"
                                          "# another; comment\n"
                                          "CREATE TABLE t (a varchar(10) DEFAULT 'x;y');\n"
                                          "/* a plain comment; */\n"
                                          "/*!40101 SET NAMES utf8mb4 */;\n"
                                          "INSERT INTO t VALUES ('a--b'), (\"c;d\");\n"
                                          "DELIMITER $$\n"
                                          "CREATE PROCEDURE p()\n"
                                          "BEGIN\n"
                                          "  SELECT 1; -- inside; the body\n"
                                          "  SELECT ';';\n"
                                          "END $$\n"
                                          "delimiter ;\n"
                                          "CALL p();\n"
                                          "SELECT 1");
    const QStringList statements = splitScript(script);
    ASSERT_EQ(statements.size(), 6);
    EXPECT_EQ(statements[0], QStringLiteral("CREATE TABLE t (a varchar(10) DEFAULT 'x;y')"));
    EXPECT_EQ(statements[1], QStringLiteral("/*!40101 SET NAMES utf8mb4 */"));
    EXPECT_EQ(statements[2], QStringLiteral("INSERT INTO t VALUES ('a--b'), (\"c;d\")"));
    EXPECT_TRUE(statements[3].contains(QStringLiteral("SELECT ';';")));
    EXPECT_EQ(statements[4], QStringLiteral("CALL p()"));
    EXPECT_EQ(statements[5], QStringLiteral("SELECT 1"));
}

TEST(ScriptSplitting, ReadOnlyStatementsAndIdentifiers)
{
    EXPECT_TRUE(isReadOnlyStatement(QStringLiteral("(SELECT 1) UNION (SELECT 2)")));
    EXPECT_FALSE(isReadOnlyStatement(QStringLiteral("UPDATE t SET a = 1")));
    EXPECT_FALSE(isReadOnlyStatement(QStringLiteral("CALL SCARICO_MAGAZZINO(1, 1, 1)")));

    EXPECT_TRUE(isPlainIdentifier(QStringLiteral("gestionale1")));
    EXPECT_FALSE(isPlainIdentifier(QStringLiteral("x`; DROP DATABASE y")));
}
