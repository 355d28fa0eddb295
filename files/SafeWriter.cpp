#include "files/SafeWriter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Errors.h"
#include "files/TemporaryFiles.h"

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

void Close(int fd)
{
    if (::close(fd) != 0 && errno != EINTR)
        Fail(errno);
}

// Closes the descriptor whatever happens to the operation.
template <typename Operation>
void WithDescriptor(int fd, Operation operation)
{
    try {
        operation();
    } catch (...) {
        ::close(fd);
        throw;
    }
    Close(fd);
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

// The standard output or standard error when `st` is the file behind it:
// /dev/stdout, /dev/fd/1, or the name of the file that output goes to.
int StandardStreamOf(const struct stat &st)
{
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open {};
        if (::fstat(fd, &open) == 0 && open.st_dev == st.st_dev && open.st_ino == st.st_ino)
            return fd;
    }
    return -1;
}

// Adds the bytes to what the program writes to its standard output or
// error: that file is neither replaced nor truncated, so what went there
// before stays.
void WriteToStandardStream(int fd, const std::string &bytes)
{
    std::fflush(fd == STDOUT_FILENO ? stdout : stderr);
    WriteAll(fd, bytes);
}

// A character device, a pipe, a FIFO, a terminal: written as it is.  A FIFO
// nobody reads is refused at once instead of waiting for a reader.
void WriteToDevice(const std::string &path, const struct stat &st, const std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ENXIO && S_ISFIFO(st.st_mode))
        throw IoError("Nothing reads from the FIFO");
    if (fd < 0)
        Fail(errno);
    WithDescriptor(fd, [&] {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        WriteAll(fd, bytes);
        Sync(fd);
    });
}

// Writes over a regular file itself, for files that the user may write but
// not replace.  Writers of the file take turns (an advisory lock), and the
// space for the new contents is secured before the first byte of the old is
// overwritten, so a full disk leaves the old file whole.
void WriteInPlace(const fs::path &target, const std::string &bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        Fail(errno);
    WithDescriptor(fd, [&] {
        while (::flock(fd, LOCK_EX) != 0)
            if (errno != EINTR)
                Fail(errno);
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            Fail(errno);
        const auto size = static_cast<off_t>(bytes.size());
        if (size > 0) {
            if (const int e = ::posix_fallocate(fd, 0, size); e != 0) {
                // Give back what was taken before the disk filled.
                (void)!::ftruncate(fd, st.st_size);
                // A file system that cannot reserve space is written without.
                if (e != EOPNOTSUPP && e != EINVAL)
                    Fail(e);
            }
        }
        // The overwriting is not cut in two by a signal that ends the program.
        HoldSignals hold;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                Fail(errno);
            }
            done += static_cast<std::size_t>(n);
        }
        if (::ftruncate(fd, size) != 0)
            Fail(errno);
        Sync(fd);
    });
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
    std::string bytes;
    for (const auto &line : lines) {
        bytes += line;
        bytes += lineEnd;
    }
    WriteBytes(fileName, bytes);
}

void WriteBytes(const std::string &fileName, const std::string &bytes)
{
    if (fileName.empty())
        Fail(ENOENT);

    // What the name stands for now, through any links: a device, a pipe or
    // a standard stream is written as it is, never replaced.
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            Fail(EISDIR);
        if (const int fd = StandardStreamOf(st); fd >= 0)
            return WriteToStandardStream(fd, bytes);
        if (!S_ISREG(st.st_mode))
            return WriteToDevice(fileName, st, bytes);
    } else if (errno != ENOENT) {
        Fail(errno);
    }

    const fs::path target = FollowLinks(fileName);
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        Fail(errno);
    if (exists && !S_ISREG(st.st_mode))
        Fail(EISDIR); // became something else meanwhile
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
    std::optional<TemporaryFileGuard> guard;
    int fd;
    {
        // No signal between creating the file and guarding it.
        HoldSignals hold;
        fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd >= 0)
            guard.emplace(temp);
    }
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
    int renameError = closeError;
    if (!closeError) {
        HoldSignals hold;
        renameError = ::rename(temp.c_str(), target.c_str()) != 0 ? errno : 0;
        if (!renameError)
            guard->release();
    }
    if (renameError) {
        ::unlink(temp.c_str());
        guard.reset();
        if (!closeError && exists && FolderRefuses(renameError))
            return WriteInPlace(target, bytes); // a sticky folder keeps others' files in place
        Fail(renameError);
    }
}

} // namespace resheat
