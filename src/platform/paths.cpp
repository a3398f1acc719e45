#include "platform/paths.h"

#include <string>

namespace qh {
namespace fs = std::filesystem;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

bool LiesInside(const fs::path& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) return false;
    std::error_code error;
    const fs::path inner = fs::absolute(path, error).lexically_normal();
    if (error) return false;
    const fs::path outer = fs::absolute(folder, error).lexically_normal();
    if (error) return false;
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty()) continue;  // a trailing separator
        if (i == inner.end() || *i != *o) return false;
    }
    return i != inner.end();
}

fs::path ResolveNoCase(const fs::path& base, std::string_view relative) {
    fs::path current = base;
    bool exists = true;  // once a component is missing, the rest is taken as spelt
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = relative.size();
        const std::string part(relative.substr(start, end - start));
        start = end + 1;
        if (part.empty() || part == ".") {
            if (end == relative.size()) break;
            continue;
        }
        std::error_code error;
        // UTF-8 both ways: on Windows a path's narrow text is the ANSI code page's.
        fs::path next = current / fs::u8path(part);
        if (exists && !fs::exists(next, error)) {
            bool found = false;
            for (fs::directory_iterator it(current, error), last; !error && it != last;
                 it.increment(error)) {
                const std::string name = Utf8Text(it->path().filename());
                if (EqualsNoCase(name, part)) {
                    next = current / it->path().filename();
                    found = true;
                    break;
                }
            }
            exists = found;
        }
        current = next;
        if (end == relative.size()) break;
    }
    return current;
}

std::string Utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool IsDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace qh
