// quillhaven-cli backup, backups, restore, delete-backup and archive-location on the demo game.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "fixture/jpeg_writer.h"
#include "platform/file_io.h"
#include "workspace/picture.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

// The folders in the system's trash of the test, as the freedesktop trash keeps them.
[[maybe_unused]] std::vector<std::string> Trashed(const std::filesystem::path& dataHome) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(dataHome / "Trash" / "files", error)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliBackups, BackUpChangeRestoreAndDelete) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto dataHome = dir / "data";
    const std::vector<std::string> common = {"--wine-prefix", game.prefix.string(), "--settings", (dir / "s.ini").string()};
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return test::RunCli(QH_CLI_PATH, args, dataHome);
    };
    auto result = run({"backup", "N001"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string name = nlohmann::json::parse(result.out)["backup"];
    EXPECT_EQ(name.substr(0, 5), "N001 ");
    const auto listed = nlohmann::json::parse(run({"backups", "N001"}).out);
    ASSERT_GE(listed.size(), 1u);
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(), [&](const auto& b) { return b["name"] == name && b["size"] > 0; }));

    // The player renames the neighborhood and saves; the restore brings the old name back.
    ASSERT_EQ(run({"set", "N001", "--neighborhood-name", "Changed", "--save"}).status, 0);
    result = run({"restore", name});
    EXPECT_NE(result.status, 0);  // not without --yes, and no terminal to ask
    EXPECT_NE(result.err.find("--yes"), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(run({"dump", "N001"}).out)["neighborhood"]["ngbdName"], "Changed");
    result = run({"restore", name, "--yes"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(run({"dump", "N001"}).out)["neighborhood"]["ngbdName"], "Pleasant Valley");
    // What it replaced went to the trash, as the window sends it there.
    const auto after = nlohmann::json::parse(run({"backups", "N001"}).out);
    EXPECT_EQ(after.size(), listed.size());
#ifndef _WIN32  // Windows' recycle bin is the shell's, in no folder of the test's
    const auto trashed = Trashed(dataHome);
    ASSERT_EQ(trashed.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dataHome / "Trash" / "files" / trashed[0] / "N001_Neighborhood.package"));
#endif

    EXPECT_NE(run({"delete-backup", name}).status, 0);
    ASSERT_EQ(run({"delete-backup", name, "--yes"}).status, 0);
    EXPECT_EQ(nlohmann::json::parse(run({"backups", "N001"}).out).size(), listed.size() - 1);
#ifndef _WIN32
    // Deleted into the trash, never for good.
    EXPECT_EQ(Trashed(dataHome).size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(dataHome / "Trash" / "files" / name));
#endif
    EXPECT_NE(run({"restore", name, "--yes"}).status, 0);  // gone
    EXPECT_NE(run({"restore", "../N001", "--yes"}).status, 0);
}

TEST(CliBackups, TheArchiveLocationIsASetting) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    std::filesystem::create_directories(dir / "elsewhere");
    const std::vector<std::string> common = {"--wine-prefix", game.prefix.string(), "--settings", (dir / "s.ini").string()};
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return Cli(args);
    };
    ASSERT_EQ(run({"archive-location", (dir / "elsewhere").string()}).status, 0);
    EXPECT_EQ(nlohmann::json::parse(run({"archive-location"}).out)["archiveLocation"], (dir / "elsewhere").string());
    EXPECT_TRUE(nlohmann::json::parse(run({"backups"}).out).empty());
    ASSERT_EQ(run({"backup", "N001"}).status, 0);
    EXPECT_EQ(nlohmann::json::parse(run({"backups"}).out).size(), 1u);
    EXPECT_NE(run({"archive-location", (dir / "missing").string()}).status, 0);
}

TEST(CliPicture, AWideJpegBecomesTheNeighborhoodsPngAtOnce) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    Bitmap wide = Bitmap::Create(2000, 1000);
    const auto jpeg = dir.Write("wide.jpg", fixture::EncodeJpeg(wide));
    const auto result = Cli({"replace-picture", "N001", jpeg.string(), "--wine-prefix", game.prefix.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::filesystem::path png = nlohmann::json::parse(result.out)["picture"].get<std::string>();
    EXPECT_EQ(png.filename(), "N001_Neighborhood.png");
    const Bitmap picture = DecodePng(ReadFileBytes(png));
    EXPECT_EQ(picture.width, ScaleToFit(wide, 400, 300).width);
    EXPECT_EQ(picture.height, ScaleToFit(wide, 400, 300).height);
    EXPECT_LE(picture.width, 400);
    // A file that is no picture changes nothing.
    const Bytes before = ReadFileBytes(png);
    const auto text = dir.Write("notes.jpg", Bytes{'h', 'i'});
    EXPECT_NE(Cli({"replace-picture", "N001", text.string(), "--wine-prefix", game.prefix.string()}).status, 0);
    EXPECT_EQ(ReadFileBytes(png), before);
}

}  // namespace
// A restore killed between its renames left the neighborhood set aside under a hidden name: the
// next run of the tool, whatever its command, puts it back and says so.
TEST(CliBackups, TheNextRunPutsBackANeighborhoodAKilledRestoreSetAside) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto neighborhoods = game.userData / "Neighborhoods";
    std::filesystem::rename(neighborhoods / "N001", neighborhoods / ".N001.replaced-0a1b2c3d");
    const auto result = Cli({"neighborhoods", "--wine-prefix", game.prefix.string(), "--settings", (dir / "s.ini").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("message: A restore of N001 was interrupted"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::exists(neighborhoods / "N001" / "N001_Neighborhood.package"));
    EXPECT_NE(result.out.find("N001"), std::string::npos);
}

}  // namespace qh
