#include "platform/qt_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "core/program/program_setup.h"
#include "core/text/files.h"

namespace qnvr::platform {
namespace {

std::string FolderText(const QString& folder) { return IncludeTrailingSlash(QDir::cleanPath(folder).toStdString()); }

}  // namespace

std::string QtFolders::ProgramDir() const {
    const QString overridden = qEnvironmentVariable("QNVR_PROGRAM_DIR");
    if (!overridden.isEmpty()) return FolderText(QDir(overridden).absolutePath());
    return FolderText(QCoreApplication::applicationDirPath());
}

std::string QtFolders::DocumentsDir() const {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return FolderText(documents);
}

std::string QtFolders::StateDir() const { return PrepareStateFolder(ProgramDir()); }

bool DevelopmentEnvironment() {
    const QString value = qEnvironmentVariable("QNVR_DEVELOPMENT");
    return !value.isEmpty() && value != QLatin1String("0");
}

}  // namespace qnvr::platform
