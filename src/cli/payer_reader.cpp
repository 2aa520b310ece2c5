#include "cli/payer_reader.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "core/program/program_setup.h"
#include "core/base/errors.h"
#include "core/efw2/efw2_records.h"
#include "core/entry/w2_rules.h"
#include "core/entry/w3_rules.h"
#include "core/store/password.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr::cli {
namespace {

namespace fs = std::filesystem;

std::string OnOneLine(std::string text) {
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

void RequireFile(const std::string& path, int recordSize) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) throw EQnvrException(path + ": no such payer file");
    if (fs::file_size(path, error) < static_cast<std::uintmax_t>(recordSize))
        throw EQnvrException(path + ": holds no complete record; the payer file is damaged");
}

}  // namespace

std::string ProgramDir() {
    if (const char* dir = std::getenv("QNVR_PROGRAM_DIR"); dir && *dir) return IncludeTrailingSlash(dir);
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return IncludeTrailingSlash((error ? fs::current_path() : exe.parent_path()).string());
}

std::string StateDir() { return PrepareStateFolder(ProgramDir()); }

MsgButton CliPrompter::Show(const std::string&, const std::string&, MsgStyle style) {
    return DefaultButton(style);
}

std::optional<std::string> CliPasswordEntry::Ask(const std::string& prompt, const std::string&) {
    if (const char* password = std::getenv("QNVR_PASSWORD")) return std::string(password);
    if (!::isatty(STDIN_FILENO)) return std::nullopt;
    std::cerr << prompt << ": " << std::flush;
    termios saved{};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    }
    std::string password;
    const bool read = static_cast<bool>(std::getline(std::cin, password));
    if (quiet) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::cerr << '\n';
    if (!read) return std::nullopt;
    return password;
}

PayerReader::PayerReader(const CorePorts& ports, const std::string& path, PayerAccess access)
    : path_(path), password_(ports.passwordEntry),
      data_(CorePorts{.prompter = ports.prompter, .passwordEntry = password_, .busy = ports.busy, .busyNote = ports.busyNote}) {
    // The W-3 file of a pair names no pair: opened as one, it would be read as both files.
    if (UpperCase(fs::path(path).extension().string()) != kW2Extension)
        throw EQnvrException(path + ": is no payer file; give its " + kW2Extension + " file");
    RequireFile(path, W2Record::kSize);
    RequireFile(TFrmDataModule::W3PathFor(path), W3Record::kSize);
    if (access == PayerAccess::Read) {
        data_.ReadOnly();
    } else {
        for (TRecordSet* store : {&data_.RSW2(), &data_.RSW3()}) {
            store->AutoCreate = false;
            store->ShowOpenMode = false;
        }
    }
    try {
        data_.OpenPayerFile(path);
    } catch (const EQnvrException& error) {
        throw EQnvrException(path + ": " + OnOneLine(TildeToBreak(error.what())));
    }
    if (data_.PayerFileOpen() && data_.RSW2().Active()) {
        // A damaged file is refused rather than read in part.
        for (const TRecordSet* store : {&data_.RSW3(), &data_.RSW2()})
            if (!store->SizeProblem().empty())
                throw EQnvrException(OnOneLine(TildeToBreak(store->SizeProblem())) + " Nothing was read.");
        return;
    }
    if (password_.asked)
        throw EQnvrException(path + ": the payer file is protected by a password; give it in QNVR_PASSWORD");
    throw EQnvrException(path + ": the payer file cannot be opened");
}

PayerReader::~PayerReader() { data_.ClosePayerFile(); }

std::vector<W2Record> PayerReader::Employees() {
    std::vector<W2Record> employees;
    employees.reserve(static_cast<std::size_t>(data_.RSW2().RecordCount()));
    data_.ForEachW2([&](const W2Record& w2) { employees.push_back(w2); });
    return employees;
}

void PayerReader::RecomputeTotals() { data_.ComputeW3Totals(); }

void PayerCheck::Add(const W2Record& w2) {
    ++number_;
    if (const auto failure = ValidateW2(w2))
        failures_.push_back("W-2 record " + std::to_string(number_) + ": " + OnOneLine(failure->message));
    if (withWarnings_)
        for (const std::string& warning : W2Warnings(w2))
            warnings_.push_back("W-2 record " + std::to_string(number_) + ": warning: " + warning);
}

std::vector<std::string> PayerCheck::Finish(const W3Record& w3, std::vector<std::string>* warnings) {
    std::vector<std::string> failures;
    if (const auto failure = ValidateW3(w3)) failures.push_back("W-3: " + OnOneLine(failure->message));
    failures.insert(failures.end(), failures_.begin(), failures_.end());
    if (warnings) {
        for (const Efw2TextChange& change : Efw2TextChanges(w3)) warnings->push_back("W-3: warning: " + change.Warning());
        warnings->insert(warnings->end(), warnings_.begin(), warnings_.end());
    }
    return failures;
}

std::vector<std::string> CheckPayer(PayerReader& payer, std::vector<std::string>* warnings) {
    PayerCheck check(warnings != nullptr);
    payer.Data().ReadEachW2([&](const W2Record& w2) { check.Add(w2); });
    return check.Finish(payer.W3(), warnings);
}

}  // namespace qnvr::cli
