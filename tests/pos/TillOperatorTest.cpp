#include "pos/TillOperator.h"

#include "tests/support/FixedClock.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

TEST(TillOperatorSettings, ReadsTheTillKeysAndAnUnknownPeriodMeansNoAutomaticLogout)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("impostazioni.ini"));
    const auto settingsOf = [&](const QByteArray& bytes) {
        ct::writeFile(file, bytes);
        return pos::TillOperatorSettings::read(file);
    };

    pos::TillOperatorSettings s = settingsOf("[Impostazioni]\r\nOperatore Pos Richiesto=1\r\n"
                                             "Disconnessione Operatore Automatica=1\r\n"
                                             "Disconnessione dopo=15 minuti\r\n");
    EXPECT_TRUE(s.required);
    EXPECT_EQ(s.logoutAfterMs, 900'000);

    s = settingsOf(
        "[Impostazioni]\r\nDisconnessione Operatore Automatica=1\r\nDisconnessione dopo=7 minuti\r\n");
    EXPECT_FALSE(s.required);
    EXPECT_EQ(s.logoutAfterMs, std::nullopt) << "not the default ten minutes";

    s = settingsOf("[Impostazioni]\r\nDisconnessione Operatore Automatica=1\r\n");
    EXPECT_EQ(s.logoutAfterMs, 600'000) << "a missing period is the default one";

    s = settingsOf(
        "[Impostazioni]\r\nDisconnessione Operatore Automatica=0\r\nDisconnessione dopo=1 minuto\r\n");
    EXPECT_EQ(s.logoutAfterMs, std::nullopt);
}

TEST(TillOperator, LoginThroughTheOperatorListAndLogoutShowStateAndConnectionTime)
{
    ct::FixedClock clock(QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    ct::RecordingNavigator navigator;
    pos::TillOperator till(clock, {});
    QStringList announced;
    QObject::connect(&till, &pos::TillOperator::changed, [&](const QString& state, const QString& time) {
        announced << state + QLatin1Char(' ') + time;
    });

    EXPECT_FALSE(till.logIn(navigator)) << "the list closed without a login";
    EXPECT_EQ(till.state(), "Discoonnesso");
    EXPECT_EQ(till.connectionTime(), "00.00");

    navigator.returnFrom(QStringLiteral("TOperatorList"),
                         {.accepted = true, .value = QStringLiteral("anna")});
    EXPECT_TRUE(till.logIn(navigator));
    EXPECT_EQ(till.name(), "anna");
    clock.setNow(QDateTime(QDate(2024, 3, 15), QTime(10, 7, 59)));
    EXPECT_EQ(till.connectionTime(), "01.07");

    till.logOut();
    EXPECT_EQ(till.name(), "");
    EXPECT_EQ(till.connectionTime(), "00.00");
    EXPECT_EQ(announced,
              (QStringList{QStringLiteral("Connesso 00.00"), QStringLiteral("Discoonnesso 00.00")}));
    EXPECT_EQ(navigator.openedWindows(),
              (QStringList{QStringLiteral("TOperatorList"), QStringLiteral("TOperatorList")}));
}

} // namespace
