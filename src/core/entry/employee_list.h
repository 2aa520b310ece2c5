#pragma once
// The employee list: one entry per W-2 record of the open payer file, by name, sorted,
// from which the user jumps to an employee. Walking the file costs one read per
// employee, so the program keeps the list for its whole run and builds it again only
// when the payer file's EmployeeListDirty flag says names or records changed.
#include <string>
#include <vector>

#include "core/store/data_module.h"
#include "core/store/records.h"

namespace qnvr {

struct EmployeeListEntry {
    std::string text;  // "Last,  First M", at most 40 characters
    int record = 0;    // the record number the entry was read from

    bool operator==(const EmployeeListEntry&) const = default;
};

inline constexpr int kEmployeeListTextChars = 40;

// Last name + ",  " + first name and middle initial, each part trimmed, cut to 40 characters.
std::string EmployeeListText(const W2Record& w2);

// Sorts by text without regard to letter case. Entries with equal texts keep their
// record order, so equal names stay apart and each keeps its own record number.
void SortEmployeeList(std::vector<EmployeeListEntry>& entries);

// Visits every W-2 record of dm in record order (the current record is read again
// afterwards), returns the sorted list and clears EmployeeListDirty.
std::vector<EmployeeListEntry> BuildEmployeeList(TFrmDataModule& dm);

// The program's one employee list.
class TEmployeeList {
public:
    // The list of dm's open payer file: built again only when EmployeeListDirty is set
    // (or when it was last built for another payer file store).
    const std::vector<EmployeeListEntry>& For(TFrmDataModule& dm);
    const std::vector<EmployeeListEntry>& Entries() const { return entries_; }

private:
    std::vector<EmployeeListEntry> entries_;
    const TFrmDataModule* builtFor_ = nullptr;
};

TEmployeeList& EmployeeList();

}  // namespace qnvr
