// The family-ties resource as the game lays it out: a header word, the number of sim blocks, and
// per sim its id (u16), a word, the number of ties and the ties (u32 type, u16 related id).
#include "family/family_tie.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/errors.h"

namespace qh {
namespace {

struct Block {
    std::uint16_t sim;
    std::uint32_t word;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> ties;
};

Bytes Resource(std::uint32_t header, const std::vector<Block>& blocks) {
    Bytes out;
    auto u16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    u32(header);
    u32(static_cast<std::uint32_t>(blocks.size()));
    for (const Block& block : blocks) {
        u16(block.sim);
        u32(block.word);
        u32(static_cast<std::uint32_t>(block.ties.size()));
        for (auto [type, related] : block.ties) {
            u32(type);
            u16(related);
        }
    }
    return out;
}

// Ties as laid out in the test's own table, read in order; a tree the writer would lay out the same
// way is explained, and written unchanged it is the stored bytes.
TEST(FamilyTies, ReadsEveryTieInOrderAndAnUnchangedTreeIsWrittenAsItWas) {
    const Bytes stored = Resource(1, {{0x10, 1, {{2, 0x11}, {4, 0x12}, {4, 0x13}}}, {0x12, 7, {{0, 0x10}, {3, 0x13}}}});
    std::vector<FamilyTie> ties;
    ReadFamilyTies(stored, ties);
    ASSERT_EQ(ties.size(), 5u);
    EXPECT_EQ(ties[0], (FamilyTie{0x10, 2, 0x11}));
    EXPECT_EQ(ties[3], (FamilyTie{0x12, 0, 0x10}));
    EXPECT_TRUE(FamilyTiesExplained(stored));
    Bytes out{0xAA};  // appended after what is there
    WriteFamilyTies(stored, ties, out);
    ASSERT_EQ(out.size(), stored.size() + 1);
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), out.begin() + 1));
    EXPECT_EQ(FamilyTieName(kSpouseTie), "spouse");
    EXPECT_EQ(FamilyTieName(9), "");
}

// Layouts the game or another tool may leave that the writer would not make: each is read, but
// not explained, so nothing rewrites it; unchanged ties still give its own bytes.
TEST(FamilyTies, LayoutsTheWriterWouldNotMakeAreNotExplained) {
    const std::vector<Block> plain = {{0x10, 1, {{2, 0x11}}}, {0x11, 1, {{2, 0x10}}}};
    Bytes trailing = Resource(1, plain);
    trailing.push_back(0);
    Bytes countShort = Resource(1, plain);
    countShort[4] = 1;  // one block fewer than the bytes hold
    const Bytes emptyBlock = Resource(1, {{0x10, 1, {{2, 0x11}}}, {0x12, 1, {}}, {0x11, 1, {{2, 0x10}}}});
    const Bytes split = Resource(1, {{0x10, 1, {{2, 0x11}}}, {0x11, 1, {{2, 0x10}}}, {0x10, 1, {{4, 0x12}}}});
    for (const Bytes* stored : std::initializer_list<const Bytes*>{&trailing, &countShort, &emptyBlock, &split}) {
        EXPECT_FALSE(FamilyTiesExplained(*stored));
        std::vector<FamilyTie> ties;
        ReadFamilyTies(*stored, ties);
        Bytes out;
        WriteFamilyTies(*stored, ties, out);
        EXPECT_EQ(out, *stored);
    }
    EXPECT_TRUE(FamilyTiesExplained(Resource(1, plain)));
    EXPECT_TRUE(FamilyTiesExplained(Resource(1, {})));
}

// A changed tree: blocks in order of each sim's first tie, with the header and block words of the
// stored resource (1 for a sim that had none).
TEST(FamilyTies, AChangedTreeKeepsTheStoredWords) {
    const Bytes stored = Resource(7, {{0x20, 5, {{4, 0x21}}}, {0x21, 6, {{0, 0x20}}}});
    std::vector<FamilyTie> ties;
    ReadFamilyTies(stored, ties);
    ties.push_back({0x20, 2, 0x22});
    ties.push_back({0x22, 2, 0x20});  // a sim with no block of its own yet
    std::rotate(ties.begin(), ties.begin() + 1, ties.end());  // 0x21's tie first now
    Bytes out;
    WriteFamilyTies(stored, ties, out);
    EXPECT_EQ(out, Resource(7, {{0x21, 6, {{0, 0x20}}}, {0x20, 5, {{2, 0x22}, {4, 0x21}}}, {0x22, 1, {{2, 0x20}}}}));
}

TEST(FamilyTies, DamageIsRefusedWithoutPartialTies) {
    std::vector<FamilyTie> ties{{1, 2, 3}};
    Bytes truncated = Resource(1, {{0x10, 1, {{2, 0x11}, {4, 0x12}}}});
    truncated.resize(truncated.size() - 3);
    EXPECT_THROW(ReadFamilyTies(truncated, ties), FormatError);
    EXPECT_EQ(ties.size(), 1u);
    EXPECT_FALSE(FamilyTiesExplained(truncated));
    Bytes out;
    EXPECT_THROW(WriteFamilyTies(truncated, ties, out), FormatError);
    Bytes huge = Resource(1, {});
    huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0x7F;  // two billion sims
    EXPECT_THROW(ReadFamilyTies(huge, ties), FormatError);
    Bytes manyTies = Resource(1, {{0x10, 1, {}}});
    manyTies[14] = 0xFF, manyTies[15] = 0xFF;  // a block claiming 65535 ties
    EXPECT_THROW(ReadFamilyTies(manyTies, ties), FormatError);
    ReadFamilyTies(Resource(1, {}), ties);
    EXPECT_TRUE(ties.empty());
}

}  // namespace
}  // namespace qh
