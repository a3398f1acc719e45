#include "cli/neighborhood_commands.h"

#include "career/career_table.h"
#include "career/education.h"

#include <iostream>
#include <unordered_map>

#include "character/character_fields.h"
#include "character/character_traits.h"
#include "cli/cli_support.h"
#include "cli/json_stream.h"
#include "package/index.h"
#include "package/text_list.h"
#include "platform/paths.h"
#include "workspace/character_list.h"
#include "workspace/households.h"
#include "family/family_tie.h"
#include "relationship/relationship.h"
#include "workspace/loader.h"
#include "workspace/aspiration_items.h"
#include "workspace/hobby_items.h"
#include "workspace/reward_items.h"
#include "workspace/skill_items.h"

namespace qh::cli {

nlohmann::ordered_json NeighborhoodJson(const Neighborhood& n) {
    return {{"prefix", n.prefix},
            {"packagePath", n.packagePath.string()},
            {"ngbdName", ToValidUtf8(n.ngbdName)},
            {"ngbdDescription", ToValidUtf8(n.ngbdDescription)},
            {"versionText", ToValidUtf8(n.versionText)},
            {"text", n.Text()}};
}

namespace {

// What the Personality, Interests, Skills and Needs panels show of a sim, under their fields'
// names; the item skills by name with their GUIDs.
nlohmann::ordered_json TraitsJson(const Character& sim, const SimSkills& skills) {
    nlohmann::ordered_json out;
    auto group = [&](TraitGroup g) {
        nlohmann::ordered_json values;
        for (const TraitSlider& slider : TraitSliders(g)) values[std::string(slider.field)] = sim.*slider.member;
        return values;
    };
    out["personality"] = group(TraitGroup::Personality);
    if (ReputationStored(sim)) out["personality"]["reputation"] = sim.reputation;
    out["interests"] = group(TraitGroup::Interests);
    out["skills"] = group(TraitGroup::BaseSkills);
    out["itemSkills"] = nlohmann::json::array();
    for (const ItemSkill& skill : ItemSkills()) {
        if (!skills.Has(skill.itemGuid)) continue;
        nlohmann::ordered_json entry{{"skill", skill.name}, {"itemGuid", HexId(skill.itemGuid)}};
        if (skill.presence) {
            entry["learned"] = true;
        } else {
            entry["level"] = skills.Level(skill.itemGuid);
        }
        out["itemSkills"].push_back(entry);
    }
    if (skills.training) {
        const ToddlerTraining& t = *skills.training;
        out["toddlerTraining"] = {{"walk", t.walk},           {"talk", t.talk},
                                  {"potty", t.potty},         {"walkLearned", t.walkLearned},
                                  {"talkLearned", t.talkLearned}, {"pottyLearned", t.pottyLearned},
                                  {"rhyme", t.rhyme},         {"rhymeLearned", t.rhymeLearned}};
    }
    if (NeedsStored(sim)) {
        out["needs"] = nlohmann::ordered_json::object();
        for (const NeedRow& need : NeedRows()) {
            out["needs"][std::string(need.field)] = {{"value", sim.*need.member},
                                                     {"speed", NeedSpeedCaption(sim.*need.member)}};
        }
    }
    return out;
}

}  // namespace

namespace {

// The Aspiration/Influence, Hobbies, Badges and Rewards/Extras panels' values in their words.
nlohmann::ordered_json PanelsJson(const Character& sim, std::span<const NeighborhoodItem> items, const GameEnvironment& env) {
    nlohmann::ordered_json out;
    const ShownAspiration shown = ShownAspirations(items, sim, env);
    const auto benefit = WeeklyBenefit(items, sim);
    out["aspiration"] = {{"aspiration", AspirationName(shown.primary)},
                         {"secondary", AspirationName(shown.secondary)},
                         {"meter", sim.aspirationScore},
                         {"level", sim.aspirationLevel},
                         {"points", ShownRewardPoints(sim)},
                         {"longTermLevel", sim.ltaLevel},
                         {"unlocksEarned", sim.ltaUnlocksEarned},
                         {"unlocksUsed", sim.ltaUnlocksUsed},
                         {"benefit", benefit ? nlohmann::ordered_json(*benefit) : nlohmann::ordered_json()},
                         {"influenceLevel", sim.influenceLevel}};
    nlohmann::ordered_json enthusiasm;
    std::string talent = "-";
    for (const HobbyRow& row : HobbyRows()) {
        enthusiasm[row.name] = sim.*row.member;
        if (row.id == ShownTalent(sim)) talent = row.name;
    }
    nlohmann::ordered_json memberships = nlohmann::json::array();
    for (int id : HobbyLotMemberships(items, sim)) memberships.push_back(id);
    out["hobbies"] = {{"enthusiasm", enthusiasm}, {"talent", talent}, {"memberships", memberships}};
    nlohmann::ordered_json badges = nlohmann::ordered_json::object();
    for (const BadgeRow& badge : BadgeRows()) {
        const int level = BadgeLevel(items, sim, badge.itemGuid);
        if (level != 0) badges[badge.name] = {{"level", level}, {"grade", BadgeGradeName(BadgeGrade(level))}};
    }
    out["badges"] = badges;
    nlohmann::ordered_json rewards = nlohmann::json::array();
    for (const RewardRow& reward : RewardRows()) {
        if (HasReward(items, sim, reward)) rewards.push_back(reward.caption);
    }
    out["rewards"] = rewards;
    return out;
}

}  // namespace

namespace {

// Appends a member the object does not have yet, without looking for it first: an ordered
// object finds a key by walking its members, which over a sim's few hundred fields, for each of
// ten thousand sims, costs more than the whole rest of a dump.
void Append(nlohmann::ordered_json& object, std::string key, nlohmann::ordered_json value) {
    if (object.is_null()) object = nlohmann::ordered_json::object();
    using Members = std::vector<std::pair<const std::string, nlohmann::ordered_json>>;
    static_cast<Members&>(object.get_ref<nlohmann::ordered_json::object_t&>()).emplace_back(std::move(key), std::move(value));
}

void AppendAll(nlohmann::ordered_json& object, nlohmann::ordered_json&& more) {
    for (auto& [key, value] : more.get_ref<nlohmann::ordered_json::object_t&>()) Append(object, key, std::move(value));
}

}  // namespace

nlohmann::ordered_json CharacterJson(const Character& sim, SortOrder order, std::span<const NeighborhoodItem> items,
                                     const GameEnvironment& env, const DNA* dna) {
    const SimSkills skills = ReadSimSkills(items, sim);
    nlohmann::ordered_json out;
    for (const CharacterField& field : CharacterFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                const std::string name(field.name);
                if constexpr (std::is_same_v<T, Guid4>) {
                    Append(out, name, GuidKey(sim.*member));
                } else if constexpr (std::is_same_v<T, std::string>) {
                    Append(out, name, ToValidUtf8(sim.*member));
                } else {
                    Append(out, name, sim.*member);
                }
            },
            field.member);
    }
    Append(out, "listText", CharacterListText(sim, order));
    Append(out, "hasPicture", sim.portrait.has_value());
    // The working life and schooling in words, as the Career and School panels name them.
    const std::string career = GuidKey(sim.careerGuid);
    const std::string retired = GuidKey(sim.retiredCareerGuid);
    const std::string majorKey = GuidKey(sim.universityMajorGuid);
    const School* school = FindSchool(GuidKey(sim.schoolGuid));
    const Major* major = FindMajor(majorKey);
    const auto classes = MajorClasses(majorKey);
    const bool hasClass = sim.universityClass >= 1 && static_cast<std::size_t>(sim.universityClass) <= classes.size();
    Append(out, "work", {{"career", CareerName(career)},
                   {"title", CareerTitle(career, sim.jobLevel)},
                   {"retiredCareer", CareerName(retired)},
                   {"retiredTitle", CareerTitle(retired, sim.retiredJobLevel)},
                   {"school", school ? school->name : ""},
                   {"grade", sim.schoolGrade >= 1 && sim.schoolGrade <= 13 ? SchoolGrades()[sim.schoolGrade - 1] : ""},
                   {"major", major ? major->name : ""},
                   {"class", hasClass ? classes[static_cast<std::size_t>(sim.universityClass - 1)] : std::string()},
                   {"year", hasClass ? UniversityYear(majorKey, sim.universityClass) : std::string()},
                   {"gpa", GpaText(sim.gpa)}});
    AppendAll(out, TraitsJson(sim, skills));
    AppendAll(out, PanelsJson(sim, items, env));
    // The genetic record's sixteen genes by name ("NA" for none); null without a record.
    nlohmann::ordered_json genes;
    if (dna) {
        for (const DnaField& field : DnaFields()) Append(genes, std::string(field.name), ToValidUtf8(dna->*field.member));
    }
    Append(out, "dna", std::move(genes));
    return out;
}

// One relationship record: the values by name, the flags by caption (and all 32 bits, for those
// the program does not name), the family relation with its text.
nlohmann::ordered_json RelationshipJson(const RelationshipRecord& record) {
    nlohmann::ordered_json flags = nlohmann::json::array();
    for (const RelationshipFlag& flag : RelationshipFlags()) {
        if (HasRelationshipFlag(record, flag.bit)) flags.push_back(std::string(flag.caption));
    }
    const bool known = MirrorFamilyRelation(record.familyRelation).has_value();
    return {{"ownerId", record.ownerId},
            {"otherId", record.otherId},
            {"headerWord", record.headerWord},
            {"valueCount", record.valueCount},
            {"shortTerm", record.shortTerm},
            {"longTerm", record.longTerm},
            {"flags", flags},
            {"flagBits", RelationshipFlagsOf(record)},
            {"familyRelation", record.familyRelation},
            {"familyRelationText", known ? std::string(FamilyRelations()[static_cast<std::size_t>(record.familyRelation)].text) : ""},
            {"hasFamilyRelation", record.hasFamilyRelation != 0},
            {"isNew", record.isNew != 0}};
}

nlohmann::ordered_json HouseholdJson(const Household& h) {
    nlohmann::ordered_json members = nlohmann::json::array();
    for (const Guid4& member : h.members) members.push_back(GuidKey(member));
    return {{"instanceId", HexId(h.instanceId)},
            {"lotInstance", h.lotInstance},
            {"houseFamilyNumber", h.houseFamilyNumber},
            {"funds", h.funds},
            {"familyFriends", h.familyFriends},
            {"fourthValue", h.fourthValue},
            {"storedMemberCount", h.storedMemberCount},
            {"members", members},
            {"tailText", h.tailText},
            {"tailValue1", h.tailValue1},
            {"tailValue2", h.tailValue2},
            {"householdName", ToValidUtf8(h.householdName)},
            {"householdDescription", ToValidUtf8(h.householdDescription)},
            {"hasTextList", h.hasTextList},
            {"householdDirty", h.householdDirty},
            {"label", HouseholdLabel(h)}};
}

nlohmann::ordered_json ItemJson(const NeighborhoodItem& item) {
    return {{"owner", item.owner},       {"secondary", item.secondary}, {"ownerWord", item.ownerWord},
            {"itemGuid", HexId(item.itemGuid)}, {"flags1", item.flags1}, {"flags2", item.flags2},
            {"invNumber", item.invNumber}, {"padding", item.padding},    {"values", item.values}};
}

void LoadByPrefix(const GlobalOptions& options, const std::string& prefix, Reporter& reporter, GameSession& session) {
    Discover(options, session);
    if (session.env.neighborhoodsFolder.empty()) throw UsageError(UserDataNotFound(session));
    ScanCatalogue(session, reporter);
    const auto entry = FindNeighborhood(session, prefix);
    if (!entry) throw UsageError("No neighborhood " + prefix + " in " + session.env.neighborhoodsFolder.string());
    NullProgress progress;
    LoadSessionNeighborhood(session, *entry, reporter, progress);
}

void AddNeighborhoodCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto* list = app.add_subcommand("neighborhoods", "List the player's neighborhoods as JSON");
    list->callback([&options, &reporter] {
        GameSession discovery;
        Discover(options, discovery);
        if (discovery.env.neighborhoodsFolder.empty()) throw UsageError(UserDataNotFound(discovery));
        NullProgress progress;
        const auto catalogue = ScanNeighborhoods(discovery.env.neighborhoodsFolder, discovery.env.languageCode,
                                                 reporter, progress);
        nlohmann::ordered_json out = nlohmann::json::array();
        for (const Neighborhood& n : catalogue) out.push_back(NeighborhoodJson(n));
        std::cout << out.dump(2) << '\n';
    });

    auto prefix = std::make_shared<std::string>();
    auto* dump = app.add_subcommand("dump", "Load a neighborhood and print it as JSON");
    dump->add_option("PREFIX", *prefix, "The neighborhood's prefix, such as N001")->required();
    dump->callback([prefix, &options, &reporter] {
        GameSession session;
        LoadByPrefix(options, *prefix, reporter, session);
        const Workspace& ws = session.workspace;
        // Streamed member by member: a neighborhood of ten thousand sims is never held as one
        // document.
        JsonObjectStream out(std::cout);
        out.Member("neighborhood", NeighborhoodJson(*session.LoadedNeighborhood()));
        // In the selector's order, labelled as the window labels them.
        const SortOrder order = session.settings->Sort();
        // Each sim's own items, gathered in one pass, so the dump stays linear in the items.
        std::unordered_map<std::uint32_t, std::vector<NeighborhoodItem>> itemsByOwner;
        for (const NeighborhoodItem& item : ws.simItemList) itemsByOwner[item.owner].push_back(item);
        out.BeginArray("characters");
        for (std::size_t i : SimListOrder(ws, order)) {
            const Character& sim = ws.characters[i];
            const auto own = itemsByOwner.find(sim.instanceId);
            out.Element(CharacterJson(sim, order,
                                      own == itemsByOwner.end() ? std::span<const NeighborhoodItem>() : own->second,
                                      session.env, FindDna(ws, sim.instanceId)));
        }
        out.EndArray();
        itemsByOwner.clear();
        out.BeginArray("lots");
        for (const LotDesc& lot : ws.lotDescList) {
            out.Element({{"lotId", lot.lotId},
                         {"lotFile", lot.lotFile},
                         {"lotType", lot.lotType},
                         {"lotTypeText", LotTypeText(lot.lotType)},
                         {"lotName", ToValidUtf8(lot.lotName)},
                         {"lotDescription", ToValidUtf8(lot.lotDescription)}});
        }
        out.EndArray();
        out.BeginArray("households");
        for (const Household& household : ws.households) out.Element(HouseholdJson(household));
        out.EndArray();
        // The family tree by sim, each sim's ties in list order, sims in order of their first tie.
        out.Member("familyTiesStored", ws.familyTiesStored);
        std::vector<std::uint16_t> tieOwners;
        std::unordered_map<std::uint16_t, std::vector<const FamilyTie*>> tiesOfSim;
        for (const FamilyTie& tie : ws.familyTieList) {
            auto [it, added] = tiesOfSim.try_emplace(tie.simId);
            if (added) tieOwners.push_back(tie.simId);
            it->second.push_back(&tie);
        }
        out.BeginArray("familyTies");
        for (std::uint16_t simId : tieOwners) {
            nlohmann::ordered_json ties = nlohmann::json::array();
            for (const FamilyTie* tie : tiesOfSim[simId]) {
                const std::string_view name = FamilyTieName(tie->tieType);
                ties.push_back({{"relation", name.empty() ? std::to_string(tie->tieType) : std::string(name)},
                                {"relatedId", tie->relatedId}});
            }
            out.Element({{"simId", simId}, {"ties", std::move(ties)}});
        }
        out.EndArray();
        out.BeginArray("relationships");
        for (const RelationshipRecord& record : ws.relationshipList) out.Element(RelationshipJson(record));
        out.EndArray();
        for (auto [name, items] : {std::pair{"simItems", &ws.simItemList}, std::pair{"familyItems", &ws.familyItemList},
                                  std::pair{"lotItems", &ws.lotItemList}}) {
            out.BeginArray(name);
            for (const NeighborhoodItem& item : *items) out.Element(ItemJson(item));
            out.EndArray();
        }
        out.End();
    });
}

}  // namespace qh::cli
