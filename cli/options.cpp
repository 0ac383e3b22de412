#include "options.h"

#include "checks/methods.h"
#include "core/number.h"
#include "project/designinputs.h"

#include <algorithm>
#include <exception>
#include <string>

namespace tarvel::cli {

namespace {

// The most designs --top lists.
constexpr int maxTop = 1000;

// Options that take a value; `--name value` or `--name=value`.
// Options that take a value other than the design inputs' (designinputs.h); `--name value` or
// `--name=value`.
enum class Valued {
    csv,
    project,
    report,
    projectName,
    member,
    designer,
    checker,
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
                                        {"--project-name", Valued::projectName},
                                        {"--member", Valued::member},
                                        {"--designer", Valued::designer},
                                        {"--checker", Valued::checker},
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

// A design input without a value of its own on the command line (--infill, --seismic).
bool takesNoValue(const DesignInputEntry& e) {
    return e.kind == InputKind::part || (e.kind == InputKind::flag && !e.word);
}

// A number of an input refused before anything is computed when it is no number or out of its
// range (the plate finite-element model's sizes).
double rangedNumber(const DesignInputEntry& e, const std::string& value) {
    double v = 0;
    try {
        v = textToNumber(value, InputField::None);
    } catch (const TarvelError&) {
        throw UsageError{std::string(e.option) + " 应为数字，而不是“" + value + "”"};
    }
    if (!(v >= e.low && v <= e.high))
        throw UsageError{std::string(e.option) + " 应在 " + rangeText(e, "～") + "，而不是 " +
                         value};
    return v;
}

// What the design options given so far ask of the others.
struct DesignGiven {
    std::string detailingOption;             // one that needs --tube, to name if it is missing
    std::string seismicOption;               // one that needs --seismic
    std::optional<AnalysisMethod> forMethod; // the method the last of femOption is for
};

// A design option with its value ("" for one that takes none): each entry of the option in
// turn (--weld: the leg, then the word full).
void applyDesign(Options& o, DesignGiven& given, std::string_view name,
                 const std::vector<const DesignInputEntry*>& entries, const std::string& value) {
    o.designGiven = true;
    for (const DesignInputEntry* entry : entries) {
        const DesignInputEntry& e = *entry;
        if (e.part != InputPart::design) makePartPresent(o.design, e.part);
        if (e.needsDetailing) makePartPresent(o.design, InputPart::detailing);
        o.checks = o.checks || e.asksChecks;
        if (e.field == InputField::V) {
            o.shearText = value;
            o.shearGiven = true;
        } else {
            o.designBesidesShear = true;
        }
        if (e.field == InputField::betaL) o.betaLGiven = true;
        if (e.forMethod) {
            o.femOption = std::string(name);
            given.forMethod = e.forMethod;
        }
        if ((e.part == InputPart::detailing && !e.required) || e.needsDetailing)
            given.detailingOption = std::string(name);
        if (e.part == InputPart::detailing && e.required) o.tubeGiven = true;
        if (e.kind == InputKind::part && e.part == InputPart::seismic) o.seismicGiven = true;
        if (e.kind != InputKind::part && e.part == InputPart::seismic)
            given.seismicOption = std::string(name);
        switch (e.kind) {
        case InputKind::part:
            e.set(o.design, true);
            break;
        case InputKind::flag:
            e.set(o.design, e.word ? value == e.word : true);
            break;
        case InputKind::choice:
        case InputKind::text:
            // --method alone asks for no checks: it chooses whose twelve texts are printed.
            if (std::string_view(e.key) == "method") o.methodGiven = true;
            if (!e.set(o.design, value))
                throw UsageError{std::string(name) + " 应为 " + choiceList(e) + "，而不是“" +
                                 value + "”"};
            break;
        case InputKind::number:
        case InputKind::optionalNumber: {
            const bool word = std::any_of(entries.begin(), entries.end(), [&](auto* other) {
                return other->word && value == other->word;
            });
            if (word) break;
            e.set(o.design, e.commandRange ? rangedNumber(e, value) : designNumber(value, e.field));
            break;
        }
        }
    }
}

void apply(Options& o, Valued option, const std::string& value) {
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
    }
}

} // namespace

Options parseOptions(const std::vector<std::string_view>& args) {
    Options o;
    bool optionsEnded = false;
    DesignGiven given;
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
        if (arg == "--tension-positive") {
            o.tensionPositive = true;
            continue;
        }
        if (const auto flag = designInputsOfOption(arg);
            flag.size() == 1 && takesNoValue(*flag[0])) {
            applyDesign(o, given, arg, flag, "");
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        std::vector<const DesignInputEntry*> design = designInputsOfOption(name);
        std::erase_if(design, [](const DesignInputEntry* e) { return takesNoValue(*e); });
        const ValuedName* found = nullptr;
        for (const ValuedName& v : valuedOptions)
            if (name == v.name) found = &v;
        if (!found && design.empty()) throw UsageError{"未知选项 " + std::string(arg)};
        std::string value;
        if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else {
            if (i + 1 >= args.size()) throw UsageError{std::string(name) + " 需要一个值"};
            value = args[++i];
        }
        if (!design.empty()) {
            applyDesign(o, given, name, design, value);
            continue;
        }
        if (found->option == Valued::sizing) {
            for (const SizingOption& s : sizingOptions)
                if (name == s.name) o.sizing.push_back({s.field, s.name, value});
        }
        apply(o, found->option, value);
    }
    if (!o.optimize && (o.topGiven || !o.sizing.empty()))
        throw UsageError{(o.topGiven ? std::string("--top") : o.sizing.front().option) +
                         " 用于 --optimize（优化选型）"};
    if (given.forMethod && o.design.method != *given.forMethod)
        throw UsageError{o.femOption + " 用于 --method " + methodName(*given.forMethod) + "（" +
                         methodTitle(*given.forMethod) + "）"};
    if (o.design.method == AnalysisMethod::Fem && !o.tubeGiven)
        throw UsageError{"--method fem（板有限元法）需同时给出 --tube（钢管 外径x壁厚）"};
    if (!given.seismicOption.empty() && !o.seismicGiven)
        throw UsageError{given.seismicOption + " 用于 --seismic（抗震极限承载力验算）"};
    if (o.seismicGiven && !o.tubeGiven)
        throw UsageError{"--seismic 需同时给出 --tube（钢管 外径x壁厚）"};
    if (o.design.pedestal && o.betaLGiven)
        throw UsageError{"--pedestal 与 --beta-l 不能同时给出：βl 由柱墩尺寸计算"};
    if (!given.detailingOption.empty() && !o.tubeGiven)
        throw UsageError{given.detailingOption +
                         " 描述钢管柱脚的板件，需同时给出 --tube（钢管 外径x壁厚）"};
    // The design takes the envelope unless a method is chosen; the plain twelve texts (no
    // design output asked for) stay the elastic method's, as the form gives them.
    if (!o.methodGiven && (o.checks || o.json || o.report))
        o.design.method = AnalysisMethod::Envelope;
    return o;
}

const char* designOptionName(InputField field) {
    for (const DesignInputEntry& e : designInputs())
        if (e.namedInMessage && e.field == field) return e.option;
    return "";
}

const char* sizingOptionName(InputField field) {
    for (const SizingOption& s : sizingOptions)
        if (s.field == field) return s.name;
    return "";
}

} // namespace tarvel::cli
