// Fuzz harness: resheat-calc's argument handling.  The input is the
// argument list, arguments separated by NUL bytes.  Rules: accepted
// arguments name one case file and a geometry, and a heating time only when
// it is a finite number above 0; the options of the temperature-dependent
// calculation (an emissivity from 0 to 1, a property table) only with
// --refined, and the heating time and results file only without it; the
// supply's frequency from 0 to 1E6 Hz and a finite loop reactance of 0 or
// more, both and the magnetisation curve only with --refined; no option
// twice; a value or case file that starts with -- only after "--"; --json
// before any "--" asks for JSON also when the line is refused; a refusal is
// said in one line; nothing is read or written.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
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
    const auto firstDoubleDash = std::find(args.begin(), args.end(), "--");
    const bool doubleDash = firstDoubleDash != args.end();
    if (std::find(args.begin(), firstDoubleDash, "--json") != firstDoubleDash)
        FUZZ_CHECK(o.json);
    if (!parsed.error.empty()) {
        FUZZ_CHECK(parsed.showUsage || parsed.error.find('\n') == std::string::npos);
        return 0;
    }
    if (o.help || o.version)
        return 0;
    // Without "--" every argument that starts with -- is an option, given once.
    if (!doubleDash) {
        std::set<std::string> options;
        for (const auto &a : args)
            if (a.starts_with("--"))
                FUZZ_CHECK(options.insert(a).second);
        for (const std::string *value : {&o.caseFile, &o.resultsFile, &o.historyFile, &o.materialsFile, &o.bhFile})
            FUZZ_CHECK(!value->starts_with("--"));
    }
    FUZZ_CHECK(!o.caseFile.empty());
    FUZZ_CHECK(o.geometry == Geometry::XY || o.geometry == Geometry::RZ);
    if (o.heatingTime)
        FUZZ_CHECK(std::isfinite(*o.heatingTime) && *o.heatingTime > 0);
    if (o.refined) {
        FUZZ_CHECK(!o.heatingTime && o.resultsFile.empty());
        if (o.emissivity)
            FUZZ_CHECK(*o.emissivity >= 0 && *o.emissivity <= 1);
        FUZZ_CHECK(o.frequency >= 0 && o.frequency <= 1E6);
        FUZZ_CHECK(o.loopReactance >= 0 && std::isfinite(o.loopReactance));
    } else {
        FUZZ_CHECK(!o.emissivity && o.materialsFile.empty());
        FUZZ_CHECK(o.frequency == 0 && o.loopReactance == 0 && o.bhFile.empty());
    }
    return 0;
}
