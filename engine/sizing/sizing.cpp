#include "sizing/sizing.h"

#include "checks/bearingarea.h"
#include "checks/checkfunctions.h"
#include "core/number.h"
#include "core/workers.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <thread>

namespace tarvel {

namespace {

using namespace checks; // the checks' numbers, each rule written once
// The anchorage is the required length rounded up to this, mm.
constexpr double anchorageRounding = 10;
// Spare candidates kept beyond the top N, should the recomputation refuse one.
constexpr std::size_t spareCandidates = 20;

bool passes(double demand, double capacity) {
    return checkRatio(demand, capacity) <= 1;
}

// A load combination as the checks read it.
struct Load {
    std::string name, P, M;     // texts
    double p = 0, m = 0, v = 0; // P (kN), |M| (kN·m), |V| (kN)
};

// What every worker reads.
struct Setup {
    const Project* project = nullptr;
    DesignData data;
    Detailing parts; // tube, steels, electrode, b_c
    SizingGrid grid;
    std::vector<Load> loads;      // in the order they are computed
    std::vector<char> weldPasses; // by grid.welds: the tube weld holds in every combination
    bool tubePasses = true;
    bool buttPasses = true; // a full-penetration weld of the tube's strength holds everywhere
    std::string blocked;    // why nothing sized can pass
    double anchorageK = 0;
};

std::string caseName(const ProjectLoad& load, std::size_t k) {
    return load.name.empty() ? "组合 " + std::to_string(k + 1) : load.name;
}

Setup prepare(const Project& project, const SizingRanges& ranges) {
    if (!project.design.detailing)
        throw TarvelError(ErrorKind::OutOfRange, InputField::tube,
                          "优化选型需要钢管柱脚的构造参数：项目中没有给出钢管「钢管 Dt×tw(mm)」");
    if (project.loads.empty())
        throw TarvelError(ErrorKind::OutOfRange, InputField::None, "项目中没有荷载组合");
    Setup s;
    s.project = &project;
    s.data = resolveDesign(project.design);
    s.parts = readDetailing(*project.design.detailing);
    s.grid = resolveSizing(ranges, s.parts.Dt);
    s.anchorageK = anchorageFactor(s.data.steel.name, s.data.concrete.name);
    for (std::size_t k = 0; k < project.loads.size(); ++k) {
        const ProjectLoad& l = project.loads[k];
        Load load{caseName(l, k), l.P, l.M};
        try {
            load.p = textToNumber(l.P, InputField::P);
            load.m = std::fabs(textToNumber(l.M, InputField::M));
            LoadCase c;
            c.V = l.V;
            load.v = std::fabs(caseDesign(c, project.design).V);
        } catch (const TarvelError& e) {
            throw TarvelError(e.kind(), e.field(), "荷载组合「" + load.name + "」：" + e.what());
        }
        s.loads.push_back(std::move(load));
    }
    // The combination with the largest moment first: it rejects most geometries soonest.
    std::stable_sort(s.loads.begin(), s.loads.end(),
                     [](const Load& a, const Load& b) { return a.m > b.m; });

    const Detailing& t = s.parts;
    for (const Load& l : s.loads) {
        const double stress = tubeStress(t.Dt, t.tw, l.p, l.m).stress;
        const double f = strengthAt(t.tubeSteel, t.tw).f;
        if (s.tubePasses && !passes(stress, f))
            s.blocked = "钢管 " + t.input.tube + " 在荷载组合「" + l.name + "」下应力 " +
                        twoDecimals(stress) + " N/mm² 超过 f = " + numberToText(f) +
                        " N/mm²；钢管不在优化范围内，请加大钢管或提高钢材牌号";
        s.tubePasses = s.tubePasses && passes(stress, f);
        const PlateSteel::Band band = strengthAt(t.tubeSteel, t.tw);
        s.buttPasses = s.buttPasses && passes(stress, band.f) &&
                       passes(tubePeakShear(l.v, tubeStress(t.Dt, t.tw, l.p, l.m).A), band.fv);
    }
    for (double hf : s.grid.welds) {
        bool ok = true;
        for (const Load& l : s.loads) {
            ok = ok && (t.input.fullPenetration ||
                        passes(columnWeldStress(hf, t.Dt, l.p, l.m, l.v).demand,
                               t.electrode.filletStrength));
        }
        s.weldPasses.push_back(ok);
    }
    if (s.blocked.empty() && !s.buttPasses && !s.weldPasses.empty() && !s.weldPasses.back())
        s.blocked = "柱底焊缝取焊脚列表中最大的 " + numberToText(s.grid.welds.back()) +
                    " mm 仍不满足全部荷载组合，请加大焊脚";
    return s;
}

struct Geometry {
    std::string dText, DText, nText;
    double d = 0, D = 0;
    int n = 0;
};

// The worst of every combination of one geometry, for one group of bolt sizes.
struct Demands {
    double T = 0;       // kN, bolt 1
    double sigma = 0;   // N/mm², bearing edge stress
    double qInside = 0; // N/mm², bearing at the tube wall, on the plate inside the tube
};

enum class Reject { None, Check, Refused, Failed };
struct Verdict {
    Reject reject = Reject::None;
    CheckId check = CheckId::Bolt;
};

double boltCapacity(const DesignData& data, const BoltSize& bolt) {
    return boltTensionCapacity(effectiveArea(bolt), data.steel.tensileDesign);
}

// Every combination through the method; stops at the first that rules the geometry out
// for every bolt of the group (the largest of them being `largest`).
Verdict loadDemands(const Setup& s, const SizingMethod& method, const Geometry& g,
                    const BoltSize& largest, std::vector<int>& order, Demands& out) {
    const double boltLimit = boltCapacity(s.data, largest);
    // β_l as the bearing check takes it: from a pedestal it depends on d.
    const double bearingLimit =
        bearingCapacity(effectiveBetaL(s.data.input, g.d), s.data.concrete.compressiveDesign);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Load& l = s.loads[order[i]];
        // The combination that rules a geometry out is tried first on the next one.
        auto rejected = [&](Verdict v) {
            std::rotate(order.begin(), order.begin() + i, order.begin() + i + 1);
            return v;
        };
        const CaseDemands r = method.compute({l.P, l.M, g.dText, g.DText, g.nText}, largest);
        if (r.status == CaseStatus::Refused) return rejected({Reject::Refused});
        if (r.status == CaseStatus::Error) return rejected({Reject::Failed});
        if (!passes(r.T, boltLimit)) return rejected({Reject::Check, CheckId::Bolt});
        if (!passes(r.sigma, bearingLimit)) return rejected({Reject::Check, CheckId::Bearing});
        if (!passes(l.v, r.shearCapacity)) return rejected({Reject::Check, CheckId::Shear});
        if (!passes(r.miss, equilibriumTolerance))
            return rejected({Reject::Check, CheckId::Equilibrium});
        out.T = std::max(out.T, r.T);
        out.sigma = std::max(out.sigma, r.sigma);
        for (const EdgeBearing& e : r.edges)
            out.qInside = std::max(out.qInside, tubeWallPressure(e.sigma, e.x, g.d, s.parts.Dt));
    }
    return {};
}

double plateStrength(const Setup& s, double t) {
    return strengthAt(s.parts.plateSteel, t).f;
}

// The parts of one geometry that do not depend on the bolt, for each t_s of the list.
struct StiffenerChoice {
    int hs = -1, hfs = -1; // indices into the grid; -1: none
};
struct PlateChoices {
    bool fits = false; // a1 > 0 and l > 0
    int tp = -1, hf = -1;
    bool full = false;                    // the column weld is a full-penetration butt weld
    std::vector<StiffenerChoice> heights; // by h_s; hs -1 where the stiffener fails
    bool anyStiffener = false, anyStiffenerWeld = false;
};

std::vector<PlateChoices> boltFreeParts(const Setup& s, const Geometry& g, const Demands& dem) {
    const Detailing& t = s.parts;
    const SizingGrid& grid = s.grid;
    std::vector<PlateChoices> out(grid.thicknesses.size());
    const std::array<StiffenerSide, 2> sides =
        stiffenerSides(g.d, g.D, g.n, t.Dt, dem.T, dem.sigma);
    const double insideM = insidePlateMoment(dem.qInside, t.Dt / 2 - t.tw, s.data.input.plateHole);
    for (std::size_t i = 0; i < grid.thicknesses.size(); ++i) {
        const double ts = grid.thicknesses[i];
        PlateChoices& c = out[i];
        const PlateBending plate = plateBending(g.d, g.n, t.Dt, ts, dem.sigma);
        c.fits = plate.a1 > 0 && capSpan(g.D, g.n, ts) > 0;
        if (!c.fits) continue;
        for (std::size_t k = 0; k < grid.thicknesses.size() && c.tp < 0; ++k) {
            const double tp = grid.thicknesses[k];
            const double inside = t.input.infill ? 0 : plateStress(insideM, tp);
            if (passes(plateStress(plate.M, tp), plateStrength(s, tp)) &&
                passes(minBasePlate, tp) && passes(inside, plateStrength(s, tp)))
                c.tp = static_cast<int>(k);
        }
        if (c.tp < 0) continue;
        // The lightest fillet that carries the tube and fits the thinner part it joins; past
        // the largest, a full-penetration butt weld when the tube carries itself.
        const double tp = grid.thicknesses[c.tp];
        const double hfMin = minimumColumnWeld(tp, t.tw);
        const double hfMax = maximumFilletLeg(std::min(t.tw, tp));
        if (t.input.fullPenetration) {
            c.full = true;
        } else {
            for (std::size_t k = 0; k < grid.welds.size() && c.hf < 0; ++k)
                if (s.weldPasses[k] && passes(hfMin, grid.welds[k]) && passes(grid.welds[k], hfMax))
                    c.hf = static_cast<int>(k);
            c.full = c.hf < 0 && s.buttPasses;
        }
        if (c.hf < 0 && !c.full) continue;
        const PlateSteel::Band band = strengthAt(t.plateSteel, ts);
        const double hfsMin = minimumStiffenerWeld(ts, t.tw);
        c.heights.resize(grid.heights.size());
        for (std::size_t h = 0; h < grid.heights.size(); ++h) {
            const double hs = grid.heights[h];
            bool ok = true;
            for (const StiffenerSide& side : sides)
                for (const auto& [demand, capacity] :
                     stiffenerTerms(stiffenerStress(side, ts, hs), band))
                    ok = ok && passes(demand, capacity);
            if (!ok) continue;
            c.anyStiffener = true;
            for (std::size_t k = 0; k < grid.welds.size(); ++k) {
                const double hfs = grid.welds[k];
                if (!(hs > 2 * hfs) || !passes(hfsMin, hfs)) continue;
                bool weldOk = true;
                for (const StiffenerSide& side : sides)
                    weldOk = weldOk && passes(stiffenerWeldStress(side, hfs, hs).demand,
                                              t.electrode.filletStrength);
                if (!weldOk) continue;
                c.heights[h] = {static_cast<int>(h), static_cast<int>(k)};
                c.anyStiffenerWeld = true;
                break;
            }
        }
    }
    return out;
}

// How far the best t_s got, in the order of the parts: what rejected the candidate.
CheckId furthestFailure(int stage) {
    static const CheckId order[] = {CheckId::Detailing, CheckId::Plate,     CheckId::ColumnWeld,
                                    CheckId::Cap,       CheckId::Stiffener, CheckId::StiffenerWeld};
    return order[std::clamp(stage, 0, 5)];
}

// The welds of the stiffener's foot and of the cap plates, and the detailing rules, through
// the checks' own functions: the first of them that rules the design out, if any.
std::optional<CheckId> weldsAndRules(const Setup& s, const Geometry& g, const BoltSize& bolt,
                                     const Demands& dem, const SizedDesign& d) {
    Detailing parts = s.parts;
    parts.tp = d.tp;
    parts.ts = d.ts;
    parts.hs = d.hs;
    parts.tc = d.tc;
    parts.hf = d.hf;
    parts.hfs = d.hfs;
    parts.input.fullPenetration = d.fullPenetration;
    const double Dout = plateOuterDiameter(g.d, g.D, bolt.diameter);
    const double plateWeld = stiffenerPlateWeldLength(parts, Dout);
    const double capWeld = capWeldLength(parts);
    const double fw = parts.electrode.filletStrength;
    const StiffenerSide compression = stiffenerSides(g.d, g.D, g.n, parts.Dt, dem.T, dem.sigma)[1];
    if (!(plateWeld > 0) || !passes(twoFilletShear(compression.V, d.hfs, plateWeld), fw))
        return CheckId::StiffenerPlateWeld;
    if (!(capWeld > 0) || !passes(twoFilletShear(capWeldForce(dem.T), d.hfs, capWeld), fw))
        return CheckId::CapWeld;
    for (const DetailingRule& r :
         detailingRules(parts, g.d, g.D, g.n, bolt.diameter, s.data.input.pedestal))
        if (!passes(r.required, r.provided)) return CheckId::Detailing;
    return std::nullopt;
}

// The lightest design of a geometry and a bolt, or the check that rules it out.
bool lightest(const Setup& s, const Geometry& g, const BoltSize& bolt, const Demands& dem,
              const std::vector<PlateChoices>& plates, SizedDesign& best, CheckId& why) {
    const Detailing& t = s.parts;
    const SizingGrid& grid = s.grid;
    if (!passes(dem.T, boltCapacity(s.data, bolt))) {
        why = CheckId::Bolt;
        return false;
    }
    const double d0 = boltHole(bolt.diameter);
    if (!(t.bc > d0)) {
        why = CheckId::Cap;
        return false;
    }
    const double required = requiredAnchorage(s.anchorageK, bolt.diameter);
    const double la = std::ceil(required / anchorageRounding) * anchorageRounding;
    int stage = 0;
    std::optional<CheckId> ruledOut; // by a weld or a rule, once every part was found
    bool found = false;
    for (std::size_t i = 0; i < plates.size(); ++i) {
        const PlateChoices& c = plates[i];
        if (!c.fits) continue;
        const bool weld = c.hf >= 0 || c.full;
        stage = std::max(stage, c.tp < 0 ? 1 : !weld ? 2 : 3);
        if (c.tp < 0 || !weld) continue;
        const double ts = grid.thicknesses[i];
        const double M = capMoment(dem.T, capSpan(g.D, g.n, ts));
        int tc = -1;
        for (std::size_t k = 0; k < grid.thicknesses.size() && tc < 0; ++k) {
            const double thick = grid.thicknesses[k];
            if (passes(capStress(M, t.bc, d0, thick), plateStrength(s, thick)))
                tc = static_cast<int>(k);
        }
        if (tc < 0) continue;
        stage = std::max(stage, !c.anyStiffener ? 4 : !c.anyStiffenerWeld ? 5 : 6);
        for (const StiffenerChoice& h : c.heights) {
            if (h.hs < 0) continue;
            SizedDesign design;
            design.d = g.d;
            design.D = g.D;
            design.n = g.n;
            design.bolt = bolt.name;
            design.tp = grid.thicknesses[c.tp];
            design.ts = ts;
            design.hs = grid.heights[h.hs];
            design.tc = grid.thicknesses[tc];
            design.bc = t.bc;
            design.fullPenetration = c.full;
            design.hf = c.full ? 0 : grid.welds[c.hf];
            design.hfs = grid.welds[h.hfs];
            design.la = la;
            if (const std::optional<CheckId> out = weldsAndRules(s, g, bolt, dem, design)) {
                ruledOut = *out;
                continue;
            }
            design.mass = baseMass({g.d, g.D, g.n, bolt.diameter, t.Dt, design.tp, ts, design.hs,
                                    design.tc, t.bc, la});
            if (!found || design.mass.total < best.mass.total) best = std::move(design);
            found = true;
        }
    }
    if (!found) why = stage == 6 && ruledOut ? *ruledOut : furthestFailure(stage);
    return found;
}

// Lighter first; equal masses in a fixed order, so that the list does not depend on threads.
bool lighter(const SizedDesign& a, const SizedDesign& b) {
    if (a.mass.total != b.mass.total) return a.mass.total < b.mass.total;
    if (a.d != b.d) return a.d < b.d;
    if (a.D != b.D) return a.D < b.D;
    if (a.n != b.n) return a.n < b.n;
    return a.bolt < b.bolt;
}

struct Tally {
    std::size_t tried = 0, refused = 0, failed = 0;
    std::size_t passed = 0; // candidates the search passed, kept or not
    std::array<std::size_t, checkCount> rejectedBy{};
    std::vector<SizedDesign> kept;
    void add(const Tally& o) {
        tried += o.tried;
        passed += o.passed;
        refused += o.refused;
        failed += o.failed;
        for (int c = 0; c < checkCount; ++c)
            rejectedBy[c] += o.rejectedBy[c];
        kept.insert(kept.end(), o.kept.begin(), o.kept.end());
    }
    void reject(const Verdict& v, std::size_t candidates) {
        if (v.reject == Reject::Refused)
            refused += candidates;
        else if (v.reject == Reject::Failed)
            failed += candidates;
        else
            rejectedBy[static_cast<int>(v.check)] += candidates;
    }
    void trim(std::size_t keep) {
        std::sort(kept.begin(), kept.end(), lighter);
        if (kept.size() > keep) kept.resize(keep);
    }
};

void sizeGeometry(const Setup& s, const SizingMethod& method, const Geometry& g,
                  std::vector<int>& order, Tally& tally) {
    const std::vector<BoltSize>& bolts = s.grid.bolts;
    tally.tried += bolts.size();
    // The tube and its weld are the same for every geometry: when they fail (no fillet of the
    // list and no butt weld), nothing sized can pass.
    if (!s.tubePasses) {
        tally.reject({Reject::Check, CheckId::Tube}, bolts.size());
        return;
    }
    if (!s.buttPasses &&
        std::none_of(s.weldPasses.begin(), s.weldPasses.end(), [](char ok) { return ok; })) {
        tally.reject({Reject::Check, CheckId::ColumnWeld}, bolts.size());
        return;
    }
    // The parts must fit the base before anything is computed.
    if (!(s.parts.Dt < g.d) || !(g.D > s.parts.Dt)) {
        tally.reject({Reject::Check, CheckId::Detailing}, bolts.size());
        return;
    }
    // Bolts that share the method's texts: all of them, or each alone.
    const std::size_t groupSize = method.dependsOnBolt ? 1 : bolts.size();
    for (std::size_t first = 0; first < bolts.size(); first += groupSize) {
        const std::size_t last = std::min(bolts.size(), first + groupSize);
        Demands dem;
        const Verdict v = loadDemands(s, method, g, bolts[last - 1], order, dem);
        if (v.reject != Reject::None) {
            tally.reject(v, last - first);
            continue;
        }
        const std::vector<PlateChoices> plates = boltFreeParts(s, g, dem);
        for (std::size_t b = first; b < last; ++b) {
            SizedDesign design;
            CheckId why{};
            if (lightest(s, g, bolts[b], dem, plates, design, why)) {
                ++tally.passed;
                tally.kept.push_back(std::move(design));
            } else
                tally.reject({Reject::Check, why}, 1);
        }
    }
}

// The checks of a design as the project computes them: every combination, every check.
bool confirm(const Project& project, SizedDesign& design, unsigned threads, CheckId& failed) {
    const Project p = withDesign(project, design);
    BatchOptions options;
    options.withChecks = true;
    options.threads = threads;
    const std::vector<LoadCase> cases = projectCases(p);
    const auto outcomes = runBatch(cases, p.design, options);
    bool first = true;
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        const auto& o = outcomes[k];
        if (!o || o->status != CaseStatus::Ok || !o->hasChecks) {
            failed = CheckId::Equilibrium;
            return false;
        }
        for (const Check* c : o->checks.made()) {
            if (!c->ok) {
                failed = c->id;
                return false;
            }
            if (first || c->ratio > design.ratio) {
                first = false;
                design.ratio = c->ratio;
                design.governing = c->id;
                // A check the same in every combination has none that governs it.
                design.governingCase = checkDefinition(c->id).dependsOnLoad
                                           ? caseName(project.loads[k], k)
                                           : std::string();
            }
        }
    }
    return true;
}

} // namespace

std::size_t SizingResult::rejected() const {
    std::size_t total = refused + failed;
    for (std::size_t r : rejectedBy)
        total += r;
    return total;
}

SizingResult sizeBase(const Project& project, const SizingRanges& ranges,
                      const SizingOptions& options) {
    const Setup s = prepare(project, ranges);
    const SizingGrid& grid = s.grid;
    const std::size_t top = static_cast<std::size_t>(std::clamp(options.top, 1, maxSizingTop));
    const std::size_t total = grid.geometries();
    const unsigned cores =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());

    const SizingMethod method = options.method ? *options.method : sizingMethodFor(project.design);
    auto cancelled = [&] { return options.cancel && options.cancel->load(); };
    // Every candidate the search passes, the lightest `keep` of them in the order of
    // `lighter`: each worker keeps its own lightest, so that the union holds the lightest of
    // all whatever the threads did.
    auto search = [&](std::size_t keep) {
        std::atomic<std::size_t> next{0}, done{0};
        std::mutex merge;
        Tally all;
        // A unit of work is one (d, D − d) with every n: the order of the combinations adapts
        // within a unit only, so that what is tried does not depend on the threads.
        const std::size_t units = grid.ds.size() * grid.offsets.size();
        auto worker = [&] {
            Tally mine;
            std::vector<int> order(s.loads.size());
            for (std::size_t k; !cancelled() && (k = next++) < units;) {
                const std::size_t oi = k % grid.offsets.size();
                const std::size_t di = k / grid.offsets.size();
                for (std::size_t i = 0; i < order.size(); ++i)
                    order[i] = static_cast<int>(i);
                for (std::size_t ni = 0; ni < grid.counts.size() && !cancelled(); ++ni) {
                    Geometry g;
                    g.dText = numberToText(grid.ds[di]);
                    g.DText = numberToText(grid.ds[di] + grid.offsets[oi]);
                    g.nText = std::to_string(grid.counts[ni]);
                    // The numbers the checks read are those of the texts.
                    g.d = textToNumber(g.dText);
                    g.D = textToNumber(g.DText);
                    g.n = grid.counts[ni];
                    sizeGeometry(s, method, g, order, mine);
                    if (mine.kept.size() > 4 * keep) mine.trim(keep);
                    const std::size_t finished = ++done;
                    if (options.progress) options.progress(finished, total);
                }
            }
            mine.trim(keep);
            const std::lock_guard<std::mutex> lock(merge);
            all.add(mine);
        };
        detail::runOnCores(cores, units, worker);
        // Beyond the lightest `keep` the union depends on which worker took which unit.
        all.trim(keep);
        return all;
    };

    SizingResult out;
    out.geometries = total;
    out.blocked = s.blocked;
    Tally all = search(top + spareCandidates);
    // A listed design is one the project's own computation passes. Should the spares run
    // out before `top` are confirmed while the search passed more, the search runs again
    // keeping more: the lightest designs come in the same order, so the confirmed ones stay.
    std::size_t confirmed = 0;
    for (;;) {
        for (; confirmed < all.kept.size() && out.designs.size() < top && !cancelled();
             ++confirmed) {
            SizedDesign design = all.kept[confirmed];
            CheckId failed{};
            if (confirm(project, design, cores, failed)) {
                out.designs.push_back(std::move(design));
            } else {
                ++out.rejectedBy[static_cast<int>(failed)];
                ++out.unconfirmed;
            }
        }
        if (out.designs.size() >= top || cancelled() || all.passed <= all.kept.size()) break;
        all = search(2 * all.kept.size());
    }
    out.cancelled = cancelled();
    out.tried = all.tried;
    for (int c = 0; c < checkCount; ++c)
        out.rejectedBy[c] += all.rejectedBy[c];
    out.refused = all.refused;
    out.failed = all.failed;
    return out;
}

std::string stiffenerText(const SizedDesign& d) {
    return numberToText(d.ts) + "x" + numberToText(d.hs);
}

std::string weldText(const SizedDesign& d) {
    return d.fullPenetration ? "full" : numberToText(d.hf);
}

std::string capText(const SizedDesign& d) {
    return numberToText(d.tc) + "x" + numberToText(d.bc);
}

Project withDesign(const Project& project, const SizedDesign& design) {
    Project p = project;
    p.d = numberToText(design.d);
    p.D = numberToText(design.D);
    p.n = std::to_string(design.n);
    p.design.bolt = design.bolt;
    DetailingInput& t = *p.design.detailing;
    t.plate = design.tp;
    t.stiffener = stiffenerText(design);
    t.cap = capText(design);
    t.fullPenetration = design.fullPenetration;
    if (!design.fullPenetration) t.weld = design.hf;
    t.stiffenerWeld = design.hfs;
    t.anchorage = design.la;
    return p;
}

} // namespace tarvel
