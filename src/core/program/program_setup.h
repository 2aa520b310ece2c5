#pragma once
// What the program settles at start-up and at the end of a run: its version and
// captions, the settings root, the data folder below the user's documents, the screen
// it needs, the payer file named on the command line and the files it leaves behind.
#include <string>
#include <vector>

namespace qnvr {

inline constexpr const char* kProgramVersion = "2026.00";
inline constexpr const char* kProductName = "Quenvora W-2 2026 (64-bit)";
// The maker's web site, shown on the About window.
inline constexpr const char* kMakerWebAddress = "https://www.quenvora.com/";
inline constexpr const char* kReportDesignFileName = "W2TXFR26.json";
inline constexpr const char* kReportSnapshotFileName = "QNVR.RPT";
inline constexpr int kMinScreenWidth = 1280;
inline constexpr int kMinScreenHeight = 800;

// The root of the program's settings; the development root keeps a developer's test
// runs away from the settings of the installed program.
std::string SettingsRoot(bool developmentEnvironment);

// The program needs 1280 by 800: a screen short of that in both directions is refused,
// one short in a single direction is accepted.
bool ScreenTooSmall(int width, int height);
std::string ScreenTooSmallMessage();

// documentsDir + "QNVR/2026/Data/". PrepareDataFolder also creates each missing level,
// the documents folder included; a level that cannot be created is left to the file
// commands to report.
std::string DataFolderOf(const std::string& documentsDir);
std::string PrepareDataFolder(const std::string& documentsDir);

// The main window's caption: the version alone, or with the employer's name while a
// payer file is open.
std::string MainCaption(bool payerFileOpen, const std::string& employerName);

// The payer file named on the command line: every argument joined by single blanks
// (so a path with blanks needs no quotes), trailing blanks removed. Only an existing
// file whose extension is exactly ".W226" counts; anything else gives an empty text.
std::string CommandLinePayerFile(const std::vector<std::string>& args);

// Removes what an update download left in the program folder.
void DeleteUpdateLeftovers(const std::string& programDir);
// Removes the page snapshot of the last print job from the working directory.
void DeleteReportSnapshot();

// The folder for the program's own files between runs ("QNVR.W2S", "QNVR.CP",
// "QNVR.RPT", update downloads): the program folder itself when this user may write
// there (a copy run from its build or a folder of its own), else, for a copy installed
// by the system administrator, "quenvora-w2/2026/" under the user's state folder
// (XDG_STATE_HOME, by default ~/.local/state). Ends with a separator.
std::string StateFolderFor(const std::string& programDir, bool programDirWritable, const std::string& xdgStateHome,
                           const std::string& homeDir);
// StateFolderFor for this process: asks the system whether programDir may be written,
// reads XDG_STATE_HOME and HOME, and creates the folder when it is missing.
std::string PrepareStateFolder(const std::string& programDir);

// Makes the state folder the working directory (again). Throws EQnvrException with the
// system's reason when it cannot.
void MakeStateFolderCurrent(const std::string& stateDir);

}  // namespace qnvr
