#include "genetics/xml_property_set.h"

#include <charconv>

namespace qh {

namespace {

constexpr std::string_view kStringType = "0x0b8bea18";
constexpr std::string_view kUintType = "0xeb61e4f7";
constexpr std::string_view kStringOpen = "<AnyString key=\"";

// The value of the element whose opening tag ends just before `after`.
std::string ElementValue(std::string_view text, std::size_t after, std::string_view closingTag) {
    if (after >= text.size() || text[after] != '>') return {};  // self-closed, or cut off
    const std::size_t start = after + 1;
    const std::size_t end = text.find(closingTag, start);
    if (end == std::string_view::npos) return {};  // never closed: nothing that can be trusted
    return std::string(text.substr(start, end - start));
}

std::string ReadElement(std::string_view text, std::string_view openingTag, std::string_view closingTag) {
    const std::size_t at = text.find(openingTag);
    if (at == std::string_view::npos || openingTag.empty()) return {};
    return ElementValue(text, at + openingTag.size(), closingTag);
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

std::vector<std::string> ReadXmlStringProperties(std::string_view text, std::span<const std::string_view> keys) {
    std::vector<std::string> values(keys.size());
    std::vector<bool> found(keys.size(), false);
    std::size_t left = keys.size();
    // Every place an opening tag starts, in order: the first whose whole tag is a key's is that
    // key's, as a search for the tag itself would find it.
    for (std::size_t at = text.find(kStringOpen); at != std::string_view::npos && left > 0;
         at = text.find(kStringOpen, at + 1)) {
        const std::size_t keyStart = at + kStringOpen.size();
        const std::size_t quote = text.find('"', keyStart);
        if (quote == std::string_view::npos) break;
        const std::string_view key = text.substr(keyStart, quote - keyStart);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (found[i] || keys[i] != key) continue;
            if (auto value = XmlStringValueOfKey(text, key)) {
                found[i] = true;
                --left;
                values[i] = std::move(*value);
            }
            break;
        }
    }
    return values;
}

std::optional<std::string> XmlStringValueOfKey(std::string_view text, std::string_view key) {
    static const std::string tail = "\" type=\"" + std::string(kStringType) + "\"";
    const auto keyStart = static_cast<std::size_t>(key.data() - text.data());
    const std::size_t quote = keyStart + key.size();
    if (keyStart < kStringOpen.size() || text.substr(keyStart - kStringOpen.size(), kStringOpen.size()) != kStringOpen ||
        text.substr(quote, tail.size()) != tail) {
        return std::nullopt;
    }
    return ElementValue(text, quote + tail.size(), "</AnyString>");
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
    readable = VisitXmlPropertyKeys(text, [&](std::string_view element, std::string_view key) {
        keys.push_back({std::string(element), std::string(key)});
    });
    if (!readable) keys.clear();
    return keys;
}

}  // namespace qh
