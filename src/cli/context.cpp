#include "cli/context.h"

#include <cstdlib>

#include "cli/cli_support.h"
#include "cli/path_options.h"

#include <iostream>

#include "workspace/backups.h"

namespace qh::cli {
namespace fs = std::filesystem;

void AddGlobalOptions(CLI::App& app, GlobalOptions& options) {
    auto* group = app.add_option_group("Game discovery");
    AddPathOption(group, "--wine-prefix", options.winePrefix, "Wine prefix the game runs in");
    AddPathOption(group, "--user-data", options.userData,
                      "The game's user data folder (the one holding Neighborhoods)");
    AddPathOption(group, "--objects", options.objects, "The game's objects.package");
    group->add_option("--expansions", options.expansions,
                      "Installed expansions: comma-separated names, all or none");
    group->add_option("--language", options.language, "The game's language (code or name)");
    AddPathOption(group, "--settings", options.settings, "The program's settings (INI file)");
}

void Discover(const GlobalOptions& options, GameSession& session) {
    // The settings first: they remember which edition the player chose.
    if (!session.settings) session.settings = OpenSettings(options);
    try {
        DiscoverGame(session, options);
    } catch (const OptionError& error) {
        throw UsageError(error.what());
    }
    // A registry value or file discovery passed over is said, naming the file.
    for (const std::string& skipped : session.editions.skipped) std::cerr << "message: " << skipped << '\n';
    // What a killed backup or restore left is put right first, and said.
    if (!session.env.neighborhoodsFolder.empty()) {
        for (const std::string& said : RecoverInterruptedWork(session.env.neighborhoodsFolder,
                                                              ArchiveFolder(session.settings->ArchiveLoc(), session.personalFolder))) {
            std::cerr << "message: " << said << '\n';
        }
    }
}

fs::path WindowSettingsPath() {
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (const char* home = std::getenv("HOME")) {
        config = fs::path(home) / ".config";
    }
    return config.empty() ? fs::path() : config / "Bramblesoft" / "Quillhaven.conf";
}

std::unique_ptr<Settings> OpenSettings(const GlobalOptions& options) {
    if (options.settings) return std::make_unique<IniSettings>(*options.settings);
    std::error_code error;
    const fs::path own = WindowSettingsPath();
    if (!own.empty() && fs::exists(own, error)) {
        // Read only: a copy in memory, so the tool never rewrites the window's settings.
        auto settings = std::make_unique<MemorySettings>();
        IniSettings file(own);
        for (const char* name : {"ColorScheme", "Advanced", "NGBD", "Sort", "AdvMsgCnt",
                                 "ArchiveLoc", "ClonePath", "UserData"}) {
            if (auto value = file.Get(name)) settings->Set(name, *value);
        }
        return settings;
    }
    return std::make_unique<MemorySettings>();
}

}  // namespace qh::cli
