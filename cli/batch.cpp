#include "batch.h"

#include "calculation.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace tarvel::cli {

std::vector<std::vector<std::string>> parseCsv(std::string_view text) {
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
        } else if (ch == ',') {
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
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string out = "\"";
    for (char ch : field) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

namespace {

// "P,M,d,D,n", spaces around the names allowed.
bool isHeader(const std::vector<std::string>& row) {
    static const char* const names[] = {"P", "M", "d", "D", "n"};
    if (row.size() != 5) return false;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::size_t first = row[i].find_first_not_of(' ');
        const std::size_t last = row[i].find_last_not_of(' ');
        if (first == std::string::npos || row[i].substr(first, last - first + 1) != names[i])
            return false;
    }
    return true;
}

struct RowResult {
    std::string status;
    TextSink sink;
    std::string message;
};

RowResult computeRow(const std::vector<std::string>& fields) {
    RowResult r;
    if (fields.size() != 5) {
        r.status = "error";
        r.message = "该行应有 5 个字段（P,M,d,D,n），实有 " + std::to_string(fields.size()) + " 个";
        return r;
    }
    const InputTexts texts{fields[0], fields[1], fields[2], fields[3], fields[4]};
    try {
        // The rows share the cores; each row's search keeps to one.
        if (calculate(texts, r.sink, {}, '.', 1) == Outcome::Refused) {
            r.status = "refused";
            r.message = fullTensionMessage;
        } else {
            r.status = "ok";
        }
    } catch (const TarvelError& e) {
        r.status = "error";
        r.message = e.what();
    }
    return r;
}

} // namespace

void runBatch(std::string_view text, std::string& out, bool showProgress) {
    std::vector<std::vector<std::string>> rows = parseCsv(text);
    if (!rows.empty() && isHeader(rows.front())) rows.erase(rows.begin());

    std::vector<RowResult> results(rows.size());
    std::atomic<std::size_t> next{0}, done{0};
    auto worker = [&] {
        for (std::size_t k; (k = next++) < rows.size(); ++done)
            results[k] = computeRow(rows[k]);
    };
    // With a progress line this thread only reports; otherwise it computes too.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers =
        std::min<std::size_t>(showProgress ? cores : cores - 1, rows.size());
    std::vector<std::thread> pool;
    for (std::size_t i = 0; i < helpers; ++i)
        pool.emplace_back(worker);
    if (showProgress) {
        const auto start = std::chrono::steady_clock::now();
        bool shown = false;
        while (done < rows.size()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) {
                std::fprintf(stderr, "\r已计算 %zu / %zu 行", done.load(), rows.size());
                shown = true;
            }
        }
        if (shown) std::fprintf(stderr, "\n");
    } else {
        worker();
    }
    for (auto& t : pool)
        t.join();

    out += "P,M,d,D,n,status";
    for (ResultBox box : allResultBoxes)
        out += std::string(",") + boxName(box);
    out += ",message\n";
    for (std::size_t k = 0; k < rows.size(); ++k) {
        for (std::size_t f = 0; f < 5; ++f) {
            if (f < rows[k].size()) out += csvField(rows[k][f]);
            out += ',';
        }
        out += results[k].status;
        const auto& order = results[k].sink.order();
        for (ResultBox box : allResultBoxes) {
            out += ',';
            if (std::find(order.begin(), order.end(), box) != order.end())
                out += csvField(results[k].sink.result()[box]);
        }
        out += ',' + csvField(results[k].message) + '\n';
    }
}

} // namespace tarvel::cli
