// School and university: the two schools and their thirteen grades, the twelve majors with their
// classes and class hours, and the rules of the School panel. Fixed data of the program.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "character/character.h"
#include "platform/game_discovery.h"

namespace qh {

struct School {
    const char* key;
    const char* name;
};
// "Public School", "Private School".
std::span<const School> Schools();
const School* FindSchool(std::string_view key);
inline constexpr std::string_view kPublicSchoolKey = "B58867D0";
// "F", "D-", ... "A+": the grade list; entry i is the stored grade i + 1 ("B" is 9).
std::span<const char* const> SchoolGrades();
inline constexpr int kDefaultSchoolGrade = 9;

struct Major {
    const char* key;
    const char* name;
    const char* classes[8];  // empty for "Undeclared"
    const char* hours[8];    // "1600-1800"
};
std::span<const Major> Majors();
const Major* FindMajor(std::string_view key);
inline constexpr std::string_view kUndeclaredKey = "1DBF978E";
// The classes of the major's list: "Not Enrolled" for Undeclared, the eight classes of a major,
// nothing for a key that is no major.
std::vector<std::string> MajorClasses(std::string_view key);
// The class's hours as shown: "4:00PM - 6:00PM (1600-1800)"; empty for Undeclared, an unknown
// major or a class outside 1 to 8.
std::string ClassHoursText(std::string_view key, int universityClass);
// "Freshman" (classes 1, 2) to "Senior" (7, 8); empty outside.
std::string ClassYear(int universityClass);
// The grade point average as shown: the stored 0..1000 divided by 250 in its shortest decimal
// form (875 is "3.5", 1000 is "4").
std::string GpaText(int gpa);

// Who sees what: a child or teen goes to school; a grown-up human (or any sim without Pets) has
// university studies when University is installed, and sliders when a young adult.
bool AttendsSchool(const Character& sim);
bool StudiesAtUniversity(const Character& sim, const ExpansionFlags& expansions);
bool HasUniversitySliders(const Character& sim);
// The class list can be changed only in advanced mode, with University, and not when every other
// expansion is installed too (the game then keeps the class in step by itself).
bool UniversityClassEditable(const ExpansionFlags& expansions, bool advanced);

// What the school list and grade list show: the stored school and grade, or, when no school the
// game has is stored, the game's default (Public School, B) with `isDefault` set. A grade outside
// 1 to 13 of a stored school is 0: no entry is selected.
struct ShownSchooling {
    std::string key;
    int grade = 0;
    bool isDefault = false;
};
ShownSchooling ShownSchool(const Character& sim);

// The year a class shows beside it: ClassYear for a major the table has, empty for Undeclared
// and for a key that is no major.
std::string UniversityYear(std::string_view majorKey, int universityClass);

// The rules of the School panel; each returns why a value was refused, else "". A school or grade
// chosen for a sim shown the default stores the other half of what is shown with it, so the
// record holds what the lists show.
std::string SetSchool(Character& sim, std::string_view key);   // the grade shown stays
std::string SetSchoolGrade(Character& sim, int grade);         // 1 to 13
std::string SetMajor(Character& sim, std::string_view key);    // the class stays when the major has it, else 1
std::string SetUniversityClass(Character& sim, int universityClass);  // 1 to the major's last class
std::string SetClassPerformance(Character& sim, int value);   // 0 to 1000
std::string SetGpa(Character& sim, int value);                // 0 to 1000
std::string SetRemainingHours(Character& sim, int value);     // 0 to 72

}  // namespace qh
