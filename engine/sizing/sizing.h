#pragma once

#include "checks/checks.h"
#include "project/project.h"
#include "sizing/basemass.h"
#include "sizing/sizingmethod.h"
#include "sizing/sizingranges.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvel {

// One base the sizing found: its geometry, bolt and parts, mm.
struct SizedDesign {
    double d = 0, D = 0;
    int n = 0;
    std::string bolt;
    double tp = 0, ts = 0, hs = 0, tc = 0, bc = 0, hf = 0, hfs = 0, la = 0;
    // The column weld is a full-penetration butt weld of the tube's strength (hf unused): the
    // sizing takes it when no fillet of the list both carries the tube and fits its wall.
    bool fullPenetration = false;
    BaseMass mass;
    // The largest ratio of every check of every combination, as the project computes it.
    CheckId governing = CheckId::Bolt;
    // The combination's name (or 组合 k when it has none); empty when the governing check is
    // the same in every combination (the anchorage, the detailing rules).
    std::string governingCase;
    double ratio = 0;
};

struct SizingResult {
    std::vector<SizedDesign> designs; // lightest first
    std::size_t geometries = 0;       // geometries (d, D, n) of the ranges
    std::size_t tried = 0;            // candidates (geometry × bolt size) looked at
    // Candidates rejected, by the check that rejected them first; plus those where a
    // combination was refused (full tension) or could not be computed.
    std::array<std::size_t, checkCount> rejectedBy{};
    std::size_t refused = 0, failed = 0;
    // Designs the search passed but the project's own computation did not (counted in
    // rejectedBy too); always 0 unless the two disagree.
    std::size_t unconfirmed = 0;
    bool cancelled = false;
    // Why nothing can pass whatever is sized (the tube, or the tube weld at the largest leg
    // of the list), naming the combination; empty otherwise.
    std::string blocked;
    std::size_t rejected() const;
};

struct SizingOptions {
    int top = 10;         // designs listed
    unsigned threads = 0; // 0: every core
    // Called from a worker as geometries finish (done, total); keep it cheap.
    std::function<void(std::size_t done, std::size_t total)> progress;
    const std::atomic<bool>* cancel = nullptr;
    // The analysis; none: the project's own method (sizingMethodFor).
    std::optional<SizingMethod> method;
};

constexpr int maxSizingTop = 1000;

// The lightest bases for the project's column, materials and load combinations over the
// ranges (the project's own when `ranges` is its sizing). Every check of every combination of
// a listed design holds, equilibrium included. Throws TarvelError when the project has no
// tube (InputField::tube), no load combination, a V that is no number, or bad ranges.
SizingResult sizeBase(const Project& project, const SizingRanges& ranges,
                      const SizingOptions& options = {});

// The project with a design applied: the geometry and the detailing it sizes.
Project withDesign(const Project& project, const SizedDesign& design);

// Texts of a design's parts as the detailing options take them.
std::string stiffenerText(const SizedDesign& design); // t_s x h_s
std::string capText(const SizedDesign& design);       // t_c x b_c
std::string weldText(const SizedDesign& design);      // h_f, or "full" for a butt weld

} // namespace tarvel
