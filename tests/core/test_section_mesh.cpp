// The section meshes: graded node positions, and the areas, surface lengths
// and links of the finite volumes built on them.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "core/SectionMesh.h"

using namespace resheat;

namespace {

constexpr double kPi = std::numbers::pi;

double Sum(const std::vector<double> &v)
{
    double s = 0;
    for (const double x : v)
        s += x;
    return s;
}

} // namespace

TEST(GradedNodes, RunFromTheCentreToTheSurfaceFinestAtTheSurface)
{
    const struct {
        double half, surface, largest, ratio;
    } rows[] = {
        {0.025, 0.025 / 16, 0.025 / 6, 1.25}, // the worked bar's half side
        {0.1, 0.0003, 0.1 / 6, 1.25},         // the wide side of a 20:1 flat bar
        {0.001, 0.001 / 24, 0.001 / 12, 1.25}, // a thin wire
        {0.05, 0.01, 0.01, 1.25},              // even cells
    };
    for (const auto &row : rows) {
        const auto x = GradedNodes(row.half, row.surface, row.largest, row.ratio);
        ASSERT_GE(x.size(), 3u);
        EXPECT_EQ(x.front(), 0.0);
        EXPECT_EQ(x.back(), row.half);
        // The surplus is shared: no cell is larger than asked.
        const double scale = (x.back() - x[x.size() - 2]) / row.surface;
        EXPECT_LE(scale, 1 + 1E-12) << row.half;
        for (std::size_t i = 1; i < x.size(); ++i) {
            const double cell = x[i] - x[i - 1];
            EXPECT_GT(cell, 0);
            EXPECT_LE(cell, row.largest * (1 + 1E-12)) << i;
            if (i + 1 < x.size()) { // towards the centre at most `ratio` larger
                EXPECT_LE(cell, row.ratio * (x[i + 1] - x[i]) * (1 + 1E-12)) << i;
            }
        }
    }
    // 2 mm under a 5 cm radius growing by 1.25 up to 1 cm: 2, 2.5, 3.125,
    // 3.9, 4.9, 6.1, 7.6, 9.5 (39.7 mm), then 10s: past 50 mm with the 10th cell.
    EXPECT_EQ(GradedNodes(0.05, 0.002, 0.01, 1.25).size(), 11u);
}

TEST(GradedNodes, BisectedKeepsEveryNodeAndAddsTheMidpoints)
{
    const std::vector<double> x{0, 0.4, 0.7, 0.9, 1.0};
    const std::vector<double> halves{0, 0.2, 0.4, 0.55, 0.7, 0.8, 0.9, 0.95, 1.0};
    const auto b = Bisected(x);
    ASSERT_EQ(b.size(), halves.size());
    for (std::size_t i = 0; i < b.size(); ++i)
        EXPECT_NEAR(b[i], halves[i], 1E-15);
}

TEST(SectionMesh, VolumesCoverTheSectionAndTheSurfaceIsItsPerimeter)
{
    const std::vector<double> rod = GradedNodes(0.025, 0.001, 0.004, 1.25);
    const auto w = GradedNodes(0.05, 0.001, 0.01, 1.25), h = GradedNodes(0.01, 0.001, 0.002, 1.25);
    const struct {
        SectionMesh m;
        double area, perimeter;
    } rows[] = {
        {RodMesh(rod), kPi * 0.025 * 0.025, 2 * kPi * 0.025},
        {RodMesh(0.05, 32), kPi * 0.025 * 0.025, 2 * kPi * 0.025},
        {BarMesh(w, h), 0.1 * 0.02, 2 * (0.1 + 0.02)},
        {BarMesh(h, w), 0.1 * 0.02, 2 * (0.1 + 0.02)},
        {BarMesh(0.06, 0.03, 12, 6), 0.06 * 0.03, 2 * (0.06 + 0.03)},
    };
    for (const auto &row : rows) {
        EXPECT_NEAR(Sum(row.m.area), row.area, 1E-15) << row.m.nx;
        EXPECT_NEAR(Sum(row.m.perimeter), row.perimeter, 1E-14) << row.m.nx;
        ASSERT_EQ(row.m.x.size(), static_cast<std::size_t>(row.m.nx));
        ASSERT_EQ(row.m.y.size(), static_cast<std::size_t>(row.m.ny));
    }
}

TEST(SectionMesh, ReportedPointsAreTheNodesAtTheirCoordinates)
{
    // The flat bar has more nodes along its width: i runs along the
    // thickness to keep the band narrow, and the points follow.
    const auto w = GradedNodes(0.05, 0.001, 0.01, 1.25), h = GradedNodes(0.01, 0.002, 0.002, 1.25);
    for (const SectionMesh &m : {BarMesh(w, h), BarMesh(h, w)}) {
        const bool wide = m.swapped ? m.y.back() == 0.05 : m.x.back() == 0.05;
        auto at = [&](int k) { return std::pair{m.x[k % m.nx], m.y[k / m.nx]}; };
        const double a = wide ? 0.05 : 0.01, b = wide ? 0.01 : 0.05;
        EXPECT_LE(m.nx, m.ny);
        EXPECT_EQ(at(m.centre), (std::pair{0.0, 0.0}));
        // Tw at (w/2, 0) and Th at (0, h/2), whichever axis holds them.
        EXPECT_EQ(m.swapped ? at(m.second).second : at(m.second).first, a);
        EXPECT_EQ(m.swapped ? at(m.third).first : at(m.third).second, b);
        EXPECT_EQ(at(m.corner), (std::pair{m.x.back(), m.y.back()}));
        EXPECT_GT(m.perimeter[m.corner], 0);
        EXPECT_EQ(m.perimeter[m.centre], 0);
    }
    const SectionMesh rod = RodMesh(GradedNodes(0.01, 0.0005, 0.002, 1.25));
    EXPECT_TRUE(rod.radial);
    EXPECT_EQ(rod.x[rod.second], 0.01);
    EXPECT_EQ(rod.third, -1);
    EXPECT_EQ(rod.corner, -1);
}

TEST(SectionMesh, LinksAreFaceLengthOverNodeDistance)
{
    // Rod: the face between r = 1 and r = 3 mm lies at 2 mm, 2 pi 2 / 2.
    const SectionMesh rod = RodMesh({0, 0.001, 0.003});
    EXPECT_NEAR(rod.gi[0], 2 * kPi * 0.0005 / 0.001, 1E-12);
    EXPECT_NEAR(rod.gi[1], 2 * kPi * 0.002 / 0.002, 1E-12);
    EXPECT_NEAR(rod.area[1], kPi * (0.002 * 0.002 - 0.0005 * 0.0005), 1E-18);
    // Quarter bar, whole-section factors: the face between x = 0 and x = 1
    // of the node row y = 0 spans y in [0, 0.5] of a quarter, 4 * 0.5 / 1.
    const SectionMesh bar = BarMesh({0, 1, 3}, {0, 1, 2, 4});
    EXPECT_NEAR(bar.gi[0], 4 * 0.5 / 1, 1E-12);
    EXPECT_NEAR(bar.gj[1], 4 * 1.5 / 1, 1E-12);      // x = 1: face from 0.5 to 2
    EXPECT_NEAR(bar.area[1 + 3], 4 * 1.5 * 1, 1E-12); // (1, 1): 1.5 by 1
}
