#include "optimize.h"

#include "core/number.h"
#include "sizing/sizingtally.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace tarvel::cli {

namespace {

using json = nlohmann::ordered_json;

std::string governingText(const SizedDesign& d) {
    const std::string key = checkDefinition(d.governing).key;
    return d.governingCase.empty() ? key : key + "@" + d.governingCase;
}

// The rejections with a count, most first.
std::vector<Rejection> rejections(const SizingResult& r) {
    std::vector<Rejection> out = sizingRejections(r);
    std::stable_sort(out.begin(), out.end(),
                     [](const Rejection& a, const Rejection& b) { return a.count > b.count; });
    return out;
}

json ratioJson(double ratio) {
    return std::isfinite(ratio) ? json(ratio) : json(nullptr);
}

} // namespace

SizingRanges sizingRanges(const Project& project, const Options& options) {
    SizingRanges r = project.sizing.value_or(SizingRanges{});
    for (const Options::SizingText& s : options.sizing) {
        try {
            setSizingText(r, s.field, s.text);
        } catch (const TarvelError& e) {
            throw TarvelError(e.kind(), e.field(), s.option + "：" + e.what());
        }
    }
    return r;
}

std::string sizingTable(const SizingResult& result) {
    std::string out = "rank\tmass\td\tD\tn\tbolt\tplate\tstiffener\tcap\tweld\tstiffener_weld\t"
                      "anchorage\tgoverning\tratio\n";
    int rank = 0;
    for (const SizedDesign& d : result.designs) {
        out += std::to_string(++rank) + '\t' + twoDecimals(d.mass.total) + '\t' +
               numberToText(d.d) + '\t' + numberToText(d.D) + '\t' + std::to_string(d.n) + '\t' +
               d.bolt + '\t' + numberToText(d.tp) + '\t' + stiffenerText(d) + '\t' + capText(d) +
               '\t' + weldText(d) + '\t' + numberToText(d.hfs) + '\t' + numberToText(d.la) +
               '\t' + governingText(d) + '\t' + ratioText(d.ratio) + '\n';
    }
    return out;
}

std::string sizingJson(const SizingResult& result, const SizingRanges& ranges,
                       double tubeDiameter) {
    json j;
    json designs = json::array();
    int rank = 0;
    for (const SizedDesign& d : result.designs) {
        // null: the governing check is the same in every combination.
        const json combination = d.governingCase.empty() ? json(nullptr) : json(d.governingCase);
        designs.push_back({{"rank", ++rank},
                           {"mass", d.mass.total},
                           {"massParts",
                            {{"outerDiameter", d.mass.outerDiameter},
                             {"plate", d.mass.plate},
                             {"stiffeners", d.mass.stiffeners},
                             {"caps", d.mass.caps},
                             {"bolts", d.mass.bolts}}},
                           {"d", d.d},
                           {"D", d.D},
                           {"n", d.n},
                           {"bolt", d.bolt},
                           {"plate", d.tp},
                           {"stiffener", stiffenerText(d)},
                           {"cap", capText(d)},
                           {"weld", d.fullPenetration ? json("full") : json(d.hf)},
                           {"stiffenerWeld", d.hfs},
                           {"anchorage", d.la},
                           {"governing",
                            {{"check", checkDefinition(d.governing).key},
                             {"combination", combination},
                             {"ratio", ratioJson(d.ratio)},
                             {"ratioText", ratioText(d.ratio)}}}});
    }
    j["designs"] = designs;
    json r = json::object();
    static const InputField fields[] = {InputField::sizingBolts,       InputField::sizingCounts,
                                        InputField::sizingD,           InputField::sizingOffset,
                                        InputField::sizingThicknesses, InputField::sizingHeights,
                                        InputField::sizingWelds};
    for (InputField f : fields)
        r[std::string(sizingOptionName(f)).substr(2)] = sizingText(ranges, f, tubeDiameter);
    j["ranges"] = r;
    j["geometries"] = result.geometries;
    j["tried"] = result.tried;
    json rejected = json::object();
    for (const Rejection& x : rejections(result))
        rejected[x.key] = x.count;
    j["rejected"] = rejected;
    j["massFormula"] = massFormula;
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string sizingSummary(const SizingResult& result) {
    std::string out = "共 " + std::to_string(result.geometries) + " 种几何，试算 " +
                      std::to_string(result.tried) + " 个方案（几何 × 锚栓规格），" +
                      std::to_string(result.rejected()) + " 个不满足";
    std::string by;
    for (const Rejection& x : rejections(result)) {
        if (!by.empty()) by += "，";
        by += x.key + " " + std::to_string(x.count);
    }
    if (!by.empty()) out += "：" + by;
    out += "\n";
    if (result.unconfirmed)
        out +=
            "注意：" + std::to_string(result.unconfirmed) + " 个方案经逐组合复算不满足，已剔除\n";
    out += std::string(massFormula) + "\n";
    return out;
}

std::string mostRejected(const SizingResult& result) {
    const std::vector<Rejection> r = rejections(result);
    if (r.empty()) return "没有可试算的方案";
    return "没有满足全部验算的方案；淘汰最多的验算项：" + r.front().key + "（" + r.front().title +
           "），" + std::to_string(r.front().count) + " / " + std::to_string(result.tried) +
           " 个方案" + (result.blocked.empty() ? "" : "\n" + result.blocked);
}

} // namespace tarvel::cli
