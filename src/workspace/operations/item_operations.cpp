// The operations on a sim's items of the neighborhood data: items added and removed by GUID, the
// skills kept as items (levels and learned-or-not), toddler training.
#include <vector>

#include "package/guid.h"
#include "workspace/operations/operation_support.h"
#include "workspace/sim_items.h"
#include "workspace/skill_items.h"

namespace qh::ops {

namespace {

std::string RemoveItems(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto guid = ParseHexNumber(value);
    if (!guid) return "--remove-items must be a GUID of up to eight hexadecimal digits: \"" + std::string(value) + "\"";
    RemoveSimItems(c.workspace, sim, *guid);
    return {};
}

// "GUID:SECONDARY:v1,v2,..." with the GUID as eight hexadecimal digits.
std::string AddItem(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto first = text.find(':');
    const auto second = first == std::string_view::npos ? std::string_view::npos : text.find(':', first + 1);
    if (second == std::string_view::npos || first != 8) {
        return "--add-item must be GUID:SECONDARY:VALUES, for example 2CCF9BED:1:8,8,0,0,0";
    }
    const auto guid = ParseHexNumber(text.substr(0, first));
    if (!guid) return "--add-item GUID must be eight hexadecimal digits";
    const std::string_view secondary = text.substr(first + 1, second - first - 1);
    if (secondary != "0" && secondary != "1") return "--add-item SECONDARY must be 0 or 1";
    std::vector<std::uint16_t> values;
    std::string_view rest = text.substr(second + 1);
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view word = rest.substr(0, comma);
        const auto value = Number(word);
        if (!value || *value < 0 || *value > 65535) {
            return "--add-item values must be numbers from 0 to 65535: \"" + std::string(word) + "\"";
        }
        values.push_back(static_cast<std::uint16_t>(*value));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    AddSimItem(c.workspace, sim, *guid, static_cast<std::uint8_t>(secondary == "1"), std::move(values));
    return {};
}

// An item skill by its GUID: the skill must be one the Skills panel shows for this sim.
const ItemSkill* ShownItemSkill(SimOperationContext& c, const Character& sim, std::string_view guidText, std::string& problem,
                                const char* option) {
    const auto guid = ParseHexNumber(guidText);
    const ItemSkill* skill = guid ? FindItemSkill(*guid) : nullptr;
    if (!skill) {
        problem = std::string(option) + ": \"" + std::string(guidText) + "\" is not the GUID of an item skill";
    } else if (!ItemSkillShown(*skill, sim, c.env)) {
        problem = std::string(skill->name) + " is not a skill of this sim (a pet, a toddler or younger, or its "
                                             "expansion is not installed)";
    }
    return problem.empty() ? skill : nullptr;
}

std::string ItemSkillOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto assignment = Assignment(text);
    if (!assignment) return "--item-skill must be GUID=LEVEL";
    std::string problem;
    const ItemSkill* skill = ShownItemSkill(c, sim, assignment->first, problem, "--item-skill");
    if (!skill) return problem;
    if (skill->presence) return std::string(skill->name) + " is learned or not: use --presence";
    const auto level = Number(assignment->second);
    if (!level || *level < 0 || *level > skill->maximum) {
        return std::string(skill->name) + " must be from 0 to " + std::to_string(skill->maximum);
    }
    SetItemSkillLevel(c.workspace, sim, *skill, *level);
    return {};
}

std::string Presence(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto assignment = Assignment(text);
    const auto on = assignment ? OnOff(assignment->second) : std::nullopt;
    if (!on) return "--presence must be GUID=on or GUID=off";
    std::string problem;
    const ItemSkill* skill = ShownItemSkill(c, sim, assignment->first, problem, "--presence");
    if (!skill) return problem;
    if (!skill->presence) return std::string(skill->name) + " has a level: use --item-skill";
    SetItemSkillPresent(c.workspace, sim, *skill, *on);
    return {};
}

// "walk,talk,potty,walkLearned,talkLearned,pottyLearned,rhyme"; a rhyme of 1 is learned.
std::string Toddler(SimOperationContext& c, Character& sim, std::string_view text) {
    constexpr const char* kUsage =
        "--toddler must be walk,talk,potty,walkLearned,talkLearned,pottyLearned,rhyme: three levels 0-1000, "
        "three 0 or 1, and the rhyme 0-1000 (1 = learned)";
    if (!ShowsToddlerTraining(sim, c.env.hasPets)) return "toddler training is kept only for toddlers";
    std::vector<int> numbers;
    while (true) {
        const auto comma = text.find(',');
        const auto number = Number(text.substr(0, comma));
        if (!number) return kUsage;
        numbers.push_back(*number);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (numbers.size() != 7) return kUsage;
    for (std::size_t i = 0; i < 7; ++i) {
        const int high = i >= 3 && i < 6 ? 1 : 1000;
        if (numbers[i] < 0 || numbers[i] > high) return kUsage;
    }
    ToddlerTraining shown;
    shown.walk = numbers[0];
    shown.talk = numbers[1];
    shown.potty = numbers[2];
    shown.walkLearned = numbers[3] == 1;
    shown.talkLearned = numbers[4] == 1;
    shown.pottyLearned = numbers[5] == 1;
    shown.rhyme = numbers[6];
    shown.rhymeLearned = numbers[6] == 1;
    SetToddlerTraining(c.workspace, sim, shown);
    return {};
}

constexpr SimOperation kItems[] = {
    {.name = "remove-items", .valueHelp = "remove the sim's items with this GUID", .apply = RemoveItems, .needsItems = true},
    {.name = "add-item", .valueHelp = "add an item GUID:SECONDARY:v1,v2,...", .apply = AddItem, .needsItems = true},
    {.name = "item-skill", .valueHelp = "GUID=LEVEL of an item skill (dance, parenting, ...)",
     .apply = ItemSkillOperation, .needsItems = true},
    {.name = "presence", .valueHelp = "GUID=on|off of a massage or ninja skill", .apply = Presence, .needsItems = true},
    {.name = "toddler", .valueHelp = "walk,talk,potty,walkLearned,talkLearned,pottyLearned,rhyme", .apply = Toddler, .needsItems = true},
};

}  // namespace

std::span<const SimOperation> ItemOperations() { return kItems; }

}  // namespace qh::ops
