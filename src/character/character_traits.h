// The rules of the Personality, Interests, Skills and Needs panels: the sim description's
// personality traits (current and inherited), conversation interests, base skills, reputation and
// the FreeTime need decay modifiers.
//
// Each panel is a column of controls over words of the description, so each group is one table
// of rows naming a field of the field table; the panels build their sliders from these rows and
// the command-line tool takes the same names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "character/character.h"

namespace qh {

// One slider over a word of the description.
struct TraitSlider {
    std::string_view field;  // its name in the field table
    std::int16_t Character::*member;
    const char* label;       // "Politics:", "Cleaning:(", a personality trait's name
    const char* lowEnd;      // personality: the caption of the slider's low end, else null
    const char* highEnd;
    const char* petLabel;    // interests: the pet's name for it, null when pets do not use it
};

enum class TraitGroup {
    Personality,  // the five current traits, then the five inherited ("Original (Birth)")
    Interests,    // eighteen, in record order
    BaseSkills    // seven
};
std::span<const TraitSlider> TraitSliders(TraitGroup group);
// The slider of a group by its field name ("interestPolitics") or, ignoring case, by its label
// without the colon and bracket ("Politics", "Cooking"); personality traits also by their
// inherited name ("geneticNeat").
const TraitSlider* FindTraitSlider(TraitGroup group, std::string_view name);

inline constexpr int kTraitMaximum = 1000;
inline constexpr int kReputationMinimum = -100, kReputationMaximum = 100;

// What a label adds when the slider shows the end of its range for a value stored beyond it (by
// another tool): " - stored 5000", so the player sees that what is shown is not what is kept.
// Empty otherwise.
std::string StoredBeyondNote(std::int16_t stored, int shown);
// The same for a slider of the range low..high.
std::string StoredBeyondNote(int stored, int shown, int low, int high);

// The values as the group's sliders show them: each word kept to 0..1000.
std::vector<int> ShownTraits(const Character& sim, TraitGroup group);

// A slider moved: every slider of the group is stored as shown, but for a value outside the
// sliders' range (another tool wrote it) whose slider still shows its clamp: that slider was not
// moved, and the stored value stays. Values are kept to 0..1000. Marks the sim changed when any
// word changed. A pet's personality and skills
// are shown but not edited (the game keeps them from the pet's breed): returns false and changes
// nothing for those.
bool StoreTraits(Character& sim, TraitGroup group, std::span<const int> values, bool hasPets);
// One slider of the group to the value, the others as shown; the command line's way.
bool SetTrait(Character& sim, TraitGroup group, const TraitSlider& slider, int value, bool hasPets);

// Whether the group's sliders may be changed for the sim.
bool TraitsEditable(const Character& sim, TraitGroup group, bool hasPets);
// A pet's interests panel shows the nine pet interests under their own names and hides the rest.
bool InterestShown(const Character& sim, const TraitSlider& slider, bool hasPets);
// The label of an interest slider: its name directly followed by the value in brackets,
// "Politics:(500)"; for a pet, the pet's name for it.
std::string InterestLabel(const TraitSlider& slider, int value, bool pet);
// A base skill's label: "Cooking:(" followed by the value and ")".
std::string SkillLabel(const TraitSlider& slider, int value);

// "Random": one draw per slider from 0 to 998, from a generator seeded with `seed` (the panels
// and the command line seed it from the clock at each press). There is no budget across traits.
std::vector<int> RandomTraitValues(std::size_t count, std::uint64_t seed);
std::uint64_t ClockSeed();

// The reputation box is shown for a sim, not a pet, when Apartment Life is installed; the word
// exists only in descriptions of the newest format.
bool ReputationShown(const Character& sim, bool hasPets, bool hasApartmentLife);
bool ReputationStored(const Character& sim);
// Keeps the value to -100..100; leaves the appearance probability beside it as it was.
void SetReputation(Character& sim, int value);

// The seven FreeTime need decay modifiers, in record order.
struct NeedRow {
    std::string_view field;
    std::int16_t Character::*member;
    const char* caption;  // "Hunger:"
};
std::span<const NeedRow> NeedRows();
const NeedRow* FindNeed(std::string_view name);  // by field name or caption without the colon

struct NeedSpeed {
    std::int16_t value;
    const char* caption;
};
// Normal 0, Slow 12, Slower 24, Very Slow 36.
std::span<const NeedSpeed> NeedSpeeds();
// The speed a stored value shows as: a value the game does not use shows as Normal (and stays
// stored until the player picks a speed).
int NeedSpeedPosition(std::int16_t stored);
const char* NeedSpeedCaption(std::int16_t stored);
// Whether the sim's description carries the modifiers (the FreeTime formats).
bool NeedsStored(const Character& sim);
// Picking a speed stores its value; returns whether anything changed (only then is the sim
// marked changed).
bool SetNeedSpeed(Character& sim, const NeedRow& need, std::int16_t value);
// "Lotsa Free Time": every need to Very Slow.
bool LotsaFreeTime(Character& sim);

}  // namespace qh
