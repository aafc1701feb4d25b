#include "foundation/LookupEditor.h"

#include "core/Session.h"
#include "tests/sizes/SizesFixture.h"
#include "tests/support/Login.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using foundation::Lookup;

namespace {

class SizeListsTest : public ct::SizesSuite<SizeListsTest>
{
protected:
    void SetUp() override
    {
        SizesSuite::SetUp();
        emptyTables({"gruppi_taglie", "taglie"});
        ct::logIn(m_session, {core::Privilege::Cancellazione}, {1, QStringLiteral("NEGOZIO")});
    }

    static int rowOf(foundation::LookupEditor& groups, const QString& name)
    {
        for (int row = 0; row < groups.rowCount(); ++row)
            if (groups.value(row, QStringLiteral("DESCRIZIONE")).toString() == name)
                return row;
        return -1;
    }

    QStringList listed() // the size groups the item card offers
    {
        return rows(QStringLiteral("SELECT Descrizione FROM gruppi_taglie ORDER BY id"));
    }

    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
};

TEST_F(SizeListsTest, ASizeGroupIsOfferedOnTheItemCardAndItsNameFollowsEverywhere)
{
    foundation::LookupEditor groups(db(), Lookup::TaglieTC, m_session, m_dialogs);
    ASSERT_TRUE(groups.add({{"DESCRIZIONE", "BAMBINO"}, {"TG1", "2A"}, {"TG2", "4A"}}));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("BAMBINO")});
    EXPECT_FALSE(groups.add({{"DESCRIZIONE", "bambino"}})) << "one group per name";
    EXPECT_FALSE(groups.add({{"DESCRIZIONE", "NEONATO"}, {"TG1", "3-6MESI"}}))
        << "a label holds 4 characters";

    db().exec(QStringLiteral(
                  "INSERT INTO disptc (idarticolo, Gruppo_taglia, Colore) VALUES (:ID, 'ADULTO', 'ROSSO')"),
              {{"ID", m_item}});
    ASSERT_TRUE(groups.setValue(rowOf(groups, QStringLiteral("ADULTO")), QStringLiteral("DESCRIZIONE"),
                                QStringLiteral("UOMO")));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GruppoTaglia FROM articoli")).toString(),
              QStringLiteral("UOMO"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Gruppo_taglia FROM disptc")).toString(),
              QStringLiteral("UOMO"));

    m_dialogs.answerConfirm(true).answerConfirm(true);
    EXPECT_FALSE(groups.remove(rowOf(groups, QStringLiteral("UOMO"))));
    EXPECT_TRUE(groups.remove(rowOf(groups, QStringLiteral("BAMBINO"))));
    EXPECT_EQ(listed(), QStringList()) << "a deleted group is no longer offered";
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              (QStringList{QStringLiteral("Eliminare il gruppo taglie selezionato?"),
                           QStringLiteral("Eliminare il gruppo taglie selezionato?")}));
    EXPECT_EQ(
        m_dialogs.messages(),
        (QStringList{
            QStringLiteral("Il valore \"bambino\" del campo \"Gruppo taglie\" è già presente"),
            QStringLiteral("Il campo \"TG1\" può contenere al massimo 4 caratteri"),
            QStringLiteral("Impossibile eliminare il gruppo taglie: è assegnato ad almeno un articolo")}));
}

TEST_F(SizeListsTest, DeletingSizesAndColoursAsksAndNeedsTheRight)
{
    foundation::LookupEditor colours(db(), Lookup::Colori, m_session, m_dialogs);
    foundation::LookupEditor sizes(db(), Lookup::Taglie, m_session, m_dialogs);
    ASSERT_TRUE(sizes.add({{"Gruppo_Taglia", "ADULTO"}, {"Codice", "S"}, {"Descrizione", "Small"}}));
    ASSERT_TRUE(colours.reload());
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(colours.remove(0));
    EXPECT_TRUE(sizes.remove(0));
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              (QStringList{QStringLiteral("Eliminare il Colore selezionato?"),
                           QStringLiteral("Eliminare la Taglia selezionata?")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM colori")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM taglie")), 0);

    m_session.logIn({}, {1, QStringLiteral("NEGOZIO")}, core::Privileges());
    m_dialogs.clear();
    EXPECT_FALSE(colours.remove(0));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM colori")), 3);
}

} // namespace
