#include "platform/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace qnvr::platform {

bool OpenDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool OpenWebAddress(const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

QString HelpFolder(const std::string& programDir) { return QString::fromStdString(programDir) + QLatin1String("help/"); }

std::optional<QString> HelpTopicFile(const std::string& programDir, int topic) {
    const QString file = HelpFolder(programDir) + QString::number(topic) + QLatin1String(".html");
    if (!QFileInfo(file).isFile()) return std::nullopt;
    return file;
}

}  // namespace qnvr::platform
