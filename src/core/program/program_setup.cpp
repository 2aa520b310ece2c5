#include "core/program/program_setup.h"
#include "core/program/web_update.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "core/base/errors.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;

void RemoveIfPresent(const fs::path& file) {
    std::error_code ignored;  // a file that is gone or locked is no reason to stop
    fs::remove(file, ignored);
}

}  // namespace

std::string SettingsRoot(bool developmentEnvironment) {
    return developmentEnvironment ? "Software\\QNVRTest\\2026\\" : "Software\\QNVR\\2026\\";
}

bool ScreenTooSmall(int width, int height) { return width < kMinScreenWidth && height < kMinScreenHeight; }

std::string ScreenTooSmallMessage() {
    return "Unable to run Quenvora W-2!\n\nThis program will not run under screen\nresolutions of less than 1280 X 800.";
}

std::string DataFolderOf(const std::string& documentsDir) {
    return IncludeTrailingSlash(documentsDir) + "QNVR/2026/Data/";
}

std::string PrepareDataFolder(const std::string& documentsDir) {
    const std::string data = DataFolderOf(documentsDir);
    std::error_code ignored;  // a fresh account may not even have its documents folder yet
    fs::create_directories(data, ignored);
    return data;
}

std::string MainCaption(bool payerFileOpen, const std::string& employerName) {
    std::string caption = std::string("Quenvora W-2 Version ") + kProgramVersion;
    // A window title shows "&" as it is; only menu captions need it doubled.
    if (payerFileOpen) caption += " - " + employerName;
    return caption;
}

std::string CommandLinePayerFile(const std::vector<std::string>& args) {
    std::string candidate;
    for (const std::string& arg : args) {
        if (!candidate.empty()) candidate += ' ';
        candidate += arg;
    }
    while (!candidate.empty() && candidate.back() == ' ') candidate.pop_back();
    if (candidate.empty() || fs::path(candidate).extension() != ".W226") return {};
    std::error_code error;
    return fs::is_regular_file(candidate, error) ? candidate : std::string();
}

void DeleteUpdateLeftovers(const std::string& programDir) {
    for (const char* name : {kUpdateInstallerFile, kUpdateInfoFile}) RemoveIfPresent(fs::path(programDir) / name);
}

void DeleteReportSnapshot() { RemoveIfPresent(kReportSnapshotFileName); }

std::string StateFolderFor(const std::string& programDir, bool programDirWritable, const std::string& xdgStateHome,
                           const std::string& homeDir) {
    if (programDirWritable) return IncludeTrailingSlash(programDir);
    // The base directory rules ignore a relative XDG_STATE_HOME.
    const std::string stateHome = !xdgStateHome.empty() && xdgStateHome.front() == '/'
                                      ? xdgStateHome
                                      : IncludeTrailingSlash(homeDir) + ".local/state";
    return IncludeTrailingSlash(stateHome) + "quenvora-w2/2026/";
}

std::string PrepareStateFolder(const std::string& programDir) {
    const auto environment = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    const bool writable = ::access(programDir.c_str(), W_OK | X_OK) == 0;
    const std::string state = StateFolderFor(programDir, writable, environment("XDG_STATE_HOME"), environment("HOME"));
    std::error_code ignored;
    fs::create_directories(state, ignored);  // a folder that cannot be made is reported where it is used
    return state;
}

void MakeStateFolderCurrent(const std::string& stateDir) {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (!error && fs::equivalent(current, stateDir, error)) return;
    fs::current_path(stateDir, error);
    if (error) throw EQnvrException("Unable to make " + stateDir + " the working folder: " + error.message());
}

}  // namespace qnvr
