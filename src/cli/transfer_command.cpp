// qnvr transfer: last year's payer files converted into this year's format, many at a
// time, with the same conversion as the desktop program's transfer window. One line per
// file: converted, skipped (already there) or failed with the reason; a failure does
// not stop the others. Last year's files are only read. This is the one command that
// writes payer files: new pairs in the target folder, each written all-or-nothing.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "core/program/program_setup.h"
#include "core/base/errors.h"
#include "core/text/files.h"
#include "core/transfer/transfer.h"

namespace qnvr::cli {
namespace {

namespace fs = std::filesystem;

struct TransferArgs {
    bool overwrite = false;
    std::string to;
    std::string from;
    std::vector<std::string> names;
};

TransferArgs ParseArgs(const std::vector<std::string>& args) {
    TransferArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--overwrite") {
            parsed.overwrite = true;
        } else if (a == "--to") {
            if (i + 1 >= args.size()) throw UsageError("--to needs a folder");
            parsed.to = args[++i];
        } else if (a.starts_with("-") && a.size() > 1) {
            throw UsageError("unknown option " + a);
        } else if (parsed.from.empty()) {
            parsed.from = a;
        } else {
            parsed.names.push_back(a.ends_with(kPriorPayerExt) ? a : a + kPriorPayerExt);
        }
    }
    if (parsed.from.empty()) throw UsageError("give the folder of last year's payer files");
    return parsed;
}

// The user's documents folder as the desktop finds it: XDG_DOCUMENTS_DIR in
// user-dirs.dirs, else ~/Documents.
std::string DocumentsDir() {
    const char* home = std::getenv("HOME");
    const std::string homeDir = home && *home ? home : fs::current_path().string();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string configDir = config && *config ? config : homeDir + "/.config";
    std::ifstream dirs(configDir + "/user-dirs.dirs");
    for (std::string line; std::getline(dirs, line);) {
        if (!line.starts_with("XDG_DOCUMENTS_DIR=")) continue;
        std::string value = line.substr(18);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.starts_with("$HOME")) value = homeDir + value.substr(5);
        if (!value.empty() && value != homeDir && value != homeDir + "/") return IncludeTrailingSlash(value);
    }
    return IncludeTrailingSlash(homeDir + "/Documents");
}

int RunTransfer(const CorePorts&, const std::vector<std::string>& args) {
    const TransferArgs parsed = ParseArgs(args);
    std::string to;
    if (parsed.to.empty()) {
        to = PrepareDataFolder(DocumentsDir());
    } else {
        std::error_code error;
        if (!fs::is_directory(parsed.to, error)) throw EQnvrException(parsed.to + ": no such folder");
        to = IncludeTrailingSlash(parsed.to);
    }
    const std::string from = CheckPriorYearFolder(parsed.from);
    std::vector<std::string> names = parsed.names;
    if (names.empty())
        for (const std::string& entry : PriorYearFileEntries(from, to)) names.push_back(EntryFileName(entry));

    int failed = 0, converted = 0;
    for (const std::string& name : names) {
        try {
            if (name.find('/') != std::string::npos) throw EQnvrException("give a file name of " + from + ", not a path");
            std::error_code error;
            if (!fs::is_regular_file(from + name, error))
                throw EQnvrException(from + name + ": No such file or directory");
            if (TransferPayerFile(from, name, to, parsed.overwrite) == TransferResult::Transferred) {
                ++converted;
                std::cout << name << ": converted\n";
            } else {
                std::cout << name << ": skipped (already there)\n";
            }
        } catch (const std::exception& e) {
            ++failed;
            std::cout << name << ": failed: " << e.what() << '\n';
        }
    }
    if (converted > 0) {
        try {
            const std::string copied = CarryOverEfw2Settings(PriorYearFolders({StateDir(), ProgramDir()}), StateDir());
            if (!copied.empty()) std::cout << "QNVR.W2S: carried over from " << copied << '\n';
        } catch (const std::exception& e) {
            ++failed;
            std::string reason = e.what();
            std::replace(reason.begin(), reason.end(), '~', ' ');
            std::cout << "QNVR.W2S: failed: " << reason << '\n';
        }
    }
    std::cout.flush();
    return failed == 0 ? 0 : 1;
}

const CommandRegistration kTransfer(
    {"transfer", "[--overwrite] [--to DIR] FROM_DIR [NAME.W325 ...]",
     "Converts last year's payer files of FROM_DIR (all, or the named ones) into this year's format in DIR "
     "(default: the data folder); files already there are skipped unless --overwrite is given.",
     RunTransfer});

}  // namespace
}  // namespace qnvr::cli
