#include "genetics/xml_property_set.h"

#include <charconv>

namespace qh {

namespace {

constexpr std::string_view kStringType = "0x0b8bea18";
constexpr std::string_view kUintType = "0xeb61e4f7";

std::string ReadElement(std::string_view text, std::string_view openingTag, std::string_view closingTag) {
    const std::size_t at = text.find(openingTag);
    if (at == std::string_view::npos || openingTag.empty()) return {};
    const std::size_t after = at + openingTag.size();
    if (after >= text.size() || text[after] != '>') return {};  // self-closed, or cut off
    const std::size_t start = after + 1;
    const std::size_t end = text.find(closingTag, start);
    if (end == std::string_view::npos) return {};  // never closed: nothing that can be trusted
    return std::string(text.substr(start, end - start));
}

}  // namespace

bool IsXmlPropertySet(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return false;
    const std::uint32_t magic = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return magic == kXmlPropertySetMagic;
}

std::string StringPropertyTag(std::string_view key) {
    return "<AnyString key=\"" + std::string(key) + "\" type=\"" + std::string(kStringType) + "\"";
}

std::string UintPropertyTag(std::string_view key) {
    return "<AnyUint32 key=\"" + std::string(key) + "\" type=\"" + std::string(kUintType) + "\"";
}

std::string ReadXmlStringProperty(std::string_view text, std::string_view openingTag) {
    return ReadElement(text, openingTag, "</AnyString>");
}

std::uint32_t ReadXmlUintProperty(std::string_view text, std::string_view openingTag) {
    std::string value = ReadElement(text, openingTag, "</AnyUint32>");
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size()) return 0;
    return number;
}

std::string WriteXmlPropertySet(std::span<const std::pair<std::string, std::string>> properties) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n";
    for (const auto& [key, value] : properties) {
        text += "  " + StringPropertyTag(key) + ">" + value + "</AnyString>\n";
    }
    text += "</cGZPropertySetString>";
    return text;
}

std::vector<XmlPropertyKey> XmlPropertyKeys(std::string_view text, bool& readable) {
    std::vector<XmlPropertyKey> keys;
    readable = true;
    for (std::size_t at = text.find("<Any"); at != std::string_view::npos; at = text.find("<Any", at + 1)) {
        const std::size_t close = text.find('>', at);
        const std::size_t space = text.find(' ', at);
        const std::size_t keyAt = text.find(" key=\"", at);
        if (close == std::string_view::npos || space == std::string_view::npos || space > close ||
            keyAt == std::string_view::npos || keyAt > close) {
            readable = false;
            return {};
        }
        const std::size_t keyStart = keyAt + 6;
        const std::size_t keyEnd = text.find('"', keyStart);
        if (keyEnd == std::string_view::npos || keyEnd > close) {
            readable = false;
            return {};
        }
        keys.push_back({std::string(text.substr(at + 1, space - at - 1)), std::string(text.substr(keyStart, keyEnd - keyStart))});
    }
    return keys;
}

}  // namespace qh
