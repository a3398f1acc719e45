// The skills the game keeps not in the sim description but as items of the sim in the
// neighborhood data: parenting, dance, the Bon Voyage and Apartment Life skills, and toddler
// training. Each is an item with the skill's GUID owned by the sim; a level is the item's first
// value, a massage or ninja skill is learned when the item is there at all.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string_view>

#include "character/character.h"
#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

enum class SkillGroup { Misc, FreeTime, BonVoyage, ApartmentLife };

struct ItemSkill {
    const char* name;  // "Dance Skill"
    std::uint32_t itemGuid;
    bool presence;     // learned when present (a check box); else a level (a slider)
    int maximum;       // of a level
    SkillGroup group;
};
std::span<const ItemSkill> ItemSkills();
const ItemSkill* FindItemSkill(std::uint32_t itemGuid);

inline constexpr std::uint32_t kParentingGuid = 0xB3F2D735;
inline constexpr std::uint32_t kToddlerTrainingGuid = 0x4DDF0E12;

// The level the sim's slider shows: the first value of the sim's last item with the GUID (the
// panel walks the list in order, each item moving the slider), 0 without one.
int ItemSkillLevel(const Workspace& workspace, const Character& sim, std::uint32_t itemGuid);
// A level slider moved: every item of the sim with the GUID takes the level as its first value.
// Without one, a level other than 0 adds an item (first list, values: the level, then 0 for
// every skill but Parenting, which keeps a single value); a level of 0 adds nothing, and an item
// brought back to 0 stays. Returns whether anything changed.
bool SetItemSkillLevel(Workspace& workspace, Character& sim, const ItemSkill& skill, int level);
// A massage or ninja box: checked adds one item without values (second list) unless the sim has
// one; unchecked removes every such item of this sim.
bool SetItemSkillPresent(Workspace& workspace, Character& sim, const ItemSkill& skill, bool present);

// Toddler training: one item of eight values. Value 0 is always 0; 1..3 the walk, talk and potty
// levels; 4..6 whether each is learned; 7 the nursery rhyme: 1 means learned, any other value is
// the progress (so progress that stands at 1 is stored as 2).
struct ToddlerTraining {
    int walk = 0, talk = 0, potty = 0;
    bool walkLearned = false, talkLearned = false, pottyLearned = false;
    int rhyme = 0;  // the nursery-rhyme slider
    bool rhymeLearned = false;
    bool operator==(const ToddlerTraining&) const = default;
};
// As the panel shows it (the sim's last training item; nothing without one).
ToddlerTraining ShownToddlerTraining(const Workspace& workspace, const Character& sim);
// What the toddler controls show is written to every training item of the sim. `rhymeBox` says
// the change came from the nursery-rhyme box: checking it sets the rhyme to 1 (learned),
// unchecking sets it to 0. A toddler without an item gets one only when a walk, talk or potty
// level is not 0. Returns whether anything changed.
bool SetToddlerTraining(Workspace& workspace, Character& sim, ToddlerTraining shown, bool rhymeBox = false);

// Everything of the sim's item skills and training, from one pass over a list of items (the
// workspace's, or only the sim's own): the level of every skill it has an item of (presence
// skills included, at their first value or 0), and its training when it has a training item.
struct SimSkills {
    std::map<std::uint32_t, int> levels;  // by item GUID
    std::optional<ToddlerTraining> training;
    bool Has(std::uint32_t itemGuid) const { return levels.count(itemGuid) != 0; }
    int Level(std::uint32_t itemGuid) const;
};
SimSkills ReadSimSkills(std::span<const NeighborhoodItem> items, const Character& sim);

// What the Skills panel shows of a sim: item skills for a sim past the toddler stage, training for
// a toddler, neither for a pet.
bool ShowsItemSkills(const Character& sim, bool hasPets);
bool ShowsToddlerTraining(const Character& sim, bool hasPets);
// Whether the skill's control is shown: the Bon Voyage and Apartment Life skills need their
// expansion; all need ShowsItemSkills.
bool ItemSkillShown(const ItemSkill& skill, const Character& sim, const GameEnvironment& env);
bool SkillGroupShown(SkillGroup group, const Character& sim, const GameEnvironment& env);

}  // namespace qh
