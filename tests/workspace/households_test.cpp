// The households' rules: lookups, labels, members, funds and moving a sim in.
#include "workspace/households.h"

#include <gtest/gtest.h>

#include "character/character_rules.h"

namespace qh {
namespace {

struct Town {
    Workspace ws;
    Town() {
        for (std::uint32_t i = 1; i <= 4; ++i) {
            Character sim;
            sim.instanceId = 0x10 + i;
            sim.simGuid = GuidFromValue(0x7E000000 + i);
            sim.familyNumber = static_cast<std::int16_t>(i <= 2 ? 1 : i == 3 ? 2 : 0);
            sim.firstName = "Sim" + std::to_string(i);
            ws.characters.push_back(sim);
        }
        IndexSims(ws);
        Household a;
        a.instanceId = 1;
        a.lotInstance = 5;
        a.members = {GuidFromValue(0x7E000001), GuidFromValue(0x7E000002)};
        a.householdName = "  Zebra House ";
        a.hasTextList = true;
        Household b;
        b.instanceId = 2;
        b.lotInstance = 12;
        b.members = {GuidFromValue(0x7E000003), GuidFromValue(0x7E0000FF)};  // the second matches no sim
        ws.households = {a, b};
        IndexHouseholds(ws);
    }
    Household& A() { return ws.households[0]; }
    Household& B() { return ws.households[1]; }
};

TEST(Households, LabelsOrderAndTheSimsHousehold) {
    Town t;
    EXPECT_EQ(HouseholdLabel(t.A()), "Zebra House");
    EXPECT_EQ(HouseholdLabel(t.B()), "12");  // no text list: the lot number
    EXPECT_EQ(HouseholdOrder(t.ws), (std::vector<std::size_t>{1, 0}));
    EXPECT_EQ(HouseholdOfSim(t.ws, t.ws.characters[2]), std::optional<std::size_t>(1));
    EXPECT_EQ(HouseholdOfSim(t.ws, t.ws.characters[3]), std::nullopt);
    EXPECT_EQ(FindHousehold(t.ws, 2), &t.B());
    EXPECT_EQ(FindHousehold(t.ws, 9), nullptr);
    EXPECT_EQ(HouseholdMembers(t.ws, t.A()), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(HouseholdMembers(t.ws, t.B()), (std::vector<std::size_t>{2}));
}

TEST(Households, ALotIsFoundFromTheEndOfTheList) {
    Town t;
    t.ws.lotDescList = {{5, "a.package", 0, "First", ""}, {5, "b.package", 1, "Second", ""}};
    ASSERT_NE(HouseholdLot(t.ws, t.A()), nullptr);
    EXPECT_EQ(HouseholdLot(t.ws, t.A())->lotName, "Second");
    EXPECT_EQ(HouseholdLot(t.ws, t.B()), nullptr);
}

TEST(Households, MovingFromAToBMarksBothAndTheSim) {
    Town t;
    Character& sim = t.ws.characters[0];
    MoveIn(t.ws, sim, t.B());
    EXPECT_EQ(t.A().members, (std::vector<Guid4>{GuidFromValue(0x7E000002)}));
    EXPECT_EQ(t.B().members.back(), sim.simGuid);
    EXPECT_EQ(t.A().householdDirty, 1);
    EXPECT_EQ(t.B().householdDirty, 1);
    EXPECT_EQ(sim.familyNumber, 2);
    EXPECT_EQ(sim.dirty, 1);
}

TEST(Households, MovingAMemberInAgainPutsItLast) {
    Town t;
    MoveIn(t.ws, t.ws.characters[0], t.A());
    EXPECT_EQ(t.A().members, (std::vector<Guid4>{GuidFromValue(0x7E000002), GuidFromValue(0x7E000001)}));
    EXPECT_EQ(t.B().householdDirty, 0);  // lost nothing
    // A household whose instance is past 16 bits: the sim keeps its low 16 bits.
    t.B().instanceId = 0x12345;
    MoveIn(t.ws, t.ws.characters[3], t.B());
    EXPECT_EQ(static_cast<std::uint16_t>(t.ws.characters[3].familyNumber), 0x2345);
}

// Move In's refusals: advanced mode only, a household with members, not the sim's own; and not
// a sim whose own household could not be read (it would go on listing the sim, who would then
// belong to two households after a save).
TEST(Households, MoveInIsRefusedWhereTheMoveCouldNotBeSavedWhole) {
    Town t;
    Character& first = t.ws.characters[0];   // of household 1
    Character& fourth = t.ws.characters[3];  // of none
    EXPECT_NE(MoveInRefusal(t.ws, first, t.B(), false).find("advanced"), std::string::npos);
    EXPECT_EQ(MoveInRefusal(t.ws, first, t.B(), true), "");
    EXPECT_NE(MoveInRefusal(t.ws, first, t.A(), true).find("already"), std::string::npos);
    fourth.familyNumber = 7;  // a household resource 7 that could not be read
    t.ws.packagePath = "N001_Neighborhood.package";
    t.ws.unreadableHouseholds = {7};
    const std::string refusal = MoveInRefusal(t.ws, fourth, t.B(), true);
    EXPECT_NE(refusal.find("could not be read"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("N001_Neighborhood.package"), std::string::npos) << refusal;
    EXPECT_EQ(MoveInRefusal(t.ws, first, t.B(), true), "");  // other sims move as before
}

TEST(Households, FundsAreRefusedOutside32BitsAndTypedDigitsAreKept) {
    Town t;
    EXPECT_FALSE(SetHouseholdFunds(t.A(), -1).empty());
    EXPECT_FALSE(SetHouseholdFunds(t.A(), 2147483648LL).empty());
    EXPECT_EQ(t.A().householdDirty, 0);
    EXPECT_TRUE(SetHouseholdFunds(t.A(), 2147483647LL).empty());
    EXPECT_EQ(t.A().funds, 2147483647);
    // The funds box: a letter between digits becomes 0 where it stands.
    const std::u32string typed = FilterDigits(U"12a4");
    EXPECT_EQ(typed, U"1204");
    EXPECT_TRUE(SetHouseholdFunds(t.A(), static_cast<std::int64_t>(DigitNumber(typed))).empty());
    EXPECT_EQ(t.A().funds, 1204);
    t.A().householdDirty = 0;
    EXPECT_TRUE(SetHouseholdFunds(t.A(), 1204).empty());
    EXPECT_EQ(t.A().householdDirty, 0);  // the same value changes nothing
    RenameHousehold(t.A(), "  Zebra House ");
    EXPECT_EQ(t.A().householdDirty, 0);
    RenameHousehold(t.A(), "Z\xC3\xA9");  // stored as typed
    EXPECT_EQ(t.A().householdName, "Z\xC3\xA9");
    EXPECT_EQ(t.A().householdDirty, 1);
}

}  // namespace
}  // namespace qh
