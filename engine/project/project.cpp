#include "project/project.h"

#include "core/number.h"
#include "project/designinputs.h"
#include "project/detailingjson.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <variant>

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

// The JSON of one input's value: a number, a text or a flag.
json jsonOf(const InputValue& value) {
    if (const double* x = std::get_if<double>(&value)) return *x;
    if (const std::string* s = std::get_if<std::string>(&value)) return *s;
    if (const bool* b = std::get_if<bool>(&value)) return *b;
    return nullptr;
}

const char* pathOf(const DesignInputEntry& e) {
    if (e.needsDetailing || e.part == InputPart::detailing) return "design.detailing.";
    return e.part == InputPart::seismic ? "design.seismic." : "design.";
}

// Another entry of the same key takes this JSON value (the weld's word "full").
bool takenByWord(const DesignInputEntry& e, const json& value) {
    if (!value.is_string()) return false;
    for (const DesignInputEntry& other : designInputs())
        if (other.word && &other != &e && other.part == e.part &&
            std::string_view(other.key) == e.key)
            return true;
    return false;
}

void readInput(const DesignInputEntry& e, const json& object, DesignInput& in) {
    const std::string path = pathOf(e);
    const std::string where = "项目文件中「" + path + e.key + "」";
    const json& value = object[e.key];
    switch (e.kind) {
    case InputKind::choice:
    case InputKind::text: {
        const std::string text = textAt(object, e.key, path);
        if (!e.set(in, text)) bad(where + "应为 " + choiceList(e) + "，而不是“" + text + "”");
        break;
    }
    case InputKind::number:
    case InputKind::optionalNumber: {
        if (takenByWord(e, value)) break;
        const double x = numberAt(object, e.key, path);
        if (e.fileRange && !(x >= e.low && x <= e.high)) bad(where + "应在 " + rangeText(e));
        e.set(in, x);
        break;
    }
    case InputKind::flag:
        if (e.word) {
            // The word in place of the number of its key (the weld's "full"); a number is the
            // other entry's.
            if (!value.is_string()) break;
            if (value.get<std::string>() != e.word)
                bad(where + "应为焊脚尺寸或 \"" + e.word + "\"");
            e.set(in, true);
        } else {
            if (!value.is_boolean()) bad(where + "应为 true 或 false");
            e.set(in, value.get<bool>());
        }
        break;
    case InputKind::part:
        break;
    }
}

// design: every input of the list in the object of its part; a part without its object in the
// file is absent, and the inputs it holds that the file leaves out keep their defaults.
DesignInput readDesignJson(const json& design) {
    DesignInput in;
    const json* objects[] = {&design, nullptr, nullptr}; // by InputPart
    for (const DesignInputEntry& e : designInputs()) {
        if (e.kind == InputKind::part) {
            if (!design.contains(e.key)) continue;
            objects[static_cast<int>(e.part)] = &objectAt(design, e.key, "design.");
            e.set(in, true);
            continue;
        }
        const json* object =
            objects[static_cast<int>(e.needsDetailing ? InputPart::detailing : e.part)];
        if (!object) continue;
        if (object->contains(e.key))
            readInput(e, *object, in);
        else if (e.required)
            bad("项目文件缺少「" + std::string(pathOf(e)) + e.key + "」");
    }
    return in;
}

// Whether the file holds the input of `e` for this design.
bool fileHolds(const DesignInputEntry& e, const DesignInput& in) {
    if (e.kind == InputKind::part) return partPresent(in, e.part);
    if (!partPresent(in, e.part) || (e.needsDetailing && !in.detailing)) return false;
    return writesInput(e, in);
}

json designJson(const DesignInput& in) {
    json design = json::object();
    for (const DesignInputEntry& e : designInputs()) {
        if (!fileHolds(e, in)) continue;
        if (e.kind == InputKind::part)
            design[e.key] =
                e.part == InputPart::detailing ? detailingJson(*in.detailing) : json::object();
        else if (e.needsDetailing)
            design["detailing"][e.key] = jsonOf(e.get(in));
        else if (e.part == InputPart::seismic)
            design["seismic"][e.key] = jsonOf(e.get(in));
        else if (e.part == InputPart::design)
            design[e.key] = jsonOf(e.get(in));
    }
    return design;
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
    int version = p.sizing ? 2 : 1;
    for (const DesignInputEntry& e : designInputs())
        if (fileHolds(e, p.design)) version = std::max(version, e.version);
    return version;
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

    p.design = readDesignJson(objectAt(j, "design", ""));
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
    j["design"] = designJson(p.design);
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
