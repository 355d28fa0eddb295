// Both models of one case side by side: the constant-property calculation
// (the one of the Calculations menu, heating time computed) and the
// temperature-dependent one, run together on a copy of the case, and what
// the compare windows and their printed page make of the outcome.  Nothing
// here touches a widget or the program-wide records, so the windows run
// RunComparison on a worker thread.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Heating.h"
#include "core/PropertyTable.h"
#include "core/Records.h"
#include "core/Refined.h"

namespace resheat::ui {

// The case of one geometry: `bar` tells which record counts.
struct CompareCase {
    bool bar = false;
    DataXY xy;
    DataRZ rz;
};

// The constant-property calculation of the case, on records of its own.
struct ConstantRun {
    // The centre reached the finish temperature: not refused, not rejected
    // for its power density, not abandoned by an arithmetic fault.
    bool completed = false;
    ResultsXY xy;
    ResultsRZ rz;
    History history{};
    // The charge at the heating time (completed runs).
    ChargeState atHeatingTime;
    // What the calculation said, in order (caption, text); an arithmetic
    // fault comes last with the caption "Calculation Error".
    std::vector<std::pair<std::string, std::string>> messages;
};

struct Comparison {
    CompareCase input;
    ConstantRun constant;
    // An arithmetic fault of the temperature-dependent run leaves it with
    // the status Refused and the fault's text as its stop message.
    RefinedResult refined;
};

// Runs the constant-property calculation (fixed-time switch off, the series
// whatever the Calculations menu's formulas), then the temperature-dependent
// one with `table` and `options`.
Comparison RunComparison(const CompareCase &c, const PropertyTable &table, const RefinedOptions &options);

// One row of the table of key results; a model without the value has none.
struct CompareRow {
    QString name;
    std::optional<double> constant;
    std::optional<double> refined;
};

// The key results of both models at their heating times.  The constant
// model has no corner temperature.
std::vector<CompareRow> CompareRows(const Comparison &c);

// A value as the table shows it: 4 significant digits in the regional
// format, a dash for a value the model does not give.
QString FormatCompareValue(const std::optional<double> &value);

// Which properties each model used, the emissivity, the accuracy of the
// temperature-dependent results, every warning and every stop message, one
// line each, in that order.  `material` is the case's
// material name.
QStringList CompareNotes(const Comparison &c, const PropertyTable &table, const QString &material);

} // namespace resheat::ui
