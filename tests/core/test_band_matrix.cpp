// The band Cholesky factorisation and solution against systems whose
// solution is known.
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "core/BandMatrix.h"

using namespace resheat;

TEST(BandMatrix, SolvesSystemsOfKnownSolution)
{
    // A x = b with x known: b computed from A and x by hand-checked loops.
    const struct {
        int n, bandwidth;
    } rows[] = {{1, 0}, {5, 1}, {12, 3}, {30, 7}, {8, 7}};
    for (const auto &row : rows) {
        const int n = row.n, bw = row.bandwidth;
        // Diagonally dominant: 2 (bw + 1) on the diagonal, -1 / (1 + |i - j|) off it.
        auto a = [&](int i, int j) { return i == j ? 2.0 * (bw + 1) : -1.0 / (1 + std::abs(i - j)); };
        BandMatrix m;
        m.Reset(n, bw);
        for (int r = 0; r < n; ++r)
            for (int d = 0; d <= std::min(bw, r); ++d)
                m.At(r, d) = a(r, r - d);
        std::vector<double> x(n), b(n, 0.0);
        for (int i = 0; i < n; ++i)
            x[i] = std::sin(1.0 + i); // any values
        for (int i = 0; i < n; ++i)
            for (int j = std::max(0, i - bw); j <= std::min(n - 1, i + bw); ++j)
                b[i] += a(i, j) * x[j];
        ASSERT_TRUE(m.Factorise()) << n;
        m.Solve(b);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(b[i], x[i], 1E-13) << n << " " << i;
    }
}

TEST(BandMatrix, TridiagonalLaplacianByHand)
{
    // [2 -1 0; -1 2 -1; 0 -1 2] x = (1, 0, 1): x = (1, 1, 1).
    BandMatrix m;
    m.Reset(3, 1);
    for (int r = 0; r < 3; ++r) {
        m.At(r, 0) = 2;
        if (r > 0)
            m.At(r, 1) = -1;
    }
    ASSERT_TRUE(m.Factorise());
    std::vector<double> b{1, 0, 1};
    m.Solve(b);
    for (const double v : b)
        EXPECT_NEAR(v, 1, 1E-15);
}

TEST(BandMatrix, RefusesAMatrixThatIsNotPositiveDefinite)
{
    // [1 2; 2 1] has the eigenvalue -1; [0] is singular.
    BandMatrix m;
    m.Reset(2, 1);
    m.At(0, 0) = 1;
    m.At(1, 0) = 1;
    m.At(1, 1) = 2;
    EXPECT_FALSE(m.Factorise());
    m.Reset(1, 0);
    EXPECT_FALSE(m.Factorise());
}
