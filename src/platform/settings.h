// The program's own settings.
//
// Named values, stored as text by whatever backs them: the registry key
// HKEY_CURRENT_USER\Software\Bramblesoft\Quillhaven on Windows and an INI file elsewhere (both
// through QSettings in the window), an INI file given to the command-line tool, memory in tests.
// Missing or unreadable values read as their defaults.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qh {

enum class SortOrder { First, Last, File };

class Settings {
public:
    virtual ~Settings() = default;
    virtual std::optional<std::string> Get(std::string_view name) const = 0;
    virtual void Set(std::string_view name, const std::string& value) = 0;
    // The folder the settings are kept in, where the program keeps its caches too; none for
    // settings held in memory.
    virtual std::optional<std::filesystem::path> Folder() const { return std::nullopt; }

    int ColorScheme() const { return ReadInt("ColorScheme", 1); }
    void SetColorScheme(int scheme) { Set("ColorScheme", std::to_string(scheme)); }
    bool Advanced() const { return ReadInt("Advanced", 0) == 1; }
    void SetAdvanced(bool on) { Set("Advanced", on ? "1" : "0"); }
    std::string Ngbd() const { return Get("NGBD").value_or(""); }
    void SetNgbd(const std::string& prefix) { Set("NGBD", prefix); }
    SortOrder Sort() const;
    void SetSort(SortOrder order);
    int AdvMsgCnt() const { return ReadInt("AdvMsgCnt", 0); }
    std::string ArchiveLoc() const { return Get("ArchiveLoc").value_or(""); }
    void SetArchiveLoc(const std::string& folder) { Set("ArchiveLoc", folder); }
    // Whether the first save of a run into a neighborhood without a backup from today offers to
    // back it up first.
    bool OfferBackup() const { return ReadInt("OfferBackup", 1) == 1; }
    void SetOfferBackup(bool on) { Set("OfferBackup", on ? "1" : "0"); }
    std::string ClonePath() const { return Get("ClonePath").value_or(""); }
    // The data folder of the edition the player chose when more than one was found (or the
    // folder the player pointed the program at); empty when none was chosen.
    std::string UserData() const { return Get("UserData").value_or(""); }
    void SetUserData(const std::string& folder) { Set("UserData", folder); }
    void SetClonePath(const std::string& folder) { Set("ClonePath", folder); }

    // Turning advanced mode on warns the player at most five times: true (and the count raised)
    // while "AdvMsgCnt" is below 5.
    bool TakeAdvancedWarning();

private:
    int ReadInt(std::string_view name, int fallback) const;
};

const char* SortName(SortOrder order);

// Settings held in memory (tests, and a window run without a settings store).
class MemorySettings final : public Settings {
public:
    std::optional<std::string> Get(std::string_view name) const override;
    void Set(std::string_view name, const std::string& value) override;
    std::map<std::string, std::string, std::less<>> values;
};

// Settings in an INI file of QSettings' format, values under [General]. Reading a missing file
// gives no values; every Set rewrites the file atomically.
class IniSettings final : public Settings {
public:
    explicit IniSettings(std::filesystem::path path);
    std::optional<std::string> Get(std::string_view name) const override;
    void Set(std::string_view name, const std::string& value) override;
    std::optional<std::filesystem::path> Folder() const override { return path_.parent_path(); }

private:
    void Save() const;
    std::filesystem::path path_;
    // Lines before the first section and lines of other sections are kept as they were.
    std::map<std::string, std::string, std::less<>> general_;
    std::string preamble_;
    std::string otherSections_;
};

}  // namespace qh
