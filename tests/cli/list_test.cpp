// quillhaven-cli list: filters, columns, and CSV that a real CSV reader reads back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "workspace/csv.h"
#include "demo_game.h"
#include "platform/file_io.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

TEST(CsvWriter, QuotesWhatNeedsQuoting) {
    EXPECT_EQ(CsvLine({"a", "b c", ""}), "a,b c,\r\n");
    EXPECT_EQ(CsvLine({"Hart, Marta", "say \"hi\"", "two\nlines", " padded"}),
              "\"Hart, Marta\",\"say \"\"hi\"\"\",\"two\nlines\",\" padded\"\r\n");
}

TEST(CliList, FiltersColumnsAndCsvReadBackByPython) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    // A name the CSV must quote, and one that is not ASCII.
    auto renamed = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "--last-name",
                        "Hart, \"the Elder\"", "--save"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    auto result = Cli({"list", "N001", "--wine-prefix", prefix, "--where", "lifeStage=adult", "--where", "species=sim",
                       "--columns", "packageFile,firstName,lastName,work.career", "--csv"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("of 16 sims"), std::string::npos);
#ifndef _WIN32  // read back by the machine's Python, which a Windows program under Wine cannot start
    const auto csv = dir.Write("list.csv", test::ToBytes(result.out));
    const std::string script =
        "import csv,json,sys\n"
        "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))\n"
        "print(json.dumps(rows))\n";
    const auto py = dir.Write("read.py", test::ToBytes(script));
    const auto read = test::RunCli("python3", {py.string(), csv.string()});
    ASSERT_EQ(read.status, 0) << read.err;
    const auto rows = nlohmann::json::parse(read.out);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], nlohmann::json::array({"packageFile", "firstName", "lastName", "work.career"}));
    bool marta = false;
    for (const auto& row : rows) {
        if (row[1] == "Marta") {
            marta = true;
            EXPECT_EQ(row[2], "Hart, \"the Elder\"");
            EXPECT_EQ(row[3], "Business");
        }
        if (row[1] == "Jonas") {
            EXPECT_EQ(row[0], "N001_User00011.package");
        }
        EXPECT_NE(row[1], "Rex") << "a dog is no sim";
    }
    EXPECT_TRUE(marta);
#endif

    const auto json = Cli({"list", "N001", "--wine-prefix", prefix, "--households", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out).size(), 5u);
    EXPECT_NE(Cli({"list", "N001", "--wine-prefix", prefix, "--columns", "nothing"}).status, 0);
    EXPECT_NE(Cli({"list", "N001", "--wine-prefix", prefix, "--where", "hair=red"}).status, 0);
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

TEST(CliDiff, ABackupAgainstTheNeighborhoodAfterASave) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    auto same = Cli({"diff", "N001", "N001", "--wine-prefix", prefix});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "No changes.\n");
    ASSERT_EQ(Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002.package", "--skill", "Cooking=900", "--save"}).status, 0);
    auto diff = Cli({"diff", "N001 03-14-2026 101500", "N001", "--wine-prefix", prefix, "--json"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    const auto result = nlohmann::json::parse(diff.out);
    bool cooking = false;
    for (const auto& sim : result["sims"]) {
        if (sim["who"].get<std::string>().find("N001_User00002.package") == std::string::npos) continue;
        for (const auto& line : sim["changes"]) cooking = cooking || line.get<std::string>().rfind("Cooking: ", 0) == 0;
    }
    EXPECT_TRUE(cooking) << diff.out;
    EXPECT_NE(Cli({"diff", "N001", "nowhere", "--wine-prefix", prefix}).status, 0);
}

}  // namespace
}  // namespace qh
