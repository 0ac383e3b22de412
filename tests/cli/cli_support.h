#pragma once

// Runs tarvel-calc as an engineer would, with its output, error text and exit status.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct CliResult {
    std::string out, err;
    int status = -1;
};

inline std::string readWhole(FILE* file) {
    std::string text;
    std::array<char, 4096> buf;
    std::size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), file)) > 0)
        text.append(buf.data(), got);
    return text;
}

// `args` go through the shell; `input` is standard input.
inline CliResult run(const std::string& args, const std::string& input = "") {
    // ctest runs tests of one binary side by side: each process has files of its own.
    const std::string tag = std::to_string(getpid());
    const std::string errFile = testing::TempDir() + "tarvel_cli_err_" + tag + ".txt";
    const std::string inFile = testing::TempDir() + "tarvel_cli_in_" + tag + ".txt";
    FILE* in = std::fopen(inFile.c_str(), "wb");
    std::fwrite(input.data(), 1, input.size(), in);
    std::fclose(in);
    const std::string command =
        std::string(TARVEL_CALC) + " " + args + " 2>" + errFile + " <" + inFile;
    CliResult r;
    FILE* pipe = popen(command.c_str(), "r");
    r.out = readWhole(pipe);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    FILE* err = std::fopen(errFile.c_str(), "rb");
    r.err = readWhole(err);
    std::fclose(err);
    return r;
}
