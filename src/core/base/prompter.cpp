#include "core/base/prompter.h"

namespace qnvr {
namespace {

// Without a user to ask, the safe answer is the one that changes nothing.
class SilentPrompter final : public Prompter {
public:
    int Show(const std::string&, const std::string&, int style) override {
        switch (style) {
            case mbOkCancel:
            case mbOkCancelDefaultCancel: return idCancel;
            case mbYesNoDefaultNo: return idNo;
            default: return idOk;
        }
    }
};

SilentPrompter silentPrompter;
Prompter* currentPrompter = nullptr;

}  // namespace

void SetPrompter(Prompter* prompter) { currentPrompter = prompter; }

Prompter& CurrentPrompter() { return currentPrompter ? *currentPrompter : silentPrompter; }

std::string TildeToBreak(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c == '~') c = '\n';
    return result;
}

int ShowMsg(const std::string& text, const std::string& caption, int style) {
    return CurrentPrompter().Show(TildeToBreak(text), caption, style);
}

}  // namespace qnvr
