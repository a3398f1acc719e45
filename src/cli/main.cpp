// quillhaven-cli: the editor's engine from a shell.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/cli_support.h"
#include "cli/package_commands.h"

int main(int argc, char** argv) {
    qh::cli::StderrReporter reporter;
    CLI::App app{"Quillhaven: inspect and edit The Sims 2 neighborhoods"};
    app.require_subcommand(1);
    qh::cli::AddPackageCommands(app, reporter);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    } catch (const std::exception& error) {
        std::cerr << "quillhaven-cli: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
