// Factorial, integer power, Bessel J0/J1 and the eigenvalue search used by
// the temperature histories.
#pragma once

#include <array>
#include <cstdint>

#include "core/Host.h"

namespace resheat {

double Factorial(std::uint16_t k);
// base raised to the exponent rounded to the nearest integer (ties to even);
// a zero exponent gives 1, a zero base 0, a negative rounded exponent 1.
// Exponents up to 64 multiply the factors in one by one; larger ones take
// a number of products logarithmic in the exponent.
double IntPower(double base, double exponent);

// Truncated power series up to index n below 16, two-term asymptotic form
// from 16 on.  The switch at 16 is sharp on purpose: the histories of the
// round rod rest on exactly this evaluation.
double BesselJ0(int n, double x);
double BesselJ1(int n, double x);

// Characteristic functions (p1 and p4 are ignored):
//   xy: cot mu - mu/(p2 p3)         rz: p2 p3 J0(mu) - mu J1(mu), n = 20
double CharFunctionXY(double mu, double p1, double p2, double p3, double p4);
double CharFunctionRZ(double mu, double p1, double p2, double p3, double p4);

using CharFunction = double (*)(double, double, double, double, double);

inline constexpr int kRootSlots = 10;
using RootTable = std::array<double, kRootSlots>; // slot k is index k - 1

struct BisectionResult {
    bool found = false;
    double x = 0;
    double fx = 0;
};

// Halves [a, b] (fa and fb of opposite sign) until |F| < 1E-5, evaluating at
// most n - 1 midpoints.
BisectionResult Bisection(int n, CharFunction f, double p1, double p2, double p3, double p4,
                          double a, double fa, double b, double fb);

// Steps through [x0, xe] by s and appends the roots found to `roots`,
// numbering slots with `counter` (1-based, advanced per stored root).  The
// messages "To small precision or bad step" and "Function 1 Error" go to the
// host with the caption "Execution Error".
void RootScan(int n, std::uint8_t &counter, double p1, double p2, double p3, double p4,
              double x0, double xe, double s, double eps, CharFunction f,
              RootTable &roots, bool &success, CalcHost &host);

} // namespace resheat
