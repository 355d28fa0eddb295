// The band Cholesky solve against systems whose solution is known.
#include <gtest/gtest.h>
#include <vector>

#include "core/BandMatrix.h"

using namespace resheat;

namespace {

using Dense = std::vector<std::vector<double>>;

// Loads the lower band of a symmetric dense matrix.
void Load(BandMatrix &m, const Dense &a, int bandwidth)
{
    const int n = static_cast<int>(a.size());
    m.Reset(n, bandwidth);
    for (int r = 0; r < n; ++r)
        for (int k = 0; k <= bandwidth && k <= r; ++k)
            m.At(r, k) = a[r][r - k];
}

} // namespace

TEST(BandMatrix, SolvesSystemsWithAKnownSolution)
{
    // 1-D conduction: tridiagonal 2, -1; A (1 2 3 4 5) = (0 0 0 0 6).
    const Dense tridiagonal{{2, -1, 0, 0, 0}, {-1, 2, -1, 0, 0}, {0, -1, 2, -1, 0}, {0, 0, -1, 2, -1}, {0, 0, 0, -1, 2}};
    // Bandwidth 2, strictly diagonally dominant (so positive definite), every
    // entry different, so a swapped index shows:
    // A (1 -1 2 0 3 1) worked out by hand row by row.
    const Dense penta{{9, -2, 1, 0, 0, 0},    {-2, 8, -3, 0.5, 0, 0}, {1, -3, 10, -1, 2, 0},
                      {0, 0.5, -1, 7, -2, 1}, {0, 0, 2, -2, 9, -3},   {0, 0, 0, 1, -3, 6}};
    const struct {
        const char *name;
        Dense a;
        int bandwidth;
        std::vector<double> b, x;
    } rows[] = {
        {"tridiagonal", tridiagonal, 1, {0, 0, 0, 0, 6}, {1, 2, 3, 4, 5}},
        // 9 + 2 + 2 = 13; -2 - 8 - 6 = -16; 1 + 3 + 20 + 6 = 30;
        // -0.5 - 2 - 6 + 1 = -7.5; 4 + 27 - 3 = 28; -9 + 6 = -3
        {"bandwidth 2", penta, 2, {13, -16, 30, -7.5, 28, -3}, {1, -1, 2, 0, 3, 1}},
        // A band wider than it needs: the zeros outside change nothing.
        {"bandwidth 3 for 2", penta, 3, {13, -16, 30, -7.5, 28, -3}, {1, -1, 2, 0, 3, 1}},
        {"one unknown", {{4}}, 0, {10}, {2.5}},
    };
    for (const auto &r : rows) {
        BandMatrix m;
        Load(m, r.a, r.bandwidth);
        ASSERT_TRUE(m.Factorise()) << r.name;
        std::vector<double> b = r.b;
        m.Solve(b);
        ASSERT_EQ(b.size(), r.x.size());
        for (std::size_t i = 0; i < b.size(); ++i)
            EXPECT_NEAR(b[i], r.x[i], 1E-12) << r.name << ", unknown " << i;
        // The factors are kept: a second right-hand side (2 A x) gives 2 x.
        std::vector<double> twice;
        for (const double v : r.b)
            twice.push_back(2 * v);
        m.Solve(twice);
        for (std::size_t i = 0; i < b.size(); ++i)
            EXPECT_NEAR(twice[i], 2 * r.x[i], 1E-12) << r.name << ", unknown " << i;
    }
}

TEST(BandMatrix, RefusesAMatrixThatIsNotPositiveDefinite)
{
    const struct {
        const char *name;
        Dense a;
    } rows[] = {
        {"indefinite", {{1, 2}, {2, 1}}},
        {"zero pivot", {{0, 0}, {0, 1}}},
        {"negative diagonal", {{2, -1, 0}, {-1, -2, -1}, {0, -1, 2}}},
    };
    for (const auto &r : rows) {
        BandMatrix m;
        Load(m, r.a, 1);
        EXPECT_FALSE(m.Factorise()) << r.name;
    }
}
