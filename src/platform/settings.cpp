#include "platform/settings.h"

#include <fstream>
#include <sstream>

#include "platform/file_io.h"
#include "platform/paths.h"

namespace qh {

int Settings::ReadInt(std::string_view name, int fallback) const {
    const auto text = Get(name);
    if (!text || text->empty()) return fallback;
    try {
        std::size_t used = 0;
        const int value = std::stoi(*text, &used);
        return used == text->size() ? value : fallback;
    } catch (const std::exception&) {
        return fallback;
    }
}

SortOrder Settings::Sort() const {
    const std::string text = Get("Sort").value_or("");
    if (EqualsNoCase(text, "Last")) return SortOrder::Last;
    if (EqualsNoCase(text, "File")) return SortOrder::File;
    return SortOrder::First;
}

void Settings::SetSort(SortOrder order) { Set("Sort", SortName(order)); }

const char* SortName(SortOrder order) {
    switch (order) {
        case SortOrder::Last: return "Last";
        case SortOrder::File: return "File";
        default: return "First";
    }
}

bool Settings::TakeAdvancedWarning() {
    const int count = AdvMsgCnt();
    if (count >= 5) return false;
    Set("AdvMsgCnt", std::to_string(count + 1));
    return true;
}

std::optional<std::string> MemorySettings::Get(std::string_view name) const {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::Set(std::string_view name, const std::string& value) {
    values[std::string(name)] = value;
}

namespace {

// QSettings quotes values holding characters it would otherwise split on, and escapes
// backslashes and quotes inside the quotes.
std::string UnquoteIni(std::string value) {
    value.erase(0, value.find_first_not_of(" \t"));
    value.erase(value.find_last_not_of(" \t\r") + 1);
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
        std::string out;
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size()) {
                const char e = value[++i];
                out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
            } else {
                out += value[i];
            }
        }
        return out;
    }
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size()) {
            const char e = value[++i];
            out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string QuoteIni(const std::string& value) {
    bool plain = !value.empty() && value.find_first_of(",;=\"\\\n\t#") == std::string::npos &&
                 value.front() != ' ' && value.back() != ' ';
    if (value.empty() || plain) return value;
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

IniSettings::IniSettings(std::filesystem::path path) : path_(std::move(path)) {
    std::ifstream in(path_);
    std::string line;
    std::string section;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            inSection = true;
        }
        // Lines before any section stay before [General] when the file is written again, so
        // that none of them is read as a setting of ours the next time.
        if (!inSection) {
            preamble_ += line + "\n";
            continue;
        }
        if (section != "General") {
            otherSections_ += line + "\n";
            continue;
        }
        const auto eq = line.find('=');
        if (line.empty() || line.front() == '[' || line.front() == ';' || eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        key.erase(key.find_last_not_of(" \t") + 1);
        general_[key] = UnquoteIni(line.substr(eq + 1));
    }
}

std::optional<std::string> IniSettings::Get(std::string_view name) const {
    const auto it = general_.find(name);
    if (it == general_.end()) return std::nullopt;
    return it->second;
}

void IniSettings::Set(std::string_view name, const std::string& value) {
    general_[std::string(name)] = value;
    Save();
}

void IniSettings::Save() const {
    std::string text = preamble_ + "[General]\n";
    for (const auto& [key, value] : general_) text += key + "=" + QuoteIni(value) + "\n";
    if (!otherSections_.empty()) text += "\n" + otherSections_;
    AtomicReplace(path_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace qh
