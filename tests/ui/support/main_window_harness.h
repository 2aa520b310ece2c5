#pragma once
// A main window in a fresh temporary home, with the program's own ports except that
// message boxes are answered by a ScriptedPrompter and modal windows by a ModalScript. The settings live
// in a real settings file, so that a restart of the main window reads what it wrote.
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "core/base/folders.h"
#include "core/base/scripted_prompter.h"
#include "core/store/data_module.h"
#include "platform/qt_settings_store.h"
#include "support/modal_script.h"
#include "ui/main/desktop_ports.h"
#include "ui/main/frm_main.h"

class QAction;
class QMenu;

namespace qnvr::testing {

class MainWindowHarness {
public:
    // Call once per test program, before the first settings file is opened: points the
    // user's configuration folder into a temporary folder.
    static void UseTemporaryConfigFolder();

    MainWindowHarness();
    ~MainWindowHarness();

    // Closes the main window that is shown, if any, then creates and shows a new one;
    // arguments as on the command line.
    void Start(std::vector<std::string> arguments = {});
    // Closes the main window (its close step runs) and starts a new one.
    void Restart();
    void Stop();

    TFrmMain& Window() { return *window_; }
    TFrmDataModule& DataModule() { return dm_; }
    platform::QtSettingsStore& Settings() { return *settings_; }
    ScriptedPrompter& Prompter() { return prompter_; }
    ModalScript& Modals() { return modals_; }
    WindowPorts& Ports() { return ports_; }
    std::string Home() const;
    std::string DataFolder() const;
    std::string ProgramFolder() const;

    // Opens menu on the menu bar with a click and clicks item in it.
    void ChooseMenuItem(QMenu* menu, QAction* item);

private:
    QTemporaryDir home_;
    FixedFolders folders_;
    std::unique_ptr<platform::QtSettingsStore> settings_;
    DesktopPorts desktop_;
    ScriptedPrompter prompter_;
    WindowPorts ports_;
    ModalScript modals_{ports_};
    TFrmDataModule dm_{ports_};
    std::unique_ptr<TFrmMain> window_;
};

}  // namespace qnvr::testing
