#include "core/store/record_set.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

#include "core/base/busy.h"
#include "core/base/prompter.h"
#include "core/store/store_errors.h"

namespace qnvr {
namespace {

bool IsBlankCaption(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return c <= ' '; });
}

int AccessFlags(TFileOpenMode mode) {
    switch (mode) {
        case omOpenRead: return O_RDONLY;
        case omOpenWrite: return O_WRONLY;
        case omOpenReadWrite: break;
    }
    return O_RDWR;
}

// Sharing maps onto advisory locks: an opener that denies others' writes holds an
// exclusive lock; a writer that shares holds a shared one, so it cannot open a file
// another opener keeps from writers; a reader that shares takes no lock at all.
int LockFor(TFileShareMode share, int access) {
    switch (share) {
        case smShareExclusive:
        case smShareDenyWrite:
        case smShareDenyRead: return LOCK_EX;
        case smShareCompat:
        case smShareDenyNone: break;
    }
    return access == O_RDONLY ? 0 : LOCK_SH;
}

}  // namespace

TRecordSet::TRecordSet(const CorePorts& ports) : ports_(ports), buffer_(recSize_, 0) {}

TRecordSet::~TRecordSet() { CloseFile(); }

void TRecordSet::SetRecSize(int size) {
    if (size == recSize_ || size < 32) return;
    recSize_ = size;
    buffer_.assign(size, 0);
}

std::string TRecordSet::Caption(std::string& caption) {
    if (IsBlankCaption(caption)) caption = kAppTitle;
    return caption;
}

bool TRecordSet::Fire(const TNotifyEvent& event) {
    if (event) event(*this);
    const bool allowed = !cancelled_;
    cancelled_ = false;
    return allowed;
}

TRecordSet::OpenResult TRecordSet::OpenFile(bool readOnlyFallback) {
    const int access = readOnlyFallback ? O_RDONLY : AccessFlags(FileOpenMode);
    const int lock = readOnlyFallback ? 0 : LockFor(FileShareMode, access);
    int fd = ::open(FileName.c_str(), access | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? OpenResult::Missing : OpenResult::Failed;
    if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? OpenResult::Locked : OpenResult::Failed;
    }
    fd_ = fd;
    return OpenResult::Opened;
}

bool TRecordSet::CreateFile() {
    int fd = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const int lock = LockFor(FileShareMode, O_RDWR);
    if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void TRecordSet::CloseFile() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    fd_ = -1;
}

void TRecordSet::OpenRecSet() {
    if (Active()) return;
    Caption(OpenErrCaption);
    Caption(AppTitle);
    if (!Fire(OnBeforeOpen)) return;
    if (IsBlankCaption(FileName)) RaiseOpenFailure(0);
    browseOnly_ = false;
    browseReason_ = TBrowseReason::None;
    sizeProblem_.clear();
    unreadableRecord_ = 0;
    if (OpenBrowseOnly) {
        if (OpenFile(true) != OpenResult::Opened) RaiseOpenFailure(errno);
        browseOnly_ = true;
        browseReason_ = TBrowseReason::Asked;
    } else {
        switch (OpenFile(false)) {
            case OpenResult::Opened: break;
            case OpenResult::Locked:
                if (FileShareMode == smShareDenyWrite && OpenFile(true) == OpenResult::Opened) {
                    browseOnly_ = true;
                    browseReason_ = TBrowseReason::InUse;
                    break;
                }
                RaiseOpenFailure(EWOULDBLOCK);
            case OpenResult::Failed: RaiseOpenFailure(errno);
            case OpenResult::Missing:
                if (!AutoCreate) RaiseOpenFailure(ENOENT);
                if (!CreateFile()) RaiseOpenFailure(errno);
                currentRecord_ = lastRecord_ = FirstRecord();
                NewRecData();
                try {
                    WriteSlot(FirstRecord());
                } catch (...) {
                    // A file that could not take its first record is no payer file: remove it.
                    CloseFile();
                    ::unlink(FileName.c_str());
                    throw;
                }
                Fire(OnCreateFile);
                Fire(OnAfterOpen);
                return;
        }
    }
    // A file cut short during a copy, or with bytes or records beyond what the store
    // holds, is never written to: it opens browse-only with a notice.
    sizeProblem_ = FindSizeProblem();
    if (!sizeProblem_.empty()) {
        if (!browseOnly_) {
            CloseFile();
            if (OpenFile(true) != OpenResult::Opened) RaiseOpenFailure(errno);
        }
        browseOnly_ = true;
        browseReason_ = TBrowseReason::Damaged;
    }
    currentRecord_ = FirstRecord();
    lastRecord_ = RecordCount();
    if (lastRecord_ == 0 && !browseOnly_) {
        // An empty file (left by an interrupted creation) gets its first record, so that
        // the cursor always stands on a record.
        NewRecData();
        try {
            WriteSlot(FirstRecord());
        } catch (...) {
            CloseFile();
            throw;
        }
        lastRecord_ = FirstRecord();
    }
    if (browseReason_ == TBrowseReason::Damaged) {
        ShowMsg(ports_.prompter, sizeProblem_ + "~~The file has been opened in browse only mode. Nothing will be written to it.",
                AppTitle, MsgStyle::Information);
    } else if (browseReason_ == TBrowseReason::InUse && ShowOpenMode) {
        ShowMsg(ports_.prompter, FileName + " is already in use!~~The file has been opened in browse only" +
                    " mode. You will not be able to record any changes.",
                AppTitle, MsgStyle::Information);
    }
    Fire(OnAfterOpen);
}

std::string TRecordSet::FindSizeProblem() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return {};
    const long long size = st.st_size;
    const std::string sizeText = FileName + " is " + std::to_string(size) + " bytes long";
    if (OneRecordFile && size > recSize_)
        return sizeText + ", but holds one record of " + std::to_string(recSize_) + " bytes.";
    if (size % recSize_ != 0)
        return sizeText + ", which is no whole number of " + std::to_string(recSize_) +
               "-byte records: it may have been cut short.";
    if (size / recSize_ > MaxRec)
        return FileName + " holds " + std::to_string(size / recSize_) + " records, more than the " +
               std::to_string(MaxRec) + " this program can keep in one file.";
    return {};
}

void TRecordSet::RefuseInBrowseOnly(StoreOperation operation, const std::string& what) {
    if (browseOnly_)
        throw EStoreException(FileName + " is open in browse only mode:~" + what, FileName, 0, operation);
}

void TRecordSet::RaiseOpenFailure(int error) {
    throw EStoreException(OpenErrText, FileName, 0, StoreOperation::Open, error ? std::strerror(error) : "");
}

void TRecordSet::CloseRecSet() {
    if (!Active()) return;
    if (!Fire(OnBeforeClose)) return;
    CloseFile();
    Fire(OnAfterClose);
}

int TRecordSet::RecordCount() const {
    if (!Active()) return 0;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return 0;
    return static_cast<int>(st.st_size / recSize_);
}

void TRecordSet::SetCurrentRecord(int n) {
    if (Active() && n >= FirstRecord() && n <= lastRecord_) currentRecord_ = n;
}

EStoreException TRecordSet::IoFailure(const std::string& what, int record, StoreOperation operation,
                                      int error) const {
    const std::string reason = std::strerror(error);
    return EStoreException(what + " record " + std::to_string(record) + " of " + FileName + "~" + reason, FileName,
                           record, operation, reason);
}

int TRecordSet::ReadSlot(int record) {
    const off_t offset = static_cast<off_t>(record - 1) * recSize_;
    ssize_t got = ::pread(fd_, buffer_.data(), recSize_, offset);
    if (got == recSize_) return 0;
    std::fill(buffer_.begin(), buffer_.end(), 0);
    return got < 0 ? errno : EIO;
}

void TRecordSet::ReadEach(const std::function<void(int record, std::span<const std::uint8_t> bytes)>& visit) const {
    if (!Active()) return;
    constexpr std::size_t kBlockBytes = 1 << 20;
    const int count = RecordCount();
    const int perBlock = std::max(1, static_cast<int>(kBlockBytes / static_cast<std::size_t>(recSize_)));
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min(count, perBlock)) * recSize_);
    for (int first = 1; first <= count; first += perBlock) {
        const int records = std::min(perBlock, count - first + 1);
        const std::size_t wanted = static_cast<std::size_t>(records) * recSize_;
        const off_t offset = static_cast<off_t>(first - 1) * recSize_;
        std::size_t got = 0;
        while (got < wanted) {
            const ssize_t n = ::pread(fd_, block.data() + got, wanted - got, offset + static_cast<off_t>(got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                const int failed = first + static_cast<int>(got / static_cast<std::size_t>(recSize_));
                throw IoFailure("Unable to read", failed, StoreOperation::Read, n < 0 ? errno : EIO);
            }
            got += static_cast<std::size_t>(n);
        }
        for (int k = 0; k < records; ++k)
            visit(first + k, std::span<const std::uint8_t>(block).subspan(static_cast<std::size_t>(k) * recSize_,
                                                                       static_cast<std::size_t>(recSize_)));
    }
}

void TRecordSet::WriteSlot(int record) {
    const off_t offset = static_cast<off_t>(record - 1) * recSize_;
    ssize_t put = ::pwrite(fd_, buffer_.data(), recSize_, offset);
    if (put == recSize_) return;
    const std::string reason = std::strerror(put < 0 ? errno : ENOSPC);
    throw EStoreException("Unable to save record " + std::to_string(record) + " of " + FileName + "~" + reason +
                              "~~The record has not been saved.",
                          FileName, record, StoreOperation::Save, reason);
}

int TRecordSet::DropRecordsFrom(int record) {
    return ::ftruncate(fd_, static_cast<off_t>(record - 1) * recSize_) == 0 ? 0 : errno;
}

bool TRecordSet::GetRec() {
    if (!Active() || currentRecord_ < FirstRecord()) return false;
    const int error = ReadSlot(currentRecord_);
    // A record that could not be read is shown blank; it must never be written back blank.
    if (error != 0)
        unreadableRecord_ = currentRecord_;
    else if (unreadableRecord_ == currentRecord_)
        unreadableRecord_ = 0;
    Fire(OnAfterRead);
    if (error != 0) throw IoFailure("Unable to read", currentRecord_, StoreOperation::Read, error);
    return true;
}

bool TRecordSet::PostRec() {
    if (!Active()) return false;
    if (!Fire(OnBeforePost)) return false;
    if (currentRecord_ < FirstRecord()) return false;
    // Browse-only stores keep the file as it is; the user was told so when it opened.
    if (browseOnly_) return false;
    if (currentRecord_ == unreadableRecord_)
        throw EStoreException("Record " + std::to_string(currentRecord_) + " of " + FileName +
                                  " could not be read, so it has not been saved over.",
                              FileName, currentRecord_, StoreOperation::Save);
    WriteSlot(currentRecord_);
    Fire(OnAfterPost);
    return true;
}

void TRecordSet::NewRec() {
    if (!Active()) return;
    RefuseInBrowseOnly(StoreOperation::Add, "no record can be added.");
    if (lastRecord_ >= MaxRec) throw EStoreException(NewErrText, FileName, 0, StoreOperation::Add);
    if (!Fire(OnBeforeNewRec)) return;
    NewRecData();
    try {
        WriteSlot(lastRecord_ + 1);
    } catch (const EStoreException&) {
        // Whatever part of the record reached the file goes again; should that fail too,
        // the file holds a partial record, which the next open shows as damage.
        DropRecordsFrom(lastRecord_ + 1);
        throw;
    }
    ++lastRecord_;
    currentRecord_ = lastRecord_;
    GetRec();
    Fire(OnAfterNewRec);
}

void TRecordSet::FirstRec() {
    if (!Active()) return;
    currentRecord_ = FirstRecord();
    GetRec();
}

void TRecordSet::LastRec() {
    if (!Active()) return;
    currentRecord_ = lastRecord_;
    GetRec();
}

void TRecordSet::NextRec() {
    if (!Active()) return;
    currentRecord_ = currentRecord_ + 1 > lastRecord_ ? FirstRecord() : currentRecord_ + 1;
    GetRec();
}

void TRecordSet::PriorRec() {
    if (!Active()) return;
    currentRecord_ = currentRecord_ - 1 < FirstRecord() ? lastRecord_ : currentRecord_ - 1;
    GetRec();
}

void TRecordSet::RootRec() {
    if (!Active()) return;
    PushRec();
    currentRecord_ = 0;
}

void TRecordSet::PushRec() {
    if (Active()) priorRecord_ = currentRecord_;
}

void TRecordSet::PopRec() {
    if (!Active()) return;
    currentRecord_ = priorRecord_;
    GetRec();
}

void TRecordSet::NewRecData() {
    if (Active()) std::fill(buffer_.begin(), buffer_.end(), 0);
}

void TRecordSet::DeleteRec() { DeleteCurrent(true); }

void TRecordSet::DeleteRecUnasked() { DeleteCurrent(false); }

void TRecordSet::DeleteCurrent(bool ask) {
    if (!Active()) return;
    RefuseInBrowseOnly(StoreOperation::Delete, "no record can be deleted.");
    if (RecordCount() <= 1) throw EStoreException(DelErrText, FileName, 0, StoreOperation::Delete);
    if (ask && ShowMsg(ports_.prompter, DelMsgText, Caption(DelMsgCaption), MsgStyle::OkCancelDefaultCancel) != MsgButton::Ok)
        return;
    if (!Fire(OnBeforeDelete)) return;

    BusyCursor busy(ports_.busy);
    int d = currentRecord_;
    // Every later record moves one slot down. A failed read or write stops the move; the
    // file then holds every record still, one of them twice, and the failure is raised
    // once the cursor stands on a record again.
    std::exception_ptr failure;
    try {
        for (int i = d; i < lastRecord_; ++i) {
            currentRecord_ = i + 1;
            GetRec();
            WriteSlot(i);
        }
        // The handle stays open: the truncation takes effect at once, and reopening would
        // give up the file's lock for a moment.
        if (const int error = DropRecordsFrom(lastRecord_))
            throw IoFailure("Unable to remove", lastRecord_, StoreOperation::Delete, error);
    } catch (const EStoreException&) {
        failure = std::current_exception();
    }
    lastRecord_ = RecordCount();
    if (d > lastRecord_) d = FirstRecord();
    currentRecord_ = d;
    try {
        GetRec();
    } catch (const EStoreException&) {
        if (!failure) failure = std::current_exception();
    }
    Fire(OnAfterDelete);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace qnvr
