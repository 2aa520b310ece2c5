#include "core/program/payer_file_commands.h"

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>
#include <system_error>

#include "core/program/program_setup.h"
#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/entry/filter_keys.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;

// A pasted name can hold what the new-file window's filter keeps from being typed.
bool IsPayerName(const std::string& name) {
    static const CharSet allowed = *ParseValidChars(kPayerNameValidChars);
    return std::all_of(name.begin(), name.end(), [](char c) {
        return CharPassesFilter(allowed, static_cast<unsigned char>(c));
    });
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

// A copy made beside its target under a hidden name, removed again unless put in place.
class StagedCopy {
public:
    StagedCopy(const std::string& source, std::string target)
        : target_(std::move(target)), staged_(StagedNameFor(target_)) {
        CopyFileChecked(source, staged_, false);
    }
    ~StagedCopy() {
        std::error_code ignored;
        if (!placed_) fs::remove(staged_, ignored);
    }
    StagedCopy(const StagedCopy&) = delete;
    StagedCopy& operator=(const StagedCopy&) = delete;

    void PutInPlace() {
        // Where renaming is refused, the checked copy does the job or says why it cannot.
        if (::rename(staged_.c_str(), target_.c_str()) != 0) CopyFileChecked(staged_, target_, false);
        else placed_ = true;
    }

private:
    static std::string StagedNameFor(const std::string& target) {
        const fs::path path(target);
        return (path.parent_path() / ("." + path.filename().string() + ".staged")).string();
    }

    std::string target_;
    std::string staged_;
    bool placed_ = false;
};

// A target that may not be replaced (a read-only file) is refused by the checked copy
// itself, before anything is written.
void RefuseUnreplaceableTarget(const std::string& source, const std::string& target) {
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        CopyFileChecked(source, target, false);
}

// Runs a copy step under the busy notice. The notice and the hourglass are down when it
// returns; a failure is handed back for the command to raise after its finishing steps.
std::exception_ptr CopyUnderBusyNotice(const CorePorts& ports, const std::string& text, const std::function<void()>& copy) {
    BusyNotice notice(ports.busy, ports.busyNote, kAppTitle, text);
    try {
        copy();
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

}  // namespace

void CopyPayerFilePair(const std::string& sourceW2, const std::string& targetW2) {
    const std::string sourceW3 = TFrmDataModule::W3PathFor(sourceW2);
    const std::string targetW3 = TFrmDataModule::W3PathFor(targetW2);
    RefuseUnreplaceableTarget(sourceW2, targetW2);
    RefuseUnreplaceableTarget(sourceW3, targetW3);
    StagedCopy w2(sourceW2, targetW2);
    StagedCopy w3(sourceW3, targetW3);
    w2.PutInPlace();
    w3.PutInPlace();
}

PayerFileCommands::PayerFileCommands(TFrmDataModule& dataModule, SettingsStore& settings, PayerFileWindow& window,
                                     std::string dataFolder)
    : dm_(dataModule), settings_(settings), window_(window), dataFolder_(std::move(dataFolder)) {}

std::string PayerFileCommands::NewFilePath(const std::string& name) const { return dataFolder_ + name + kW2Extension; }

std::string PayerFileCommands::SaveAsTarget(const std::string& chosenPath) {
    const fs::path chosen(chosenPath);
    const std::string name = chosen.filename().string();
    const std::string base = name.find('.') == std::string::npos ? name : TextBefore(name, '.');
    return (chosen.parent_path() / (base + kW2Extension)).string();
}

// Nothing is reviewed in a file just opened, whether or not the open succeeded.
void PayerFileCommands::OpenAndClearReviews(const std::string& path) {
    try {
        dm_.ClosePayerFile();
        dm_.OpenPayerFile(path);
    } catch (...) {
        dm_.ClearReviews();
        throw;
    }
    dm_.ClearReviews();
}

void PayerFileCommands::Open(const std::string& chosenPath) {
    if (UpperCase(fs::path(chosenPath).extension().string()) != kW2Extension)
        throw EStoreException("The selected file is not valid", chosenPath, 0, StoreOperation::Open);
    OpenAndClearReviews(chosenPath);
}

bool PayerFileCommands::New(const std::string& typedName) {
    const std::string name = Trim(typedName);
    if (name.empty()) return false;
    if (!IsPayerName(name))
        throw EQnvrException(
            "A Company/Employer File name may contain only letters, digits, blanks~and the characters , ! # $ % & ( ) - "
            "_ { } @");
    const std::string path = NewFilePath(name);
    // A W-3 file left without its W-2 file counts too: the new payer would inherit it.
    if (Exists(path) || Exists(TFrmDataModule::W3PathFor(path)))
        throw EStoreException("File already exists!", path, 0, StoreOperation::Open);
    dm_.ClosePayerFile();
    dm_.OpenPayerFile(path);
    if (!dm_.PayerFileOpen()) return false;
    window_.ShowW3Entry();
    // Record 1 came with the file rather than from adding an employee, so it gets the
    // presets every new employee gets from the W-3 record the user has just entered.
    dm_.ApplyNewEmployeePresets();
    dm_.RSW2().PostRec();
    window_.ShowW2Entry();
    dm_.ClearReviews();
    return true;
}

void PayerFileCommands::SaveAs(const std::string& chosenPath) {
    if (!dm_.PayerFileOpen()) return;
    const std::string target = SaveAsTarget(chosenPath);
    if (Exists(target) &&
        ShowMsg(dm_.Ports().prompter, "This file already exists. Do you want to replace it?", MsgStyle::OkCancelDefaultCancel) != MsgButton::Ok)
        return;
    const std::string current = dm_.PayerFilePath();
    const std::exception_ptr failure =
        CopyUnderBusyNotice(dm_.Ports(), "Saving " + current + " as " + FileNameOf(target), [&] {
            dm_.ClosePayerFile();
            CopyPayerFilePair(current, target);
        });
    std::string reopen = current;
    if (!failure) {
        ShowMsg(dm_.Ports().prompter, "Files have been successfully saved", MsgStyle::Plain);
        reopen = target;
    }
    dm_.ReopenPayerFile(reopen);
    if (failure) std::rethrow_exception(failure);
}

std::string PayerFileCommands::BackupFolder() const {
    return settings_.ReadString(kBackupKey, kBackupPathValue).value_or("");
}

void PayerFileCommands::RememberBackupFolder(const std::string& folder) {
    settings_.WriteString(kBackupKey, kBackupPathValue, folder);
}

void PayerFileCommands::Backup(const std::string& folder) {
    if (!dm_.PayerFileOpen() || IsBlank(folder)) return;
    RememberBackupFolder(folder);
    const std::string current = dm_.PayerFilePath();
    const std::exception_ptr failure = CopyUnderBusyNotice(dm_.Ports(), "Copying files to " + folder, [&] {
        dm_.ClosePayerFile();
        CopyPayerFilePair(current, IncludeTrailingSlash(folder) + FileNameOf(current));
    });
    dm_.ReopenPayerFile(current);
    if (failure) std::rethrow_exception(failure);
    ShowMsg(dm_.Ports().prompter, "Backup completed successfully", MsgStyle::Plain);
}

void PayerFileCommands::Restore(const std::string& folder) {
    if (!dm_.PayerFileOpen() || IsBlank(folder)) return;
    RememberBackupFolder(folder);
    const std::string current = dm_.PayerFilePath();
    const std::exception_ptr failure = CopyUnderBusyNotice(dm_.Ports(), "Copying files from " + folder, [&] {
        dm_.ClosePayerFile();
        CopyPayerFilePair(IncludeTrailingSlash(folder) + FileNameOf(current), current);
    });
    dm_.ReopenPayerFile(current);
    dm_.ClearReviews();
    if (failure) std::rethrow_exception(failure);
    ShowMsg(dm_.Ports().prompter, "File restore completed successfully", MsgStyle::Plain);
}

void PayerFileCommands::Close() { dm_.ClosePayerFile(); }

void PayerFileCommands::OpenRecent(const std::string& path) {
    if (path.empty() || !Exists(path)) throw EStoreException("File not found", path, 0, StoreOperation::Open);
    OpenAndClearReviews(path);
}

void PayerFileCommands::OpenFromCommandLine(const std::vector<std::string>& args) {
    const std::string path = CommandLinePayerFile(args);
    if (!path.empty()) OpenAndClearReviews(path);
}

}  // namespace qnvr
