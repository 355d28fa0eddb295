// Case data files (Polish labels, 46-character label fields, numbers in the
// fixed 23-character format) and the English text results files.
#include "files/DataFiles.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <istream>
#include <string_view>
#include <vector>

#include "files/FixedNumber.h"
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
// device, a pipe, a huge or binary file) makes it read or hold more.
constexpr std::size_t kMaxLineLength = 1000;

// The next line without its LF or CR LF; an empty line at the end of the
// input.  False for a line longer than kMaxLineLength.
bool ReadLine(std::streambuf &in, std::string &line)
{
    line.clear();
    for (;;) {
        const auto c = in.sbumpc();
        if (c == std::char_traits<char>::eof() || c == '\n')
            break;
        if (line.size() > kMaxLineLength) // room for the content and a CR
            return false;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.size() <= kMaxLineLength;
}

std::string_view ValuePart(std::string_view line)
{
    return line.size() <= kLabelWidth ? std::string_view() : line.substr(kLabelWidth);
}

template <typename Record, std::size_t N>
bool LoadCase(std::istream &in, Record &record, const std::array<double Record::*, N> &fields,
              CalcHost &host)
{
    // A failed read leaves the record as it was: everything goes into a
    // copy, which replaces the record only when the whole file converted.
    Record copy = record;
    std::streambuf *buffer = in.rdbuf();
    bool ok = buffer != nullptr;
    std::string line;
    for (std::size_t i = 0; ok && i < 3 + N; ++i) {
        ok = ReadLine(*buffer, line);
        if (ok && i == 2)
            copy.name.set(ValuePart(line));
        else if (ok && i > 2)
            ok = ParseFileNumber(ValuePart(line), copy.*fields[i - 3]);
    }
    if (!ok) {
        host.showMessage(kCaption, "Incorrect data format");
        return false;
    }
    record = copy;
    return true;
}

template <typename Record, std::size_t N>
bool LoadCaseFile(const std::string &fileName, Record &record,
                  const std::array<double Record::*, N> &fields, const char *cannotOpenMessage,
                  CalcHost &host)
{
    std::error_code ec;
    std::ifstream in;
    if (!fileName.empty() && !std::filesystem::is_directory(fileName, ec))
        in.open(fileName, std::ios::binary);
    if (!in.is_open()) {
        host.showMessage(kCaption, cannotOpenMessage);
        return false;
    }
    return LoadCase(in, record, fields, host);
}

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

bool LoadDataXY(const std::string &fileName, DataXY &record, CalcHost &host)
{
    return LoadCaseFile(fileName, record, kDataXYNumbers, "Incorrect path", host);
}

bool LoadDataRZ(const std::string &fileName, DataRZ &record, CalcHost &host)
{
    return LoadCaseFile(fileName, record, kDataRZNumbers, "Incorrect data format", host);
}

bool LoadDataXY(std::istream &in, DataXY &record, CalcHost &host)
{
    return LoadCase(in, record, kDataXYNumbers, host);
}

bool LoadDataRZ(std::istream &in, DataRZ &record, CalcHost &host)
{
    return LoadCase(in, record, kDataRZNumbers, host);
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
