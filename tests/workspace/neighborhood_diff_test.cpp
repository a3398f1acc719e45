#include "workspace/neighborhood_diff.h"

#include <gtest/gtest.h>

#include "package/guid.h"
#include "support/demo_session.h"
#include "workspace/family_tree.h"
#include "workspace/households.h"
#include "workspace/relationships.h"
#include "workspace/sim_items.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The demo valley as it was (a copy of its folder) and as a save made it.
struct Diffed : ::testing::Test {
    test::Session s;
    test::TempDir copies;
    fs::path before = copies.path() / "N001 before";
    GameEnvironment env;
    void SetUp() override { fs::copy(s.ws.neighborhoodFolder, before, fs::copy_options::recursive); }
    NeighborhoodDiff Diff() {
        Workspace was;
        LoadNeighborhoodFolder(was, before, 1, s.reporter);
        Workspace now;
        LoadNeighborhoodFolder(now, s.ws.neighborhoodFolder, 1, s.reporter);
        return DiffNeighborhoods(was, now, env);
    }
    static const std::vector<std::string>* Of(const std::vector<DiffGroup>& groups, const std::string& who) {
        for (const DiffGroup& g : groups) {
            if (g.who.rfind(who, 0) == 0) return &g.changes;
        }
        return nullptr;
    }
    static bool Has(const std::vector<std::string>* lines, const std::string& line) {
        return lines && std::find(lines->begin(), lines->end(), line) != lines->end();
    }
};

TEST_F(Diffed, AnUnchangedPairGivesNothing) {
    const NeighborhoodDiff diff = Diff();
    EXPECT_TRUE(diff.Empty()) << (diff.sims.empty() ? std::string() : diff.sims[0].who + ": " + diff.sims[0].changes[0]);
    // A save with no edit changes nothing either, not even what no reader interprets.
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_TRUE(Diff().Empty());
}

TEST_F(Diffed, EachKindOfChangeInThePlayersWords) {
    Character& marta = s.Sim("Marta");
    Character& owen = s.Sim("Owen");
    Character& lily = s.Sim("Lily");
    Character& ana = s.Sim("Ana");
    lily.lifeStage = 16;  // grew up
    lily.cookingSkill = static_cast<std::int16_t>(lily.cookingSkill + 300);
    lily.dirty = 1;
    marta.jobLevel = static_cast<std::int16_t>(marta.jobLevel + 1);  // promoted
    marta.dirty = 1;
    SetDeadMark(s.ws, owen, true);
    Household& harts = s.ws.households[0];
    harts.funds += 1000;
    harts.householdDirty = 1;
    const auto anaIndex = static_cast<std::size_t>(&ana - s.ws.characters.data());
    const auto pabloIndex = static_cast<std::size_t>(&s.Sim("Pablo") - s.ws.characters.data());
    ASSERT_TRUE(ChangeFamilyTie(s.ws, anaIndex, FamilySlot::Spouse, pabloIndex));
    const auto pair = RelationshipsBetween(s.ws, static_cast<std::uint16_t>(marta.instanceId), static_cast<std::uint16_t>(owen.instanceId));
    ASSERT_FALSE(pair.empty());
    s.ws.relationshipList[pair[0]].longTerm += 40;
    ASSERT_TRUE(s.Save().Complete());
    // A resource no reader interprets, changed by another program.
    test::RewritePackage(s.ws.packagePath, [](const IndexEntry& e, Bytes& b) {
        if (e.key.typeId == kObjectDefinitionType && !b.empty()) b[b.size() - 1] ^= 0xFF;
    }, {{{0x12345678, 1, 2, 0}, Bytes(8, 1)}});

    const NeighborhoodDiff diff = Diff();
    const auto* lilyLines = Of(diff.sims, "Lily Hart");
    EXPECT_TRUE(Has(lilyLines, "life stage: child \u2192 teen"));
    ASSERT_NE(lilyLines, nullptr);
    EXPECT_NE(std::find_if(lilyLines->begin(), lilyLines->end(), [](const std::string& l) { return l.rfind("Cooking: ", 0) == 0; }),
              lilyLines->end());
    const auto* martaLines = Of(diff.sims, "Marta Hart");
    ASSERT_NE(martaLines, nullptr);
    EXPECT_NE(std::find_if(martaLines->begin(), martaLines->end(), [](const std::string& l) { return l.rfind("promoted: ", 0) == 0; }),
              martaLines->end());
    EXPECT_NE(std::find_if(martaLines->begin(), martaLines->end(),
                           [](const std::string& l) { return l.rfind("lifetime relationship to Owen Hart: ", 0) == 0; }),
              martaLines->end());
    EXPECT_TRUE(Has(Of(diff.sims, "Owen Hart"), "died"));
    const auto* anaLines = Of(diff.sims, "Ana Moreno");
    EXPECT_TRUE(Has(anaLines, "spouse: Jonas Lindqvist \u2192 Pablo Moreno")) << (anaLines ? ::testing::PrintToString(*anaLines) : "none");
    const auto* hartsLines = Of(diff.households, HouseholdLabel(harts));
    ASSERT_NE(hartsLines, nullptr);
    EXPECT_EQ(hartsLines->front().rfind("funds: ", 0), 0u);
    EXPECT_EQ(diff.unreadChanged, 1u) << "the resource another program added";
    EXPECT_TRUE(Of(diff.sims, "Rosie Hart") == nullptr) << "an untouched sim is not listed";
}

TEST_F(Diffed, ASimGoneAndAFolderWithoutANeighborhood) {
    fs::remove(s.PackageOf(s.Sim("Rosie")));
    const NeighborhoodDiff diff = Diff();
    EXPECT_TRUE(Has(Of(diff.sims, "Rosie Hart"), "gone: no longer in the neighborhood"));
    Workspace none;
    EXPECT_THROW(LoadNeighborhoodFolder(none, copies.path(), 1, s.reporter), IoError);
}

}  // namespace
}  // namespace qh
