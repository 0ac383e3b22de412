#include "options.h"

#include "checks/methods.h"

#include <exception>
#include <string>

namespace tarvel::cli {

namespace {

// The most designs --top lists.
constexpr int maxTop = 1000;

// Options that take a value; `--name value` or `--name=value`.
enum class Valued {
    csv,
    project,
    report,
    bolt,
    steel,
    concrete,
    betaL,
    shear,
    friction,
    method,
    modularRatio,
    projectName,
    member,
    designer,
    checker,
    tube,
    tubeSteel,
    plate,
    plateSteel,
    stiffener,
    cap,
    weld,
    stiffenerWeld,
    electrode,
    anchorage,
    shearKey,
    grout,
    shearKeyWeld,
    plateHole,
    pedestal,
    etaJ,
    optimize,
    top,
    sizing
};

struct ValuedName {
    const char* name;
    Valued option;
};
constexpr ValuedName valuedOptions[] = {{"--csv", Valued::csv},
                                        {"--project", Valued::project},
                                        {"--report", Valued::report},
                                        {"--bolt", Valued::bolt},
                                        {"--steel", Valued::steel},
                                        {"--concrete", Valued::concrete},
                                        {"--beta-l", Valued::betaL},
                                        {"--shear", Valued::shear},
                                        {"--friction", Valued::friction},
                                        {"--method", Valued::method},
                                        {"--modular-ratio", Valued::modularRatio},
                                        {"--project-name", Valued::projectName},
                                        {"--member", Valued::member},
                                        {"--designer", Valued::designer},
                                        {"--checker", Valued::checker},
                                        {"--tube", Valued::tube},
                                        {"--tube-steel", Valued::tubeSteel},
                                        {"--plate", Valued::plate},
                                        {"--plate-steel", Valued::plateSteel},
                                        {"--stiffener", Valued::stiffener},
                                        {"--cap", Valued::cap},
                                        {"--weld", Valued::weld},
                                        {"--stiffener-weld", Valued::stiffenerWeld},
                                        {"--electrode", Valued::electrode},
                                        {"--anchorage", Valued::anchorage},
                                        {"--shear-key", Valued::shearKey},
                                        {"--grout", Valued::grout},
                                        {"--shear-key-weld", Valued::shearKeyWeld},
                                        {"--plate-hole", Valued::plateHole},
                                        {"--pedestal", Valued::pedestal},
                                        {"--eta-j", Valued::etaJ},
                                        {"--optimize", Valued::optimize},
                                        {"--top", Valued::top},
                                        {"--bolts", Valued::sizing},
                                        {"--counts", Valued::sizing},
                                        {"--d-range", Valued::sizing},
                                        {"--offset-range", Valued::sizing},
                                        {"--thicknesses", Valued::sizing},
                                        {"--stiffener-heights", Valued::sizing},
                                        {"--welds", Valued::sizing}};

struct SizingOption {
    const char* name;
    InputField field;
};
constexpr SizingOption sizingOptions[] = {{"--bolts", InputField::sizingBolts},
                                          {"--counts", InputField::sizingCounts},
                                          {"--d-range", InputField::sizingD},
                                          {"--offset-range", InputField::sizingOffset},
                                          {"--thicknesses", InputField::sizingThicknesses},
                                          {"--stiffener-heights", InputField::sizingHeights},
                                          {"--welds", InputField::sizingWelds}};

// --top: how many designs, a whole number from 1 up.
int topCount(const std::string& value) {
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != value.size() || value.empty() || n < 1 || n > maxTop)
        throw UsageError{"--top 应为 1 至 " + std::to_string(maxTop) + " 的整数"};
    return n;
}

// The detailing options other than --tube: they describe parts of a tube's base.
bool isDetailingOption(Valued option) {
    return option >= Valued::tubeSteel && option <= Valued::plateHole;
}

bool isDesignOption(Valued option) {
    if (option >= Valued::optimize) return false;
    switch (option) {
    case Valued::bolt:
    case Valued::steel:
    case Valued::concrete:
    case Valued::betaL:
    case Valued::shear:
    case Valued::friction:
    case Valued::method:
    case Valued::modularRatio:
        return true;
    default:
        if (option >= Valued::tube) return true;
        return false;
    }
}

void applyDetailing(Options& o, Valued option, const std::string& value) {
    if (!o.design.detailing) o.design.detailing.emplace();
    DetailingInput& t = *o.design.detailing;
    o.checks = true;
    switch (option) {
    case Valued::tube:
        t.tube = value;
        o.tubeGiven = true;
        break;
    case Valued::tubeSteel:
        t.tubeSteel = value;
        break;
    case Valued::plate:
        t.plate = designNumber(value, InputField::plate);
        break;
    case Valued::plateSteel:
        t.plateSteel = value;
        break;
    case Valued::stiffener:
        t.stiffener = value;
        break;
    case Valued::cap:
        t.cap = value;
        break;
    case Valued::weld:
        // full: a full-penetration butt weld of the tube's strength.
        t.fullPenetration = value == "full";
        if (!t.fullPenetration) t.weld = designNumber(value, InputField::weld);
        break;
    case Valued::stiffenerWeld:
        t.stiffenerWeld = designNumber(value, InputField::stiffenerWeld);
        break;
    case Valued::electrode:
        t.electrode = value;
        break;
    case Valued::anchorage:
        t.anchorage = designNumber(value, InputField::anchorage);
        break;
    case Valued::shearKey:
        t.shearKey = value;
        break;
    case Valued::grout:
        t.grout = designNumber(value, InputField::grout);
        break;
    case Valued::shearKeyWeld:
        t.shearKeyWeld = designNumber(value, InputField::shearKeyWeld);
        break;
    case Valued::plateHole:
        o.design.plateHole = designNumber(value, InputField::plateHole);
        break;
    default:
        break;
    }
}

void apply(Options& o, Valued option, const std::string& value) {
    o.designGiven = o.designGiven || isDesignOption(option);
    o.designBesidesShear =
        o.designBesidesShear || (isDesignOption(option) && option != Valued::shear);
    switch (option) {
    case Valued::csv:
        o.csv = value;
        break;
    case Valued::project:
        o.project = value;
        break;
    case Valued::report:
        o.report = value;
        break;
    case Valued::bolt:
        o.design.bolt = value;
        o.checks = true;
        break;
    case Valued::steel:
        o.design.steel = value;
        o.checks = true;
        break;
    case Valued::concrete:
        o.design.concrete = value;
        o.checks = true;
        break;
    case Valued::betaL:
        o.design.betaL = designNumber(value, InputField::betaL);
        o.betaLGiven = true;
        o.checks = true;
        break;
    case Valued::shear:
        o.design.V = designNumber(value, InputField::V);
        o.shearText = value;
        o.shearGiven = true;
        o.checks = true;
        break;
    case Valued::friction:
        o.design.friction = designNumber(value, InputField::friction);
        o.checks = true;
        break;
    case Valued::method:
        // The method alone asks for no checks: it chooses whose twelve texts are printed.
        if (!methodFromName(value, o.design.method))
            throw UsageError{"--method 应为 " + methodNameList() + "，而不是“" + value + "”"};
        o.methodGiven = true;
        break;
    case Valued::modularRatio:
        o.design.modularRatio = designNumber(value, InputField::modularRatio);
        break;
    case Valued::projectName:
        o.projectName = value;
        break;
    case Valued::member:
        o.member = value;
        break;
    case Valued::designer:
        o.designer = value;
        break;
    case Valued::checker:
        o.checker = value;
        break;
    case Valued::optimize:
        o.optimize = value;
        break;
    case Valued::top:
        o.top = topCount(value);
        o.topGiven = true;
        break;
    case Valued::sizing:
        break; // parseOptions keeps the name
    case Valued::pedestal:
        o.design.pedestal = designNumber(value, InputField::pedestal);
        o.checks = true;
        break;
    case Valued::etaJ:
        o.etaJ = designNumber(value, InputField::etaJ);
        break;
    default:
        applyDetailing(o, option, value);
        break;
    }
}

} // namespace

Options parseOptions(const std::vector<std::string_view>& args) {
    Options o;
    bool optionsEnded = false;
    std::string detailingOption; // one given, to name if --tube is missing
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // Anything that is not an option is one of the five texts, negative numbers too.
        if (optionsEnded || !arg.starts_with("--")) {
            o.arguments.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--version") {
            o.version = true;
            continue;
        }
        if (arg == "--check") {
            o.checks = true;
            continue;
        }
        if (arg == "--json") {
            o.json = true;
            continue;
        }
        if (arg == "--infill") {
            if (!o.design.detailing) o.design.detailing.emplace();
            o.design.detailing->infill = true;
            o.checks = o.designGiven = o.designBesidesShear = true;
            detailingOption = "--infill";
            continue;
        }
        if (arg == "--seismic") {
            o.seismicGiven = true;
            o.checks = o.designGiven = o.designBesidesShear = true;
            continue;
        }
        if (arg == "--tension-positive") {
            o.tensionPositive = true;
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        const ValuedName* found = nullptr;
        for (const ValuedName& v : valuedOptions)
            if (name == v.name) found = &v;
        if (!found) throw UsageError{"未知选项 " + std::string(arg)};
        std::string value;
        if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else {
            if (i + 1 >= args.size()) throw UsageError{std::string(name) + " 需要一个值"};
            value = args[++i];
        }
        if (isDetailingOption(found->option)) detailingOption = std::string(name);
        if (found->option == Valued::sizing) {
            for (const SizingOption& s : sizingOptions)
                if (name == s.name) o.sizing.push_back({s.field, s.name, value});
        }
        apply(o, found->option, value);
    }
    if (!o.optimize && (o.topGiven || !o.sizing.empty()))
        throw UsageError{(o.topGiven ? std::string("--top") : o.sizing.front().option) +
                         " 用于 --optimize（优化选型）"};
    if (o.etaJ && !o.seismicGiven) throw UsageError{"--eta-j 用于 --seismic（抗震极限承载力验算）"};
    if (o.seismicGiven) {
        if (!o.tubeGiven) throw UsageError{"--seismic 需同时给出 --tube（钢管 外径x壁厚）"};
        o.design.seismic = DesignInput::Seismic{};
        if (o.etaJ) o.design.seismic->etaJ = *o.etaJ;
    }
    if (o.design.pedestal && o.betaLGiven)
        throw UsageError{"--pedestal 与 --beta-l 不能同时给出：βl 由柱墩尺寸计算"};
    if (!detailingOption.empty() && !o.tubeGiven)
        throw UsageError{detailingOption +
                         " 描述钢管柱脚的板件，需同时给出 --tube（钢管 外径x壁厚）"};
    // The design takes the envelope unless a method is chosen; the plain twelve texts (no
    // design output asked for) stay the elastic method's, as the form gives them.
    if (!o.methodGiven && (o.checks || o.json || o.report))
        o.design.method = AnalysisMethod::Envelope;
    return o;
}

const char* designOptionName(InputField field) {
    static const SizingOption options[] = {
        {"--pedestal", InputField::pedestal},           {"--plate-hole", InputField::plateHole},
        {"--shear-key", InputField::shearKey},          {"--grout", InputField::grout},
        {"--shear-key-weld", InputField::shearKeyWeld}, {"--eta-j", InputField::etaJ}};
    for (const SizingOption& s : options)
        if (s.field == field) return s.name;
    return "";
}

const char* sizingOptionName(InputField field) {
    for (const SizingOption& s : sizingOptions)
        if (s.field == field) return s.name;
    return "";
}

} // namespace tarvel::cli
