#include "foundation/MainCommands.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace carvendo::foundation;

namespace {

// What the table itself can get wrong; what each command does is shown by running it (PrincipaleTest).
TEST(MainCommandsTest, IdsAreUniqueAndEveryCommandShowsSomewhere)
{
    std::set<QString> ids;
    for (const MainCommand& command : MainCommands::standard().all()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id.toStdString();
        EXPECT_FALSE(command.places.empty()) << command.id.toStdString();
        const bool opensWindow =
            command.action == CommandAction::OpenWindow || command.action == CommandAction::NewDocument;
        EXPECT_EQ(opensWindow, !command.requiredWindow().isEmpty()) << command.id.toStdString();
    }
    MainCommand repeated;
    repeated.id = QStringLiteral("clienti");
    EXPECT_THROW(MainCommands({repeated, repeated}), std::invalid_argument);
}

} // namespace
