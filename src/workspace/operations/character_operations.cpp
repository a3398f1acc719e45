// The Character panel's operations: life stage, young adult, zodiac, gender, locomotion, the
// dead mark, the names and description, and the plain words of its sliders and number boxes.
#include <algorithm>

#include "character/character_edit.h"
#include "character/character_rules.h"
#include "package/guid.h"
#include "workspace/character_list.h"
#include "workspace/operations/operation_support.h"
#include "workspace/sim_items.h"

namespace qh::ops {

namespace {

std::string LifeStage(SimOperationContext& c, Character& sim, std::string_view value) {
    const bool pet = IsPet(sim, c.env.hasPets);
    const auto position = Number(value);
    if (!position || *position < 0 || *position >= static_cast<int>(LifeStageRows(pet).size())) {
        return std::string("--life-stage must be a position of the ") + (pet ? "pets' list (0-2)" : "sims' list (0-5)");
    }
    SetLifeStagePosition(sim, pet, *position);
    return {};
}

std::string YoungAdult(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto on = OnOff(value);
    if (!on) return "--young-adult must be on or off";
    SetYoungAdult(sim, *on, LifeStagePosition(sim, IsPet(sim, c.env.hasPets)));
    return {};
}

std::string Zodiac(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto sign = Number(value);
    if (!sign || *sign < 1 || *sign > 12) return "--zodiac must be from 1 (Aries) to 12 (Pisces)";
    ApplyZodiac(sim, *sign, c.env.hasPets);
    return {};
}

std::string Gender(SimOperationContext&, Character& sim, std::string_view value) {
    if (value != "male" && value != "female") return "--gender must be male or female";
    SetGender(sim, value == "female");
    return {};
}

std::string Locomotion(SimOperationContext&, Character& sim, std::string_view value) {
    const auto weight = Number(value);
    if (!weight || *weight < 0 || *weight > 100) return "--locomotion must be from 0 to 100";
    SetLocomotion(sim, *weight);
    return {};
}

std::string Dead(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto on = OnOff(value);
    if (!on) return "--dead must be on or off";
    SetDeadMark(c.workspace, sim, *on);
    return {};
}

// "FIELD=N": a plain word of the Character panel, within the range of its slider or box.
std::string Word(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto assignment = Assignment(text);
    const WordRow* row = assignment ? FindWordRow(assignment->first) : nullptr;
    if (!row) {
        std::string fields;
        for (const WordRow& r : CharacterWordRows()) fields += (fields.empty() ? "" : ", ") + std::string(r.field);
        return "--word must be FIELD=N with FIELD one of " + fields;
    }
    if (row->advancedOnly && !c.advanced) return AdvancedRefusal(row->field);
    const auto value = Number(assignment->second);
    if (!value || *value < row->low || *value > row->high) {
        return std::string(row->field) + " must be from " + std::to_string(row->low) + " to " + std::to_string(row->high);
    }
    SetWordRow(sim, *row, *value);
    return {};
}

std::string FirstName(SimOperationContext&, Character& sim, std::string_view value) {
    RenameSim(sim, NameField::First, std::string(value));
    return {};
}
std::string LastName(SimOperationContext&, Character& sim, std::string_view value) {
    RenameSim(sim, NameField::Last, std::string(value));
    return {};
}
std::string Description(SimOperationContext&, Character& sim, std::string_view value) {
    SetDescription(sim, std::string(value));
    return {};
}

// "ON1,ON2,OFF": the Relationships panel's two turn-ons and turn-off, each a position of the
// attraction plan (0 "NA") or its caption, as its selectors store them.
std::string TurnOns(SimOperationContext&, Character& sim, std::string_view text) {
    constexpr const char* kUsage =
        "--turn-ons must be ON1,ON2,OFF: positions of the attraction list (0 NA .. 34) or their captions";
    int chosen[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        const auto comma = text.find(',');
        if ((k < 2) == (comma == std::string_view::npos)) return kUsage;
        const std::string_view word = text.substr(0, comma);
        const auto& plan = AttractionPlan();
        const auto byName = std::find_if(plan.begin(), plan.end(), [&](const AttractionEntry& e) { return word == e.caption; });
        const auto number = Number(word);
        if (byName != plan.end()) {
            chosen[k] = static_cast<int>(byName - plan.begin());
        } else if (number && *number >= 0 && *number < static_cast<int>(plan.size())) {
            chosen[k] = *number;
        } else {
            return kUsage;
        }
        if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
    }
    if (!SetTurnOnsAndOffs(sim, {chosen[0], chosen[1], chosen[2]})) {
        return "--turn-ons: the description format of " + sim.packageFile + " cannot keep that choice";
    }
    return {};
}


// The fields each operation sets.
bool IsTurnOnWord(std::string_view f) {
    return f == "turnOns1" || f == "turnOns2" || f == "turnOns3" || f == "turnOffs1" || f == "turnOffs2" ||
           f == "turnOffs3";
}
bool IsLifeStage(std::string_view f) { return f == "lifeStage" || f == "ageProperty"; }
bool IsYoungAdult(std::string_view f) { return f == "youngAdult"; }
bool IsZodiac(std::string_view f) { return f == "zodiac"; }
bool IsGender(std::string_view f) { return f == "gender" || f == "genderProperty"; }
bool IsLocomotion(std::string_view f) { return f == "locoWeight0" || f == "locoWeight1"; }
bool IsDeadMark(std::string_view f) { return f == "lingeringNumber" || f == "ghostFlags"; }
bool IsWord(std::string_view f) { return FindWordRow(f) != nullptr; }
bool IsFirstName(std::string_view f) { return f == "firstName"; }
bool IsLastName(std::string_view f) { return f == "lastName"; }
bool IsDescription(std::string_view f) { return f == "description"; }

// `set FIELD=VALUE` of these fields, by the stored value: the value a rule takes from its control.
std::string Refused(std::string_view field, std::string_view value, const std::string& takes, std::string_view option) {
    return std::string(field) + " " + takes + ": \"" + std::string(value) + "\" (or use --" + std::string(option) + ")";
}

std::string LifeStageDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field != "lifeStage") return std::string(field) + " follows the life stage: use --life-stage";
    const bool pet = IsPet(sim, c.env.hasPets);
    const auto stage = Number(value);
    const auto rows = LifeStageRows(pet);
    for (std::size_t position = 0; stage && position < rows.size(); ++position) {
        if (rows[position].lifeStage == *stage) return LifeStage(c, sim, std::to_string(position));
    }
    return Refused(field, value, std::string("must be a life stage of the ") + (pet ? "pets'" : "sims'") + " list",
                   "life-stage");
}

std::string YoungAdultDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (value != "0" && value != "1") return Refused(field, value, "must be 0 or 1", "young-adult");
    return YoungAdult(c, sim, value == "1" ? "on" : "off");
}

std::string ZodiacDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    const auto sign = Number(value);
    if (!sign || *sign < 1 || *sign > 12) return Refused(field, value, "must be from 1 (Aries) to 12 (Pisces)", "zodiac");
    return Zodiac(c, sim, value);
}

std::string GenderDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field != "gender") return std::string(field) + " follows the gender: use --gender";
    if (value != "0" && value != "1") return Refused(field, value, "must be 0 (male) or 1 (female)", "gender");
    return Gender(c, sim, value == "1" ? "female" : "male");
}

std::string LocomotionDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    const auto weight = Number(value);
    if (!weight || *weight < 0 || *weight > 100) return Refused(field, value, "must be from 0 to 100", "locomotion");
    return Locomotion(c, sim, std::to_string(field == "locoWeight0" ? *weight : 100 - *weight));
}

std::string WordDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return Word(c, sim, Joined(field, value));
}

std::string TextDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "firstName") return FirstName(c, sim, value);
    if (field == "lastName") return LastName(c, sim, value);
    return Description(c, sim, value);
}

constexpr SimOperation kCharacter[] = {
    {.name = "life-stage", .valueHelp = "position in the life-stage list (sims 0-5, pets 0-2); advanced mode",
     .apply = LifeStage, .advancedOnly = true, .governs = IsLifeStage, .fieldDoor = LifeStageDoor},
    {.name = "young-adult", .valueHelp = "on or off", .apply = YoungAdult, .governs = IsYoungAdult,
     .fieldDoor = YoungAdultDoor},
    {.name = "zodiac", .valueHelp = "zodiac sign, 1 (Aries) to 12 (Pisces)", .apply = Zodiac, .governs = IsZodiac,
     .fieldDoor = ZodiacDoor},
    {.name = "gender", .valueHelp = "male or female; advanced mode", .apply = Gender, .advancedOnly = true,
     .governs = IsGender, .fieldDoor = GenderDoor},
    {.name = "locomotion", .valueHelp = "locomotion balance, 0 to 100 (the first weight); advanced mode",
     .apply = Locomotion, .advancedOnly = true, .governs = IsLocomotion, .fieldDoor = LocomotionDoor},
    {.name = "dead", .valueHelp = "on or off; advanced mode", .apply = Dead, .needsItems = true, .advancedOnly = true,
     .governs = IsDeadMark},
    {.name = "word", .valueHelp = "FIELD=N: a slider or box of the Character panel (fatness, malePreference, ...)",
     .apply = Word, .governs = IsWord, .fieldDoor = WordDoor},
    {.name = "turn-ons", .valueHelp = "ON1,ON2,OFF: two turn-ons and a turn-off (attraction positions or captions)",
     .apply = TurnOns, .governs = IsTurnOnWord},
    {.name = "first-name", .valueHelp = "the sim's first name", .apply = FirstName, .needsDescription = false,
     .governs = IsFirstName, .fieldDoor = TextDoor},
    {.name = "last-name", .valueHelp = "the sim's last name", .apply = LastName, .needsDescription = false,
     .governs = IsLastName, .fieldDoor = TextDoor},
    {.name = "description", .valueHelp = "the sim's description", .apply = Description, .needsDescription = false,
     .governs = IsDescription, .fieldDoor = TextDoor},
};

}  // namespace

std::span<const SimOperation> CharacterOperations() { return kCharacter; }

}  // namespace qh::ops
