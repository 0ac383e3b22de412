#include "command.h"

#include "checks/methods.h"
#include "options.h"
#include "project/designinputs.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

namespace tarvel::cli {

namespace {

const char* const usageTemplate =
    "用法: tarvel-calc [验算选项] [--json] [--] P M d D n\n"
    "      tarvel-calc [验算选项] [--tension-positive] --csv FILE [d D n]\n"
    "                                         (FILE 为 - 时读标准输入)\n"
    "      tarvel-calc --project FILE.tarvel [--shear V] [--report FILE.pdf|FILE.html]\n"
    "      tarvel-calc --optimize FILE.tarvel [--top N] [--json] [范围选项]\n"
    "      tarvel-calc --help | --version\n"
    "\n"
    "计算圆钢管柱脚：P 轴力(kN，拉为负)，M 弯矩(kN·m)，d 底板受压直径(mm)，\n"
    "D 锚栓中心圆直径(mm)，n 锚栓个数。各值按窗口中输入框的文字读入；\n"
    "-- 结束选项，其后的负数（如 -- -826 ...）也作为参数。\n"
    "\n"
    "输出每行一个结果：名称<TAB>文字，依次为 xt qmaxt tt fmst mmst fqt mqt ct c2t h1t h2t vt。\n"
    "\n"
    "验算选项（给出任一项即进行设计验算）：\n"
    "%DESIGN%"
    "  --check            按默认值验算\n"
    "%METHODS%"
    "%MODEL%"
    "构造参数（给出 --tube 时另验算板件：plate plate_inside cap cap_weld stiffener\n"
    "stiffener_weld stiffener_plate_weld column_weld tube anchorage detailing）：\n"
    "%DETAILING%"
    "柱墩：\n"
    "%PEDESTAL%"
    "验算时在 12 行结果之后输出 method 行（验算所用的分析方法），再输出 bolt、bearing、shear、\n"
    "equilibrium 四行（给出 --tube 时另有板件各行）：\n"
    "名称<TAB>设计值<TAB>承载力/限值<TAB>利用率<TAB>ok|fail，最后一行 verdict<TAB>ok|fail。\n"
    "\n"
    "--json：以一个 JSON 对象输出输入、12 个结果、分析方法（method；results_method 为所示结果的\n"
    "方法）、各锚栓拉力（bolt_forces，\n"
    "kN，锚栓 1 在前）、验算输入与各项验算（含精确平衡解）；板有限元法另有 fem（节点与单元数、\n"
    "迭代次数、接触面积、各锚栓拉力、转角、底板最大应力及其位置）。\n"
    "\n"
    "--report FILE.pdf|FILE.html：写出计算书（PDF 或 HTML，按后缀；同时进行设计验算；\n"
    "  计算书注明分析方法）。\n"
    "  --project-name 工程名称  --member 构件编号  --designer 设计  --checker 校对\n"
    "--project FILE.tarvel：计算项目文件中的全部荷载组合，输出与 --csv 相同的 CSV（含 name 列与\n"
    "  验算列），最不利组合写到标准错误；与 --report 同用时写出项目计算书。V 为空的荷载组合取\n"
    "  项目的设计剪力 design.V；--shear 另给设计剪力，其余验算输入取自项目文件。\n"
    "验算时 d、D 须大于 0，n 须为正整数，否则不作验算（退出状态 1）。\n"
    "--optimize FILE.tarvel：优化选型。项目须有钢管（构造参数）；在下列范围内找出全部荷载组合\n"
    "  各项验算均满足的最轻柱脚，按质量列出前 N 个（--top N，默认 10）。每行以制表符分隔：\n"
    "  rank mass d D n bolt plate stiffener cap weld stiffener_weld anchorage governing ratio\n"
    "  （mass 为 kg；stiffener 为 tsxhs，cap 为 tcxbc；governing 为 验算项@组合名，\n"
    "  与荷载无关的验算只写验算项）。\n"
    "  范围取自项目文件的 sizing，再由选项覆盖（列表以逗号分隔，范围为 下限:上限:步长，mm）：\n"
    "  --bolts M24,M30,...   锚栓规格（默认 M24…M64）\n"
    "  --counts 8,12,16      锚栓个数（默认 8,12,16,18,20,24,28,32,36）\n"
    "  --d-range 1200:1600:20      底板受压直径 d（默认 Dt+100 至 2Dt，步长 20）\n"
    "  --offset-range 60:400:20    锚栓中心圆外伸 D−d（默认 60:400:20）\n"
    "  --thicknesses 16,20,25      底板、加劲肋、顶板厚度（默认 16 至 100 的常用板厚）\n"
    "  --stiffener-heights 200:600:50  加劲肋高度 hs（默认 200:600:50）\n"
    "  --welds 6,8,10,12     柱底与加劲肋焊脚（默认 6 至 16）\n"
    "  锚固长度取所需长度向上取整到 10 mm，顶板宽 bc 取项目中的值。\n"
    "  标准错误中列出试算与淘汰的方案数（按验算项）和质量公式；没有满足的方案时退出状态为 4。\n"
    "\n"
    "--csv：每行一个荷载组合 P,M,d,D,n（可另有 V 列与 name 列；首行为列名时视为表头，\n"
    "列按列名对应）。文件可为 UTF-8（可带 BOM）或 GB18030，逗号或制表符分隔。\n"
    "  分析程序的导出可直接读入：表头前可有标题行；列名不分大小写，可带单位（N (kN)、\n"
    "  Mx [kN·m]、M kN-m）：名称/组合/荷载组合/combo/case，P/N/轴力，M/弯矩 或 Mx 与 My\n"
    "  （M = √(Mx²+My²)），V/剪力 或 Vx 与 Vy；力的单位 N、kN、MN，弯矩 N·m、N·mm、kN·m、\n"
    "  kN·mm、MN·m，按 kN、kN·m 换算。表中没有 d、D、n 时在 FILE 之后给出。\n"
    "  --tension-positive：表中轴力以拉为正（读入时取反）。换算情况写到标准错误。输出 CSV：\n"
    "[name,]P,M,d,D,n,status,xt,...,vt,message；status 为 ok、refused 或 error。验算时另有\n"
    "V,bolt_ratio,bearing_ratio,shear_ratio,equilibrium_ratio,verdict 列，\n"
    "并在标准错误中列出各项验算最不利的荷载组合。验算时或 --method compatibility、envelope 时\n"
    "末列 method 为该行结果所用的分析方法。\n"
    "\n"
    "退出状态：0 成功；1 计算失败或文件无法读取（错误信息写到标准错误）；2 用法错误；\n"
    "3 底板全截面受拉，或应变协调法、板有限元法无平衡解；4 "
    "计算成功但有验算项不满足（--optimize：没有满足的方案）。\n";

// The usage lines of the design inputs of one block, in the list's order but for those placed
// after another option's.
std::string designUsage(tarvel::UsageBlock block) {
    std::vector<const tarvel::DesignInputEntry*> lines;
    for (const tarvel::DesignInputEntry& e : tarvel::designInputs())
        if (e.usageBlock == block && !e.usageAfter) lines.push_back(&e);
    for (const tarvel::DesignInputEntry& e : tarvel::designInputs()) {
        if (e.usageBlock != block || !e.usageAfter) continue;
        auto after = std::find_if(lines.begin(), lines.end(), [&](auto* line) {
            return std::string_view(line->option) == e.usageAfter;
        });
        lines.insert(after == lines.end() ? after : after + 1, &e);
    }
    std::string text;
    for (const tarvel::DesignInputEntry* e : lines)
        text += e->usage;
    return text;
}

void fill(std::string& text, std::string_view name, const std::string& lines) {
    text.replace(text.find(name), name.size(), lines);
}

// The usage with the design inputs of their list and the methods of their table, one a line,
// the default first.
std::string usageText() {
    std::string methods = "分析方法：\n";
    // The option's column is as wide as "  --method elastic   ".
    constexpr std::size_t optionWidth = 21;
    // The checks take the envelope unless a method is chosen; the plain twelve texts are the
    // elastic method's.
    bool first = true;
    for (const tarvel::MethodDefinition& m : tarvel::methodDefinitions()) {
        std::string line = first ? std::string("  --method ") + m.key : std::string();
        line.resize(optionWidth, ' ');
        std::string note = m.method == tarvel::AnalysisMethod::Envelope ? "验算的默认"
                           : m.method == tarvel::AnalysisMethod::Elastic
                               ? "不验算时 12 行结果的默认"
                               : "";
        if (*m.usage) note += (note.empty() ? "" : "，") + std::string(m.usage);
        methods += line + m.key + ' ' + m.title + (note.empty() ? "" : "（" + note + "）") + '\n';
        first = false;
    }
    std::string text = usageTemplate;
    fill(text, "%DESIGN%", designUsage(tarvel::UsageBlock::design));
    fill(text, "%METHODS%", methods);
    fill(text, "%MODEL%", designUsage(tarvel::UsageBlock::model));
    fill(text, "%DETAILING%", designUsage(tarvel::UsageBlock::detailing));
    fill(text, "%PEDESTAL%", designUsage(tarvel::UsageBlock::pedestal));
    return text;
}

} // namespace

const std::string& usage() {
    static const std::string text = usageText();
    return text;
}

int usageError(const std::string& what) {
    std::fprintf(stderr, "tarvel-calc: %s\n%s", what.c_str(), usage().c_str());
    return wrongUsage;
}

bool readInput(const std::string& path, std::string& text, std::size_t limit) {
    if (path == "-") {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        text = buffer.str();
        return true;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "错误：无法读取文件 %s（%s）\n", path.c_str(), std::strerror(errno));
        return false;
    }
    std::vector<char> buffer(1 << 16);
    while (text.size() <= limit && file) {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        text.append(buffer.data(), static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        std::fprintf(stderr, "错误：读取文件 %s 时出错\n", path.c_str());
        return false;
    }
    return true;
}

// An engine message about a design input that has an option of its own, named by it.
std::string optionMessage(const TarvelError& e) {
    const char* option = designOptionName(e.field());
    return *option ? std::string(option) + "：" + e.what() : std::string(e.what());
}

} // namespace tarvel::cli
