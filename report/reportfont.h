#pragma once

#include <QFont>
#include <QString>

namespace tarvel::report {

// Where the report's CJK font lives (Debian's fonts-wqy-zenhei).
inline constexpr const char* reportFontPath = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

// The family of the report's font, WenQuanYi Zen Hei, loaded from its file on the first call.
// Its glyphs carry the Unicode of the ordinary CJK ideographs, so a PDF's text extracts as
// typed (a font whose cmap prefers the Kangxi radicals gives back ⾜ for 足). Throws
// ReportError when the font cannot be loaded. Needs a QGuiApplication.
QString reportFontFamily();

// The report's font at a size in points.
QFont reportFont(qreal pointSize, bool bold = false);

} // namespace tarvel::report
