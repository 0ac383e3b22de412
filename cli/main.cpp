// tarvel-calc: the column-base calculation from the command line.

#include "batch.h"
#include "calculation.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

namespace {

const char* const usage =
    "用法: tarvel-calc P M d D n\n"
    "      tarvel-calc --csv FILE     (FILE 为 - 时读标准输入)\n"
    "      tarvel-calc --help | --version\n"
    "\n"
    "计算圆钢管柱脚：P 轴力(kN，拉为负)，M 弯矩(kN·m)，d 底板受压直径(mm)，\n"
    "D 锚栓中心圆直径(mm)，n 锚栓个数。各值按窗口中输入框的文字读入。\n"
    "\n"
    "输出每行一个结果：名称<TAB>文字，依次为 xt qmaxt tt fmst mmst fqt mqt ct c2t h1t h2t vt。\n"
    "退出状态：0 成功；1 计算失败（错误信息写到标准错误）；2 用法错误；3 底板全截面受拉。\n"
    "\n"
    "--csv：每行一个荷载组合 P,M,d,D,n（首行为 P,M,d,D,n 时视为表头）。输出 CSV：\n"
    "P,M,d,D,n,status,xt,...,vt,message；status 为 ok、refused 或 error。\n"
    "文件读取成功时退出状态为 0，无法读取时为 1。\n";

// Prints each text the moment it is made, so that a failure leaves the earlier ones.
class PrintSink : public tarvel::TextSink {
  public:
    void write(tarvel::ResultBox box, const std::string& text) override {
        TextSink::write(box, text);
        std::printf("%s\t%s\n", tarvel::boxName(box), text.c_str());
        std::fflush(stdout);
    }
};

int batch(const std::string& path) {
    std::string text;
    if (path == "-") {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        text = buffer.str();
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "错误：无法读取文件 %s（%s）\n", path.c_str(),
                         std::strerror(errno));
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) {
            std::fprintf(stderr, "错误：读取文件 %s 时出错\n", path.c_str());
            return 1;
        }
    }
    std::string out;
    tarvel::cli::runBatch(text, out, isatty(STDERR_FILENO));
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int usageError(const char* what) {
    std::fprintf(stderr, "tarvel-calc: %s\n%s", what, usage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("tarvel-calc %s\n", TARVEL_VERSION);
        return 0;
    }
    if (!args.empty() && args[0] == "--csv") {
        if (args.size() != 2) return usageError("--csv 需要一个文件名（或 -）");
        return batch(std::string(args[1]));
    }
    // "--" ends the options; everything else is one of the five texts, negative numbers too.
    if (!args.empty() && args[0] == "--")
        args.erase(args.begin());
    else if (!args.empty() && args[0].starts_with("--"))
        return usageError(("未知选项 " + std::string(args[0])).c_str());
    if (args.size() != 5) return usageError("需要 5 个参数：P M d D n");

    tarvel::InputTexts texts;
    for (int i = 0; i < 5; ++i)
        texts[i] = std::string(args[i]);
    PrintSink sink;
    try {
        if (tarvel::calculate(texts, sink) == tarvel::Outcome::Refused) {
            std::printf("%s\n", tarvel::fullTensionMessage);
            return 3;
        }
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "错误：计算失败（%s）\n", e.what());
        return 1;
    }
    return 0;
}
