#include "cli/edit_commands.h"

#include <iostream>

#include "character/character_edit.h"
#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "platform/paths.h"
#include "workspace/save.h"

namespace qh::cli {

namespace {

struct SetOptions {
    std::string prefix;
    std::string sim;
    std::vector<std::string> assignments;
    std::optional<std::string> neighborhoodName;
    std::optional<std::string> neighborhoodDescription;
    bool save = false;
    bool force = false;
};

Character& FindSim(Workspace& ws, const std::string& file) {
    for (Character& sim : ws.characters) {
        if (EqualsNoCase(sim.packageFile, file) || EqualsNoCase(std::filesystem::path(sim.packageFile).stem().string(), file)) {
            return sim;
        }
    }
    throw UsageError("No sim with the character package " + file);
}

void Save(Loaded& loaded, bool force, Reporter& reporter) {
    SaveOptions options;
    options.languageCode = loaded.discovery.env.languageCode;
    options.overwriteNewerFiles = force;
    NullProgress progress;
    const SaveResult result = SaveNeighborhood(loaded.workspace, *loaded.neighborhood, options, reporter, progress);
    if (!result.changedOnDisk.empty() && !force) {
        throw UsageError(result.changedOnDisk.front().filename().string() +
                         " changed on disk since it was loaded (was the game running?); nothing was saved. "
                         "Use --force to overwrite it.");
    }
    nlohmann::ordered_json out{{"neighborhoodSaved", result.neighborhoodSaved},
                               {"charactersSaved", result.charactersSaved},
                               {"failedCharacterFiles", result.failedCharacterFiles},
                               {"bytesWritten", result.bytesWritten}};
    std::cout << out.dump(2) << '\n';
    if (!result.Complete()) throw UsageError("the save was not complete; see the messages above");
}

}  // namespace

void AddEditCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto set = std::make_shared<SetOptions>();
    auto* cmd = app.add_subcommand("set", "Change a sim or the neighborhood, and save with --save");
    cmd->add_option("PREFIX", set->prefix, "The neighborhood's prefix, such as N001")->required();
    cmd->add_option("--sim", set->sim, "The sim's character package file");
    cmd->add_option("ASSIGNMENTS", set->assignments, "FIELD=VALUE for the sim");
    cmd->add_option("--neighborhood-name", set->neighborhoodName, "The neighborhood's new name");
    cmd->add_option("--neighborhood-description", set->neighborhoodDescription, "The neighborhood's new description");
    cmd->add_flag("--save", set->save, "Save the changes");
    cmd->add_flag("--force", set->force, "Overwrite files that changed on disk since they were loaded");
    cmd->callback([set, &options, &reporter] {
        if (!set->assignments.empty() && set->sim.empty()) throw UsageError("FIELD=VALUE needs --sim");
        Loaded loaded;
        LoadByPrefix(options, set->prefix, reporter, loaded);
        if (!set->sim.empty()) {
            Character& sim = FindSim(loaded.workspace, set->sim);
            for (const std::string& assignment : set->assignments) {
                const auto eq = assignment.find('=');
                if (eq == std::string::npos) throw UsageError("expected FIELD=VALUE: \"" + assignment + "\"");
                const std::string problem = SetCharacterField(sim, assignment.substr(0, eq), assignment.substr(eq + 1));
                if (!problem.empty()) throw UsageError(problem);
            }
        }
        if (set->neighborhoodName) SetNeighborhoodName(*loaded.neighborhood, *set->neighborhoodName);
        if (set->neighborhoodDescription) SetNeighborhoodDescription(*loaded.neighborhood, *set->neighborhoodDescription);
        if (set->save) Save(loaded, set->force, reporter);
    });

    auto save = std::make_shared<std::pair<std::string, bool>>();
    auto* saveCmd = app.add_subcommand("save", "Load a neighborhood and save it with no change");
    saveCmd->add_option("PREFIX", save->first, "The neighborhood's prefix, such as N001")->required();
    saveCmd->add_flag("--force", save->second, "Overwrite files that changed on disk since they were loaded");
    saveCmd->callback([save, &options, &reporter] {
        Loaded loaded;
        LoadByPrefix(options, save->first, reporter, loaded);
        Save(loaded, save->second, reporter);
    });
}

}  // namespace qh::cli
