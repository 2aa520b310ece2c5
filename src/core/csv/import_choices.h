#pragma once
// What the import window offers and how the user's choices change the import: the
// separators, the fields a column can go to, a column sent to another field, the named
// mappings kept in the settings store, and the messages before and after the import
// (and after an export). The windows only show these and pass the choices on.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/settings_store.h"
#include "core/csv/employee_columns.h"
#include "core/csv/employee_import.h"

namespace qnvr {

// How many rows of the file the window shows under the mapping.
inline constexpr std::size_t kPreviewRows = 20;

// The file to import, as ReadCsvFile reads it; a file without even a header row is an
// EQnvrException naming it.
CsvTable ReadImportFile(const std::string& path, std::optional<CsvEncoding> encoding = std::nullopt,
                        std::optional<char> separator = std::nullopt);

// "24 employee rows; the first 20 are shown."
std::string PreviewCaption(const CsvTable& table);

struct CsvSeparatorChoice {
    char separator;
    const char* name;  // "Comma", "Semicolon", "Tab"
};
const std::vector<CsvSeparatorChoice>& CsvSeparatorChoices();

// A field a column can go to, as the window lists it: "" for a column that is not
// imported, else the field with the header the export writes for it.
struct FieldChoice {
    std::string field;
    std::string caption;
};
inline constexpr const char* kNotImported = "(not imported)";
// "(not imported)" first, then every column of an employee file in the W-2 window's order.
const std::vector<FieldChoice>& FieldChoices();

// A mapping the user corrected, before it is used or saved: a field can take only one
// column. (The window lets two columns name one field on the way, so that moving
// through a column's list with the arrow keys takes nothing from another column.)
// Throws EQnvrException naming the field and both columns.
void CheckMapping(const ColumnMapping& mapping, const std::vector<std::string>& header);

// The mappings the user saved by name, kept in the settings store under
// kImportMappingsKey: "Count", then "Name<n>" and "Columns<n>" (the mapping file's text)
// for n from 1, and "Last", the name of the mapping saved or used last.
inline constexpr const char* kImportMappingsKey = "ImportMappings";

class NamedMappings {
public:
    explicit NamedMappings(SettingsStore& settings) : settings_(settings) {}

    // The names, sorted without regard to case.
    std::vector<std::string> Names() const;
    bool Contains(std::string_view name) const;
    // The mapping of that name (letter case not minded); nothing when there is none or
    // what is stored there cannot be read.
    std::optional<SavedMapping> Find(std::string_view name) const;
    // Keeps mapping under name, replacing one of the same name, and makes it the last
    // one used. Throws EQnvrException for an empty name, and whatever the store throws
    // when it cannot be written.
    void Save(const std::string& name, const SavedMapping& mapping);
    // The mapping the user worked with last, to be offered first next time ("" for none).
    std::string Last() const;
    void SetLast(const std::string& name);

private:
    int Count() const;
    int Slot(std::string_view name) const;  // 0 when there is none
    SettingsStore& settings_;
};

// The question asked before an import that leaves rows out: "3 rows of the file are
// refused (listed in the window) and will not be imported.~Import the others (12
// employees to add, 0 to update)?"
// Empty when nothing is refused or nothing would change.
std::string RefusedRowsQuestion(const ImportPlan& plan);

// What the window says after an import: the summary, and why rows were left out.
std::string ImportDoneMessage(const ImportPlan& plan);

// The file File, Export Employees proposes: the payer file's name with ".csv".
std::string ExportFileNameFor(const std::string& payerFilePath);
// "3 employees written to~/home/pat/Acme.csv"
std::string ExportDoneMessage(int employees, const std::string& path);

// Writes the refused rows to path as a text file, one row a line (RefusedRowsText),
// whole or not at all. Throws EQnvrException naming the file and the system's reason.
void SaveRefusedRows(const std::string& path, const std::vector<RefusedRow>& rows);

}  // namespace qnvr
