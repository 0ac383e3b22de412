#pragma once

namespace tarvel {

struct DesignInput;

// The bearing area under the plate: the disc of diameter d, or the annulus around a hole of
// diameter `hole` (0 for none). Lengths in mm.
double bearingArea(double d, double hole = 0);

// The part of the bearing area beyond the line x = s (x from the plate's centre) and its first
// moment about the centre: the compressed segment of a neutral axis at s.
struct Segment {
    double area = 0;   // mm²
    double moment = 0; // mm³, positive towards the compressed edge
};
Segment bearingSegment(double d, double hole, double s);

// β_l = √(A_b/A_l) of a square pedestal of side B concentric with the plate: A_b is the
// concentric square's inscribed disc of diameter min(3d, B), A_l the bearing area.
double pedestalBetaL(double d, double B, double hole = 0);

// β_l as the checks take it: from the pedestal when one is given, else as typed.
double effectiveBetaL(const DesignInput& design, double d);

// The bolt-to-edge distance a pedestal must leave, max(4·d_b, 150 mm).
double pedestalEdgeRequired(double boltDiameter);

} // namespace tarvel
