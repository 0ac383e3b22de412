#include "checks/detailing.h"

#include "core/lookup.h"
#include "core/number.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

namespace tarvel {

namespace {

using std::numbers::pi;

std::string mm(double v) {
    return numberToText(v);
}

[[noreturn]] void refuse(InputField field, const std::string& message) {
    throw TarvelError(ErrorKind::OutOfRange, field, message);
}

// A thickness or leg: above 0 and no more than the tables cover.
double thickness(double value, InputField field) {
    if (!(value > 0 && value <= maxPlateThickness))
        refuse(field, std::string("「") + inputCaption(field) + "」应大于 0 且不大于 100 mm");
    return value;
}

} // namespace

const std::vector<PlateSteel>& plateSteels() {
    // GB 50017-2017, table 4.4.1: f, f_v and f_y of plates by thickness.
    static const std::vector<PlateSteel> steels{
        {"Q235", {{16, 215, 125, 235}, {40, 205, 120, 225}, {100, 200, 115, 215}}},
        {"Q355",
         {{16, 305, 175, 355},
          {40, 295, 170, 345},
          {63, 290, 165, 335},
          {80, 280, 160, 325},
          {100, 270, 155, 315}}},
        {"Q390",
         {{16, 345, 200, 390}, {40, 330, 190, 370}, {63, 310, 180, 350}, {100, 295, 170, 330}}},
        {"Q420",
         {{16, 375, 215, 420}, {40, 355, 205, 400}, {63, 320, 185, 380}, {100, 305, 175, 360}}},
    };
    return steels;
}

const std::vector<Electrode>& electrodes() {
    // GB 50017-2017, table 4.4.5: fillet welds.
    static const std::vector<Electrode> list{{"E43", 160}, {"E50", 200}, {"E55", 220}};
    return list;
}

PlateSteel::Band strengthAt(const PlateSteel& steel, double t) {
    for (const PlateSteel::Band& band : steel.bands)
        if (t <= band.maxThickness) return band;
    return steel.bands.back();
}

double anchorageFactor(std::string_view boltSteel, std::string_view concrete) {
    // Anchorage of anchor bolts, by bolt steel and concrete grade; C50 and above as C50.
    struct Row {
        const char* steel;
        double k[7]; // C20 C25 C30 C35 C40 C45 C50+
    };
    static const Row rows[] = {{"Q235", {24, 20, 18, 16, 15, 14, 14}},
                               {"Q355", {29, 25, 23, 21, 19, 18, 17}},
                               {"Q390", {30, 26, 24, 22, 20, 19, 18}}};
    int grade = 0;
    if (concrete.size() >= 2) grade = std::atoi(std::string(concrete.substr(1)).c_str());
    const int column = std::clamp((grade - 20) / 5, 0, 6);
    for (const Row& r : rows)
        if (boltSteel == r.steel) return r.k[column];
    return rows[2].k[column];
}

double plateOuterDiameter(double d, double D, double boltDiameter) {
    // The plate reaches this many bolt diameters beyond the bolt circle on each side.
    constexpr double plateEdgeBolts = 1.5;
    return std::max(d, D + 2 * plateEdgeBolts * boltDiameter);
}

double minimumFilletLeg(double t) {
    // GB 50017-2017, table 11.3.5.
    if (t <= 6) return 3;
    if (t <= 12) return 5;
    if (t <= 20) return 6;
    return 8;
}

SizePair parseSizePair(std::string_view text, InputField field) {
    const std::string malformed = std::string("「") + inputCaption(field) +
                                  "」应写成两个数，以 x 相连，如 " +
                                  (field == InputField::tube        ? "1020x16"
                                   : field == InputField::stiffener ? "20x400"
                                                                    : "30x240");
    static const std::string_view separators[] = {"×", "x", "X", "*"};
    for (std::string_view sep : separators) {
        const std::size_t at = text.find(sep);
        if (at == std::string_view::npos) continue;
        try {
            return {textToNumber(text.substr(0, at), field),
                    textToNumber(text.substr(at + sep.size()), field)};
        } catch (const TarvelError&) {
            throw TarvelError(ErrorKind::TypeMismatch, field, malformed);
        }
    }
    throw TarvelError(ErrorKind::TypeMismatch, field, malformed);
}

SizeTriple parseSizeTriple(std::string_view text, InputField field) {
    const std::string malformed =
        std::string("「") + inputCaption(field) + "」应写成三个数，以 x 相连，如 300x200x30";
    // Split at the first separator, then read the rest as a pair.
    static const std::string_view separators[] = {"×", "x", "X", "*"};
    std::size_t at = std::string_view::npos, width = 0;
    for (std::string_view sep : separators) {
        const std::size_t found = text.find(sep);
        if (found < at) {
            at = found;
            width = sep.size();
        }
    }
    if (at == std::string_view::npos) throw TarvelError(ErrorKind::TypeMismatch, field, malformed);
    try {
        const double a = textToNumber(text.substr(0, at), field);
        const SizePair rest = parseSizePair(text.substr(at + width), field);
        return {a, rest.a, rest.b};
    } catch (const TarvelError&) {
        throw TarvelError(ErrorKind::TypeMismatch, field, malformed);
    }
}

Detailing readDetailing(const DetailingInput& in) {
    Detailing out;
    out.input = in;
    const SizePair tube = parseSizePair(in.tube, InputField::tube);
    out.Dt = tube.a;
    out.tw = thickness(tube.b, InputField::tube);
    if (!(out.Dt > 2 * out.tw))
        refuse(InputField::tube, "「钢管 Dt×tw(mm)」的壁厚过大：2tw 应小于外径 Dt");
    out.tubeSteel = lookUpChoice(plateSteels(), in.tubeSteel, InputField::tubeSteel, "牌号");
    out.plateSteel = lookUpChoice(plateSteels(), in.plateSteel, InputField::plateSteel, "牌号");
    out.input.tubeSteel = out.tubeSteel.name;
    out.input.plateSteel = out.plateSteel.name;
    out.electrode = lookUpChoice(electrodes(), in.electrode, InputField::electrode, "型号");
    out.input.electrode = out.electrode.name;
    out.tp = thickness(in.plate, InputField::plate);
    const SizePair stiffener = parseSizePair(in.stiffener, InputField::stiffener);
    out.ts = thickness(stiffener.a, InputField::stiffener);
    out.hs = stiffener.b;
    const SizePair cap = parseSizePair(in.cap, InputField::cap);
    out.tc = thickness(cap.a, InputField::cap);
    out.bc = cap.b;
    out.hf = thickness(in.weld, InputField::weld);
    out.hfs = thickness(in.stiffenerWeld, InputField::stiffenerWeld);
    if (!(std::isfinite(in.anchorage) && in.anchorage > 0))
        refuse(InputField::anchorage, "「锚固长度 la(mm)」应大于 0");
    out.la = in.anchorage;
    if (!in.shearKey.empty()) {
        const SizeTriple key = parseSizeTriple(in.shearKey, InputField::shearKey);
        out.hasKey = true;
        out.bk = key.a;
        out.hk = key.b;
        out.tk = thickness(key.c, InputField::shearKey);
        if (!(out.bk > 0 && out.hk > 0 && std::isfinite(out.bk) && std::isfinite(out.hk)))
            refuse(InputField::shearKey, "「抗剪键 bk×hk×tk(mm)」的宽度与高度应大于 0");
        if (!(in.grout >= 0 && in.grout < out.hk))
            refuse(InputField::grout,
                   "「灌浆层厚度 g(mm)」应不小于 0 且小于抗剪键高度 hk = " + mm(out.hk) + " mm");
        out.grout = in.grout;
        out.hfk = thickness(in.shearKeyWeld, InputField::shearKeyWeld);
        if (!(out.bk > 2 * out.hfk))
            refuse(InputField::shearKey, "「抗剪键 bk×hk×tk(mm)」的宽度 bk = " + mm(out.bk) +
                                             " mm 应大于两倍焊脚 2hfk = " + mm(2 * out.hfk) +
                                             " mm");
    }
    return out;
}

Detailing resolveDetailing(const DetailingInput& in, double d, double D, int n,
                           double boltDiameter) {
    Detailing out = readDetailing(in);
    // The parts must fit the base they stand on.
    if (!(out.Dt < d))
        refuse(InputField::tube,
               "钢管外径 Dt = " + mm(out.Dt) + " mm 应小于底板受压直径 d = " + mm(d) + " mm");
    if (!(D > out.Dt))
        refuse(InputField::tube,
               "锚栓中心圆直径 D = " + mm(D) + " mm 应大于钢管外径 Dt = " + mm(out.Dt) + " mm");
    const double a1 = d * std::sin(pi / n) - out.ts;
    if (!(a1 > 0))
        refuse(InputField::stiffener,
               "加劲肋之间没有净距：a1 = d·sin(π/n) − ts = " + mm(a1) + " mm，应大于 0");
    const double l = D * std::sin(pi / n) - out.ts;
    if (!(l > 0))
        refuse(InputField::stiffener,
               "锚栓顶板没有净跨：l = D·sin(π/n) − ts = " + mm(l) + " mm，应大于 0");
    const double d0 = boltDiameter + boltHoleClearance;
    if (!(out.bc > d0))
        refuse(InputField::cap, "「锚栓顶板 tc×bc(mm)」的宽度 bc = " + mm(out.bc) +
                                    " mm 应大于锚栓孔径 d0 = " + mm(d0) + " mm");
    if (!(out.hs > 2 * out.hfs))
        refuse(InputField::stiffener, "「加劲肋 ts×hs(mm)」的高度 hs = " + mm(out.hs) +
                                          " mm 应大于两倍焊脚 2hfs = " + mm(2 * out.hfs) + " mm");
    return out;
}

} // namespace tarvel
