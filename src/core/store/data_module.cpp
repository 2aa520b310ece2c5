#include "core/store/data_module.h"

#include <algorithm>
#include <bit>
#include <exception>
#include <filesystem>
#include <utility>

#include "core/base/prompter.h"
#include "core/text/text.h"

namespace qnvr {

namespace {

// Records read while it lives are not told one by one: opening and closing tell Opened
// and Closed when they are done, and a walk ends on the record it started from.
class Quietly {
public:
    explicit Quietly(int& depth) : depth_(depth) { ++depth_; }
    ~Quietly() { --depth_; }
    Quietly(const Quietly&) = delete;
    Quietly& operator=(const Quietly&) = delete;

private:
    int& depth_;
};

}  // namespace

TFrmDataModule::TFrmDataModule(const CorePorts& ports)
    : ports_(ports), rsw2_(ports), rsw3_(ports), passwordDialog_(ports.passwordEntry) {
    rsw3_.SetRecSize(W3Record::kSize);
    rsw3_.FileShareMode = smShareDenyWrite;
    rsw3_.MaxRec = 1000;
    rsw3_.ShowOpenMode = false;
    rsw3_.OneRecordFile = true;

    rsw2_.SetRecSize(W2Record::kSize);
    rsw2_.FileShareMode = smShareDenyWrite;
    rsw2_.MaxRec = kMaxEmployees;
    rsw2_.DelErrText =
        "Unable to delete current employee~you cannot delete the first employee when~its the only record in the "
        "database.";
    rsw2_.DelMsgText = "Confirm request~Delete current employee from database?";
    WireStores();
}

TFrmDataModule::~TFrmDataModule() {
    // Nothing may leave a destructor: a record that could not be saved is still told.
    try {
        ClosePayerFile();
    } catch (const std::exception& error) {
        ShowMsg(ports_.prompter, error.what(), MsgStyle::Error);
    }
}

void TFrmDataModule::WireStores() {
    rsw3_.OnAfterRead = [this](TRecordSet& rs) {
        w3Rec_ = DecodeW3(rs.RecordBuffer());
        Notify(PayerFileChange::W3RecordReplaced);
    };
    rsw3_.OnBeforePost = [this](TRecordSet& rs) { EncodeW3(w3Rec_, rs.RecordBuffer()); };

    rsw2_.OnAfterRead = [this](TRecordSet& rs) {
        w2Rec_ = DecodeW2(rs.RecordBuffer());
        Notify(PayerFileChange::W2RecordReplaced);
    };
    rsw2_.OnBeforePost = [this](TRecordSet& rs) { EncodeW2(w2Rec_, rs.RecordBuffer()); };
    rsw2_.OnBeforeOpen = [this](TRecordSet&) { RSW2BeforeOpen(); };
    rsw2_.OnAfterOpen = [this](TRecordSet&) { RSW2AfterOpen(); };
    rsw2_.OnBeforeClose = [this](TRecordSet&) { RSW2BeforeClose(); };
    rsw2_.OnAfterClose = [this](TRecordSet&) { RSW2AfterClose(); };
    rsw2_.OnAfterNewRec = [this](TRecordSet&) { RSW2AfterNewRec(); };
    rsw2_.OnAfterDelete = [this](TRecordSet&) { EmployeeListChanged(); };
}

// Names on Linux are case-sensitive, but a payer file copied from elsewhere may carry
// its extensions in lower case ("payroll.w226" with "payroll.w326"): an existing W-3
// file whose name differs only in letter case is the one that belongs to the W-2 file.
std::string TFrmDataModule::W3PathFor(const std::string& w2Path) {
    namespace fs = std::filesystem;
    const fs::path expected = fs::path(w2Path).replace_extension(kW3Extension);
    std::error_code error;
    if (fs::exists(expected, error)) return expected.string();
    const fs::path folder = expected.has_parent_path() ? expected.parent_path() : fs::path(".");
    const std::string wanted = UpperCase(expected.filename().string());
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        if (UpperCase(entry->path().filename().string()) == wanted)
            return (expected.parent_path() / entry->path().filename()).string();
    return expected.string();
}

void TFrmDataModule::EditW2Rec(const W2Record& record) {
    w2Rec_ = record;
    Notify(PayerFileChange::W2RecordReplaced);
}

void TFrmDataModule::EditW3Rec(const W3Record& record) {
    w3Rec_ = record;
    Notify(PayerFileChange::W3RecordReplaced);
}

void TFrmDataModule::EditW2Rec(const std::function<void(W2Record&)>& edit) {
    edit(w2Rec_);
    Notify(PayerFileChange::W2RecordReplaced);
}

void TFrmDataModule::EditW3Rec(const std::function<void(W3Record&)>& edit) {
    edit(w3Rec_);
    Notify(PayerFileChange::W3RecordReplaced);
}

bool TFrmDataModule::PostW2Rec(const W2Record& record) {
    EditW2Rec(record);
    return rsw2_.PostRec();
}

bool TFrmDataModule::PostW3Rec(const W3Record& record) {
    EditW3Rec(record);
    return rsw3_.PostRec();
}

bool TFrmDataModule::PutBackW2(int record, const std::vector<std::uint8_t>& bytes) {
    auto encode = std::exchange(rsw2_.OnBeforePost, nullptr);
    bool written = false;
    try {
        rsw2_.SetCurrentRecord(record);
        rsw2_.RecordBuffer() = bytes;
        written = rsw2_.PostRec();
    } catch (...) {
        rsw2_.OnBeforePost = std::move(encode);
        throw;
    }
    rsw2_.OnBeforePost = std::move(encode);
    return written;
}

void TFrmDataModule::ReadOnly() {
    for (TRecordSet* store : {&rsw2_, &rsw3_}) {
        store->AutoCreate = false;
        store->ShowOpenMode = false;
        store->FileOpenMode = omOpenRead;
        store->FileShareMode = smShareDenyNone;
        store->OnBeforePost = [](TRecordSet& rs) { rs.Cancel(); };
    }
}

void TFrmDataModule::EmployeeListChanged() {
    employeeListDirty_ = true;
    Notify(PayerFileChange::EmployeeListChanged);
}

void TFrmDataModule::EntryWindowReviewed(EntryWindow window) {
    const unsigned before = reviewedWindows_;
    reviewedWindows_ |= static_cast<unsigned>(window);
    reviewCount_ = std::popcount(reviewedWindows_);
    if (reviewedWindows_ != before) Notify(PayerFileChange::ReviewsChanged);
}

void TFrmDataModule::ClearReviews() {
    const unsigned before = reviewedWindows_;
    reviewedWindows_ = 0;
    reviewCount_ = 0;
    if (before != 0) Notify(PayerFileChange::ReviewsChanged);
}

void TFrmDataModule::OpenPayerFile(const std::string& path) {
    ClosePayerFile();  // one payer file at a time
    {
        Quietly quietly(quiet_);
        payerFilePath_ = path;
        rsw2_.FileName = path;
        auto closeHalfOpened = [this] {
            rsw2_.OpenBrowseOnly = false;
            if (rsw2_.Active() && !rsw3_.Active()) {
                try {
                    rsw2_.CloseRecSet();  // nothing was changed yet
                } catch (const EStoreException&) {
                }
            }
            if (!rsw2_.Active()) {
                rsw3_.CloseRecSet();
                payerFileOpen_ = false;
            }
        };
        try {
            rsw2_.OpenRecSet();
        } catch (...) {
            closeHalfOpened();
            throw;
        }
        closeHalfOpened();
    }
    if (payerFileOpen_) Notify(PayerFileChange::Opened);
}

// The password was asked when the file was opened before; the flag is cleared on every
// way out, so that a failed reopen cannot leave the check switched off.
void TFrmDataModule::ReopenPayerFile(const std::string& path) {
    skipPasswordCheck_ = true;
    try {
        OpenPayerFile(path);
    } catch (...) {
        skipPasswordCheck_ = false;
        throw;
    }
    skipPasswordCheck_ = false;
}

// Both files close even when a record cannot be saved; the first failure is raised then.
// Listeners hear Closed while PayerFilePath() still names the file that closed.
void TFrmDataModule::ClosePayerFile() {
    std::exception_ptr failure;
    const bool wasOpen = rsw2_.Active();
    {
        Quietly quietly(quiet_);
        closeFailure_ = nullptr;
        try {
            rsw2_.CloseRecSet();
        } catch (...) {
            failure = std::current_exception();
        }
        if (!failure) failure = std::exchange(closeFailure_, nullptr);
        closeFailure_ = nullptr;
    }
    if (rsw2_.Active()) {  // the file could not be closed: it stays open
        if (failure) std::rethrow_exception(failure);
        return;
    }
    payerFileOpen_ = false;
    if (wasOpen) Notify(PayerFileChange::Closed);
    payerFilePath_.clear();
    rsw2_.FileName.clear();
    if (failure) std::rethrow_exception(failure);
}

// The W-3 file opens first: it holds the password, and the new-record presets come
// from it. A refused password or a W-3 file that will not open vetoes the W-2 open.
//
// The pair is one unit: its W-3 file's lock is the pair's lock. The W-2 file opens
// browse-only whenever the W-3 file did, so two programs opening one payer file at the
// same moment never end up with one file each; should the W-2 file still open
// browse-only on its own, the W-3 file follows it (RSW2AfterOpen).
void TFrmDataModule::RSW2BeforeOpen() {
    payerFileOpen_ = true;
    rsw3_.FileName = W3PathFor(payerFilePath_);
    try {
        rsw3_.OpenRecSet();
        rsw3_.GetRec();
    } catch (...) {
        rsw3_.CloseRecSet();
        payerFileOpen_ = false;
        throw;
    }
    if (rsw3_.Active() && !IsBlank(w3Rec_.Password) && !skipPasswordCheck_) CheckPassword();
    if (!rsw3_.Active()) {
        payerFileOpen_ = false;
        rsw2_.Cancel();
        return;
    }
    rsw2_.OpenBrowseOnly = rsw3_.BrowseOnly();
    if (rsw3_.BrowseReason() == TBrowseReason::InUse && rsw2_.ShowOpenMode)
        ShowMsg(ports_.prompter, payerFilePath_ + " is already in use!~~The file has been opened in browse only" +
                    " mode. You will not be able to record any changes.",
                rsw2_.AppTitle.empty() ? std::string(kAppTitle) : rsw2_.AppTitle, MsgStyle::Information);
}

bool TFrmDataModule::CheckPassword() {
    passwordDialog_.Password = Unscramble(w3Rec_.Password);
    if (passwordDialog_.Execute()) return true;
    payerFileOpen_ = false;
    const std::string path = payerFilePath_;
    payerFilePath_.clear();
    rsw2_.FileName.clear();
    rsw3_.CloseRecSet();  // nothing was changed, so nothing is saved
    if (!passwordDialog_.Cancel()) throw EStoreException("Incorrect Password", path, 0, StoreOperation::Open);
    return false;
}

void TFrmDataModule::RSW2AfterOpen() {
    rsw2_.OpenBrowseOnly = false;
    if (rsw2_.BrowseOnly() && rsw3_.Active() && !rsw3_.BrowseOnly()) {
        rsw3_.CloseRecSet();  // nothing was changed yet, so nothing is saved
        rsw3_.OpenBrowseOnly = true;
        rsw3_.OpenRecSet();
        rsw3_.OpenBrowseOnly = false;
        rsw3_.GetRec();
    }
    EmployeeListChanged();
    rsw2_.GetRec();
}

void TFrmDataModule::RSW2BeforeClose() {
    try {
        rsw2_.PostRec();
    } catch (const EStoreException&) {
        closeFailure_ = std::current_exception();
    }
}

void TFrmDataModule::RSW2AfterClose() {
    try {
        rsw3_.PostRec();
    } catch (const EStoreException&) {
        if (!closeFailure_) closeFailure_ = std::current_exception();
    }
    rsw3_.CloseRecSet();
}

void TFrmDataModule::RSW2AfterNewRec() {
    EmployeeListChanged();
    ApplyNewEmployeePresets();
}

// A new employee starts in the payer's state with the payer's state ID.
void TFrmDataModule::ApplyNewEmployeePresets() {
    if (w3Rec_.Box15 != "X") w2Rec_.Box15a = LeftStr(w3Rec_.Box15, 2);
    w2Rec_.StateID_a = LeftStr(w3Rec_.StateID, 12);
    Notify(PayerFileChange::W2RecordReplaced);
}

void TFrmDataModule::ForEachW2(const std::function<void(const W2Record&)>& visit) {
    if (!rsw2_.Active()) return;
    Quietly quietly(quiet_);
    const int count = rsw2_.RecordCount();
    rsw2_.RootRec();
    for (int i = 0; i < count; ++i) {
        rsw2_.NextRec();
        visit(w2Rec_);
    }
    rsw2_.PopRec();
}

void TFrmDataModule::ReadEachW2(const std::function<void(const W2Record&)>& visit) const {
    W2Record w2;
    rsw2_.ReadEach([&](int, std::span<const std::uint8_t> bytes) {
        DecodeW2Into(bytes, w2);
        visit(w2);
    });
}

bool HasWages(const W2Record& w2) { return RoundTo(w2.Amount1, 2) > 0 || RoundTo(w2.Box16a, 2) > 0; }

int TFrmDataModule::CountW2WithWages() {
    int count = 0;
    ForEachW2([&](const W2Record& w2) {
        if (HasWages(w2)) ++count;
    });
    return count;
}

namespace {

// UpperCase(text) == code, without building the upper-cased text.
bool IsCode(std::string_view text, std::string_view code) {
    return text.size() == code.size() && std::equal(text.begin(), text.end(), code.begin(), [](char c, char letter) {
               return (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) == letter;
           });
}

}  // namespace

void W3TotalsSum::Add(const W2Record& w2) {
    static constexpr std::string_view kDeferredCompensationCodes[] = {"D", "E", "F", "G", "H", "S"};
    W3Record& w3 = sums_;
    w3.Amount1 += w2.Amount1;
    w3.Amount2 += w2.Amount2;
    w3.Amount3 += w2.Amount3;
    w3.Amount4 += w2.Amount4;
    w3.Amount5 += w2.Amount5;
    w3.Amount6 += w2.Amount6;
    w3.Amount7 += w2.Amount7;
    w3.Amount8 += w2.Amount8;
    w3.Amount10 += w2.Amount10;
    w3.Amount11 += w2.Amount11;
    // Only the first four Box 12 pairs count towards deferred compensation.
    for (int k = 0; k < 4; ++k)
        for (const std::string_view code : kDeferredCompensationCodes)
            if (IsCode(w2.Box12Code[k], code)) w3.Box12a += w2.Box12Amt[k];
    w3.Box16 += w2.Box16a + w2.Box16b;
    w3.Box17 += w2.Box17a + w2.Box17b;
    w3.Box18 += w2.Box18a + w2.Box18b;
    w3.Box19 += w2.Box19a + w2.Box19b;
}

void W3TotalsSum::ApplyTo(W3Record& w3, int formCount) const {
    w3.Boxc = formCount;
    w3.Amount1 = sums_.Amount1;
    w3.Amount2 = sums_.Amount2;
    w3.Amount3 = sums_.Amount3;
    w3.Amount4 = sums_.Amount4;
    w3.Amount5 = sums_.Amount5;
    w3.Amount6 = sums_.Amount6;
    w3.Amount7 = sums_.Amount7;
    w3.Amount8 = sums_.Amount8;
    w3.Amount9 = 0;
    w3.Amount10 = sums_.Amount10;
    w3.Amount11 = sums_.Amount11;
    w3.Box12a = sums_.Box12a;
    w3.Box16 = sums_.Box16;
    w3.Box17 = sums_.Box17;
    w3.Box18 = sums_.Box18;
    w3.Box19 = sums_.Box19;
}

void TFrmDataModule::ComputeW3Totals() {
    W3TotalsSum sum;
    ForEachW2([&](const W2Record& w2) { sum.Add(w2); });
    sum.ApplyTo(w3Rec_, rsw2_.RecordCount());
    Notify(PayerFileChange::W3RecordReplaced);
}

}  // namespace qnvr
