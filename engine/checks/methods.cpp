#include "checks/methods.h"

#include "checks/envelope.h"

#include <stdexcept>

namespace tarvel {

namespace {

ComputedCase elastic(const InputTexts& inputs, const DesignInput& design, const ComputedCase* done,
                     int threads, bool withChecks) {
    if (done && withChecks) return *done;
    return computeElasticCase(inputs, design, threads, withChecks);
}

ComputedCase compatibility(const InputTexts& inputs, const DesignInput& design, const ComputedCase*,
                           int, bool withChecks) {
    return computeCompatibilityCase(inputs, design, withChecks);
}

ComputedCase envelope(const InputTexts& inputs, const DesignInput& design, const ComputedCase* done,
                      int threads, bool withChecks) {
    if (done) return envelopeOfElastic(*done, design, withChecks);
    return envelopeOfElastic(computeElasticCase(inputs, design, threads, true), design, withChecks);
}

constexpr MethodDefinition methods[] = {
    {AnalysisMethod::Elastic, "elastic", "弹性受压区法", "", false, elastic, nullptr, false},
    {AnalysisMethod::Compatibility, "compatibility", "应变协调法", "刚性底板，平截面假定", true,
     compatibility, "", true},
    {AnalysisMethod::Envelope, "envelope", "包络", "各验算项取两法中较大的需求", true, envelope,
     "包络为默认的设计方法，因为弹性受压区法不计锚栓的刚度、常低估边缘承压应力，而两法的结果"
     "互不包含，取两者中较不利者才偏于安全。"
     "每项验算取弹性受压区法与应变协调法中较不利者（抗剪取较小的 C），说明中注明控制的方法；"
     "弹性受压区法结果平衡误差超过 5 % 或被拒绝时不予采用，由应变协调法决定。下列计算结果取"
     "{shown}。",
     true},
};

} // namespace

std::span<const MethodDefinition> methodDefinitions() {
    return methods;
}

const MethodDefinition& methodDefinition(AnalysisMethod method) {
    for (const MethodDefinition& m : methods)
        if (m.method == method) return m;
    throw std::logic_error("an analysis method without an entry in the table");
}

const char* methodName(AnalysisMethod method) {
    return methodDefinition(method).key;
}

const char* methodTitle(AnalysisMethod method) {
    return methodDefinition(method).title;
}

bool methodFromName(std::string_view name, AnalysisMethod& method) {
    for (const MethodDefinition& m : methods) {
        if (name == m.key) {
            method = m.method;
            return true;
        }
    }
    return false;
}

std::string methodNameList() {
    std::string out;
    const std::size_t count = std::size(methods);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += i + 1 == count ? " 或 " : "、";
        out += methods[i].key;
    }
    return out;
}

ComputedCase computeCase(const InputTexts& inputs, const DesignInput& design, int threads,
                         bool withChecks) {
    return methodDefinition(design.method).compute(inputs, design, nullptr, threads, withChecks);
}

ComputedCase computeCaseFrom(const ComputedCase& elastic, const DesignInput& design,
                             bool withChecks) {
    return methodDefinition(design.method).compute(elastic.inputs, design, &elastic, 0, withChecks);
}

} // namespace tarvel
