#include "workspace/sim_operations.h"

#include <charconv>

#include "character/character_rules.h"
#include "package/guid.h"
#include "workspace/sim_items.h"

namespace qh {

namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> OnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::string LifeStage(SimOperationContext& c, Character& sim, std::string_view value) {
    const bool pet = IsPet(sim, c.env.hasPets);
    const auto position = Number(value);
    if (!position || *position < 0 || *position >= static_cast<int>(LifeStageRows(pet).size())) {
        return std::string("--life-stage must be a position of the ") + (pet ? "pets' list (0-2)" : "sims' list (0-5)");
    }
    SetLifeStagePosition(sim, pet, *position);
    return {};
}

std::string YoungAdult(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto on = OnOff(value);
    if (!on) return "--young-adult must be on or off";
    SetYoungAdult(sim, *on, LifeStagePosition(sim, IsPet(sim, c.env.hasPets)));
    return {};
}

std::string Zodiac(SimOperationContext&, Character& sim, std::string_view value) {
    const auto sign = Number(value);
    if (!sign || *sign < 1 || *sign > 12) return "--zodiac must be from 1 (Aries) to 12 (Pisces)";
    ApplyZodiac(sim, *sign);
    return {};
}

std::string Gender(SimOperationContext&, Character& sim, std::string_view value) {
    if (value != "male" && value != "female") return "--gender must be male or female";
    SetGender(sim, value == "female");
    return {};
}

std::string Locomotion(SimOperationContext&, Character& sim, std::string_view value) {
    const auto weight = Number(value);
    if (!weight || *weight < 0 || *weight > 100) return "--locomotion must be from 0 to 100";
    SetLocomotion(sim, *weight);
    return {};
}

std::string Dead(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto on = OnOff(value);
    if (!on) return "--dead must be on or off";
    SetDeadMark(c.workspace, sim, *on);
    return {};
}

std::string RemoveItems(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto guid = ParseHexNumber(value);
    if (!guid) return "--remove-items must be a GUID of up to eight hexadecimal digits: \"" + std::string(value) + "\"";
    RemoveSimItems(c.workspace, sim, *guid);
    return {};
}

// "GUID:SECONDARY:v1,v2,..." with the GUID as eight hexadecimal digits.
std::string AddItem(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto first = text.find(':');
    const auto second = first == std::string_view::npos ? std::string_view::npos : text.find(':', first + 1);
    if (second == std::string_view::npos || first != 8) {
        return "--add-item must be GUID:SECONDARY:VALUES, for example 2CCF9BED:1:8,8,0,0,0";
    }
    const auto guid = ParseHexNumber(text.substr(0, first));
    if (!guid) return "--add-item GUID must be eight hexadecimal digits";
    const std::string_view secondary = text.substr(first + 1, second - first - 1);
    if (secondary != "0" && secondary != "1") return "--add-item SECONDARY must be 0 or 1";
    std::vector<std::uint16_t> values;
    std::string_view rest = text.substr(second + 1);
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view word = rest.substr(0, comma);
        const auto value = Number(word);
        if (!value || *value < 0 || *value > 65535) {
            return "--add-item values must be numbers from 0 to 65535: \"" + std::string(word) + "\"";
        }
        values.push_back(static_cast<std::uint16_t>(*value));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    AddSimItem(c.workspace, sim, *guid, static_cast<std::uint8_t>(secondary == "1"), std::move(values));
    return {};
}

constexpr SimOperation kOperations[] = {
    {"life-stage", "position in the life-stage list (sims 0-5, pets 0-2)", LifeStage},
    {"young-adult", "on or off", YoungAdult},
    {"zodiac", "zodiac sign, 1 (Aries) to 12 (Pisces)", Zodiac},
    {"gender", "male or female", Gender},
    {"locomotion", "locomotion balance, 0 to 100 (the first weight)", Locomotion},
    {"dead", "on or off", Dead},
    {"remove-items", "remove the sim's items with this GUID", RemoveItems},
    {"add-item", "add an item GUID:SECONDARY:v1,v2,...", AddItem},
};

}  // namespace

std::span<const SimOperation> SimOperations() { return kOperations; }

const SimOperation* FindSimOperation(std::string_view name) {
    for (const SimOperation& operation : kOperations) {
        if (operation.name == name) return &operation;
    }
    return nullptr;
}

}  // namespace qh
