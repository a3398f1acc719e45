#include "package/guid.h"

#include <cstddef>

namespace qh {

namespace {

// Which stored byte stands at each of the four printed places.
constexpr std::array<int, 4> Order(GuidFormat format) {
    switch (format) {
        case GuidFormat::StoredBytes: return {0, 1, 2, 3};
        case GuidFormat::Number: return {3, 2, 1, 0};
        case GuidFormat::WordSwapped: return {1, 0, 3, 2};
    }
    return {0, 1, 2, 3};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string FormatGuid(const Guid4& guid, GuidFormat format) {
    const auto order = Order(format);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (std::size_t place = 0; place < 4; ++place) {
        const std::uint8_t byte = guid[static_cast<std::size_t>(order[place])];
        text[2 * place] = kDigits[byte >> 4];
        text[2 * place + 1] = kDigits[byte & 15];
    }
    return text;
}

std::optional<Guid4> ParseGuid(std::string_view text, GuidFormat format) {
    if (text.size() != 8) return std::nullopt;
    const auto order = Order(format);
    Guid4 guid{};
    for (std::size_t place = 0; place < 4; ++place) {
        const int high = HexDigit(text[2 * place]);
        const int low = HexDigit(text[2 * place + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        guid[static_cast<std::size_t>(order[place])] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return guid;
}

std::uint32_t GuidValue(const Guid4& guid) {
    return static_cast<std::uint32_t>(guid[0]) | static_cast<std::uint32_t>(guid[1]) << 8 |
           static_cast<std::uint32_t>(guid[2]) << 16 | static_cast<std::uint32_t>(guid[3]) << 24;
}

Guid4 GuidFromValue(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::string HexId(std::uint32_t value) { return FormatGuid(GuidFromValue(value), GuidFormat::Number); }

std::optional<std::uint32_t> ParseHexNumber(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace qh
