#include "workspace/neighborhood_check.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "career/career_rules.h"
#include "career/career_table.h"
#include "career/education.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "package/guid.h"
#include "package/index.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/beside.h"
#include "platform/errors.h"
#include "workspace/character_list.h"
#include "workspace/relationships.h"

namespace qh {

namespace {

// The sims by the instance id of their description, and every instance id a description of the
// package has (sims the neighborhood knows, with or without a character file).
struct SimIndex {
    const Workspace& ws;
    // The game numbers its sims with 16 bits: those are marked in a table (two hundred thousand
    // relationship records ask twice each), any larger number is kept in a set.
    std::vector<bool> described16 = std::vector<bool>(0x10000, false);
    std::unordered_set<std::uint32_t> described;
    explicit SimIndex(const Workspace& workspace) : ws(workspace) {
        const auto mark = [&](std::uint32_t instance) {
            if (instance <= 0xFFFF) {
                described16[instance] = true;
            } else {
                described.insert(instance);
            }
        };
        for (const StoredDescription& d : ws.descriptionList) mark(d.instanceId);
        for (const Character& sim : ws.characters) {
            if (sim.instanceId != 0) mark(sim.instanceId);
        }
    }
    bool Exists(std::uint32_t instance) const {
        return instance <= 0xFFFF ? described16[instance] : described.contains(instance);
    }
    const Character* Sim(std::uint32_t instance) const {
        const auto it = ws.simByInstance.find(instance);
        return it == ws.simByInstance.end() ? nullptr : &ws.characters[it->second];
    }
    std::optional<std::size_t> Index(std::uint32_t instance) const {
        const auto it = ws.simByInstance.find(instance);
        return it == ws.simByInstance.end() ? std::nullopt : std::optional<std::size_t>(it->second);
    }
    std::string Words(std::uint32_t instance) const {
        if (const Character* sim = Sim(instance)) return SimNameAndFile(*sim);
        return "the sim " + HexId(instance);
    }
};

Finding Make(FindingSeverity severity, std::string check, std::string subject, std::string meaning, std::string fix,
             std::string key, std::optional<std::size_t> sim = std::nullopt) {
    Finding f;
    f.severity = severity;
    f.check = std::move(check);
    f.subject = std::move(subject);
    f.meaning = std::move(meaning);
    f.fix = std::move(fix);
    f.sim = sim;
    f.key = f.check + ":" + key;
    return f;
}

std::string Id(std::uint32_t value) { return HexId(value); }

// A life stage's place in a life: baby first, elder last.
int LifeOrder(std::int16_t stage) {
    switch (stage) {
        case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        case 16: return 3;
        case 19: return 4;
        case 51: return 5;
        default: return -1;
    }
}

bool IsParentTie(std::uint32_t type) { return type == kFirstParentTie || type == kSecondParentTie; }

}  // namespace

const char* SeverityName(FindingSeverity severity) {
    switch (severity) {
        case FindingSeverity::Damaged: return "damaged";
        case FindingSeverity::Inconsistent: return "inconsistent";
        case FindingSeverity::Notice: return "notice";
    }
    return "";
}

std::size_t CharacterLimit(const GameEnvironment& env) { return env.hasNightlife ? 32767 : 1000; }

std::vector<Finding> CheckCharacterFiles(const Workspace& ws) {
    std::vector<Finding> out;
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> filesByGuid;
    for (std::size_t i = 0; i < ws.characters.size(); ++i) filesByGuid[GuidValue(ws.characters[i].simGuid)].push_back(i);
    // Every description has its character file, joined on the GUID the description stores.
    for (const StoredDescription& d : ws.descriptionList) {
        if (filesByGuid.contains(GuidValue(d.guid))) continue;
        out.push_back(Make(FindingSeverity::Inconsistent, "description-without-character-file",
                           "the sim " + Id(d.instanceId) + " (GUID " + GuidKey(d.guid) + ")",
                           "The neighborhood describes this sim but its character file is missing: a household or lot "
                           "that includes it may fail to load, and the game cannot draw it.",
                           "restore the character file from a backup, or remove the sim's description and every "
                           "record that names it",
                           Id(d.instanceId)));
    }
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        const Character& sim = ws.characters[i];
        if (sim.instanceId == 0) {
            out.push_back(Make(FindingSeverity::Inconsistent, "character-file-without-description", SimNameAndFile(sim),
                               "No description of the neighborhood has this file's GUID: the game does not know the sim, "
                               "and the file only takes room.",
                               "move the file out of the Characters folder, or restore the description from a backup",
                               sim.packageFile, i));
        }
    }
    for (const auto& [guid, files] : filesByGuid) {
        if (files.size() < 2) continue;
        std::string names;
        for (std::size_t i : files) names += (names.empty() ? "" : ", ") + ws.characters[i].packageFile;
        out.push_back(Make(FindingSeverity::Damaged, "duplicate-character-files", names,
                           "Several character files carry one sim's GUID (a sim split in two): the game takes one of "
                           "them and the sim may lose its looks or its data.",
                           "keep the file that belongs to the sim and move the others out", Id(guid), files.front()));
    }
    const std::size_t limit = ws.characterLimit;
    if (ws.characters.size() > limit) {
        out.push_back(Make(FindingSeverity::Damaged, "too-many-character-files",
                           std::to_string(ws.characters.size()) + " character files",
                           "The game handles at most " + std::to_string(limit) +
                               " character files in a neighborhood with the expansions installed; beyond that it stops "
                               "loading sims.",
                           "remove unused townies and their files until the count is under the limit", "count"));
    }
    return out;
}

std::vector<Finding> CheckIdentities(const Workspace& ws) {
    std::vector<Finding> out;
    std::unordered_map<std::uint32_t, int> instances, guids;
    for (const StoredDescription& d : ws.descriptionList) {
        ++instances[d.instanceId];
        ++guids[GuidValue(d.guid)];
    }
    std::map<std::uint32_t, int> twiceInstance(instances.begin(), instances.end());
    for (const auto& [instance, count] : twiceInstance) {
        if (count < 2) continue;
        out.push_back(Make(FindingSeverity::Damaged, "duplicate-sim-id", "the sim " + Id(instance),
                           std::to_string(count) + " descriptions share this sim id: relationships, family ties and "
                                                   "items cannot tell the sims apart.",
                           "give all but one description a free id, with every record that names it", Id(instance)));
    }
    std::map<std::uint32_t, int> twiceGuid(guids.begin(), guids.end());
    for (const auto& [guid, count] : twiceGuid) {
        if (count < 2) continue;
        out.push_back(Make(FindingSeverity::Damaged, "duplicate-sim-guid", "the GUID " + Id(guid),
                           std::to_string(count) + " descriptions share this GUID: only the first is matched with its "
                                                   "character file and its household.",
                           "give all but one sim a GUID of its own", Id(guid)));
    }
    return out;
}

std::vector<Finding> CheckHouseholds(const Workspace& ws) {
    std::vector<Finding> out;
    std::unordered_set<std::uint32_t> knownGuids;
    for (const StoredDescription& d : ws.descriptionList) knownGuids.insert(GuidValue(d.guid));
    for (const Character& sim : ws.characters) knownGuids.insert(GuidValue(sim.simGuid));
    std::unordered_set<std::uint32_t> lots;
    for (const LotDesc& lot : ws.lotDescList) lots.insert(lot.lotId);
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> householdsOf;  // sim GUID -> household ids
    for (const Household& household : ws.households) {
        const std::string who = "the household " + Id(household.instanceId) +
                                (household.householdName.empty() ? "" : " (" + TrimText(ToValidUtf8(household.householdName)) + ")");
        for (const Guid4& member : household.members) {
            auto& list = householdsOf[GuidValue(member)];
            if (std::find(list.begin(), list.end(), household.instanceId) == list.end()) list.push_back(household.instanceId);
            if (knownGuids.contains(GuidValue(member))) continue;
            out.push_back(Make(FindingSeverity::Inconsistent, "member-not-a-sim", who,
                               "It lists a member (GUID " + GuidKey(member) + ") that is no sim of the neighborhood: the "
                               "game may fail to load the household.",
                               "remove the member from the household's list", Id(household.instanceId) + "/" + GuidKey(member)));
        }
        if (household.lotInstance != 0 && !lots.contains(household.lotInstance)) {
            out.push_back(Make(FindingSeverity::Inconsistent, "household-lot-missing", who,
                               "It lives on lot " + std::to_string(household.lotInstance) +
                                   ", which the neighborhood does not have: the household cannot be played.",
                               "move the household out (to the family bin), or restore the lot from a backup",
                               Id(household.instanceId)));
        }
    }
    std::map<std::uint32_t, std::vector<std::uint32_t>> ordered(householdsOf.begin(), householdsOf.end());
    for (const auto& [guid, households] : ordered) {
        if (households.size() < 2) continue;
        std::string list;
        for (std::uint32_t h : households) list += (list.empty() ? "" : ", ") + Id(h);
        const auto sim = ws.simByGuid.find(guid);
        out.push_back(Make(FindingSeverity::Inconsistent, "sim-in-two-households",
                           sim == ws.simByGuid.end() ? "the GUID " + Id(guid) : SimNameAndFile(ws.characters[sim->second]),
                           "The sim is a member of the households " + list +
                               ": the game moves it between them or loses it from one.",
                           "remove the sim from all but the household its description names", Id(guid),
                           sim == ws.simByGuid.end() ? std::nullopt : std::optional<std::size_t>(sim->second)));
    }
    return out;
}

std::vector<Finding> CheckFamilyTies(const Workspace& ws) {
    std::vector<Finding> out;
    const SimIndex sims(ws);
    std::unordered_set<std::uint64_t> ties;
    ties.reserve(ws.familyTieList.size());
    for (const FamilyTie& tie : ws.familyTieList) ties.insert(TieKey(tie));
    auto has = [&](std::uint16_t sim, std::uint32_t type, std::uint16_t related) {
        return ties.contains(TieKey(FamilyTie{sim, type, related}));
    };
    for (const FamilyTie& tie : ws.familyTieList) {
        const std::string tieWords = sims.Words(tie.simId) + "'s " + std::string(FamilyTieName(tie.tieType)) + " " +
                                     sims.Words(tie.relatedId);
        const std::string key = Id(tie.simId) + "/" + std::to_string(tie.tieType) + "/" + Id(tie.relatedId);
        if (tie.simId == tie.relatedId) {
            out.push_back(Make(FindingSeverity::Inconsistent, "own-relative", sims.Words(tie.simId),
                               "The sim is its own " + std::string(FamilyTieName(tie.tieType)) +
                                   ": the family tree loops, which the game's tree cannot show.",
                               "remove the tie", key, sims.Index(tie.simId)));
            continue;
        }
        if (!sims.Exists(tie.simId) || !sims.Exists(tie.relatedId)) {
            out.push_back(Make(FindingSeverity::Inconsistent, "tie-to-missing-sim", tieWords,
                               "A family tie names a sim the neighborhood does not have: the family tree shows a gap or "
                               "the game fails to open it.",
                               "remove the tie", key, sims.Index(tie.simId)));
            continue;
        }
        // The mirror the game keeps: parent and child, spouse and spouse, sibling and sibling.
        bool mirrored = true;
        if (IsParentTie(tie.tieType)) mirrored = has(tie.relatedId, kChildTie, tie.simId);
        if (tie.tieType == kChildTie) {
            mirrored = has(tie.relatedId, kFirstParentTie, tie.simId) || has(tie.relatedId, kSecondParentTie, tie.simId);
        }
        if (tie.tieType == kSpouseTie) mirrored = has(tie.relatedId, kSpouseTie, tie.simId);
        if (tie.tieType == kSiblingTie) mirrored = has(tie.relatedId, kSiblingTie, tie.simId);
        if (!mirrored) {
            // A sibling recorded one way happens with in-laws and harms nothing known.
            const bool sibling = tie.tieType == kSiblingTie;
            out.push_back(Make(sibling ? FindingSeverity::Notice : FindingSeverity::Inconsistent, "tie-without-mirror",
                               tieWords,
                               sibling ? "The sibling tie is recorded one way only, as the game sometimes leaves it "
                                         "for in-laws."
                                       : "The tie is recorded one way only: one of the two sims does not know the "
                                         "other as family, and the family tree differs by whom you look from.",
                               "add the mirrored tie, or remove this one", key, sims.Index(tie.simId)));
        }
        if (IsParentTie(tie.tieType)) {
            const Character* child = sims.Sim(tie.simId);
            const Character* parent = sims.Sim(tie.relatedId);
            if (child && parent && LifeOrder(parent->lifeStage) >= 0 && LifeOrder(child->lifeStage) >= 0 &&
                LifeOrder(parent->lifeStage) < LifeOrder(child->lifeStage)) {
                // The game plays on with it (aging a sim by hand makes it); it is told, not feared.
                out.push_back(Make(FindingSeverity::Notice, "parent-younger-than-child", tieWords,
                                   "The parent is in a younger life stage than the child, which the game shows as it is.",
                                   "age the parent, or correct the tie", key, sims.Index(tie.simId)));
            }
        }
    }
    return out;
}

std::vector<Finding> CheckRelationships(const Workspace& ws) {
    std::vector<Finding> out;
    const SimIndex sims(ws);
    // The first record of the reverse pair, through the relationship lookup the load builds and
    // every edit keeps (a table of its own for a model put together without it).
    const bool indexed = ws.relationshipOrder.size() == ws.relationshipList.size();
    std::unordered_map<std::uint32_t, const RelationshipRecord*> byPair;
    if (!indexed) {
        byPair.reserve(ws.relationshipList.size());
        for (const RelationshipRecord& r : ws.relationshipList) byPair.emplace(RelationshipInstance(r.ownerId, r.otherId), &r);
    }
    const auto reverseOf = [&](const RelationshipRecord& r) -> const RelationshipRecord* {
        if (indexed) {
            const auto run = RelationshipsBetween(ws, r.otherId, r.ownerId);
            return run.empty() ? nullptr : &ws.relationshipList[run.front()];
        }
        const auto found = byPair.find(RelationshipInstance(r.otherId, r.ownerId));
        return found == byPair.end() ? nullptr : found->second;
    };
    for (const RelationshipRecord& r : ws.relationshipList) {
        // Names and keys are made for a finding only: most records have none.
        const auto pair = [&] { return sims.Words(r.ownerId) + " to " + sims.Words(r.otherId); };
        const auto key = [&] { return Id(RelationshipInstance(r.ownerId, r.otherId)); };
        if (!sims.Exists(r.ownerId) || !sims.Exists(r.otherId)) {
            out.push_back(Make(FindingSeverity::Inconsistent, "relationship-to-missing-sim", pair(),
                               "A relationship names a sim the neighborhood does not have.",
                               "remove the relationship", key(), sims.Index(r.ownerId)));
            continue;
        }
        if (HasRelationshipFlag(r, kFamilyBit) && r.hasFamilyRelation &&
            !MirrorFamilyRelation(static_cast<int>(r.familyRelation))) {
            out.push_back(Make(FindingSeverity::Inconsistent, "unknown-family-relation", pair(),
                               "The family relation " + std::to_string(r.familyRelation) +
                                   " is none the game has: the relationship panel of the game shows nothing sensible.",
                               "set the family relation from the family ties", key(), sims.Index(r.ownerId)));
        }
        // The flags both records of a pair carry alike: one record is enough to tell it.
        if (r.ownerId > r.otherId) continue;
        const RelationshipRecord* other = reverseOf(r);
        if (!other) continue;
        std::string differs;
        for (const RelationshipFlag& flag : RelationshipFlags()) {
            if (!flag.bothSides) continue;
            if (HasRelationshipFlag(r, flag.bit) != HasRelationshipFlag(*other, flag.bit)) {
                differs += (differs.empty() ? "" : ", ") + std::string(flag.caption);
            }
        }
        if (!differs.empty()) {
            out.push_back(Make(FindingSeverity::Inconsistent, "pair-disagrees", sims.Words(r.ownerId) + " and " + sims.Words(r.otherId),
                               "The two sims' records disagree on " + differs +
                                   ", which the game keeps alike: one sim is married, engaged or family to the other "
                                   "but not the other way round.",
                               "set the flags alike in both records", key(), sims.Index(r.ownerId)));
        }
    }
    for (std::uint32_t instance : ws.unreadableRelationships) {
        out.push_back(Make(FindingSeverity::Damaged, "relationship-unreadable",
                           sims.Words(instance >> 16) + " to " + sims.Words(instance & 0xFFFF),
                           "The relationship resource cannot be read: it claims a family relation (or values) "
                           "its length does not hold.",
                           "rebuild the relationship from its values, or remove it", Id(instance)));
    }
    return out;
}

std::vector<Finding> CheckItems(const Workspace& ws) {
    std::vector<Finding> out;
    const SimIndex sims(ws);
    std::map<std::uint32_t, std::size_t> orphans;
    for (const NeighborhoodItem& item : ws.simItemList) {
        if (!sims.Exists(item.owner)) ++orphans[item.owner];
    }
    for (const auto& [owner, count] : orphans) {
        out.push_back(Make(FindingSeverity::Notice, "items-of-no-sim", "the owner " + Id(owner),
                           std::to_string(count) +
                               " items of the neighborhood data belong to a sim the neighborhood does not have: the game "
                               "carries them without use.",
                           "remove the owner's items", Id(owner)));
    }
    return out;
}

std::vector<Finding> CheckCareers(const Workspace& ws) {
    std::vector<Finding> out;
    const CareerTable& careers = Careers();
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        const Character& sim = ws.characters[i];
        if (sim.instanceId == 0) continue;
        auto unknown = [&](const char* what, const std::string& key, bool known, const char* meaning) {
            if (key == kNoCareerKey || known) return;
            out.push_back(Make(FindingSeverity::Inconsistent, std::string("unknown-") + what, SimNameAndFile(sim),
                               std::string("The sim's ") + what + " " + key + " is none the game or the installed "
                               "expansions have. " + meaning,
                               std::string("give the sim a ") + what + " the game has (or reinstall the custom one)",
                               sim.packageFile + "/" + key, i));
        };
        const std::string career = CareerKeyOf(sim);
        unknown("career", career, careers.Find(career) != nullptr,
                "A custom career removed while a sim works in it is a known cause of households that will not load.");
        const std::string retired = RetiredCareerKeyOf(sim);
        unknown("retired career", retired, careers.Find(retired) != nullptr, "The game cannot pay its pension.");
        const std::string school = GuidKey(sim.schoolGuid);
        unknown("school", school, FindSchool(school) != nullptr, "The sim's school bus never comes.");
        const std::string major = GuidKey(sim.universityMajorGuid);
        unknown("major", major, FindMajor(major) != nullptr, "The university cannot show the sim's classes.");
    }
    return out;
}

std::vector<Finding> CheckModel(const Workspace& ws) {
    // The relationships are the longest part for a large neighborhood (two hundred thousand
    // records, each looked up in reverse): they are checked beside the rest, which takes about as
    // long, and the findings are put together in the same order.
    auto relationships = Beside([&ws] { return CheckRelationships(ws); });
    std::vector<Finding> all;
    auto add = [&](std::vector<Finding> part) { all.insert(all.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end())); };
    add(CheckCharacterFiles(ws));
    add(CheckIdentities(ws));
    add(CheckHouseholds(ws));
    add(CheckFamilyTies(ws));
    std::vector<Finding> items = CheckItems(ws);
    std::vector<Finding> careers = CheckCareers(ws);
    add(relationships.get());
    add(std::move(items));
    add(std::move(careers));
    return all;
}

std::vector<Finding> CheckPackageFile(const std::filesystem::path& path) {
    Bytes file;
    try {
        file = ReadFileBytes(path);
    } catch (const std::exception& error) {
        const std::string name = path.filename().string();
        return {Make(FindingSeverity::Damaged, "file-unreadable", name, "The file cannot be read: " + Explain(error),
                     "restore the file from a backup", name)};
    }
    return CheckPackageBytes(file, path.filename().string());
}

std::vector<Finding> CheckPackageBytes(std::span<const std::uint8_t> file, const std::string& name) {
    std::vector<Finding> out;
    auto damaged = [&](const std::string& check, const std::string& meaning, const std::string& fix) {
        out.push_back(Make(FindingSeverity::Damaged, check, name, meaning, fix, name));
    };
    std::vector<IndexEntry> entries;
    std::uint32_t width = 0;
    try {
        width = ReadIndex(file, PackageSource::File, entries);
    } catch (const FormatError& error) {
        damaged("index-unreadable", std::string("The package's index cannot be read (") + error.what() +
                                        "): the game cannot find anything in it.",
                "restore the file from a backup");
        return out;
    }
    const std::uint32_t declared = file.size() >= kHeaderSize ? ByteReader(file).ReadU32(kEntryCountOffset) : 0;
    if (declared > 0 && width != 20 && width != 24) {
        damaged("index-unreadable", "The package's index has entries of " + std::to_string(width) +
                                        " bytes, which no version of the game writes.",
                "restore the file from a backup");
        return out;
    }
    if (entries.size() < declared) {
        damaged("entries-outside-file", std::to_string(declared - entries.size()) +
                                            " index entries point past the end of the file (it was cut short): what "
                                            "they named is lost.",
                "restore the file from a backup");
    }
    std::vector<IndexEntry> byOffset = entries;
    std::sort(byOffset.begin(), byOffset.end(), [](const IndexEntry& a, const IndexEntry& b) { return a.offset < b.offset; });
    std::size_t overlapping = 0, pastEnd = 0;
    for (std::size_t i = 0; i < byOffset.size(); ++i) {
        if (std::size_t{byOffset[i].offset} + byOffset[i].size > file.size()) ++pastEnd;
        if (i > 0 && byOffset[i].offset < std::size_t{byOffset[i - 1].offset} + byOffset[i - 1].size) ++overlapping;
    }
    if (pastEnd > 0) {
        damaged("entries-outside-file", std::to_string(pastEnd) + " resources run past the end of the file.",
                "restore the file from a backup");
    }
    if (overlapping > 0) {
        damaged("overlapping-entries", std::to_string(overlapping) +
                                           " resources overlap another in the file: changing one changes the other.",
                "rebuild the package so that each resource has bytes of its own");
    }
    // The directory says which streams are compressed; a stream it lists stored plain, or one it
    // misses stored compressed, is read wrongly by the game.
    const CompressedListing listing = CompressedListing::Of(file, entries, width);
    std::size_t listedPlain = 0, compressedUnlisted = 0;
    bool hasDirectory = false;
    for (const IndexEntry& entry : entries) {
        if (entry.key.typeId == kCompressedDirectoryType) {
            hasDirectory = true;
            continue;
        }
        if (std::size_t{entry.offset} + entry.size > file.size()) continue;
        const bool compressed = IsCompressedEntry(file, entry);
        const bool listed = listing.Lists(entry.key);
        listedPlain += listed && !compressed;
        compressedUnlisted += compressed && !listed;
    }
    if (listedPlain + compressedUnlisted > 0 && (hasDirectory || compressedUnlisted > 0)) {
        out.push_back(Make(FindingSeverity::Inconsistent, "directory-disagrees", name,
                           "The compressed-resource directory disagrees with the resources: " +
                               std::to_string(listedPlain) + " listed as compressed are stored plain, " +
                               std::to_string(compressedUnlisted) + " compressed ones are not listed.",
                           "rebuild the directory from the resources (a save of the package stores every resource "
                           "plain and drops it)",
                           name));
    }
    SilentReporter quiet;
    ExpansionFaults faults;
    PackageImage image;
    try {
        image = ExpandImage(file, quiet, nullptr, &faults);
    } catch (const FormatError& error) {
        damaged("resources-undecodable", std::string("The resources cannot be expanded: ") + error.what(),
                "restore the file from a backup");
        return out;
    }
    if (!faults.undecodable.empty()) {
        damaged("resources-undecodable", std::to_string(faults.undecodable.size()) + " resources fail to decode (" +
                                             faults.undecodable.front() + (faults.undecodable.size() > 1 ? ", ..." : "") +
                                             "): the game reads damaged data from them.",
                "restore the file from a backup");
    }
    // Relationships whose value count passes their length: the game reads the values past the end.
    std::vector<IndexEntry> expanded;
    ReadIndex(image, PackageSource::Image, expanded);
    for (const IndexEntry& entry : expanded) {
        if (entry.key.typeId != kRelationshipType || entry.size < 8) continue;
        const std::uint64_t count = ByteReader(image).ReadU32(entry.offset + 4);
        if (8 + 4 * count <= entry.size) continue;
        out.push_back(Make(FindingSeverity::Damaged, "relationship-count-past-length",
                           "the relationship " + Id(entry.key.instanceId) + " in " + name,
                           "It claims " + std::to_string(count) + " values but holds " +
                               std::to_string((entry.size - 8) / 4) + ": the game reads past its end.",
                           "set the count to the values it holds", name + "/" + Id(entry.key.instanceId)));
    }
    return out;
}

std::vector<Finding> CheckPackages(const Workspace& ws, const std::function<bool(std::size_t, std::size_t)>& progress) {
    std::vector<Finding> out;
    const std::size_t total = ws.characters.size() + 1;
    auto add = [&](std::vector<Finding> part, std::optional<std::size_t> sim) {
        for (Finding& f : part) {
            f.sim = sim;
            out.push_back(std::move(f));
        }
    };
    if (!ws.packagePath.empty()) add(CheckPackageFile(ws.packagePath), std::nullopt);
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        if (progress && !progress(i + 1, total)) break;
        add(CheckPackageFile(ws.charactersFolder / ws.characters[i].packageFile), i);
    }
    return out;
}

std::vector<Finding> CheckNeighborhood(const Workspace& ws, const std::function<bool(std::size_t, std::size_t)>& progress) {
    std::vector<Finding> all = CheckPackages(ws, progress);
    std::vector<Finding> model = CheckModel(ws);
    all.insert(all.end(), std::make_move_iterator(model.begin()), std::make_move_iterator(model.end()));
    return all;
}

std::vector<std::string> FindingKeys(const std::vector<Finding>& findings) {
    std::vector<std::string> keys;
    keys.reserve(findings.size());
    for (const Finding& f : findings) keys.push_back(f.key);
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<Finding> NewFindings(const std::vector<std::string>& beforeKeys, const std::vector<Finding>& after) {
    std::unordered_map<std::string, int> before;
    for (const std::string& key : beforeKeys) ++before[key];
    std::vector<Finding> added;
    for (const Finding& f : after) {
        auto it = before.find(f.key);
        if (it != before.end() && it->second > 0) {
            --it->second;
            continue;
        }
        added.push_back(f);
    }
    return added;
}

std::vector<Finding> NewFindings(const std::vector<Finding>& before, const std::vector<Finding>& after) {
    return NewFindings(FindingKeys(before), after);
}

void CharacterFileDeleted(Workspace& ws, const Character& sim, bool deleted) {
    if (sim.instanceId == 0) return;
    const std::string key = "description-without-character-file:" + Id(sim.instanceId);
    auto& keys = ws.findingKeysAsSaved;
    if (deleted) {
        keys.insert(std::upper_bound(keys.begin(), keys.end(), key), key);
    } else if (const auto it = std::find(keys.begin(), keys.end(), key); it != keys.end()) {
        keys.erase(it);
    }
}

std::string FindingsReport(const std::vector<Finding>& findings, const std::string& title) {
    std::size_t counts[3] = {0, 0, 0};
    for (const Finding& f : findings) ++counts[static_cast<int>(f.severity)];
    std::string text = title + "\n";
    if (findings.empty()) return text + "No problems found.\n";
    text += std::to_string(counts[0]) + " damaged, " + std::to_string(counts[1]) + " inconsistent, " +
            std::to_string(counts[2]) + " notices\n";
    for (const Finding& f : findings) {
        text += "\n[" + std::string(SeverityName(f.severity)) + "] " + f.check + ": " + f.subject + "\n  " + f.meaning +
                "\n  A fix would " + f.fix + ".\n";
    }
    return text;
}

}  // namespace qh
