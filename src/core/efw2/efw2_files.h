#pragma once
// The files of electronic filing: where they live, and EFW2 text files and the clients
// list as lines. EFW2 lines are the records' Windows-1252 bytes; the clients list holds
// employer names, UTF-8 in memory and Windows-1252 on disk.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

inline constexpr const char* kSubmitterFileName = "QNVR.W2S";
inline constexpr const char* kClientsFileName = "QNVR.CP";
inline constexpr const char* kMasterFileName = "FormsW2Report.txt";

struct Efw2Paths {
    std::string programDir;  // both end with a separator
    std::string efw2Dir;

    // From the program folder and the data folder (the EFW2 folder is below it).
    static Efw2Paths For(const std::string& programDir, const std::string& dataDir);

    std::string SubmitterFile() const { return programDir + kSubmitterFileName; }
    std::string ClientsFile() const { return programDir + kClientsFileName; }
    std::string MasterFile() const { return efw2Dir + kMasterFileName; }
    // The client file of a payer file: its base name with ".txt" (PAYROLL1.W226 gives
    // PAYROLL1.txt) in the EFW2 folder.
    std::string ClientFileFor(const std::string& payerFilePath) const;
};

// Raises EQnvrException "Unable to <action> <path>" with the reason on the next line.
[[noreturn]] void RaiseFileError(const std::string& action, const std::string& path, const std::string& reason);

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// Lines of a text file, ended by CR LF (or LF alone); a missing file gives no lines.
// Other read failures raise EQnvrException naming the file.
std::vector<std::string> ReadLinesFile(const std::string& path);
// Replaces the whole file with the lines; raises EQnvrException naming the file.
void WriteLinesFile(const std::string& path, const std::vector<std::string>& lines);
// Replaces the whole file with text, as WriteLinesFile does.
void WriteWholeFile(const std::string& path, std::string_view text);
// The same with the text given in parts, written one after the other.
void WriteWholeFile(const std::string& path, std::span<const std::string_view> parts);

// The clients list ("QNVR.CP"): employer names converted to and from Windows-1252.
std::vector<std::string> ReadClientsFile(const std::string& path);
void WriteClientsFile(const std::string& path, const std::vector<std::string>& names);

// The read-only attribute, raising EQnvrException naming the file when it cannot be
// changed. Nothing happens for a missing file.
void SetReadOnlyIfExists(const std::string& path, bool readOnly);

}  // namespace qnvr
