// The household resource read and written back, its layout laid out here word by word.
#include <gtest/gtest.h>

#include "household/household.h"
#include "package/byte_reader.h"
#include "platform/errors.h"

namespace qh {
namespace {

Bytes Words(std::initializer_list<std::uint32_t> words) {
    Bytes out;
    for (std::uint32_t word : words) AppendU32(out, word);
    return out;
}

// Version 85: value block at 24; the words at 16..23 are carried; a 12-byte tail.
Bytes Version85(std::initializer_list<std::uint32_t> members) {
    Bytes out = Words({0x11111111, 85, 0x22222222, /*lot*/ 7, 0x33333333, 0x44444444,
                       /*family number*/ 104, /*funds*/ 20000, /*friends*/ 3, /*fourth*/ 9,
                       static_cast<std::uint32_t>(members.size())});
    for (std::uint32_t member : members) AppendU32(out, member);
    const Bytes tail = Words({0x12345678, 0xAAAA0001, 0xBBBB0002});
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

Household Read(const Bytes& bytes, std::uint32_t instance = 5) {
    Household household;
    household.instanceId = instance;
    household.householdDirty = 1;
    ReadHousehold(bytes, household);
    return household;
}

TEST(Household, ReadsEveryFieldOfVersion85) {
    const Household h = Read(Version85({0x7E000001, 0x7E000002}));
    EXPECT_EQ(h.lotInstance, 7u);
    EXPECT_EQ(h.houseFamilyNumber, 104u);
    EXPECT_EQ(h.funds, 20000);
    EXPECT_EQ(h.familyFriends, 3u);
    EXPECT_EQ(h.fourthValue, 9u);
    EXPECT_EQ(h.storedMemberCount, 2u);
    ASSERT_EQ(h.members.size(), 2u);
    EXPECT_EQ(h.members[1], (Guid4{0x02, 0x00, 0x00, 0x7E}));
    EXPECT_EQ(h.tailText, "1234");
    EXPECT_EQ(h.tailValue1, 0xAAAA0001u);
    EXPECT_EQ(h.tailValue2, 0xBBBB0002u);
    EXPECT_EQ(h.householdDirty, 0);
}

TEST(Household, ValueBlockAndTailByVersion) {
    for (auto [version, start, tail] : {std::tuple{79u, 16u, 8u}, std::tuple{81u, 20u, 12u}, std::tuple{84u, 20u, 12u},
                                        std::tuple{85u, 24u, 12u}, std::tuple{70u, 16u, 4u}}) {
        EXPECT_EQ(HouseholdValueStart(version), start) << version;
        EXPECT_EQ(HouseholdTailSize(version), tail) << version;
    }
    // Version 79: values at 16, one member, an 8-byte tail.
    const Bytes v79 = Words({0, 79, 0, 3, 101, 500, 1, 2, 1, 0x7E000009, 0xCAFEBABE, 77});
    const Household h = Read(v79);
    EXPECT_EQ(h.funds, 500);
    EXPECT_EQ(h.tailText, "CAFE");
    EXPECT_EQ(h.tailValue1, 77u);
    // The same with its second tail word missing: the record is kept.
    const Bytes shortTail(v79.begin(), v79.end() - 4);
    EXPECT_EQ(Read(shortTail).tailValue1, 0u);
}

TEST(Household, ACountPastTheEndIsAFormatError) {
    Bytes bytes = Version85({0x7E000001});
    StoreU32(bytes, 24 + 16, 0x40000000);  // a billion members in a few bytes
    EXPECT_THROW(Read(bytes), FormatError);
    Bytes out;
    EXPECT_THROW(WriteHousehold(bytes, Household{}, out), FormatError);
    EXPECT_THROW(Read(Bytes(10, 0)), FormatError);
}

TEST(Household, WritingChangesOnlyFundsAndMembersOfVersion85) {
    const Bytes stored = Version85({0x7E000001, 0x7E000002});
    Household h = Read(stored);
    Bytes same;
    WriteHousehold(stored, h, same);
    EXPECT_EQ(same, stored);  // an unchanged record writes the bytes it was read from

    h.funds = 999;
    h.members.erase(h.members.begin());
    h.familyFriends = 50;  // not written: the stored word is kept
    Bytes out;
    WriteHousehold(stored, h, out);
    Bytes expected = Words({0x11111111, 85, 0x22222222, 7, 0x33333333, 0x44444444, 104, 999, 3, 9, 1, 0x7E000002,
                            0x12345678, 0xAAAA0001, 0xBBBB0002});
    EXPECT_EQ(out, expected);
}

TEST(Household, TheLayoutIsReadFromTheBytesBeingRewritten) {
    // Read from one version of the file, written onto another with one member more and a longer
    // tail: the funds land at that file's offset and its whole tail is kept.
    Household h = Read(Version85({0x7E000001}));
    h.funds = 5;
    Bytes newer = Version85({0x7E000001, 0x7E000003});
    const Bytes extra = Words({0xDDDDDDDD});
    newer.insert(newer.end(), extra.begin(), extra.end());
    Bytes out;
    WriteHousehold(newer, h, out);
    ASSERT_EQ(out.size(), newer.size() - 4);  // one member (the record's) instead of two
    EXPECT_EQ(ByteReader(out).ReadU32(28), 5u);
    EXPECT_EQ(ByteReader(out).ReadU32(out.size() - 4), 0xDDDDDDDDu);
    EXPECT_EQ(Read(out).members, h.members);
}

}  // namespace
}  // namespace qh
