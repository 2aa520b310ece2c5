#pragma once
// A prompter that records every message and answers from a script. Tests of the core
// and of the windows put one in the ports they build, so that no modal box ever blocks
// a test.
#include <deque>
#include <string>
#include <vector>

#include "core/base/prompter.h"

namespace qnvr {

class ScriptedPrompter final : public Prompter {
public:
    struct Message {
        std::string text;  // as shown: line breaks in place of "~"
        std::string caption;
        MsgStyle style;
    };

    ScriptedPrompter() = default;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    // Queues the answer to the next question; unscripted messages are answered with the
    // style's default button.
    void Answer(MsgButton button) { answers_.push_back(button); }

    MsgButton Show(const std::string& text, const std::string& caption, MsgStyle style) override {
        messages_.push_back({text, caption, style});
        if (!answers_.empty()) {
            MsgButton answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return DefaultButton(style);
    }

    const std::vector<Message>& Messages() const { return messages_; }
    // The texts shown, with "~" in place of line breaks, as the program's sources write them.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : messages_) {
            std::string t = m.text;
            for (char& c : t)
                if (c == '\n') c = '~';
            texts.push_back(t);
        }
        return texts;
    }
    void Clear() { messages_.clear(); }
    std::size_t PendingAnswers() const { return answers_.size(); }

private:
    std::vector<Message> messages_;
    std::deque<MsgButton> answers_;
};

}  // namespace qnvr
