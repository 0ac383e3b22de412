// tarvel-calc: the column-base calculation from the command line.

#include "analysis/calculation.h"
#include "batch.h"
#include "checks/designbase.h"
#include "core/number.h"
#include "optimize.h"
#include "options.h"
#include "output.h"
#include "project/project.h"
#ifdef TARVEL_WITH_REPORT
#include "reportcommand.h"
#else
#include "reporthelper.h"
#endif

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

const char* const usage =
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
    "  --bolt M36         锚栓规格 M20…M100（默认 M36）\n"
    "  --steel Q355       锚栓钢材 Q235、Q355、Q390（默认 Q355）\n"
    "  --concrete C30     混凝土强度等级 C20…C60（默认 C30）\n"
    "  --beta-l 1.0       局部受压提高系数 βl，1.0～3.0（默认 1.0）\n"
    "  --shear 0          柱脚剪力设计值 V(kN)，取绝对值（默认 0）\n"
    "  --friction 0.4     底板与砂浆间摩擦系数 μ，0 < μ ≤ 1（默认 0.4）\n"
    "  --check            按默认值验算\n"
    "分析方法：\n"
    "  --method envelope  envelope 包络（验算的默认：各验算项取两法中较大的需求）、elastic\n"
    "                     弹性受压区法或 compatibility 应变协调法（刚性底板，平截面假定）；\n"
    "                     不验算且不给出 --method 时 12 行结果为弹性受压区法的\n"
    "  --modular-ratio X  应变协调法的模量比 nE = Es/Ec，1～50（默认按混凝土强度等级）\n"
    "构造参数（给出 --tube 时另验算板件：plate plate_inside cap cap_weld stiffener\n"
    "stiffener_weld stiffener_plate_weld column_weld tube anchorage detailing）：\n"
    "  --tube 1020x16     钢管 外径x壁厚(mm)        --tube-steel Q355   钢管钢材\n"
    "  --plate 30         底板厚度(mm)              --plate-steel Q355  板件钢材\n"
    "  --stiffener 20x400 加劲肋 厚x高(mm)          --cap 30x240        锚栓顶板 厚x宽(mm)\n"
    "  --weld 12          柱底焊脚(mm)              --stiffener-weld 10 加劲肋焊脚(mm)\n"
    "  --electrode E50    焊条 E43、E50、E55        --anchorage 1000    锚固长度(mm)\n"
    "  --infill           管内填充混凝土（管内底板由填充混凝土支承）\n"
    "  --weld full        柱底为全熔透对接焊缝（一、二级），按钢管截面等强验算\n"
    "验算时在 12 行结果之后输出 method 行（验算所用的分析方法），再输出 bolt、bearing、shear、\n"
    "equilibrium 四行（给出 --tube 时另有板件各行）：\n"
    "名称<TAB>设计值<TAB>承载力/限值<TAB>利用率<TAB>ok|fail，最后一行 verdict<TAB>ok|fail。\n"
    "\n"
    "--json：以一个 JSON 对象输出输入、12 个结果、分析方法（method；results_method 为所示结果的\n"
    "方法）、各锚栓拉力（bolt_forces，\n"
    "kN，锚栓 1 在前）、验算输入与各项验算（含精确平衡解）。\n"
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
    "  （mass 为 kg；stiffener 为 tsxhs，cap 为 tcxbc；governing 为 验算项@组合名）。\n"
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
    "3 底板全截面受拉或应变协调法无平衡解；4 计算成功但有验算项不满足（--optimize：没有满足的方案）。\n";

// Prints each text the moment it is made, so that a failure leaves the earlier ones.
class PrintSink : public tarvel::TextSink {
  public:
    void write(tarvel::ResultBox box, const std::string& text) override {
        TextSink::write(box, text);
        std::printf("%s\t%s\n", tarvel::boxName(box), text.c_str());
        std::fflush(stdout);
    }
};

enum ExitStatus { success = 0, failure = 1, wrongUsage = 2, fullTension = 3, checkFails = 4 };

int usageError(const std::string& what) {
    std::fprintf(stderr, "tarvel-calc: %s\n%s", what.c_str(), usage);
    return wrongUsage;
}

// Reads a whole file, or standard input for "-"; false with a message on stderr. At most
// `limit` + 1 bytes are read, so that an oversized file is known as such without reading it.
bool readInput(const std::string& path, std::string& text,
               std::size_t limit = std::string::npos - 1) {
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

// Computes a table and writes it as CSV; the outcomes go to `outcomes` when asked for.
int writeTable(const tarvel::LoadTable& table, const tarvel::cli::Options& options,
               std::vector<std::optional<tarvel::CaseOutcome>>* outcomes) {
    const auto results = tarvel::cli::computeBatch(table, options, isatty(STDERR_FILENO));
    std::string out, summary;
    tarvel::cli::formatBatch(table, results, options, out, summary);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputs(summary.c_str(), stderr);
    if (outcomes) *outcomes = results;
    return std::fflush(stdout) == 0 ? success : failure;
}

int batch(const tarvel::cli::Options& options) {
    std::string text;
    if (!readInput(*options.csv, text)) return failure;
    tarvel::ReadOptions read;
    read.tensionPositive = options.tensionPositive;
    if (options.arguments.size() == 3)
        read.base = {options.arguments[0], options.arguments[1], options.arguments[2]};
    const tarvel::LoadTable table = tarvel::readLoadCases(text, read);
    if (!table.error.empty()) {
        std::fprintf(stderr, "错误：%s\n", table.error.c_str());
        if (!read.base && table.error.find("d、D、n") != std::string::npos)
            std::fprintf(stderr, "（可在 --csv FILE 之后给出 d D n，如 --csv %s 1520 1620 18）\n",
                         options.csv->c_str());
        return failure;
    }
    for (const std::string& line : table.readAs)
        std::fprintf(stderr, "读入：%s\n", line.c_str());
    return writeTable(table, options, nullptr);
}

int project(tarvel::cli::Options options) {
    std::string bytes;
    if (!readInput(*options.project, bytes, tarvel::maxProjectBytes)) return failure;
    tarvel::Project p;
    try {
        p = tarvel::parseProject(bytes);
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", e.what());
        return failure;
    }
    tarvel::LoadTable table;
    table.cases = tarvel::projectCases(p);
    table.hasName = table.hasV = true;
    // The project's design inputs; --shear replaces its V, so that a window's result can be
    // reproduced with another shear.
    if (options.shearGiven)
        p.design.V = options.design.V;
    else
        options.shearText = tarvel::numberToText(p.design.V);
    options.design = p.design;
    options.checks = true;
    std::vector<std::optional<tarvel::CaseOutcome>> outcomes;
    const int status = writeTable(table, options, &outcomes);
    if (status != success || !options.report) return status;
#ifdef TARVEL_WITH_REPORT
    std::string error;
    if (!tarvel::cli::writeProjectReport(options, p, outcomes, error)) {
        std::fprintf(stderr, "错误：%s\n", error.c_str());
        return failure;
    }
    return success;
#else
    std::fprintf(stderr, "错误：本程序构建时未包含计算书\n");
    return failure;
#endif
}

// The sizing of a project's base: the best designs on stdout, the tally on stderr.
int optimize(const tarvel::cli::Options& options) {
    std::string bytes;
    if (!readInput(*options.optimize, bytes, tarvel::maxProjectBytes)) return failure;
    try {
        const tarvel::Project p = tarvel::parseProject(bytes);
        if (!p.design.detailing) {
            std::fprintf(stderr, "错误：优化选型需要钢管柱脚的构造参数，项目中没有钢管"
                                 "（在设计窗口的「构造参数」中给出钢管 Dt×tw）\n");
            return failure;
        }
        const tarvel::SizingRanges ranges = tarvel::cli::sizingRanges(p, options);
        tarvel::SizingOptions sizing;
        sizing.top = options.top;
        std::atomic<std::size_t> done{0}, total{0};
        const bool showProgress = isatty(STDERR_FILENO);
        if (showProgress)
            sizing.progress = [&](std::size_t finished, std::size_t all) {
                done = finished;
                total = all;
            };
        tarvel::SizingResult result;
        std::atomic<bool> finished{false};
        std::exception_ptr failed;
        std::thread worker([&] {
            try {
                result = tarvel::sizeBase(p, ranges, sizing);
            } catch (...) {
                failed = std::current_exception();
            }
            finished = true;
        });
        bool shown = false;
        const auto start = std::chrono::steady_clock::now();
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (showProgress && !finished &&
                std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) {
                std::fprintf(stderr, "\r已试算 %zu / %zu 种几何", done.load(), total.load());
                shown = true;
            }
        }
        worker.join();
        if (shown) std::fprintf(stderr, "\n");
        if (failed) std::rethrow_exception(failed);
        const std::string out =
            options.json ? tarvel::cli::sizingJson(result, ranges,
                                                   tarvel::readDetailing(*p.design.detailing).Dt)
                         : tarvel::cli::sizingTable(result);
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fputs(tarvel::cli::sizingSummary(result).c_str(), stderr);
        if (std::fflush(stdout) != 0) return failure;
        if (result.designs.empty()) {
            std::fprintf(stderr, "%s\n", tarvel::cli::mostRejected(result).c_str());
            return checkFails;
        }
        return success;
    } catch (const tarvel::TarvelError& e) {
        std::string message = e.what();
        // A range of the project file is named by its option.
        const char* option = tarvel::cli::sizingOptionName(e.field());
        if (*option && message.find("--") != 0) message = std::string(option) + "：" + message;
        std::fprintf(stderr, "错误：%s\n", message.c_str());
    }
    return failure;
}

// Writes the report of a case whose results are out; the status stays unless it fails.
int withReport(const tarvel::cli::Options& options, const tarvel::InputTexts& texts, int status) {
    if (!options.report || status == failure) return status;
#ifdef TARVEL_WITH_REPORT
    std::string error;
    if (!tarvel::cli::writeCaseReport(options, texts, error)) {
        std::fprintf(stderr, "错误：%s\n", error.c_str());
        return status == fullTension ? fullTension : failure;
    }
    return status;
#else
    (void)texts;
    std::fprintf(stderr, "错误：本程序构建时未包含计算书\n");
    return failure;
#endif
}

// One case as lines of text: the 12 results as they are made, then the checks.
int singleCase(const tarvel::cli::Options& options, const tarvel::InputTexts& texts) {
    PrintSink sink;
    try {
        // A bad design input, a base that cannot exist or a detailing that does not fit is
        // reported before any line.
        if (options.checks) {
            tarvel::requireRealBase(texts);
            tarvel::checkDetailingFits(tarvel::resolveDesign(options.design), texts);
        }
        if (tarvel::calculate(texts, sink) == tarvel::Outcome::Refused) {
            std::printf("%s\n", tarvel::fullTensionMessage);
            return fullTension;
        }
        if (!options.checks) return success;
        const tarvel::DesignChecks checks =
            tarvel::checkDesign(tarvel::analyze(texts), texts, sink.result(), options.design);
        std::fputs(tarvel::cli::checkLines(checks, tarvel::AnalysisMethod::Elastic).c_str(),
                   stdout);
        return checks.ok ? success : checkFails;
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "错误：计算失败（%s）\n", e.what());
    }
    return failure;
}

// One case by the compatibility method or the envelope (the design's default): the whole
// case is computed, then printed as the elastic method prints it.
int methodCase(const tarvel::cli::Options& options, const tarvel::InputTexts& texts) {
    const tarvel::CaseOutcome outcome = tarvel::computeCase(texts, options.design, 0, options.checks);
    for (tarvel::ResultBox box : outcome.written)
        std::printf("%s\t%s\n", tarvel::boxName(box), outcome.result[box].c_str());
    switch (outcome.status) {
    case tarvel::CaseOutcome::Status::Refused:
        std::printf("%s\n", outcome.message.c_str());
        return fullTension;
    case tarvel::CaseOutcome::Status::Error:
        std::fprintf(stderr, "错误：%s\n", outcome.message.c_str());
        return failure;
    case tarvel::CaseOutcome::Status::Ok:
        break;
    }
    if (!outcome.methodRemark.empty()) std::fprintf(stderr, "说明：%s\n", outcome.methodRemark.c_str());
    if (!outcome.hasChecks) return success;
    std::fputs(tarvel::cli::checkLines(outcome.checks, options.design.method).c_str(), stdout);
    return outcome.checks.ok ? success : checkFails;
}

int jsonCase(const tarvel::cli::Options& options, const tarvel::InputTexts& texts) {
    const tarvel::CaseOutcome outcome = tarvel::computeCase(texts, options.design);
    std::fputs(tarvel::cli::caseJson(outcome, options).c_str(), stdout);
    switch (outcome.status) {
    case tarvel::CaseOutcome::Status::Refused:
        return fullTension;
    case tarvel::CaseOutcome::Status::Error:
        std::fprintf(stderr, "错误：%s\n", outcome.message.c_str());
        return failure;
    case tarvel::CaseOutcome::Status::Ok:
        break;
    }
    return outcome.checks.ok ? success : checkFails;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "-h") {
        std::fputs(usage, stdout);
        return success;
    }
    tarvel::cli::Options options;
    try {
        options = tarvel::cli::parseOptions(args);
    } catch (const tarvel::cli::UsageError& e) {
        return usageError(e.message);
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", e.what());
        return failure;
    }
    if (options.help) {
        std::fputs(usage, stdout);
        return success;
    }
    if (options.version) {
        std::printf("tarvel-calc %s\n", TARVEL_VERSION);
        return success;
    }
#ifndef TARVEL_WITH_REPORT
    // The report needs Qt, which the command does not load: its helper does all of it.
    if (options.report) return tarvel::cli::runReportHelper(argv);
#endif
    if (options.checks || options.design.method != tarvel::AnalysisMethod::Elastic ||
        options.design.modularRatio) {
        // A bad design option is reported before anything is computed.
        try {
            tarvel::resolveDesign(options.design);
        } catch (const tarvel::TarvelError& e) {
            std::fprintf(stderr, "错误：%s\n", e.what());
            return failure;
        }
    }
    if (options.tensionPositive && !options.csv)
        return usageError("--tension-positive 只用于 --csv 读入的表");
    if (options.optimize) {
        if (options.project || options.csv)
            return usageError("--optimize 不能与 --project 或 --csv 同时使用");
        if (options.designGiven) return usageError("--optimize 的验算输入取自项目文件");
        if (options.report)
            return usageError("--optimize 不写计算书；采用方案后再用 --project --report");
        if (!options.arguments.empty()) return usageError("--optimize 之后不再需要 P M d D n");
        return optimize(options);
    }
    if (options.project) {
        if (options.csv) return usageError("--project 与 --csv 不能同时使用");
        // Only the shear may be given: the other design inputs are the project's.
        if (options.designBesidesShear)
            return usageError("--project 的验算输入取自项目文件（只可另给 --shear）");
        if (options.json) return usageError("--project 输出 CSV，不能与 --json 同用");
        if (!options.arguments.empty()) return usageError("--project 之后不再需要 P M d D n");
        return project(options);
    }
    if (options.csv) {
        if (!options.arguments.empty() && options.arguments.size() != 3)
            return usageError("--csv FILE 之后只可给出 d D n（表中没有这三列时）");
        if (options.report) return usageError("--report 用于单个荷载组合或 --project");
        return batch(options);
    }
    if (options.arguments.size() != 5) return usageError("需要 5 个参数：P M d D n");
    tarvel::InputTexts texts;
    for (int i = 0; i < 5; ++i)
        texts[i] = options.arguments[i];
    // A report is a design report: it comes with the checks.
    if (options.report) options.checks = true;
    const int status = options.json ? jsonCase(options, texts)
                       : options.design.method != tarvel::AnalysisMethod::Elastic
                           ? methodCase(options, texts)
                           : singleCase(options, texts);
    return withReport(options, texts, status);
}
