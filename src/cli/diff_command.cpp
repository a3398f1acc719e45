#include "cli/diff_command.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "workspace/backups.h"
#include "workspace/neighborhood_diff.h"

namespace qh::cli {

namespace {

namespace fs = std::filesystem;

struct DiffArguments {
    std::string before;
    std::string after;
    bool json = false;
    int threshold = 10;
};

// A side: a folder (a path that is one), a neighborhood of the game by its prefix, or a backup by
// its name in the backup folder.
void LoadSide(const GlobalOptions& options, const std::string& side, Reporter& reporter, GameSession& session,
              Workspace& into) {
    std::error_code error;
    const fs::path path = fs::u8path(side);
    if (fs::is_directory(path, error)) {
        Discover(options, session);
        LoadNeighborhoodFolder(into, path, session.env.languageCode, reporter);
        return;
    }
    Discover(options, session);
    if (session.env.neighborhoodsFolder.empty()) throw UsageError(UserDataNotFound(session));
    ScanCatalogue(session, reporter);
    if (const auto entry = FindNeighborhood(session, side)) {
        NullProgress progress;
        LoadSessionNeighborhood(session, *entry, reporter, progress);
        into = std::move(session.workspace);
        session.workspace = Workspace{};
        return;
    }
    const fs::path backup = ArchiveFolder(session.settings->ArchiveLoc(), session.personalFolder) / fs::u8path(side);
    if (fs::is_directory(backup, error)) {
        LoadNeighborhoodFolder(into, backup, session.env.languageCode, reporter);
        return;
    }
    throw UsageError("\"" + side + "\" is no folder, no neighborhood and no backup");
}

nlohmann::ordered_json GroupsJson(const std::vector<DiffGroup>& groups) {
    nlohmann::ordered_json out = nlohmann::json::array();
    for (const DiffGroup& g : groups) out.push_back({{"who", g.who}, {"changes", g.changes}});
    return out;
}

}  // namespace

void AddDiffCommand(CLI::App& app, const GlobalOptions& globals, Reporter& reporter) {
    auto args = std::make_shared<DiffArguments>();
    auto* cmd = app.add_subcommand("diff", "What changed between two saves of a neighborhood (A before, B after)");
    cmd->add_option("A", args->before, "A neighborhood's prefix, a backup's name, or a folder")->required();
    cmd->add_option("B", args->after, "A neighborhood's prefix, a backup's name, or a folder")->required();
    cmd->add_flag("--json", args->json, "Print the result as JSON");
    cmd->add_option("--threshold", args->threshold, "Relationship levels that moved by less are not told (default 10)");
    cmd->callback([args, &globals, &reporter] {
        GameSession a, b;
        Workspace before, after;
        LoadSide(globals, args->before, reporter, a, before);
        LoadSide(globals, args->after, reporter, b, after);
        DiffOptions options;
        options.relationshipThreshold = std::max(0, args->threshold);
        const NeighborhoodDiff diff = DiffNeighborhoods(before, after, b.env, options);
        if (args->json) {
            std::cout << nlohmann::ordered_json{{"households", GroupsJson(diff.households)},
                                                {"sims", GroupsJson(diff.sims)},
                                                {"unreadChanged", diff.unreadChanged},
                                                {"unreadFiles", diff.unreadFiles}}
                             .dump(2)
                      << '\n';
            return;
        }
        if (diff.Empty()) {
            std::cout << "No changes.\n";
            return;
        }
        auto print = [](const char* title, const std::vector<DiffGroup>& groups) {
            if (groups.empty()) return;
            std::cout << title << "\n";
            for (const DiffGroup& g : groups) {
                std::cout << "  " << g.who << "\n";
                for (const std::string& line : g.changes) std::cout << "    " << line << "\n";
            }
        };
        print("Households:", diff.households);
        print("Sims:", diff.sims);
        if (diff.unreadChanged > 0) {
            std::cout << "Resources without a reader that changed: " << diff.unreadChanged << " (in";
            for (const std::string& file : diff.unreadFiles) std::cout << " " << file;
            std::cout << ")\n";
        }
    });
}

}  // namespace qh::cli
