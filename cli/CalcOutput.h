// What resheat-calc prints or writes for one calculated case.
#pragma once

#include <string>
#include <vector>

#include "core/Heating.h"
#include "core/Records.h"

namespace resheat {

enum class Geometry { XY, RZ };

struct Message {
    std::string caption;
    std::string text;
};

struct CalcOutput {
    Geometry geometry = Geometry::XY;
    Formulas formulas = Formulas::Series;
    DataXY xy;
    DataRZ rz;
    ResultsXY resultsXY;
    ResultsRZ resultsRZ;
    History history{};
    std::vector<Message> messages;
    int status = 0; // the exit status, for the JSON output

    bool rejected() const
    {
        const double pv = geometry == Geometry::XY ? resultsXY.powerDensity : resultsRZ.powerDensity;
        return pv > kPowerDensityLimit;
    }
};

// Text results lines (LF), a blank line, the history as an aligned table;
// control characters of the material name escaped.
std::string FormatText(const CalcOutput &out);
// One JSON object; every number reads back to the same double.  It ends
// with "status" (the exit status) and "messages".
std::string FormatJson(const CalcOutput &out);
// CSV: header time_s,To_C,Tw_C,Th_C (rz: time_s,To_C,Tr_C) and 50 rows.
void WriteHistoryCsv(const std::string &fileName, const CalcOutput &out);

// Shortest decimal text that reads back to the same double.
std::string ShortestNumber(double v);

// `v` in fixed notation with `decimals` digits after the point, right-aligned
// in `width` characters or wider when it needs more.
std::string FixedColumn(double v, std::size_t width, int decimals);
// A JSON string of the bytes of s, taken as Latin-1.
std::string JsonString(const std::string &s);

// The messages as a JSON array of {"caption", "text"} objects.
std::string JsonMessages(const std::vector<Message> &messages);
// {"status": N, "messages": [...]}, with `members` (JSON members and their
// values, without a trailing comma) first when given.
std::string StatusJson(int status, const std::vector<Message> &messages, const std::string &members = "");

} // namespace resheat
