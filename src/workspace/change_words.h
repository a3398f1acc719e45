// A sim's change told in the player's words, as the panels name what they show: "Aspiration:
// Fortune → Knowledge", "Badge Fishing: Bronze → Gold", "Reward Execuputter: given". The list
// of unsaved changes shows these beside the raw fields.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "character/character.h"
#include "platform/game_environment.h"
#include "workspace/neighborhood_item.h"

namespace qh {

// The sim before and after, each with its own items (others' items are ignored).
std::vector<std::string> DescribeSimChanges(const Character& before, std::span<const NeighborhoodItem> itemsBefore,
                                            const Character& after, std::span<const NeighborhoodItem> itemsAfter,
                                            const GameEnvironment& env);

}  // namespace qh
