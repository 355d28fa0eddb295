#include "core/ComplexBand.h"

#include <algorithm>
#include <cmath>

namespace resheat {

// The products are written out in real arithmetic: std::complex's operator*
// guards against infinities with a library call per product, which would
// cost more than the factorisation itself, and nothing here is infinite.

namespace {

inline void SubtractProduct(double &sr, double &si, const std::complex<double> &a, const std::complex<double> &b)
{
    sr -= a.real() * b.real() - a.imag() * b.imag();
    si -= a.real() * b.imag() + a.imag() * b.real();
}

inline std::complex<double> Product(const std::complex<double> &a, const std::complex<double> &b)
{
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

} // namespace

void ComplexBand::Reset(int n, int bandwidth)
{
    n_ = n;
    bw_ = bandwidth;
    a_.assign(static_cast<std::size_t>(n) * (bandwidth + 1), Complex{});
    inverseDiagonal_.assign(n, Complex{});
    row_.assign(bandwidth + 1, Complex{});
}

bool ComplexBand::Factorise()
{
    const int w = bw_ + 1;
    for (int r = 0; r < n_; ++r) {
        Complex *row = &a_[static_cast<std::size_t>(r) * w];
        const int first = std::max(0, r - bw_);
        // u(p) = L(r, p) D(p) for p < c, held at row_[r - p].
        for (int c = first; c <= r; ++c) {
            const Complex *crow = &a_[static_cast<std::size_t>(c) * w];
            double sr = row[r - c].real(), si = row[r - c].imag();
            for (int p = std::max(first, c - bw_); p < c; ++p)
                SubtractProduct(sr, si, row_[r - p], crow[c - p]);
            if (c < r) {
                row_[r - c] = {sr, si};
                row[r - c] = Product({sr, si}, inverseDiagonal_[c]);
            } else {
                const double d2 = sr * sr + si * si;
                if (!(d2 > 0) || !std::isfinite(d2))
                    return false;
                row[0] = {sr, si};
                inverseDiagonal_[r] = {sr / d2, -si / d2};
            }
        }
    }
    return true;
}

void ComplexBand::Solve(std::vector<Complex> &b) const
{
    const int w = bw_ + 1;
    for (int r = 0; r < n_; ++r) {
        const Complex *row = &a_[static_cast<std::size_t>(r) * w];
        double sr = b[r].real(), si = b[r].imag();
        for (int p = std::max(0, r - bw_); p < r; ++p)
            SubtractProduct(sr, si, row[r - p], b[p]);
        b[r] = {sr, si};
    }
    for (int r = 0; r < n_; ++r)
        b[r] = Product(b[r], inverseDiagonal_[r]);
    for (int r = n_ - 1; r >= 0; --r) {
        const Complex *row = &a_[static_cast<std::size_t>(r) * w];
        const Complex x = b[r];
        for (int p = std::max(0, r - bw_); p < r; ++p) {
            double sr = b[p].real(), si = b[p].imag();
            SubtractProduct(sr, si, row[r - p], x);
            b[p] = {sr, si};
        }
    }
}

} // namespace resheat
