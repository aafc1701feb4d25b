#include "TConfig.h"

#include "Connections.h"
#include "EditableList.h"
#include "FixedClock.h"
#include "Paths.h"
#include "QtPrinters.h"
#include "RecordingNavigator.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "SettingsWindows.h"
#include "TestDatabase.h"
#include "WindowRegistry.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "WindowTestBench.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

QStringList tabTitles(const QTabWidget* tabs)
{
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    return titles;
}

class TConfigTest : public ct::CompanySuite<TConfigTest>, protected carvendo::testing::WindowTestBench
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        m_db->exec(QStringLiteral("DELETE FROM suffissi_doc WHERE suffisso NOT IN ('', 'A')"));
        useCompany(company());
    }

    template <typename W> static W* child(QWidget& window, const char* name)
    {
        W* widget = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::unique_ptr<core::Db> m_db;
};

TEST_F(TConfigTest, OpensFromTheRegistryAndShowsEveryPage)
{
    ui::WindowRegistry registry;
    ui::registerSettingsWindows(registry);
    std::unique_ptr<ui::Window> opened(
        registry.create(QStringLiteral("TConfig"), m_environment, {}, nullptr));
    ASSERT_NE(opened, nullptr);
    auto* window = qobject_cast<ui::TConfig*>(opened.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Configurazione Generale");

    QTabWidget* pages = window->pages();
    EXPECT_EQ(tabTitles(pages),
              QStringList({"Generale", "Articoli", "Configurazione Clienti", "Preferenze", "Contabilità"}));
    EXPECT_EQ(tabTitles(child<QTabWidget>(*window, "generale")),
              QStringList({"Unità di misura", "Causali di Magazzino", "Aree Geografiche", "Aliquote Iva",
                           "Reparti"}));
    EXPECT_EQ(tabTitles(child<QTabWidget>(*window, "articoli")),
              QStringList({"Classi Merceologiche", "Categorie", "Sub-Categorie", "Etichette", "Generi",
                           "Autori", "Marchi", "Editori", "Collane"}));
    EXPECT_EQ(tabTitles(child<QTabWidget>(*window, "clienti")),
              QStringList({"Categorie Clienti", "Definizioni Clienti", "Business Area", "Privacy"}));

    window->show();
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QList<QTabWidget*> inners = pages->widget(page)->findChildren<QTabWidget*>();
        if (auto* self = qobject_cast<QTabWidget*>(pages->widget(page)))
            inners << self;
        for (QTabWidget* inner : inners)
            for (int tab = 0; tab < inner->count(); ++tab)
                inner->setCurrentIndex(tab);
    }
    // The template's VAT rates are in their grid.
    EXPECT_EQ(child<ui::EditableList>(*window, "iva")->grid()->model()->rowCount(), 5);
    EXPECT_TRUE(m_dialogs.events().empty());
    window->reject();
}

TEST_F(TConfigTest, AggiungiNuovaAddsTheSuffixTheOperatorTypes)
{
    ui::TConfig window(m_environment, *m_db);
    ui::EditableList* suffixes = child<ui::EditableList>(window, "suffissi");
    ASSERT_EQ(suffixes->grid()->model()->rowCount(), 2);

    m_dialogs.answerText(QStringLiteral("d"));
    child<QPushButton>(window, "aggiungiNumerazione")->click();

    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::AskText),
              QStringList({"Inserire la lettera (es. A, B, C)"}));
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM suffissi_doc WHERE suffisso = 'D'")).toInt(),
              1);
    ASSERT_EQ(suffixes->grid()->model()->rowCount(), 3);
    EXPECT_EQ(suffixes->grid()->model()->index(2, 0).data().toString(), "D");
    window.reject();
}

TEST_F(TConfigTest, CellsEditedInTheGridGoThroughTheListLogic)
{
    m_db->exec(QStringLiteral("DELETE FROM marchi"));
    m_db->exec(QStringLiteral("INSERT INTO marchi (Descrizione, Codice) VALUES ('ACME', 'AC')"));
    ui::TConfig window(m_environment, *m_db);
    QAbstractItemModel* brands = child<ui::EditableList>(window, "marchi")->grid()->model();
    ASSERT_EQ(brands->rowCount(), 1);
    EXPECT_EQ(brands->headerData(0, Qt::Horizontal).toString(), "Codice");

    EXPECT_TRUE(brands->setData(brands->index(0, 0), QStringLiteral("ACM"), Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT Codice FROM marchi")).toString(), "ACM");

    EXPECT_FALSE(brands->setData(brands->index(0, 1), QString(), Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Il campo \"Descrizione\" è obbligatorio"}));
    EXPECT_EQ(brands->index(0, 1).data().toString(), "ACME") << "the grid shows what is stored";
    window.reject();
}

TEST_F(TConfigTest, ClosingWritesThePreferencesShown)
{
    {
        ui::TConfig window(m_environment, *m_db);
        window.findChild<QCheckBox*>()->setChecked(true); // the first box: "Visualizza i prezzi sui Ddt"
        child<QPushButton>(window, "esci")->click();
    }
    QFile ini(m_paths.impostazioniIni());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Prezzi_Ddt=1\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Disconnessione dopo=10 minuti\r\n"))) << text.toStdString();
}

TEST_F(TConfigTest, WithoutACompanyNoWindowOpensAndTheOperatorIsTold)
{
    core::Connections none;
    ui::WindowEnvironment environment{m_session, m_paths, none, m_dialogs, m_navigator, m_clock, m_reports};
    ui::WindowRegistry registry;
    ui::registerSettingsWindows(registry);
    EXPECT_EQ(registry.create(QStringLiteral("TConfig"), environment, {}, nullptr), nullptr);
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Nessuna azienda selezionata"}));
}

} // namespace
