#include "registry/RegistryList.h"

#include "core/Paths.h"
#include "tests/registry/RegistrySuite.h"
#include "tests/support/FailingWrite.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace carvendo;
using registry::RegistryKind;
using registry::RegistryList;
using registry::SearchMode;
namespace ct = carvendo::testing;

namespace {

const QString NoPrivilege = QStringLiteral("Non possiedi i privilegi per eseguire questa operazione");

class RegistryListTest : public ct::RegistrySuite<RegistryListTest>
{
protected:
    void SetUp() override
    {
        RegistrySuite::SetUp();
        s_exchange->db().exec(QStringLiteral("DELETE FROM users"));
    }

    static QStringList names(const core::Rows& rows, const QString& column)
    {
        QStringList out;
        for (const core::Row& row : rows)
            out << row[column].toString();
        return out;
    }

    RegistryList customers()
    {
        return RegistryList(RegistryKind::customers(), db(), m_session, m_paths, m_dialogs, m_navigator);
    }
    RegistryList suppliers()
    {
        return RegistryList(RegistryKind::suppliers(), db(), m_session, m_paths, m_dialogs, m_navigator);
    }

    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    registry::WebAccounts exchangeAccounts()
    {
        return registry::WebAccounts([this]() -> core::Db& { return s_exchange->db(); });
    }

    static void SetUpTestSuite()
    {
        CompanySuite::SetUpTestSuite();
        s_exchange = std::make_unique<ct::ExchangeDatabase>();
    }
    static void TearDownTestSuite()
    {
        s_exchange.reset();
        CompanySuite::TearDownTestSuite();
    }

    static inline std::unique_ptr<ct::ExchangeDatabase> s_exchange;
};

TEST_F(RegistryListTest, NameSearchBindsTheTypedText)
{
    insertCustomer(1, QStringLiteral("D'Amico Sergio"));
    insertCustomer(2, QStringLiteral("Damico Elettronica"));
    insertCustomer(3, QStringLiteral("Sconto 100% srl"));
    insertCustomer(4, QStringLiteral("Sconto 1000 srl"));
    insertCustomer(5, QStringLiteral("Caffè_Bar Nicolò"));
    insertCustomer(6, QStringLiteral("Caffe Bar Roma"));

    RegistryList list = customers();
    struct Case
    {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
        {"amico", {QStringLiteral("D'Amico Sergio"), QStringLiteral("Damico Elettronica")}},
        {"100%", {QStringLiteral("Sconto 100% srl")}}, // "%" is a character, not a wildcard
        {"è_", {QStringLiteral("Caffè_Bar Nicolò")}},  // and so is "_"
        {"' OR '1'='1", {}},
    };
    for (const Case& c : cases) {
        list.find(SearchMode::Name, QString::fromUtf8(c.typed));
        EXPECT_EQ(names(list.rows(), QStringLiteral("RagioneSociale")), c.found) << c.typed;
    }
}

TEST_F(RegistryListTest, TaxCodeAndVatSearchesMatchExactly)
{
    insertCustomer(1, QStringLiteral("Rossi Mario"), QStringLiteral("RSSMRA80A01H501U"),
                   QStringLiteral("01234567897"));
    insertCustomer(2, QStringLiteral("Verdi Anna"), QStringLiteral("VRDNNA75C41F205X"),
                   QStringLiteral("12345678903"));
    RegistryList list = customers();

    list.find(SearchMode::TaxCode, QStringLiteral("VRDNNA75C41F205X"));
    EXPECT_EQ(names(list.rows(), QStringLiteral("RagioneSociale")),
              QStringList{QStringLiteral("Verdi Anna")});
    list.find(SearchMode::TaxCode, QStringLiteral("VRDNNA75C41F205"));
    EXPECT_TRUE(list.rows().isEmpty()) << "no partial match";
    list.find(SearchMode::VatNumber, QStringLiteral(" 01234567897 "));
    EXPECT_EQ(names(list.rows(), QStringLiteral("RagioneSociale")),
              QStringList{QStringLiteral("Rossi Mario")});
}

TEST_F(RegistryListTest, SupplierSearchUsesItsOwnColumns)
{
    insertSupplier(QStringLiteral("1"), QStringLiteral("L'Idraulica Srl"));
    insertSupplier(QStringLiteral("2"), QStringLiteral("Nuova Elettronica"));
    RegistryList list = suppliers();
    list.find(SearchMode::Name, QStringLiteral("l'idr"));
    EXPECT_EQ(names(list.rows(), QStringLiteral("RagSoc")), QStringList{QStringLiteral("L'Idraulica Srl")});
}

TEST_F(RegistryListTest, TheListLoadsPageByPage)
{
    db().exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) "
                             "SELECT seq, CONCAT('Cliente ', LPAD(seq, 3, '0')) FROM seq_1_to_25"));
    RegistryList list = customers();
    list.search().setPageSize(10);
    list.open();
    EXPECT_EQ(list.rows().size(), 10);
    EXPECT_TRUE(list.search().loadMore());
    EXPECT_TRUE(list.search().loadMore());
    EXPECT_EQ(list.rows().size(), 25);
    EXPECT_FALSE(list.search().hasMore());
}

TEST_F(RegistryListTest, ACustomerMadeInTheCardIsListedOnReturn)
{
    insertCustomer(1, QStringLiteral("Bianchi Luca"));
    RegistryList list = customers();
    list.open();
    m_navigator.whenOpened(QStringLiteral("TCliente"), [&](const core::NavigationRequest&) {
        insertCustomer(2, QStringLiteral("Esposito Anna"));
        return core::NavigationResult{true};
    });
    list.newRecord();
    EXPECT_EQ(names(list.rows(), QStringLiteral("RagioneSociale")),
              (QStringList{QStringLiteral("Bianchi Luca"), QStringLiteral("Esposito Anna")}));
}

TEST_F(RegistryListTest, DeletingACustomerNeedsThePrivilegeAndTheAnswer)
{
    const int id = insertCustomer(1, QStringLiteral("D'Amico Sergio"));
    RegistryList list = customers();
    list.open();

    logInAllowedToDelete(false);
    EXPECT_FALSE(list.deleteRecord(id));
    EXPECT_EQ(m_dialogs.lastText(), NoPrivilege);

    logInAllowedToDelete(true);
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(list.deleteRecord(id));
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Eliminare il cliente?"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 1);
}

TEST_F(RegistryListTest, DeletingACustomerTakesItsWebAccountAndLeavesDocumentsAlone)
{
    const int id = insertCustomer(1, QStringLiteral("D'Amico Sergio"));
    const int other = insertCustomer(2, QStringLiteral("Verdi Anna"));
    for (int user : {id, other})
        s_exchange->db().exec(
            QStringLiteral("INSERT INTO users (id_user, username, passwd, attivo) VALUES (:ID, :U, 'x', 1)"),
            {{QStringLiteral("ID"), user}, {QStringLiteral("U"), QStringLiteral("u%1").arg(user)}});
    db().exec(
        QStringLiteral("INSERT INTO preventivi (idcliente, RagioneSociale) VALUES (:ID, 'D''Amico Sergio')"),
        {{QStringLiteral("ID"), id}});

    RegistryList list = customers();
    list.setWebAccounts(exchangeAccounts());
    list.open();
    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(list.deleteRecord(id));
    EXPECT_EQ(s_exchange->db().scalar(QStringLiteral("SELECT GROUP_CONCAT(id_user) FROM users")).toInt(),
              other);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT RagioneSociale FROM preventivi WHERE idcliente = :ID"),
                          {{QStringLiteral("ID"), id}})
                  .toString(),
              QStringLiteral("D'Amico Sergio"));
}

TEST_F(RegistryListTest, AFailedDeleteKeepsBothTheCustomerAndTheWebAccount)
{
    const int id = insertCustomer(1, QStringLiteral("D'Amico Sergio"));
    s_exchange->db().exec(QStringLiteral("INSERT INTO users (id_user, username) VALUES (:ID, 'damico')"),
                          {{QStringLiteral("ID"), id}});
    RegistryList list = customers();
    list.setWebAccounts(exchangeAccounts());

    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Delete, QStringLiteral("clienti"));
        m_dialogs.answerConfirm(true);
        EXPECT_THROW(list.deleteRecord(id), core::DbError);
    }

    // The exchange cannot be reached.
    list.setWebAccounts(
        registry::WebAccounts([]() -> core::Db& { throw core::DbError(QStringLiteral("irraggiungibile")); }));
    m_dialogs.answerConfirm(true);
    EXPECT_THROW(list.deleteRecord(id), core::DbError);

    EXPECT_EQ(s_exchange->db()
                  .scalar(QStringLiteral("SELECT username FROM users WHERE id_user = :ID"),
                          {{QStringLiteral("ID"), id}})
                  .toString(),
              QStringLiteral("damico"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 1);
}

TEST_F(RegistryListTest, DeletingASupplierAsksItsQuestion)
{
    const int id = insertSupplier(QStringLiteral("7"), QStringLiteral("Nuova Elettronica"));
    RegistryList list = suppliers();
    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(list.deleteRecord(id));
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral("Eliminare il fornitore?")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM fornitori")).toInt(), 0);
}

TEST_F(RegistryListTest, ExportWritesEveryFoundRecordAndSaysSo)
{
    db().exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) "
                             "SELECT seq, CONCAT('Cliente ', LPAD(seq, 3, '0')) FROM seq_1_to_15"));
    RegistryList list = customers();
    list.search().setPageSize(5);
    list.open();
    const QString file = m_dir.filePath(QStringLiteral("clienti.txt"));
    m_dialogs.answerFile(file);
    EXPECT_TRUE(list.exportGrid(gridexport::ExportFormat::Text));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(written.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 16); // heading + every customer, not only the loaded page
    EXPECT_TRUE(lines[15].contains(QStringLiteral(";15;Cliente 015;")));
}

} // namespace
