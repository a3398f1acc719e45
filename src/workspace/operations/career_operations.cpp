// The Career panel's operations: the career and its level, the retired career, performance,
// pension, vacation days and the NPC type, each offered as the panel offers it.
#include <algorithm>

#include "career/career_rules.h"
#include "workspace/operations/operation_support.h"

namespace qh::ops {

namespace {

bool WorkingAge(const Character& sim) { return sim.lifeStage == 16 || sim.lifeStage == 19 || sim.lifeStage == 51; }

// "KEY" or "KEY:LEVEL".
std::pair<std::string_view, std::optional<std::string_view>> KeyAndLevel(std::string_view value) {
    const auto colon = value.find(':');
    if (colon == std::string_view::npos) return {value, std::nullopt};
    return {value.substr(0, colon), value.substr(colon + 1)};
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// A key the list offers the sim, or the sim's own stored key (kept as it is).
std::string Offered(const std::vector<std::pair<std::string, std::string>>& choices, const std::string& key,
                    const std::string& stored, const char* what) {
    if (key == stored) return {};
    const bool offered = std::any_of(choices.begin(), choices.end(), [&](const auto& c) { return c.second == key; });
    if (offered) return {};
    return std::string("the ") + what + " " + key + " is not offered to this sim (its life stage, species or the installed "
           "expansions; quillhaven-cli careers lists them)";
}

std::string CareerWith(SimOperationContext& c, Character& sim, std::string_view value, bool retired) {
    if (retired ? sim.lifeStage != 51 : !WorkingAge(sim)) {
        return retired ? "only an elder has a retired career" : "only teens, adults and elders have a career";
    }
    const auto [typed, level] = KeyAndLevel(value);
    const std::string key = Upper(typed);
    if (!GuidBytesFromKey(key)) {
        return std::string("--") + (retired ? "retired" : "career") + " is KEY[:LEVEL], the key eight hexadecimal digits: \"" +
               std::string(value) + "\"";
    }
    std::optional<int> number;
    if (level && !(number = Number(*level))) return "the level must be a number: \"" + std::string(*level) + "\"";
    const ExpansionFlags flags = InstalledExpansions(c.env);
    const auto choices = retired ? RetiredCareerChoices(sim.lifeStage, sim.species, flags)
                                 : CareerChoices(sim.lifeStage, sim.species, flags);
    if (std::string refusal = Offered(choices, key, retired ? RetiredCareerKeyOf(sim) : CareerKeyOf(sim),
                                      retired ? "retired career" : "career");
        !refusal.empty()) {
        return refusal;
    }
    // The level is checked against the new career before anything changes.
    if (number && (*number < 0 || static_cast<std::size_t>(*number) >= CareerJobTitles(key).size())) {
        return "the level must be from 0 to " + std::to_string(CareerJobTitles(key).size() - 1) + " in " + key;
    }
    if (std::string refusal = retired ? ChangeRetiredCareer(sim, key) : ChangeCareer(sim, key); !refusal.empty()) {
        return refusal;
    }
    if (number) return retired ? SetRetiredJobLevel(sim, *number) : SetJobLevel(sim, *number);
    return {};
}

std::string Career(SimOperationContext& c, Character& sim, std::string_view value) { return CareerWith(c, sim, value, false); }
std::string Retired(SimOperationContext& c, Character& sim, std::string_view value) { return CareerWith(c, sim, value, true); }

std::string Performance(SimOperationContext&, Character& sim, std::string_view value) {
    if (!WorkingAge(sim)) return "only teens, adults and elders have a job performance here";
    const auto number = Number(value);
    if (!number) return "--performance must be a number from -100 to 100";
    return SetPerformance(sim, *number);
}

std::string Pension(SimOperationContext&, Character& sim, std::string_view value) {
    if (sim.lifeStage <= 16) return "only adults and elders have a pension";
    const auto pension = PensionFromText(value);
    if (!pension) return "--pension must be a whole number from 0 to 32767";
    return SetPension(sim, *pension);
}

std::string Vacation(SimOperationContext&, Character& sim, std::string_view value) {
    if (sim.lifeStage <= 3) return "a child has no vacation days";
    const auto days = VacationFromText(value);
    if (!days) return "--vacation-days must be a number of days from 0 to 327.67, such as 2.5";
    return SetVacation(sim, *days);
}

std::string NpcType(SimOperationContext& c, Character& sim, std::string_view value) {
    if (!WorkingAge(sim)) return "the NPC type is set for teens, adults and elders";
    const auto id = Number(value);
    const auto types = NpcTypeChoices(InstalledExpansions(c.env));
    if (!id || (*id != sim.npcType &&
                std::none_of(types.begin(), types.end(), [&](const auto& type) { return type.first == *id; }))) {
        return "--npc-type must be the id of an NPC type the installed expansions know (0 NA, 2 Bartender, ...)";
    }
    return SetNpcType(sim, *id);
}

bool IsCareer(std::string_view f) {
    return f == "careerGuid" || f == "jobLevel" || f == "businessLot" || f == "businessRank";
}
bool IsRetired(std::string_view f) { return f == "retiredCareerGuid" || f == "retiredJobLevel"; }
bool IsPerformance(std::string_view f) { return f == "performance"; }
bool IsPension(std::string_view f) { return f == "pension"; }
bool IsVacation(std::string_view f) { return f == "pto"; }
bool IsNpcType(std::string_view f) { return f == "npcType"; }

std::string CareerDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "careerGuid") return Career(c, sim, value);
    if (field == "jobLevel") return Career(c, sim, CareerKeyOf(sim) + ":" + std::string(value));
    return std::string(field) + " follows the career: use --career";
}
std::string RetiredDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "retiredCareerGuid") return Retired(c, sim, value);
    return Retired(c, sim, RetiredCareerKeyOf(sim) + ":" + std::string(value));
}
std::string PerformanceDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return Performance(c, sim, value);
}
std::string PensionDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return Pension(c, sim, value);
}
// The field holds hundredths of a day; its value is taken as stored.
std::string VacationDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    const auto hundredths = Number(value);
    if (!hundredths) return "pto must be a number (hundredths of a day)";
    return Vacation(c, sim, VacationText(*hundredths));
}
std::string NpcTypeDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return NpcType(c, sim, value);
}

constexpr SimOperation kCareer[] = {
    {.name = "career", .valueHelp = "KEY[:LEVEL]: a career the sim is offered (quillhaven-cli careers) and its level",
     .apply = Career, .governs = IsCareer, .fieldDoor = CareerDoor},
    {.name = "retired", .valueHelp = "KEY[:LEVEL]: an elder's retired career and level",
     .apply = Retired, .governs = IsRetired, .fieldDoor = RetiredDoor},
    {.name = "performance", .valueHelp = "job performance, -100 to 100", .apply = Performance,
     .governs = IsPerformance, .fieldDoor = PerformanceDoor},
    {.name = "pension", .valueHelp = "the pension, 0 to 32767", .apply = Pension, .governs = IsPension,
     .fieldDoor = PensionDoor},
    {.name = "vacation-days", .valueHelp = "vacation days, such as 2.5", .apply = Vacation, .governs = IsVacation,
     .fieldDoor = VacationDoor},
    {.name = "npc-type", .valueHelp = "the NPC type's id; advanced mode", .apply = NpcType, .advancedOnly = true,
     .governs = IsNpcType, .fieldDoor = NpcTypeDoor},
};

}  // namespace

std::span<const SimOperation> CareerOperations() { return kCareer; }

}  // namespace qh::ops
