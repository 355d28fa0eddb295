#include "files/TableFile.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "files/SafeWriter.h"

namespace resheat {

namespace {

// A table has a few hundred lines at most; anything far larger is not one.
constexpr long kMaxTableBytes = 1 << 20;

} // namespace

bool ReadTableFile(const std::string &path, const std::string &what, std::string &text, std::string &message)
{
    text.clear();
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) {
        message = IoErrorMessage(errno ? errno : ENOENT);
        return false;
    }
    char buf[8192];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        text.append(buf, n);
        if (static_cast<long>(text.size()) > kMaxTableBytes) {
            message = "The file is too large for " + what;
            return false;
        }
        if (n < sizeof buf) {
            if (std::ferror(f.get())) {
                message = IoErrorMessage(errno ? errno : EIO);
                return false;
            }
            return true;
        }
    }
}

} // namespace resheat
