#include "workspace/neighborhood_data.h"

#include <gtest/gtest.h>

#include "fixture/sim_builders.h"
#include "platform/errors.h"

namespace qh {
namespace {

NeighborhoodItem Item(std::uint32_t owner, std::uint32_t guid, std::uint8_t secondary, std::vector<std::uint16_t> values,
                      std::uint32_t word = 0x301) {
    NeighborhoodItem item;
    item.owner = owner;
    item.ownerWord = word;
    item.itemGuid = guid;
    item.secondary = secondary;
    item.flags1 = 1;
    item.values = std::move(values);
    return item;
}

fixture::NeighborhoodDataPlan Layout(std::uint32_t version) {
    fixture::NeighborhoodDataPlan layout;
    layout.version = version;
    layout.neighborhoodItems = {Item(0, 0xAAAA, 1, {1, 2, 3})};
    // Twelve values: more than an item holds in place.
    layout.lotItems = {Item(1, 0x1111, 1, {9}), Item(2, 0x2222, 1, {}),
                       Item(3, 0x3333, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xFFFF})};
    layout.familyItems = {Item(7, 0x7777, 1, {4, 4})};
    layout.simItems = {Item(0x10, 0x2CCF9BED, 1, {8, 8, 0, 0, 0}), Item(0x10, 0xCC20426A, 0, {1, 7}),
                     Item(0x11, 0x505FDC28, 1, {500, 0})};
    if (version < 190) {
        for (auto* list : {&layout.lotItems, &layout.familyItems, &layout.simItems}) {
            for (auto& item : *list) item.ownerWord = layout.defaultOwnerWord;
        }
    }
    return layout;
}

TEST(ItemValues, ListsHeldInPlaceAndOnTheHeapBehaveAlike) {
    for (const std::size_t length : {0u, 3u, 8u, 9u, 40u}) {
        SCOPED_TRACE(length);
        std::vector<std::uint16_t> expected;
        ItemValues values;
        for (std::size_t i = 0; i < length; ++i) {
            expected.push_back(static_cast<std::uint16_t>(0x100 + i));
            values.push_back(static_cast<std::uint16_t>(0x100 + i));
        }
        EXPECT_EQ(values, expected);
        EXPECT_EQ(values.ToVector(), expected);

        // A copy is a list of its own; a moved list leaves its source empty.
        ItemValues copy = values;
        copy.push_back(7);
        EXPECT_EQ(values, expected);
        ASSERT_EQ(copy.size(), length + 1);
        EXPECT_EQ(copy[length], 7);
        ItemValues moved = std::move(copy);
        EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): left empty on purpose
        EXPECT_EQ(moved.size(), length + 1);
        moved = values;
        EXPECT_EQ(moved, values);
        moved = moved;  // NOLINT(misc-redundant-expression): assigned to itself, unchanged
        EXPECT_EQ(moved, expected);
        copy = std::move(moved);
        EXPECT_EQ(copy, expected);

        // Growing fills with the value given, shrinking keeps the first ones, growing again
        // fills once more rather than bringing the old values back.
        ItemValues sized = values;
        sized.resize(length + 10, 0xABCD);
        std::vector<std::uint16_t> grown = expected;
        grown.resize(length + 10, 0xABCD);
        EXPECT_EQ(sized, grown);
        sized.resize(length / 2);
        sized.resize(length / 2 + 3);
        std::vector<std::uint16_t> again(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(length / 2));
        again.resize(length / 2 + 3, 0);
        EXPECT_EQ(sized, again);

        // Read from the file's little-endian words.
        std::vector<std::uint8_t> bytes;
        for (std::uint16_t v : expected) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
        ItemValues read = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        read.AssignLittleEndian(bytes.data(), length);
        EXPECT_EQ(read, expected);
        EXPECT_THROW((void)read.at(length), std::out_of_range);
    }
    EXPECT_FALSE((ItemValues{1, 2} == ItemValues{1, 2, 0}));
    EXPECT_FALSE((ItemValues{1, 2} == std::vector<std::uint16_t>{1, 3}));
}

TEST(NeighborhoodData, ItemLayoutsByVersion) {
    EXPECT_EQ(NeighborhoodItemSize(189, 3), 6u + 4 + 6);
    EXPECT_EQ(NeighborhoodItemSize(203, 3), 14u + 4 + 6);
    for (std::uint32_t version : {180u, 189u, 190u, 194u, 203u}) {
        SCOPED_TRACE(version);
        const auto layout = Layout(version);
        const Bytes bytes = fixture::NeighborhoodDataBytes(layout);
        Workspace ws;
        ReadNeighborhoodData(bytes, ws);
        EXPECT_EQ(ws.lotItemList, layout.lotItems);
        EXPECT_EQ(ws.familyItemList, layout.familyItems);
        // Items are read back grouped by owner, first list first.
        std::vector<NeighborhoodItem> sims = {layout.simItems[1], layout.simItems[0], layout.simItems[2]};
        EXPECT_EQ(ws.simItemList, sims);
        ASSERT_TRUE(ws.neighborhoodData);
        EXPECT_EQ(ws.neighborhoodData->restLength, layout.rest.size());
    }
}

TEST(NeighborhoodData, RewritingTheSimsSectionKeepsEverythingElse) {
    for (std::uint32_t version : {189u, 203u}) {
        SCOPED_TRACE(version);
        const Bytes stored = fixture::NeighborhoodDataBytes(Layout(version));
        Workspace ws;
        ReadNeighborhoodData(stored, ws);
        const Bytes once = WriteNeighborhoodData(stored, ws.simItemList);
        EXPECT_EQ(once, stored);
        const Bytes twice = WriteNeighborhoodData(once, ws.simItemList);
        EXPECT_EQ(twice, stored);

        // A new sim's first item makes a new owner block at the end; removing a sim's only items
        // removes its block.
        std::vector<NeighborhoodItem> items = ws.simItemList;
        items.erase(std::remove_if(items.begin(), items.end(), [](auto& i) { return i.owner == 0x11; }), items.end());
        items.push_back(Item(0x20, 0x12345678, 1, {5}, version < 190 ? 0x301 : 0x999));
        const Bytes changed = WriteNeighborhoodData(twice, items);
        const NeighborhoodDataLayout layout = ReadNeighborhoodLayout(changed);
        Workspace back;
        ReadNeighborhoodData(changed, back);
        EXPECT_EQ(back.lotItemList, ws.lotItemList);
        EXPECT_EQ(back.familyItemList, ws.familyItemList);
        ASSERT_EQ(back.simItemList.size(), 3u);
        EXPECT_EQ(back.simItemList.back().owner, 0x20u);
        EXPECT_TRUE(std::none_of(back.simItemList.begin(), back.simItemList.end(), [](auto& i) { return i.owner == 0x11; }));
        EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(layout.simsSectionStart),
                               changed.begin()));
        EXPECT_TRUE(std::equal(stored.end() - 6, stored.end(), changed.end() - 6));
        EXPECT_EQ(layout.simsSectionEnd, changed.size() - 6);
    }
}

TEST(NeighborhoodData, EachOwnersItemsAreGatheredInTheOrderTheyCame) {
    // Items edited in memory may stand in any order; the resource holds one block per owner, in
    // the order of the owners' first items, with the first list's items before the second's.
    auto plan = Layout(203);
    const NeighborhoodItem a1 = Item(0x10, 0xA1, 0, {1}), a2 = Item(0x10, 0xA2, 1, {2, 2}), a3 = Item(0x10, 0xA3, 0, {});
    const NeighborhoodItem b1 = Item(0x30, 0xB1, 1, {3}, 0x555), c1 = Item(0x11, 0xC1, 0, {4});
    plan.simItems = {a1, a3, a2, b1, c1};
    const Bytes expected = fixture::NeighborhoodDataBytes(plan);
    const std::vector<NeighborhoodItem> scattered = {a2, b1, a1, c1, a3};
    EXPECT_EQ(WriteNeighborhoodData(expected, scattered), expected);
}

TEST(NeighborhoodData, MalformedResourcesThrow) {
    Bytes bytes = fixture::NeighborhoodDataBytes(Layout(203));
    Workspace ws;
    Bytes truncated(bytes.begin(), bytes.end() - 20);
    truncated.resize(truncated.size());
    // Cut inside the sims' section.
    Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() - 12));
    EXPECT_THROW(ReadNeighborhoodData(cut, ws), FormatError);
    Bytes huge = bytes;
    huge[20] = 0xFF, huge[21] = 0xFF, huge[22] = 0xFF, huge[23] = 0x7F;
    EXPECT_THROW(ReadNeighborhoodData(huge, ws), FormatError);
    EXPECT_THROW(WriteNeighborhoodData(cut, {}), FormatError);
}

TEST(NeighborhoodData, ItemsAreWrittenOntoTheResourceAsItIsNowNotAsItWasLoaded) {
    // Loaded from one version of the file; the game then saved one with a lot item more, which
    // moves the sims' section. The edit must land on the new bytes, and the new lot item stay.
    auto loadedLayout = Layout(203);
    const Bytes loaded = fixture::NeighborhoodDataBytes(loadedLayout);
    Workspace ws;
    ReadNeighborhoodData(loaded, ws);
    auto newerLayout = loadedLayout;
    newerLayout.lotItems.push_back(Item(0x3, 0xABCDEF01, 1, {1, 2, 3, 4}, 0x301));
    const Bytes newer = fixture::NeighborhoodDataBytes(newerLayout);
    std::vector<NeighborhoodItem> items = ws.simItemList;
    items.front().values = {42};
    const Bytes written = WriteNeighborhoodData(newer, items);
    Workspace back;
    ReadNeighborhoodData(written, back);
    EXPECT_EQ(back.lotItemList, newerLayout.lotItems);
    EXPECT_EQ(back.simItemList, items);
    EXPECT_TRUE(std::equal(newer.end() - 6, newer.end(), written.end() - 6));
}

}  // namespace
}  // namespace qh
