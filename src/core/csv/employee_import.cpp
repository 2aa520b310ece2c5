#include "core/csv/employee_import.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/entry/w2_amounts.h"
#include "core/entry/w2_rules.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

// The social security number as the duplicate check compares it: its nine digits, or
// "" when it has not nine.
std::string SsnKey(std::string_view ssn) {
    std::string digits;
    for (char c : ssn)
        if (c >= '0' && c <= '9') digits += c;
    return digits.size() == 9 ? digits : "";
}

bool IsBlankEmployee(const W2Record& w2) {
    return SsnKey(w2.Boxa).empty() && IsBlank(w2.Boxe1) && IsBlank(w2.Boxe3) && RoundTo(w2.Amount1, 2) == 0;
}

// A new employee as the store sets one up: the payer's state and state ID preset.
W2Record NewEmployee(const W3Record& w3) {
    W2Record w2;
    if (w3.Box15 != "X") w2.Box15a = LeftStr(w3.Box15, 2);
    w2.StateID_a = LeftStr(w3.StateID, 12);
    return w2;
}

// The automatic amounts of the W-2 window, for the boxes the row left empty: boxes 3 to
// 6 and 16a follow Box 1 as leaving Box 1 fills them, Box 4 follows a Box 3 the row
// gives, Box 6 a Box 5 it gives. A box that already holds an amount (an employee being
// updated) keeps it, as it does in the window.
void FillAutomaticAmounts(W2Record& w2, const std::set<std::string>& given) {
    if (RoundTo(w2.Amount1, 2) <= 0) return;
    auto open = [&](const char* field, double value) { return !given.contains(field) && RoundTo(value, 2) == 0; };
    W2Record fromBox1 = w2;
    fromBox1.Amount3 = 0;
    LeaveBox1(fromBox1);
    const bool box3Open = open("Amount3", w2.Amount3);
    if (box3Open) w2.Amount3 = fromBox1.Amount3;
    if (open("Amount4", w2.Amount4)) {
        if (box3Open) {
            w2.Amount4 = fromBox1.Amount4;
        } else {
            W2Record fromBox3 = w2;
            LeaveBox3(fromBox3);
            w2.Amount4 = fromBox3.Amount4;
        }
    }
    if (open("Amount5", w2.Amount5)) w2.Amount5 = fromBox1.Amount5;
    if (open("Amount6", w2.Amount6)) {
        W2Record fromBox5 = w2;
        LeaveBox5(fromBox5);
        w2.Amount6 = fromBox5.Amount6;
    }
    if (open("Box16a", w2.Box16a)) w2.Box16a = fromBox1.Box16a;
}

// The store's own delete of its last record, once per record beyond count: how the
// records an import added are taken back. The delete is not asked about; every other
// message (a failure) reaches the user.
bool DropRecordsAfter(TRecordSet& rs, int count) {
    try {
        for (int last = rs.RecordCount(); last > count; last = rs.RecordCount()) {
            rs.SetCurrentRecord(last);
            rs.DeleteRecUnasked();
            if (rs.RecordCount() >= last) break;  // the file could not be cut
        }
    } catch (const EQnvrException&) {
        return false;
    }
    return rs.RecordCount() == count;
}

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::optional<DuplicateAction> DuplicateActionNamed(std::string_view name) {
    const std::string key = HeaderKey(name);
    if (key == "update") return DuplicateAction::Update;
    if (key == "skip") return DuplicateAction::Skip;
    if (key == "add") return DuplicateAction::Add;
    return std::nullopt;
}

ImportPlan PlanImport(TFrmDataModule& data, const CsvTable& table, const ColumnMapping& mapping,
                      DuplicateAction onDuplicate) {
    if (!data.RSW2().Active()) throw EQnvrException("No payer file is open.");
    if (std::find(mapping.begin(), mapping.end(), "Boxa") == mapping.end())
        throw EQnvrException("No column holds the social security number. Choose the column that holds it.");

    std::vector<W2Record> existing;
    data.ForEachW2([&](const W2Record& w2) { existing.push_back(w2); });

    ImportPlan plan;
    plan.blankFirstRecord = existing.size() == 1 && IsBlankEmployee(existing[0]) ? 1 : 0;
    std::map<std::string, int> recordOfSsn;  // existing record number, or -(index into changes + 1)
    for (int k = static_cast<int>(existing.size()); k >= 1; --k)
        if (const std::string key = SsnKey(existing[k - 1].Boxa); !key.empty()) recordOfSsn[key] = k;
    int employees = static_cast<int>(existing.size()) - plan.blankFirstRecord;

    // The file's header for a field the rules name; for the name fields, the whole-name
    // column when the name came from there.
    auto headerOf = [&](const std::string& field) -> std::string {
        for (std::size_t k = 0; k < mapping.size(); ++k)
            if (mapping[k] == field) return k < table.header.size() ? table.header[k] : field;
        if (field == "Boxe1" || field == "Boxe2" || field == "Boxe3")
            for (std::size_t k = 0; k < mapping.size(); ++k)
                if (mapping[k] == kFullNameColumn) return table.header[k];
        const EmployeeColumn* column = EmployeeColumnNamed(field);
        return column ? column->header : field;
    };
    const std::size_t ssnColumn = std::find(mapping.begin(), mapping.end(), "Boxa") - mapping.begin();
    auto cellOf = [](const CsvRow& row, std::size_t k) -> std::string_view {
        return k < row.cells.size() ? std::string_view(row.cells[k]) : std::string_view();
    };

    for (const CsvRow& row : table.rows) {
        W2Record ssnOnly;
        ReadCell(*EmployeeColumnNamed("Boxa"), cellOf(row, ssnColumn), ssnOnly);
        const std::string key = SsnKey(ssnOnly.Boxa);
        const auto known = key.empty() ? recordOfSsn.end() : recordOfSsn.find(key);
        const bool duplicate = known != recordOfSsn.end();
        if (duplicate && onDuplicate == DuplicateAction::Skip) {
            ++plan.skipped;
            continue;
        }
        const bool update = duplicate && onDuplicate == DuplicateAction::Update;
        W2Record employee = !update            ? NewEmployee(data.W3Rec())
                            : known->second > 0 ? existing[known->second - 1]
                                                : plan.changes[-known->second - 1].employee;

        std::optional<RefusedRow> refusal;
        std::set<std::string> given;
        for (std::size_t k = 0; k < mapping.size() && !refusal; ++k) {
            if (mapping[k].empty() || IsBlank(cellOf(row, k))) continue;
            const EmployeeColumn* column = EmployeeColumnNamed(mapping[k]);
            if (!column) continue;
            if (auto error = ReadCell(*column, cellOf(row, k), employee))
                refusal = RefusedRow{row.line, table.header[k], *error};
            given.insert(column->field);
        }
        if (!refusal) {
            FillAutomaticAmounts(employee, given);
            employee.Boxf_csz = CityStateZipLine(employee.Boxf_b, employee.Boxf_c, employee.Boxf_d);
            if (const auto failure = ValidateW2(employee))
                refusal = RefusedRow{row.line, headerOf(failure->field), failure->message};
        }
        if (!refusal && !update && employees >= kMaxEmployees) {
            ++plan.overLimit;
            refusal = RefusedRow{row.line, headerOf("Boxa"),
                                 "The payer file already holds " + std::to_string(kMaxEmployees) +
                                     " employees, the most it can hold; this employee was not added."};
        }
        if (refusal) {
            plan.refused.push_back(*refusal);
            continue;
        }
        if (update && known->second < 0) {  // a row earlier in this file added the employee
            plan.changes[-known->second - 1].employee = employee;
            ++plan.updated;
            continue;
        }
        plan.changes.push_back({row.line, update ? known->second : 0, employee});
        if (update) {
            ++plan.updated;
        } else {
            ++plan.added;
            ++employees;
            if (!key.empty() && !duplicate) recordOfSsn[key] = -static_cast<int>(plan.changes.size());
        }
    }
    return plan;
}

void ApplyImport(TFrmDataModule& data, const ImportPlan& plan) {
    TRecordSet& rs = data.RSW2();
    if (!rs.Active()) throw EQnvrException("No payer file is open.");
    if (rs.BrowseOnly())
        throw EQnvrException(rs.FileName + " is open in browse only mode.~No employee has been imported.");
    if (plan.changes.empty()) return;

    const int current = rs.CurrentRecord();
    const int originalCount = rs.RecordCount();
    std::map<int, std::vector<std::uint8_t>> originals;  // record number: its bytes before the import
    int reusedBlank = plan.blankFirstRecord;

    auto keepOriginal = [&](int record) {
        if (originals.contains(record)) return;
        rs.SetCurrentRecord(record);
        rs.GetRec();
        originals[record] = rs.RecordBuffer();
    };
    auto write = [&](const ImportChange& change) {
        int record = change.record;
        if (record == 0 && reusedBlank) {
            record = reusedBlank;
            reusedBlank = 0;
        }
        if (record > 0) {
            keepOriginal(record);
            rs.SetCurrentRecord(record);
        } else {
            const int before = rs.LastRecord();
            rs.NewRec();
            if (rs.LastRecord() != before + 1) return false;
        }
        data.EditW2Rec(change.employee);
        return rs.PostRec();
    };

    // A write the store refuses raises; either way the file is put back as it was.
    auto written = [&](const ImportChange& change, std::string& reason) {
        try {
            return write(change);
        } catch (const EQnvrException& error) {
            reason = error.what();
            return false;
        }
    };
    auto putBack = [&](int record, const std::vector<std::uint8_t>& bytes) {
        try {
            return data.PutBackW2(record, bytes);
        } catch (const EQnvrException&) {
            return false;
        }
    };

    for (const ImportChange& change : plan.changes) {
        std::string reason;
        if (written(change, reason)) continue;
        // Put the file back: the bytes of every record changed, and no record added.
        bool restored = true;
        for (const auto& [record, bytes] : originals) restored = putBack(record, bytes) && restored;
        restored = DropRecordsAfter(rs, originalCount) && restored;
        rs.SetCurrentRecord(std::min(current, rs.LastRecord()));
        rs.GetRec();
        data.EmployeeListChanged();
        const std::string why = reason.empty() ? std::string() : "~" + reason;
        if (!restored)
            throw EQnvrException("The import failed at line " + std::to_string(change.line) + ", and " + rs.FileName +
                                 " could not be put back as it was.~Restore it from your backup." + why);
        throw EQnvrException("The import failed at line " + std::to_string(change.line) +
                             ".~No employee has been imported: " + rs.FileName + " is as it was before." + why);
    }
    data.EmployeeListChanged();
    rs.SetCurrentRecord(current);
    rs.GetRec();
    data.ComputeW3Totals();
    data.RSW3().PostRec();
}

std::string RefusedRowText(const RefusedRow& row) {
    return "Line " + std::to_string(row.line) + ", column \"" + row.column + "\": " + row.message;
}

std::string RefusedRowsText(const std::vector<RefusedRow>& rows) {
    std::string text;
    for (const RefusedRow& row : rows) {
        std::string line = RefusedRowText(row);
        std::replace(line.begin(), line.end(), '\n', ' ');
        text += line + "\n";
    }
    return text;
}

std::string ImportSummary(const ImportPlan& plan) {
    return Plural(plan.added, "employee added", "employees added") + ", " + std::to_string(plan.updated) +
           " updated, " + std::to_string(plan.skipped) + " skipped, " +
           Plural(static_cast<int>(plan.refused.size()), "row refused.", "rows refused.");
}

std::string ExportEmployeesText(TFrmDataModule& data, int* employees) {
    int written = 0;
    std::vector<const EmployeeColumn*> columns;
    std::vector<std::string> header;
    for (const EmployeeColumn& column : EmployeeColumns())
        if (column.kind != ColumnKind::FullName) {
            columns.push_back(&column);
            header.push_back(column.header);
        }
    std::string text = CsvLine(header);
    data.ForEachW2([&](const W2Record& w2) {
        if (IsBlankEmployee(w2)) return;
        std::vector<std::string> cells;
        cells.reserve(columns.size());
        for (const EmployeeColumn* column : columns) cells.push_back(WriteCell(*column, w2));
        text += CsvLine(cells);
        ++written;
    });
    if (employees) *employees = written;
    return text;
}

int ExportEmployees(TFrmDataModule& data, const std::string& path) {
    int employees = 0;
    const std::string text = ExportEmployeesText(data, &employees);
    try {
        ReplaceFileWhole(path, text);
    } catch (const std::system_error& error) {
        throw EQnvrException("Unable to write " + path + "~" + error.code().message() +
                             "~~The employees have not been exported.");
    }
    return employees;
}

}  // namespace qnvr
