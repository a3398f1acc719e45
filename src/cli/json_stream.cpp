#include "cli/json_stream.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace qh::cli {

namespace {
constexpr std::size_t kPiece = 1 << 20;

// A byte written as it stands in a JSON string: anything but a control character, a quote or a
// backslash (bytes of UTF-8 sequences included, as dump(2) writes them).
constexpr bool WrittenAsItIs(unsigned char c) { return c >= 0x20 && c != '"' && c != '\\'; }

template <typename Number>
void AppendNumber(std::string& out, Number value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}
}  // namespace

void JsonText::Line(std::size_t depth) {
    // One append of a line break and its indent, for every value and key of a dump.
    static constexpr std::string_view kBreak =
        "\n                                                                ";
    const std::size_t width = indent_ + 2 * depth;
    if (width < kBreak.size()) {
        out_.append(kBreak.data(), width + 1);
    } else {
        out_ += '\n';
        out_.append(width, ' ');
    }
}

void JsonText::BeforeValue() {
    if (depth_ == 0 || !levels_[depth_ - 1].array) return;
    if (levels_[depth_ - 1].count++ > 0) out_ += ',';
    Line(depth_);
}

JsonText& JsonText::Open(char bracket, bool array) {
    BeforeValue();
    out_ += bracket;
    if (depth_ == kMaxDepth) throw std::logic_error("JSON nested deeper than the text writer allows");
    levels_[depth_++] = {array, 0};
    return *this;
}

JsonText& JsonText::Close(char bracket) {
    const Level closed = levels_[--depth_];
    if (closed.count > 0) Line(depth_);
    out_ += bracket;
    return *this;
}

JsonText& JsonText::Key(std::string_view key) {
    if (levels_[depth_ - 1].count++ > 0) out_ += ',';
    Line(depth_);
    out_ += '"';
    // A key is most often a name of letters and digits: appended whole, without a look at each.
    if (key.size() <= 32 &&
        std::all_of(key.begin(), key.end(), [](char c) { return WrittenAsItIs(static_cast<unsigned char>(c)); })) {
        out_.append(key);
    } else {
        Escaped(key);
    }
    out_ += "\": ";
    return *this;
}

JsonText& JsonText::Number(std::int64_t value) {
    BeforeValue();
    AppendNumber(out_, value);
    return *this;
}

JsonText& JsonText::Unsigned(std::uint64_t value) {
    BeforeValue();
    AppendNumber(out_, value);
    return *this;
}

JsonText& JsonText::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonText& JsonText::String(std::string_view value) {
    BeforeValue();
    out_ += '"';
    Escaped(value);
    out_ += '"';
    return *this;
}

JsonText& JsonText::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

JsonValue& JsonValue::Key(std::string_view key) {
    key_.assign(key);
    return *this;
}

nlohmann::ordered_json& JsonValue::Place(nlohmann::ordered_json value) {
    if (open_.empty()) return root_ = std::move(value);
    nlohmann::ordered_json& container = *open_.back();
    if (container.is_array()) {
        container.push_back(std::move(value));
        return container.back();
    }
    // Appended without looking for the key first: an ordered object finds a key by walking its
    // members, which over a sim's few hundred fields costs more than the rest of the work.
    using Members = std::vector<std::pair<const std::string, nlohmann::ordered_json>>;
    auto& members = static_cast<Members&>(container.get_ref<nlohmann::ordered_json::object_t&>());
    members.emplace_back(std::move(key_), std::move(value));
    return members.back().second;
}

// nlohmann's escapes without ensure_ascii: the two-letter ones, \u00XX (lower case) for the other
// control characters, everything else as it is.
namespace {

// Whether any of the eight bytes is a control character, a quote or a backslash: the bytes that
// are escaped. (For each test, the high bit of a byte is set exactly when the byte matches.)
bool AnyEscaped(std::uint64_t eight) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHigh = 0x8080808080808080;
    const auto zeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
    const std::uint64_t control = (eight - kOnes * 0x20) & ~eight & kHigh;  // a byte below 0x20
    return (control | zeroByte(eight ^ (kOnes * '"')) | zeroByte(eight ^ (kOnes * '\\'))) != 0;
}

}  // namespace

void JsonText::Escaped(std::string_view text) {
    // Most texts (every key) need no escape: eight bytes at a time up to the first that does.
    std::size_t first = 0;
    for (std::uint64_t eight = 0; first + 8 <= text.size(); first += 8) {
        std::memcpy(&eight, text.data() + first, 8);
        if (AnyEscaped(eight)) break;
    }
    std::size_t plain = 0;  // where the run of characters not yet appended begins
    for (std::size_t i = first; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (WrittenAsItIs(c)) continue;
        out_.append(text.data() + plain, i - plain);
        plain = i + 1;
        switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\b': out_ += "\\b"; break;
            case '\f': out_ += "\\f"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default: {
                static constexpr char kHex[] = "0123456789abcdef";
                const char code[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                out_.append(code, sizeof code);
            }
        }
    }
    out_.append(text.data() + plain, text.size() - plain);
}

JsonObjectStream::JsonObjectStream(std::ostream& out)
    : out_(out), serializer_(nlohmann::detail::output_adapter<char, std::string>(buffer_), ' ') {
    buffer_.reserve(kPiece + kPiece / 4);
    buffer_ += '{';
}

JsonObjectStream::~JsonObjectStream() { Flush(true); }

void JsonObjectStream::Flush(bool always) {
    if (buffer_.empty() || (!always && buffer_.size() < kPiece)) return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

void JsonObjectStream::WriteThrough(const std::string& text) {
    Flush(true);
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void JsonObjectStream::Key(std::string_view key) {
    buffer_ += anyMember_ ? ",\n  " : "\n  ";
    buffer_ += nlohmann::ordered_json(std::string(key)).dump();
    buffer_ += ": ";
    anyMember_ = true;
}

void JsonObjectStream::Write(const nlohmann::ordered_json& value, int indent) {
    serializer_.dump(value, true, false, 2, static_cast<unsigned>(indent));
    Flush();
}

void JsonObjectStream::Member(std::string_view key, const nlohmann::ordered_json& value) {
    Key(key);
    Write(value, 2);
}

void JsonObjectStream::BeginArray(std::string_view key) {
    Key(key);
    buffer_ += '[';
    anyElement_ = false;
}

void JsonObjectStream::Element(const nlohmann::ordered_json& value) {
    buffer_ += anyElement_ ? ",\n    " : "\n    ";
    anyElement_ = true;
    Write(value, 4);
}

void JsonObjectStream::EndArray() { buffer_ += anyElement_ ? "\n  ]" : "]"; }

void JsonObjectStream::End() {
    buffer_ += anyMember_ ? "\n}\n" : "}\n";
    Flush(true);
}

}  // namespace qh::cli
