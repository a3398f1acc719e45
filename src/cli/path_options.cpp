#include "cli/path_options.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace qh::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    // argv is the ANSI code page's rendering of what was typed; the wide command line is whole.
    (void)argv;
    (void)argc;
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) {
        const int length = static_cast<int>(wcslen(wide[i]));
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], length, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], length, text.data(), n, nullptr, nullptr);
        arguments.push_back(std::move(text));
    }
    LocalFree(wide);
    return arguments;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace qh::cli
