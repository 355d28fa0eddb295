// Vertex-centred finite-volume meshes of a charge's cross-section: a
// tensor-product grid of nodes that includes the centre and the surface,
// each node owning the area halfway to its neighbours (half areas on the
// boundaries).  The spacing may vary along each axis (finer towards the
// surface); the reported points are always nodes.
#pragma once

#include <vector>

namespace resheat {

// Nodes k = i + j nx at (x[i], y[j]); links from k to k + 1 (along i) and to
// k + nx (along j).  The rod has one row (ny = 1): x holds the radii and y
// is {0}.  Areas, link factors and surface lengths are for the whole
// section, so sums over the nodes are integrals over the section.  A plain
// description: any module that works on the section may read it.
struct SectionMesh {
    bool radial = false;           // the rod: x is the radius
    int nx = 0, ny = 0;
    std::vector<double> x, y;      // [m] node coordinates along i and j, 0 (centre) to the surface
    std::vector<double> area;      // [m2] area of each node
    std::vector<double> perimeter; // [m] surface length of each node, 0 inside
    std::vector<double> gi, gj;    // [-] face length / node distance of the links along i and j
    // The reported points: rod axis and surface; bar centre, Tw (w/2, 0),
    // Th (0, h/2) and corner (w/2, h/2).  -1 where the rod has none.
    int centre = 0, second = 0, third = -1, corner = -1;
    // For the bar: whether i runs along the thickness (x[i] then measures
    // from the centre towards the wide face's middle, Th).
    bool swapped = false;
    int size() const { return nx * ny; }
    int bandwidth() const { return ny > 1 ? nx : 1; }
};

// Node positions from 0 to halfSide: cells of `surfaceSpacing` at the
// surface, growing by at most `ratio` per cell towards the centre up to
// `maxSpacing`, then even; the cells are scaled to end exactly on the centre.
std::vector<double> GradedNodes(double halfSide, double surfaceSpacing, double maxSpacing, double ratio);
// The same positions with every cell halved.
std::vector<double> Bisected(const std::vector<double> &nodes);

// Radial mesh of a round rod with nodes at `radii` (0 to the radius, increasing).
SectionMesh RodMesh(const std::vector<double> &radii);
// Radial mesh with `cells` even cells from the axis to the surface.
SectionMesh RodMesh(double diameter, int cells);

// A quarter of a rectangular bar (the symmetry planes carry no flux), nodes
// at `alongWidth` (0 to w/2) times `alongThickness` (0 to h/2).  The index i
// runs along the side with fewer nodes, to keep the band narrow.
SectionMesh BarMesh(const std::vector<double> &alongWidth, const std::vector<double> &alongThickness);
// Even cells: `cellsW` along the half width and `cellsH` along the half thickness.
SectionMesh BarMesh(double width, double thickness, int cellsW, int cellsH);

} // namespace resheat
