// The relationship resource as the game lays it out: a header word, a count of 32-bit values,
// value 0 short-term, value 1 flags (bytes 12 and 13, the u16 at 14), value 2 long-term, value 3
// the family relation while the Family flag (bit 14) is set, further values carried.
#include "relationship/relationship.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace qh {
namespace {

// The resource laid out from its own table: header, count, then the values as given.
Bytes Resource(std::uint32_t header, std::uint32_t count, const std::vector<std::uint32_t>& values) {
    Bytes out;
    auto put = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(header);
    put(count);
    for (std::uint32_t v : values) put(v);
    return out;
}

std::uint32_t U32At(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16) |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

constexpr std::uint32_t kFamily = 1u << 14;

RelationshipRecord Read(const Bytes& bytes, std::uint32_t instance = 0x00050007) {
    RelationshipRecord record;
    record.ownerId = static_cast<std::uint16_t>(instance >> 16);
    record.otherId = static_cast<std::uint16_t>(instance);
    if (!ReadRelationshipResource(bytes, record)) throw std::runtime_error("no record");
    return record;
}

Bytes Write(const Bytes& stored, const RelationshipRecord& record, RelationshipWritten* written = nullptr) {
    Bytes out = {0xAA};  // what the image held before: the resource is appended after it
    const RelationshipWritten w = WriteRelationshipResource(stored, record, out);
    if (written) *written = w;
    EXPECT_EQ(out[0], 0xAA);
    return Bytes(out.begin() + 1, out.end());
}

TEST(RelationshipRecord, TheInstanceNamesOwnerInItsHighHalfAndFieldsSitAtTheirOffsets) {
    const auto record = Read(Resource(7, 3, {0xFFFFFFF6u, 0xABCD8031u, 55}), 0x00050007);
    EXPECT_EQ(record.ownerId, 5);
    EXPECT_EQ(record.otherId, 7);
    EXPECT_EQ(RelationshipInstance(record.otherId, record.ownerId), 0x00070005u);  // the reverse
    EXPECT_EQ(record.headerWord, 7u);
    EXPECT_EQ(record.valueCount, 3u);
    EXPECT_EQ(record.shortTerm, -10);
    EXPECT_EQ(record.flagsLow, 0x31);
    EXPECT_EQ(record.flagsHigh, 0x80);  // Met
    EXPECT_EQ(record.flagsUpper, 0xABCD);
    EXPECT_EQ(record.longTerm, 55);
    EXPECT_TRUE(HasRelationshipFlag(record, kMetBit));
    EXPECT_TRUE(HasRelationshipFlag(record, kFriendBit));
    EXPECT_EQ(record.hasFamilyRelation, 0);
    EXPECT_EQ(record.isNew, 0);
}

TEST(RelationshipRecord, TheFamilyRelationIsReadOnlyWithTheFlagAndFourValues) {
    auto withFour = Read(Resource(2, 4, {0, kFamily, 0, 3}));
    EXPECT_EQ(withFour.familyRelation, 3);
    EXPECT_EQ(withFour.hasFamilyRelation, 1);

    // Value 3 without the flag is not a family relation.
    auto noFlag = Read(Resource(2, 4, {0, 0, 0, 3}));
    EXPECT_EQ(noFlag.familyRelation, 0);
    EXPECT_EQ(noFlag.hasFamilyRelation, 0);

    // The flag with three values: read without the mark, saved with bit 14 clear.
    const Bytes three = Resource(2, 3, {0, kFamily | 0x10, 0});
    auto flagOnly = Read(three);
    EXPECT_FALSE(HasRelationshipFlag(flagOnly, kFamilyBit));
    EXPECT_EQ(flagOnly.hasFamilyRelation, 0);
    const Bytes saved = Write(three, flagOnly);
    ASSERT_EQ(saved.size(), 20u);
    EXPECT_EQ(U32At(saved, 12), 0x10u);
}

TEST(RelationshipRecord, ShortAndDamagedResources) {
    RelationshipRecord untouched;
    untouched.shortTerm = 9;
    EXPECT_FALSE(ReadRelationshipResource(Bytes(19, 0), untouched));  // not interpreted
    EXPECT_EQ(untouched.shortTerm, 9);
    EXPECT_FALSE(RelationshipResourceReadable(Bytes(19, 0)));
    EXPECT_FALSE(RelationshipResourceReadable(Resource(2, 4, {0, kFamily, 0})));
    EXPECT_TRUE(RelationshipResourceReadable(Resource(2, 3, {0, kFamily, 0})));  // read without the mark
    EXPECT_TRUE(RelationshipResourceReadable(Resource(2, 4, {0, kFamily, 0, 1})));
    // The flag and four values claimed, but the resource ends at 20 bytes.
    EXPECT_THROW(ReadRelationshipResource(Resource(2, 4, {0, kFamily, 0}), untouched), FormatError);
    EXPECT_EQ(untouched.shortTerm, 9);
    EXPECT_NO_THROW(Read(Resource(2, 0, {0, 0, 0})));  // a count of 0 is read as it is
}

TEST(RelationshipRecord, AnUntouchedResourceIsWrittenByteForByte) {
    const Bytes stored = Resource(0x12345678, 9, {5, kFamily | 0xFFFF0A01u, 0xFFFFFF9Cu, 8, 1, 2, 3, 4, 5});
    RelationshipWritten written;
    EXPECT_EQ(Write(stored, Read(stored), &written), stored);
    EXPECT_EQ(written.valueCount, 9u);
    EXPECT_TRUE(written.hasFamilyRelation);
}

TEST(RelationshipRecord, EditsPatchOnlyTheirFieldsAndKeepUnknownBitsAndValues) {
    const Bytes stored = Resource(0x99, 6, {5, 0xBEEF3E00u, 7, 41, 42, 43});
    auto record = Read(stored);
    record.shortTerm = -100;
    record.longTerm = 100;
    SetRelationshipFlag(record, kLoveBit, true);
    SetRelationshipFlag(record, kMetBit, true);
    const Bytes saved = Write(stored, record);
    ASSERT_EQ(saved.size(), stored.size());
    EXPECT_EQ(U32At(saved, 0), 0x99u);
    EXPECT_EQ(static_cast<std::int32_t>(U32At(saved, 8)), -100);
    EXPECT_EQ(U32At(saved, 12), 0xBEEFBE02u);  // bits 9-13 and 16-31 as they were
    EXPECT_EQ(U32At(saved, 16), 100u);
    EXPECT_EQ(Bytes(saved.begin() + 20, saved.end()), Bytes(stored.begin() + 20, stored.end()));
}

TEST(RelationshipRecord, SettingFamilyOnTwentyBytesGivesTwentyFour) {
    const Bytes stored = Resource(2, 3, {1, 0, 2});
    auto record = Read(stored);
    SetRelationshipFlag(record, kFamilyBit, true);
    record.familyRelation = 3;
    RelationshipWritten written;
    const Bytes saved = Write(stored, record, &written);
    ASSERT_EQ(saved.size(), 24u);
    EXPECT_EQ(U32At(saved, 4), 4u);
    EXPECT_EQ(U32At(saved, 12), kFamily);
    EXPECT_EQ(U32At(saved, 20), 3u);
    EXPECT_EQ(written.valueCount, 4u);
    EXPECT_TRUE(written.hasFamilyRelation);
}

// The game reads the values after value 3 (attraction at 24, best friends forever, ...) at
// fixed offsets: toggling Family never moves them.
TEST(RelationshipRecord, SettingFamilyWritesValueThreeInPlace) {
    const Bytes stored = Resource(2, 9, {1, 0, 2, 77, 88, 0, 0, 1, 5});
    auto record = Read(stored);
    EXPECT_EQ(record.familyRelation, 0);  // value 3 means nothing while Family is clear
    SetRelationshipFlag(record, kFamilyBit, true);
    record.familyRelation = 9;
    RelationshipWritten written;
    const Bytes saved = Write(stored, record, &written);
    ASSERT_EQ(saved.size(), stored.size());
    EXPECT_EQ(U32At(saved, 4), 9u);
    EXPECT_EQ(U32At(saved, 20), 9u);
    EXPECT_EQ(Bytes(saved.begin() + 24, saved.end()), Bytes(stored.begin() + 24, stored.end()));
    EXPECT_EQ(written.valueCount, 9u);
    EXPECT_TRUE(written.hasFamilyRelation);
    EXPECT_EQ(Read(saved).familyRelation, 9);
}

TEST(RelationshipRecord, ClearingFamilyKeepsEveryValueInItsPlace) {
    const Bytes stored = Resource(2, 9, {1, kFamily, 2, 4, 10, 11, 12, 13, 14});
    ASSERT_EQ(stored.size(), 44u);
    auto record = Read(stored);
    SetRelationshipFlag(record, kFamilyBit, false);
    RelationshipWritten written;
    const Bytes saved = Write(stored, record, &written);
    ASSERT_EQ(saved.size(), 44u);
    EXPECT_EQ(U32At(saved, 4), 9u);
    EXPECT_EQ(U32At(saved, 12), 0u);
    EXPECT_EQ(U32At(saved, 20), 0u);  // no relation
    for (std::uint32_t i = 0; i < 5; ++i) EXPECT_EQ(U32At(saved, 24 + 4 * i), 10 + i);
    EXPECT_FALSE(written.hasFamilyRelation);
    EXPECT_EQ(written.valueCount, 9u);

    // Set again: the same place, no slot added.
    auto again = Read(saved);
    SetRelationshipFlag(again, kFamilyBit, true);
    again.familyRelation = 5;
    const Bytes back = Write(saved, again);
    ASSERT_EQ(back.size(), 44u);
    EXPECT_EQ(U32At(back, 20), 5u);
    for (std::uint32_t i = 0; i < 5; ++i) EXPECT_EQ(U32At(back, 24 + 4 * i), 10 + i);
}

TEST(RelationshipRecord, AValueThreeTheFlagNeverCoveredIsKept) {
    // Family clear in the file, something in value 3: an edit of the levels leaves it alone.
    const Bytes stored = Resource(2, 5, {1, 0, 2, 66, 99});
    auto record = Read(stored);
    record.longTerm = 50;
    const Bytes saved = Write(stored, record);
    EXPECT_EQ(U32At(saved, 20), 66u);
    EXPECT_EQ(U32At(saved, 24), 99u);
}

TEST(RelationshipRecord, ASlotAddedToAShortCountIsCountedSoItReadsBack) {
    // A count below three (no game writes one) still says four once the relation is added.
    const Bytes stored = Resource(2, 1, {0, 0, 0});
    auto record = Read(stored);
    SetRelationshipFlag(record, kFamilyBit, true);
    record.familyRelation = 6;
    const Bytes saved = Write(stored, record);
    EXPECT_EQ(U32At(saved, 4), 4u);
    EXPECT_EQ(Read(saved).familyRelation, 6);
}

TEST(RelationshipRecord, TheWriterJudgesTheStoredBytesNotTheRecordsMemoryOfThem) {
    // A record that believes its resource already holds a relation (a save that failed after it
    // was rewritten in memory) still gets the slot inserted into a resource that has none.
    const Bytes stored = Resource(2, 3, {0, 0, 0});
    auto record = Read(stored);
    SetRelationshipFlag(record, kFamilyBit, true);
    record.hasFamilyRelation = 1;
    record.valueCount = 4;
    record.familyRelation = 2;
    const Bytes saved = Write(stored, record);
    ASSERT_EQ(saved.size(), 24u);
    EXPECT_EQ(U32At(saved, 4), 4u);
    EXPECT_EQ(U32At(saved, 20), 2u);
}

TEST(RelationshipRecord, NewResourcesSayWhatTheyHold) {
    RelationshipRecord record = NewRelationshipRecord(0x11, 0x22, 1);
    EXPECT_EQ(record.isNew, 1);
    EXPECT_EQ(record.valueCount, 4u);
    EXPECT_TRUE(HasRelationshipFlag(record, kFamilyBit));
    RelationshipWritten written;
    const Bytes family = NewRelationshipResource(record, written);
    EXPECT_EQ(family, Resource(2, 4, {0, kFamily, 0, 1}));
    // Family cleared before the save: three values, and the count says three.
    SetRelationshipFlag(record, kFamilyBit, false);
    record.flagsLow = 8;  // Married
    const Bytes plain = NewRelationshipResource(record, written);
    EXPECT_EQ(plain, Resource(2, 3, {0, 8, 0}));
    EXPECT_EQ(written.valueCount, 3u);
    EXPECT_FALSE(written.hasFamilyRelation);
}

TEST(RelationshipRecord, FlagAndFamilyRelationTables) {
    const auto* engaged = FindRelationshipFlag("Engaged");
    ASSERT_NE(engaged, nullptr);
    EXPECT_EQ(engaged->bit, 2);
    EXPECT_TRUE(engaged->bothSides);
    EXPECT_FALSE(FindRelationshipFlag("Love")->bothSides);
    EXPECT_EQ(FindRelationshipFlag("Family")->bit, 14);
    EXPECT_EQ(FindRelationshipFlag("Contact")->bit, 8);
    EXPECT_EQ(FindRelationshipFlag("love"), nullptr);
    EXPECT_EQ(RelationshipFlags().size(), 11u);
    // Each mirror is its own mirror's mirror; parent and child, grandparent and grandchild,
    // uncle and nephew swap; sibling, cousin and spouse are their own.
    for (int v = 0; v <= 9; ++v) EXPECT_EQ(MirrorFamilyRelation(*MirrorFamilyRelation(v)), v);
    EXPECT_EQ(MirrorFamilyRelation(1), 2);
    EXPECT_EQ(MirrorFamilyRelation(4), 5);
    EXPECT_EQ(MirrorFamilyRelation(6), 7);
    EXPECT_EQ(MirrorFamilyRelation(8), 8);
    EXPECT_EQ(MirrorFamilyRelation(10), std::nullopt);
    EXPECT_EQ(MirrorFamilyRelation(-1), std::nullopt);
    EXPECT_EQ(FamilyRelations()[2].text, "Child ");
}

}  // namespace
}  // namespace qh
