#include "platform/qt_settings_store.h"

#include <QStringList>

#include "core/base/errors.h"

namespace qnvr::platform {
namespace {

// "Software\QNVR\2026\" gives {"Software", "QNVR", "2026"}.
QStringList RootParts(const std::string& root) {
    return QString::fromStdString(root).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString SettingPath(const std::string& key, const std::string& name) {
    QString path = QString::fromStdString(key);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + QString::fromStdString(name);
}

}  // namespace

QtSettingsStore::QtSettingsStore(const std::string& root) {
    const QStringList parts = RootParts(root);
    if (parts.size() != 3 || parts[0] != QLatin1String("Software"))
        throw EQnvrException("Invalid settings root " + root);
    settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, parts[1], parts[2]);
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& key, const std::string& name) const {
    const QString path = SettingPath(key, name);
    if (!settings_->contains(path)) return std::nullopt;
    return settings_->value(path).toString().toStdString();
}

void QtSettingsStore::WriteString(const std::string& key, const std::string& name, const std::string& value) {
    settings_->setValue(SettingPath(key, name), QString::fromStdString(value));
    Sync();
}

void QtSettingsStore::DeleteValue(const std::string& key, const std::string& name) {
    settings_->remove(SettingPath(key, name));
    Sync();
}

bool QtSettingsStore::KeyExists(const std::string& key) const {
    QString group = QString::fromStdString(key);
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return settings_->childGroups().contains(group);
}

std::string QtSettingsStore::FileName() const { return settings_->fileName().toStdString(); }

void QtSettingsStore::Sync() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw EQnvrException("Unable to save the program's settings to " + FileName());
}

}  // namespace qnvr::platform
