#pragma once
// What the commands share: payer files opened for reading only, the program folder, and
// the check of a payer file's records.
//
// The tool writes a payer file only to import employees into it, and then holds its
// lock as the desktop program does. Every other command never writes and never locks: a
// payer file that the desktop program holds open is read as it stands on disk, and
// nothing of it changes. A record that cannot be read raises the store's
// EStoreException, which ends the command with an error instead of yielding a blank
// record.
#include <string>
#include <vector>

#include "core/base/core_ports.h"
#include "core/store/data_module.h"

namespace qnvr::cli {

// The program folder: QNVR_PROGRAM_DIR, else the folder of the executable; with a
// trailing separator.
std::string ProgramDir();
// The desktop program's state folder for the same program folder (see
// PrepareStateFolder): where efw2 reads "QNVR.W2S" and transfer carries it to.
std::string StateDir();

// The tool's prompter. It shows nothing on a screen: questions get their default
// answer. Errors reach the command as exceptions.
class CliPrompter final : public Prompter {
public:
    MsgButton Show(const std::string& text, const std::string& caption, MsgStyle style) override;
};

// The tool's password entry: QNVR_PASSWORD, else typed on the terminal without echo.
// Scripts without either get a clear error instead of a hanging prompt.
class CliPasswordEntry final : public PasswordEntry {
public:
    std::optional<std::string> Ask(const std::string& prompt, const std::string& caption) override;
};

// One payer file, open for reading. A password-protected file takes its password from
// the ports' password entry.
enum class PayerAccess { Read, Write };

class PayerReader {
public:
    // Opens path (the ".W226" file; its ".W326" file beside it). Throws EQnvrException
    // naming the file when it is missing, holds no record or cannot be opened. With
    // PayerAccess::Write the pair is opened for writing and locked, or browse-only when
    // the desktop program holds it.
    PayerReader(const CorePorts& ports, const std::string& path, PayerAccess access = PayerAccess::Read);
    ~PayerReader();
    PayerReader(const PayerReader&) = delete;
    PayerReader& operator=(const PayerReader&) = delete;

    const std::string& Path() const { return path_; }
    TFrmDataModule& Data() { return data_; }
    const W3Record& W3() const { return data_.W3Rec(); }
    std::vector<W2Record> Employees();
    // The W-3 totals recomputed from the W-2 records, in memory only.
    void RecomputeTotals();

private:
    // Passes the prompt on to the ports' entry and remembers that a password was asked for.
    class AskedPassword final : public PasswordEntry {
    public:
        explicit AskedPassword(PasswordEntry& entry) : entry_(entry) {}
        std::optional<std::string> Ask(const std::string& prompt, const std::string& caption) override {
            asked = true;
            return entry_.Ask(prompt, caption);
        }
        bool asked = false;

    private:
        PasswordEntry& entry_;
    };

    std::string path_;
    AskedPassword password_;
    TFrmDataModule data_;
};

// The W-3 rule set on the W-3 record, then the W-2 rule set on every W-2 record: one
// line per failing record ("W-3: ..." or "W-2 record N: ..."), none when all pass.
// With warnings, also what passes but will not be filed as it stands (a name whose
// accented letters the EFW2 file folds), as "W-2 record N: warning: ...".
std::vector<std::string> CheckPayer(PayerReader& payer, std::vector<std::string>* warnings = nullptr);

// The same check fed one W-2 record at a time, for a command that reads the records once
// for several purposes.
class PayerCheck {
public:
    explicit PayerCheck(bool withWarnings) : withWarnings_(withWarnings) {}
    void Add(const W2Record& w2);
    // The failures, the W-3's first; the warnings, the W-3's first, into warnings.
    std::vector<std::string> Finish(const W3Record& w3, std::vector<std::string>* warnings);

private:
    bool withWarnings_;
    int number_ = 0;
    std::vector<std::string> failures_;
    std::vector<std::string> warnings_;
};

}  // namespace qnvr::cli
