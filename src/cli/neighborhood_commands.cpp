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

// A number, a truth or a text, as the value of that type would be written.
template <typename Out, typename T>
void Put(Out& out, const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        out.Bool(value);
    } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
        out.Number(value);
    } else if constexpr (std::is_integral_v<T>) {
        out.Unsigned(value);
    } else {
        out.String(value);
    }
}

// What the Personality, Interests, Skills and Needs panels show of a sim, under their fields'
// names; the item skills by name with their GUIDs.
template <typename Out>
void WriteTraits(Out& out, const Character& sim, const SimSkills& skills) {
    const auto group = [&](TraitGroup g, bool reputation) {
        out.BeginObject();
        for (const TraitSlider& slider : TraitSliders(g)) Put(out.Key(slider.field), sim.*slider.member);
        if (reputation) Put(out.Key("reputation"), sim.reputation);
        out.EndObject();
    };
    out.Key("personality");
    group(TraitGroup::Personality, ReputationStored(sim));
    out.Key("interests");
    group(TraitGroup::Interests, false);
    out.Key("skills");
    group(TraitGroup::BaseSkills, false);
    out.Key("itemSkills").BeginArray();
    for (const ItemSkill& skill : ItemSkills()) {
        if (!skills.Has(skill.itemGuid)) continue;
        out.BeginObject();
        Put(out.Key("skill"), skill.name);
        out.Key("itemGuid").String(HexId(skill.itemGuid));
        if (skill.presence) {
            out.Key("learned").Bool(true);
        } else {
            Put(out.Key("level"), skills.Level(skill.itemGuid));
        }
        out.EndObject();
    }
    out.EndArray();
    if (skills.training) {
        const ToddlerTraining& t = *skills.training;
        out.Key("toddlerTraining").BeginObject();
        Put(out.Key("walk"), t.walk);
        Put(out.Key("talk"), t.talk);
        Put(out.Key("potty"), t.potty);
        Put(out.Key("walkLearned"), t.walkLearned);
        Put(out.Key("talkLearned"), t.talkLearned);
        Put(out.Key("pottyLearned"), t.pottyLearned);
        Put(out.Key("rhyme"), t.rhyme);
        Put(out.Key("rhymeLearned"), t.rhymeLearned);
        out.EndObject();
    }
    if (NeedsStored(sim)) {
        out.Key("needs").BeginObject();
        for (const NeedRow& need : NeedRows()) {
            out.Key(need.field).BeginObject();
            Put(out.Key("value"), sim.*need.member);
            Put(out.Key("speed"), NeedSpeedCaption(sim.*need.member));
            out.EndObject();
        }
        out.EndObject();
    }
}

// The Aspiration/Influence, Hobbies, Badges and Rewards/Extras panels' values in their words.
template <typename Out>
void WritePanels(Out& out, const Character& sim, std::span<const NeighborhoodItem> items, const GameEnvironment& env) {
    const ShownAspiration shown = ShownAspirations(items, sim, env);
    const auto benefit = WeeklyBenefit(items, sim);
    out.Key("aspiration").BeginObject();
    Put(out.Key("aspiration"), AspirationName(shown.primary));
    Put(out.Key("secondary"), AspirationName(shown.secondary));
    Put(out.Key("meter"), sim.aspirationScore);
    Put(out.Key("level"), sim.aspirationLevel);
    Put(out.Key("points"), ShownRewardPoints(sim));
    Put(out.Key("longTermLevel"), sim.ltaLevel);
    Put(out.Key("unlocksEarned"), sim.ltaUnlocksEarned);
    Put(out.Key("unlocksUsed"), sim.ltaUnlocksUsed);
    out.Key("benefit");
    if (benefit) {
        Put(out, *benefit);
    } else {
        out.Null();
    }
    Put(out.Key("influenceLevel"), sim.influenceLevel);
    out.EndObject();
    out.Key("hobbies").BeginObject();
    out.Key("enthusiasm").BeginObject();
    std::string_view talent = "-";
    for (const HobbyRow& row : HobbyRows()) {
        Put(out.Key(row.name), sim.*row.member);
        if (row.id == ShownTalent(sim)) talent = row.name;
    }
    out.EndObject();
    out.Key("talent").String(talent);
    out.Key("memberships").BeginArray();
    for (int id : HobbyLotMemberships(items, sim)) out.Number(id);
    out.EndArray();
    out.EndObject();
    out.Key("badges").BeginObject();
    for (const BadgeRow& badge : BadgeRows()) {
        const int level = BadgeLevel(items, sim, badge.itemGuid);
        if (level == 0) continue;
        out.Key(badge.name).BeginObject();
        out.Key("level").Number(level);
        Put(out.Key("grade"), BadgeGradeName(BadgeGrade(level)));
        out.EndObject();
    }
    out.EndObject();
    out.Key("rewards").BeginArray();
    for (const RewardRow& reward : RewardRows()) {
        if (HasReward(items, sim, reward)) Put(out, reward.caption);
    }
    out.EndArray();
}

}  // namespace

namespace {

// A sim's record, as a value or as text (`out` is a JsonValue or a JsonText).
template <typename Out>
void WriteCharacter(Out& out, const Character& sim, SortOrder order, std::span<const NeighborhoodItem> items,
                    const GameEnvironment& env, const DNA* dna) {
    const SimSkills skills = ReadSimSkills(items, sim);
    out.BeginObject();
    for (const CharacterField& field : CharacterFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                out.Key(field.name);
                if constexpr (std::is_same_v<T, Guid4>) {
                    out.String(GuidKey(sim.*member));
                } else if constexpr (std::is_same_v<T, std::string>) {
                    out.String(ToValidUtf8(sim.*member));
                } else if constexpr (std::is_signed_v<T>) {
                    out.Number(sim.*member);
                } else {
                    out.Unsigned(sim.*member);
                }
            },
            field.member);
    }
    out.Key("listText").String(CharacterListText(sim, order));
    out.Key("hasPicture").Bool(sim.portrait.has_value());
    // The working life and schooling in words, as the Career and School panels name them.
    const std::string career = GuidKey(sim.careerGuid);
    const std::string retired = GuidKey(sim.retiredCareerGuid);
    const std::string majorKey = GuidKey(sim.universityMajorGuid);
    const School* school = FindSchool(GuidKey(sim.schoolGuid));
    const Major* major = FindMajor(majorKey);
    const auto classes = MajorClasses(majorKey);
    const bool hasClass = sim.universityClass >= 1 && static_cast<std::size_t>(sim.universityClass) <= classes.size();
    out.Key("work").BeginObject();
    out.Key("career").String(CareerName(career));
    out.Key("title").String(CareerTitle(career, sim.jobLevel));
    out.Key("retiredCareer").String(CareerName(retired));
    out.Key("retiredTitle").String(CareerTitle(retired, sim.retiredJobLevel));
    out.Key("school").String(school ? std::string_view(school->name) : std::string_view());
    out.Key("grade").String(sim.schoolGrade >= 1 && sim.schoolGrade <= 13
                                ? std::string_view(SchoolGrades()[sim.schoolGrade - 1])
                                : std::string_view());
    out.Key("major").String(major ? std::string_view(major->name) : std::string_view());
    out.Key("class").String(hasClass ? std::string_view(classes[static_cast<std::size_t>(sim.universityClass - 1)])
                                     : std::string_view());
    out.Key("year").String(hasClass ? UniversityYear(majorKey, sim.universityClass) : std::string());
    out.Key("gpa").String(GpaText(sim.gpa));
    out.EndObject();
    WriteTraits(out, sim, skills);
    WritePanels(out, sim, items, env);
    // The genetic record's sixteen genes by name ("NA" for none); null without a record.
    out.Key("dna");
    if (dna) {
        out.BeginObject();
        for (const DnaField& field : DnaFields()) out.Key(field.name).String(ToValidUtf8(dna->*field.member));
        out.EndObject();
    } else {
        out.Null();
    }
    out.EndObject();
}

// One relationship record: the values by name, the flags by caption (and all 32 bits, for those
// the program does not name), the family relation with its text.
template <typename Out>
void WriteRelationship(Out& out, const RelationshipRecord& record) {
    out.BeginObject();
    out.Key("ownerId").Unsigned(record.ownerId);
    out.Key("otherId").Unsigned(record.otherId);
    out.Key("headerWord").Unsigned(record.headerWord);
    out.Key("valueCount").Unsigned(record.valueCount);
    out.Key("shortTerm").Number(record.shortTerm);
    out.Key("longTerm").Number(record.longTerm);
    out.Key("flags").BeginArray();
    for (const RelationshipFlag& flag : RelationshipFlags()) {
        if (HasRelationshipFlag(record, flag.bit)) out.String(flag.caption);
    }
    out.EndArray();
    out.Key("flagBits").Unsigned(RelationshipFlagsOf(record));
    out.Key("familyRelation").Number(record.familyRelation);
    const bool known = MirrorFamilyRelation(record.familyRelation).has_value();
    out.Key("familyRelationText")
        .String(known ? FamilyRelations()[static_cast<std::size_t>(record.familyRelation)].text : std::string_view());
    out.Key("hasFamilyRelation").Bool(record.hasFamilyRelation != 0);
    out.Key("isNew").Bool(record.isNew != 0);
    out.EndObject();
}

// One item of the neighborhood data, its values in order.
template <typename Out>
void WriteItem(Out& out, const NeighborhoodItem& item) {
    out.BeginObject();
    out.Key("owner").Unsigned(item.owner);
    out.Key("secondary").Unsigned(item.secondary);
    out.Key("ownerWord").Unsigned(item.ownerWord);
    out.Key("itemGuid").String(HexId(item.itemGuid));
    out.Key("flags1").Unsigned(item.flags1);
    out.Key("flags2").Unsigned(item.flags2);
    out.Key("invNumber").Unsigned(item.invNumber);
    out.Key("padding").Unsigned(item.padding);
    out.Key("values").BeginArray();
    for (std::uint16_t value : item.values) out.Unsigned(value);
    out.EndArray();
    out.EndObject();
}

}  // namespace

nlohmann::ordered_json CharacterJson(const Character& sim, SortOrder order, std::span<const NeighborhoodItem> items,
                                     const GameEnvironment& env, const DNA* dna) {
    JsonValue value;
    WriteCharacter(value, sim, order, items, env, dna);
    return value.Take();
}

void WriteCharacterText(JsonText& text, const Character& sim, SortOrder order, std::span<const NeighborhoodItem> items,
                        const GameEnvironment& env, const DNA* dna) {
    WriteCharacter(text, sim, order, items, env, dna);
}

nlohmann::ordered_json RelationshipJson(const RelationshipRecord& record) {
    JsonValue value;
    WriteRelationship(value, record);
    return value.Take();
}

void WriteRelationshipText(JsonText& text, const RelationshipRecord& record) { WriteRelationship(text, record); }

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
    JsonValue value;
    WriteItem(value, item);
    return value.Take();
}

void WriteItemText(JsonText& text, const NeighborhoodItem& item) { WriteItem(text, item); }

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
        const std::vector<std::size_t> listed = SimListOrder(ws, order);
        out.ElementsText(listed.size(), [&](JsonText& text, std::size_t k) {
            const Character& sim = ws.characters[listed[k]];
            const auto own = itemsByOwner.find(sim.instanceId);
            const auto items = own == itemsByOwner.end() ? std::span<const NeighborhoodItem>() : std::span(own->second);
            WriteCharacterText(text, sim, order, items, session.env, FindDna(ws, sim.instanceId));
        });
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
        // The most numerous records are written as text: building each as a value first costs
        // several times the writing.
        out.ElementsText(ws.relationshipList.size(), [&ws](JsonText& text, std::size_t i) {
            WriteRelationshipText(text, ws.relationshipList[i]);
        });
        out.EndArray();
        for (auto [name, items] : {std::pair{"simItems", &ws.simItemList}, std::pair{"familyItems", &ws.familyItemList},
                                  std::pair{"lotItems", &ws.lotItemList}}) {
            out.BeginArray(name);
            out.ElementsText(items->size(), [items](JsonText& text, std::size_t i) { WriteItemText(text, (*items)[i]); });
            out.EndArray();
        }
        out.End();
    });
}

}  // namespace qh::cli
