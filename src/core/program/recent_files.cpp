#include "core/program/recent_files.h"

#include <algorithm>
#include <vector>

#include "core/text/text.h"

namespace qnvr {

void RecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    std::vector<std::string> list(slots_.begin(), slots_.end());
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    list.resize(kSlots - 1);  // drops the oldest when nothing was removed; pads with free slots
    list.insert(list.begin(), path);
    std::copy(list.begin(), list.end(), slots_.begin());
}

void RecentFiles::Load(const SettingsStore& settings) {
    for (int k = 0; k < kSlots; ++k)
        slots_[static_cast<std::size_t>(k)] = settings.ReadString(kRecentFilesKey, std::to_string(k)).value_or("");
}

void RecentFiles::Save(SettingsStore& settings) const {
    for (int k = 0; k < kSlots; ++k) settings.WriteString(kRecentFilesKey, std::to_string(k), Slot(k));
}

std::string RecentFiles::MenuCaption(int slot, const std::string& path) {
    return "&" + std::to_string(slot) + " " + DoubleAmpersands(path);
}

}  // namespace qnvr
