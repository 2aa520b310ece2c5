#include "core/text/files.h"

#include <fcntl.h>
#include <fnmatch.h>
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

// A new, empty hidden file beside target that is deleted again unless Keep is called.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target)
        : path_(TemplateFor(target)), handle_(::mkostemp(path_.data(), O_CLOEXEC)) {}
    ~TemporaryFile() {
        if (!kept_) ::unlink(path_.c_str());
    }

    const std::string& Path() const { return path_; }
    FileHandle& Handle() { return handle_; }
    void Keep() { kept_ = true; }

private:
    static std::string TemplateFor(const fs::path& target) {
        return (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    }

    std::string path_;
    FileHandle handle_;
    bool kept_ = false;
};

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
    FileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (::fstat(in.Get(), &info) != 0) ThrowLastError();
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR);
    CheckTargetReplaceable(target, failIfExists);

    TemporaryFile copy{fs::path(target)};
    const int out = copy.Handle().Get();
    CopyContents(in.Get(), out);
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (::fchmod(out, info.st_mode & 07777) != 0 || ::futimens(out, times) != 0 || ::fsync(out) != 0)
        ThrowLastError();
    copy.Handle().Close();
    MoveIntoPlace(copy, target, failIfExists);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

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
    struct stat existing {};
    mode_t mode = NewFileMode();
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) ThrowSystemError(EISDIR);
        // Judged on the attribute too, since access() lets the superuser write anything.
        if ((existing.st_mode & 0222) == 0) ThrowSystemError(EACCES);
        if (::access(path.c_str(), W_OK) != 0) ThrowLastError();
        mode = existing.st_mode & 07777;
    }
    TemporaryFile file{fs::path(path)};
    const int out = file.Handle().Get();
    WriteAll(out, content.data(), content.size());
    if (::fchmod(out, mode) != 0 || ::fsync(out) != 0) ThrowLastError();
    file.Handle().Close();
    MoveIntoPlace(file, path, false);
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
