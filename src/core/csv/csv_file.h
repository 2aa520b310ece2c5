#pragma once
// Comma-separated files as payroll systems and spreadsheets write them: RFC 4180
// quoting (separators, quotes and line breaks inside quoted fields) over libcsv, in
// UTF-8 (with or without a byte-order mark) or Windows-1252, separated by commas,
// semicolons or tabs. What the program writes is UTF-8, comma-separated, with a header.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

enum class CsvEncoding { Utf8, Windows1252 };

// The encoding's name as the import window and `qnvr import` show and take it.
std::string CsvEncodingName(CsvEncoding encoding);
std::optional<CsvEncoding> CsvEncodingNamed(std::string_view name);

struct CsvRow {
    int line = 0;  // line of the file on which the row begins, counted from 1
    std::vector<std::string> cells;  // UTF-8
};

struct CsvTable {
    CsvEncoding encoding = CsvEncoding::Utf8;
    char separator = ',';
    std::vector<std::string> header;  // the first row
    std::vector<CsvRow> rows;         // every later row that is not blank
};

// UTF-8 when the bytes start with its byte-order mark or are valid UTF-8 throughout;
// Windows-1252 otherwise.
CsvEncoding GuessCsvEncoding(std::string_view bytes);

// The separator of the first line: whichever of comma, semicolon and tab occurs most
// often outside quotes; a comma when none does.
char GuessCsvSeparator(std::string_view text);

// The table in bytes. Encoding and separator are guessed when not given. Throws
// EQnvrException for text that is not in the encoding given, or for broken quoting,
// naming the line.
CsvTable ParseCsv(std::string_view bytes, std::optional<CsvEncoding> encoding = std::nullopt,
                  std::optional<char> separator = std::nullopt);

// ParseCsv over a file's content; throws EQnvrException naming the file when it cannot
// be read.
CsvTable ReadCsvFile(const std::string& path, std::optional<CsvEncoding> encoding = std::nullopt,
                     std::optional<char> separator = std::nullopt);

// One row as the program writes it: comma-separated, a field quoted when it holds a
// comma, a quote, a line break or surrounding blanks, ended by CR LF.
std::string CsvLine(const std::vector<std::string>& cells);

}  // namespace qnvr
