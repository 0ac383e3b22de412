#include "loads/loadblock.h"

#include "core/number.h"
#include "loads/csv.h"

namespace {

bool sameValue(const std::string& a, const std::string& b) {
    if (a == b) return true;
    try {
        return tarvel::textToNumber(a) == tarvel::textToNumber(b);
    } catch (const tarvel::TarvelError&) {
        return false;
    }
}

QString geometryText(const Geometry& g) {
    return QString("d=%1, D=%2, n=%3")
        .arg(QString::fromStdString(g[0]), QString::fromStdString(g[1]),
             QString::fromStdString(g[2]));
}

// A row's error named by its row: "该行…" becomes "第 k 行…".
QString rowError(int row, const std::string& error) {
    const QString e = QString::fromStdString(error);
    if (e.startsWith("该行")) return QString("第 %1 行").arg(row) + e.mid(2);
    return QString("第 %1 行：%2").arg(row).arg(e);
}

} // namespace

LoadBlock parseLoadBlock(std::string_view bytes, const Geometry& current, bool adopt,
                         bool tensionPositive) {
    tarvel::ReadOptions options;
    options.tensionPositive = tensionPositive;
    options.geometryOptional = true;
    const tarvel::LoadTable table = tarvel::readLoadCases(bytes, options);
    LoadBlock block;
    if (!table.error.empty()) {
        block.error = QString::fromStdString(table.error);
        return block;
    }
    block.readAs = table.readAs;
    std::optional<Geometry> reference;
    if (!adopt) reference = current;
    for (const tarvel::LoadCase& c : table.cases) {
        if (!c.error.empty()) {
            block.error = rowError(c.row, c.error);
            return block;
        }
        if (c.hasGeometry) {
            const Geometry g{c.inputs[2], c.inputs[3], c.inputs[4]};
            if (!reference) {
                reference = g;
                block.geometry = g;
            }
            for (int i = 0; i < 3; ++i)
                if (!sameValue(g[i], (*reference)[i])) {
                    block.error =
                        QString("第 %1 行的几何尺寸（%2）与本项目的（%3）不同：一个项目只有"
                                "一个柱脚，请分开导入")
                            .arg(c.row)
                            .arg(geometryText(g), geometryText(*reference));
                    return block;
                }
        }
        block.loads.push_back({c.name, c.inputs[0], c.inputs[1], c.V});
        block.notes.push_back(c.note);
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
