// A read-only view of the Windows registry, as far as the program needs it.
//
// The game records its installations, its player-data folder name and its language in the
// registry. On Windows that is the real registry; under Wine it is the prefix's registry files.
// Key paths are written with backslashes and without a leading one ("Software\EA GAMES\The Sims
// 2"); key and value names compare without regard to case, as Windows does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qh {

enum class Hive { LocalMachine, CurrentUser };

struct RegistryValue {
    enum class Kind { String, ExpandString, MultiString, Dword, Binary, Other };
    Kind kind = Kind::String;
    std::string text;             // UTF-8, for the string kinds (multi-strings joined by '\n')
    std::uint32_t dword = 0;      // for Dword
    std::vector<std::uint8_t> data;  // raw bytes for Binary and Other
};

class RegistryView {
public:
    virtual ~RegistryView() = default;
    virtual bool KeyExists(Hive hive, std::string_view keyPath) const = 0;
    virtual std::optional<RegistryValue> Read(Hive hive, std::string_view keyPath,
                                              std::string_view valueName) const = 0;
    // A string value (the string kinds only); an empty value name reads the default value.
    std::optional<std::string> ReadString(Hive hive, std::string_view keyPath,
                                          std::string_view valueName) const;
    // Where values of a hive come from, for diagnostics ("system.reg of /home/x/.wine").
    virtual std::string Describe(Hive hive) const = 0;
};

// Lower-cases ASCII letters, the case folding Windows applies to key and value names as far as
// the game's names go.
std::string FoldCase(std::string_view text);

}  // namespace qh
