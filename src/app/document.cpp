#include "app/document.h"

#include <QFile>
#include <QFileInfo>
#include <QUndoCommand>
#include <algorithm>
#include <span>
#include <unordered_map>

#include "character/character_fields.h"
#include "workspace/households.h"
#include "package/text_list.h"
#include "workspace/change_words.h"
#include "workspace/family_tree.h"
#include "workspace/neighborhood_check.h"
#include "workspace/relationships.h"
#include "workspace/sim_removal.h"

namespace qh::app {

namespace {

constexpr int kMergeId = 1;

// Some owners' items, each with its place in the list.
using PlacedItems = std::vector<std::pair<std::size_t, NeighborhoodItem>>;

PlacedItems CaptureItems(const Workspace& ws, std::span<const std::uint32_t> owners) {
    PlacedItems items;
    for (std::size_t i = 0; i < ws.simItemList.size(); ++i) {
        if (std::find(owners.begin(), owners.end(), ws.simItemList[i].owner) != owners.end()) {
            items.emplace_back(i, ws.simItemList[i]);
        }
    }
    return items;
}

// Taking out every item of the owners and putting the snapshot's back at their places gives the
// list exactly as it was: the other owners' items keep their order in between.
void RestoreItems(Workspace& ws, std::span<const std::uint32_t> owners, const PlacedItems& items) {
    std::erase_if(ws.simItemList, [owners](const NeighborhoodItem& item) {
        return std::find(owners.begin(), owners.end(), item.owner) != owners.end();
    });
    for (const auto& [at, item] : items) {
        ws.simItemList.insert(ws.simItemList.begin() + static_cast<std::ptrdiff_t>(std::min(at, ws.simItemList.size())), item);
    }
}

// A sim's record, its own items (owner = its instance id) and its genetic record.
struct SimState {
    Character record;
    PlacedItems items;
    std::optional<DNA> dna;
    friend bool operator==(const SimState&, const SimState&) = default;
};

SimState CaptureSim(const Workspace& ws, std::size_t index) {
    const std::uint32_t owner[] = {ws.characters[index].instanceId};
    const DNA* dna = FindDna(ws, ws.characters[index].instanceId);
    return {ws.characters[index], CaptureItems(ws, owner), dna ? std::optional<DNA>(*dna) : std::nullopt};
}

void RestoreSim(Workspace& ws, std::size_t index, const SimState& state) {
    Character& sim = ws.characters[index];
    const std::uint32_t owner[] = {sim.instanceId};
    RestoreItems(ws, owner, state.items);
    if (state.dna) {
        if (DNA* dna = FindDna(ws, sim.instanceId)) *dna = *state.dna;
    }
    sim = state.record;
}

// Some relationship records (by position) with the list's length, and the items of some sims.
// Records past the length of the state before are those the change appended.
struct RelationshipsState {
    std::size_t listSize = 0;
    std::vector<std::pair<std::size_t, RelationshipRecord>> records;
    std::vector<std::uint32_t> owners;
    PlacedItems items;
    friend bool operator==(const RelationshipsState&, const RelationshipsState&) = default;
};

RelationshipsState CaptureRelationships(const Workspace& ws, const std::vector<std::size_t>& records,
                                        std::vector<std::uint32_t> owners) {
    RelationshipsState state{ws.relationshipList.size(), {}, std::move(owners), {}};
    for (std::size_t r : records) {
        if (r < ws.relationshipList.size()) state.records.emplace_back(r, ws.relationshipList[r]);
    }
    state.items = CaptureItems(ws, state.owners);
    return state;
}

void RestoreRelationships(Workspace& ws, const RelationshipsState& state) {
    const bool resized = ws.relationshipList.size() != state.listSize;
    ws.relationshipList.resize(state.listSize);
    for (const auto& [at, record] : state.records) {
        if (at < ws.relationshipList.size()) ws.relationshipList[at] = record;
    }
    if (resized) IndexRelationships(ws);
    RestoreItems(ws, state.owners, state.items);
}

// The owners whose items differ between two versions of the item list (in content or order).
std::vector<std::uint32_t> OwnersWithOtherItems(const std::vector<NeighborhoodItem>& before,
                                                const std::vector<NeighborhoodItem>& after) {
    std::unordered_map<std::uint32_t, std::vector<const NeighborhoodItem*>> was;
    std::unordered_map<std::uint32_t, std::vector<const NeighborhoodItem*>> is;
    for (const NeighborhoodItem& item : before) was[item.owner].push_back(&item);
    for (const NeighborhoodItem& item : after) is[item.owner].push_back(&item);
    auto same = [](const std::vector<const NeighborhoodItem*>& a, const std::vector<const NeighborhoodItem*>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](auto* x, auto* y) { return *x == *y; });
    };
    std::vector<std::uint32_t> owners;
    for (const auto& [owner, items] : is) {
        const auto old = was.find(owner);
        if (old == was.end() || !same(old->second, items)) owners.push_back(owner);
    }
    for (const auto& [owner, items] : was) {
        if (!is.contains(owner)) owners.push_back(owner);
    }
    std::sort(owners.begin(), owners.end());
    return owners;
}

// Relationship records carry no change mark: every save writes them all.
bool SameContent(const RelationshipsState& a, const RelationshipsState& b) { return a == b; }

// The family ties whole (a few bytes per tie), and the relationship records a change touched.
struct FamilyState {
    std::vector<FamilyTie> ties;
    RelationshipsState relationships;
    friend bool operator==(const FamilyState&, const FamilyState&) = default;
};
bool SameContent(const FamilyState& a, const FamilyState& b) { return a == b; }

// A sim's record and all three item lists, for edits that may touch any item.
struct SimAndItemsState {
    Character record;
    std::vector<NeighborhoodItem> sims, families, lots;
    friend bool operator==(const SimAndItemsState&, const SimAndItemsState&) = default;
};

SimAndItemsState CaptureSimAndItems(const Workspace& ws, std::size_t index) {
    return {ws.characters[index], ws.simItemList, ws.familyItemList, ws.lotItemList};
}

void RestoreSimAndItems(Workspace& ws, std::size_t index, const SimAndItemsState& state) {
    ws.characters[index] = state.record;
    ws.simItemList = state.sims;
    ws.familyItemList = state.families;
    ws.lotItemList = state.lots;
}

// The change marks say that a record differs from its file; two states that differ only in them
// hold the same content (a box typed back to what it held).
std::uint8_t& Mark(SimState& state) {
    if (state.dna) state.dna->dirty = 0;  // the genetic record's mark goes with the sim's
    return state.record.dirty;
}
std::uint8_t& Mark(SimAndItemsState& state) { return state.record.dirty; }
std::uint8_t& Mark(Neighborhood& state) { return state.dirty; }
template <typename State>
bool SameContent(State a, State b) {
    Mark(a) = Mark(b);
    return a == b;
}

// Every household, and the sim a move takes in.
struct HouseholdsState {
    std::vector<Household> households;
    std::optional<Character> sim;
    friend bool operator==(const HouseholdsState&, const HouseholdsState&) = default;
};

bool SameHousehold(Household a, Household b) {
    a.householdDirty = b.householdDirty;
    return a == b;
}

bool SameContent(HouseholdsState a, HouseholdsState b) {
    if (a.households.size() != b.households.size() || a.sim.has_value() != b.sim.has_value()) return false;
    for (std::size_t i = 0; i < a.households.size(); ++i) {
        if (!SameHousehold(a.households[i], b.households[i])) return false;
    }
    if (a.sim) a.sim->dirty = b.sim->dirty;
    return a.sim == b.sim;
}

// What a step changed, value by value, for the list of unsaved changes.
QStringList Lines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out;
}
QStringList ItemsLine(const PlacedItems& before, const PlacedItems& after) {
    if (before.size() == after.size() && std::equal(before.begin(), before.end(), after.begin(), after.end(),
                                                    [](const auto& a, const auto& b) { return a.second == b.second; })) {
        return {};
    }
    return {QStringLiteral("items: %1 \u2192 %2").arg(before.size()).arg(after.size())};
}
std::vector<NeighborhoodItem> Unplaced(const PlacedItems& items) {
    std::vector<NeighborhoodItem> out;
    out.reserve(items.size());
    for (const auto& [at, item] : items) out.push_back(item);
    return out;
}
// In the player's words first (what the panels call it), then the raw fields.
QStringList Describe(const GameSession& session, const SimState& before, const SimState& after) {
    return Lines(DescribeSimChanges(before.record, Unplaced(before.items), after.record, Unplaced(after.items), session.env)) +
           Lines(FieldDifferences(before.record, after.record)) + ItemsLine(before.items, after.items);
}
QStringList Describe(const SimAndItemsState& before, const SimAndItemsState& after) {
    QStringList lines = Lines(FieldDifferences(before.record, after.record));
    if (before.sims != after.sims || before.families != after.families || before.lots != after.lots) {
        lines << QStringLiteral("items of the neighborhood data changed");
    }
    return lines;
}
QStringList Describe(const Neighborhood& before, const Neighborhood& after) {
    QStringList lines;
    if (before.ngbdName != after.ngbdName) {
        lines << QStringLiteral("name: \"%1\" \u2192 \"%2\"")
                     .arg(QString::fromStdString(ToValidUtf8(before.ngbdName)), QString::fromStdString(ToValidUtf8(after.ngbdName)));
    }
    if (before.ngbdDescription != after.ngbdDescription) lines << QStringLiteral("description changed");
    return lines;
}
QStringList Describe(const HouseholdsState& before, const HouseholdsState& after) {
    QStringList lines;
    for (std::size_t i = 0; i < before.households.size() && i < after.households.size(); ++i) {
        const Household& a = before.households[i];
        const Household& b = after.households[i];
        const QString who = QString::fromStdString(HouseholdLabel(b));
        if (a.funds != b.funds) lines << QStringLiteral("%1 funds: %2 \u2192 %3").arg(who).arg(a.funds).arg(b.funds);
        if (a.members.size() != b.members.size()) {
            lines << QStringLiteral("%1 members: %2 \u2192 %3").arg(who).arg(a.members.size()).arg(b.members.size());
        }
        if (a.householdName != b.householdName) lines << QStringLiteral("%1: renamed").arg(who);
        if (a.householdDescription != b.householdDescription) lines << QStringLiteral("%1: description changed").arg(who);
    }
    if (before.sim && after.sim) lines << Lines(FieldDifferences(*before.sim, *after.sim));
    return lines;
}
// Relationship records and family ties are told with the sims' names as they are now.
QStringList Words(const std::vector<PairChange>& changes) {
    QStringList lines;
    for (const PairChange& change : changes) lines << QString::fromStdString(ToValidUtf8(change.text));
    return lines;
}
QStringList Describe(const Workspace& ws, const RelationshipsState& before, const RelationshipsState& after) {
    QStringList lines;
    std::unordered_map<std::size_t, const RelationshipRecord*> was;
    for (const auto& [at, record] : before.records) was[at] = &record;
    for (const auto& [at, record] : after.records) {
        const auto old = was.find(at);
        lines << Words(DescribeRecordChange(ws, old == was.end() ? nullptr : old->second, record));
    }
    if (before.items != after.items) lines << QStringLiteral("items changed (furious, contact)");
    return lines;
}
QStringList Describe(const Workspace& ws, const FamilyState& before, const FamilyState& after) {
    return Words(DescribeTieChanges(ws, before.ties, after.ties)) + Describe(ws, before.relationships, after.relationships);
}
// Every other state is told without the workspace.
template <typename State>
QStringList Describe(const Workspace&, const State& before, const State& after) {
    return Describe(before, after);
}
template <typename State>
QStringList Describe(const GameSession& session, const State& before, const State& after) {
    return Describe(session.workspace, before, after);
}

// What every step of the document carries for the list of unsaved changes.
class DocumentCommand : public QUndoCommand {
public:
    DocumentCommand(QString target, QString what)
        : target_(std::move(target)), what_(std::move(what)) {
        setText(what_ + QStringLiteral(" of ") + target_);
    }
    const QString& target() const { return target_; }
    const QString& what() const { return what_; }
    // The sim the step changed, by its character package (which a rename leaves as it is), or
    // empty for a step of the neighborhood, the households or a pair.
    const std::string& simFile() const { return simFile_; }
    // What the step changed, value by value ("cookingSkill: 339 → 900"), as it stands now.
    virtual QStringList Details() const { return {}; }

protected:
    std::string simFile_;

private:
    QString target_;
    QString what_;
};

// What a step may change that carries a change mark: the records a save writes only when marked.
// Relationship records, family ties and items carry none (every save writes them all), so a step
// of those alone names nothing here.
struct MarkedScope {
    std::vector<std::size_t> sims;  // by index in the workspace
    bool households = false;
    bool neighborhood = false;
};

// Restoring a snapshot taken before a later save: what it brings back no longer matches the
// files, so everything in the step's scope is marked changed and the next save writes it again
// (a record written with the content it already has is written as it is). Where a sim's portrait
// lies is the file's state, not the edit's: a save in between may have moved or dropped it, so
// the current one stays. This is the one rule for every kind of step.
void RestoreAfterSave(Document& document, const MarkedScope& scope, const std::function<void()>& restore) {
    Workspace& ws = document.workspace();
    std::vector<std::optional<IndexEntry>> portraits;
    for (std::size_t sim : scope.sims) {
        if (sim < ws.characters.size()) portraits.push_back(ws.characters[sim].portrait);
    }
    restore();
    for (std::size_t i = 0; i < scope.sims.size() && i < portraits.size(); ++i) {
        Character& sim = ws.characters[scope.sims[i]];
        sim.dirty = 1;
        sim.portrait = portraits[i];
        // The genetic record is written only when marked: what the restore brought back must be,
        // when it is not what the file holds.
        if (DNA* dna = FindDna(ws, sim.instanceId); dna && dna->keptAsIs.empty()) {
            const auto at = static_cast<std::size_t>(dna - ws.dnaList.data());
            if (at >= ws.dnaAsSaved.size() || !SameGenes(*dna, ws.dnaAsSaved[at])) dna->dirty = 1;
        }
    }
    if (scope.households) {
        for (Household& household : ws.households) household.householdDirty = 1;
    }
    if (scope.neighborhood) {
        if (Neighborhood* n = document.neighborhood()) n->dirty = 1;
    }
}

// A step that restores a snapshot of what it touched. The first redo is the edit itself, already
// made. A snapshot taken before a later save is restored through RestoreAfterSave.
template <typename State>
class SnapshotCommand final : public DocumentCommand {
public:
    using Apply = std::function<void(const State& state)>;
    SnapshotCommand(Document& document, QString target, QString what, QString mergeKey, State before, State after,
                    Change change, MarkedScope scope, Apply apply)
        : DocumentCommand(std::move(target), std::move(what)), document_(document), mergeKey_(std::move(mergeKey)),
          before_(std::move(before)), after_(std::move(after)), epoch_(document.saveEpoch()), change_(change),
          scope_(std::move(scope)), apply_(std::move(apply)) {
        const auto& sims = document.workspace().characters;
        if (change.subject == Subject::Sim && change.sim >= 0 && static_cast<std::size_t>(change.sim) < sims.size()) {
            simFile_ = sims[static_cast<std::size_t>(change.sim)].packageFile;
        }
    }

    void undo() override { Restore(before_); }
    void redo() override {
        if (first_) {
            first_ = false;
            document_.Notify(change_);
            return;
        }
        Restore(after_);
    }
    int id() const override { return mergeKey_.isEmpty() ? -1 : kMergeId; }
    QStringList Details() const override { return Describe(document_.session(), before_, after_); }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const SnapshotCommand*>(other);
        if (!next || next->mergeKey_ != mergeKey_ || next->epoch_ != epoch_) return false;
        after_ = next->after_;
        setObsolete(SameContent(before_, after_));  // typed back to where it started
        return true;
    }

private:
    void Restore(const State& state) {
        if (document_.saveEpoch() != epoch_) {
            RestoreAfterSave(document_, scope_, [&] { apply_(state); });
        } else {
            apply_(state);
        }
        Change replay = change_;
        replay.replay = true;
        document_.Notify(replay);
    }
    Document& document_;
    QString mergeKey_;
    State before_;
    State after_;
    int epoch_;
    Change change_;
    MarkedScope scope_;
    Apply apply_;
    bool first_ = true;
};

// Deleting a sim: its package to the trash and the sim with every record naming it out of the
// model (the next save drops its resources from the neighborhood package); undoing brings both
// back, each record at its place. Once a save has dropped the resources the deletion stays: the
// step says so and leaves the history.
class DeleteSimCommand final : public DocumentCommand {
public:
    DeleteSimCommand(Document& document, Trash& trash, std::size_t index, QString path, QString pathInTrash)
        : DocumentCommand(SimName(document.workspace().characters[index]), QStringLiteral("deletion")),
          document_(document), trash_(trash), index_(index), path_(std::move(path)),
          pathInTrash_(std::move(pathInTrash)) {
        simFile_ = document.workspace().characters[index].packageFile;
        fromMemory_ = dynamic_cast<MemoryTrash*>(&trash) != nullptr;
        if (const FileStamp* stamp = document.workspace().loadedFiles.Find(Path())) stamp_ = *stamp;
    }

    void redo() override {
        if (!first_) {
            const auto moved = trash_.MoveToTrash(path_);
            if (!moved) {
                document_.reporter().Error("Delete Operation Failed.");
                return;
            }
            pathInTrash_ = *moved;
        }
        first_ = false;
        Workspace& ws = document_.workspace();
        ws.loadedFiles.Erase(Path());
        removal_ = RemoveSim(ws, index_);
        if (!removal_.recordsRemoved) CharacterFileDeleted(ws, removal_.sim, true);
        deleted_ = true;
        document_.Notify({Subject::SimList, static_cast<int>(index_), false});
    }
    void undo() override {
        if (!deleted_) return;
        Workspace& ws = document_.workspace();
        if (RemovalSaved(ws, removal_)) {
            // The package no longer holds the sim's description or relationships: the sim cannot
            // come back whole, so it does not come back at all.
            document_.reporter().Error(SimName(removal_.sim).toStdString() +
                                       " was deleted and the neighborhood saved since; the deletion cannot be undone. "
                                       "The character package is in the trash.");
            document_.StayCleanAfterThisUndo();
            setObsolete(true);
            return;
        }
        if (!trash_.Restore(pathInTrash_, path_)) {
            document_.reporter().Error("The character package could not be brought back from the trash; it is at " +
                                       pathInTrash_.toStdString() + " and belongs at " + path_.toStdString() + ".");
        }
        UndoSimRemoval(ws, removal_);
        if (stamp_) ws.loadedFiles.Set(Path(), *stamp_);
        if (!removal_.recordsRemoved) CharacterFileDeleted(ws, removal_.sim, false);
        deleted_ = false;
        document_.Notify({Subject::SimList, static_cast<int>(index_), true});
    }

    QStringList Details() const override {
        QStringList details{fromMemory_ ? QStringLiteral("deleted for good; Undo writes it back while the program runs")
                                        : QStringLiteral("moved to the trash; Undo brings it back")};
        if (removal_.recordsRemoved) {
            details << QStringLiteral("its description, genes, %1 relationship records and %2 family ties leave the "
                                      "neighborhood when saved")
                           .arg(removal_.relationships.size())
                           .arg(removal_.ties.size());
        }
        return details;
    }

private:
    std::filesystem::path Path() const { return document_.workspace().charactersFolder / simFile_; }
    bool fromMemory_ = false;
    Document& document_;
    Trash& trash_;
    std::size_t index_;
    SimRemoval removal_;
    std::optional<FileStamp> stamp_;
    QString path_;
    QString pathInTrash_;
    bool first_ = true;
    bool deleted_ = false;
};

}  // namespace

QString SimName(const Character& sim) {
    const QString first = QString::fromStdString(TrimText(ToValidUtf8(sim.firstName)));
    const QString last = QString::fromStdString(TrimText(ToValidUtf8(sim.lastName)));
    const QString name = (first + QLatin1Char(' ') + last).trimmed();
    return name.isEmpty() ? QString::fromStdString(sim.packageFile) : name;
}

Document::Document(GameSession& session, Reporter& reporter, QObject* parent)
    : QObject(parent), session_(session), reporter_(reporter) {
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit unsavedChanged(!clean); });
    connect(&history_, &QUndoStack::indexChanged, this, [this] {
        if (!cleanAfterUndo_) return;
        cleanAfterUndo_ = false;
        history_.setClean();
    });
}

Document::~Document() = default;

namespace {

// One edit of a sim: the state before and after, nothing when only the change mark moved, else a
// step that restores either.
template <typename State>
void EditSimState(Document& document, QUndoStack& history, std::size_t index, const QString& what,
                  const std::function<void(Workspace&, Character&)>& change, const QString& mergeKey,
                  State (*capture)(const Workspace&, std::size_t), void (*restore)(Workspace&, std::size_t, const State&)) {
    Workspace& ws = document.workspace();
    if (index >= ws.characters.size()) return;
    const QString target = SimName(ws.characters[index]);
    State before = capture(ws, index);
    change(ws, ws.characters[index]);
    State after = capture(ws, index);
    if (SameContent(before, after)) {
        restore(ws, index, before);  // not even the change mark
        return;
    }
    auto apply = [&document, index, restore](const State& state) { restore(document.workspace(), index, state); };
    history.push(new SnapshotCommand<State>(document, target, what,
                                            mergeKey.isEmpty() ? QString() : mergeKey + QString::number(index),
                                            std::move(before), std::move(after),
                                            {Subject::Sim, static_cast<int>(index), false}, MarkedScope{{index}},
                                            apply));
}

}  // namespace

void Document::EditSim(std::size_t index, const QString& what, const std::function<void(Workspace&, Character&)>& change,
                       const QString& mergeKey) {
    EditSimState<SimState>(*this, history_, index, what, change, mergeKey, CaptureSim, RestoreSim);
}

void Document::EditSimAndItems(std::size_t index, const QString& what,
                               const std::function<void(Workspace&, Character&)>& change) {
    EditSimState<SimAndItemsState>(*this, history_, index, what, change, {}, CaptureSimAndItems, RestoreSimAndItems);
}

void Document::EditRelationshipPair(std::size_t record, const QString& target, const QString& what,
                                    const std::function<void(Workspace&)>& change, const QString& mergeKey) {
    Workspace& ws = workspace();
    if (record >= ws.relationshipList.size()) return;
    const RelationshipRecord& pair = ws.relationshipList[record];
    std::vector<std::size_t> records{record};
    const auto reverse = ReverseRecords(ws, record);
    records.insert(records.end(), reverse.begin(), reverse.end());
    const std::vector<std::uint32_t> owners{pair.ownerId, pair.otherId};
    RelationshipsState before = CaptureRelationships(ws, records, owners);
    change(ws);
    for (std::size_t r = before.listSize; r < ws.relationshipList.size(); ++r) records.push_back(r);
    RelationshipsState after = CaptureRelationships(ws, records, owners);
    // Records the change appended are in the state after; restoring the one before shortens the list.
    if (SameContent(before, after)) return;
    auto apply = [this](const RelationshipsState& state) { RestoreRelationships(workspace(), state); };
    const auto owner = ws.simByInstance.find(owners[0]);
    const int sim = owner == ws.simByInstance.end() ? -1 : static_cast<int>(owner->second);
    history_.push(new SnapshotCommand<RelationshipsState>(
        *this, target, what, mergeKey.isEmpty() ? QString() : mergeKey + QString::number(record), std::move(before),
        std::move(after), {Subject::Relationships, sim, false}, MarkedScope{}, apply));
}

void Document::EditFamily(std::size_t sim, const QString& what, const std::function<void(Workspace&)>& change,
                          Subject subject) {
    Workspace& ws = workspace();
    if (sim >= ws.characters.size()) return;
    // Which records and items a change touches is known only afterwards: the lists are compared
    // with copies, once per change.
    std::vector<FamilyTie> tiesBefore = ws.familyTieList;
    const std::vector<RelationshipRecord> recordsBefore = ws.relationshipList;
    const std::vector<NeighborhoodItem> itemsBefore = ws.simItemList;
    change(ws);
    std::vector<std::size_t> touched;
    for (std::size_t i = 0; i < ws.relationshipList.size(); ++i) {
        if (i >= recordsBefore.size() || ws.relationshipList[i] != recordsBefore[i]) touched.push_back(i);
    }
    const std::vector<std::uint32_t> owners = OwnersWithOtherItems(itemsBefore, ws.simItemList);
    FamilyState before{std::move(tiesBefore), {recordsBefore.size(), {}, owners, {}}};
    for (std::size_t r : touched) {
        if (r < recordsBefore.size()) before.relationships.records.emplace_back(r, recordsBefore[r]);
    }
    for (std::size_t i = 0; i < itemsBefore.size(); ++i) {
        if (std::find(owners.begin(), owners.end(), itemsBefore[i].owner) != owners.end()) {
            before.relationships.items.emplace_back(i, itemsBefore[i]);
        }
    }
    FamilyState after{ws.familyTieList, CaptureRelationships(ws, touched, owners)};
    if (SameContent(before, after)) return;
    auto apply = [this](const FamilyState& state) {
        workspace().familyTieList = state.ties;
        RestoreRelationships(workspace(), state.relationships);
    };
    history_.push(new SnapshotCommand<FamilyState>(*this, SimName(ws.characters[sim]), what, {}, std::move(before),
                                                   std::move(after), {subject, static_cast<int>(sim), false}, MarkedScope{},
                                                   apply));
}

std::string Document::ApplyOperation(const SimOperation& operation, std::size_t sim, std::string_view value,
                                     bool advanced) {
    Workspace& ws = workspace();
    if (sim >= ws.characters.size()) return "no such sim";
    std::string problem;
    SimOperationContext context{ws, session_.env, advanced};
    const QString what = QString::fromUtf8(operation.name.data(), static_cast<qsizetype>(operation.name.size()));
    auto run = [&](Workspace& w) { problem = ApplySimOperation(operation, context, w.characters[sim], value); };
    switch (operation.scope) {
        case EditScope::Sim:
            EditSim(sim, what, [&](Workspace& w, Character&) { run(w); });
            break;
        case EditScope::Households:
            EditHouseholds(SimName(ws.characters[sim]), what, sim, run);
            break;
        case EditScope::Relationships:
            EditFamily(sim, what, run, Subject::Relationships);
            break;
        case EditScope::Family:
            EditFamily(sim, what, run, Subject::Family);
            break;
    }
    return problem;
}

void Document::EditNeighborhood(const QString& what, const std::function<void(Neighborhood&)>& change,
                                const QString& mergeKey) {
    Neighborhood* n = neighborhood();
    if (!n) return;
    Neighborhood before = *n;
    change(*n);
    Neighborhood after = *n;
    if (SameContent(before, after)) {
        *n = before;
        return;
    }
    const std::size_t entry = *session_.loaded;
    auto apply = [this, entry](const Neighborhood& state) { session_.catalogue[entry] = state; };
    history_.push(new SnapshotCommand<Neighborhood>(*this, QStringLiteral("the neighborhood"), what, mergeKey,
                                                    std::move(before), std::move(after),
                                                    {Subject::Neighborhood, -1, false},
                                                    MarkedScope{{}, false, true}, apply));
}

void Document::EditHouseholds(const QString& target, const QString& what, std::optional<std::size_t> sim,
                              const std::function<void(Workspace&)>& change, const QString& mergeKey) {
    Workspace& ws = workspace();
    if (sim && *sim >= ws.characters.size()) return;
    auto capture = [&ws, sim] {
        HouseholdsState state{ws.households, std::nullopt};
        if (sim) state.sim = ws.characters[*sim];
        return state;
    };
    HouseholdsState before = capture();
    change(ws);
    HouseholdsState after = capture();
    auto apply = [this, sim](const HouseholdsState& state) {
        Workspace& w = workspace();
        w.households = state.households;
        if (sim && state.sim) w.characters[*sim] = *state.sim;
    };
    if (SameContent(before, after)) {
        apply(before);  // not even the change marks
        return;
    }
    const Change notice = sim ? Change{Subject::Sim, static_cast<int>(*sim), false} : Change{Subject::Households, -1, false};
    MarkedScope scope{{}, true, false};
    if (sim) scope.sims.push_back(*sim);
    history_.push(new SnapshotCommand<HouseholdsState>(*this, target, what, mergeKey, std::move(before), std::move(after),
                                                       notice, std::move(scope), apply));
}

bool Document::DeleteSim(std::size_t index, Trash& trash) {
    Workspace& ws = workspace();
    if (index >= ws.characters.size()) return false;
    const QString path = QString::fromStdString((ws.charactersFolder / ws.characters[index].packageFile).string());
    const auto pathInTrash = trash.MoveToTrash(path);
    if (!pathInTrash) return false;
    history_.push(new DeleteSimCommand(*this, trash, index, path, *pathInTrash));
    return true;
}

bool Document::DeleteSimForGood(std::size_t index) { return DeleteSim(index, memoryTrash_); }

std::optional<QString> MemoryTrash::MoveToTrash(const QString& path) {
    try {
        Bytes bytes = ReadFileBytes(std::filesystem::path(path.toStdString()));
        if (!QFile::remove(path)) return std::nullopt;
        const QString token = QStringLiteral("memory:") + QString::number(++next_);
        kept_[token] = std::move(bytes);
        return token;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool MemoryTrash::Restore(const QString& pathInTrash, const QString& path) {
    const auto it = kept_.find(pathInTrash);
    if (it == kept_.end() || QFileInfo::exists(path)) return false;
    try {
        AtomicReplace(std::filesystem::path(path.toStdString()), it->second);
    } catch (const std::exception&) {
        return false;
    }
    kept_.erase(it);
    return true;
}

std::vector<ChangeGroup> Document::UnsavedChanges() const {
    std::vector<ChangeGroup> groups;
    // One group per sim, found by its character package and named as it is called now, however
    // often it was renamed; the other steps by what they changed.
    std::vector<std::string> keys;
    auto add = [&](const QUndoCommand* command, const QString& prefix) {
        const auto* step = dynamic_cast<const DocumentCommand*>(command);
        if (!step) return;
        const std::string key = step->simFile().empty() ? "target:" + step->target().toStdString()
                                                         : "sim:" + step->simFile();
        const auto at = std::find(keys.begin(), keys.end(), key);
        std::size_t group = static_cast<std::size_t>(at - keys.begin());
        if (at == keys.end()) {
            QString label = step->target();
            if (!step->simFile().empty()) {
                if (const auto sim = FindSimByFile(session_.workspace, step->simFile())) {
                    label = SimName(session_.workspace.characters[*sim]);
                }
            }
            keys.push_back(key);
            groups.push_back(ChangeGroup{label, {}});
        }
        // The step, and what it changed value by value: the first few, and how many more.
        QString line = prefix + step->what();
        const QStringList details = step->Details();
        constexpr int kShown = 4;
        if (!details.isEmpty()) {
            line += QStringLiteral(" (") + QStringList(details.mid(0, kShown)).join(QStringLiteral("; "));
            if (details.size() > kShown) line += QStringLiteral("; and %1 more").arg(details.size() - kShown);
            line += QLatin1Char(')');
        }
        groups[group].changes << line;
    };
    const int now = history_.index();
    const int clean = history_.cleanIndex();
    if (clean < 0) {
        // The saved point is gone (undone and then replaced): every step counts.
        for (int i = 0; i < now; ++i) add(history_.command(i), {});
    } else if (clean <= now) {
        for (int i = clean; i < now; ++i) add(history_.command(i), {});
    } else {
        for (int i = clean - 1; i >= now; --i) add(history_.command(i), QStringLiteral("undone: "));
    }
    return groups;
}

void Document::MarkSaved(bool complete) {
    ++saveEpoch_;
    if (complete) history_.setClean();
}

void Document::Reset() {
    history_.clear();
    ++saveEpoch_;
}

}  // namespace qh::app
