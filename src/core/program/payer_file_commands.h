#pragma once
// The File menu's commands on payer files: Open, New, Save As, Backup, Restore, Close
// and the recent files. The main window shows the dialogs; each command here takes what
// its dialog returned (a chosen path, a typed name, a folder) and does the rest with the
// data module. Every command treats the ".W226"/".W326" pair as one unit: it closes the
// open payer file first (which saves the current records), copies or opens both files
// and reopens; the main window follows through the data module's notifications.
#include <string>
#include <vector>

#include "core/base/settings_store.h"
#include "core/store/data_module.h"

namespace qnvr {

// The folder Backup and Restore remember, under the settings root.
inline constexpr const char* kBackupKey = "Backup";
inline constexpr const char* kBackupPathValue = "Path";

// The characters of a payer name, as the new-file window's filter: letters, digits,
// blanks and , ! # $ % & ( ) - _ { } @. Nothing that could lead outside the data folder.
inline constexpr const char* kPayerNameValidChars = "[A..Z,a..z,0..9, ,',',!,#,$,%,&,(,),-,_,{,},@]";
inline constexpr int kPayerNameMaxLength = 50;

// What the commands need of the main window. The window follows what they open and
// close through the data module's notifications (TFrmDataModule::Subscribe).
class PayerFileWindow {
public:
    virtual ~PayerFileWindow() = default;
    // New shows the W-3 entry window and then the W-2 entry window, each modally, so
    // that the payer is entered before the first employee.
    virtual void ShowW3Entry() = 0;
    virtual void ShowW2Entry() = 0;
};

class PayerFileCommands {
public:
    // dataFolder ends with a separator.
    PayerFileCommands(TFrmDataModule& dataModule, SettingsStore& settings, PayerFileWindow& window,
                      std::string dataFolder);

    // The file chosen in the open dialog; anything but a ".W226" file is refused.
    void Open(const std::string& chosenPath);
    // Creates the pair for a typed payer name in the data folder, then lets the user
    // enter the payer and the first employee. True when the new payer file is open.
    bool New(const std::string& name);
    // Copies the open pair to the path chosen in the save dialog and opens the copy.
    void SaveAs(const std::string& chosenPath);
    // The folder the last Backup or Restore used; empty when there was none.
    std::string BackupFolder() const;
    void Backup(const std::string& folder);
    void Restore(const std::string& folder);
    void Close();
    void OpenRecent(const std::string& path);
    // Opens the payer file named on the command line, if it names one.
    void OpenFromCommandLine(const std::vector<std::string>& args);

    // Where New puts the W-2 file of a payer name.
    std::string NewFilePath(const std::string& name) const;
    // Where Save As puts the W-2 file for a chosen path: its folder, the name up to the
    // first ".", then ".W226".
    static std::string SaveAsTarget(const std::string& chosenPath);

private:
    void OpenAndClearReviews(const std::string& path);
    void RememberBackupFolder(const std::string& folder);

    TFrmDataModule& dm_;
    SettingsStore& settings_;
    PayerFileWindow& window_;
    std::string dataFolder_;
};

// Copies a ".W226" file and its ".W326" file over another pair so that the targets
// change together: both copies are made beside their targets first and only then put in
// place, so a failed copy (a missing backup file, a full disk) leaves both targets as
// they were. Throws ECopyFileException and sets CopyFailed as CopyFileChecked does.
void CopyPayerFilePair(const std::string& sourceW2, const std::string& targetW2);

}  // namespace qnvr
