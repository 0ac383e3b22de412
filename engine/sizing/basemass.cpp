#include "sizing/basemass.h"

#include "checks/detailing.h"

#include <algorithm>
#include <numbers>

namespace tarvel {

namespace {

using std::numbers::pi;
// The bolt stands this many diameters above its cap plate (nut and washer).
constexpr double boltProjection = 2;

} // namespace

BaseMass baseMass(const MassInput& in) {
    BaseMass m;
    const double rho = steelDensity;
    m.outerDiameter = plateOuterDiameter(in.d, in.D, in.boltDiameter);
    const double Dout = m.outerDiameter;
    m.plate = rho * pi / 4 * Dout * Dout * in.tp;
    m.stiffeners = in.n * rho * in.ts * in.hs * (Dout - in.tubeDiameter) / 2;
    m.caps = in.n * rho * in.tc * in.bc * (pi * in.D / in.n - in.ts);
    m.bolts = in.n * rho * pi / 4 * in.boltDiameter * in.boltDiameter *
              (in.la + in.hs + in.tc + boltProjection * in.boltDiameter);
    m.total = m.plate + m.stiffeners + m.caps + m.bolts;
    return m;
}

} // namespace tarvel
