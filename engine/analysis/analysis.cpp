#include "analysis/analysis.h"

#include "core/number.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tarvel {

namespace {

std::string outOfRange(InputField field) {
    return std::string("「") + inputCaption(field) + "」的数值超出范围";
}

double scaled(double value, double factor, InputField field) {
    const double product = value * factor;
    if (!std::isfinite(product)) throw TarvelError(ErrorKind::Overflow, field, outOfRange(field));
    return product;
}

} // namespace

BaseInput makeBaseInput(std::string_view p, std::string_view m, std::string_view d,
                        std::string_view bigD, std::string_view n, char decimalSeparator) {
    BaseInput in;
    in.P = scaled(textToNumber(p, InputField::P, decimalSeparator), 1000.0, InputField::P);
    in.M = std::fabs(
        scaled(textToNumber(m, InputField::M, decimalSeparator), 1000000.0, InputField::M));
    in.d = textToNumber(d, InputField::d, decimalSeparator);
    in.D = textToNumber(bigD, InputField::D, decimalSeparator);
    // A bolt count is rounded to the nearest whole number, halves to the even neighbour.
    const double count = std::nearbyint(textToNumber(n, InputField::n, decimalSeparator));
    if (count < std::numeric_limits<int16_t>::min() || count > std::numeric_limits<int16_t>::max())
        throw TarvelError(ErrorKind::Overflow, InputField::n, outOfRange(InputField::n));
    in.n = static_cast<int16_t>(count);
    return in;
}

BoltLayout layOutBolts(const BaseInput& input) {
    // The layout is a function of D and n alone, and a batch lays out the same base for each
    // of its combinations, several times a case: the thread keeps its last one.
    thread_local struct {
        std::uint64_t D = 0;
        int16_t n = 0;
        bool made = false;
        BoltLayout layout;
    } last;
    if (last.made && last.n == input.n && last.D == std::bit_cast<std::uint64_t>(input.D))
        return last.layout;
    BoltLayout layout;
    for (int i = 1; i <= input.n; ++i) {
        if (i > maxBolts) {
            throw TarvelError(ErrorKind::SubscriptOutOfRange, InputField::n,
                              "「锚栓个数」不能超过 100");
        }
        const double phi = 360.0 / input.n;
        double theta = (i - 1) * phi + 180;
        theta = theta * piBolts / 180;
        layout.a[i] = (input.D / 2) * std::cos(theta);
        layout.count = i;
    }
    last = {std::bit_cast<std::uint64_t>(input.D), input.n, true, layout};
    return layout;
}

ElasticCheck checkElastic(const BaseInput& input) {
    const double d = input.d;
    auto overflow = [](InputField field) {
        return TarvelError(ErrorKind::Overflow, field, outOfRange(field));
    };
    auto must = [&](double value, InputField field) {
        if (!std::isfinite(value)) throw overflow(field);
        return value;
    };
    auto byD = [&](double numerator, double denominator) {
        if (denominator == 0.0) {
            const char* what = d == 0.0 ? "「d(mm)」不能为 0" : "「d(mm)」过小";
            throw TarvelError(numerator == 0.0 ? ErrorKind::Overflow : ErrorKind::DivisionByZero,
                              InputField::d, what);
        }
        return must(numerator / denominator, InputField::d);
    };

    ElasticCheck check;
    const double fourP = must(4 * input.P, InputField::P);
    const double d2 = must(std::pow(d, 2), InputField::d);
    const double sigmaN = byD(fourP, must(piSection * d2, InputField::d));
    const double thirtyTwoM = must(32 * input.M, InputField::M);
    const double d3 = must(std::pow(d, 3), InputField::d);
    const double sigmaM = byD(thirtyTwoM, must(piSection * d3, InputField::d));
    check.sigmaMax = checked(sigmaN + sigmaM);
    check.sigmaMin = checked(sigmaN - sigmaM);
    check.refused = check.sigmaMax < 0;
    if (check.refused) return check;
    if (check.sigmaMin < 0) {
        const double ratio =
            std::fabs(check.sigmaMax) / (std::fabs(check.sigmaMin) + std::fabs(check.sigmaMax));
        check.x0 = checked(ratio * d);
    } else {
        check.x0 = d;
    }
    return check;
}

Analysis analyze(const InputTexts& texts, char decimalSeparator) {
    Analysis a;
    a.input = makeBaseInput(texts[0], texts[1], texts[2], texts[3], texts[4], decimalSeparator);
    a.layout = layOutBolts(a.input);
    a.check = checkElastic(a.input);
    return a;
}

} // namespace tarvel
