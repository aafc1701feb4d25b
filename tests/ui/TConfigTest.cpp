#include "ui/foundation/TConfig.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"
#include "ui/common/EditableList.h"
#include "ui/common/WidgetNavigator.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/SettingsWindows.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TConfigTest : public ct::CompanySuite<TConfigTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        m_db->exec(QStringLiteral("DELETE FROM suffissi_doc WHERE suffisso NOT IN ('', 'A')"));
        useCompany(company());
    }

    std::unique_ptr<core::Db> m_db;
};

// A window that cannot be made (no company to work on) is told by the navigator, which opens nothing.
TEST_F(TConfigTest, WithoutACompanyTheWindowIsNotOpenedAndTheReasonIsTold)
{
    ui::WindowRegistry registry;
    ui::registerSettingsWindows(registry);
    core::Connections none;
    ui::WidgetNavigator navigator(registry);
    ui::WindowEnvironment environment{m_session, m_paths, none, m_dialogs, navigator, m_clock, m_reports};
    navigator.setEnvironment(&environment);
    EXPECT_FALSE(navigator.open(QStringLiteral("TConfig")).accepted);
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Nessuna azienda selezionata"}));
}

TEST_F(TConfigTest, AggiungiNuovaAddsTheSuffixTheOperatorTypes)
{
    ui::TConfig window(m_environment, *m_db);
    QAbstractItemModel* suffixes = child<ui::EditableList>(window, "suffissi")->grid()->model();
    m_dialogs.answerText(QStringLiteral("d"));
    child<QPushButton>(window, "aggiungiNumerazione")->click();
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM suffissi_doc WHERE suffisso = 'D'")).toInt(),
              1);
    ASSERT_EQ(suffixes->rowCount(), 3);
    window.reject();
}

TEST_F(TConfigTest, CellsEditedInTheGridGoThroughTheListLogic)
{
    m_db->exec(QStringLiteral("DELETE FROM marchi"));
    m_db->exec(QStringLiteral("INSERT INTO marchi (Descrizione, Codice) VALUES ('ACME', 'AC')"));
    ui::TConfig window(m_environment, *m_db);
    QAbstractItemModel* brands = child<ui::EditableList>(window, "marchi")->grid()->model();
    ASSERT_EQ(brands->rowCount(), 1);
    EXPECT_TRUE(brands->setData(brands->index(0, 0), QStringLiteral("ACM"), Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT Codice FROM marchi")).toString(), "ACM");

    EXPECT_FALSE(brands->setData(brands->index(0, 1), QString(), Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Il campo \"Descrizione\" è obbligatorio"}));
    EXPECT_EQ(brands->index(0, 1).data().toString(), "ACME") << "the grid shows what is stored";
    window.reject();
}

} // namespace
