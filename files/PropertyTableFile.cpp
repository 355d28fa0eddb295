#include "files/PropertyTableFile.h"

#include <cerrno>

#include "files/InputFile.h"
#include "files/SafeWriter.h"

namespace resheat {

namespace {

PropertyTableRead Unread(const std::string &message)
{
    PropertyTableRead r;
    r.message = message;
    return r;
}

} // namespace

PropertyTableRead LoadPropertyTable(const std::string &path, StandardInput standardInput)
{
    InputFile file(path, standardInput);
    if (!file.isOpen())
        return Unread(file.problem());
    const char *const tooLarge = "The file is too large for a property table";
    // A regular file says its size: one far too large is not read at all.
    if (file.size() > kMaxPropertyTableBytes)
        return Unread(tooLarge);
    std::string text;
    std::streambuf &in = *file.stream().rdbuf();
    char buf[8192];
    for (std::streamsize n; (n = in.sgetn(buf, sizeof buf)) > 0;) {
        text.append(buf, static_cast<std::size_t>(n));
        if (static_cast<long long>(text.size()) > kMaxPropertyTableBytes)
            return Unread(tooLarge);
    }
    if (file.readError() != 0)
        return Unread(IoErrorMessage(file.readError()));
    return ParsePropertyTable(text, PropertySource::User, path);
}

} // namespace resheat
