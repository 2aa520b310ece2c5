#pragma once
// The columns an employee file can hold: every W-2 field a person types in the W-2
// window, plus one column holding the whole name. Headers are matched to them by name
// and common synonyms, and cells are read as people write them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/records.h"

namespace qnvr {

enum class ColumnKind { Ssn, Text, UpperText, Box12Code, Occupation, State, Money, Flag, FullName };

struct EmployeeColumn {
    std::string field;   // the record field ("Amount1"); "FullName" for the whole name
    std::string header;  // the header the export writes
    ColumnKind kind;
    int size = 0;  // characters of a text, dollar digits of an amount
    std::vector<std::string> synonyms;  // header keys (HeaderKey) that mean this column
};

inline constexpr const char* kFullNameColumn = "FullName";

// The W-2 fields in the W-2 window's tab order, then the whole-name column.
const std::vector<EmployeeColumn>& EmployeeColumns();
const EmployeeColumn* EmployeeColumnNamed(std::string_view field);

// A header as it is compared: letters and digits only, in lower case ("Fed. Tax
// Withheld" gives "fedtaxwithheld").
std::string HeaderKey(std::string_view header);

// The column a header names, by the field's own name, its export header or a synonym;
// nothing when none does.
const EmployeeColumn* MatchHeader(std::string_view header);

// Which field each column of a file goes to: the field's name, or "" for a column that
// is not imported. One entry per column of the header.
using ColumnMapping = std::vector<std::string>;

// The mapping found from the headers alone. A field takes the first column that names
// it; a later column naming the same field is not imported.
ColumnMapping AutoMapping(const std::vector<std::string>& header);

// A mapping kept by the user: for a header (by HeaderKey), the field it goes to, or ""
// for a column the user chose not to import.
struct SavedMapping {
    std::vector<std::pair<std::string, std::string>> columns;  // header, field
};

// The mapping of header under a saved one: a header the saved mapping knows takes its
// field; any other header is matched automatically.
ColumnMapping ApplySavedMapping(const SavedMapping& saved, const std::vector<std::string>& header);
SavedMapping SaveMapping(const std::vector<std::string>& header, const ColumnMapping& mapping);

// The mapping file: one line per column, header, a tab and the field ("" when not
// imported). Reading throws EQnvrException for an unknown field, naming the line.
std::string MappingFileText(const SavedMapping& mapping);
SavedMapping ParseMappingFile(std::string_view text);
SavedMapping ReadMappingFile(const std::string& path);
void WriteMappingFile(const std::string& path, const SavedMapping& mapping);

// One cell read into the record. Blank cells are left to the caller (they leave the
// field as it is). Returns the message of a value that is refused. A text longer than
// its field is refused rather than cut. The W-2 window's keystroke filters are not
// applied: a payer file may hold names it did not type (last year's transfer), and the
// export of such a file must read back as it was.
std::optional<std::string> ReadCell(const EmployeeColumn& column, std::string_view cell, W2Record& record);

// The cell the export writes for a field of a record.
std::string WriteCell(const EmployeeColumn& column, const W2Record& record);

// The state code of "NY", "ny" or "New York"; nothing for anything else.
std::optional<std::string> StateCodeOf(std::string_view text);

}  // namespace qnvr
