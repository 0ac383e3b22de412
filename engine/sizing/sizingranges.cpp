#include "sizing/sizingranges.h"

#include "core/lookup.h"
#include "core/number.h"

#include <algorithm>
#include <cmath>

namespace tarvel {

namespace {

// The default bearing circle: from a ring of 50 mm around the tube to twice its diameter.
constexpr double defaultDMargin = 100;
constexpr double defaultDFactor = 2;
constexpr double defaultDStep = 20;

[[noreturn]] void refuse(InputField field, ErrorKind kind, const std::string& what) {
    throw TarvelError(kind, field, std::string("「") + inputCaption(field) + "」" + what);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

double number(std::string_view text, InputField field) {
    const std::string_view t = trim(text);
    if (t.empty()) refuse(field, ErrorKind::TypeMismatch, "中有空项");
    try {
        return textToNumber(t, field);
    } catch (const TarvelError&) {
        refuse(field, ErrorKind::TypeMismatch, "中的“" + std::string(t) + "”不是数");
    }
}

// Positive sizes, ascending, each once.
std::vector<double> sizes(std::vector<double> values, InputField field) {
    if (values.empty()) refuse(field, ErrorKind::OutOfRange, "为空");
    for (double v : values)
        if (!(std::isfinite(v) && v > 0))
            refuse(field, ErrorKind::OutOfRange, "中的 " + numberToText(v) + " 应大于 0");
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::vector<double> thicknesses(const std::vector<double>& values, InputField field) {
    std::vector<double> out = sizes(values, field);
    if (out.back() > maxPlateThickness)
        refuse(field, ErrorKind::OutOfRange,
               "中的 " + numberToText(out.back()) + " 超过 100 mm，钢材强度表只到 100 mm");
    return out;
}

std::vector<double> steps(const SizingRange& r, InputField field) {
    if (!(std::isfinite(r.min) && std::isfinite(r.max) && std::isfinite(r.step)))
        refuse(field, ErrorKind::Overflow, "的数值超出范围");
    if (!(r.step > 0)) refuse(field, ErrorKind::OutOfRange, "的步长应大于 0");
    if (r.min > r.max)
        refuse(field, ErrorKind::OutOfRange,
               "的下限 " + numberToText(r.min) + " 大于上限 " + numberToText(r.max));
    if (!(r.min > 0)) refuse(field, ErrorKind::OutOfRange, "的下限应大于 0");
    const double count = std::floor((r.max - r.min) / r.step + 1e-9) + 1;
    if (count > maxSizingGeometries) refuse(field, ErrorKind::OutOfRange, "的取值超过 1000 万个");
    std::vector<double> out;
    // Each value from its index, so that a step of 0.1 does not drift.
    for (int k = 0; k < static_cast<int>(count); ++k)
        out.push_back(r.min + k * r.step);
    return out;
}

SizingRange rangeText(std::string_view text, InputField field) {
    const auto parts = split(text, ':');
    if (parts.size() != 3)
        refuse(field, ErrorKind::TypeMismatch, "应写成 下限:上限:步长，如 60:400:20");
    return {number(parts[0], field), number(parts[1], field), number(parts[2], field)};
}

std::vector<double> listText(std::string_view text, InputField field) {
    std::vector<double> out;
    if (trim(text).empty()) refuse(field, ErrorKind::OutOfRange, "为空");
    for (std::string_view part : split(text, ','))
        out.push_back(number(part, field));
    return out;
}

void append(std::string& list, const std::string& item) {
    if (!list.empty()) list += ',';
    list += item;
}

std::string join(const std::vector<double>& values) {
    std::string out;
    for (double v : values)
        append(out, numberToText(v));
    return out;
}

std::string rangeString(const SizingRange& r) {
    return numberToText(r.min) + ":" + numberToText(r.max) + ":" + numberToText(r.step);
}

} // namespace

SizingRange defaultDRange(double tubeDiameter) {
    return {tubeDiameter + defaultDMargin, defaultDFactor * tubeDiameter, defaultDStep};
}

SizingGrid resolveSizing(const SizingRanges& r, double tubeDiameter) {
    SizingGrid g;
    if (r.bolts.empty()) refuse(InputField::sizingBolts, ErrorKind::OutOfRange, "为空");
    for (const std::string& name : r.bolts) {
        const BoltSize& size = lookUpChoice(boltSizes(), name, InputField::sizingBolts, "规格");
        const bool seen = std::any_of(g.bolts.begin(), g.bolts.end(), [&](const BoltSize& b) {
            return std::string_view(b.name) == size.name;
        });
        if (!seen) g.bolts.push_back(size);
    }
    std::sort(g.bolts.begin(), g.bolts.end(),
              [](const BoltSize& a, const BoltSize& b) { return a.diameter < b.diameter; });
    if (r.counts.empty()) refuse(InputField::sizingCounts, ErrorKind::OutOfRange, "为空");
    for (int n : r.counts)
        if (n < 3 || n > maxBolts)
            refuse(InputField::sizingCounts, ErrorKind::OutOfRange,
                   "中的 " + std::to_string(n) + " 应在 3 至 100 之间");
    g.counts = r.counts;
    std::sort(g.counts.begin(), g.counts.end());
    g.counts.erase(std::unique(g.counts.begin(), g.counts.end()), g.counts.end());
    g.ds = steps(r.d ? *r.d : defaultDRange(tubeDiameter), InputField::sizingD);
    g.offsets = steps(r.offset, InputField::sizingOffset);
    g.thicknesses = thicknesses(r.thicknesses, InputField::sizingThicknesses);
    g.heights = steps(r.stiffenerHeights, InputField::sizingHeights);
    g.welds = thicknesses(r.welds, InputField::sizingWelds);
    if (static_cast<double>(g.ds.size()) * g.offsets.size() * g.counts.size() > maxSizingGeometries)
        refuse(InputField::sizingD, ErrorKind::OutOfRange,
               "、外伸范围与锚栓个数列表共组成 " +
                   numberToText(static_cast<double>(g.ds.size()) * g.offsets.size() *
                                g.counts.size()) +
                   " 种几何，超过 1000 万种");
    return g;
}

void setSizingText(SizingRanges& r, InputField field, std::string_view text) {
    switch (field) {
    case InputField::sizingBolts: {
        r.bolts.clear();
        if (trim(text).empty()) refuse(field, ErrorKind::OutOfRange, "为空");
        for (std::string_view part : split(text, ',')) {
            if (trim(part).empty()) refuse(field, ErrorKind::TypeMismatch, "中有空项");
            r.bolts.emplace_back(trim(part));
        }
        break;
    }
    case InputField::sizingCounts: {
        r.counts.clear();
        for (double v : listText(text, field)) {
            if (v != std::floor(v) || v < 1 || v > maxBolts)
                refuse(field, ErrorKind::OutOfRange,
                       "中的 " + numberToText(v) + " 应为 3 至 100 的整数");
            r.counts.push_back(static_cast<int>(v));
        }
        break;
    }
    case InputField::sizingD:
        r.d = rangeText(text, field);
        break;
    case InputField::sizingOffset:
        r.offset = rangeText(text, field);
        break;
    case InputField::sizingThicknesses:
        r.thicknesses = listText(text, field);
        break;
    case InputField::sizingHeights:
        r.stiffenerHeights = rangeText(text, field);
        break;
    case InputField::sizingWelds:
        r.welds = listText(text, field);
        break;
    default:
        break;
    }
}

std::string sizingText(const SizingRanges& r, InputField field, double tubeDiameter) {
    switch (field) {
    case InputField::sizingBolts: {
        std::string out;
        for (const std::string& b : r.bolts)
            append(out, b);
        return out;
    }
    case InputField::sizingCounts: {
        std::string out;
        for (int n : r.counts)
            append(out, std::to_string(n));
        return out;
    }
    case InputField::sizingD:
        return rangeString(r.d ? *r.d : defaultDRange(tubeDiameter));
    case InputField::sizingOffset:
        return rangeString(r.offset);
    case InputField::sizingThicknesses:
        return join(r.thicknesses);
    case InputField::sizingHeights:
        return rangeString(r.stiffenerHeights);
    case InputField::sizingWelds:
        return join(r.welds);
    default:
        return "";
    }
}

} // namespace tarvel
