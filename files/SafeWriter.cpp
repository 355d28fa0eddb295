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

    fs::path target(fileName);
    std::error_code ec;
    // Write through a link to the file it names, not over the link.
    if (fs::is_symlink(fs::symlink_status(target, ec)))
        target = fs::weakly_canonical(target, ec);

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        Fail(EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or pipe cannot be replaced; write to it directly.
        const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0)
            Fail(errno);
        try {
            WriteAll(fd, bytes);
        } catch (...) {
            ::close(fd);
            throw;
        }
        if (::close(fd) != 0)
            Fail(errno);
        return;
    }

    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        Fail(errno);
    bool closed = false;
    try {
        mode_t mode = 0666;
        if (exists) {
            mode = st.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        ::fchmod(fd, mode);
        WriteAll(fd, bytes);
        if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
            Fail(errno);
        closed = true;
        if (::close(fd) != 0)
            Fail(errno);
    } catch (...) {
        if (!closed)
            ::close(fd);
        ::unlink(tmpl.c_str());
        throw;
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        const int e = errno;
        ::unlink(tmpl.c_str());
        Fail(e);
    }
}

} // namespace resheat
