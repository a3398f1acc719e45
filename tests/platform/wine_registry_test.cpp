#include "platform/wine_registry.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace qh {
namespace {

WineRegistryFile Parse(const std::string& text) { return WineRegistryFile::Parse(text, "system.reg"); }

TEST(WineRegistryFile, ReadsStringsDwordsHexAndDefaults) {
    const auto file = Parse(
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\Machine\n"
        "\n"
        "#arch=win32\n"
        "[Software\\\\EA GAMES\\\\The Sims 2] 1700000000\n"
        "#time=1d9a2b3c4d5e6f7\n"
        "\"DisplayName\"=\"The Sims\\\"2\\\" \\\\ \\x00e9t\\xe9\"\n"
        "\"Install Dir\"=\"C:\\\\Program Files\\\\EA GAMES\\\\The Sims 2\"\n"
        "@=\"the default\"\n"
        "\"Count\"=dword:0000001f\n"
        "\"Blob\"=hex:01,02,\\\n"
        "  03,ff\n"
        "\"Path\"=str(2):\"%ProgramFiles%\\\\x\"\n"
        "\"Wide\"=hex(2):41,00,42,00,00,00\n"
        "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
        "\"Tab\"=\"a\\tb\\101\"\r\n");
    EXPECT_EQ(file.KeyCount(), 1u);
    const std::string key = "software\\EA games\\THE SIMS 2";
    EXPECT_TRUE(file.KeyExists(key));
    EXPECT_EQ(file.Read(key, "displayname")->text, "The Sims\"2\" \\ \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(file.Read(key, "INSTALL DIR")->text, "C:\\Program Files\\EA GAMES\\The Sims 2");
    EXPECT_EQ(file.Read(key, "")->text, "the default");
    EXPECT_EQ(file.Read(key, "Count")->dword, 31u);
    EXPECT_EQ(file.Read(key, "Count")->kind, RegistryValue::Kind::Dword);
    EXPECT_EQ(file.Read(key, "Blob")->data, (std::vector<std::uint8_t>{1, 2, 3, 0xFF}));
    EXPECT_EQ(file.Read(key, "Path")->text, "%ProgramFiles%\\x");
    EXPECT_EQ(file.Read(key, "Path")->kind, RegistryValue::Kind::ExpandString);
    EXPECT_EQ(file.Read(key, "Wide")->text, "AB");
    EXPECT_EQ(file.Read(key, "List")->text, "a\nb");
    EXPECT_EQ(file.Read(key, "Tab")->text, "a\tbA");
    EXPECT_FALSE(file.Read(key, "Missing"));
    EXPECT_FALSE(file.Read("Software\\EA GAMES", "DisplayName"));
}

TEST(WineRegistryFile, MalformedLinesNameTheFileAndLine) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"[Software\\\\Unclosed\n", 1},
        {"\"Orphan\"=\"value\"\n", 1},
        {"[K]\n\"Name\"=\"unterminated\n", 2},
        {"[K]\n\n\"Name\"=dword:xyz\n", 3},
        {"[K]\n\"Name\"=hex:01,zz\n", 2},
        {"[K]\n\"Name\"=hex:01,\\", 2},
        {"[K]\n\"Name\" \"value\"\n", 2},
        {"[K]\n\"Name\"=weird:1\n", 2},
        {"[K]\nnot a value\n", 2},
    };
    for (const auto& [text, line] : cases) {
        try {
            Parse(text);
            ADD_FAILURE() << "no error for: " << text;
        } catch (const FormatError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("system.reg line " + std::to_string(line)), std::string::npos)
                << message;
        }
    }
}

TEST(WineRegistry, HivesComeFromTheirFiles) {
    WineRegistry registry(Parse("[Software\\\\A]\n\"v\"=\"machine\"\n"),
                          WineRegistryFile::Parse("[Software\\\\A]\n\"v\"=\"user\"\n", "user.reg"),
                          "system.reg", "user.reg");
    EXPECT_EQ(registry.ReadString(Hive::LocalMachine, "Software\\A", "v"), "machine");
    EXPECT_EQ(registry.ReadString(Hive::CurrentUser, "software\\a", "V"), "user");
    EXPECT_EQ(registry.Describe(Hive::CurrentUser), "user.reg");
}

}  // namespace
}  // namespace qh
