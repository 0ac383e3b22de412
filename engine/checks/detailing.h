#pragma once

#include "core/error.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The steel parts of the base as the figure draws them: the tube on the base plate, a radial
// stiffener midway between each pair of neighbouring bolts, and over each bolt a cap plate
// spanning between its two stiffeners. Sizes are in mm, as typed.
struct DetailingInput {
    std::string tube; // "1020x16": outer diameter D_t × wall t_w
    std::string tubeSteel = "Q355";
    double plate = 30;                // base-plate thickness t_p
    std::string plateSteel = "Q355";  // plate, stiffeners and cap plates
    std::string stiffener = "20x400"; // t_s × h_s
    std::string cap = "30x240";       // t_c × b_c (b_c radial)
    double weld = 12;                 // tube-to-plate fillet leg h_f
    double stiffenerWeld = 10;        // stiffener fillet leg h_fs
    std::string electrode = "E50";
    double anchorage = 1000; // provided anchorage length l_a
    // The shear key under the plate, "300x200x30": width b_k across the shear × depth h_k
    // below the plate × thickness t_k; empty for none. The grout layer g under the plate and
    // the key's fillet leg h_fk.
    std::string shearKey;
    double grout = 50;
    double shearKeyWeld = 10;
    bool infill = false;     // a concrete-filled tube: the infill carries the plate inside it
    // The column weld is a full-penetration butt weld of the tube's strength ("weld": "full"),
    // not a fillet h_f.
    bool fullPenetration = false;
    bool operator==(const DetailingInput&) const = default;
};

struct PlateSteel {
    const char* name; // "Q355"
    // Design strength f, shear strength f_v and yield strength f_y (N/mm²) up to each
    // thickness (mm).
    struct Band {
        double maxThickness, f, fv, fy;
    };
    std::vector<Band> bands;
};
struct Electrode {
    const char* name;      // "E50"
    double filletStrength; // f_f^w, N/mm²
};

const std::vector<PlateSteel>& plateSteels();
const std::vector<Electrode>& electrodes();

// The thickest plate the strength tables cover.
constexpr double maxPlateThickness = 100;
// The bolt hole is this much wider than the bolt.
constexpr double boltHoleClearance = 5;
// Fillet welds: the end-fillet enhancement of the normal stress.
constexpr double filletBetaF = 1.22;

// Strength of a steel at a thickness: the band that holds t.
PlateSteel::Band strengthAt(const PlateSteel& steel, double thickness);

// The anchorage length factor k (l = k·d_b) by bolt steel and concrete grade.
double anchorageFactor(std::string_view boltSteel, std::string_view concrete);

// The base plate's outer diameter D_out: the compression circle d, or the bolt circle with
// 1.5 bolt diameters beyond it on each side.
double plateOuterDiameter(double d, double D, double boltDiameter);

// The smallest fillet leg for the thicker of the parts it joins.
double minimumFilletLeg(double thickness);

// The detailing read into numbers and checked against the base it sits on. Throws
// TarvelError naming the input for a malformed size, a thickness out of range, an unknown
// steel or electrode, or parts that do not fit the base (D_t ≥ d, D ≤ D_t, 2t_w ≥ D_t, no
// clear span between the stiffeners, a cap plate no wider than the hole, a stiffener no
// higher than its two welds).
struct Detailing {
    DetailingInput input;
    double Dt = 0, tw = 0;
    PlateSteel tubeSteel, plateSteel;
    double tp = 0, ts = 0, hs = 0, tc = 0, bc = 0, hf = 0, hfs = 0, la = 0;
    Electrode electrode{};
    bool hasKey = false;
    double bk = 0, hk = 0, tk = 0, grout = 0, hfk = 0;
};
Detailing resolveDetailing(const DetailingInput& input, double d, double D, int n,
                           double boltDiameter);
// The part of it that needs no base: sizes, thicknesses, steels and the electrode.
Detailing readDetailing(const DetailingInput& input);

// Reads "AxB" (x, X, × or *), both parts numbers, naming `field` when it is malformed.
struct SizePair {
    double a = 0, b = 0;
};
SizePair parseSizePair(std::string_view text, InputField field);
// Reads "AxBxC" the same way.
struct SizeTriple {
    double a = 0, b = 0, c = 0;
};
SizeTriple parseSizeTriple(std::string_view text, InputField field);

} // namespace tarvel
