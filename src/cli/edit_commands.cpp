#include "cli/edit_commands.h"

#include <charconv>
#include <iostream>
#include <map>

#include "character/character_edit.h"
#include "character/character_rules.h"
#include "workspace/sim_items.h"
#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "platform/paths.h"
#include "package/guid.h"
#include "workspace/character_list.h"
#include "workspace/households.h"
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
    std::optional<std::string> household;  // its instance, hexadecimal
    std::optional<std::string> funds;
    std::optional<std::string> householdName;
    std::optional<std::string> householdDescription;
    // The values of each operation of the sim table, by name, in the order given.
    std::map<std::string, std::vector<std::string>, std::less<>> operations;
    std::map<std::string, bool, std::less<>> flags;
    bool save = false;
    bool force = false;
    bool allowNewFindings = false;
    bool raw = false;
    std::optional<bool> advanced;  // the window's advanced mode; default: its setting
};

Character& FindSim(Workspace& ws, const std::string& file) {
    const auto index = FindSimByFile(ws, file);
    if (!index) throw UsageError("No sim with the character package " + file);
    return ws.characters[*index];
}

}  // namespace

void SaveLoaded(GameSession& session, bool force, Reporter& reporter, bool allowNewFindings) {
    SaveOptions options;
    options.languageCode = session.env.languageCode;
    options.overwriteNewerFiles = force;
    options.allowNewFindings = allowNewFindings;
    options.programName = "quillhaven-cli";
    NullProgress progress;
    const SaveResult result =
        SaveNeighborhood(session.workspace, *session.LoadedNeighborhood(), options, reporter, progress);
    if (!result.newFindings.empty()) {
        std::string names;
        for (const Finding& f : result.newFindings) names += "\n  [" + std::string(SeverityName(f.severity)) + "] " + f.check + ": " + f.subject;
        throw UsageError("the save would add these problems to the neighborhood's check; nothing was saved. Give "
                         "--allow-new-findings to save all the same:" + names);
    }
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

namespace {

// What a command would change, for a run without --save: what the edits did to the loaded
// neighborhood, compared with how it was loaded.
struct Loaded {
    nlohmann::ordered_json sim;
    std::vector<nlohmann::ordered_json> households;
    std::vector<RelationshipRecord> relationships;
    std::vector<FamilyTie> ties;
    std::size_t items = 0;
    std::string name, description;
};

// The keys of `after` whose values differ from `before`'s, each with both values.
nlohmann::ordered_json Differences(const nlohmann::ordered_json& before, const nlohmann::ordered_json& after) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const auto& [key, value] : after.items()) {
        // The change mark, and the groups that only repeat fields listed on their own.
        if (key == "dirty" || key == "personality" || key == "interests" || key == "skills" || key == "needs") continue;
        if (!before.contains(key) || before[key] != value) {
            out[key] = {{"from", before.contains(key) ? before[key] : nlohmann::ordered_json()}, {"to", value}};
        }
    }
    return out;
}

nlohmann::ordered_json DryRun(const Loaded& loaded, const Workspace& ws, const GameEnvironment& env,
                              const Neighborhood& neighborhood, const Character* sim) {
    nlohmann::ordered_json changes = nlohmann::ordered_json::object();
    if (sim) {
        const auto fields = Differences(loaded.sim, CharacterJson(*sim, SortOrder{}, ws.simItemList, env, FindDna(ws, sim->instanceId)));
        if (!fields.empty()) changes["sim"] = {{"packageFile", sim->packageFile}, {"fields", fields}};
    }
    for (std::size_t i = 0; i < ws.households.size() && i < loaded.households.size(); ++i) {
        const auto fields = Differences(loaded.households[i], HouseholdJson(ws.households[i]));
        if (!fields.empty()) changes["households"].push_back({{"instanceId", HexId(ws.households[i].instanceId)}, {"fields", fields}});
    }
    for (std::size_t i = 0; i < ws.relationshipList.size(); ++i) {
        const RelationshipRecord& record = ws.relationshipList[i];
        if (i < loaded.relationships.size() && record == loaded.relationships[i]) continue;
        const auto before = i < loaded.relationships.size() ? RelationshipJson(loaded.relationships[i]) : nlohmann::ordered_json::object();
        changes["relationships"].push_back({{"ownerId", record.ownerId}, {"otherId", record.otherId},
                                            {"fields", Differences(before, RelationshipJson(record))}});
    }
    if (ws.familyTieList != loaded.ties) changes["familyTiesChanged"] = true;
    if (ws.simItemList.size() != loaded.items) {
        changes["simItems"] = {{"from", loaded.items}, {"to", ws.simItemList.size()}};
    }
    if (neighborhood.ngbdName != loaded.name) changes["ngbdName"] = {{"from", loaded.name}, {"to", neighborhood.ngbdName}};
    if (neighborhood.ngbdDescription != loaded.description) {
        changes["ngbdDescription"] = {{"from", loaded.description}, {"to", neighborhood.ngbdDescription}};
    }
    return {{"saved", false}, {"changes", changes}};
}

// The household options, through the rules the Households panel uses.
void EditHousehold(const SetOptions& set, Workspace& ws) {
    if (!set.household) {
        if (set.funds || set.householdName || set.householdDescription) {
            throw UsageError("--funds, --household-name and --household-description need --household");
        }
        return;
    }
    const auto instance = ParseHexNumber(*set.household);
    Household* household = instance ? FindHousehold(ws, *instance) : nullptr;
    if (!household) throw UsageError("No household " + *set.household + " in " + ws.packagePath.filename().string());
    if (set.funds) {
        long long funds = 0;
        const std::string& text = *set.funds;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), funds);
        if (error != std::errc() || end != text.data() + text.size()) {
            throw UsageError("--funds must be a whole number: \"" + text + "\"");
        }
        if (const std::string problem = SetHouseholdFunds(*household, funds); !problem.empty()) throw UsageError(problem);
    }
    if ((set.householdName || set.householdDescription) && !household->hasTextList) {
        throw UsageError("household " + *set.household + " has no text list to hold a name; the game names it by its lot");
    }
    if (set.householdName) RenameHousehold(*household, *set.householdName);
    if (set.householdDescription) DescribeHousehold(*household, *set.householdDescription);
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
    cmd->add_option("--household", set->household, "The household to change, by its instance (hexadecimal)");
    cmd->add_option("--funds", set->funds, "The household's new funds, 0 to 2147483647");
    cmd->add_option("--household-name", set->householdName, "The household's new name");
    cmd->add_option("--household-description", set->householdDescription, "The household's new description");
    // One option per operation of the sim table; each may be given more than once.
    for (const SimOperation& operation : SimOperations()) {
        const std::string name(operation.name);
        if (operation.flag) {
            cmd->add_flag("--" + name, set->flags[name], std::string(operation.valueHelp));
        } else {
            cmd->add_option("--" + name, set->operations[name], std::string(operation.valueHelp));
        }
    }
    cmd->add_flag("--raw", set->raw,
                  "FIELD=VALUE writes the field as typed, bypassing the rule of the panel and option that govern it "
                  "(ranges, the values that change with it, what advanced mode allows)");
    cmd->add_flag("--advanced,!--no-advanced", set->advanced,
                  "Allow what the window allows in advanced mode (default: the window's Advanced setting)");
    cmd->add_flag("--save", set->save, "Save the changes");
    cmd->add_flag("--force", set->force, "Overwrite files that changed on disk since they were loaded");
    cmd->add_flag("--allow-new-findings", set->allowNewFindings,
                  "Save even when the changes add problems to the neighborhood's check");
    cmd->callback([set, &options, &reporter] {
        bool simOperations = !set->assignments.empty();
        for (const auto& [name, values] : set->operations) simOperations |= !values.empty();
        for (const auto& [name, on] : set->flags) simOperations |= on;
        if (simOperations && set->sim.empty()) throw UsageError("sim operations and FIELD=VALUE need --sim");
        GameSession session;
        LoadByPrefix(options, set->prefix, reporter, session);
        Loaded loaded;
        {
            const Workspace& ws = session.workspace;
            if (!set->sim.empty()) {
                const Character& sim = FindSim(session.workspace, set->sim);
                loaded.sim = CharacterJson(sim, SortOrder{}, ws.simItemList, session.env, FindDna(ws, sim.instanceId));
            }
            for (const Household& household : ws.households) loaded.households.push_back(HouseholdJson(household));
            if (!set->save) loaded.relationships = ws.relationshipList;
            loaded.ties = ws.familyTieList;
            loaded.items = ws.simItemList.size();
            loaded.name = session.LoadedNeighborhood()->ngbdName;
            loaded.description = session.LoadedNeighborhood()->ngbdDescription;
        }
        if (!set->sim.empty()) {
            Character& sim = FindSim(session.workspace, set->sim);
            SimOperationContext context{session.workspace, session.env,
                                        set->advanced.value_or(session.settings->Advanced())};
            for (const std::string& assignment : set->assignments) {
                const auto eq = assignment.find('=');
                if (eq == std::string::npos) throw UsageError("expected FIELD=VALUE: \"" + assignment + "\"");
                const std::string problem =
                    ApplyFieldAssignment(context, sim, assignment.substr(0, eq), assignment.substr(eq + 1), set->raw);
                if (!problem.empty()) throw UsageError(problem);
            }
            for (const SimOperation& operation : SimOperations()) {
                const std::string name(operation.name);
                if (operation.flag && set->flags[name]) {
                    if (const std::string problem = ApplySimOperation(operation, context, sim, {}); !problem.empty()) {
                        throw UsageError(problem);
                    }
                }
                for (const std::string& value : set->operations[name]) {
                    const std::string problem = ApplySimOperation(operation, context, sim, value);
                    if (!problem.empty()) throw UsageError(problem);
                }
            }
        }
        EditHousehold(*set, session.workspace);
        Neighborhood& neighborhood = *session.LoadedNeighborhood();
        if (set->neighborhoodName) SetNeighborhoodName(neighborhood, *set->neighborhoodName);
        if (set->neighborhoodDescription) SetNeighborhoodDescription(neighborhood, *set->neighborhoodDescription);
        if (set->save) {
            SaveLoaded(session, set->force, reporter, set->allowNewFindings);
            return;
        }
        // A dry run: what would change, as JSON a script can read; nothing is written.
        const Character* edited = set->sim.empty() ? nullptr : &FindSim(session.workspace, set->sim);
        std::cout << DryRun(loaded, session.workspace, session.env, neighborhood, edited).dump(2) << '\n';
        reporter.Info("nothing was saved; give --save to save these changes");
    });

    auto save = std::make_shared<std::pair<std::string, bool>>();
    auto* saveCmd = app.add_subcommand("save", "Load a neighborhood and save it with no change");
    saveCmd->add_option("PREFIX", save->first, "The neighborhood's prefix, such as N001")->required();
    saveCmd->add_flag("--force", save->second, "Overwrite files that changed on disk since they were loaded");
    saveCmd->callback([save, &options, &reporter] {
        GameSession session;
        LoadByPrefix(options, save->first, reporter, session);
        SaveLoaded(session, save->second, reporter);
    });
}

}  // namespace qh::cli
