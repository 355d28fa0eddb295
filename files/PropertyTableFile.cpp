#include "files/PropertyTableFile.h"

#include "files/TableFile.h"

namespace resheat {

PropertyTableRead LoadPropertyTable(const std::string &path, StandardInput standardInput)
{
    std::string text;
    PropertyTableRead r;
    if (!ReadTableFile(path, "a property table", text, r.message, standardInput))
        return r;
    return ParsePropertyTable(text, PropertySource::User, path);
}

} // namespace resheat
