#include "core/csv/csv_file.h"

#include <csv.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/base/errors.h"
#include "core/text/cp1252.h"

namespace qnvr {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The line of the first malformed UTF-8 sequence, 0 when the text is valid UTF-8.
int FirstInvalidUtf8Line(std::string_view text) {
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') ++line;
        int follow = 0;
        if (c < 0x80) follow = 0;
        else if (c >= 0xC2 && c <= 0xDF) follow = 1;
        else if (c >= 0xE0 && c <= 0xEF) follow = 2;
        else if (c >= 0xF0 && c <= 0xF4) follow = 3;
        else return line;
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= text.size()) return line;
            const auto f = static_cast<unsigned char>(text[i + k]);
            if ((f & 0xC0) != 0x80) return line;
        }
        // Overlong three- and four-byte forms and surrogates are not UTF-8.
        if (follow == 2) {
            const auto f = static_cast<unsigned char>(text[i + 1]);
            if ((c == 0xE0 && f < 0xA0) || (c == 0xED && f >= 0xA0)) return line;
        } else if (follow == 3) {
            const auto f = static_cast<unsigned char>(text[i + 1]);
            if ((c == 0xF0 && f < 0x90) || (c == 0xF4 && f >= 0x90)) return line;
        }
        i += 1 + follow;
    }
    return 0;
}

struct Collector {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> cells;
    bool rowEnded = true;
};

void OnField(void* data, std::size_t size, void* out) {
    auto* collector = static_cast<Collector*>(out);
    collector->cells.emplace_back(data ? static_cast<const char*>(data) : "", data ? size : 0);
    collector->rowEnded = false;
}

void OnRowEnd(int, void* out) {
    auto* collector = static_cast<Collector*>(out);
    collector->rows.push_back(std::move(collector->cells));
    collector->cells.clear();
    collector->rowEnded = true;
}

bool IsBlankRow(const std::vector<std::string>& cells) {
    for (const std::string& cell : cells)
        if (cell.find_first_not_of(" \t\r\n") != std::string::npos) return false;
    return true;
}

int IsBlankOnly(unsigned char c) { return c == ' '; }

}  // namespace

std::string CsvEncodingName(CsvEncoding encoding) {
    return encoding == CsvEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

std::optional<CsvEncoding> CsvEncodingNamed(std::string_view name) {
    std::string key;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c))) key += static_cast<char>(std::tolower(c));
    if (key == "utf8") return CsvEncoding::Utf8;
    if (key == "windows1252" || key == "cp1252" || key == "ansi" || key == "latin1") return CsvEncoding::Windows1252;
    return std::nullopt;
}

CsvEncoding GuessCsvEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return CsvEncoding::Utf8;
    return FirstInvalidUtf8Line(bytes) == 0 ? CsvEncoding::Utf8 : CsvEncoding::Windows1252;
}

char GuessCsvSeparator(std::string_view text) {
    std::array<int, 3> counts{};
    constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        for (std::size_t k = 0; k < kSeparators.size(); ++k)
            if (c == kSeparators[k]) ++counts[k];
    }
    std::size_t best = 0;
    for (std::size_t k = 1; k < counts.size(); ++k)
        if (counts[k] > counts[best]) best = k;
    return kSeparators[best];
}

CsvTable ParseCsv(std::string_view bytes, std::optional<CsvEncoding> encoding, std::optional<char> separator) {
    CsvTable table;
    table.encoding = encoding.value_or(GuessCsvEncoding(bytes));
    std::string text;
    if (table.encoding == CsvEncoding::Utf8) {
        if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
        if (const int line = FirstInvalidUtf8Line(bytes))
            throw EQnvrException("Line " + std::to_string(line) +
                                 " is not UTF-8 text. Choose the encoding Windows-1252 for this file.");
        text.assign(bytes);
    } else {
        text = Cp1252ToUtf8(bytes);
    }
    table.separator = separator.value_or(GuessCsvSeparator(text));

    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0)
        throw EQnvrException("Not enough memory to read the file.");
    csv_set_delim(&parser, static_cast<unsigned char>(table.separator));
    csv_set_space_func(&parser, IsBlankOnly);  // a tab is a separator, never a blank to trim

    // Fed line by line, so that every row knows the line it begins on.
    Collector collector;
    std::vector<int> startLines;
    int line = 0;
    std::size_t at = 0;
    auto fail = [&](int where) {
        const std::string reason = csv_strerror(csv_error(&parser));
        csv_free(&parser);
        throw EQnvrException("Line " + std::to_string(where) + " cannot be read: " + reason +
                             " (a quote that is not closed, or a quote inside a field that is not quoted).");
    };
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        ++line;
        const std::string_view piece(text.data() + at, end - at);
        if (collector.rowEnded && collector.rows.size() == startLines.size() &&
            piece.find_first_not_of(" \t\r\n") != std::string_view::npos)
            startLines.push_back(line);
        if (csv_parse(&parser, piece.data(), piece.size(), OnField, OnRowEnd, &collector) != piece.size())
            fail(startLines.empty() ? line : startLines.back());
        at = end;
    }
    if (csv_fini(&parser, OnField, OnRowEnd, &collector) != 0) fail(startLines.empty() ? line : startLines.back());
    csv_free(&parser);

    for (std::size_t r = 0; r < collector.rows.size(); ++r) {
        const int rowLine = r < startLines.size() ? startLines[r] : line;
        if (IsBlankRow(collector.rows[r])) continue;
        if (table.header.empty() && table.rows.empty() && r == 0) {
            table.header = std::move(collector.rows[r]);
            continue;
        }
        table.rows.push_back({rowLine, std::move(collector.rows[r])});
    }
    return table;
}

CsvTable ReadCsvFile(const std::string& path, std::optional<CsvEncoding> encoding, std::optional<char> separator) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EQnvrException("Unable to read " + path + "~" + std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw EQnvrException("Unable to read " + path);
    try {
        return ParseCsv(content.str(), encoding, separator);
    } catch (const EQnvrException& error) {
        throw EQnvrException(path + ": " + error.what());
    }
}

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k) line += ',';
        const std::string& cell = cells[k];
        const bool quote = cell.find_first_of(",\"\r\n;\t") != std::string::npos ||
                           (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
        if (!quote) {
            line += cell;
            continue;
        }
        line += '"';
        for (char c : cell) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\r\n";
}

}  // namespace qnvr
