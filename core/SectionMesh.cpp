#include "core/SectionMesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace resheat {

namespace {

constexpr double kPi = std::numbers::pi;

std::vector<double> Even(double halfSide, int cells)
{
    std::vector<double> v(static_cast<std::size_t>(cells) + 1);
    for (int i = 0; i <= cells; ++i)
        v[i] = halfSide * i / cells;
    v[cells] = halfSide;
    return v;
}

// Control-volume bounds of the nodes along one axis: halfway to the
// neighbours, the ends at the nodes themselves.
std::vector<double> Faces(const std::vector<double> &nodes)
{
    const std::size_t n = nodes.size();
    std::vector<double> f(n + 1);
    f[0] = nodes[0];
    for (std::size_t i = 1; i < n; ++i)
        f[i] = (nodes[i - 1] + nodes[i]) / 2;
    f[n] = nodes[n - 1];
    return f;
}

} // namespace

std::vector<double> GradedNodes(double halfSide, double surfaceSpacing, double maxSpacing, double ratio)
{
    maxSpacing = std::clamp(maxSpacing, surfaceSpacing, halfSide);
    surfaceSpacing = std::min(surfaceSpacing, maxSpacing);
    // Widths from the surface inwards until they cover the half side.
    std::vector<double> widths;
    double covered = 0, w = surfaceSpacing;
    while (covered < halfSide * (1 - 1E-9)) {
        widths.push_back(w);
        covered += w;
        w = std::min(w * ratio, maxSpacing);
    }
    // The last cell may overshoot; the surplus is shared by all of them.
    const double scale = halfSide / covered;
    std::vector<double> nodes(widths.size() + 1);
    nodes.back() = halfSide;
    double at = halfSide;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        at -= widths[k] * scale;
        nodes[widths.size() - 1 - k] = at;
    }
    nodes.front() = 0;
    return nodes;
}

std::vector<double> Bisected(const std::vector<double> &nodes)
{
    std::vector<double> v;
    v.reserve(2 * nodes.size() - 1);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i > 0)
            v.push_back((nodes[i - 1] + nodes[i]) / 2);
        v.push_back(nodes[i]);
    }
    return v;
}

SectionMesh RodMesh(const std::vector<double> &radii)
{
    SectionMesh m;
    m.radial = true;
    m.nx = static_cast<int>(radii.size());
    m.ny = 1;
    m.x = radii;
    m.y = {0.0};
    const auto f = Faces(radii);
    m.area.assign(m.nx, 0.0);
    m.perimeter.assign(m.nx, 0.0);
    m.gi.assign(m.nx, 0.0);
    m.gj.assign(m.nx, 0.0);
    for (int i = 0; i < m.nx; ++i) {
        m.area[i] = kPi * (f[i + 1] * f[i + 1] - f[i] * f[i]);
        if (i + 1 < m.nx)
            m.gi[i] = 2 * kPi * f[i + 1] / (radii[i + 1] - radii[i]);
    }
    m.perimeter[m.nx - 1] = 2 * kPi * radii.back();
    m.centre = 0;
    m.second = m.nx - 1;
    return m;
}

SectionMesh RodMesh(double diameter, int cells)
{
    return RodMesh(Even(diameter / 2, cells));
}

SectionMesh BarMesh(const std::vector<double> &alongWidth, const std::vector<double> &alongThickness)
{
    SectionMesh m;
    m.swapped = alongWidth.size() > alongThickness.size();
    m.x = m.swapped ? alongThickness : alongWidth;
    m.y = m.swapped ? alongWidth : alongThickness;
    m.nx = static_cast<int>(m.x.size());
    m.ny = static_cast<int>(m.y.size());
    const auto fx = Faces(m.x), fy = Faces(m.y);
    const int n = m.size();
    m.area.assign(n, 0.0);
    m.perimeter.assign(n, 0.0);
    m.gi.assign(n, 0.0);
    m.gj.assign(n, 0.0);
    for (int j = 0; j < m.ny; ++j) {
        const double wb = fy[j + 1] - fy[j];
        for (int i = 0; i < m.nx; ++i) {
            const double wa = fx[i + 1] - fx[i];
            const int k = i + j * m.nx;
            m.area[k] = 4 * wa * wb;
            if (i + 1 < m.nx)
                m.gi[k] = 4 * wb / (m.x[i + 1] - m.x[i]);
            if (j + 1 < m.ny)
                m.gj[k] = 4 * wa / (m.y[j + 1] - m.y[j]);
            m.perimeter[k] = 4 * ((i + 1 == m.nx ? wb : 0.0) + (j + 1 == m.ny ? wa : 0.0));
        }
    }
    const int endA = m.nx - 1;               // (half side along i, 0)
    const int endB = (m.ny - 1) * m.nx;      // (0, half side along j)
    m.centre = 0;
    m.second = m.swapped ? endB : endA; // Tw: (w/2, 0)
    m.third = m.swapped ? endA : endB;  // Th: (0, h/2)
    m.corner = n - 1;
    return m;
}

SectionMesh BarMesh(double width, double thickness, int cellsW, int cellsH)
{
    return BarMesh(Even(width / 2, cellsW), Even(thickness / 2, cellsH));
}

} // namespace resheat
