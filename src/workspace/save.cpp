#include "workspace/save.h"

#include <algorithm>
#include <future>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "character/sim_description.h"
#include "package/extract.h"
#include "package/property_set.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/beside.h"
#include "platform/errors.h"
#include "platform/folder_lock.h"
#include "platform/paths.h"
#include "workspace/cloning.h"
#include "workspace/households.h"
#include "workspace/merge_edits.h"
#include "workspace/neighborhood_data.h"
#include "workspace/relationships.h"

namespace qh {
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesToWrite(const Workspace& ws) {
    std::vector<fs::path> files{ws.packagePath};
    for (const Character& sim : ws.characters) {
        if (sim.dirty) files.push_back(ws.charactersFolder / sim.packageFile);
    }
    return files;
}

// The neighborhood's names live in the first CTSS, the one the loader read; it is rewritten only
// when a name changed, and then only in the language being written. Any other is carried.
EntryOutcome WriteNames(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                        PackageImage& image) {
    if (c.namesWritten) return CopyEntry(entry, stored, image);
    c.namesWritten = true;
    // Names the player did not edit are the file's, whatever the game made of them meanwhile.
    if (!c.neighborhood.dirty) return CopyEntry(entry, stored, image);
    const std::string strings[2] = {c.neighborhood.ngbdName, c.neighborhood.ngbdDescription};
    if (!UpdateTextList(stored, strings, TextListLayout::NameAndDescription, c.options.languageCode, image)) {
        return CopyEntry(entry, stored, image);
    }
    return EntryOutcome::Keep;
}

// The sim as the description should hold it: the model, or in a forced save the player's edits
// onto the sim as the resource holds it now.
Character EditsOntoFile(const SaveContext& c, const Character& mine, std::span<const std::uint8_t> stored) {
    if (!c.mergeIntoFile) return mine;
    const auto saved = c.workspace.charactersAsSaved.find(mine.packageFile);
    if (saved == c.workspace.charactersAsSaved.end()) return mine;
    Character now = mine;
    if (!ReadCharacterDescription(stored, now)) return mine;
    return ApplyCharacterEdits(now, saved->second, mine);
}

// A description is patched on a copy, so that one the writer cannot rebuild (too short for its
// format) is carried exactly as it was; the save goes on with the rest.
EntryOutcome WriteDescription(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                              PackageImage& image) {
    std::vector<std::size_t> sims;
    try {
        const auto guid = StoredDescriptionGuid(stored);
        if (guid && c.deletedGuids.contains(GuidValue(*guid))) return EntryOutcome::Drop;  // a deleted sim's
        if (guid) {
            const auto it = c.changedSimsByGuid.find(GuidValue(*guid));
            if (it != c.changedSimsByGuid.end()) sims = it->second;
        }
        if (sims.empty()) return CopyEntry(entry, stored, image);
        std::vector<Character> owners;
        for (std::size_t sim : sims) owners.push_back(EditsOntoFile(c, c.workspace.characters[sim], stored));
        WriteCharacterDescription(stored, owners, image);
        return EntryOutcome::Keep;
    } catch (const FormatError& error) {
        if (!c.toldDescriptionsKept) {
            c.toldDescriptionsKept = true;
            c.reporter.Error("A sim description (instance " + HexId(entry.key.instanceId) + ") in " +
                             c.workspace.packagePath.filename().string() + " could not be rewritten: " + error.what() +
                             "\r\nIt was kept as it was; the rest of the neighborhood was saved.");
        }
        c.simsNotWritten.insert(c.simsNotWritten.end(), sims.begin(), sims.end());
        return CopyEntry(entry, stored, image);
    }
}

EntryOutcome WriteNeighborhoodDataEntry(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                                        PackageImage& image) {
    // Only the first such resource holds the items the model has (the loader reads no other); a
    // resource that could not be read at load is carried as it is.
    if (c.neighborhoodDataWritten || !c.workspace.neighborhoodData) return CopyEntry(entry, stored, image);
    c.neighborhoodDataWritten = true;
    const Workspace& ws = c.workspace;
    // Items the player did not touch stay as the file holds them (hundreds of thousands in a large
    // neighborhood: most saves change none).
    if (!c.simItemsChanged) {
        // Another program's items, kept: the layout is the one of the bytes the file holds now.
        if (c.mergeIntoFile) c.neighborhoodDataWrittenLayout = ReadNeighborhoodLayout(stored);
        return CopyEntry(entry, stored, image);
    }
    const Bytes rebuilt =
        WriteNeighborhoodData(stored, c.mergeIntoFile ? ApplyItemEdits(ReadSimItems(stored), ws.simItemsAsSaved, ws.simItemList)
                                                      : ws.simItemList);
    image.insert(image.end(), rebuilt.begin(), rebuilt.end());
    c.neighborhoodDataWrittenLayout = ReadNeighborhoodLayout(rebuilt);
    return EntryOutcome::Keep;
}

// The household as the files held it at the load or the last save.
const Household* HouseholdAsSaved(const Workspace& ws, const Household& household) {
    const auto index = static_cast<std::size_t>(&household - ws.households.data());
    if (index >= ws.householdsAsSaved.size()) return nullptr;
    const Household& saved = ws.householdsAsSaved[index];
    if (saved.instanceId != household.instanceId || saved.storedOrdinal != household.storedOrdinal) return nullptr;
    return &saved;
}

// A household's resource is rebuilt from its record when the household changed; the layout is
// read from the resource as it stands now.
EntryOutcome WriteHouseholdEntry(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                                 PackageImage& image) {
    // The n-th resource of an instance id is written from the record read from it; one that
    // could not be read has none and is copied.
    const std::uint32_t ordinal = c.householdsSeen[entry.key.instanceId]++;
    const Household* household = FindStoredHousehold(c.workspace, entry.key.instanceId, ordinal);
    if (!household || !household->householdDirty) return CopyEntry(entry, stored, image);
    const Household* saved = HouseholdAsSaved(c.workspace, *household);
    if (!c.mergeIntoFile || !saved) {
        WriteHousehold(stored, *household, image);
        return EntryOutcome::Keep;
    }
    Household now = *household;
    ReadHousehold(stored, now);
    WriteHousehold(stored, ApplyHouseholdEdits(now, *saved, *household), image);
    return EntryOutcome::Keep;
}

// A changed household's text list is rewritten only when its name or description changed, and
// then only in the language being written. Text lists of other owners, and those of households
// whose list could not be read, are copied.
EntryOutcome WriteHouseholdNames(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                                 PackageImage& image) {
    const Household* household = FindHousehold(c.workspace, entry.key.instanceId);
    if (!household || !household->householdDirty || !household->hasTextList) return CopyEntry(entry, stored, image);
    std::string strings[2] = {household->householdName, household->householdDescription};
    const Household* saved = HouseholdAsSaved(c.workspace, *household);
    if (c.mergeIntoFile && saved) {
        // Only a text the player changed is the player's; the other is as the list holds it now.
        std::string now[2] = {saved->householdName, saved->householdDescription};
        try {
            ReadTextList(stored, c.options.languageCode, now);
        } catch (const FormatError&) {
        }
        strings[0] = household->householdName == saved->householdName ? now[0] : household->householdName;
        strings[1] = household->householdDescription == saved->householdDescription ? now[1]
                                                                                      : household->householdDescription;
    }
    if (!UpdateTextList(stored, strings, TextListLayout::NameAndDescription, c.options.languageCode, image)) {
        return CopyEntry(entry, stored, image);
    }
    return EntryOutcome::Keep;
}

bool SamePair(const RelationshipRecord& a, const RelationshipRecord& b) {
    return a.ownerId == b.ownerId && a.otherId == b.otherId;
}

// A relationship resource carries the file's own bytes unless the player edited its record; an
// edited one takes the edits onto what it holds now. One too short to interpret, or one that
// could not be read at load (and so has no record), is carried as it is. One without a record is
// dropped only when this program added it and the record was undone after that save; any other
// (one the game added since the load) stays.
EntryOutcome WriteRelationshipEntry(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                                    PackageImage& image) {
    const auto owner = static_cast<std::uint16_t>(entry.key.instanceId >> 16);
    const auto other = static_cast<std::uint16_t>(entry.key.instanceId);
    // A deleted sim's feelings, and those about it, leave with it.
    if (!c.deletedRelationIds.empty() &&
        (c.deletedRelationIds.contains(owner) || c.deletedRelationIds.contains(other))) {
        return EntryOutcome::Drop;
    }
    // A pair none of whose records differs from the file, and none undone, is carried.
    if (!c.relationshipPairsToWrite.contains(entry.key.instanceId)) return CopyEntry(entry, stored, image);
    if (!RelationshipResourceReadable(stored)) return CopyEntry(entry, stored, image);
    const Workspace& ws = c.workspace;
    const auto records = RelationshipsBetween(ws, owner, other);
    std::size_t nth = 0;
    if (!records.empty()) {
        if (c.relationshipsSeen.empty()) c.relationshipsSeen.resize(ws.relationshipOrder.size(), 0);
        // The pair's run begins where the span lies in the lookup's order: one counter per pair.
        const auto place = static_cast<std::size_t>(records.data() - ws.relationshipOrder.data());
        nth = c.relationshipsSeen[place]++;
    }
    if (nth >= records.size()) {
        const auto undone = c.undoneAppended.find(entry.key.instanceId);
        if (undone == c.undoneAppended.end() || undone->second == 0) return CopyEntry(entry, stored, image);
        --undone->second;
        return EntryOutcome::Drop;
    }
    const std::size_t record = records[nth];
    const RelationshipRecord& mine = ws.relationshipList[record];
    if (record < ws.relationshipsAsSaved.size() && !mine.isNew && SamePair(mine, ws.relationshipsAsSaved[record])) {
        const RelationshipRecord& saved = ws.relationshipsAsSaved[record];
        if (mine == saved) return CopyEntry(entry, stored, image);  // nobody edited it here
        RelationshipRecord now;
        now.ownerId = owner;
        now.otherId = other;
        ReadRelationshipResource(stored, now);
        c.relationshipsWritten.emplace_back(record, WriteRelationshipResource(stored, ApplyRelationshipEdits(now, saved, mine), image));
        return EntryOutcome::Keep;
    }
    c.relationshipsWritten.emplace_back(record, WriteRelationshipResource(stored, mine, image));
    return EntryOutcome::Keep;
}

// Records made in memory get a resource at the end of the package, in list order; one that a
// resource of the package already stands for (brought back by a redo after it was saved) gets
// none.
void AppendNewRelationships(SaveContext& c, ResourceAppender& appender) {
    std::vector<std::uint8_t> written(c.workspace.relationshipList.size(), 0);
    for (const auto& [record, what] : c.relationshipsWritten) written[record] = 1;
    for (std::size_t i = 0; i < c.workspace.relationshipList.size(); ++i) {
        const RelationshipRecord& record = c.workspace.relationshipList[i];
        if (!record.isNew || written[i]) continue;
        RelationshipWritten what;
        const Bytes content = NewRelationshipResource(record, what);
        appender.Append({kRelationshipType, 0xFFFFFFFF, RelationshipInstance(record.ownerId, record.otherId), 0},
                        content);
        c.relationshipsWritten.emplace_back(i, what);
    }
}

// Whether two lists hold the same ties, in whatever order (the file keeps a sim's ties together,
// the list keeps them in the order they were made).
bool SameTies(std::vector<FamilyTie> a, std::vector<FamilyTie> b) {
    if (a.size() != b.size()) return false;
    auto order = [](const FamilyTie& x, const FamilyTie& y) {
        return std::tie(x.simId, x.relatedId, x.tieType) < std::tie(y.simId, y.relatedId, y.tieType);
    };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    return a == b;
}

// The family tree is written into the first family-ties resource, the one the loader read;
// another (the game writes none) is carried as it is, and so is the first when it could not be
// read.
EntryOutcome WriteFamilyTiesEntry(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                                  PackageImage& image) {
    if (c.familyTiesWritten || !c.workspace.familyTiesStored) return CopyEntry(entry, stored, image);
    c.familyTiesWritten = true;
    // The words beside the ties come from the resource as it is now. A tree laid out otherwise
    // than the writer would (rewritten by another program since the load) is carried as it is
    // when it holds the ties the model has; the model's ties cannot be written into it, and the
    // save fails rather than drop them or the other program's bytes.
    const Workspace& ws = c.workspace;
    if (!c.familyTiesChanged) return CopyEntry(entry, stored, image);  // no tie edited
    if (!FamilyTiesExplained(stored)) {
        throw FormatError("the family tree was rewritten by another program since it was loaded, in a layout "
                          "Quillhaven does not write, so the family changes cannot be saved into it");
    }
    // The ties the player added and removed, applied onto the tree as the file holds it now (the
    // same as at the load, unless the game saved meanwhile).
    std::vector<FamilyTie> now;
    ReadFamilyTies(stored, now);
    WriteFamilyTies(stored, SameTies(now, ws.familyTiesAsSaved) ? ws.familyTieList
                                                               : ApplyTieEdits(now, ws.familyTiesAsSaved, ws.familyTieList),
                    image);
    return EntryOutcome::Keep;
}

// A genetic record is written only when the player changed it and its sim (the game reads the two
// together); any other carries the file's own bytes.
EntryOutcome WriteGeneticsEntry(SaveContext& c, const IndexEntry& entry, std::span<const std::uint8_t> stored,
                                PackageImage& image) {
    const Workspace& ws = c.workspace;
    if (c.deletedIds.contains(entry.key.instanceId)) return EntryOutcome::Drop;  // a deleted sim's genes
    const DNA* dna = FindDna(ws, entry.key.instanceId);
    const auto sim = ws.simByInstance.find(entry.key.instanceId);
    if (!dna || !dna->dirty || !dna->keptAsIs.empty() || sim == ws.simByInstance.end() ||
        !ws.characters[sim->second].dirty) {
        return CopyEntry(entry, stored, image);
    }
    DNA out = *dna;
    if (c.mergeIntoFile) {
        const auto saved = std::find_if(ws.dnaAsSaved.begin(), ws.dnaAsSaved.end(),
                                        [&](const DNA& d) { return d.instanceId == dna->instanceId; });
        if (saved != ws.dnaAsSaved.end()) {
            const DNA now = ReadDnaResource(stored, dna->instanceId);
            if (!now.keptAsIs.empty()) {
                // What the game wrote meanwhile is more than a rewrite would keep.
                c.reporter.Error("The genetic record of instance " + HexId(entry.key.instanceId) + " in " +
                                 ws.packagePath.filename().string() + " was kept as the game left it: " + now.keptAsIs +
                                 ".\r\nThe sim's gene changes were not saved.");
                return CopyEntry(entry, stored, image);
            }
            out = ApplyDnaEdits(now, *saved, *dna);
        }
    }
    const std::string text = WriteDnaResource(out);
    image.insert(image.end(), text.begin(), text.end());
    return EntryOutcome::Keep;
}

// The writer of the neighborhood package for a resource type; every other type is copied.
TypeWriter NeighborhoodWriter(std::uint32_t type) {
    static constexpr std::pair<std::uint32_t, TypeWriter> kWriters[] = {
        {kRelationshipType, WriteRelationshipEntry},  // the most numerous first
        {kSimDescriptionType, WriteDescription},
        {kGeneticRecordType, WriteGeneticsEntry},
        {kCatalogTextType, WriteNames},
        {kNeighborhoodDataType, WriteNeighborhoodDataEntry},
        {kHouseholdType, WriteHouseholdEntry},
        {kTextListType, WriteHouseholdNames},
        {kFamilyTiesType, WriteFamilyTiesEntry},
    };
    for (const auto& [writerType, writer] : kWriters) {
        if (writerType == type) return writer;
    }
    return nullptr;
}

// After a failed rewrite the file is what this program left (its expanded form, which the next
// save must not take for another program's work), so its stamp is taken again; but when another
// program changed it meanwhile, the stamp of the last load or save stays, and the next save asks
// before overwriting what that program wrote.
void KeepStampUnlessChangedMeanwhile(Workspace& ws, const fs::path& path, const std::exception& error) {
    if (dynamic_cast<const ChangedMeanwhileError*>(&error)) return;
    ws.loadedFiles.Set(path, StampOf(path));
}

// `mergeIntoFile`: the package changed since the load and the player chose to overwrite it, so
// only the names and colours the player changed are written; the others stay as the file has them.
void RebuildCharacterPackage(Workspace& ws, Character& sim, const SaveOptions& options, const FileStamp& expected,
                             bool mergeIntoFile, Reporter& reporter) {
    const auto asSaved = ws.charactersAsSaved.find(sim.packageFile);
    const Character* saved = mergeIntoFile && asSaved != ws.charactersAsSaved.end() ? &asSaved->second : nullptr;
    const fs::path path = ws.charactersFolder / sim.packageFile;
    const bool dropPictures = sim.needsPackageRebuild == 1;
    // A body clone: the new body is read whole before anything is written, so a source that cannot
    // be read leaves the sim's package as it was.
    const bool takesBody = !sim.clonePackagePath.empty();
    const std::vector<BodyResource> body = takesBody ? ReadCloneBody(sim.clonePackagePath, reporter) : std::vector<BodyResource>{};
    // The sim keeps its own colours in whatever body it takes.
    auto patchColours = [&](std::span<const std::uint8_t> stored, PackageImage& image) {
        const std::size_t start = image.size();
        image.insert(image.end(), stored.begin(), stored.end());
        SimProperties colours;
        colours.skinColor = sim.skinColor;
        colours.hairColor = sim.hairColor;
        colours.eyeColor = sim.eyeColor;
        if (saved && !takesBody) {
            SimProperties now;
            ReadSimProperties(stored, now);
            if (sim.skinColor == saved->skinColor) colours.skinColor = now.skinColor;
            if (sim.hairColor == saved->hairColor) colours.hairColor = now.hairColor;
            if (sim.eyeColor == saved->eyeColor) colours.eyeColor = now.eyeColor;
        }
        PatchSimProperties(std::span(image).subspan(start, stored.size()), colours, reporter);
    };
    const auto writer = [&](const IndexEntry& entry, std::span<const std::uint8_t> stored, PackageImage& image) {
        // The old body, its pictures and any compressed-resource directory go; the new body is
        // appended after the rest.
        if (takesBody && (IsBodyType(entry.key.typeId) || entry.key.typeId == kPictureType ||
                          entry.key.typeId == kCompressedDirectoryType)) {
            return EntryOutcome::Drop;
        }
        switch (entry.key.typeId) {
            case kPictureType:
                if (dropPictures) return EntryOutcome::Drop;
                return CopyEntry(entry, stored, image);
            case kCatalogTextType: {
                std::string strings[3] = {sim.firstName, sim.description, sim.lastName};
                if (saved) {
                    std::string now[3] = {saved->firstName, saved->description, saved->lastName};
                    try {
                        ReadTextList(stored, options.languageCode, now);
                    } catch (const FormatError&) {
                    }
                    const std::string was[3] = {saved->firstName, saved->description, saved->lastName};
                    for (int i = 0; i < 3; ++i) {
                        if (strings[i] == was[i]) strings[i] = now[i];
                    }
                }
                if (!UpdateTextList(stored, strings, TextListLayout::Character, options.languageCode, image)) {
                    return CopyEntry(entry, stored, image);
                }
                return EntryOutcome::Keep;
            }
            case kSimPropertiesType:
                patchColours(stored, image);
                return EntryOutcome::Keep;
            default:
                return CopyEntry(entry, stored, image);
        }
    };
    const Appender appendBody = [&](ResourceAppender& append) {
        for (const BodyResource& resource : body) {
            if (resource.key.typeId != kSimPropertiesType) {
                append.Append(resource.key, resource.content);
                continue;
            }
            PackageImage patched;
            patchColours(resource.content, patched);
            append.Append(resource.key, patched);
        }
    };
    RebuildOptions rebuild;
    rebuild.hook = options.hook;
    rebuild.expected = expected;
    RebuildPackage(path, writer, takesBody ? appendBody : Appender{}, reporter, rebuild);
    // The game makes new thumbnails from the sim when it finds none; until then the placeholder.
    if (dropPictures || !sim.clonePackagePath.empty()) {
        sim.portrait.reset();
    } else if (sim.portrait) {
        // The rebuild moved every resource (and stores them uncompressed): the picture is found
        // again by its key.
        std::vector<IndexEntry> entries;
        ReadIndex(ReadFileBytes(path), PackageSource::File, entries);
        std::optional<IndexEntry> moved;
        for (const IndexEntry& entry : entries) {
            if (entry.key == sim.portrait->key) moved = entry;
        }
        sim.portrait = moved;
    }
}

}  // namespace

namespace {

// What of the model differs from the records as the file held them at the last load or save,
// found while the package is read: the walk then looks closer only at what differs.
struct Differences {
    std::unordered_set<std::uint32_t> relationshipPairs;
    std::unordered_map<std::uint32_t, std::uint32_t> undoneAppended;
    bool simItems = false;
    bool familyTies = false;
    bool households = false;
    bool dna = false;
};

Differences FindDifferences(const Workspace& ws) {
    Differences found;
    const auto& list = ws.relationshipList;
    const auto& saved = ws.relationshipsAsSaved;
    for (std::size_t i = 0; i < std::max(list.size(), saved.size()); ++i) {
        const bool samePair = i < list.size() && i < saved.size() && SamePair(list[i], saved[i]);
        if (i < list.size() && (list[i].isNew || !samePair || list[i] != saved[i])) {
            found.relationshipPairs.insert(RelationshipInstance(list[i].ownerId, list[i].otherId));
        }
        // A saved record no longer at its place (records only ever go from the end of the list).
        if (i < saved.size() && !samePair) {
            const std::uint32_t pair = RelationshipInstance(saved[i].ownerId, saved[i].otherId);
            ++found.undoneAppended[pair];
            found.relationshipPairs.insert(pair);
        }
    }
    found.simItems = ws.simItemList != ws.simItemsAsSaved;
    found.familyTies = ws.familyTieList != ws.familyTiesAsSaved;
    found.households = ws.households != ws.householdsAsSaved;
    found.dna = ws.dnaList != ws.dnaAsSaved;
    return found;
}

// What a save publishes as the records the files now hold. Records with texts or values of their
// own are copied only when they changed: a large neighborhood has hundreds of thousands of items
// and thousands of genetic records, and most saves change none (copying them, and freeing the
// copies they replace, would cost the save more than the rest of its work on the model).
struct RecordsAsSaved {
    std::vector<RelationshipRecord> relationships;
    std::optional<std::vector<FamilyTie>> familyTies;
    std::optional<std::vector<Household>> households;
    std::optional<std::vector<NeighborhoodItem>> simItems;
    std::optional<std::vector<DNA>> dna;
};

// Which of them changed.
struct Changed {
    bool familyTies = false;
    bool households = false;
    bool simItems = false;
    bool dna = false;
};

// The save's model check and its copies of the records, made on other threads while the package
// is written: both only read the model, and nothing changes it between the walk and the end of
// the write. Every rename of the neighborhood's files waits for the check's answer.
class AlongsideTheWrite {
public:
    AlongsideTheWrite(const Workspace& ws, bool allowNewFindings) : ws_(ws), allowNewFindings_(allowNewFindings) {}
    AlongsideTheWrite(const AlongsideTheWrite&) = delete;
    AlongsideTheWrite& operator=(const AlongsideTheWrite&) = delete;
    // Once the package is read: the check begins (unless it already ran).
    void BeginCheck() {
        if (!checked_ && !check_.valid()) {
            check_ = Beside([this] { return CheckModel(ws_); });
        }
    }
    // Once the walk is done: the copies begin.
    void BeginCopies(Changed changed) {
        copies_ = Beside([this, changed] { return CopyRecords(ws_, changed); });
    }
    static RecordsAsSaved CopyRecords(const Workspace& ws, Changed changed) {
        RecordsAsSaved copies;
        copies.relationships = ws.relationshipList;
        if (changed.familyTies) copies.familyTies = ws.familyTieList;
        if (changed.households) copies.households = ws.households;
        if (changed.simItems) copies.simItems = ws.simItemList;
        if (changed.dna) copies.dna = ws.dnaList;
        return copies;
    }
    // The check's findings, waiting for them (or making them here when the check has not begun).
    const std::vector<Finding>& Findings() {
        if (!checked_) {
            findings_ = check_.valid() ? check_.get() : CheckModel(ws_);
            checked_ = true;
            if (!allowNewFindings_) {
                held_ = NewFindings(ws_.findingKeysAsSaved, findings_);
                // A notice is unusual but harms nothing known: it is reported by the check, never asked.
                std::erase_if(held_, [](const Finding& f) { return f.severity == FindingSeverity::Notice; });
            }
        }
        return findings_;
    }
    // The findings the save would add without the player's leave: when any, nothing may be published.
    const std::vector<Finding>& Held() {
        Findings();
        return held_;
    }
    // The copies, once made; nothing when they were never begun (the walk did not end).
    std::optional<RecordsAsSaved> TakeCopies() {
        if (check_.valid()) check_.wait();
        if (!copies_.valid()) return std::nullopt;
        return copies_.get();
    }

private:
    const Workspace& ws_;
    const bool allowNewFindings_;
    std::future<std::vector<Finding>> check_;
    std::future<RecordsAsSaved> copies_;
    bool checked_ = false;
    std::vector<Finding> findings_;
    std::vector<Finding> held_;
};

// Thrown at a rename the check does not allow: nothing of the save is published.
struct HeldForFindings {};

}  // namespace

std::vector<fs::path> FilesChangedSinceLoad(const Workspace& workspace) {
    std::vector<fs::path> changed;
    for (const fs::path& file : FilesToWrite(workspace)) {
        const FileStamp* known = workspace.loadedFiles.Find(file);
        if (!known || *known != StampOf(file)) changed.push_back(file);
    }
    return changed;
}

SaveResult SaveNeighborhood(Workspace& ws, Neighborhood& neighborhood, const SaveOptions& options, Reporter& reporter,
                            Progress& progress) {
    SaveResult result;
    if (!ws.saveRefusal.empty()) {
        reporter.Error(ws.saveRefusal);
        return result;
    }
    // Every file a save writes lies in the neighborhood's own folder, whatever its names say.
    for (const fs::path& file : FilesToWrite(ws)) {
        if (!IsPlainName(ws.prefix) || !LiesInside(file, ws.neighborhoodFolder)) {
            reporter.Error(file.string() + " lies outside the neighborhood's folder; nothing was saved.");
            return result;
        }
    }
    const fs::path folder = ws.neighborhoodFolder.empty() ? ws.packagePath.parent_path() : ws.neighborhoodFolder;
    std::string holder;
    const auto lock = FolderLock::Acquire(folder, options.programName, options.lockWait, holder);
    if (!lock) {
        result.lockedBy = holder;
        reporter.Error(ws.packagePath.filename().string() + " is being saved by " +
                       (holder.empty() ? std::string("another program") : holder) +
                       " (or its folder cannot be written); nothing was saved. Save again when it has finished.");
        return result;
    }
    // A save killed before its rename left its temporary beside the file; under the lock no other
    // save of this folder is running, so any such file is a leftover. Cleared on another thread
    // while the package is read; done before this save makes a temporary of its own.
    std::future<void> leftovers = Beside([&folder, characters = ws.charactersFolder] {
        RemoveLeftoverTemporaries(folder);
        if (!characters.empty()) RemoveLeftoverTemporaries(characters);
    });
    // A save never adds a problem the neighborhood did not have unless the player agreed to it.
    // The check runs while the package is written; what it holds back is never published.
    AlongsideTheWrite alongside(ws, options.allowNewFindings);
    const auto heldResult = [&alongside] {
        SaveResult held;
        held.newFindings = alongside.Held();
        return held;
    };
    result.changedOnDisk = FilesChangedSinceLoad(ws);
    if (!result.changedOnDisk.empty() && !options.overwriteNewerFiles) {
        if (!alongside.Held().empty()) return heldResult();
        return result;
    }
    result.overwroteChanges = !result.changedOnDisk.empty();
    // Each file as it is now, when the save begins: a change after this moment (the game saving
    // meanwhile) stops the write of that file.
    std::map<fs::path, FileStamp> atStart;
    for (const fs::path& file : FilesToWrite(ws)) atStart[file] = StampOf(file);

    progress.SetMaximum(1500);
    progress.SetPosition(0);
    progress.SetStatus("Processing Data");
    progress.Step();

    SaveContext context(ws, neighborhood, options, reporter);
    context.mergeIntoFile = result.overwroteChanges && std::find(result.changedOnDisk.begin(), result.changedOnDisk.end(),
                                                                 ws.packagePath) != result.changedOnDisk.end();
    // Found on another thread while the package is read.
    std::future<Differences> differences = Beside([&ws] { return FindDifferences(ws); });
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        if (ws.characters[i].dirty) context.changedSimsByGuid[GuidValue(ws.characters[i].simGuid)].push_back(i);
    }
    for (const StoredDescription& gone : ws.deletedSims) {
        // Never a record of a sim the list still has (the removal checks this; so does the save).
        if (gone.instanceId == 0 || ws.simByInstance.contains(gone.instanceId) ||
            ws.simByGuid.contains(GuidValue(gone.guid))) {
            continue;
        }
        context.deletedIds.insert(gone.instanceId);
        context.deletedRelationIds.insert(static_cast<std::uint16_t>(gone.instanceId));
        context.deletedGuids.insert(GuidValue(gone.guid));
    }
    const std::string packageName = ws.packagePath.filename().string();
    Changed changed;
    try {
        std::size_t entryNumber = 0;
        const auto writer = [&](const IndexEntry& entry, std::span<const std::uint8_t> stored, PackageImage& image) {
            // The bar moves every thousand or so resources: a large neighborhood has hundreds of
            // thousands, and the window repaints far less often than that.
            if (++entryNumber % 1024 == 0) {
                progress.SetPosition(static_cast<int>(std::min<std::size_t>(entryNumber, 1 << 30)));
                progress.Step();
            }
            const TypeWriter typeWriter = NeighborhoodWriter(entry.key.typeId);
            return typeWriter ? typeWriter(context, entry, stored, image) : CopyEntry(entry, stored, image);
        };
        RebuildOptions rebuild;
        rebuild.hook = [&](ReplaceStep step, const fs::path& target) {
            if (step == ReplaceStep::CreateTemporary && leftovers.valid()) leftovers.get();
            if (step == ReplaceStep::Rename && !alongside.Held().empty()) throw HeldForFindings{};
            if (options.hook) options.hook(step, target);
        };
        rebuild.expected = atStart[ws.packagePath];
        rebuild.onExpanded = [&](std::size_t entries) {
            progress.SetMaximum(static_cast<int>(std::min<std::size_t>(entries, 1 << 30)));
            progress.SetStatus("Saving Neighborhood Data");
            Differences found = differences.get();
            context.relationshipPairsToWrite = std::move(found.relationshipPairs);
            context.undoneAppended = std::move(found.undoneAppended);
            context.simItemsChanged = found.simItems;
            context.familyTiesChanged = found.familyTies;
            changed = {found.familyTies, found.households, found.simItems, found.dna};
            alongside.BeginCheck();
        };
        rebuild.onWalked = [&] { alongside.BeginCopies(changed); };
        const Appender appender = [&](ResourceAppender& append) { AppendNewRelationships(context, append); };
        RebuildPackage(ws.packagePath, writer, appender, reporter, rebuild);
        result.neighborhoodSaved = true;
        if (context.neighborhoodDataWrittenLayout) ws.neighborhoodData = context.neighborhoodDataWrittenLayout;
        result.bytesWritten += StampOf(ws.packagePath).size;
        neighborhood.dirty = 0;
        ws.loadedFiles.Set(ws.packagePath, StampOf(ws.packagePath));
    } catch (const HeldForFindings&) {
        return heldResult();
    } catch (const std::exception& error) {
        // Whatever the check would hold back is asked about first; the error comes again on the
        // save the player then allows.
        if (!alongside.Held().empty()) return heldResult();
        // The package stays as its expansion left it (or as it was), which the game still reads.
        // Nothing of the neighborhood was saved, so every change mark stays for another try.
        reporter.Error("An error occurred while saving " + packageName + "\r\n" + Explain(error) + "\r\n" +
                       "The neighborhood's changes were not saved.");
        KeepStampUnlessChangedMeanwhile(ws, ws.packagePath, error);
    }
    // Nothing of the model changes before the work beside the write is over.
    if (leftovers.valid()) leftovers.wait();
    if (differences.valid()) differences.wait();
    std::optional<RecordsAsSaved> copies = alongside.TakeCopies();
    if (result.neighborhoodSaved) {
        RecordsAsSaved saved = copies ? std::move(*copies) : AlongsideTheWrite::CopyRecords(ws, changed);
        // A record equal to its saved self carries no change mark (the saved ones never do).
        if (changed.households) {
            for (Household& household : ws.households) household.householdDirty = 0;
        }
        if (changed.dna) {
            for (DNA& dna : ws.dnaList) dna.dirty = 0;
        }
        // The records now say what their resources hold; until the save went through they kept
        // saying what the old file held. The copies made during the write are of the records
        // before that, so they take the same change.
        for (const auto& [record, what] : context.relationshipsWritten) {
            for (RelationshipRecord* r : {&ws.relationshipList[record], &saved.relationships[record]}) {
                r->valueCount = what.valueCount;
                r->hasFamilyRelation = what.hasFamilyRelation ? 1 : 0;
                r->isNew = 0;
            }
        }
        // What the file holds now is what the model holds: the next save starts from here. What
        // did not change is already so.
        ws.relationshipsAsSaved = std::move(saved.relationships);
        if (saved.familyTies) ws.familyTiesAsSaved = std::move(*saved.familyTies);
        if (saved.households) {
            for (Household& household : *saved.households) household.householdDirty = 0;
            ws.householdsAsSaved = std::move(*saved.households);
        }
        if (saved.simItems) ws.simItemsAsSaved = std::move(*saved.simItems);
        if (saved.dna) {
            for (DNA& dna : *saved.dna) dna.dirty = 0;
            ws.dnaAsSaved = std::move(*saved.dna);
        }
        ws.findingKeysAsSaved = FindingKeys(alongside.Findings());
        ws.deletedSims.clear();
    }

    progress.SetMaximum(static_cast<int>(ws.characters.size()));
    progress.SetStatus("Saving Character Data");
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        Character& sim = ws.characters[i];
        progress.SetPosition(static_cast<int>(i));
        progress.Step();
        if (!sim.dirty) continue;
        const fs::path path = ws.charactersFolder / sim.packageFile;
        try {
            const bool merge = result.overwroteChanges && std::find(result.changedOnDisk.begin(),
                                                                    result.changedOnDisk.end(),
                                                                    path) != result.changedOnDisk.end();
            RebuildCharacterPackage(ws, sim, options, atStart[path], merge, reporter);
            ws.loadedFiles.Set(path, StampOf(path));
            result.bytesWritten += StampOf(path).size;
            ++result.charactersSaved;
            sim.needsPackageRebuild = 0;
            sim.cloneApplied = 0;
            sim.clonePackagePath.clear();
            // The sim's description went out with the neighborhood package; only then is the
            // sim saved in full.
            if (result.neighborhoodSaved) {
                sim.dirty = 0;
                ws.charactersAsSaved.insert_or_assign(sim.packageFile, sim);
            }
        } catch (const std::exception& error) {
            result.failedCharacterFiles.push_back(sim.packageFile);
            reporter.Error("An error occurred while saving " + sim.packageFile + "\r\n" + Explain(error) + "\r\n" +
                           "This Character's changes were not saved.");
            KeepStampUnlessChangedMeanwhile(ws, path, error);
        }
    }
    // A sim whose description stayed as it was is not saved in full: it stays changed.
    for (std::size_t i : context.simsNotWritten) {
        ws.characters[i].dirty = 1;
        result.unsavedDescriptions.push_back(ws.characters[i].packageFile);
    }
    progress.SetMaximum(100);
    progress.SetPosition(0);
    progress.SetStatus("");
    return result;
}

}  // namespace qh
