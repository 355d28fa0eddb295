#include "files/InputFile.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/SafeWriter.h"

namespace resheat {

namespace {

std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    return "a special file";
}

std::string NotRegular(mode_t mode) { return "not a regular file (" + KindOf(mode) + ")"; }

} // namespace

// Reads the descriptor in blocks as the stream asks; a failed read ends the
// stream and keeps its errno.
class InputFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd) {}
    int error = 0;

protected:
    int_type underflow() override
    {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        if (error != 0 || fd_ < 0)
            return traits_type::eof();
        ssize_t n;
        do {
            n = ::read(fd_, data_.data(), data_.size());
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            if (n < 0)
                error = errno;
            return traits_type::eof();
        }
        setg(data_.data(), data_.data(), data_.data() + n);
        return traits_type::to_int_type(*gptr());
    }

private:
    int fd_;
    std::array<char, 4096> data_{};
};

bool IsStandardInputName(const std::string &path)
{
    return path == "/dev/stdin" || path == "/dev/fd/0" || path == "/proc/self/fd/0";
}

InputFile::InputFile(const std::string &path, StandardInput standardInput)
{
    struct stat st {};
    if (standardInput == StandardInput::Allowed && IsStandardInputName(path)) {
        if (::fstat(0, &st) != 0) {
            problem_ = IoErrorMessage(errno);
            return;
        }
        fd_ = 0;
        if (S_ISREG(st.st_mode))
            size_ = st.st_size;
    } else {
        if (path.empty()) {
            problem_ = IoErrorMessage(ENOENT);
            return;
        }
        // Without O_NONBLOCK opening a FIFO waits for a writer.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) {
            // A socket cannot be opened at all: say what it is.
            const int e = errno;
            problem_ = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) ? NotRegular(st.st_mode)
                                                                               : IoErrorMessage(e);
            return;
        }
        owned_ = true;
        if (::fstat(fd_, &st) != 0) {
            problem_ = IoErrorMessage(errno);
        } else if (!S_ISREG(st.st_mode)) {
            problem_ = NotRegular(st.st_mode);
        } else {
            size_ = st.st_size;
            ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        }
        if (!problem_.empty()) {
            ::close(fd_);
            fd_ = -1;
            owned_ = false;
            return;
        }
    }
    buffer_ = std::make_unique<Buffer>(fd_);
    stream_.rdbuf(buffer_.get());
}

InputFile::~InputFile()
{
    if (owned_)
        ::close(fd_);
}

int InputFile::readError() const { return buffer_ ? buffer_->error : 0; }

} // namespace resheat
