// The rules of a relationship pair, the lookup, and relationship resources through load and save.
#include "workspace/relationships.h"

#include <gtest/gtest.h>

#include "package/byte_reader.h"
#include "platform/errors.h"
#include "support/demo_session.h"
#include "workspace/sim_items.h"

namespace qh {
namespace {

RelationshipRecord Record(std::uint16_t owner, std::uint16_t other, std::int32_t shortTerm = 0,
                          std::int32_t longTerm = 0) {
    RelationshipRecord r;
    r.ownerId = owner;
    r.otherId = other;
    r.headerWord = 2;
    r.valueCount = 3;
    r.shortTerm = shortTerm;
    r.longTerm = longTerm;
    return r;
}

// Sims 0x11 (Ana), 0x12 (Ben), 0x13 (Cy); Ana and Ben know each other both ways, Ana knows Cy one
// way, Ana has a record about a sim the list lacks (0x40) and one about herself.
struct Pairs {
    Workspace ws;
    Pairs() {
        for (std::uint32_t i : {0x11u, 0x12u, 0x13u}) {
            Character sim;
            sim.instanceId = i;
            sim.simGuid = GuidFromValue(0x7E000000 + i);
            ws.characters.push_back(sim);
        }
        IndexSims(ws);
        ws.relationshipList = {Record(0x11, 0x12, 10, 20), Record(0x12, 0x11, -5, 300), Record(0x11, 0x13),
                               Record(0x11, 0x40), Record(0x11, 0x11)};
        IndexRelationships(ws);
        NeighborhoodItem first;
        first.owner = 0x99;
        first.ownerWord = 0x0301;
        first.itemGuid = 0x1;
        ws.simItemList = {first};
    }
    RelationshipRecord& R(std::size_t i) { return ws.relationshipList[i]; }
    std::vector<const NeighborhoodItem*> Items(std::uint32_t guid) const {
        std::vector<const NeighborhoodItem*> out;
        for (const auto& item : ws.simItemList) {
            if (item.itemGuid == guid) out.push_back(&item);
        }
        return out;
    }
};

TEST(Relationships, LookupsByPairOwnerAndReverse) {
    Pairs p;
    EXPECT_EQ(std::vector<std::size_t>(RelationshipsBetween(p.ws, 0x11, 0x12).begin(),
                                       RelationshipsBetween(p.ws, 0x11, 0x12).end()),
              std::vector<std::size_t>{0});
    EXPECT_TRUE(RelationshipsBetween(p.ws, 0x13, 0x11).empty());
    EXPECT_EQ(RelationshipsOwnedBy(p.ws, 0x11).size(), 4u);
    EXPECT_EQ(RelationshipsOwnedBy(p.ws, 0x12).size(), 1u);
    ASSERT_EQ(ReverseRecords(p.ws, 0).size(), 1u);
    EXPECT_EQ(ReverseRecords(p.ws, 0)[0], 1u);
    EXPECT_TRUE(ReverseRecords(p.ws, 2).empty());  // one way

    // A second record of a pair is found after the first, and a new record by its pair at once.
    const std::size_t twin = AddRelationship(p.ws, Record(0x12, 0x11));
    const std::size_t fresh = AddRelationship(p.ws, NewRelationshipRecord(0x13, 0x11, 3));
    EXPECT_EQ(std::vector<std::size_t>(ReverseRecords(p.ws, 0).begin(), ReverseRecords(p.ws, 0).end()),
              (std::vector<std::size_t>{1, twin}));
    ASSERT_EQ(ReverseRecords(p.ws, 2).size(), 1u);
    EXPECT_EQ(ReverseRecords(p.ws, 2)[0], fresh);
}

TEST(Relationships, TheListHoldsOnlyOtherSimsOfTheCharacterList) {
    Pairs p;
    const auto listed = ListedRelationships(p.ws, p.ws.characters[0]);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].record, 0u);
    EXPECT_EQ(listed[0].other, 1u);
    EXPECT_EQ(listed[1].record, 2u);
    EXPECT_EQ(listed[1].other, 2u);
    Character noDescription;
    EXPECT_TRUE(ListedRelationships(p.ws, noDescription).empty());
}

TEST(Relationships, LevelsAreLimitedAndASideStoresBothOfItsLevels) {
    Pairs p;
    // The other side holds 300; an edit of this side leaves it alone.
    SetRelationshipLevels(p.ws, 0, RelationshipSide::Own, 150, -101);
    EXPECT_EQ(p.R(0).shortTerm, 100);
    EXPECT_EQ(p.R(0).longTerm, -100);
    EXPECT_EQ(p.R(1).longTerm, 300);
    // An edit of the other side's short term stores its long term limited.
    SetRelationshipLevels(p.ws, 0, RelationshipSide::Reverse, -5, LimitRelationshipLevel(p.R(1).longTerm));
    EXPECT_EQ(p.R(1).longTerm, 100);
    EXPECT_EQ(LimitRelationshipLevel(std::int64_t{1} << 40), 100);
}

TEST(Relationships, BothSidesFlagsChangeBothRecordsPerSideFlagsOne) {
    Pairs p;
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Reverse, kEngagedBit, true);  // from either panel
    EXPECT_TRUE(HasRelationshipFlag(p.R(0), kEngagedBit));
    EXPECT_TRUE(HasRelationshipFlag(p.R(1), kEngagedBit));
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Own, kLoveBit, true);
    EXPECT_TRUE(HasRelationshipFlag(p.R(0), kLoveBit));
    EXPECT_FALSE(HasRelationshipFlag(p.R(1), kLoveBit));
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Reverse, kEnemyBit, true);
    EXPECT_FALSE(HasRelationshipFlag(p.R(0), kEnemyBit));
    EXPECT_TRUE(HasRelationshipFlag(p.R(1), kEnemyBit));
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Own, kFamilyBit, true);
    EXPECT_TRUE(HasRelationshipFlag(p.R(1), kFamilyBit));
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Own, 12, true);  // not a flag of the table
    EXPECT_EQ(RelationshipFlagsOf(p.R(0)) >> 12 & 1, 0u);
}

TEST(Relationships, FamilyRelationsMirrorAcrossThePair) {
    Pairs p;
    EXPECT_TRUE(SetFamilyRelation(p.ws, 0, RelationshipSide::Own, 1));  // Ana is Ben's parent
    EXPECT_EQ(p.R(0).familyRelation, 1);
    EXPECT_EQ(p.R(1).familyRelation, 2);
    EXPECT_TRUE(SetFamilyRelation(p.ws, 0, RelationshipSide::Reverse, 4));  // Ben is Ana's grandparent
    EXPECT_EQ(p.R(1).familyRelation, 4);
    EXPECT_EQ(p.R(0).familyRelation, 5);
    EXPECT_FALSE(SetFamilyRelation(p.ws, 0, RelationshipSide::Own, 10));
    EXPECT_EQ(p.R(0).familyRelation, 5);
}

TEST(Relationships, MaxBothRaisesBothSidesToFriendsAtAHundred) {
    Pairs p;
    MaxBothRelationships(p.ws, 0);
    for (std::size_t i : {0u, 1u}) {
        EXPECT_EQ(p.R(i).shortTerm, 100);
        EXPECT_EQ(p.R(i).longTerm, 100);
        EXPECT_TRUE(HasRelationshipFlag(p.R(i), kFriendBit));
        EXPECT_TRUE(HasRelationshipFlag(p.R(i), kBestFriendBit));
    }
    EXPECT_EQ(p.R(2).longTerm, 0);
}

TEST(Relationships, ContactIsTheFlagAndAnItemOfTheSideThatHoldsIt) {
    Pairs p;
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Own, kContactBit, true);
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Own, kContactBit, true);  // no second item
    EXPECT_TRUE(HasRelationshipFlag(p.R(0), kContactBit));
    EXPECT_FALSE(HasRelationshipFlag(p.R(1), kContactBit));
    auto items = p.Items(kContactGuid);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->owner, 0x11u);
    EXPECT_EQ(items[0]->secondary, 1);
    EXPECT_EQ(items[0]->ownerWord, 0x0301u);  // the first item's word
    EXPECT_EQ(items[0]->values, (std::vector<std::uint16_t>{0x12, 24, 24, 24, 24}));

    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Reverse, kContactBit, true);
    items = p.Items(kContactGuid);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1]->owner, 0x12u);
    EXPECT_EQ(items[1]->values[0], 0x11);
    EXPECT_TRUE(HasRelationshipFlag(p.R(1), kContactBit));

    // Clearing removes only that side's items.
    SetRelationshipFlagRule(p.ws, 0, RelationshipSide::Own, kContactBit, false);
    items = p.Items(kContactGuid);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->owner, 0x12u);
    EXPECT_FALSE(HasRelationshipFlag(p.R(0), kContactBit));
}

TEST(Relationships, FuriousIsTwoItemsAndNoRecord) {
    Pairs p;
    const auto before = p.ws.relationshipList;
    SetFurious(p.ws, 0x12, 0x11, true);
    SetFurious(p.ws, 0x12, 0x11, true);
    EXPECT_TRUE(IsFurious(p.ws, 0x12, 0x11));
    EXPECT_FALSE(IsFurious(p.ws, 0x11, 0x12));
    const auto angry = p.Items(kFuriousGuid);
    const auto target = p.Items(kFuriousTargetGuid);
    ASSERT_EQ(angry.size(), 1u);
    ASSERT_EQ(target.size(), 1u);
    EXPECT_EQ(angry[0]->owner, 0x12u);
    EXPECT_EQ(angry[0]->values, (std::vector<std::uint16_t>{0x11, 100, 100, 100, 100}));
    EXPECT_EQ(target[0]->owner, 0x11u);
    EXPECT_EQ(target[0]->values, (std::vector<std::uint16_t>{0x12}));
    EXPECT_EQ(p.ws.relationshipList, before);
    SetFurious(p.ws, 0x12, 0x11, false);
    EXPECT_TRUE(p.Items(kFuriousGuid).empty());
    EXPECT_TRUE(p.Items(kFuriousTargetGuid).empty());
    EXPECT_EQ(p.ws.simItemList.size(), 1u);
}

// Relationship resources through load and save, on the demo game with resources of its own.
struct SavedPairs : test::Session {
    static Bytes Resource(std::uint32_t header, std::uint32_t count, const std::vector<std::uint32_t>& values) {
        Bytes out;
        for (std::uint32_t v : std::vector<std::uint32_t>{header, count}) AppendU32(out, v);
        for (std::uint32_t v : values) AppendU32(out, v);
        return out;
    }
    static ResourceKey Key(std::uint32_t instance) { return {kRelationshipType, 0x7F000001, instance, 0}; }
    std::vector<std::pair<ResourceKey, Bytes>> stored = {
        {Key(0x00500051), Resource(2, 3, {10, 0x10, 20})},                 // 50 about 51
        {Key(0x00510050), Resource(2, 9, {1, 0x4000, 2, 3, 4, 5, 6, 7, 8})},  // 51 about 50, Family, 44 bytes
        {Key(0x00500052), Resource(2, 4, {0, 0x4000, 0})},                 // claims a relation it lacks
        {Key(0x00500053), Bytes(12, 0x5A)},                                // too short to read
        {Key(0x00500051), Resource(3, 3, {99, 0, 98})},                    // the pair stored twice
    };
    SavedPairs() {
        test::RewritePackage(ws.packagePath, [](const IndexEntry&, Bytes&) {}, stored);
        Load();
    }
    // The sims 0x50 to 0x53 are made up for the resources: what the neighborhood's check says of
    // the records made for them is not what these tests are about.
    SaveResult Save(SaveOptions options = {}) {
        options.allowNewFindings = true;
        return test::Session::Save(options);
    }
    Bytes Stored(std::uint32_t instance, std::size_t nth = 0) const {
        const Bytes bytes = ReadFileBytes(ws.packagePath);
        for (const IndexEntry& e : Index(ws.packagePath)) {
            if (e.key.typeId == kRelationshipType && e.key.instanceId == instance && nth-- == 0) {
                const auto span = ByteReader(bytes).Slice(e.offset, e.size);
                return {span.begin(), span.end()};
            }
        }
        return {};
    }
    std::size_t Count(std::uint32_t instance) const {
        std::size_t n = 0;
        for (const IndexEntry& e : Index(ws.packagePath)) n += e.key.typeId == kRelationshipType && e.key.instanceId == instance;
        return n;
    }
};

TEST(SaveRelationships, UntouchedResourcesAndUnreadableOnesSurviveASave) {
    SavedPairs s;
    // The demo's own relationships load as well; ours are found by pair.
    ASSERT_EQ(RelationshipsBetween(s.ws, 0x50, 0x51).size(), 2u);
    EXPECT_TRUE(RelationshipsBetween(s.ws, 0x50, 0x52).empty());
    EXPECT_TRUE(RelationshipsBetween(s.ws, 0x50, 0x53).empty());
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Stored(0x00500051), s.stored[0].second);
    EXPECT_EQ(s.Stored(0x00510050), s.stored[1].second);
    EXPECT_EQ(s.Stored(0x00500052), s.stored[2].second);  // carried, not dropped
    EXPECT_EQ(s.Stored(0x00500053), s.stored[3].second);
    EXPECT_EQ(s.Stored(0x00500051, 1), s.stored[4].second);  // the twin from its own record
}

TEST(SaveRelationships, EditsChangeLengthsAndNewRecordsAreAppendedOnce) {
    SavedPairs s;
    const std::size_t own = RelationshipsBetween(s.ws, 0x50, 0x51)[0];
    const std::size_t twin = RelationshipsBetween(s.ws, 0x50, 0x51)[1];
    SetRelationshipFlagRule(s.ws, own, RelationshipSide::Own, kFamilyBit, true);  // 20 -> 24; 44 keeps its length
    SetFamilyRelation(s.ws, own, RelationshipSide::Own, 1);
    s.ws.relationshipList[twin].longTerm = -7;
    AddRelationship(s.ws, NewRelationshipRecord(0x52, 0x50, 8));
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Stored(0x00500051), SavedPairs::Resource(2, 4, {10, 0x4010, 20, 1}));
    EXPECT_EQ(s.Stored(0x00510050), SavedPairs::Resource(2, 9, {1, 0x4000, 2, 2, 4, 5, 6, 7, 8}));
    EXPECT_EQ(s.Stored(0x00500051, 1), SavedPairs::Resource(3, 3, {99, 0, static_cast<std::uint32_t>(-7)}));
    EXPECT_EQ(s.Stored(0x00520050), SavedPairs::Resource(2, 4, {0, 0x4000, 0, 8}));
    EXPECT_EQ(s.ws.relationshipList[own].valueCount, 4u);
    EXPECT_EQ(s.ws.relationshipList[own].hasFamilyRelation, 1);
    EXPECT_EQ(s.ws.relationshipList.back().isNew, 0);

    // Clearing Family again keeps every value in its place, the relation written as none; a
    // second save appends nothing more.
    SetRelationshipFlagRule(s.ws, own, RelationshipSide::Own, kFamilyBit, false);
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Stored(0x00500051), SavedPairs::Resource(2, 4, {10, 0x10, 20, 0}));
    EXPECT_EQ(s.Stored(0x00510050), SavedPairs::Resource(2, 9, {1, 0, 2, 0, 4, 5, 6, 7, 8}));
    EXPECT_EQ(s.Count(0x00520050), 1u);

    // Everything reads back as it was saved.
    s.Load();
    const std::size_t again = RelationshipsBetween(s.ws, 0x52, 0x50)[0];
    EXPECT_EQ(s.ws.relationshipList[again].familyRelation, 8);
    EXPECT_EQ(s.ws.relationshipList[again].isNew, 0);
}

TEST(SaveRelationships, ARecordBroughtBackAfterItsSaveIsNotAppendedTwiceAndOneTakenAwayLeaves) {
    SavedPairs s;
    const std::size_t added = AddRelationship(s.ws, NewRelationshipRecord(0x52, 0x50, 8));
    const RelationshipRecord asMade = s.ws.relationshipList[added];
    ASSERT_TRUE(s.Save().Complete());
    // A redo restores the record as it was made, new mark and all.
    s.ws.relationshipList[added] = asMade;
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Count(0x00520050), 1u);
    // An undo takes it out of the list: its resource goes with it.
    s.ws.relationshipList.pop_back();
    IndexRelationships(s.ws);
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Count(0x00520050), 0u);
    EXPECT_EQ(s.Count(0x00500052), 1u);  // the unreadable one stays
}

TEST(SaveRelationships, AFailedSaveLeavesTheRecordsAsTheOldFileHasThem) {
    SavedPairs s;
    const std::size_t own = RelationshipsBetween(s.ws, 0x50, 0x51)[0];
    SetRelationshipFlagRule(s.ws, own, RelationshipSide::Own, kFamilyBit, true);
    const std::size_t added = AddRelationship(s.ws, NewRelationshipRecord(0x52, 0x50, 8));
    SaveOptions failing;
    failing.hook = [](ReplaceStep step, const std::filesystem::path& target) {
        if (step == ReplaceStep::Rename) throw IoError("refused for the test: " + target.string());
    };
    EXPECT_FALSE(s.Save(failing).Complete());
    EXPECT_EQ(s.ws.relationshipList[own].valueCount, 3u);
    EXPECT_EQ(s.ws.relationshipList[added].isNew, 1);
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Stored(0x00500051), SavedPairs::Resource(2, 4, {10, 0x4010, 20, 0}));
    EXPECT_EQ(s.Count(0x00520050), 1u);
}

}  // namespace
}  // namespace qh
