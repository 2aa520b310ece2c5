#pragma once
// Employees brought into the open payer file from a comma-separated file, and every
// employee written out to one. The import window and `qnvr import` share this code.
//
// An import is planned first: each row becomes an employee (a new one, or an update of
// the employee with the same social security number) that has passed the W-2 window's
// rules after the automatic amounts, or a refused row with its line, column and the
// rule's message. Applying the plan writes every change, or none: when a write fails,
// the records written so far are put back and the new ones removed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/csv/csv_file.h"
#include "core/csv/employee_columns.h"
#include "core/store/data_module.h"

namespace qnvr {

// What happens to a row whose social security number is already in the payer file.
enum class DuplicateAction { Update, Skip, Add };
std::optional<DuplicateAction> DuplicateActionNamed(std::string_view name);  // "update", "skip", "add"

struct RefusedRow {
    int line = 0;
    std::string column;  // the file's header of the column at fault
    std::string message;

    bool operator==(const RefusedRow&) const = default;
};

struct ImportChange {
    int line = 0;
    int record = 0;  // the employee updated; 0 for a new employee
    W2Record employee;
};

struct ImportPlan {
    std::vector<ImportChange> changes;  // in the file's order
    std::vector<RefusedRow> refused;
    int added = 0, updated = 0, skipped = 0;
    int overLimit = 0;  // refused rows that would have been employees beyond kMaxEmployees
    int blankFirstRecord = 0;  // 1 when the file's only record is blank: the first new employee takes it
};

// The plan for the table under mapping, read against the open payer file. Reads the
// W-2 records and leaves the current one current. Throws EQnvrException when no payer
// file is open or when no column is mapped to the social security number.
ImportPlan PlanImport(TFrmDataModule& data, const CsvTable& table, const ColumnMapping& mapping,
                      DuplicateAction onDuplicate);

// Writes the plan into the open payer file, all or nothing, then sets the employee list
// to be rebuilt and stores the W-3 totals. Throws EQnvrException for a browse-only file
// and for a write that failed (after the file was put back as it was).
void ApplyImport(TFrmDataModule& data, const ImportPlan& plan);

// "Line 4, column "Wages": "(12.00)" is a negative amount; ..." and the whole list, one
// row a line.
std::string RefusedRowText(const RefusedRow& row);
std::string RefusedRowsText(const std::vector<RefusedRow>& rows);

// "2 employees added, 1 updated, 0 skipped, 1 row refused."
std::string ImportSummary(const ImportPlan& plan);

// Every employee of the open payer file as the export writes it: a header row that the
// import maps back by itself, then one row per employee with every field, amounts with
// two decimals. UTF-8. The blank record of a new payer file is no employee.
std::string ExportEmployeesText(TFrmDataModule& data, int* employees = nullptr);
// The same, written whole to path (beside it first, then renamed over it); returns the
// number of employees written.
int ExportEmployees(TFrmDataModule& data, const std::string& path);

}  // namespace qnvr
