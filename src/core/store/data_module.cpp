#include "core/store/data_module.h"

#include <algorithm>
#include <bit>
#include <exception>
#include <filesystem>
#include <utility>

#include "core/base/prompter.h"
#include "core/text/text.h"

namespace qnvr {

TFrmDataModule::TFrmDataModule(const CorePorts& ports)
    : RSW2(ports), RSW3(ports), PasswordDialog(ports.passwordEntry), ports_(ports) {
    RSW3.SetRecSize(W3Record::kSize);
    RSW3.FileShareMode = smShareDenyWrite;
    RSW3.MaxRec = 1000;
    RSW3.ShowOpenMode = false;
    RSW3.OneRecordFile = true;

    RSW2.SetRecSize(W2Record::kSize);
    RSW2.FileShareMode = smShareDenyWrite;
    RSW2.MaxRec = kMaxEmployees;
    RSW2.DelErrText =
        "Unable to delete current employee~you cannot delete the first employee when~its the only record in the "
        "database.";
    RSW2.DelMsgText = "Confirm request~Delete current employee from database?";
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
    RSW3.OnAfterRead = [this](TRecordSet& rs) { W3Rec = DecodeW3(rs.RecordBuffer()); };
    RSW3.OnBeforePost = [this](TRecordSet& rs) { EncodeW3(W3Rec, rs.RecordBuffer()); };

    RSW2.OnAfterRead = [this](TRecordSet& rs) { W2Rec = DecodeW2(rs.RecordBuffer()); };
    RSW2.OnBeforePost = [this](TRecordSet& rs) { EncodeW2(W2Rec, rs.RecordBuffer()); };
    RSW2.OnBeforeOpen = [this](TRecordSet&) { RSW2BeforeOpen(); };
    RSW2.OnAfterOpen = [this](TRecordSet&) { RSW2AfterOpen(); };
    RSW2.OnBeforeClose = [this](TRecordSet&) { RSW2BeforeClose(); };
    RSW2.OnAfterClose = [this](TRecordSet&) { RSW2AfterClose(); };
    RSW2.OnAfterNewRec = [this](TRecordSet&) { RSW2AfterNewRec(); };
    RSW2.OnAfterDelete = [this](TRecordSet&) { EmployeeListDirty = true; };
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

void TFrmDataModule::EntryWindowReviewed(EntryWindow window) {
    reviewedWindows_ |= static_cast<unsigned>(window);
    ReviewCount = std::popcount(reviewedWindows_);
}

void TFrmDataModule::ClearReviews() {
    reviewedWindows_ = 0;
    ReviewCount = 0;
}

void TFrmDataModule::OpenPayerFile(const std::string& path) {
    PayerFilePath = path;
    RSW2.FileName = path;
    auto closeHalfOpened = [this] {
        RSW2.OpenBrowseOnly = false;
        if (RSW2.Active() && !RSW3.Active()) {
            try {
                RSW2.CloseRecSet();  // nothing was changed yet
            } catch (const EStoreException&) {
            }
        }
        if (!RSW2.Active()) {
            RSW3.CloseRecSet();
            PayerFileOpen = false;
        }
    };
    try {
        RSW2.OpenRecSet();
    } catch (...) {
        closeHalfOpened();
        throw;
    }
    closeHalfOpened();
}

// Both files close even when a record cannot be saved; the first failure is raised then.
void TFrmDataModule::ClosePayerFile() {
    closeFailure_ = nullptr;
    RSW2.CloseRecSet();
    if (closeFailure_) std::rethrow_exception(std::exchange(closeFailure_, nullptr));
}

// The W-3 file opens first: it holds the password, and the new-record presets come
// from it. A refused password or a W-3 file that will not open vetoes the W-2 open.
//
// The pair is one unit: its W-3 file's lock is the pair's lock. The W-2 file opens
// browse-only whenever the W-3 file did, so two programs opening one payer file at the
// same moment never end up with one file each; should the W-2 file still open
// browse-only on its own, the W-3 file follows it (RSW2AfterOpen).
void TFrmDataModule::RSW2BeforeOpen() {
    PayerFileOpen = true;
    RSW3.FileName = W3PathFor(PayerFilePath);
    try {
        RSW3.OpenRecSet();
        RSW3.GetRec();
    } catch (...) {
        RSW3.CloseRecSet();
        PayerFileOpen = false;
        throw;
    }
    if (RSW3.Active() && !IsBlank(W3Rec.Password) && !SkipPasswordCheck) CheckPassword();
    if (!RSW3.Active()) {
        PayerFileOpen = false;
        RSW2.Cancel();
        return;
    }
    RSW2.OpenBrowseOnly = RSW3.BrowseOnly();
    if (RSW3.BrowseReason() == TBrowseReason::InUse && RSW2.ShowOpenMode)
        ShowMsg(ports_.prompter, PayerFilePath + " is already in use!~~The file has been opened in browse only" +
                    " mode. You will not be able to record any changes.",
                RSW2.AppTitle.empty() ? std::string(kAppTitle) : RSW2.AppTitle, MsgStyle::Information);
}

bool TFrmDataModule::CheckPassword() {
    PasswordDialog.Password = Unscramble(W3Rec.Password);
    if (PasswordDialog.Execute()) return true;
    PayerFileOpen = false;
    const std::string path = PayerFilePath;
    PayerFilePath.clear();
    RSW2.FileName.clear();
    RSW3.CloseRecSet();  // nothing was changed, so nothing is saved
    if (!PasswordDialog.Cancel()) throw EStoreException("Incorrect Password", path, 0, StoreOperation::Open);
    return false;
}

void TFrmDataModule::RSW2AfterOpen() {
    RSW2.OpenBrowseOnly = false;
    if (RSW2.BrowseOnly() && RSW3.Active() && !RSW3.BrowseOnly()) {
        RSW3.CloseRecSet();  // nothing was changed yet, so nothing is saved
        RSW3.OpenBrowseOnly = true;
        RSW3.OpenRecSet();
        RSW3.OpenBrowseOnly = false;
        RSW3.GetRec();
    }
    if (OnRebuildRecentMenu) OnRebuildRecentMenu();
    EmployeeListDirty = true;
    RSW2.GetRec();
}

void TFrmDataModule::RSW2BeforeClose() {
    try {
        RSW2.PostRec();
    } catch (const EStoreException&) {
        closeFailure_ = std::current_exception();
    }
}

void TFrmDataModule::RSW2AfterClose() {
    if (OnAddRecentFile) OnAddRecentFile(PayerFilePath);
    if (OnRebuildRecentMenu) OnRebuildRecentMenu();
    try {
        RSW3.PostRec();
    } catch (const EStoreException&) {
        if (!closeFailure_) closeFailure_ = std::current_exception();
    }
    RSW3.CloseRecSet();
}

// A new employee starts in the payer's state with the payer's state ID.
void TFrmDataModule::RSW2AfterNewRec() {
    EmployeeListDirty = true;
    if (W3Rec.Box15 != "X") W2Rec.Box15a = LeftStr(W3Rec.Box15, 2);
    W2Rec.StateID_a = LeftStr(W3Rec.StateID, 12);
}

void TFrmDataModule::ForEachW2(const std::function<void(const W2Record&)>& visit) {
    if (!RSW2.Active()) return;
    const int count = RSW2.RecordCount();
    RSW2.RootRec();
    for (int i = 0; i < count; ++i) {
        RSW2.NextRec();
        visit(W2Rec);
    }
    RSW2.PopRec();
}

void TFrmDataModule::ReadEachW2(const std::function<void(const W2Record&)>& visit) const {
    W2Record w2;
    RSW2.ReadEach([&](int, std::span<const std::uint8_t> bytes) {
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
    static const char* const kDeferredCompensationCodes[] = {"D", "E", "F", "G", "H", "S"};
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
        for (const char* code : kDeferredCompensationCodes)
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
    sum.ApplyTo(W3Rec, RSW2.RecordCount());
}

}  // namespace qnvr
