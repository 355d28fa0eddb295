// Symmetric positive definite band matrix with its Cholesky factorisation,
// for the implicit steps of the temperature-dependent solver.  Column c
// holds the entries (c, c) .. (c + bandwidth, c) of the lower triangle in
// order, so that the updates of the factorisation and of the solutions run
// forward through memory; cost of a factorisation n bw^2 / 2, of a
// solution 2 n bw.
#pragma once

#include <cstddef>
#include <vector>

namespace resheat {

class BandMatrix {
public:
    // n x n, all zero.
    void Reset(int n, int bandwidth);
    // Entry (r, r - m) of the lower triangle, 0 <= m <= bandwidth, m <= r.
    double &At(int r, int m) { return a_[static_cast<std::size_t>(r - m) * (bw_ + 1) + m]; }
    // L L^T in place.  False when the matrix is not positive definite.
    bool Factorise();
    // Solves L L^T x = b in place, after Factorise.
    void Solve(std::vector<double> &b) const;

private:
    int n_ = 0, bw_ = 0;
    std::vector<double> a_;
    std::vector<double> inverseDiagonal_;
};

} // namespace resheat
