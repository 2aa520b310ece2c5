#pragma once
// The prompter: how the core asks the user something or tells them something.
// The desktop program installs a message-box prompter; tests install ScriptedPrompter.
#include <string>

namespace qnvr {

// The application title, the caption of every message unless a window says otherwise.
inline constexpr const char* kAppTitle = "Quenvora W-2 2026";

// Message box styles, as callers pass them (buttons, icon, default button).
enum MsgStyle : int {
    mbPlain = 0,                  // OK
    mbError = 16,                 // OK, stop icon
    mbWarning = 48,               // OK, warning icon (the input fields' "This field is required!")
    mbInformation = 64,           // OK, information icon
    mbOkCancel = 33,              // OK and Cancel, question icon, OK default
    mbOkCancelDefaultCancel = 289,  // OK and Cancel, question icon, Cancel default
    mbYesNoDefaultNo = 308,       // Yes and No, warning icon, No default
};

// The pressed button.
enum MsgButton : int { idOk = 1, idCancel = 2, idYes = 6, idNo = 7 };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows text (line breaks already in place) and returns the pressed button.
    virtual int Show(const std::string& text, const std::string& caption, int style) = 0;
};

// Installs the program-wide prompter (not owned); nullptr restores the default, which
// answers OK to plain messages and Cancel (or No) to questions without showing anything.
void SetPrompter(Prompter* prompter);
Prompter& CurrentPrompter();

// Every "~" becomes a line break.
std::string TildeToBreak(const std::string& text);

// Shows text through the current prompter after TildeToBreak; returns the pressed button.
int ShowMsg(const std::string& text, const std::string& caption, int style);
inline int ShowMsg(const std::string& text, int style) { return ShowMsg(text, kAppTitle, style); }

}  // namespace qnvr
