#include "ui/foundation/TImpostazioniNew.h"

#include "schema/CompanyTemplate.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"
#include "ui/common/CardForm.h"
#include "ui/common/EditableList.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/SettingsWindows.h"

#include <QDialog>
#include <QTimer>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TImpostazioniNewTest : public ct::CompanySuite<TImpostazioniNewTest>, protected ct::WindowTestBench
{
protected:
    static void SetUpTestSuite()
    {
        CompanySuite::SetUpTestSuite();
        s_directory = std::make_unique<ct::ScratchDatabase>(QStringLiteral("dir"));
        s_directory->db().runScript(schema::CompanyTemplate::directoryScript());
        s_directory->db().exec(QStringLiteral("INSERT INTO aziende (id, ragionesociale, databasename) "
                                              "VALUES (7, 'Telefonia Rossi', :DB)"),
                               {{QStringLiteral("DB"), company().name()}});
    }
    static void TearDownTestSuite()
    {
        s_directory.reset();
        CompanySuite::TearDownTestSuite();
    }

    void SetUp() override
    {
        m_db = company().newConnection();
        m_db->exec(QStringLiteral("DELETE FROM banche"));
        useCompany(company());
        m_connections.setDirectorySettings(s_directory->settings());
        ui::registerSettingsWindows(m_registry);
    }

    std::unique_ptr<ui::TImpostazioniNew> open(const QString& page, const QVariant& company = 7)
    {
        core::NavigationRequest request{
            QStringLiteral("TImpostazioniNew"), company, {}, {{QStringLiteral("page"), page}}};
        ui::Window* window = m_registry.create(request.window, m_environment, request, nullptr);
        EXPECT_NE(window, nullptr);
        return std::unique_ptr<ui::TImpostazioniNew>(qobject_cast<ui::TImpostazioniNew*>(window));
    }

    static inline std::unique_ptr<ct::ScratchDatabase> s_directory;
    ui::WindowRegistry m_registry;
    std::unique_ptr<core::Db> m_db;
};

TEST_F(TImpostazioniNewTest, AGroupPrivilegeIsTickedInTheGrid)
{
    m_db->exec(QStringLiteral("DELETE FROM gruppi WHERE id <> 1"));
    m_db->exec(QStringLiteral("INSERT INTO gruppi (id, descrizione) VALUES (2, 'CASSA')"));
    const auto window = open(QStringLiteral("Utenti"));
    ASSERT_NE(window, nullptr);
    QAbstractItemModel* groups = child<ui::EditableList>(*window, "gruppi")->grid()->model();
    ASSERT_EQ(groups->rowCount(), 2);
    const int cassa = groups->index(0, 0).data().toString() == u"CASSA" ? 0 : 1;
    int posColumn = -1;
    for (int column = 0; column < groups->columnCount(); ++column)
        if (groups->headerData(column, Qt::Horizontal).toString() == u"Pos")
            posColumn = column;
    ASSERT_GE(posColumn, 0);

    EXPECT_TRUE(groups->setData(groups->index(cassa, posColumn), int(Qt::Checked), Qt::CheckStateRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT pos FROM gruppi WHERE id = 2")).toInt(), 1);
    window->reject();
}

TEST_F(TImpostazioniNewTest, ABankIsAddedThroughTheListForm)
{
    const auto window = open(QStringLiteral("Banche"));
    ASSERT_NE(window, nullptr);
    auto* banks = child<ui::EditableList>(*window, "banche");
    bool filled = false;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        auto* card = form->findChild<ui::CardForm*>();
        ASSERT_NE(card, nullptr);
        qobject_cast<QLineEdit*>(card->editor(QStringLiteral("Descrizione")))
            ->setText(QStringLiteral("Banca del Borgo"));
        qobject_cast<QLineEdit*>(card->editor(QStringLiteral("Codice")))
            ->setText(QStringLiteral("IT02L1234512345123456789012"));
        form->findChild<QPushButton*>(QStringLiteral("salva"))->click();
        filled = true;
    });
    child<QPushButton>(*banks, "aggiungi")->click();

    EXPECT_TRUE(filled);
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT Codice FROM banche WHERE Descrizione = 'Banca del Borgo'"))
                  .toString(),
              "IT02L1234512345123456789012");
    window->reject();
}

} // namespace
