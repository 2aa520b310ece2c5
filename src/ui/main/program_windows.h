#pragma once
// The windows the main window opens from its menus that belong to other parts of the
// program: the entry windows, printing, electronic filing, the transfer, the import and
// export of employees, the web update and About. Each registers how it is opened, in its own source file:
//
//     static const ProgramWindowRegistration registration{ProgramWindow::FormW2,
//         [](QWidget* parent, ProgramContext& context) {
//             TFrmW2 window(context.DataModule, context.Printing, parent);
//             ExecModal(window);
//         }};
//
// A menu item whose window is not part of the build stays disabled. The desktop program
// links the whole of qnvr_ui, so every registration in it takes part.
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "core/base/settings_store.h"
#include "core/program/program_setup.h"
#include "core/store/data_module.h"
#include "forms/form_jobs.h"

namespace qnvr {

enum class ProgramWindow {
    FormW2,
    FormW3,
    PrintSetup,
    PrintLabels,
    Transfer,
    EFW2,
    WebUpdate,
    About,
    ImportEmployees,
    ExportEmployees,  // the save dialog, the export and its message
};

// What a window opened from the main window works with. Folders end with a separator.
struct ProgramContext {
    TFrmDataModule& DataModule;
    SettingsStore& Settings;
    std::string ProgramFolder;
    std::string StateFolder;  // the program's own files between runs (see Folders::StateDir)
    std::string DataFolder;
    std::string ReportDesignFile;  // program folder + "W2TXFR26.json"
    // The lines of the master EFW2 file, kept while the program runs: created empty when
    // the main window first shows, loaded and saved by the EFW2 window.
    std::vector<std::string> MasterList{};
    // The print jobs, with the program run's form type and masking choices; their pages
    // are recorded in the state folder's snapshot file.
    forms::FormPrinting Printing{DataModule, Settings, ReportDesignFile, StateFolder + kReportSnapshotFileName};
};

// Shows the window, modally; returns when it has closed.
using WindowLauncher = std::function<void(QWidget* parent, ProgramContext& context)>;

// A later registration for the same window replaces the earlier one (tests use this).
void RegisterProgramWindow(ProgramWindow window, WindowLauncher launcher);
void UnregisterProgramWindow(ProgramWindow window);
const WindowLauncher* FindProgramWindow(ProgramWindow window);

struct ProgramWindowRegistration {
    ProgramWindowRegistration(ProgramWindow window, WindowLauncher launcher) {
        RegisterProgramWindow(window, std::move(launcher));
    }
};

}  // namespace qnvr
