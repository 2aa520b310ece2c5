#pragma once
// The per-user settings store: string values under keys below the program's root
// ("Software\QNVR\2026\"). The desktop program keeps them in QSettings; tests keep
// them in memory.
#include <map>
#include <optional>
#include <string>

namespace qnvr {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // key is relative to the root, such as "RecentFiles"; name is the value name.
    virtual std::optional<std::string> ReadString(const std::string& key, const std::string& name) const = 0;
    virtual void WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
    virtual void DeleteValue(const std::string& key, const std::string& name) = 0;
    virtual bool KeyExists(const std::string& key) const = 0;
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) const override {
        auto it = values_.find({key, name});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void WriteString(const std::string& key, const std::string& name, const std::string& value) override {
        values_[{key, name}] = value;
    }
    void DeleteValue(const std::string& key, const std::string& name) override { values_.erase({key, name}); }
    bool KeyExists(const std::string& key) const override {
        for (const auto& [k, v] : values_)
            if (k.first == key) return true;
        return false;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace qnvr
