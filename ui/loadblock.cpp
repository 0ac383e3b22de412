#include "loadblock.h"

#include "csv.h"

#include <QRegularExpression>
#include <QStringList>

#include <map>

namespace {

enum Field { Name, P, M, V, Dd, DD, Nn };

std::string trimmed(const std::string& s) {
    return QString::fromStdString(s).trimmed().toStdString();
}

std::optional<Field> headerField(const std::string& raw) {
    QString t = QString::fromStdString(raw).trimmed();
    const int bracket = t.indexOf(QRegularExpression("[(（]"));
    if (bracket > 0) t = t.left(bracket).trimmed();
    static const std::map<QString, Field> names{{"name", Name}, {"名称", Name}, {"P", P},
                                                {"M", M},       {"V", V},       {"d", Dd},
                                                {"D", DD},      {"n", Nn}};
    const auto it = names.find(t);
    if (it == names.end()) return std::nullopt;
    return it->second;
}

bool isNumber(const std::string& s) {
    bool ok = false;
    QString::fromStdString(s).trimmed().toDouble(&ok);
    return ok;
}

bool sameValue(const std::string& a, const std::string& b) {
    if (trimmed(a) == trimmed(b)) return true;
    bool okA = false, okB = false;
    const double x = QString::fromStdString(a).trimmed().toDouble(&okA);
    const double y = QString::fromStdString(b).trimmed().toDouble(&okB);
    return okA && okB && x == y;
}

QString geometryText(const Geometry& g) {
    return QString("d=%1, D=%2, n=%3")
        .arg(QString::fromStdString(g[0]), QString::fromStdString(g[1]),
             QString::fromStdString(g[2]));
}

} // namespace

LoadBlock parseLoadBlock(std::string_view bytes, const Geometry& current, bool adopt) {
    const std::string text = tarvel::decodeSpreadsheetText(bytes);
    std::vector<std::vector<std::string>> rows =
        tarvel::parseCsv(text, tarvel::guessDelimiter(text));
    LoadBlock block;

    // The column of each field by the header, or none.
    std::optional<std::vector<std::optional<Field>>> header;
    if (!rows.empty()) {
        std::vector<std::optional<Field>> columns;
        bool p = false, m = false;
        for (const std::string& f : rows.front()) {
            columns.push_back(headerField(f));
            p = p || columns.back() == P;
            m = m || columns.back() == M;
        }
        if (p && m) header = columns;
    }
    std::optional<Geometry> reference;
    if (!adopt) reference = current;
    for (std::size_t k = header ? 1 : 0; k < rows.size(); ++k) {
        const std::vector<std::string>& row = rows[k];
        const int line = static_cast<int>(k) + 1;
        bool blank = true;
        for (const std::string& f : row)
            blank = blank && trimmed(f).empty();
        if (blank) continue; // spreadsheets copy empty rows as runs of delimiters

        std::vector<std::optional<Field>> columns;
        if (header) {
            columns = *header;
            if (row.size() != columns.size()) {
                block.error = QString("第 %1 行应有 %2 个字段，实有 %3 个")
                                  .arg(line)
                                  .arg(columns.size())
                                  .arg(row.size());
                return block;
            }
        } else {
            switch (row.size()) {
            case 2:
                columns = {P, M};
                break;
            case 3:
                columns = isNumber(row[0]) ? std::vector<std::optional<Field>>{P, M, V}
                                           : std::vector<std::optional<Field>>{Name, P, M};
                break;
            case 4:
                columns = {Name, P, M, V};
                break;
            case 5:
                columns = {P, M, Dd, DD, Nn};
                break;
            case 6:
                columns = {P, M, Dd, DD, Nn, V};
                break;
            case 7:
                columns = {Name, P, M, Dd, DD, Nn, V};
                break;
            default:
                block.error = QString("第 %1 行有 %2 个字段，认不出是哪些列（可用：P,M | "
                                      "名称,P,M,V | P,M,d,D,n | P,M,d,D,n,V，或带表头）")
                                  .arg(line)
                                  .arg(row.size());
                return block;
            }
        }
        tarvel::ProjectLoad load;
        Geometry g;
        bool hasGeometry = false;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (!columns[c]) continue;
            switch (*columns[c]) {
            case Name:
                load.name = row[c];
                break;
            case P:
                load.P = row[c];
                break;
            case M:
                load.M = row[c];
                break;
            case V:
                load.V = row[c];
                break;
            case Dd:
            case DD:
            case Nn:
                g[*columns[c] - Dd] = row[c];
                hasGeometry = true;
                break;
            }
        }
        if (hasGeometry) {
            if (!reference) {
                reference = g;
                block.geometry = g;
            }
            for (int i = 0; i < 3; ++i)
                if (!sameValue(g[i], (*reference)[i])) {
                    block.error =
                        QString("第 %1 行的几何尺寸（%2）与本项目的（%3）不同：一个项目只有"
                                "一个柱脚，请分开导入")
                            .arg(line)
                            .arg(geometryText(g), geometryText(*reference));
                    return block;
                }
        }
        block.loads.push_back(std::move(load));
    }
    if (block.loads.empty()) block.error = "没有找到荷载组合";
    return block;
}

std::string loadsCsv(const std::vector<tarvel::ProjectLoad>& loads, const Geometry& g) {
    std::string out = "\xEF\xBB\xBF"
                      "name,P,M,d,D,n,V\n";
    for (const tarvel::ProjectLoad& l : loads) {
        for (const std::string* f : {&l.name, &l.P, &l.M, &g[0], &g[1], &g[2]})
            out += tarvel::csvField(*f) + ",";
        out += tarvel::csvField(l.V) + "\n";
    }
    return out;
}
