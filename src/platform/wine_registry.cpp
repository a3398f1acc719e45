#include "platform/wine_registry.h"

#include <cctype>

#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/utf8.h"

namespace qh {

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    auto put = [&](char32_t c) { AppendUtf8(out, c); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            put(0xFFFD);
        } else {
            put(c);
        }
    }
    return out;
}

namespace {

class LineParser {
public:
    LineParser(std::string_view line, const std::string& file, std::size_t number)
        : line_(line), file_(file), number_(number) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw FormatError(file_ + " line " + std::to_string(number_) + ": " + what);
    }

    bool AtEnd() const { return pos_ >= line_.size(); }
    char Peek() const { return AtEnd() ? '\0' : line_[pos_]; }
    std::size_t Position() const { return pos_; }
    std::string_view Rest() const { return line_.substr(pos_); }
    void Skip(std::size_t n) { pos_ += n; }
    void SkipBlanks() {
        while (!AtEnd() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
    }
    void Expect(char c, const char* what) {
        if (Peek() != c) Fail(std::string("expected ") + what);
        ++pos_;
    }

    // Reads escaped text up to `terminator` (consumed), as UTF-16 code units.
    std::u16string Escaped(char terminator) {
        std::u16string out;
        while (true) {
            if (AtEnd()) Fail(std::string("missing closing ") + terminator);
            const char c = line_[pos_++];
            if (c == terminator) return out;
            if (c != '\\') {
                // Wine writes plain bytes of ASCII here; take other bytes as UTF-8 text.
                const auto u = static_cast<unsigned char>(c);
                if (u < 0x80) {
                    out += static_cast<char16_t>(u);
                } else {
                    DecodeUtf8Byte(u, out);
                }
                continue;
            }
            if (AtEnd()) Fail("escape at the end of the line");
            const char e = line_[pos_++];
            switch (e) {
                case 'a': out += u'\a'; break;
                case 'b': out += u'\b'; break;
                case 'e': out += u'\x1b'; break;
                case 'f': out += u'\f'; break;
                case 'n': out += u'\n'; break;
                case 'r': out += u'\r'; break;
                case 't': out += u'\t'; break;
                case 'v': out += u'\v'; break;
                case 'x': {
                    unsigned value = 0;
                    int digits = 0;
                    while (digits < 4 && !AtEnd() && std::isxdigit(static_cast<unsigned char>(Peek()))) {
                        value = value * 16 + HexDigit(line_[pos_++]);
                        ++digits;
                    }
                    if (digits == 0) Fail("\\x without hexadecimal digits");
                    out += static_cast<char16_t>(value);
                    break;
                }
                default:
                    if (e >= '0' && e <= '7') {
                        unsigned value = static_cast<unsigned>(e - '0');
                        for (int digits = 1; digits < 3 && Peek() >= '0' && Peek() <= '7'; ++digits) {
                            value = value * 8 + static_cast<unsigned>(line_[pos_++] - '0');
                        }
                        out += static_cast<char16_t>(value);
                    } else {
                        out += static_cast<char16_t>(static_cast<unsigned char>(e));
                    }
            }
        }
    }

    static unsigned HexDigit(char c) {
        if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
        return static_cast<unsigned>(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }

private:
    // Accumulates raw UTF-8 bytes into code units; malformed sequences become U+FFFD.
    void DecodeUtf8Byte(unsigned char u, std::u16string& out) {
        std::size_t need = u >= 0xF0 ? 3 : u >= 0xE0 ? 2 : u >= 0xC0 ? 1 : 0;
        if (need == 0) {
            out += u'\uFFFD';
            return;
        }
        char32_t c = u & (0x3F >> need);
        for (std::size_t k = 0; k < need; ++k) {
            if (AtEnd() || (static_cast<unsigned char>(line_[pos_]) & 0xC0) != 0x80) {
                out += u'\uFFFD';
                return;
            }
            c = c << 6 | (static_cast<unsigned char>(line_[pos_++]) & 0x3F);
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }

    std::string_view line_;
    const std::string& file_;
    std::size_t number_;
    std::size_t pos_ = 0;
};

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

std::u16string FromLittleEndianBytes(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    }
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

std::string JoinMulti(std::u16string text) {
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    for (auto& c : text) {
        if (c == u'\0') c = u'\n';
    }
    return Utf16ToUtf8(text);
}

}  // namespace

WineRegistryFile WineRegistryFile::Parse(std::string_view text, const std::string& fileName) {
    WineRegistryFile file;
    const auto lines = SplitLines(text);
    std::map<std::string, RegistryValue>* current = nullptr;

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t number = i + 1;
        std::string_view line = lines[i];
        std::size_t lead = 0;
        while (lead < line.size() && (line[lead] == ' ' || line[lead] == '\t')) ++lead;
        line.remove_prefix(lead);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (number == 1 && line.starts_with("WINE REGISTRY")) continue;

        LineParser parser(line, fileName, number);
        if (line[0] == '[') {
            parser.Skip(1);
            const std::string key = FoldCase(Utf16ToUtf8(parser.Escaped(']')));
            current = &file.keys_[key];
            continue;
        }
        if (!current) parser.Fail("a value before the first key");

        std::string name;
        if (line[0] == '@') {
            parser.Skip(1);
        } else if (line[0] == '"') {
            parser.Skip(1);
            name = FoldCase(Utf16ToUtf8(parser.Escaped('"')));
        } else {
            parser.Fail("expected a key in brackets or a quoted value name");
        }
        parser.SkipBlanks();
        parser.Expect('=', "'=' after the value name");
        parser.SkipBlanks();

        RegistryValue value;
        const std::string_view rest = parser.Rest();
        if (rest.starts_with("\"")) {
            parser.Skip(1);
            value.text = Utf16ToUtf8(parser.Escaped('"'));
        } else if (rest.starts_with("str(")) {
            const std::size_t close = rest.find("):\"");
            if (close == std::string_view::npos) parser.Fail("malformed str() value");
            const std::string_view kind = rest.substr(4, close - 4);
            parser.Skip(close + 3);
            const std::u16string raw = parser.Escaped('"');
            if (kind == "2") {
                value.kind = RegistryValue::Kind::ExpandString;
                value.text = Utf16ToUtf8(raw);
            } else if (kind == "7") {
                value.kind = RegistryValue::Kind::MultiString;
                value.text = JoinMulti(raw);
            } else {
                value.text = Utf16ToUtf8(raw);
            }
        } else if (rest.starts_with("dword:")) {
            const std::string_view digits = rest.substr(6);
            if (digits.empty() || digits.size() > 8) parser.Fail("malformed dword value");
            std::uint32_t v = 0;
            for (char c : digits) {
                if (!std::isxdigit(static_cast<unsigned char>(c))) parser.Fail("malformed dword value");
                v = v * 16 + LineParser::HexDigit(c);
            }
            value.kind = RegistryValue::Kind::Dword;
            value.dword = v;
        } else if (rest.starts_with("hex")) {
            int type = 3;
            std::size_t colon = rest.find(':');
            if (colon == std::string_view::npos) parser.Fail("malformed hex value");
            if (rest.size() > 3 && rest[3] == '(') {
                const std::size_t close = rest.find(')');
                if (close == std::string_view::npos || close > colon) parser.Fail("malformed hex type");
                type = 0;
                for (std::size_t k = 4; k < close; ++k) {
                    if (!std::isxdigit(static_cast<unsigned char>(rest[k])) || type > 0xFFFFFF) {
                        parser.Fail("malformed hex type");
                    }
                    type = type * 16 + static_cast<int>(LineParser::HexDigit(rest[k]));
                }
            }
            // The bytes, continued over lines ending with a backslash.
            std::string bytesText(rest.substr(colon + 1));
            while (!bytesText.empty() && bytesText.back() == '\\') {
                bytesText.pop_back();
                if (++i >= lines.size()) parser.Fail("hex value continues past the end of the file");
                bytesText += lines[i];
            }
            std::vector<std::uint8_t> bytes;
            unsigned byte = 0;
            int digits = 0;
            for (char c : bytesText) {
                if (c == ' ' || c == '\t') continue;
                if (c == ',') {
                    if (digits == 0) parser.Fail("empty byte in hex value");
                    bytes.push_back(static_cast<std::uint8_t>(byte));
                    byte = 0;
                    digits = 0;
                    continue;
                }
                if (!std::isxdigit(static_cast<unsigned char>(c)) || digits == 2) {
                    LineParser(lines[i], fileName, i + 1).Fail("malformed byte in hex value");
                }
                byte = byte * 16 + LineParser::HexDigit(c);
                ++digits;
            }
            if (digits > 0) bytes.push_back(static_cast<std::uint8_t>(byte));
            switch (type) {
                case 1:
                    value.kind = RegistryValue::Kind::String;
                    value.text = Utf16ToUtf8(FromLittleEndianBytes(bytes));
                    break;
                case 2:
                    value.kind = RegistryValue::Kind::ExpandString;
                    value.text = Utf16ToUtf8(FromLittleEndianBytes(bytes));
                    break;
                case 7:
                    value.kind = RegistryValue::Kind::MultiString;
                    value.text = JoinMulti(FromLittleEndianBytes(bytes));
                    break;
                case 3:
                    value.kind = RegistryValue::Kind::Binary;
                    break;
                default:
                    value.kind = RegistryValue::Kind::Other;
            }
            value.data = std::move(bytes);
        } else {
            parser.Fail("unknown value type");
        }
        (*current)[name] = std::move(value);
    }
    return file;
}

WineRegistryFile WineRegistryFile::Load(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return {};
    const Bytes bytes = ReadFileBytes(path);
    return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                 path.string());
}

bool WineRegistryFile::KeyExists(std::string_view keyPath) const {
    return keys_.find(FoldCase(keyPath)) != keys_.end();
}

std::optional<RegistryValue> WineRegistryFile::Read(std::string_view keyPath,
                                                    std::string_view valueName) const {
    const auto key = keys_.find(FoldCase(keyPath));
    if (key == keys_.end()) return std::nullopt;
    const auto value = key->second.find(FoldCase(valueName));
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

WineRegistry::WineRegistry(const std::filesystem::path& prefix)
    : WineRegistry(WineRegistryFile::Load(prefix / "system.reg"),
                   WineRegistryFile::Load(prefix / "user.reg"), (prefix / "system.reg").string(),
                   (prefix / "user.reg").string()) {}

WineRegistry::WineRegistry(WineRegistryFile machine, WineRegistryFile user,
                           std::string machineName, std::string userName)
    : machine_(std::move(machine)),
      user_(std::move(user)),
      machineName_(std::move(machineName)),
      userName_(std::move(userName)) {}

bool WineRegistry::KeyExists(Hive hive, std::string_view keyPath) const {
    return (hive == Hive::LocalMachine ? machine_ : user_).KeyExists(keyPath);
}

std::optional<RegistryValue> WineRegistry::Read(Hive hive, std::string_view keyPath,
                                                std::string_view valueName) const {
    return (hive == Hive::LocalMachine ? machine_ : user_).Read(keyPath, valueName);
}

std::string WineRegistry::Describe(Hive hive) const {
    return hive == Hive::LocalMachine ? machineName_ : userName_;
}

}  // namespace qh
