// Case data files (.dxy / .drz) and text results files (.txt).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/Host.h"
#include "core/Records.h"
#include "files/InputFile.h"

namespace resheat {

// Writers: throw IoError with the platform's message ("File access denied",
// "Disk full", ...) when the file cannot be written.  The target is replaced
// only once every line is written.
void SaveDataXY(const std::string &fileName, const DataXY &record);
void SaveDataRZ(const std::string &fileName, const DataRZ &record);
void SaveTextResultsXY(const std::string &fileName, const DataXY &data, const ResultsXY &results);
void SaveTextResultsRZ(const std::string &fileName, const DataRZ &data, const ResultsRZ &results);

// The lines of a case data file and of a text results file, without line ends.
std::vector<std::string> CaseFileLinesXY(const DataXY &record);
std::vector<std::string> CaseFileLinesRZ(const DataRZ &record);
std::vector<std::string> TextResultsLinesXY(const DataXY &data, const ResultsXY &results);
std::vector<std::string> TextResultsLinesRZ(const DataRZ &data, const ResultsRZ &results);

// What reading a case file found.
struct CaseFileRead {
    bool ok = false;
    bool opened = false;  // false: the file could not be opened, or is not a regular file
    // Empty when ok; otherwise the cause, for messages that name the file:
    // the platform's message ("File not found", "File access denied", ...),
    // "not a regular file (a FIFO)", "not a bar case file" / "not a rod case
    // file" (the first line is not the geometry's header), "Line 7:
    // Incorrect data format", "Line 16: missing", "Line 4: longer than 1000
    // bytes".
    std::string problem;
};

// Readers.  The first line must be the header of the geometry.  They read
// only the lines a case needs and refuse a line longer than 1000 bytes, so
// any input ends them at once with bounded memory; a FIFO, a socket or a
// device is refused unopened.  On any problem the record is left exactly as
// it was.
CaseFileRead ReadDataXY(const std::string &fileName, DataXY &record,
                        StandardInput standardInput = StandardInput::Refused);
CaseFileRead ReadDataRZ(const std::string &fileName, DataRZ &record,
                        StandardInput standardInput = StandardInput::Refused);

// The same, reporting problems through `host` as the desktop shows them
// (caption "Execution Error"): a file that cannot be opened gives "Incorrect
// path" (xy) or "Incorrect data format" (rz), anything wrong in it
// "Incorrect data format".
bool LoadDataXY(const std::string &fileName, DataXY &record, CalcHost &host);
bool LoadDataRZ(const std::string &fileName, DataRZ &record, CalcHost &host);
// The same from a stream already open.
bool LoadDataXY(std::istream &in, DataXY &record, CalcHost &host);
bool LoadDataRZ(std::istream &in, DataRZ &record, CalcHost &host);

} // namespace resheat
