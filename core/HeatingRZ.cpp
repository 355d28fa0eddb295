// The rz calculation: lumped quantities and the temperature history of the
// round rod, by the series of Series.cpp or by the classic formulas (a
// steady-state term minus the Bessel series below over the roots of
// alpha D J0(mu) - mu J1(mu), the diameter taken for the radius).
#include <cmath>
#include <numbers>

#include "core/Arith.h"
#include "core/CaseCheck.h"
#include "core/Heating.h"
#include "core/HeatingRun.h"
#include "core/Lumped.h"
#include "core/Numerics.h"
#include "core/Series.h"

namespace resheat {

using namespace arith;

namespace {

// S(t, r) = sum_k exp(-mu_k^2 a t / D^2) J0(mu_k r / D) / (J0(mu_k) (alpha^2 D^2 + mu_k^2) mu_k^2)
// for the two points r = 0 and r = D.  The factors that depend neither on
// time nor on position are formed once, in the order of the plain sum.
class SeriesRZ {
public:
    SeriesRZ(const RootTable &mu, int n, const DataRZ &d) : n_(n), d2_(Mul(d.diameter, d.diameter))
    {
        const double a = Div(d.conductivity, Mul(d.specificHeat, d.density));
        const double ad = Mul(Mul(d.alfa, d.alfa), d2_);
        for (int k = 0; k < n_; ++k) {
            const double m = mu[k];
            const double m2 = Mul(m, m);
            m2a_[k] = Mul(m2, a);
            j0Axis_[k] = BesselJ0(20, Div(Mul(m, 0.0), d.diameter));
            j0Surface_[k] = BesselJ0(20, Div(Mul(m, d.diameter), d.diameter));
            den_[k] = Mul(Mul(BesselJ0(20, m), Add(ad, m2)), m2);
        }
    }

    // Sum at time t for the axis (surface == false) or the surface.
    double Sum(double t, bool surface) const
    {
        double s = 0;
        for (int k = 0; k < n_; ++k) {
            const double e = Exp(-Div(Mul(m2a_[k], t), d2_));
            s = Add(s, Div(Mul(e, surface ? j0Surface_[k] : j0Axis_[k]), den_[k]));
        }
        return s;
    }

private:
    int n_;
    double d2_;
    double m2a_[kRootSlots]{}, j0Axis_[kRootSlots]{}, j0Surface_[kRootSlots]{}, den_[kRootSlots]{};
};

} // namespace

namespace {

// Results fields 1 to 6, the same in both formula sets.
void StoreLumpedRZ(const DataRZ &d, ResultsRZ &results)
{
    results.mass = ChargeMassRZ(d);
    results.resistance = ChargeResistanceRZ(d);
    results.realVoltage = RealVoltage(d.supplyVoltage, d.voltageDrop);
    results.current = CurrentIntensity(results.realVoltage, results.resistance);
    results.power = AppliedPower(results.realVoltage, results.current);
    results.powerDensity = PowerDensityRZ(d, results.current);
}

double HeatingTimeRZ(const DataRZ &d, bool fixedTime, double userTime, const ResultsRZ &results)
{
    return fixedTime ? userTime
                     : HeatingTime(results.mass, d.specificHeat, d.startTemp, d.finishTemp, results.power);
}

// Up to ten roots of alpha D J0 - mu J1 with the diameter for the radius;
// the heating time of the first row at the finish temperature.
RunOutcome RunClassicRZ(const DataRZ &d, bool fixedTime, double userTime, ResultsRZ &results, History &history,
                        CalcHost &host)
{
    RootTable mu{};
    results.contacts = NumberOfContacts(results.current, d.maxContactCurrent);
    results.biot = Div(Div(Mul(d.alfa, d.diameter), 2.0), d.conductivity);
    const double th = HeatingTimeRZ(d, fixedTime, userTime, results);
    results.heatingTime = th;

    host.showProgress();
    try {
        const double pv = results.powerDensity;
        const double D = d.diameter;
        const double A = Div(Mul(pv, Mul(D, D)), Mul(4.0, d.conductivity));
        const double C = Div(Mul(Mul(Mul(2.0, d.alfa), pv), Mul(Mul(D, D), D)), d.conductivity);

        std::uint8_t counter = 1;
        bool ok = true;
        RootScan(30, counter, d.conductivity, d.alfa, D, 1E-8, 1E-4, 35, 0.1, 1E-5,
                 CharFunctionRZ, mu, ok, host);
        const int n = counter - 1;

        SeriesRZ series(mu, n, d);
        const double Bo = Sub(Add(1.0, Div(2.0, Mul(D, d.alfa))), Div(Mul(0.0, 0.0), Mul(D, D)));
        const double Br = Sub(Add(1.0, Div(2.0, Mul(D, d.alfa))), Div(Mul(D, D), Mul(D, D)));
        const double dt = th / 50;
        double t = 0;
        bool finishReached = false;
        History rows{};
        for (int i = 0; i < kHistoryRows; ++i) {
            t = Add(t, dt);
            const double to = Sub(Add(d.startTemp, Mul(A, Bo)), Mul(C, series.Sum(t, false)));
            const double tr = Sub(Add(d.startTemp, Mul(A, Br)), Mul(C, series.Sum(t, true)));
            rows[i] = {t, to, tr, 0.0};
            if (to >= d.finishTemp && !finishReached) {
                results.heatingTime = t;
                finishReached = true;
            }
        }
        history = rows;
        results.diffSurface = Sub(rows[kHistoryRows - 1][1], rows[kHistoryRows - 1][2]);
    } catch (...) {
        host.hideProgress();
        throw;
    }
    host.hideProgress();
    return RunOutcome::Completed;
}

RodSeries SeriesOf(const DataRZ &d, double powerDensity)
{
    return RodSeries(d.diameter / 2, d.conductivity, Mul(d.density, d.specificHeat), d.alfa, powerDensity);
}

RunOutcome RunSeriesRZ(const DataRZ &d, bool fixedTime, double userTime, ResultsRZ &results, History &history,
                       CalcHost &host)
{
    results.contacts = ContactsRoundedUp(results.current, d.maxContactCurrent);
    results.biot = Div(Div(Mul(d.alfa, d.diameter), 2.0), d.conductivity);
    const double th = HeatingTimeRZ(d, fixedTime, userTime, results);
    results.heatingTime = th;

    host.showProgress();
    SeriesTiming timing;
    std::optional<double> steady;
    try {
        RodSeries series = SeriesOf(d, results.powerDensity);
        using P = RodSeries::Point;
        steady = series.SteadyRise(P::Axis);
        timing = SettleTiming([&](double t) { return series.Rise(P::Axis, t); }, steady,
                              Sub(d.finishTemp, d.startTemp), th, fixedTime);
        auto at = [&](P p, double t) { return Chk(d.startTemp + series.Rise(p, t)); };
        History rows{};
        for (int i = 1; i <= kHistoryRows; ++i) {
            const double t = i == kHistoryRows ? timing.gridEnd : timing.gridEnd * i / kHistoryRows;
            rows[i - 1] = {t, at(P::Axis, t), at(P::Surface, t), 0.0};
        }
        const double t = timing.heatingTime;
        results.heatingTime = t;
        results.diffSurface = Sub(at(P::Axis, t), at(P::Surface, t));
        history = rows;
    } catch (...) {
        host.hideProgress();
        throw;
    }
    host.hideProgress();
    if (timing.reached)
        return RunOutcome::Completed;
    host.showMessage(kCalculationError, NotReachedMessage(d.startTemp + steady.value_or(0)));
    return RunOutcome::NotReached;
}

} // namespace

RunOutcome CalculationRZ(const DataRZ &data, bool fixedTime, ResultsRZ &results, double userTime,
                         History &history, CalcHost &host, Formulas formulas)
{
    const DataRZ d = data;
    const bool classic = formulas == Formulas::Classic;
    if (!classic) {
        if (const std::string refusal = CheckRun(CheckCaseRZ(d), fixedTime, userTime); !refusal.empty()) {
            host.showMessage(kCalculationError, refusal);
            return RunOutcome::Refused;
        }
    }

    StoreLumpedRZ(d, results);
    if (RejectedForPowerDensity(results.powerDensity, host))
        return RunOutcome::Rejected;
    return classic ? RunClassicRZ(d, fixedTime, userTime, results, history, host)
                   : RunSeriesRZ(d, fixedTime, userTime, results, history, host);
}

ChargeState SeriesStateRZ(const DataRZ &d, double t)
{
    ResultsRZ lumped;
    StoreLumpedRZ(d, lumped);
    RodSeries series = SeriesOf(d, lumped.powerDensity);
    using P = RodSeries::Point;
    ChargeState s;
    s.centre = Chk(d.startTemp + series.Rise(P::Axis, t));
    s.second = Chk(d.startTemp + series.Rise(P::Surface, t));
    const double rise = Chk(series.MeanRise(t));
    s.mean = d.startTemp + rise;
    s.energy = Mul(lumped.power, t);
    s.loss = Mul(d.length, Chk(series.Loss(t)));
    s.stored = Mul(Mul(lumped.mass, d.specificHeat), rise);
    s.efficiency = Div(s.stored, s.energy);
    return s;
}

} // namespace resheat
