#include "checks/femcase.h"

#include "checks/designbase.h"
#include "core/number.h"

#include <cmath>

namespace tarvel::fem {

BaseFemInput femInput(const InputTexts& inputs, const DesignData& data, const Detailing& t) {
    const BaseInput base = makeBaseInput(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]);
    BaseFemInput in;
    in.P = base.P;
    in.M = base.M;
    in.d = base.d;
    in.D = base.D;
    in.layout = layOutBolts(base);
    in.Dt = t.Dt;
    in.tw = t.tw;
    in.tp = t.tp;
    in.boltDiameter = data.bolt.diameter;
    in.ae = data.ae;
    in.Ec = steelModulus / data.nE;
    in.depth = data.input.femDepth;
    in.mesh = data.input.femMesh;
    in.hole = data.input.plateHole;
    return in;
}

namespace {

// A plate check on the model's largest surface stress over its part of the plate, in place of
// the panel formula.
Check plateCheck(CheckId id, const StressPeak& peak, const Detailing& t) {
    const double capacity = strengthAt(t.plateSteel, t.tp).f;
    Check k = makeCheck(id, peak.value, twoDecimals(peak.value), capacity);
    k.formula = "板有限元法，单元中心弯矩：{σ} = 6/{t|p}²·√({M|x}² − {M|x}·{M|y} + {M|y}² + "
                "3{M|xy}²) = " +
                k.demandText + k.relation() + "f = " + k.capacityText + " N/mm²";
    k.remark = "最大应力位于" + peak.place + "（x = " + std::to_string(std::lround(peak.x)) +
               " mm，y = ±" + std::to_string(std::lround(peak.y)) + " mm）";
    if (!k.ok)
        k.remark += id == CheckId::PlateInside
                        ? "；管内底板抗弯不足，宜加厚底板、开中心孔或管内填充混凝土"
                        : "；底板厚度不足，宜加厚底板或增加加劲肋";
    return k;
}

} // namespace

ComputedCase computeFemCase(const InputTexts& inputs, const DesignInput& design, bool withChecks,
                            const FemProgress& progress) {
    ComputedCase out;
    out.inputs = inputs;
    out.shownMethod = AnalysisMethod::Fem;
    TextSink sink;
    try {
        const DesignData data = resolveDesign(design);
        if (!data.input.detailing)
            throw TarvelError(ErrorKind::OutOfRange, InputField::tube,
                              "板有限元法需要钢管柱脚的构造参数（--tube 钢管 外径x壁厚）");
        if (withChecks) requireRealBase(inputs);
        checkDetailingFits(data, inputs);
        const BaseInput base = makeBaseInput(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]);
        const Detailing t =
            resolveDetailing(*data.input.detailing, base.d, base.D, base.n, data.bolt.diameter);
        auto solution =
            std::make_shared<FemSolution>(solveBaseFem(femInput(inputs, data, t), progress));
        if (solution->refused) {
            out.status = CaseStatus::Refused;
            out.message = solution->message;
        } else {
            makeCompatibilityResults(solution->state, sink);
            out.status = CaseStatus::Ok;
            out.boltForces = solution->state.boltForces;
            if (withChecks) {
                DesignInput byFem = design;
                byFem.method = AnalysisMethod::Fem;
                out.checks = checkDesign(analyze(inputs), inputs, sink.result(), byFem);
                Check& plate = out.checks.checks[static_cast<int>(CheckId::Plate)];
                // The panels take the largest stress outside the tube's mid-wall circle, the
                // plate inside it the largest within: together the largest over the plate. A
                // filled tube's infill carries the plate inside, which the model leaves out.
                if (plate.checked)
                    plate = plateCheck(CheckId::Plate,
                                       peakStress(*solution, StressRegion::OutsideTube), t);
                Check& inside = out.checks.checks[static_cast<int>(CheckId::PlateInside)];
                if (inside.checked && !t.input.infill)
                    inside = plateCheck(CheckId::PlateInside,
                                        peakStress(*solution, StressRegion::InsideTube), t);
                out.checks.ok = true;
                for (const Check& c : out.checks.checks)
                    out.checks.ok = out.checks.ok && c.ok;
                out.hasChecks = true;
            }
            out.fem = std::move(solution);
        }
    } catch (const TarvelError& e) {
        out.status = CaseStatus::Error;
        out.message = e.what();
    }
    out.result = sink.result();
    out.written = sink.order();
    return out;
}

} // namespace tarvel::fem
