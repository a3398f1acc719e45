#include "workspace/sim_filter.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>

#include "career/career_rules.h"
#include "career/career_table.h"
#include "package/text_list.h"
#include "workspace/csv.h"
#include "workspace/aspiration_items.h"
#include "workspace/households.h"
#include "workspace/sim_items.h"

namespace qh {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

std::string SpeciesName(std::uint16_t species) {
    switch (species) {
        case 0: return "sim";
        case 1: return "large dog";
        case 2: return "small dog";
        case 3: return "cat";
        default: return std::to_string(species);
    }
}

// "yes", "no", "true", "false", "1", "0".
std::optional<bool> YesNo(std::string_view value) {
    if (value == "yes" || value == "true" || value == "1") return true;
    if (value == "no" || value == "false" || value == "0") return false;
    return std::nullopt;
}

// Hyphens and underscores read as spaces, so "young-adult" and "large_dog" need no quotes.
std::string Spaced(std::string value) {
    std::replace(value.begin(), value.end(), '-', ' ');
    std::replace(value.begin(), value.end(), '_', ' ');
    return value;
}

constexpr SimFilterField kFields[] = {
    {"lifeStage", "baby, toddler, child, teen, young-adult, adult, elder"},
    {"species", "sim, dog, large-dog, small-dog, cat, pet"},
    {"gender", "male, female"},
    {"household", "the household's name or instance (hexadecimal), or none"},
    {"lot", "the lot's name or number, or none"},
    {"dead", "yes, no"},
    {"described", "yes, no (whether the neighborhood has the sim's description)"},
    {"career", "the career's name or key, or unemployed"},
    {"aspiration", "the primary aspiration's name, or none"},
    {"married", "yes, no"},
    {"university", "yes, no (a young adult at university)"},
    {"findings", "yes, no (the neighborhood check found something about the sim)"},
};

}  // namespace

std::string LifeStageWords(const Character& sim) {
    switch (sim.lifeStage) {
        case 1: return "baby";
        case 2: return "toddler";
        case 3: return "child";
        case 16: return "teen";
        case 19: return sim.youngAdult == 1 ? "young adult" : "adult";
        case 51: return "elder";
        default: return std::to_string(sim.lifeStage);
    }
}

std::vector<SimFacts> GatherSimFacts(const Workspace& ws, const GameEnvironment& env,
                                     std::span<const std::size_t> withFindings) {
    // Each sim's items, grouped once.
    std::unordered_map<std::uint32_t, std::vector<NeighborhoodItem>> items;
    for (const NeighborhoodItem& item : ws.simItemList) items[item.owner].push_back(item);
    std::unordered_set<std::uint16_t> spouses;
    for (const FamilyTie& tie : ws.familyTieList) {
        if (tie.tieType == kSpouseTie) spouses.insert(tie.simId);
    }
    // Each household's lot name, looked up once.
    std::unordered_map<std::uint32_t, std::string> lotNames;
    for (const LotDesc& lot : ws.lotDescList) lotNames.emplace(lot.lotId, Lower(lot.lotName));
    const std::vector<NeighborhoodItem> none;
    std::vector<SimFacts> facts(ws.characters.size());
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        const Character& sim = ws.characters[i];
        SimFacts& f = facts[i];
        const auto own = items.find(sim.instanceId);
        const std::vector<NeighborhoodItem>& mine = own == items.end() || sim.instanceId == 0 ? none : own->second;
        f.lifeStage = LifeStageWords(sim);
        f.species = SpeciesName(sim.species);
        f.gender = sim.gender == 1 ? "female" : "male";
        if (const auto household = HouseholdOfSim(ws, sim)) {
            const Household& h = ws.households[*household];
            f.household = Lower(HouseholdLabel(h));
            f.householdId = h.instanceId;
            f.lotId = h.lotInstance;
            if (const auto lot = lotNames.find(h.lotInstance); lot != lotNames.end()) f.lot = lot->second;
        }
        f.dead = std::any_of(mine.begin(), mine.end(), [](const NeighborhoodItem& item) { return item.itemGuid == kDeadMarkGuid; });
        f.described = sim.instanceId != 0;
        f.careerKey = Lower(CareerKeyOf(sim));
        f.career = Lower(CareerName(CareerKeyOf(sim)));
        f.aspirationShown = std::string(AspirationName(ShownAspirations(mine, sim, env).primary));
        f.aspiration = Lower(f.aspirationShown);
        f.married = sim.instanceId != 0 && spouses.contains(static_cast<std::uint16_t>(sim.instanceId));
        f.university = sim.youngAdult == 1 && env.hasUniversity;
        f.text = Lower(TrimText(ToValidUtf8(sim.firstName)) + " " + TrimText(ToValidUtf8(sim.lastName)) + " " + sim.packageFile +
                       " " + f.household);
    }
    for (std::size_t sim : withFindings) {
        if (sim < facts.size()) facts[sim].findings = true;
    }
    return facts;
}

std::span<const SimFilterField> SimFilterFields() { return kFields; }

std::optional<SimCondition> ParseSimCondition(std::string_view text, std::string& why) {
    const std::size_t at = text.find_first_of("=:");
    if (at == std::string_view::npos || at == 0) {
        why = "a condition is FIELD=VALUE, such as lifeStage=teen";
        return std::nullopt;
    }
    const std::string field = Lower(text.substr(0, at));
    for (const SimFilterField& known : kFields) {
        if (Lower(known.name) == field) return SimCondition{known.name, Lower(text.substr(at + 1))};
    }
    why = "\"" + std::string(text.substr(0, at)) + "\" is no filter; the filters are";
    for (const SimFilterField& known : kFields) why += std::string(" ") + known.name;
    return std::nullopt;
}

bool Matches(const SimFacts& f, const SimCondition& c) {
    const std::string value = Spaced(c.value);
    const std::string& field = c.field;
    if (field == "lifeStage") return f.lifeStage == value;
    if (field == "species") {
        if (value == "dog") return f.species == "large dog" || f.species == "small dog";
        if (value == "pet") return f.species != "sim";
        return f.species == value;
    }
    if (field == "gender") return f.gender == value;
    if (field == "household") {
        if (value == "none") return f.householdId == 0;
        return f.household == value || (f.householdId != 0 && (value == Lower(HexId(f.householdId)) ||
                                                                value == std::to_string(f.householdId)));
    }
    if (field == "lot") {
        if (value == "none") return f.lotId == 0;
        return (!f.lot.empty() && f.lot == value) || (f.lotId != 0 && value == std::to_string(f.lotId));
    }
    if (field == "career") return f.career == value || f.careerKey == c.value || (value == "none" && f.careerKey == "00000000");
    if (field == "aspiration") return f.aspiration == value || (value == "none" && f.aspiration == "-");
    const auto yes = YesNo(value);
    if (!yes) return false;
    if (field == "dead") return f.dead == *yes;
    if (field == "described") return f.described == *yes;
    if (field == "married") return f.married == *yes;
    if (field == "university") return f.university == *yes;
    if (field == "findings") return f.findings == *yes;
    return false;
}

SimQuery ParseSimQuery(std::string_view text) {
    SimQuery query;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        if (at >= text.size()) break;
        std::string token;
        bool quoted = false;
        while (at < text.size() && (quoted || !std::isspace(static_cast<unsigned char>(text[at])))) {
            if (text[at] == '"') {
                quoted = !quoted;
            } else {
                token += text[at];
            }
            ++at;
        }
        std::string why;
        if (token.find_first_of("=:") != std::string::npos) {
            if (auto condition = ParseSimCondition(token, why)) {
                query.conditions.push_back(std::move(*condition));
                continue;
            }
        }
        query.words.push_back(Lower(token));
    }
    return query;
}

std::string SimTableCsv(const Workspace& ws, std::span<const SimFacts> facts, std::span<const std::size_t> sims) {
    std::string out = CsvLine({"packageFile", "firstName", "lastName", "lifeStage", "household", "career", "aspiration"});
    for (std::size_t i : sims) {
        if (i >= ws.characters.size() || i >= facts.size()) continue;
        const Character& sim = ws.characters[i];
        const SimFacts& f = facts[i];
        out += CsvLine({sim.packageFile, TrimText(ToValidUtf8(sim.firstName)), TrimText(ToValidUtf8(sim.lastName)),
                        LifeStageWords(sim), f.householdId ? HouseholdLabel(ws.households[*HouseholdOfSim(ws, sim)]) : "",
                        CareerName(CareerKeyOf(sim)), f.aspirationShown});
    }
    return out;
}

bool Matches(const SimFacts& f, const SimQuery& query) {
    for (const std::string& word : query.words) {
        if (f.text.find(word) == std::string::npos) return false;
    }
    for (const SimCondition& condition : query.conditions) {
        if (!Matches(f, condition)) return false;
    }
    return true;
}

}  // namespace qh
