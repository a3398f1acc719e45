// Runs quillhaven-cli as a player would, capturing what it prints.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace qh::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

inline std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The system's trash the command line uses lies in `dataHome` ($XDG_DATA_HOME), by default in a
// folder of the run's own: no test moves anything into the player's trash.
inline CliResult RunCli(const std::string& program, const std::vector<std::string>& args,
                        const std::filesystem::path& dataHome = {}) {
    TempDir dir;
    std::string command;
#ifndef _WIN32
    command = "XDG_DATA_HOME=" + ShellQuote((dataHome.empty() ? dir / "data" : dataHome).string()) + " ";
#endif
    command += ShellQuote(program);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    // Never a terminal on its input: a command that would ask refuses instead.
    command += " </dev/null >" + ShellQuote((dir / "out").string()) + " 2>" + ShellQuote((dir / "err").string());
    CliResult result;
    const int raw = std::system(command.c_str());
#ifdef _WIN32
    result.status = raw;
#else
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    result.out = Slurp(dir / "out");
    result.err = Slurp(dir / "err");
    return result;
}

}  // namespace qh::test
