// A calculation host for tests: records every message and progress call.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Host.h"
#include "core/Records.h"

namespace resheat::testing {

class RecordingHost : public CalcHost {
public:
    std::vector<std::pair<std::string, std::string>> messages; // caption, text
    std::vector<std::string> progress;                          // "show" / "hide"

    void showMessage(const std::string &caption, const std::string &text) override
    {
        messages.emplace_back(caption, text);
    }
    void showProgress() override { progress.push_back("show"); }
    void hideProgress() override { progress.push_back("hide"); }
};

// The worked cases: a steel bar 1 m x 50 mm x 50 mm and a steel rod of 50 mm.
inline DataXY WorkedBar()
{
    DataXY d;
    d.name.set("steel");
    d.length = 1; d.width = 0.05; d.thickness = 0.05;
    d.density = 7800; d.specificHeat = 481.32; d.conductivity = 87.88;
    d.resistivity = 1.5384E-7; d.supplyVoltage = 10; d.voltageDrop = 10;
    d.startTemp = 20; d.finishTemp = 1500; d.alfa = 15; d.maxContactCurrent = 1000;
    return d;
}

inline DataRZ WorkedRod()
{
    DataRZ d;
    d.name.set("steel");
    d.length = 1; d.diameter = 0.05;
    d.density = 7800; d.specificHeat = 481.32; d.conductivity = 87.88;
    d.resistivity = 1.5384E-7; d.supplyVoltage = 10; d.voltageDrop = 10;
    d.startTemp = 20; d.finishTemp = 1500; d.alfa = 15; d.maxContactCurrent = 1000;
    return d;
}

} // namespace resheat::testing
