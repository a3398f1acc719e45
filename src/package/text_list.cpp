#include "package/text_list.h"

#include <algorithm>

#include "package/byte_reader.h"
#include "platform/errors.h"
#include "platform/utf8.h"

namespace qh {

namespace {

void AppendText(Bytes& out, std::string_view text) {
    // A value cannot hold a zero byte: it ends the value.
    for (char c : text) {
        if (c == '\0') break;
        out.push_back(static_cast<std::uint8_t>(c));
    }
    out.push_back(0);
}

void AppendEntry(Bytes& out, int language, std::string_view value) {
    out.push_back(static_cast<std::uint8_t>(language));
    AppendText(out, value);
    out.push_back(0);  // empty description
}

}  // namespace

std::string TrimText(std::string_view text) {
    auto blank = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7F;
    };
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return std::string(text.substr(start, end - start));
}

std::optional<TextList> ParseTextList(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes, "text list");
    if (!reader.Has(64, 2) || bytes[64] != 0xFD || bytes[65] != 0xFF) return std::nullopt;
    const std::uint16_t count = reader.ReadU16(66, "entry count");
    TextList list;
    ByteCursor in(bytes, "text list", 68);
    for (std::uint16_t i = 0; i < count; ++i) {
        TextEntry entry;
        entry.language = in.U8("language id");
        entry.value = in.ZeroTerminated("text value");
        entry.description = in.ZeroTerminated("text description");
        list.entries.push_back(std::move(entry));
    }
    list.entriesEnd = in.at();
    return list;
}

void ApplyLanguageRule(const TextList& list, int languageCode, std::span<std::string> strings) {
    std::size_t k = 0;
    for (const TextEntry& entry : list.entries) {
        if (entry.language != 1) continue;
        if (k < strings.size()) strings[k] = TrimText(entry.value);
        ++k;
    }
    k = 0;
    for (const TextEntry& entry : list.entries) {
        if (entry.language != languageCode) continue;
        std::string value = TrimText(entry.value);
        if (k < strings.size() && !value.empty()) strings[k] = std::move(value);
        ++k;
    }
}

void ReadTextList(std::span<const std::uint8_t> bytes, int languageCode, std::span<std::string> strings) {
    if (const auto list = ParseTextList(bytes)) ApplyLanguageRule(*list, languageCode, strings);
}

void WriteTextList(Bytes& out, std::span<const std::string> strings, TextListLayout layout,
                   int languageCode) {
    auto string = [&](std::size_t k) -> std::string_view {
        return k < strings.size() ? std::string_view(strings[k]) : std::string_view();
    };
    out.insert(out.end(), 64, 0);
    out.push_back(0xFD);
    out.push_back(0xFF);
    if (layout == TextListLayout::NameAndDescription) {
        AppendU16(out, languageCode == 1 ? 2 : 4);
        AppendEntry(out, 1, string(0));
        AppendEntry(out, 1, string(1));
        if (languageCode != 1) {
            AppendEntry(out, languageCode, string(0));
            AppendEntry(out, languageCode, string(1));
        }
        return;
    }
    AppendU16(out, 132);
    for (int language = 1; language <= 44; ++language) {
        const bool filled = language == 1 || language == languageCode;
        for (std::size_t k = 0; k < 3; ++k) AppendEntry(out, language, filled ? string(k) : "");
    }
}

bool UpdateTextList(std::span<const std::uint8_t> stored, std::span<const std::string> strings,
                    TextListLayout layout, int languageCode, Bytes& out) {
    std::optional<TextList> list;
    try {
        list = ParseTextList(stored);
    } catch (const FormatError&) {
        list.reset();
    }
    if (!list) {
        const bool anyText = std::any_of(strings.begin(), strings.end(), [](const std::string& s) { return !s.empty(); });
        if (!anyText) return false;
        WriteTextList(out, strings, layout, languageCode);
        return true;
    }
    std::vector<std::string> asRead(strings.size());
    ApplyLanguageRule(*list, languageCode, asRead);
    bool changed = false;
    // The k-th entry of a language, found by walking the list; one is appended when missing.
    auto nth = [&](int language, std::size_t k) -> TextEntry& {
        std::size_t seen = 0;
        for (TextEntry& entry : list->entries) {
            if (entry.language != language) continue;
            if (seen++ == k) return entry;
        }
        for (; seen <= k; ++seen) list->entries.push_back({static_cast<std::uint8_t>(language), "", ""});
        return list->entries.back();
    };
    for (std::size_t k = 0; k < strings.size(); ++k) {
        if (asRead[k] == strings[k]) continue;
        changed = true;
        nth(languageCode, k).value = strings[k];
        if (languageCode != 1 && TrimText(strings[k]).empty()) nth(1, k).value = strings[k];
    }
    if (!changed) return false;
    if (list->entries.size() > 0xFFFF) throw FormatError("The text list has no room for another entry");
    out.insert(out.end(), stored.begin(), stored.begin() + 66);
    AppendU16(out, static_cast<std::uint16_t>(list->entries.size()));
    for (const TextEntry& entry : list->entries) {
        out.push_back(entry.language);
        AppendText(out, entry.value);
        AppendText(out, entry.description);
    }
    out.insert(out.end(), stored.begin() + static_cast<std::ptrdiff_t>(list->entriesEnd), stored.end());
    return true;
}

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t need = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out += lead;
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            need = 1, c = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            need = 2, c = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            need = 3, c = lead & 0x07, minimum = 0x10000;
        } else {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k <= need && i + k < text.size(); ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) break;
            c = c << 6 | (next & 0x3F);
        }
        if (k <= need || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += U'\uFFFD';
            i += 1;  // resume right after the bad lead byte
            continue;
        }
        out += c;
        i += need + 1;
    }
    return out;
}

std::string ToValidUtf8(std::string_view text) {
    // Most texts are plain ASCII, which is valid as it stands: a dump asks this of every text of
    // ten thousand sims.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(text);
    }
    std::string out;
    for (char32_t c : DecodeUtf8(text)) AppendUtf8(out, c);
    return out;
}

}  // namespace qh
