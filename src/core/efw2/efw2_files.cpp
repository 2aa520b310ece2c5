#include "core/efw2/efw2_files.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/text/cp1252.h"
#include "core/text/files.h"

namespace qnvr {

namespace fs = std::filesystem;

Efw2Paths Efw2Paths::For(const std::string& programDir, const std::string& dataDir) {
    return {IncludeTrailingSlash(programDir), IncludeTrailingSlash(dataDir) + "EFW2/"};
}

std::string Efw2Paths::ClientFileFor(const std::string& payerFilePath) const {
    return efw2Dir + fs::path(payerFilePath).stem().string() + ".txt";
}

void RaiseFileError(const std::string& action, const std::string& path, const std::string& reason) {
    throw EQnvrException(TildeToBreak("Unable to " + action + " " + path + "~" + reason));
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : lines) text.append(line).append("\r\n");
    return text;
}

std::vector<std::string> ReadLinesFile(const std::string& path) {
    std::error_code error;
    if (!fs::exists(path, error)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) RaiseFileError("read", path, std::generic_category().message(errno));
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) RaiseFileError("read", path, std::generic_category().message(EIO));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.emplace_back(text, start, stop - start);
        start = end + 1;
    }
    return lines;
}

void WriteLinesFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteWholeFile(path, JoinLines(lines));
}

void WriteWholeFile(const std::string& path, std::string_view text) {
    WriteWholeFile(path, std::span<const std::string_view>(&text, 1));
}

void WriteWholeFile(const std::string& path, std::span<const std::string_view> parts) {
    try {
        ReplaceFileWhole(path, parts);
    } catch (const std::system_error& error) {
        RaiseFileError("save", path, error.code().message());
    }
}

std::vector<std::string> ReadClientsFile(const std::string& path) {
    std::vector<std::string> names = ReadLinesFile(path);
    for (auto& name : names) name = Cp1252ToUtf8(name);
    return names;
}

void WriteClientsFile(const std::string& path, const std::vector<std::string>& names) {
    std::vector<std::string> stored;
    stored.reserve(names.size());
    for (const auto& name : names) stored.push_back(Utf8ToCp1252(name));
    WriteLinesFile(path, stored);
}

void SetReadOnlyIfExists(const std::string& path, bool readOnly) {
    std::error_code error;
    if (!fs::exists(path, error)) return;
    try {
        SetFileReadOnly(path, readOnly);
    } catch (const std::system_error& failure) {
        RaiseFileError(readOnly ? "set the read-only attribute of" : "clear the read-only attribute of", path,
                       failure.code().message());
    }
}

}  // namespace qnvr
