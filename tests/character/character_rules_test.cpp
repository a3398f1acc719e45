#include "character/character_rules.h"

#include <gtest/gtest.h>

#include "character/character_edit.h"

namespace qh {
namespace {

TEST(LifeStage, SimsAndPetsHaveTheirOwnTables) {
    Character sim;
    const std::int16_t stages[] = {1, 2, 3, 16, 19, 51};
    const std::int16_t ages[] = {32, 1, 2, 4, 8, 16};
    for (int position = 0; position < 6; ++position) {
        SetLifeStagePosition(sim, false, position);
        EXPECT_EQ(sim.lifeStage, stages[position]);
        EXPECT_EQ(sim.ageProperty, ages[position]);
        EXPECT_EQ(LifeStagePosition(sim, false), position);
    }
    EXPECT_EQ(sim.needsPackageRebuild, 1);
    EXPECT_EQ(sim.dirty, 1);
    EXPECT_EQ(SpeciesLabel(sim, false, 5), "Species: Sim Elder");

    Character cat;
    cat.species = 3;
    EXPECT_TRUE(IsPet(cat, true));
    EXPECT_FALSE(IsPet(cat, false));
    ASSERT_EQ(LifeStageRows(true).size(), 3u);
    SetLifeStagePosition(cat, true, 0);
    EXPECT_EQ(cat.lifeStage, 1);
    EXPECT_EQ(cat.ageProperty, 32);
    EXPECT_EQ(SpeciesLabel(cat, true, 0), "Species: Kitten");
    cat.species = 1;
    EXPECT_EQ(SpeciesLabel(cat, true, 2), "Species: Large Elder Dog");
    cat.lifeStage = 3;  // a child's stage on a pet: not in the pets' list
    EXPECT_EQ(LifeStagePosition(cat, true), -1);
}

TEST(LifeStage, YoungAdultsAreAdultsWithAge64) {
    Character sim;
    SetLifeStagePosition(sim, false, kAdultPosition);
    SetYoungAdult(sim, true, kAdultPosition);
    EXPECT_EQ(sim.ageProperty, 64);
    SetLifeStagePosition(sim, false, 5);  // Elder: no longer a young adult
    EXPECT_EQ(sim.youngAdult, 0);
    EXPECT_EQ(sim.ageProperty, 16);
    SetYoungAdult(sim, true, kAdultPosition);
    SetLifeStagePosition(sim, false, kAdultPosition);
    EXPECT_EQ(sim.ageProperty, 64);
    SetYoungAdult(sim, true, 3);  // the box on a teen changes only the flag
    EXPECT_EQ(sim.ageProperty, 64);
}

TEST(Zodiac, LeoSetsBothPersonalities) {
    Character sim;
    ApplyZodiac(sim, 5, true);
    EXPECT_EQ(sim.zodiac, 5);
    EXPECT_EQ(sim.outgoing, 1000);
    EXPECT_EQ(sim.geneticOutgoing, 1000);
    EXPECT_EQ(sim.neat, 400);
    EXPECT_EQ(sim.active, 400);
    EXPECT_EQ(sim.playful, 400);
    EXPECT_EQ(sim.nice, 300);
    EXPECT_EQ(sim.geneticNice, 300);
    Character untouched;
    ApplyZodiac(untouched, 13, true);
    EXPECT_EQ(untouched.dirty, 0);
}

TEST(Zodiac, APetTakesTheSignAndKeepsItsPersonality) {
    Character cat;
    cat.species = 3;
    cat.neat = cat.geneticNeat = 123;
    cat.nice = cat.geneticNice = 987;
    ApplyZodiac(cat, 5, true);
    EXPECT_EQ(cat.zodiac, 5);
    EXPECT_EQ(cat.dirty, 1);
    EXPECT_EQ(cat.neat, 123);
    EXPECT_EQ(cat.geneticNeat, 123);
    EXPECT_EQ(cat.nice, 987);
    EXPECT_EQ(cat.geneticNice, 987);
    // Without Pets the record is listed as a sim, and the sign sets its personality.
    ApplyZodiac(cat, 5, false);
    EXPECT_EQ(cat.nice, 300);
}

TEST(Attraction, PlanPositionsMapToWordsAndBits) {
    Character sim;
    SetAttraction(sim, AttractionSet::TurnOns, 1, true);     // Cologne: word 1 bit 0
    SetAttraction(sim, AttractionSet::TurnOns, 29, true);    // Zombiism: word 2 bit 15
    SetAttraction(sim, AttractionSet::TurnOffs, 33, true);   // Jewelery: word 1 bit 13
    SetAttraction(sim, AttractionSet::OwnTraits, 34, true);  // Witchiness: word 3 bit 3
    EXPECT_EQ(sim.turnOns1, 1);
    EXPECT_EQ(sim.turnOns2, 0x8000);
    EXPECT_EQ(sim.turnOffs1, 1 << 13);
    EXPECT_EQ(sim.ownTraits3, 8);
    EXPECT_TRUE(HasAttraction(sim, AttractionSet::TurnOns, 29));
    EXPECT_FALSE(HasAttraction(sim, AttractionSet::TurnOffs, 29));
    SetAttraction(sim, AttractionSet::TurnOns, 29, false);
    EXPECT_EQ(sim.turnOns2, 0);
    EXPECT_STREQ(AttractionPlan()[30].caption, "Robots");
}

TEST(Attraction, TurnOnSelectorsWalkTheWordsInBitOrder) {
    Character sim;
    sim.sdscVersion = 0x36;
    // Word 1 bit 13 (Jewelery, position 33) comes before word 2 bit 0 (position 14); a third
    // turn-on is not shown.
    sim.turnOns1 = 1u << 13;
    sim.turnOns2 = 0b101;
    sim.turnOffs3 = 1u << 3;
    sim.turnOffs2 = 1u << 15;
    EXPECT_EQ(ShownTurnOns(sim), (TurnOnSelection{33, 14, 29}));

    // Storing keeps exactly the chosen bits: Jewelery is word 1 bit 13, Witchiness word 3 bit 3,
    // and the same entry twice is one bit.
    ASSERT_TRUE(SetTurnOnsAndOffs(sim, {33, 33, 34}));
    EXPECT_EQ(sim.turnOns1, 1u << 13);
    EXPECT_EQ(sim.turnOns2, 0u);
    EXPECT_EQ(sim.turnOns3, 0u);
    EXPECT_EQ(sim.turnOffs1 | sim.turnOffs2, 0u);
    EXPECT_EQ(sim.turnOffs3, 1u << 3);
    EXPECT_EQ(sim.dirty, 1);
    ASSERT_TRUE(SetTurnOnsAndOffs(sim, {34, 0, 0}));
    EXPECT_EQ(sim.turnOns3, 1u << 3);
    EXPECT_EQ(sim.turnOns1 | sim.turnOffs3, 0u);
    EXPECT_EQ(ShownTurnOns(sim), (TurnOnSelection{34, 0, 0}));
}

TEST(Attraction, OnlyWhatTheFormatKeepsIsOfferedOrStored) {
    // Format 0x2C keeps the first two words (from 0x29) but not the third (from 0x2F); 0x22
    // none; the description's own offsets of the words are 0x178.. and 0x19E...
    Character sim;
    sim.sdscVersion = 0x2C;
    sim.turnOns1 = 1u << 2;
    EXPECT_TRUE(AttractionStored(sim, 0));
    EXPECT_TRUE(AttractionStored(sim, 1));     // Cologne, word 1
    EXPECT_TRUE(AttractionStored(sim, 29));    // Zombiism, word 2
    EXPECT_TRUE(AttractionStored(sim, 33));    // Jewelery, word 1 bit 13
    for (int third : {30, 31, 32, 34}) EXPECT_FALSE(AttractionStored(sim, third)) << third;
    const Character before = sim;
    EXPECT_FALSE(SetTurnOnsAndOffs(sim, {1, 34, 0}));  // Witchiness: nowhere to keep it
    EXPECT_EQ(sim, before);
    EXPECT_TRUE(SetTurnOnsAndOffs(sim, {1, 29, 3}));
    EXPECT_EQ(sim.turnOns1, 1u);

    sim.sdscVersion = 0x22;
    EXPECT_FALSE(AttractionStored(sim, 1));
    EXPECT_TRUE(AttractionStored(sim, 0));
    EXPECT_FALSE(SetTurnOnsAndOffs(sim, {1, 0, 0}));
    // The field by name is refused as well: it would be dropped on save.
    sim.instanceId = 7;
    EXPECT_NE(SetCharacterField(sim, "turnOns1", "4"), "");
    sim.sdscVersion = 0x2C;
    EXPECT_NE(SetCharacterField(sim, "turnOns3", "4"), "");
    EXPECT_EQ(SetCharacterField(sim, "turnOns2", "4"), "");
}

TEST(Attraction, OwnTraitNamesInBitOrder) {
    Character sim;
    EXPECT_TRUE(OwnTraitNames(sim).empty());
    sim.ownTraits1 = 1u << 5 | 1u << 13 | 1u << 14;  // bit 14 is no trait
    sim.ownTraits2 = 1u << 15;
    sim.ownTraits3 = 1u << 3 | 1u << 4;
    EXPECT_EQ(OwnTraitNames(sim), (std::vector<std::string_view>{"SwimWear", "Jewelery", "Zombiism", "Witchiness"}));
}

TEST(DigitFilter, NonDigitsBecomeZerosInPlace) {
    EXPECT_EQ(FilterDigits(U"1a2"), U"102");
    EXPECT_EQ(FilterDigits(U"\u00e9x9"), U"009");
    EXPECT_EQ(DigitValue(U"102"), 102);
    EXPECT_EQ(DigitValue(U""), 0);
    EXPECT_EQ(DigitValue(U"65537"), 1);  // kept in 16 bits
}

TEST(Character, GenderLocomotionAndThumbnails) {
    Character sim;
    SetGender(sim, true);
    EXPECT_EQ(sim.gender, 1);
    EXPECT_EQ(sim.genderProperty, 1);
    SetGender(sim, false);
    EXPECT_EQ(sim.genderProperty, 2);
    SetLocomotion(sim, 30);
    EXPECT_EQ(sim.locoWeight0 + sim.locoWeight1, 100);

    sim.familyNumber = 2;
    EXPECT_FALSE(CanFixThumbnail(sim));  // no picture
    sim.portrait = IndexEntry{};
    EXPECT_TRUE(CanFixThumbnail(sim));
    FixThumbnail(sim);
    EXPECT_EQ(sim.needsPackageRebuild, 1);
    EXPECT_FALSE(CanFixThumbnail(sim));
    sim.needsPackageRebuild = 0;
    sim.familyNumber = 0;
    EXPECT_FALSE(CanFixThumbnail(sim));
}

TEST(UniversityClass, EditableOnlyInAdvancedModeWithoutEveryLaterExpansion) {
    EXPECT_TRUE(UniversityClassEditable(true, true, true, true, true, true, true, false));
    EXPECT_FALSE(UniversityClassEditable(true, true, true, true, true, true, true, true));
    EXPECT_FALSE(UniversityClassEditable(false, true, false, false, false, false, false, false));
    EXPECT_FALSE(UniversityClassEditable(true, false, false, false, false, false, false, false));
}

}  // namespace
}  // namespace qh
