#pragma once
// TRecordSet: an array of fixed-size records in one flat file, with a 1-based
// current-record cursor, a one-record buffer and vetoable events. It knows nothing of
// what the bytes mean. Record k occupies bytes (k-1)*RecSize .. k*RecSize-1; there is
// no header. A file always holds at least one record once created.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/base/core_ports.h"
#include "core/store/store_errors.h"

namespace qnvr {

enum TFileOpenMode { omOpenRead, omOpenWrite, omOpenReadWrite };
enum TFileShareMode { smShareCompat, smShareExclusive, smShareDenyWrite, smShareDenyRead, smShareDenyNone };
// Why an open store is browse-only: another opener holds the file, its size shows damage
// (no whole number of records, or more than the store may hold), or it was asked to be.
enum class TBrowseReason { None, InUse, Damaged, Asked };

class TRecordSet {
public:
    using TNotifyEvent = std::function<void(TRecordSet& sender)>;

    // Asks and shows busy through ports (kept for the store's lifetime).
    explicit TRecordSet(const CorePorts& ports);
    virtual ~TRecordSet();
    TRecordSet(const TRecordSet&) = delete;
    TRecordSet& operator=(const TRecordSet&) = delete;

    // Properties set where the store is placed. Captions left blank take the application
    // title when first needed.
    std::string FileName;
    TFileOpenMode FileOpenMode = omOpenReadWrite;
    TFileShareMode FileShareMode = smShareDenyNone;
    int MaxRec = 10000;
    std::string OpenErrText = "Unable to open database file";
    std::string OpenErrCaption;
    std::string NewErrText =
        "Unable to create new record.~You have reached the maximum number of records that~can be created with this "
        "version of the program.";
    std::string NewErrCaption;
    std::string DelErrText =
        "Unable to delete current record~you cannot delete the first record when~its the only record in the database.";
    std::string DelErrCaption;
    std::string DelMsgText = "Confirm request~Delete current record from database?";
    std::string DelMsgCaption;
    bool AutoCreate = true;
    std::string AppTitle;
    bool ShowOpenMode = true;
    // The file holds exactly one record (the W-3 file); anything longer is damage.
    bool OneRecordFile = false;
    // The next open is for reading only, without a lock and without a word: the store of
    // a pair whose other file is browse-only follows it.
    bool OpenBrowseOnly = false;

    // Events, in the order the operations fire them. A before-event vetoes its step by
    // calling Cancel().
    TNotifyEvent OnCreateFile, OnAfterClose, OnAfterDelete, OnAfterNewRec, OnAfterOpen, OnAfterPost, OnAfterRead,
        OnBeforeClose, OnBeforeDelete, OnBeforeNewRec, OnBeforeOpen, OnBeforePost;

    int RecSize() const { return recSize_; }
    // Ignores sizes below 32 and the current size; otherwise reallocates a zero buffer.
    void SetRecSize(int size);

    // Every operation but Cancel does nothing while the store is not active. A failure
    // raises EStoreException (file, record, operation, the system's reason) with the
    // message the user reads; the store is left consistent: a failed open leaves it
    // closed, a record that could not be read stands blank and is never written back,
    // a failed save is never reported as saved.
    virtual void OpenRecSet();
    virtual void CloseRecSet();
    virtual void RootRec();
    virtual bool PostRec();  // true when the record reached the file; false when vetoed or browse-only
    virtual void NewRec();
    virtual bool GetRec();   // true when the record was read; a failed read raises
    virtual void FirstRec();
    virtual void LastRec();
    virtual void NextRec();
    virtual void PriorRec();
    virtual void PushRec();
    virtual void PopRec();
    virtual void NewRecData();
    virtual void DeleteRec();
    // Deletes the current record without the confirmation DeleteRec asks for (the
    // caller has decided); the rest as DeleteRec.
    void DeleteRecUnasked();
    void Cancel() { cancelled_ = true; }

    // Calls visit with each record of the file in order (its number and its bytes),
    // reading many records at a time; the cursor and the record buffer stay as they are.
    // For walks that only read. A record that cannot be read raises EStoreException as
    // GetRec does, before visit sees it.
    void ReadEach(const std::function<void(int record, std::span<const std::uint8_t> bytes)>& visit) const;

    std::vector<std::uint8_t>& RecordBuffer() { return buffer_; }
    const std::vector<std::uint8_t>& RecordBuffer() const { return buffer_; }
    int CurrentRecord() const { return currentRecord_; }
    // Moves the cursor without reading; ignored unless 1 <= n <= LastRecord.
    void SetCurrentRecord(int n);
    int FirstRecord() const { return 1; }
    int PriorRecord() const { return priorRecord_; }
    int LastRecord() const { return lastRecord_; }
    int RecordCount() const;  // whole records in the file; 0 when inactive
    bool Active() const { return fd_ >= 0; }
    bool Bof() const { return currentRecord_ == FirstRecord(); }
    bool Eof() const { return currentRecord_ == lastRecord_; }
    bool BrowseOnly() const { return browseOnly_; }
    TBrowseReason BrowseReason() const { return browseReason_; }
    // What is wrong with the size of the open file ("" when nothing): the file name, its
    // size and why it cannot be a whole file of this store's records.
    const std::string& SizeProblem() const { return sizeProblem_; }

private:
    enum class OpenResult { Opened, Missing, Locked, Failed };

    OpenResult OpenFile(bool readOnlyFallback);
    void CloseFile();
    bool CreateFile();
    bool Fire(const TNotifyEvent& event);  // fires; false when the handler called Cancel
    int ReadSlot(int record);  // 0, or the system's error number (the buffer is then zero)
    void WriteSlot(int record);
    int DropRecordsFrom(int record);  // truncates the file before this record; 0 or the error
    std::string Caption(std::string& caption);
    EStoreException IoFailure(const std::string& what, int record, StoreOperation operation, int error) const;
    [[noreturn]] void RaiseOpenFailure(int error);
    std::string FindSizeProblem() const;
    void DeleteCurrent(bool ask);
    void RefuseInBrowseOnly(StoreOperation operation, const std::string& what);

    CorePorts ports_;
    int recSize_ = 32;
    std::vector<std::uint8_t> buffer_;
    int fd_ = -1;
    int currentRecord_ = 0;
    int priorRecord_ = 0;
    int lastRecord_ = 0;
    int unreadableRecord_ = 0;  // a record whose read failed: never written back from a blank buffer
    bool browseOnly_ = false;
    TBrowseReason browseReason_ = TBrowseReason::None;
    std::string sizeProblem_;
    bool cancelled_ = false;
};

}  // namespace qnvr
