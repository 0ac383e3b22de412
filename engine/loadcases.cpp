#include "loadcases.h"

#include "csv.h"

#include <algorithm>
#include <thread>

namespace tarvel {

namespace {

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<LoadColumn> columnNamed(const std::string& field) {
    static const std::pair<const char*, LoadColumn> names[] = {
        {"name", LoadColumn::name}, {"P", LoadColumn::P}, {"M", LoadColumn::M},
        {"d", LoadColumn::d},       {"D", LoadColumn::D}, {"n", LoadColumn::n},
        {"V", LoadColumn::V}};
    const std::string t = trimmed(field);
    for (const auto& [name, column] : names)
        if (t == name) return column;
    return std::nullopt;
}

// The column of each field when the row is a header: every field a known name, none twice,
// and the five inputs all there.
std::optional<std::vector<LoadColumn>> headerColumns(const std::vector<std::string>& row) {
    std::vector<LoadColumn> columns;
    for (const std::string& field : row) {
        const auto column = columnNamed(field);
        if (!column || std::find(columns.begin(), columns.end(), *column) != columns.end())
            return std::nullopt;
        columns.push_back(*column);
    }
    for (LoadColumn required :
         {LoadColumn::P, LoadColumn::M, LoadColumn::d, LoadColumn::D, LoadColumn::n})
        if (std::find(columns.begin(), columns.end(), required) == columns.end())
            return std::nullopt;
    return columns;
}

std::string columnList(const std::vector<LoadColumn>& columns) {
    static const char* const names[] = {"name", "P", "M", "d", "D", "n", "V"};
    std::string out;
    for (LoadColumn c : columns) {
        if (!out.empty()) out += ',';
        out += names[static_cast<int>(c)];
    }
    return out;
}

} // namespace

LoadTable readLoadCases(std::string_view bytes) {
    const std::string text = decodeSpreadsheetText(bytes);
    std::vector<std::vector<std::string>> rows = parseCsv(text, guessDelimiter(text));
    LoadTable table;
    const std::vector<LoadColumn> plain{LoadColumn::P, LoadColumn::M, LoadColumn::d, LoadColumn::D,
                                        LoadColumn::n};
    std::optional<std::vector<LoadColumn>> header;
    if (!rows.empty()) header = headerColumns(rows.front());
    if (header) {
        table.hasHeader = true;
        rows.erase(rows.begin());
        table.hasName = std::count(header->begin(), header->end(), LoadColumn::name) > 0;
        table.hasV = std::count(header->begin(), header->end(), LoadColumn::V) > 0;
    }
    for (auto& row : rows) {
        LoadCase c;
        c.fields = row;
        std::vector<LoadColumn> columns;
        if (header) {
            columns = *header;
        } else {
            columns = plain;
            if (row.size() == plain.size() + 1) columns.push_back(LoadColumn::V);
        }
        if (row.size() != columns.size()) {
            const std::string expected = header ? columnList(columns) : "P,M,d,D,n";
            c.error = "该行应有 " + std::to_string(header ? columns.size() : plain.size()) +
                      " 个字段（" + expected + "），实有 " + std::to_string(row.size()) + " 个";
        }
        // Even a row that is no load case shows its fields where they belong.
        for (std::size_t k = 0; k < std::min(columns.size(), row.size()); ++k) {
            const LoadColumn col = columns[k];
            if (col == LoadColumn::name)
                c.name = row[k];
            else if (col == LoadColumn::V)
                c.V = row[k];
            else
                c.inputs[static_cast<int>(col) - static_cast<int>(LoadColumn::P)] = row[k];
        }
        if (!header && row.size() == plain.size() + 1) table.hasV = true;
        table.cases.push_back(std::move(c));
    }
    return table;
}

DesignInput caseDesign(const LoadCase& c, const DesignInput& design) {
    DesignInput d = design;
    if (!trimmed(c.V).empty()) d.V = designNumber(c.V, InputField::V);
    return d;
}

namespace {

CaseOutcome computeLoadCase(const LoadCase& c, const DesignInput& design, bool withChecks) {
    if (!c.error.empty()) {
        CaseOutcome out;
        out.status = CaseOutcome::Status::Error;
        out.message = c.error;
        return out;
    }
    if (!withChecks) return computeCase(c.inputs, design, 1, false);
    try {
        return computeCase(c.inputs, caseDesign(c, design), 1, true);
    } catch (const TarvelError& e) {
        CaseOutcome out;
        out.inputs = c.inputs;
        out.status = CaseOutcome::Status::Error;
        out.message = e.what();
        return out;
    }
}

} // namespace

std::vector<std::optional<CaseOutcome>> runBatch(const std::vector<LoadCase>& cases,
                                                 const DesignInput& design,
                                                 const BatchOptions& options) {
    std::vector<std::optional<CaseOutcome>> results(cases.size());
    std::atomic<std::size_t> next{0}, done{0};
    auto cancelled = [&] { return options.cancel && options.cancel->load(); };
    auto worker = [&] {
        for (std::size_t k; !cancelled() && (k = next++) < cases.size();) {
            results[k] = computeLoadCase(cases[k], design, options.withChecks);
            const std::size_t finished = ++done;
            if (options.progress) options.progress(finished, cases.size());
        }
    };
    const unsigned cores =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::min<std::size_t>(cores - 1, cases.size());
    std::vector<std::thread> pool;
    for (std::size_t i = 0; i < helpers; ++i)
        pool.emplace_back(worker);
    worker();
    for (auto& t : pool)
        t.join();
    return results;
}

std::array<int, checkCount> governingCases(const std::vector<std::optional<CaseOutcome>>& out) {
    std::array<int, checkCount> governing;
    governing.fill(-1);
    for (int k = 0; k < static_cast<int>(out.size()); ++k) {
        if (!out[k] || !out[k]->hasChecks) continue;
        for (int c = 0; c < checkCount; ++c) {
            if (!out[k]->checks.checks[c].checked) continue;
            const double ratio = out[k]->checks.checks[c].ratio;
            if (governing[c] < 0 || ratio > out[governing[c]]->checks.checks[c].ratio)
                governing[c] = k;
        }
    }
    return governing;
}

} // namespace tarvel
