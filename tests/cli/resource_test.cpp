// quillhaven-cli resource, objects and picture.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "fixture/jpeg_writer.h"
#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "workspace/picture.h"

namespace qh {
namespace {

using fixture::Key;

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

std::filesystem::path ResourcePackage(const test::TempDir& dir) {
    fixture::PackageBuilder builder;
    builder.Add(Key(0x43545353, 1), fixture::TextListBytes({{1, "Goth", "d"}, {1, "Mortimer", ""}, {4, "Grufti", ""}}), true)
        .Add(Key(0xAC598EAC, 1), fixture::PropertySetBuilder().Integer("age", 16).String("haircolor", "h").Build())
        .Add(Key(0x0BF999E7, 12), fixture::LotDescriptionBytes(1, "Town Square", "Shops"))
        .Add(Key(0x4F424A44, 3), fixture::ObjectDefinitionBytes("Lamp", 0xABCD1234));
    return dir.Write("N001_Lot.package", builder.Build());
}

TEST(CliResource, DecodesEachKind) {
    test::TempDir dir;
    const auto file = ResourcePackage(dir).string();
    auto result = Cli({"resource", file, "--type", "43545353", "--instance", "1", "--as", "textlist", "--language", "4"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["entries"].size(), 3u);
    EXPECT_EQ(json["entries"][0]["description"], "d");
    EXPECT_EQ(json["strings"], (nlohmann::json{"Grufti", "Mortimer"}));

    result = Cli({"resource", file, "--type", "AC598EAC", "--instance", "1", "--as", "properties"});
    json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["magic"], "CBE750E0");
    EXPECT_EQ(json["properties"][0], (nlohmann::json{{"name", "age"}, {"type", "EB61E4F7"}, {"int", 16}}));
    EXPECT_EQ(json["properties"][1]["text"], "h");

    result = Cli({"resource", file, "--type", "0BF999E7", "--instance", "C", "--as", "lot"});
    json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["lotId"], 12);
    EXPECT_EQ(json["lotName"], "Town Square");
    EXPECT_EQ(json["lotTypeText"], "Community Lot");
    EXPECT_EQ(json["lotFile"], "N001_Lot.package");

    result = Cli({"resource", file, "--type", "4F424A44", "--instance", "3", "--as", "objd"});
    json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["objectGuid"], "ABCD1234");
    EXPECT_EQ(json["objectName"], "Lamp");

    result = Cli({"resource", file, "--type", "0BF999E7", "--instance", "C", "--as", "objd"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("N001_Lot.package"), std::string::npos) << result.err;
}

TEST(CliObjects, ListsTheDemoCatalogue) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto result = Cli({"objects", "--wine-prefix", game.prefix.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    ASSERT_GT(json.size(), 30u);
    EXPECT_EQ(json[0]["objectGuid"], "2CCF9BED");
    const auto none = Cli({"objects", "--objects", (dir / "none.package").string(), "--user-data", dir.path().string()});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(nlohmann::json::parse(none.out).size(), 0u);
}

TEST(CliPicture, ScalesFitsAndGreys) {
    test::TempDir dir;
    Bitmap source = Bitmap::Create(256, 256);
    for (std::size_t i = 0; i < source.pixels.size(); ++i) source.pixels[i] = static_cast<std::uint8_t>(i % 3 == 2 ? 200 : 30);
    const auto jpeg = dir.Write("in.jpg", fixture::EncodeJpeg(source));
    const auto out = dir / "out.png";
    auto result = Cli({"picture", jpeg.string(), out.string(), "--square", "128", "--grey"});
    ASSERT_EQ(result.status, 0) << result.err;
    Bitmap png = DecodePng(ReadFileBytes(out));
    EXPECT_EQ(png.width, 128);
    EXPECT_EQ(png.Pixel(60, 60)[0], png.Pixel(60, 60)[2]);

    const auto wide = dir.Write("wide.png", EncodePng(Bitmap::Create(600, 150)));
    result = Cli({"picture", wide.string(), out.string(), "--fit", "400x300"});
    ASSERT_EQ(result.status, 0) << result.err;
    png = DecodePng(ReadFileBytes(out));
    EXPECT_EQ(png.width, 200);
    EXPECT_EQ(png.height, 150);

    const auto junk = dir.Write("junk.jpg", test::ToBytes("not a picture at all"));
    result = Cli({"picture", junk.string(), out.string(), "--square", "64"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("junk.jpg"), std::string::npos);
    result = Cli({"picture", wide.string(), out.string()});
    EXPECT_NE(result.status, 0);
}

}  // namespace
}  // namespace qh
