#pragma once
// The payer file password. It is kept in the W-3 record in scrambled form, so it travels
// with every copy, backup and transfer of the file, and is asked for at each ordinary open.
#include <optional>
#include <string>
#include <string_view>

#include "core/base/password_entry.h"
#include "core/store/records.h"

namespace qnvr {

// Each letter or digit becomes its partner in the program's fixed cipher table; every
// other character is dropped. The table is part of the file format and never changes.
std::string Scramble(std::string_view plain);
std::string Unscramble(std::string_view stored);


enum TPasswordCase { pcNone, pcUpper, pcLower };

// The password prompt of the payer file check.
class TPasswordDialog {
public:
    // Asks through entry (the program's password window).
    explicit TPasswordDialog(PasswordEntry& entry) : entry_(entry) {}

    std::string Prompt = "Enter File Password";
    std::string Caption;   // blank: the application title
    std::string Password;  // the expected plain password
    TPasswordCase PasswordCase = pcNone;

    // True when the user confirmed and the typed text equals Password exactly.
    bool Execute();
    bool Cancel() const { return cancel_; }  // the last prompt was cancelled

private:
    PasswordEntry& entry_;
    bool cancel_ = false;
};

// The rules of the Set/Change Password window for its two fields. A blank first field
// removes the password. Returns the message to show, or nothing when the change was
// stored into the record (which the caller then posts).
std::optional<std::string> ChangePassword(const std::string& pw1, const std::string& pw2, W3Record& record);

// A character the password fields let through (letters and digits).
bool IsPasswordChar(char c);

}  // namespace qnvr
