// The character selector's labels, order and renaming.
#include "workspace/character_list.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

Character Sim(std::string first, std::string last, std::string file) {
    Character sim;
    sim.firstName = std::move(first);
    sim.lastName = std::move(last);
    sim.packageFile = std::move(file);
    return sim;
}

TEST(CharacterList, LabelsInTheThreeFormatsAndTheirCycle) {
    const Character sim = Sim("  Ana ", "Moreno", "N001_User00012.package");
    EXPECT_EQ(CharacterListText(sim, SortOrder::First), "Ana Moreno : N001_User00012");
    EXPECT_EQ(CharacterListText(sim, SortOrder::Last), "Moreno, Ana : N001_User00012");
    EXPECT_EQ(CharacterListText(sim, SortOrder::File), "N001_User00012 : Moreno, Ana");
    // Three presses of "Sort" come back to where they started.
    SortOrder order = SortOrder::First;
    for (SortOrder expected : {SortOrder::File, SortOrder::Last, SortOrder::First}) {
        order = NextSortOrder(order);
        EXPECT_EQ(order, expected);
    }
}

TEST(CharacterList, OrderByLabelLetterCaseAsideEqualLabelsInLoadOrder) {
    Workspace ws;
    ws.characters = {Sim("zed", "A", "N001_User00003.package"), Sim("Bea", "C", "N001_User00001.package"),
                     Sim("ann", "B", "N001_User00002.package"), Sim("Bea", "C", "N001_User00001.package")};
    EXPECT_EQ(SimListOrder(ws, SortOrder::First), (std::vector<std::size_t>{2, 1, 3, 0}));
    EXPECT_EQ(SimListOrder(ws, SortOrder::Last), (std::vector<std::size_t>{0, 2, 1, 3}));
    EXPECT_EQ(SimListOrder(ws, SortOrder::File), (std::vector<std::size_t>{1, 3, 2, 0}));
    EXPECT_TRUE(SimListLess(ws, SortOrder::First, 1, 3));   // equal labels: load order
    EXPECT_FALSE(SimListLess(ws, SortOrder::First, 3, 1));
    // The model itself stays in load order.
    EXPECT_EQ(ws.characters[0].firstName, "zed");
}

TEST(CharacterList, RenameStoresTheTypedBytesAndMarksTheSim) {
    Character sim = Sim("Pablo", "Moreno", "N001_User00013.package");
    RenameSim(sim, NameField::First, "Z\xC3\xA9");
    EXPECT_EQ(sim.firstName, "Z\xC3\xA9");
    EXPECT_EQ(sim.lastName, "Moreno");
    EXPECT_EQ(sim.dirty, 1);
    RenameSim(sim, NameField::Last, "");
    EXPECT_EQ(CharacterListText(sim, SortOrder::Last), ", Z\xC3\xA9 : N001_User00013");
}

TEST(CharacterList, LookupsFindEachSimAfterAnyChangeOfTheList) {
    Workspace ws;
    ws.characters = {Sim("a", "", "A.package"), Sim("b", "", "B.package"), Sim("c", "", "C.package")};
    for (std::size_t i = 0; i < 3; ++i) {
        ws.characters[i].instanceId = static_cast<std::uint32_t>(10 + i);
        ws.characters[i].simGuid = GuidFromValue(static_cast<std::uint32_t>(100 + i));
    }
    ws.characters[2].instanceId = 0;  // no description: never found by instance
    IndexSims(ws);
    EXPECT_EQ(FindSimByInstance(ws, 11), &ws.characters[1]);
    EXPECT_EQ(FindSimByInstance(ws, 0), nullptr);
    EXPECT_EQ(FindSimByGuid(ws, GuidFromValue(102)), &ws.characters[2]);
    EXPECT_EQ(FindSimByFile(ws, "b"), std::optional<std::size_t>(1));
    EXPECT_EQ(FindSimByFile(ws, "C.PACKAGE"), std::optional<std::size_t>(2));
    ws.characters.erase(ws.characters.begin());
    IndexSims(ws);
    EXPECT_EQ(FindSimByInstance(ws, 11), &ws.characters[0]);
    EXPECT_EQ(FindSimByInstance(ws, 10), nullptr);
}

}  // namespace
}  // namespace qh
