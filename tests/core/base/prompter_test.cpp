#include <gtest/gtest.h>

#include "core/base/scripted_prompter.h"

namespace qnvr {
namespace {

TEST(ShowMsg, TurnsEveryTildeIntoALineBreakAndDefaultsTheCaption) {
    ScriptedPrompter prompter;
    ShowMsg("first~~second", mbInformation);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "first\n\nsecond");
    EXPECT_EQ(prompter.Messages()[0].caption, "Quenvora W-2 2026");
    EXPECT_EQ(prompter.Messages()[0].style, mbInformation);
}

TEST(ShowMsg, ReturnsTheScriptedAnswerThenTheStylesDefault) {
    ScriptedPrompter prompter;
    prompter.Answer(idOk);
    EXPECT_EQ(ShowMsg("Delete?", mbOkCancelDefaultCancel), idOk);
    EXPECT_EQ(ShowMsg("Delete?", mbOkCancelDefaultCancel), idCancel);
    EXPECT_EQ(ShowMsg("Replace?", mbYesNoDefaultNo), idNo);
}

}  // namespace
}  // namespace qnvr
