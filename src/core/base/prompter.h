#pragma once
// The prompter: how the program asks the user something or tells them something.
// The desktop program's ports hold a message-box prompter, tests a ScriptedPrompter
// (core/base/core_ports.h).
#include <string>

namespace qnvr {

// The application title, the caption of every message unless a window says otherwise.
inline constexpr const char* kAppTitle = "Quenvora W-2 2026";

// Message box styles, as callers pass them (buttons, icon, default button). The values
// are the platform's message-box flags.
enum class MsgStyle : int {
    Plain = 0,                    // OK
    Error = 16,                   // OK, stop icon
    Warning = 48,                 // OK, warning icon (the input fields' "This field is required!")
    Information = 64,             // OK, information icon
    OkCancel = 33,                // OK and Cancel, question icon, OK default
    OkCancelDefaultCancel = 289,  // OK and Cancel, question icon, Cancel default
    YesNoDefaultNo = 308,         // Yes and No, warning icon, No default
};

// The pressed button, valued as the platform's button identifiers.
enum class MsgButton : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// The button a style presses when the user just confirms (Enter): Cancel for
// OkCancelDefaultCancel, No for YesNoDefaultNo, otherwise OK.
MsgButton DefaultButton(MsgStyle style);

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows text (line breaks already in place) and returns the pressed button.
    virtual MsgButton Show(const std::string& text, const std::string& caption, MsgStyle style) = 0;
};

// Every "~" becomes a line break.
std::string TildeToBreak(const std::string& text);

// Shows text through prompter after TildeToBreak; returns the pressed button.
MsgButton ShowMsg(Prompter& prompter, const std::string& text, const std::string& caption, MsgStyle style);
inline MsgButton ShowMsg(Prompter& prompter, const std::string& text, MsgStyle style) {
    return ShowMsg(prompter, text, kAppTitle, style);
}

}  // namespace qnvr
