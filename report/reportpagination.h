#pragma once

class QTextDocument;

namespace tarvel::report {

// Moves a heading with what follows it, and a table, to the next page where the page size
// would split them badly: a short unit never spans two pages, and a long one leaves no mere
// few rows on the page it starts on. A long unit that starts high on a page stays and breaks,
// so that no page is left nearly empty. The page size must be set first.
void keepTogether(QTextDocument& doc);

} // namespace tarvel::report
