#include "core/BandMatrix.h"

#include <algorithm>
#include <cmath>

namespace resheat {

void BandMatrix::Reset(int n, int bandwidth)
{
    n_ = n;
    bw_ = bandwidth;
    a_.assign(static_cast<std::size_t>(n) * (bandwidth + 1), 0.0);
    inverseDiagonal_.assign(n, 0.0);
}

bool BandMatrix::Factorise()
{
    const int w = bw_ + 1;
    for (int r = 0; r < n_; ++r) {
        double *row = &a_[static_cast<std::size_t>(r) * w];
        const int first = std::max(0, r - bw_);
        for (int c = first; c <= r; ++c) {
            const double *crow = &a_[static_cast<std::size_t>(c) * w];
            double s = row[r - c];
            for (int p = std::max(first, c - bw_); p < c; ++p)
                s -= row[r - p] * crow[c - p];
            if (c < r) {
                row[r - c] = s / crow[0];
            } else {
                if (!(s > 0))
                    return false;
                row[0] = std::sqrt(s);
                inverseDiagonal_[r] = 1 / row[0];
            }
        }
    }
    return true;
}

void BandMatrix::Solve(std::vector<double> &b) const
{
    const int w = bw_ + 1;
    for (int r = 0; r < n_; ++r) {
        const double *row = &a_[static_cast<std::size_t>(r) * w];
        double s = b[r];
        for (int p = std::max(0, r - bw_); p < r; ++p)
            s -= row[r - p] * b[p];
        b[r] = s * inverseDiagonal_[r];
    }
    for (int r = n_ - 1; r >= 0; --r) {
        const double *row = &a_[static_cast<std::size_t>(r) * w];
        b[r] *= inverseDiagonal_[r];
        for (int p = std::max(0, r - bw_); p < r; ++p)
            b[p] -= row[r - p] * b[r];
    }
}

} // namespace resheat
