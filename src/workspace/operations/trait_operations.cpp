// The trait panels' operations: personality (and reputation), interests, base skills, Max All,
// and the need speeds. Their fields are the panels' own row tables: a trait slider's field, a
// need's field.
#include <algorithm>

#include "character/character_rules.h"
#include "character/character_traits.h"
#include "workspace/operations/operation_support.h"

namespace qh::ops {

namespace {

std::string Trait(SimOperationContext& c, Character& sim, std::string_view text, TraitGroup group, const char* option) {
    const auto assignment = Assignment(text);
    const TraitSlider* slider = assignment ? FindTraitSlider(group, assignment->first) : nullptr;
    const bool reputation = group == TraitGroup::Personality && assignment && assignment->first == "reputation";
    if (!slider && !reputation) {
        return std::string(option) + " must be NAME=VALUE with NAME one of the panel's fields: \"" + std::string(text) + "\"";
    }
    const auto value = Number(assignment->second);
    if (reputation) {
        if (!value || *value < kReputationMinimum || *value > kReputationMaximum) {
            return "reputation must be from -100 to 100";
        }
        if (!ReputationShown(sim, c.env.hasPets, c.env.hasApartmentLife) || !ReputationStored(sim)) {
            return "reputation is kept only for sims, not pets, with Apartment Life installed";
        }
        SetReputation(sim, *value);
        return {};
    }
    if (!value || *value < 0 || *value > kTraitMaximum) {
        return std::string(slider->field) + " must be from 0 to 1000";
    }
    if (group == TraitGroup::Interests && !InterestShown(sim, *slider, c.env.hasPets)) {
        return std::string(slider->field) + " is not an interest of pets";
    }
    if (!SetTrait(sim, group, *slider, *value, c.env.hasPets)) {
        return PetRefusal(sim, group == TraitGroup::Personality ? "its personality" : "its skills");
    }
    return {};
}

std::string Personality(SimOperationContext& c, Character& sim, std::string_view text) {
    return Trait(c, sim, text, TraitGroup::Personality, "--personality");
}
std::string InterestOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    return Trait(c, sim, text, TraitGroup::Interests, "--interest");
}
std::string SkillOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    return Trait(c, sim, text, TraitGroup::BaseSkills, "--skill");
}

// The "Max All" buttons of the current personality, the interests and the skills; inherited
// traits stay. A pet keeps its personality and skills.
std::string MaxAll(SimOperationContext& c, Character& sim, std::string_view) {
    for (TraitGroup group : {TraitGroup::Personality, TraitGroup::Interests, TraitGroup::BaseSkills}) {
        if (!TraitsEditable(sim, group, c.env.hasPets)) continue;
        std::vector<int> values = ShownTraits(sim, group);
        const std::size_t maxed = group == TraitGroup::Personality ? 5 : values.size();
        std::fill(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(maxed), kTraitMaximum);
        StoreTraits(sim, group, values, c.env.hasPets);
    }
    return {};
}

std::string Need(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto assignment = Assignment(text);
    const NeedRow* need = assignment ? FindNeed(assignment->first) : nullptr;
    if (!need) return "--need must be NAME=SPEED with NAME hunger, comfort, bladder, energy, hygiene, fun or social";
    const auto value = Number(assignment->second);
    const auto speeds = NeedSpeeds();
    if (!value || std::none_of(speeds.begin(), speeds.end(), [&](const NeedSpeed& s) { return s.value == *value; })) {
        return "--need speed must be 0 (Normal), 12 (Slow), 24 (Slower) or 36 (Very Slow)";
    }
    if (!c.env.hasFreeTime || !NeedsStored(sim)) {
        return "need decay modifiers are kept only with FreeTime installed, in descriptions of its format";
    }
    SetNeedSpeed(sim, *need, static_cast<std::int16_t>(*value));
    return {};
}

bool InGroup(TraitGroup group, std::string_view field) {
    const auto sliders = TraitSliders(group);
    return std::any_of(sliders.begin(), sliders.end(), [&](const TraitSlider& s) { return s.field == field; });
}
bool IsPersonality(std::string_view f) { return f == "reputation" || InGroup(TraitGroup::Personality, f); }
bool IsInterest(std::string_view f) { return InGroup(TraitGroup::Interests, f); }
bool IsSkill(std::string_view f) { return InGroup(TraitGroup::BaseSkills, f); }
bool IsNeed(std::string_view f) {
    const auto needs = NeedRows();
    return std::any_of(needs.begin(), needs.end(), [&](const NeedRow& n) { return n.field == f; });
}

std::string PersonalityDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return Personality(c, sim, Joined(field, value));
}
std::string InterestDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return InterestOperation(c, sim, Joined(field, value));
}
std::string SkillDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return SkillOperation(c, sim, Joined(field, value));
}
std::string NeedDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return Need(c, sim, Joined(field, value));
}

constexpr SimOperation kTraits[] = {
    {.name = "max-all", .valueHelp = "current personality, interests and skills to 1000 (before the single values)",
     .apply = MaxAll, .flag = true},
    {.name = "personality", .valueHelp = "NAME=VALUE: a trait (neat, geneticNeat, ...) 0-1000, or reputation -100..100",
     .apply = Personality, .governs = IsPersonality, .fieldDoor = PersonalityDoor},
    {.name = "interest", .valueHelp = "NAME=VALUE: an interest (interestPolitics or Politics, ...) 0-1000",
     .apply = InterestOperation, .governs = IsInterest, .fieldDoor = InterestDoor},
    {.name = "skill", .valueHelp = "NAME=VALUE: a base skill (cookingSkill or Cooking, ...) 0-1000",
     .apply = SkillOperation, .governs = IsSkill, .fieldDoor = SkillDoor},
    {.name = "need", .valueHelp = "NAME=0|12|24|36: a need's decay speed (Normal, Slow, Slower, Very Slow)",
     .apply = Need, .governs = IsNeed, .fieldDoor = NeedDoor},
};

}  // namespace

std::span<const SimOperation> TraitOperations() { return kTraits; }

}  // namespace qh::ops
