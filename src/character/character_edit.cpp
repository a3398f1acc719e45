#include "character/character_edit.h"

#include <charconv>
#include <limits>

#include "character/character_fields.h"
#include "character/character_rules.h"

namespace qh {

namespace {

// The fields a save writes back: the names and colours of the character package, and the
// description fields written for every version that carries them. Identity, read-only and
// business fields (written only by the career rule) are not set by name.
bool Settable(const CharacterField& field) {
    static constexpr std::string_view kPackageTexts[] = {"firstName", "lastName", "description",
                                                         "skinColor", "hairColor", "eyeColor"};
    for (std::string_view text : kPackageTexts) {
        if (field.name == text) return true;
    }
    return (field.offset != 0 || field.atGuidPosition) && field.writeback == Writeback::Always;
}

template <typename T>
std::string ParseNumber(std::string_view text, T& out) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return "is not a number";
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
        return "must be from " + std::to_string(std::numeric_limits<T>::min()) + " to " +
               std::to_string(std::numeric_limits<T>::max());
    }
    out = static_cast<T>(value);
    return {};
}

}  // namespace

std::string SetCharacterField(Character& sim, std::string_view name, std::string_view value) {
    const CharacterField* field = FindCharacterField(name);
    if (!field) return "unknown field \"" + std::string(name) + "\"";
    if (!Settable(*field)) return "field \"" + std::string(name) + "\" cannot be changed";
    if (field->offset != 0 || field->atGuidPosition) {
        if (!HasDescription(sim)) return NoDescriptionRefusal(sim);
        // A word the sim's format lacks is never written: accepting it would drop it on save.
        if (!FieldStored(sim, field->name)) {
            return "field \"" + std::string(name) + "\" is not kept in the description format of " + sim.packageFile;
        }
    }
    std::string problem;
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(sim.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                sim.*member = std::string(value);
            } else if constexpr (std::is_same_v<T, Guid4>) {
                if (const auto guid = ParseGuid(value, GuidFormat::StoredBytes)) {
                    sim.*member = *guid;
                } else {
                    problem = "must be eight hexadecimal digits";
                }
            } else {
                T parsed{};
                problem = ParseNumber(value, parsed);
                if (problem.empty()) sim.*member = parsed;
            }
        },
        field->member);
    if (!problem.empty()) return std::string(name) + " " + problem + ": \"" + std::string(value) + "\"";
    sim.dirty = 1;
    return {};
}

}  // namespace qh
