#include "reportpagination.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <variant>
#include <vector>

namespace tarvel::report {

namespace {

// A unit no taller than this share of a page is kept whole: moving it leaves at most this
// much of the page blank.
constexpr double shortShare = 0.5;
// A longer unit moves when less than this share of it would stand on its first page.
constexpr double strandedShare = 0.25;
// Rounding of the layout: a unit ending exactly at a page's foot is on that page.
constexpr double layoutSlack = 0.5;

using Element = std::variant<QTextBlock, QTextFrame*>;

QRectF boundsOf(QAbstractTextDocumentLayout& layout, const Element& e) {
    if (const auto* block = std::get_if<QTextBlock>(&e)) return layout.blockBoundingRect(*block);
    return layout.frameBoundingRect(std::get<QTextFrame*>(e));
}

bool isHeading(const Element& e) {
    const auto* block = std::get_if<QTextBlock>(&e);
    return block && block->blockFormat().headingLevel() > 0;
}

bool breaksBefore(const Element& e) {
    if (const auto* block = std::get_if<QTextBlock>(&e))
        return block->blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    return std::get<QTextFrame*>(e)->frameFormat().pageBreakPolicy() &
           QTextFormat::PageBreak_AlwaysBefore;
}

void breakBefore(const Element& e) {
    if (const auto* block = std::get_if<QTextBlock>(&e)) {
        QTextBlockFormat f;
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(*block).mergeBlockFormat(f);
        return;
    }
    QTextFrame* frame = std::get<QTextFrame*>(e);
    QTextFrameFormat f = frame->frameFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    frame->setFrameFormat(f);
}

} // namespace

void keepTogether(QTextDocument& doc) {
    const double page = doc.pageSize().height();
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    if (!(page > 0) || !layout) return;
    std::vector<Element> elements;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame())
            elements.emplace_back(frame);
        else
            elements.emplace_back(it.currentBlock());
    }
    for (std::size_t k = 0; k < elements.size(); ++k) {
        // A unit: a heading with the element after it, or a table on its own.
        const bool heading = isHeading(elements[k]) && k + 1 < elements.size();
        if (!heading && !std::holds_alternative<QTextFrame*>(elements[k])) continue;
        if (breaksBefore(elements[k])) continue;
        const std::size_t last = heading ? k + 1 : k;
        // The layout moves as units before move: ask it afresh.
        const double top = boundsOf(*layout, elements[k]).top();
        const double bottom = boundsOf(*layout, elements[last]).bottom();
        const double height = bottom - top;
        const double pageEnd = (std::floor(top / page) + 1) * page;
        if (bottom <= pageEnd + layoutSlack || height > page || height <= 0) continue;
        const double onFirstPage = (pageEnd - top) / height;
        if (height <= shortShare * page || onFirstPage < strandedShare) breakBefore(elements[k]);
    }
}

} // namespace tarvel::report
