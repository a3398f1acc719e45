// The Aspiration/Influence and Rewards/Extras panels' operations: aspirations, the meter, level and
// reward points, the long-term aspiration, the weekly benefit, influence, and rewards, each
// offered as the panels offer it.
#include <algorithm>
#include <cctype>

#include "workspace/aspiration_items.h"
#include "workspace/operations/operation_support.h"
#include "workspace/reward_items.h"

namespace qh::ops {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A list position (0 to 8) or an aspiration's name ("Knowledge", "-" or "none" for none).
std::optional<int> AspirationPosition(std::string_view text) {
    if (text == "-" || text == "none") return 0;
    if (const auto number = Number(text)) return number;
    for (const AspirationRow& row : AspirationRows()) {
        if (SameIgnoringCase(text, row.name)) return row.position;
    }
    return std::nullopt;
}

// "PRIMARY[,SECONDARY]": without a secondary, the one shown stays (as when the primary list alone
// changes in the panel).
std::string Aspiration(SimOperationContext& c, Character& sim, std::string_view value) {
    const std::size_t comma = value.find(',');
    const auto primary = AspirationPosition(value.substr(0, comma));
    const auto secondary = comma == std::string_view::npos
                               ? std::optional<int>(ShownAspirations(c.workspace.simItemList, sim, c.env).secondary)
                               : AspirationPosition(value.substr(comma + 1));
    if (!primary || !secondary) {
        return "--aspiration is PRIMARY[,SECONDARY]: list positions (0 none, 1 Romance ... 8 Grilled Cheese) or names";
    }
    return SetAspirations(c.workspace, sim, c.env, *primary, *secondary);
}

template <std::string (*Set)(Character&, const GameEnvironment&, int)>
std::string WithEnv(SimOperationContext& c, Character& sim, std::string_view value, const char* usage) {
    const auto number = Number(value);
    if (!number) return usage;
    return Set(sim, c.env, *number);
}

std::string Meter(SimOperationContext& c, Character& sim, std::string_view value) {
    return WithEnv<SetAspirationScore>(c, sim, value, "--aspiration-meter is a number");
}
std::string Level(SimOperationContext&, Character& sim, std::string_view value) {
    const auto number = Number(value);
    if (!number) return "--aspiration-level is a number, 0 to 1200";
    return SetAspirationLevel(sim, *number);
}
// The number as the box shows it: its last digit becomes 0 and a tenth of it is stored.
std::string RewardPoints(SimOperationContext&, Character& sim, std::string_view value) {
    if (value.empty() || !std::all_of(value.begin(), value.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        return "--reward-points is the number shown, digits only (its last digit is stored as 0)";
    }
    return SetRewardPoints(sim, std::u32string(value.begin(), value.end()));
}
std::string LtaLevel(SimOperationContext& c, Character& sim, std::string_view value) {
    return WithEnv<SetLtaLevel>(c, sim, value, "--lta-level is a number, 0 to 30000");
}
std::string LtaUnlocks(SimOperationContext& c, Character& sim, std::string_view value) {
    return WithEnv<SetLtaUnlocks>(c, sim, value, "--lta-unlocks is the number of unlocks still to use");
}
std::string Benefit(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto number = Number(value);
    if (!number) return "--weekly-benefit is a number, 0 to 7";
    // The panel shows the benefit only for a sim the game gave one.
    if (!WeeklyBenefit(c.workspace.simItemList, sim)) return "the sim has no weekly benefit; the game gives one with its long-term aspiration";
    return SetWeeklyBenefit(c.workspace, sim, *number);
}
std::string Influence(SimOperationContext& c, Character& sim, std::string_view value) {
    return WithEnv<SetInfluenceLevel>(c, sim, value, "--influence-level is a number, 0 to 5");
}

// "NAME=on|off": a reward or personal item by its caption or its item GUID.
std::string Reward(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto assignment = Assignment(value);
    const RewardRow* reward = assignment ? FindReward(assignment->first) : nullptr;
    const auto owned = assignment ? OnOff(assignment->second) : std::nullopt;
    if (!reward || !owned) return "--reward is NAME=on|off: a reward or personal item (Execuputter, Cell Phone, 0xCE8408E6, ...)";
    return SetReward(c.workspace, sim, c.env, *reward, *owned);
}

bool Is(std::string_view f, std::string_view name) { return f == name; }
bool IsFlags(std::string_view f) { return Is(f, "aspirationFlags"); }
bool IsScore(std::string_view f) { return Is(f, "aspirationScore"); }
bool IsLevel(std::string_view f) { return Is(f, "aspirationLevel"); }
bool IsPoints(std::string_view f) { return Is(f, "aspirationRewardPoints"); }
bool IsLtaLevel(std::string_view f) { return Is(f, "ltaLevel"); }
bool IsLtaUnlocks(std::string_view f) { return Is(f, "ltaUnlocksEarned"); }
bool IsInfluence(std::string_view f) { return Is(f, "influenceLevel"); }

template <std::string (*Apply)(SimOperationContext&, Character&, std::string_view)>
std::string Door(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return Apply(c, sim, value);
}

constexpr SimOperation kAspiration[] = {
    {.name = "aspiration", .valueHelp = "PRIMARY[,SECONDARY]: aspirations by list position (0 none .. 8) or name",
     .apply = Aspiration, .needsItems = true, .governs = IsFlags},
    {.name = "aspiration-meter", .valueHelp = "the aspiration meter, 0 to its life stage's maximum (100 with FreeTime)",
     .apply = Meter, .governs = IsScore, .fieldDoor = Door<Meter>},
    {.name = "aspiration-level", .valueHelp = "the aspiration level, 0 to 1200", .apply = Level, .governs = IsLevel,
     .fieldDoor = Door<Level>},
    // The field holds a tenth of the points shown, so `set aspirationRewardPoints=` is refused.
    {.name = "reward-points", .valueHelp = "the reward points as shown; a tenth is stored (1234 stores 123)",
     .apply = RewardPoints, .governs = IsPoints},
    {.name = "lta-level", .valueHelp = "the long-term aspiration level, 0 to 30000 (FreeTime)", .apply = LtaLevel,
     .governs = IsLtaLevel, .fieldDoor = Door<LtaLevel>},
    {.name = "lta-unlocks", .valueHelp = "the long-term unlocks still to use, 0 to 16 - used (FreeTime)",
     .apply = LtaUnlocks, .governs = IsLtaUnlocks},
    {.name = "weekly-benefit", .valueHelp = "the weekly benefit, 0 to 7 (a sim the game gave one)", .apply = Benefit,
     .needsItems = true},
    {.name = "influence-level", .valueHelp = "the influence level, 0 to 5", .apply = Influence,
     .governs = IsInfluence, .fieldDoor = Door<Influence>},
    {.name = "reward", .valueHelp = "NAME=on|off: grant or take away a career reward or personal item",
     .apply = Reward, .needsItems = true},
};

}  // namespace

std::span<const SimOperation> AspirationOperations() { return kAspiration; }

}  // namespace qh::ops
