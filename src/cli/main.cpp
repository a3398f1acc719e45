// quillhaven-cli: the editor's engine from a shell.
#include <CLI/CLI.hpp>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#include <exception>
#include <iostream>

#include "cli/cli_support.h"
#include "cli/path_options.h"
#include "cli/check_command.h"
#include "cli/diff_command.h"
#include "cli/list_command.h"
#include "cli/clone_commands.h"
#include "cli/context.h"
#include "cli/edit_commands.h"
#include "cli/info_command.h"
#include "cli/neighborhood_commands.h"
#include "cli/package_commands.h"
#include "cli/resource_commands.h"
#include "cli/tree_command.h"
#include "cli/backup_commands.h"
#include "platform/build_info.h"
#include "platform/game_discovery.h"
#include "platform/memory_use.h"

int main(int argc, char** argv) {
    qh::ReuseLargeBlocks();
#ifdef _WIN32
    // The same bytes as on every system (JSON, CSV, dumps compared across machines): no CR added.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    // "/l CODE" is the game's own switch, not an option CLI11 can read: take it out first.
    std::vector<std::string> arguments = qh::cli::Utf8Arguments(argc, argv);
    qh::cli::GlobalOptions options;
    options.languageSwitch = qh::TakeLanguageSwitch(arguments);
    std::reverse(arguments.begin(), arguments.end());  // CLI11 parses a reversed vector

    qh::cli::StderrReporter reporter;
    CLI::App app{"Quillhaven: inspect and edit The Sims 2 neighborhoods"};
    app.name("quillhaven-cli");
    app.set_version_flag("--version", qh::VersionText());
    app.require_subcommand(1);
    app.fallthrough();
    qh::cli::AddGlobalOptions(app, options);
    qh::cli::AddPackageCommands(app, reporter);
    qh::cli::AddInfoCommand(app, options);
    qh::cli::AddCareersCommand(app, options);
    qh::cli::AddGenesCommand(app, options, reporter);
    qh::cli::AddResourceCommands(app, options, reporter);
    qh::cli::AddNeighborhoodCommands(app, options, reporter);
    qh::cli::AddEditCommands(app, options, reporter);
    qh::cli::AddCloneCommands(app, options, reporter);
    qh::cli::AddCheckCommand(app, options, reporter);
    qh::cli::AddListCommand(app, options, reporter);
    qh::cli::AddDiffCommand(app, options, reporter);
    qh::cli::AddTreeCommand(app, options, reporter);
    qh::cli::AddBackupCommands(app, options, reporter);
    const std::string firstWord = arguments.empty() ? std::string() : arguments.back();  // parsing consumes them
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        // A mistyped command is named, with the commands there are.
        if (error.get_exit_code() != 0 && !firstWord.empty()) {
            const std::string& first = firstWord;
            std::string names;
            bool known = false;
            for (const CLI::App* command : app.get_subcommands({})) {
                names += (names.empty() ? "" : ", ") + command->get_name();
                known |= command->get_name() == first;
            }
            if (!first.empty() && first[0] != '-' && first[0] != '/' && !known) {
                std::cerr << "quillhaven-cli: there is no command \"" << first << "\"; the commands are " << names << '\n';
                return 2;
            }
        }
        return app.exit(error);
    } catch (const qh::cli::ExitStatus& status) {
        std::cout.flush();
        return status.status();
    } catch (const std::exception& error) {
        std::cerr << "quillhaven-cli: " << error.what() << '\n';
        return 1;
    }
    // Output that could not be written (a full disk, a closed pipe) is a failure, not a result.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "quillhaven-cli: the output could not be written\n";
        return 1;
    }
    return 0;
}
