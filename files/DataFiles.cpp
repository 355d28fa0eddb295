// Case data files (Polish labels, 46-character label fields, numbers in the
// fixed 23-character format) and the English text results files.
#include "files/DataFiles.h"

#include <array>
#include <istream>
#include <string_view>
#include <vector>

#include "files/FixedNumber.h"
#include "files/InputFile.h"
#include "files/SafeWriter.h"

namespace resheat {

namespace {

constexpr std::size_t kLabelWidth = 46;
const char *const kCaption = "Execution Error";

const char *const kHeaderXY = "Dane dla wsadu prostopadlosciennego";
const char *const kHeaderRZ = "Dane dla wsadu cylindrycznego";
const char *const kNameLabel = "nazwa materialu                               ";

const std::array<const char *, 13> kLabelsXY{
    "dlugosc wsadu                           [m]   ",
    "szerokosc wsadu                         [m]   ",
    "wysokosc wsadu                          [m]   ",
    "gestosc                             [kg/m3]   ",
    "cieplo wlasciwe                  [Ws/(kgK)]   ",
    "przewodnosc cieplna wlasciwa       [W/(mK)]   ",
    "rezystywnosc                         [om*m]   ",
    "napiecie zasilania                      [V]   ",
    "spadek napiecia w torze zasilajacym     [%]   ",
    "temperatura poczatkowa                 [oC]   ",
    "temperatura koncowa                    [oC]   ",
    "wspolczynnik przejmowania ciepla  [W/(m2K)]   ",
    "maksymalny prad styku                   [A]   ",
};

const std::array<const char *, 12> kLabelsRZ{
    "dlugosc wsadu                           [m]   ",
    "srednica wsadu                          [m]   ",
    kLabelsXY[3], kLabelsXY[4], kLabelsXY[5], kLabelsXY[6], kLabelsXY[7],
    kLabelsXY[8], kLabelsXY[9], kLabelsXY[10], kLabelsXY[11], kLabelsXY[12],
};

template <typename Record, std::size_t N>
std::vector<std::string> CaseLines(const char *header, const Record &r,
                                   const std::array<double Record::*, N> &fields,
                                   const std::array<const char *, N> &labels)
{
    std::vector<std::string> lines{header, " ", std::string(kNameLabel) + r.name.str()};
    for (std::size_t i = 0; i < N; ++i)
        lines.push_back(std::string(labels[i]) + FormatFixed23(r.*fields[i]));
    return lines;
}

// A case file is a few hundred bytes.  The reader takes only the lines a
// case needs, each of at most kMaxLineLength bytes, so that no input (a
// huge or binary file, the standard input) makes it read or hold more.
constexpr std::size_t kMaxLineLength = 1000;

enum class LineRead { Ok, Missing, TooLong };

// The next line without its LF or CR LF.  Missing at the end of the input.
LineRead ReadLine(std::streambuf &in, std::string &line)
{
    line.clear();
    auto c = in.sbumpc();
    if (c == std::char_traits<char>::eof())
        return LineRead::Missing;
    for (; c != std::char_traits<char>::eof() && c != '\n'; c = in.sbumpc()) {
        if (line.size() > kMaxLineLength) // room for the content and a CR
            return LineRead::TooLong;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.size() <= kMaxLineLength ? LineRead::Ok : LineRead::TooLong;
}

std::string_view ValuePart(std::string_view line)
{
    return line.size() <= kLabelWidth ? std::string_view() : line.substr(kLabelWidth);
}

// The first line names the geometry.  A byte order mark that an editor put
// before it and blanks after it are allowed.
bool IsHeader(std::string_view line, std::string_view header)
{
    if (line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line == header;
}

template <typename Record, std::size_t N>
CaseFileRead ReadCase(std::istream &in, Record &record, const std::array<double Record::*, N> &fields,
                      const char *header, const char *notThisGeometry)
{
    // A failed read leaves the record as it was: everything goes into a
    // copy, which replaces the record only when the whole file converted.
    CaseFileRead result;
    result.opened = true;
    Record copy = record;
    std::streambuf *buffer = in.rdbuf();
    if (buffer == nullptr) {
        result.problem = "Line 1: missing";
        return result;
    }
    std::string line;
    for (std::size_t i = 0; i < 3 + N; ++i) {
        const std::string where = "Line " + std::to_string(i + 1) + ": ";
        switch (ReadLine(*buffer, line)) {
        case LineRead::Missing:
            // An empty input is no case file at all.
            result.problem = i == 0 ? notThisGeometry : where + "missing";
            return result;
        case LineRead::TooLong:
            result.problem = i == 0 ? notThisGeometry : where + "longer than 1000 bytes";
            return result;
        case LineRead::Ok:
            break;
        }
        if (i == 0 && !IsHeader(line, header)) {
            result.problem = notThisGeometry;
            return result;
        }
        if (i == 2) {
            copy.name.set(ValuePart(line));
        } else if (i > 2 && !ParseFileNumber(ValuePart(line), copy.*fields[i - 3])) {
            result.problem = where + "Incorrect data format";
            return result;
        }
    }
    record = copy;
    result.ok = true;
    return result;
}

template <typename Record, std::size_t N>
CaseFileRead ReadCaseFile(const std::string &fileName, Record &record,
                          const std::array<double Record::*, N> &fields, const char *header,
                          const char *notThisGeometry, StandardInput standardInput)
{
    InputFile file(fileName, standardInput);
    if (!file.isOpen()) {
        CaseFileRead result;
        result.problem = file.problem();
        return result;
    }
    CaseFileRead result = ReadCase(file.stream(), record, fields, header, notThisGeometry);
    if (!result.ok && file.readError() != 0)
        result.problem = IoErrorMessage(file.readError());
    return result;
}

// The desktop's messages: a file that cannot be opened gives
// `cannotOpenMessage`, anything wrong inside it "Incorrect data format".
bool Report(const CaseFileRead &read, const char *cannotOpenMessage, CalcHost &host)
{
    if (!read.ok)
        host.showMessage(kCaption, read.opened ? "Incorrect data format" : cannotOpenMessage);
    return read.ok;
}

const char *const kNotBar = "not a bar case file";
const char *const kNotRod = "not a rod case file";

std::string ValueLine(const char *label, double value)
{
    return std::string(label) + "     " + FormatFixed23(value);
}

const std::array<const char *, 13> kTextLabels{
    "Length of charge       [m]", "Width of charge        [m]", "Thickness of charge    [m]",
    "Density            [kg/m3]", "Specific heat   [Ws/(kgK)]", "Heat conductivity [W/(mK)]",
    "Resistivity         [om*m]", "Supply voltage         [V]", "Voltage drop           [%]",
    "Start temperature     [oC]", "Finish temperature    [oC]", "Alfa coefficient [W/(m2K)]",
    "Max contact current    [A]",
};

const std::array<const char *, 8> kTextResultLabels{
    "Charge mass           [kg]", "Charge resistance     [om]", "Real voltage supply    [V]",
    "Current intesity       [A]", "Applied power          [W]", "Vol. power density  [W/m3]",
    "Heating time           [s]", "Number of contact      [-]",
};

} // namespace

std::vector<std::string> CaseFileLinesXY(const DataXY &record)
{
    return CaseLines(kHeaderXY, record, kDataXYNumbers, kLabelsXY);
}

std::vector<std::string> CaseFileLinesRZ(const DataRZ &record)
{
    return CaseLines(kHeaderRZ, record, kDataRZNumbers, kLabelsRZ);
}

void SaveDataXY(const std::string &fileName, const DataXY &record)
{
    WriteLinesCrLf(fileName, CaseFileLinesXY(record));
}

void SaveDataRZ(const std::string &fileName, const DataRZ &record)
{
    WriteLinesCrLf(fileName, CaseFileLinesRZ(record));
}

CaseFileRead ReadDataXY(const std::string &fileName, DataXY &record, StandardInput standardInput)
{
    return ReadCaseFile(fileName, record, kDataXYNumbers, kHeaderXY, kNotBar, standardInput);
}

CaseFileRead ReadDataRZ(const std::string &fileName, DataRZ &record, StandardInput standardInput)
{
    return ReadCaseFile(fileName, record, kDataRZNumbers, kHeaderRZ, kNotRod, standardInput);
}

bool LoadDataXY(const std::string &fileName, DataXY &record, CalcHost &host)
{
    return Report(ReadDataXY(fileName, record), "Incorrect path", host);
}

bool LoadDataRZ(const std::string &fileName, DataRZ &record, CalcHost &host)
{
    return Report(ReadDataRZ(fileName, record), "Incorrect data format", host);
}

bool LoadDataXY(std::istream &in, DataXY &record, CalcHost &host)
{
    return Report(ReadCase(in, record, kDataXYNumbers, kHeaderXY, kNotBar), "", host);
}

bool LoadDataRZ(std::istream &in, DataRZ &record, CalcHost &host)
{
    return Report(ReadCase(in, record, kDataRZNumbers, kHeaderRZ, kNotRod), "", host);
}

std::vector<std::string> TextResultsLinesXY(const DataXY &d, const ResultsXY &r)
{
    std::vector<std::string> lines{"Data for xy geometry", " ", "Material     " + d.name.str()};
    for (std::size_t i = 0; i < kDataXYNumbers.size(); ++i)
        lines.push_back(ValueLine(kTextLabels[i], d.*kDataXYNumbers[i]));
    lines.insert(lines.end(), {" ", " ", "Text results for xy", " "});
    for (std::size_t i = 0; i < kTextResultLabels.size(); ++i)
        lines.push_back(ValueLine(kTextResultLabels[i], r.*kResultsXYNumbers[i]));
    lines.push_back(ValueLine("Biot number (width)       ", r.biotWidth));
    lines.push_back(ValueLine("Biot number (height)      ", r.biotHeight));
    lines.push_back(ValueLine("Temp. difference: centre - width   [K]", r.diffWidth));
    lines.push_back(ValueLine("Temp. difference: centre - height  [K]", r.diffHeight));
    return lines;
}

void SaveTextResultsXY(const std::string &fileName, const DataXY &d, const ResultsXY &r)
{
    WriteLinesCrLf(fileName, TextResultsLinesXY(d, r));
}

std::vector<std::string> TextResultsLinesRZ(const DataRZ &d, const ResultsRZ &r)
{
    std::vector<std::string> lines{" Data for rz geometry", " ", "Material     " + d.name.str()};
    lines.push_back(ValueLine(kTextLabels[0], d.length));
    lines.push_back(ValueLine("Diameter of charge     [m]", d.diameter));
    for (std::size_t i = 2; i < kDataRZNumbers.size(); ++i)
        lines.push_back(ValueLine(kTextLabels[i + 1], d.*kDataRZNumbers[i]));
    lines.insert(lines.end(), {" ", " ", "Text results for rz", " "});
    for (std::size_t i = 0; i < kTextResultLabels.size(); ++i)
        lines.push_back(ValueLine(kTextResultLabels[i], r.*kResultsRZNumbers[i]));
    lines.push_back(ValueLine("Biot number               ", r.biot));
    lines.push_back(ValueLine("Temp. difference: centre - surface   [K]", r.diffSurface));
    lines.push_back(" ");
    return lines;
}

void SaveTextResultsRZ(const std::string &fileName, const DataRZ &d, const ResultsRZ &r)
{
    WriteLinesCrLf(fileName, TextResultsLinesRZ(d, r));
}

} // namespace resheat
