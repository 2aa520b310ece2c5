#include "support/main_window_harness.h"

#include <QDir>
#include <QMenuBar>
#include <QTest>

#include "core/program/program_setup.h"

namespace qnvr::testing {

void MainWindowHarness::UseTemporaryConfigFolder() {
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
}

MainWindowHarness::MainWindowHarness()
    : folders_((home_.path() + QStringLiteral("/program")).toStdString(),
               (home_.path() + QStringLiteral("/Documents")).toStdString()),
      ports_{{{.prompter = prompter_,
                .passwordEntry = desktop_.Ports().passwordEntry,
                .busy = desktop_.Ports().busy,
                .busyNote = desktop_.Ports().busyNote},
               desktop_.Ports().printer,
               desktop_.Ports().jobUi}} {
    QDir(home_.path()).mkpath(QStringLiteral("program"));
    settings_ = std::make_unique<platform::QtSettingsStore>(SettingsRoot(true));
    QFile::remove(QString::fromStdString(settings_->FileName()));  // every test starts without settings
    settings_ = std::make_unique<platform::QtSettingsStore>(SettingsRoot(true));
}

MainWindowHarness::~MainWindowHarness() { Stop(); }

void MainWindowHarness::Start(std::vector<std::string> arguments) {
    Stop();
    window_ = std::make_unique<TFrmMain>(ports_, dm_, *settings_, folders_, std::move(arguments), TFrmMain::Options{0});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
}

void MainWindowHarness::Stop() {
    if (!window_) return;
    window_->close();
    window_.reset();
}

void MainWindowHarness::Restart() {
    Stop();
    settings_ = std::make_unique<platform::QtSettingsStore>(SettingsRoot(true));  // read afresh from the file
    Start();
}

std::string MainWindowHarness::Home() const { return home_.path().toStdString() + "/"; }
std::string MainWindowHarness::DataFolder() const { return Home() + "Documents/QNVR/2026/Data/"; }
std::string MainWindowHarness::ProgramFolder() const { return folders_.ProgramDir(); }

void MainWindowHarness::ChooseMenuItem(QMenu* menu, QAction* item) {
    QMenuBar* bar = window_->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QVERIFY2(item->isEnabled(), qPrintable(item->objectName() + QStringLiteral(" is disabled")));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

}  // namespace qnvr::testing
