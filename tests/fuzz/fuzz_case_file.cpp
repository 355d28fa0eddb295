// Fuzz harness: any bytes as a case data file, read as both geometries.
// Rules: the reader consumes at most the lines of a case; a refused file
// leaves the record as it was with the one message "Incorrect data format";
// an accepted one holds finite numbers, and what Save writes of it reads
// back to the same texts.  Every case read is calculated (computed and
// fixed heating time) and printed as resheat-calc prints it: results and
// history are finite unless an arithmetic fault ended the run.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "cli/CalcOutput.h"
#include "core/Errors.h"
#include "core/Heating.h"
#include "files/DataFiles.h"
#include "files/FixedNumber.h"

namespace {

using namespace resheat;

class QuietHost : public CalcHost {
public:
    std::vector<std::pair<std::string, std::string>> messages;
    void showMessage(const std::string &caption, const std::string &text) override
    {
        messages.emplace_back(caption, text);
    }
};

template <typename Record>
using Loader = bool (*)(std::istream &, Record &, CalcHost &);
template <typename Record>
using Writer = std::vector<std::string> (*)(const Record &);

template <typename Record, std::size_t N>
bool ReadChecked(const std::string &bytes, Record &record, const std::array<double Record::*, N> &fields,
                 Loader<Record> load, Writer<Record> linesOf)
{
    const Record before = record;
    std::istringstream in(bytes);
    QuietHost host;
    const bool ok = load(in, record, host);
    // 3 + N lines of at most 1000 bytes and a CR LF each.
    FUZZ_CHECK(in.tellg() <= static_cast<std::streamoff>((3 + N) * 1002));
    if (!ok) {
        FUZZ_CHECK(record == before);
        FUZZ_CHECK(host.messages.size() == 1);
        FUZZ_CHECK(host.messages[0].first == "Execution Error");
        FUZZ_CHECK(host.messages[0].second == "Incorrect data format");
        return false;
    }
    FUZZ_CHECK(host.messages.empty());
    for (auto field : fields)
        FUZZ_CHECK(std::isfinite(record.*field));

    std::string saved;
    for (const auto &line : linesOf(record))
        saved += line + "\r\n";
    std::istringstream again(saved);
    Record back = before;
    FUZZ_CHECK(load(again, back, host));
    FUZZ_CHECK(back.name == record.name);
    for (auto field : fields)
        FUZZ_CHECK(FormatFixed23(back.*field) == FormatFixed23(record.*field));
    return true;
}

template <typename Results, std::size_t N>
void CheckFinite(const CalcOutput &out, const Results &results, const std::array<double Results::*, N> &fields)
{
    for (auto field : fields)
        FUZZ_CHECK(std::isfinite(results.*field));
    for (const auto &row : out.history)
        for (double v : row)
            FUZZ_CHECK(std::isfinite(v));
}

void CalculateAndPrint(CalcOutput out, bool fixedTime, double time)
{
    QuietHost host;
    try {
        if (out.geometry == Geometry::XY) {
            CalculationXY(out.xy, fixedTime, out.resultsXY, time, out.history, host);
            CheckFinite(out, out.resultsXY, kResultsXYNumbers);
        } else {
            CalculationRZ(out.rz, fixedTime, out.resultsRZ, time, out.history, host);
            CheckFinite(out, out.resultsRZ, kResultsRZNumbers);
        }
    } catch (const ArithmeticFault &) {
        return; // resheat-calc's exit status 3
    }
    for (const auto &[caption, text] : host.messages)
        out.messages.push_back({caption, text});
    const std::string text = FormatText(out);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    FUZZ_CHECK(lines == (out.geometry == Geometry::XY ? 32u : 30u) + 2 + kHistoryRows);
    const std::string json = FormatJson(out);
    FUZZ_CHECK(json.front() == '{' && json.back() == '\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    // Distinct values, so that a partly written record shows.
    CalcOutput xy;
    xy.geometry = Geometry::XY;
    for (std::size_t i = 0; i < kDataXYNumbers.size(); ++i)
        xy.xy.*kDataXYNumbers[i] = 1000 + static_cast<double>(i);
    if (ReadChecked(bytes, xy.xy, kDataXYNumbers, LoadDataXY, CaseFileLinesXY)) {
        CalculateAndPrint(xy, false, 0);
        CalculateAndPrint(xy, true, xy.xy.length);
    }

    CalcOutput rz;
    rz.geometry = Geometry::RZ;
    for (std::size_t i = 0; i < kDataRZNumbers.size(); ++i)
        rz.rz.*kDataRZNumbers[i] = 2000 + static_cast<double>(i);
    if (ReadChecked(bytes, rz.rz, kDataRZNumbers, LoadDataRZ, CaseFileLinesRZ)) {
        CalculateAndPrint(rz, false, 0);
        CalculateAndPrint(rz, true, rz.rz.length);
    }
    return 0;
}
