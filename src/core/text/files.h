#pragma once
// File helpers: path text, counting files by mask, and the checked file copy that the
// file commands (save as, backup, restore, last year's transfer) go through.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qnvr {

// Set when the last CopyFileChecked failed, cleared when the next one starts. Callers
// read it after a copy to decide whether to report success.
inline bool CopyFailed = false;

// The path with a "/" at its end if it has none ("" gives "/").
std::string IncludeTrailingSlash(std::string_view path);

// The number of entries of any kind (hidden ones included) in a folder whose names
// match a mask such as "/home/pat/QNVR/2026/Data/*.W226". Wildcards ("*", "?", "[...]")
// count only in the last part; the folder part is taken literally, so a folder named
// "Payroll [2026]" works. Letter case matters, as in every Linux file name. 0 when the
// folder cannot be read.
int CountFiles(std::string_view mask);

// Copies source to target. With failIfExists false an existing target is replaced;
// with true an existing target is an error. The copy is written beside the target and
// renamed over it once complete, so a failure never leaves a half-written target and
// copying a file onto itself is harmless; the copy keeps the source's permissions and
// modification time. A target without write permission is refused, not replaced.
//
// Clears CopyFailed first. On failure sets it and throws ECopyFileException:
// "The following error occured during the copy file process:" and, on the next line,
// the system's reason ("No such file or directory").
void CopyFileChecked(const std::string& source, const std::string& target, bool failIfExists);

// Writes content as the whole new content of path: it goes to a hidden file beside path,
// reaches the disk and is renamed over path in one step, so a failure leaves the earlier
// file as it was. An existing file keeps its permissions; a new one gets the usual
// permissions for the user (0666 less the umask). A read-only path is refused, as
// writing to a read-only file is. Throws std::system_error with the system's reason.
void ReplaceFileWhole(const std::string& path, std::string_view content);
// The same with the content given in parts, written one after the other.
void ReplaceFileWhole(const std::string& path, std::span<const std::string_view> parts);

// A new, empty hidden file beside target (".NAME.XXXXXX", the X's made unique), locked
// while it is written and removed again unless Keep is called. Throws std::system_error.
class TemporaryFileBeside {
public:
    explicit TemporaryFileBeside(const std::string& target);
    ~TemporaryFileBeside();
    TemporaryFileBeside(const TemporaryFileBeside&) = delete;
    TemporaryFileBeside& operator=(const TemporaryFileBeside&) = delete;

    const std::string& Path() const { return path_; }
    int Fd() const { return fd_; }
    // Brings what was written to the file, through any handle, to the disk.
    void Sync();
    // Closes now, so that a failing close is reported. The lock goes with the handle.
    void Close();
    // The file has been renamed into place: it is not removed.
    void Keep();

private:
    void Discard();
    std::string path_;
    int fd_ = -1;
    bool kept_ = false;
};

// The whole new content of a file written as it is made, with ReplaceFileWhole's safety:
// the parts go to a hidden file beside path, and the disk starts writing each part while
// the next one is made; Commit brings the file to the disk and renames it over path.
// Without Commit (a failure on the way) the hidden file is removed and path stays as it
// was. The checks and permissions are ReplaceFileWhole's. Throws std::system_error.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& path);
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Writes part at the end.
    void Append(std::string_view part);
    // Writes part over bytes appended before, from offset.
    void WriteAt(std::uint64_t offset, std::string_view part);
    std::uint64_t Size() const { return size_; }
    void Commit();

private:
    std::string path_;
    unsigned mode_;
    TemporaryFileBeside file_;
    std::uint64_t size_ = 0;
};

// Removes the temporary files of target that writers killed before they finished left
// behind (a writer that still runs holds the lock on its file, which stays).
void RemoveStaleTemporaries(const std::string& target);

// The read-only attribute: without it a file can be written by its owner; with it
// nobody can write it. Throws std::system_error (no such file, not permitted).
bool IsFileReadOnly(const std::string& path);
void SetFileReadOnly(const std::string& path, bool readOnly);

}  // namespace qnvr
