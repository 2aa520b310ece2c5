#pragma once
// TFrmDataModule: the payer file that is open. It owns the two record stores (RSW2 for
// the ".W226" W-2 file, RSW3 for the ".W326" W-3 file), keeps the current W-2 and W-3
// records in memory (W2Rec, W3Rec) and the program-wide state that goes with the open
// file. Every window reads and changes only W2Rec and W3Rec; every read of a store
// replaces them, every post writes them.
#include <exception>
#include <functional>
#include <string>

#include "core/base/core_ports.h"
#include "core/store/password.h"
#include "core/store/record_set.h"
#include "core/store/records.h"

namespace qnvr {

inline constexpr const char* kW2Extension = ".W226";
inline constexpr const char* kW3Extension = ".W326";
inline constexpr int kMaxEmployees = 10000;

// The two entry windows whose review electronic filing waits for.
enum class EntryWindow : unsigned { W2 = 1, W3 = 2 };

// The W-3 totals summed one W-2 record at a time (ComputeW3Totals walks the file with it).
class W3TotalsSum {
public:
    void Add(const W2Record& w2);
    // Sets w3's form count and its totals to the sums.
    void ApplyTo(W3Record& w3, int formCount) const;

private:
    W3Record sums_;
};

// A form with wages: Box 1 or the first state wages round to more than 0.
bool HasWages(const W2Record& w2);

class TFrmDataModule {
public:
    // The payer file asks, warns and shows busy through ports.
    explicit TFrmDataModule(const CorePorts& ports);
    // The ports it was built with: the commands that work on the payer file (open, save
    // as, backup, EFW2) talk to the same user through them.
    const CorePorts& Ports() const { return ports_; }
    ~TFrmDataModule();
    TFrmDataModule(const TFrmDataModule&) = delete;
    TFrmDataModule& operator=(const TFrmDataModule&) = delete;

    TRecordSet RSW2;
    TRecordSet RSW3;
    W2Record W2Rec;
    W3Record W3Rec;
    TPasswordDialog PasswordDialog;

    std::string PayerFilePath;  // the open ".W226" file; empty when none is open
    bool PayerFileOpen = false;
    bool SkipPasswordCheck = false;  // set only while the program reopens a file it just closed
    bool EmployeeListDirty = false;
    int ReviewCount = 0;  // 0, 1 or 2: how many of the two entry windows were reviewed

    // An entry window closed after its review. Each window counts once: closing the
    // W-2 window twice does not stand in for a review of the W-3, whose employer data
    // every electronic filing carries.
    void EntryWindowReviewed(EntryWindow window);
    // Whether that window has been reviewed since the payer file was opened.
    bool Reviewed(EntryWindow window) const { return (reviewedWindows_ & static_cast<unsigned>(window)) != 0; }
    // A payer file was opened, created or restored: nothing has been reviewed yet.
    void ClearReviews();

    // The main window's recent-files list: rebuilt after an open, and told the path of
    // each payer file that closes.
    std::function<void()> OnRebuildRecentMenu;
    std::function<void(const std::string& path)> OnAddRecentFile;

    // The W-3 file beside a ".W226" path.
    static std::string W3PathFor(const std::string& w2Path);

    // Opens the pair at path (password check included); afterwards PayerFileOpen tells
    // whether it is open. When the W-3 file opens but the W-2 file does not, the W-3 file
    // is closed again, so that either both are open or neither. A failure raises
    // EStoreException (a cancelled password prompt only leaves the file closed).
    void OpenPayerFile(const std::string& path);
    // Saves both current records and closes the pair (nothing when none is open). Both
    // files close even when a record cannot be saved; that failure is raised afterwards.
    void ClosePayerFile();

    // Forms with wages: records whose Box 1 or first state wages round to more than 0.
    int CountW2WithWages();
    // The W-3 totals from every W-2 record; the W-2 record that was current is read again.
    void ComputeW3Totals();

    // Calls visit for every W-2 record in record order, then reads the current one again.
    void ForEachW2(const std::function<void(const W2Record&)>& visit);
    // Calls visit for every W-2 record in record order as the file holds it, reading the
    // file in large blocks; the cursor and W2Rec stay as they are. For walks that only read.
    void ReadEachW2(const std::function<void(const W2Record&)>& visit) const;

private:
    CorePorts ports_;
    unsigned reviewedWindows_ = 0;  // EntryWindow bits
    std::exception_ptr closeFailure_;  // a save that failed while the pair closed

    void WireStores();
    void RSW2BeforeOpen();
    void RSW2AfterOpen();
    void RSW2BeforeClose();
    void RSW2AfterClose();
    void RSW2AfterNewRec();
    bool CheckPassword();
};

}  // namespace qnvr
