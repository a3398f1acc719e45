#include "workspace/operations/operation_support.h"

#include <charconv>

#include "package/guid.h"

namespace qh::ops {

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

std::optional<std::pair<std::string_view, std::string_view>> Assignment(std::string_view text) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0) return std::nullopt;
    return std::pair{text.substr(0, eq), text.substr(eq + 1)};
}

std::string PetRefusal(const Character& sim, const char* what) {
    return std::string(sim.firstName.empty() ? "this sim" : sim.firstName) + " is a pet: " + what +
           " cannot be changed";
}

std::optional<std::pair<std::string_view, std::string_view>> OtherAnd(std::string_view text, char separator) {
    const auto at = text.rfind(separator);
    if (at == std::string_view::npos || at == 0) return std::nullopt;
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::string Joined(std::string_view field, std::string_view value) {
    return std::string(field) + "=" + std::string(value);
}

std::optional<std::size_t> FindOther(SimOperationContext& c, std::string_view other) {
    Workspace& ws = c.workspace;
    if (other.size() > 8 && other.substr(other.size() - 8) == ".package") return FindSimByFile(ws, other);
    std::optional<std::uint32_t> instance;
    if (other.starts_with("0x") || other.starts_with("0X")) {
        instance = ParseHexNumber(other);
    } else if (const auto number = Number(other); number && *number >= 0) {
        instance = static_cast<std::uint32_t>(*number);
    }
    const auto it = instance ? ws.simByInstance.find(*instance) : ws.simByInstance.end();
    if (it == ws.simByInstance.end()) return std::nullopt;
    return it->second;
}

std::string AdvancedRefusal(std::string_view what) {
    return std::string(what) + " is offered only in advanced mode (give --advanced, as the window's Advanced switch)";
}

}  // namespace qh::ops
