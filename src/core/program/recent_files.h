#pragma once
// The recent-files list of the File menu: ten slots, slot 0 the most recent, an empty
// text a free slot. A payer file enters the list when it is closed, not when it is
// opened. The list lives in the settings store under "RecentFiles", one value per slot
// named "0" to "9".
#include <array>
#include <string>

#include "core/base/settings_store.h"

namespace qnvr {

inline constexpr const char* kRecentFilesKey = "RecentFiles";

class RecentFiles {
public:
    static constexpr int kSlots = 10;

    // Puts path in slot 0; an earlier entry of the same path (letter case included) goes,
    // and so does the oldest entry when the list is full. An empty path is ignored.
    void Add(const std::string& path);

    const std::string& Slot(int slot) const { return slots_.at(static_cast<std::size_t>(slot)); }

    // A missing key or value reads as a free slot.
    void Load(const SettingsStore& settings);
    void Save(SettingsStore& settings) const;

    // "&3 /home/pat/A && B.W226": the slot digit as the accelerator, then the path with
    // every "&" doubled so that the menu shows it.
    static std::string MenuCaption(int slot, const std::string& path);

private:
    std::array<std::string, kSlots> slots_;
};

}  // namespace qnvr
