#include "checks/designbase.h"

#include "core/number.h"

#include <cmath>
#include <optional>

namespace tarvel {

namespace {

[[noreturn]] void notReal(InputField field, const std::string& what, const std::string& text) {
    throw TarvelError(ErrorKind::OutOfRange, field,
                      std::string("「") + inputCaption(field) + "」" + what + "（输入为 " + text +
                          "），不能作设计验算");
}

// The number of a text, or nothing when the calculation will refuse the text itself.
std::optional<double> numberOf(const std::string& text) {
    try {
        return textToNumber(text);
    } catch (const TarvelError&) {
        return std::nullopt;
    }
}

} // namespace

void requireRealBase(const InputTexts& inputs) {
    const auto d = numberOf(inputs[2]), D = numberOf(inputs[3]), n = numberOf(inputs[4]);
    if (d && !(*d > 0)) notReal(InputField::d, "应大于 0", inputs[2]);
    if (D && !(*D > 0)) notReal(InputField::D, "应大于 0", inputs[3]);
    if (n && *n != std::floor(*n)) notReal(InputField::n, "应为整数", inputs[4]);
    if (n && !(*n > 0)) notReal(InputField::n, "应为正整数", inputs[4]);
}

std::vector<std::string> inputRemarks(const InputTexts& inputs) {
    std::vector<std::string> remarks;
    const auto M = numberOf(inputs[1]);
    if (M && *M < 0) remarks.push_back("弯矩 M 应填正值，输入 " + inputs[1] + " 按其绝对值计算");
    return remarks;
}

} // namespace tarvel
