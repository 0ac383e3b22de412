#pragma once

#include "checks/design.h"
#include "core/error.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// min:max:step in mm, both ends included when the steps reach them.
struct SizingRange {
    double min = 0, max = 0, step = 0;
    bool operator==(const SizingRange&) const = default;
};

// What the sizing may choose from. d is by default derived from the tube (D_t + 100 to
// 2·D_t); every other list has a fixed default. b_c and the materials stay as the project has
// them.
struct SizingRanges {
    std::vector<std::string> bolts{"M24", "M27", "M30", "M33", "M36", "M39", "M42",
                                   "M45", "M48", "M52", "M56", "M60", "M64"};
    std::vector<int> counts{8, 12, 16, 18, 20, 24, 28, 32, 36};
    std::optional<SizingRange> d;    // nothing: from the tube
    SizingRange offset{60, 400, 20}; // D − d
    std::vector<double> thicknesses{16, 18, 20, 22, 25, 28, 30, 32, 36, 40,
                                    45, 50, 55, 60, 65, 70, 75, 80, 90, 100}; // t_p, t_s, t_c
    SizingRange stiffenerHeights{200, 600, 50};                               // h_s
    std::vector<double> welds{6, 8, 10, 12, 14, 16};                          // h_f, h_fs
    bool operator==(const SizingRanges&) const = default;
};

// The d range for a tube of outer diameter D_t when none is given.
SizingRange defaultDRange(double tubeDiameter);

// The ranges resolved into the values tried, each list ascending and without repeats.
struct SizingGrid {
    std::vector<BoltSize> bolts;
    std::vector<int> counts;
    std::vector<double> ds, offsets, thicknesses, heights, welds;
    std::size_t geometries() const { return ds.size() * offsets.size() * counts.size(); }
};

// More geometries than this would take hours: such ranges are refused.
constexpr double maxSizingGeometries = 1e7;

// Checks the ranges and lists them out. Throws TarvelError naming the range
// (InputField::sizingBolts …) for an empty list, min > max, a step ≤ 0, a value that is no
// positive number, an unknown bolt size, or more than 10 million geometries.
SizingGrid resolveSizing(const SizingRanges& ranges, double tubeDiameter);

// Reads the text of a range or list as the command takes it: "M24,M30", "8,12,16",
// "1200:1600:20", "16,20,25". A malformed text is an error naming `field`.
void setSizingText(SizingRanges& ranges, InputField field, std::string_view text);

// The text of a range or list, as setSizingText reads it (the d range from the tube when
// the ranges leave it to the tube).
std::string sizingText(const SizingRanges& ranges, InputField field, double tubeDiameter);

} // namespace tarvel
