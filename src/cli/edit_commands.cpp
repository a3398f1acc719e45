#include "cli/edit_commands.h"

#include <iostream>
#include <map>

#include "character/character_edit.h"
#include "character/character_rules.h"
#include "workspace/sim_items.h"
#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "platform/paths.h"
#include "workspace/save.h"
#include "workspace/sim_operations.h"

namespace qh::cli {

namespace {

struct SetOptions {
    std::string prefix;
    std::string sim;
    std::vector<std::string> assignments;
    std::optional<std::string> neighborhoodName;
    std::optional<std::string> neighborhoodDescription;
    // The values of each operation of the sim table, by name, in the order given.
    std::map<std::string, std::vector<std::string>, std::less<>> operations;
    std::map<std::string, bool, std::less<>> flags;
    bool save = false;
    bool force = false;
};

Character& FindSim(Workspace& ws, const std::string& file) {
    const auto index = FindSimByFile(ws, file);
    if (!index) throw UsageError("No sim with the character package " + file);
    return ws.characters[*index];
}

void Save(GameSession& session, bool force, Reporter& reporter) {
    SaveOptions options;
    options.languageCode = session.env.languageCode;
    options.overwriteNewerFiles = force;
    NullProgress progress;
    const SaveResult result =
        SaveNeighborhood(session.workspace, *session.LoadedNeighborhood(), options, reporter, progress);
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
    cmd->add_option("ASSIGNMENTS", set->assignments,
                    "FIELD=VALUE for the sim; a field with a rule (gender, lifeStage, ...) goes through it");
    cmd->add_option("--neighborhood-name", set->neighborhoodName, "The neighborhood's new name");
    cmd->add_option("--neighborhood-description", set->neighborhoodDescription, "The neighborhood's new description");
    // One option per operation of the sim table; each may be given more than once.
    for (const SimOperation& operation : SimOperations()) {
        const std::string name(operation.name);
        if (operation.flag) {
            cmd->add_flag("--" + name, set->flags[name], std::string(operation.valueHelp));
        } else {
            cmd->add_option("--" + name, set->operations[name], std::string(operation.valueHelp));
        }
    }
    cmd->add_flag("--save", set->save, "Save the changes");
    cmd->add_flag("--force", set->force, "Overwrite files that changed on disk since they were loaded");
    cmd->callback([set, &options, &reporter] {
        bool simOperations = !set->assignments.empty();
        for (const auto& [name, values] : set->operations) simOperations |= !values.empty();
        for (const auto& [name, on] : set->flags) simOperations |= on;
        if (simOperations && set->sim.empty()) throw UsageError("sim operations and FIELD=VALUE need --sim");
        GameSession session;
        LoadByPrefix(options, set->prefix, reporter, session);
        if (!set->sim.empty()) {
            Character& sim = FindSim(session.workspace, set->sim);
            for (const std::string& assignment : set->assignments) {
                const auto eq = assignment.find('=');
                if (eq == std::string::npos) throw UsageError("expected FIELD=VALUE: \"" + assignment + "\"");
                const std::string problem = SetCharacterField(sim, assignment.substr(0, eq), assignment.substr(eq + 1),
                                                              session.env.hasPets);
                if (!problem.empty()) throw UsageError(problem);
            }
            SimOperationContext context{session.workspace, session.env};
            for (const SimOperation& operation : SimOperations()) {
                const std::string name(operation.name);
                if (operation.flag && set->flags[name]) {
                    if (const std::string problem = operation.apply(context, sim, {}); !problem.empty()) {
                        throw UsageError(problem);
                    }
                }
                for (const std::string& value : set->operations[name]) {
                    const std::string problem = operation.apply(context, sim, value);
                    if (!problem.empty()) throw UsageError(problem);
                }
            }
        }
        Neighborhood& neighborhood = *session.LoadedNeighborhood();
        if (set->neighborhoodName) SetNeighborhoodName(neighborhood, *set->neighborhoodName);
        if (set->neighborhoodDescription) SetNeighborhoodDescription(neighborhood, *set->neighborhoodDescription);
        if (set->save) Save(session, set->force, reporter);
    });

    auto save = std::make_shared<std::pair<std::string, bool>>();
    auto* saveCmd = app.add_subcommand("save", "Load a neighborhood and save it with no change");
    saveCmd->add_option("PREFIX", save->first, "The neighborhood's prefix, such as N001")->required();
    saveCmd->add_flag("--force", save->second, "Overwrite files that changed on disk since they were loaded");
    saveCmd->callback([save, &options, &reporter] {
        GameSession session;
        LoadByPrefix(options, save->first, reporter, session);
        Save(session, save->second, reporter);
    });
}

}  // namespace qh::cli
