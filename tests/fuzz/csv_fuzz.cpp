// The CSV reader and the batch of `tarvel-calc --csv` on any text: the rows, written back
// as CSV, read back the same; the result table has one row per load case, echoes its five
// fields, and holds exactly what the engine gives for that case. Input: the file's bytes.

#include "batch.h"
#include "calculation.h"
#include "fuzz_common.h"
#include "sweep_work.h"

#include <string>
#include <string_view>
#include <vector>

using namespace tarvel;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The reader and the batch under test (cli/batch.h); re-point these when they move.
Rows readCsv(std::string_view text) {
    return cli::parseCsv(text);
}
std::string runBatch(std::string_view text) {
    std::string out;
    cli::runBatch(text, out, false);
    return out;
}
std::string csvField(std::string_view field) {
    return cli::csvField(field);
}

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

bool isHeader(const std::vector<std::string>& row) {
    static const char* const names[] = {"P", "M", "d", "D", "n"};
    if (row.size() != 5) return false;
    for (std::size_t f = 0; f < 5; ++f) {
        const std::size_t first = row[f].find_first_not_of(' ');
        if (first == std::string::npos ||
            row[f].substr(first, row[f].find_last_not_of(' ') - first + 1) != names[f])
            return false;
    }
    return true;
}

InputTexts texts(const std::vector<std::string>& row) {
    return {row[0], row[1], row[2], row[3], row[4]};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Rows rows = readCsv(text);
    FUZZ_CHECK(readCsv(writeCsv(rows)) == rows, writeCsv(rows));
    if (!rows.empty() && isHeader(rows.front())) rows.erase(rows.begin());

    double work = 0;
    for (const auto& row : rows) {
        if (row.size() != 5) continue;
        try {
            work += sweepWork(analyze(texts(row)));
        } catch (const TarvelError&) {
        }
    }
    if (work > fuzz::workBudget) return -1;

    const std::string out = runBatch(text);
    const Rows table = readCsv(out);
    std::vector<std::string> header{"P", "M", "d", "D", "n", "status"};
    for (ResultBox box : allResultBoxes)
        header.push_back(boxName(box));
    header.push_back("message");
    FUZZ_CHECK(!table.empty() && table.front() == header, out);
    FUZZ_CHECK(table.size() == rows.size() + 1, out);

    for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto& row = rows[k];
        const auto& got = table[k + 1];
        const std::string context = "row " + std::to_string(k + 1) + " of\n" + out;
        FUZZ_CHECK(got.size() == header.size(), context);
        for (std::size_t f = 0; f < 5; ++f)
            FUZZ_CHECK(got[f] == (f < row.size() ? row[f] : ""), context);

        std::string status = "error", message;
        TextSink sink;
        if (row.size() != 5) {
            message = "该行应有 5 个字段（P,M,d,D,n），实有 " + std::to_string(row.size()) + " 个";
        } else {
            try {
                const bool refused = calculate(texts(row), sink, {}, '.', 1) == Outcome::Refused;
                status = refused ? "refused" : "ok";
                if (refused) message = fullTensionMessage;
            } catch (const TarvelError& e) {
                message = e.what();
            }
        }
        FUZZ_CHECK(got[5] == status, context);
        for (std::size_t b = 0; b < allResultBoxes.size(); ++b) {
            const ResultBox box = allResultBoxes[b];
            bool written = false;
            for (ResultBox w : sink.order())
                written = written || w == box;
            FUZZ_CHECK(got[6 + b] == (written ? sink.result()[box] : ""), context);
        }
        FUZZ_CHECK(got.back() == message, context);
    }
    return 0;
}
