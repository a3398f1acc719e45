// Career rewards and personal items: objects a sim owns as items of the neighborhood data, each
// known by its GUID. Owning one is having an item of it; granting appends one, taking away
// removes every item of it the sim has.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "character/character.h"
#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

enum class RewardGroup { Original, University, Seasons, FreeTime, Personal };

struct RewardRow {
    RewardGroup group;
    const char* caption;  // "Execuputter", "Cell Phone"
    const char* career;   // the hint: "Business Career Reward"; null for a personal item
    std::uint32_t itemGuid;
    std::uint16_t flags1;  // personal items: 1 for what the sim carries, 0 for the Secret Society
};
std::span<const RewardRow> RewardRows();
// "Original Career Rewards", ..., "Miscellaneous Items".
std::string_view RewardGroupCaption(RewardGroup group);
inline constexpr std::uint32_t kSecretSocietyGuid = 0x8EAE367E;

// What the panel shows: rewards and personal items for a sim (not a pet) from teen on; a group of
// rewards when its expansion is installed; the Secret Society from young adult on.
bool RewardGroupShown(const Character& sim, const GameEnvironment& env, RewardGroup group);
bool RewardShown(const Character& sim, const GameEnvironment& env, const RewardRow& reward);
// Why the reward cannot be granted or taken away, in the panel's terms, else "".
std::string RewardRefusal(const Workspace& workspace, const Character& sim, const GameEnvironment& env,
                          const RewardRow& reward);

bool HasReward(std::span<const NeighborhoodItem> items, const Character& sim, const RewardRow& reward);
// Granting appends an item (a career reward: first list, values 1 and 7; a personal item: second
// list, its flags1, no values), also when the sim has one; taking away removes every item of it.
std::string SetReward(Workspace& workspace, Character& sim, const GameEnvironment& env, const RewardRow& reward,
                      bool owned);
// "Set All" of a group: every shown reward of it granted or taken away. Rewards the sim already
// has (or lacks) are left as they are.
std::string SetRewardGroup(Workspace& workspace, Character& sim, const GameEnvironment& env, RewardGroup group,
                           bool owned);

// A reward by its caption (ignoring case) or its GUID ("0x6C2979FB").
const RewardRow* FindReward(std::string_view name);

}  // namespace qh
