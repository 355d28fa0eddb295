#include "cli/CalcOutput.h"

#include <charconv>
#include <limits>

#include "core/ShownText.h"
#include "files/DataFiles.h"
#include "files/SafeWriter.h"

namespace resheat {

std::string ShortestNumber(double v)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// `v` in fixed notation with `decimals` digits after the point, right-aligned
// in `width` characters or wider when it needs more (printf's %W.Df in the
// C locale, whatever the regional settings).
std::string FixedColumn(double v, std::size_t width, int decimals)
{
    // Room for the longest double: sign, 309 digits, point and decimals.
    std::string s(std::numeric_limits<double>::max_exponent10 + 8 + decimals, '\0');
    const auto res = std::to_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed, decimals);
    s.resize(static_cast<std::size_t>(res.ptr - s.data()));
    if (s.size() < width)
        s.insert(0, width - s.size(), ' ');
    return s;
}

std::string JsonMessages(const std::vector<Message> &messages)
{
    std::string s = "[";
    for (std::size_t i = 0; i < messages.size(); ++i) {
        s += i ? ", " : "";
        s += "{\"caption\": " + JsonString(messages[i].caption) + ", \"text\": " + JsonString(messages[i].text) + "}";
    }
    return s + "]";
}

std::string StatusJson(int status, const std::vector<Message> &messages, const std::string &members)
{
    return "{" + (members.empty() ? "" : members + ", ") + "\"status\": " + std::to_string(status) +
           ", \"messages\": " + JsonMessages(messages) + "}\n";
}

namespace {

std::vector<std::string> ResultLines(const CalcOutput &out)
{
    return out.geometry == Geometry::XY ? TextResultsLinesXY(out.xy, out.resultsXY)
                                        : TextResultsLinesRZ(out.rz, out.resultsRZ);
}

int HistoryColumns(const CalcOutput &out) { return out.geometry == Geometry::XY ? 4 : 3; }

} // namespace

// JSON string of a material name: its bytes are taken as Latin-1.
std::string JsonString(const std::string &s)
{
    std::string r = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            r += '\\';
            r += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            const char *hex = "0123456789abcdef";
            r += "\\u00";
            r += hex[c >> 4];
            r += hex[c & 15];
        } else {
            r += static_cast<char>(c);
        }
    }
    return r + "\"";
}

namespace {

template <typename Record, std::size_t N>
std::string JsonNumbers(const Record &r, const std::array<double Record::*, N> &fields)
{
    std::string s = "[";
    for (std::size_t i = 0; i < N; ++i)
        s += (i ? ", " : "") + ShortestNumber(r.*fields[i]);
    return s + "]";
}

} // namespace

std::string FormatText(const CalcOutput &out)
{
    std::string s;
    for (const auto &line : ResultLines(out))
        s += ShownText(line) + "\n";
    s += "\n";
    const bool xy = out.geometry == Geometry::XY;
    s += xy ? "time [s]  To [oC]  Tw [oC]  Th [oC]\n" : "time [s]  To [oC]  Tr [oC]\n";
    for (const auto &row : out.history) {
        s += FixedColumn(row[0], 8, 3);
        for (int c = 1; c < HistoryColumns(out); ++c)
            s += "  " + FixedColumn(row[c], 7, 1);
        s += "\n";
    }
    return s;
}

std::string FormatJson(const CalcOutput &out)
{
    const bool xy = out.geometry == Geometry::XY;
    std::string s = "{\"geometry\": ";
    s += xy ? "\"xy\"" : "\"rz\"";
    s += out.formulas == Formulas::Classic ? ", \"formulas\": \"classic\"" : ", \"formulas\": \"series\"";
    s += ", \"material\": " + JsonString(xy ? out.xy.name.str() : out.rz.name.str());
    s += ", \"data\": " + (xy ? JsonNumbers(out.xy, kDataXYNumbers) : JsonNumbers(out.rz, kDataRZNumbers));
    s += ", \"results\": " + (xy ? JsonNumbers(out.resultsXY, kResultsXYNumbers)
                                 : JsonNumbers(out.resultsRZ, kResultsRZNumbers));
    s += ", \"history\": [";
    for (std::size_t i = 0; i < out.history.size(); ++i) {
        const auto &row = out.history[i];
        s += i ? ", [" : "[";
        for (int c = 0; c < 4; ++c)
            s += (c ? ", " : "") + ShortestNumber(row[c]);
        s += "]";
    }
    s += "], \"status\": " + std::to_string(out.status) + ", \"messages\": " + JsonMessages(out.messages) + "}\n";
    return s;
}

void WriteHistoryCsv(const std::string &fileName, const CalcOutput &out)
{
    const int columns = HistoryColumns(out);
    std::vector<std::string> lines{columns == 4 ? "time_s,To_C,Tw_C,Th_C" : "time_s,To_C,Tr_C"};
    for (const auto &row : out.history) {
        std::string line;
        for (int c = 0; c < columns; ++c)
            line += (c ? "," : "") + ShortestNumber(row[c]);
        lines.push_back(line);
    }
    WriteLines(fileName, lines, "\n");
}

} // namespace resheat
