#include "workspace/aspiration_items.h"

#include <algorithm>
#include <array>

#include "character/character_fields.h"
#include "character/character_rules.h"
#include "workspace/sim_items.h"

namespace qh {

std::span<const AspirationRow> AspirationRows() {
    static constexpr AspirationRow kRows[] = {
        {1, "Romance", 0, 0x6C92F4F3, 1},
        {2, "Family", 1, 0x4C92F505, 2},
        {3, "Fortune", 2, 0x4C92F480, 4},
        {4, "Popularity", 4, 0x8C92F4BC, 16},
        {5, "Knowledge", 5, 0x6C92F4CF, 32},
        {6, "Grow Up", 6, 0, 64},
        {7, "Pleasure", 7, 0, 128},
        {8, "Grilled Cheese", 8, 0, 256},
    };
    return kRows;
}

namespace {

const AspirationRow* RowAt(int position) {
    const auto rows = AspirationRows();
    if (position < 1 || position > static_cast<int>(rows.size())) return nullptr;
    return &rows[static_cast<std::size_t>(position - 1)];
}

bool IsAspirationItem(std::uint32_t guid) {
    if (guid == kSecondaryAspirationGuid || guid == kOldAspirationMarkerGuid) return true;
    const auto rows = AspirationRows();
    return std::any_of(rows.begin(), rows.end(), [guid](const AspirationRow& row) { return row.marker != 0 && row.marker == guid; });
}

bool Owns(const NeighborhoodItem& item, const Character& sim) { return item.owner == sim.instanceId; }

}  // namespace

std::string_view AspirationName(int position) {
    const AspirationRow* row = RowAt(position);
    return row ? row->name : "-";
}

int PrimaryAspirationCount(const GameEnvironment& env) { return env.hasNightlife || env.hasFreeTime ? 9 : 7; }

bool HasSecondaryAspiration(const GameEnvironment& env) { return env.hasFreeTime; }

ShownAspiration ShownAspirations(std::span<const NeighborhoodItem> items, const Character& sim,
                                 const GameEnvironment& env) {
    int foundPrimary = 0;
    int foundSecondary = 0;
    for (const NeighborhoodItem& item : items) {
        if (!Owns(item, sim)) continue;
        for (const AspirationRow& row : AspirationRows()) {
            if (row.marker != 0 && item.itemGuid == row.marker) foundPrimary = row.position;
        }
        if (item.itemGuid == kSecondaryAspirationGuid) {
            // A value no aspiration has selects nothing.
            foundSecondary = 0;
            for (const AspirationRow& row : AspirationRows()) {
                if (!item.values.empty() && item.values[0] == row.secondaryValue) foundSecondary = row.position;
            }
        }
    }
    const int primaryCount = PrimaryAspirationCount(env);
    ShownAspiration shown{foundPrimary, foundSecondary};
    // The bit set speaks for what the items leave at "-".
    for (const AspirationRow& row : AspirationRows()) {
        if ((sim.aspirationFlags & (1u << row.bit)) == 0) continue;
        if (shown.primary == 0 && row.position != foundSecondary) {
            if (row.position < primaryCount) shown.primary = row.position;
        } else if (shown.secondary == 0 && row.position != foundPrimary) {
            shown.secondary = row.position;
        }
    }
    if (!HasSecondaryAspiration(env)) shown.secondary = 0;
    return shown;
}

std::string SetAspirations(Workspace& workspace, Character& sim, const GameEnvironment& env, int primary,
                           int secondary) {
    if (primary < 0 || primary >= PrimaryAspirationCount(env)) {
        return primary >= 7 && primary <= 8 ? std::string(AspirationName(primary)) +
                                                  " comes with Nightlife or FreeTime, neither of which is installed"
                                            : "the primary aspiration is a position of its list, 0 (none) to " +
                                                  std::to_string(PrimaryAspirationCount(env) - 1);
    }
    if (secondary != 0 && !HasSecondaryAspiration(env)) return "a secondary aspiration comes with FreeTime, which is not installed";
    if (secondary < 0 || secondary > 8) return "the secondary aspiration is a position of its list, 0 (none) to 8";
    if (secondary == primary) secondary = 0;
    if (const std::string refusal = ItemsRefusal(workspace); !refusal.empty()) return refusal;
    std::uint16_t wanted = 0;
    if (const AspirationRow* row = RowAt(primary)) wanted = static_cast<std::uint16_t>(wanted | (1u << row->bit));
    if (const AspirationRow* row = RowAt(secondary)) wanted = static_cast<std::uint16_t>(wanted | (1u << row->bit));
    // Choosing what is already shown and kept changes nothing (the items keep their places).
    if (sim.aspirationFlags == wanted && ShownAspirations(workspace.simItemList, sim, env) == ShownAspiration{primary, secondary}) {
        return {};
    }

    std::erase_if(workspace.simItemList,
                  [&](const NeighborhoodItem& item) { return Owns(item, sim) && IsAspirationItem(item.itemGuid); });
    std::uint16_t flags = 0;
    if (const AspirationRow* row = RowAt(primary)) {
        if (row->marker != 0) AddSimItem(workspace, sim, row->marker, 1, {0});
        flags = static_cast<std::uint16_t>(flags | (1u << row->bit));
    }
    if (const AspirationRow* row = RowAt(secondary)) {
        AddSimItem(workspace, sim, kSecondaryAspirationGuid, 1, {row->secondaryValue});
        flags = static_cast<std::uint16_t>(flags | (1u << row->bit));
    }
    sim.aspirationFlags = flags;
    sim.dirty = 1;
    return {};
}

int AspirationMeterMaximum(const Character& sim, const GameEnvironment& env) {
    if (env.hasFreeTime) return 100;
    switch (sim.lifeStage) {
        case 1: return 12000;
        case 2: return 3000;
        case 3: return 6000;
        case 16: return 9000;
        case 19: return 12000;
        case 51: return 15000;
        default: return 15000;  // a stage of no list: the widest range, so that nothing is cut
    }
}

bool AspirationMeterEditable(const Character& sim) { return sim.lifeStage > 1; }

std::string SetAspirationScore(Character& sim, const GameEnvironment& env, int value) {
    if (!AspirationMeterEditable(sim)) return "a baby's aspiration meter is shown, not changed";
    const int maximum = AspirationMeterMaximum(sim, env);
    if (value < 0 || value > maximum) return "the aspiration meter must be from 0 to " + std::to_string(maximum);
    SetWord(sim, &Character::aspirationScore, static_cast<std::int16_t>(value));
    return {};
}

std::string SetAspirationLevel(Character& sim, int value) {
    if (!AspirationMeterEditable(sim)) return "a baby's aspiration level is shown, not changed";
    if (value < 0 || value > kAspirationLevelMaximum) {
        return "the aspiration level must be from 0 to " + std::to_string(kAspirationLevelMaximum);
    }
    SetWord(sim, &Character::aspirationLevel, static_cast<std::int16_t>(value));
    return {};
}

int ShownRewardPoints(const Character& sim) { return sim.aspirationRewardPoints * 10; }

std::u32string RewardPointsOnLeave(std::u32string_view typed) {
    if (typed.empty()) return U"0";
    std::u32string text(typed);
    text.back() = U'0';
    return FilterDigits(text);
}

std::string SetRewardPoints(Character& sim, std::u32string_view typed) {
    const std::u32string shown = RewardPointsOnLeave(typed);
    // Count the digits that matter before reading, so that a long run of digits cannot wrap.
    const auto first = std::find_if(shown.begin(), shown.end(), [](char32_t c) { return c != U'0'; });
    if (shown.end() - first > 6 || DigitNumber(shown) > kRewardPointsMaximum) {
        return "reward points must be from 0 to " + std::to_string(kRewardPointsMaximum);
    }
    SetWord(sim, &Character::aspirationRewardPoints, static_cast<std::int16_t>(DigitNumber(shown) / 10));
    return {};
}

bool LongTermAspirationShown(const GameEnvironment& env) { return env.hasFreeTime; }

std::string LongTermRefusal(const Character& sim, const GameEnvironment& env) {
    if (!LongTermAspirationShown(env)) return "the long-term aspiration comes with FreeTime, which is not installed";
    if (!FieldStored(sim, "ltaLevel")) return "the sim's description is of a format that keeps no long-term aspiration";
    return {};
}

std::string SetLtaLevel(Character& sim, const GameEnvironment& env, int value) {
    if (std::string refusal = LongTermRefusal(sim, env); !refusal.empty()) return refusal;
    if (value < 0 || value > kLtaLevelMaximum) {
        return "the long-term aspiration level must be from 0 to " + std::to_string(kLtaLevelMaximum);
    }
    SetWord(sim, &Character::ltaLevel, static_cast<std::int16_t>(value));
    return {};
}

int LtaUnlockChoices(const Character& sim) {
    if (sim.ltaUnlocksUsed > kLtaUnlocks || sim.ltaUnlocksUsed < 0) return 0;
    return kLtaUnlocks - sim.ltaUnlocksUsed + 1;
}

int ShownLtaUnlocks(const Character& sim) {
    const int shown = sim.ltaUnlocksEarned - sim.ltaUnlocksUsed;
    return shown >= 0 && shown < LtaUnlockChoices(sim) ? shown : -1;
}

std::string SetLtaUnlocks(Character& sim, const GameEnvironment& env, int position) {
    if (std::string refusal = LongTermRefusal(sim, env); !refusal.empty()) return refusal;
    const int choices = LtaUnlockChoices(sim);
    if (choices == 0) return "the sim has used more unlocks than there are; none can be given";
    if (position < 0 || position >= choices) {
        return "the unlocks still to use must be from 0 to " + std::to_string(choices - 1);
    }
    SetWord(sim, &Character::ltaUnlocksEarned, static_cast<std::int16_t>(position + sim.ltaUnlocksUsed));
    return {};
}

std::optional<int> WeeklyBenefit(std::span<const NeighborhoodItem> items, const Character& sim) {
    std::optional<int> level;
    for (const NeighborhoodItem& item : items) {
        if (Owns(item, sim) && item.itemGuid == kWeeklyBenefitGuid) level = item.values.empty() ? 0 : item.values[0];
    }
    return level;
}

std::string SetWeeklyBenefit(Workspace& workspace, Character& sim, int level) {
    if (level < 0 || level > kWeeklyBenefitMaximum) {
        return "the weekly benefit must be from 0 to " + std::to_string(kWeeklyBenefitMaximum);
    }
    if (const std::string refusal = ItemsRefusal(workspace); !refusal.empty()) return refusal;
    bool found = false;
    for (NeighborhoodItem& item : workspace.simItemList) {
        if (!Owns(item, sim) || item.itemGuid != kWeeklyBenefitGuid) continue;
        found = true;
        if (item.values.empty()) item.values.push_back(0);
        if (item.values[0] != level) {
            item.values[0] = static_cast<std::uint16_t>(level);
            sim.dirty = 1;
        }
    }
    if (!found && level != 0) AddSimItem(workspace, sim, kWeeklyBenefitGuid, 1, {static_cast<std::uint16_t>(level)});
    return {};
}

bool InfluenceEnabled(const Character& sim, const GameEnvironment& env) {
    return (env.hasUniversity && sim.youngAdult == 1) || env.hasNightlife || env.hasSeasons || env.hasBonVoyage ||
           env.hasFreeTime || env.hasApartmentLife;
}

std::string InfluenceRefusal(const Character& sim, const GameEnvironment& env) {
    if (!InfluenceEnabled(sim, env)) {
        return "influence comes with Nightlife or a later expansion (with University, for young adults only)";
    }
    if (!FieldStored(sim, "influenceLevel")) return "the sim's description is of a format that keeps no influence";
    return {};
}

std::string SetInfluenceLevel(Character& sim, const GameEnvironment& env, int value) {
    if (std::string refusal = InfluenceRefusal(sim, env); !refusal.empty()) return refusal;
    if (value < 0 || value > kInfluenceLevelMaximum) {
        return "the influence level must be from 0 to " + std::to_string(kInfluenceLevelMaximum);
    }
    SetWord(sim, &Character::influenceLevel, static_cast<std::int16_t>(value));
    return {};
}

}  // namespace qh
