#include "sizing/sizingtally.h"

namespace tarvel {

const char* const massFormula =
    "质量(kg) = 底板 ρ·π/4·Dout²·tp + 加劲肋 n·ρ·ts·hs·(Dout − Dt)/2 + 锚栓顶板 "
    "n·ρ·tc·bc·(π·D/n − ts) + 锚栓 n·ρ·π/4·db²·(la + hs + tc + 2db)，"
    "Dout = max(d, D + 3db)，ρ = 7.85×10⁻⁶ kg/mm³";

std::vector<Rejection> sizingRejections(const SizingResult& r) {
    std::vector<Rejection> out;
    for (const CheckDefinition& def : checkDefinitions())
        if (const std::size_t n = r.rejectedBy[static_cast<int>(def.id)])
            out.push_back({def.key, def.title, n});
    if (r.refused) out.push_back({"refused", fullTensionMessage, r.refused});
    if (r.failed) out.push_back({"error", "计算失败", r.failed});
    return out;
}

} // namespace tarvel
