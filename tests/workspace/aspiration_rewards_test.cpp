#include <gtest/gtest.h>

#include "workspace/aspiration_items.h"
#include "workspace/change_words.h"
#include "workspace/reward_items.h"

namespace qh {
namespace {

// The game's GUIDs and values, written out here rather than taken from the tables under test.
constexpr std::uint32_t kRomance = 0x6C92F4F3, kFamily = 0x4C92F505, kFortune = 0x4C92F480, kPopularity = 0x8C92F4BC,
                        kKnowledge = 0x6C92F4CF, kOldMarker = 0xAC8F36D1, kSecondary = 0x53D08989,
                        kBenefit = 0x541902EA;

NeighborhoodItem Item(std::uint32_t owner, std::uint32_t guid, std::vector<std::uint16_t> values, std::uint8_t secondary = 1) {
    NeighborhoodItem item;
    item.owner = owner;
    item.ownerWord = 0x0301;
    item.secondary = secondary;
    item.itemGuid = guid;
    item.values = std::move(values);
    return item;
}

// An adult of the newest description format, in a neighborhood whose data was read and whose
// first sim item (another sim's) gives new items their owner word.
struct Hood {
    Workspace ws;
    Character sim;
    GameEnvironment env;
    Hood() {
        sim.instanceId = 0x21;
        sim.lifeStage = 19;
        sim.sdscVersion = 0x36;
        ws.neighborhoodData.emplace();
        ws.simItemList.push_back(Item(0x30, 0x11111111, {}));
        env.hasFreeTime = true;
    }
    std::vector<std::uint32_t> Guids() const {
        std::vector<std::uint32_t> guids;
        for (const NeighborhoodItem& item : ws.simItemList) {
            if (item.owner == sim.instanceId) guids.push_back(item.itemGuid);
        }
        return guids;
    }
};

TEST(Aspiration, ChoosingRewritesMarkersItemAndBits) {
    Hood h;
    h.ws.simItemList.push_back(Item(0x21, kFortune, {0}));
    h.ws.simItemList.push_back(Item(0x21, kOldMarker, {}));
    h.ws.simItemList.push_back(Item(0x21, kSecondary, {32}));
    h.ws.simItemList.push_back(Item(0x21, 0x505FDC28, {400, 0}));  // a badge: stays
    h.ws.simItemList.push_back(Item(0x22, kFortune, {0}));          // another sim's marker: stays
    h.sim.aspirationFlags = 0x0004 | 0x0020 | 0x0008;

    // Knowledge (5) with Romance (1) as secondary.
    ASSERT_EQ(SetAspirations(h.ws, h.sim, h.env, 5, 1), "");
    EXPECT_EQ(h.Guids(), (std::vector<std::uint32_t>{0x505FDC28, kKnowledge, kSecondary}));
    const NeighborhoodItem& marker = h.ws.simItemList[h.ws.simItemList.size() - 2];
    EXPECT_EQ(marker.secondary, 1);
    EXPECT_EQ(marker.ownerWord, 0x0301u);
    EXPECT_EQ(marker.values, (std::vector<std::uint16_t>{0}));
    EXPECT_EQ(h.ws.simItemList.back().values, (std::vector<std::uint16_t>{1}));
    EXPECT_EQ(h.sim.aspirationFlags, 0x0021);
    EXPECT_EQ(h.sim.dirty, 1);
    EXPECT_EQ(h.ws.simItemList[2].owner, 0x22u);

    // Grow Up has no marker: the markers go, none is added, only bit 6 is set.
    ASSERT_EQ(SetAspirations(h.ws, h.sim, h.env, 6, 0), "");
    EXPECT_EQ(h.Guids(), (std::vector<std::uint32_t>{0x505FDC28}));
    EXPECT_EQ(h.sim.aspirationFlags, 0x0040);

    // The same aspiration twice: the secondary goes back to none, one marker only.
    ASSERT_EQ(SetAspirations(h.ws, h.sim, h.env, 2, 2), "");
    EXPECT_EQ(h.Guids(), (std::vector<std::uint32_t>{0x505FDC28, kFamily}));
    EXPECT_EQ(h.sim.aspirationFlags, 0x0002);
    EXPECT_EQ(ShownAspirations(h.ws.simItemList, h.sim, h.env), (ShownAspiration{2, 0}));

    // Choosing what is shown again moves nothing.
    h.ws.simItemList.push_back(Item(0x21, 0x12297157, {333, 0}, 0));
    ASSERT_EQ(SetAspirations(h.ws, h.sim, h.env, 2, 0), "");
    EXPECT_EQ(h.Guids(), (std::vector<std::uint32_t>{0x505FDC28, kFamily, 0x12297157}));
}

TEST(Aspiration, WhatTheListsOffer) {
    Hood h;
    h.env = {};
    // Without Nightlife or FreeTime: no Pleasure or Grilled Cheese, and no secondary at all.
    EXPECT_EQ(PrimaryAspirationCount(h.env), 7);
    EXPECT_NE(SetAspirations(h.ws, h.sim, h.env, 7, 0), "");
    EXPECT_NE(SetAspirations(h.ws, h.sim, h.env, 1, 3), "");
    EXPECT_EQ(h.Guids(), std::vector<std::uint32_t>{});
    h.env.hasNightlife = true;
    EXPECT_EQ(SetAspirations(h.ws, h.sim, h.env, 8, 0), "");
    EXPECT_EQ(h.sim.aspirationFlags, 0x0100);
    // A neighborhood whose data could not be read keeps no markers: refused, nothing changed.
    h.ws.neighborhoodData.reset();
    EXPECT_NE(SetAspirations(h.ws, h.sim, h.env, 1, 0), "");
    EXPECT_EQ(h.sim.aspirationFlags, 0x0100);
}

TEST(Aspiration, ShownFromItemsThenFromTheBitSet) {
    Hood h;
    // Bits 0 and 5 alone: Romance first, Knowledge second.
    h.sim.aspirationFlags = 0x0021;
    EXPECT_EQ(ShownAspirations(h.ws.simItemList, h.sim, h.env), (ShownAspiration{1, 5}));
    // Without FreeTime there is no second list.
    EXPECT_EQ(ShownAspirations(h.ws.simItemList, h.sim, GameEnvironment{}), (ShownAspiration{1, 0}));
    // A Popularity marker wins the primary; the bits fill the secondary, never with the primary.
    h.ws.simItemList.push_back(Item(0x21, kPopularity, {0}));
    h.sim.aspirationFlags = 0x0010 | 0x0001;
    EXPECT_EQ(ShownAspirations(h.ws.simItemList, h.sim, h.env), (ShownAspiration{4, 1}));
    // A secondary item holds the secondary; its aspiration's bit is not taken as the primary.
    h.ws.simItemList.clear();
    h.ws.simItemList.push_back(Item(0x21, kSecondary, {1}));
    h.sim.aspirationFlags = 0x0001 | 0x0004;
    EXPECT_EQ(ShownAspirations(h.ws.simItemList, h.sim, h.env), (ShownAspiration{3, 1}));
    // Another sim's items say nothing of this one.
    h.ws.simItemList = {Item(0x22, kRomance, {0})};
    h.sim.aspirationFlags = 0;
    EXPECT_EQ(ShownAspirations(h.ws.simItemList, h.sim, h.env), (ShownAspiration{0, 0}));
}

TEST(Aspiration, MeterLevelAndRewardPoints) {
    Hood h;
    h.env = {};
    h.sim.lifeStage = 2;  // a toddler without FreeTime
    EXPECT_EQ(AspirationMeterMaximum(h.sim, h.env), 3000);
    EXPECT_EQ(SetAspirationScore(h.sim, h.env, 3000), "");
    EXPECT_NE(SetAspirationScore(h.sim, h.env, 3001), "");
    EXPECT_EQ(h.sim.aspirationScore, 3000);
    h.env.hasFreeTime = true;
    EXPECT_EQ(AspirationMeterMaximum(h.sim, h.env), 100);
    h.sim.lifeStage = 1;  // a baby's are shown only
    EXPECT_NE(SetAspirationScore(h.sim, h.env, 5), "");
    EXPECT_NE(SetAspirationLevel(h.sim, 5), "");
    EXPECT_EQ(h.sim.aspirationScore, 3000);
    h.sim.lifeStage = 51;
    EXPECT_EQ(SetAspirationLevel(h.sim, 1200), "");
    EXPECT_NE(SetAspirationLevel(h.sim, 1201), "");
    EXPECT_EQ(h.sim.aspirationLevel, 1200);

    EXPECT_EQ(RewardPointsOnLeave(U"1234"), U"1230");
    EXPECT_EQ(RewardPointsOnLeave(U""), U"0");
    EXPECT_EQ(RewardPointsOnLeave(U"1a5"), U"100");
    ASSERT_EQ(SetRewardPoints(h.sim, U"1234"), "");
    EXPECT_EQ(h.sim.aspirationRewardPoints, 123);
    EXPECT_EQ(ShownRewardPoints(h.sim), 1230);
    EXPECT_EQ(SetRewardPoints(h.sim, U"327679"), "");
    EXPECT_EQ(h.sim.aspirationRewardPoints, 32767);
    // What 16 bits cannot keep is refused, however many digits it has.
    EXPECT_NE(SetRewardPoints(h.sim, U"327680"), "");
    EXPECT_NE(SetRewardPoints(h.sim, U"99999999999999999999999"), "");
    EXPECT_EQ(h.sim.aspirationRewardPoints, 32767);
    EXPECT_EQ(SetRewardPoints(h.sim, U"0000000000000000000000050"), "");
    EXPECT_EQ(h.sim.aspirationRewardPoints, 5);
}

TEST(Aspiration, LongTermUnlocksBenefitAndInfluence) {
    Hood h;
    h.sim.ltaUnlocksUsed = 3;
    h.sim.ltaUnlocksEarned = 5;
    EXPECT_EQ(LtaUnlockChoices(h.sim), 14);
    EXPECT_EQ(ShownLtaUnlocks(h.sim), 2);
    ASSERT_EQ(SetLtaUnlocks(h.sim, h.env, 13), "");
    EXPECT_EQ(h.sim.ltaUnlocksEarned, 16);
    EXPECT_NE(SetLtaUnlocks(h.sim, h.env, 14), "");
    h.sim.ltaUnlocksUsed = 17;
    EXPECT_EQ(LtaUnlockChoices(h.sim), 0);
    EXPECT_EQ(ShownLtaUnlocks(h.sim), -1);
    EXPECT_NE(SetLtaUnlocks(h.sim, h.env, 0), "");
    EXPECT_EQ(SetLtaLevel(h.sim, h.env, 30000), "");
    EXPECT_NE(SetLtaLevel(h.sim, h.env, 30001), "");
    EXPECT_NE(SetLtaLevel(h.sim, GameEnvironment{}, 5), "");  // FreeTime's
    Character older = h.sim;
    older.sdscVersion = 0x2F;  // a format before FreeTime's keeps no long-term aspiration
    EXPECT_NE(SetLtaLevel(older, h.env, 5), "");

    // No benefit item: nothing shown; the rule appends one for a level other than 0.
    EXPECT_FALSE(WeeklyBenefit(h.ws.simItemList, h.sim));
    ASSERT_EQ(SetWeeklyBenefit(h.ws, h.sim, 0), "");
    EXPECT_EQ(h.Guids(), std::vector<std::uint32_t>{});
    ASSERT_EQ(SetWeeklyBenefit(h.ws, h.sim, 3), "");
    EXPECT_EQ(h.ws.simItemList.back().values, (std::vector<std::uint16_t>{3}));
    EXPECT_EQ(h.ws.simItemList.back().itemGuid, kBenefit);
    // Every benefit item of the sim takes the level; the last one's is shown.
    h.ws.simItemList.push_back(Item(0x21, kBenefit, {}));
    ASSERT_EQ(SetWeeklyBenefit(h.ws, h.sim, 7), "");
    EXPECT_EQ(h.ws.simItemList[1].values, (std::vector<std::uint16_t>{7}));
    EXPECT_EQ(h.ws.simItemList[2].values, (std::vector<std::uint16_t>{7}));
    EXPECT_EQ(WeeklyBenefit(h.ws.simItemList, h.sim), 7);
    EXPECT_NE(SetWeeklyBenefit(h.ws, h.sim, 8), "");

    GameEnvironment university;
    university.hasUniversity = true;
    EXPECT_FALSE(InfluenceEnabled(h.sim, university));
    h.sim.youngAdult = 1;
    EXPECT_TRUE(InfluenceEnabled(h.sim, university));
    EXPECT_EQ(SetInfluenceLevel(h.sim, university, 5), "");
    EXPECT_NE(SetInfluenceLevel(h.sim, university, 6), "");
    GameEnvironment pets;
    pets.hasPets = true;
    EXPECT_NE(SetInfluenceLevel(h.sim, pets, 1), "");
    EXPECT_EQ(h.sim.influenceLevel, 5);
}

TEST(Rewards, VisibilityGrantingAndTakingAway) {
    Hood h;
    h.env.hasSeasons = true;
    const RewardRow* phone = FindReward("Cell Phone");
    const RewardRow* society = FindReward("0x8EAE367E");
    const RewardRow* putter = FindReward("execuputter");
    ASSERT_TRUE(phone && society && putter);

    h.sim.lifeStage = 3;  // a child: nothing
    EXPECT_FALSE(RewardGroupShown(h.sim, h.env, RewardGroup::Original));
    EXPECT_NE(SetReward(h.ws, h.sim, h.env, *phone, true), "");
    h.sim.lifeStage = 16;  // a teen: rewards and items, not the Secret Society
    EXPECT_TRUE(RewardShown(h.sim, h.env, *phone));
    EXPECT_FALSE(RewardShown(h.sim, h.env, *society));
    EXPECT_NE(SetReward(h.ws, h.sim, h.env, *society, true), "");
    EXPECT_FALSE(RewardGroupShown(h.sim, h.env, RewardGroup::University));
    EXPECT_TRUE(RewardGroupShown(h.sim, h.env, RewardGroup::Seasons));
    h.sim.lifeStage = 19;
    h.sim.species = 3;  // a cat
    EXPECT_NE(SetReward(h.ws, h.sim, h.env, *phone, true), "");
    h.sim.species = 0;

    ASSERT_EQ(SetReward(h.ws, h.sim, h.env, *phone, true), "");
    ASSERT_EQ(SetReward(h.ws, h.sim, h.env, *society, true), "");
    ASSERT_EQ(SetReward(h.ws, h.sim, h.env, *putter, true), "");
    ASSERT_EQ(h.ws.simItemList.size(), 4u);
    const NeighborhoodItem& cell = h.ws.simItemList[1];
    EXPECT_EQ(cell.itemGuid, 0xCE8408E6u);
    EXPECT_EQ(cell.flags1, 1);
    EXPECT_EQ(cell.secondary, 1);
    EXPECT_TRUE(cell.values.empty());
    EXPECT_EQ(h.ws.simItemList[2].flags1, 0);
    const NeighborhoodItem& reward = h.ws.simItemList[3];
    EXPECT_EQ(reward.itemGuid, 0xCC20426Au);
    EXPECT_EQ(reward.secondary, 0);
    EXPECT_EQ(reward.values, (std::vector<std::uint16_t>{1, 7}));
    EXPECT_EQ(reward.ownerWord, 0x0301u);

    // Taking away removes every one the sim has, duplicates too, and no one else's.
    h.ws.simItemList.push_back(Item(0x21, 0xCC20426A, {1, 7}, 0));
    h.ws.simItemList.push_back(Item(0x22, 0xCC20426A, {1, 7}, 0));
    ASSERT_EQ(SetReward(h.ws, h.sim, h.env, *putter, false), "");
    EXPECT_FALSE(HasReward(h.ws.simItemList, h.sim, *putter));
    EXPECT_EQ(h.ws.simItemList.size(), 4u);
}

TEST(Rewards, SetAllOfAGroupAddsOnlyWhatIsMissing) {
    Hood h;
    h.env.hasSeasons = true;
    ASSERT_EQ(SetRewardGroup(h.ws, h.sim, h.env, RewardGroup::Seasons, true), "");
    const std::vector<std::uint32_t> seasons = {0xD24D09FD, 0xF24CFF80, 0x124E3138, 0xD24CE39C, 0x324D0D87, 0x524E1066};
    EXPECT_EQ(h.Guids(), seasons);
    for (std::size_t i = 1; i < h.ws.simItemList.size(); ++i) {
        EXPECT_EQ(h.ws.simItemList[i].values, (std::vector<std::uint16_t>{1, 7}));
    }
    ASSERT_EQ(SetRewardGroup(h.ws, h.sim, h.env, RewardGroup::Seasons, true), "");
    EXPECT_EQ(h.Guids(), seasons);
    ASSERT_EQ(SetRewardGroup(h.ws, h.sim, h.env, RewardGroup::Seasons, false), "");
    EXPECT_EQ(h.Guids(), std::vector<std::uint32_t>{});
    EXPECT_NE(SetRewardGroup(h.ws, h.sim, h.env, RewardGroup::University, true), "");
}

TEST(ChangeWords, TellsAspirationsBadgesLotsAndRewards) {
    Hood h;
    h.env.hasSeasons = true;
    const Character before = h.sim;
    const std::vector<NeighborhoodItem> was = {Item(0x21, kFortune, {0}), Item(0x21, 0x12297157, {400, 0}, 0),
                                               Item(0x21, 0x53F9DF4E, {211})};
    Character after = h.sim;
    after.talent = 207;
    const std::vector<NeighborhoodItem> is = {Item(0x21, kKnowledge, {0}), Item(0x21, 0x12297157, {1000, 0}, 0),
                                              Item(0x21, 0x53F9DF4E, {204}), Item(0x21, 0xCC20426A, {1, 7}, 0)};
    const auto lines = DescribeSimChanges(before, was, after, is, h.env);
    const std::vector<std::string> expected = {
        "Aspiration: Fortune \u2192 Knowledge", "Natural talent: - \u2192 Sports", "Badge Fishing: Bronze \u2192 Gold",
        "Hobby lots joined: Sue's Secret Kitchen", "Hobby lots left: Platinum Gym", "Execuputter: given"};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(DescribeSimChanges(before, was, before, was, h.env).empty());
}

}  // namespace
}  // namespace qh
