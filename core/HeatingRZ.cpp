// Temperature history of the round rod: a steady-state term minus a Bessel
// series over the roots of alpha D J0(mu) - mu J1(mu).
#include <cmath>
#include <numbers>

#include "core/Arith.h"
#include "core/Heating.h"
#include "core/Lumped.h"
#include "core/Numerics.h"

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

void CalculationRZ(const DataRZ &data, bool fixedTime, ResultsRZ &results, double userTime,
                   History &history, CalcHost &host)
{
    const DataRZ d = data;
    RootTable mu{};

    results.mass = ChargeMassRZ(d);
    results.resistance = ChargeResistanceRZ(d);
    results.realVoltage = RealVoltage(d.supplyVoltage, d.voltageDrop);
    results.current = CurrentIntensity(results.realVoltage, results.resistance);
    results.power = AppliedPower(results.realVoltage, results.current);
    results.powerDensity = PowerDensityRZ(d, results.current);

    if (results.powerDensity > kPowerDensityLimit) {
        host.showMessage("Calculation Error", "Power density greatest then 1E10 ?!!!");
        host.showMessage("Calculation Error", "Change input data");
        return;
    }

    results.contacts = NumberOfContacts(results.current, d.maxContactCurrent);
    results.biot = Div(Div(Mul(d.alfa, d.diameter), 2.0), d.conductivity);
    const double th = fixedTime ? userTime
                                : HeatingTime(results.mass, d.specificHeat, d.startTemp,
                                              d.finishTemp, results.power);
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
}

} // namespace resheat
