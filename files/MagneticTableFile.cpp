#include "files/MagneticTableFile.h"

#include "files/TableFile.h"

namespace resheat {

MagneticTableRead LoadMagneticTable(const std::string &path)
{
    std::string text;
    MagneticTableRead r;
    if (!ReadTableFile(path, "a magnetisation curve", text, r.message))
        return r;
    return ParseMagneticTable(text, PropertySource::User, path);
}

} // namespace resheat
