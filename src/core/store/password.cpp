#include "core/store/password.h"

#include <algorithm>
#include <cctype>

#include "core/base/prompter.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

constexpr std::string_view kPlain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// Part of the stored format: files scrambled with this table can only be read with it.
constexpr std::string_view kCipher = "ZWUru%Nd)J^.4$SYm7HxPs+Mi~voDby*B{T>OI:g6jL,@h5EF(8Q&|CR;Va_93";
static_assert(kPlain.size() == 62 && kCipher.size() == 62);

std::string Substitute(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    for (char c : text) {
        auto at = from.find(c);
        if (at != std::string_view::npos) result += to[at];
    }
    return result;
}

}  // namespace

std::string Scramble(std::string_view plain) { return Substitute(plain, kPlain, kCipher); }
std::string Unscramble(std::string_view stored) { return Substitute(stored, kCipher, kPlain); }

bool IsPasswordChar(char c) { return kPlain.find(c) != std::string_view::npos; }

bool TPasswordDialog::Execute() {
    const std::optional<std::string> typed = entry_.Ask(Prompt, IsBlank(Caption) ? std::string(kAppTitle) : Caption);
    cancel_ = !typed.has_value();
    if (cancel_) return false;
    std::string text = *typed;
    if (PasswordCase != pcNone)
        std::transform(text.begin(), text.end(), text.begin(), [this](unsigned char c) {
            return static_cast<char>(PasswordCase == pcUpper ? std::toupper(c) : std::tolower(c));
        });
    return text == Password;
}

std::optional<std::string> ChangePassword(const std::string& pw1, const std::string& pw2, W3Record& record) {
    if (IsBlank(pw1)) {
        record.Password.clear();
        return std::nullopt;
    }
    if (pw1 != pw2) return "The Password and Confirmation fields don't match";
    if (Trim(pw1).size() <= 4) return "The Password cannot be less than 5 characters";
    record.Password = LeftStr(Scramble(pw1), 12);
    return std::nullopt;
}

}  // namespace qnvr
