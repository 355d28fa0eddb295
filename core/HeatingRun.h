// What the xy and rz calculation runs share beyond the lumped quantities.
// Internal to HeatingXY.cpp and HeatingRZ.cpp.
#pragma once

#include <cmath>
#include <string>

#include "core/Heating.h"
#include "core/NumberText.h"

namespace resheat {

// The power density limit: the two messages, and true when the case is rejected.
inline bool RejectedForPowerDensity(double powerDensity, CalcHost &host)
{
    if (!(powerDensity > kPowerDensityLimit))
        return false;
    host.showMessage(kCalculationError, "Power density greatest then 1E10 ?!!!");
    host.showMessage(kCalculationError, "Change input data");
    return true;
}

// The refusal of a series run: the case's own, or a user heating time that
// is no positive number.
inline std::string CheckRun(std::string caseRefusal, bool fixedTime, double userTime)
{
    if (caseRefusal.empty() && fixedTime && !(std::isfinite(userTime) && userTime > 0))
        return "Heating time must be greater than 0.";
    return caseRefusal;
}

inline std::string NotReachedMessage(double approach)
{
    return "The centre does not reach the finish temperature: it approaches " + GeneralText(approach) + " oC.";
}

} // namespace resheat
