#include "workspace/family_tree.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "package/guid.h"
#include "relationship/relationship.h"
#include "workspace/relationships.h"

namespace qh {

namespace {

std::optional<std::size_t> IndexOf(const Workspace& ws, std::uint16_t id) {
    const auto it = ws.simByInstance.find(id);
    if (it == ws.simByInstance.end()) return std::nullopt;
    return it->second;
}

// The sims in a sim's slots by id, as its ties say (the last tie of each type), whether or not the
// character list has them: a parent whose character is missing is still the sim's parent, and a
// change of the other slot must not drop it.
struct SlotIds {
    std::optional<std::uint16_t> slots[3];
    std::optional<std::uint16_t>& operator[](FamilySlot slot) { return slots[static_cast<int>(slot)]; }
};

SlotIds SlotsOf(const Workspace& ws, std::uint16_t a) {
    SlotIds ids;
    for (const FamilyTie& tie : ws.familyTieList) {
        if (tie.simId == a && tie.tieType <= kSpouseTie) ids.slots[tie.tieType] = tie.relatedId;
    }
    return ids;
}

// One derivation of a sim's family from its slots.
struct Derivation {
    Workspace& ws;
    std::uint16_t a;
    bool changing;  // a change (not a removal): the spouse's records are marked Married

    // X's records about Y take Family and the relation; a record is made when there is none.
    void Mark(std::uint16_t x, std::uint16_t y, int relation, bool married = false) {
        const auto found = RelationshipsBetween(ws, x, y);
        const std::vector<std::size_t> records(found.begin(), found.end());
        if (records.empty()) {
            // A resource the package holds but that could not be read stays as it is: a second
            // one for the pair would leave the game two.
            if (RelationshipUnreadable(ws, x, y)) return;
            RelationshipRecord record = NewRelationshipRecord(x, y, relation);
            if (married) SetRelationshipFlag(record, kMarriedBit, true);
            AddRelationship(ws, record);
            return;
        }
        for (std::size_t r : records) {
            SetRelationshipFlag(ws.relationshipList[r], kFamilyBit, true);
            if (married) SetRelationshipFlag(ws.relationshipList[r], kMarriedBit, true);
            ws.relationshipList[r].familyRelation = relation;
        }
    }
    void Tie(std::uint16_t sim, std::uint32_t type, std::uint16_t related) {
        ws.familyTieList.push_back({sim, type, related});
    }
    bool TiedTo(std::uint16_t related) const {
        return std::any_of(ws.familyTieList.begin(), ws.familyTieList.end(),
                           [&](const FamilyTie& t) { return t.simId == a && t.relatedId == related; });
    }
    // The children of a sim, its child ties walked from the last.
    std::vector<std::uint16_t> ChildrenOf(std::uint16_t sim) const {
        std::vector<std::uint16_t> children;
        for (auto it = ws.familyTieList.rbegin(); it != ws.familyTieList.rend(); ++it) {
            if (it->simId == sim && it->tieType == kChildTie) children.push_back(it->relatedId);
        }
        return children;
    }

    // P's children are a's siblings, P's parents its grandparents, P's siblings its aunts and
    // uncles and their children its cousins. Through the second parent, a sim already tied to a
    // (a full sibling) is passed over.
    void ParentPass(std::uint16_t p, std::uint32_t type) {
        const bool second = type == kSecondParentTie;
        for (std::size_t i = ws.familyTieList.size(); i-- > 0;) {
            const FamilyTie tie = ws.familyTieList[i];
            if (tie.simId != p || tie.relatedId == a) continue;
            if (tie.tieType == kSpouseTie || tie.tieType > kChildTie) continue;
            const std::uint16_t related = tie.relatedId;
            if (second && TiedTo(related)) continue;
            if (tie.tieType == kChildTie) {
                Mark(a, related, 3);
                Mark(related, a, 3);
                Tie(a, kSiblingTie, related);
                Tie(related, kSiblingTie, a);
            } else if (tie.tieType == kFirstParentTie || tie.tieType == kSecondParentTie) {
                Mark(a, related, 5);
                Mark(related, a, 4);
            } else {
                Aunt(related);
            }
        }
        Mark(a, p, 2);
        Mark(p, a, 1);
        Tie(a, type, p);
        Tie(p, kChildTie, a);
    }
    // S is a parent's sibling: a is S's niece or nephew, S's children a's cousins.
    void Aunt(std::uint16_t s) {
        const std::vector<std::uint16_t> cousins = ChildrenOf(s);
        for (const auto& [owner, other, relation] : {std::tuple{a, s, 7}, std::tuple{s, a, 6}}) {
            Mark(owner, other, relation);
            for (std::uint16_t k : cousins) {
                if (k == a) continue;
                if (owner == a) {
                    Mark(a, k, 8);
                } else {
                    Mark(k, a, 8);
                }
            }
        }
    }
    void SpousePass(std::uint16_t s) {
        Tie(a, kSpouseTie, s);
        Tie(s, kSpouseTie, a);
        Mark(a, s, 9, changing);
        Mark(s, a, 9, changing);
    }
    // Marks the records X has about Y, when there are any; makes none.
    void MarkExisting(std::uint16_t x, std::uint16_t y, int relation) {
        for (std::size_t r : RelationshipsBetween(ws, x, y)) {
            SetRelationshipFlag(ws.relationshipList[r], kFamilyBit, true);
            ws.relationshipList[r].familyRelation = relation;
        }
    }
    // What no slot changes stays as it was: the sim's children stay its children, their children
    // its grandchildren, and its siblings' children its nieces and nephews. Their records lost
    // their marks with the rest of the sim's; those that exist are marked again, and none is made
    // (a child whose character is missing has no records to mark).
    void DescendantsPass() {
        for (std::uint16_t k : ChildrenOf(a)) {
            if (k == a) continue;
            MarkExisting(a, k, 1);
            MarkExisting(k, a, 2);
            for (std::uint16_t g : ChildrenOf(k)) {
                if (g == a || g == k) continue;
                MarkExisting(a, g, 4);
                MarkExisting(g, a, 5);
            }
        }
        for (const FamilyTie& tie : std::vector<FamilyTie>(ws.familyTieList)) {
            if (tie.simId != a || tie.tieType != kSiblingTie || tie.relatedId == a) continue;
            for (std::uint16_t n : ChildrenOf(tie.relatedId)) {
                if (n == a) continue;
                MarkExisting(a, n, 6);
                MarkExisting(n, a, 7);
            }
        }
    }
};

void ClearMarks(Workspace& ws, std::uint16_t a, bool coupleMarks) {
    for (RelationshipRecord& record : ws.relationshipList) {
        if (record.ownerId != a && record.otherId != a) continue;
        SetRelationshipFlag(record, kFamilyBit, false);
        record.familyRelation = 0;
        if (coupleMarks) {
            for (int bit : {kEngagedBit, kMarriedBit, kSteadyBit}) SetRelationshipFlag(record, bit, false);
        }
    }
}

// The sim's parent, spouse and sibling ties, and every tie of those sims back to it.
void RemoveTies(Workspace& ws, std::uint16_t a) {
    std::unordered_set<std::uint16_t> related;
    for (const FamilyTie& tie : ws.familyTieList) {
        if (tie.simId == a && tie.tieType <= kSiblingTie) related.insert(tie.relatedId);
    }
    std::erase_if(ws.familyTieList, [&](const FamilyTie& tie) {
        return (tie.simId == a && tie.tieType <= kSiblingTie) || (tie.relatedId == a && related.contains(tie.simId));
    });
}

void Derive(Workspace& ws, std::uint16_t a, SlotIds slots, bool changing) {
    Derivation d{ws, a, changing};
    if (slots[FamilySlot::FirstParent]) d.ParentPass(*slots[FamilySlot::FirstParent], kFirstParentTie);
    if (slots[FamilySlot::SecondParent]) d.ParentPass(*slots[FamilySlot::SecondParent], kSecondParentTie);
    if (slots[FamilySlot::Spouse]) d.SpousePass(*slots[FamilySlot::Spouse]);
    d.DescendantsPass();
}

}  // namespace

FamilyView ShowFamily(const Workspace& ws, const Character& sim) {
    FamilyView view;
    if (sim.instanceId == 0) return view;
    const std::uint16_t a = RelationshipId(sim);
    for (const FamilyTie& tie : ws.familyTieList) {
        if (tie.simId != a) continue;
        const auto other = IndexOf(ws, tie.relatedId);
        if (!other) continue;  // a sim the list lacks is not shown
        switch (tie.tieType) {
            case kFirstParentTie: view.firstParent = other; break;
            case kSecondParentTie: view.secondParent = other; break;
            case kSpouseTie: view.spouse = other; break;
            case kSiblingTie: view.siblings.push_back(*other); break;
            case kChildTie: view.children.push_back(*other); break;
            default: break;
        }
    }
    return view;
}

bool SpouseShown(const Character& sim, bool advanced) { return sim.lifeStage >= (advanced ? 16 : 19); }

std::vector<std::size_t> FamilyCandidates(const Workspace& ws, std::size_t sim, FamilySlot slot, bool advanced) {
    const Character& self = ws.characters.at(sim);
    FamilyView view = ShowFamily(ws, self);
    const int minimum = advanced ? 16 : 19;
    const bool changeSpouse = slot == FamilySlot::Spouse && view.spouse;
    std::size_t otherParent = ws.characters.size();  // none
    if (slot == FamilySlot::FirstParent && view.secondParent) otherParent = *view.secondParent;
    if (slot == FamilySlot::SecondParent && view.firstParent) otherParent = *view.firstParent;
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        const Character& c = ws.characters[i];
        if (i == sim || c.instanceId == 0 || c.species != self.species) continue;
        if (i == otherParent) continue;
        if (!changeSpouse && c.lifeStage < minimum) continue;
        candidates.push_back(i);
    }
    return candidates;
}

std::string FamilyTiesRefusal(const Workspace& ws) {
    if (ws.familyTiesStored) return {};
    if (ws.familyTiesUnexplained) {
        return "The family tree in " + ws.packagePath.filename().string() +
               " holds bytes Quillhaven does not explain, so it is kept as it is and family ties cannot be changed here.";
    }
    return "This neighborhood keeps no family tree Quillhaven can write (" + ws.packagePath.filename().string() +
           " holds no readable family-ties resource), so family ties cannot be changed here.";
}

// A sim that marries leaves its former spouse: the spouse ties both ways go, and the couple's
// records lose their couple marks and the spouse relation. Nothing else of its family changes.
void Unmarry(Workspace& ws, std::uint16_t n) {
    std::unordered_set<std::uint16_t> former;
    for (const FamilyTie& tie : ws.familyTieList) {
        if (tie.simId == n && tie.tieType == kSpouseTie) former.insert(tie.relatedId);
    }
    if (former.empty()) return;
    std::erase_if(ws.familyTieList, [&](const FamilyTie& tie) {
        return tie.tieType == kSpouseTie && ((tie.simId == n && former.contains(tie.relatedId)) ||
                                             (tie.relatedId == n && former.contains(tie.simId)));
    });
    for (std::uint16_t m : former) {
        for (const auto& [x, y] : {std::pair{n, m}, std::pair{m, n}}) {
            for (std::size_t r : RelationshipsBetween(ws, x, y)) {
                RelationshipRecord& record = ws.relationshipList[r];
                for (int bit : {kEngagedBit, kMarriedBit, kSteadyBit}) SetRelationshipFlag(record, bit, false);
                if (HasRelationshipFlag(record, kFamilyBit) && record.familyRelation == 9) {
                    SetRelationshipFlag(record, kFamilyBit, false);
                    record.familyRelation = 0;
                }
            }
        }
    }
}

bool ChangeFamilyTie(Workspace& ws, std::size_t sim, FamilySlot slot, std::size_t chosen) {
    const Character& self = ws.characters.at(sim);
    const std::uint16_t a = RelationshipId(self);
    const std::uint16_t n = RelationshipId(ws.characters.at(chosen));
    SlotIds slots = SlotsOf(ws, a);
    if (slots[slot] == n || chosen == sim) return false;
    ClearMarks(ws, a, slot == FamilySlot::Spouse && slots[slot].has_value());
    RemoveTies(ws, a);
    if (slot == FamilySlot::Spouse) Unmarry(ws, n);
    slots[slot] = n;
    Derive(ws, a, slots, true);
    return true;
}

void RemoveFamilyTie(Workspace& ws, std::size_t sim, FamilySlot slot) {
    const std::uint16_t a = RelationshipId(ws.characters.at(sim));
    SlotIds slots = SlotsOf(ws, a);
    slots[slot].reset();
    ClearMarks(ws, a, false);
    RemoveTies(ws, a);
    Derive(ws, a, slots, false);
}

namespace {

// The chart's rows as they are filled: node indices per generation, and each sim's node.
struct ChartBuilder {
    const Workspace& ws;
    FamilyChart chart;
    std::unordered_map<std::size_t, std::size_t> nodeOfSim;
    std::vector<std::size_t> rows[5];

    std::vector<std::size_t> Related(std::size_t sim, std::initializer_list<std::uint32_t> types) const {
        std::vector<std::size_t> out;
        const std::uint16_t id = RelationshipId(ws.characters[sim]);
        for (const FamilyTie& tie : ws.familyTieList) {
            if (tie.simId != id || std::find(types.begin(), types.end(), tie.tieType) == types.end()) continue;
            const auto other = IndexOf(ws, tie.relatedId);
            if (other && *other != sim && std::find(out.begin(), out.end(), *other) == out.end()) out.push_back(*other);
        }
        return out;
    }
    // The sim's node (a sim is drawn once, where it is first reached).
    std::optional<std::size_t> Add(std::size_t sim, int generation, bool spouse = false) {
        if (nodeOfSim.contains(sim)) return std::nullopt;
        const std::size_t node = chart.nodes.size();
        chart.nodes.push_back({sim, generation, 0, false, spouse});
        nodeOfSim[sim] = node;
        rows[generation + 2].push_back(node);
        return node;
    }
    void Link(std::size_t fromSim, std::size_t toSim, bool spouses) {
        const auto a = nodeOfSim.find(fromSim);
        const auto b = nodeOfSim.find(toSim);
        if (a != nodeOfSim.end() && b != nodeOfSim.end()) chart.links.push_back({a->second, b->second, spouses});
    }
};

}  // namespace

FamilyChart BuildFamilyChart(const Workspace& ws, std::size_t sim) {
    ChartBuilder b{ws, {}, {}, {}};
    if (sim >= ws.characters.size()) return {};
    const auto parents = b.Related(sim, {kFirstParentTie, kSecondParentTie});
    const auto siblings = b.Related(sim, {kSiblingTie});
    // The middle row: the siblings, the sim, its spouse.
    for (std::size_t s : siblings) b.Add(s, 0);
    b.Add(sim, 0);
    b.chart.nodes[b.nodeOfSim[sim]].centre = true;
    for (std::size_t s : b.Related(sim, {kSpouseTie})) {
        b.Add(s, 0, true);
        b.Link(sim, s, true);
    }
    for (std::size_t p : parents) {
        b.Add(p, -1);
        for (std::size_t g : b.Related(p, {kFirstParentTie, kSecondParentTie})) {
            b.Add(g, -2);
            b.Link(g, p, false);
        }
    }
    for (std::size_t p : parents) {
        for (std::size_t child : b.Related(p, {kChildTie})) b.Link(p, child, false);
    }
    for (std::size_t child : b.Related(sim, {kChildTie})) {
        b.Add(child, 1);
        b.Link(sim, child, false);
        for (std::size_t s : b.Related(child, {kSpouseTie})) {
            if (b.Add(s, 1, true)) b.Link(child, s, true);
        }
    }
    for (std::size_t n : std::vector<std::size_t>(b.rows[3])) {
        const std::size_t child = b.chart.nodes[n].sim;
        for (std::size_t grandchild : b.Related(child, {kChildTie})) {
            b.Add(grandchild, 2);
            b.Link(child, grandchild, false);
        }
    }
    // The spouse of the sim is linked to their children too.
    for (const FamilyChartNode& node : std::vector<FamilyChartNode>(b.chart.nodes)) {
        if (node.generation == 0 && node.spouse) {
            for (std::size_t child : b.Related(node.sim, {kChildTie})) b.Link(node.sim, child, false);
        }
    }
    // Each row centred: the middle row on the sim, the others on their own middle.
    const auto& middle = b.rows[2];
    const auto centre = std::find(middle.begin(), middle.end(), b.nodeOfSim[sim]) - middle.begin();
    for (int row = 0; row < 5; ++row) {
        const auto& nodes = b.rows[row];
        const double shift = row == 2 ? static_cast<double>(centre) : (static_cast<double>(nodes.size()) - 1) / 2;
        for (std::size_t i = 0; i < nodes.size(); ++i) b.chart.nodes[nodes[i]].column = static_cast<double>(i) - shift;
    }
    return b.chart;
}

namespace {

std::string NameOfId(const Workspace& ws, std::uint16_t id) {
    if (const auto index = IndexOf(ws, id)) {
        const Character& sim = ws.characters[*index];
        std::string name = sim.firstName;
        if (!sim.lastName.empty()) name += (name.empty() ? "" : " ") + sim.lastName;
        if (!name.empty()) return name;
    }
    return "the sim " + HexId(id) + " (no character)";
}

std::string RelationText(int value) {
    const auto relations = FamilyRelations();
    if (value >= 0 && static_cast<std::size_t>(value) < relations.size()) {
        // The game's list texts end in a space ("Cousin "), which words do not need.
        std::string_view text = relations[static_cast<std::size_t>(value)].text;
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        return text.empty() ? std::string("none") : std::string(text);
    }
    return std::to_string(value);
}

}  // namespace

std::vector<PairChange> DescribeTieChanges(const Workspace& ws, const std::vector<FamilyTie>& before,
                                           const std::vector<FamilyTie>& after) {
    // Ties as wholes: those added and those taken away. A child tie mirrors a parent tie, and
    // each sibling or spouse tie has its twin: each bond is said once.
    std::unordered_map<std::uint64_t, long> count;
    for (const FamilyTie& tie : after) ++count[TieKey(tie)];
    for (const FamilyTie& tie : before) --count[TieKey(tie)];
    std::vector<std::pair<FamilyTie, bool>> changed;  // the tie, and whether it was added
    for (const FamilyTie& tie : after) {
        auto it = count.find(TieKey(tie));
        if (it->second > 0) {
            --it->second;
            changed.emplace_back(tie, true);
        }
    }
    for (const FamilyTie& tie : before) {
        auto it = count.find(TieKey(tie));
        if (it->second < 0) {
            ++it->second;
            changed.emplace_back(tie, false);
        }
    }
    std::vector<PairChange> out;
    for (const auto& [tie, added] : changed) {
        const std::string sim = NameOfId(ws, tie.simId);
        const std::string related = NameOfId(ws, tie.relatedId);
        switch (tie.tieType) {
            case kFirstParentTie:
            case kSecondParentTie: {
                const std::string slot = tie.tieType == kFirstParentTie ? "first parent" : "second parent";
                out.push_back({tie.simId, tie.relatedId,
                               added ? related + " becomes " + sim + "'s " + slot
                                     : related + " is no longer " + sim + "'s " + slot});
                break;
            }
            case kSiblingTie:
            case kSpouseTie: {
                if (tie.simId > tie.relatedId) break;  // its twin says it
                const std::string what = tie.tieType == kSiblingTie ? "siblings" : "spouses";
                out.push_back({tie.simId, tie.relatedId,
                               added ? sim + " and " + related + " become " + what
                                     : sim + " and " + related + " are no longer " + what});
                break;
            }
            default:
                break;  // child ties mirror the parent ties
        }
    }
    return out;
}

std::vector<PairChange> DescribeRecordChange(const Workspace& ws, const RelationshipRecord* before,
                                             const RelationshipRecord& after) {
    std::vector<PairChange> out;
    const std::string pair = NameOfId(ws, after.ownerId) + " to " + NameOfId(ws, after.otherId) + ": ";
    auto say = [&](std::string text) { out.push_back({after.ownerId, after.otherId, pair + text}); };
    const bool family = HasRelationshipFlag(after, kFamilyBit);
    if (!before) {
        say("a new relationship" + (family ? ", family relation " + RelationText(after.familyRelation) : std::string()));
        return out;
    }
    if (before->shortTerm != after.shortTerm) {
        say("short term " + std::to_string(before->shortTerm) + " \u2192 " + std::to_string(after.shortTerm));
    }
    if (before->longTerm != after.longTerm) {
        say("long term " + std::to_string(before->longTerm) + " \u2192 " + std::to_string(after.longTerm));
    }
    for (const RelationshipFlag& flag : RelationshipFlags()) {
        const bool was = HasRelationshipFlag(*before, flag.bit);
        const bool is = HasRelationshipFlag(after, flag.bit);
        if (was != is) say((is ? "marked " : "no longer marked ") + std::string(flag.caption));
    }
    if (before->familyRelation != after.familyRelation) {
        say("family relation " + RelationText(before->familyRelation) + " \u2192 " + RelationText(after.familyRelation));
    }
    return out;
}

FamilyConsequences FamilyChangeConsequences(const Workspace& ws, const std::vector<std::size_t>& involved,
                                            const std::function<void(Workspace&)>& change) {
    FamilyConsequences out;
    Workspace copy = ws;
    change(copy);
    std::vector<std::uint16_t> own;
    for (std::size_t sim : involved) {
        if (sim < ws.characters.size()) own.push_back(RelationshipId(ws.characters[sim]));
    }
    auto isOwn = [&](std::uint16_t id) { return std::find(own.begin(), own.end(), id) != own.end(); };
    auto take = [&](std::vector<PairChange> changes) {
        for (PairChange& line : changes) {
            if (!isOwn(line.first) || !isOwn(line.second)) out.othersTouched = true;
            out.lines.push_back(std::move(line.text));
        }
    };
    take(DescribeTieChanges(ws, ws.familyTieList, copy.familyTieList));
    // Records in the list's order; new ones are at the end of the copy's list.
    for (std::size_t i = 0; i < copy.relationshipList.size(); ++i) {
        const RelationshipRecord* was = i < ws.relationshipList.size() ? &ws.relationshipList[i] : nullptr;
        if (was && *was == copy.relationshipList[i]) continue;
        take(DescribeRecordChange(ws, was, copy.relationshipList[i]));
    }
    return out;
}

}  // namespace qh
