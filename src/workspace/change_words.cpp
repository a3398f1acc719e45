#include "workspace/change_words.h"

#include <algorithm>

#include "workspace/aspiration_items.h"
#include "workspace/hobby_items.h"
#include "workspace/reward_items.h"

namespace qh {

namespace {

const char* const kArrow = " \u2192 ";

std::string LotNames(const std::vector<int>& ids) {
    std::string names;
    for (int id : ids) {
        for (const HobbyRow& row : HobbyRows()) {
            if (row.id != id) continue;
            if (!names.empty()) names += ", ";
            // The panel's captions double "&" for the toolkit; the player reads one.
            std::string lot = row.lot;
            for (std::size_t at = lot.find("&&"); at != std::string::npos; at = lot.find("&&", at + 1)) lot.erase(at, 1);
            names += lot;
        }
    }
    return names;
}

std::vector<int> Without(const std::vector<int>& all, const std::vector<int>& taken) {
    std::vector<int> rest;
    std::set_difference(all.begin(), all.end(), taken.begin(), taken.end(), std::back_inserter(rest));
    return rest;
}

}  // namespace

std::vector<std::string> DescribeSimChanges(const Character& before, std::span<const NeighborhoodItem> itemsBefore,
                                            const Character& after, std::span<const NeighborhoodItem> itemsAfter,
                                            const GameEnvironment& env) {
    std::vector<std::string> lines;
    // First, as what the player notices most: a body that waits for the save, named by the file
    // it comes from.
    if (before.clonePackagePath != after.clonePackagePath) {
        const auto name = [](const std::string& path) {
            const std::size_t slash = path.find_last_of("/\\");
            return slash == std::string::npos ? path : path.substr(slash + 1);
        };
        lines.push_back(after.clonePackagePath.empty()
                            ? "Body: the clone of " + name(before.clonePackagePath) + " no longer taken"
                            : "Body: taken from " + name(after.clonePackagePath) + " when saved");
    }
    const ShownAspiration was = ShownAspirations(itemsBefore, before, env);
    const ShownAspiration is = ShownAspirations(itemsAfter, after, env);
    if (was.primary != is.primary) {
        lines.push_back("Aspiration: " + std::string(AspirationName(was.primary)) + kArrow +
                        std::string(AspirationName(is.primary)));
    }
    if (was.secondary != is.secondary) {
        lines.push_back("Secondary aspiration: " + std::string(AspirationName(was.secondary)) + kArrow +
                        std::string(AspirationName(is.secondary)));
    }
    if (ShownTalent(before) != ShownTalent(after)) {
        auto talent = [](int id) -> std::string {
            for (const HobbyRow& row : HobbyRows()) {
                if (row.id == id) return row.name;
            }
            return "-";
        };
        lines.push_back("Natural talent: " + talent(ShownTalent(before)) + kArrow + talent(ShownTalent(after)));
    }
    const auto benefitWas = WeeklyBenefit(itemsBefore, before);
    const auto benefitIs = WeeklyBenefit(itemsAfter, after);
    if (benefitWas != benefitIs) {
        lines.push_back("Weekly benefit: " + (benefitWas ? std::to_string(*benefitWas) : std::string("none")) + kArrow +
                        (benefitIs ? std::to_string(*benefitIs) : std::string("none")));
    }
    for (const BadgeRow& badge : BadgeRows()) {
        const int a = BadgeLevel(itemsBefore, before, badge.itemGuid);
        const int b = BadgeLevel(itemsAfter, after, badge.itemGuid);
        if (a == b) continue;
        const std::string name = std::string("Badge ") + badge.name + ": ";
        lines.push_back(BadgeGrade(a) != BadgeGrade(b)
                            ? name + BadgeGradeName(BadgeGrade(a)) + kArrow + BadgeGradeName(BadgeGrade(b))
                            : name + std::to_string(a) + kArrow + std::to_string(b));
    }
    const std::vector<int> lotsWas = HobbyLotMemberships(itemsBefore, before);
    const std::vector<int> lotsIs = HobbyLotMemberships(itemsAfter, after);
    if (const auto joined = Without(lotsIs, lotsWas); !joined.empty()) lines.push_back("Hobby lots joined: " + LotNames(joined));
    if (const auto left = Without(lotsWas, lotsIs); !left.empty()) lines.push_back("Hobby lots left: " + LotNames(left));
    for (const RewardRow& reward : RewardRows()) {
        const bool had = HasReward(itemsBefore, before, reward);
        const bool has = HasReward(itemsAfter, after, reward);
        if (had != has) lines.push_back(std::string(reward.caption) + (has ? ": given" : ": taken away"));
    }
    return lines;
}

}  // namespace qh
