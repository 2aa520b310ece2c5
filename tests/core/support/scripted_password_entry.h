#pragma once
// Answers the payer file password prompt from a script: a text is typed and confirmed,
// an empty entry (or an empty script) cancels. A test puts it in the ports it builds.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/base/password_entry.h"

namespace qnvr::testing {

class ScriptedPasswordEntry final : public PasswordEntry {
public:
    ScriptedPasswordEntry() = default;
    ScriptedPasswordEntry(const ScriptedPasswordEntry&) = delete;
    ScriptedPasswordEntry& operator=(const ScriptedPasswordEntry&) = delete;

    std::optional<std::string> Ask(const std::string& prompt, const std::string&) override {
        prompts.push_back(prompt);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> prompts;
};

}  // namespace qnvr::testing
