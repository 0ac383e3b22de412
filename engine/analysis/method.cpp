#include "analysis/method.h"

namespace tarvel {

namespace {

struct MethodNames {
    AnalysisMethod method;
    const char* name;
    const char* title;
};
constexpr MethodNames methods[] = {
    {AnalysisMethod::Elastic, "elastic", "弹性受压区法"},
    {AnalysisMethod::Compatibility, "compatibility", "应变协调法"},
    {AnalysisMethod::Envelope, "envelope", "包络"},
};

} // namespace

const char* methodName(AnalysisMethod method) {
    for (const MethodNames& m : methods)
        if (m.method == method) return m.name;
    return "";
}

const char* methodTitle(AnalysisMethod method) {
    for (const MethodNames& m : methods)
        if (m.method == method) return m.title;
    return "";
}

bool methodFromName(std::string_view name, AnalysisMethod& method) {
    for (const MethodNames& m : methods) {
        if (name == m.name) {
            method = m.method;
            return true;
        }
    }
    return false;
}

} // namespace tarvel
