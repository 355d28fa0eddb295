#include "core/Numerics.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "core/Arith.h"

namespace resheat {

using namespace arith;

double Factorial(std::uint16_t k)
{
    double r = 1;
    for (unsigned j = 2; j <= k; ++j)
        r = Mul(static_cast<double>(j), r);
    return r;
}

double IntPower(double base, double exponent)
{
    if (exponent == 0.0)
        return 1;
    if (base == 0.0)
        return 0;
    double m = std::nearbyint(exponent); // default rounding: ties to even
    if (!(m > 0))
        return 1;
    // Up to kOneByOne factors are multiplied in one by one: the Bessel
    // series rest on exactly these products (their powers go up to 41).
    constexpr double kOneByOne = 64;
    double r = 1;
    if (m <= kOneByOne) {
        for (double i = 0; i < m; i += 1)
            r = Mul(r, base);
        return r;
    }
    // Larger exponents by squaring, one square per binary digit of m: at
    // most about 1100 products for any double.  Every double from 2^53 on
    // is even, and an infinite exponent counts as the largest one.
    if (std::isinf(m))
        m = std::numeric_limits<double>::max();
    double square = base;
    for (;;) {
        const double half = std::floor(m / 2);
        if (m != 2 * half)
            r = Mul(r, square);
        m = half;
        if (m == 0)
            return r;
        // A higher digit follows: the result holds this square's square,
        // so an overflow here is an overflow of the result.
        square = Mul(square, square);
    }
}

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kQuarterPi = std::numbers::pi / 4;

// Both series at once: the power of x/2 grows by one factor per index, which
// gives exactly the products that IntPower forms for each term on its own.
void BesselSeries(int n, double x, double *j0, double *j1)
{
    const double half = x / 2;
    double s0 = 0, s1 = 0;
    double pow2k = 1;      // (x/2)^(2k)
    double fact = 1;       // k!
    for (int k = 0; k <= n; ++k) {
        if (k >= 2)
            fact = Mul(static_cast<double>(k), fact);
        if (k > 0)
            pow2k = (half == 0.0) ? 0.0 : Mul(Mul(pow2k, half), half);
        const double pow2k1 = (half == 0.0) ? 0.0 : Mul(pow2k, half);
        const double sign = (k % 2 == 0) ? 1.0 : -1.0;
        const double ff = Mul(fact, fact);
        if (j0)
            s0 = Add(s0, Div(sign * pow2k, ff));
        if (j1)
            s1 = Add(s1, Div(sign * pow2k1, Mul(ff, static_cast<double>(k + 1))));
    }
    if (j0)
        *j0 = s0;
    if (j1)
        *j1 = s1;
}

} // namespace

double BesselJ0(int n, double x)
{
    if (x >= 16) {
        const double amp = Sqrt(Div(2.0, Mul(kPi, x)));
        return Mul(amp, Add(std::sin(x + kQuarterPi), Div(std::sin(x - kQuarterPi), Mul(8.0, x))));
    }
    double v = 0;
    BesselSeries(n, x, &v, nullptr);
    return v;
}

double BesselJ1(int n, double x)
{
    if (x >= 16) {
        const double amp = Sqrt(Div(2.0, Mul(kPi, x)));
        return Mul(amp, Add(std::sin(x - kQuarterPi),
                            Div(Mul(3.0, std::sin(x + kQuarterPi)), Mul(8.0, x))));
    }
    double v = 0;
    BesselSeries(n, x, nullptr, &v);
    return v;
}

double CharFunctionXY(double mu, double, double p2, double p3, double)
{
    return Sub(Div(std::cos(mu), std::sin(mu)), Div(mu, Mul(p2, p3)));
}

double CharFunctionRZ(double mu, double, double p2, double p3, double)
{
    // Below 16 both series come from one pass; the values are those of
    // BesselJ0 and BesselJ1 called one by one.
    double j0 = 0, j1 = 0;
    if (mu >= 16) {
        j0 = BesselJ0(20, mu);
        j1 = BesselJ1(20, mu);
    } else {
        BesselSeries(20, mu, &j0, &j1);
    }
    return Sub(Mul(Mul(p2, p3), j0), Mul(mu, j1));
}

namespace {

bool SameSign(double a, double b) // zero counts as either sign
{
    return (a >= 0 && b >= 0) || (a <= 0 && b <= 0);
}

constexpr double kBisectionTolerance = 1E-5;

void Store(RootTable &roots, std::uint8_t counter, double x)
{
    // A counter past the last slot has nowhere to store; the scan stops there.
    if (counter >= 1 && counter <= kRootSlots)
        roots[counter - 1] = x;
}

} // namespace

BisectionResult Bisection(int n, CharFunction f, double p1, double p2, double p3, double p4,
                          double a, double fa, double b, double fb)
{
    BisectionResult r;
    int i = 1;
    do {
        r.x = Add(Div(Sub(b, a), 2.0), a);
        r.fx = f(r.x, p1, p2, p3, p4);
        if (std::fabs(r.fx) < kBisectionTolerance) {
            r.found = true;
            return r;
        }
        if (SameSign(r.fx, fa)) {
            a = r.x;
            fa = r.fx;
        } else {
            b = r.x;
            fb = r.fx;
        }
        ++i;
    } while (i < n);
    (void)fb;
    return r;
}

void RootScan(int n, std::uint8_t &counter, double p1, double p2, double p3, double p4,
              double x0, double xe, double s, double eps, CharFunction f,
              RootTable &roots, bool &success, CalcHost &host)
{
    double x = x0;
    double fx = f(x, p1, p2, p3, p4);
    success = true;
    if (!(s > 0))
        return; // a scan that cannot advance finds nothing
    for (;;) {
        double x2 = Add(x, s);
        if (x2 > xe)
            x2 = Sub(xe, p4);
        const double f2 = f(x2, p1, p2, p3, p4);

        if (std::fabs(fx) < eps && std::fabs(f2) < eps) {
            host.showMessage("Execution Error", "To small precision or bad step");
            success = false;
            return;
        }
        if (std::fabs(fx) < eps) {
            Store(roots, counter, x);
            ++counter;
            success = true;
            x = x2;
            fx = f2;
        } else if (std::fabs(f2) < eps) {
            Store(roots, counter, x2);
            ++counter;
            success = true;
            x = Add(x2, s);
            fx = f(x, p1, p2, p3, p4);
        } else if (SameSign(fx, f2)) {
            x = x2;
            fx = f2;
        } else {
            const BisectionResult b = Bisection(n, f, p1, p2, p3, p4, x, fx, x2, f2);
            Store(roots, counter, b.x);
            if (b.found) {
                ++counter;
                success = true;
            } else {
                host.showMessage("Execution Error", "Function 1 Error");
                success = false;
            }
            x = x2;
            fx = f2;
        }
        if (counter > kRootSlots)
            return;
        if (!(Sub(xe, Mul(2.0, p4)) > x2))
            return;
    }
}

} // namespace resheat
