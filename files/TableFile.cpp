#include "files/TableFile.h"

#include "files/SafeWriter.h"

namespace resheat {

bool ReadTableFile(const std::string &path, const std::string &what, std::string &text, std::string &message,
                   StandardInput standardInput)
{
    text.clear();
    InputFile file(path, standardInput);
    if (!file.isOpen()) {
        message = file.problem();
        return false;
    }
    const std::string tooLarge = "The file is too large for " + what;
    // A regular file says its size: one far too large is not read at all.
    if (file.size() > kMaxTableFileBytes) {
        message = tooLarge;
        return false;
    }
    std::streambuf &in = *file.stream().rdbuf();
    char buf[8192];
    for (std::streamsize n; (n = in.sgetn(buf, sizeof buf)) > 0;) {
        text.append(buf, static_cast<std::size_t>(n));
        if (static_cast<long long>(text.size()) > kMaxTableFileBytes) {
            message = tooLarge;
            return false;
        }
    }
    if (file.readError() != 0) {
        message = IoErrorMessage(file.readError());
        return false;
    }
    return true;
}

} // namespace resheat
