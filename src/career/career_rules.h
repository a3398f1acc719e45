// The career panel's rules: what a sim's working life may be set to, through the career table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "career/career_table.h"
#include "character/character.h"
#include "platform/game_discovery.h"

namespace qh {

// The career's key and the sim's level in it.
std::string CareerKeyOf(const Character& sim);
std::string RetiredCareerKeyOf(const Character& sim);

// A new career: the sim keeps its level when the new career has it, else falls to 0
// ("Unemployed"); leaving an owned business ends the sim's place in it (SetCareer). Returns why
// the key was refused (not eight hex digits), else "".
std::string ChangeCareer(Character& sim, std::string_view key);
// A level of the sim's career, 0 to its last title; refused with the reason outside.
std::string SetJobLevel(Character& sim, int level);
// The same for the career the sim retired from.
std::string ChangeRetiredCareer(Character& sim, std::string_view key);
std::string SetRetiredJobLevel(Character& sim, int level);

// Job (and school) performance, -100 to 100.
inline constexpr int kPerformanceLow = -100, kPerformanceHigh = 100;
std::string SetPerformance(Character& sim, int performance);

// The pension and vacation boxes as typed: every character that is not a digit becomes "0"
// ("1a5" is "105"); the vacation box keeps its points.
std::string CleanDigits(std::string_view text, bool keepPoints);
// The pension a box holds: its number (0 for an empty box), or nothing beyond 32767, which the
// description's word cannot hold.
std::optional<int> PensionFromText(std::string_view text);
// Vacation days as stored, hundredths of a day: "2.5" is 250. Nothing for a text that is not one
// number (empty, two points), has more than two decimals, or lies beyond 327.67 days.
std::optional<int> VacationFromText(std::string_view text);
// The stored hundredths as the box shows them: 250 is "2.5", 300 is "3".
std::string VacationText(int hundredths);
std::string SetPension(Character& sim, int pension);
std::string SetVacation(Character& sim, int hundredths);

// The NPC types the game knows, by the installed expansions, in the game's order: (id, name).
// Two names occur twice ("Police Officer" 9 and 46, "Witch" 64 and 71).
std::vector<std::pair<int, std::string>> NpcTypeChoices(const ExpansionFlags& expansions);
// Any id the game may store, 0 to 32767 (the panel offers the known ones).
std::string SetNpcType(Character& sim, int npcType);

// The text of a job assigned on a business lot ("Assigned Job: Chef"); nothing outside 0 to 19.
std::optional<std::string> LotJobAssignmentText(int assignment);

// Whether the key is one of the two owned-business careers.
bool IsOwnedBusiness(std::string_view key);

}  // namespace qh
