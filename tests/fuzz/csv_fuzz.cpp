// The load-case reader and the batch of `tarvel-calc --csv` on any bytes: comma CSV written
// back reads back the same rows; every load case of the table gets one output row that echoes
// its name and five fields and holds the status, texts and message the engine gives for that
// case. The reader as the load table's paste and import use it (d, D, n optional, axial force
// either way round) reads the same rows, a tension-positive P the negative of the other.
// Input: the file's bytes (UTF-8 or GB18030, comma or tab, any line ends).

#include "analysis/calculation.h"
#include "batch.h"
#include "core/number.h"
#include "fuzz_common.h"
#include "loads/csv.h"
#include "loads/loadtable.h"
#include "sweep_work.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace tarvel;

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string writeCsv(const Rows& rows) {
    std::string out;
    for (const auto& row : rows) {
        // A lone empty field would be a blank line, which is no row.
        if (row.size() == 1 && row[0].empty()) out += "\"\"";
        for (std::size_t f = 0; f < row.size(); ++f) {
            if (f) out += ',';
            out += csvField(row[f]);
        }
        out += '\n';
    }
    return out;
}

std::string runBatch(const LoadTable& table) {
    const cli::Options options;
    std::string out, summary;
    cli::formatBatch(table, cli::computeBatch(table, options, false), options, out, summary);
    return out;
}

std::optional<double> numberIn(const std::string& text) {
    try {
        return textToNumber(text);
    } catch (const TarvelError&) {
        return std::nullopt;
    }
}

// What paste and import read: the cases of the command's reading where both read one, and
// with tension positive the same cases with P's sign turned.
void checkPasteReading(std::string_view bytes, const LoadTable& command) {
    ReadOptions paste;
    paste.geometryOptional = true;
    const LoadTable pasted = readLoadCases(bytes, paste);
    ReadOptions turned = paste;
    turned.tensionPositive = true;
    const LoadTable flipped = readLoadCases(bytes, turned);
    FUZZ_CHECK(flipped.error == pasted.error, pasted.error);
    // The command refuses more (a header without d, D, n), never less.
    if (!pasted.error.empty()) FUZZ_CHECK(command.error == pasted.error, pasted.error);
    const bool compared = command.error.empty();
    if (compared) FUZZ_CHECK(pasted.cases.size() == command.cases.size(), "paste reads other rows");
    FUZZ_CHECK(flipped.cases.size() == pasted.cases.size(), "tension positive reads other rows");
    for (std::size_t k = 0; k < pasted.cases.size(); ++k) {
        const LoadCase& p = pasted.cases[k];
        const LoadCase& f = flipped.cases[k];
        const std::string context = "case " + std::to_string(k + 1);
        FUZZ_CHECK(p.error.empty() == f.error.empty(), context);
        if (compared && command.cases[k].error.empty())
            FUZZ_CHECK(p.error.empty() && p.inputs == command.cases[k].inputs, context);
        if (!p.error.empty()) continue;
        FUZZ_CHECK(f.name == p.name && f.V == p.V && f.inputs[1] == p.inputs[1], context);
        const auto a = numberIn(p.inputs[0]), b = numberIn(f.inputs[0]);
        FUZZ_CHECK(a.has_value() == b.has_value(), context);
        if (a) FUZZ_CHECK(*b == -*a, context + ": " + p.inputs[0] + " turned " + f.inputs[0]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Rows rows = parseCsv(bytes);
    FUZZ_CHECK(parseCsv(writeCsv(rows)) == rows, writeCsv(rows));

    const LoadTable table = readLoadCases(bytes);
    checkPasteReading(bytes, table);
    double work = 0;
    for (const LoadCase& c : table.cases) {
        if (!c.error.empty()) continue;
        try {
            work += sweepWork(analyze(c.inputs));
        } catch (const TarvelError&) {
        }
    }
    if (work > fuzz::workBudget) return -1;

    const std::string out = runBatch(table);
    const Rows got = parseCsv(out);
    std::vector<std::string> header;
    if (table.hasName) header.push_back("name");
    for (const char* name : {"P", "M", "d", "D", "n", "status"})
        header.push_back(name);
    for (ResultBox box : allResultBoxes)
        header.push_back(boxName(box));
    header.push_back("message");
    FUZZ_CHECK(!got.empty() && got.front() == header, out);
    FUZZ_CHECK(got.size() == table.cases.size() + 1, out);

    const std::size_t first = table.hasName ? 1 : 0;
    for (std::size_t k = 0; k < table.cases.size(); ++k) {
        const LoadCase& c = table.cases[k];
        const auto& row = got[k + 1];
        const std::string context = "case " + std::to_string(k + 1) + " of\n" + out;
        FUZZ_CHECK(row.size() == header.size(), context);
        if (table.hasName) FUZZ_CHECK(row[0] == c.name, context);
        for (std::size_t f = 0; f < 5; ++f)
            FUZZ_CHECK(row[first + f] == c.inputs[f], context);

        std::string status = "error", message = c.error;
        TextSink sink;
        if (c.error.empty()) {
            try {
                const bool refused = calculate(c.inputs, sink, {}, '.', 1) == Outcome::Refused;
                status = refused ? "refused" : "ok";
                if (refused) message = fullTensionMessage;
            } catch (const TarvelError& e) {
                message = e.what();
            }
        }
        FUZZ_CHECK(row[first + 5] == status, context);
        for (std::size_t b = 0; b < allResultBoxes.size(); ++b) {
            const ResultBox box = allResultBoxes[b];
            bool written = false;
            for (ResultBox w : sink.order())
                written = written || w == box;
            FUZZ_CHECK(row[first + 6 + b] == (written ? sink.result()[box] : ""), context);
        }
        FUZZ_CHECK(row.back() == message, context);
    }
    return 0;
}
