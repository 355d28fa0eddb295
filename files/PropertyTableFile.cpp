#include "files/PropertyTableFile.h"

#include "files/TableFile.h"

namespace resheat {

PropertyTableRead LoadPropertyTable(const std::string &path)
{
    std::string text;
    PropertyTableRead r;
    if (!ReadTableFile(path, "a property table", text, r.message))
        return r;
    return ParsePropertyTable(text, PropertySource::User, path);
}

} // namespace resheat
