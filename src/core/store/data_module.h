#pragma once
// TFrmDataModule: the payer file that is open. It owns the two record stores (RSW2 for
// the ".W226" W-2 file, RSW3 for the ".W326" W-3 file), keeps the current W-2 and W-3
// records in memory (W2Rec, W3Rec) and the program-wide state that goes with the open
// file. Every window reads only W2Rec and W3Rec and changes them through EditW2Rec and
// EditW3Rec; every read of a store replaces them, every post writes them. Whatever
// changes is told to the subscribers (Subscribe), which is how windows follow the file.
#include <exception>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/base/core_ports.h"
#include "core/base/notifier.h"
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

// What changed in the open payer file; windows follow the data module by these.
enum class PayerFileChange {
    Opened,               // a payer file is open now (PayerFileOpen() is true)
    Closed,               // the payer file closed; PayerFilePath() still names it while this is told
    ReviewsChanged,       // an entry window's review was counted, or the reviews were cleared
    EmployeeListChanged,  // employees were added, deleted, or their names changed
    W2RecordReplaced,     // W2Rec() holds another record, or the window's edit of it
    W3RecordReplaced,     // W3Rec() was read again, or holds the window's edit
};

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

    // The two stores. Windows navigate, read, post, add and delete through them; every
    // read replaces W2Rec()/W3Rec() and every post writes it. The payer file itself is
    // opened and closed only by OpenPayerFile and ClosePayerFile.
    TRecordSet& RSW2() { return rsw2_; }
    const TRecordSet& RSW2() const { return rsw2_; }
    TRecordSet& RSW3() { return rsw3_; }
    const TRecordSet& RSW3() const { return rsw3_; }

    // The current W-2 and W-3 records.
    const W2Record& W2Rec() const { return w2Rec_; }
    const W3Record& W3Rec() const { return w3Rec_; }
    // A window's edit of the current record: it replaces the record in memory (to be
    // written by the next post or by closing the file) and is told as *RecordReplaced.
    void EditW2Rec(const W2Record& record);
    void EditW3Rec(const W3Record& record);
    // The same for a change made in place, e.g. EditW3Rec([](W3Record& w3) { ... }).
    void EditW2Rec(const std::function<void(W2Record&)>& edit);
    void EditW3Rec(const std::function<void(W3Record&)>& edit);
    // The edit, written to the file at once. False when the store did not write it.
    bool PostW2Rec(const W2Record& record);
    bool PostW3Rec(const W3Record& record);

    // The open ".W226" file; empty when none is open.
    const std::string& PayerFilePath() const { return payerFilePath_; }
    bool PayerFileOpen() const { return payerFileOpen_; }

    // The employee list must be built again before it is shown next.
    bool EmployeeListDirty() const { return employeeListDirty_; }
    // Employees were added or deleted, or a name or SSN changed.
    void EmployeeListChanged();
    // The employee list was built from the file as it is now.
    void EmployeeListBuilt() { employeeListDirty_ = false; }

    // 0, 1 or 2: how many of the two entry windows were reviewed since the file opened.
    int ReviewCount() const { return reviewCount_; }
    // An entry window closed after its review. Each window counts once: closing the
    // W-2 window twice does not stand in for a review of the W-3, whose employer data
    // every electronic filing carries.
    void EntryWindowReviewed(EntryWindow window);
    // Whether that window has been reviewed since the payer file was opened.
    bool Reviewed(EntryWindow window) const { return (reviewedWindows_ & static_cast<unsigned>(window)) != 0; }
    // A payer file was opened, created or restored: nothing has been reviewed yet.
    void ClearReviews();

    // Every change from now until the subscription ends; see PayerFileChange.
    [[nodiscard]] Subscription Subscribe(std::function<void(PayerFileChange)> listener) {
        return changes_.Subscribe(std::move(listener));
    }

    // The W-3 file beside a ".W226" path.
    static std::string W3PathFor(const std::string& w2Path);

    // Opens the pair at path (password check included); afterwards PayerFileOpen tells
    // whether it is open. When the W-3 file opens but the W-2 file does not, the W-3 file
    // is closed again, so that either both are open or neither. A failure raises
    // EStoreException (a cancelled password prompt only leaves the file closed).
    void OpenPayerFile(const std::string& path);
    // Opens again a payer file the program itself has just closed (to copy it), without
    // asking for its password again.
    void ReopenPayerFile(const std::string& path);
    // Saves both current records and closes the pair (nothing when none is open); no
    // payer file is open afterwards. Both files close even when a record cannot be
    // saved; that failure is raised afterwards.
    void ClosePayerFile();

    // Writes record's earlier bytes back as they were read, past the record codec: for
    // putting a file back after a change that failed half way. False when the store did
    // not write them.
    bool PutBackW2(int record, const std::vector<std::uint8_t>& bytes);

    // From now on the pair opens for reading only: read handles without a lock, no file
    // created, no notice of another user, nothing posted back. For tools that only read.
    void ReadOnly();

    // A new employee's presets from the W-3 record (the payer's state and state ID),
    // given to the current W-2 record. Every added record gets them; New gives them to
    // record 1 after the user has entered the W-3.
    void ApplyNewEmployeePresets();

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
    TRecordSet rsw2_;
    TRecordSet rsw3_;
    W2Record w2Rec_;
    W3Record w3Rec_;
    TPasswordDialog passwordDialog_;
    std::string payerFilePath_;
    bool payerFileOpen_ = false;
    bool skipPasswordCheck_ = false;  // only while ReopenPayerFile opens
    bool employeeListDirty_ = false;
    int reviewCount_ = 0;
    unsigned reviewedWindows_ = 0;  // EntryWindow bits
    int quiet_ = 0;  // opening, closing or walking: the records read are not told one by one
    std::exception_ptr closeFailure_;  // a save that failed while the pair closed
    Notifier<PayerFileChange> changes_;

    void Notify(PayerFileChange change) const {
        if (!quiet_) changes_.Notify(change);
    }
    void WireStores();
    void RSW2BeforeOpen();
    void RSW2AfterOpen();
    void RSW2BeforeClose();
    void RSW2AfterClose();
    void RSW2AfterNewRec();
    bool CheckPassword();
};

}  // namespace qnvr
