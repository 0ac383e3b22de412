#include "loads/csv.h"

#include <iconv.h>

#include <cerrno>

namespace tarvel {

namespace {

constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

// One UTF-8 sequence at `i`: its length, or 0 when it is not valid UTF-8.
std::size_t utf8Sequence(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80) return 1;
    std::size_t len;
    unsigned min;
    unsigned cp;
    if ((c & 0xE0) == 0xC0) {
        len = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

std::string fromGb18030(std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter: keep the ASCII and mark the rest.
        std::string out;
        for (char ch : bytes)
            out += static_cast<unsigned char>(ch) < 0x80 ? std::string(1, ch)
                                                         : std::string(replacementCharacter);
        return out;
    }
    std::string out;
    std::string in(bytes);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte that is not GB18030 either (or a sequence cut off at the end).
            out += replacementCharacter;
            ++inPtr;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = utf8Sequence(s, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string decodeSpreadsheetText(std::string_view bytes) {
    if (bytes.starts_with(utf8Bom)) bytes.remove_prefix(utf8Bom.size());
    if (isValidUtf8(bytes)) return std::string(bytes);
    return fromGb18030(bytes);
}

char guessDelimiter(std::string_view text) {
    // A tab inside quotes is part of a field, not a delimiter. Blank lines before the first
    // row tell nothing.
    bool quoted = false, content = false;
    for (char ch : text) {
        if (ch == '"')
            quoted = !quoted;
        else if (!quoted && ch == '\t')
            return '\t';
        else if (!quoted && ch == '\n' && content)
            break;
        if (ch != '\n' && ch != '\r' && ch != ' ') content = true;
    }
    return ',';
}

std::vector<std::vector<std::string>> parseCsv(std::string_view text, char delimiter) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, fieldStarted = false;
    auto endRow = [&] {
        // A blank line is no row.
        if (fieldStarted || !row.empty()) {
            row.push_back(field);
            rows.push_back(std::move(row));
        }
        row.clear();
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
        } else if (ch == '"') {
            quoted = true;
            fieldStarted = true;
        } else if (ch == delimiter) {
            row.push_back(field);
            field.clear();
            fieldStarted = true;
        } else if (ch == '\n' || (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (ch == '\r') ++i;
            endRow();
        } else {
            field += ch;
            fieldStarted = true;
        }
    }
    endRow();
    return rows;
}

std::string csvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n\t") == std::string_view::npos) return std::string(field);
    std::string out = "\"";
    for (char ch : field) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

} // namespace tarvel
