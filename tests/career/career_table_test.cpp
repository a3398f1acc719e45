#include "career/career_table.h"

#include "career/career_rules.h"
#include "career/education.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace qh {
namespace {

using Choices = std::vector<std::pair<std::string, std::string>>;

ExpansionFlags Every() { return ExpansionFlags{true, true, true, true, true, true, true, true}; }

std::vector<std::string> Names(const Choices& choices) {
    std::vector<std::string> names;
    for (const auto& [name, key] : choices) names.push_back(name);
    return names;
}

TEST(CareerTable, KeysAreTheStoredBytesInOrder) {
    const Guid4 stored{0x0A, 0x40, 0x8F, 0xD0};
    EXPECT_EQ(GuidKeyFromBytes(stored), "0A408FD0");
    EXPECT_EQ(GuidBytesFromKey("0A408FD0"), stored);
    EXPECT_EQ(GuidKeyFromBytes(Guid4{0x55, 0x65, 0x19, 0x45}), "55651945");
    EXPECT_EQ(GuidValue(*GuidBytesFromKey("55651945")), 0x45196555u);
    EXPECT_FALSE(GuidBytesFromKey("5565194"));
    EXPECT_FALSE(GuidBytesFromKey("5565194G"));
}

TEST(CareerTable, EveryCareerOfTheGameWithItsLevels) {
    const CareerTable& table = Careers();
    ASSERT_EQ(table.careers.size(), 51u);
    std::size_t adult = 0, teen = 0, pet = 0, business = 0;
    for (const Career& career : table.careers) {
        switch (career.band) {
            case CareerBand::Adult: ++adult; EXPECT_EQ(career.titles.size(), 11u) << career.key; break;
            case CareerBand::TeenElder: ++teen; EXPECT_EQ(career.titles.size(), 4u) << career.key; break;
            case CareerBand::Pet: ++pet; EXPECT_EQ(career.titles.size(), 5u) << career.key; break;
            default: ++business; EXPECT_EQ(career.titles.size(), 3u) << career.key; break;
        }
        EXPECT_EQ(career.titles[0], "Unemployed");
    }
    EXPECT_EQ(adult, 25u);  // 10 base, 4 University, 6 Seasons, 5 FreeTime
    EXPECT_EQ(teen, 21u);   // 10 base, 6 Seasons, 5 FreeTime
    EXPECT_EQ(pet, 3u);
    EXPECT_EQ(business, 2u);

    EXPECT_EQ(CareerJobTitles("BCFF6F4E"),
              (std::vector<std::string>{"Unemployed", "Canvas Stretcher", "Street Caricaturist", "Souvenir Whittler",
                                        "Comic Book Penciller", "Wedding Photographer", "Art Forger",
                                        "Fashion Photographer", "Acclaimed Muralist", "Conceptual Artist", "Visionary"}));
    // A teen career of Seasons carries the first three titles of the adult one.
    EXPECT_EQ(CareerJobTitles("35D240F2"),
              (std::vector<std::string>{"Unemployed", "Ambassador's Intern", "Spelunker",
                                        "Multiregional Sim of Some Question"}));
    EXPECT_EQ(CareerJobTitles("1FD96B31"), (std::vector<std::string>{"Unemployed", "Employee", "Manager"}));
    EXPECT_EQ(CareerJobTitles("00000000"), std::vector<std::string>{"Unemployed"});
    EXPECT_EQ(CareerJobTitles("12345678"), std::vector<std::string>{"Unknown"});
}

TEST(CareerTable, TheListsSuitTheSimAndTheInstalledExpansions) {
    const ExpansionFlags none;
    EXPECT_EQ(CareerChoices(19, 0, Every()).size(), 27u);
    EXPECT_EQ(CareerChoices(19, 0, none).size(), 11u);
    const Choices adult = CareerChoices(19, 0, Every());
    EXPECT_EQ(adult[1], (std::pair<std::string, std::string>{"Owned Business", "0A408FD0"}));
    EXPECT_EQ(adult[2], (std::pair<std::string, std::string>{"Business", "55651945"}));
    EXPECT_EQ(adult[12].first, "Artist");

    // A dog sees the pet careers with Pets, and the human list without it.
    EXPECT_EQ(Names(CareerChoices(19, 1, Every())),
              (std::vector<std::string>{"Unemployed", "Security", "Service", "ShowBiz"}));
    ExpansionFlags noPets = Every();
    noPets.pets = false;
    EXPECT_EQ(CareerChoices(19, 1, noPets).size(), 27u);
    EXPECT_EQ(Names(CareerChoices(19, 7, Every())), std::vector<std::string>{"Unemployed"});

    const Choices teen = CareerChoices(16, 0, Every());
    ASSERT_EQ(teen.size(), 1u + 1 + 10 + 6 + 5);
    EXPECT_EQ(teen[1].second, "1FD96B31");
    EXPECT_EQ(teen[2], (std::pair<std::string, std::string>{"Business", "77051E4C"}));
    // Elders: the teen-and-elder careers, never University's.
    const Choices elder = CareerChoices(51, 0, Every());
    EXPECT_EQ(elder.size(), 1u + 1 + 10 + 6 + 5);
    EXPECT_EQ(elder[1].second, "0A408FD0");
    for (const auto& [name, key] : elder) EXPECT_NE(name, "Artist");
    EXPECT_TRUE(CareerChoices(3, 0, Every()).empty());

    const Choices retired = RetiredCareerChoices(51, 0, Every());
    EXPECT_EQ(retired.size(), 1u + 1 + 10 + 4 + 6 + 5 + 10 + 6 + 5);
    EXPECT_EQ(retired[2].first, "Adult - Business");
    EXPECT_EQ(retired[12].first, "Artist");
    EXPECT_EQ(retired[27].first, "Elder - Business");
    EXPECT_EQ(retired[27].second, "77051E4C");
    for (const auto& [name, key] : retired) EXPECT_NE(key, "1FD96B31");
}

TEST(CareerTable, SchedulesAreWhatIsKnownAndNothingElse) {
    const CareerLevel sales = CareerLevelSchedule("55651945", 3, 0);
    EXPECT_EQ(sales.hours, "9:00AM - 4:00PM (0900-1600)");
    EXPECT_EQ(sales.salary, "$350");
    EXPECT_EQ(sales.days, (std::array<bool, 7>{true, true, false, true, false, true, true}));  // Sun Mon Wed Fri Sat
    const CareerLevel ceo = CareerLevelSchedule("55651945", 9, 0);
    EXPECT_EQ(ceo.salary, "$1663");
    EXPECT_EQ(CareerLevelSchedule("BCFF6F4E", 10, 0).salary, "$4549");
    EXPECT_EQ(CareerLevelSchedule("77051E4C", 3, 0).hours, "3:00PM - 7:00PM (1500-1900)");
    // A pet row from a public source, with where it came from.
    const CareerLevel star = CareerLevelSchedule("2DCC75D1", 4, 0);
    EXPECT_EQ(star.salary, "$737");
    EXPECT_NE(star.source.find("strategywiki"), std::string::npos);
    // Not known: empty, never guessed.
    for (const auto& [key, level] : std::vector<std::pair<const char*, int>>{
             {"BCFF6F4E", 9}, {"E3BC9EAC", 1}, {"C1A488B1", 4}, {"55651945", 0}, {"55651945", 11}, {"12345678", 1}}) {
        const CareerLevel unknown = CareerLevelSchedule(key, level, 0);
        EXPECT_TRUE(unknown.hours.empty() && unknown.salary.empty()) << key << " " << level;
        EXPECT_EQ(unknown.days, (std::array<bool, 7>{})) << key << " " << level;
    }
    // The owned business: fixed hours at every level, paid the sim's business rank.
    const CareerLevel owner = CareerLevelSchedule("0A408FD0", 2, 250);
    EXPECT_EQ(owner.salary, "$250");
    EXPECT_EQ(owner.hours, "9:00AM - 5:00PM (0900-1700)");
    EXPECT_EQ(owner.days, (std::array<bool, 7>{false, true, true, true, true, true, false}));
    EXPECT_EQ(CareerLevelSchedule("0A408FD0", 0, 250).salary, "$0");
    EXPECT_EQ(CareerLevelSchedule("1FD96B31", 1, 40).hours, "3:00PM - 8:00PM (1500-2000)");
}

TEST(CareerRules, ChangesKeepTheLevelOrFallToUnemployed) {
    Character sim;
    sim.lifeStage = 19;
    sim.sdscVersion = 0x36;
    ASSERT_EQ(ChangeCareer(sim, "55651945"), "");
    ASSERT_EQ(SetJobLevel(sim, 7), "");
    ASSERT_EQ(ChangeCareer(sim, "FD61770C"), "");
    EXPECT_EQ(sim.jobLevel, 7);  // Specialist
    EXPECT_EQ(CareerJobTitles(CareerKeyOf(sim))[7], "Specialist");
    ASSERT_EQ(ChangeCareer(sim, "0A408FD0"), "");
    EXPECT_EQ(sim.jobLevel, 0);  // the owned business has two levels
    EXPECT_NE(SetJobLevel(sim, 3), "");
    EXPECT_EQ(sim.jobLevel, 0);
    sim.businessLot = 4, sim.businessRank = 9;
    ASSERT_EQ(ChangeCareer(sim, "55651945"), "");
    EXPECT_EQ(sim.businessLot, 0) << "leaving the business ends the sim's place in it";
    EXPECT_NE(ChangeCareer(sim, "5565194"), "");
    EXPECT_NE(SetPerformance(sim, 101), "");
    EXPECT_EQ(SetPerformance(sim, -100), "");
}

TEST(CareerRules, BoxesReadAsThePanelTypesThem) {
    EXPECT_EQ(CleanDigits("1a5", false), "105");
    EXPECT_EQ(CleanDigits("2.5x", true), "2.50");
    EXPECT_EQ(CleanDigits("2.5", false), "205");
    EXPECT_EQ(PensionFromText("105"), 105);
    EXPECT_EQ(PensionFromText(""), 0);
    EXPECT_EQ(PensionFromText("32767"), 32767);
    EXPECT_FALSE(PensionFromText("32768"));
    EXPECT_EQ(VacationFromText("2.5"), 250);
    EXPECT_EQ(VacationFromText("3"), 300);
    EXPECT_EQ(VacationFromText(".25"), 25);
    EXPECT_EQ(VacationFromText("327.67"), 32767);
    for (const char* no : {"", ".", "1..5", "1.5.", "2.555", "327.68", "1000"}) EXPECT_FALSE(VacationFromText(no)) << no;
    EXPECT_EQ(VacationText(250), "2.5");
    EXPECT_EQ(VacationText(300), "3");
    EXPECT_EQ(VacationText(5), "0.05");
    EXPECT_EQ(LotJobAssignmentText(8), "Assigned Job: Sell Lemonade");
    EXPECT_EQ(LotJobAssignmentText(0), "No Job Assigned");
    EXPECT_FALSE(LotJobAssignmentText(20));
    EXPECT_EQ(NpcTypeChoices(Every()).size(), 61u);
    EXPECT_EQ(NpcTypeChoices(ExpansionFlags{}).size(), 20u);
    EXPECT_EQ(NpcTypeChoices(Every()).back(), (std::pair<int, std::string>{71, "Witch"}));
}

TEST(Education, SchoolsMajorsClassesAndTheirHours) {
    ASSERT_EQ(Schools().size(), 2u);
    EXPECT_STREQ(Schools()[1].name, "Private School");
    EXPECT_STREQ(SchoolGrades()[kDefaultSchoolGrade - 1], "B");
    EXPECT_STREQ(SchoolGrades()[11], "A");
    ASSERT_EQ(Majors().size(), 12u);
    EXPECT_EQ(MajorClasses("63F09CAE")[4], "Quantum Mechanics: Why You're Wrong");
    EXPECT_EQ(MajorClasses("4DF09C4E")[5], "Stage Combat without Killing your Peers");
    EXPECT_EQ(MajorClasses("1DBF978E"), std::vector<std::string>{"Not Enrolled"});
    EXPECT_TRUE(MajorClasses("12345678").empty());
    EXPECT_EQ(ClassHoursText("63F09CAE", 5), "8:00AM - 10:00AM (0800-1000)");
    EXPECT_EQ(ClassHoursText("7CF09CCE", 8), "6:00PM - 8:00PM (1800-2000)");
    EXPECT_EQ(ClassHoursText("7CF09CCE", 1), "4:00PM - 6:00PM (1600-1800)");
    EXPECT_EQ(ClassHoursText("6DF09C4E", 6), "12:00PM - 2:00PM (1200-1400)");
    EXPECT_EQ(ClassHoursText("1DBF978E", 1), "");
    EXPECT_EQ(ClassHoursText("63F09CAE", 9), "");
    EXPECT_EQ(ClassYear(1), "Freshman");
    EXPECT_EQ(ClassYear(5), "Junior");
    EXPECT_EQ(ClassYear(8), "Senior");
    EXPECT_EQ(ClassYear(0), "");
    EXPECT_EQ(GpaText(875), "3.5");
    EXPECT_EQ(GpaText(1000), "4");
    EXPECT_EQ(GpaText(1), "0.004");
    EXPECT_EQ(GpaText(0), "0");
}

TEST(Education, RulesKeepWhatTheyCanAndRefuseWhatTheGameCannotHold) {
    Character sim;
    sim.lifeStage = 3;
    sim.schoolGuid = *GuidBytesFromKey("B58867D0");
    sim.schoolGrade = 12;
    ASSERT_EQ(SetSchool(sim, "114C8FCC"), "");
    EXPECT_EQ(sim.schoolGrade, 12) << "Public to Private keeps the grade";
    EXPECT_NE(SetSchool(sim, "12345678"), "");
    EXPECT_NE(SetSchoolGrade(sim, 14), "");
    EXPECT_NE(SetSchoolGrade(sim, 0), "");
    sim.lifeStage = 19;
    ASSERT_EQ(SetMajor(sim, "07F09C2E"), "");
    ASSERT_EQ(SetUniversityClass(sim, 6), "");
    ASSERT_EQ(SetMajor(sim, "4DF09C4E"), "");
    EXPECT_EQ(sim.universityClass, 6) << "Art at class 6 to Drama keeps class 6";
    ASSERT_EQ(SetMajor(sim, "1DBF978E"), "");
    EXPECT_EQ(sim.universityClass, 1);
    EXPECT_NE(SetUniversityClass(sim, 2), "") << "Undeclared has one class";
    EXPECT_NE(SetGpa(sim, 1001), "");
    EXPECT_NE(SetRemainingHours(sim, 73), "");
    EXPECT_EQ(SetRemainingHours(sim, 72), "");

    // A pupil shown the game's default (no school stored) gets the other half of it stored with
    // what is picked, so the record holds what the lists show.
    Character pupil;
    pupil.lifeStage = 16;
    EXPECT_TRUE(ShownSchool(pupil).isDefault);
    EXPECT_EQ(ShownSchool(pupil).grade, 9);
    ASSERT_EQ(SetSchoolGrade(pupil, 4), "");
    EXPECT_EQ(GuidKey(pupil.schoolGuid), "B58867D0");
    EXPECT_EQ(pupil.schoolGrade, 4);
    Character other;
    other.lifeStage = 3;
    other.schoolGrade = 40;
    ASSERT_EQ(SetSchool(other, "114C8FCC"), "");
    EXPECT_EQ(other.schoolGrade, 9);
    ASSERT_EQ(SetSchool(other, "B58867D0"), "");
    EXPECT_EQ(other.schoolGrade, 9) << "a stored school keeps its grade";
    other.schoolGrade = 40;
    EXPECT_EQ(ShownSchool(other).grade, 0) << "a grade the list lacks selects nothing";
    EXPECT_EQ(UniversityYear("63F09CAE", 5), "Junior");
    EXPECT_EQ(UniversityYear("1DBF978E", 1), "");
    EXPECT_EQ(UniversityYear("12345678", 5), "");
    EXPECT_EQ(CareerName("00000000"), "Unemployed");
    EXPECT_EQ(CareerName("12345678"), "Unknown");
    EXPECT_EQ(CareerTitle("55651945", 3), "Field Sales Rep");
    EXPECT_EQ(CareerTitle("55651945", 11), "");

    ExpansionFlags flags;
    flags.university = true;
    EXPECT_TRUE(StudiesAtUniversity(sim, flags));
    sim.species = 1;
    EXPECT_TRUE(StudiesAtUniversity(sim, flags)) << "without Pets a dog is not told apart";
    flags.pets = true;
    EXPECT_FALSE(StudiesAtUniversity(sim, flags));
    sim.species = 0;
    sim.lifeStage = 16;
    EXPECT_FALSE(StudiesAtUniversity(sim, flags));
    EXPECT_TRUE(AttendsSchool(sim));
    EXPECT_TRUE(UniversityClassEditable(flags, true));
    EXPECT_FALSE(UniversityClassEditable(flags, false));
    ExpansionFlags every{true, true, true, true, true, true, true, true};
    EXPECT_FALSE(UniversityClassEditable(every, true));
}

TEST(CareerTable, ABadRowIsRefusedWithItsLine) {
    auto refused = [](const std::string& text) {
        try {
            ParseCareerTable(text, "t.tsv");
        } catch (const FormatError& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    const std::string ok = "career\t0A408FD0\tOwned Business\tbusiness\topenforbusiness\tEmployee|Manager\n";
    EXPECT_EQ(ParseCareerTable("# a comment\n\n" + ok, "t.tsv").careers.size(), 1u);
    EXPECT_NE(refused("career\t0A408FD0\tX\tbusiness\topenforbusiness\tEmployee\n").find("t.tsv line 1"), std::string::npos);
    EXPECT_NE(refused(ok + "schedule\t0A408FD0\t3\th\t$1\t0111110\tx\n").find("line 2"), std::string::npos);
    EXPECT_NE(refused(ok + "schedule\t0A408FD0\t1\th\t$1\t01111\tx\n").find("seven"), std::string::npos);
    EXPECT_NE(refused(ok + "schedule\t11111111\t1\th\t$1\t0111110\tx\n").find("unknown career"), std::string::npos);
    EXPECT_NE(refused("career\t0a408fd0\tX\tbusiness\t-\tA|B\n").find("key"), std::string::npos);
    EXPECT_NE(refused("career\t0A408FD0\tX\tmoon\t-\tA|B\n").find("band"), std::string::npos);
    EXPECT_NE(refused(ok + ok).find("twice"), std::string::npos);
    EXPECT_NE(refused("salary\t1\n").find("unknown row"), std::string::npos);
}

}  // namespace
}  // namespace qh
