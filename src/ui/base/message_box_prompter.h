#pragma once
// The program's message boxes: the prompter of the desktop program's ports, showing each
// message in a QMessageBox with the buttons, icon and default button of its style.
#include "core/base/prompter.h"

namespace qnvr {

class MessageBoxPrompter final : public Prompter {
public:
    MsgButton Show(const std::string& text, const std::string& caption, MsgStyle style) override;
};

}  // namespace qnvr
