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
#ifdef _WIN32
    // The C runtime's rule for one argument: in double quotes, a quote escaped by a backslash, and
    // the backslashes before a quote (or the closing one) doubled.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
#else
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
#endif
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
#else
    static_cast<void>(dataHome);  // Windows' recycle bin is the shell's
#endif
    command += ShellQuote(program);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    // Never a terminal on its input: a command that would ask refuses instead.
#ifdef _WIN32
    command += " <NUL >" + ShellQuote((dir / "out").string()) + " 2>" + ShellQuote((dir / "err").string());
    // cmd.exe takes away the first and last quote of a line that starts with one.
    command = "\"" + command + "\"";
#else
    command += " </dev/null >" + ShellQuote((dir / "out").string()) + " 2>" + ShellQuote((dir / "err").string());
#endif
    CliResult result;
    int raw = std::system(command.c_str());
#ifdef _WIN32
    // Under Wine the shell has been seen, rarely, not to start at all (it made neither file) or
    // not to find the program it had just run (9009, "Can't recognize ... as an internal or
    // external command"): either way the program never ran. Up to twice more, then the test sees
    // what happened.
    for (int again = 0; again < 2 && (!std::filesystem::exists(dir / "err") || raw == 9009); ++again) {
        raw = std::system(command.c_str());
    }
    result.status = raw;
#else
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    result.out = Slurp(dir / "out");
    result.err = Slurp(dir / "err");
    if (!std::filesystem::exists(dir / "err")) {
        result.status = -1;
        result.err = "the shell did not run the command (system returned " + std::to_string(raw) + "): " + command;
    }
    return result;
}

}  // namespace qh::test
