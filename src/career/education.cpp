#include "career/education.h"

#include <cstdio>

#include "career/career_table.h"

namespace qh {

namespace {

constexpr School kSchools[] = {{"B58867D0", "Public School"}, {"114C8FCC", "Private School"}};
constexpr const char* kGrades[] = {"F", "D-", "D", "D+", "C-", "C", "C+", "B-", "B", "B+", "A-", "A", "A+"};

// Majors in the game's list order: key, name, the eight classes (one per semester) and each
// class's hours on a 24-hour clock, start and end. "Undeclared" has the one class "Not Enrolled".
constexpr Major kMajors[] = {
    {"1DBF978E", "Undeclared", {}, {}},
    {"7CF09CCE", "Psychology",
     {"Introduction To Psychology: We are too a science!", "Animal Behavior: Of Mazes And Cheeses", "Abnormal Psychology: A Guide to Misdiagnosing Your Friends", "The Prefrontal Lobe And Other Optional Brain Parts", "Cognitive Dissonance: Recognizing How Broken Your Brain Is", "Emotions: Don't Fear the Amygdala", "Negative Interactions: What Happened to Deviance?", "Advanced Autonomy: Finding the Best Action"},
     {"1600-1800", "0900-1100", "1200-1400", "1900-2200", "1400-1600", "1600-1900", "1100-1300", "1800-2000"}},
    {"6DF09C4E", "Politics",
     {"The Soapbox and You", "Feudalism: Serf's Up!", "Patriotism: Why Every Country is Worse Than Yours", "Lab: Making Your Own Monarchy", "Plutocracy: Buying the Vote", "Protesters: When to Repress", "History Majors: Why You Should Hate Them", "Senior Project: Questionable Fundraising Internship"},
     {"0800-1000", "1800-2000", "0900-1100", "1900-2200", "1700-2000", "1200-1400", "1700-1900", "1000-1200"}},
    {"63F09CAE", "Physics",
     {"Newtonian Physics 1: Measuring Falling Stuff", "Newtonian Physics 2: Measuring Rolling Stuff", "Lasers: Ruining Your Eyesight", "General Relativity: Pretending to Understand", "Quantum Mechanics: Why You're Wrong", "Lab: Plasma Is Fun", "Stellar Astrophysics: Too Far Away to Matter", "The Strange Charm of Quarks"},
     {"0900-1100", "1300-1500", "1700-2000", "1900-2200", "0800-1000", "1900-2100", "1100-1300", "1000-1200"}},
    {"57F09C2E", "Philosophy",
     {"What is the Meaning of This?", "The Refrigerator Light: Proof vs. Faith", "Old Dead Guys who Thought Stuff", "Optimists and Other Idiots", "Philosophy's Place in the Neighborhood: Anywhere?", "Existentialism: Depressing Yourself On Purpose", "Who Controls the Pie Menu and Why?", "Senior Project: Preparing For The Fast Food Industry"},
     {"1000-1200", "1800-2000", "1200-1400", "1600-1800", "0900-1200", "1100-1400", "1600-1800", "1000-1200"}},
    {"8DF09CEE", "Mathematics",
     {"Remedial Addition: The Fingers and Toes Technique", "P=NP and other Straightforward Proofs", "PEMDAS and You", "Stopping Robot Hordes: Dividing By Zero", "3D Geometry: Re-imagining the PlumbBob", "Reasoning with Irrational Numbers", "Mathematics in Nature: Pinecones and the Golden Ratio", "1337 Ways to Write a Lemma"},
     {"1300-1500", "1500-1800", "1100-1300", "1800-2000", "1500-1800", "1900-2100", "1100-1300", "1300-1500"}},
    {"85F09CCE", "Literature",
     {"How To Judge a Book By Its Cover", "Haiku: Form Over Function", "Words Ending with -eth: A Shakespearean Study", "The Girl From Nantucket and Other Famous Limericks", "Iambic Pentameter: DaDUM DaDUM DaDUM DaDUM DaDUM", "Understanding C.London's Complete Works: Good Luck, Kid", "Using Bizarre Metaphors: Life is Feeding Baked Alaska to Zombies", "Senior Project: Translations From the Simlish"},
     {"1300-1500", "1200-1500", "1400-1600", "1100-1300", "1400-1600", "0900-1100", "1400-1700", "1500-1700"}},
    {"74F09C2E", "History",
     {"Intro to History: People More Important Than You", "Civilization: Why It's Rarely Very Civil", "Revisionism: It's Not Libel If They're Dead", "Memorizing Names and Dates: An Alternative to Learning", "Ethnography: Why Those People Seem Strange", "Political Science Majors: Why You Should Hate Them", "Anthropology: Not as Cool as in the Movies", "Historic Pessimism: Why We'll Never Learn"},
     {"2000-2200", "1500-1700", "1600-1800", "1200-1400", "1300-1500", "1500-1800", "1700-1900", "1300-1500"}},
    {"44F09CEE", "Economics",
     {"Why Money Does Grow on Some Trees", "Work is for Losers: A Counterfeiting Workshop", "Economic Forecasting: Guessing Never Hurt Anybody", "Laissez-Faire and Other Lazy Policies", "Econometrics: Graphs a' Plenty", "Converting Video Game Money Into Real Simoleons", "Exploiting the Environment for Fun and Profit", "Internship: Coffeemaking at Landgraab Enterprises"},
     {"1700-1900", "1800-2000", "1600-1800", "1200-1500", "1400-1600", "2000-2200", "1200-1400", "1400-1600"}},
    {"4DF09C4E", "Drama",
     {"The History of Ancient Drama: When Every Play Ended with Death", "Improvisation: Because Scripts are for Wusses", "Pratfalls, and Other Ways to Give up your Dignity", "Costume Design: Because Naked Actors are Distracting", "Moving Pretentiously: A Modern Dance Workshop", "Stage Combat without Killing your Peers", "The One-Sim Show: Drama for Those Who Don't Play Well with Others", "Charactarization: Becoming Someone More Interesting than You"},
     {"1000-1200", "1900-2100", "1100-1300", "1400-1600", "1800-2100", "1700-1900", "1100-1400", "1500-1700"}},
    {"2BF09C4E", "Biology",
     {"Lab Techniques 1: Poking at Things with Tweezers", "Beginning Dissection: Why the Frog Hates You", "Enzymes: Ase up your Life", "The Lysozome: Everybody's Favorite Trash-Eater", "Inhibitor Molecules: Nature's Bureaucrats", "Borborygmic Digestion", "Xenobiology: Who's Probing Who NOW?", "Senior Thesis: The Laganaphyllis Simnovorii"},
     {"1700-1900", "1600-1900", "0900-1100", "1000-1200", "1500-1800", "1800-2000", "2000-2200", "1500-1700"}},
    {"07F09C2E", "Art",
     {"Stick Figures: Lowering the Bar", "Life Drawing: An Excuse to See Naked People", "Underwater Basket Weaving: Art Meets Fitness", "Oil Painting and Other Ways to Poison Oneself", "Art History 1: Artists You'll Never be as Good As", "Art History 2: Artists You're Already Way Better Than", "Impressionism and other Blurry Movements", "Conceptual Art: No, Really. It's Art"},
     {"1400-1600", "1700-1900", "1000-1300", "1900-2100", "1600-1800", "0900-1100", "1900-2200", "0800-1000"}},
};

// "1600" as "4:00PM".
std::string TwelveHour(std::string_view hhmm) {
    const int hour = (hhmm[0] - '0') * 10 + (hhmm[1] - '0');
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    return std::to_string(shown) + ":" + std::string(hhmm.substr(2, 2)) + (hour < 12 ? "AM" : "PM");
}

std::string Range(int value, int low, int high, const char* what) {
    if (value >= low && value <= high) return {};
    return std::string(what) + " must be from " + std::to_string(low) + " to " + std::to_string(high);
}

}  // namespace

std::span<const School> Schools() { return kSchools; }

const School* FindSchool(std::string_view key) {
    for (const School& school : kSchools) {
        if (key == school.key) return &school;
    }
    return nullptr;
}

std::span<const char* const> SchoolGrades() { return kGrades; }

std::span<const Major> Majors() { return kMajors; }

const Major* FindMajor(std::string_view key) {
    for (const Major& major : kMajors) {
        if (key == major.key) return &major;
    }
    return nullptr;
}

std::vector<std::string> MajorClasses(std::string_view key) {
    if (key == kUndeclaredKey) return {"Not Enrolled"};
    const Major* major = FindMajor(key);
    if (!major) return {};
    return std::vector<std::string>(std::begin(major->classes), std::end(major->classes));
}

std::string ClassHoursText(std::string_view key, int universityClass) {
    const Major* major = FindMajor(key);
    if (!major || key == kUndeclaredKey || universityClass < 1 || universityClass > 8) return {};
    const std::string_view hours = major->hours[universityClass - 1];  // "1600-1800"
    const std::string_view start = hours.substr(0, 4);
    const std::string_view end = hours.substr(5, 4);
    return TwelveHour(start) + " - " + TwelveHour(end) + " (" + std::string(hours) + ")";
}

std::string ClassYear(int universityClass) {
    static constexpr const char* kYears[] = {"Freshman", "Sophomore", "Junior", "Senior"};
    if (universityClass < 1 || universityClass > 8) return {};
    return kYears[(universityClass - 1) / 2];
}

std::string GpaText(int gpa) {
    // Quarters of a point at most hundredths deep: 1/250 steps are 0.004, so up to three decimals.
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", gpa / 250.0);
    std::string out = text;
    while (!out.empty() && out.back() == '0') out.pop_back();
    if (!out.empty() && out.back() == '.') out.pop_back();
    return out;
}

ShownSchooling ShownSchool(const Character& sim) {
    const std::string key = GuidKey(sim.schoolGuid);
    if (!FindSchool(key)) return {std::string(kPublicSchoolKey), kDefaultSchoolGrade, true};
    return {key, sim.schoolGrade >= 1 && sim.schoolGrade <= 13 ? sim.schoolGrade : 0, false};
}

std::string UniversityYear(std::string_view majorKey, int universityClass) {
    if (majorKey == kUndeclaredKey || !FindMajor(majorKey)) return {};
    return ClassYear(universityClass);
}

bool AttendsSchool(const Character& sim) { return sim.lifeStage == 3 || sim.lifeStage == 16; }

bool StudiesAtUniversity(const Character& sim, const ExpansionFlags& flags) {
    return flags.university && sim.lifeStage > 16 && (sim.species == 0 || !flags.pets);
}

bool HasUniversitySliders(const Character& sim) { return sim.youngAdult == 1; }

bool UniversityClassEditable(const ExpansionFlags& flags, bool advanced) {
    const bool everyOther = flags.nightlife && flags.pets && flags.seasons && flags.bonVoyage && flags.freeTime &&
                            flags.apartmentLife;
    return advanced && flags.university && !everyOther;
}

std::string SetSchool(Character& sim, std::string_view key) {
    if (!FindSchool(key)) return "the school must be B58867D0 (Public School) or 114C8FCC (Private School)";
    const ShownSchooling shown = ShownSchool(sim);
    sim.schoolGuid = *ParseGuid(key, GuidFormat::StoredBytes);
    if (shown.isDefault) sim.schoolGrade = static_cast<std::int16_t>(shown.grade);
    sim.dirty = 1;
    return {};
}

std::string SetSchoolGrade(Character& sim, int grade) {
    if (std::string refusal = Range(grade, 1, 13, "the grade"); !refusal.empty()) return refusal;
    const ShownSchooling shown = ShownSchool(sim);
    if (shown.isDefault) sim.schoolGuid = *ParseGuid(shown.key, GuidFormat::StoredBytes);
    sim.schoolGrade = static_cast<std::int16_t>(grade);
    sim.dirty = 1;
    return {};
}

std::string SetMajor(Character& sim, std::string_view key) {
    if (!FindMajor(key)) return "the major must be one of the twelve majors' keys";
    sim.universityMajorGuid = *ParseGuid(key, GuidFormat::StoredBytes);
    if (sim.universityClass < 1 || static_cast<std::size_t>(sim.universityClass) > MajorClasses(key).size()) {
        sim.universityClass = 1;
    }
    sim.dirty = 1;
    return {};
}

std::string SetUniversityClass(Character& sim, int universityClass) {
    const auto classes = MajorClasses(GuidKey(sim.universityMajorGuid));
    if (classes.empty()) return "the sim's major is not one the program knows: choose a major first";
    if (std::string refusal = Range(universityClass, 1, static_cast<int>(classes.size()), "the class"); !refusal.empty()) {
        return refusal;
    }
    sim.universityClass = static_cast<std::int16_t>(universityClass);
    sim.dirty = 1;
    return {};
}

std::string SetClassPerformance(Character& sim, int value) {
    if (std::string refusal = Range(value, 0, 1000, "class performance"); !refusal.empty()) return refusal;
    sim.classPerformance = static_cast<std::int16_t>(value);
    sim.dirty = 1;
    return {};
}

std::string SetGpa(Character& sim, int value) {
    if (std::string refusal = Range(value, 0, 1000, "the GPA (stored as 250 a point)"); !refusal.empty()) return refusal;
    sim.gpa = static_cast<std::int16_t>(value);
    sim.dirty = 1;
    return {};
}

std::string SetRemainingHours(Character& sim, int value) {
    if (std::string refusal = Range(value, 0, 72, "the remaining hours"); !refusal.empty()) return refusal;
    sim.remainingHours = static_cast<std::int16_t>(value);
    sim.dirty = 1;
    return {};
}

}  // namespace qh
