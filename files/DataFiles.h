// Case data files (.dxy / .drz) and text results files (.txt).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/Host.h"
#include "core/Records.h"

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

// Readers: report problems through `host` (caption "Execution Error") and
// return false; the record is then left exactly as it was.  They read only
// the lines a case needs and refuse a line longer than 1000 bytes, so any
// input ends them at once with bounded memory.
bool LoadDataXY(const std::string &fileName, DataXY &record, CalcHost &host);
bool LoadDataRZ(const std::string &fileName, DataRZ &record, CalcHost &host);
// The same from a stream already open (no "cannot open" message).
bool LoadDataXY(std::istream &in, DataXY &record, CalcHost &host);
bool LoadDataRZ(std::istream &in, DataRZ &record, CalcHost &host);

} // namespace resheat
