#include "workspace/neighborhood_check.h"

#include <gtest/gtest.h>

#include <set>

#include "fixture/package_builder.h"
#include "package/guid.h"
#include "support/demo_session.h"
#include "workspace/family_tree.h"
#include "workspace/households.h"
#include "workspace/relationships.h"
#include "workspace/sim_removal.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The demo valley, with the checks of its model as loaded, so that each test adds one problem and
// finds exactly the findings that problem makes.
struct Checked : ::testing::Test {
    test::Session s;
    std::vector<Finding> before = CheckModel(s.ws);

    // The checks of the findings the model has now and did not have when loaded.
    std::multiset<std::string> Added() const {
        std::multiset<std::string> checks;
        for (const Finding& f : NewFindings(before, CheckModel(s.ws))) checks.insert(f.check);
        return checks;
    }
    std::vector<Finding> AddedFindings() const { return NewFindings(before, CheckModel(s.ws)); }
    Character& Sim(const std::string& first) { return s.Sim(first); }
    std::uint16_t Id(const std::string& first) { return static_cast<std::uint16_t>(Sim(first).instanceId); }
};

using Checks = std::multiset<std::string>;

TEST(NeighborhoodCheck, TheCollegeOfTheDemoIsClean) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    SilentReporter quiet;
    NullProgress progress;
    auto catalogue = ScanNeighborhoods(game.userData / "Neighborhoods", 1, quiet, progress);
    const auto college = std::find_if(catalogue.begin(), catalogue.end(), [](const Neighborhood& n) { return n.prefix == "G001"; });
    ASSERT_NE(college, catalogue.end());
    Workspace ws;
    LoadNeighborhood(ws, *college, game.userData / "Neighborhoods", {}, quiet, progress);
    ASSERT_FALSE(ws.characters.empty());
    const auto findings = CheckNeighborhood(ws);
    EXPECT_TRUE(findings.empty()) << FindingsReport(findings, "G001");
}

TEST_F(Checked, CharacterFilesAndDescriptionsAreJoinedOnTheGuid) {
    Character copy = Sim("Owen");
    copy.packageFile = "N001_User00099.package";
    s.ws.characters.push_back(copy);  // a second file of Owen's GUID
    IndexSims(s.ws);
    EXPECT_EQ(Added(), (Checks{"duplicate-character-files"}));
    s.ws.characters.pop_back();

    Character stray = Sim("Owen");
    stray.packageFile = "N001_User00098.package";
    stray.simGuid = GuidFromValue(0x0BADF00D);
    stray.instanceId = 0;
    s.ws.characters.push_back(stray);
    IndexSims(s.ws);
    EXPECT_EQ(Added(), (Checks{"character-file-without-description"}));
    s.ws.characters.pop_back();

    const auto lily = std::find_if(s.ws.characters.begin(), s.ws.characters.end(), [](auto& c) { return c.firstName == "Lily"; });
    const std::uint32_t lilyId = lily->instanceId;
    s.ws.characters.erase(lily);
    IndexSims(s.ws);
    const auto findings = AddedFindings();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].check, "description-without-character-file");
    EXPECT_NE(findings[0].subject.find(HexId(lilyId)), std::string::npos);
    EXPECT_EQ(findings[0].severity, FindingSeverity::Inconsistent);
}

TEST_F(Checked, TheCountOfCharacterFilesAgainstTheGamesLimit) {
    s.ws.characterLimit = s.ws.characters.size();
    EXPECT_EQ(Added(), Checks{});
    s.ws.characterLimit = s.ws.characters.size() - 1;
    EXPECT_EQ(Added(), (Checks{"too-many-character-files"}));
    GameEnvironment env;
    EXPECT_EQ(CharacterLimit(env), 1000u);
    env.hasNightlife = true;
    EXPECT_EQ(CharacterLimit(env), 32767u);
}

TEST_F(Checked, DuplicateIdsAndGuidsOfDescriptions) {
    StoredDescription twin = s.ws.descriptionList.front();
    twin.guid = GuidFromValue(0x12345678);
    s.ws.descriptionList.push_back(twin);  // another sim under the same id, with no file
    EXPECT_EQ(Added(), (Checks{"duplicate-sim-id", "description-without-character-file"}));
    s.ws.descriptionList.back() = {0x7700, s.ws.descriptionList.front().guid};
    EXPECT_EQ(Added(), (Checks{"duplicate-sim-guid"}));
}

TEST_F(Checked, HouseholdsMembersAndLots) {
    ASSERT_GE(s.ws.households.size(), 2u);
    Household& first = s.ws.households[0];
    Household& second = s.ws.households[1];
    ASSERT_FALSE(first.members.empty());
    second.members.push_back(first.members.front());
    EXPECT_EQ(Added(), (Checks{"sim-in-two-households"}));
    second.members.back() = GuidFromValue(0x0BADF00D);
    EXPECT_EQ(Added(), (Checks{"member-not-a-sim"}));
    second.members.pop_back();
    const std::uint32_t lot = first.lotInstance;
    first.lotInstance = 4242;
    EXPECT_EQ(Added(), (Checks{"household-lot-missing"}));
    first.lotInstance = lot;
    EXPECT_EQ(Added(), Checks{});
}

TEST_F(Checked, FamilyTies) {
    auto& ties = s.ws.familyTieList;
    const std::uint16_t owen = Id("Owen"), lily = Id("Lily"), ana = Id("Ana"), edith = Id("Edith");
    ties.push_back({ana, kFirstParentTie, edith});  // a parent without the child tie back
    EXPECT_EQ(Added(), (Checks{"tie-without-mirror"}));
    ties.push_back({edith, kChildTie, ana});
    EXPECT_EQ(Added(), Checks{}) << "mirrored";
    ties.pop_back();
    ties.pop_back();
    ties.push_back({owen, kSpouseTie, ana});
    EXPECT_EQ(Added(), (Checks{"tie-without-mirror"}));
    ties.back() = {ana, kSiblingTie, lily};
    const auto sibling = AddedFindings();
    ASSERT_EQ(sibling.size(), 1u);
    EXPECT_EQ(sibling[0].severity, FindingSeverity::Notice) << "an in-law sibling recorded one way";
    ties.back() = {owen, kSiblingTie, owen};
    EXPECT_EQ(Added(), (Checks{"own-relative"}));
    ties.back() = {owen, kSiblingTie, 0x7777};
    EXPECT_EQ(Added(), (Checks{"tie-to-missing-sim"}));
    ties.pop_back();
    // Lily's parents are Marta and Owen; Owen made a child.
    Sim("Owen").lifeStage = 2;
    const auto younger = AddedFindings();
    ASSERT_EQ(younger.size(), 1u);
    EXPECT_EQ(younger[0].check, "parent-younger-than-child");
    EXPECT_EQ(younger[0].severity, FindingSeverity::Notice);
}

TEST_F(Checked, Relationships) {
    auto& records = s.ws.relationshipList;
    const std::uint16_t owen = Id("Owen"), marta = Id("Marta");
    const auto pair = RelationshipsBetween(s.ws, owen, marta);
    const auto back = RelationshipsBetween(s.ws, marta, owen);
    ASSERT_FALSE(pair.empty());
    ASSERT_FALSE(back.empty());
    RelationshipRecord& one = records[pair[0]];
    const RelationshipRecord was = one;
    SetRelationshipFlag(one, kMarriedBit, !HasRelationshipFlag(records[back[0]], kMarriedBit));
    EXPECT_EQ(Added(), (Checks{"pair-disagrees"}));
    one = was;
    SetRelationshipFlag(one, kFamilyBit, true);
    SetRelationshipFlag(records[back[0]], kFamilyBit, true);
    one.hasFamilyRelation = 1;
    one.familyRelation = 42;
    EXPECT_EQ(Added(), (Checks{"unknown-family-relation"}));
    one.familyRelation = 1;
    EXPECT_EQ(Added(), Checks{});
    records.push_back(NewRelationshipRecord(owen, 0x7777, 0));
    EXPECT_EQ(Added(), (Checks{"relationship-to-missing-sim"}));
    records.pop_back();
    s.ws.unreadableRelationships.push_back(RelationshipInstance(owen, marta));
    EXPECT_EQ(Added(), (Checks{"relationship-unreadable"}));
}

TEST_F(Checked, ItemsOfNoSimAndUnknownCareers) {
    NeighborhoodItem item;
    item.owner = 0x7777;
    item.itemGuid = 1;
    s.ws.simItemList.push_back(item);
    s.ws.simItemList.push_back(item);
    const auto items = AddedFindings();
    ASSERT_EQ(items.size(), 1u) << "one finding per owner";
    EXPECT_EQ(items[0].check, "items-of-no-sim");
    s.ws.simItemList.resize(s.ws.simItemList.size() - 2);
    Sim("Marta").careerGuid = GuidFromValue(0xDEADBEEF);
    EXPECT_EQ(Added(), (Checks{"unknown-career"}));
    Sim("Marta").universityMajorGuid = GuidFromValue(0xDEADBEEF);
    EXPECT_EQ(Added(), (Checks{"unknown-career", "unknown-major"}));
}

// Packages as files: each fault in a package otherwise sound.
struct PackageFaults : ::testing::Test {
    test::TempDir dir;
    fs::path Write(const Bytes& bytes) { return dir.Write("x.package", bytes); }
    static Bytes Sound(bool directory = true) {
        fixture::PackageBuilder builder;
        builder.Add(fixture::Key(0x11111111, 1), std::string(400, 'a'), true);
        builder.Add(fixture::Key(0x22222222, 2), std::string(50, 'b'));
        if (directory) builder.AddDirectory();
        return builder.Build();
    }
    static std::uint32_t U32(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24; }
    static void Put(Bytes& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    Checks ChecksOf(const Bytes& bytes) {
        Checks checks;
        for (const Finding& f : CheckPackageFile(Write(bytes))) checks.insert(f.check);
        return checks;
    }
};

TEST_F(PackageFaults, EachFaultIsFoundInASoundPackage) {
    EXPECT_EQ(ChecksOf(Sound()), Checks{});
    const Bytes sound = Sound();
    const std::size_t index = U32(sound, 40);
    // 24-byte entries: type, group, instance, second instance, offset, size. Entry 2 onto entry 1's bytes.
    Bytes overlapping = sound;
    Put(overlapping, index + 24 + 16, U32(sound, index + 16) + 4);
    Put(overlapping, index + 24 + 20, 10);
    EXPECT_EQ(ChecksOf(overlapping).count("overlapping-entries"), 1u);
    // Entry 2 running past the end.
    Bytes pastEnd = sound;
    Put(pastEnd, index + 24 + 20, static_cast<std::uint32_t>(sound.size()));
    EXPECT_EQ(ChecksOf(pastEnd).count("entries-outside-file"), 1u);
    // The compressed stream's codes broken.
    Bytes undecodable = sound;
    for (std::size_t at = U32(sound, index + 16) + 9; at < U32(sound, index + 16) + 30; ++at) undecodable[at] = 0xFF;
    EXPECT_EQ(ChecksOf(undecodable).count("resources-undecodable"), 1u);
    // The directory missing while a stream is compressed.
    fixture::PackageBuilder noDirectory;
    noDirectory.Add(fixture::Key(0x11111111, 1), std::string(400, 'a'), true);
    EXPECT_EQ(ChecksOf(noDirectory.Build()), (Checks{"directory-disagrees"}));
    // An index cut off.
    Bytes cut(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(index + 10));
    EXPECT_EQ(ChecksOf(cut).count("index-unreadable"), 1u);
}

TEST_F(Checked, ASaveThatWouldAddAProblemAsksAndWritesNothing) {
    const Bytes package = ReadFileBytes(s.ws.packagePath);
    Household& household = s.ws.households[0];
    household.members.push_back(GuidFromValue(0x0BADF00D));
    household.householdDirty = 1;
    const SaveResult refused = s.Save();
    ASSERT_EQ(refused.newFindings.size(), 1u);
    EXPECT_EQ(refused.newFindings[0].check, "member-not-a-sim");
    EXPECT_FALSE(refused.Complete());
    EXPECT_EQ(ReadFileBytes(s.ws.packagePath), package) << "nothing written";
    SaveOptions agreed;
    agreed.allowNewFindings = true;
    EXPECT_TRUE(s.Save(agreed).Complete());
    // What the player agreed to is the neighborhood's now: the next save does not ask again.
    EXPECT_TRUE(s.Save().newFindings.empty());
}

TEST_F(Checked, MovingASimChangingAParentAndDeletingASimAddNoFinding) {
    Character& ana = Sim("Ana");
    ASSERT_GE(s.ws.households.size(), 2u);
    const auto home = HouseholdOfSim(s.ws, ana);
    Household& other = s.ws.households[home && *home == 0 ? 1 : 0];
    MoveIn(s.ws, ana, other);
    EXPECT_EQ(Added(), Checks{});
    const auto pablo = static_cast<std::size_t>(&Sim("Pablo") - s.ws.characters.data());
    const auto owen = static_cast<std::size_t>(&Sim("Owen") - s.ws.characters.data());
    ASSERT_TRUE(ChangeFamilyTie(s.ws, pablo, FamilySlot::SecondParent, owen));
    EXPECT_EQ(Added(), Checks{});
    ASSERT_TRUE(s.Save().Complete());
    // Deleting takes the character file out at once and the sim's records with it: the save
    // drops its resources, so the neighborhood on disk has no finding it did not have.
    const auto rosie = static_cast<std::size_t>(&Sim("Rosie") - s.ws.characters.data());
    fs::remove(s.PackageOf(s.ws.characters[rosie]));
    RemoveSim(s.ws, rosie);
    EXPECT_EQ(Added(), Checks{});
    ASSERT_TRUE(s.Save().Complete());
    const auto keys = FindingKeys(CheckModel(s.ws));
    s.ws = Workspace{};
    s.Load();
    EXPECT_EQ(NewFindings(FindingKeys(before), CheckNeighborhood(s.ws)).size(), 0u)
        << FindingsReport(NewFindings(FindingKeys(before), CheckNeighborhood(s.ws)), "after the delete");
    EXPECT_EQ(FindingKeys(CheckModel(s.ws)), keys) << "what the save expected is what the files hold";
}

// A deleted sim's every record, in the model and then in the package: the resources that carry
// its id or GUID are gone after the save, and nobody else's.
TEST(SimRemoval, TheSaveDropsEveryResourceOfTheSimAndNoOther) {
    test::Session s;
    const Character owen = s.Sim("Owen");
    const std::uint32_t id = owen.instanceId;
    const auto rid = static_cast<std::uint16_t>(id);
    // The game's types: sim description, genetic record (both by the sim's instance) and
    // relationship (the two sims' ids in the instance's halves); the directory of compressed
    // resources, which a save of plain resources does not keep.
    auto holds = [&](const ResourceKey& key) {
        switch (key.typeId) {
            case 0xAACE2EFB:
            case 0xEBFEE33F: return key.instanceId == id;
            case 0xCC364C2A: return (key.instanceId >> 16) == rid || (key.instanceId & 0xFFFF) == rid;
            default: return false;
        }
    };
    auto notDirectory = [](std::vector<IndexEntry> entries) {
        std::erase_if(entries, [](const IndexEntry& e) { return e.key.typeId == 0xE86B1EEF; });
        return entries;
    };
    const auto entriesBefore = notDirectory(s.Index(s.ws.packagePath));
    std::size_t his = 0;
    for (const IndexEntry& e : entriesBefore) his += holds(e.key) ? 1 : 0;
    ASSERT_GE(his, 4u) << "the demo's Owen has a description, genes and relationships";
    const std::size_t ties = s.ws.familyTieList.size();
    ASSERT_TRUE(std::any_of(s.ws.familyTieList.begin(), s.ws.familyTieList.end(),
                            [&](const FamilyTie& t) { return t.relatedId == rid; }));

    const auto index = static_cast<std::size_t>(&s.Sim("Owen") - s.ws.characters.data());
    const SimRemoval removal = RemoveSim(s.ws, index);
    ASSERT_TRUE(removal.recordsRemoved);
    EXPECT_LT(s.ws.familyTieList.size(), ties);
    for (const FamilyTie& t : s.ws.familyTieList) EXPECT_TRUE(t.simId != rid && t.relatedId != rid);
    for (const RelationshipRecord& r : s.ws.relationshipList) EXPECT_TRUE(r.ownerId != rid && r.otherId != rid);
    for (const NeighborhoodItem& item : s.ws.simItemList) EXPECT_NE(item.owner, id);
    for (const Household& h : s.ws.households) {
        for (const Guid4& g : h.members) EXPECT_NE(GuidValue(g), GuidValue(owen.simGuid));
    }
    fs::remove(s.PackageOf(owen));
    ASSERT_TRUE(s.Save().Complete());

    const auto entriesAfter = notDirectory(s.Index(s.ws.packagePath));
    EXPECT_EQ(entriesAfter.size(), entriesBefore.size() - his);
    for (const IndexEntry& e : entriesAfter) EXPECT_FALSE(holds(e.key)) << std::hex << e.key.typeId << " " << e.key.instanceId;
    s.ws = Workspace{};
    s.Load();
    EXPECT_EQ(s.ws.familyTieList.size(), ties - removal.ties.size()) << "the ties naming him left the tree on disk";
    EXPECT_THROW(s.Sim("Owen"), std::runtime_error);
}

// Undoing a delete before the save puts every record back at its place, so the save writes
// nothing of it; after a save it cannot come back whole.
TEST(SimRemoval, RestoringPutsTheModelBackAsItWas) {
    test::Session s;
    const Workspace before = s.ws;
    const auto index = static_cast<std::size_t>(&s.Sim("Owen") - s.ws.characters.data());
    const SimRemoval removal = RemoveSim(s.ws, index);
    EXPECT_FALSE(RemovalSaved(s.ws, removal));
    UndoSimRemoval(s.ws, removal);
    EXPECT_EQ(s.ws.characters.size(), before.characters.size());
    EXPECT_EQ(s.ws.characters[index].packageFile, before.characters[index].packageFile);
    EXPECT_EQ(s.ws.relationshipList, before.relationshipList);
    EXPECT_EQ(s.ws.relationshipsAsSaved, before.relationshipsAsSaved);
    EXPECT_EQ(s.ws.relationshipOrder, before.relationshipOrder);
    EXPECT_EQ(s.ws.familyTieList, before.familyTieList);
    EXPECT_EQ(s.ws.simItemList, before.simItemList);
    EXPECT_EQ(s.ws.households, before.households);
    EXPECT_EQ(s.ws.dnaList.size(), before.dnaList.size());
    EXPECT_EQ(s.ws.dnaByInstance, before.dnaByInstance);
    EXPECT_TRUE(s.ws.deletedSims.empty());
    const auto keys = [&] {
        std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> out;
        for (const IndexEntry& e : s.Index(s.ws.packagePath)) {
            if (e.key.typeId != 0xE86B1EEF) out.emplace_back(e.key.typeId, e.key.groupId, e.key.instanceId);
        }
        return out;
    };
    const auto was = keys();
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(keys(), was) << "nothing dropped";

    const SimRemoval again = RemoveSim(s.ws, index);
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_TRUE(RemovalSaved(s.ws, again));
}

// Two sims sharing an id: whose record is whose cannot be told, so only the file goes.
TEST(SimRemoval, ASharedIdentityRemovesOnlyTheSim) {
    test::Session s;
    Character twin = s.Sim("Owen");
    twin.packageFile = "N001_User00099.package";
    twin.simGuid[0] ^= 0x5A;
    s.ws.characters.push_back(twin);
    IndexSims(s.ws);
    const std::size_t relationships = s.ws.relationshipList.size();
    const SimRemoval removal = RemoveSim(s.ws, s.ws.characters.size() - 1);
    EXPECT_FALSE(removal.recordsRemoved);
    EXPECT_EQ(s.ws.relationshipList.size(), relationships);
    EXPECT_TRUE(s.ws.deletedSims.empty());
}

}  // namespace
}  // namespace qh
