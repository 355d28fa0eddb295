#include "files/PropertyTableFile.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "files/SafeWriter.h"

namespace resheat {

namespace {

// A property table has a few hundred lines at most; anything far larger is
// not one, and is refused before it fills the memory.
constexpr long kMaxTableBytes = 1 << 20;

PropertyTableRead Unread(const std::string &message)
{
    PropertyTableRead r;
    r.message = message;
    return r;
}

} // namespace

PropertyTableRead LoadPropertyTable(const std::string &path)
{
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f)
        return Unread(IoErrorMessage(errno ? errno : ENOENT));
    std::string text;
    char buf[8192];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        text.append(buf, n);
        if (static_cast<long>(text.size()) > kMaxTableBytes)
            return Unread("The file is too large for a property table");
        if (n < sizeof buf) {
            if (std::ferror(f.get()))
                return Unread(IoErrorMessage(errno ? errno : EIO));
            break;
        }
    }
    return ParsePropertyTable(text, PropertySource::User, path);
}

} // namespace resheat
