#include "character/sim_description.h"

#include <gtest/gtest.h>

#include "character/character_rules.h"

#include "character/character_fields.h"
#include "fixture/sim_builders.h"
#include "package/byte_reader.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace qh {
namespace {

// A sim with a distinct value in every description field, so a field read from the wrong offset
// shows.
Character Numbered(std::uint16_t version) {
    Character sim;
    sim.sdscVersion = version;
    sim.simGuid = GuidFromValue(0x12345678);
    std::int16_t next = 100;
    for (const CharacterField& field : CharacterFields()) {
        if (field.offset == 0) continue;
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::uint16_t>) {
                    sim.*member = static_cast<T>(next++);
                } else if constexpr (std::is_same_v<T, Guid4>) {
                    sim.*member = GuidFromValue(0xAB000000u + static_cast<std::uint32_t>(next++));
                }
            },
            field.member);
    }
    sim.careerGuidAtLoad = sim.careerGuid;
    return sim;
}

Character ReadBack(const Bytes& bytes, std::uint32_t guid = 0x12345678) {
    Character sim;
    sim.simGuid = GuidFromValue(guid);
    EXPECT_TRUE(ReadCharacterDescription(bytes, sim));
    return sim;
}

TEST(SimDescription, EveryVersionReadsWhatItCarriesFromItsOwnOffsets) {
    for (std::uint16_t version : kDescriptionVersions) {
        SCOPED_TRACE(version);
        const Character written = Numbered(version);
        const Character read = ReadBack(fixture::SimDescriptionBytes(written));
        const int index = DescriptionVersionIndex(version);
        EXPECT_EQ(read.sdscVersion, version);
        EXPECT_EQ(read.sdscGuid, written.simGuid);
        for (const CharacterField& field : CharacterFields()) {
            if (field.offset == 0) continue;
            const bool carried = field.versions >> index & 1;
            std::visit(
                [&](auto member) {
                    using T = std::remove_cvref_t<decltype(read.*member)>;
                    if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::uint16_t> ||
                                  std::is_same_v<T, Guid4>) {
                        if (carried) {
                            EXPECT_EQ(read.*member, written.*member) << field.name;
                        } else {
                            EXPECT_EQ(read.*member, T{}) << field.name;
                        }
                    }
                },
                field.member);
        }
    }
}

TEST(SimDescription, VersionSpecificPositions) {
    // 0x20: common block only.
    Character v20 = ReadBack(fixture::SimDescriptionBytes(Numbered(0x20)));
    EXPECT_EQ(v20.universityMajorGuid, Guid4{});
    EXPECT_EQ(v20.youngAdult, 0);
    EXPECT_EQ(v20.turnOns1, 0);
    // 0x2A carries a word at 0x180 but it is not the species.
    Character numbered = Numbered(0x2A);
    Bytes bytes = fixture::SimDescriptionBytes(numbered);
    StoreU16(bytes, 0x180, 3);
    EXPECT_EQ(ReadBack(bytes).species, 0);
    // 0x33 keeps its GUID at 0x1D6; 0x36 has appearProbability there and the GUID at 0x1DC.
    bytes = fixture::SimDescriptionBytes(Numbered(0x33));
    EXPECT_EQ(ByteReader(bytes).ReadU32(0x1D6), 0x12345678u);
    numbered = Numbered(0x36);
    bytes = fixture::SimDescriptionBytes(numbered);
    EXPECT_EQ(ByteReader(bytes).ReadU32(0x1DC), 0x12345678u);
    EXPECT_EQ(ReadBack(bytes).appearProbability, numbered.appearProbability);
}

TEST(SimDescription, GuidMismatchUnknownVersionAndShortResources) {
    const Bytes bytes = fixture::SimDescriptionBytes(Numbered(0x36));
    Character other;
    other.simGuid = GuidFromValue(0x99);
    EXPECT_FALSE(ReadCharacterDescription(bytes, other));

    Bytes unknown = bytes;
    StoreU16(unknown, 4, 0x37);
    other.simGuid = *StoredDescriptionGuid(bytes);
    EXPECT_FALSE(ReadCharacterDescription(unknown, other));
    EXPECT_FALSE(StoredDescriptionGuid(unknown));
    Bytes appended{7};
    WriteCharacterDescription(unknown, other, appended);  // an unknown version is carried
    EXPECT_EQ(Bytes(appended.begin() + 1, appended.end()), unknown);

    // Long enough for the GUID, too short for the fields of its version: an error, not a crash.
    Bytes shortOne(0x1E0, 0);
    StoreU16(shortOne, 4, 0x36);
    StoreU32(shortOne, 0x1DC, 0x12345678);
    shortOne.resize(0x1D0);
    Character sim;
    sim.simGuid = GuidFromValue(0x12345678);
    EXPECT_THROW(ReadCharacterDescription(shortOne, sim), FormatError);
    sim.dirty = 1;
    Bytes nothing;
    EXPECT_THROW(WriteCharacterDescription(shortOne, sim, nothing), FormatError);
    EXPECT_TRUE(nothing.empty());
}

Bytes Written(const Character& loaded, Character edited, std::vector<Character>* out = nullptr) {
    const Bytes stored = fixture::SimDescriptionBytes(loaded);
    std::vector<Character> list{std::move(edited)};
    Bytes bytes;
    WriteCharacterDescription(stored, list, bytes);
    if (out) *out = list;
    return bytes;
}

TEST(SimDescription, WriterPatchesWritableFieldsAndKeepsReadOnlyOnes) {
    for (std::uint16_t version : kDescriptionVersions) {
        SCOPED_TRACE(version);
        const Character loaded = Numbered(version);
        const Bytes original = fixture::SimDescriptionBytes(loaded);
        Character edited = loaded;
        edited.dirty = 1;
        edited.cookingSkill = 999;
        edited.bodyFlags = -5;
        edited.outfitSourceGuid = GuidFromValue(1);
        edited.species = 7;
        edited.businessJobFlags = 77;
        edited.businessAssignment = 78;
        edited.dataWord166 = 79;
        edited.sdscGuid = GuidFromValue(2);
        if (version != 0x20) edited.youngAdult = 1;
        const Bytes bytes = Written(loaded, edited);
        ASSERT_EQ(bytes.size(), original.size());
        const Character back = ReadBack(bytes);
        const Character before = ReadBack(original);
        EXPECT_EQ(back.cookingSkill, 999);
        EXPECT_EQ(back.bodyFlags, before.bodyFlags);
        EXPECT_EQ(back.outfitSourceGuid, before.outfitSourceGuid);
        EXPECT_EQ(back.species, before.species);
        EXPECT_EQ(back.businessJobFlags, before.businessJobFlags);
        EXPECT_EQ(back.businessAssignment, before.businessAssignment);
        EXPECT_EQ(back.dataWord166, before.dataWord166);
        EXPECT_EQ(back.sdscGuid, loaded.simGuid);
        if (version != 0x20) {
            EXPECT_EQ(back.youngAdult, 1);
        }
        // Only the two changed words differ (one for 0x20, which has no young-adult word).
        std::size_t changed = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) changed += bytes[i] != original[i];
        EXPECT_LE(changed, 4u);
        if (version == 0x20) {
            EXPECT_TRUE(std::equal(bytes.begin() + 0x160, bytes.end(), original.begin() + 0x160));
        }
    }
}

TEST(SimDescription, UndirtyOrOtherSimsLeaveTheBytesIdentical) {
    const Character loaded = Numbered(0x36);
    Character edited = loaded;
    edited.cookingSkill = 1;  // changed but not marked
    EXPECT_EQ(Written(loaded, edited), fixture::SimDescriptionBytes(loaded));
    edited.dirty = 1;
    edited.simGuid = GuidFromValue(0x42);
    EXPECT_EQ(Written(loaded, edited), fixture::SimDescriptionBytes(loaded));
}

TEST(SimDescription, CareerChangeClearsTheBusinessUnlessItIsAnOwnedBusiness) {
    // The rule is the career change's, in the model; the writer writes the business block (lot
    // at 0x192, rank at 0x194) only when the career changed since the load, and changes nothing.
    const Character loaded = Numbered(0x2C);
    Character edited = loaded;
    SetCareer(edited, GuidFromValue(0x11111111));
    EXPECT_EQ(edited.businessLot, 0);
    EXPECT_EQ(edited.businessRank, 0);
    std::vector<Character> after;
    Bytes bytes = Written(loaded, edited, &after);
    EXPECT_EQ(ByteReader(bytes).ReadU16(0x192), 0);
    EXPECT_EQ(ByteReader(bytes).ReadU16(0x194), 0);
    EXPECT_EQ(after[0], edited);  // the writer left the record as it was

    edited = loaded;
    SetCareer(edited, {0x0A, 0x40, 0x8F, 0xD0});  // "0A408FD0", an owned business
    EXPECT_EQ(edited.businessLot, loaded.businessLot);
    bytes = Written(loaded, edited);
    EXPECT_EQ(ByteReader(bytes).ReadU16(0x192), static_cast<std::uint16_t>(loaded.businessLot));
    edited = loaded;
    edited.dirty = 1;
    edited.businessLot = 5;  // the career did not change: never written
    bytes = Written(loaded, edited);
    EXPECT_EQ(ByteReader(bytes).ReadU16(0x192), static_cast<std::uint16_t>(loaded.businessLot));
    // 0x29 has no business block: nothing is written there, and the rule keeps the words.
    const Character old = Numbered(0x29);
    edited = old;
    SetCareer(edited, GuidFromValue(0x11111111));
    EXPECT_EQ(edited.businessLot, old.businessLot);
    EXPECT_EQ(ByteReader(Written(old, edited)).ReadU16(0x192), ByteReader(fixture::SimDescriptionBytes(old)).ReadU16(0x192));
}

}  // namespace
}  // namespace qh
