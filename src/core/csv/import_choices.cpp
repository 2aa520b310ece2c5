#include "core/csv/import_choices.h"

#include <algorithm>
#include <system_error>

#include "core/base/errors.h"
#include "core/store/data_module.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Names compare without regard to case or surrounding blanks.
std::string NameKey(std::string_view name) { return UpperCase(Trim(name)); }

std::string Numbered(const char* value, int slot) { return value + std::to_string(slot); }

}  // namespace

CsvTable ReadImportFile(const std::string& path, std::optional<CsvEncoding> encoding, std::optional<char> separator) {
    CsvTable table = ReadCsvFile(path, encoding, separator);
    if (table.header.empty())
        throw EQnvrException(path + " holds nothing to import.~Its first line must name the columns.");
    return table;
}

std::string PreviewCaption(const CsvTable& table) {
    const std::size_t rows = table.rows.size();
    std::string caption = Counted(static_cast<int>(rows), "employee row", "employee rows");
    if (rows > kPreviewRows) caption += "; the first " + std::to_string(kPreviewRows) + " are shown";
    return caption + ".";
}

const std::vector<CsvSeparatorChoice>& CsvSeparatorChoices() {
    static const std::vector<CsvSeparatorChoice> choices = {{',', "Comma"}, {';', "Semicolon"}, {'\t', "Tab"}};
    return choices;
}

const std::vector<FieldChoice>& FieldChoices() {
    static const std::vector<FieldChoice> choices = [] {
        std::vector<FieldChoice> list{{"", kNotImported}};
        for (const EmployeeColumn& column : EmployeeColumns()) list.push_back({column.field, column.header});
        return list;
    }();
    return choices;
}

void CheckMapping(const ColumnMapping& mapping, const std::vector<std::string>& header) {
    auto headerOf = [&](std::size_t k) { return k < header.size() ? header[k] : std::to_string(k + 1); };
    for (std::size_t k = 0; k < mapping.size(); ++k) {
        if (mapping[k].empty()) continue;
        for (std::size_t later = k + 1; later < mapping.size(); ++later)
            if (mapping[later] == mapping[k]) {
                const EmployeeColumn* column = EmployeeColumnNamed(mapping[k]);
                throw EQnvrException("\"" + (column ? column->header : mapping[k]) + "\" is chosen for two columns, \"" +
                                     headerOf(k) + "\" and \"" + headerOf(later) + "\".~Choose " + kNotImported +
                                     " for one of them.");
            }
    }
}

int NamedMappings::Count() const {
    const std::string count = settings_.ReadString(kImportMappingsKey, "Count").value_or("0");
    try {
        return std::max(0, std::stoi(count));
    } catch (const std::exception&) {
        return 0;
    }
}

int NamedMappings::Slot(std::string_view name) const {
    const std::string key = NameKey(name);
    for (int slot = 1, count = Count(); slot <= count; ++slot)
        if (NameKey(settings_.ReadString(kImportMappingsKey, Numbered("Name", slot)).value_or("")) == key) return slot;
    return 0;
}

std::vector<std::string> NamedMappings::Names() const {
    std::vector<std::string> names;
    for (int slot = 1, count = Count(); slot <= count; ++slot)
        if (auto name = settings_.ReadString(kImportMappingsKey, Numbered("Name", slot)); name && !IsBlank(*name))
            names.push_back(*name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NameKey(a) < NameKey(b); });
    return names;
}

bool NamedMappings::Contains(std::string_view name) const { return !IsBlank(name) && Slot(name) != 0; }

std::optional<SavedMapping> NamedMappings::Find(std::string_view name) const {
    const int slot = IsBlank(name) ? 0 : Slot(name);
    if (slot == 0) return std::nullopt;
    try {
        return ParseMappingFile(settings_.ReadString(kImportMappingsKey, Numbered("Columns", slot)).value_or(""));
    } catch (const EQnvrException&) {
        return std::nullopt;  // written by a later version, or damaged: the automatic mapping stands
    }
}

void NamedMappings::Save(const std::string& name, const SavedMapping& mapping) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) throw EQnvrException("Enter a name for the mapping.");
    int slot = Slot(trimmed);
    if (slot == 0) {
        slot = Count() + 1;
        settings_.WriteString(kImportMappingsKey, Numbered("Columns", slot), MappingFileText(mapping));
        settings_.WriteString(kImportMappingsKey, Numbered("Name", slot), trimmed);
        settings_.WriteString(kImportMappingsKey, "Count", std::to_string(slot));
    } else {
        settings_.WriteString(kImportMappingsKey, Numbered("Columns", slot), MappingFileText(mapping));
        settings_.WriteString(kImportMappingsKey, Numbered("Name", slot), trimmed);
    }
    SetLast(trimmed);
}

std::string NamedMappings::Last() const {
    const std::string last = settings_.ReadString(kImportMappingsKey, "Last").value_or("");
    return Contains(last) ? last : "";
}

void NamedMappings::SetLast(const std::string& name) { settings_.WriteString(kImportMappingsKey, "Last", Trim(name)); }

std::string RefusedRowsQuestion(const ImportPlan& plan) {
    if (plan.refused.empty() || plan.changes.empty()) return "";
    const int refused = static_cast<int>(plan.refused.size());
    return Counted(refused, "row of the file is", "rows of the file are") +
           " refused (listed in the window) and will not be imported.~Import the others (" +
           Counted(plan.added, "employee", "employees") + " to add, " + std::to_string(plan.updated) + " to update)?";
}

std::string ImportDoneMessage(const ImportPlan& plan) {
    std::string message = plan.changes.empty() ? "No employee has been imported.~" + ImportSummary(plan)
                                               : ImportSummary(plan);
    if (plan.overLimit > 0)
        message += "~" + Counted(plan.overLimit, "row was", "rows were") + " not added: the payer file holds " +
                   std::to_string(kMaxEmployees) + " employees, the most it can hold.";
    if (!plan.refused.empty()) message += "~The refused rows are listed in the window; Save List keeps them in a file.";
    return message;
}

std::string ExportFileNameFor(const std::string& payerFilePath) {
    const std::size_t slash = payerFilePath.rfind('/');
    const std::size_t dot = payerFilePath.rfind('.');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (extension ? payerFilePath.substr(0, dot) : payerFilePath) + ".csv";
}

std::string ExportDoneMessage(int employees, const std::string& path) {
    return Counted(employees, "employee", "employees") + " written to~" + path;
}

void SaveRefusedRows(const std::string& path, const std::vector<RefusedRow>& rows) {
    try {
        ReplaceFileWhole(path, RefusedRowsText(rows));
    } catch (const std::system_error& error) {
        throw EQnvrException("Unable to write " + path + "~" + error.code().message() +
                             "~~The list of refused rows has not been saved.");
    }
}

}  // namespace qnvr
