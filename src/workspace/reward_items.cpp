#include "workspace/reward_items.h"

#include <algorithm>
#include <cctype>

#include "package/guid.h"
#include "workspace/sim_items.h"

namespace qh {

std::span<const RewardRow> RewardRows() {
    using enum RewardGroup;
    static constexpr RewardRow kRows[] = {
        {Original, "Prints Charming Fingerprint Scanner", "Law Enforcement Career Reward", 0xD1CD15C8, 0},
        {Original, "AquaGreen Hydroponic Garden", "Slacker Career Reward", 0xCC58DF85, 0},
        {Original, "Exerto Selfflog Obstacle Course", "Military Career Reward", 0x6C2979FB, 0},
        {Original, "SensoTwitch Lie Finder", "Criminal Career Reward", 0xCC16D816, 0},
        {Original, "Exerto Punching Bag", "Athletic Career Reward", 0x4C2148B0, 0},
        {Original, "Execuputter", "Business Career Reward", 0xCC20426A, 0},
        {Original, "TraumaTime \"Incision Precision\" Surgical Training Station", "Medical Career Reward", 0x6C6CE31F, 0},
        {Original, "Enterprise Office Concepts Bushmaster Tele-Prompter", "Politics Career Reward", 0xAC314A3A, 0},
        {Original, "Schokolade 890 Chocolate Manufacturing Facility", "Culinary Career Reward", 0x8C4D2997, 0},
        {Original, "SimSanto Inc. Biotech Station", "Science Career Reward", 0x0C6E194A, 0},
        {University, "The Resurrect-O-Nomitron", "Paranormal Career Reward", 0xAE8D50B2, 0},
        {University, "Dr Vu's Automated Cosmetic Surgeon", "Show Business Career Reward", 0x4E9FBE5D, 0},
        {University, "Laganaphyllis Simnovorii", "Natural Scientist Career Reward", 0xCEA505BB, 0},
        {University, "Luminous Pro Antique Camera", "Artist Career Reward", 0xAEB9F591, 0},
        {Seasons, "Golden Skull of Jumbok IV", "Adventurer Career Reward", 0xD24D09FD, 0},
        {Seasons, "Tribal Flame a la Coconut Pinball", "Gamer Career Reward", 0xF24CFF80, 0},
        {Seasons, "\"I Object\" Litigator Podium", "Law Career Reward", 0x124E3138, 0},
        {Seasons, "The Gootentaugen Award for Excellence in Journalism", "Journalism Career Reward", 0xD24CE39C, 0},
        {Seasons, "The Rock Hammer", "Music Career Reward", 0x324D0D87, 0},
        {Seasons, "Books First for Learning: A Bookshelf of Education", "Education Career Reward", 0x524E1066, 0},
        {FreeTime, "SIM series Drafting Table", "Architecture Career Reward", 0xB3FD5372, 0},
        {FreeTime, "\"Starstruck\" Personal Fame Stars", "Entertainer Career Reward", 0x33E2E4E8, 0},
        {FreeTime, "Carefree Koi Pond", "Oceanographer Career Reward", 0x53EDA12F, 0},
        {FreeTime, "Audio Augmenter Earpiece", "Intelligence Career Reward", 0xB3FEC1B6, 0},
        {FreeTime, "Better Barre", "Dancer Career Reward", 0x33EC6E0A, 0},
        {Personal, "Cell Phone", nullptr, 0xCE8408E6, 1},
        {Personal, "MP3 Player", nullptr, 0x8E8D529F, 1},
        {Personal, "Handheld Game", nullptr, 0x6EA7AE86, 1},
        {Personal, "ReNuYu Porta-Chug", nullptr, 0xAFA8949C, 1},
        {Personal, "Secret Society", nullptr, kSecretSocietyGuid, 0},
    };
    return kRows;
}

std::string_view RewardGroupCaption(RewardGroup group) {
    switch (group) {
        case RewardGroup::Original: return "Original Career Rewards";
        case RewardGroup::University: return "University Career Rewards";
        case RewardGroup::Seasons: return "Seasons Career Rewards";
        case RewardGroup::FreeTime: return "Freetime Career Rewards";
        case RewardGroup::Personal: return "Miscellaneous Items";
    }
    return {};
}

namespace {

constexpr std::int16_t kChild = 3, kTeen = 16;

bool Owns(const NeighborhoodItem& item, const Character& sim, const RewardRow& reward) {
    return item.owner == sim.instanceId && item.itemGuid == reward.itemGuid;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

bool RewardGroupShown(const Character& sim, const GameEnvironment& env, RewardGroup group) {
    if (sim.species != 0 || sim.lifeStage <= kChild) return false;
    switch (group) {
        case RewardGroup::Original:
        case RewardGroup::Personal: return true;
        case RewardGroup::University: return env.hasUniversity;
        case RewardGroup::Seasons: return env.hasSeasons;
        case RewardGroup::FreeTime: return env.hasFreeTime;
    }
    return false;
}

bool RewardShown(const Character& sim, const GameEnvironment& env, const RewardRow& reward) {
    if (!RewardGroupShown(sim, env, reward.group)) return false;
    return reward.itemGuid != kSecretSocietyGuid || sim.lifeStage > kTeen;
}

std::string RewardRefusal(const Workspace& workspace, const Character& sim, const GameEnvironment& env,
                          const RewardRow& reward) {
    if (sim.species != 0) return "a pet has no rewards or personal items";
    if (sim.lifeStage <= kChild) return "rewards and personal items are for teens and older";
    if (!RewardGroupShown(sim, env, reward.group)) {
        return std::string(RewardGroupCaption(reward.group)) + " come with an expansion that is not installed";
    }
    if (!RewardShown(sim, env, reward)) return "the Secret Society is for young adults and older";
    return ItemsRefusal(workspace);
}

bool HasReward(std::span<const NeighborhoodItem> items, const Character& sim, const RewardRow& reward) {
    return std::any_of(items.begin(), items.end(), [&](const NeighborhoodItem& item) { return Owns(item, sim, reward); });
}

std::string SetReward(Workspace& workspace, Character& sim, const GameEnvironment& env, const RewardRow& reward,
                      bool owned) {
    if (std::string refusal = RewardRefusal(workspace, sim, env, reward); !refusal.empty()) return refusal;
    if (owned) {
        if (reward.group == RewardGroup::Personal) {
            AddSimItem(workspace, sim, reward.itemGuid, 1, {}, reward.flags1);
        } else {
            AddSimItem(workspace, sim, reward.itemGuid, 0, {1, 7});
        }
    } else {
        RemoveSimItems(workspace, sim, reward.itemGuid);
    }
    return {};
}

std::string SetRewardGroup(Workspace& workspace, Character& sim, const GameEnvironment& env, RewardGroup group,
                           bool owned) {
    if (!RewardGroupShown(sim, env, group)) {
        return sim.species != 0 || sim.lifeStage <= kChild
                   ? "rewards are for sims from teen on, not pets"
                   : std::string(RewardGroupCaption(group)) + " come with an expansion that is not installed";
    }
    for (const RewardRow& reward : RewardRows()) {
        if (reward.group != group || !RewardShown(sim, env, reward)) continue;
        if (HasReward(workspace.simItemList, sim, reward) == owned) continue;
        if (std::string refusal = SetReward(workspace, sim, env, reward, owned); !refusal.empty()) return refusal;
    }
    return {};
}

const RewardRow* FindReward(std::string_view name) {
    const auto guid = ParseHexNumber(name);
    for (const RewardRow& reward : RewardRows()) {
        if (EqualIgnoringCase(name, reward.caption) || (guid && *guid == reward.itemGuid)) return &reward;
    }
    return nullptr;
}

}  // namespace qh
