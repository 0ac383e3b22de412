#include "checks/checks.h"

#include "checks/checkfunctions.h"
#include "checks/design.h"
#include "core/number.h"

#include <cstdio>
#include <limits>

namespace tarvel {

const std::array<CheckDefinition, checkCount>& checkDefinitions() {
    static const std::array<CheckDefinition, checkCount> table{{
        {CheckId::Bolt, "bolt", "锚栓抗拉", "锚栓", "kN", false, true, true, checks::bolt},
        {CheckId::Bearing, "bearing", "混凝土承压", "承压", "N/mm²", false, true, true,
         checks::bearing},
        {CheckId::Shear, "shear", "抗剪", "抗剪", "kN", false, true, true, checks::shear},
        {CheckId::Equilibrium, "equilibrium", "平衡校核", "平衡", "%", false, true, true,
         checks::equilibrium},
        {CheckId::Plate, "plate", "底板", "底板", "N/mm²", true, true, true, checks::plate},
        {CheckId::PlateInside, "plate_inside", "底板（管内）", "管内板", "N/mm²", true, true, true,
         checks::plateInside},
        {CheckId::Cap, "cap", "锚栓顶板", "顶板", "N/mm²", true, true, true, checks::cap},
        {CheckId::CapWeld, "cap_weld", "锚栓顶板焊缝", "顶板焊缝", "N/mm²", true, true, true,
         checks::capWeld},
        {CheckId::Stiffener, "stiffener", "加劲肋", "加劲肋", "N/mm²", true, true, true,
         checks::stiffener},
        {CheckId::StiffenerWeld, "stiffener_weld", "加劲肋焊缝", "肋焊缝", "N/mm²", true, true,
         true, checks::stiffenerWeld},
        {CheckId::StiffenerPlateWeld, "stiffener_plate_weld", "加劲肋与底板焊缝", "肋底焊缝",
         "N/mm²", true, true, true, checks::stiffenerPlateWeld},
        {CheckId::ColumnWeld, "column_weld", "柱底焊缝", "柱焊缝", "N/mm²", true, true, false,
         checks::columnWeld},
        {CheckId::Tube, "tube", "钢管", "钢管", "N/mm²", true, true, false, checks::tube},
        {CheckId::Anchorage, "anchorage", "锚固长度", "锚固", "mm", true, false, false,
         checks::anchorage},
        {CheckId::Detailing, "detailing", "构造", "构造", "mm", true, false, false,
         checks::detailing},
        {CheckId::Seismic, "seismic", "抗震极限承载力", "抗震", "kN·m", true, true, false,
         checks::seismic},
        {CheckId::ShearKeyBearing, "shear_key_bearing", "抗剪键承压", "键承压", "N/mm²", true, true,
         false, checks::shearKeyBearing},
        {CheckId::ShearKey, "shear_key", "抗剪键", "抗剪键", "N/mm²", true, true, false,
         checks::shearKey},
        {CheckId::ShearKeyWeld, "shear_key_weld", "抗剪键焊缝", "键焊缝", "N/mm²", true, true,
         false, checks::shearKeyWeld},
    }};
    return table;
}

const CheckDefinition& checkDefinition(CheckId id) {
    return checkDefinitions()[static_cast<int>(id)];
}

bool checkApplies(const CheckDefinition& def, const DesignInput& design) {
    if (!def.needsDetailing) return true;
    if (!design.detailing) return false;
    switch (def.id) {
    case CheckId::Seismic:
        return design.seismic.has_value();
    case CheckId::ShearKeyBearing:
    case CheckId::ShearKey:
    case CheckId::ShearKeyWeld:
        return !design.detailing->shearKey.empty();
    default:
        return true;
    }
}

double checkRatio(double demand, double capacity) {
    if (demand == 0) return 0;
    if (capacity <= 0) return std::numeric_limits<double>::infinity();
    return demand / capacity;
}

Check makeCheck(CheckId id, double demand, std::string demandText, double capacity) {
    Check c = makeCheck(id, demand, capacity);
    c.demandText = std::move(demandText);
    c.capacityText = twoDecimals(capacity);
    c.ratioText = ratioText(c.ratio);
    return c;
}

Check makeCheck(CheckId id, double demand, double capacity) {
    const CheckDefinition& def = checkDefinition(id);
    Check c;
    c.id = id;
    c.name = def.key;
    c.title = def.title;
    c.checked = true;
    c.demand = demand;
    c.capacity = capacity;
    c.ratio = checkRatio(demand, capacity);
    c.ok = c.ratio <= 1;
    return c;
}

std::string formulaPlain(const std::string& formula) {
    std::string out;
    std::size_t i = 0;
    while (i < formula.size()) {
        const std::size_t open = formula.find('{', i);
        const std::size_t close =
            open == std::string::npos ? std::string::npos : formula.find('}', open);
        if (close == std::string::npos) {
            out.append(formula, i);
            break;
        }
        out.append(formula, i, open - i);
        const std::string symbol = formula.substr(open + 1, close - open - 1);
        const std::size_t bar1 = symbol.find('|');
        const std::size_t bar2 = bar1 == std::string::npos ? bar1 : symbol.find('|', bar1 + 1);
        out += symbol.substr(0, bar1);
        if (bar1 != std::string::npos) {
            const std::string sub = symbol.substr(bar1 + 1, bar2 - bar1 - 1);
            if (!sub.empty()) {
                out += '_';
                out += sub;
            }
            if (bar2 != std::string::npos) {
                out += '^';
                out.append(symbol, bar2 + 1);
            }
        }
        i = close + 1;
    }
    return out;
}

namespace checks {

std::string two(double value) {
    return twoDecimals(value);
}

std::string plain(double value) {
    return numberToText(value);
}

std::string coefficient(double v) {
    std::string s = plain(v);
    if (s.find('.') == std::string::npos && s.find('E') == std::string::npos) s += ".0";
    return s;
}

std::string fixed(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

} // namespace checks

} // namespace tarvel
