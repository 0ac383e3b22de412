#include "project/project.h"

#include "checks/methods.h"
#include "core/number.h"
#include "project/detailingjson.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace tarvel {

namespace {

using json = nlohmann::ordered_json;

[[noreturn]] void bad(const std::string& message) {
    throw TarvelError(ErrorKind::BadProjectFile, InputField::None, message);
}

const json& member(const json& object, const char* key, const std::string& path) {
    const auto it = object.find(key);
    if (it == object.end()) bad("项目文件缺少「" + path + key + "」");
    return *it;
}

const json& objectAt(const json& object, const char* key, const std::string& path) {
    const json& value = member(object, key, path);
    if (!value.is_object()) bad("项目文件中「" + path + key + "」应为对象");
    return value;
}

std::string textAt(const json& object, const char* key, const std::string& path,
                   bool required = true) {
    const auto it = object.find(key);
    if (it == object.end()) {
        if (required) bad("项目文件缺少「" + path + key + "」");
        return "";
    }
    if (!it->is_string()) bad("项目文件中「" + path + key + "」应为文字");
    return it->get<std::string>();
}

double numberAt(const json& object, const char* key, const std::string& path) {
    const json& value = member(object, key, path);
    if (!value.is_number()) bad("项目文件中「" + path + key + "」应为数值");
    return value.get<double>();
}

// A count as text; other programs write it as a JSON number, which is read as its text.
std::string countAt(const json& object, const char* key, const std::string& path) {
    const auto it = object.find(key);
    if (it != object.end() && it->is_number_integer() && !it->is_number_unsigned())
        return std::to_string(it->get<long long>());
    if (it != object.end() && it->is_number()) return numberToText(it->get<double>());
    return textAt(object, key, path);
}

// "第 3 行第 14 列" for a byte offset of the text.
std::string position(std::string_view text, std::size_t offset) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
}

// design.detailing: the tube is required, every other key has its default.
DetailingInput readDetailingJson(const json& design) {
    const json& t = objectAt(design, "detailing", "design.");
    const std::string path = "design.detailing.";
    DetailingInput in;
    in.tube = textAt(t, "tube", path);
    auto text = [&](const char* key, std::string& field) {
        if (t.contains(key)) field = textAt(t, key, path);
    };
    auto number = [&](const char* key, double& field) {
        if (t.contains(key)) field = numberAt(t, key, path);
    };
    text("tubeSteel", in.tubeSteel);
    number("plate", in.plate);
    text("plateSteel", in.plateSteel);
    text("stiffener", in.stiffener);
    text("cap", in.cap);
    if (t.contains("weld") && t["weld"].is_string()) {
        if (t["weld"].get<std::string>() != "full")
            bad("项目文件中「design.detailing.weld」应为焊脚尺寸或 \"full\"");
        in.fullPenetration = true;
    } else {
        number("weld", in.weld);
    }
    number("stiffenerWeld", in.stiffenerWeld);
    text("electrode", in.electrode);
    number("anchorage", in.anchorage);
    text("shearKey", in.shearKey);
    number("grout", in.grout);
    number("shearKeyWeld", in.shearKeyWeld);
    if (t.contains("infill")) {
        if (!t["infill"].is_boolean())
            bad("项目文件中「design.detailing.infill」应为 true 或 false");
        in.infill = t["infill"].get<bool>();
    }
    return in;
}

// The sizing's ranges and lists, each a text as the command takes it ("M24,M30",
// "60:400:20"); keys left out keep their defaults.
struct SizingKey {
    const char* key;
    InputField field;
};
constexpr SizingKey sizingKeys[] = {{"bolts", InputField::sizingBolts},
                                    {"counts", InputField::sizingCounts},
                                    {"d", InputField::sizingD},
                                    {"offset", InputField::sizingOffset},
                                    {"thicknesses", InputField::sizingThicknesses},
                                    {"stiffenerHeights", InputField::sizingHeights},
                                    {"welds", InputField::sizingWelds}};

SizingRanges readSizingJson(const json& j) {
    const json& sizing = objectAt(j, "sizing", "");
    SizingRanges r;
    for (const SizingKey& k : sizingKeys) {
        if (!sizing.contains(k.key)) continue;
        const std::string text = textAt(sizing, k.key, "sizing.");
        try {
            setSizingText(r, k.field, text);
        } catch (const TarvelError& e) {
            bad(std::string("项目文件中「sizing.") + k.key + "」有误：" + e.what());
        }
    }
    return r;
}

} // namespace

int projectFileVersion(const Project& p) {
    // A file that uses nothing newer stays readable by the first release.
    // A file without design.method is computed by the envelope, the design's default.
    const bool method = p.design.method != AnalysisMethod::Envelope ||
                        p.design.modularRatio.has_value() || p.design.pedestal.has_value() ||
                        p.design.seismic.has_value();
    return p.design.detailing || method || p.sizing ? 2 : 1;
}

Project parseProject(std::string_view bytes) {
    if (bytes.size() > maxProjectBytes) bad("项目文件过大（超过 8 MB），不是 Tarvel 项目文件");
    json j;
    try {
        j = json::parse(bytes.begin(), bytes.end());
    } catch (const json::parse_error& e) {
        bad("项目文件不是有效的 JSON（" + position(bytes, e.byte ? e.byte - 1 : 0) + "附近）");
    } catch (const json::exception&) {
        // The reader's other complaint: a number beyond a double (1e400).
        bad("项目文件中有超出范围的数值");
    }
    if (!j.is_object() || !j.contains("format") || j["format"] != projectFormat)
        bad("不是 Tarvel 项目文件（缺少 \"format\": \"tarvel-project\"）");
    const json& version = member(j, "version", "");
    if (!version.is_number_integer()) bad("项目文件中「version」应为整数");
    if (version.get<long long>() > projectVersion) {
        bad("项目文件的版本 " + std::to_string(version.get<long long>()) +
            " 高于本程序能读的版本 " + std::to_string(projectVersion) + "，请升级 Tarvel");
    }
    if (version.get<long long>() < 1) bad("项目文件中「version」应为正整数");

    Project p;
    if (j.contains("info")) {
        const json& info = objectAt(j, "info", "");
        p.info.project = textAt(info, "project", "info.", false);
        p.info.member = textAt(info, "member", "info.", false);
        p.info.designer = textAt(info, "designer", "info.", false);
        p.info.checker = textAt(info, "checker", "info.", false);
    }
    const json& geometry = objectAt(j, "geometry", "");
    p.d = textAt(geometry, "d", "geometry.");
    p.D = textAt(geometry, "D", "geometry.");
    p.n = countAt(geometry, "n", "geometry.");

    const json& design = objectAt(j, "design", "");
    p.design.bolt = textAt(design, "bolt", "design.");
    p.design.steel = textAt(design, "steel", "design.");
    p.design.concrete = textAt(design, "concrete", "design.");
    p.design.betaL = numberAt(design, "betaL", "design.");
    p.design.friction = numberAt(design, "friction", "design.");
    // Files written before the shear was kept have none: no shear.
    if (design.contains("V")) p.design.V = numberAt(design, "V", "design.");
    if (!(std::fabs(p.design.V) <= maxShear)) bad("项目文件中「design.V」应在 ±1000000 kN 以内");
    if (design.contains("detailing")) {
        p.design.detailing = readDetailingJson(design);
        const json& t = design["detailing"];
        if (t.contains("plateHole"))
            p.design.plateHole = numberAt(t, "plateHole", "design.detailing.");
    }
    if (design.contains("method")) {
        const std::string method = textAt(design, "method", "design.");
        if (!methodFromName(method, p.design.method))
            bad("项目文件中「design.method」应为 " + methodNameList() + "，而不是“" + method + "”");
    }
    if (design.contains("modularRatio"))
        p.design.modularRatio = numberAt(design, "modularRatio", "design.");
    if (design.contains("pedestal")) p.design.pedestal = numberAt(design, "pedestal", "design.");
    if (design.contains("seismic")) {
        const json& seismic = objectAt(design, "seismic", "design.");
        p.design.seismic.emplace();
        if (seismic.contains("etaJ"))
            p.design.seismic->etaJ = numberAt(seismic, "etaJ", "design.seismic.");
    }
    try {
        if (p.design.detailing) {
            const Detailing t = readDetailing(*p.design.detailing);
            p.design.detailing = t.input;
            requireHoleFits(p.design.plateHole, t);
        }
        p.design = resolveDesign(p.design).input;
        if (p.design.method == AnalysisMethod::Elastic) requireSolidPlate(p.design);
        if (p.design.pedestal) {
            // A d that is no number is the calculation's to report.
            double d = 0;
            try {
                d = textToNumber(p.d);
            } catch (const TarvelError&) {
                d = 0;
            }
            if (d > 0) requirePedestalFits(*p.design.pedestal, d);
        }
    } catch (const TarvelError& e) {
        bad(std::string("项目文件中的验算输入有误：") + e.what());
    }

    if (j.contains("sizing")) p.sizing = readSizingJson(j);

    const json& loads = member(j, "loads", "");
    if (!loads.is_array()) bad("项目文件中「loads」应为数组");
    for (std::size_t k = 0; k < loads.size(); ++k) {
        const std::string path = "loads[" + std::to_string(k) + "].";
        if (!loads[k].is_object()) bad("项目文件中「loads[" + std::to_string(k) + "]」应为对象");
        ProjectLoad load;
        load.name = textAt(loads[k], "name", path, false);
        load.P = textAt(loads[k], "P", path);
        load.M = textAt(loads[k], "M", path);
        load.V = textAt(loads[k], "V", path, false);
        p.loads.push_back(std::move(load));
    }
    return p;
}

std::string serializeProject(const Project& p) {
    json j;
    j["format"] = projectFormat;
    j["version"] = projectFileVersion(p);
    j["info"] = {{"project", p.info.project},
                 {"member", p.info.member},
                 {"designer", p.info.designer},
                 {"checker", p.info.checker}};
    j["geometry"] = {{"d", p.d}, {"D", p.D}, {"n", p.n}};
    j["design"] = {{"bolt", p.design.bolt},
                   {"steel", p.design.steel},
                   {"concrete", p.design.concrete},
                   {"betaL", p.design.betaL},
                   {"friction", p.design.friction},
                   // A reader that does not know it ignores it: the version stays.
                   {"V", p.design.V}};
    if (const auto& t = p.design.detailing) {
        j["design"]["detailing"] = detailingJson(*t);
        if (p.design.plateHole > 0) j["design"]["detailing"]["plateHole"] = p.design.plateHole;
    }
    if (p.design.method != AnalysisMethod::Envelope)
        j["design"]["method"] = methodName(p.design.method);
    if (p.design.modularRatio) j["design"]["modularRatio"] = *p.design.modularRatio;
    if (p.design.pedestal) j["design"]["pedestal"] = *p.design.pedestal;
    if (p.design.seismic) j["design"]["seismic"] = {{"etaJ", p.design.seismic->etaJ}};
    json loads = json::array();
    for (const ProjectLoad& l : p.loads)
        loads.push_back({{"name", l.name}, {"P", l.P}, {"M", l.M}, {"V", l.V}});
    j["loads"] = loads;
    if (p.sizing) {
        // The d range stays unset (from the tube) unless it was set.
        json sizing = json::object();
        for (const SizingKey& k : sizingKeys)
            if (k.field != InputField::sizingD || p.sizing->d)
                sizing[k.key] = sizingText(*p.sizing, k.field, 0);
        j["sizing"] = sizing;
    }
    // Texts typed into the window are UTF-8; anything else is kept readable, not refused.
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::vector<LoadCase> projectCases(const Project& p) {
    std::vector<LoadCase> cases;
    for (const ProjectLoad& l : p.loads) {
        LoadCase c;
        c.name = l.name;
        c.inputs = {l.P, l.M, p.d, p.D, p.n};
        c.V = l.V;
        c.fields = {l.name, l.P, l.M, p.d, p.D, p.n, l.V};
        cases.push_back(std::move(c));
    }
    return cases;
}

} // namespace tarvel
