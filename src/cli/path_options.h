// Paths on the command line. The arguments are UTF-8 text on every system (`Utf8Arguments`), and a
// path made of them must take them as such: on Windows the narrow text of a path is the ANSI code
// page's, which would turn "Héritage" into something no folder is called.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>
#include <vector>

namespace qh::cli {

// The program's arguments after its name, as UTF-8 (on Windows from the wide command line).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// An option or positional whose value is a path, read as UTF-8. `mustExist`: a file that exists.
template <class Target>
CLI::Option* AddPathOption(CLI::App* app, const std::string& name, Target& target, const std::string& help,
                           bool mustExist = false) {
    CLI::Option* option = app->add_option_function<std::string>(
        name, [&target](const std::string& text) { target = std::filesystem::u8path(text); }, help);
    if (mustExist) {
        option->check(CLI::Validator(
            [](std::string& text) {
                std::error_code error;
                return std::filesystem::is_regular_file(std::filesystem::u8path(text), error)
                           ? std::string()
                           : "File does not exist: " + text;
            },
            "FILE"));
    }
    return option;
}

}  // namespace qh::cli
