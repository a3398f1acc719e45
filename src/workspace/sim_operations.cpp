#include "workspace/sim_operations.h"

#include <algorithm>
#include <charconv>

#include "character/character_rules.h"
#include "character/character_traits.h"
#include "package/guid.h"
#include "workspace/family_tree.h"
#include "workspace/households.h"
#include "workspace/relationships.h"
#include "workspace/sim_items.h"
#include "workspace/skill_items.h"

namespace qh {

namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> OnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

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

// "NAME=VALUE", split at the first '='.
std::optional<std::pair<std::string_view, std::string_view>> Assignment(std::string_view text) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0) return std::nullopt;
    return std::pair{text.substr(0, eq), text.substr(eq + 1)};
}

std::string PetRefusal(const Character& sim, const char* what) {
    return std::string(sim.firstName.empty() ? "this sim" : sim.firstName) + " is a pet: " + what +
           " cannot be changed";
}

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

std::string MoveInOperation(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto instance = ParseHexNumber(value);
    Household* household = instance ? FindHousehold(c.workspace, *instance) : nullptr;
    if (!household) return "--move-in: no household " + std::string(value) + " in this neighborhood";
    MoveIn(c.workspace, sim, *household);
    return {};
}

// The other sim of a relationship or a tie: a character package's file name, or the sim's
// instance id in decimal or, with "0x", in hexadecimal.
std::optional<std::size_t> FindOther(SimOperationContext& c, std::string_view other) {
    Workspace& ws = c.workspace;
    if (other.size() > 8 && other.substr(other.size() - 8) == ".package") return FindSimByFile(ws, other);
    std::optional<std::uint32_t> instance;
    if (other.starts_with("0x") || other.starts_with("0X")) {
        instance = ParseHexNumber(other);
    } else if (const auto number = Number(other); number && *number >= 0) {
        instance = static_cast<std::uint32_t>(*number);
    }
    const auto it = instance ? ws.simByInstance.find(*instance) : ws.simByInstance.end();
    if (it == ws.simByInstance.end()) return std::nullopt;
    return it->second;
}

// The selected sim's relationship with OTHER, as the panel edits it: both directions must exist.
struct PairLookup {
    std::size_t record = 0;
    std::string problem;
};

PairLookup FindPair(SimOperationContext& c, const Character& sim, std::string_view other, const char* option) {
    Workspace& ws = c.workspace;
    const std::optional<std::size_t> index = FindOther(c, other);
    if (!index) return {0, std::string(option) + ": no sim \"" + std::string(other) + "\" in this neighborhood"};
    const Character& o = ws.characters[*index];
    const auto records = RelationshipsBetween(ws, RelationshipId(sim), RelationshipId(o));
    if (sim.instanceId == 0 || o.instanceId == 0 || records.empty() || &o == &sim) {
        return {0, std::string(option) + ": " + sim.packageFile + " has no relationship with " + o.packageFile};
    }
    if (ReverseRecords(ws, records.front()).empty()) {
        return {0, std::string(option) + ": " + o.packageFile + " has no relationship with " + sim.packageFile +
                       " in return; a one-way relationship cannot be edited"};
    }
    return {records.front(), {}};
}

// "OTHER:REST" or "OTHER=REST", split at the last separator (a file name holds neither).
std::optional<std::pair<std::string_view, std::string_view>> OtherAnd(std::string_view text, char separator) {
    const auto at = text.rfind(separator);
    if (at == std::string_view::npos || at == 0) return std::nullopt;
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::string RelationshipLevels(SimOperationContext& c, Character& sim, std::string_view text) {
    constexpr const char* kUsage = "--rel must be OTHER:SHORT,LONG with levels from -100 to 100";
    const auto parts = OtherAnd(text, ':');
    if (!parts) return kUsage;
    const auto comma = parts->second.find(',');
    const auto shortTerm = Number(parts->second.substr(0, comma));
    const auto longTerm = comma == std::string_view::npos ? std::nullopt : Number(parts->second.substr(comma + 1));
    if (!shortTerm || !longTerm || *shortTerm < -100 || *shortTerm > 100 || *longTerm < -100 || *longTerm > 100) {
        return kUsage;
    }
    const PairLookup pair = FindPair(c, sim, parts->first, "--rel");
    if (!pair.problem.empty()) return pair.problem;
    SetRelationshipLevels(c.workspace, pair.record, RelationshipSide::Own, *shortTerm, *longTerm);
    return {};
}

std::string RelationshipFlagOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, ':');
    const auto assignment = parts ? Assignment(parts->second) : std::nullopt;
    const RelationshipFlag* flag = assignment ? FindRelationshipFlag(assignment->first) : nullptr;
    const auto on = assignment ? OnOff(assignment->second) : std::nullopt;
    if (!flag || !on) {
        std::string captions;
        for (const RelationshipFlag& f : RelationshipFlags()) captions += (captions.empty() ? "" : ", ") + std::string(f.caption);
        return "--rel-flag must be OTHER:CAPTION=on|off with CAPTION one of " + captions;
    }
    const PairLookup pair = FindPair(c, sim, parts->first, "--rel-flag");
    if (!pair.problem.empty()) return pair.problem;
    SetRelationshipFlagRule(c.workspace, pair.record, RelationshipSide::Own, flag->bit, *on);
    return {};
}

std::string FamilyRelationOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, ':');
    const auto value = parts ? Number(parts->second) : std::nullopt;
    if (!value || !MirrorFamilyRelation(*value)) return "--family-relation must be OTHER:N with N from 0 to 9";
    const PairLookup pair = FindPair(c, sim, parts->first, "--family-relation");
    if (!pair.problem.empty()) return pair.problem;
    if (!HasRelationshipFlag(c.workspace.relationshipList[pair.record], kFamilyBit)) {
        return "--family-relation: the relationship is not marked Family (--rel-flag OTHER:Family=on first)";
    }
    SetFamilyRelation(c.workspace, pair.record, RelationshipSide::Own, *value);
    return {};
}

std::string Furious(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, '=');
    const auto on = parts ? OnOff(parts->second) : std::nullopt;
    if (!on) return "--furious must be OTHER=on|off";
    const PairLookup pair = FindPair(c, sim, parts->first, "--furious");
    if (!pair.problem.empty()) return pair.problem;
    if (!FuriousShown(c.env)) return "--furious: Furious is kept only with Nightlife or a later expansion installed";
    const RelationshipSideIds ids = SideIds(c.workspace, pair.record, RelationshipSide::Own);
    SetFurious(c.workspace, ids.owner, ids.other, *on);
    return {};
}

std::string Contact(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, '=');
    const auto on = parts ? OnOff(parts->second) : std::nullopt;
    if (!on) return "--contact must be OTHER=on|off";
    const PairLookup pair = FindPair(c, sim, parts->first, "--contact");
    if (!pair.problem.empty()) return pair.problem;
    SetRelationshipFlagRule(c.workspace, pair.record, RelationshipSide::Own, kContactBit, *on);
    return {};
}

std::string ChangeTie(SimOperationContext& c, Character& sim, FamilySlot slot, std::string_view other,
                      const char* option) {
    if (const std::string refusal = FamilyTiesRefusal(c.workspace); !refusal.empty()) return refusal;
    const auto index = FindOther(c, other);
    if (!index) return std::string(option) + ": no sim \"" + std::string(other) + "\" in this neighborhood";
    const std::size_t self = static_cast<std::size_t>(&sim - c.workspace.characters.data());
    const auto candidates = FamilyCandidates(c.workspace, self, slot, c.advanced);
    if (std::find(candidates.begin(), candidates.end(), *index) == candidates.end()) {
        return std::string(option) + ": " + c.workspace.characters[*index].packageFile + " cannot be " +
               (slot == FamilySlot::Spouse ? "the spouse" : "a parent") + " of " + sim.packageFile +
               " (another species, too young, the sim itself or its other parent)";
    }
    ChangeFamilyTie(c.workspace, self, slot, *index);
    return {};
}

std::optional<FamilySlot> ParentSlot(std::string_view text) {
    if (text == "1") return FamilySlot::FirstParent;
    if (text == "2") return FamilySlot::SecondParent;
    return std::nullopt;
}

std::string Parent(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto assignment = Assignment(text);
    const auto slot = assignment ? ParentSlot(assignment->first) : std::nullopt;
    if (!slot) return "--parent must be 1=OTHER or 2=OTHER";
    return ChangeTie(c, sim, *slot, assignment->second, "--parent");
}

std::string Spouse(SimOperationContext& c, Character& sim, std::string_view text) {
    return ChangeTie(c, sim, FamilySlot::Spouse, text, "--spouse");
}

std::string RemoveParent(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto slot = ParentSlot(text);
    if (!slot) return "--remove-parent must be 1 or 2";
    if (const std::string refusal = FamilyTiesRefusal(c.workspace); !refusal.empty()) return refusal;
    RemoveFamilyTie(c.workspace, static_cast<std::size_t>(&sim - c.workspace.characters.data()), *slot);
    return {};
}

std::string RemoveSpouse(SimOperationContext& c, Character& sim, std::string_view) {
    if (const std::string refusal = FamilyTiesRefusal(c.workspace); !refusal.empty()) return refusal;
    RemoveFamilyTie(c.workspace, static_cast<std::size_t>(&sim - c.workspace.characters.data()), FamilySlot::Spouse);
    return {};
}

constexpr SimOperation kOperations[] = {
    {"life-stage", "position in the life-stage list (sims 0-5, pets 0-2)", LifeStage},
    {"young-adult", "on or off", YoungAdult},
    {"zodiac", "zodiac sign, 1 (Aries) to 12 (Pisces)", Zodiac},
    {"gender", "male or female", Gender},
    {"locomotion", "locomotion balance, 0 to 100 (the first weight)", Locomotion},
    {"dead", "on or off", Dead},
    {"remove-items", "remove the sim's items with this GUID", RemoveItems},
    {"add-item", "add an item GUID:SECONDARY:v1,v2,...", AddItem},
    {"max-all", "current personality, interests and skills to 1000 (before the single values)", MaxAll, true},
    {"personality", "NAME=VALUE: a trait (neat, geneticNeat, ...) 0-1000, or reputation -100..100", Personality},
    {"interest", "NAME=VALUE: an interest (interestPolitics or Politics, ...) 0-1000", InterestOperation},
    {"skill", "NAME=VALUE: a base skill (cookingSkill or Cooking, ...) 0-1000", SkillOperation},
    {"item-skill", "GUID=LEVEL of an item skill (dance, parenting, ...)", ItemSkillOperation},
    {"presence", "GUID=on|off of a massage or ninja skill", Presence},
    {"toddler", "walk,talk,potty,walkLearned,talkLearned,pottyLearned,rhyme", Toddler},
    {"need", "NAME=0|12|24|36: a need's decay speed (Normal, Slow, Slower, Very Slow)", Need},
    {"move-in", "move the sim into the household with this instance (hexadecimal)", MoveInOperation, false, false},
    {"rel", "OTHER:SHORT,LONG: the sim's levels toward OTHER (file name or instance id), -100..100",
     RelationshipLevels, false, false},
    {"rel-flag", "OTHER:CAPTION=on|off: a flag (Friend, Engaged, ...; both-sides flags set both records)",
     RelationshipFlagOperation, false, false},
    {"family-relation", "OTHER:N: what the sim is to OTHER, 0-9 (OTHER's record takes the mirror)",
     FamilyRelationOperation, false, false},
    {"furious", "OTHER=on|off: the sim is furious at OTHER", Furious, false, false},
    {"contact", "OTHER=on|off: the sim keeps OTHER as a contact", Contact, false, false},
    {"remove-parent", "1|2: empty a parent slot and derive the family again", RemoveParent},
    {"remove-spouse", "empty the spouse slot and derive the family again", RemoveSpouse, true},
    {"parent", "1=OTHER or 2=OTHER: a new first or second parent (the family is derived again)", Parent},
    {"spouse", "OTHER: a new spouse (the family is derived again)", Spouse},
};

}  // namespace

std::span<const SimOperation> SimOperations() { return kOperations; }

std::string ApplySimOperation(const SimOperation& operation, SimOperationContext& context, Character& sim,
                              std::string_view value) {
    if (operation.needsDescription && !HasDescription(sim)) return NoDescriptionRefusal(sim);
    return operation.apply(context, sim, value);
}

const SimOperation* FindSimOperation(std::string_view name) {
    for (const SimOperation& operation : kOperations) {
        if (operation.name == name) return &operation;
    }
    return nullptr;
}

}  // namespace qh
