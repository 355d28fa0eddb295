// Fuzz harness: resheat-calc's argument handling.  The input is the
// argument list, arguments separated by NUL bytes.  Rules: accepted
// arguments name one case file and a geometry, and a heating time only when
// it is a finite number above 0; a refused heating time is said in one
// line; nothing is read or written.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "cli/CalcOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace resheat;
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    const ParsedArguments parsed = ParseArguments(args);
    const CalcOptions &o = parsed.options;
    if (!parsed.error.empty()) {
        FUZZ_CHECK(parsed.showUsage || parsed.error.find('\n') == std::string::npos);
        return 0;
    }
    if (o.help)
        return 0;
    FUZZ_CHECK(!o.caseFile.empty());
    FUZZ_CHECK(o.geometry == Geometry::XY || o.geometry == Geometry::RZ);
    if (o.heatingTime)
        FUZZ_CHECK(std::isfinite(*o.heatingTime) && *o.heatingTime > 0);
    return 0;
}
