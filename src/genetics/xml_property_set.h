// The game's XML property sets: named values as text, written
//   <?xml version="1.0" encoding="UTF-8"?>
//   <cGZPropertySetString>
//     <AnyString key="6" type="0x0b8bea18">value</AnyString>
//   </cGZPropertySetString>
// with single line feeds and none after the last line. Genetic records and custom-content genes
// are kept this way.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qh {

// The first four bytes of an XML property set, "<?xm", as a little-endian number.
inline constexpr std::uint32_t kXmlPropertySetMagic = 0x6D783F3C;
bool IsXmlPropertySet(std::span<const std::uint8_t> bytes);

// A string property's opening tag without its closing ">": <AnyString key="6" type="0x0b8bea18".
// The closing quote of the key is part of it, so that key 2 is never found inside 268435458.
std::string StringPropertyTag(std::string_view key);
std::string UintPropertyTag(std::string_view key);  // <AnyUint32 key="subtype" type="0xeb61e4f7"

// A property's value: found by the first occurrence of its opening tag; empty when there is none,
// when the tag is self-closed (anything but ">" right after it) or when the element is empty;
// else the text up to the first closing tag after it ("</AnyString>"; never closed: empty).
std::string ReadXmlStringProperty(std::string_view text, std::string_view openingTag);
// The values of the string properties of `keys` (without quotes, and none holding one), each as
// ReadXmlStringProperty finds it, in one pass over the text.
std::vector<std::string> ReadXmlStringProperties(std::string_view text, std::span<const std::string_view> keys);
// For a key found in the text (a view into `text`, as VisitXmlPropertyKeys hands it over): when
// it stands in a string property's opening tag (<AnyString key="KEY" type="0x0b8bea18"), the
// value ReadXmlStringProperty would read from that tag; otherwise nothing.
std::optional<std::string> XmlStringValueOfKey(std::string_view text, std::string_view key);
// The same for an integer element closed by "</AnyUint32>": its text as a number, 0 when it is
// not one.
std::uint32_t ReadXmlUintProperty(std::string_view text, std::string_view openingTag);

// The string properties in the order given, in the game's shape; an empty value is written as an
// element with nothing inside.
std::string WriteXmlPropertySet(std::span<const std::pair<std::string, std::string>> properties);

// The keys of every property element (<Any...>) in order, or nothing when the text holds an
// element this reader cannot take apart (no key, a tag not closed).
struct XmlPropertyKey {
    std::string element;  // "AnyString", "AnyUint32", ...
    std::string key;
};
std::vector<XmlPropertyKey> XmlPropertyKeys(std::string_view text, bool& readable);

// The same walk handing each element's name and key to `visit(element, key)` as views into the
// text, for readers of ten thousand records that only look at them. False when an element cannot
// be taken apart (those before it were handed over already).
template <typename Visit>
bool VisitXmlPropertyKeys(std::string_view text, Visit&& visit) {
    for (std::size_t at = text.find("<Any"); at != std::string_view::npos; at = text.find("<Any", at + 1)) {
        const std::size_t close = text.find('>', at);
        const std::size_t space = text.find(' ', at);
        const std::size_t keyAt = text.find(" key=\"", at);
        if (close == std::string_view::npos || space == std::string_view::npos || space > close ||
            keyAt == std::string_view::npos || keyAt > close) {
            return false;
        }
        const std::size_t keyStart = keyAt + 6;
        const std::size_t keyEnd = text.find('"', keyStart);
        if (keyEnd == std::string_view::npos || keyEnd > close) return false;
        visit(text.substr(at + 1, space - at - 1), text.substr(keyStart, keyEnd - keyStart));
    }
    return true;
}

}  // namespace qh
