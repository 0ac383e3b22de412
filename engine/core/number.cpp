#include "core/number.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdexcept>

namespace tarvel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// strtod that ignores the process locale (the window's toolkit may set one). from_chars
// rounds as strtod does (both to the nearest double) and much faster; whatever it does not
// take whole (a range error, a form it reads otherwise) goes to strtod.
double parseCLocale(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first; // from_chars takes no plus sign
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc{} && end == last) return value;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

std::string notANumber(InputField field) {
    if (field == InputField::None) return "文本不是有效的数字";
    return std::string("「") + inputCaption(field) + "」不是有效的数字";
}

// Decimal digits of |value| to `digits` significant places: value = 0.D × 10^(exponent+1).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The largest double has 309 digits before the point; two decimals and a carry beyond.
constexpr int maxUnits = 320;
constexpr int maxDigits = 24; // more significant digits than any pattern asks for

// The significant digits of `magnitude` into `digits`, their count returned.
int decimalDigits(double magnitude, int count, char* digits, int& exponent) {
    // to_chars gives what printf's "%.*e" gives, without the locale and the long division.
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, count - 1);
    int size = 0;
    const char* p = buf;
    for (; p != written.ptr && *p != 'e'; ++p)
        if (isDigit(*p) && size < maxDigits) digits[size++] = *p;
    exponent = 0;
    if (p != written.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), written.ptr, exponent);
    return size;
}

Decimal toDecimal(double magnitude, int count) {
    char digits[maxDigits];
    Decimal out;
    const int size = decimalDigits(magnitude, count, digits, out.exponent);
    out.digits.assign(digits, size);
    return out;
}

} // namespace

double textToNumber(std::string_view text, InputField field, char decimalSeparator) {
    std::size_t pos = 0;
    const std::size_t end = text.size();
    auto skipSpaces = [&] {
        while (pos < end && text[pos] == ' ')
            ++pos;
    };
    std::string ascii;
    skipSpaces();
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) ascii += text[pos++];
    std::size_t mantissaDigits = 0;
    while (pos < end && isDigit(text[pos])) {
        ascii += text[pos++];
        ++mantissaDigits;
    }
    if (pos < end && text[pos] == decimalSeparator) {
        ascii += '.';
        ++pos;
        while (pos < end && isDigit(text[pos])) {
            ascii += text[pos++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) throw TarvelError(ErrorKind::TypeMismatch, field, notANumber(field));
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ascii += 'e';
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) ascii += text[pos++];
        std::size_t exponentDigits = 0;
        while (pos < end && isDigit(text[pos])) {
            ascii += text[pos++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            throw TarvelError(ErrorKind::TypeMismatch, field, notANumber(field));
    }
    skipSpaces();
    if (pos != end) throw TarvelError(ErrorKind::TypeMismatch, field, notANumber(field));

    const double value = parseCLocale(ascii);
    if (std::isinf(value)) {
        const std::string what = field == InputField::None
                                     ? std::string("数值超出范围")
                                     : std::string("「") + inputCaption(field) + "」的数值超出范围";
        throw TarvelError(ErrorKind::Overflow, field, what);
    }
    return value;
}

std::string formatWithPattern(double value, std::string_view pattern, char decimalSeparator,
                              int significantDigits) {
    int decimals;
    if (pattern == ".")
        decimals = 0;
    else if (pattern == ".00")
        decimals = 2;
    else
        throw std::invalid_argument("unknown display pattern");
    checked(value);

    // The rounded magnitude as a whole number of units of 10^-decimals, in place (units[0]
    // is kept for a carry): every case of a batch formats a dozen numbers.
    char units[maxUnits + 1];
    char* begin = units + 1;
    int length = 0;
    if (value != 0.0) {
        char digits[maxDigits];
        int exponent = 0;
        const int size = decimalDigits(std::fabs(value), significantDigits, digits, exponent);
        const int keep = exponent + 1 + decimals; // digits before the rounding place
        if (keep >= size) {
            std::memcpy(begin, digits, size);
            std::memset(begin + size, '0', keep - size);
            length = keep;
        } else if (keep >= 0) {
            std::memcpy(begin, digits, keep);
            length = keep;
            if (digits[keep] >= '5') {
                // Halves go away from zero: carry the increment through the nines.
                int i = keep - 1;
                while (i >= 0 && begin[i] == '9')
                    begin[i--] = '0';
                if (i >= 0) {
                    ++begin[i];
                } else {
                    *--begin = '1';
                    ++length;
                }
            }
        }
    }
    // Strip leading zeros; no digit at all stands for a whole part of 0.
    while (length > 0 && *begin == '0')
        ++begin, --length;

    std::string out;
    out.reserve(static_cast<std::size_t>(length + decimals + 3));
    if (value < 0.0) out += '-';
    if (length > decimals) out.append(begin, length - decimals);
    out += decimalSeparator;
    if (length < decimals) out.append(decimals - length, '0');
    out.append(begin + std::max(0, length - decimals), std::min(length, decimals));
    return out;
}

std::string formatWithPattern(float value, std::string_view pattern, char decimalSeparator) {
    return formatWithPattern(static_cast<double>(value), pattern, decimalSeparator, singleDigits);
}

std::string numberToText(double value, char decimalSeparator) {
    checked(value);
    if (value == 0.0) return "0";
    Decimal dec = toDecimal(std::fabs(value), doubleDigits);
    while (dec.digits.size() > 1 && dec.digits.back() == '0')
        dec.digits.pop_back();

    std::string out = value < 0.0 ? "-" : "";
    const int e = dec.exponent;
    const int count = static_cast<int>(dec.digits.size());
    if (e >= -4 && e < doubleDigits) {
        if (e >= 0) {
            if (count <= e + 1) {
                out += dec.digits + std::string(e + 1 - count, '0');
            } else {
                out += dec.digits.substr(0, e + 1);
                out += decimalSeparator;
                out += dec.digits.substr(e + 1);
            }
        } else {
            out += '0';
            out += decimalSeparator;
            out += std::string(-e - 1, '0') + dec.digits;
        }
        return out;
    }
    out += dec.digits[0];
    if (count > 1) {
        out += decimalSeparator;
        out += dec.digits.substr(1);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", e < 0 ? '-' : '+', e < 0 ? -e : e);
    return out + exponent;
}

std::string withLeadingZero(std::string_view text) {
    std::string out(text);
    if (out.starts_with('.'))
        out.insert(out.begin(), '0');
    else if (out.starts_with("-."))
        out.insert(out.begin() + 1, '0');
    return out;
}

std::string pageText(std::string_view text) {
    std::string out = withLeadingZero(text);
    if (out.size() > 1 && out.back() == '.') out.pop_back();
    return out;
}

} // namespace tarvel
