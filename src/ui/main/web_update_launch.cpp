// Help, Web Update: the update check against the update server named in the settings,
// the verified download of the new version's package, and the program's close so that
// the package can be installed.
#include <QMetaObject>
#include <QWidget>

#include "core/program/web_update.h"
#include "platform/qt_update_downloader.h"
#include "platform/shell.h"
#include "ui/main/program_windows.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration webUpdate{ProgramWindow::WebUpdate, [](QWidget* parent, ProgramContext& context) {
    platform::QtUpdateDownloader downloader;
    WebUpdatePorts ports{downloader, platform::InternetConnected, platform::OpenDocument};
    const std::string server = UpdateServer(context.Settings);
    if (RunWebUpdate(PortsOf(parent), ports, server, context.StateFolder, MakerUpdateKey()) == WebUpdateResult::Installing && parent)
        QMetaObject::invokeMethod(parent->window(), "close", Qt::QueuedConnection);
}};

}  // namespace
}  // namespace qnvr
