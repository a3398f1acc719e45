// A sim's items in the neighborhood data: the dead mark, new items' owner word, the data panel's
// raw edits and rows.
#include <gtest/gtest.h>

#include "workspace/sim_items.h"

namespace qh {
namespace {

TEST(DeadMark, AddsOnceAndRemovesOnlyThatSimsMarks) {
    Workspace ws;
    Character a;
    a.instanceId = 1;
    Character b;
    b.instanceId = 2;
    AddSimItem(ws, b, kDeadMarkGuid, 1, {8, 8, 0, 0, 0}).ownerWord = 0x301;
    EXPECT_TRUE(SetDeadMark(ws, a, true));
    EXPECT_FALSE(SetDeadMark(ws, a, true));
    ASSERT_EQ(ws.simItemList.size(), 2u);
    EXPECT_EQ(ws.simItemList[1].ownerWord, 0x301u);  // the list's first item's word
    EXPECT_EQ(ws.simItemList[1].values, (std::vector<std::uint16_t>{8, 8, 0, 0, 0}));
    AddSimItem(ws, a, kDeadMarkGuid, 1, {});
    a.lingeringNumber = 3;
    a.ghostFlags = 4;
    SetDeadMark(ws, a, false);
    EXPECT_FALSE(IsDead(ws, a));
    EXPECT_TRUE(IsDead(ws, b));
    EXPECT_EQ(a.lingeringNumber, 0);
    EXPECT_EQ(a.ghostFlags, 0);
}

TEST(SimItems, OwnerWordOfANewItemWithNoItemsIsTheDefaultWord) {
    Workspace ws;
    Character sim;
    sim.instanceId = 5;
    EXPECT_EQ(NewItemOwnerWord(ws), 0u);
    ws.neighborhoodData = NeighborhoodDataLayout{};
    ws.neighborhoodData->defaultOwnerWord = 0x1234;
    EXPECT_EQ(AddSimItem(ws, sim, 0xABCD, 0, {1}).ownerWord, 0x1234u);
    EXPECT_EQ(RemoveSimItems(ws, sim, 0xABCD), 1u);
    EXPECT_EQ(RemoveSimItems(ws, sim, 0xABCD), 0u);
}

TEST(SimItems, RawEditsOfTheDataPanel) {
    Workspace ws;
    ws.neighborhoodData = NeighborhoodDataLayout{};
    ws.neighborhoodData->defaultOwnerWord = 0x301;
    Character sim;
    sim.instanceId = 9;
    NeighborhoodItem fields;
    fields.owner = 1234;  // ignored: a new item is the sim's
    fields.itemGuid = 0xABC;
    fields.flags2 = 5;
    fields.padding = 6;
    fields.values = {1, 2};
    NeighborhoodItem& added = AddSimItemCopy(ws, sim, fields);
    EXPECT_EQ(added.owner, 9u);
    EXPECT_EQ(added.ownerWord, 0x301u);
    EXPECT_EQ(added.flags2, 5);
    EXPECT_EQ(added.padding, 6);
    sim.dirty = 0;
    NeighborhoodItem partial = added;
    partial.itemGuid = 0xDEF;
    ReplaceItem(ws.simItemList[0], partial, sim, false);
    EXPECT_EQ(ws.simItemList[0].itemGuid, 0xDEFu);
    EXPECT_EQ(sim.dirty, 0);
    EraseItem(ws.simItemList, 5, sim);  // out of range: nothing
    EXPECT_EQ(ws.simItemList.size(), 1u);
    EraseItem(ws.simItemList, 0, sim);
    EXPECT_TRUE(ws.simItemList.empty());
    EXPECT_EQ(sim.dirty, 1);
}

TEST(DataPanelRows, OrderedByListAndFlagsWithTheGamesOwnItemsLeftOut) {
    Workspace ws;
    Character sim;
    sim.instanceId = 7;
    Character other;
    other.instanceId = 8;
    AddSimItem(ws, sim, 0xA, 1, {});              // 0: second list, flags 0
    AddSimItem(ws, sim, 0xB, 0, {}, 1);           // 1: first list, flags 1
    AddSimItem(ws, sim, 0xC, 0, {}, 2);           // 2: flags 2: not listed
    AddSimItem(ws, sim, 0xD, 0, {}, 100);         // 3: above 99: not listed
    AddSimItem(ws, sim, 0xE, 0, {}, 0);           // 4: first list, flags 0
    AddSimItem(ws, other, 0xA, 0, {});            // another sim's
    AddSimItem(ws, sim, 0xF, 0, {}, 0);           // 6: no catalogue object: not listed
    const std::vector<OBJd> catalogue = {{0xA, "A"}, {0xB, "B"}, {0xC, "C"}, {0xD, "D"}, {0xE, "E"}, {0xE, "E too"}};
    const auto rows = DataPanelRows(ws, sim, catalogue);
    std::vector<std::pair<std::size_t, std::string>> got;
    for (const auto& row : rows) got.emplace_back(row.item, row.name);
    const std::vector<std::pair<std::size_t, std::string>> want = {{4, "E"}, {4, "E too"}, {1, "B"}, {0, "A"}};
    EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace qh
