// Fuzz harness: the property table reader, and the temperature-dependent
// calculation of the worked rod with every table it accepts.  Rules: an
// accepted table has strictly increasing, finite temperatures, finite
// positive properties, an emissivity from 0 to 1 and a finite solidus; a
// refusal says why, naming the line when a line is to blame; the
// calculation ends with a status, never a value that is no number nor an
// arithmetic fault.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/Errors.h"
#include "core/PropertyTable.h"
#include "core/Refined.h"
#include "support/RecordingHost.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace resheat;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const PropertyTableRead read = ParsePropertyTable(text, PropertySource::User, "fuzz.csv");
    if (!read.ok) {
        FUZZ_CHECK(!read.message.empty());
        if (read.line > 0)
            FUZZ_CHECK(read.message.rfind("Line " + std::to_string(read.line) + ": ", 0) == 0);
        return 0;
    }
    const PropertyTable &t = read.table;
    FUZZ_CHECK(!t.points.empty());
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        const PropertyPoint &p = t.points[i];
        FUZZ_CHECK(std::isfinite(p.temperature));
        FUZZ_CHECK(i == 0 || p.temperature > t.points[i - 1].temperature);
        for (const double v : {p.resistivity, p.conductivity, p.specificHeat})
            FUZZ_CHECK(std::isfinite(v) && v > 0);
    }
    FUZZ_CHECK(t.emissivity >= 0 && t.emissivity <= 1);
    if (t.solidus)
        FUZZ_CHECK(std::isfinite(*t.solidus));

    // Tables far from any metal are what the solver must survive: it reaches
    // the finish with an estimate of its accuracy, or says why not; no
    // arithmetic fault, whatever the table (the worked rod's own formulas
    // cannot fault).
    try {
        const RefinedResult r = RefinedCalculationRZ(testing::WorkedRod(), t);
        if (r.status == RefinedStatus::Reached) {
            FUZZ_CHECK(std::isfinite(r.heatingTime) && r.heatingTime > 0);
            for (const RefinedRow &row : r.history)
                for (const double v : {row.temperatures[0], row.temperatures[1], row.current, row.power})
                    FUZZ_CHECK(std::isfinite(v));
            for (const double e : {r.errorEstimate.heatingTime, r.errorEstimate.temperature})
                FUZZ_CHECK(std::isfinite(e) && e >= 0);
        } else {
            FUZZ_CHECK(r.stopMessages.size() == 1 || r.status == RefinedStatus::Rejected);
            if (r.status == RefinedStatus::NotConverged)
                FUZZ_CHECK(r.stopMessages[0].rfind("the calculation did not converge: ", 0) == 0);
        }
    } catch (const ArithmeticFault &) {
        FUZZ_CHECK(false);
    }
    return 0;
}
