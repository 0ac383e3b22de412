#include "project/designinputs.h"

#include "analysis/compatibility.h"
#include "analysis/fem/basefem.h"
#include "checks/methods.h"
#include "checks/plasticbase.h"
#include "core/number.h"

#include <algorithm>

namespace tarvel {

namespace {

// mm: the least leg, thickness, anchorage or pedestal the window offers.
constexpr double minTypedSize = 1;

InputValue valueOf(double v) {
    return v;
}
InputValue valueOf(const std::string& v) {
    return v;
}
InputValue valueOf(bool v) {
    return v;
}
InputValue valueOf(const std::optional<double>& v) {
    return v ? InputValue(*v) : InputValue();
}

void assign(double& field, const InputValue& v) {
    field = std::get<double>(v);
}
void assign(std::string& field, const InputValue& v) {
    field = std::get<std::string>(v);
}
void assign(bool& field, const InputValue& v) {
    field = std::get<bool>(v);
}
void assign(std::optional<double>& field, const InputValue& v) {
    if (const double* x = std::get_if<double>(&v))
        field = *x;
    else
        field.reset();
}

// A member of the design, of its detailing or of its seismic check (their part present).
template <auto Member> InputValue getDesign(const DesignInput& d) {
    return valueOf(d.*Member);
}
template <auto Member> bool setDesign(DesignInput& d, const InputValue& v) {
    assign(d.*Member, v);
    return true;
}
template <auto Member> InputValue getDetailing(const DesignInput& d) {
    return valueOf((*d.detailing).*Member);
}
template <auto Member> bool setDetailing(DesignInput& d, const InputValue& v) {
    assign((*d.detailing).*Member, v);
    return true;
}
template <auto Member> InputValue getSeismic(const DesignInput& d) {
    return valueOf((*d.seismic).*Member);
}
template <auto Member> bool setSeismic(DesignInput& d, const InputValue& v) {
    assign((*d.seismic).*Member, v);
    return true;
}

template <InputPart Part> InputValue getPresent(const DesignInput& d) {
    return partPresent(d, Part);
}
template <InputPart Part> bool setPresent(DesignInput& d, const InputValue& v) {
    if (std::get<bool>(v))
        makePartPresent(d, Part);
    else if (Part == InputPart::detailing)
        d.detailing.reset();
    else
        d.seismic.reset();
    return true;
}

InputValue getMethod(const DesignInput& d) {
    return std::string(methodName(d.method));
}
bool setMethod(DesignInput& d, const InputValue& v) {
    return methodFromName(std::get<std::string>(v), d.method);
}

template <auto List> std::vector<std::string> namesOf() {
    std::vector<std::string> names;
    for (const auto& row : List())
        names.emplace_back(row.name);
    return names;
}
std::vector<std::string> methodNames() {
    std::vector<std::string> names;
    for (const MethodDefinition& m : methodDefinitions())
        names.emplace_back(m.key);
    return names;
}

using D = DesignInput;
using T = DetailingInput;
using K = InputKind;
using P = InputPart;
using F = InputField;
using U = UsageBlock;
using R = ReportGroup;
using RV = ReportValue;

// In the order of the project file, which only grows at the end of each object: a file keeps
// its bytes. The usage shows each block's lines in this order too.
const DesignInputEntry entries[] = {
    {.key = "bolt",
     .kind = K::choice,
     .field = F::bolt,
     .version = 1,
     .always = true,
     .required = true,
     .option = "--bolt",
     .usage = "  --bolt M36         锚栓规格 M20…M100（默认 M36）\n",
     .usageBlock = U::design,
     .asksChecks = true,
     .settingsKey = "design/bolt",
     .choices = namesOf<boltSizes>,
     .reportGroup = R::material,
     .label = "锚栓规格",
     .get = getDesign<&D::bolt>,
     .set = setDesign<&D::bolt>},
    {.key = "steel",
     .kind = K::choice,
     .field = F::steel,
     .version = 1,
     .always = true,
     .required = true,
     .option = "--steel",
     .usage = "  --steel Q355       锚栓钢材 Q235、Q355、Q390（默认 Q355）\n",
     .usageBlock = U::design,
     .asksChecks = true,
     .settingsKey = "design/steel",
     .choices = namesOf<steelGrades>,
     .reportGroup = R::material,
     .get = getDesign<&D::steel>,
     .set = setDesign<&D::steel>},
    {.key = "concrete",
     .kind = K::choice,
     .field = F::concrete,
     .version = 1,
     .always = true,
     .required = true,
     .option = "--concrete",
     .usage = "  --concrete C30     混凝土强度等级 C20…C60（默认 C30）\n",
     .usageBlock = U::design,
     .asksChecks = true,
     .settingsKey = "design/concrete",
     .choices = namesOf<concreteGrades>,
     .reportGroup = R::material,
     .get = getDesign<&D::concrete>,
     .set = setDesign<&D::concrete>},
    {.key = "betaL",
     .field = F::betaL,
     .version = 1,
     .always = true,
     .required = true,
     .option = "--beta-l",
     .usage = "  --beta-l 1.0       局部受压提高系数 βl，1.0～3.0（默认 1.0）\n",
     .usageBlock = U::design,
     .asksChecks = true,
     .settingsKey = "design/betaL",
     .low = minBetaL,
     .high = maxBetaL,
     .reportGroup = R::material,
     .label = "局部受压提高系数",
     .symbol = "{β|l}",
     .reportValue = RV::coefficient,
     .get = getDesign<&D::betaL>,
     .set = setDesign<&D::betaL>},
    {.key = "friction",
     .field = F::friction,
     .version = 1,
     .always = true,
     .required = true,
     .option = "--friction",
     .usage = "  --friction 0.4     底板与砂浆间摩擦系数 μ，0 < μ ≤ 1（默认 0.4）\n",
     .usageBlock = U::design,
     .asksChecks = true,
     .settingsKey = "design/friction",
     .low = minTypedFriction,
     .high = maxFriction,
     .reportGroup = R::material,
     .label = "底板与砂浆摩擦系数",
     .symbol = "{μ}",
     .reportValue = RV::coefficient,
     .get = getDesign<&D::friction>,
     .set = setDesign<&D::friction>},
    // Kept in version 1 after its first release: a reader that does not know it ignores it,
    // and a file without it has no shear.
    {.key = "V",
     .field = F::V,
     .version = 1,
     .always = true,
     .option = "--shear",
     .usage = "  --shear 0          柱脚剪力设计值 V(kN)，取绝对值（默认 0）\n",
     .usageBlock = U::design,
     .usageAfter = "--beta-l",
     .asksChecks = true,
     .fileRange = true,
     .settingsKey = "design/V",
     .low = -maxShear,
     .high = maxShear,
     .unit = "kN",
     .reportGroup = R::load,
     .label = "剪力",
     .symbol = "{V}",
     .reportValue = RV::load,
     .get = getDesign<&D::V>,
     .set = setDesign<&D::V>},

    // The detailing: given by --tube and its options together.
    {.key = "detailing",
     .part = P::detailing,
     .kind = K::part,
     .settingsKey = "detailing/on",
     .get = getPresent<P::detailing>,
     .set = setPresent<P::detailing>},
    {.key = "tube",
     .part = P::detailing,
     .kind = K::text,
     .field = F::tube,
     .always = true,
     .required = true,
     .option = "--tube",
     .usage = "  --tube 1020x16     钢管 外径x壁厚(mm)        ",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/tube",
     .reportGroup = R::detailing,
     .get = getDetailing<&T::tube>,
     .set = setDetailing<&T::tube>},
    {.key = "tubeSteel",
     .part = P::detailing,
     .kind = K::choice,
     .field = F::tubeSteel,
     .always = true,
     .option = "--tube-steel",
     .usage = "--tube-steel Q355   钢管钢材\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/tubeSteel",
     .choices = namesOf<plateSteels>,
     .get = getDetailing<&T::tubeSteel>,
     .set = setDetailing<&T::tubeSteel>},
    {.key = "plate",
     .part = P::detailing,
     .field = F::plate,
     .always = true,
     .option = "--plate",
     .usage = "  --plate 30         底板厚度(mm)              ",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/plate",
     .low = minTypedSize,
     .high = maxPlateThickness,
     .unit = "mm",
     .reportGroup = R::detailing,
     .get = getDetailing<&T::plate>,
     .set = setDetailing<&T::plate>},
    {.key = "plateSteel",
     .part = P::detailing,
     .kind = K::choice,
     .field = F::plateSteel,
     .always = true,
     .option = "--plate-steel",
     .usage = "--plate-steel Q355  板件钢材\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/plateSteel",
     .choices = namesOf<plateSteels>,
     .get = getDetailing<&T::plateSteel>,
     .set = setDetailing<&T::plateSteel>},
    {.key = "stiffener",
     .part = P::detailing,
     .kind = K::text,
     .field = F::stiffener,
     .always = true,
     .option = "--stiffener",
     .usage = "  --stiffener 20x400 加劲肋 厚x高(mm)          ",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/stiffener",
     .reportGroup = R::detailing,
     .get = getDetailing<&T::stiffener>,
     .set = setDetailing<&T::stiffener>},
    {.key = "cap",
     .part = P::detailing,
     .kind = K::text,
     .field = F::cap,
     .always = true,
     .option = "--cap",
     .usage = "--cap 30x240        锚栓顶板 厚x宽(mm)\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/cap",
     .reportGroup = R::detailing,
     .get = getDetailing<&T::cap>,
     .set = setDetailing<&T::cap>},
    {.key = "weld",
     .part = P::detailing,
     .field = F::weld,
     .always = true,
     .option = "--weld",
     .usage = "  --weld 12          柱底焊脚(mm)              ",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/weld",
     .low = minTypedSize,
     .high = maxPlateThickness,
     .unit = "mm",
     .reportGroup = R::detailing,
     .label = "柱底角焊缝焊脚",
     .symbol = "{h|f}",
     .get = getDetailing<&T::weld>,
     .set = setDetailing<&T::weld>},
    {.key = "stiffenerWeld",
     .part = P::detailing,
     .field = F::stiffenerWeld,
     .always = true,
     .option = "--stiffener-weld",
     .usage = "--stiffener-weld 10 加劲肋焊脚(mm)\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/stiffenerWeld",
     .low = minTypedSize,
     .high = maxPlateThickness,
     .unit = "mm",
     .reportGroup = R::detailing,
     .label = "加劲肋角焊缝焊脚",
     .symbol = "{h|fs}",
     .get = getDetailing<&T::stiffenerWeld>,
     .set = setDetailing<&T::stiffenerWeld>},
    {.key = "electrode",
     .part = P::detailing,
     .kind = K::choice,
     .field = F::electrode,
     .always = true,
     .option = "--electrode",
     .usage = "  --electrode E50    焊条 E43、E50、E55        ",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/electrode",
     .choices = namesOf<electrodes>,
     .reportGroup = R::detailing,
     .get = getDetailing<&T::electrode>,
     .set = setDetailing<&T::electrode>},
    {.key = "anchorage",
     .part = P::detailing,
     .field = F::anchorage,
     .always = true,
     .option = "--anchorage",
     .usage = "--anchorage 1000    锚固长度(mm)\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/anchorage",
     .low = minTypedSize,
     .high = maxAnchorage,
     .unit = "mm",
     .reportGroup = R::detailing,
     .label = "锚栓锚固长度",
     .symbol = "{l|a}",
     .get = getDetailing<&T::anchorage>,
     .set = setDetailing<&T::anchorage>},
    // The plate's hole is the design's (the bearing area is the base's), kept with the
    // detailing whose tube bounds it; a window without the detailing still remembers it.
    {.key = "plateHole",
     .field = F::plateHole,
     .needsDetailing = true,
     .option = "--plate-hole",
     .usage = "  --plate-hole 800   底板中心孔直径 dh(mm)，0 < dh < Dt − 2tw：承压面为环形，"
              "按应变协调法\n"
              "                     （包络中不采用弹性受压区法；--method elastic 时不予计算）\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .namedInMessage = true,
     .settingsKey = "design/plateHole",
     .low = 0,
     .high = maxPedestal,
     .unit = "mm",
     .reportGroup = R::detailing,
     .label = "底板中心孔直径",
     .symbol = "{d|h}",
     .get = getDesign<&D::plateHole>,
     .set = setDesign<&D::plateHole>},
    {.key = "infill",
     .part = P::detailing,
     .kind = K::flag,
     .option = "--infill",
     .usage = "  --infill           管内填充混凝土（管内底板由填充混凝土支承）\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/infill",
     .reportGroup = R::detailing,
     .label = "钢管内填充混凝土",
     .reportOn = "有（管内底板由填充混凝土支承）",
     .get = getDetailing<&T::infill>,
     .set = setDetailing<&T::infill>},
    {.key = "weld",
     .part = P::detailing,
     .kind = K::flag,
     .word = "full",
     .option = "--weld",
     .usage = "  --weld full        柱底为全熔透对接焊缝（一、二级），按钢管截面等强验算\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .settingsKey = "detailing/fullWeld",
     .reportGroup = R::detailing,
     .label = "柱底焊缝",
     .reportOn = "全熔透对接焊缝（一、二级），与钢管等强",
     .get = getDetailing<&T::fullPenetration>,
     .set = setDetailing<&T::fullPenetration>},
    {.key = "shearKey",
     .part = P::detailing,
     .kind = K::text,
     .field = F::shearKey,
     .option = "--shear-key",
     .usage = "  --shear-key 300x200x30  抗剪键 宽x高x厚(mm)：宽 bk 垂直于剪力，高 hk "
              "自底板底向下，\n"
              "                     厚 tk 沿剪力方向；剪力全部由抗剪键承受（不计摩擦），另验算\n"
              "                     shear_key_bearing shear_key shear_key_weld\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .namedInMessage = true,
     .settingsKey = "detailing/shearKey",
     .reportGroup = R::detailing,
     .get = getDetailing<&T::shearKey>,
     .set = setDetailing<&T::shearKey>},
    {.key = "grout",
     .part = P::detailing,
     .field = F::grout,
     .writtenWith = "shearKey",
     .option = "--grout",
     .usage = "  --grout 50         灌浆层厚度 g(mm)，0 ≤ g < hk  ",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .namedInMessage = true,
     .settingsKey = "detailing/grout",
     .low = 0,
     .high = maxGrout,
     .unit = "mm",
     .reportGroup = R::detailing,
     .label = "灌浆层厚度",
     .symbol = "g",
     .get = getDetailing<&T::grout>,
     .set = setDetailing<&T::grout>},
    {.key = "shearKeyWeld",
     .part = P::detailing,
     .field = F::shearKeyWeld,
     .writtenWith = "shearKey",
     .option = "--shear-key-weld",
     .usage = "--shear-key-weld 10  抗剪键焊脚(mm)\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .namedInMessage = true,
     .settingsKey = "detailing/shearKeyWeld",
     .low = minTypedSize,
     .high = maxPlateThickness,
     .unit = "mm",
     .reportGroup = R::detailing,
     .label = "抗剪键角焊缝焊脚",
     .symbol = "{h|fk}",
     .get = getDetailing<&T::shearKeyWeld>,
     .set = setDetailing<&T::shearKeyWeld>},

    // The method's lines in the usage are its table's.
    {.key = "method",
     .kind = K::choice,
     .option = "--method",
     .settingsKey = "design/method",
     .choices = methodNames,
     .get = getMethod,
     .set = setMethod},
    {.key = "modularRatio",
     .kind = K::optionalNumber,
     .field = F::modularRatio,
     .option = "--modular-ratio",
     .usage = "  --modular-ratio X  应变协调法的模量比 nE = Es/Ec，1～50（默认按混凝土强度等级）\n",
     .usageBlock = U::model,
     .settingsKey = "design/modularRatio",
     .low = minModularRatio,
     .high = maxModularRatio,
     .reportGroup = R::material,
     .label = "应变协调法模量比 Es/Ec",
     .symbol = "{n|E}",
     .reportValue = RV::coefficient,
     .get = getDesign<&D::modularRatio>,
     .set = setDesign<&D::modularRatio>},
    {.key = "pedestal",
     .kind = K::optionalNumber,
     .field = F::pedestal,
     .option = "--pedestal",
     .usage =
         "  --pedestal 2400    方形柱墩边长 B(mm)，与底板同心：βl = √(Ab/Al) 由此计算（不再给\n"
         "                     --beta-l），B 不小于 d；有钢管时构造另验算锚栓至柱墩边距离\n",
     .usageBlock = U::pedestal,
     .asksChecks = true,
     .namedInMessage = true,
     .settingsKey = "design/pedestal",
     .low = minTypedSize,
     .high = maxPedestal,
     .unit = "mm",
     .reportGroup = R::material,
     .label = "方形柱墩边长",
     .symbol = "B",
     .get = getDesign<&D::pedestal>,
     .set = setDesign<&D::pedestal>},
    // The window's boxes under the method: 默认 is 0, to which a remembered value out of the
    // range falls back.
    {.key = "femDepth",
     .option = "--fem-depth",
     .usage = "  --fem-depth h_e    板有限元法的计算深度 h_e(mm)，10～1e9（默认 d/2）：地基 k = "
              "Ec/h_e，\n"
              "                     锚栓刚度 Es·Ae/h_e\n",
     .usageBlock = U::model,
     .commandRange = true,
     .fileRange = true,
     .forMethod = AnalysisMethod::Fem,
     .settingsKey = "design/femDepth",
     .low = fem::minDepth,
     .high = fem::maxDepth,
     .unit = "mm",
     .get = getDesign<&D::femDepth>,
     .set = setDesign<&D::femDepth>},
    {.key = "femMesh",
     .option = "--fem-mesh",
     .usage = "  --fem-mesh h       板有限元法的网格尺寸 h(mm)，2～100（默认 min(25, 底板厚度)）\n",
     .usageBlock = U::model,
     .commandRange = true,
     .fileRange = true,
     .forMethod = AnalysisMethod::Fem,
     .settingsKey = "design/femMesh",
     .low = fem::minMesh,
     .high = fem::maxMesh,
     .unit = "mm",
     .get = getDesign<&D::femMesh>,
     .set = setDesign<&D::femMesh>},

    // The seismic check: remembered by its factor, which the file keeps in its object.
    {.key = "seismic",
     .part = P::seismic,
     .kind = K::part,
     .option = "--seismic",
     .usage = "  --seismic          抗震极限承载力验算 seismic：Mu,base ≥ ηj·Mpc（需 --tube）\n",
     .usageBlock = U::detailing,
     .asksChecks = true,
     .get = getPresent<P::seismic>,
     .set = setPresent<P::seismic>},
    {.key = "etaJ",
     .part = P::seismic,
     .field = F::etaJ,
     .always = true,
     .option = "--eta-j",
     .usage = "  --eta-j 1.1        连接系数 ηj，1.0～1.5（默认 1.1，外露式柱脚）\n",
     .usageBlock = U::detailing,
     .namedInMessage = true,
     .settingsKey = "design/etaJ",
     .low = minEtaJ,
     .high = maxEtaJ,
     .reportGroup = R::detailing,
     .label = "抗震连接系数",
     .symbol = "{η|j}",
     .reportValue = RV::coefficient,
     .get = getSeismic<&DesignInput::Seismic::etaJ>,
     .set = setSeismic<&DesignInput::Seismic::etaJ>},
};

} // namespace

std::span<const DesignInputEntry> designInputs() {
    return entries;
}

std::vector<const DesignInputEntry*> designInputsOfOption(std::string_view option) {
    std::vector<const DesignInputEntry*> found;
    for (const DesignInputEntry& e : entries)
        if (e.option && option == e.option) found.push_back(&e);
    return found;
}

const DesignInputEntry& partEntry(InputPart part) {
    for (const DesignInputEntry& e : entries)
        if (e.kind == InputKind::part && e.part == part) return e;
    return entries[0]; // not asked for the design part, which has no entry of its own
}

bool partPresent(const DesignInput& design, InputPart part) {
    switch (part) {
    case InputPart::detailing:
        return design.detailing.has_value();
    case InputPart::seismic:
        return design.seismic.has_value();
    case InputPart::design:
        break;
    }
    return true;
}

void makePartPresent(DesignInput& design, InputPart part) {
    if (part == InputPart::detailing && !design.detailing) design.detailing.emplace();
    if (part == InputPart::seismic && !design.seismic) design.seismic = DesignInput::Seismic{};
}

InputValue defaultValue(const DesignInputEntry& entry) {
    if (entry.kind == InputKind::part) return false;
    DesignInput defaults;
    makePartPresent(defaults, entry.part);
    return entry.get(defaults);
}

bool writesInput(const DesignInputEntry& entry, const DesignInput& design) {
    if (entry.writtenWith) {
        for (const DesignInputEntry& e : entries)
            if (e.part == entry.part && std::string_view(e.key) == entry.writtenWith && !e.word)
                return writesInput(e, design);
    }
    return entry.always || entry.get(design) != defaultValue(entry);
}

std::string choiceList(const DesignInputEntry& entry) {
    const std::vector<std::string> names =
        entry.choices ? entry.choices() : std::vector<std::string>{};
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += i + 1 == names.size() ? " 或 " : "、";
        out += names[i];
    }
    return out;
}

std::string rangeText(const DesignInputEntry& entry, const char* to) {
    if (entry.low == -entry.high)
        return "±" + numberToText(entry.high) + " " + entry.unit + " 以内";
    return numberToText(entry.low) + to + numberToText(entry.high) + " " + entry.unit + " 之间";
}

} // namespace tarvel
