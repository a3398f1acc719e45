#include "workspace/hobby_items.h"

#include <gtest/gtest.h>

#include <set>

namespace qh {
namespace {

// A sim with no items in a neighborhood whose first sim item gives new items their owner word.
struct Hood {
    Workspace ws;
    Character sim;
    Hood() {
        sim.instanceId = 0x21;
        NeighborhoodItem other;
        other.owner = 0x30;
        other.ownerWord = 0x0301;
        other.itemGuid = 0x11111111;
        ws.simItemList.push_back(other);
    }
};

TEST(HobbyItems, MembershipsAreOneItemInIdOrder) {
    Hood h;
    ASSERT_EQ(SetHobbyLotMemberships(h.ws, h.sim, {211}), "");
    ASSERT_EQ(h.ws.simItemList.size(), 2u);
    const NeighborhoodItem& item = h.ws.simItemList[1];
    EXPECT_EQ(item.itemGuid, 0x53F9DF4Eu);
    EXPECT_EQ(item.owner, 0x21u);
    EXPECT_EQ(item.secondary, 1);
    EXPECT_EQ(item.ownerWord, 0x0301u);
    EXPECT_EQ(item.values, std::vector<std::uint16_t>{211});
    EXPECT_EQ(h.sim.dirty, 1);
    ASSERT_EQ(SetHobbyLotMemberships(h.ws, h.sim, {213, 204, 211, 204}), "");
    EXPECT_EQ(h.ws.simItemList[1].values, (std::vector<std::uint16_t>{204, 211, 213}));
    ASSERT_EQ(SetHobbyLotMemberships(h.ws, h.sim, {}), "");
    ASSERT_EQ(h.ws.simItemList.size(), 2u) << "an emptied membership item stays";
    EXPECT_TRUE(h.ws.simItemList[1].values.empty());
    EXPECT_NE(SetHobbyLotMemberships(h.ws, h.sim, {203}), "");
    // Values that are no lot are not shown as memberships.
    h.ws.simItemList[1].values = {999, 207};
    EXPECT_EQ(HobbyLotMemberships(h.ws, h.sim), std::vector<int>{207});
}

TEST(HobbyItems, TalentEnthusiasmAndBadges) {
    Hood h;
    h.sim.talent = 150;
    EXPECT_EQ(ShownTalent(h.sim), 0) << "a value that is no hobby shows as -";
    EXPECT_EQ(SetTalent(h.sim, 0), "");
    EXPECT_NE(SetTalent(h.sim, 214), "");
    std::array<int, 10> values{};
    values[3] = 1001;
    EXPECT_NE(StoreHobbies(h.sim, values), "");
    values[3] = 1000;
    EXPECT_EQ(StoreHobbies(h.sim, values), "");
    EXPECT_EQ(h.sim.hobbySports, 1000);

    const BadgeRow& fishing = BadgeRows()[7];
    ASSERT_STREQ(fishing.name, "Fishing");
    EXPECT_EQ(SetBadgeLevel(h.ws, h.sim, fishing, 0), "");
    EXPECT_EQ(h.ws.simItemList.size(), 1u) << "level 0 adds no item";
    EXPECT_EQ(SetBadgeLevel(h.ws, h.sim, fishing, 500), "");
    ASSERT_EQ(h.ws.simItemList.size(), 2u);
    EXPECT_EQ(h.ws.simItemList[1].values, (std::vector<std::uint16_t>{500, 0}));
    EXPECT_EQ(h.ws.simItemList[1].secondary, 0);
    EXPECT_EQ(BadgeLevel(h.ws, h.sim, fishing.itemGuid), 500);
    EXPECT_NE(SetBadgeLevel(h.ws, h.sim, fishing, 1001), "");
    for (const auto& [level, grade] : std::vector<std::pair<int, int>>{{0, 0}, {332, 0}, {333, 1}, {665, 1}, {666, 2},
                                                                       {998, 2}, {999, 3}, {1000, 3}}) {
        EXPECT_EQ(BadgeGrade(level), grade) << level;
    }
    EXPECT_EQ(NextBadgeLevel(0), 333);
    EXPECT_EQ(NextBadgeLevel(333), 666);
    EXPECT_EQ(NextBadgeLevel(700), 1000);
    EXPECT_EQ(NextBadgeLevel(999), 0);
    std::set<int> drawn;
    for (int level : RandomBadgeLevels(400, 7)) drawn.insert(level);
    EXPECT_EQ(drawn, (std::set<int>{0, 333, 666, 1000})) << "every grade, and nothing between";
}

}  // namespace
}  // namespace qh
