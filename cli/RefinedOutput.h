// What resheat-calc --refined prints or writes for one case.
#pragma once

#include <string>
#include <vector>

#include "cli/CalcOutput.h"
#include "core/Refined.h"

namespace resheat {

struct RefinedOutput {
    Geometry geometry = Geometry::RZ;
    DataXY xy;
    DataRZ rz;
    RefinedResult result;
    std::vector<Message> messages; // every message of the run, as on stderr
    int status = 0;                // the exit status, for the JSON output
};

// The warnings and stop messages of a result, with their captions, in order.
std::vector<Message> RefinedMessages(const RefinedResult &r);

// Labelled result lines, a blank line and the 50-row history table; without
// a heating time only the lines that say what was run.  Control characters
// of the material name and the table's name are escaped.
std::string FormatRefinedText(const RefinedOutput &out);
// One JSON object; every number reads back to the same double.  "results" is
// null and "history" empty when the finish temperature was not reached; it
// ends with "status" (the exit status) and "messages".
std::string FormatRefinedJson(const RefinedOutput &out);
// CSV: time_s,To_C,Tr_C,I_A,P_W (bar: time_s,To_C,Tw_C,Th_C,I_A,P_W), 50 rows.
void WriteRefinedHistoryCsv(const std::string &fileName, const RefinedOutput &out);

} // namespace resheat
