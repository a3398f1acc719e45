// The careers of the game the program knows: their keys, names, levels and job titles, which of
// them suit a sim, and what is known of each level's hours, pay and working days.
//
// Nothing here is read from the game. The table is data (careers.tsv, built into the program) so
// that it can be read and checked line by line; a level the table holds no schedule for shows
// empty texts rather than a guess.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "character/sim_description.h"
#include "package/guid.h"
#include "platform/game_discovery.h"

namespace qh {

// A career's, school's or major's GUID as the program keys it: the four stored bytes as eight
// upper-case hex digits, first byte first ("55651945"). "00000000" is no career.
inline std::string GuidKeyFromBytes(const Guid4& bytes) { return GuidKey(bytes); }
// The four bytes of a key; nothing for a text that is not eight hex digits.
inline std::optional<Guid4> GuidBytesFromKey(std::string_view key) { return ParseGuid(key, GuidFormat::StoredBytes); }

inline constexpr std::string_view kNoCareerKey = "00000000";
// The owned business's careers, as the description writer knows them too.
inline constexpr std::string_view kOwnedBusinessKey = kOwnedBusinessCareers[0];      // adults and elders
inline constexpr std::string_view kTeenOwnedBusinessKey = kOwnedBusinessCareers[1];  // teens

enum class CareerBand { Adult, TeenElder, Pet, Business, TeenBusiness };
enum class CareerExpansion { None, University, OpenForBusiness, Pets, Seasons, FreeTime };

struct CareerLevel {
    std::string hours;   // "9:00AM - 3:00PM (0900-1500)"
    std::string salary;  // "$168"
    std::array<bool, 7> days{};  // Sunday to Saturday
    std::string source;  // where the row comes from
};

struct Career {
    std::string key;
    std::string name;
    CareerBand band = CareerBand::Adult;
    CareerExpansion expansion = CareerExpansion::None;
    std::vector<std::string> titles;  // levels 0 ("Unemployed") to n
    std::vector<std::optional<CareerLevel>> levels;  // by level; unset where nothing is known
};

struct CareerTable {
    std::vector<Career> careers;  // in the file's order
    const Career* Find(std::string_view key) const;
};

// Reads the table's text (careers.tsv). Throws FormatError naming the line for a row it cannot
// read: an unknown kind, band or expansion, a bad key, a title count that does not fit the band,
// a schedule for an unknown career or level, or days that are not seven 0/1 flags.
CareerTable ParseCareerTable(std::string_view text, const std::string& name);

// The text of careers.tsv, as built into the program.
std::string_view CareerTableText();

// The program's table, read once from the text built into it.
const CareerTable& Careers();

// The titles of levels 0 to n; "00000000" gives {"Unemployed"}, a key not in the table {"Unknown"}.
std::vector<std::string> CareerJobTitles(std::string_view key);
// A career's name ("Unemployed" for none, "Unknown" for a key not in the table) and the title of a
// level of it (empty for a level it does not have).
std::string CareerName(std::string_view key);
std::string CareerTitle(std::string_view key, int level);

// The (name, key) entries of the career list for a sim by its life stage (16 teen, 19 adult, 51
// elder) and species (0 a sim, 1 large dog, 2 small dog, 3 cat), as the installed expansions allow.
std::vector<std::pair<std::string, std::string>> CareerChoices(int lifeStage, int species,
                                                               const ExpansionFlags& expansions);
// The same for the retired career of an elder.
std::vector<std::pair<std::string, std::string>> RetiredCareerChoices(int lifeStage, int species,
                                                                      const ExpansionFlags& expansions);

// What is known of a level: hours, salary and working days; empty texts and no days when the
// table holds nothing for it. The owned business works fixed hours at every level and is paid
// the sim's own business rank.
CareerLevel CareerLevelSchedule(std::string_view key, int level, int businessRank);

}  // namespace qh
