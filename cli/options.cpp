#include "options.h"

namespace tarvel::cli {

namespace {

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
    projectName,
    member,
    designer,
    checker
};

struct ValuedName {
    const char* name;
    Valued option;
};
constexpr ValuedName valuedOptions[] = {
    {"--csv", Valued::csv},           {"--project", Valued::project},
    {"--report", Valued::report},     {"--bolt", Valued::bolt},
    {"--steel", Valued::steel},       {"--concrete", Valued::concrete},
    {"--beta-l", Valued::betaL},      {"--shear", Valued::shear},
    {"--friction", Valued::friction}, {"--project-name", Valued::projectName},
    {"--member", Valued::member},     {"--designer", Valued::designer},
    {"--checker", Valued::checker}};

bool isDesignOption(Valued option) {
    switch (option) {
    case Valued::bolt:
    case Valued::steel:
    case Valued::concrete:
    case Valued::betaL:
    case Valued::shear:
    case Valued::friction:
        return true;
    default:
        return false;
    }
}

void apply(Options& o, Valued option, const std::string& value) {
    o.designGiven = o.designGiven || isDesignOption(option);
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
        o.checks = true;
        break;
    case Valued::shear:
        o.design.V = designNumber(value, InputField::V);
        o.shearText = value;
        o.checks = true;
        break;
    case Valued::friction:
        o.design.friction = designNumber(value, InputField::friction);
        o.checks = true;
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
    }
}

} // namespace

Options parseOptions(const std::vector<std::string_view>& args) {
    Options o;
    bool optionsEnded = false;
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
        apply(o, found->option, value);
    }
    return o;
}

} // namespace tarvel::cli
