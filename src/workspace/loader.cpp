#include "workspace/loader.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <unordered_map>

#include "character/character_fields.h"
#include "character/sim_description.h"
#include "workspace/neighborhood_check.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "package/property_set.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/beside.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "workspace/households.h"
#include "workspace/relationships.h"
#include "workspace/neighborhood_data.h"
#include "workspace/picture.h"

namespace qh {
namespace fs = std::filesystem;

namespace {

// The files of the folder as the text of their paths (a large neighborhood's character folder
// holds ten thousand), sorted, so that every run reads them in the same order; the selectors sort
// anyway. Their text orders them as their names do, since the folder is the same.
std::vector<PathText> FilesIn(const fs::path& folder) {
    std::vector<PathText> files = RegularFilePathsIn(folder);
    std::sort(files.begin(), files.end());
    return files;
}

// A name ending in ".package" (any case) after at least one character of its own.
bool HasPackageExtension(std::string_view name) {
    constexpr std::string_view kExtension = ".package";
    return name.size() > kExtension.size() && EqualsNoCase(name.substr(name.size() - kExtension.size()), kExtension);
}

bool StartsWithNoCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && EqualsNoCase(text.substr(0, start.size()), start);
}

void ReadLotDescriptions(std::span<const std::uint8_t> package, const std::vector<IndexEntry>& entries,
                         PackageSource source, const std::string& fileName, Workspace& workspace,
                         Reporter& reporter, const CompressedListing& listing = CompressedListing()) {
    for (const IndexEntry& entry : entries) {
        if (entry.key.typeId != kLotDescriptionType) continue;
        if (auto content = ReadResource(package, entry, source, reporter, listing)) {
            workspace.lotDescList.push_back(ReadLotDescription(*content, entry, fileName));
        }
    }
}

void LoadLotPackages(Workspace& workspace, const std::string& prefix, Reporter& reporter) {
    const std::string neighborhoodFile = workspace.packagePath.filename().string();
    for (PathText& file : FilesIn(workspace.neighborhoodFolder)) {
        const std::string name = FileNameOf(file);
        if (!StartsWithNoCase(name, prefix + "_") || !HasPackageExtension(name) || name == neighborhoodFile) continue;
        try {
            // Read into a list of the file's own, so a damaged file contributes none of its lots.
            Workspace lots;
            FileStamp stamp;
            const FileBuffer buffer = ReadFileBufferSteadily(file, stamp);
            const auto bytes = buffer.Span();
            std::vector<IndexEntry> entries;
            const std::uint32_t width = ReadIndex(bytes, PackageSource::File, entries);
            ReadLotDescriptions(bytes, entries, PackageSource::File, name, lots, reporter,
                                CompressedListing::Of(bytes, entries, width));
            workspace.lotDescList.insert(workspace.lotDescList.end(), lots.lotDescList.begin(), lots.lotDescList.end());
            workspace.loadedFiles.Set(std::move(file), stamp);
        } catch (const std::exception&) {
            reporter.Error("A Data Error was found in " + name + "\r\n" + "this file will be ignored.");
        }
    }
}

// The first description resource in index order whose version is known and whose stored GUID
// equals the sim's, found through one lookup built for all sims.
class DescriptionLookup {
public:
    explicit DescriptionLookup(LoadContext& context) {
        for (std::size_t i = 0; i < context.entries.size(); ++i) {
            const IndexEntry& entry = context.entries[i];
            if (entry.key.typeId != kSimDescriptionType) continue;
            try {
                const auto guid = StoredDescriptionGuid(context.Resource(entry));
                if (!guid) {
                    context.reporter.Info("Unknown Character Format");
                    continue;
                }
                first_.emplace(GuidValue(*guid), i);  // keeps the first
                context.workspace.descriptionList.push_back({entry.key.instanceId, *guid});
            } catch (const FormatError&) {
                // Too short to hold its GUID: never any sim's description.
            }
        }
    }
    const IndexEntry* Find(const LoadContext& context, const Guid4& guid) const {
        const auto it = first_.find(GuidValue(guid));
        return it == first_.end() ? nullptr : &context.entries[it->second];
    }

private:
    std::unordered_map<std::uint32_t, std::size_t> first_;
};

// A character package's record from its bytes (the file named `name`), as ReadCharacterPackage.
std::optional<Character> ReadCharacterBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                                            const LoadOptions& options, Reporter& reporter);

// The character files, read on a thread of their own while the neighborhood package is expanded:
// they do not depend on it, and a large neighborhood has ten thousand of them. What the reading
// would tell the player is kept, and told when the load comes to the characters, in the order it
// would have been told.
class CharacterFilesRead {
public:
    // The folder is listed on the thread too: ten thousand names cost the expansion's start
    // otherwise.
    CharacterFilesRead(const fs::path& folder, const LoadOptions& options) : options_(options) {
        listing_ = listed_.get_future();
        work_ = Beside([this, folder] {
            try {
                for (PathText& file : FilesIn(folder)) {
                    if (HasPackageExtension(FileNameOf(file))) files_.push_back(std::move(file));
                }
                // Made by this thread itself: a large neighborhood's sims take megabytes, whose
                // pages are better first touched here than by the thread that waits.
                reads_.resize(files_.size());
            } catch (...) {
                listed_.set_exception(std::current_exception());
                throw;
            }
            listed_.set_value(files_.size());
            ReadAll();
        });
    }
    CharacterFilesRead(const CharacterFilesRead&) = delete;
    CharacterFilesRead& operator=(const CharacterFilesRead&) = delete;
    // A load that ends early (cancelled, or an error) stops the reading and waits for it.
    ~CharacterFilesRead() {
        stop_ = true;
        if (work_.valid()) work_.wait();
    }

    // The number of character files, once they are listed (long before they are read).
    std::size_t Listed() {
        // Where no thread could be had the work waits to be asked for: then it is done here.
        if (work_.wait_for(std::chrono::seconds(0)) == std::future_status::deferred) work_.wait();
        return listing_.get();
    }
    // Reads the files that are left along with the thread (the loading thread is done with the
    // package by then, and one processor would otherwise wait), then waits until the reading is
    // over, stepping the progress meanwhile (the player may cancel).
    void Wait(Progress& progress) {
        (void)Listed();
        for (std::size_t read = 1; ReadNext(); ++read) {
            if (read % 64 != 0) continue;
            progress.SetPosition(static_cast<int>(std::min<std::size_t>(done_, 1 << 30)));
            StepOrStop(progress);
        }
        while (work_.wait_for(std::chrono::milliseconds(20)) == std::future_status::timeout) {
            progress.SetPosition(static_cast<int>(std::min<std::size_t>(done_, 1 << 30)));
            StepOrStop(progress);
        }
        work_.get();  // what went wrong outside the files themselves (memory) goes on
    }

    struct Read {
        bool exists = false;
        bool failed = false;  // a data error: the file is left out
        std::optional<Character> sim;
        FileStamp stamp;
        std::vector<RecordingReporter::Message> messages;
    };
    // Once the reading is over: the files, and what was read of each.
    std::size_t size() const { return files_.size(); }
    const PathText& File(std::size_t i) const { return files_[i]; }
    Read& At(std::size_t i) { return reads_[i]; }

private:
    void ReadAll() {
        while (ReadNext()) {
        }
    }
    // Reads the next file no thread has taken; false when none is left (or the load stopped).
    bool ReadNext() {
        if (stop_) return false;
        const std::size_t i = next_++;
        if (i >= files_.size()) return false;
        ReadFile(i);
        ++done_;
        return true;
    }
    void ReadFile(std::size_t i) {
        Read& read = reads_[i];
        read.exists = true;
        RecordingReporter messages;
        try {
            const FileBuffer bytes = ReadFileBufferSteadily(files_[i], read.stamp);
            read.sim = ReadCharacterBytes(bytes.Span(), FileNameOf(files_[i]), options_, messages);
        } catch (const std::exception&) {
            // A file removed since the folder was listed is no file of the neighborhood's.
            std::error_code error;
            read.exists = fs::exists(fs::path(files_[i]), error);
            read.failed = true;
            read.sim.reset();
        }
        read.messages = std::move(messages.messages);
    }

    const LoadOptions& options_;
    std::vector<PathText> files_;
    std::vector<Read> reads_;  // one for each file, filled by whichever thread takes it
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::promise<std::size_t> listed_;
    std::shared_future<std::size_t> listing_;
    std::atomic<std::size_t> done_{0};
    std::future<void> work_;
};

void LoadCharacters(LoadContext& context, CharacterFilesRead& files) {
    Workspace& ws = context.workspace;
    context.progress.SetMaximum(static_cast<int>(std::min<std::size_t>(files.Listed(), 1 << 30)));
    context.progress.SetPosition(0);
    context.progress.SetStatus("Loading Characters");
    const DescriptionLookup lookup(context);
    files.Wait(context.progress);
    ws.characters.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        context.progress.SetPosition(static_cast<int>(std::min<std::size_t>(i + 1, 1 << 30)));
        StepOrStop(context.progress);
        CharacterFilesRead::Read& read = files.At(i);
        if (!read.exists) continue;
        for (const auto& message : read.messages) context.reporter.Report(message.severity, message.text);
        const std::string name = FileNameOf(files.File(i));
        const auto dataError = [&] {
            context.reporter.Error("An Data Error was found in " + name + "\r\n" + "This Character will be ignored.");
        };
        if (read.failed) {
            dataError();
            continue;
        }
        if (!read.sim) continue;
        try {
            Character& sim = *read.sim;
            if (const IndexEntry* entry = lookup.Find(context, sim.simGuid)) {
                sim.instanceId = entry->key.instanceId;
                ReadCharacterDescription(context.Resource(*entry), sim);
            }
            ws.loadedFiles.Set(files.File(i), read.stamp);
            ws.characters.push_back(std::move(sim));
        } catch (const std::exception&) {
            dataError();
        }
    }
    IndexSims(ws);
}

// Reads the neighborhood's own name, description and version.
void ReadNeighborhoodRecord(LoadContext& context) {
    ReadNeighborhoodTexts(context.image, context.entries, PackageSource::Image, context.options.languageCode,
                          context.neighborhood, context.reporter);
}

// The first neighborhood data resource holds the items; a second one (which the game does not
// write) is carried unchanged, so that its items are neither doubled nor lost.
void ReadNeighborhoodDataPass(LoadContext& context) {
    for (const IndexEntry& entry : context.entries) {
        if (entry.key.typeId != kNeighborhoodDataType) continue;
        try {
            ReadNeighborhoodData(context.Resource(entry), context.workspace);
        } catch (const FormatError&) {
            // Skipped without a message; the save then copies the resource unchanged.
            context.workspace.simItemList.clear();
            context.workspace.familyItemList.clear();
            context.workspace.lotItemList.clear();
            context.workspace.neighborhoodData.reset();
        }
        return;
    }
}

// Every household resource, then the text lists that name them. A household that cannot be read
// is reported and left out: nothing then edits it, and the save copies its resources unchanged.
void ReadHouseholdsPass(LoadContext& context) {
    Workspace& ws = context.workspace;
    const std::string packageName = ws.packagePath.filename().string();
    std::unordered_map<std::uint32_t, std::uint32_t> seen;  // resources per instance id so far
    for (const IndexEntry& entry : context.entries) {
        if (entry.key.typeId != kHouseholdType) continue;
        Household household;
        household.instanceId = entry.key.instanceId;
        household.storedOrdinal = seen[entry.key.instanceId]++;
        try {
            ReadHousehold(context.Resource(entry), household);
        } catch (const FormatError& error) {
            context.reporter.Error("A Data Error was found in household " + HexId(entry.key.instanceId) + " of " +
                                   packageName + "\r\n" + error.what() + "\r\n" +
                                   "This household cannot be edited; it is saved as it is.");
            ws.unreadableHouseholds.push_back(entry.key.instanceId);
            continue;
        }
        ws.households.push_back(std::move(household));
    }
    IndexHouseholds(ws);
    for (const IndexEntry& entry : context.entries) {
        if (entry.key.typeId != kTextListType) continue;
        Household* household = FindHousehold(ws, entry.key.instanceId);
        if (!household) continue;
        try {
            const auto list = ParseTextList(context.Resource(entry));
            if (!list) continue;
            std::string strings[2] = {household->householdName, household->householdDescription};
            ApplyLanguageRule(*list, context.options.languageCode, strings);
            household->householdName = std::move(strings[0]);
            household->householdDescription = std::move(strings[1]);
            household->hasTextList = true;
        } catch (const FormatError&) {
            // A list that cannot be read leaves the household named by its lot, and is kept.
        }
    }
}

// Every relationship resource of 20 bytes or more becomes a record. One that cannot be read is
// left out without a message: nothing edits it, and the save carries it as it is, so a
// relationship never vanishes because it could not be read.
void ReadRelationshipsPass(LoadContext& context) {
    Workspace& ws = context.workspace;
    for (const IndexEntry& entry : context.entries) {
        if (entry.key.typeId != kRelationshipType) continue;
        try {
            RelationshipRecord record;
            record.ownerId = static_cast<std::uint16_t>(entry.key.instanceId >> 16);
            record.otherId = static_cast<std::uint16_t>(entry.key.instanceId);
            if (ReadRelationshipResource(context.Resource(entry), record)) ws.relationshipList.push_back(record);
        } catch (const FormatError&) {
            ws.unreadableRelationships.push_back(entry.key.instanceId);
        }
    }
    std::sort(ws.unreadableRelationships.begin(), ws.unreadableRelationships.end());
    ws.relationshipsAsSaved = ws.relationshipList;
    if (!ws.unreadableRelationships.empty()) {
        context.reporter.Info(std::to_string(ws.unreadableRelationships.size()) + " relationship resource" +
                              (ws.unreadableRelationships.size() == 1 ? "" : "s") + " in " +
                              ws.packagePath.filename().string() +
                              " cannot be read.\r\nThey are kept as they are, and those relationships cannot be changed.");
    }
    IndexRelationships(ws);
}

// The first family-ties resource holds the tree (the game writes one). One that cannot be read is
// reported and kept as it is: the tree is then shown empty and cannot be changed, so the save
// never replaces it with less than it held.
void ReadFamilyTiesPass(LoadContext& context) {
    Workspace& ws = context.workspace;
    for (const IndexEntry& entry : context.entries) {
        if (entry.key.typeId != kFamilyTiesType) continue;
        try {
            const auto stored = context.Resource(entry);
            ReadFamilyTies(stored, ws.familyTieList);
            ws.familyTiesAsSaved = ws.familyTieList;
            ws.familyTiesStored = FamilyTiesExplained(stored);
            ws.familyTiesUnexplained = !ws.familyTiesStored;
            if (ws.familyTiesUnexplained) {
                context.reporter.Info("The family tree in " + ws.packagePath.filename().string() +
                                      " holds bytes Quillhaven does not explain (blocks it would not write, or bytes "
                                      "after the last one).\r\nIt is shown and kept as it is, and family ties cannot "
                                      "be changed.");
            }
        } catch (const FormatError& error) {
            context.reporter.Error("The family tree in " + ws.packagePath.filename().string() + " cannot be read: " +
                                   error.what() + "\r\nIt is kept as it is, and family ties cannot be changed.");
        }
        return;
    }
}

// Every genetic resource becomes a record. One that cannot be read, and two of one sim, are kept
// as they are: the record says why, and the save never writes it.
void ReadGeneticsPass(LoadContext& context) {
    Workspace& ws = context.workspace;
    std::unordered_map<std::uint32_t, std::size_t> count;
    ws.dnaList.reserve(static_cast<std::size_t>(std::count_if(
        context.entries.begin(), context.entries.end(),
        [](const IndexEntry& entry) { return entry.key.typeId == kGeneticRecordType; })));
    for (const IndexEntry& entry : context.entries) {
        if (entry.key.typeId != kGeneticRecordType) continue;
        try {
            ws.dnaList.push_back(ReadDnaResource(context.Resource(entry), entry.key.instanceId));
        } catch (const FormatError& error) {
            DNA unread = ReadDnaResource({}, entry.key.instanceId);
            unread.keptAsIs = std::string("its genetic record cannot be read (") + error.what() + "), so it is kept as it is";
            ws.dnaList.push_back(std::move(unread));
        }
        ++count[entry.key.instanceId];
    }
    for (std::size_t i = 0; i < ws.dnaList.size(); ++i) {
        DNA& dna = ws.dnaList[i];
        if (count[dna.instanceId] > 1) {
            dna.keptAsIs = "the sim has more than one genetic record, so they are kept as they are";
        } else {
            ws.dnaByInstance.emplace(dna.instanceId, i);
        }
    }
}

}  // namespace

std::span<const std::uint8_t> LoadContext::Resource(const IndexEntry& entry) const {
    // Called for every resource of a neighborhood that may hold hundreds of thousands: the
    // message naming the type is made only when it is needed.
    const ByteReader reader(image, "neighborhood package");
    if (!reader.Has(entry.offset, entry.size)) reader.Fail(entry.offset, entry.size, "resource " + HexId(entry.key.typeId));
    return reader.bytes().subspan(entry.offset, entry.size);
}

std::optional<Bitmap> SimPortrait(const Workspace& workspace, const Character& sim) {
    if (!sim.portrait) return std::nullopt;
    try {
        const Bytes package = ReadFileBytes(workspace.charactersFolder / sim.packageFile);
        SilentReporter reporter;
        std::vector<IndexEntry> entries;
        const std::uint32_t width = ReadIndex(package, PackageSource::File, entries);
        const auto content = ReadResource(package, *sim.portrait, PackageSource::File, reporter,
                                          CompressedListing::Of(package, entries, width));
        if (!content || !IsJfif(*content)) return std::nullopt;
        return ScaleToSquare(DecodeJpeg(*content), 128);
    } catch (const std::exception&) {
        // Shown like a picture that is not a JPEG file: the placeholder.
        return std::nullopt;
    }
}

std::optional<Character> ReadCharacterPackage(const fs::path& path, const LoadOptions& options, Reporter& reporter) {
    const FileBuffer bytes = ReadFileBuffer(path);
    return ReadCharacterBytes(bytes.Span(), path.filename().string(), options, reporter);
}

namespace {

std::optional<Character> ReadCharacterBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                                            const LoadOptions& options, Reporter& reporter) {
    std::vector<IndexEntry> entries;
    // A header or index cut short, or an index size that is not a whole number of entries, throws
    // (a data error); a width the program cannot read is an index error, since the sim would
    // otherwise be shown without any of its data.
    const std::uint32_t width = ReadIndex(bytes, PackageSource::File, entries);
    if (width != 20 && width != 24) {
        reporter.Error("An Index Error was found in " + name + "\r\n" + "This Character will be ignored.");
        return std::nullopt;
    }
    const CompressedListing listing = CompressedListing::Of(bytes, entries, width);
    Character sim;
    sim.packageFile = name;
    SimProperties properties;
    for (const IndexEntry& entry : entries) {
        const std::uint32_t type = entry.key.typeId;
        if (type == kBodyResourceType) {
            sim.hasBodyResource = 1;
            continue;
        }
        if (type != kObjectDefinitionType && type != kVersionInfoType && type != kSimPropertiesType &&
            type != kCatalogTextType && type != kPictureType) {
            continue;
        }
        if (type == kPictureType && (entry.key.instanceId & 0xFF) == 0) continue;
        const auto content = ReadResource(bytes, entry, PackageSource::File, reporter, listing);
        if (!content) continue;
        if (type == kObjectDefinitionType) {
            const auto guid = ByteReader(*content, "object definition").Slice(92, 4, "sim GUID");
            sim.simGuid = {guid[0], guid[1], guid[2], guid[3]};
        } else if (type == kVersionInfoType) {
            sim.versionText = ReadVersionProperties(*content).Text().substr(0, 36);
        } else if (type == kSimPropertiesType) {
            ReadSimProperties(*content, properties);
        } else if (type == kCatalogTextType) {
            std::string strings[3] = {sim.firstName, sim.description, sim.lastName};
            ReadTextList(*content, options.languageCode, strings);
            sim.firstName = strings[0];
            sim.description = strings[1];
            sim.lastName = strings[2];
        } else if (IsJfif(*content)) {
            sim.portrait = entry;  // the last one wins
        }
    }
    sim.ageProperty = properties.ageProperty;
    sim.genderProperty = properties.genderProperty;
    sim.skinColor = properties.skinColor;
    sim.hairColor = properties.hairColor;
    sim.eyeColor = properties.eyeColor;
    return sim;
}

}  // namespace

void LoadNeighborhood(Workspace& workspace, Neighborhood& neighborhood, const fs::path& neighborhoodsFolder,
                      const LoadOptions& options, Reporter& reporter, Progress& progress) {
    workspace = Workspace{};
    workspace.prefix = neighborhood.prefix;
    workspace.neighborhoodFolder =
        options.folder.empty() ? ResolveNoCase(neighborhoodsFolder, neighborhood.prefix) : options.folder;
    workspace.packagePath = neighborhood.packagePath.empty()
                                ? ResolveNoCase(workspace.neighborhoodFolder, neighborhood.prefix + "_Neighborhood.package")
                                : neighborhood.packagePath;
    workspace.charactersFolder = ResolveNoCase(workspace.neighborhoodFolder, "Characters");
    std::error_code error;
    if (!fs::is_regular_file(workspace.packagePath, error)) return;

    try {
        CharacterFilesRead characterFiles(workspace.charactersFolder, options);
        progress.SetMaximum(500);
        progress.SetPosition(1);
        progress.SetStatus("Expanding Neighborhood");
        StepOrStop(progress);
        PackageImage image;
        ExpansionFaults faults;
        workspace.loadedFiles.Set(workspace.packagePath, ReadSteadily(
            workspace.packagePath, [&] { faults = ExpandPackageToMemory(workspace.packagePath, image, reporter); }));
        if (!faults.undecodable.empty()) {
            // What decoded wrongly would be written back for good: the neighborhood is shown, and
            // no save touches it.
            workspace.saveRefusal = workspace.packagePath.filename().string() + ": " + faults.undecodable.front() +
                                    " cannot be decompressed. This neighborhood can be viewed but not saved.";
            reporter.Error(workspace.saveRefusal);
        } else if (!NameLeavesRoomToReplace(workspace.packagePath)) {
            // The save writes a new copy beside the file and renames it over it: said now, not
            // after the player's edits.
            workspace.saveRefusal = workspace.packagePath.filename().string() +
                                    ": the name is too long to write a new copy beside it, so this neighborhood can "
                                    "be viewed but not saved. Give its folder a shorter name.";
            reporter.Error(workspace.saveRefusal);
        }
        std::vector<IndexEntry> entries;
        if (ReadIndex(image, PackageSource::Image, entries) == 0) {
            reporter.Error("An Index Error was found in " + neighborhood.prefix + "_Neighborhood.package" + "\r\n" +
                           "This Neighborhood will be ignored.");
            const auto prefix = workspace.prefix;
            workspace = Workspace{};
            workspace.prefix = prefix;
            return;
        }
        LoadContext context{workspace, neighborhood, image, entries, options, reporter, progress};
        // Read from the expanded package beside everything else, on a thread of its own: the
        // genetic records tell the player nothing and fill only their own records, which nothing
        // else reads before the passes are over.
        auto genetics = Beside([&context] { ReadGeneticsPass(context); });
        LoadLotPackages(workspace, neighborhood.prefix, reporter);
        LoadCharacters(context, characterFiles);
        ReadLotDescriptions(image, entries, PackageSource::Image, workspace.packagePath.filename().string(),
                            workspace, reporter);

        progress.SetMaximum(static_cast<int>(std::min<std::size_t>(entries.size() * 4, 1 << 30)));
        progress.SetStatus("Loading Neighborhood Data");
        // The passes over the package after the sims. The relationships (two hundred thousand
        // records in a large neighborhood) are read beside the households and the items, which
        // neither read nor change them; what they tell the player is told in its place, after
        // the households (the items tell nothing). The items stay on this thread: read on one of
        // their own they took no time off the load, and more memory at its peak.
        // Their lists are allocated here, at their full length, so that they come from this
        // thread's memory (where the compressed package was) rather than more of the other's.
        const auto relationshipCount = static_cast<std::size_t>(std::count_if(
            entries.begin(), entries.end(), [](const IndexEntry& entry) { return entry.key.typeId == kRelationshipType; }));
        for (auto* list : {&workspace.relationshipList, &workspace.relationshipsAsSaved}) list->reserve(relationshipCount);
        workspace.relationshipOrder.reserve(relationshipCount);
        workspace.relationshipOrderKeys.reserve(relationshipCount);
        RecordingReporter relationshipMessages;
        LoadContext relationshipContext{workspace, neighborhood, image, entries, options, relationshipMessages, progress};
        auto relationships = Beside([&relationshipContext] { ReadRelationshipsPass(relationshipContext); });
        ReadHouseholdsPass(context);
        StepOrStop(progress);
        ReadNeighborhoodDataPass(context);
        StepOrStop(progress);
        relationships.get();
        for (const auto& message : relationshipMessages.messages) reporter.Report(message.severity, message.text);
        ReadFamilyTiesPass(context);
        StepOrStop(progress);
        ReadNeighborhoodRecord(context);
        StepOrStop(progress);
        genetics.get();
        // Nothing reads the package any more: its image and index are given back before the copies
        // of what the files hold are made, which then take the image's memory rather than more.
        PackageImage().swap(image);
        std::vector<IndexEntry>().swap(entries);
        neighborhood.dirty = 0;
        workspace.characterLimit = options.characterLimit;
        // The check reads the model while the copies of what the files hold are made from it.
        auto check = Beside([&workspace] { return CheckModel(workspace); });
        RememberAsSaved(workspace);
        workspace.findingKeysAsSaved = FindingKeys(check.get());
    } catch (...) {
        workspace = Workspace{};
        throw;
    }
    progress.SetMaximum(100);
    progress.SetPosition(0);
    progress.SetStatus("");
}

}  // namespace qh
