#include <gtest/gtest.h>

#include "core/base/scripted_prompter.h"

namespace qnvr {
namespace {

TEST(ShowMsg, TurnsEveryTildeIntoALineBreakAndDefaultsTheCaption) {
    ScriptedPrompter prompter;
    ShowMsg(prompter, "first~~second", MsgStyle::Information);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "first\n\nsecond");
    EXPECT_EQ(prompter.Messages()[0].caption, "Quenvora W-2 2026");
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::Information);
}

TEST(ShowMsg, ReturnsTheScriptedAnswerThenTheStylesDefault) {
    ScriptedPrompter prompter;
    prompter.Answer(MsgButton::Ok);
    EXPECT_EQ(ShowMsg(prompter, "Delete?", MsgStyle::OkCancelDefaultCancel), MsgButton::Ok);
    EXPECT_EQ(ShowMsg(prompter, "Delete?", MsgStyle::OkCancelDefaultCancel), MsgButton::Cancel);
    EXPECT_EQ(ShowMsg(prompter, "Replace?", MsgStyle::YesNoDefaultNo), MsgButton::No);
}

}  // namespace
}  // namespace qnvr
