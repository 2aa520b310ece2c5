#include "core/text/files.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/base/errors.h"
#include "core/base/prompter.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCopyErrorText = "The following error occured during the copy file process:~";

[[noreturn]] void ThrowSystemError(int code) { throw std::system_error(code, std::generic_category()); }
[[noreturn]] void ThrowLastError() { ThrowSystemError(errno); }

// An open file descriptor, closed when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {
        if (fd_ < 0) ThrowLastError();
    }
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Get() const { return fd_; }

    // Closes now so that a failing close (a full disk on a network folder) is reported.
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowLastError();
    }

private:
    int fd_;
};

using TemporaryFile = TemporaryFileBeside;

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            ThrowLastError();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void CopyContents(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(from, buffer, sizeof buffer);
        if (count == 0) return;
        if (count < 0) {
            if (errno == EINTR) continue;
            ThrowLastError();
        }
        WriteAll(to, buffer, static_cast<std::size_t>(count));
    }
}

// Refuses a target that may not be replaced before any work is done.
void CheckTargetReplaceable(const std::string& target, bool failIfExists) {
    if (::access(target.c_str(), F_OK) != 0) return;  // no target yet
    if (failIfExists) ThrowSystemError(EEXIST);
    if (::access(target.c_str(), W_OK) != 0) ThrowLastError();  // a read-only file stays as it is
}

// Puts the finished copy in the target's place: rename replaces an existing target in
// one step; link refuses one that appeared meanwhile.
void MoveIntoPlace(TemporaryFile& copy, const std::string& target, bool failIfExists) {
    if (failIfExists) {
        if (::link(copy.Path().c_str(), target.c_str()) != 0) ThrowLastError();
        return;  // the temporary name is removed when copy goes out of scope
    }
    if (::rename(copy.Path().c_str(), target.c_str()) != 0) ThrowLastError();
    copy.Keep();
}

void CopyWholeFile(const std::string& source, const std::string& target, bool failIfExists) {
    RemoveStaleTemporaries(target);
    FileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (::fstat(in.Get(), &info) != 0) ThrowLastError();
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR);
    CheckTargetReplaceable(target, failIfExists);

    TemporaryFile copy{target};
    const int out = copy.Fd();
    CopyContents(in.Get(), out);
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (::fchmod(out, info.st_mode & 07777) != 0 || ::futimens(out, times) != 0 || ::fsync(out) != 0)
        ThrowLastError();
    copy.Close();
    MoveIntoPlace(copy, target, failIfExists);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The name part mkostemp fills in.
constexpr std::size_t kTemporarySuffixLength = 6;

std::string TemporaryPrefixFor(const fs::path& target) { return "." + target.filename().string() + "."; }

}  // namespace

TemporaryFileBeside::TemporaryFileBeside(const std::string& target)
    : path_((fs::path(target).parent_path() / (TemporaryPrefixFor(target) + "XXXXXX")).string()) {
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    if (fd_ < 0) ThrowLastError();
    // As a new file gets them; a writer that keeps a file's permissions sets them later.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    // The lock tells a later writer that this file is still being written.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        Discard();
        ThrowSystemError(error);
    }
}

TemporaryFileBeside::~TemporaryFileBeside() { Discard(); }

void TemporaryFileBeside::Discard() {
    if (!kept_) ::unlink(path_.c_str());
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void TemporaryFileBeside::Sync() {
    if (::fsync(fd_) != 0) ThrowLastError();
}

void TemporaryFileBeside::Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowLastError();
}

void TemporaryFileBeside::Keep() { kept_ = true; }

void RemoveStaleTemporaries(const std::string& target) {
    const fs::path targetPath(target);
    const std::string prefix = TemporaryPrefixFor(targetPath);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix)) continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat held {}, named {};
        // Only a regular file that no living writer holds, and still the one under that name.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(it->path().c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            ::unlink(it->path().c_str());
        ::close(fd);
    }
}

std::string IncludeTrailingSlash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

int CountFiles(std::string_view mask) {
    const fs::path maskPath{std::string(mask)};
    const std::string pattern = maskPath.filename().string();
    const fs::path folder = maskPath.has_parent_path() ? maskPath.parent_path() : fs::path(".");
    std::error_code error;
    int count = 0;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (::fnmatch(pattern.c_str(), it->path().filename().c_str(), 0) == 0) ++count;
    return count;
}

void CopyFileChecked(const std::string& source, const std::string& target, bool failIfExists) {
    CopyFailed = false;
    try {
        CopyWholeFile(source, target, failIfExists);
    } catch (const std::system_error& error) {
        CopyFailed = true;
        throw ECopyFileException(TildeToBreak(kCopyErrorText + error.code().message()));
    }
}

void ReplaceFileWhole(const std::string& path, std::string_view content) {
    ReplaceFileWhole(path, std::span<const std::string_view>(&content, 1));
}

void ReplaceFileWhole(const std::string& path, std::span<const std::string_view> parts) {
    FileReplacement file(path);
    for (const std::string_view part : parts) file.Append(part);
    file.Commit();
}

namespace {

// The permissions the new content of path gets: those of the file it replaces, or a new
// file's. A folder, or a file that may not be written, is refused.
mode_t ReplacementMode(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) return NewFileMode();
    if (S_ISDIR(existing.st_mode)) ThrowSystemError(EISDIR);
    // Judged on the attribute too, since access() lets the superuser write anything.
    if ((existing.st_mode & 0222) == 0) ThrowSystemError(EACCES);
    if (::access(path.c_str(), W_OK) != 0) ThrowLastError();
    return existing.st_mode & 07777;
}

const std::string& WithoutStaleTemporaries(const std::string& path) {
    RemoveStaleTemporaries(path);
    return path;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path)
    : path_(path), mode_(ReplacementMode(path)), file_(WithoutStaleTemporaries(path)) {}

void FileReplacement::Append(std::string_view part) {
    WriteAll(file_.Fd(), part.data(), part.size());
    // The disk may start on it now rather than when Commit waits for it; only a hint.
    ::sync_file_range(file_.Fd(), static_cast<off_t>(size_), static_cast<off_t>(part.size()), SYNC_FILE_RANGE_WRITE);
    size_ += part.size();
}

void FileReplacement::WriteAt(std::uint64_t offset, std::string_view part) {
    if (offset > size_ || part.size() > size_ - offset) ThrowSystemError(EINVAL);
    for (std::size_t done = 0; done < part.size();) {
        const ssize_t written = ::pwrite(file_.Fd(), part.data() + done, part.size() - done,
                                         static_cast<off_t>(offset + done));
        if (written < 0) {
            if (errno == EINTR) continue;
            ThrowLastError();
        }
        done += static_cast<std::size_t>(written);
    }
}

void FileReplacement::Commit() {
    if (::fchmod(file_.Fd(), static_cast<mode_t>(mode_)) != 0 || ::fsync(file_.Fd()) != 0) ThrowLastError();
    file_.Close();
    MoveIntoPlace(file_, path_, false);
}

bool IsFileReadOnly(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) ThrowLastError();
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void SetFileReadOnly(const std::string& path, bool readOnly) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) ThrowLastError();
    const mode_t mode = readOnly ? info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) : info.st_mode | S_IWUSR;
    if (::chmod(path.c_str(), mode & 07777) != 0) ThrowLastError();
}

}  // namespace qnvr
