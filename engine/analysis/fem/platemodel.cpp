#include "analysis/fem/platemodel.h"

#include "analysis/fem/basefem.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tarvel::fem {

namespace {

constexpr double pi = std::numbers::pi;
// A node lies on a radial line or ring when it is this close, as a share of the plate radius.
constexpr double onLineShare = 1e-9;
// Below this many triangles (half plate) the fine mesh is cheap enough to iterate on alone.
constexpr std::size_t minTrianglesForCoarse = 3000;
// The coarse mesh's element size, as a multiple of the fine one's.
constexpr double coarseFactor = 2;
// Blocks up to this size stay in the heap when freed, rather than going back to the system.
constexpr int keptHeapBytes = 64 << 20;

// Every solve allocates and frees the same large arrays (the factor's workspace, the matrix
// copies, the solution vectors). glibc would map each afresh and unmap it when freed, and the
// page faults on the new pages took a quarter of a case's time: keep them in the heap.
void keepLargeBlocks() {
#ifdef __GLIBC__
    static const bool kept = [] {
        mallopt(M_MMAP_THRESHOLD, keptHeapBytes);
        mallopt(M_TRIM_THRESHOLD, keptHeapBytes);
        return true;
    }();
    (void)kept;
#endif
}

// The body's unknowns: its deflection W at the centre and its slope α along x. Every DOF is
// the body's rigid motion plus the plate's own deflection from it.
DofMap tiedDofs(const PlateMesh& mesh, const ModelSpec& spec) {
    const int nodeCount = static_cast<int>(mesh.nodes.size());
    const double eps = onLineShare * spec.mesh.rOut;
    DofMap dofs(nodeCount, 2);
    for (int i = 0; i < nodeCount; ++i) {
        const auto& p = mesh.nodes[static_cast<std::size_t>(i)];
        const double r = std::hypot(p.x, p.y);
        if (p.y == 0) dofs.fix(i, Wy); // symmetry about the axis
        dofs.follow(i, W, {1, p.x});
        dofs.follow(i, Wx, {0, 1});
        if (std::fabs(r - spec.tubeRadius) <= eps) {
            // Welded all round to the tube: clamped to the body.
            dofs.fix(i, W);
            dofs.fix(i, Wx);
            dofs.fix(i, Wy);
        } else if (r > spec.tubeRadius) {
            // A stiffener's foot follows the body's deflection; the plate may turn about it.
            const double a = std::atan2(p.y, p.x);
            for (double s : spec.stiffenerAngles)
                if (std::fabs(std::remainder(a - s, 2 * pi)) * r <= eps) dofs.fix(i, W);
        }
    }
    dofs.finish();
    return dofs;
}

double twiceArea(const PlateMesh& m, const std::array<int, 3>& t) {
    const auto &a = m.nodes[static_cast<std::size_t>(t[0])],
               &b = m.nodes[static_cast<std::size_t>(t[1])],
               &c = m.nodes[static_cast<std::size_t>(t[2])];
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

// Each fine node in the coarse mesh. Both are polar with the same rings at the key radii;
// a grid of cells over the half disc holds the coarse triangles that may cover each cell.
std::vector<NodeInTriangle> locate(const PlateMesh& fine, const PlateMesh& coarse, double rOut,
                                   double cell) {
    const int columns = static_cast<int>(std::ceil(2 * rOut / cell)) + 1;
    const int rows = static_cast<int>(std::ceil(rOut / cell)) + 1;
    auto column = [&](double x) {
        return std::clamp(static_cast<int>((x + rOut) / cell), 0, columns - 1);
    };
    auto row = [&](double y) { return std::clamp(static_cast<int>(y / cell), 0, rows - 1); };
    std::vector<std::vector<int>> cells(static_cast<std::size_t>(columns * rows));
    for (std::size_t t = 0; t < coarse.triangles.size(); ++t) {
        double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = x0, y1 = -x0;
        for (int v : coarse.triangles[t]) {
            const auto& n = coarse.nodes[static_cast<std::size_t>(v)];
            x0 = std::min(x0, n.x);
            x1 = std::max(x1, n.x);
            y0 = std::min(y0, n.y);
            y1 = std::max(y1, n.y);
        }
        // One cell's margin takes in the fine nodes just beyond the coarse polygon's edge.
        for (int i = column(x0) - 1; i <= column(x1) + 1; ++i)
            for (int j = row(y0) - 1; j <= row(y1) + 1; ++j)
                if (i >= 0 && i < columns && j >= 0 && j < rows)
                    cells[static_cast<std::size_t>(j * columns + i)].push_back(static_cast<int>(t));
    }
    std::vector<NodeInTriangle> out(fine.nodes.size());
    for (std::size_t k = 0; k < fine.nodes.size(); ++k) {
        const auto& p = fine.nodes[k];
        double best = -std::numeric_limits<double>::infinity();
        for (int t : cells[static_cast<std::size_t>(row(p.y) * columns + column(p.x))]) {
            const auto& tri = coarse.triangles[static_cast<std::size_t>(t)];
            const double whole = twiceArea(coarse, tri);
            NodeInTriangle at{t, {}};
            for (int c = 0; c < 3; ++c) {
                const auto& a = coarse.nodes[static_cast<std::size_t>(tri[(c + 1) % 3])];
                const auto& b = coarse.nodes[static_cast<std::size_t>(tri[(c + 2) % 3])];
                at.weight[c] = ((a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y)) / whole;
            }
            const double least = std::min({at.weight[0], at.weight[1], at.weight[2]});
            if (least > best) {
                best = least;
                out[k] = at;
            }
        }
    }
    return out;
}

} // namespace

PlateModel::PlateModel(const ModelSpec& s)
    : spec(s), mesh(buildMesh(s.mesh)), dofs(tiedDofs(mesh, s)), area(mesh.nodes.size(), 0.0),
      bearing(mesh.triangles.size(), false), system(mesh, dofs, s.rigidity, plateNu) {
    for (const auto& p : mesh.nodes)
        axisNodes += p.y == 0;
    // Each node's share of the bearing area: a third of each bearing triangle's.
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        const Corners c = system.corners(static_cast<int>(t));
        const double cx = (c.x[0] + c.x[1] + c.x[2]) / 3, cy = (c.y[0] + c.y[1] + c.y[2]) / 3;
        if (std::hypot(cx, cy) > spec.bearingRadius) continue;
        bearing[t] = true;
        const double a =
            ((c.x[1] - c.x[0]) * (c.y[2] - c.y[0]) - (c.x[2] - c.x[0]) * (c.y[1] - c.y[0])) / 2;
        for (int v : mesh.triangles[t])
            area[static_cast<std::size_t>(v)] += a / 3;
    }
}

BaseModels& baseModels(const ModelSpec& spec) {
    keepLargeBlocks();
    thread_local BaseModels kept;
    if (kept.fine && kept.fine->spec == spec) return kept;
    kept = {};
    kept.fine = std::make_unique<PlateModel>(spec);
    if (kept.fine->mesh.triangles.size() >= minTrianglesForCoarse) {
        ModelSpec coarse = spec;
        coarse.mesh.h *= coarseFactor;
        kept.coarse = std::make_unique<PlateModel>(coarse);
        kept.fromCoarse = locate(kept.fine->mesh, kept.coarse->mesh, spec.mesh.rOut, coarse.mesh.h);
    }
    return kept;
}

} // namespace tarvel::fem
