#include "core/Db.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace carvendo::core;
using carvendo::testing::ScratchDatabase;

namespace {

// The message of the DbError that call throws; a marker when it throws none.
template <typename Call> QString dbError(Call&& call)
{
    try {
        call();
    } catch (const DbError& e) {
        return e.message();
    }
    return QStringLiteral("(nessun errore)");
}

class DbTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_scratch = new ScratchDatabase(QStringLiteral("dbtest"));
        s_scratch->db().execDirect(QStringLiteral(
            "CREATE TABLE valori (id int NOT NULL AUTO_INCREMENT PRIMARY KEY, intero int, grande bigint, "
            "flag tinyint(1), reale double, importo decimal(15,4), testo varchar(50), memo longtext, "
            "giorno date, momento datetime, ora time, dati longblob) DEFAULT CHARSET=latin1"));
    }
    static void TearDownTestSuite()
    {
        delete s_scratch;
        s_scratch = nullptr;
    }
    void SetUp() override
    {
        m_db = std::make_unique<Db>(s_scratch->settings());
        m_db->open();
        m_db->exec(QStringLiteral("DELETE FROM valori"));
    }

    qint64 countRows()
    {
        auto other = std::make_unique<Db>(s_scratch->settings());
        other->open();
        return other->scalar(QStringLiteral("SELECT COUNT(*) FROM valori")).toInt64();
    }

    static inline ScratchDatabase* s_scratch = nullptr;
    std::unique_ptr<Db> m_db;
};

TEST_F(DbTest, EveryTypeIsBoundAndReadBackWithoutLoss)
{
    const QString euro = QStringLiteral("Caffè € 1,50 – perché");
    const QString longText = QString(3000, u'à');
    const QByteArray bytes("\x00\x01\xFF\x80", 4);
    m_db->exec(
        QStringLiteral("INSERT INTO valori (intero, grande, flag, reale, importo, testo, memo, giorno, "
                       "momento, ora, dati) VALUES (:INTERO, :GRANDE, :FLAG, :REALE, :IMPORTO, :TESTO, "
                       ":MEMO, :GIORNO, :MOMENTO, :ORA, :DATI)"),
        {{"intero", -42},
         {"grande", qint64(9000000000LL)},
         {"flag", true},
         {"reale", 0.1},
         {"importo", QVariant::fromValue(Money::fromUnits(-12345678))},
         {"testo", euro},
         {"memo", longText},
         {"giorno", QDate(2026, 12, 31)},
         {"momento", QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))},
         {"ora", QTime(23, 59, 58)},
         {"dati", bytes}});

    const Rows rows =
        m_db->query(QStringLiteral("SELECT * FROM valori WHERE id = :ID"), {{"ID", m_db->lastInsertId()}});
    ASSERT_EQ(rows.size(), 1);
    const Row r = rows.first();
    EXPECT_EQ(r["intero"].toInt(), -42);
    EXPECT_EQ(r["grande"].toInt64(), 9000000000LL);
    EXPECT_TRUE(r["flag"].toBool());
    EXPECT_EQ(r["reale"].toDouble(), 0.1);
    EXPECT_EQ(r["importo"].toMoney(), Money::fromUnits(-12345678));
    EXPECT_EQ(r["testo"].toString(), euro);
    EXPECT_EQ(r["memo"].toString(), longText);
    EXPECT_EQ(r["giorno"].toDate(), QDate(2026, 12, 31));
    EXPECT_EQ(r["momento"].toDateTime(), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(r["ora"].toTime(), QTime(23, 59, 58));
    EXPECT_EQ(r["dati"].toBytes(), bytes);

    // The server really holds the text in latin1 (Windows-1252): € is one byte there.
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT HEX(CONVERT(testo USING latin1)) FROM valori"))
                  .toString()
                  .left(14),
              QStringLiteral("43616666E82080"));
}

TEST_F(DbTest, NullsAndMissingValuesReadAsEmpty)
{
    m_db->exec(QStringLiteral("INSERT INTO valori (intero, testo, giorno, importo) VALUES (:I, :T, :G, :M)"),
               {{"I", QVariant()},
                {"T", QVariant(QMetaType::fromType<QString>())},
                {"G", QDate()},
                {"M", QVariant()}});
    const Row r = m_db->query(QStringLiteral("SELECT * FROM valori")).first();
    EXPECT_TRUE(r["testo"].isNull());
    EXPECT_TRUE(r["giorno"].isNull());
    EXPECT_EQ(r["intero"].toInt(), 0);
    EXPECT_EQ(r["importo"].toMoney(), Money());
}

TEST_F(DbTest, ColumnsAreFoundIgnoringLetterCaseAndUnknownOnesAreErrors)
{
    m_db->exec(QStringLiteral("INSERT INTO valori (intero) VALUES (7)"));
    const Rows rows = m_db->query(QStringLiteral("SELECT intero AS idCliente FROM valori"));
    EXPECT_EQ(rows.first()["IDCLIENTE"].toInt(), 7);
    EXPECT_EQ(dbError([&] { rows.first()["nessuna"]; }), QStringLiteral("Colonna sconosciuta: nessuna"))
        << "an unknown column must not read as NULL";
}

TEST_F(DbTest, PlaceholderAndValueMustMatch)
{
    EXPECT_EQ(dbError([&] {
                  m_db->exec(QStringLiteral("INSERT INTO valori (intero, testo) VALUES (:INTERO, :TESTO)"),
                             {{"INTERO", 1}});
              }),
              QStringLiteral("Parametro :TESTO senza valore"));
    EXPECT_EQ(dbError([&] {
                  m_db->exec(QStringLiteral("INSERT INTO valori (intero) VALUES (:INTERO)"),
                             {{"INTERO", 1}, {"INTEROX", 2}});
              }),
              QStringLiteral("Il parametro INTEROX non compare nell'istruzione"));
    EXPECT_EQ(countRows(), 0);
}

TEST_F(DbTest, AReadIsRepeatedAfterTheConnectionWasKilled)
{
    m_db->exec(QStringLiteral("INSERT INTO valori (intero) VALUES (5)"));
    auto killer = std::make_unique<Db>(s_scratch->settings());
    killer->open();
    killer->exec(QStringLiteral("KILL CONNECTION :ID"), {{"ID", qint64(m_db->serverThreadId())}});
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT intero FROM valori")).toInt(), 5);
    EXPECT_EQ(m_db->reconnectCount(), 1);
}

TEST_F(DbTest, ALostConnectionInsideATransactionFailsTheCommandAndCommitsNothing)
{
    auto killer = std::make_unique<Db>(s_scratch->settings());
    killer->open();
    try {
        Transaction tx(*m_db);
        m_db->exec(QStringLiteral("INSERT INTO valori (intero) VALUES (1)"));
        killer->exec(QStringLiteral("KILL CONNECTION :ID"), {{"ID", qint64(m_db->serverThreadId())}});
        m_db->exec(QStringLiteral("INSERT INTO valori (intero) VALUES (2)"));
        tx.commit();
        FAIL() << "the second half of the command must not run on a new connection";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.errorCode() == 2006 || e.errorCode() == 2013) << e.what();
    }
    EXPECT_FALSE(m_db->inTransaction());
    EXPECT_EQ(countRows(), 0);
}

TEST_F(DbTest, AReadThatFailsHalfwayLeavesTheConnectionAndItsStatementsUsable)
{
    m_db->runScript(
        QStringLiteral("DROP FUNCTION IF EXISTS guasta;\n"
                       "DELIMITER $$\n"
                       "CREATE FUNCTION guasta(n int) RETURNS int DETERMINISTIC\n"
                       "BEGIN\n"
                       "  IF n = 500 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Riga 500 guasta'; "
                       "END IF;\n"
                       "  RETURN n;\n"
                       "END$$\n"
                       "DELIMITER ;\n"));
    // Enough rows that most are still on their way when reading stops.
    m_db->exec(QStringLiteral("INSERT INTO valori (intero, ora) SELECT seq, '10:00:00' FROM seq_1_to_1000"));
    m_db->exec(QStringLiteral("UPDATE valori SET ora = '30:00:00' WHERE intero = 500"));
    const QString read = QStringLiteral("SELECT intero, ora FROM valori ORDER BY intero");
    EXPECT_EQ(dbError([&] { m_db->query(read); }),
              QStringLiteral("La colonna ora contiene la durata 30:00:00, che non è un'ora del giorno"));
    // Another statement, then the same cached one, run on the same connection.
    m_db->exec(QStringLiteral("UPDATE valori SET ora = '11:00:00' WHERE intero = 500"));
    EXPECT_EQ(m_db->query(read).size(), 1000);

    EXPECT_EQ(
        dbError([&] { m_db->query(QStringLiteral("SELECT guasta(intero) FROM valori ORDER BY intero")); }),
        QStringLiteral("Riga 500 guasta"))
        << "an error among the rows carries the server's text";
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM valori")).toInt(), 1000);
    EXPECT_EQ(m_db->reconnectCount(), 0);
}

TEST_F(DbTest, ACallWhoseConnectionIsLostBeforeItsOutValuesAreReadFailsAndIsNotRepeated)
{
    m_db->runScript(QStringLiteral("DROP PROCEDURE IF EXISTS conta;\n"
                                   "DELIMITER $$\n"
                                   "CREATE PROCEDURE conta(OUT quanti int)\n"
                                   "BEGIN\n"
                                   "  INSERT INTO valori (intero) VALUES (1);\n"
                                   "  SELECT COUNT(*) INTO quanti FROM valori;\n"
                                   "END$$\n"
                                   "DELIMITER ;\n"));
    auto killer = std::make_unique<Db>(s_scratch->settings());
    killer->open();
    bool killed = false;
    // Between the CALL and the reading of its OUT variable, the connection goes.
    m_db->setStatementLogger([&](const QString& sql, qint64) {
        if (!killed && sql.startsWith(QStringLiteral("CALL"))) {
            killed = true;
            killer->exec(QStringLiteral("KILL CONNECTION :ID"), {{"ID", qint64(m_db->serverThreadId())}});
        }
    });
    EXPECT_EQ(
        dbError([&] { m_db->call(QStringLiteral("conta"), {}, {QStringLiteral("quanti")}); }),
        QStringLiteral("La connessione al database si è interrotta dopo la procedura conta: i valori che "
                       "ha restituito sono andati persi. Verificarne l'esito prima di ripetere il comando."));
    EXPECT_EQ(countRows(), 1) << "the procedure ran once";
    const CallResult again = m_db->call(QStringLiteral("conta"), {}, {QStringLiteral("quanti")});
    EXPECT_EQ(again.out.first()["quanti"].toInt(), 2);
}

TEST_F(DbTest, ALockLetGoInsideATransactionIsHeldUntilTheTransactionEnds)
{
    auto other = std::make_unique<Db>(s_scratch->settings());
    other->open();
    const QString name = QStringLiteral("prova");
    for (const bool commit : {true, false}) {
        m_db->begin();
        ASSERT_TRUE(m_db->acquireLock(name, 0));
        m_db->releaseLock(name);
        EXPECT_FALSE(other->acquireLock(name, 0)) << "still held before the transaction ends";
        commit ? m_db->commit() : m_db->rollback();
        EXPECT_TRUE(other->acquireLock(name, 0)) << (commit ? "after commit" : "after rollback");
        other->releaseLock(name);
    }
}

TEST_F(DbTest, AConnectionHoldingALockIsNotSilentlyReopened)
{
    auto killer = std::make_unique<Db>(s_scratch->settings());
    killer->open();
    ASSERT_TRUE(m_db->acquireLock(QStringLiteral("ucciso"), 0));
    killer->exec(QStringLiteral("KILL CONNECTION :ID"), {{"ID", qint64(m_db->serverThreadId())}});
    EXPECT_EQ(dbError([&] { m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM valori")); }),
              QStringLiteral("La connessione al database si è interrotta mentre questa postazione teneva un "
                             "blocco: il comando non è stato completato. Ripeterlo."));
    EXPECT_FALSE(m_db->holdsLocks());
    // The next command opens a new connection; the lock went with the old one (the server lets it go
    // as it finishes the killed connection, so the other one waits for that).
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM valori")).toInt(), 0);
    EXPECT_TRUE(killer->acquireLock(QStringLiteral("ucciso"), 10));
    killer->releaseLock(QStringLiteral("ucciso"));
}

TEST_F(DbTest, UpdateReportsMatchedRowsEvenWhenNothingChanges)
{
    m_db->exec(QStringLiteral("INSERT INTO valori (intero) VALUES (1), (1)"));
    EXPECT_EQ(m_db->exec(QStringLiteral("UPDATE valori SET intero = 1")), 2);
}

TEST_F(DbTest, AFailingScriptStopsAtTheFailingStatement)
{
    try {
        m_db->runScript(
            // A semicolon inside quotes does not end a statement.
            QStringLiteral(
                "INSERT INTO valori (intero, testo) VALUES (1, 'a; b');\nINSERT INTO nessuna VALUES (2);\n"
                "INSERT INTO valori (intero) VALUES (3);"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.statement(), QStringLiteral("INSERT INTO nessuna VALUES (2)"));
    }
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT GROUP_CONCAT(intero) FROM valori")).toString(),
              QStringLiteral("1"));
}

} // namespace
