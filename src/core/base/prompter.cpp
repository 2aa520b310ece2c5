#include "core/base/prompter.h"

namespace qnvr {
namespace {

// Without a user to ask, the safe answer is the one that changes nothing.
class SilentPrompter final : public Prompter {
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

SilentPrompter silentPrompter;
Prompter* currentPrompter = nullptr;

}  // namespace

MsgButton DefaultButton(MsgStyle style) {
    switch (style) {
        case MsgStyle::OkCancelDefaultCancel: return MsgButton::Cancel;
        case MsgStyle::YesNoDefaultNo: return MsgButton::No;
        default: return MsgButton::Ok;
    }
}

void SetPrompter(Prompter* prompter) { currentPrompter = prompter; }

Prompter& CurrentPrompter() { return currentPrompter ? *currentPrompter : silentPrompter; }

std::string TildeToBreak(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c == '~') c = '\n';
    return result;
}

MsgButton ShowMsg(const std::string& text, const std::string& caption, MsgStyle style) {
    return CurrentPrompter().Show(TildeToBreak(text), caption, style);
}

}  // namespace qnvr
