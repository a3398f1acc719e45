// Wine's registry files: system.reg holds HKEY_LOCAL_MACHINE, user.reg HKEY_CURRENT_USER.
//
// The text format, as Wine writes it:
//
//   WINE REGISTRY Version 2
//   ;; All keys relative to \\Machine
//   [Software\\EA GAMES\\The Sims 2] 1700000000
//   #time=1d9a...
//   "DisplayName"="The Sims 2"
//   "Install Dir"="C:\\Program Files\\EA GAMES\\The Sims 2"
//   "Version"=dword:00000001
//   @="default value"
//   "Path"=str(2):"%ProgramFiles%\\x"
//   "Blob"=hex:01,02,<backslash>
//     03,04                        (a line ending in a backslash continues on the next)
//
// Key names and strings escape backslashes and quotes with a backslash; other characters may be
// written as \xHHHH (a UTF-16 code unit), as octal, or as \n, \r, \t and the like. Lines starting
// with ';' are comments, lines starting with '#' carry metadata.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace qh {

class WineRegistryFile {
public:
    // Parses the text of a registry file. `fileName` names the file in error messages. Malformed
    // input throws FormatError naming the file and the line.
    static WineRegistryFile Parse(std::string_view text, const std::string& fileName);
    // Reads and parses a file; a missing file gives an empty registry.
    static WineRegistryFile Load(const std::filesystem::path& path);

    bool KeyExists(std::string_view keyPath) const;
    std::optional<RegistryValue> Read(std::string_view keyPath, std::string_view valueName) const;
    std::size_t KeyCount() const { return keys_.size(); }

private:
    // Folded key path -> folded value name ("" for the default value) -> value.
    std::map<std::string, std::map<std::string, RegistryValue>, std::less<>> keys_;
};

// The registry of a Wine prefix.
class WineRegistry final : public RegistryView {
public:
    explicit WineRegistry(const std::filesystem::path& prefix);
    WineRegistry(WineRegistryFile machine, WineRegistryFile user, std::string machineName,
                 std::string userName);
    bool KeyExists(Hive hive, std::string_view keyPath) const override;
    std::optional<RegistryValue> Read(Hive hive, std::string_view keyPath,
                                      std::string_view valueName) const override;
    std::string Describe(Hive hive) const override;

private:
    WineRegistryFile machine_;
    WineRegistryFile user_;
    std::string machineName_;
    std::string userName_;
};

// Converts UTF-16 code units to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace qh
