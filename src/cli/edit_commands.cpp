#include "cli/edit_commands.h"

#include <iostream>

#include "character/character_edit.h"
#include "character/character_rules.h"
#include "workspace/sim_items.h"
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
    std::vector<std::string> addItems;
    std::vector<std::string> removeItems;
    std::optional<int> lifeStage;
    std::string youngAdult;
    std::optional<int> zodiac;
    std::string dead;
    std::string gender;
    bool save = false;
    bool force = false;
};

bool OnOff(const std::string& text, const char* option) {
    if (text == "on") return true;
    if (text == "off") return false;
    throw UsageError(std::string(option) + " must be on or off");
}

// "GUID:SECONDARY:v1,v2,..." with the GUID as eight hexadecimal digits.
void AddItem(Workspace& ws, Character& sim, const std::string& text) {
    const auto first = text.find(':');
    const auto second = first == std::string::npos ? std::string::npos : text.find(':', first + 1);
    if (second == std::string::npos || first != 8) {
        throw UsageError("--add-item must be GUID:SECONDARY:VALUES, for example 2CCF9BED:1:8,8,0,0,0");
    }
    const std::uint32_t guid = ParseHexId(text.substr(0, first), "--add-item GUID");
    const std::string secondary = text.substr(first + 1, second - first - 1);
    if (secondary != "0" && secondary != "1") throw UsageError("--add-item SECONDARY must be 0 or 1");
    std::vector<std::uint16_t> values;
    std::string rest = text.substr(second + 1);
    std::size_t start = 0;
    while (!rest.empty() && start <= rest.size()) {
        std::size_t end = rest.find(',', start);
        if (end == std::string::npos) end = rest.size();
        const std::string word = rest.substr(start, end - start);
        try {
            std::size_t used = 0;
            const long value = std::stol(word, &used);
            if (used != word.size() || value < 0 || value > 65535) throw std::out_of_range(word);
            values.push_back(static_cast<std::uint16_t>(value));
        } catch (const std::exception&) {
            throw UsageError("--add-item values must be numbers from 0 to 65535: \"" + word + "\"");
        }
        start = end + 1;
    }
    AddSimItem(ws, sim, guid, static_cast<std::uint8_t>(secondary == "1"), std::move(values));
}

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
    cmd->add_option("--add-item", set->addItems, "Add an item GUID:SECONDARY:v1,v2,... to the sim");
    cmd->add_option("--remove-items", set->removeItems, "Remove the sim's items with this GUID");
    cmd->add_option("--life-stage", set->lifeStage, "Life stage by its position in the list (sims 0-5, pets 0-2)");
    cmd->add_option("--young-adult", set->youngAdult, "on or off")->check(CLI::IsMember({"on", "off"}));
    cmd->add_option("--zodiac", set->zodiac, "Zodiac sign, 1 (Aries) to 12 (Pisces)")->check(CLI::Range(1, 12));
    cmd->add_option("--dead", set->dead, "on or off")->check(CLI::IsMember({"on", "off"}));
    cmd->add_option("--gender", set->gender, "male or female")->check(CLI::IsMember({"male", "female"}));
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
            // The operations of the Character panel, through the same rules.
            const bool pet = IsPet(sim, loaded.discovery.env.hasPets);
            if (set->lifeStage) {
                if (*set->lifeStage < 0 || *set->lifeStage >= static_cast<int>(LifeStageRows(pet).size())) {
                    throw UsageError("--life-stage must be a position of the " + std::string(pet ? "pets'" : "sims'") +
                                     " list");
                }
                SetLifeStagePosition(sim, pet, *set->lifeStage);
            }
            if (!set->youngAdult.empty()) {
                SetYoungAdult(sim, OnOff(set->youngAdult, "--young-adult"), LifeStagePosition(sim, pet));
            }
            if (set->zodiac) ApplyZodiac(sim, *set->zodiac);
            if (!set->gender.empty()) SetGender(sim, set->gender == "female");
            if (!set->dead.empty()) SetDeadMark(loaded.workspace, sim, OnOff(set->dead, "--dead"));
            for (const std::string& guid : set->removeItems) {
                RemoveSimItems(loaded.workspace, sim, ParseHexId(guid, "--remove-items"));
            }
            for (const std::string& item : set->addItems) AddItem(loaded.workspace, sim, item);
        } else if (!set->addItems.empty() || !set->removeItems.empty() || set->lifeStage || set->zodiac ||
                   !set->youngAdult.empty() || !set->dead.empty() || !set->gender.empty()) {
            throw UsageError("sim operations need --sim");
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
