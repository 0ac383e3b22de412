#include "analysis/fem/femmesh.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace tarvel::fem {

namespace {

constexpr double pi = std::numbers::pi;
// Samples of the size function over each interval when placing rings or lines.
constexpr int gradingSamples = 256;
// Two rings or lines closer than this (mm or rad) are one.
constexpr double sameShare = 1e-9;
// Inside the tube at least this many segments span the half ring, so that the elements
// round the centre keep their shape.
constexpr int minHalfSegments = 4;

// Points in (a, b], spaced by `size`: as many as the integral of 1/size asks, spread so that
// each holds an equal share of it.
std::vector<double> graded(double a, double b, const std::function<double(double)>& size) {
    std::vector<double> cumulative(gradingSamples + 1, 0.0);
    const double step = (b - a) / gradingSamples;
    for (int i = 0; i < gradingSamples; ++i)
        cumulative[i + 1] = cumulative[i] + step / size(a + (i + 0.5) * step);
    const double total = cumulative.back();
    const int count = std::max(1, static_cast<int>(std::ceil(total - 1e-9)));
    std::vector<double> points;
    int i = 0;
    for (int k = 1; k < count; ++k) {
        const double target = total * k / count;
        while (cumulative[i + 1] < target)
            ++i;
        const double f = (target - cumulative[i]) / (cumulative[i + 1] - cumulative[i]);
        points.push_back(a + (i + f) * step);
    }
    points.push_back(b);
    return points;
}

// Breakpoints lo, the values strictly inside (lo, hi), hi: sorted, without near repeats.
std::vector<double> breakpoints(double lo, double hi, const std::vector<double>& inside,
                                double scale) {
    std::vector<double> out{lo};
    std::vector<double> sorted = inside;
    std::sort(sorted.begin(), sorted.end());
    for (double v : sorted)
        if (v > lo + sameShare * scale && v < hi - sameShare * scale &&
            v > out.back() + sameShare * scale)
            out.push_back(v);
    out.push_back(hi);
    return out;
}

double distanceTo(double v, const std::vector<double>& to) {
    double best = std::numeric_limits<double>::infinity();
    for (double t : to)
        best = std::min(best, std::fabs(v - t));
    return best;
}

struct Layout {
    std::vector<double> radii;               // inside out; radii[0] = rIn
    std::vector<double> angles;              // every radial line, 0 … π
    std::vector<std::vector<int>> ringLines; // per ring, the lines it carries (empty: centre)
};

Layout layOut(const MeshSpec& s) {
    Layout l;
    const double hf = s.fineShare * s.h;
    auto radialSize = [&](double r) {
        if (s.fineRadii.empty()) return s.h;
        return std::clamp(hf + s.growth * distanceTo(r, s.fineRadii), hf, s.h);
    };
    const std::vector<double> rb = breakpoints(s.rIn, s.rOut, s.keyRadii, s.rOut);
    l.radii.push_back(s.rIn);
    for (std::size_t i = 1; i < rb.size(); ++i)
        for (double r : graded(rb[i - 1], rb[i], radialSize))
            l.radii.push_back(r);

    const double rRef = s.rLines > 0 ? s.rLines : s.rOut;
    const double coarse = s.h / s.rOut;
    auto angularSize = [&](double phi) {
        if (s.fineAngles.empty()) return coarse;
        return std::min(coarse, (hf + s.growth * rRef * distanceTo(phi, s.fineAngles)) / rRef);
    };
    const std::vector<double> ab = breakpoints(0, pi, s.keyAngles, pi);
    l.angles.push_back(0);
    for (std::size_t i = 1; i < ab.size(); ++i)
        for (double a : graded(ab[i - 1], ab[i], angularSize))
            l.angles.push_back(a);
    l.angles.back() = pi;

    const int last = static_cast<int>(l.angles.size()) - 1;
    for (double r : l.radii) {
        std::vector<int> lines;
        if (r <= 0) {
            l.ringLines.push_back(lines); // the centre node
            continue;
        }
        if (r >= s.rLines * (1 - sameShare)) {
            for (int i = 0; i <= last; ++i)
                lines.push_back(i);
        } else {
            // Drop lines where the ring's segments would be much shorter than its spacing.
            const double gap = std::min(pi / minHalfSegments, radialSize(r) / r);
            lines.push_back(0);
            for (int i = 1; i < last; ++i)
                if (l.angles[i + 1] - l.angles[lines.back()] > gap) lines.push_back(i);
            lines.push_back(last);
        }
        l.ringLines.push_back(lines);
    }
    return l;
}

} // namespace

MeshCounts countMesh(const MeshSpec& spec) {
    const Layout l = layOut(spec);
    MeshCounts c;
    for (std::size_t k = 0; k < l.radii.size(); ++k) {
        const long long segments =
            l.ringLines[k].empty() ? 0 : static_cast<long long>(l.ringLines[k].size()) - 1;
        c.nodes += segments + 1;
        if (k > 0) {
            const long long inner = l.ringLines[k - 1].empty()
                                        ? 0
                                        : static_cast<long long>(l.ringLines[k - 1].size()) - 1;
            c.triangles += segments + inner;
        }
    }
    return c;
}

PlateMesh buildMesh(const MeshSpec& spec) {
    const Layout l = layOut(spec);
    PlateMesh m;
    m.ringRadii = l.radii;
    for (std::size_t k = 0; k < l.radii.size(); ++k) {
        m.ringFirst.push_back(static_cast<int>(m.nodes.size()));
        const double r = l.radii[k];
        if (l.ringLines[k].empty()) {
            m.nodes.push_back({0, 0});
            continue;
        }
        for (int line : l.ringLines[k]) {
            const double a = l.angles[line];
            // The axis nodes lie exactly on it: their symmetry condition depends on y = 0.
            PlateMesh::Node n{r * std::cos(a), r * std::sin(a)};
            if (line == 0) n = {r, 0};
            if (line == static_cast<int>(l.angles.size()) - 1) n = {-r, 0};
            m.nodes.push_back(n);
        }
    }
    m.ringFirst.push_back(static_cast<int>(m.nodes.size()));

    auto add = [&](int a, int b, int c) {
        const PlateMesh::Node &p = m.nodes[a], &q = m.nodes[b], &r = m.nodes[c];
        const double twice = (q.x - p.x) * (r.y - p.y) - (r.x - p.x) * (q.y - p.y);
        if (twice < 0) std::swap(b, c);
        m.triangles.push_back({a, b, c});
    };
    // Each strip between two rings is zipped: walk both rings by angle, closing a triangle
    // on whichever ring's next node comes first.
    for (std::size_t k = 1; k < l.radii.size(); ++k) {
        const std::vector<int>& outer = l.ringLines[k];
        const std::vector<int>& inner = l.ringLines[k - 1];
        const int o0 = m.ringFirst[k], i0 = m.ringFirst[k - 1];
        const int p = static_cast<int>(outer.size()) - 1;
        const int q = inner.empty() ? 0 : static_cast<int>(inner.size()) - 1;
        int i = 0, j = 0;
        while (i < q || j < p) {
            const bool advanceOuter =
                i == q || (j < p && l.angles[outer[j + 1]] <= l.angles[inner[i + 1]]);
            if (advanceOuter) {
                add(i0 + i, o0 + j, o0 + j + 1);
                ++j;
            } else {
                add(o0 + j, i0 + i + 1, i0 + i);
                ++i;
            }
        }
    }
    return m;
}

} // namespace tarvel::fem
