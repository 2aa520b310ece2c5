#pragma once
// How the program asks for a payer file's password: the desktop program with its
// password window, tests with a script.
#include <optional>
#include <string>

namespace qnvr {

class PasswordEntry {
public:
    virtual ~PasswordEntry() = default;
    // The typed text; an empty optional means the user cancelled.
    virtual std::optional<std::string> Ask(const std::string& prompt, const std::string& caption) = 0;
};

}  // namespace qnvr
