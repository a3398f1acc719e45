// The family-ties resource as the game lays it out: a header word, the number of sim blocks, and
// per sim its id (u16), a word, the number of ties and the ties (u32 type, u16 related id).
#include "family/family_tie.h"

#include <gtest/gtest.h>

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

TEST(FamilyTies, ReadsEveryTieInOrderAndWritesTheResourceBackAsItWas) {
    const Bytes stored = Resource(1, {{0x10, 1, {{2, 0x11}, {4, 0x12}, {4, 0x13}}},
                                      {0x12, 1, {{0, 0x10}, {3, 0x13}}},
                                      {0x7FFF, 1, {}}});
    FamilyTiesWords words;
    const auto ties = ReadFamilyTies(stored, words);
    ASSERT_EQ(ties.size(), 5u);
    EXPECT_EQ(ties[0], (FamilyTie{0x10, 2, 0x11}));
    EXPECT_EQ(ties[3], (FamilyTie{0x12, 0, 0x10}));
    // A sim block without ties has nothing to write: the block goes, everything else stays.
    EXPECT_EQ(WriteFamilyTies(ties, words), Resource(1, {{0x10, 1, {{2, 0x11}, {4, 0x12}, {4, 0x13}}},
                                                         {0x12, 1, {{0, 0x10}, {3, 0x13}}}}));
    EXPECT_EQ(FamilyTieName(kSpouseTie), "spouse");
    EXPECT_EQ(FamilyTieName(9), "");
}

TEST(FamilyTies, BlocksAreWrittenInFirstAppearanceOrderWithTheWordsAsRead) {
    // Blocks out of order, one sim in two blocks, words that are not 1.
    const Bytes stored = Resource(7, {{0x20, 5, {{4, 0x21}}}, {0x21, 6, {{0, 0x20}}}, {0x20, 9, {{2, 0x22}}}});
    FamilyTiesWords words;
    auto ties = ReadFamilyTies(stored, words);
    ties.push_back({0x22, 2, 0x20});  // a sim with no block of its own yet
    std::rotate(ties.begin(), ties.begin() + 1, ties.end());  // 0x21's tie first now
    EXPECT_EQ(WriteFamilyTies(ties, words), Resource(7, {{0x21, 6, {{0, 0x20}}},
                                                         {0x20, 5, {{2, 0x22}, {4, 0x21}}},
                                                         {0x22, 1, {{2, 0x20}}}}));
}

TEST(FamilyTies, DamageIsRefusedWithoutPartialTies) {
    FamilyTiesWords words;
    Bytes truncated = Resource(1, {{0x10, 1, {{2, 0x11}, {4, 0x12}}}});
    truncated.resize(truncated.size() - 3);
    EXPECT_THROW(ReadFamilyTies(truncated, words), FormatError);
    Bytes huge = Resource(1, {});
    huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0x7F;  // two billion sims
    EXPECT_THROW(ReadFamilyTies(huge, words), FormatError);
    Bytes manyTies = Resource(1, {{0x10, 1, {}}});
    manyTies[14] = 0xFF, manyTies[15] = 0xFF;  // a block claiming 65535 ties
    EXPECT_THROW(ReadFamilyTies(manyTies, words), FormatError);
    EXPECT_TRUE(ReadFamilyTies(Resource(1, {}), words).empty());
}

}  // namespace
}  // namespace qh
