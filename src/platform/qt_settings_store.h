#pragma once
// The per-user settings store over QSettings. The registry root "Software\QNVR\2026\"
// becomes the settings file of organisation "QNVR" and application "2026" in the user's
// configuration folder (~/.config/QNVR/2026.ini), and each key below the root ("RecentFiles",
// "Backup", "Printer") a section of it holding the values by their own names.
#include <QSettings>

#include <memory>
#include <string>

#include "core/base/settings_store.h"

namespace qnvr::platform {

class QtSettingsStore final : public SettingsStore {
public:
    // root as SettingsRoot gives it: "Software\<organisation>\<application>\".
    explicit QtSettingsStore(const std::string& root);

    std::optional<std::string> ReadString(const std::string& key, const std::string& name) const override;
    // Written through to the file at once; throws EQnvrException naming the file when
    // it cannot be written.
    void WriteString(const std::string& key, const std::string& name, const std::string& value) override;
    void DeleteValue(const std::string& key, const std::string& name) override;
    bool KeyExists(const std::string& key) const override;

    std::string FileName() const;

private:
    void Sync();
    std::unique_ptr<QSettings> settings_;
};

}  // namespace qnvr::platform
