#include "workspace/merge_edits.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

NeighborhoodItem Item(std::uint32_t owner, std::uint32_t guid, std::vector<std::uint16_t> values,
                      std::uint8_t secondary = 1) {
    NeighborhoodItem item;
    item.owner = owner;
    item.itemGuid = guid;
    item.secondary = secondary;
    item.values = std::move(values);
    return item;
}

// Three states of a sim's items: at the load (`saved`), after the player's edits (`mine`) and as
// the game saved them meanwhile (`now`). Each item the player did not touch is the game's.
TEST(MergeEdits, ItemsTakeThePlayersEditsAndKeepTheGames) {
    const std::vector<NeighborhoodItem> saved = {
        Item(1, 0xA, {1, 2, 3}),  // the player changes its second value, the game its third
        Item(1, 0xA, {7}),        // the same GUID a second time: the player removes it
        Item(1, 0xB, {5}),        // the game removes it; the player left it
        Item(1, 0xC, {6}),        // the game removes it; the player changed it
        Item(2, 0xA, {8}, 0),     // another sim's, first list; the game changes it
    };
    std::vector<NeighborhoodItem> mine = saved;
    mine[0].values[1] = 20;
    mine.erase(mine.begin() + 1);
    mine[2].values[0] = 60;  // 0xC, now third
    mine.push_back(Item(1, 0xD, {9}));  // the player's new item

    std::vector<NeighborhoodItem> now = {saved[0], saved[1], saved[4]};
    now[0].values[2] = 30;
    now[2].values[0] = 80;
    now.push_back(Item(2, 0xE, {4}));  // the game's new item

    const std::vector<NeighborhoodItem> merged = ApplyItemEdits(now, saved, mine);
    const std::vector<NeighborhoodItem> expected = {
        Item(1, 0xA, {1, 20, 30}), Item(2, 0xA, {80}, 0), Item(2, 0xE, {4}), Item(1, 0xC, {60}), Item(1, 0xD, {9}),
    };
    EXPECT_EQ(merged, expected);
    // Nothing changed anywhere: the file's own.
    EXPECT_EQ(ApplyItemEdits(now, saved, saved), now);
}

TEST(MergeEdits, HouseholdsAndSimsTakeOnlyTheFieldsThePlayerChanged) {
    Household saved;
    saved.instanceId = 3;
    saved.funds = 100;
    saved.members = {Guid4{1, 0, 0, 0}, Guid4{2, 0, 0, 0}};
    saved.householdName = "Harts";
    saved.householdDescription = "old";
    Household mine = saved;
    mine.funds = 500;
    mine.members.push_back(Guid4{3, 0, 0, 0});
    mine.householdDirty = 1;
    Household now = saved;
    now.householdName = "Game's Harts";
    now.members.erase(now.members.begin());  // the game moved a sim out
    now.familyFriends = 9;
    const Household merged = ApplyHouseholdEdits(now, saved, mine);
    EXPECT_EQ(merged.funds, 500);
    EXPECT_EQ(merged.householdName, "Game's Harts");
    EXPECT_EQ(merged.familyFriends, 9u);
    EXPECT_EQ(merged.members, (std::vector<Guid4>{Guid4{2, 0, 0, 0}, Guid4{3, 0, 0, 0}}));
    EXPECT_EQ(merged.householdDirty, 1);

    Character before;
    before.packageFile = "N001_User00001.package";
    before.cookingSkill = 100;
    before.nice = 300;
    before.firstName = "Marta";
    Character edited = before;
    edited.cookingSkill = 900;
    edited.dirty = 1;
    Character game = before;
    game.nice = 700;
    game.cookingSkill = 150;  // both changed it: the player's wins
    const Character out = ApplyCharacterEdits(game, before, edited);
    EXPECT_EQ(out.cookingSkill, 900);
    EXPECT_EQ(out.nice, 700);
    EXPECT_EQ(out.dirty, 1);
    EXPECT_EQ(out.firstName, "Marta");
}

}  // namespace
}  // namespace qh
