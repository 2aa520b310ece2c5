#include "core/base/core_ports.h"

namespace qnvr {
namespace {

// Without a user to ask, the safe answer is the one that changes nothing.
class Silent final : public Prompter {
public:
    MsgButton Show(const std::string&, const std::string&, MsgStyle style) override {
        switch (style) {
            case MsgStyle::OkCancel:
            case MsgStyle::OkCancelDefaultCancel: return MsgButton::Cancel;
            case MsgStyle::YesNoDefaultNo: return MsgButton::No;
            default: return MsgButton::Ok;
        }
    }
};

class Cancelled final : public PasswordEntry {
public:
    std::optional<std::string> Ask(const std::string&, const std::string&) override { return std::nullopt; }
};

class Unseen final : public BusyIndicator, public BusyNote {
public:
    void Begin() override {}
    void End() override {}
    void Show(const std::string&, const std::string&) override {}
    void Hide() override {}
};

}  // namespace

Prompter& SilentPrompter() {
    static Silent prompter;
    return prompter;
}

PasswordEntry& NoPasswordEntry() {
    static Cancelled entry;
    return entry;
}

BusyIndicator& NoBusyIndicator() {
    static Unseen unseen;
    return unseen;
}

BusyNote& NoBusyNote() {
    static Unseen unseen;
    return unseen;
}

}  // namespace qnvr
