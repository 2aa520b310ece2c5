#pragma once
// TFrmMain: the program's main window, from which every other window opens. It is the
// only place that opens and closes payer files: its File menu and tool bar run the payer
// file commands, and its caption, menus, summary and "no payer file" panel follow the
// data module's notifications of what is open.
#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/program/recent_files.h"
#include "core/base/folders.h"
#include "core/base/settings_store.h"
#include "core/program/payer_file_commands.h"
#include "ui/main/program_windows.h"
#include "ui/base/window_ports.h"

class QAction;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;

namespace qnvr {

class TFrmMain final : public QMainWindow, public PayerFileWindow {
    Q_OBJECT
public:
    struct Options {
        int welcomeMilliseconds = 1500;  // how long the welcome panel shows at start-up
    };

    // arguments: the command line after the program's name.
    // ports: the program's, which the main window and every window it opens talk through.
    TFrmMain(const WindowPorts& ports, TFrmDataModule& dataModule, SettingsStore& settings, const Folders& folders,
             std::vector<std::string> arguments, Options options);
    ~TFrmMain() override;

    // The show step: folders, settings, recent files, file dialogs and the payer file
    // named on the command line. Runs when the window is first shown.
    void FormShow();

    void UpdateFormCaption();
    void EnableMenuItems(bool enable);
    void ShowW3Entry() override;
    void ShowW2Entry() override;
    void AddRecentFile(const std::string& path);
    void RebuildRecentMenu();

    const RecentFiles& Recent() const { return recent_; }
    const std::string& DataFolder() const { return dataFolder_; }

    QWidget* Panel3;
    QToolButton *BtnNew, *BtnOpen, *BtnSaveAs, *BtnBackup, *BtnRestore, *BtnFormW2, *BtnFormW3, *BtnHelp;
    QFrame* MessagePanel;
    // With a payer file open: what it holds and what to do next (read-only).
    QFrame* SummaryPanel;
    QLabel *LblEmployer, *LblFormsW2, *LblReview, *LblLastEfw2, *LblNextStep, *LblBrowseOnly;
    std::array<QLabel*, 6> LblBoxTotal{};  // boxes 1 to 6
    QMenu *MnuFile, *MnuForms, *MnuTools, *MnuHelp;
    QAction *MnuOpen, *MnuNew, *MnuSaveAs, *MnuBackup, *MnuRestore, *MnuClose, *MnuImportEmployees,
        *MnuExportEmployees, *MnuPrintSetup, *MnuPrintLabels, *MnuExit, *MnuMRUSeparator;
    std::array<QAction*, RecentFiles::kSlots> MnuMRU{};
    QAction *MnuFormW2, *MnuFormW3, *MnuTransfer, *MnuEFW2, *MnuPassword;
    QAction *MnuContents, *MnuTechnicalSupport, *MnuLicenseAgreement, *MnuIRSInstructions, *MnuWebUpdate, *MnuAbout;
    QFileDialog* OpenFileDialog = nullptr;
    QFileDialog* SaveFileDialog = nullptr;

signals:
    void Closed();  // after the close step: the program ends

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct MenuItem;
    void CreateMenus();
    QAction* AddItems(QMenu* menu, std::initializer_list<MenuItem> items);
    QAction* AddItem(QMenu* menu, const MenuItem& item);
    void CreateToolBar();
    void CreateMessagePanel();
    void CreateSummaryPanel();
    // Shows what the open payer file holds; called after every command and window.
    void UpdateSummary();
    void CreateFileDialogs();
    void OpenProgramWindow(ProgramWindow window);
    void RunProgramWindow(ProgramWindow window);  // opens it, then refreshes caption and menus
    void Refresh();

    void MnuOpenClick();
    void MnuNewClick();
    void MnuSaveAsClick();
    void MnuBackupClick();
    void MnuRestoreClick();
    void MnuCloseClick();
    void MnuMRUClick(int slot);
    void MnuFormW2Click();
    void MnuFormW3Click();
    void MnuImportEmployeesClick();
    void MnuExportEmployeesClick();
    void MnuPrintSetupClick();
    void MnuPrintLabelsClick();
    void MnuTransferClick();
    void MnuEFW2Click();
    void MnuPasswordClick();
    void MnuContentsClick();
    void MnuTechnicalSupportClick();
    void MnuLicenseAgreementClick();
    void MnuIRSInstructionsClick();
    void MnuWebUpdateClick();
    void MnuAboutClick();

    TFrmDataModule& dm_;
    SettingsStore& settings_;
    const Folders& folders_;
    std::vector<std::string> arguments_;
    Options options_;
    bool shown_ = false;
    std::string programFolder_;
    std::string stateFolder_;
    std::string dataFolder_;
    RecentFiles recent_;
    std::unique_ptr<ProgramContext> context_;
    std::unique_ptr<PayerFileCommands> commands_;
    Subscription payerFileChanges_;  // last: it ends before anything it uses goes

    void PayerFileChanged(PayerFileChange change);
};

}  // namespace qnvr
