// quenvora-w2: the desktop program. Refuses a screen that is too small, puts on the
// program's look and title, creates the main window and the data module and runs the
// event loop until the main window closes.
#include <QCoreApplication>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/program/program_setup.h"
#include "core/base/prompter.h"
#include "core/store/data_module.h"
#include "platform/qt_folders.h"
#include "platform/qt_settings_store.h"
#include "ui/main/desktop_ports.h"
#include "ui/main/frm_main.h"
#include "ui/main/product_icon.h"
#include "ui/base/cyan_dusk.h"
#include "ui/base/error_display.h"

namespace {

bool ScreenTooSmall() {
    const QScreen* screen = QApplication::primaryScreen();
    return screen && qnvr::ScreenTooSmall(screen->size().width(), screen->size().height());
}

std::vector<std::string> Arguments() {
    const QStringList all = QApplication::arguments();
    std::vector<std::string> arguments;
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    // "--version" alone: the version and the folders the program works from, without a screen.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        QCoreApplication core(argc, argv);
        const qnvr::platform::QtFolders folders;
        std::printf("Quenvora W-2 Version %s\nProgram folder: %s\nState folder: %s\n", qnvr::kProgramVersion,
                    folders.ProgramDir().c_str(), folders.StateDir().c_str());
        return 0;
    }
    qnvr::QnvrApplication app(argc, argv);
    if (ScreenTooSmall()) {
        QMessageBox refusal(QMessageBox::Critical, QString::fromLatin1(qnvr::kAppTitle),
                            QString::fromStdString(qnvr::ScreenTooSmallMessage()), QMessageBox::Ok);
        refusal.exec();
        return 0;
    }
    qnvr::ApplyCyanDusk();
    QApplication::setWindowIcon(qnvr::ProductIcon());

    const qnvr::DesktopPorts desktop;
    qnvr::platform::QtFolders folders;
    qnvr::platform::QtSettingsStore settings(qnvr::SettingsRoot(qnvr::platform::DevelopmentEnvironment()));
    qnvr::TFrmDataModule dataModule(desktop.Ports());
    qnvr::TFrmMain mainWindow(desktop.Ports(), dataModule, settings, folders, Arguments(), {});
    QObject::connect(&mainWindow, &qnvr::TFrmMain::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    mainWindow.show();
    return app.exec();
}
