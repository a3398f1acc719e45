#include "platform/settings.h"

#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

TEST(Settings, DefaultsForMissingAndUnreadableValues) {
    MemorySettings settings;
    EXPECT_EQ(settings.ColorScheme(), 1);
    EXPECT_FALSE(settings.Advanced());
    EXPECT_EQ(settings.Sort(), SortOrder::First);
    EXPECT_EQ(settings.AdvMsgCnt(), 0);
    EXPECT_EQ(settings.Ngbd(), "");
    EXPECT_EQ(settings.ArchiveLoc(), "");
    EXPECT_EQ(settings.ClonePath(), "");
    settings.values = {{"ColorScheme", "blue"}, {"Advanced", "2"}, {"Sort", "sideways"}, {"AdvMsgCnt", "3x"}};
    EXPECT_EQ(settings.ColorScheme(), 1);
    EXPECT_FALSE(settings.Advanced());
    EXPECT_EQ(settings.Sort(), SortOrder::First);
    EXPECT_EQ(settings.AdvMsgCnt(), 0);
    settings.values = {{"ColorScheme", "2"}, {"Advanced", "1"}, {"Sort", "Last"}};
    EXPECT_EQ(settings.ColorScheme(), 2);
    EXPECT_TRUE(settings.Advanced());
    EXPECT_EQ(settings.Sort(), SortOrder::Last);
}

TEST(Settings, AdvancedWarningAtMostFiveTimes) {
    MemorySettings settings;
    int shown = 0;
    for (int i = 0; i < 8; ++i) shown += settings.TakeAdvancedWarning() ? 1 : 0;
    EXPECT_EQ(shown, 5);
    EXPECT_EQ(settings.AdvMsgCnt(), 5);
}

TEST(IniSettings, ReadsAndWritesQSettingsIniFiles) {
    test::TempDir dir;
    const auto path = dir / "settings.ini";
    {
        std::ofstream(path) << "[General]\nSort=File\nArchiveLoc=\"/home/me/My, Backups\"\n"
                            << "\n[Other]\nkept=yes\n";
    }
    IniSettings settings(path);
    EXPECT_EQ(settings.Sort(), SortOrder::File);
    EXPECT_EQ(settings.ArchiveLoc(), "/home/me/My, Backups");
    settings.SetColorScheme(2);
    settings.SetClonePath("C:\\Clones \"new\"");

    IniSettings again(path);
    EXPECT_EQ(again.ColorScheme(), 2);
    EXPECT_EQ(again.ClonePath(), "C:\\Clones \"new\"");
    EXPECT_EQ(again.ArchiveLoc(), "/home/me/My, Backups");
    EXPECT_NE(test::Slurp(path).find("[Other]\nkept=yes"), std::string::npos);
    EXPECT_EQ(IniSettings(dir / "missing.ini").ColorScheme(), 1);
}

}  // namespace
}  // namespace qh
