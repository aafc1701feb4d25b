#include "ScriptedDialogs.h"

#include "QtPrinters.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using carvendo::core::ConfirmButtons;
using carvendo::testing::ScriptedDialogs;

namespace {

// Every logic test trusts this double to catch a question nobody expected; these cases make sure
// a forgotten answer fails loudly and never turns into a yes.
TEST(ScriptedDialogs, UnscriptedQuestionFailsTheTestAndAnswersNo)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            EXPECT_FALSE(dialogs.confirm("Sei sicuro di voler eliminare l'immagine?"));
        },
        "Sei sicuro di voler eliminare l'immagine?");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.answerText("B");
            EXPECT_FALSE(dialogs.confirm("Eliminare il sospeso selezionato?"));
            EXPECT_EQ(dialogs.askText("Nuova numerazione", "Inserire la lettera (es. A, B, C)"), "B");
        },
        "needs answerConfirm");
}

TEST(ScriptedDialogs, AnswersAreUsedInOrderAndEverythingIsRecorded)
{
    ScriptedDialogs dialogs;
    dialogs.answerConfirm(true).answerText("b").answerOption(1).answerCancel();

    dialogs.warning("Attenzione! Scegliere un Cliente");
    EXPECT_TRUE(dialogs.confirm("Vuoi procedere?", ConfirmButtons::OkCancel));
    EXPECT_EQ(dialogs.askText("Nuova numerazione", "Inserire la lettera (es. A, B, C)"), "b");
    EXPECT_EQ(dialogs.chooseOption("Preventivo", "Scegli", {"Accettato", "In lavorazione", "Annulla"}), 1);
    EXPECT_EQ(dialogs.chooseFile("Salva", "PDF (*.pdf)", carvendo::core::FileMode::Save), std::nullopt);
    dialogs.beep();

    EXPECT_EQ(dialogs.messages(), QStringList{"Attenzione! Scegliere un Cliente"});
    EXPECT_EQ(dialogs.events()[1].buttons, ConfirmButtons::OkCancel);
    EXPECT_EQ(dialogs.beeps(), 1);
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST(ScriptedDialogs, UnusedAnswersFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.answerConfirm(true);
        },
        "never used");
}

} // namespace
