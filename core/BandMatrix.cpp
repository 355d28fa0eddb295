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
    // Column by column: scale the column below its diagonal, then subtract
    // its outer product from the columns to its right within the band.
    const int w = bw_ + 1;
    for (int j = 0; j < n_; ++j) {
        double *col = &a_[static_cast<std::size_t>(j) * w];
        if (!(col[0] > 0))
            return false;
        col[0] = std::sqrt(col[0]);
        const double inverse = 1 / col[0];
        inverseDiagonal_[j] = inverse;
        const int below = std::min(bw_, n_ - 1 - j);
        for (int d = 1; d <= below; ++d)
            col[d] *= inverse;
        for (int d = 1; d <= below; ++d) {
            double *__restrict right = &a_[static_cast<std::size_t>(j + d) * w];
            const double l = col[d];
            const double *__restrict from = col + d;
            for (int e = 0, count = below - d; e <= count; ++e)
                right[e] -= l * from[e];
        }
    }
    return true;
}

void BandMatrix::Solve(std::vector<double> &b) const
{
    const int w = bw_ + 1;
    double *x = b.data();
    for (int j = 0; j < n_; ++j) {
        const double *col = &a_[static_cast<std::size_t>(j) * w];
        const double y = x[j] * inverseDiagonal_[j];
        x[j] = y;
        const int below = std::min(bw_, n_ - 1 - j);
        for (int d = 1; d <= below; ++d)
            x[j + d] -= col[d] * y;
    }
    for (int j = n_ - 1; j >= 0; --j) {
        const double *col = &a_[static_cast<std::size_t>(j) * w];
        const int below = std::min(bw_, n_ - 1 - j);
        double s0 = 0, s1 = 0;
        int d = 1;
        for (; d + 1 <= below; d += 2) {
            s0 += col[d] * x[j + d];
            s1 += col[d + 1] * x[j + d + 1];
        }
        if (d <= below)
            s0 += col[d] * x[j + d];
        x[j] = (x[j] - (s0 + s1)) * inverseDiagonal_[j];
    }
}

} // namespace resheat
