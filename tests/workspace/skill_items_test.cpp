// Skills kept as items of the sim: levels, learned-or-not skills and toddler training.
#include <gtest/gtest.h>

#include "workspace/skill_items.h"

namespace qh {
namespace {

// The GUIDs as the game's items carry them.
constexpr std::uint32_t kDanceSkill = 0x0DA265F4;
constexpr std::uint32_t kParenting = 0xB3F2D735;
constexpr std::uint32_t kHotStone = 0x32E9E44C;
constexpr std::uint32_t kBreakDance = 0x54E2ABA5;
constexpr std::uint32_t kToddler = 0x4DDF0E12;

struct Neighborhood {
    Workspace ws;
    Character sim, other;
    Neighborhood() {
        sim.instanceId = 7;
        sim.lifeStage = 19;
        other.instanceId = 8;
        NeighborhoodItem first;  // the list's first item: its word goes to new items
        first.owner = 99;
        first.ownerWord = 0x4411;
        first.itemGuid = 0x1111;
        ws.simItemList.push_back(first);
    }
    const ItemSkill& Skill(std::uint32_t guid) {
        const ItemSkill* skill = FindItemSkill(guid);
        EXPECT_NE(skill, nullptr);
        return *skill;
    }
};

TEST(ItemSkills, ADanceLevelAddsOneItemAndZeroKeepsIt) {
    Neighborhood n;
    EXPECT_FALSE(SetItemSkillLevel(n.ws, n.sim, n.Skill(kDanceSkill), 0));  // nothing to add
    ASSERT_EQ(n.ws.simItemList.size(), 1u);
    EXPECT_TRUE(SetItemSkillLevel(n.ws, n.sim, n.Skill(kDanceSkill), 5));
    ASSERT_EQ(n.ws.simItemList.size(), 2u);
    const NeighborhoodItem& item = n.ws.simItemList[1];
    EXPECT_EQ(item.owner, 7u);
    EXPECT_EQ(item.secondary, 0);
    EXPECT_EQ(item.ownerWord, 0x4411u);
    EXPECT_EQ(item.itemGuid, kDanceSkill);
    EXPECT_EQ(item.values, (std::vector<std::uint16_t>{5, 0}));
    EXPECT_EQ(n.sim.dirty, 1);
    EXPECT_TRUE(SetItemSkillLevel(n.ws, n.sim, n.Skill(kDanceSkill), 0));
    ASSERT_EQ(n.ws.simItemList.size(), 2u);
    EXPECT_EQ(n.ws.simItemList[1].values, (std::vector<std::uint16_t>{0, 0}));
    EXPECT_EQ(ItemSkillLevel(n.ws, n.sim, kDanceSkill), 0);
}

TEST(ItemSkills, ParentingKeepsASingleValueAndLevelsStayInRange) {
    Neighborhood n;
    SetItemSkillLevel(n.ws, n.sim, n.Skill(kParenting), 300);
    EXPECT_EQ(n.ws.simItemList.back().values, (std::vector<std::uint16_t>{300}));
    SetItemSkillLevel(n.ws, n.sim, n.Skill(kDanceSkill), 50);  // the dance skill goes to 10
    EXPECT_EQ(ItemSkillLevel(n.ws, n.sim, kDanceSkill), 10);
}

TEST(ItemSkills, EveryItemOfTheSimTakesTheLevelAndTheLastOneIsShown) {
    Neighborhood n;
    for (const std::uint16_t level : {std::uint16_t{100}, std::uint16_t{200}}) {
        NeighborhoodItem item;
        item.owner = 7;
        item.itemGuid = kBreakDance;
        item.values = {level, 9};
        n.ws.simItemList.push_back(item);
    }
    NeighborhoodItem others = n.ws.simItemList.back();
    others.owner = 8;
    n.ws.simItemList.push_back(others);
    EXPECT_EQ(ItemSkillLevel(n.ws, n.sim, kBreakDance), 200);
    SetItemSkillLevel(n.ws, n.sim, n.Skill(kBreakDance), 640);
    EXPECT_EQ(n.ws.simItemList[1].values, (std::vector<std::uint16_t>{640, 9}));
    EXPECT_EQ(n.ws.simItemList[2].values, (std::vector<std::uint16_t>{640, 9}));
    EXPECT_EQ(n.ws.simItemList[3].values, (std::vector<std::uint16_t>{200, 9}));
}

TEST(ItemSkills, UncheckingHotStoneRemovesThisSimsItemsOnly) {
    Neighborhood n;
    EXPECT_TRUE(SetItemSkillPresent(n.ws, n.sim, n.Skill(kHotStone), true));
    EXPECT_FALSE(SetItemSkillPresent(n.ws, n.sim, n.Skill(kHotStone), true));  // one is enough
    const NeighborhoodItem added = n.ws.simItemList.back();
    EXPECT_EQ(added.secondary, 1);
    EXPECT_TRUE(added.values.empty());
    EXPECT_EQ(added.ownerWord, 0x4411u);
    n.ws.simItemList.push_back(added);  // a second one of this sim, as the game may leave
    NeighborhoodItem others = added;
    others.owner = 8;
    n.ws.simItemList.push_back(others);
    EXPECT_TRUE(SetItemSkillPresent(n.ws, n.sim, n.Skill(kHotStone), false));
    ASSERT_EQ(n.ws.simItemList.size(), 2u);
    EXPECT_EQ(n.ws.simItemList[1].owner, 8u);
    EXPECT_FALSE(SetItemSkillLevel(n.ws, n.sim, n.Skill(kHotStone), 3));  // not a level
}

TEST(ItemSkills, ShownByLifeStageSpeciesAndExpansion) {
    Neighborhood n;
    GameEnvironment env;
    env.hasPets = true;
    const ItemSkill& breakDance = n.Skill(kBreakDance);
    EXPECT_FALSE(ItemSkillShown(breakDance, n.sim, env));
    env.hasApartmentLife = true;
    EXPECT_TRUE(ItemSkillShown(breakDance, n.sim, env));
    EXPECT_TRUE(ItemSkillShown(n.Skill(kDanceSkill), n.sim, env));
    EXPECT_FALSE(ItemSkillShown(n.Skill(kHotStone), n.sim, env));
    n.sim.species = 1;
    EXPECT_FALSE(ItemSkillShown(n.Skill(kDanceSkill), n.sim, env));
    n.sim.species = 0;
    n.sim.lifeStage = 2;
    EXPECT_FALSE(ShowsItemSkills(n.sim, true));
    EXPECT_TRUE(ShowsToddlerTraining(n.sim, true));
}

TEST(ToddlerTraining, NothingIsAddedWhileTheThreeLevelsAreZero) {
    Neighborhood n;
    ToddlerTraining shown;
    shown.walkLearned = true;
    shown.rhyme = 400;
    EXPECT_FALSE(SetToddlerTraining(n.ws, n.sim, shown));
    EXPECT_EQ(n.ws.simItemList.size(), 1u);
    EXPECT_EQ(n.sim.dirty, 0);
    shown.talk = 10;
    EXPECT_TRUE(SetToddlerTraining(n.ws, n.sim, shown));
    ASSERT_EQ(n.ws.simItemList.size(), 2u);
    const NeighborhoodItem& item = n.ws.simItemList[1];
    EXPECT_EQ(item.itemGuid, kToddler);
    EXPECT_EQ(item.secondary, 1);
    EXPECT_EQ(item.ownerWord, 0x4411u);
    EXPECT_EQ(item.values, (std::vector<std::uint16_t>{0, 0, 10, 0, 1, 0, 0, 400}));
    EXPECT_EQ(ShownToddlerTraining(n.ws, n.sim), shown);
}

TEST(ToddlerTraining, TheNurseryRhymeAtOneIsLearnedSoProgressAtOneIsStoredAsTwo) {
    Neighborhood n;
    NeighborhoodItem item;
    item.owner = 7;
    item.itemGuid = kToddler;
    item.values = {5, 100, 200, 300, 0, 0, 0, 0};  // value 0 is left as the game has it
    n.ws.simItemList.push_back(item);
    ToddlerTraining shown = ShownToddlerTraining(n.ws, n.sim);
    EXPECT_EQ(shown.potty, 300);
    shown.rhyme = 1;
    SetToddlerTraining(n.ws, n.sim, shown);
    EXPECT_EQ(n.ws.simItemList[1].values, (std::vector<std::uint16_t>{5, 100, 200, 300, 0, 0, 0, 2}));
    EXPECT_FALSE(ShownToddlerTraining(n.ws, n.sim).rhymeLearned);
    shown.rhymeLearned = true;  // the box checked: learned, whatever the slider stood at
    shown.rhyme = 700;
    SetToddlerTraining(n.ws, n.sim, shown, true);
    EXPECT_EQ(n.ws.simItemList[1].values[7], 1);
    shown = ShownToddlerTraining(n.ws, n.sim);
    EXPECT_TRUE(shown.rhymeLearned);
    EXPECT_EQ(shown.rhyme, 1);
    shown.rhymeLearned = false;  // unchecked: the progress starts again
    SetToddlerTraining(n.ws, n.sim, shown, true);
    EXPECT_EQ(n.ws.simItemList[1].values[7], 0);
}

TEST(ToddlerTraining, AShortItemIsLengthenedAndLearnedBoxesStoreOneOrZero) {
    Neighborhood n;
    NeighborhoodItem item;
    item.owner = 7;
    item.itemGuid = kToddler;
    item.values = {0, 40};
    n.ws.simItemList.push_back(item);
    ToddlerTraining shown = ShownToddlerTraining(n.ws, n.sim);
    EXPECT_EQ(shown.walk, 40);
    EXPECT_EQ(shown.rhyme, 0);
    shown.pottyLearned = true;
    EXPECT_TRUE(SetToddlerTraining(n.ws, n.sim, shown));
    EXPECT_EQ(n.ws.simItemList[1].values, (std::vector<std::uint16_t>{0, 40, 0, 0, 0, 0, 1, 0}));
    EXPECT_FALSE(SetToddlerTraining(n.ws, n.sim, shown));  // the same again changes nothing
}

TEST(ItemSkills, OnePassReadsEverySkillOfTheSimAndNoOtherSims) {
    Neighborhood n;
    SetItemSkillPresent(n.ws, n.sim, n.Skill(kHotStone), true);  // no values: present at 0
    SetItemSkillLevel(n.ws, n.sim, n.Skill(kDanceSkill), 4);
    SetItemSkillLevel(n.ws, n.other, n.Skill(kBreakDance), 900);
    n.other.lifeStage = 2;
    ToddlerTraining training;
    training.walk = 10;
    SetToddlerTraining(n.ws, n.other, training);
    const SimSkills mine = ReadSimSkills(n.ws.simItemList, n.sim);
    EXPECT_TRUE(mine.Has(kHotStone));
    EXPECT_EQ(mine.Level(kDanceSkill), 4);
    EXPECT_FALSE(mine.Has(kBreakDance));
    EXPECT_FALSE(mine.Has(0x1111));  // not a skill: the list's first item, another owner's anyway
    EXPECT_FALSE(mine.training.has_value());
    const SimSkills theirs = ReadSimSkills(n.ws.simItemList, n.other);
    ASSERT_TRUE(theirs.training.has_value());
    EXPECT_EQ(theirs.training->walk, 10);
    EXPECT_EQ(theirs.Level(kBreakDance), 900);
}

}  // namespace
}  // namespace qh
