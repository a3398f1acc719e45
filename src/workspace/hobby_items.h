// Hobbies and badges: a sim's ten hobby enthusiasms and natural talent (fields of its description,
// FreeTime), its memberships of the ten hobby lots and its eleven talent badges (items of the sim
// in the neighborhood data: Open for Business, Seasons, FreeTime).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "character/character.h"
#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

struct HobbyRow {
    int id;                          // 204..213: the talent's value and the lot membership's
    const char* name;                // the talent list's entry: "Cuisine"
    std::int16_t Character::*member;  // the enthusiasm
    const char* field;               // its name in the field table: "hobbyCuisine"
    const char* label;               // "Cuisine:("
    const char* lot;                 // the hobby lot: "Sue's Secret Kitchen"
};
std::span<const HobbyRow> HobbyRows();

inline constexpr std::uint32_t kHobbyLotsGuid = 0x53F9DF4E;

// Whether the Hobbies panel shows anything: FreeTime, and a sim (not a pet).
bool ShowsHobbies(const Character& sim, const GameEnvironment& env);
// Enthusiasms, 0 to 1000, all ten as shown; refused with the reason outside. Marks the sim when
// any changed.
std::string StoreHobbies(Character& sim, const std::array<int, 10>& values);
// The natural talent: a hobby's id, or 0 for none ("-"); a stored value of neither shows as "-".
std::string SetTalent(Character& sim, int talent);
int ShownTalent(const Character& sim);

// The hobby lots the sim belongs to: the values of its first membership item, each an id of
// 204..213 (others are not lots and are not shown).
std::vector<int> HobbyLotMemberships(std::span<const NeighborhoodItem> items, const Character& sim);
std::vector<int> HobbyLotMemberships(const Workspace& workspace, const Character& sim);
// Rewrites the sim's first membership item with the ids of `lots` in id order (an item without
// values stays when none is left); without one, appends one (second list, the ids). Returns why
// an id was refused, else "".
std::string SetHobbyLotMemberships(Workspace& workspace, Character& sim, std::vector<int> lots);

struct BadgeRow {
    const char* name;      // "Cash Register"
    std::uint32_t itemGuid;
    bool GameEnvironment::*pack;
};
std::span<const BadgeRow> BadgeRows();

// Whether the Badges panel shows anything: a sim (not a pet) past the toddler stage.
bool ShowsBadges(const Character& sim);
// A badge's level: the first value of the sim's last item of it (0 without one).
int BadgeLevel(std::span<const NeighborhoodItem> items, const Character& sim, std::uint32_t itemGuid);
int BadgeLevel(const Workspace& workspace, const Character& sim, std::uint32_t itemGuid);
// The level 0..1000 into every item of the sim with the badge's GUID; without one, a level other
// than 0 appends one (first list, values: the level, 0). Returns why the level was refused.
std::string SetBadgeLevel(Workspace& workspace, Character& sim, const BadgeRow& badge, int level);
// The grade a level shows: 0 none, 1 bronze (333..665), 2 silver (666..998), 3 gold (999, 1000).
int BadgeGrade(int level);
// "None", "Bronze", "Silver", "Gold".
const char* BadgeGradeName(int grade);
// The level a click on the badge's picture steps to: to 333, 666, 1000, then back to 0.
int NextBadgeLevel(int level);
// "Random": one of 0, 333, 666 and 1000 for each badge, each as likely, from a generator seeded
// with `seed` (the panel seeds it from the clock at each press).
std::vector<int> RandomBadgeLevels(std::size_t count, std::uint64_t seed);

}  // namespace qh
