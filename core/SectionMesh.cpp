#include "core/SectionMesh.h"

#include <numbers>

namespace resheat {

namespace {
constexpr double kPi = std::numbers::pi;
}

SectionMesh RodMesh(double diameter, int cells)
{
    const double R = diameter / 2;
    const double dr = R / cells;
    SectionMesh m;
    m.nx = cells + 1;
    m.ny = 1;
    m.area.assign(m.nx, 0.0);
    m.perimeter.assign(m.nx, 0.0);
    m.gi.assign(m.nx, 0.0);
    m.gj.assign(m.nx, 0.0);
    for (int i = 0; i <= cells; ++i) {
        const double inner = i == 0 ? 0.0 : (i - 0.5) * dr;
        const double outer = i == cells ? R : (i + 0.5) * dr;
        m.area[i] = kPi * (outer * outer - inner * inner);
        if (i < cells)
            m.gi[i] = 2 * kPi * outer / dr;
    }
    m.perimeter[cells] = 2 * kPi * R;
    m.centre = 0;
    m.second = cells;
    return m;
}

SectionMesh BarMesh(double width, double thickness, int cellsW, int cellsH)
{
    const bool swap = cellsW > cellsH;
    const int na = swap ? cellsH : cellsW;
    const int nb = swap ? cellsW : cellsH;
    const double da = (swap ? thickness : width) / 2 / na;
    const double db = (swap ? width : thickness) / 2 / nb;
    SectionMesh m;
    m.nx = na + 1;
    m.ny = nb + 1;
    const int n = m.size();
    m.area.assign(n, 0.0);
    m.perimeter.assign(n, 0.0);
    m.gi.assign(n, 0.0);
    m.gj.assign(n, 0.0);
    for (int j = 0; j <= nb; ++j) {
        const double wb = (j == 0 || j == nb) ? db / 2 : db;
        for (int i = 0; i <= na; ++i) {
            const double wa = (i == 0 || i == na) ? da / 2 : da;
            const int k = i + j * m.nx;
            m.area[k] = 4 * wa * wb;
            if (i < na)
                m.gi[k] = 4 * wb / da;
            if (j < nb)
                m.gj[k] = 4 * wa / db;
            m.perimeter[k] = 4 * ((i == na ? wb : 0.0) + (j == nb ? wa : 0.0));
        }
    }
    const int endA = na;          // (a, b) = (half side, 0)
    const int endB = nb * m.nx;   // (a, b) = (0, half side)
    m.centre = 0;
    m.second = swap ? endB : endA; // Tw: (w/2, 0)
    m.third = swap ? endA : endB;  // Th: (0, h/2)
    m.corner = na + nb * m.nx;
    return m;
}

} // namespace resheat
