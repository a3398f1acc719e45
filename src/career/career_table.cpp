#include "career/career_table.h"

#include <algorithm>

#include "platform/errors.h"

namespace qh {

namespace {

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

// How many levels past 0 a band has.
std::size_t LevelsOf(CareerBand band) {
    switch (band) {
        case CareerBand::Adult: return 10;
        case CareerBand::TeenElder: return 3;
        case CareerBand::Pet: return 4;
        case CareerBand::Business:
        case CareerBand::TeenBusiness: return 2;
    }
    return 0;
}

std::optional<CareerBand> BandNamed(std::string_view name) {
    if (name == "adult") return CareerBand::Adult;
    if (name == "teen-elder") return CareerBand::TeenElder;
    if (name == "pet") return CareerBand::Pet;
    if (name == "business") return CareerBand::Business;
    if (name == "teen-business") return CareerBand::TeenBusiness;
    return std::nullopt;
}

std::optional<CareerExpansion> ExpansionNamed(std::string_view name) {
    if (name == "-") return CareerExpansion::None;
    if (name == "university") return CareerExpansion::University;
    if (name == "openforbusiness") return CareerExpansion::OpenForBusiness;
    if (name == "pets") return CareerExpansion::Pets;
    if (name == "seasons") return CareerExpansion::Seasons;
    if (name == "freetime") return CareerExpansion::FreeTime;
    return std::nullopt;
}

bool Installed(CareerExpansion expansion, const ExpansionFlags& flags) {
    switch (expansion) {
        case CareerExpansion::None: return true;
        case CareerExpansion::University: return flags.university;
        case CareerExpansion::OpenForBusiness: return flags.openForBusiness;
        case CareerExpansion::Pets: return flags.pets;
        case CareerExpansion::Seasons: return flags.seasons;
        case CareerExpansion::FreeTime: return flags.freeTime;
    }
    return false;
}

}  // namespace

const Career* CareerTable::Find(std::string_view key) const {
    for (const Career& career : careers) {
        if (career.key == key) return &career;
    }
    return nullptr;
}

CareerTable ParseCareerTable(std::string_view text, const std::string& name) {
    CareerTable table;
    std::size_t number = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        auto fail = [&](const std::string& why) {
            throw FormatError(name + " line " + std::to_string(number) + ": " + why);
        };
        const std::vector<std::string_view> fields = Split(line, '\t');
        auto key = [&](std::string_view field) {
            if (!GuidBytesFromKey(field) || field.size() != 8 ||
                std::any_of(field.begin(), field.end(), [](char c) { return c >= 'a' && c <= 'f'; })) {
                fail("\"" + std::string(field) + "\" is no key (eight upper-case hex digits)");
            }
            return std::string(field);
        };
        if (fields[0] == "career") {
            if (fields.size() != 6) fail("a career has six fields");
            Career career;
            career.key = key(fields[1]);
            if (table.Find(career.key)) fail("the career " + career.key + " comes twice");
            career.name = std::string(fields[2]);
            const auto band = BandNamed(fields[3]);
            const auto expansion = ExpansionNamed(fields[4]);
            if (!band) fail("unknown band \"" + std::string(fields[3]) + "\"");
            if (!expansion) fail("unknown expansion \"" + std::string(fields[4]) + "\"");
            career.band = *band;
            career.expansion = *expansion;
            career.titles.emplace_back("Unemployed");
            for (std::string_view title : Split(fields[5], '|')) career.titles.emplace_back(title);
            if (career.titles.size() != LevelsOf(career.band) + 1) {
                fail(career.key + " has " + std::to_string(career.titles.size() - 1) + " titles, its band " +
                     std::to_string(LevelsOf(career.band)));
            }
            career.levels.resize(career.titles.size());
            table.careers.push_back(std::move(career));
        } else if (fields[0] == "schedule") {
            if (fields.size() != 7) fail("a schedule has seven fields");
            Career* career = const_cast<Career*>(table.Find(key(fields[1])));
            if (!career) fail("a schedule for the unknown career " + std::string(fields[1]));
            int level = 0;
            for (char c : fields[2]) {
                if (c < '0' || c > '9' || level > 100) fail("\"" + std::string(fields[2]) + "\" is no level");
                level = level * 10 + (c - '0');
            }
            if (fields[2].empty() || level < 1 || static_cast<std::size_t>(level) >= career->levels.size()) {
                fail("the career " + career->key + " has no level " + std::string(fields[2]));
            }
            CareerLevel row;
            row.hours = std::string(fields[3]);
            row.salary = std::string(fields[4]);
            if (fields[5].size() != 7) fail("days are seven flags, Sunday to Saturday");
            for (std::size_t d = 0; d < 7; ++d) {
                if (fields[5][d] != '0' && fields[5][d] != '1') fail("days are seven 0/1 flags");
                row.days[d] = fields[5][d] == '1';
            }
            row.source = std::string(fields[6]);
            if (career->levels[static_cast<std::size_t>(level)]) fail("level " + std::to_string(level) + " comes twice");
            career->levels[static_cast<std::size_t>(level)] = std::move(row);
        } else {
            fail("unknown row \"" + std::string(fields[0]) + "\"");
        }
    }
    return table;
}

const CareerTable& Careers() {
    static const CareerTable table = ParseCareerTable(CareerTableText(), "careers.tsv");
    return table;
}

std::vector<std::string> CareerJobTitles(std::string_view key) {
    if (key == kNoCareerKey) return {"Unemployed"};
    const Career* career = Careers().Find(key);
    return career ? career->titles : std::vector<std::string>{"Unknown"};
}

std::string CareerName(std::string_view key) {
    if (key == kNoCareerKey) return "Unemployed";
    const Career* career = Careers().Find(key);
    return career ? career->name : "Unknown";
}

std::string CareerTitle(std::string_view key, int level) {
    const auto titles = CareerJobTitles(key);
    return level >= 0 && static_cast<std::size_t>(level) < titles.size() ? titles[static_cast<std::size_t>(level)]
                                                                          : std::string();
}

namespace {

using Choices = std::vector<std::pair<std::string, std::string>>;

// The careers of a band from an expansion, in the table's order, under a name of `prefix` + name.
void Add(Choices& out, CareerBand band, CareerExpansion expansion, const ExpansionFlags& flags,
         const std::string& prefix = {}) {
    if (!Installed(expansion, flags)) return;
    for (const Career& career : Careers().careers) {
        if (career.band == band && career.expansion == expansion) out.emplace_back(prefix + career.name, career.key);
    }
}

// The pet rule: with Pets installed, an animal is offered the pet careers (a species the game
// does not have, nothing). Returns whether it decided the list.
bool AddPetCareers(Choices& out, int species, const ExpansionFlags& flags) {
    if (!flags.pets || species == 0) return false;
    if (species >= 1 && species <= 3) Add(out, CareerBand::Pet, CareerExpansion::Pets, flags);
    return true;
}

void AddOwnedBusiness(Choices& out, std::string_view key, const ExpansionFlags& flags) {
    if (flags.openForBusiness) out.emplace_back("Owned Business", std::string(key));
}

void AddTeenElder(Choices& out, const ExpansionFlags& flags) {
    Add(out, CareerBand::TeenElder, CareerExpansion::None, flags);
    Add(out, CareerBand::TeenElder, CareerExpansion::Seasons, flags);
    Add(out, CareerBand::TeenElder, CareerExpansion::FreeTime, flags);
}

}  // namespace

Choices CareerChoices(int lifeStage, int species, const ExpansionFlags& flags) {
    Choices out;
    if (lifeStage != 16 && lifeStage != 19 && lifeStage != 51) return out;
    out.emplace_back("Unemployed", std::string(kNoCareerKey));
    if (lifeStage == 16) {
        AddOwnedBusiness(out, kTeenOwnedBusinessKey, flags);
        AddTeenElder(out, flags);
        return out;
    }
    if (AddPetCareers(out, species, flags)) return out;
    AddOwnedBusiness(out, kOwnedBusinessKey, flags);
    if (lifeStage == 19) {
        for (CareerExpansion expansion : {CareerExpansion::None, CareerExpansion::University, CareerExpansion::Seasons,
                                          CareerExpansion::FreeTime}) {
            Add(out, CareerBand::Adult, expansion, flags);
        }
    } else {
        AddTeenElder(out, flags);  // elders are never offered the University careers
    }
    return out;
}

Choices RetiredCareerChoices(int /*lifeStage*/, int species, const ExpansionFlags& flags) {
    Choices out{{"Unemployed", std::string(kNoCareerKey)}};
    if (AddPetCareers(out, species, flags)) return out;
    AddOwnedBusiness(out, kOwnedBusinessKey, flags);
    // The base game's adult and elder careers share their names: they are told apart here.
    Add(out, CareerBand::Adult, CareerExpansion::None, flags, "Adult - ");
    Add(out, CareerBand::Adult, CareerExpansion::University, flags);
    Add(out, CareerBand::Adult, CareerExpansion::Seasons, flags);
    Add(out, CareerBand::Adult, CareerExpansion::FreeTime, flags);
    Add(out, CareerBand::TeenElder, CareerExpansion::None, flags, "Elder - ");
    Add(out, CareerBand::TeenElder, CareerExpansion::Seasons, flags);
    Add(out, CareerBand::TeenElder, CareerExpansion::FreeTime, flags);
    return out;
}

CareerLevel CareerLevelSchedule(std::string_view key, int level, int businessRank) {
    const Career* career = Careers().Find(key);
    if (!career || level < 0 || static_cast<std::size_t>(level) >= career->levels.size()) return {};
    if (career->band == CareerBand::Business || career->band == CareerBand::TeenBusiness) {
        // An owned business keeps the same hours at every level, Monday to Friday, and pays the
        // sim its own business rank.
        CareerLevel row;
        row.hours = career->band == CareerBand::Business ? "9:00AM - 5:00PM (0900-1700)" : "3:00PM - 8:00PM (1500-2000)";
        row.salary = level == 0 ? "$0" : "$" + std::to_string(businessRank);
        row.days = {false, true, true, true, true, true, false};
        return row;
    }
    const auto& row = career->levels[static_cast<std::size_t>(level)];
    return row ? *row : CareerLevel{};
}

}  // namespace qh
