#include "checks/bearingarea.h"

#include "checks/design.h"

#include <algorithm>
#include <cmath>

namespace tarvel {

namespace {

constexpr double pi = 3.14159265358979323846;
// A pedestal enlarges the bearing area up to three plate diameters.
constexpr double pedestalSpread = 3;
// The bolts' distance to the pedestal's edge: at least this many bolt diameters, and this much.
constexpr double edgeBoltDiameters = 4;
constexpr double minEdge = 150;

// The segment of the disc of radius r beyond x = s.
Segment discSegment(double r, double s) {
    if (r <= 0 || s >= r) return {};
    if (s <= -r) return {pi * r * r, 0};
    const double h = std::sqrt(r * r - s * s);
    return {r * r * std::acos(s / r) - s * h, 2.0 / 3.0 * h * h * h};
}

} // namespace

double bearingArea(double d, double hole) {
    return pi / 4 * (d * d - hole * hole);
}

Segment bearingSegment(double d, double hole, double s) {
    const Segment outer = discSegment(d / 2, s);
    const Segment inner = discSegment(hole / 2, s);
    return {outer.area - inner.area, outer.moment - inner.moment};
}

double pedestalBetaL(double d, double B, double hole) {
    const double b = std::min(pedestalSpread * d, B);
    return std::sqrt(pi / 4 * b * b / bearingArea(d, hole));
}

double effectiveBetaL(const DesignInput& design, double d) {
    return design.pedestal ? pedestalBetaL(d, *design.pedestal, design.plateHole) : design.betaL;
}

double pedestalEdgeRequired(double boltDiameter) {
    return std::max(edgeBoltDiameters * boltDiameter, minEdge);
}

} // namespace tarvel
