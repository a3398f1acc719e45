// Personality, interests, base skills, reputation and need speeds: what a slider, a button or a
// radio button stores.
#include <gtest/gtest.h>

#include <algorithm>

#include "character/character_traits.h"

namespace qh {
namespace {

Character Adult(std::uint16_t version = 0x36) {
    Character sim;
    sim.instanceId = 0x21;  // described in the neighborhood
    sim.sdscVersion = version;
    sim.lifeStage = 19;
    sim.neat = 100, sim.outgoing = 200, sim.active = 300, sim.playful = 400, sim.nice = 500;
    sim.geneticNeat = 110, sim.geneticOutgoing = 210, sim.geneticActive = 310, sim.geneticPlayful = 410,
    sim.geneticNice = 510;
    return sim;
}

Character Cat() {
    Character sim = Adult();
    sim.species = 3;
    return sim;
}

TEST(Personality, TheTenSlidersAreTheCurrentThenTheInheritedTraits) {
    const auto sliders = TraitSliders(TraitGroup::Personality);
    ASSERT_EQ(sliders.size(), 10u);
    const char* expected[] = {"neat", "outgoing", "active", "playful", "nice",
                              "geneticNeat", "geneticOutgoing", "geneticActive", "geneticPlayful", "geneticNice"};
    const char* low[] = {"Sloppy", "Shy", "Lazy", "Serious", "Grouchy"};
    const char* high[] = {"Neat", "Outgoing", "Active", "Playful", "Nice"};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(sliders[i].field, expected[i]);
        EXPECT_STREQ(sliders[i].lowEnd, low[i % 5]);
        EXPECT_STREQ(sliders[i].highEnd, high[i % 5]);
    }
    Character sim = Adult();
    EXPECT_EQ(sim.*sliders[7].member, 310);  // bound to the very field of that name
}

TEST(Personality, MaxAllOfTheCurrentTraitsLeavesTheInheritedOnes) {
    Character sim = Adult();
    std::vector<int> values = ShownTraits(sim, TraitGroup::Personality);
    std::fill(values.begin(), values.begin() + 5, kTraitMaximum);
    ASSERT_TRUE(StoreTraits(sim, TraitGroup::Personality, values, false));
    EXPECT_EQ(sim.neat, 1000);
    EXPECT_EQ(sim.nice, 1000);
    EXPECT_EQ(sim.geneticNeat, 110);
    EXPECT_EQ(sim.geneticNice, 510);
    EXPECT_EQ(sim.dirty, 1);
}

// One slider moved: the others are stored as shown, but a value another tool stored outside the
// range, whose slider still shows its clamp, stays as stored (a clamp the player did not make is
// never saved); moved, it takes the slider's value.
TEST(Personality, OneSliderStoresAllAsShownButNeverAClampThePlayerDidNotMake) {
    Character sim = Adult();
    sim.geneticActive = 1500;  // beyond what a slider can show
    sim.geneticPlayful = -20;
    const TraitSlider* neat = FindTraitSlider(TraitGroup::Personality, "Neat");
    ASSERT_NE(neat, nullptr);
    EXPECT_EQ(neat->field, "neat");  // by its caption, the current trait
    ASSERT_TRUE(SetTrait(sim, TraitGroup::Personality, *neat, 640, false));
    EXPECT_EQ(sim.neat, 640);
    EXPECT_EQ(sim.geneticActive, 1500);
    EXPECT_EQ(sim.geneticPlayful, -20);
    EXPECT_EQ(sim.geneticNeat, 110);
    const TraitSlider* active = FindTraitSlider(TraitGroup::Personality, "geneticActive");
    ASSERT_NE(active, nullptr);
    ASSERT_TRUE(SetTrait(sim, TraitGroup::Personality, *active, 700, false));
    EXPECT_EQ(sim.geneticActive, 700);
}

TEST(Personality, UnchangedValuesDoNotMarkTheSim) {
    Character sim = Adult();
    EXPECT_TRUE(StoreTraits(sim, TraitGroup::Personality, ShownTraits(sim, TraitGroup::Personality), false));
    EXPECT_EQ(sim.dirty, 0);
    EXPECT_FALSE(StoreTraits(sim, TraitGroup::Personality, std::vector<int>(3, 5), false));  // wrong count
}

TEST(Personality, APetsPersonalityAndSkillsAreReadOnlyButItsInterestsAreNot) {
    Character cat = Cat();
    const Character before = cat;
    std::vector<int> values(10, 999);
    EXPECT_FALSE(StoreTraits(cat, TraitGroup::Personality, values, true));
    EXPECT_FALSE(StoreTraits(cat, TraitGroup::BaseSkills, std::vector<int>(7, 5), true));
    EXPECT_EQ(cat, before);
    EXPECT_TRUE(StoreTraits(cat, TraitGroup::Interests, std::vector<int>(18, 5), true));
    EXPECT_EQ(cat.interestSciFi, 5);
    // Without Pets installed the record is a sim's like any other.
    Character noPets = Cat();
    EXPECT_TRUE(StoreTraits(noPets, TraitGroup::Personality, values, false));
}

TEST(Personality, RandomStaysBelow999AndDrawsEachSliderOnItsOwn) {
    int highest = 0;
    bool differ = false;
    for (std::uint64_t seed = 0; seed < 2000; ++seed) {
        const auto values = RandomTraitValues(5, seed);
        ASSERT_EQ(values.size(), 5u);
        for (int v : values) {
            EXPECT_GE(v, 0);
            highest = std::max(highest, v);
        }
        differ |= values[0] != values[1];
    }
    EXPECT_EQ(highest, 998);  // reached, never passed
    EXPECT_TRUE(differ);
    EXPECT_EQ(RandomTraitValues(5, 42), RandomTraitValues(5, 42));
}

TEST(Personality, ReputationIsASimsWithApartmentLifeAndLeavesTheProbabilityAlone) {
    Character sim = Adult();
    sim.appearProbability = 33;
    EXPECT_TRUE(ReputationShown(sim, true, true));
    EXPECT_FALSE(ReputationShown(sim, true, false));
    EXPECT_FALSE(ReputationShown(Cat(), true, true));
    EXPECT_TRUE(ReputationStored(sim));
    EXPECT_FALSE(ReputationStored(Adult(0x33)));
    SetReputation(sim, 250);
    EXPECT_EQ(sim.reputation, 100);
    SetReputation(sim, -101);
    EXPECT_EQ(sim.reputation, -100);
    EXPECT_EQ(sim.appearProbability, 33);
}

TEST(Interests, EighteenInRecordOrderWithNinePetNames) {
    const auto sliders = TraitSliders(TraitGroup::Interests);
    ASSERT_EQ(sliders.size(), 18u);
    EXPECT_EQ(sliders[0].field, "interestPolitics");
    EXPECT_EQ(sliders[17].field, "interestSciFi");
    const Character cat = Cat();
    const Character sim = Adult();
    int shownForPet = 0;
    for (const TraitSlider& slider : sliders) {
        shownForPet += InterestShown(cat, slider, true);
        EXPECT_TRUE(InterestShown(sim, slider, true));
    }
    EXPECT_EQ(shownForPet, 9);
    EXPECT_EQ(InterestLabel(sliders[0], 500, false), "Politics:(500)");
    EXPECT_EQ(InterestLabel(sliders[0], 500, true), "Pets:(500)");
    EXPECT_EQ(InterestLabel(sliders[1], 7, true), "Scary Things:(7)");
    EXPECT_EQ(InterestLabel(sliders[9], 0, true), "Sports:(0)");  // hidden for a pet; no pet name
    EXPECT_FALSE(InterestShown(cat, sliders[9], true));
    EXPECT_EQ(FindTraitSlider(TraitGroup::Interests, "sci-fi"), &sliders[17]);
}

TEST(Personality, ASimWithoutADescriptionKeepsNothingOfIt) {
    Character visitor = Adult();
    visitor.instanceId = 0;
    for (TraitGroup group : {TraitGroup::Personality, TraitGroup::Interests, TraitGroup::BaseSkills}) {
        EXPECT_FALSE(TraitsEditable(visitor, group, true));
        const std::vector<int> all(TraitSliders(group).size(), 700);
        EXPECT_FALSE(StoreTraits(visitor, group, all, true));
    }
    EXPECT_EQ(visitor.dirty, 0);
    EXPECT_EQ(visitor.neat, 100);
}

TEST(BaseSkills, SevenLabelledWithTheirValue) {
    const auto sliders = TraitSliders(TraitGroup::BaseSkills);
    ASSERT_EQ(sliders.size(), 7u);
    EXPECT_EQ(SkillLabel(sliders[1], 420), "Cooking:(420)");
    Character sim = Adult();
    const TraitSlider* logic = FindTraitSlider(TraitGroup::BaseSkills, "logicSkill");
    ASSERT_NE(logic, nullptr);
    ASSERT_TRUE(SetTrait(sim, TraitGroup::BaseSkills, *logic, 1200, false));
    EXPECT_EQ(sim.logicSkill, 1000);
}

TEST(Needs, FourSpeedsAndUnknownValuesShowAsNormal) {
    ASSERT_EQ(NeedRows().size(), 7u);
    EXPECT_EQ(NeedRows()[6].field, "decaySocial");
    EXPECT_EQ(NeedSpeedPosition(24), 2);
    EXPECT_STREQ(NeedSpeedCaption(36), "Very Slow");
    EXPECT_STREQ(NeedSpeedCaption(6), "Normal");
    EXPECT_EQ(FindNeed("Hygiene"), &NeedRows()[4]);
    EXPECT_TRUE(NeedsStored(Adult(0x33)));
    EXPECT_FALSE(NeedsStored(Adult(0x2F)));
    Character sim = Adult();
    sim.decayComfort = 6;
    EXPECT_TRUE(SetNeedSpeed(sim, NeedRows()[0], 12));
    EXPECT_EQ(sim.decayComfort, 6);  // a value the game does not use stays until a speed is picked
    EXPECT_EQ(sim.decayHunger, 12);
}

TEST(Needs, LotsaFreeTimeOnAnAllVerySlowSimChangesNothing) {
    Character sim = Adult();
    for (const NeedRow& need : NeedRows()) sim.*need.member = 36;
    EXPECT_FALSE(LotsaFreeTime(sim));
    EXPECT_EQ(sim.dirty, 0);
    sim.decayFun = 0;
    EXPECT_TRUE(LotsaFreeTime(sim));
    EXPECT_EQ(sim.decayFun, 36);
    EXPECT_EQ(sim.dirty, 1);
}

}  // namespace
}  // namespace qh
