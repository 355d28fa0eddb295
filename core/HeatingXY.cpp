// The xy calculation: lumped quantities and the temperature history of the
// rectangular bar, by the series of Series.cpp or by the classic formulas
// (the double series below over ten eigenvalues per direction, taken on the
// full width and thickness).
#include <cmath>
#include <numbers>

#include "core/Arith.h"
#include "core/CaseCheck.h"
#include "core/Heating.h"
#include "core/HeatingRun.h"
#include "core/Lumped.h"
#include "core/Numerics.h"
#include "core/Series.h"
#include "core/SeriesXY.h"

namespace resheat {

using namespace arith;

SeriesXY::SeriesXY(const RootTable &mu, const RootTable &nu, double w, double h, double lambda,
                   double c, double rho)
    : w_(w), h_(h)
{
    const double a = Div(lambda, Mul(c, rho));
    for (int i = 0; i < kRootSlots; ++i) {
        sinMu_[i] = std::sin(mu[i]);
        sinNu_[i] = std::sin(nu[i]);
        const double twoMu = Mul(2.0, mu[i]);
        const double twoNu = Mul(2.0, nu[i]);
        shapeMu_[i] = Add(1.0, Div(std::sin(twoMu), twoMu));
        shapeNu_[i] = Add(1.0, Div(std::sin(twoNu), twoNu));
    }
    for (int j = 0; j < kRootSlots; ++j) {
        for (int i = 0; i < kRootSlots; ++i) {
            const double qi = Div(mu[i], w);
            const double qj = Div(nu[j], h);
            const double q = Add(Mul(qi, qi), Mul(qj, qj));
            qa_[j][i] = Mul(q, a);
            sinProduct_[j][i] = Mul(sinMu_[i], sinNu_[j]);
            den_[j][i] = Mul(Mul(Mul(Mul(mu[i], nu[j]), shapeMu_[i]), shapeNu_[j]), q);
            if (den_[j][i] == 0.0) // the term would divide by zero at every point
                Fault(sinProduct_[j][i] == 0.0 ? kInvalidOperation : kDivisionByZero);
        }
    }
    mu_ = mu;
    nu_ = nu;
}

void SeriesXY::SetTime(double t)
{
    for (int j = 0; j < kRootSlots; ++j)
        for (int i = 0; i < kRootSlots; ++i) {
            const double qat = Mul(qa_[j][i], t);
            e_[j][i] = (qat >= 50) ? 1.0 : Sub(1.0, Exp(-qat));
        }
}

SeriesXY::Point SeriesXY::MakePoint(double x, double y) const
{
    Point p;
    for (int i = 0; i < kRootSlots; ++i) {
        p.cx[i] = std::cos(Div(Mul(mu_[i], x), w_));
        p.cy[i] = std::cos(Div(Mul(nu_[i], y), h_));
    }
    return p;
}

double SeriesXY::Sum(const Point &p) const
{
    const double *cx = p.cx;
    const double *cy = p.cy;
    // Every factor is finite and every denominator non-zero, so a fault in
    // a term (an overflow) carries through to the sum, which is checked.
    double s = 0;
    for (int j = 0; j < kRootSlots; ++j)
        for (int i = 0; i < kRootSlots; ++i) {
            const double num = sinProduct_[j][i] * cx[i] * cy[j];
            s = s + num / den_[j][i] * e_[j][i];
        }
    return Chk(s);
}

namespace {

// Results fields 1 to 6, the same in both formula sets.
void StoreLumpedXY(const DataXY &d, ResultsXY &results)
{
    results.mass = ChargeMassXY(d);
    results.resistance = ChargeResistanceXY(d);
    results.realVoltage = RealVoltage(d.supplyVoltage, d.voltageDrop);
    results.current = CurrentIntensity(results.realVoltage, results.resistance);
    results.power = AppliedPower(results.realVoltage, results.current);
    results.powerDensity = PowerDensityXY(d, results.current);
}

// Ten roots per direction over the full width and thickness; the heating
// time of the first row at the finish temperature.
RunOutcome RunClassicXY(const DataXY &d, double th, ResultsXY &results, History &history, CalcHost &host)
{
    const double K = Div(Mul(4.0, results.powerDensity), d.conductivity);
    results.contacts = NumberOfContacts(results.current, d.maxContactCurrent);
    results.biotWidth = Div(Mul(d.alfa, d.width), d.conductivity);
    results.biotHeight = Div(Mul(d.alfa, d.thickness), d.conductivity);

    host.showProgress();
    try {
        RootTable mu{}, nu{};
        std::uint8_t muCounter = 1, nuCounter = 1;
        bool muOk = true, nuOk = true;
        double x0 = 1E-8;
        double xe = std::numbers::pi;
        for (int k = 1; k <= kRootSlots; ++k) {
            if (muOk) {
                RootScan(40, muCounter, d.conductivity, d.alfa, d.width, 1E-8, x0, xe, 0.1, 1E-5,
                         CharFunctionXY, mu, muOk, host);
            } else {
                ++muCounter;
                if (muCounter <= kRootSlots)
                    mu[muCounter - 1] = x0 - 1E-8;
            }
            if (nuOk) {
                RootScan(40, nuCounter, d.conductivity, d.alfa, d.thickness, 1E-8, x0, xe, 0.1,
                         1E-5, CharFunctionXY, nu, nuOk, host);
            } else {
                ++nuCounter;
                if (nuCounter <= kRootSlots)
                    nu[nuCounter - 1] = x0 - 1E-8;
            }
            x0 = xe + 1E-8;
            xe = xe + std::numbers::pi;
        }

        SeriesXY series(mu, nu, d.width, d.thickness, d.conductivity, d.specificHeat, d.density);
        const SeriesXY::Point centre = series.MakePoint(0, 0);
        const SeriesXY::Point widthSide = series.MakePoint(d.width / 2, 0);
        const SeriesXY::Point heightSide = series.MakePoint(0, d.thickness / 2);
        const double dt = th / 50;
        double t = 0;
        bool finishReached = false;
        History rows{};
        for (int i = 0; i < kHistoryRows; ++i) {
            t = Add(t, dt);
            series.SetTime(t);
            const double to = Add(d.startTemp, Mul(K, series.Sum(centre)));
            const double tw = Add(d.startTemp, Mul(K, series.Sum(widthSide)));
            const double thh = Add(d.startTemp, Mul(K, series.Sum(heightSide)));
            rows[i] = {t, to, tw, thh};
            if (to >= d.finishTemp && !finishReached) {
                results.heatingTime = t;
                finishReached = true;
            }
        }
        // The rows are stored together, so a run abandoned by a fault never
        // leaves a history mixed from two runs.
        history = rows;
        const HistoryRow &last = rows[kHistoryRows - 1];
        results.diffWidth = Sub(last[1], last[3]);
        results.diffHeight = Sub(last[1], last[2]);
    } catch (...) {
        host.hideProgress();
        throw;
    }
    host.hideProgress();
    return RunOutcome::Completed;
}

BarSeries SeriesOf(const DataXY &d, double powerDensity)
{
    return BarSeries(d.width / 2, d.thickness / 2, d.conductivity, Mul(d.density, d.specificHeat), d.alfa,
                     powerDensity);
}

RunOutcome RunSeriesXY(const DataXY &d, bool fixedTime, double th, ResultsXY &results, History &history,
                       CalcHost &host)
{
    results.contacts = ContactsRoundedUp(results.current, d.maxContactCurrent);
    results.biotWidth = Div(Mul(d.alfa, d.width / 2), d.conductivity);
    results.biotHeight = Div(Mul(d.alfa, d.thickness / 2), d.conductivity);

    host.showProgress();
    SeriesTiming timing;
    std::optional<double> steady;
    try {
        BarSeries series = SeriesOf(d, results.powerDensity);
        using P = BarSeries::Point;
        steady = series.SteadyRise(P::Centre);
        timing = SettleTiming([&](double t) { return series.Rise(P::Centre, t); }, steady,
                              Sub(d.finishTemp, d.startTemp), th, fixedTime);
        auto at = [&](P p, double t) { return Chk(d.startTemp + series.Rise(p, t)); };
        History rows{};
        for (int i = 1; i <= kHistoryRows; ++i) {
            const double t = i == kHistoryRows ? timing.gridEnd : timing.gridEnd * i / kHistoryRows;
            rows[i - 1] = {t, at(P::Centre, t), at(P::WidthFace, t), at(P::HeightFace, t)};
        }
        const double t = timing.heatingTime;
        const double to = at(P::Centre, t);
        results.heatingTime = t;
        results.diffWidth = Sub(to, at(P::HeightFace, t));
        results.diffHeight = Sub(to, at(P::WidthFace, t));
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

RunOutcome CalculationXY(const DataXY &data, bool fixedTime, ResultsXY &results, double userTime,
                         History &history, CalcHost &host, Formulas formulas)
{
    const DataXY d = data;
    const bool classic = formulas == Formulas::Classic;
    if (!classic) {
        if (const std::string refusal = CheckRun(CheckCaseXY(d), fixedTime, userTime); !refusal.empty()) {
            host.showMessage(kCalculationError, refusal);
            return RunOutcome::Refused;
        }
    }

    StoreLumpedXY(d, results);
    const double th = fixedTime ? userTime
                                : HeatingTime(results.mass, d.specificHeat, d.startTemp,
                                              d.finishTemp, results.power);
    results.heatingTime = th;

    if (RejectedForPowerDensity(results.powerDensity, host))
        return RunOutcome::Rejected;
    return classic ? RunClassicXY(d, th, results, history, host)
                   : RunSeriesXY(d, fixedTime, th, results, history, host);
}

ChargeState SeriesStateXY(const DataXY &d, double t)
{
    ResultsXY lumped;
    StoreLumpedXY(d, lumped);
    BarSeries series = SeriesOf(d, lumped.powerDensity);
    using P = BarSeries::Point;
    ChargeState s;
    s.centre = Chk(d.startTemp + series.Rise(P::Centre, t));
    s.second = Chk(d.startTemp + series.Rise(P::WidthFace, t));
    s.third = Chk(d.startTemp + series.Rise(P::HeightFace, t));
    const double rise = Chk(series.MeanRise(t));
    s.mean = d.startTemp + rise;
    s.energy = Mul(lumped.power, t);
    s.loss = Mul(d.length, Chk(series.Loss(t)));
    s.stored = Mul(Mul(lumped.mass, d.specificHeat), rise);
    s.efficiency = Div(s.stored, s.energy);
    return s;
}

} // namespace resheat
