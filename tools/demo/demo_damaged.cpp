#include "demo_damaged.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "fixture/package_builder.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "package/guid.h"
#include "package/index.h"
#include "package/resource_types.h"
#include "platform/file_io.h"
#include "platform/progress.h"
#include "workspace/loader.h"
#include "workspace/neighborhood_catalogue.h"
#include "workspace/save.h"

namespace qh::demo {

namespace fs = std::filesystem;

namespace {

// The folder copied with every "N001" in its file names made "N002".
void CopyAs(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        const fs::path relative = fs::relative(entry.path(), from);
        std::string name = relative.string();
        for (std::size_t at = name.find("N001"); at != std::string::npos; at = name.find("N001", at + 4)) name.replace(at, 4, "N002");
        if (entry.is_directory()) {
            fs::create_directories(to / name);
        } else {
            fs::create_directories((to / name).parent_path());
            fs::copy_file(entry.path(), to / name, fs::copy_options::overwrite_existing);
        }
    }
}

// The package written anew with every resource stored plain, passed through `change`, and the
// `extra` resources after them.
void Rewrite(const fs::path& package, const std::function<void(const IndexEntry&, Bytes&)>& change,
             const std::vector<std::pair<ResourceKey, Bytes>>& extra) {
    const Bytes original = ReadFileBytes(package);
    std::vector<IndexEntry> entries;
    ReadIndex(original, PackageSource::File, entries);
    SilentReporter quiet;
    const CompressedListing listing = CompressedListing::Of(original, entries, 24);
    fixture::PackageBuilder builder;
    for (const IndexEntry& entry : entries) {
        if (entry.key.typeId == kCompressedDirectoryType) continue;
        Bytes content;
        ExtractResource(original, entry, content, quiet, listing.Lists(entry.key));
        change(entry, content);
        builder.Add(entry.key, content);
    }
    for (const auto& [key, content] : extra) builder.Add(key, content);
    AtomicReplace(package, builder.Build());
}

std::uint32_t U32(const Bytes& b, std::size_t at) { return ByteReader(b).ReadU32(at); }

Character& Named(Workspace& ws, const std::string& first) {
    const auto it = std::find_if(ws.characters.begin(), ws.characters.end(), [&](const Character& c) { return c.firstName == first; });
    if (it == ws.characters.end()) throw std::runtime_error("the demo has no sim named " + first);
    return *it;
}

}  // namespace

void WriteDamagedNeighborhood(const fs::path& neighborhoods) {
    const fs::path folder = neighborhoods / "N002";
    CopyAs(neighborhoods / "N001", folder);
    SilentReporter quiet;
    NullProgress progress;
    std::vector<Neighborhood> catalogue = ScanNeighborhoods(neighborhoods, 1, quiet, progress);
    const auto creek = std::find_if(catalogue.begin(), catalogue.end(), [](const Neighborhood& n) { return n.prefix == "N002"; });
    if (creek == catalogue.end()) throw std::runtime_error("the damaged neighborhood could not be listed");
    Workspace ws;
    LoadNeighborhood(ws, *creek, neighborhoods, {}, quiet, progress);
    SetNeighborhoodName(*creek, "Crooked Creek");
    SetNeighborhoodDescription(*creek, "Pleasant Valley after years of careless tools: one problem of each kind the "
                                       "neighborhood check finds.");

    // The records: each change one problem.
    Character& marta = Named(ws, "Marta");
    Character& owen = Named(ws, "Owen");
    Character& lily = Named(ws, "Lily");
    Character& grace = Named(ws, "Grace");
    const auto id = [](const Character& sim) { return static_cast<std::uint16_t>(sim.instanceId); };
    Household& hearth = ws.households.at(0);
    Household& other = ws.households.at(1);
    other.members.push_back(hearth.members.at(0));     // a sim in two households
    other.members.push_back(GuidFromValue(0x0BADF00D));  // a member that is no sim
    other.householdDirty = 1;
    // A household on a lot the neighborhood does not have (written into its resource below).
    std::uint32_t homeless = 0;
    for (const Household& household : ws.households) {
        if (&household != &hearth && &household != &other && household.lotInstance != 0) {
            homeless = household.instanceId;
            break;
        }
    }
    ws.familyTieList.push_back({id(lily), kSpouseTie, id(grace)});  // a spouse tie one way
    ws.familyTieList.push_back({id(owen), kSiblingTie, id(owen)});  // his own sibling
    for (RelationshipRecord& r : ws.relationshipList) {
        if (r.ownerId == id(marta) && r.otherId == id(owen)) {
            r.flagsLow = static_cast<std::uint8_t>(r.flagsLow ^ (1u << kMarriedBit));  // married one way
            break;
        }
    }
    for (RelationshipRecord& r : ws.relationshipList) {
        if (r.ownerId == id(lily) && r.hasFamilyRelation) {
            r.familyRelation = 42;  // a relation the game does not have
            break;
        }
    }
    NeighborhoodItem stray;
    stray.owner = 0x7777;  // items of no sim
    stray.ownerWord = ws.simItemList.empty() ? 0 : ws.simItemList.front().ownerWord;
    stray.itemGuid = 0x2CCF9BED;
    stray.values = {8, 8, 0, 0, 0};
    ws.simItemList.push_back(stray);
    grace.careerGuid = GuidFromValue(0xC0FFEE01);  // a custom career since removed
    grace.dirty = 1;
    lily.lifeStage = 51;  // older than her parents (a notice: the game plays on)
    lily.dirty = 1;
    SaveOptions options;
    options.allowNewFindings = true;
    const SaveResult saved = SaveNeighborhood(ws, *creek, options, quiet, progress);
    if (!saved.neighborhoodSaved) throw std::runtime_error("the damaged neighborhood could not be saved");

    // The package: a description twice under one id, a household's lot that is not there, and a
    // relationship that claims more values than it holds.
    const Bytes package = ReadFileBytes(ws.packagePath);
    std::vector<IndexEntry> entries;
    ReadIndex(package, PackageSource::File, entries);
    std::vector<std::pair<ResourceKey, Bytes>> extra;
    for (const IndexEntry& e : entries) {
        if (e.key.typeId != kSimDescriptionType || e.key.instanceId != marta.instanceId) continue;
        const auto bytes = ByteReader(package).Slice(e.offset, e.size);
        extra.push_back({e.key, Bytes(bytes.begin(), bytes.end())});
        break;
    }
    Bytes claims, familyless;
    for (std::uint32_t word : {2u, 40u, 10u, 0u, 20u, 0u}) AppendU32(claims, word);
    for (std::uint32_t word : {2u, 4u, 10u, 0x4000u, 20u}) AppendU32(familyless, word);  // Family, no relation
    extra.push_back({{kRelationshipType, 0xFFFFFFFF, RelationshipInstance(id(owen), id(lily)), 0}, claims});
    extra.push_back({{kRelationshipType, 0xFFFFFFFF, RelationshipInstance(id(lily), id(grace)), 0}, familyless});
    Rewrite(
        ws.packagePath,
        [homeless](const IndexEntry& entry, Bytes& content) {
            if (entry.key.typeId == kHouseholdType && entry.key.instanceId == homeless && content.size() >= 16) {
                StoreU32(content, 12, 4242);  // the household's lot
            }
        },
        extra);

    // The files: Rosie's character file gone (her description stays), Owen's copied under another
    // name, one file cut short, one with a stream whose codes are broken, one whose directory
    // was lost.
    const fs::path characters = ws.charactersFolder;
    fs::remove(characters / Named(ws, "Rosie").packageFile);
    fs::copy_file(characters / owen.packageFile, characters / "N002_User00099.package");
    const fs::path cut = characters / Named(ws, "Theo").packageFile;
    const Bytes theo = ReadFileBytes(cut);
    Bytes shorter = theo;
    // The index says one entry more than it holds: the last one's bytes lie past the end.
    StoreU32(shorter, kEntryCountOffset, U32(theo, kEntryCountOffset) + 1);
    StoreU32(shorter, kIndexSizeOffset, U32(theo, kIndexSizeOffset) + 24);
    for (int i = 0; i < 24; ++i) shorter.push_back(i < 16 ? 0x11 : 0xF0);
    AtomicReplace(cut, shorter);
    const fs::path broken = characters / Named(ws, "Samuel").packageFile;
    Bytes samuel = ReadFileBytes(broken);
    std::vector<IndexEntry> samuelEntries;
    ReadIndex(samuel, PackageSource::File, samuelEntries);
    for (const IndexEntry& e : samuelEntries) {
        if (e.key.typeId != kBodyResourceType || !IsCompressedEntry(samuel, e)) continue;
        for (std::size_t at = e.offset + 9; at < e.offset + e.size; ++at) samuel[at] = 0xFF;
        break;
    }
    AtomicReplace(broken, samuel);
    const fs::path lost = characters / Named(ws, "Jonas").packageFile;
    const Bytes jonas = ReadFileBytes(lost);
    std::vector<IndexEntry> jonasEntries;
    ReadIndex(jonas, PackageSource::File, jonasEntries);
    fixture::PackageBuilder withoutDirectory;
    for (const IndexEntry& e : jonasEntries) {
        if (e.key.typeId == kCompressedDirectoryType) continue;
        withoutDirectory.Add(e.key, ByteReader(jonas).Slice(e.offset, e.size));
    }
    AtomicReplace(lost, withoutDirectory.Build());
    // Two of a pet's mesh entries pointing at the same bytes.
    const fs::path shared = characters / Named(ws, "Biscuit").packageFile;
    Bytes biscuit = ReadFileBytes(shared);
    const std::size_t at = U32(biscuit, kIndexOffsetOffset);
    const std::size_t count = U32(biscuit, kEntryCountOffset);
    for (std::size_t i = 1; i < count; ++i) {
        const std::size_t entry = at + 24 * i;
        if (U32(biscuit, entry) != 0xAC4F8687) continue;  // a mesh, which the editor does not read
        const std::size_t previous = entry - 24;
        StoreU32(biscuit, entry + 16, U32(biscuit, previous + 16));
        StoreU32(biscuit, entry + 20, U32(biscuit, previous + 20));
        break;
    }
    AtomicReplace(shared, biscuit);
}

}  // namespace qh::demo
