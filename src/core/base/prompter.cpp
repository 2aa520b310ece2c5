#include "core/base/prompter.h"

namespace qnvr {

MsgButton DefaultButton(MsgStyle style) {
    switch (style) {
        case MsgStyle::OkCancelDefaultCancel: return MsgButton::Cancel;
        case MsgStyle::YesNoDefaultNo: return MsgButton::No;
        default: return MsgButton::Ok;
    }
}

std::string TildeToBreak(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c == '~') c = '\n';
    return result;
}

MsgButton ShowMsg(Prompter& prompter, const std::string& text, const std::string& caption, MsgStyle style) {
    return prompter.Show(TildeToBreak(text), caption, style);
}

}  // namespace qnvr
