// The rules of the Character panel: life stages, the young-adult flag, gender, zodiac signs, the
// attraction bit plan, the digit filter of numeric boxes, and thumbnail repair.
#pragma once

#include <array>
#include <span>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "character/character.h"

namespace qh {

// Pets (species 1 large dog, 2 small dog, 3 cat) have their own life stages once Pets is
// installed; without it every record is listed as a sim.
bool IsPet(const Character& sim, bool hasPets);

// A sim the neighborhood keeps no description of (a visitor known only by its character file):
// everything the description holds (age, personality, skills, needs, its items) has nowhere to be
// saved, so it is shown as missing and refused, never accepted and then dropped.
bool HasDescription(const Character& sim);
std::string NoDescriptionRefusal(const Character& sim);

struct LifeStageRow {
    const char* caption;    // the life-stage list's entry
    std::int16_t lifeStage;
    std::int16_t ageProperty;
};
// The life-stage list of a sim (Baby .. Elder) or a pet (Puppy/Kitten, Adult, Elder).
std::vector<LifeStageRow> LifeStageRows(bool pet);
inline constexpr int kAdultPosition = 4;  // of the sims' list: the only stage with young adults

// The list position of the sim's lifeStage, or -1 when the stored value is none of the list's.
int LifeStagePosition(const Character& sim, bool pet);

// "Species: Sim Adult", "Species: Small Elder Dog", ... for the given list position.
std::string SpeciesLabel(const Character& sim, bool pet, int position);

// Choosing a life stage: lifeStage and ageProperty from the table; away from Adult the
// young-adult flag is cleared, on Adult with the flag set the age property is 64. The game must
// draw the sim anew, so its pictures are marked out of date.
void SetLifeStagePosition(Character& sim, bool pet, int position);

// The young-adult box: on Adult, a young adult's age property is 64.
void SetYoungAdult(Character& sim, bool youngAdult, int lifeStagePosition);

void SetGender(Character& sim, bool female);

// A plain value of the sim (fatness, a preference, an age count, the description), marking the
// sim changed.
void SetWord(Character& sim, std::int16_t Character::*field, std::int16_t value);
void SetDescription(Character& sim, std::string description);

// The Character panel's sliders and number boxes over plain words: the control, the field, the
// range the control offers, and whether it is shown only in advanced mode. A box stores its
// digits in 16 bits, as the game's word holds them.
struct WordRow {
    std::string_view control;
    std::string_view field;
    std::int16_t Character::*member;
    int low;
    int high;
    bool box = false;
    bool advancedOnly = false;
};
std::span<const WordRow> CharacterWordRows();
const WordRow* FindWordRow(std::string_view field);
// Stores a value of the row's range as its control stores it, and marks the sim when it changed.
void SetWordRow(Character& sim, const WordRow& row, int value);

// A new career. Leaving an owned business for another career ends the sim's place in it: its
// business lot and rank become 0 (descriptions from format 0x2A keep them), in the same edit.
void SetCareer(Character& sim, const Guid4& career);

// Locomotion balance: the two weights always add up to 100.
void SetLocomotion(Character& sim, int weight0);

struct ZodiacSign {
    const char* name;
    std::int16_t neat, outgoing, active, playful, nice;
    const char* text;  // "\r\n" breaks lines; "&&" shows as one ampersand
};
// Signs 1 (Aries) .. 12 (Pisces).
const std::array<ZodiacSign, 12>& ZodiacSigns();
// The sign's text as shown: lines broken with "\n", a single ampersand; empty outside 1..12.
std::string ZodiacSignText(int zodiac);
// Sets the sign and both the current and the inherited personality to the sign's values. A pet's
// personality comes with its breed: for a pet only the sign changes.
void ApplyZodiac(Character& sim, int zodiac, bool hasPets);

// One entry of the turn-on, turn-off and own-trait lists: which bit of which of the three words.
struct AttractionEntry {
    const char* caption;
    int word;  // 1..3, 0 for "NA"
    int bit;
};
const std::array<AttractionEntry, 35>& AttractionPlan();
enum class AttractionSet { TurnOns, TurnOffs, OwnTraits };
bool HasAttraction(const Character& sim, AttractionSet set, int position);
void SetAttraction(Character& sim, AttractionSet set, int position, bool on);

// The relationship panel's turn-on and turn-off selectors: two turn-ons and one turn-off, each a
// position of the attraction plan (0 "NA"). Shown: walking word 1 bits 0-13, word 2 bits 0-15,
// word 3 bits 0-3, the first two set turn-on bits and the first set turn-off bit. Storing clears
// all six words and sets the chosen bits, so a sim keeps the two turn-ons and one turn-off the
// game allows.
struct TurnOnSelection {
    int turnOn1 = 0;
    int turnOn2 = 0;
    int turnOff = 0;
    friend bool operator==(const TurnOnSelection&, const TurnOnSelection&) = default;
};
TurnOnSelection ShownTurnOns(const Character& sim);
// Whether the sim's description format keeps the word of this plan position ("NA" always): the
// first two words came with format 0x29, the third (Robots, Plantsimism, Lycanthropy, Witchiness)
// with 0x2F. A choice the format cannot keep is not offered and is refused.
bool AttractionStored(const Character& sim, int position);
// Stores the choice; false, changing nothing, when a position is outside the plan or not stored.
bool SetTurnOnsAndOffs(Character& sim, const TurnOnSelection& chosen);

// The names of the sim's own attraction traits (its set bits of the three own-trait words, in
// bit order), as the relationship panel lists them.
std::vector<std::string_view> OwnTraitNames(const Character& sim);

// The digit filter of numeric boxes: every character that is not a digit becomes '0', so the
// text keeps its length (and the caret its place). The value is the text read as a decimal
// number (0 when empty) kept in 16 bits.
std::u32string FilterDigits(std::u32string_view text);
std::int16_t DigitValue(std::u32string_view filtered);
// The same number in full, for boxes of wider values (household funds: at most ten digits).
std::uint64_t DigitNumber(std::u32string_view filtered);

// The university class selector can be changed only in advanced mode, with University installed,
// and not when every later expansion is installed as well (University's class list does not
// match what those installations store).
bool UniversityClassEditable(bool advanced, bool hasUniversity, bool hasNightlife, bool hasPets, bool hasSeasons,
                             bool hasBonVoyage, bool hasFreeTime, bool hasApartmentLife);

// "Fix Thumbnail" is offered for a sim with a picture, in a household, not already marked.
bool CanFixThumbnail(const Character& sim);
void FixThumbnail(Character& sim);

}  // namespace qh
