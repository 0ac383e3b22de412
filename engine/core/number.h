#pragma once

#include "core/error.h"

#include <cmath>
#include <string>
#include <string_view>

namespace tarvel {

// Rounds a double to single precision; false when the result does not fit a single.
inline bool roundToSingle(double value, float& rounded) {
    rounded = static_cast<float>(value);
    return std::isfinite(rounded);
}

// Rounds a double to single precision. Every rounding to single in the engine goes
// through here, so that none is left to an implicit conversion. A value that does not
// fit a single is an overflow.
inline float toSingle(double value, const char* what = "计算溢出：数值超出单精度范围") {
    float rounded;
    if (!roundToSingle(value, rounded))
        throw TarvelError(ErrorKind::Overflow, InputField::None, what);
    return rounded;
}

// A double result that left the range of a double (or is no number) is an overflow.
inline double checked(double value, const char* what = "计算溢出：数值超出范围") {
    if (!std::isfinite(value)) throw TarvelError(ErrorKind::Overflow, InputField::None, what);
    return value;
}

// Division with the faults of the platform: x/0 is a division by zero, 0/0 an overflow.
inline double divide(double a, double b, InputField field = InputField::None,
                     const char* byZero = "计算中出现除以零") {
    if (b == 0.0) {
        throw TarvelError(a == 0.0 ? ErrorKind::Overflow : ErrorKind::DivisionByZero, field,
                          byZero);
    }
    return checked(a / b);
}

// Turns a text into a double: optional spaces, an optional sign, digits with at most one
// decimal separator (digits on at least one side of it), an optional exponent, optional
// spaces. Anything else is a type mismatch; a number beyond a double is an overflow.
// Both errors carry `field`.
double textToNumber(std::string_view text, InputField field = InputField::None,
                    char decimalSeparator = '.');

// Significant decimal digits taken from a value before a pattern rounds it: a double gives
// 15, a single 7.
constexpr int doubleDigits = 15;
constexpr int singleDigits = 7;

// The two display patterns: "." (whole number, the separator ends the text) and ".00"
// (two decimals). No leading zero, no grouping, halves away from zero.
std::string formatWithPattern(double value, std::string_view pattern, char decimalSeparator = '.',
                              int significantDigits = doubleDigits);
std::string formatWithPattern(float value, std::string_view pattern, char decimalSeparator = '.');

// A result text as Tarvel's own views show it: with the leading zero the display patterns
// leave out (".50" is "0.50", "-.5" is "-0.5"); any other text as it is.
std::string withLeadingZero(std::string_view text);
// The same without the trailing point of the whole-number pattern ("478." is "478", "." is
// "0"): how Tarvel's own pages and figures write a result; the form keeps its pattern.
std::string pageText(std::string_view text);

// General conversion: shortest form with at most 15 significant digits.
std::string numberToText(double value, char decimalSeparator = '.');

} // namespace tarvel
