// The family tree's rules on a workspace built here: showing a sim's family, the dialog's
// candidates, and the derivation after a parent or the spouse changes.
#include "workspace/family_tree.h"

#include <gtest/gtest.h>

#include "package/byte_reader.h"
#include "support/demo_session.h"
#include "workspace/relationships.h"
#include "workspace/sim_operations.h"

namespace qh {
namespace {

// Grandmother G (1) has P1 (2) and U (3), U has the cousin C (4). P2 (5) has a brother U2 (6)
// with the cousin C2 (7). A (8) is the child of P1 and P2, with the full sibling B (9) and the
// half sibling H (10, P2's only). A is married to S (11) and has a child K (12). N (13) is an
// adult of no family, T (14) a teen, Y (15) a child, X (16) a dog.
struct Family {
    Workspace ws;
    enum : std::uint16_t { G = 1, P1, U, C, P2, U2, C2, A, B, H, S, K, N, T, Y, X };

    Family() {
        for (std::uint16_t id = G; id <= X; ++id) {
            Character sim;
            sim.instanceId = id;
            sim.firstName = "Sim" + std::to_string(id);
            sim.lifeStage = id == T ? 16 : id == Y ? 3 : 19;
            sim.species = id == X ? 1 : 0;
            ws.characters.push_back(sim);
        }
        IndexSims(ws);
        Parent(G, P1, 0);
        Parent(G, U, 0);
        Siblings(P1, U);
        Parent(U, C, 0);
        Siblings(P2, U2);
        Parent(U2, C2, 0);
        for (std::uint16_t child : {A, B}) {
            Parent(P1, child, 0);
            Parent(P2, child, 1);
        }
        Parent(P2, H, 0);
        Siblings(A, B);
        Siblings(A, H);
        Spouses(A, S);
        Parent(A, K, 0);
        // Some relationships as the game would have them; the rest the derivation makes.
        Relate(A, S, 9, 1u << kMarriedBit | 1u << kEngagedBit);
        Relate(S, A, 9, 1u << kMarriedBit);
        Relate(A, K, 1);
        Relate(K, A, 2);
        Relate(A, B, 3, 1u << kSteadyBit);
        Relate(A, N, -1, 1u << kFriendBit);
        IndexRelationships(ws);
        ws.familyTiesStored = true;
    }
    void Parent(std::uint16_t parent, std::uint16_t child, std::uint32_t type) {
        ws.familyTieList.push_back({child, type, parent});
        ws.familyTieList.push_back({parent, kChildTie, child});
    }
    void Siblings(std::uint16_t x, std::uint16_t y) {
        ws.familyTieList.push_back({x, kSiblingTie, y});
        ws.familyTieList.push_back({y, kSiblingTie, x});
    }
    void Spouses(std::uint16_t x, std::uint16_t y) {
        ws.familyTieList.push_back({x, kSpouseTie, y});
        ws.familyTieList.push_back({y, kSpouseTie, x});
    }
    void Relate(std::uint16_t owner, std::uint16_t other, int relation, std::uint32_t flags = 0) {
        RelationshipRecord r;
        r.ownerId = owner;
        r.otherId = other;
        r.headerWord = 2;
        r.valueCount = 4;
        r.shortTerm = 40;
        r.flagsLow = static_cast<std::uint8_t>(flags);
        if (relation >= 0) {
            SetRelationshipFlag(r, kFamilyBit, true);
            r.familyRelation = relation;
            r.hasFamilyRelation = 1;
        }
        ws.relationshipList.push_back(r);
    }
    std::size_t Index(std::uint16_t id) const { return ws.simByInstance.at(id); }
    std::vector<FamilyTie> TiesOf(std::uint16_t id, std::uint32_t type) const {
        std::vector<FamilyTie> out;
        for (const FamilyTie& t : ws.familyTieList) {
            if (t.simId == id && t.tieType == type) out.push_back(t);
        }
        return out;
    }
    std::vector<std::uint16_t> Related(std::uint16_t id, std::uint32_t type) const {
        std::vector<std::uint16_t> out;
        for (const FamilyTie& t : TiesOf(id, type)) out.push_back(t.relatedId);
        std::sort(out.begin(), out.end());
        return out;
    }
    const RelationshipRecord* Record(std::uint16_t owner, std::uint16_t other) const {
        const auto found = RelationshipsBetween(ws, owner, other);
        return found.empty() ? nullptr : &ws.relationshipList[found.front()];
    }
    // The family relation owner's record holds about other, or -1 when it is not marked Family.
    int Relation(std::uint16_t owner, std::uint16_t other) const {
        const RelationshipRecord* r = Record(owner, other);
        if (!r || !HasRelationshipFlag(*r, kFamilyBit)) return -1;
        return r->familyRelation;
    }
};

TEST(FamilyTree, ShowsTheSlotsSiblingsAndChildrenOfTheListsSims) {
    Family f;
    f.ws.familyTieList.push_back({Family::A, kSiblingTie, 0x300});  // a sim the list lacks
    const FamilyView view = ShowFamily(f.ws, f.ws.characters[f.Index(Family::A)]);
    EXPECT_EQ(view.firstParent, f.Index(Family::P1));
    EXPECT_EQ(view.secondParent, f.Index(Family::P2));
    EXPECT_EQ(view.spouse, f.Index(Family::S));
    EXPECT_EQ(view.siblings, (std::vector<std::size_t>{f.Index(Family::B), f.Index(Family::H)}));
    EXPECT_EQ(view.children, std::vector<std::size_t>{f.Index(Family::K)});
    Character teen = f.ws.characters[f.Index(Family::T)];
    EXPECT_FALSE(SpouseShown(teen, false));
    EXPECT_TRUE(SpouseShown(teen, true));
}

TEST(FamilyTree, CandidatesFollowSpeciesAgeAndTheOtherSlot) {
    Family f;
    const std::size_t a = f.Index(Family::A);
    auto ids = [&](const std::vector<std::size_t>& indices) {
        std::vector<std::uint32_t> out;
        for (std::size_t i : indices) out.push_back(f.ws.characters[i].instanceId);
        return out;
    };
    const auto parents = ids(FamilyCandidates(f.ws, a, FamilySlot::FirstParent, false));
    EXPECT_EQ(std::count(parents.begin(), parents.end(), Family::P2), 0);  // the other parent
    EXPECT_EQ(std::count(parents.begin(), parents.end(), Family::A), 0);
    EXPECT_EQ(std::count(parents.begin(), parents.end(), Family::T), 0);
    EXPECT_EQ(std::count(parents.begin(), parents.end(), Family::X), 0);  // a dog
    EXPECT_EQ(std::count(parents.begin(), parents.end(), Family::P1), 1);  // the holder, preselected by the panel
    const auto advanced = ids(FamilyCandidates(f.ws, a, FamilySlot::FirstParent, true));
    EXPECT_EQ(std::count(advanced.begin(), advanced.end(), Family::T), 1);
    EXPECT_EQ(std::count(advanced.begin(), advanced.end(), Family::Y), 0);
    // Changing a spouse offers any age; adding one keeps the age rule.
    const auto change = ids(FamilyCandidates(f.ws, a, FamilySlot::Spouse, false));
    EXPECT_EQ(std::count(change.begin(), change.end(), Family::Y), 1);
    EXPECT_EQ(std::count(change.begin(), change.end(), Family::X), 0);
    const auto add = ids(FamilyCandidates(f.ws, f.Index(Family::N), FamilySlot::Spouse, false));
    EXPECT_EQ(std::count(add.begin(), add.end(), Family::Y), 0);
}

TEST(FamilyTree, ChangingTheSpouseRederivesBothParentsWithFullSiblingsOnce) {
    Family f;
    const std::size_t a = f.Index(Family::A);
    ASSERT_TRUE(ChangeFamilyTie(f.ws, a, FamilySlot::Spouse, f.Index(Family::N)));
    EXPECT_EQ(f.Related(Family::A, kFirstParentTie), std::vector<std::uint16_t>{Family::P1});
    EXPECT_EQ(f.Related(Family::A, kSecondParentTie), std::vector<std::uint16_t>{Family::P2});
    EXPECT_EQ(f.Related(Family::A, kSpouseTie), std::vector<std::uint16_t>{Family::N});
    EXPECT_EQ(f.Related(Family::A, kSiblingTie), (std::vector<std::uint16_t>{Family::B, Family::H}));
    EXPECT_EQ(f.Related(Family::B, kSiblingTie), std::vector<std::uint16_t>{Family::A});
    EXPECT_EQ(f.Related(Family::P2, kChildTie), (std::vector<std::uint16_t>{Family::A, Family::B, Family::H}));
    EXPECT_TRUE(f.Related(Family::S, kSpouseTie).empty());  // the old spouse's tie back went too
    EXPECT_EQ(f.Related(Family::A, kChildTie), std::vector<std::uint16_t>{Family::K});

    // The couple marks of every relationship of A went first; the new spouse's have them anew.
    EXPECT_FALSE(HasRelationshipFlag(*f.Record(Family::A, Family::S), kMarriedBit));
    EXPECT_FALSE(HasRelationshipFlag(*f.Record(Family::A, Family::S), kEngagedBit));
    EXPECT_FALSE(HasRelationshipFlag(*f.Record(Family::S, Family::A), kMarriedBit));
    EXPECT_FALSE(HasRelationshipFlag(*f.Record(Family::A, Family::B), kSteadyBit));
    EXPECT_EQ(f.Relation(Family::A, Family::S), -1);
    for (auto [x, y] : {std::pair{Family::A, Family::N}, std::pair{Family::N, Family::A}}) {
        EXPECT_EQ(f.Relation(x, y), 9);
        EXPECT_TRUE(HasRelationshipFlag(*f.Record(x, y), kMarriedBit));
    }
    EXPECT_TRUE(HasRelationshipFlag(*f.Record(Family::A, Family::N), kFriendBit));  // kept what it had
    EXPECT_EQ(f.Record(Family::N, Family::A)->isNew, 1);
}

TEST(FamilyTree, TheDerivationMarksEveryRelativeThroughEitherParent) {
    Family f;
    RemoveFamilyTie(f.ws, f.Index(Family::A), FamilySlot::Spouse);
    EXPECT_EQ(f.Relation(Family::A, Family::P1), 2);
    EXPECT_EQ(f.Relation(Family::P1, Family::A), 1);
    EXPECT_EQ(f.Relation(Family::A, Family::G), 5);
    EXPECT_EQ(f.Relation(Family::G, Family::A), 4);
    EXPECT_EQ(f.Relation(Family::A, Family::U), 7);
    EXPECT_EQ(f.Relation(Family::U, Family::A), 6);
    EXPECT_EQ(f.Relation(Family::A, Family::B), 3);
    EXPECT_EQ(f.Relation(Family::H, Family::A), 3);
    // Cousins through the first parent and through the second alike.
    for (std::uint16_t cousin : {Family::C, Family::C2}) {
        EXPECT_EQ(f.Relation(Family::A, cousin), 8) << cousin;
        EXPECT_EQ(f.Relation(cousin, Family::A), 8) << cousin;
    }
    EXPECT_EQ(f.Relation(Family::A, Family::U2), 7);
    // A's own child stays its child (the rebuild marks it again).
    EXPECT_EQ(f.Relation(Family::A, Family::K), 1);
    EXPECT_EQ(f.Relation(Family::K, Family::A), 2);
    // Removing the spouse keeps the couple's Married mark but not the family relation.
    EXPECT_TRUE(HasRelationshipFlag(*f.Record(Family::A, Family::S), kMarriedBit));
    EXPECT_EQ(f.Relation(Family::A, Family::S), -1);
    EXPECT_TRUE(f.Related(Family::A, kSpouseTie).empty());
}

TEST(FamilyTree, GrandchildrenNiecesAndNephewsKeepTheirMarks) {
    Family f;
    // K has a child Z (17); B has a child W (18): A is Z's grandparent and W's aunt or uncle.
    constexpr std::uint16_t Z = 17, W = 18;
    f.Parent(Family::K, Z, 0);
    f.Parent(Family::B, W, 0);
    f.Relate(Family::A, Z, 4);
    f.Relate(Z, Family::A, 5);
    f.Relate(Family::A, W, 6);
    f.Relate(W, Family::A, 7);
    IndexRelationships(f.ws);
    const std::size_t records = f.ws.relationshipList.size();
    ASSERT_TRUE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::Spouse, f.Index(Family::N)));
    EXPECT_EQ(f.Relation(Family::A, Z), 4);
    EXPECT_EQ(f.Relation(Z, Family::A), 5);
    EXPECT_EQ(f.Relation(Family::A, W), 6);
    EXPECT_EQ(f.Relation(W, Family::A), 7);
    // Marks are given back, not records made: the other new records are the new spouse's and
    // those the derivation makes through the parents.
    for (std::size_t i = records; i < f.ws.relationshipList.size(); ++i) {
        const RelationshipRecord& r = f.ws.relationshipList[i];
        EXPECT_FALSE(r.ownerId == Z || r.otherId == Z || r.ownerId == W || r.otherId == W) << i;
    }
}

TEST(FamilyTree, AChildWithoutRecordsGetsNoneWhenAParentChanges) {
    Family f;
    // A's second child L has no character and no relationship with A.
    constexpr std::uint16_t L = 0x41;
    f.Parent(Family::A, L, 0);
    ASSERT_TRUE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::FirstParent, f.Index(Family::N)));
    ASSERT_TRUE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::Spouse, f.Index(Family::U2)));
    EXPECT_EQ(f.Record(Family::A, L), nullptr);
    EXPECT_EQ(f.Record(L, Family::A), nullptr);
    EXPECT_EQ(f.Related(Family::A, kChildTie), (std::vector<std::uint16_t>{Family::K, L}));
    EXPECT_EQ(f.Relation(Family::A, Family::K), 1);  // the child with records keeps its marks
}

TEST(FamilyTree, MarryingAMarriedSimEndsItsFormerMarriage) {
    Family f;
    f.Spouses(Family::N, Family::U2);
    f.Relate(Family::N, Family::U2, 9, 1u << kMarriedBit | 1u << kFriendBit);
    f.Relate(Family::U2, Family::N, 9, 1u << kMarriedBit);
    IndexRelationships(f.ws);
    ASSERT_TRUE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::Spouse, f.Index(Family::N)));
    EXPECT_EQ(f.Related(Family::N, kSpouseTie), std::vector<std::uint16_t>{Family::A});
    EXPECT_TRUE(f.Related(Family::U2, kSpouseTie).empty());
    for (auto [x, y] : {std::pair{Family::N, Family::U2}, std::pair{Family::U2, Family::N}}) {
        EXPECT_FALSE(HasRelationshipFlag(*f.Record(x, y), kMarriedBit));
        EXPECT_EQ(f.Relation(x, y), -1);
    }
    EXPECT_TRUE(HasRelationshipFlag(*f.Record(Family::N, Family::U2), kFriendBit));  // the rest stays
    EXPECT_TRUE(HasRelationshipFlag(*f.Record(Family::N, Family::A), kMarriedBit));
    EXPECT_EQ(f.Relation(Family::N, Family::A), 9);
    // U2's own family is untouched: still C2's parent and P2's sibling.
    EXPECT_EQ(f.Related(Family::U2, kChildTie), std::vector<std::uint16_t>{Family::C2});
    EXPECT_EQ(f.Related(Family::U2, kSiblingTie), std::vector<std::uint16_t>{Family::P2});
}

TEST(FamilyTree, ANewParentWithoutRecordsGetsBothAndTheOldParentsTiesGo) {
    Family f;
    const std::size_t before = f.ws.relationshipList.size();
    ASSERT_TRUE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::SecondParent, f.Index(Family::N)));
    EXPECT_EQ(f.Related(Family::A, kSecondParentTie), std::vector<std::uint16_t>{Family::N});
    EXPECT_EQ(f.Related(Family::P2, kChildTie), (std::vector<std::uint16_t>{Family::B, Family::H}));
    EXPECT_EQ(f.Related(Family::A, kSiblingTie), std::vector<std::uint16_t>{Family::B});  // H was P2's only
    EXPECT_TRUE(f.Related(Family::H, kSiblingTie).empty());
    const RelationshipRecord* up = f.Record(Family::N, Family::A);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->familyRelation, 1);
    EXPECT_EQ(up->isNew, 1);
    EXPECT_EQ(up->shortTerm, 0);
    EXPECT_EQ(f.Relation(Family::A, Family::N), 2);  // the friend's record became the parent's
    EXPECT_GT(f.ws.relationshipList.size(), before);
    // The cousins through the old second parent are no longer marked.
    EXPECT_EQ(f.Relation(Family::A, Family::C2), -1);
}

TEST(FamilyTree, ConfirmingTheHolderChangesNothing) {
    Family f;
    const auto ties = f.ws.familyTieList;
    const auto records = f.ws.relationshipList;
    EXPECT_FALSE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::FirstParent, f.Index(Family::P1)));
    EXPECT_FALSE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::Spouse, f.Index(Family::S)));
    EXPECT_EQ(f.ws.familyTieList, ties);
    EXPECT_EQ(f.ws.relationshipList, records);
}

TEST(FamilyTree, AParentTheListLacksIsKeptWhenTheOtherSlotChanges) {
    Family f;
    // A's second parent's character is missing from the list.
    for (FamilyTie& t : f.ws.familyTieList) {
        if (t.simId == Family::A && t.tieType == kSecondParentTie) t.relatedId = 0x300;
    }
    ASSERT_TRUE(ChangeFamilyTie(f.ws, f.Index(Family::A), FamilySlot::FirstParent, f.Index(Family::N)));
    EXPECT_EQ(f.Related(Family::A, kSecondParentTie), std::vector<std::uint16_t>{0x300});
    EXPECT_EQ(f.Related(0x300, kChildTie), std::vector<std::uint16_t>{Family::A});
}

TEST(FamilyTree, ANeighborhoodWithoutATreeRefusesChanges) {
    Family f;
    EXPECT_TRUE(FamilyTiesRefusal(f.ws).empty());
    f.ws.familyTiesStored = false;
    f.ws.packagePath = "N002_Neighborhood.package";
    EXPECT_NE(FamilyTiesRefusal(f.ws).find("N002_Neighborhood.package"), std::string::npos);
}

// The family tree through load and save on the demo valley.
Bytes StoredTree(const test::Session& s) {
    const Bytes bytes = ReadFileBytes(s.ws.packagePath);
    for (const IndexEntry& e : s.Index(s.ws.packagePath)) {
        if (e.key.typeId == kFamilyTiesType) {
            const auto span = ByteReader(bytes).Slice(e.offset, e.size);
            return {span.begin(), span.end()};
        }
    }
    return {};
}

// The package holds Owen's (0x11) resource about Pablo (0x1D), but it cannot be read (Family set
// with four values in 20 bytes): the load says so, `--rel` says why the pair cannot be changed,
// and a family change that relates the two makes no second resource for the pair; the save
// carries the unreadable one as it is.
TEST(SaveFamilyTies, AnUnreadableRelationshipIsKeptSaidAndNeverDoubled) {
    test::Session s;
    const std::uint32_t pair = RelationshipInstance(0x11, 0x1D);
    const Bytes unreadable = {2, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(RelationshipsBetween(s.ws, 0x11, 0x1D).empty());
    test::RewritePackage(s.ws.packagePath, [](const IndexEntry&, Bytes&) {},
                         {{fixture::Key(kRelationshipType, pair), unreadable}});
    s.reporter.messages.clear();
    s.ws = Workspace{};
    s.Load();
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_NE(s.reporter.messages.back().text.find("cannot be read"), std::string::npos);
    EXPECT_TRUE(RelationshipUnreadable(s.ws, 0x11, 0x1D));

    const std::size_t pablo = *FindSimByFile(s.ws, "N001_User00013.package");
    const std::size_t owen = *FindSimByFile(s.ws, "N001_User00001.package");
    GameEnvironment env;
    SimOperationContext context{s.ws, env, true};
    const std::string refusal =
        ApplySimOperation(*FindSimOperation("rel"), context, s.ws.characters[owen], "N001_User00013.package:10,10");
    EXPECT_NE(refusal.find("cannot be read"), std::string::npos) << refusal;

    ASSERT_TRUE(ChangeFamilyTie(s.ws, pablo, FamilySlot::SecondParent, owen));
    EXPECT_TRUE(RelationshipsBetween(s.ws, 0x11, 0x1D).empty());  // none made beside the stored one
    EXPECT_EQ(RelationshipsBetween(s.ws, 0x1D, 0x11).size(), 1u);  // Pablo's side is made as before
    ASSERT_TRUE(s.Save().Complete());
    std::size_t stored = 0;
    const Bytes package = ReadFileBytes(s.ws.packagePath);
    for (const IndexEntry& e : s.Index(s.ws.packagePath)) {
        if (e.key.typeId != kRelationshipType || e.key.instanceId != pair) continue;
        ++stored;
        const auto span = ByteReader(package).Slice(e.offset, e.size);
        EXPECT_EQ(Bytes(span.begin(), span.end()), unreadable);
    }
    EXPECT_EQ(stored, 1u);
}

TEST(SaveFamilyTies, TheTreeIsSavedAsReadAndAChangeReadsBack) {
    test::Session s;
    ASSERT_TRUE(s.ws.familyTiesStored);
    const Bytes before = [&] {
        SilentReporter quiet;
        return s.Resource(s.ws.packagePath, kFamilyTiesType, 1);
    }();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(StoredTree(s), before);  // untouched: byte for byte

    // Pablo (0x1D) gets Owen (0x11) as his second parent instead of the mother the list lacks.
    const std::size_t pablo = *FindSimByFile(s.ws, "N001_User00013.package");
    const std::size_t owen = *FindSimByFile(s.ws, "N001_User00001.package");
    ASSERT_TRUE(ChangeFamilyTie(s.ws, pablo, FamilySlot::SecondParent, owen));
    const auto ties = s.ws.familyTieList;
    ASSERT_TRUE(s.Save().Complete());
    s.Load();
    EXPECT_EQ(s.ws.familyTieList.size(), ties.size());
    const FamilyView view = ShowFamily(s.ws, s.ws.characters[pablo]);
    EXPECT_EQ(view.secondParent, owen);
    EXPECT_EQ(view.siblings.size(), 3u);  // Owen's three children
    // The records the change made were appended and read back.
    const auto records = RelationshipsBetween(s.ws, 0x11, 0x1D);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(s.ws.relationshipList[records[0]].familyRelation, 1);
}

TEST(SaveFamilyTies, ANeighborhoodWithoutATreeStaysWithoutOne) {
    test::Session s;
    Neighborhood* college = &*std::find_if(s.catalogue.begin(), s.catalogue.end(), [](auto& n) { return n.prefix == "G001"; });
    s.neighborhood = college;
    LoadNeighborhood(s.ws, *college, s.folder, {}, s.reporter, s.progress);
    EXPECT_FALSE(s.ws.familyTiesStored);
    EXPECT_FALSE(FamilyTiesRefusal(s.ws).empty());
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_TRUE(StoredTree(s).empty());
}

TEST(SaveFamilyTies, ATreeThatCannotBeReadIsReportedAndCarried) {
    test::Session s;
    Bytes damaged;
    test::RewritePackage(s.ws.packagePath, [&](const IndexEntry& e, Bytes& content) {
        if (e.key.typeId == kFamilyTiesType) {
            content.resize(content.size() - 5);
            damaged = content;
        }
    });
    s.reporter.messages.clear();
    s.Load();
    EXPECT_FALSE(s.ws.familyTiesStored);
    EXPECT_TRUE(s.ws.familyTieList.empty());
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_NE(s.reporter.messages.back().text.find("family tree"), std::string::npos);
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(StoredTree(s), damaged);
}

// A tree with bytes after its last block (as another tool may leave): read and shown, said at
// load, refused for changes, and carried byte for byte by a save of other changes.
TEST(SaveFamilyTies, ATreeWithBytesTheReaderDoesNotExplainIsShownAndCarried) {
    test::Session s;
    const std::size_t tiesBefore = s.ws.familyTieList.size();
    Bytes unusual;
    test::RewritePackage(s.ws.packagePath, [&](const IndexEntry& e, Bytes& content) {
        if (e.key.typeId == kFamilyTiesType) {
            content.insert(content.end(), {1, 2, 3, 4});
            unusual = content;
        }
    });
    s.reporter.messages.clear();
    s.Load();
    EXPECT_FALSE(s.ws.familyTiesStored);
    EXPECT_EQ(s.ws.familyTieList.size(), tiesBefore);
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_NE(s.reporter.messages.back().text.find("does not explain"), std::string::npos);
    EXPECT_NE(FamilyTiesRefusal(s.ws).find("does not explain"), std::string::npos);
    s.ws.characters[0].dirty = 1;
    s.neighborhood->dirty = 1;
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(StoredTree(s), unusual);
}

}  // namespace
}  // namespace qh
