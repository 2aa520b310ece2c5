#include "core/entry/employee_list.h"

#include <algorithm>

#include "core/text/text.h"

namespace qnvr {

std::string EmployeeListText(const W2Record& w2) {
    const std::string firstAndMiddle = Trim(w2.Boxe1 + " " + w2.Boxe2);
    return LeftStr(Trim(w2.Boxe3) + ",  " + firstAndMiddle, kEmployeeListTextChars);
}

void SortEmployeeList(std::vector<EmployeeListEntry>& entries) {
    std::vector<std::pair<std::string, EmployeeListEntry>> keyed;
    keyed.reserve(entries.size());
    for (EmployeeListEntry& entry : entries) keyed.emplace_back(UpperCase(entry.text), std::move(entry));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) entries[i] = std::move(keyed[i].second);
}

std::vector<EmployeeListEntry> BuildEmployeeList(TFrmDataModule& dm) {
    std::vector<EmployeeListEntry> entries;
    entries.reserve(static_cast<std::size_t>(std::max(dm.RSW2().RecordCount(), 0)));
    dm.ForEachW2([&](const W2Record& w2) { entries.push_back({EmployeeListText(w2), dm.RSW2().CurrentRecord()}); });
    SortEmployeeList(entries);
    dm.EmployeeListBuilt();
    return entries;
}

const std::vector<EmployeeListEntry>& TEmployeeList::For(TFrmDataModule& dm) {
    if (dm.EmployeeListDirty() || builtFor_ != &dm) {
        entries_ = BuildEmployeeList(dm);
        builtFor_ = &dm;
    }
    return entries_;
}

TEmployeeList& EmployeeList() {
    static TEmployeeList list;
    return list;
}

}  // namespace qnvr
