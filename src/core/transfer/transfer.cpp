#include "core/transfer/transfer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/base/errors.h"
#include "core/text/files.h"
#include "core/text/text.h"
#include "core/transfer/prior_year_records.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsFileName = "QNVR.W2S";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string BaseName(std::string_view name) {
    return std::string(EndsWith(name, kPriorPayerExt) ? name.substr(0, name.size() - 5) : name);
}

[[noreturn]] void Fail(const std::string& path, int error) {
    throw ETransferException(path + ": " + std::strerror(error));
}

// The whole of a file of last year, opened read-only and without a lock.
std::vector<std::uint8_t> ReadPriorFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail(path, errno);
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            Fail(path, error);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), block, block + n);
    }
    ::close(fd);
    return bytes;
}

// Refuses a target that a running copy of the program holds open (it keeps an advisory
// lock on its payer file): replacing it under that copy would lose what it writes next.
void RequireNotInUse(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;  // missing (or unreadable: the write reports it)
    const bool inUse = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    if (inUse) throw ETransferException(path + ": the payer file is open in Quenvora W-2; close it and try again");
}

std::optional<std::string> ContentOf(const std::string& path) {
    std::error_code error;
    if (!fs::exists(path, error)) return std::nullopt;
    auto bytes = ReadPriorFile(path);
    return std::string(bytes.begin(), bytes.end());
}

void Replace(const std::string& path, std::string_view content) {
    try {
        ReplaceFileWhole(path, content);
    } catch (const std::system_error& e) {
        Fail(path, e.code().value());
    }
}

bool LessForList(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); });
    return less || (!greater && a < b);
}

}  // namespace

std::string DefaultPriorYearFolder(const std::string& documentsDir) {
    return IncludeTrailingSlash(documentsDir) + "QNVR/2025/Data/";
}

std::string CheckPriorYearFolder(std::string_view path) {
    if (IsBlank(path)) throw EQnvrException("Path to 2025 data files is missing");
    const std::string folder = IncludeTrailingSlash(Trim(path));
    if (CountFiles(folder + "*" + kPriorPayerExt) == 0)
        throw EQnvrException("2025 data files not found in specified location");
    return folder;
}

std::vector<std::string> PriorYearFileEntries(const std::string& folder, const std::string& dataFolder) {
    std::vector<std::string> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!EndsWith(name, kPriorPayerExt) || name.size() == 5) continue;
        const bool transferred = fs::exists(IncludeTrailingSlash(dataFolder) + BaseName(name) + ".W326", error);
        entries.push_back(transferred ? "*" + name : name);
    }
    std::sort(entries.begin(), entries.end(), LessForList);
    return entries;
}

std::string EntryFileName(std::string_view entry) {
    if (!entry.empty() && entry.front() == '*') entry.remove_prefix(1);
    return std::string(entry);
}

TransferResult TransferPayerFile(const std::string& fromFolder, const std::string& name, const std::string& dataFolder,
                                 bool overwrite) {
    const std::string from = IncludeTrailingSlash(fromFolder), to = IncludeTrailingSlash(dataFolder);
    const std::string base = BaseName(name);
    const std::string targetW3 = to + base + ".W326", targetW2 = to + base + ".W226";
    std::error_code error;
    if (!overwrite && fs::exists(targetW3, error)) return TransferResult::Skipped;

    // Read and convert everything first: a missing or short source writes nothing.
    const std::string sourceW3 = from + base + kPriorPayerExt, sourceW2 = from + base + kPriorEmployeeExt;
    const auto payer = ReadPriorFile(sourceW3);
    if (payer.size() < static_cast<std::size_t>(kPriorPayerRecordSize))
        throw ETransferException(sourceW3 + ": holds no complete payer record; the file is damaged");
    const auto employees = ReadPriorFile(sourceW2);

    std::string w3(W3Record::kSize, '\0');
    const auto converted = ConvertPayerRecord(std::span<const std::uint8_t, kPriorPayerRecordSize>(payer.data(), kPriorPayerRecordSize));
    std::copy(converted.begin(), converted.end(), w3.begin());
    const std::size_t count = employees.size() / kPriorEmployeeRecordSize;
    std::string w2(count * W2Record::kSize, '\0');
    for (std::size_t k = 0; k < count; ++k) {
        const auto record = ConvertEmployeeRecord(std::span<const std::uint8_t, kPriorEmployeeRecordSize>(
            employees.data() + k * kPriorEmployeeRecordSize, kPriorEmployeeRecordSize));
        std::copy(record.begin(), record.end(), w2.begin() + static_cast<std::ptrdiff_t>(k * W2Record::kSize));
    }

    // The pair all-or-nothing: the employee file first, then the payer file, whose
    // presence marks the payer as transferred; a failure on the payer file puts the
    // employee file back as it was.
    RequireNotInUse(targetW2);
    RequireNotInUse(targetW3);
    const auto previousW2 = ContentOf(targetW2);
    Replace(targetW2, w2);
    try {
        Replace(targetW3, w3);
    } catch (...) {
        if (previousW2) {
            try {
                ReplaceFileWhole(targetW2, *previousW2);
            } catch (...) {
            }
        } else {
            ::unlink(targetW2.c_str());
        }
        throw;
    }
    return TransferResult::Transferred;
}

std::string SelectionStatus(int selected) {
    return selected == 1 ? " 1 file selected" : " " + std::to_string(selected) + " files selected";
}

std::string TransferredStatus(const std::string& status, int count) {
    return status + " - " + std::to_string(count) + (count == 1 ? " file transferred" : " files transferred");
}

std::vector<std::string> PriorYearFolders(const std::vector<std::string>& thisYearFolders) {
    std::vector<std::string> prior;
    for (const std::string& thisYear : thisYearFolders) {
        const fs::path folder = fs::path(IncludeTrailingSlash(thisYear)).parent_path();
        if (folder.filename() != "2026") continue;
        const std::string neighbour = IncludeTrailingSlash((folder.parent_path() / "2025").string());
        if (std::find(prior.begin(), prior.end(), neighbour) == prior.end()) prior.push_back(neighbour);
    }
    return prior;
}

std::string CarryOverEfw2Settings(const std::vector<std::string>& priorFolders, const std::string& stateFolder) {
    const std::string target = IncludeTrailingSlash(stateFolder) + kSettingsFileName;
    std::error_code error;
    if (fs::exists(target, error)) return {};
    for (const std::string& folder : priorFolders) {
        const std::string source = IncludeTrailingSlash(folder) + kSettingsFileName;
        if (!fs::is_regular_file(source, error)) continue;
        CopyFileChecked(source, target, true);
        return source;
    }
    return {};
}

}  // namespace qnvr
