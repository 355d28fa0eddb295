// Vertex-centred finite-volume meshes of a charge's cross-section: uniform
// nodes that include the centre and the surface, each node owning the area
// halfway to its neighbours (half areas on the boundaries).
#pragma once

#include <vector>

namespace resheat {

// Nodes k = i + j nx; links from k to k + 1 (along i) and to k + nx (along
// j).  Areas, link factors and surface lengths are for the whole section, so
// sums over the nodes are integrals over the section.
struct SectionMesh {
    int nx = 0, ny = 0;
    std::vector<double> area;      // [m2] area of each node
    std::vector<double> perimeter; // [m] surface length of each node, 0 inside
    std::vector<double> gi, gj;    // [-] face length / node distance of the links along i and j
    // The reported points: rod axis and surface; bar centre, Tw (w/2, 0),
    // Th (0, h/2) and corner (w/2, h/2).  -1 where the rod has none.
    int centre = 0, second = 0, third = -1, corner = -1;
    int size() const { return nx * ny; }
    int bandwidth() const { return ny > 1 ? nx : 1; }
};

// Radial mesh of a round rod, `cells` cells from the axis to the surface.
SectionMesh RodMesh(double diameter, int cells);

// A quarter of a rectangular bar (the symmetry planes carry no flux),
// `cellsW` cells along the half width and `cellsH` along the half thickness.
// The index i runs along the side with fewer cells, to keep the band narrow.
SectionMesh BarMesh(double width, double thickness, int cellsW, int cellsH);

} // namespace resheat
