#pragma once
// Carrying last year's payer files over into this year's format: the list of last
// year's files in a folder, the conversion of one payer file pair, the texts of the
// transfer window and the copy of last year's electronic filing settings. Shared by the
// transfer window and `qnvr transfer`.
//
// Last year's files are only read: they are opened read-only and never locked, so a copy
// of last year's program may keep them open.
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

inline constexpr const char* kPriorPayerExt = ".W325";
inline constexpr const char* kPriorEmployeeExt = ".W225";

// The folder the transfer window proposes: documents folder + "QNVR/2025/Data/".
std::string DefaultPriorYearFolder(const std::string& documentsDir);

// Checks the folder the user named (EQnvrException "Path to 2025 data files is missing"
// for a blank text, "2025 data files not found in specified location" when it holds no
// ".W325" file) and returns it trimmed, with a trailing separator.
std::string CheckPriorYearFolder(std::string_view path);

// The ".W325" file names of folder, sorted as the transfer window lists them: names
// already transferred into dataFolder (a ".W326" of the same base name exists there)
// carry a leading "*", which sorts them first.
std::vector<std::string> PriorYearFileEntries(const std::string& folder, const std::string& dataFolder);
// The file name of a list entry: the entry without its "*" mark.
std::string EntryFileName(std::string_view entry);

enum class TransferResult { Transferred, Skipped };

// Converts last year's pair fromFolder + name (".W325") and its ".W225" into this year's
// pair in dataFolder (".W326" and ".W226", same base name). With overwrite false an
// existing ".W326" target skips the file. Both source files are read whole before
// anything is written, and the pair is written all-or-nothing: a failure leaves the
// targets as they were. Throws ETransferException naming the file and the reason.
TransferResult TransferPayerFile(const std::string& fromFolder, const std::string& name, const std::string& dataFolder,
                                 bool overwrite);

// The status texts of the transfer window.
std::string SelectionStatus(int selected);                             // " 1 file selected", " 3 files selected"
std::string TransferredStatus(const std::string& status, int count);  // status + " - 1 file transferred"

// Where last year's program keeps its electronic filing settings "QNVR.W2S": the folders
// that lie beside this year's state and program folders under the name "2025"
// (".../quenvora-w2/2025/" next to ".../quenvora-w2/2026/"), in the order given, each
// once. A folder not named "2026" (a build folder) has no such neighbour.
std::vector<std::string> PriorYearFolders(const std::vector<std::string>& thisYearFolders);

// Copies the first "QNVR.W2S" found in priorFolders to stateFolder + "QNVR.W2S" when
// that file does not exist yet; returns the path copied from, or "" when nothing was
// copied. A failed copy throws ECopyFileException (CopyFileChecked).
std::string CarryOverEfw2Settings(const std::vector<std::string>& priorFolders, const std::string& stateFolder);

}  // namespace qnvr
