// Runs quillhaven-cli as a player would, capturing what it prints.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
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

#ifdef _WIN32
inline std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

// Starts the program itself, its input the null device and its output in two files: no shell
// stands between the test and the program (Wine's cmd.exe was seen, rarely, not to find a program
// it had just run).
inline CliResult RunCli(const std::string& program, const std::vector<std::string>& args,
                        const std::filesystem::path& = {}) {
    TempDir dir;
    std::string command = ShellQuote(program);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    CliResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const auto open = [&](const std::wstring& path, DWORD access, DWORD disposition) {
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE in = open(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = open((dir / "out").wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = open((dir / "err").wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::wstring line = Wide(command);
    const bool started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
                         CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                        &process);
    const DWORD startError = started ? 0 : GetLastError();
    for (HANDLE handle : {in, out, err}) {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    if (!started) {
        result.err = "the program could not be started (error " + std::to_string(startError) + "): " + command;
        return result;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.status = static_cast<int>(code);
    result.out = Slurp(dir / "out");
    result.err = Slurp(dir / "err");
    return result;
}
#else
// The system's trash the command line uses lies in `dataHome` ($XDG_DATA_HOME), by default in a
// folder of the run's own: no test moves anything into the player's trash.
inline CliResult RunCli(const std::string& program, const std::vector<std::string>& args,
                        const std::filesystem::path& dataHome = {}) {
    TempDir dir;
    std::string command =
        "XDG_DATA_HOME=" + ShellQuote((dataHome.empty() ? dir / "data" : dataHome).string()) + " " + ShellQuote(program);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    // Never a terminal on its input: a command that would ask refuses instead.
    command += " </dev/null >" + ShellQuote((dir / "out").string()) + " 2>" + ShellQuote((dir / "err").string());
    CliResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = Slurp(dir / "out");
    result.err = Slurp(dir / "err");
    if (!std::filesystem::exists(dir / "err")) {
        result.status = -1;
        result.err = "the shell did not run the command (system returned " + std::to_string(raw) + "): " + command;
    }
    return result;
}
#endif

}  // namespace qh::test
