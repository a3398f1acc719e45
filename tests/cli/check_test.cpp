// quillhaven-cli check, and saves that would add a finding.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "platform/file_io.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

// Every file under the folder with its bytes and time.
std::map<fs::path, std::pair<Bytes, fs::file_time_type>> Snapshot(const fs::path& folder) {
    std::map<fs::path, std::pair<Bytes, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) files[entry.path()] = {ReadFileBytes(entry.path()), entry.last_write_time()};
    }
    return files;
}

TEST(CliCheck, ExitCodesJsonAndNotAByteWritten) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const auto before = Snapshot(game.userData);

    auto clean = Cli({"check", "G001", "--wine-prefix", prefix});
    EXPECT_EQ(clean.status, 0) << clean.out << clean.err;
    EXPECT_NE(clean.out.find("No problems found."), std::string::npos);

    auto valley = Cli({"check", "N001", "--wine-prefix", prefix, "--json"});
    EXPECT_EQ(valley.status, 1) << "the valley has ties to sims it does not have: " << valley.err;
    const auto report = nlohmann::json::parse(valley.out);
    EXPECT_GT(report["counts"]["inconsistent"].get<int>(), 0);
    ASSERT_TRUE(report["findings"].contains("tie-to-missing-sim"));
    const auto& tie = report["findings"]["tie-to-missing-sim"][0];
    EXPECT_EQ(tie["severity"], "inconsistent");
    EXPECT_FALSE(tie["meaning"].get<std::string>().empty());
    EXPECT_TRUE(tie.contains("sim"));

    EXPECT_EQ(Cli({"check", "N404", "--wine-prefix", prefix}).status, 2) << "no such neighborhood";
    EXPECT_EQ(Snapshot(game.userData), before) << "the check writes nothing";
}

TEST(CliCheck, ASaveThatAddsAFindingIsRefusedUnlessAllowed) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const fs::path package = game.userData / "Neighborhoods" / "N001" / "N001_Neighborhood.package";
    const Bytes before = ReadFileBytes(package);
    auto refused = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "careerGuid=DEADBEEF",
                        "--raw", "--save"});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("unknown-career"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--allow-new-findings"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(package), before);
    auto allowed = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "careerGuid=DEADBEEF",
                        "--raw", "--save", "--allow-new-findings"});
    EXPECT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_NE(ReadFileBytes(package), before);
}

// The demo's damaged neighborhood holds one problem of each kind: the check finds every kind.
TEST(CliCheck, TheDamagedDemoNeighborhoodShowsEveryKindOfFinding) {
    test::TempDir dir;
    demo::DemoOptions options;
    options.damagedNeighborhood = true;
    const auto game = demo::WriteDemoGame(dir.path(), options);
    auto result = Cli({"check", "N002", "--wine-prefix", game.prefix.string(), "--json"});
    EXPECT_EQ(result.status, 1) << result.err;
    const auto report = nlohmann::json::parse(result.out);
    for (const char* check :
         {"entries-outside-file", "resources-undecodable", "overlapping-entries", "directory-disagrees",
          "relationship-count-past-length", "description-without-character-file", "character-file-without-description",
          "duplicate-character-files", "duplicate-sim-id", "duplicate-sim-guid", "member-not-a-sim",
          "household-lot-missing", "sim-in-two-households", "own-relative", "tie-without-mirror", "tie-to-missing-sim",
          "parent-younger-than-child", "pair-disagrees", "unknown-family-relation", "relationship-to-missing-sim",
          "relationship-unreadable", "items-of-no-sim", "unknown-career"}) {
        EXPECT_TRUE(report["findings"].contains(check)) << check;
    }
    // Pleasant Valley itself is as it was.
    EXPECT_FALSE(nlohmann::json::parse(Cli({"check", "N001", "--wine-prefix", game.prefix.string(), "--json"}).out)["findings"]
                     .contains("duplicate-sim-id"));
}

}  // namespace
}  // namespace qh
