// The number conversions on any text: textToNumber gives a finite double or a TarvelError
// naming its input, and accepts nothing strtod would read differently; formatWithPattern
// and numberToText write texts of the documented shape that read back as the number they
// show. Input: one byte choosing the decimal separator (bit 0: ',') and the input field
// (the rest, modulo 6), then the text.

#include "core/number.h"
#include "fuzz_common.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

using namespace tarvel;

namespace {

std::string show(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// A value whose rounding to `digits` significant digits no longer fits a double.
bool roundsBeyondDouble(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(v));
    return std::isinf(std::strtod(buf, nullptr));
}

// The text of `v` in one display pattern: an optional minus (for a negative value only),
// whole digits without a leading zero, the separator, and `decimals` digits; it reads back
// within half a unit of the last place, after the rounding to `digits` significant digits.
void checkPattern(double v, const std::string& text, int decimals, int digits, char sep) {
    const std::string context = show(v) + " -> \"" + text + "\"";
    std::size_t pos = 0;
    FUZZ_CHECK((v < 0) == (!text.empty() && text[0] == '-'), context);
    if (v < 0) ++pos;
    FUZZ_CHECK(pos >= text.size() || text[pos] != '0', context);
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    FUZZ_CHECK(pos < text.size() && text[pos] == sep, context);
    FUZZ_CHECK(text.size() - pos - 1 == static_cast<std::size_t>(decimals), context);
    for (++pos; pos < text.size(); ++pos)
        FUZZ_CHECK(text[pos] >= '0' && text[pos] <= '9', context);

    const double unit = std::pow(10.0, -decimals);
    const double relative = 0.5 * std::pow(10.0, 1 - digits) + 0x1p-52;
    if (text.find_first_of("0123456789") == std::string::npos) {
        FUZZ_CHECK(std::fabs(v) <= 0.5 * unit + std::fabs(v) * relative, context);
        return;
    }
    double back;
    try {
        back = textToNumber(text, InputField::None, sep);
    } catch (const TarvelError& e) {
        FUZZ_CHECK(e.kind() == ErrorKind::Overflow && roundsBeyondDouble(v, digits), context);
        return;
    }
    FUZZ_CHECK(std::fabs(back - v) <= 0.5 * unit + std::fabs(v) * relative, context);
}

// The general conversion reads back as the value to 15 digits, and writes that again.
void checkGeneral(double v, char sep) {
    const std::string text = numberToText(v, sep);
    const std::string context = show(v) + " -> \"" + text + "\"";
    if (v == 0) {
        FUZZ_CHECK(text == "0", context);
        return;
    }
    double back;
    try {
        back = textToNumber(text, InputField::None, sep);
    } catch (const TarvelError& e) {
        FUZZ_CHECK(e.kind() == ErrorKind::Overflow && roundsBeyondDouble(v, doubleDigits), context);
        return;
    }
    FUZZ_CHECK(std::fabs(back - v) <= std::fabs(v) * (5e-15 + 0x1p-52) + DBL_TRUE_MIN, context);
    FUZZ_CHECK(numberToText(back, sep) == text, context);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char sep = data[0] & 1 ? ',' : '.';
    const auto field = static_cast<InputField>((data[0] >> 1) % 6);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    double v;
    try {
        v = textToNumber(text, field, sep);
    } catch (const TarvelError& e) {
        FUZZ_CHECK(e.field() == field);
        FUZZ_CHECK(e.kind() == ErrorKind::TypeMismatch || e.kind() == ErrorKind::Overflow);
        FUZZ_CHECK(*e.what() != '\0');
        return 0;
    }
    FUZZ_CHECK(std::isfinite(v));
    // The accepted grammar is part of strtod's: the trimmed text, with a '.', reads the same.
    const std::size_t first = text.find_first_not_of(' ');
    std::string plain(text.substr(first, text.find_last_not_of(' ') - first + 1));
    for (char& ch : plain)
        if (ch == sep) ch = '.';
    char* end;
    const double expected = std::strtod(plain.c_str(), &end);
    FUZZ_CHECK(end == plain.c_str() + plain.size() && expected == v &&
                   std::signbit(expected) == std::signbit(v),
               "\"" + std::string(text) + "\" -> " + show(v));

    checkGeneral(v, sep);
    checkPattern(v, formatWithPattern(v, ".", sep), 0, doubleDigits, sep);
    checkPattern(v, formatWithPattern(v, ".00", sep), 2, doubleDigits, sep);
    float single;
    if (roundToSingle(v, single)) {
        checkPattern(single, formatWithPattern(single, ".", sep), 0, singleDigits, sep);
        checkPattern(single, formatWithPattern(single, ".00", sep), 2, singleDigits, sep);
    }
    return 0;
}
