// The Career and School panels' operations: the career and its level, the retired career,
// performance, pension, vacation days, the NPC type, the school and grade, the major and class and
// a young adult's studies, each offered as the panels offer it.
#include <algorithm>

#include "career/career_rules.h"
#include "career/education.h"
#include "workspace/operations/operation_support.h"

namespace qh::ops {

namespace {

bool WorkingAge(const Character& sim) { return sim.lifeStage == 16 || sim.lifeStage == 19 || sim.lifeStage == 51; }

// "KEY" or "KEY:LEVEL".
std::pair<std::string_view, std::optional<std::string_view>> KeyAndLevel(std::string_view value) {
    const auto colon = value.find(':');
    if (colon == std::string_view::npos) return {value, std::nullopt};
    return {value.substr(0, colon), value.substr(colon + 1)};
}

// A key as typed, in either case, as the program writes keys; empty for one that is none.
std::string KeyOf(std::string_view typed) {
    const auto bytes = GuidBytesFromKey(typed);
    return bytes ? GuidKeyFromBytes(*bytes) : std::string();
}

// A key the list offers the sim, or the sim's own stored key (kept as it is).
std::string Offered(const std::vector<std::pair<std::string, std::string>>& choices, const std::string& key,
                    const std::string& stored, const char* what) {
    if (key == stored) return {};
    const bool offered = std::any_of(choices.begin(), choices.end(), [&](const auto& c) { return c.second == key; });
    if (offered) return {};
    return std::string("the ") + what + " " + key + " is not offered to this sim (its life stage, species or the installed "
           "expansions; quillhaven-cli careers lists them)";
}

std::string CareerWith(SimOperationContext& c, Character& sim, std::string_view value, bool retired) {
    if (retired ? sim.lifeStage != 51 : !WorkingAge(sim)) {
        return retired ? "only an elder has a retired career" : "only teens, adults and elders have a career";
    }
    const auto [typed, level] = KeyAndLevel(value);
    const std::string key = KeyOf(typed);
    if (key.empty()) {
        return std::string("--") + (retired ? "retired" : "career") + " is KEY[:LEVEL], the key eight hexadecimal digits: \"" +
               std::string(value) + "\"";
    }
    std::optional<int> number;
    if (level && !(number = Number(*level))) return "the level must be a number: \"" + std::string(*level) + "\"";
    const ExpansionFlags flags = InstalledExpansions(c.env);
    const auto choices = retired ? RetiredCareerChoices(sim.lifeStage, sim.species, flags)
                                 : CareerChoices(sim.lifeStage, sim.species, flags);
    if (std::string refusal = Offered(choices, key, retired ? RetiredCareerKeyOf(sim) : CareerKeyOf(sim),
                                      retired ? "retired career" : "career");
        !refusal.empty()) {
        return refusal;
    }
    // The level is checked against the new career before anything changes.
    if (number && (*number < 0 || static_cast<std::size_t>(*number) >= CareerJobTitles(key).size())) {
        return "the level must be from 0 to " + std::to_string(CareerJobTitles(key).size() - 1) + " in " + key;
    }
    if (std::string refusal = retired ? ChangeRetiredCareer(sim, key) : ChangeCareer(sim, key); !refusal.empty()) {
        return refusal;
    }
    if (number) return retired ? SetRetiredJobLevel(sim, *number) : SetJobLevel(sim, *number);
    return {};
}

std::string Career(SimOperationContext& c, Character& sim, std::string_view value) { return CareerWith(c, sim, value, false); }
std::string Retired(SimOperationContext& c, Character& sim, std::string_view value) { return CareerWith(c, sim, value, true); }

std::string Performance(SimOperationContext&, Character& sim, std::string_view value) {
    // The job performance of the Career panel and the school performance of a child's School panel.
    if (!WorkingAge(sim) && !AttendsSchool(sim)) return "only children, teens, adults and elders have a performance";
    const auto number = Number(value);
    if (!number) return "--performance must be a number from -100 to 100";
    return SetPerformance(sim, *number);
}

std::string Pension(SimOperationContext&, Character& sim, std::string_view value) {
    if (sim.lifeStage <= 16) return "only adults and elders have a pension";
    const auto pension = PensionFromText(value);
    if (!pension) return "--pension must be a whole number from 0 to 32767";
    return SetPension(sim, *pension);
}

std::string Vacation(SimOperationContext&, Character& sim, std::string_view value) {
    if (sim.lifeStage <= 3) return "a child has no vacation days";
    const auto days = VacationFromText(value);
    if (!days) return "--vacation-days must be a number of days from 0 to 327.67, such as 2.5";
    return SetVacation(sim, *days);
}

std::string NpcType(SimOperationContext& c, Character& sim, std::string_view value) {
    if (!WorkingAge(sim)) return "the NPC type is set for teens, adults and elders";
    const auto id = Number(value);
    const auto types = NpcTypeChoices(InstalledExpansions(c.env));
    if (!id || (*id != sim.npcType &&
                std::none_of(types.begin(), types.end(), [&](const auto& type) { return type.first == *id; }))) {
        return "--npc-type must be the id of an NPC type the installed expansions know (0 NA, 2 Bartender, ...)";
    }
    return SetNpcType(sim, *id);
}

std::string SchoolOp(SimOperationContext&, Character& sim, std::string_view value) {
    if (!AttendsSchool(sim)) return "only children and teens go to school";
    return SetSchool(sim, KeyOf(value));
}

// A grade as its number (1 to 13) or its letter ("B", "A+").
std::string Grade(SimOperationContext&, Character& sim, std::string_view value) {
    if (!AttendsSchool(sim)) return "only children and teens have a school grade";
    const auto grades = SchoolGrades();
    for (std::size_t i = 0; i < grades.size(); ++i) {
        if (value == grades[i]) return SetSchoolGrade(sim, static_cast<int>(i) + 1);
    }
    const auto number = Number(value);
    if (!number) return "--grade must be 1 to 13 or a letter grade such as B or A+";
    return SetSchoolGrade(sim, *number);
}

std::string MajorOp(SimOperationContext& c, Character& sim, std::string_view value) {
    const ExpansionFlags flags = InstalledExpansions(c.env);
    if (!StudiesAtUniversity(sim, flags)) return "only a grown-up sim of a game with University studies a major";
    const auto [typed, level] = KeyAndLevel(value);
    const std::string key = KeyOf(typed);
    if (!FindMajor(key)) return "--major is KEY[:CLASS], the key one of the twelve majors' (Undeclared is 1DBF978E)";
    std::optional<int> number;
    if (level) {
        if (!(number = Number(*level))) return "the class must be a number: \"" + std::string(*level) + "\"";
        if (!UniversityClassEditable(flags, c.advanced)) {
            return "the class is chosen in advanced mode, with University and not every other expansion installed";
        }
        if (*number < 1 || static_cast<std::size_t>(*number) > MajorClasses(key).size()) {
            return "the class must be from 1 to " + std::to_string(MajorClasses(key).size()) + " in " + key;
        }
    }
    if (std::string refusal = SetMajor(sim, key); !refusal.empty()) return refusal;
    if (number) return SetUniversityClass(sim, *number);
    return {};
}

// A young adult's class performance, GPA (0 to 1000, 250 a point) and remaining hours.
template <std::string (*Set)(Character&, int)>
std::string YoungAdultValue(SimOperationContext& c, Character& sim, std::string_view value) {
    if (!StudiesAtUniversity(sim, InstalledExpansions(c.env)) || !HasUniversitySliders(sim)) {
        return "only a young adult at university has class performance, a GPA and remaining hours";
    }
    const auto number = Number(value);
    if (!number) return "the value must be a whole number";
    return Set(sim, *number);
}

bool IsCareer(std::string_view f) {
    return f == "careerGuid" || f == "jobLevel" || f == "businessLot" || f == "businessRank";
}
bool IsRetired(std::string_view f) { return f == "retiredCareerGuid" || f == "retiredJobLevel"; }
bool IsPerformance(std::string_view f) { return f == "performance"; }
bool IsPension(std::string_view f) { return f == "pension"; }
bool IsVacation(std::string_view f) { return f == "pto"; }
bool IsNpcType(std::string_view f) { return f == "npcType"; }

bool IsSchool(std::string_view f) { return f == "schoolGuid"; }
bool IsGrade(std::string_view f) { return f == "schoolGrade"; }
bool IsMajor(std::string_view f) { return f == "universityMajorGuid" || f == "universityClass"; }
bool IsClassPerformance(std::string_view f) { return f == "classPerformance"; }
bool IsGpa(std::string_view f) { return f == "gpa"; }
bool IsRemainingHours(std::string_view f) { return f == "remainingHours"; }

std::string MajorDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "universityMajorGuid") return MajorOp(c, sim, value);
    return MajorOp(c, sim, GuidKey(sim.universityMajorGuid) + ":" + std::string(value));
}
std::string ValueDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "schoolGuid") return SchoolOp(c, sim, value);
    if (field == "schoolGrade") return Grade(c, sim, value);
    if (field == "classPerformance") return YoungAdultValue<SetClassPerformance>(c, sim, value);
    if (field == "gpa") return YoungAdultValue<SetGpa>(c, sim, value);
    return YoungAdultValue<SetRemainingHours>(c, sim, value);
}

std::string CareerDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "careerGuid") return Career(c, sim, value);
    if (field == "jobLevel") return Career(c, sim, CareerKeyOf(sim) + ":" + std::string(value));
    return std::string(field) + " follows the career: use --career";
}
std::string RetiredDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    if (field == "retiredCareerGuid") return Retired(c, sim, value);
    return Retired(c, sim, RetiredCareerKeyOf(sim) + ":" + std::string(value));
}
std::string PerformanceDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return Performance(c, sim, value);
}
std::string PensionDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return Pension(c, sim, value);
}
// The field holds hundredths of a day; its value is taken as stored.
std::string VacationDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    const auto hundredths = Number(value);
    if (!hundredths) return "pto must be a number (hundredths of a day)";
    return Vacation(c, sim, VacationText(*hundredths));
}
std::string NpcTypeDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return NpcType(c, sim, value);
}

constexpr SimOperation kCareer[] = {
    {.name = "career", .valueHelp = "KEY[:LEVEL]: a career the sim is offered (quillhaven-cli careers) and its level",
     .apply = Career, .governs = IsCareer, .fieldDoor = CareerDoor},
    {.name = "retired", .valueHelp = "KEY[:LEVEL]: an elder's retired career and level",
     .apply = Retired, .governs = IsRetired, .fieldDoor = RetiredDoor},
    {.name = "performance", .valueHelp = "job performance, -100 to 100", .apply = Performance,
     .governs = IsPerformance, .fieldDoor = PerformanceDoor},
    {.name = "pension", .valueHelp = "the pension, 0 to 32767", .apply = Pension, .governs = IsPension,
     .fieldDoor = PensionDoor},
    {.name = "vacation-days", .valueHelp = "vacation days, such as 2.5", .apply = Vacation, .governs = IsVacation,
     .fieldDoor = VacationDoor},
    {.name = "npc-type", .valueHelp = "the NPC type's id; advanced mode", .apply = NpcType, .advancedOnly = true,
     .governs = IsNpcType, .fieldDoor = NpcTypeDoor},
    {.name = "school", .valueHelp = "B58867D0 (Public School) or 114C8FCC (Private School)", .apply = SchoolOp,
     .governs = IsSchool, .fieldDoor = ValueDoor},
    {.name = "grade", .valueHelp = "the school grade, 1 (F) to 13 (A+), or its letter", .apply = Grade,
     .governs = IsGrade, .fieldDoor = ValueDoor},
    {.name = "major", .valueHelp = "KEY[:CLASS]: the university major and (advanced mode) its class", .apply = MajorOp,
     .governs = IsMajor, .fieldDoor = MajorDoor},
    {.name = "class-performance", .valueHelp = "a young adult's class performance, 0 to 1000",
     .apply = YoungAdultValue<SetClassPerformance>, .governs = IsClassPerformance, .fieldDoor = ValueDoor},
    {.name = "gpa", .valueHelp = "a young adult's GPA, 0 to 1000 (250 a point)", .apply = YoungAdultValue<SetGpa>,
     .governs = IsGpa, .fieldDoor = ValueDoor},
    {.name = "remaining-hours", .valueHelp = "a young adult's remaining hours of the grade period, 0 to 72",
     .apply = YoungAdultValue<SetRemainingHours>, .governs = IsRemainingHours, .fieldDoor = ValueDoor},
};

}  // namespace

std::span<const SimOperation> CareerOperations() { return kCareer; }

}  // namespace qh::ops
