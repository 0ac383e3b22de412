// Reading a load table: the header's names and units, the resultants of Mx/My and Vx/Vy, and
// the shapes of a table without header.

#include "loads/loadtable.h"
#include "core/number.h"
#include "loads/csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace tarvel {

namespace {

// Rows above the header that an export may give a title, a project name or a date.
constexpr int maxTitleRows = 5;
// Beyond this many places a shifted value is written with an exponent, not with zeros.
constexpr int maxPlainPlaces = 24;
constexpr long maxExponent = 100000;

enum class Quantity { name, P, M, Mx, My, V, Vx, Vy, d, D, n };
constexpr int quantityCount = 11;

enum class UnitKind { none, force, moment, length, count };

UnitKind unitKind(Quantity q) {
    switch (q) {
    case Quantity::P:
    case Quantity::V:
    case Quantity::Vx:
    case Quantity::Vy:
        return UnitKind::force;
    case Quantity::M:
    case Quantity::Mx:
    case Quantity::My:
        return UnitKind::moment;
    case Quantity::d:
    case Quantity::D:
        return UnitKind::length;
    case Quantity::n:
        return UnitKind::count;
    case Quantity::name:
        break;
    }
    return UnitKind::none;
}

const char* quantityName(Quantity q) {
    static const char* const names[] = {"名称", "P",  "M", "Mx", "My", "V",
                                        "Vx",   "Vy", "d", "D",  "n"};
    return names[static_cast<int>(q)];
}

// One column of a header: what it holds, and the power of ten that takes its unit to kN or
// kN·m.
struct Column {
    Quantity quantity;
    int shift = 0;
    std::string label; // as written
    std::string unit;  // as written; empty when none was given
};

std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Spaces, tabs, no-break and ideographic spaces at both ends removed.
std::string trimmedText(std::string_view s) {
    static const std::string_view spaces[] = {" ", "\t", "\xC2\xA0", "\xE3\x80\x80"};
    bool again = true;
    while (again) {
        again = false;
        for (std::string_view sp : spaces) {
            if (s.starts_with(sp)) s.remove_prefix(sp.size()), again = true;
            if (s.ends_with(sp)) s.remove_suffix(sp.size()), again = true;
        }
    }
    return std::string(s);
}

std::optional<Quantity> quantityNamed(const std::string& text) {
    // Case matters where two names differ only by it.
    if (text == "d") return Quantity::d;
    if (text == "D") return Quantity::D;
    if (text == "n") return Quantity::n;
    if (text == "N") return Quantity::P;
    static const std::pair<const char*, Quantity> names[] = {
        {"name", Quantity::name},     {"名称", Quantity::name},  {"组合", Quantity::name},
        {"荷载组合", Quantity::name}, {"combo", Quantity::name}, {"combination", Quantity::name},
        {"case", Quantity::name},     {"lc", Quantity::name},    {"p", Quantity::P},
        {"轴力", Quantity::P},        {"m", Quantity::M},        {"弯矩", Quantity::M},
        {"mx", Quantity::Mx},         {"my", Quantity::My},      {"v", Quantity::V},
        {"剪力", Quantity::V},        {"vx", Quantity::Vx},      {"vy", Quantity::Vy}};
    const std::string lower = asciiLower(text);
    for (const auto& [name, q] : names)
        if (lower == name) return q;
    // A Chinese name with its symbol: 轴力N, 弯矩Mx, 剪力Vy.
    static const std::pair<std::string_view, Quantity> families[] = {
        {"轴力", Quantity::P}, {"弯矩", Quantity::M}, {"剪力", Quantity::V}};
    for (const auto& [word, q] : families) {
        if (!text.starts_with(word) || text.size() == word.size()) continue;
        const std::string symbol = trimmedText(std::string_view(text).substr(word.size()));
        if (symbol.empty() || symbol.size() > 2 ||
            !std::all_of(symbol.begin(), symbol.end(), [](char ch) {
                return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
            }))
            continue;
        const auto s = quantityNamed(symbol);
        const bool sameFamily =
            s &&
            ((q == Quantity::P && *s == Quantity::P) ||
             (q == Quantity::M &&
              (*s == Quantity::M || *s == Quantity::Mx || *s == Quantity::My)) ||
             (q == Quantity::V && (*s == Quantity::V || *s == Quantity::Vx || *s == Quantity::Vy)));
        if (sameFamily) return s;
    }
    return std::nullopt;
}

// The power of ten from `unit` to kN or kN·m, or nullopt for a unit this quantity has not.
std::optional<int> unitShift(std::string unit, UnitKind kind) {
    // The separators of a product unit: ·, -, *, the middle dots of Chinese fonts, or nothing.
    std::string compact;
    for (std::size_t i = 0; i < unit.size();) {
        static const std::string_view separators[] = {
            "\xC2\xB7", "\xE2\x8B\x85", "\xE3\x83\xBB", "\xE2\x80\xA2", "-", "*", " "};
        bool skipped = false;
        for (std::string_view sep : separators) {
            if (std::string_view(unit).substr(i).starts_with(sep)) {
                i += sep.size();
                skipped = true;
                break;
            }
        }
        if (!skipped) compact += unit[i++];
    }
    const std::string u = asciiLower(compact);
    switch (kind) {
    case UnitKind::force:
        if (u == "n") return -3;
        if (u == "kn") return 0;
        if (u == "mn") return 3;
        break;
    case UnitKind::moment:
        if (u == "nm") return -3;
        if (u == "nmm") return -6;
        if (u == "knm") return 0;
        if (u == "knmm") return -3;
        if (u == "mnm") return 3;
        break;
    case UnitKind::length:
        if (u == "mm") return 0;
        break;
    case UnitKind::count:
    case UnitKind::none:
        break;
    }
    return std::nullopt;
}

const char* unitChoices(UnitKind kind) {
    switch (kind) {
    case UnitKind::force:
        return "可用 N、kN、MN";
    case UnitKind::moment:
        return "可用 N·m、N·mm、kN·m、kN·mm、MN·m";
    case UnitKind::length:
        return "可用 mm";
    default:
        return "此列不带单位";
    }
}

// A header field: the quantity it names (if any), read as a column, or an error naming it.
struct HeaderField {
    std::optional<Quantity> named;
    std::optional<Column> column;
    std::string error;
};

HeaderField headerField(const std::string& field) {
    const std::string label = trimmedText(field);
    std::string namePart = label, unit;
    bool bracketed = false;
    // A unit in brackets at the end: N (kN), Mx [kN·m], 轴力（kN）, 弯矩【kN·m】.
    static const std::pair<std::string_view, std::string_view> brackets[] = {
        {"(", ")"}, {"[", "]"}, {"\xEF\xBC\x88", "\xEF\xBC\x89"}, {"\xE3\x80\x90", "\xE3\x80\x91"}};
    for (const auto& [open, close] : brackets) {
        if (!label.ends_with(close)) continue;
        const std::size_t at = label.rfind(open);
        if (at == std::string::npos || at == 0) continue;
        namePart = trimmedText(std::string_view(label).substr(0, at));
        unit = trimmedText(std::string_view(label).substr(
            at + open.size(), label.size() - at - open.size() - close.size()));
        bracketed = true;
        break;
    }
    HeaderField out;
    out.named = quantityNamed(namePart);
    if (!bracketed) {
        // A unit after a space: N kN, M kN-m. A name with a space of its own (轴力 Mx) reads
        // as a name; when its last word is also a unit (轴力 N) it could be either.
        const std::size_t space = label.find_last_of(' ');
        if (space != std::string::npos) {
            const std::string before = trimmedText(std::string_view(label).substr(0, space));
            const std::string after = label.substr(space + 1);
            const std::optional<Quantity> asName = quantityNamed(before);
            const std::optional<Quantity> asWhole = quantityNamed(before + after);
            const bool isUnit = asName && unitShift(after, unitKind(*asName)).has_value();
            if (asWhole && isUnit) {
                out.named = asName;
                out.error = "列「" + label + "」既可读作 " + quantityName(*asWhole) +
                            "，也可读作以 " + after + " 为单位的 " + quantityName(*asName) +
                            "：请把单位写在括号里";
                return out;
            }
            if (asWhole) {
                out.named = asWhole;
            } else if (asName) {
                out.named = asName;
                unit = after;
            }
        }
    }
    if (!out.named) return out;
    Column c{*out.named, 0, label, unit};
    if (!unit.empty()) {
        const std::optional<int> shift = unitShift(unit, unitKind(c.quantity));
        if (!shift) {
            out.error = "列「" + label + "」的单位「" + unit + "」认不出（" +
                        unitChoices(unitKind(c.quantity)) + "）";
            return out;
        }
        c.shift = *shift;
    }
    out.column = c;
    return out;
}

// The header read from a row that names P and M: one entry per field, nullopt for a column
// of no quantity of ours.
struct Header {
    std::vector<std::optional<Column>> columns;
    std::array<int, quantityCount> at; // field index of each quantity, -1 when absent
    std::string error;
};

std::optional<Header> readHeader(const std::vector<std::string>& row) {
    Header h;
    h.at.fill(-1);
    bool p = false, m = false;
    for (const std::string& field : row) {
        HeaderField f = headerField(field);
        if (h.error.empty()) h.error = f.error;
        h.columns.push_back(f.column);
        p = p || f.named == Quantity::P;
        m = m || f.named == Quantity::M || f.named == Quantity::Mx || f.named == Quantity::My;
    }
    if (!p || !m) return std::nullopt;
    if (!h.error.empty()) return h;
    for (int k = 0; k < static_cast<int>(h.columns.size()); ++k) {
        if (!h.columns[k]) continue;
        int& at = h.at[static_cast<int>(h.columns[k]->quantity)];
        if (at >= 0) {
            h.error = "列「" + h.columns[at]->label + "」与列「" + h.columns[k]->label + "」都是 " +
                      quantityName(h.columns[k]->quantity) + "，只能有一列";
            return h;
        }
        at = k;
    }
    auto col = [&](Quantity q) { return h.at[static_cast<int>(q)]; };
    auto label = [&](Quantity q) { return h.columns[col(q)]->label; };
    for (auto [whole, x, y] : {std::array{Quantity::M, Quantity::Mx, Quantity::My},
                               std::array{Quantity::V, Quantity::Vx, Quantity::Vy}}) {
        if (col(whole) >= 0 && (col(x) >= 0 || col(y) >= 0)) {
            h.error = "列「" + label(whole) + "」与列「" + label(col(x) >= 0 ? x : y) + "」重复：" +
                      quantityName(whole) + " 给一列，或由 " + quantityName(x) + " 与 " +
                      quantityName(y) + " 两列合成";
            return h;
        }
        if ((col(x) >= 0) != (col(y) >= 0)) {
            const Quantity given = col(x) >= 0 ? x : y, missing = col(x) >= 0 ? y : x;
            h.error = "只有列「" + label(given) + "」，没有 " + quantityName(missing) + " 列：" +
                      quantityName(whole) + " = √(" + quantityName(x) + "² + " + quantityName(y) +
                      "²) 需要两列";
            return h;
        }
    }
    const int geometry =
        (col(Quantity::d) >= 0) + (col(Quantity::D) >= 0) + (col(Quantity::n) >= 0);
    if (geometry == 1 || geometry == 2) {
        for (Quantity q : {Quantity::d, Quantity::D, Quantity::n})
            if (col(q) < 0)
                h.error =
                    std::string("表头中有 d、D、n 中的一部分，缺少 ") + quantityName(q) + " 列";
    }
    return h;
}

bool isNumberText(const std::string& text) {
    try {
        textToNumber(text);
        return true;
    } catch (const TarvelError&) {
        return false;
    }
}

bool isBlank(const std::string& s) {
    return trimmedText(s).empty();
}

// `text` (a number) times 10^places, exactly: the decimal point moves.
std::string shifted(const std::string& text, int places) {
    const std::string t = trimmedText(text);
    if (places == 0) return t;
    std::size_t i = 0;
    std::string sign;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') sign = "-";
        ++i;
    }
    std::string digits;
    int point = -1;
    for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
        if (t[i] == '.')
            point = static_cast<int>(digits.size());
        else
            digits += t[i];
    }
    if (point < 0) point = static_cast<int>(digits.size());
    // Exponents beyond any double's are cut: the value is zero or out of range either way, and
    // the arithmetic below stays far from the limits of a long.
    const long exponent = std::clamp(
        i < t.size() ? std::strtol(t.c_str() + i + 1, nullptr, 10) : 0L, -maxExponent, maxExponent);
    // digits as an integer, the point after `point` of them, times 10^exponent.
    const std::size_t lead = digits.find_first_not_of('0');
    if (lead == std::string::npos) return t; // zero stays as typed
    digits.erase(0, lead);
    long at = point - static_cast<long>(lead) + exponent + places; // point after `at` digits
    digits.erase(digits.find_last_not_of('0') + 1);
    const long size = static_cast<long>(digits.size());
    if (at > maxPlainPlaces || at < -maxPlainPlaces) {
        std::string out = sign + digits.substr(0, 1);
        if (size > 1) out += "." + digits.substr(1);
        return out + "e" + std::to_string(at - 1);
    }
    if (at <= 0) return sign + "0." + std::string(static_cast<std::size_t>(-at), '0') + digits;
    if (at >= size) return sign + digits + std::string(static_cast<std::size_t>(at - size), '0');
    return sign + digits.substr(0, at) + "." + digits.substr(at);
}

std::string negated(const std::string& text) {
    const std::string t = trimmedText(text);
    if (textToNumber(t) == 0.0) return t;
    if (t.starts_with('-')) return t.substr(1);
    if (t.starts_with('+')) return "-" + t.substr(1);
    return "-" + t;
}

// The shortest text that reads back as the same double.
std::string exactText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const char* baseUnit(UnitKind kind) {
    return kind == UnitKind::moment ? "kN·m" : "kN";
}

// The value of a field in kN or kN·m; throws TarvelError naming the column.
std::string fieldValue(const std::string& text, const Column& c) {
    if (c.shift == 0) return text;
    try {
        textToNumber(text);
    } catch (const TarvelError&) {
        throw TarvelError(ErrorKind::TypeMismatch, InputField::None,
                          "列「" + c.label + "」的「" + text + "」不是有效的数字");
    }
    return shifted(text, c.shift);
}

double numberOf(const std::string& text, const Column& c) {
    try {
        return textToNumber(text);
    } catch (const TarvelError&) {
        throw TarvelError(ErrorKind::TypeMismatch, InputField::None,
                          "列「" + c.label + "」的「" + text + "」不是有效的数字");
    }
}

// One value of a row from a header's columns.
struct RowReader {
    const Header& header;
    const std::vector<std::string>& row;
    std::vector<std::string> notes;

    const Column* column(Quantity q) const {
        const int at = header.at[static_cast<int>(q)];
        return at < 0 ? nullptr : &*header.columns[at];
    }
    const std::string& text(Quantity q) const { return row[header.at[static_cast<int>(q)]]; }

    // A whole value, or the resultant of two components; empty when none is given.
    std::string value(Quantity whole, Quantity x, Quantity y) {
        if (const Column* c = column(whole)) {
            const std::string v = fieldValue(text(whole), *c);
            if (c->shift != 0 && !isBlank(text(whole)))
                notes.push_back(std::string(quantityName(whole)) + " = " +
                                trimmedText(text(whole)) + " " + c->unit + " = " + v + " " +
                                baseUnit(unitKind(whole)));
            return v;
        }
        const Column* cx = column(x);
        if (!cx) return "";
        const Column* cy = column(y);
        const bool blankX = isBlank(text(x)), blankY = isBlank(text(y));
        if (blankX && blankY) return "";
        if (blankX || blankY) {
            throw TarvelError(ErrorKind::TypeMismatch, InputField::None,
                              "只有「" + (blankX ? cy : cx)->label + "」，「" +
                                  (blankX ? cx : cy)->label + "」为空：" + quantityName(whole) +
                                  " 需要两者");
        }
        const std::string sx = fieldValue(text(x), *cx), sy = fieldValue(text(y), *cy);
        const double vx = numberOf(sx, *cx), vy = numberOf(sy, *cy);
        const std::string v = exactText(std::hypot(vx, vy));
        notes.push_back(std::string(quantityName(whole)) + " = √(" + sx + "² + " + sy +
                        "²) = " + v + " " + baseUnit(unitKind(whole)));
        return v;
    }
};

std::string rowFieldCount(std::size_t want, const std::string& names, std::size_t got) {
    return "该行应有 " + std::to_string(want) + " 个字段（" + names + "），实有 " +
           std::to_string(got) + " 个";
}

// The columns of a row without header, by its number of fields.
std::optional<std::vector<Quantity>> shapeOf(const std::vector<std::string>& row) {
    using Q = Quantity;
    const bool named = !isNumberText(row[0]);
    switch (row.size()) {
    case 2:
        return std::vector{Q::P, Q::M};
    case 3:
        return named ? std::vector{Q::name, Q::P, Q::M} : std::vector{Q::P, Q::M, Q::V};
    case 4:
        if (named) return std::vector{Q::name, Q::P, Q::M, Q::V};
        break;
    case 5:
        return std::vector{Q::P, Q::M, Q::d, Q::D, Q::n};
    case 6:
        return std::vector{Q::P, Q::M, Q::d, Q::D, Q::n, Q::V};
    case 7:
        if (named) return std::vector{Q::name, Q::P, Q::M, Q::d, Q::D, Q::n, Q::V};
        break;
    }
    return std::nullopt;
}

std::string columnsText(const std::vector<std::string>& headerRow) {
    std::string out;
    for (const std::string& f : headerRow) {
        if (!out.empty()) out += ',';
        out += trimmedText(f);
    }
    return out;
}

// What a header makes of its columns, for the engineer to see.
std::vector<std::string> readAsLines(const Header& h, const ReadOptions& options) {
    std::vector<std::string> lines;
    auto column = [&](Quantity q) -> const Column* {
        const int at = h.at[static_cast<int>(q)];
        return at < 0 ? nullptr : &*h.columns[at];
    };
    auto unitNote = [](const Column& c) {
        return c.shift == 0 ? std::string()
                            : "，" + c.unit + " 换算为 " + baseUnit(unitKind(c.quantity));
    };
    if (const Column* p = column(Quantity::P)) {
        std::string line = "P ← 「" + p->label + "」" + unitNote(*p);
        if (options.tensionPositive) line += "，拉为正：已取反（本程序压为正）";
        if (line != "P ← 「P」") lines.push_back(line);
    }
    for (auto [whole, x, y] : {std::array{Quantity::M, Quantity::Mx, Quantity::My},
                               std::array{Quantity::V, Quantity::Vx, Quantity::Vy}}) {
        if (const Column* c = column(whole)) {
            if (c->shift != 0 || c->label != quantityName(whole))
                lines.push_back(std::string(quantityName(whole)) + " ← 「" + c->label + "」" +
                                unitNote(*c));
        } else if (const Column* cx = column(x)) {
            const Column* cy = column(y);
            lines.push_back(std::string(quantityName(whole)) + " = √(" + quantityName(x) + "² + " +
                            quantityName(y) + "²) ← 「" + cx->label + "」「" + cy->label + "」" +
                            unitNote(*cx) + (cy->shift != cx->shift ? unitNote(*cy) : ""));
        }
    }
    return lines;
}

} // namespace

LoadTable readLoadCases(std::string_view bytes, const ReadOptions& options) {
    const std::string text = decodeSpreadsheetText(bytes);
    const std::vector<std::vector<std::string>> rows = parseCsv(text, guessDelimiter(text));
    LoadTable table;

    std::size_t first = 0;
    std::optional<Header> header;
    std::vector<std::string> headerRow;
    for (std::size_t k = 0; k < rows.size() && k <= maxTitleRows; ++k) {
        bool blank = true;
        for (const std::string& f : rows[k])
            blank = blank && isBlank(f);
        if (blank) continue;
        header = readHeader(rows[k]);
        if (header) {
            headerRow = rows[k];
            first = k + 1;
            break;
        }
        // A row of numbers is data: there is no header further down.
        if (shapeOf(rows[k]) && isNumberText(rows[k].back())) break;
    }
    if (header) {
        table.hasHeader = true;
        if (!header->error.empty()) {
            table.error = header->error;
            return table;
        }
        table.hasName = header->at[static_cast<int>(Quantity::name)] >= 0;
        table.hasV = header->at[static_cast<int>(Quantity::V)] >= 0 ||
                     header->at[static_cast<int>(Quantity::Vx)] >= 0;
        table.readAs = readAsLines(*header, options);
        if (header->at[static_cast<int>(Quantity::d)] < 0 && !options.base &&
            !options.geometryOptional) {
            table.error = "表中没有 d、D、n 列，也没有另外给出";
            return table;
        }
    } else if (options.tensionPositive) {
        table.readAs.push_back("P：拉为正，已取反（本程序压为正）");
    }

    for (std::size_t k = first; k < rows.size(); ++k) {
        std::vector<std::string> row = rows[k];
        bool blank = true;
        for (const std::string& f : row)
            blank = blank && isBlank(f);
        if (blank) continue; // spreadsheets copy empty rows as runs of delimiters

        LoadCase c;
        c.fields = row;
        c.row = static_cast<int>(k) + 1;
        Header h;
        if (header) {
            h = *header;
            // Exports pad rows with empty fields.
            while (row.size() > h.columns.size() && isBlank(row.back()))
                row.pop_back();
            if (row.size() != h.columns.size())
                c.error = rowFieldCount(h.columns.size(), columnsText(headerRow), row.size());
        } else {
            h.at.fill(-1);
            const auto shape = shapeOf(row);
            const bool geometry = shape && std::count(shape->begin(), shape->end(), Quantity::d);
            if (!shape && options.geometryOptional) {
                c.error = "该行有 " + std::to_string(row.size()) +
                          " 个字段，认不出是哪些列（可用：P,M | P,M,V | 名称,P,M | 名称,P,M,V | "
                          "P,M,d,D,n | P,M,d,D,n,V | 名称,P,M,d,D,n,V，或带表头）";
            } else if (!shape || (!geometry && !options.base && !options.geometryOptional)) {
                c.error = rowFieldCount(5, "P,M,d,D,n", row.size());
                // Even a row that is no load case shows its fields where they belong.
                h.columns.assign(row.size(), std::nullopt);
                const Quantity plain[] = {Quantity::P, Quantity::M, Quantity::d, Quantity::D,
                                          Quantity::n};
                for (std::size_t f = 0; f < std::min<std::size_t>(5, row.size()); ++f) {
                    h.columns[f] = Column{plain[f], 0, quantityName(plain[f]), ""};
                    h.at[static_cast<int>(plain[f])] = static_cast<int>(f);
                }
            }
            if (shape && c.error.empty()) {
                for (std::size_t f = 0; f < shape->size(); ++f) {
                    h.columns.push_back(Column{(*shape)[f], 0, quantityName((*shape)[f]), ""});
                    h.at[static_cast<int>((*shape)[f])] = static_cast<int>(f);
                }
                table.hasName = table.hasName || h.at[static_cast<int>(Quantity::name)] >= 0;
                table.hasV = table.hasV || h.at[static_cast<int>(Quantity::V)] >= 0;
            }
        }

        RowReader reader{h, row, {}};
        auto plainText = [&](Quantity q) -> std::string {
            const int at = h.at[static_cast<int>(q)];
            return at >= 0 && at < static_cast<int>(row.size()) ? row[at] : std::string();
        };
        if (!c.error.empty()) {
            // The fields as they stand, for the row to show where it went wrong.
            c.name = plainText(Quantity::name);
            const Quantity inputs[] = {Quantity::P, Quantity::M, Quantity::d, Quantity::D,
                                       Quantity::n};
            for (int i = 0; i < 5; ++i)
                c.inputs[i] = plainText(inputs[i]);
            c.V = plainText(Quantity::V);
            table.cases.push_back(std::move(c));
            continue;
        }
        try {
            c.name = plainText(Quantity::name);
            c.inputs[0] = reader.value(Quantity::P, Quantity::P, Quantity::P);
            if (options.tensionPositive && isNumberText(c.inputs[0])) {
                const std::string before = trimmedText(c.inputs[0]);
                c.inputs[0] = negated(c.inputs[0]);
                if (c.inputs[0] != before)
                    reader.notes.push_back("P = −(" + before + ") = " + c.inputs[0] + " kN");
            }
            c.inputs[1] = reader.value(Quantity::M, Quantity::Mx, Quantity::My);
            c.V = reader.value(Quantity::V, Quantity::Vx, Quantity::Vy);
        } catch (const TarvelError& e) {
            c.error = e.what();
        }
        c.hasGeometry = h.at[static_cast<int>(Quantity::d)] >= 0;
        if (c.hasGeometry) {
            c.inputs[2] = plainText(Quantity::d);
            c.inputs[3] = plainText(Quantity::D);
            c.inputs[4] = plainText(Quantity::n);
        } else if (options.base) {
            for (int i = 0; i < 3; ++i)
                c.inputs[2 + i] = (*options.base)[i];
        }
        for (const std::string& n : reader.notes)
            c.note += (c.note.empty() ? "" : "；") + n;
        table.cases.push_back(std::move(c));
    }
    return table;
}

} // namespace tarvel
