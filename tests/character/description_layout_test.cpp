// The sim description's layout, pinned with the offsets of the game's format written out here,
// independently of the program's own field table: a wrong offset in that table fails these tests.
#include <gtest/gtest.h>

#include <cstring>

#include "character/sim_description.h"
#include "platform/file_io.h"

namespace qh {
namespace {

using C = Character;
struct Word {
    std::uint16_t offset;
    std::int16_t C::*field;
};
struct UWord {
    std::uint16_t offset;
    std::uint16_t C::*field;
};
struct Guid {
    std::uint16_t offset;
    Guid4 C::*field;
};

// The common block of every version.
const Word kCommon[] = {
    {0x10, &C::nice}, {0x12, &C::active}, {0x14, &C::classPerformance}, {0x16, &C::playful},
    {0x18, &C::outgoing}, {0x1A, &C::neat}, {0x1E, &C::cleaningSkill}, {0x20, &C::cookingSkill},
    {0x22, &C::charismaSkill}, {0x24, &C::mechanicalSkill}, {0x2A, &C::creativitySkill}, {0x2E, &C::bodySkill},
    {0x30, &C::logicSkill}, {0x38, &C::malePreference}, {0x3A, &C::femalePreference}, {0x3C, &C::jobData},
    {0x6A, &C::geneticNeat}, {0x6C, &C::geneticNice}, {0x6E, &C::geneticActive}, {0x70, &C::geneticOutgoing},
    {0x72, &C::geneticPlayful}, {0x7C, &C::schoolGrade}, {0x7E, &C::jobLevel}, {0x80, &C::lifeStage},
    {0x86, &C::familyNumber}, {0x8A, &C::performance}, {0x8E, &C::gender}, {0x92, &C::lingeringNumber},
    {0x94, &C::ghostFlags}, {0x96, &C::pto}, {0x98, &C::zodiac}, {0xAE, &C::bodyFlags}, {0xB0, &C::fatness},
    {0xB2, &C::gpa}, {0xC2, &C::ageDaysLeft}, {0xC4, &C::daysInPreviousAge}, {0xEA, &C::dataWordEA},
    {0xEC, &C::locoWeight0}, {0xEE, &C::locoWeight1}, {0x100, &C::fitnessPreference}, {0x102, &C::pension},
    {0x104, &C::interestPolitics}, {0x126, &C::interestSciFi}, {0x142, &C::npcType}, {0x144, &C::ageDuration},
    {0x14C, &C::aspirationScore}, {0x14E, &C::aspirationRewardPoints}, {0x150, &C::aspirationLevel},
    {0x152, &C::dataWord152}, {0x15E, &C::retiredJobLevel},
};
const Guid kCommonGuids[] = {{0xBE, &C::careerGuid}, {0xE2, &C::schoolGuid}, {0xFA, &C::outfitSourceGuid},
                             {0x15A, &C::retiredCareerGuid}};
// Blocks of version 0x36 (the newest carries them all).
const Word kNewest[] = {
    {0x164, &C::remainingHours}, {0x168, &C::universityClass}, {0x16A, &C::youngAdult},
    {0x16C, &C::influenceLevel}, {0x16E, &C::influenceMinimum}, {0x170, &C::influenceScore},
    {0x192, &C::businessLot}, {0x194, &C::businessRank}, {0x1A4, &C::hobbyCuisine}, {0x1B6, &C::hobbyMusicDance},
    {0x1BA, &C::talent}, {0x1BC, &C::ltaLevel}, {0x1BE, &C::ltaUnlocksEarned}, {0x1C0, &C::ltaUnlocksUsed},
    {0x1C2, &C::decayHunger}, {0x1CE, &C::decaySocial}, {0x1D4, &C::reputation}, {0x1D6, &C::appearProbability},
    {0x1D8, &C::dataWord1D8},
};
const UWord kNewestUnsigned[] = {{0x68, &C::aspirationFlags}, {0x174, &C::ownTraits1}, {0x178, &C::turnOns1},
                                 {0x17C, &C::turnOffs1}, {0x180, &C::species}, {0x19E, &C::turnOns3},
                                 {0x1A0, &C::turnOffs3}, {0x1A2, &C::ownTraits3}};

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint16_t Get16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

// A resource of the version with every listed word holding its own offset as value, and the GUID
// at the version's position.
Bytes Resource(std::uint16_t version, std::uint16_t guidAt, const Guid4& guid) {
    Bytes b(0x200, 0);
    for (std::size_t at = 0x10; at + 1 < b.size(); at += 2) Put16(b, at, static_cast<std::uint16_t>(at));
    Put16(b, 4, version);
    std::memcpy(b.data() + guidAt, guid.data(), 4);
    return b;
}

// The sim the resource describes, read as the loader reads it.
Character Read(const Bytes& bytes, const Guid4& guid) {
    Character sim;
    sim.simGuid = guid;
    RecordingReporter reporter;
    EXPECT_TRUE(ReadCharacterDescription(bytes, sim, reporter));
    EXPECT_TRUE(reporter.messages.empty());
    return sim;
}

TEST(DescriptionLayout, TheNewestVersionReadsEveryFieldFromItsOffset) {
    const Guid4 guid{0x11, 0x22, 0x33, 0x44};
    const Character sim = Read(Resource(0x36, 0x1DC, guid), guid);
    for (const Word& w : kCommon) EXPECT_EQ(sim.*w.field, static_cast<std::int16_t>(w.offset)) << std::hex << w.offset;
    for (const Word& w : kNewest) EXPECT_EQ(sim.*w.field, static_cast<std::int16_t>(w.offset)) << std::hex << w.offset;
    for (const UWord& w : kNewestUnsigned) EXPECT_EQ(sim.*w.field, w.offset) << std::hex << w.offset;
    for (const Guid& g : kCommonGuids) {
        // Four raw bytes: the words at the offset and the one after it.
        const Guid4 expected{static_cast<std::uint8_t>(g.offset), static_cast<std::uint8_t>(g.offset >> 8),
                             static_cast<std::uint8_t>(g.offset + 2), static_cast<std::uint8_t>((g.offset + 2) >> 8)};
        EXPECT_EQ(sim.*g.field, expected) << std::hex << g.offset;
    }
    EXPECT_EQ(sim.careerGuidAtLoad, sim.careerGuid);
    EXPECT_EQ(sim.sdscGuid, guid);
}

TEST(DescriptionLayout, AnOlderVersionStopsWhereItsBlocksEnd) {
    // Version 0x22 (University) stores its GUID at 0x174 and carries the university block, but no
    // attraction, business, hobby or need words.
    const Guid4 guid{0x55, 0x66, 0x77, 0x88};
    const Character sim = Read(Resource(0x22, 0x174, guid), guid);
    EXPECT_EQ(sim.youngAdult, 0x16A);
    EXPECT_EQ(sim.influenceScore, 0x170);
    EXPECT_EQ(sim.ownTraits1, 0);
    EXPECT_EQ(sim.businessLot, 0);
    EXPECT_EQ(sim.decayHunger, 0);
    EXPECT_EQ(sim.reputation, 0);
}

TEST(DescriptionLayout, TheWriterPatchesTheSameOffsetsAndNeverTheReadOnlyOnes) {
    const Guid4 guid{0x11, 0x22, 0x33, 0x44};
    Bytes bytes = Resource(0x36, 0x1DC, guid);
    Character sim = Read(bytes, guid);
    sim.cookingSkill = 701;
    sim.zodiac = 5;
    sim.locoWeight1 = 77;
    sim.decaySocial = 12;
    sim.bodyFlags = 999;  // read only
    sim.species = 3;      // read only
    sim.dirty = 1;
    Character sims[] = {sim};
    WriteCharacterDescription(bytes, sims);
    EXPECT_EQ(Get16(bytes, 0x20), 701);
    EXPECT_EQ(Get16(bytes, 0x98), 5);
    EXPECT_EQ(Get16(bytes, 0xEE), 77);
    EXPECT_EQ(Get16(bytes, 0x1CE), 12);
    EXPECT_EQ(Get16(bytes, 0xAE), 0xAE);
    EXPECT_EQ(Get16(bytes, 0x180), 0x180);
    EXPECT_EQ(Get16(bytes, 0x196), 0x196);  // business job flags: read only
}

}  // namespace
}  // namespace qh
