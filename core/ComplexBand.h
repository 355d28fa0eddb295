// Complex symmetric band matrix (A^T = A, not Hermitian) with its L D L^T
// factorisation without pivoting, for the current-distribution solve.  The
// matrices met there have a positive definite real part and a non-negative
// diagonal imaginary part, so every leading block is regular (x^H A x has a
// positive real part) and the factorisation exists; it is the complex
// counterpart of BandMatrix's Cholesky.  Entry (r, r - m), m = 0..bandwidth,
// is held at r * (bandwidth + 1) + m; cost of a factorisation n bw^2 / 2
// complex multiply-adds, of a solution 2 n bw.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

namespace resheat {

class ComplexBand {
public:
    using Complex = std::complex<double>;

    // n x n, all zero.  Keeps the storage when the size does not grow.
    void Reset(int n, int bandwidth);
    int size() const { return n_; }
    int bandwidth() const { return bw_; }
    // Entry (r, r - m) of the lower triangle, 0 <= m <= bandwidth, m <= r.
    Complex &At(int r, int m) { return a_[static_cast<std::size_t>(r) * (bw_ + 1) + m]; }
    // L D L^T in place.  False when a pivot vanishes or is not finite.
    bool Factorise();
    // Solves L D L^T x = b in place, after Factorise.
    void Solve(std::vector<Complex> &b) const;

private:
    int n_ = 0, bw_ = 0;
    std::vector<Complex> a_;
    std::vector<Complex> inverseDiagonal_;
    std::vector<Complex> row_; // L(r, p) D(p) of the row being factorised
};

} // namespace resheat
