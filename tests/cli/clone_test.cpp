// quillhaven-cli clone export, import and copy on the demo game.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "package/extract.h"
#include "package/index.h"
#include "platform/file_io.h"
#include "platform/reporter.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

struct CloneValley {
    test::TempDir dir;
    demo::DemoGame game = demo::WriteDemoGame(dir.path());
    std::string prefix = game.prefix.string();
    nlohmann::json Dump() const { return nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out); }
    std::string FileOf(const std::string& first) const {
        const nlohmann::json dump = Dump();
        for (const auto& sim : dump["characters"]) {
            if (sim["firstName"] == first) return sim["packageFile"];
        }
        return {};
    }
    nlohmann::json Sim(const std::string& file) const {
        const nlohmann::json dump = Dump();
        for (const auto& sim : dump["characters"]) {
            if (sim["packageFile"] == file) return sim;
        }
        return {};
    }
    fs::path Package(const std::string& file) const { return game.userData / "Neighborhoods" / "N001" / "Characters" / file; }
    // A resource's content as the package holds it.
    Bytes Resource(const std::string& file, std::uint32_t type) const {
        const Bytes bytes = ReadFileBytes(Package(file));
        std::vector<IndexEntry> entries;
        ReadIndex(bytes, PackageSource::File, entries);
        for (const IndexEntry& e : entries) {
            if (e.key.typeId != type) continue;
            Bytes out;
            SilentReporter quiet;
            ExtractResource(bytes, e, out, quiet);
            return out;
        }
        return {};
    }
};

TEST(CliClone, ExportImportAndTheBodyAtTheSave) {
    const CloneValley v;
    const std::string ana = v.FileOf("Ana");
    const std::string owen = v.FileOf("Owen");
    ASSERT_FALSE(ana.empty());
    const fs::path out = v.dir / "shared" / "Ana";
    fs::create_directories(out.parent_path());
    auto result = Cli({"clone", "export", "N001", "--wine-prefix", v.prefix, "--sim", ana, "-o", out.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const fs::path file = out.string() + ".clone";
    ASSERT_TRUE(fs::exists(file)) << "the extension is added";
    EXPECT_NE(result.err.find("Create A Clone successful"), std::string::npos);
    result = Cli({"clone", "export", "N001", "--wine-prefix", v.prefix, "--sim", ana, "-o", file.string()});
    EXPECT_NE(result.status, 0) << "an existing file is replaced only with --force";
    EXPECT_NE(result.err.find("already exists"), std::string::npos);

    // Without --save: what would change, and nothing written.
    const Bytes owenBefore = ReadFileBytes(v.Package(owen));
    result = Cli({"clone", "import", "N001", "--wine-prefix", v.prefix, "--sim", owen, file.string(), "--groups", "character,skills"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto dryRun = nlohmann::json::parse(result.out);
    EXPECT_FALSE(dryRun["changes"].empty());
    EXPECT_NE(result.err.find("nothing was saved"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(v.Package(owen)), owenBefore);

    result = Cli({"clone", "import", "N001", "--wine-prefix", v.prefix, "--sim", owen, file.string(), "--groups",
                  "character,skills,body", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto took = v.Sim(owen);
    const auto source = v.Sim(ana);
    EXPECT_EQ(took["firstName"], "Ana");
    EXPECT_EQ(took["cookingSkill"], source["cookingSkill"]);
    // Ana's body is in Owen's package now: a mesh resource byte for byte.
    EXPECT_EQ(v.Resource(owen, 0xAC4F8687), v.Resource(ana, 0xAC4F8687));
    EXPECT_FALSE(v.Resource(owen, 0xAC4F8687).empty());
}

TEST(CliClone, CopyAndTheRefusals) {
    const CloneValley v;
    const std::string marta = v.FileOf("Marta");
    const std::string owen = v.FileOf("Owen");
    auto result = Cli({"clone", "copy", "N001", "--wine-prefix", v.prefix, "--sim", owen, "--from", marta, "--groups",
                       "personality,interests", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(v.Sim(owen)["neat"], v.Sim(marta)["neat"]);
    EXPECT_EQ(v.Sim(owen)["interestSciFi"], v.Sim(marta)["interestSciFi"]);
    EXPECT_NE(v.Sim(owen)["firstName"], "Marta");

    result = Cli({"clone", "copy", "N001", "--wine-prefix", v.prefix, "--sim", owen, "--from", marta, "--groups", "brains"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("personality"), std::string::npos) << "the groups are named: " << result.err;

    const fs::path damaged = v.dir / "damaged.clone";
    AtomicReplace(damaged, Bytes(40, 7));
    result = Cli({"clone", "import", "N001", "--wine-prefix", v.prefix, "--sim", owen, damaged.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("damaged.clone"), std::string::npos) << result.err;

    const fs::path notBody = v.dir / "clothes.package";
    fs::copy_file(v.game.userData / "Downloads" / "Clothes" / "summer-dress.package", notBody);
    result = Cli({"clone", "import", "N001", "--wine-prefix", v.prefix, "--sim", owen, notBody.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("Not a Bodyshop or Character Package"), std::string::npos) << result.err;

    const fs::path bodyShop = v.game.userData / "SavedSims" / "Rosalind Vane.package";
    result = Cli({"clone", "import", "N001", "--wine-prefix", v.prefix, "--sim", owen, bodyShop.string(), "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("Other attributes are not avaiable"), std::string::npos);
}

}  // namespace
}  // namespace qh
