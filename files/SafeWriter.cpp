#include "files/SafeWriter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Errors.h"

namespace resheat {

namespace fs = std::filesystem;

std::string IoErrorMessage(int e)
{
    switch (e) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(e);
    }
}

namespace {

[[noreturn]] void Fail(int e) { throw IoError(IoErrorMessage(e)); }

void WriteAll(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

// Pushes a regular file's bytes to the disk; devices and pipes have nothing
// to push.
void Sync(int fd)
{
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        Fail(errno);
}

// Follows a chain of symbolic links to the path that the last one names,
// whether or not that exists, so that a save writes through the links and
// never replaces one by a regular file.
fs::path FollowLinks(fs::path path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::error_code ec;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec)
            Fail(ec.value());
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    Fail(ELOOP);
}

// Writes over the file itself: for devices and pipes, and for files that
// the user may write but not replace.
void WriteInPlace(const fs::path &target, const std::string &bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        Fail(errno);
    try {
        WriteAll(fd, bytes);
        Sync(fd);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        Fail(errno);
}

// The owner and group of the replaced file where the user may set them, at
// least the group; otherwise the file becomes the user's, as a new one would.
void KeepOwner(int fd, const struct stat &st)
{
    if (::fchown(fd, st.st_uid, st.st_gid) == 0)
        return;
    if (::fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0)
        return;
}

// The folder refuses a new entry or a replaced one, though the file itself
// may be written.
bool FolderRefuses(int e) { return e == EACCES || e == EPERM; }

} // namespace

void WriteLinesCrLf(const std::string &fileName, const std::vector<std::string> &lines)
{
    WriteLines(fileName, lines, "\r\n");
}

void WriteLines(const std::string &fileName, const std::vector<std::string> &lines,
                const char *lineEnd)
{
    if (fileName.empty())
        Fail(ENOENT);
    std::string bytes;
    for (const auto &line : lines) {
        bytes += line;
        bytes += lineEnd;
    }

    const fs::path target = FollowLinks(fileName);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        Fail(errno);
    if (exists && S_ISDIR(st.st_mode))
        Fail(EISDIR);
    if (exists && !S_ISREG(st.st_mode))
        return WriteInPlace(target, bytes); // a device or pipe cannot be replaced
    if (exists) {
        // Replacing needs only the folder's permission: ask the file's own,
        // so that a protected file is never replaced.
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            Fail(errno);
        ::close(fd);
        // Replacing would split the file from its other names.
        if (st.st_nlink > 1)
            return WriteInPlace(target, bytes);
    }

    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    // A short name, so that any name the file system takes for the target
    // leaves room for the temporary one.
    std::string temp = (dir / ".resheat-XXXXXX").string();
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        if (exists && FolderRefuses(e))
            return WriteInPlace(target, bytes);
        Fail(e);
    }
    try {
        mode_t mode = 0666;
        if (exists) {
            mode = st.st_mode & 07777;
            KeepOwner(fd, st); // before the mode: a change of owner clears set-id bits
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        ::fchmod(fd, mode);
        WriteAll(fd, bytes);
        Sync(fd);
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    const int closeError = ::close(fd) != 0 ? errno : 0;
    const int renameError = closeError ? closeError : (::rename(temp.c_str(), target.c_str()) != 0 ? errno : 0);
    if (renameError) {
        ::unlink(temp.c_str());
        if (!closeError && exists && FolderRefuses(renameError))
            return WriteInPlace(target, bytes); // a sticky folder keeps others' files in place
        Fail(renameError);
    }
}

} // namespace resheat
