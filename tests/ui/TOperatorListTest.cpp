#include "ui/pos/TOperatorList.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

#include <QListWidget>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TOperatorListWindowTest : public ct::CompanySuite<TOperatorListWindowTest>,
                                protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"utenti"});
        db().exec(QStringLiteral("INSERT INTO utenti (id, nome, username, password, Attivo) VALUES "
                                 "(1, 'Anna', 'anna', 'x', 0), (2, 'Bruno', 'bruno', '1234', 1)"));
        useCompany(company());
    }
};

TEST_F(TOperatorListWindowTest, EnterChecksThePasswordAndAWrongOneIsCleared)
{
    ui::TOperatorList window(m_environment);
    window.show();
    ASSERT_EQ(window.operators()->count(), 1) << "anna is not active";

    window.operators()->setCurrentRow(0);
    type(window.password(), QStringLiteral("99"));
    pressEnter(window.password());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Password errata")});
    EXPECT_EQ(window.password()->text(), "");
    EXPECT_EQ(window.password()->echoMode(), QLineEdit::Password);

    type(window.password(), QStringLiteral("1234"));
    pressEnter(window.password());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const core::NavigationResult result = window.navigationResult();
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.value.toString(), "bruno");
}

} // namespace
