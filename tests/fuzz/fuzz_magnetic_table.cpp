// Fuzz harness: the magnetisation curve reader, and the current distribution
// of a small steel rod at 50 Hz with every curve it accepts, cold and near
// the Curie point.  Rules: an accepted curve has at least two points, H and B
// finite, positive and strictly increasing, B above mu0 H and a finite Curie
// temperature above 20 oC; a refusal says why, naming the line when a line
// is to blame; the solve ends with a status and finite numbers, or faults
// with the platform's message.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/CurrentDistribution.h"
#include "core/Errors.h"
#include "core/MagneticTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace resheat;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const MagneticTableRead read = ParseMagneticTable(text, PropertySource::User, "fuzz.csv");
    if (!read.ok) {
        FUZZ_CHECK(!read.message.empty());
        if (read.line > 0)
            FUZZ_CHECK(read.message.rfind("Line " + std::to_string(read.line) + ": ", 0) == 0);
        return 0;
    }
    const MagneticTable &t = read.table;
    FUZZ_CHECK(t.points.size() >= 2);
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        const BHPoint &p = t.points[i];
        FUZZ_CHECK(std::isfinite(p.field) && p.field > 0 && std::isfinite(p.flux) && p.flux > kMu0 * p.field);
        FUZZ_CHECK(i == 0 || (p.field > t.points[i - 1].field && p.flux > t.points[i - 1].flux));
    }
    FUZZ_CHECK(std::isfinite(t.curie) && t.curie > 20 && t.curie <= 1200);

    const Permeability permeability(t);
    CurrentSection rod{false, {0, 0.004, 0.007, 0.009, 0.01}, {}};
    for (const double temperature : {20.0, t.curie - 1}) {
        CurrentMaterial m;
        m.resistivity.assign(5, 2E-7);
        m.temperature.assign(5, temperature);
        m.magnetic = [&](double h, double T) { return permeability.Relative(h, T); };
        try {
            const CurrentResult r = SolveCurrent(rod, {50, 1, 0.5, 1E-4}, m, {1E-6, 30});
            FUZZ_CHECK(r.status != CurrentStatus::Refused || !r.message.empty());
            if (r.status != CurrentStatus::Refused) {
                for (const double v : {r.resistance, r.reactance, r.current, r.power, r.powerFactor, r.apparentPower})
                    FUZZ_CHECK(std::isfinite(v) && v >= 0);
                for (const double j : r.currentDensitySquared)
                    FUZZ_CHECK(std::isfinite(j) && j >= 0);
            }
        } catch (const ArithmeticFault &) {
        }
    }
    return 0;
}
