#include "workspace/neighborhood_diff.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "career/career_rules.h"
#include "career/career_table.h"
#include "career/education.h"
#include "character/character_traits.h"
#include "package/extract.h"
#include "package/guid.h"
#include "package/index.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "platform/progress.h"
#include "workspace/aspiration_items.h"
#include "workspace/character_list.h"
#include "workspace/households.h"
#include "workspace/loader.h"
#include "workspace/neighborhood_catalogue.h"
#include "workspace/sim_filter.h"
#include "workspace/sim_items.h"

namespace qh {

namespace fs = std::filesystem;

namespace {

const char* const kArrow = " \u2192 ";


// One side's lookups, built once.
struct Side {
    const Workspace& ws;
    std::unordered_map<std::uint32_t, std::size_t> byGuid;      // sims by GUID
    std::unordered_map<std::uint32_t, std::vector<NeighborhoodItem>> items;  // by owner
    std::unordered_map<std::uint16_t, std::set<std::pair<std::uint32_t, std::uint16_t>>> ties;  // by sim
    std::map<std::uint32_t, const RelationshipRecord*> relationships;  // by pair instance
    explicit Side(const Workspace& w) : ws(w) {
        for (std::size_t i = 0; i < ws.characters.size(); ++i) byGuid.emplace(GuidValue(ws.characters[i].simGuid), i);
        for (const NeighborhoodItem& item : ws.simItemList) items[item.owner].push_back(item);
        for (const FamilyTie& tie : ws.familyTieList) ties[tie.simId].insert({tie.tieType, tie.relatedId});
        for (const RelationshipRecord& r : ws.relationshipList) relationships.emplace(RelationshipInstance(r.ownerId, r.otherId), &r);
    }
    std::span<const NeighborhoodItem> ItemsOf(const Character& sim) const {
        const auto it = items.find(sim.instanceId);
        return it == items.end() || sim.instanceId == 0 ? std::span<const NeighborhoodItem>() : std::span<const NeighborhoodItem>(it->second);
    }
    bool Dead(const Character& sim) const {
        const auto mine = ItemsOf(sim);
        return std::any_of(mine.begin(), mine.end(), [](const NeighborhoodItem& i) { return i.itemGuid == kDeadMarkGuid; });
    }
    // A related sim named by its id, in this side's words.
    std::string NameOf(std::uint16_t id) const {
        const auto it = ws.simByInstance.find(id);
        return it == ws.simByInstance.end() ? "the sim " + HexId(id) : SimName(ws.characters[it->second]);
    }
    // The sims tied to the sim by the type, by id (names change when a sim's file goes).
    std::vector<std::uint16_t> Related(const Character& sim, std::uint32_t type) const {
        std::vector<std::uint16_t> ids;
        const auto it = ties.find(static_cast<std::uint16_t>(sim.instanceId));
        if (it == ties.end() || sim.instanceId == 0) return ids;
        for (const auto& [t, related] : it->second) {
            if (t == type) ids.push_back(related);
        }
        return ids;
    }
    std::string Names(const std::vector<std::uint16_t>& ids) const {
        if (ids.empty()) return "none";
        std::string out;
        for (std::uint16_t id : ids) out += (out.empty() ? "" : ", ") + NameOf(id);
        return out;
    }
    std::string HouseholdOf(const Character& sim) const {
        const auto household = HouseholdOfSim(ws, sim);
        return household ? HouseholdLabel(ws.households[*household]) : std::string("no household");
    }
};

void Moved(std::vector<std::string>& out, const std::string& what, int before, int after) {
    if (before != after) out.push_back(what + ": " + std::to_string(before) + kArrow + std::to_string(after));
}

std::vector<std::string> SimChanges(const Side& a, const Side& b, const Character& was, const Character& is,
                                    const GameEnvironment& env) {
    std::vector<std::string> out;
    if (SimName(was) != SimName(is)) out.push_back("renamed: " + SimName(was) + kArrow + SimName(is));
    if (!a.Dead(was) && b.Dead(is)) out.push_back("died");
    if (a.Dead(was) && !b.Dead(is)) out.push_back("came back to life");
    if (LifeStageWords(was) != LifeStageWords(is)) out.push_back("life stage: " + LifeStageWords(was) + kArrow + LifeStageWords(is));
    if (a.HouseholdOf(was) != b.HouseholdOf(is)) out.push_back("household: " + a.HouseholdOf(was) + kArrow + b.HouseholdOf(is));
    const auto spouseWas = a.Related(was, kSpouseTie), spouseIs = b.Related(is, kSpouseTie);
    if (spouseWas != spouseIs) {
        out.push_back(spouseWas.empty() ? "married " + b.Names(spouseIs)
                      : spouseIs.empty() ? "no longer married to " + a.Names(spouseWas)
                                         : "spouse: " + a.Names(spouseWas) + kArrow + b.Names(spouseIs));
    }
    for (std::uint32_t type : {kFirstParentTie, kSecondParentTie}) {
        const auto p = a.Related(was, type), q = b.Related(is, type);
        if (p != q) out.push_back(std::string(FamilyTieName(type)) + ": " + a.Names(p) + kArrow + b.Names(q));
    }
    const auto children = a.Related(was, kChildTie), childrenNow = b.Related(is, kChildTie);
    for (std::uint16_t child : childrenNow) {
        if (std::find(children.begin(), children.end(), child) == children.end()) out.push_back("a child: " + b.NameOf(child));
    }
    const std::string careerWas = CareerName(CareerKeyOf(was)), careerIs = CareerName(CareerKeyOf(is));
    if (careerWas != careerIs) {
        out.push_back("career: " + careerWas + kArrow + careerIs);
    } else if (was.jobLevel != is.jobLevel) {
        out.push_back((is.jobLevel > was.jobLevel ? "promoted: " : "demoted: ") + CareerTitle(CareerKeyOf(was), was.jobLevel) +
                      kArrow + CareerTitle(CareerKeyOf(is), is.jobLevel));
    }
    if (GuidKey(was.schoolGuid) != GuidKey(is.schoolGuid)) {
        const School* s1 = FindSchool(GuidKey(was.schoolGuid));
        const School* s2 = FindSchool(GuidKey(is.schoolGuid));
        out.push_back(std::string("school: ") + (s1 ? s1->name : "none") + kArrow + (s2 ? s2->name : "none"));
    }
    if (GuidKey(was.universityMajorGuid) != GuidKey(is.universityMajorGuid)) {
        const Major* m1 = FindMajor(GuidKey(was.universityMajorGuid));
        const Major* m2 = FindMajor(GuidKey(is.universityMajorGuid));
        out.push_back(std::string("major: ") + (m1 ? m1->name : "none") + kArrow + (m2 ? m2->name : "none"));
    }
    const int aspirationWas = ShownAspirations(a.ItemsOf(was), was, env).primary;
    const int aspirationIs = ShownAspirations(b.ItemsOf(is), is, env).primary;
    if (aspirationWas != aspirationIs) {
        out.push_back("aspiration: " + std::string(AspirationName(aspirationWas)) + kArrow + std::string(AspirationName(aspirationIs)));
    }
    for (TraitGroup group : {TraitGroup::BaseSkills, TraitGroup::Personality, TraitGroup::Interests}) {
        for (const TraitSlider& slider : TraitSliders(group)) {
            std::string label = slider.label;
            label.erase(std::remove_if(label.begin(), label.end(), [](char ch) { return ch == ':' || ch == '('; }), label.end());
            Moved(out, label, was.*slider.member, is.*slider.member);
        }
    }
    return out;
}

// The relationships of the pair instances of one side that the other lacks, or that moved.
void RelationshipChanges(const Side& a, const Side& b, const DiffOptions& options,
                         std::map<std::string, std::vector<std::string>>& bySim) {
    for (const auto& [pair, record] : b.relationships) {
        const std::string who = b.NameOf(record->ownerId);
        const std::string other = b.NameOf(record->otherId);
        const auto old = a.relationships.find(pair);
        if (old == a.relationships.end()) {
            bySim[who].push_back("a new relationship to " + other + " (daily " + std::to_string(record->shortTerm) +
                                 ", lifetime " + std::to_string(record->longTerm) + ")");
            continue;
        }
        const RelationshipRecord& was = *old->second;
        if (std::abs(record->shortTerm - was.shortTerm) >= options.relationshipThreshold) {
            bySim[who].push_back("daily relationship to " + other + ": " + std::to_string(was.shortTerm) + kArrow +
                                 std::to_string(record->shortTerm));
        }
        if (std::abs(record->longTerm - was.longTerm) >= options.relationshipThreshold) {
            bySim[who].push_back("lifetime relationship to " + other + ": " + std::to_string(was.longTerm) + kArrow +
                                 std::to_string(record->longTerm));
        }
    }
    for (const auto& [pair, record] : a.relationships) {
        if (!b.relationships.contains(pair)) {
            bySim[a.NameOf(record->ownerId)].push_back("the relationship to " + a.NameOf(record->otherId) + " is gone");
        }
    }
}

// The types the program reads from each kind of package: anything else is compared as bytes.
bool ReadFromNeighborhood(std::uint32_t type) {
    return type == kCatalogTextType || type == kSimDescriptionType || type == kRelationshipType || type == kHouseholdType ||
           type == kTextListType || type == kGeneticRecordType || type == kFamilyTiesType || type == kNeighborhoodDataType ||
           type == kLotDescriptionType || type == kCompressedDirectoryType;
}
bool ReadFromCharacter(std::uint32_t type) {
    return type == kObjectDefinitionType || type == kVersionInfoType || type == kSimPropertiesType ||
           type == kCatalogTextType || type == kPictureType || type == kCompressedDirectoryType;
}

// The unread resources of a package by key, as their expanded bytes; none when it cannot be read.
std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>, Bytes> Unread(const fs::path& path,
                                                                                             bool neighborhood) {
    std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>, Bytes> out;
    try {
        SilentReporter quiet;
        const Bytes file = ReadFileBytes(path);
        const PackageImage image = ExpandImage(file, quiet);
        std::vector<IndexEntry> entries;
        ReadIndex(image, PackageSource::Image, entries);
        for (const IndexEntry& e : entries) {
            if (neighborhood ? ReadFromNeighborhood(e.key.typeId) : ReadFromCharacter(e.key.typeId)) continue;
            if (std::size_t{e.offset} + e.size > image.size()) continue;
            out[{e.key.typeId, e.key.groupId, e.key.instanceId, e.key.instance2Id}] =
                Bytes(image.begin() + e.offset, image.begin() + e.offset + e.size);
        }
    } catch (const std::exception&) {
    }
    return out;
}

std::size_t UnreadDifferences(const fs::path& a, const fs::path& b, bool neighborhood) {
    const auto x = Unread(a, neighborhood);
    const auto y = Unread(b, neighborhood);
    std::size_t changed = 0;
    for (const auto& [key, bytes] : x) {
        const auto other = y.find(key);
        changed += other == y.end() || other->second != bytes;
    }
    for (const auto& [key, bytes] : y) changed += !x.contains(key);
    return changed;
}

}  // namespace

NeighborhoodDiff DiffNeighborhoods(const Workspace& before, const Workspace& after, const GameEnvironment& env,
                                   const DiffOptions& options) {
    NeighborhoodDiff diff;
    const Side a(before), b(after);
    std::map<std::string, std::vector<std::string>> bySim;  // by the sim's words, in order
    for (const Character& is : after.characters) {
        const auto old = a.byGuid.find(GuidValue(is.simGuid));
        if (old == a.byGuid.end()) {
            bySim[SimNameAndFile(is)].push_back("born (or moved in): " + LifeStageWords(is) + ", " + b.HouseholdOf(is));
            continue;
        }
        auto changes = SimChanges(a, b, before.characters[old->second], is, env);
        if (!changes.empty()) {
            auto& lines = bySim[SimNameAndFile(is)];
            lines.insert(lines.end(), changes.begin(), changes.end());
        }
    }
    for (const Character& was : before.characters) {
        if (!b.byGuid.contains(GuidValue(was.simGuid))) bySim[SimNameAndFile(was)].push_back("gone: no longer in the neighborhood");
    }
    std::map<std::string, std::vector<std::string>> relationships;
    RelationshipChanges(a, b, options, relationships);
    // Relationship lines go to the sim they belong to, by name: the first group of that name, else
    // the (last) sim of the neighborhood as it is now of that name. Both looked up in maps built
    // once, so a diff of ten thousand changed sims stays linear.
    std::unordered_map<std::string, std::string> groupByName;
    for (const auto& entry : bySim) {
        const std::size_t cut = entry.first.rfind(" (");
        if (cut != std::string::npos) groupByName.emplace(entry.first.substr(0, cut), entry.first);
    }
    std::unordered_map<std::string, std::string> simByName;
    for (const Character& sim : after.characters) simByName[SimName(sim)] = SimNameAndFile(sim);
    for (auto& [name, lines] : relationships) {
        const auto group = groupByName.find(name);
        const auto sim = simByName.find(name);
        const std::string& who = group != groupByName.end() ? group->second : sim != simByName.end() ? sim->second : name;
        auto& into = bySim[who];
        into.insert(into.end(), lines.begin(), lines.end());
    }
    for (auto& [who, lines] : bySim) diff.sims.push_back({who, std::move(lines)});

    std::unordered_map<std::uint32_t, const Household*> householdsBefore;
    for (const Household& h : before.households) householdsBefore.emplace(h.instanceId, &h);
    std::set<std::uint32_t> seen;
    for (const Household& h : after.households) {
        seen.insert(h.instanceId);
        const auto old = householdsBefore.find(h.instanceId);
        DiffGroup group{HouseholdLabel(h), {}};
        if (old == householdsBefore.end()) {
            group.changes.push_back("a new household");
        } else {
            const Household& was = *old->second;
            if (was.funds != h.funds) group.changes.push_back("funds: " + std::to_string(was.funds) + kArrow + std::to_string(h.funds));
            if (HouseholdLabel(was) != HouseholdLabel(h)) group.changes.push_back("renamed: " + HouseholdLabel(was) + kArrow + HouseholdLabel(h));
            if (was.members.size() != h.members.size()) {
                group.changes.push_back("members: " + std::to_string(was.members.size()) + kArrow + std::to_string(h.members.size()));
            }
            if (was.lotInstance != h.lotInstance) {
                group.changes.push_back("moved: lot " + std::to_string(was.lotInstance) + kArrow + std::to_string(h.lotInstance));
            }
        }
        if (!group.changes.empty()) diff.households.push_back(std::move(group));
    }
    for (const Household& h : before.households) {
        if (!seen.contains(h.instanceId)) diff.households.push_back({HouseholdLabel(h), {"gone"}});
    }

    // What no reader interprets, compared as bytes: the neighborhood package and each sim's.
    auto count = [&](const fs::path& x, const fs::path& y, bool neighborhood) {
        const std::size_t n = UnreadDifferences(x, y, neighborhood);
        if (n == 0) return;
        diff.unreadChanged += n;
        diff.unreadFiles.push_back(y.filename().string());
    };
    if (!before.packagePath.empty() && !after.packagePath.empty()) count(before.packagePath, after.packagePath, true);
    for (const Character& is : after.characters) {
        const auto old = a.byGuid.find(GuidValue(is.simGuid));
        if (old == a.byGuid.end()) continue;
        count(before.charactersFolder / before.characters[old->second].packageFile, after.charactersFolder / is.packageFile, false);
    }
    return diff;
}

void LoadNeighborhoodFolder(Workspace& workspace, const fs::path& folder, int languageCode, Reporter& reporter) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::string suffix = "_Neighborhood.package";
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
        Neighborhood neighborhood;
        neighborhood.prefix = name.substr(0, name.size() - suffix.size());
        neighborhood.packagePath = entry.path();
        LoadOptions options;
        options.languageCode = languageCode;
        options.folder = folder;
        NullProgress progress;
        LoadNeighborhood(workspace, neighborhood, folder.parent_path(), options, reporter, progress);
        return;
    }
    throw IoError(folder.string() + " holds no neighborhood (no <PREFIX>_Neighborhood.package)");
}

}  // namespace qh
