// Aspiration and influence: a sim's primary aspiration and, with FreeTime, its secondary one; the
// meter, level and reward points; FreeTime's long-term aspiration and weekly benefit; influence.
//
// The game keeps the aspiration twice: as the bit set `aspirationFlags` of the description and as
// marker items of the sim in the neighborhood data (one per primary aspiration, one item holding
// the secondary's value, the weekly benefit as an item too). Every change here keeps both in step.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "character/character.h"
#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

struct AspirationRow {
    int position;                  // in both lists; 0 is "-"
    const char* name;              // "Romance"
    int bit;                       // of aspirationFlags
    std::uint32_t marker;          // the primary aspiration's item, 0 for none
    std::uint16_t secondaryValue;  // the secondary item's value: 1 << bit
};
// Positions 1 to 8, in list order.
std::span<const AspirationRow> AspirationRows();
// "-" for 0 (and for a position no aspiration has).
std::string_view AspirationName(int position);

inline constexpr std::uint32_t kSecondaryAspirationGuid = 0x53D08989;
inline constexpr std::uint32_t kWeeklyBenefitGuid = 0x541902EA;
// An old marker the game keeps with the others; it goes whenever the aspiration changes.
inline constexpr std::uint32_t kOldAspirationMarkerGuid = 0xAC8F36D1;

// How many entries the primary list has, "-" included: Pleasure and Grilled Cheese come with
// Nightlife or FreeTime. The secondary list (FreeTime only) has all nine.
int PrimaryAspirationCount(const GameEnvironment& env);
bool HasSecondaryAspiration(const GameEnvironment& env);

// The aspirations the panel shows: the sim's marker items first (a primary marker, the secondary
// item's value, the last of each kind winning), then the bit set for whatever is still "-", bit
// by bit in list order, an aspiration never shown in both lists. An aspiration the list does not
// offer is not shown. Without FreeTime there is no secondary (0).
struct ShownAspiration {
    int primary = 0;
    int secondary = 0;
    friend bool operator==(const ShownAspiration&, const ShownAspiration&) = default;
};
ShownAspiration ShownAspirations(std::span<const NeighborhoodItem> items, const Character& sim,
                                 const GameEnvironment& env);

// Choosing aspirations: the secondary reset to "-" when it equals the primary; every marker and
// secondary item of the sim removed; the primary's marker appended (Romance to Knowledge have
// one), then the secondary item; the bit set rewritten to the primary's bit and the secondary's.
// Refused with the reason for a position the list does not offer or a secondary without
// FreeTime.
std::string SetAspirations(Workspace& workspace, Character& sim, const GameEnvironment& env, int primary,
                           int secondary);

// The meter: 0 to 100 with FreeTime, else to the life stage's maximum. A baby's meter and level
// are shown but not changed.
int AspirationMeterMaximum(const Character& sim, const GameEnvironment& env);
bool AspirationMeterEditable(const Character& sim);
std::string SetAspirationScore(Character& sim, const GameEnvironment& env, int value);
inline constexpr int kAspirationLevelMaximum = 1200;
std::string SetAspirationLevel(Character& sim, int value);

// Reward points are kept divided by 10 and shown multiplied by 10. Leaving the box replaces the
// text's last character by "0" (an empty box reads "0") and filters the digits; the number shown
// is then stored divided by 10. Above what 16 bits keep, it is refused.
int ShownRewardPoints(const Character& sim);
std::u32string RewardPointsOnLeave(std::u32string_view typed);
inline constexpr std::uint64_t kRewardPointsMaximum = 327670;
std::string SetRewardPoints(Character& sim, std::u32string_view typed);

// FreeTime's long-term aspiration: its level 0..30000 and the unlocks. The unlock list holds 0 to
// 16 - used (nothing when more than 16 are used) and shows earned - used; choosing position p
// stores earned = p + used.
bool LongTermAspirationShown(const GameEnvironment& env);
// Why the long-term controls cannot be changed (no FreeTime, or a description format without the
// words), else "".
std::string LongTermRefusal(const Character& sim, const GameEnvironment& env);
inline constexpr int kLtaLevelMaximum = 30000;
inline constexpr int kLtaUnlocks = 16;
std::string SetLtaLevel(Character& sim, const GameEnvironment& env, int value);
int LtaUnlockChoices(const Character& sim);  // entries of the list: 0 .. 16 - used
// The list entry shown, or -1 when the stored numbers give none.
int ShownLtaUnlocks(const Character& sim);
std::string SetLtaUnlocks(Character& sim, const GameEnvironment& env, int position);

// The weekly benefit: the first value of the sim's last benefit item, or none without one (the
// panel then hides it). Setting writes the level into every benefit item of the sim, appending
// one (second list, the level) when there is none and the level is not 0.
inline constexpr int kWeeklyBenefitMaximum = 7;
std::optional<int> WeeklyBenefit(std::span<const NeighborhoodItem> items, const Character& sim);
std::string SetWeeklyBenefit(Workspace& workspace, Character& sim, int level);

// Influence (shown with University for a young adult, or with any later expansion but Pets): the
// level 0..5 is edited; the minimum and the score are shown. The description's first format has
// no influence words.
bool InfluenceEnabled(const Character& sim, const GameEnvironment& env);
std::string InfluenceRefusal(const Character& sim, const GameEnvironment& env);
inline constexpr int kInfluenceLevelMaximum = 5;
std::string SetInfluenceLevel(Character& sim, const GameEnvironment& env, int value);

}  // namespace qh
